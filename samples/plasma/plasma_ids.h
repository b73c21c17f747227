#pragma once
#define IDC_SPEED   1001
#define IDC_PALETTE 1002
