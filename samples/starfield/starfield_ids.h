#pragma once
#define IDC_STARS 1001
#define IDC_SPEED 1002
