#include "win32/ui/tray_icon_window.h"

#include "win32/system/system_function.h"
#include "win32/widgets/window_class.h"

namespace korbela {

HWND TrayIconWindow::CreateTrayWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterWindowClass(instance, {kTrayWindowClass, WindowProc});
    // A hidden top-level window, not a message-only one: only top-level
    // windows get the "TaskbarCreated" broadcast and the session messages,
    // and the popup menu needs a window that can take the foreground.
    return Create(WS_EX_TOOLWINDOW, kTrayWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance);
}

namespace {

// Without an icon of its own the tray shows the application's.
HICON IconOrApplicationIcon(HICON icon, HWND applicationWindow) {
    if (icon != nullptr || applicationWindow == nullptr) return icon;
    return reinterpret_cast<HICON>(GetClassLongPtrA(applicationWindow, GCLP_HICON));
}

// Windows 7 lets one window take the message; Vista lets the whole process.
void AllowMessageFromLowerIntegrity(HWND window, UINT message) {
    using WindowFilterProc = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
    using ProcessFilterProc = BOOL(WINAPI*)(UINT, DWORD);
    static const auto forWindow = LoadedSystemFunction<WindowFilterProc>("user32.dll", "ChangeWindowMessageFilterEx");
    static const auto forProcess = LoadedSystemFunction<ProcessFilterProc>("user32.dll", "ChangeWindowMessageFilter");
    if (forWindow != nullptr) {
        forWindow(window, message, MSGFLT_ALLOW, nullptr);
    } else if (forProcess != nullptr) {
        forProcess(message, MSGFLT_ADD);
    }
}

}  // namespace

TrayIconWindow::TrayIconWindow(HWND applicationWindow, HWND mainWindow, HICON icon)
    : taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")),
      // The window first: the shell and the desktop are made for it.
      shell_(CreateTrayWindow(), IconOrApplicationIcon(icon, applicationWindow)),
      desktop_(Handle(), applicationWindow, mainWindow, popTaskBar,
               [this](UINT command) { return ready_ && icon_.ApplicationSysCommand(command); }),
      icon_(shell_, desktop_, ReadShellVersion()) {
    // An elevated copy would otherwise not hear a restarted Explorer.
    if (taskbarCreated_ != 0) AllowMessageFromLowerIntegrity(Handle(), taskbarCreated_);
    desktop_.OnMainWindowAutoShow = [this](bool showsByItself) {
        if (OnMainWindowAutoShow) OnMainWindowAutoShow(showsByItself);
    };
    ready_ = true;
    icon_.Loaded();
}

TrayIconWindow::~TrayIconWindow() { ready_ = false; }

LRESULT TrayIconWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!ready_) return WindowBase::HandleMessage(message, wParam, lParam);
    if (message == kTrayCallbackMessage) {
        // With the version 3 callback the report is the whole lParam.
        icon_.TrayCallback(LOWORD(lParam));
        return 0;
    }
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        icon_.TaskbarCreated();
        return 0;
    }
    switch (message) {
    case WM_QUERYENDSESSION:
        return kQueryEndSessionAnswer;
    case WM_ENDSESSION:
        icon_.EndSession(wParam != FALSE);
        return 0;
    case WM_TIMER:
        icon_.Timer(static_cast<uint32_t>(wParam));
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0 && popTaskBar.Choose(LOWORD(wParam))) return 0;
        break;
    case WM_MEASUREITEM:
        if (popTaskBar.Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_DRAWITEM:
        if (popTaskBar.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    default:
        break;
    }
    return WindowBase::HandleMessage(message, wParam, lParam);
}

}  // namespace korbela
