// The tray icon of the main window: a hidden top-level window of its own
// ("KorbelaTrayWindow") that receives the shell's callbacks, the
// "TaskbarCreated" broadcast and the session messages, the popup menu
// popTaskBar, and the icon's behaviour. The icon is placed when this object
// is made and removed when it goes.
#pragma once

#include <windows.h>

#include <functional>

#include "core/ui/tray_icon.h"
#include "win32/ui/notify_shell.h"
#include "win32/ui/tray_desktop.h"
#include "win32/ui/tray_menu.h"
#include "win32/ui/window_base.h"

namespace korbela {

inline constexpr char kTrayWindowClass[] = "KorbelaTrayWindow";

class TrayIconWindow : public WindowBase {
public:
    // The windows and the icon stay owned by the caller and outlive this object;
    // without an icon the application window's class icon is shown.
    TrayIconWindow(HWND applicationWindow, HWND mainWindow, HICON icon);
    ~TrayIconWindow() override;

    // tryIcon: Hint, HideToTray, RestoreFromTray. It is the main window's ITrayTarget.
    TTrayIcon& Icon() { return icon_; }

    // Hiding to the tray stops the application from showing its main window
    // by itself when it is restored (false); restoring may allow it again.
    std::function<void(bool showsByItself)> OnMainWindowAutoShow;

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
