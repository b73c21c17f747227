#include "session_input.h"

HANDLE InputEvent = NULL;
BYTE NextKeyCode = 0;
volatile DWORD KeySeenDown[256];
volatile LONG CloseAsksPassword = 0;
