#include "session_handles.h"

HWND SaverWindow = NULL;
HANDLE StopEvent = NULL;
