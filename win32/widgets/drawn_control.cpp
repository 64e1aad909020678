// Drawn controls and the percent bar painter.

#include "win32/widgets/drawn_control.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "win32/window/window.h"

namespace korbela {

namespace {

void RegisterDrawnClass(HINSTANCE instance, WNDPROC procedure) {
    // The picture depends on the size (centred captions), so a resize
    // repaints the whole control.
    static const bool registered =
        RegisterWindowClass(instance, {kDrawnControlClass, procedure, nullptr, true, CS_HREDRAW | CS_VREDRAW});
    if (!registered) throw std::runtime_error("Unable to register the drawn control class.");
}

}  // namespace

DrawnControl::DrawnControl(HWND parent, int id, int x, int y, int w, int h, Painter painter)
    : painter_(std::move(painter)) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterDrawnClass(instance, WindowProc);
    HWND window = Create(0, kDrawnControlClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance);
    if (!window) throw std::runtime_error("Unable to create the drawn control.");
}

DrawnControl::~DrawnControl() { Destroy(); }

void DrawnControl::Invalidate() {
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT DrawnControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the back buffer covers every pixel
        case WM_SIZE:
            Resize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_NCDESTROY:
            buffer_.reset();
            break;
        default:
            break;
    }
    return WindowBase::HandleMessage(message, wParam, lParam);
}

void DrawnControl::RecreateBuffer(int width, int height) {
    buffer_.reset();
    WindowDc screen(Handle());
    buffer_ = std::make_unique<GdiCanvas>(screen.Get(), width, height);
}

void DrawnControl::Resize(int width, int height) {
    if (width <= 0 || height <= 0) {
        buffer_.reset();
        return;
    }
    RecreateBuffer(width, height);  // should it fail, the next paint tries again
}

void DrawnControl::Paint() {
    PaintDc target(Handle());
    RECT client{};
    GetClientRect(Handle(), &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;
    if (!buffer_ || buffer_->Width() != width || buffer_->Height() != height) {
        RecreateBuffer(width, height);
    }
    buffer_->ResetClip();  // a painter that threw may have left one
    if (painter_) painter_(*buffer_, width, height);
    buffer_->CopyTo(target.Get(), 0, 0);
}

namespace {

// The look with the fill's percent left out: the tracks do not depend on it.
TPercentBarLook TrackLook(const TPercentBar& bar) {
    TPercentBarLook look = bar.Look();
    look.Gradient.PercentFilling = 0;
    return look;
}

}  // namespace

bool PercentBarPainter::Kept(const GdiCanvas& canvas, const TPercentBarLook& look) const {
    return !empty_.empty() && canvas.Width() == width_ && canvas.Height() == height_ &&
           canvas.BitsPerPixel() == bitsPerPixel_ && look == look_ && bar_->Scale() == scale_;
}

void PercentBarPainter::operator()(GdiCanvas& canvas, int width, int height) {
    const TPercentBar& bar = *bar_;
    if (!bar.ShowsTrack() || width != canvas.Width() || height != canvas.Height()) {
        bar.Paint(canvas, width, height);  // nothing kept would help
        return;
    }
    const TPercentBarLook look = TrackLook(bar);
    if (!Kept(canvas, look)) {
        bar.PaintTrack(canvas, width, height, false);
        empty_ = canvas.Pixels();
        bar.PaintTrack(canvas, width, height, true);
        filled_ = canvas.Pixels();
        look_ = look;
        scale_ = bar.Scale();
        width_ = width;
        height_ = height;
        bitsPerPixel_ = canvas.BitsPerPixel();
    }
    const int fillEnd = std::clamp(bar.FillEnd(canvas, width, height), 0, width);
    canvas.Restore(filled_, {0, 0, fillEnd, height});
    canvas.Restore(empty_, {fillEnd, 0, width, height});
    bar.PaintCaption(canvas, width, height);
}

}  // namespace korbela
