// The tray icon on Windows.

#include "win32/tray/tray_icon.h"

#include <commctrl.h>
#include <cstring>
#include <shellapi.h>
#include <string>
#include <vector>

#include "win32/system/system_function.h"
#include "win32/window/window.h"

namespace korbela {

uint32_t ReadShellVersion() {
    wchar_t folder[MAX_PATH] = {};
    const UINT folderLength = GetSystemDirectoryW(folder, MAX_PATH);
    if (folderLength == 0 || folderLength >= MAX_PATH) return 0;
    // The full path, so that no shell32.dll next to the program is read instead.
    const std::wstring path = std::wstring(folder, folderLength) + L"\\shell32.dll";
    DWORD ignored = 0;
    const DWORD infoSize = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (infoSize == 0) return 0;
    std::vector<char> info(infoSize);
    if (!GetFileVersionInfoW(path.c_str(), 0, infoSize, info.data())) return 0;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize)) return 0;
    if (fixed == nullptr || fixedSize < sizeof(VS_FIXEDFILEINFO)) return 0;
    return fixed->dwFileVersionMS;
}

bool Win32NotifyShell::Notify(NotifyCommand command, uint32_t flags, const NotifyIconRecord& record) {
    NOTIFYICONDATAA data{};
    data.cbSize = record.size;
    data.hWnd = window_;
    data.uID = record.id;
    data.uFlags = flags;
    data.uCallbackMessage = record.callbackMessage;
    data.hIcon = icon_;
    // The record's tip is already cut to what its layout holds.
    const std::size_t tipCount = record.tip.size() < sizeof(data.szTip) ? record.tip.size() : sizeof(data.szTip) - 1;
    std::memcpy(data.szTip, record.tip.data(), tipCount);
    data.uVersion = record.version;

    DWORD message = NIM_ADD;
    switch (command) {
    case NotifyCommand::Add: message = NIM_ADD; break;
    case NotifyCommand::Modify: message = NIM_MODIFY; break;
    case NotifyCommand::Delete: message = NIM_DELETE; break;
    case NotifyCommand::SetVersion: message = NIM_SETVERSION; break;
    }
    // A failure that sets no error means the taskbar did not answer at all;
    // an error left over from an earlier call must not be taken for it.
    SetLastError(0);
    const bool ok = Shell_NotifyIconA(message, &data) != FALSE;
    lastError_ = ok ? 0 : GetLastError();
    return ok;
}

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
