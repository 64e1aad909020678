// Window objects, subclasses, window classes and the message loop.

#include "win32/window/window.h"

#include <algorithm>
#include <commctrl.h>
#include <utility>

#include "win32/window/error_report.h"

namespace korbela {

// Window objects, subclasses and window classes.
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

namespace {

// The object's address tells its subclass from another object's on the same window.
UINT_PTR SubclassId(const SubclassBase* self) { return reinterpret_cast<UINT_PTR>(self); }

}  // namespace

SubclassBase::~SubclassBase() {
    for (HWND window : windows_) {
        if (IsWindow(window)) RemoveWindowSubclass(window, SubclassProc, SubclassId(this));
    }
}

bool SubclassBase::Subclass(HWND window) {
    if (window == nullptr) return false;
    if (Subclasses(window)) return true;
    if (!SetWindowSubclass(window, SubclassProc, SubclassId(this), reinterpret_cast<DWORD_PTR>(this))) return false;
    windows_.push_back(window);
    return true;
}

void SubclassBase::Unsubclass(HWND window) {
    const auto found = std::find(windows_.begin(), windows_.end(), window);
    if (found == windows_.end()) return;
    windows_.erase(found);
    RemoveWindowSubclass(window, SubclassProc, SubclassId(this));
}

bool SubclassBase::Subclasses(HWND window) const {
    return std::find(windows_.begin(), windows_.end(), window) != windows_.end();
}

LRESULT SubclassBase::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK SubclassBase::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR selfData) {
    auto* self = reinterpret_cast<SubclassBase*>(selfData);
    if (message == WM_NCDESTROY) {
        // The subclass goes before the window does.
        self->Unsubclass(window);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    try {
        return self->HandleSubclassMessage(window, message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
        return 0;
    }
}

bool RegisterWindowClass(HINSTANCE instance, const WindowClass& definition) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(instance, definition.name, &existing)) return true;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = definition.style;
    windowClass.lpfnWndProc = definition.procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = definition.icon;
    windowClass.hIconSm = definition.icon;
    windowClass.hCursor = definition.arrowCursor ? LoadCursor(nullptr, IDC_ARROW) : nullptr;
    windowClass.lpszClassName = definition.name;
    return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND DisabledChildAt(HWND parent, POINT clientPoint) {
    const HWND child = ChildWindowFromPointEx(parent, clientPoint, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    return child != nullptr && child != parent && !IsWindowEnabled(child) ? child : nullptr;
}

void DispatchWithKeyboardInterface(MSG& msg) {
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd != nullptr) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        const bool controlParent =
            root != nullptr && (GetWindowLongPtrA(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
        // F1 is the system's: it asks the focused control for help, which
        // passes the request up to the window (WM_HELP), once a press.
        if (controlParent && IsDialogMessageA(root, &msg)) return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void Win32MessagePump::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the main loop and tell the caller to stop.
            terminated_ = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchWithKeyboardInterface(msg);
    }
}

}  // namespace korbela
