// The tray icon's mouse handling: a single left click is held back for the
// double-click time so that a double click toggles the application once.
#include "core/ui/tray_icon.h"

namespace korbela {

void TTrayIcon::TrayCallback(uint32_t mouseMessage) {
    cursor_ = desktop_.CursorPos();
    switch (mouseMessage) {
    case kWmMouseMove:
        HandOverTip();
        break;
    case kWmLButtonDown:
    case kWmRButtonDown:
    case kWmMButtonDown:
        buttonPressed_ = true;
        break;
    case kWmLButtonUp:
        ButtonUp(MouseButton::Left);
        break;
    case kWmRButtonUp:
        ButtonUp(MouseButton::Right);
        break;
    case kWmMButtonUp:
        ButtonUp(MouseButton::Middle);
        break;
    case kWmLButtonDblClk:
        DoubleClick(MouseButton::Left);
        break;
    case kWmRButtonDblClk:
        DoubleClick(MouseButton::Right);
        break;
    case kWmMButtonDblClk:
        DoubleClick(MouseButton::Middle);
        break;
    case kWmContextMenu:
    case kNinKeySelect:
        OpenPopupMenu();
        break;
    default:
        break;
    }
}

void TTrayIcon::Timer(uint32_t id) {
    if (id != kDoubleClickTimer) return;
    desktop_.KillTimer(kDoubleClickTimer);
    if (!waitingForDoubleClick_) return;
    waitingForDoubleClick_ = false;
    PerformClick(heldClick_);
}

void TTrayIcon::ButtonUp(MouseButton button) {
    if (!buttonPressed_) return;
    buttonPressed_ = false;
    if (button == MouseButton::Left) {
        const HeldClick click{button, cursor_};
        if (Has(TTrayVisibility::tvRestoreDbClick) || Has(TTrayVisibility::tvMinimizeDbClick)) {
            heldClick_ = click;
            if (!waitingForDoubleClick_) {
                waitingForDoubleClick_ = true;
                desktop_.StartTimer(kDoubleClickTimer, desktop_.DoubleClickTime());
            }
        } else {
            PerformClick(click);
        }
    }
    // From shell 5.0 on the shell reports WM_CONTEXTMENU instead.
    if (button == MouseButton::Right && !IsShell5(shellVersion_)) OpenPopupMenu();
}

void TTrayIcon::DoubleClick(MouseButton button) {
    // The double click stands for the second press: its release is not a click.
    buttonPressed_ = false;
    if (waitingForDoubleClick_) {
        waitingForDoubleClick_ = false;
        desktop_.KillTimer(kDoubleClickTimer);
    }
    if (button != MouseButton::Left) return;
    // popTaskBar has no default item, so a double click chooses no menu item.
    const bool visible = ApplicationVisible();
    if (visible && Has(TTrayVisibility::tvMinimizeDbClick)) {
        HideToTray();
    } else if (!visible && Has(TTrayVisibility::tvRestoreDbClick)) {
        RestoreFromTray();
    }
}

void TTrayIcon::PerformClick(const HeldClick& click) {
    if (click.button != MouseButton::Left) return;
    const bool visible = ApplicationVisible();
    if (visible && Has(TTrayVisibility::tvMinimizeClick)) {
        HideToTray();
    } else if (!visible && Has(TTrayVisibility::tvRestoreClick)) {
        RestoreFromTray();
    }
}

void TTrayIcon::OpenPopupMenu() {
    // Without the foreground the menu would not close on a click elsewhere,
    // and without the WM_NULL the next click on the icon would not open it.
    desktop_.SetForegroundToTrayWindow();
    desktop_.ShowPopupMenu(cursor_);
    desktop_.PostNullToTrayWindow();
}

}  // namespace korbela
