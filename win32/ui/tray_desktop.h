// The window system as the tray icon sees it: its own message window, the
// application window (hooked for its minimise command) and the main window.
#pragma once

#include <windows.h>

#include <functional>

#include "core/ui/tray_desktop.h"
#include "win32/ui/subclass_base.h"
#include "win32/ui/tray_menu.h"

namespace korbela {

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
    void SetMainWindowAutoShow(bool value) override;

    bool HasMainWindow() override;
    ScreenRect MainWindowRect() override;
    void SetMainWindowVisible(bool value) override;
    std::optional<ScreenRect> NotifyAreaRect() override;
    void DrawCaptionAnimation(const ScreenRect& from, const ScreenRect& to) override;

    // Told whether the application is to show its main window by itself on a restore.
    std::function<void(bool showsByItself)> OnMainWindowAutoShow;

private:
    // The application window's messages while it is hooked; an error raised
    // in the hook goes to the application's report.
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND trayWindow_;         // not owned
    HWND applicationWindow_;  // not owned
    HWND mainWindow_;         // not owned
    TrayMenu& menu_;          // not owned
    SysCommandHook onSysCommand_;
};

}  // namespace korbela
