// A bitmap like a reference DC's (the screen's) in a memory DC of its own, and
// the pixels of a DC's bitmap: for comparing what a canvas draws with what
// plain GDI draws. Header only, for the Wine tests and the benchmarks alike.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "win32/widgets/gdi_canvas.h"

namespace korbela::wine {

// The bitmap selected into a DC as 0x00RRGGBB pixels, top row first.
inline std::vector<uint32_t> DcPixels(HDC dc, int width, int height) {
    BITMAPINFO info = TopDown32(width, height);
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * height);
    GetDIBits(dc, static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)), 0, static_cast<UINT>(height),
              pixels.data(), &info, DIB_RGB_COLORS);
    for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

class ScreenBitmap {
public:
    ScreenBitmap(HDC reference, int width, int height)
        : width_(width), height_(height), dc_(CreateCompatibleDC(reference)),
          bitmap_(CreateCompatibleBitmap(reference, width, height)), previous_(SelectObject(dc_, bitmap_)) {}
    ~ScreenBitmap() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    ScreenBitmap(const ScreenBitmap&) = delete;
    ScreenBitmap& operator=(const ScreenBitmap&) = delete;

    HDC Dc() const { return dc_; }
    std::vector<uint32_t> Pixels() const { return DcPixels(dc_, width_, height_); }

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

}  // namespace korbela::wine
