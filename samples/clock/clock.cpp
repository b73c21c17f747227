// Clock: an analogue clock face drifting slowly over the screen.
#include <windows.h>
#include <math.h>
#include <stdio.h>

#include "clock_ids.h"
#include "samples/framework/back_buffer.h"
#include "samples/framework/saver_framework.h"

namespace {

const char Sample[] = "Clock";
const double Pi = 3.14159265358979;

bool ShowSeconds = true;
bool ShowDigital = true;
BackBuffer Buffer;
double DriftX = 0.3, DriftY = 0.4, StepX = 0.0013, StepY = 0.0009;

void Hand(HDC dc, int cx, int cy, double fraction, int length, int width, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    double angle = fraction * 2.0 * Pi;
    MoveToEx(dc, cx, cy, NULL);
    LineTo(dc, cx + (int)(sin(angle) * length), cy - (int)(cos(angle) * length));
    SelectObject(dc, old);
    DeleteObject(pen);
}

void DrawFrame(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    if (!Buffer.Resize(client.right, client.bottom))
        return;
    HDC dc = Buffer.Dc();
    RECT all = {0, 0, Buffer.Width(), Buffer.Height()};
    FillRect(dc, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));

    int size = (Buffer.Width() < Buffer.Height() ? Buffer.Width() : Buffer.Height());
    int radius = size / (fChildPreview ? 3 : 5);
    DriftX += StepX;
    DriftY += StepY;
    if (DriftX < 0.0 || DriftX > 1.0)
        StepX = -StepX;
    if (DriftY < 0.0 || DriftY > 1.0)
        StepY = -StepY;
    int cx = radius + (int)(DriftX * (Buffer.Width() - 2 * radius));
    int cy = radius + (int)(DriftY * (Buffer.Height() - 2 * radius));

    HPEN rim = CreatePen(PS_SOLID, radius > 40 ? 3 : 1, RGB(90, 140, 200));
    HGDIOBJ oldPen = SelectObject(dc, rim);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, cx - radius, cy - radius, cx + radius, cy + radius);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(rim);
    for (int mark = 0; mark < 12; ++mark) {
        double angle = mark * Pi / 6.0;
        int inner = mark % 3 == 0 ? radius * 80 / 100 : radius * 88 / 100;
        HPEN pen = CreatePen(PS_SOLID, mark % 3 == 0 ? 3 : 1, RGB(160, 190, 230));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, cx + (int)(sin(angle) * inner), cy - (int)(cos(angle) * inner), NULL);
        LineTo(dc, cx + (int)(sin(angle) * radius * 95 / 100),
               cy - (int)(cos(angle) * radius * 95 / 100));
        SelectObject(dc, old);
        DeleteObject(pen);
    }

    SYSTEMTIME now;
    GetLocalTime(&now);
    double seconds = now.wSecond + now.wMilliseconds / 1000.0;
    double minutes = now.wMinute + seconds / 60.0;
    double hours = (now.wHour % 12) + minutes / 60.0;
    Hand(dc, cx, cy, hours / 12.0, radius * 50 / 100, radius > 40 ? 6 : 2, RGB(230, 230, 240));
    Hand(dc, cx, cy, minutes / 60.0, radius * 78 / 100, radius > 40 ? 4 : 2, RGB(230, 230, 240));
    if (ShowSeconds)
        Hand(dc, cx, cy, seconds / 60.0, radius * 85 / 100, 1, RGB(240, 80, 60));

    if (ShowDigital && !fChildPreview) {
        char text[16];
        snprintf(text, sizeof text, "%02u:%02u", (unsigned)now.wHour, (unsigned)now.wMinute);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(120, 160, 210));
        RECT below = {cx - radius, cy + radius + 8, cx + radius, cy + radius + 40};
        DrawTextA(dc, text, -1, &below, DT_CENTER | DT_TOP | DT_SINGLELINE);
    }
}

}  // namespace

LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        ShowSeconds = ReadSampleSetting(Sample, "Seconds", 1) != 0;
        ShowDigital = ReadSampleSetting(Sample, "Digital", 1) != 0;
        StartAnimation(window, 50);
        return 0;
    }
    return AnimatedSaverProc(window, message, wParam, lParam, Buffer, DrawFrame);
}

namespace {

void SaveSettings(HWND dialog)
{
    WriteSampleSetting(Sample, "Seconds", IsDlgButtonChecked(dialog, IDC_SECONDS) == BST_CHECKED);
    WriteSampleSetting(Sample, "Digital", IsDlgButtonChecked(dialog, IDC_DIGITAL) == BST_CHECKED);
}

void ShowSettings(HWND dialog)
{
    CheckDlgButton(dialog, IDC_SECONDS,
                   ReadSampleSetting(Sample, "Seconds", 1) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_DIGITAL,
                   ReadSampleSetting(Sample, "Digital", 1) ? BST_CHECKED : BST_UNCHECKED);
}

}  // namespace

BOOL WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return SettingsDialogMessage(dialog, message, wParam, ShowSettings, SaveSettings);
}

BOOL WINAPI RegisterDialogClasses(HANDLE)
{
    return TRUE;
}
