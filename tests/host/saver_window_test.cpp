// The program's windows created in this test process, so that what they
// paint can be read back (Wine shows nothing a process draws into a window
// of another process).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "saver/windows/saver_state.h"
#include "saver/windows/saver_window.h"
#include "shared/names.h"
#include "tests/support/test_support.h"

namespace {

std::vector<COLORREF> Pixels(HDC dc, int x0, int y0, int width, int height)
{
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, dc, x0, y0, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(GetPixel(memory, x, y));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

// The picture as it is stored, scaled here pixel by pixel to the pane's size.
std::vector<COLORREF> NearestScaledPicture(int width, int height)
{
    HDC screen = GetDC(NULL);
    std::vector<COLORREF> original;
    {
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, PreviewBitmap);
        for (int y = 0; y < PreviewBitmapHeight; ++y)
            for (int x = 0; x < PreviewBitmapWidth; ++x)
                original.push_back(GetPixel(memory, x, y));
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    ReleaseDC(NULL, screen);
    std::vector<COLORREF> scaled;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            scaled.push_back(original[(y * PreviewBitmapHeight / height) * PreviewBitmapWidth +
                                      x * PreviewBitmapWidth / width]);
    return scaled;
}

// Mean difference per colour channel, 0 to 255.
double MeanDifference(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b)
{
    double total = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        total += abs((int)GetRValue(a[i]) - (int)GetRValue(b[i])) +
                 abs((int)GetGValue(a[i]) - (int)GetGValue(b[i])) +
                 abs((int)GetBValue(a[i]) - (int)GetBValue(b[i]));
    }
    return total / (3.0 * (double)std::max<size_t>(1, a.size()));
}

class SaverWindow_ : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Instance = GetModuleHandleA(NULL);
        saverModule_ =
            LoadLibraryExA(BesideTests(RV_SAVER_FILE).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        PreviewBitmap = LoadBitmapA(saverModule_, MAKEINTRESOURCEA(220));
        ASSERT_TRUE(RegisterSaverClass(Instance));
        WNDCLASSA pane = {};
        pane.lpfnWndProc = DefWindowProcA;
        pane.hInstance = Instance;
        pane.lpszClassName = "RvTestPane";
        pane.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
        RegisterClassA(&pane);
    }
    static void TearDownTestSuite()
    {
        DeleteObject(PreviewBitmap);
        PreviewBitmap = NULL;
        FreeLibrary(saverModule_);
        UnregisterClassA(RV_SAVER_CLASS, Instance);
    }
    void SetUp() override
    {
        StopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
        PreviewWindows.clear();
        KeepPreviews = false;
        ASSERT_TRUE(PreviewBitmap);
    }
    void TearDown() override
    {
        CloseHandle(StopEvent);
        StopEvent = NULL;
        RunMode = ModeSaver;
        MSG quit;
        while (PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    static bool QuitPosted()
    {
        MSG message;
        return PeekMessageA(&message, NULL, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }
    static HMODULE saverModule_;
};
HMODULE SaverWindow_::saverModule_ = NULL;

TEST_F(SaverWindow_, PreviewChildPaintsThePictureStretchedOverItsPane)
{
    RunMode = ModePreview;
    for (SIZE pane : {SIZE{300, 90}, SIZE{76, 150}}) {
        HWND host =
            CreateWindowExA(0, "RvTestPane", "pane", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 30,
                            30, pane.cx, pane.cy, NULL, NULL, Instance, NULL);
        HWND child = CreateSaverWindow(pane.cx, pane.cy, host);
        ASSERT_TRUE(child);
        EXPECT_EQ(child, ::SaverWindow);
        EXPECT_EQ(host, GetParent(child));

        std::vector<COLORREF> expected = NearestScaledPicture(pane.cx, pane.cy);
        double difference = 0;
        // Until the picture is on the screen (painting and the display's own way).
        WaitUntil(3000, [&] {
            HDC screen = GetDC(NULL);
            difference = MeanDifference(Pixels(screen, 30, 30, pane.cx, pane.cy), expected);
            ReleaseDC(NULL, screen);
            return difference < 12.0;
        });
        EXPECT_LT(difference, 12.0) << "pane " << pane.cx << "x" << pane.cy;

        DestroyWindow(host);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(StopEvent, 0))
            << "destroying the child sets StopEvent";
        EXPECT_TRUE(QuitPosted()) << "destroying the child ends the pump";
        ResetEvent(StopEvent);
    }
}

TEST_F(SaverWindow_, PaintWithADeviceContextInWParamDrawsThereAndValidates)
{
    RunMode = ModePreview;
    HWND host = CreateWindowExA(0, "RvTestPane", "pane", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                30, 30, 152, 112, NULL, NULL, Instance, NULL);
    HWND child = CreateSaverWindow(152, 112, host);
    UpdateWindow(child);

    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 152, 112);
    HGDIOBJ old = SelectObject(memory, canvas);
    PatBlt(memory, 0, 0, 152, 112, WHITENESS);
    InvalidateRect(child, NULL, FALSE);
    EXPECT_EQ(0, SendMessageA(child, WM_PAINT, (WPARAM)memory, 0));
    RECT update;
    EXPECT_FALSE(GetUpdateRect(child, &update, FALSE)) << "the client area stays invalid";
    double difference =
        MeanDifference(Pixels(memory, 0, 0, 152, 112), NearestScaledPicture(152, 112));
    EXPECT_LT(difference, 3.0);
    SelectObject(memory, old);
    DeleteObject(canvas);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    DestroyWindow(host);
}

TEST_F(SaverWindow_, SessionWindowIsATopmostPopupAndItsDestructionEndsTheSession)
{
    RunMode = ModeSaver;
    HWND window = CreateSaverWindow(200, 100, NULL);
    ASSERT_TRUE(window);
    EXPECT_EQ(window, FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE));
    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_CHILD));
    // Above other programs' always-on-top windows between screen savers.
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(200, rect.right);

    // Keys and clicks are not acted on: only closing ends it.
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    SendMessageA(window, WM_LBUTTONDOWN, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(StopEvent, 0));
    EXPECT_TRUE(QuitPosted());
}

TEST_F(SaverWindow_, PreviewPopupsCascadeAndTheLastKeptOneEndsThePump)
{
    RunMode = ModeConfig;
    HWND dialog = CreateWindowExA(0, "RvTestPane", "dialog", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                  Instance, NULL);
    HWND first = CreateSaverWindow(152, 114, dialog);
    HWND second = CreateSaverWindow(152, 114, dialog);
    ASSERT_TRUE(first && second);
    RECT a, b;
    GetWindowRect(first, &a);
    GetWindowRect(second, &b);
    EXPECT_EQ(10, b.left - a.left);
    EXPECT_EQ(10, b.top - a.top);
    char title[32];
    GetWindowTextA(first, title, sizeof title);
    EXPECT_STREQ("Preview", title);
    EXPECT_EQ(NULL, GetParent(first));
    EXPECT_EQ(NULL, GetWindow(first, GW_OWNER));
    LONG extended = GetWindowLongA(first, GWL_EXSTYLE);
    EXPECT_EQ((LONG)(WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
              extended & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    EXPECT_TRUE(GetWindowLongA(first, GWL_STYLE) & WS_CAPTION);

    PreviewWindows = {first, second};
    KeepPreviews = true;
    DestroyWindow(first);
    EXPECT_EQ(std::vector<HWND>{second}, PreviewWindows);
    EXPECT_FALSE(QuitPosted()) << "a pop-up is still open";
    EXPECT_NE(WAIT_OBJECT_0, WaitForSingleObject(StopEvent, 0)) << "pop-ups do not end a session";
    DestroyWindow(second);
    EXPECT_TRUE(PreviewWindows.empty());
    EXPECT_TRUE(QuitPosted()) << "the last kept pop-up ends the process";

    KeepPreviews = false;
    HWND third = CreateSaverWindow(152, 114, dialog);
    PreviewWindows = {third};
    DestroyWindow(third);
    EXPECT_FALSE(QuitPosted()) << "without KeepPreviews the dialog's pump is not ended here";
    DestroyWindow(dialog);
}

}  // namespace
