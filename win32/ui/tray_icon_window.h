// The tray icon of the main window: a hidden top-level window of its own
// ("KorbelaTrayWindow") that receives the shell's callbacks, the
// "TaskbarCreated" broadcast and the session messages, the popup menu
// popTaskBar, and the icon's behaviour. The icon is placed when this object
// is made and removed when it goes.
#pragma once

#include <windows.h>

#include <functional>

#include "core/ui/tray_icon.h"
#include "win32/system/unique_handle.h"
#include "win32/ui/guarded_call.h"
#include "win32/ui/notify_shell.h"
#include "win32/ui/tray_desktop.h"
#include "win32/ui/tray_menu.h"

namespace korbela {

inline constexpr char kTrayWindowClass[] = "KorbelaTrayWindow";

class TrayIconWindow {
public:
    // The windows and the icon stay owned by the caller and outlive this object;
    // without an icon the application window's class icon is shown.
    TrayIconWindow(HWND applicationWindow, HWND mainWindow, HICON icon);
    ~TrayIconWindow();
    TrayIconWindow(const TrayIconWindow&) = delete;
    TrayIconWindow& operator=(const TrayIconWindow&) = delete;

    // tryIcon: Hint, HideToTray, RestoreFromTray. It is the main window's ITrayTarget.
    TTrayIcon& Icon() { return icon_; }
    HWND Handle() const { return window_.Get(); }

    // Errors raised by the menu handlers and the icon's own work.
    ErrorReport OnError;
    // Hiding to the tray stops the application from showing its main window
    // by itself when it is restored (false); restoring may allow it again.
    std::function<void(bool showsByItself)> OnMainWindowAutoShow;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    static HWND CreateTrayWindow(TrayIconWindow* self);

    // Made in this order and gone in the reverse one: the icon is removed
    // while its window, shell, menu and desktop are still there.
    UniqueWindow window_;
    UINT taskbarCreated_ = 0;
    Win32NotifyShell shell_;

public:
    // popTaskBar: the main window sets its item handlers.
    TrayMenu popTaskBar;

private:
    Win32TrayDesktop desktop_;
    TTrayIcon icon_;
    bool ready_ = false;  // messages reach icon_ only while it is fully made
};

}  // namespace korbela
