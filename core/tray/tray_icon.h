// The tray icon TrayIcon1: how it hides and restores the application, its
// record in the notification area, and what its clicks do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "core/tray/notify_shell.h"
#include "core/tray/tray_desktop.h"
#include "core/tray/tray_target.h"

namespace korbela {

// How the tray icon hides and restores the application: the members of
// TTrayVisibility and the 16-bit set that holds them.
enum class TTrayVisibility : uint8_t {
    tvVisibleTaskBar,
    tvVisibleTaskList,
    tvAutoHide,
    tvAutoHideIcon,
    tvVisibleDesign,
    tvRestoreClick,
    tvRestoreDbClick,
    tvMinimizeClick,
    tvMinimizeDbClick,
    tvAnimateToTray,
    tvNoRetryOnFailure,
};

inline constexpr int kTrayVisibilityCount = 11;

// Member n is bit n.
class TTrayVisibilitySet {
public:
    constexpr TTrayVisibilitySet() = default;
    constexpr TTrayVisibilitySet(std::initializer_list<TTrayVisibility> members) {
        for (TTrayVisibility member : members) Include(member);
    }

    constexpr bool Contains(TTrayVisibility member) const { return (bits_ & Bit(member)) != 0; }
    constexpr void Include(TTrayVisibility member) { bits_ = static_cast<uint16_t>(bits_ | Bit(member)); }
    constexpr void Exclude(TTrayVisibility member) { bits_ = static_cast<uint16_t>(bits_ & ~Bit(member)); }

    friend constexpr bool operator==(TTrayVisibilitySet, TTrayVisibilitySet) = default;

private:
    static constexpr uint16_t Bit(TTrayVisibility member) {
        return static_cast<uint16_t>(1u << static_cast<unsigned>(member));
    }

    uint16_t bits_ = 0;
};

// The set the main window gives its tray icon.
inline constexpr TTrayVisibilitySet kMainWindowTrayVisibility{
    TTrayVisibility::tvVisibleTaskBar, TTrayVisibility::tvVisibleTaskList, TTrayVisibility::tvAutoHide,
    TTrayVisibility::tvRestoreClick,   TTrayVisibility::tvRestoreDbClick,  TTrayVisibility::tvMinimizeClick,
    TTrayVisibility::tvMinimizeDbClick, TTrayVisibility::tvAnimateToTray,
};

// The tray icon tryIcon: its place in the notification area, its tip, the
// clicks on it and the hiding of the application into the tray. The Win32
// window hands the messages of its own window and of the application window
// in; everything the icon does goes out through the shell and the desktop.

// Mouse reports of the tray callback (its lParam).
inline constexpr uint32_t kWmMouseMove = 0x0200;
inline constexpr uint32_t kWmLButtonDown = 0x0201;
inline constexpr uint32_t kWmLButtonUp = 0x0202;
inline constexpr uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr uint32_t kWmRButtonDown = 0x0204;
inline constexpr uint32_t kWmRButtonUp = 0x0205;
inline constexpr uint32_t kWmRButtonDblClk = 0x0206;
inline constexpr uint32_t kWmMButtonDown = 0x0207;
inline constexpr uint32_t kWmMButtonUp = 0x0208;
inline constexpr uint32_t kWmMButtonDblClk = 0x0209;
inline constexpr uint32_t kWmContextMenu = 0x007B;
inline constexpr uint32_t kNinKeySelect = 0x0401;

inline constexpr uint32_t kScMinimize = 0xF020;
inline constexpr uint32_t kDoubleClickTimer = 3;
inline constexpr uint32_t kBalloonTimer = 2;
// The answer to WM_QUERYENDSESSION: the Windows session may end.
inline constexpr int kQueryEndSessionAnswer = 1;

enum class MouseButton { Left, Right, Middle };

class TTrayIcon : public ITrayTarget {
public:
    // pointerSize picks the record layout of the program's own build.
    TTrayIcon(INotifyShell& shell, ITrayDesktop& desktop, uint32_t shellVersion,
              std::size_t pointerSize = sizeof(void*));
    ~TTrayIcon() override;
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    // Properties; the defaults are the main window's settings.
    bool Active() const { return active_; }
    void SetActive(bool value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& text) override;
    TTrayVisibilitySet Visibility() const { return visibility_; }
    void SetVisibility(TTrayVisibilitySet value) { visibility_ = value; }
    bool Snap() const { return snap_; }
    void SetSnap(bool value) { snap_ = value; }

    // The form has been loaded: the icon is placed when Active.
    void Loaded();

    void HideToTray() override;
    void SetUsage(int percent) override;
    void SetUsageShown(bool value) override;
    bool UsageShown() const override { return usageShown_; }
    // Only while the icon is in the notification area, and only on shells
    // from 5.0 on, which have balloons.
    void ShowNotification(const std::string& text) override;
    void RestoreFromTray();
    // Not hidden at start and the application window not minimised.
    bool ApplicationVisible();

    // Messages of the tray's own window.
    void TrayCallback(uint32_t mouseMessage);
    void TaskbarCreated();
    void EndSession(bool sessionEnding);
    void Timer(uint32_t id);

    // A system command that reached the application window; it goes on to
    // the application unless this returns true (it was hidden to the tray).
    bool ApplicationSysCommand(uint32_t command);

    bool IconShown() const { return iconShown_; }
    const NotifyIconRecord& Record() const { return record_; }

private:
    struct HeldClick {
        MouseButton button = MouseButton::Left;
        ScreenPoint position;
    };

    bool Shell(NotifyCommand command, uint32_t flags);
    void AddIcon();
    void RemoveIcon();
    void HandOverTip();
    // The icon for the usage now; handed to the shell when it changed.
    std::optional<UsageIconFace> CurrentFace();
    void HandOverIcon();
    void ButtonUp(MouseButton button);
    void DoubleClick(MouseButton button);
    void PerformClick(const HeldClick& click);
    void OpenPopupMenu();
    void AnimateIfAsked(bool towardTray);
    bool Has(TTrayVisibility member) const { return visibility_.Contains(member); }

    INotifyShell& shell_;      // not owned
    ITrayDesktop& desktop_;    // not owned
    const uint32_t shellVersion_;
    NotifyIconRecord record_;

    bool active_ = true;
    std::string hint_;
    TTrayVisibilitySet visibility_ = kMainWindowTrayVisibility;
    bool snap_ = true;
    bool loaded_ = false;
    bool usageShown_ = false;
    std::optional<int> usagePercent_;  // none until the first figures

    bool iconShown_ = false;
    bool applicationHooked_ = false;
    bool hintChanged_ = false;
    bool waitingForDoubleClick_ = false;
    bool buttonPressed_ = false;
    bool hiddenAtStart_ = false;
    HeldClick heldClick_;
    ScreenPoint cursor_;
};

}  // namespace korbela
