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

// The whole of a WM_PAINT for a window that draws its client area itself:
// paint(dc, client) composes the picture, which then goes to the screen at once.
template <typename PaintFunction>
void PaintClientBuffered(HWND window, PaintFunction&& paint) {
    PaintDc paintDc(window);
    RECT client{};
    GetClientRect(window, &client);
    BackBuffer buffer(paintDc.Get(), client.right, client.bottom);
    paint(buffer.Dc(), client);
}

}  // namespace korbela
