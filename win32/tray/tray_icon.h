// The tray icon on Windows: its popup menu, the shell's Shell_NotifyIcon, the
// desktop the icon works with, and the hidden window that receives the icon's
// messages and the menu's commands.
#pragma once

#include <windows.h>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/system/display_scale.h"
#include "core/tray/notify_shell.h"
#include "core/tray/tray_desktop.h"
#include "core/tray/tray_icon.h"
#include "win32/system/unique_handle.h"
#include "win32/window/window.h"

namespace korbela {

// The tray menu popTaskBar: three clean levels, Show Main Window, the icon's
// look (checkable) and Exit,
// owner-drawn in the main window's dark skin, at the scale of the screen it
// opens on. Its owner window forwards the menu's measure, draw and command
// messages here.
class TrayMenu {
public:
    TrayMenu();
    TrayMenu(const TrayMenu&) = delete;
    TrayMenu& operator=(const TrayMenu&) = delete;

    // Shows the menu at the owner's scale; the choice comes back to the owner
    // as WM_COMMAND. A quit request while it is shown closes it and is posted
    // again once it is gone.
    void Popup(HWND owner, int x, int y);

    // Runs the handler of a chosen item; false when the command is not one of ours.
    bool Choose(UINT commandId);
    bool Measure(MEASUREITEMSTRUCT& item);
    bool Draw(const DRAWITEMSTRUCT& item);

    HMENU Handle() const { return menu_.Get(); }

    std::function<void()> LightClean1Click;
    std::function<void()> MediumClean1Click;
    std::function<void()> HeavyClean1Click;
    std::function<void()> ShowMainWindow1Click;
    std::function<void()> ShowMemoryUsageinIcon1Click;
    std::function<void()> erminate1Click;
    // Asked as the menu opens: whether "Show Memory Usage in Icon" is ticked.
    std::function<bool()> popTaskBarPopup;

private:
    void DrawCheckMark(HDC dc, const RECT& item, bool disabled);
    // Item sizes and the font for a scale; the items are measured again.
    void ApplyScale(DisplayScale scale);

    UniqueMenu menu_;
    DisplayScale scale_;
    UniqueGdiObject<HFONT> font_;
    UniqueGdiObject<HBRUSH> background_;
    UniqueGdiObject<HBRUSH> highlight_;
    UniqueGdiObject<HBRUSH> separator_;
};

// The tray icon on Windows: the shell's Shell_NotifyIcon, the desktop the icon
// works with, and the hidden window that receives the icon's messages.
// Shell_NotifyIconA for the tray icon: the plain record becomes a
// NOTIFYICONDATAA of the size the shell understands.

// major * 65536 + minor of shell32.dll's file version; 0 when it cannot be read.
uint32_t ReadShellVersion();

// The usage icon's picture as an icon, opaque; empty when it cannot be made.
UniqueIcon MakeUsageIcon(const UsageIconFace& face);

class Win32NotifyShell : public INotifyShell {
public:
    Win32NotifyShell(HWND window, HICON icon) : window_(window), icon_(icon) {}

    bool Notify(NotifyCommand command, uint32_t flags, const NotifyIconRecord& record) override;
    uint32_t LastError() override { return lastError_; }
    void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }

private:
    // The icon the record asks for; a usage face is drawn once, when it changes.
    HICON IconFor(const NotifyIconRecord& record);

    HWND window_;  // not owned: the tray's message window
    HICON icon_;   // not owned: the program's icon
    std::optional<UsageIconFace> usageFace_;
    UniqueIcon usageIcon_;  // the last one drawn, for usageFace_
    uint32_t lastError_ = 0;
};

// The window system as the tray icon sees it: its own message window, the
// application window (hooked for its minimise command) and the main window.
class Win32TrayDesktop : public ITrayDesktop, private SubclassBase {
public:
    // A system command that reached the application window; true ends it there.
    using SysCommandHook = std::function<bool(UINT command)>;

    Win32TrayDesktop(HWND trayWindow, HWND applicationWindow, HWND mainWindow, TrayMenu& menu,
                     SysCommandHook onSysCommand);
    ~Win32TrayDesktop() override;

    void StartTimer(uint32_t id, uint32_t milliseconds) override;
    void KillTimer(uint32_t id) override;
    uint32_t DoubleClickTime() override;
    ScreenPoint CursorPos() override;
    void SetForegroundToTrayWindow() override;
    void ShowPopupMenu(ScreenPoint at) override;
    void PostNullToTrayWindow() override;

    void HookApplicationWindow() override;
    void UnhookApplicationWindow() override;
    bool ApplicationIconic() override;
    void ShowApplicationWindow(AppWindowShow how) override;

    bool HasMainWindow() override;
    ScreenRect MainWindowRect() override;
    void SetMainWindowVisible(bool value) override;
    std::optional<ScreenRect> NotifyAreaRect() override;
    void DrawCaptionAnimation(const ScreenRect& from, const ScreenRect& to) override;
    DisplayScale NotifyAreaScale() override;
    // The display or its resolution changed: the scale is read again when next asked for.
    void ForgetScale() { scale_.reset(); }

private:
    // The application window's messages while it is hooked; an error raised
    // in the hook goes to the application's report.
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND trayWindow_;         // not owned
    HWND applicationWindow_;  // not owned
    HWND mainWindow_;         // not owned
    TrayMenu& menu_;          // not owned
    SysCommandHook onSysCommand_;
    std::optional<DisplayScale> scale_;  // asked for at every tick while the usage shows
};

// The tray icon of the main window: a hidden top-level window of its own
// ("KorbelaTrayWindow") that receives the shell's callbacks, the
// "TaskbarCreated" broadcast and the session messages, the popup menu
// popTaskBar, and the icon's behaviour. The icon is placed when this object
// is made and removed when it goes.
inline constexpr char kTrayWindowClass[] = "KorbelaTrayWindow";

class TrayIconWindow : public WindowBase {
public:
    // The windows and the icon stay owned by the caller and outlive this object;
    // without an icon the application window's class icon is shown.
    TrayIconWindow(HWND applicationWindow, HWND mainWindow, HICON icon);
    ~TrayIconWindow() override;

    // tryIcon: Hint, HideToTray, RestoreFromTray. It is the main window's ITrayTarget.
    TTrayIcon& Icon() { return icon_; }

private:
    // Errors of the menu handlers and the icon's own work go to the
    // application's report.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND CreateTrayWindow();

    UINT taskbarCreated_ = 0;
    bool ready_ = false;  // messages reach icon_ only while it is fully made
    // Made in this order and gone in the reverse one, the window last: the
    // icon is removed while its window, shell, menu and desktop are still there.
    Win32NotifyShell shell_;

public:
    // popTaskBar: the main window sets its item handlers.
    TrayMenu popTaskBar;

private:
    Win32TrayDesktop desktop_;
    TTrayIcon icon_;
};

}  // namespace korbela
