#include "back_buffer.h"

bool BackBuffer::Resize(int width, int height)
{
    if (width < 1)
        width = 1;
    if (height < 1)
        height = 1;
    if (dc_ && width == width_ && height == height_)
        return true;
    Release();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    dc_ = CreateCompatibleDC(NULL);
    bitmap_ = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!dc_ || !bitmap_) {
        Release();
        return false;
    }
    old_ = SelectObject(dc_, bitmap_);
    pixels_ = (uint32_t*)bits;
    width_ = width;
    height_ = height;
    return true;
}

bool BackBuffer::FitClient(HWND window, int divisor)
{
    RECT client;
    GetClientRect(window, &client);
    return Resize(client.right / divisor, client.bottom / divisor);
}

void BackBuffer::Release()
{
    if (dc_ && old_)
        SelectObject(dc_, old_);
    if (bitmap_)
        DeleteObject(bitmap_);
    if (dc_)
        DeleteDC(dc_);
    dc_ = NULL;
    bitmap_ = NULL;
    old_ = NULL;
    pixels_ = NULL;
    width_ = height_ = 0;
}

void BackBuffer::Present(HWND window) const
{
    if (!dc_)
        return;
    RECT client;
    GetClientRect(window, &client);
    HDC target = GetDC(window);
    if (client.right == width_ && client.bottom == height_) {
        BitBlt(target, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, 0, 0, client.right, client.bottom, dc_, 0, 0, width_, height_, SRCCOPY);
    }
    ReleaseDC(window, target);
}
