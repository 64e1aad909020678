#include "win32/ui/window_base.h"

#include <utility>

#include "win32/app/error_report.h"

namespace korbela {

namespace {

// The object whose window CreateWindowExA is making on this thread. A window
// procedure gets no context of its own, and a sizing frame's first message,
// WM_GETMINMAXINFO, comes before WM_NCCREATE and its creation parameters.
thread_local WindowBase* tCreating = nullptr;

}  // namespace

WindowBase::~WindowBase() {
    if (window_) {
        SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, 0);
        window_.Reset();
    }
}

HWND WindowBase::Create(DWORD exStyle, const char* className, const char* caption, DWORD style, int x, int y,
                        int width, int height, HWND parent, HMENU menu, HINSTANCE instance) {
    WindowBase* const outer = std::exchange(tCreating, this);
    HWND window = CreateWindowExA(exStyle, className, caption, style, x, y, width, height, parent, menu, instance,
                                  nullptr);
    tCreating = outer;
    // A window whose creation failed after its first message is gone again.
    return window != nullptr ? Handle() : nullptr;
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(Handle(), message, wParam, lParam);
}

void WindowBase::Attach(HWND window) {
    window_.Reset(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void WindowBase::Detach() {
    SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, 0);
    window_.Release();
}

LRESULT CALLBACK WindowBase::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr && tCreating != nullptr) {
        self = std::exchange(tCreating, nullptr);
        self->Attach(window);
    }
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
    }
    if (message == WM_NCDESTROY) self->Detach();
    return result;
}

}  // namespace korbela
