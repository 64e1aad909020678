#include "win32/ui/tray_desktop.h"

#include <commctrl.h>

namespace korbela {

namespace {

RECT ToRect(const ScreenRect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }
ScreenRect FromRect(const RECT& rect) { return ScreenRect{rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

Win32TrayDesktop::Win32TrayDesktop(HWND trayWindow, HWND applicationWindow, HWND mainWindow, TrayMenu& menu,
                                   SysCommandHook onSysCommand)
    : trayWindow_(trayWindow),
      applicationWindow_(applicationWindow),
      mainWindow_(mainWindow),
      menu_(menu),
      onSysCommand_(std::move(onSysCommand)) {}

Win32TrayDesktop::~Win32TrayDesktop() { UnhookApplicationWindow(); }

void Win32TrayDesktop::StartTimer(uint32_t id, uint32_t milliseconds) {
    SetTimer(trayWindow_, id, milliseconds, nullptr);
}

void Win32TrayDesktop::KillTimer(uint32_t id) { ::KillTimer(trayWindow_, id); }

uint32_t Win32TrayDesktop::DoubleClickTime() { return GetDoubleClickTime(); }

ScreenPoint Win32TrayDesktop::CursorPos() {
    POINT point{};
    GetCursorPos(&point);
    return ScreenPoint{point.x, point.y};
}

void Win32TrayDesktop::SetForegroundToTrayWindow() { SetForegroundWindow(trayWindow_); }

void Win32TrayDesktop::ShowPopupMenu(ScreenPoint at) { menu_.Popup(trayWindow_, at.x, at.y); }

void Win32TrayDesktop::PostNullToTrayWindow() { PostMessageA(trayWindow_, WM_NULL, 0, 0); }

void Win32TrayDesktop::HookApplicationWindow() {
    if (applicationWindow_ != nullptr) Subclass(applicationWindow_);
}

void Win32TrayDesktop::UnhookApplicationWindow() { Unsubclass(applicationWindow_); }

bool Win32TrayDesktop::ApplicationIconic() { return IsIconic(applicationWindow_) != FALSE; }

void Win32TrayDesktop::ShowApplicationWindow(AppWindowShow how) {
    switch (how) {
    case AppWindowShow::Hide:
        ShowWindow(applicationWindow_, SW_HIDE);
        break;
    case AppWindowShow::Show:
        ShowWindow(applicationWindow_, SW_SHOW);
        break;
    case AppWindowShow::Minimize:
        if (!IsIconic(applicationWindow_)) ShowWindow(applicationWindow_, SW_MINIMIZE);
        break;
    case AppWindowShow::Restore:
        if (IsIconic(applicationWindow_)) ShowWindow(applicationWindow_, SW_RESTORE);
        break;
    case AppWindowShow::ShowMinimizedWithoutAnimation:
        // SW_SHOWMINNOACTIVE does not animate; the system-wide animation
        // setting is left alone.
        ShowWindow(applicationWindow_, SW_SHOWMINNOACTIVE);
        break;
    }
}

void Win32TrayDesktop::SetMainWindowAutoShow(bool value) {
    if (OnMainWindowAutoShow) OnMainWindowAutoShow(value);
}

bool Win32TrayDesktop::HasMainWindow() { return mainWindow_ != nullptr && IsWindow(mainWindow_) != FALSE; }

ScreenRect Win32TrayDesktop::MainWindowRect() {
    RECT rect{};
    GetWindowRect(mainWindow_, &rect);
    return FromRect(rect);
}

void Win32TrayDesktop::SetMainWindowVisible(bool value) { ShowWindow(mainWindow_, value ? SW_SHOW : SW_HIDE); }

std::optional<ScreenRect> Win32TrayDesktop::NotifyAreaRect() {
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (taskbar == nullptr) return std::nullopt;
    HWND notifyArea = FindWindowExA(taskbar, nullptr, "TrayNotifyWnd", nullptr);
    if (notifyArea == nullptr) return std::nullopt;
    RECT rect{};
    if (!GetWindowRect(notifyArea, &rect)) return std::nullopt;
    return FromRect(rect);
}

void Win32TrayDesktop::DrawCaptionAnimation(const ScreenRect& from, const ScreenRect& to) {
    const RECT fromRect = ToRect(from);
    const RECT toRect = ToRect(to);
    DrawAnimatedRects(mainWindow_, IDANI_CAPTION, &fromRect, &toRect);
}

LRESULT Win32TrayDesktop::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && onSysCommand_ && onSysCommand_(static_cast<UINT>(wParam))) return 0;
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace korbela
