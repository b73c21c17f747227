// Starfield: flying through a field of stars.
#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>

#include "starfield_ids.h"
#include "samples/framework/back_buffer.h"
#include "samples/framework/saver_framework.h"

namespace {

const char Sample[] = "Starfield";
const int MaxStars = 2000;

struct Star {
    float x, y, z;  // x, y in -1..1, z depth 0..1 (0 is at the eye)
};

Star Stars[MaxStars];
int StarCount = 400;
int Speed = 4;  // 1..10
BackBuffer Buffer;

float RandomUnit()
{
    return (float)rand() / (float)RAND_MAX;
}

void PlaceStar(Star& star, bool anywhere)
{
    star.x = RandomUnit() * 2.0f - 1.0f;
    star.y = RandomUnit() * 2.0f - 1.0f;
    star.z = anywhere ? RandomUnit() : 1.0f;
}

void DrawFrame(HWND window)
{
    // Preview panes are small; a full screen is drawn at half size for speed.
    if (!Buffer.FitClient(window, fChildPreview ? 1 : 2))
        return;
    int width = Buffer.Width(), height = Buffer.Height();
    uint32_t* pixels = Buffer.Pixels();
    for (int i = 0; i < width * height; ++i) {
        // Fade the last frame for short trails.
        uint32_t p = pixels[i];
        pixels[i] = (p >> 1) & 0x7F7F7F;
    }
    float step = 0.002f * (float)Speed;
    for (int i = 0; i < StarCount; ++i) {
        Star& star = Stars[i];
        star.z -= step;
        if (star.z <= 0.01f)
            PlaceStar(star, false);
        int sx = (int)((star.x / star.z) * (float)width * 0.5f + (float)width * 0.5f);
        int sy = (int)((star.y / star.z) * (float)height * 0.5f + (float)height * 0.5f);
        if (sx < 0 || sy < 0 || sx >= width || sy >= height) {
            PlaceStar(star, false);
            continue;
        }
        unsigned light = (unsigned)(255.0f * (1.0f - star.z));
        uint32_t colour = (light << 16) | (light << 8) | (light > 200 ? 255 : light + 55);
        pixels[sy * width + sx] = colour;
        if (star.z < 0.3f && sx + 1 < width && sy + 1 < height) {
            pixels[sy * width + sx + 1] = colour;
            pixels[(sy + 1) * width + sx] = colour;
            pixels[(sy + 1) * width + sx + 1] = colour;
        }
    }
}

}  // namespace

LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        srand(GetTickCount());
        StarCount = (int)ReadSampleSettingIn(Sample, "Stars", 50, MaxStars, 400);
        Speed = (int)ReadSampleSettingIn(Sample, "Speed", 1, 10, 4);
        for (int i = 0; i < StarCount; ++i)
            PlaceStar(Stars[i], true);
        StartAnimation(window, 30);
        return 0;
    }
    return AnimatedSaverProc(window, message, wParam, lParam, Buffer, DrawFrame);
}

namespace {

void SaveSettings(HWND dialog)
{
    WriteSampleSetting(Sample, "Stars", SliderPosition(dialog, IDC_STARS) * 50);
    WriteSampleSetting(Sample, "Speed", SliderPosition(dialog, IDC_SPEED));
}

void ShowSettings(HWND dialog)
{
    SetSlider(dialog, IDC_STARS, 1, 40, ReadSampleSetting(Sample, "Stars", 400) / 50);
    SetSlider(dialog, IDC_SPEED, 1, 10, ReadSampleSetting(Sample, "Speed", 4));
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
