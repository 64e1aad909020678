#include "core/tray/tray_icon.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korbela {
namespace {

using Log = std::vector<std::string>;

std::string CommandName(NotifyCommand command) {
    switch (command) {
    case NotifyCommand::Add: return "add";
    case NotifyCommand::Modify: return "modify";
    case NotifyCommand::Delete: return "delete";
    case NotifyCommand::SetVersion: return "setversion";
    }
    return "?";
}

// A shell that answers each call through a script (success by default) and
// records what it was given.
class FakeShell : public INotifyShell {
public:
    bool Notify(NotifyCommand command, uint32_t givenFlags, const NotifyIconRecord& record) override {
        calls.push_back(CommandName(command));
        flags.push_back(givenFlags);
        lastRecord = record;
        return answer ? answer(command) : true;
    }
    uint32_t LastError() override { return error; }
    void Sleep(uint32_t milliseconds) override { slept.push_back(milliseconds); }

    std::function<bool(NotifyCommand)> answer;
    uint32_t error = 0;
    Log calls;
    std::vector<uint32_t> slept;
    std::vector<uint32_t> flags;
    NotifyIconRecord lastRecord;
};

// A window system with one application window, one main window and, when
// asked for, a notification area; every call lands in the log in order.
class FakeDesktop : public ITrayDesktop {
public:
    void StartTimer(uint32_t id, uint32_t milliseconds) override {
        log.push_back("start timer " + std::to_string(id) + " " + std::to_string(milliseconds));
        if (id == kDoubleClickTimer) doubleClickTimerRunning = true;
    }
    void KillTimer(uint32_t id) override {
        if (id == kDoubleClickTimer) doubleClickTimerRunning = false;
    }
    uint32_t DoubleClickTime() override { return 500; }
    ScreenPoint CursorPos() override { return cursor; }
    void SetForegroundToTrayWindow() override { log.push_back("foreground tray window"); }
    void ShowPopupMenu(ScreenPoint at) override {
        log.push_back("popup at " + std::to_string(at.x) + "," + std::to_string(at.y));
    }
    void PostNullToTrayWindow() override { log.push_back("post WM_NULL"); }
    void HookApplicationWindow() override { log.push_back("hook application"); }
    void UnhookApplicationWindow() override { log.push_back("unhook application"); }
    bool ApplicationIconic() override { return appIconic; }
    void ShowApplicationWindow(AppWindowShow how) override {
        switch (how) {
        case AppWindowShow::Hide: appShown = false; log.push_back("application hide"); break;
        case AppWindowShow::Show: appShown = true; log.push_back("application show"); break;
        case AppWindowShow::Minimize: appIconic = true; log.push_back("application minimise"); break;
        case AppWindowShow::Restore: appIconic = false; log.push_back("application restore"); break;
        case AppWindowShow::ShowMinimizedWithoutAnimation:
            appShown = appIconic = true;
            log.push_back("application show minimised");
            break;
        }
    }
    bool HasMainWindow() override { return true; }
    ScreenRect MainWindowRect() override { return kMainRect; }
    void SetMainWindowVisible(bool value) override {
        mainVisible = value;
        log.push_back(value ? "main window show" : "main window hide");
    }
    std::optional<ScreenRect> NotifyAreaRect() override { return notifyArea; }
    void DrawCaptionAnimation(const ScreenRect& from, const ScreenRect& to) override {
        log.push_back(std::string("animate ") + (from == kMainRect ? "main" : "area") + " to " +
                      (to == kMainRect ? "main" : "area"));
    }

    DisplayScale NotifyAreaScale() override { return scale; }

    static constexpr ScreenRect kMainRect{100, 100, 579, 420};
    DisplayScale scale;
    std::optional<ScreenRect> notifyArea = ScreenRect{1100, 990, 1280, 1024};
    ScreenPoint cursor{1200, 1000};
    bool appIconic = false;
    bool appShown = true;
    bool mainVisible = true;
    bool doubleClickTimerRunning = false;
    Log log;
};

class TrayIconTest : public ::testing::Test {
protected:
    TTrayIcon& Icon(uint32_t shellVersion = 0x60000) {
        icon.emplace(shell, desktop, shellVersion, 8);
        return *icon;
    }
    TTrayIcon& LoadedIcon(uint32_t shellVersion = 0x60000) {
        Icon(shellVersion).Loaded();
        shell.calls.clear();
        desktop.log.clear();
        return *icon;
    }
    // The application as the tray holds it: minimised, no button, main window hidden.
    void InTray() {
        desktop.appIconic = true;
        desktop.appShown = false;
        desktop.mainVisible = false;
    }
    void Mouse(std::initializer_list<uint32_t> reports) {
        for (uint32_t report : reports) icon->TrayCallback(report);
    }

    FakeShell shell;
    FakeDesktop desktop;
    std::optional<TTrayIcon> icon;
};

// Clicks on the icon.

TEST_F(TrayIconTest, SingleClickHidesOnlyAfterTheDoubleClickTime) {
    LoadedIcon();
    Mouse({kWmLButtonDown, kWmLButtonUp});
    EXPECT_EQ(desktop.log, (Log{"start timer 3 500"}));
    EXPECT_TRUE(desktop.mainVisible) << "nothing happens before the double-click time is over";
    icon->Timer(kDoubleClickTimer);
    EXPECT_FALSE(desktop.mainVisible);
    EXPECT_FALSE(desktop.appShown);
    EXPECT_FALSE(desktop.doubleClickTimerRunning);
}

TEST_F(TrayIconTest, SingleClickWhileInTrayRestores) {
    LoadedIcon();
    InTray();
    Mouse({kWmLButtonDown, kWmLButtonUp});
    icon->Timer(kDoubleClickTimer);
    EXPECT_TRUE(desktop.mainVisible);
    EXPECT_TRUE(desktop.appShown);
    EXPECT_FALSE(desktop.appIconic);
}

TEST_F(TrayIconTest, DoubleClickTogglesOnceAndAtOnce) {
    LoadedIcon();
    Mouse({kWmLButtonDown, kWmLButtonUp, kWmLButtonDblClk});
    EXPECT_FALSE(desktop.mainVisible) << "hidden at the double click";
    EXPECT_FALSE(desktop.doubleClickTimerRunning) << "the held click is dropped";
    Mouse({kWmLButtonUp});
    icon->Timer(kDoubleClickTimer);  // a tick that was already queued
    EXPECT_FALSE(desktop.mainVisible) << "the release after the double click does nothing";
    EXPECT_FALSE(desktop.appShown);
}

TEST_F(TrayIconTest, DoubleClickWhileInTrayRestoresOnce) {
    LoadedIcon();
    InTray();
    // Also the order in which the integration tests report a double click.
    Mouse({kWmLButtonDown, kWmLButtonDblClk, kWmLButtonUp});
    EXPECT_FALSE(desktop.doubleClickTimerRunning);
    icon->Timer(kDoubleClickTimer);
    EXPECT_TRUE(desktop.mainVisible);
    EXPECT_FALSE(desktop.appIconic);
}

TEST_F(TrayIconTest, ReleasesWithoutPressAndOtherButtonsDoNotToggle) {
    LoadedIcon();
    Mouse({kWmLButtonUp, kWmMButtonDown, kWmMButtonUp, kWmMButtonDblClk, kWmRButtonDblClk});
    icon->Timer(kDoubleClickTimer);
    EXPECT_TRUE(desktop.log.empty());
    EXPECT_TRUE(desktop.mainVisible);
}

TEST_F(TrayIconTest, ContextMenuAndKeySelectOpenTheMenuAtTheCursor) {
    for (uint32_t report : {kWmContextMenu, kNinKeySelect}) {
        LoadedIcon();
        Mouse({report});
        EXPECT_EQ(desktop.log, (Log{"foreground tray window", "popup at 1200,1000", "post WM_NULL"})) << report;
    }
}

TEST_F(TrayIconTest, RightReleaseOpensTheMenuOnlyOnOldShells) {
    LoadedIcon(0x60000);
    Mouse({kWmRButtonDown, kWmRButtonUp});
    EXPECT_TRUE(desktop.log.empty()) << "new shells send WM_CONTEXTMENU instead";

    LoadedIcon(0x40000);
    desktop.cursor = {5, 6};
    Mouse({kWmRButtonDown, kWmRButtonUp});
    EXPECT_EQ(desktop.log, (Log{"foreground tray window", "popup at 5,6", "post WM_NULL"}));
}

// Hiding and restoring.

TEST_F(TrayIconTest, HideToTrayAnimatesHidesMinimisesAndDropsTheButton) {
    LoadedIcon();
    icon->HideToTray();
    EXPECT_EQ(desktop.log,
              (Log{"animate main to area", "main window hide", "application minimise", "application hide"}));
    EXPECT_FALSE(icon->Visibility().Contains(TTrayVisibility::tvVisibleTaskBar));
}

TEST_F(TrayIconTest, HideToTrayWithoutNotifyAreaSkipsTheAnimation) {
    LoadedIcon();
    desktop.notifyArea.reset();
    icon->HideToTray();
    EXPECT_EQ(desktop.log, (Log{"main window hide", "application minimise", "application hide"}));
}

TEST_F(TrayIconTest, HideToTrayWhenAlreadyMinimisedOnlyHidesTheButton) {
    LoadedIcon();
    desktop.appIconic = true;
    icon->HideToTray();
    EXPECT_EQ(desktop.log, (Log{"application hide"}));
}

TEST_F(TrayIconTest, RestoreFromTrayBringsButtonAndMainWindowBack) {
    LoadedIcon();
    icon->HideToTray();
    desktop.log.clear();
    icon->RestoreFromTray();
    EXPECT_EQ(desktop.log, (Log{"application show", "animate area to main", "application restore",
                                "main window show"}));
    EXPECT_TRUE(icon->Visibility().Contains(TTrayVisibility::tvVisibleTaskBar));
}

TEST_F(TrayIconTest, RestoreFromTrayWhenNotMinimisedOnlyShowsTheButton) {
    LoadedIcon();
    icon->RestoreFromTray();
    EXPECT_EQ(desktop.log, (Log{"application show"}));
}

TEST_F(TrayIconTest, MinimisingTheApplicationHidesToTray) {
    LoadedIcon();
    EXPECT_FALSE(icon->ApplicationSysCommand(0xF060)) << "SC_CLOSE goes on";
    EXPECT_TRUE(desktop.log.empty());
    EXPECT_TRUE(icon->ApplicationSysCommand(0xF022)) << "SC_MINIMIZE, low bits set by the system";
    EXPECT_FALSE(desktop.appShown);
    EXPECT_FALSE(desktop.mainVisible);
}

TEST_F(TrayIconTest, MinimisingAnInactiveIconGoesOnToTheApplication) {
    LoadedIcon();
    icon->SetActive(false);
    desktop.log.clear();
    EXPECT_FALSE(icon->ApplicationSysCommand(kScMinimize));
    EXPECT_TRUE(desktop.log.empty());
}

// Placing and removing the icon.

TEST_F(TrayIconTest, LoadingHooksTheApplicationAndAddsTheIcon) {
    Icon(0x60000).Loaded();
    EXPECT_EQ(desktop.log, (Log{"hook application"}));
    EXPECT_EQ(shell.calls, (Log{"add", "setversion"}));
    EXPECT_TRUE(icon->IconShown());
    EXPECT_TRUE(desktop.appShown) << "the application is not hidden at load";
}

TEST_F(TrayIconTest, OldShellsGetNoVersionCall) {
    Icon(0x40000).Loaded();
    EXPECT_EQ(shell.calls, (Log{"add"}));
    EXPECT_EQ(shell.lastRecord.size, 104u);
    EXPECT_EQ(shell.lastRecord.version, 0u);
}

TEST_F(TrayIconTest, TheShellGetsTheRecordOfItsVersion) {
    Icon(0x50000).SetHint("Korbela Lite: 812 MB free|the long part");
    icon->Loaded();
    ASSERT_EQ(shell.calls, (Log{"add", "setversion"}));
    EXPECT_EQ(shell.flags.front(), kNotifyMessage | kNotifyIcon | kNotifyTip);
    EXPECT_EQ(shell.lastRecord.size, 504u);
    EXPECT_EQ(shell.lastRecord.id, 1u);
    EXPECT_EQ(shell.lastRecord.callbackMessage, 1025u);
    EXPECT_EQ(shell.lastRecord.tip, "Korbela Lite: 812 MB free");
    EXPECT_EQ(shell.lastRecord.version, 3u);
}

TEST_F(TrayIconTest, AFailedAddLeavesTheIconNotShown) {
    shell.answer = [](NotifyCommand) { return false; };
    shell.error = 5;  // ERROR_ACCESS_DENIED: no retry
    Icon().Loaded();
    EXPECT_EQ(shell.calls, (Log{"add"}));
    EXPECT_FALSE(icon->IconShown());
}

TEST_F(TrayIconTest, TaskbarCreatedAddsTheIconAgainEvenWhenTheOldOneIsGone) {
    LoadedIcon();
    shell.error = 5;
    shell.answer = [](NotifyCommand command) { return command != NotifyCommand::Delete; };
    icon->TaskbarCreated();
    EXPECT_EQ(shell.calls, (Log{"delete", "add", "setversion"}));
    EXPECT_TRUE(icon->IconShown());
}

TEST_F(TrayIconTest, EndOfSessionRemovesACancelledEndAddsAgain) {
    LoadedIcon();
    icon->EndSession(true);
    EXPECT_EQ(shell.calls, (Log{"delete"}));
    EXPECT_FALSE(icon->IconShown());
    icon->EndSession(false);
    EXPECT_EQ(shell.calls, (Log{"delete", "add", "setversion"}));
    EXPECT_TRUE(icon->IconShown());
}

TEST_F(TrayIconTest, InactiveIconIsNotPlacedAndActivatingPlacesIt) {
    Icon().SetActive(false);
    icon->Loaded();
    EXPECT_TRUE(shell.calls.empty());
    icon->SetActive(true);
    EXPECT_EQ(shell.calls, (Log{"add", "setversion"}));
    icon->SetActive(false);
    EXPECT_EQ(shell.calls.back(), "delete");
    EXPECT_FALSE(icon->IconShown());
}

TEST_F(TrayIconTest, DestructionStopsTheWaitUnhooksAndRemovesTheIcon) {
    LoadedIcon();
    Mouse({kWmLButtonDown, kWmLButtonUp});
    icon.reset();
    EXPECT_FALSE(desktop.doubleClickTimerRunning);
    EXPECT_EQ(desktop.log.back(), "unhook application");
    EXPECT_EQ(shell.calls, (Log{"delete"}));
}

// The tip.

TEST_F(TrayIconTest, TipReachesTheShellAtTheNextMouseMove) {
    LoadedIcon();
    icon->SetHint("Korbela Lite: 1024 MB free");
    EXPECT_TRUE(shell.calls.empty());
    Mouse({kWmMouseMove});
    EXPECT_EQ(shell.calls, (Log{"modify"}));
    EXPECT_EQ(shell.flags.back(), kNotifyTip);
    EXPECT_EQ(shell.lastRecord.tip, "Korbela Lite: 1024 MB free");
    Mouse({kWmMouseMove});
    icon->SetHint("Korbela Lite: 1024 MB free");
    Mouse({kWmMouseMove});
    EXPECT_EQ(shell.calls, (Log{"modify"})) << "an unchanged tip is not sent again";
}

TEST_F(TrayIconTest, TipIsCutToTheShellsLimit) {
    const std::string longHint(200, 'x');
    for (const auto& [version, limit] : {std::pair{0x60000u, 127u}, std::pair{0x40A00u, 63u}}) {
        LoadedIcon(version);
        icon->SetHint(longHint + "|the long part");
        Mouse({kWmMouseMove});
        EXPECT_EQ(shell.lastRecord.tip, std::string(limit, 'x')) << std::hex << version;
        EXPECT_EQ(icon->Hint(), longHint + "|the long part");
    }
}

TEST_F(TrayIconTest, OldShellsGetLineBreaksAsDashes) {
    LoadedIcon(0x40000);
    icon->SetHint("Korbela Lite\r\n812 MB free");
    EXPECT_EQ(icon->Hint(), "Korbela Lite - 812 MB free");
    LoadedIcon(0x60000);
    icon->SetHint("Korbela Lite\r\n812 MB free");
    EXPECT_EQ(icon->Hint(), "Korbela Lite\r\n812 MB free");
}

// The usage icon and the notifications.

TEST_F(TrayIconTest, TheUsageIconGoesToTheShellOnlyWhenItsFaceChanges) {
    auto& tray = LoadedIcon();
    tray.SetUsageShown(true);
    const struct {
        int percent, dpi;
        std::optional<UsageIconFace> handed;  // none: no call
    } ticks[] = {
        {40, 96, UsageIconFace{40, 16}},    {40, 96, std::nullopt},
        {41, 96, UsageIconFace{41, 16}},    {41, 144, UsageIconFace{41, 24}},
        {130, 192, UsageIconFace{100, 32}}, {100, 192, std::nullopt},
    };
    for (const auto& tick : ticks) {
        shell.calls.clear();
        desktop.scale = DisplayScale{tick.dpi};
        tray.SetUsage(tick.percent);
        EXPECT_EQ(shell.calls, tick.handed ? Log{"modify"} : Log{}) << tick.percent << " at " << tick.dpi;
        if (!tick.handed) continue;
        EXPECT_EQ(shell.flags.back(), kNotifyIcon);
        EXPECT_EQ(shell.lastRecord.usageFace, tick.handed);
    }
    desktop.scale = DisplayScale{120};
    tray.TaskbarCreated();
    EXPECT_EQ(shell.lastRecord.usageFace, (UsageIconFace{100, 20})) << "back in the chosen look, at today's scale";
    tray.SetUsageShown(false);
    EXPECT_EQ(shell.lastRecord.usageFace, std::nullopt) << "the program's icon again";
}

TEST_F(TrayIconTest, ANotificationIsABalloonOnTheIconWithoutSound) {
    LoadedIcon().ShowNotification("Freed 5 MB. 105 MB free now.");
    ASSERT_EQ(shell.calls, (Log{"modify"}));
    EXPECT_EQ(shell.flags.back(), kNotifyInfo) << "the tip and the icon are left alone";
    EXPECT_EQ(shell.lastRecord.infoTitle, "Korbela Lite");
    EXPECT_EQ(shell.lastRecord.info, "Freed 5 MB. 105 MB free now.");
    EXPECT_EQ(shell.lastRecord.infoFlags, kInfoIcon | kInfoNoSound);
    LoadedIcon(0x40000).ShowNotification("Nothing freed.");
    EXPECT_TRUE(shell.calls.empty()) << "shells before 5.0 have no balloons";
}

}  // namespace
}  // namespace korbela
