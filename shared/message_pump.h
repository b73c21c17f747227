// The message pump every program here runs: GetMessageA, TranslateMessage,
// DispatchMessageA until WM_QUIT.
#pragma once

// Returns the WM_QUIT's wParam.
int RunMessagePump();
