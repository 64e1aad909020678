// What the tray icon needs of the window system besides the shell: its own
// message window (timers, the popup menu), the application window that owns
// the taskbar button, and the main window.
#pragma once

#include <cstdint>
#include <optional>

#include "core/system/display_scale.h"

namespace korbela {

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// ShowWindow commands the tray gives the application window.
enum class AppWindowShow {
    Hide,                        // SW_HIDE: the taskbar button goes
    Show,                        // SW_SHOW: the taskbar button comes back
    Minimize,                    // the application minimises itself
    Restore,                     // the application restores itself
    ShowMinimizedWithoutAnimation,
};

class ITrayDesktop {
public:
    virtual ~ITrayDesktop() = default;

    // The tray's own message window.
    virtual void StartTimer(uint32_t id, uint32_t milliseconds) = 0;
    virtual void KillTimer(uint32_t id) = 0;
    virtual uint32_t DoubleClickTime() = 0;
    virtual ScreenPoint CursorPos() = 0;
    virtual void SetForegroundToTrayWindow() = 0;
    // Shows the popup menu; a choice arrives later as a command to the tray window.
    virtual void ShowPopupMenu(ScreenPoint at) = 0;
    virtual void PostNullToTrayWindow() = 0;

    // The application window.
    virtual void HookApplicationWindow() = 0;
    virtual void UnhookApplicationWindow() = 0;
    virtual bool ApplicationIconic() = 0;
    virtual void ShowApplicationWindow(AppWindowShow how) = 0;

    // The main window and the taskbar's notification area.
    virtual bool HasMainWindow() = 0;
    virtual ScreenRect MainWindowRect() = 0;
    virtual void SetMainWindowVisible(bool value) = 0;
    // The window of class "TrayNotifyWnd" inside "Shell_TrayWnd", when there is one.
    virtual std::optional<ScreenRect> NotifyAreaRect() = 0;
    virtual void DrawCaptionAnimation(const ScreenRect& from, const ScreenRect& to) = 0;
    // The scale the notification area draws its icons at.
    virtual DisplayScale NotifyAreaScale() = 0;
};

}  // namespace korbela
