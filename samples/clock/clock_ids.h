#pragma once
#define IDC_SECONDS 1001
#define IDC_DIGITAL 1002
