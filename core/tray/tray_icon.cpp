// The tray icon: its record in the shell, showing and hiding the application,
// and the clicks, double clicks and menu requests on the icon.

#include "core/tray/tray_icon.h"

namespace korbela {

namespace {

constexpr uint32_t kAddFlags = kNotifyMessage | kNotifyIcon | kNotifyTip;

}  // namespace

TTrayIcon::TTrayIcon(INotifyShell& shell, ITrayDesktop& desktop, uint32_t shellVersion, std::size_t pointerSize)
    : shell_(shell),
      desktop_(desktop),
      shellVersion_(shellVersion),
      record_(MakeNotifyIconRecord(shellVersion, pointerSize, std::string())) {}

TTrayIcon::~TTrayIcon() {
    desktop_.KillTimer(kDoubleClickTimer);
    desktop_.KillTimer(kBalloonTimer);
    if (applicationHooked_) desktop_.UnhookApplicationWindow();
    if (iconShown_) RemoveIcon();
}

void TTrayIcon::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (!loaded_) return;
    if (active_) {
        AddIcon();
    } else {
        RemoveIcon();
    }
}

void TTrayIcon::SetHint(const std::string& text) {
    const std::string hint = IsShell5(shellVersion_) ? text : ReplaceLineBreaks(text);
    if (hint == hint_) return;
    hint_ = hint;
    hintChanged_ = true;
}

void TTrayIcon::SetUsage(int percent) {
    usagePercent_ = percent;
    if (usageShown_) HandOverIcon();
}

void TTrayIcon::SetUsageShown(bool value) {
    if (value == usageShown_) return;
    usageShown_ = value;
    HandOverIcon();
}

void TTrayIcon::ShowNotification(const std::string& text) {
    if (!iconShown_ || !IsShell5(shellVersion_)) return;
    record_.infoTitle = kNotificationTitle;
    record_.info = text.substr(0, kInfoLimit);
    record_.infoFlags = kInfoIcon | kInfoNoSound;
    Shell(NotifyCommand::Modify, kNotifyInfo);
}

void TTrayIcon::Loaded() {
    loaded_ = true;
    if (!active_) return;
    if (!applicationHooked_) {
        desktop_.HookApplicationWindow();
        applicationHooked_ = true;
    }
    AddIcon();
    if (!Has(TTrayVisibility::tvVisibleTaskBar)) {
        hiddenAtStart_ = true;
        desktop_.ShowApplicationWindow(AppWindowShow::Hide);
    }
}

bool TTrayIcon::ApplicationVisible() { return !hiddenAtStart_ && !desktop_.ApplicationIconic(); }

void TTrayIcon::HideToTray() {
    if (ApplicationVisible()) {
        if ((snap_ || Has(TTrayVisibility::tvAnimateToTray)) && desktop_.HasMainWindow()) {
            AnimateIfAsked(true);
            desktop_.SetMainWindowVisible(false);
        }
        desktop_.ShowApplicationWindow(AppWindowShow::Minimize);
    }
    desktop_.ShowApplicationWindow(AppWindowShow::Hide);
    visibility_.Exclude(TTrayVisibility::tvVisibleTaskBar);
    if (Has(TTrayVisibility::tvAutoHideIcon) && !iconShown_) AddIcon();
}

void TTrayIcon::RestoreFromTray() {
    if (hiddenAtStart_) desktop_.ShowApplicationWindow(AppWindowShow::ShowMinimizedWithoutAnimation);
    visibility_.Include(TTrayVisibility::tvVisibleTaskBar);
    desktop_.ShowApplicationWindow(AppWindowShow::Show);
    if (!ApplicationVisible()) {
        if (desktop_.HasMainWindow()) AnimateIfAsked(false);
        desktop_.ShowApplicationWindow(AppWindowShow::Restore);
        desktop_.SetMainWindowVisible(true);
    }
    hiddenAtStart_ = false;
    if (Has(TTrayVisibility::tvAutoHideIcon) && iconShown_) RemoveIcon();
}

void TTrayIcon::TaskbarCreated() {
    RemoveIcon();
    if (active_ && loaded_) AddIcon();
}

void TTrayIcon::EndSession(bool sessionEnding) {
    if (sessionEnding) {
        RemoveIcon();
    } else if (active_ && loaded_) {
        AddIcon();
    }
}

bool TTrayIcon::ApplicationSysCommand(uint32_t command) {
    if ((command & 0xFFF0) != kScMinimize) return false;
    if (!Has(TTrayVisibility::tvAutoHide) || !active_) return false;
    HideToTray();
    // The application's own minimising would show its window again and
    // bring the taskbar button back; it is already minimised and hidden.
    return true;
}

bool TTrayIcon::Shell(NotifyCommand command, uint32_t flags) {
    return ShellNotifyWithRetry(shell_, command, flags, record_, !Has(TTrayVisibility::tvNoRetryOnFailure));
}

std::optional<UsageIconFace> TTrayIcon::CurrentFace() {
    if (!usageShown_ || !usagePercent_) return std::nullopt;
    return UsageIconFaceFor(*usagePercent_, desktop_.NotifyAreaScale());
}

void TTrayIcon::HandOverIcon() {
    std::optional<UsageIconFace> face = CurrentFace();
    if (face == record_.usageFace) return;
    record_.usageFace = face;
    if (iconShown_) Shell(NotifyCommand::Modify, kNotifyIcon);
}

void TTrayIcon::AddIcon() {
    record_.usageFace = CurrentFace();  // the scale may have changed while it was away
    record_.tip = TrayTipText(hint_, shellVersion_);
    hintChanged_ = false;
    if (!Shell(NotifyCommand::Add, kAddFlags)) return;
    iconShown_ = true;
    if (IsShell5(shellVersion_)) Shell(NotifyCommand::SetVersion, 0);
}

void TTrayIcon::RemoveIcon() {
    if (Shell(NotifyCommand::Delete, 0)) iconShown_ = false;
}

void TTrayIcon::HandOverTip() {
    if (!hintChanged_) return;
    hintChanged_ = false;
    record_.tip = TrayTipText(hint_, shellVersion_);
    if (iconShown_) Shell(NotifyCommand::Modify, kNotifyTip);
}

void TTrayIcon::AnimateIfAsked(bool towardTray) {
    if (!Has(TTrayVisibility::tvAnimateToTray)) return;
    const std::optional<ScreenRect> area = desktop_.NotifyAreaRect();
    if (!area) return;
    const ScreenRect window = desktop_.MainWindowRect();
    if (towardTray) {
        desktop_.DrawCaptionAnimation(window, *area);
    } else {
        desktop_.DrawCaptionAnimation(*area, window);
    }
}

// The tray icon's mouse handling: a single left click is held back for the
// double-click time so that a double click toggles the application once.
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
