// Plasma: slowly flowing colour fields.
#include <windows.h>
#include <commctrl.h>
#include <math.h>

#include <initializer_list>

#include "plasma_ids.h"
#include "samples/framework/back_buffer.h"
#include "samples/framework/saver_framework.h"

namespace {

const char Sample[] = "Plasma";

int Speed = 3;        // 1..10
int PaletteKind = 0;  // 0 sunset, 1 ocean, 2 rainbow
uint32_t Palette[256];
BackBuffer Buffer;
float Time = 0.0f;

uint32_t Rgb(double r, double g, double b)
{
    auto channel = [](double v) { return (uint32_t)(v < 0 ? 0 : v > 255 ? 255 : v); };
    return (channel(r) << 16) | (channel(g) << 8) | channel(b);
}

void MakePalette()
{
    const double pi = 3.14159265358979;
    for (int i = 0; i < 256; ++i) {
        double t = (double)i / 256.0 * 2.0 * pi;
        switch (PaletteKind) {
        case 1:
            Palette[i] = Rgb(30 + 30 * sin(t), 120 + 100 * sin(t + 1.0), 170 + 85 * sin(t + 2.0));
            break;
        case 2:
            Palette[i] =
                Rgb(128 + 127 * sin(t), 128 + 127 * sin(t + 2.094), 128 + 127 * sin(t + 4.188));
            break;
        default:
            Palette[i] = Rgb(180 + 75 * sin(t), 90 + 80 * sin(t + 0.8), 60 + 60 * sin(t + 2.4));
            break;
        }
    }
}

void DrawFrame(HWND window)
{
    // The plasma is smooth, so a quarter-size picture stretched up looks the same.
    if (!Buffer.FitClient(window, fChildPreview ? 2 : 4))
        return;
    int width = Buffer.Width(), height = Buffer.Height();
    uint32_t* pixels = Buffer.Pixels();
    Time += 0.02f * (float)Speed;
    float cx = 0.5f + 0.4f * sinf(Time * 0.37f), cy = 0.5f + 0.4f * cosf(Time * 0.23f);
    for (int y = 0; y < height; ++y) {
        float fy = (float)y / (float)height;
        for (int x = 0; x < width; ++x) {
            float fx = (float)x / (float)width;
            float dx = fx - cx, dy = fy - cy;
            float v = sinf(fx * 10.0f + Time) + sinf((fy * 8.0f + Time) * 0.7f) +
                      sinf((fx * 6.0f + fy * 6.0f + Time) * 0.6f) +
                      sinf(sqrtf(dx * dx + dy * dy) * 14.0f - Time);
            int index = (int)((v + 4.0f) * 32.0f) & 255;
            pixels[y * width + x] = Palette[index];
        }
    }
}

}  // namespace

LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        Speed = (int)ReadSampleSettingIn(Sample, "Speed", 1, 10, 3);
        PaletteKind = (int)ReadSampleSettingIn(Sample, "Palette", 0, 2, 0);
        MakePalette();
        StartAnimation(window, 40);
        return 0;
    }
    return AnimatedSaverProc(window, message, wParam, lParam, Buffer, DrawFrame);
}

namespace {

void SaveSettings(HWND dialog)
{
    LRESULT palette = SendDlgItemMessageA(dialog, IDC_PALETTE, CB_GETCURSEL, 0, 0);
    WriteSampleSetting(Sample, "Speed", SliderPosition(dialog, IDC_SPEED));
    WriteSampleSetting(Sample, "Palette", palette < 0 ? 0 : (DWORD)palette);
}

void ShowSettings(HWND dialog)
{
    SetSlider(dialog, IDC_SPEED, 1, 10, ReadSampleSetting(Sample, "Speed", 3));
    for (const char* name : {"Sunset", "Ocean", "Rainbow"})
        SendDlgItemMessageA(dialog, IDC_PALETTE, CB_ADDSTRING, 0, (LPARAM)name);
    SendDlgItemMessageA(dialog, IDC_PALETTE, CB_SETCURSEL,
                        ReadSampleSetting(Sample, "Palette", 0) % 3, 0);
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
