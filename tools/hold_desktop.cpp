// Keeps one quiet Windows program alive for a test run, so that Wine keeps
// its desktop process and does not start it anew for every test program.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "RvHoldDesktop";
    RegisterClassA(&windowClass);
    CreateWindowExA(WS_EX_TOOLWINDOW, "RvHoldDesktop", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                    instance, NULL);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
