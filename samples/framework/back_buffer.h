// A 32-bit off-screen picture the samples draw into, then copy to the window
// in one go so that nothing flickers.
#pragma once
#include <windows.h>
#include <stdint.h>

class BackBuffer {
public:
    BackBuffer() = default;
    ~BackBuffer() { Release(); }
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // Makes the picture width by height (at least 1 by 1); false on failure.
    bool Resize(int width, int height);
    // Makes the picture the window's client area divided by divisor (a
    // smaller picture, stretched up, draws faster).
    bool FitClient(HWND window, int divisor);
    void Release();
    HDC Dc() const { return dc_; }
    uint32_t* Pixels() const { return pixels_; }  // top-down rows, 0x00RRGGBB
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Copies the picture stretched over the window's client area.
    void Present(HWND window) const;

private:
    HDC dc_ = NULL;
    HBITMAP bitmap_ = NULL;
    HGDIOBJ old_ = NULL;
    uint32_t* pixels_ = NULL;
    int width_ = 0;
    int height_ = 0;
};
