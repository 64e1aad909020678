#include "win32/widgets/drawn_control.h"

#include <stdexcept>
#include <utility>

#include "win32/widgets/window_class.h"

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
    RegisterDrawnClass(instance, &DrawnControl::WindowProc);
    CreateWindowExA(0, kDrawnControlClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, w, h,
                    parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    if (!window_) throw std::runtime_error("Unable to create the drawn control.");
}

DrawnControl::~DrawnControl() {
    if (window_) DestroyWindow(window_);
}

void DrawnControl::Invalidate() {
    if (window_) InvalidateRect(window_, nullptr, FALSE);
}

LRESULT CALLBACK DrawnControl::WindowProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created =
            static_cast<DrawnControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (created) {
            created->window_ = window;
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        }
    }
    auto* self = reinterpret_cast<DrawnControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->buffer_.reset();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT DrawnControl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the back buffer covers every pixel
        case WM_SIZE:
            Resize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        default:
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

void DrawnControl::RecreateBuffer(int width, int height) {
    buffer_.reset();
    WindowDc screen(window_);
    buffer_ = std::make_unique<GdiCanvas>(screen.Get(), width, height);
}

void DrawnControl::Resize(int width, int height) {
    if (width <= 0 || height <= 0) {
        buffer_.reset();
        return;
    }
    try {
        RecreateBuffer(width, height);
    } catch (const std::exception& error) {
        if (OnError) OnError(error);  // the next paint tries again
    }
}

void DrawnControl::Paint() {
    PaintDc target(window_);
    RECT client{};
    GetClientRect(window_, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;
    try {
        if (!buffer_ || buffer_->Width() != width || buffer_->Height() != height) {
            RecreateBuffer(width, height);
        }
        buffer_->ResetClip();  // a painter that threw may have left one
        if (painter_) painter_(*buffer_, width, height);
        buffer_->CopyTo(target.Get(), 0, 0);
    } catch (const std::exception& error) {
        if (OnError) OnError(error);
    } catch (...) {
        // Nothing may leave a window procedure; the picture is dropped.
    }
}

}  // namespace korbela
