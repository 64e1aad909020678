// An off-screen picture for one paint: composed in a memory DC and copied to
// the target in one BitBlt when the buffer goes out of scope.
#pragma once

#include <windows.h>

#include "win32/system/unique_handle.h"

namespace korbela {

class BackBuffer {
public:
    BackBuffer(HDC target, int width, int height)
        : target_(target), width_(width), height_(height), dc_(CreateCompatibleDC(target)),
          bitmap_(CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1)),
          selection_(dc_.Get(), bitmap_.Get()) {}
    ~BackBuffer() { BitBlt(target_, 0, 0, width_, height_, dc_.Get(), 0, 0, SRCCOPY); }
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    HDC Dc() const { return dc_.Get(); }

private:
    HDC target_;  // not owned
    int width_;
    int height_;
    // Declared so that the bitmap is selected out before it and the DC go.
    UniqueDc dc_;
    UniqueGdiObject<HBITMAP> bitmap_;
    SelectionRestore selection_;
};

// WM_ERASEBKGND and WM_PAINT of a window that draws its client area itself:
// no erasing, as the picture covers every pixel, and paint(dc, client)
// composes the picture, which then goes to the screen at once. False for any
// other message.
template <typename PaintFunction>
bool HandleBufferedPaint(HWND window, UINT message, LRESULT& result, PaintFunction&& paint) {
    if (message == WM_ERASEBKGND) {
        result = 1;
        return true;
    }
    if (message != WM_PAINT) return false;
    PaintDc paintDc(window);
    RECT client{};
    GetClientRect(window, &client);
    BackBuffer buffer(paintDc.Get(), client.right, client.bottom);
    paint(buffer.Dc(), client);
    result = 0;
    return true;
}

}  // namespace korbela
