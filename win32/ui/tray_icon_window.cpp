#include "win32/ui/tray_icon_window.h"

#include "win32/widgets/window_class.h"

namespace korbela {

HWND TrayIconWindow::CreateTrayWindow(TrayIconWindow* self) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterWindowClass(instance, {kTrayWindowClass, WindowProc});
    // A hidden top-level window, not a message-only one: only top-level
    // windows get the "TaskbarCreated" broadcast and the session messages,
    // and the popup menu needs a window that can take the foreground.
    return CreateWindowExA(WS_EX_TOOLWINDOW, kTrayWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           instance, self);
}

namespace {

// Without an icon of its own the tray shows the application's.
HICON IconOrApplicationIcon(HICON icon, HWND applicationWindow) {
    if (icon != nullptr || applicationWindow == nullptr) return icon;
    return reinterpret_cast<HICON>(GetClassLongPtrA(applicationWindow, GCLP_HICON));
}

}  // namespace

TrayIconWindow::TrayIconWindow(HWND applicationWindow, HWND mainWindow, HICON icon)
    : window_(CreateTrayWindow(this)),
      taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")),
      shell_(window_.Get(), IconOrApplicationIcon(icon, applicationWindow)),
      desktop_(window_.Get(), applicationWindow, mainWindow, popTaskBar,
               [this](UINT command) { return ready_ && icon_.ApplicationSysCommand(command); }),
      icon_(shell_, desktop_, ReadShellVersion()) {
    // An elevated copy would otherwise not hear a restarted Explorer.
    if (taskbarCreated_ != 0) ChangeWindowMessageFilterEx(window_.Get(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
    desktop_.OnError = [this](const std::exception& error) {
        if (OnError) OnError(error);
    };
    desktop_.OnMainWindowAutoShow = [this](bool showsByItself) {
        if (OnMainWindowAutoShow) OnMainWindowAutoShow(showsByItself);
    };
    ready_ = true;
    icon_.Loaded();
}

TrayIconWindow::~TrayIconWindow() { ready_ = false; }

LRESULT CALLBACK TrayIconWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TrayIconWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    // Another program's close request would take the icon and with it the
    // menu's Exit away; only the destructor ends this window.
    if (message == WM_CLOSE) return 0;
    auto* self = reinterpret_cast<TrayIconWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr || !self->ready_) return DefWindowProcA(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT TrayIconWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_.Get();
    if (message == kTrayCallbackMessage) {
        // With the version 3 callback the report is the whole lParam.
        GuardedCall(OnError, [&] { icon_.TrayCallback(LOWORD(lParam)); });
        return 0;
    }
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        GuardedCall(OnError, [&] { icon_.TaskbarCreated(); });
        return 0;
    }
    switch (message) {
    case WM_QUERYENDSESSION:
        return kQueryEndSessionAnswer;
    case WM_ENDSESSION:
        GuardedCall(OnError, [&] { icon_.EndSession(wParam != FALSE); });
        return 0;
    case WM_TIMER:
        GuardedCall(OnError, [&] { icon_.Timer(static_cast<uint32_t>(wParam)); });
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0) {
            bool chosen = false;
            GuardedCall(OnError, [&] { chosen = popTaskBar.Choose(LOWORD(wParam)); });
            if (chosen) return 0;
        }
        break;
    case WM_MEASUREITEM: {
        bool measured = false;
        GuardedCall(OnError, [&] { measured = popTaskBar.Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)); });
        if (measured) return TRUE;
        break;
    }
    case WM_DRAWITEM: {
        bool drawn = false;
        GuardedCall(OnError, [&] { drawn = popTaskBar.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); });
        if (drawn) return TRUE;
        break;
    }
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace korbela
