#include <gtest/gtest.h>

#include "fakes/main_window_fixture.h"

namespace korbela::testing {
namespace {

class CleanLevels : public MainWindowTest {
protected:
    TfrmKRmain& Ready() {
        auto& frm = Create();
        memory.SetMB(202, 60);  // two blocks per percent
        Tick();
        frm.spnAtempts.SetValue(3);
        return frm;
    }
    std::vector<uint32_t> attemptsWrites() const {
        std::vector<uint32_t> values;
        for (const auto& write : registry.Writes()) {
            if (write.What == RegWrite::Kind::SetValue && write.Name == "Attempts") values.push_back(write.Value.Dword);
        }
        return values;
    }
};

TEST_F(CleanLevels, LightCleanRunsOnePassNeverStoredAndHidesTheWindowAgain) {
    for (const bool shownBefore : {true, false}) {
        auto& frm = Ready();
        frm.pgRAM.SetActivePageIndex(kPageSettings);
        if (shownBefore) host.Show();
        const size_t writesBefore = attemptsWrites().size();
        int attemptsDuringRun = 0;
        std::optional<uint32_t> storedDuringRun;
        pump.onProcess = [&](int) {
            attemptsDuringRun = frm.spnAtempts.Value();
            storedDuringRun = Stored("Attempts");
        };
        frm.LightClean1Click();
        EXPECT_EQ(allocator.allocations, 60) << "one pass of 30 percent";
        EXPECT_EQ(attemptsDuringRun, 1) << "the spinner shows the one pass";
        EXPECT_EQ(storedDuringRun, 3u) << "a run that never ends cannot leave 1 stored";
        EXPECT_EQ(frm.spnAtempts.Value(), 3);
        EXPECT_EQ(frm.lblttempts.Caption(), "attempts to free target RAM.");
        EXPECT_EQ(attemptsWrites().size(), writesBefore) << "nothing written, neither 1 nor 3";
        EXPECT_EQ(frm.pgRAM.ActivePageIndex(), kPageMemory);
        EXPECT_FALSE(host.visible) << "hidden even though it was open before";
        EXPECT_EQ(log.end()[-2], "tray.HideToTray") << "hidden, then the notification";
        pump.onProcess = nullptr;
        allocator.allocations = 0;
    }
}

TEST_F(CleanLevels, ShowsTheMemoryPageBeforeTheRun) {
    auto& frm = Ready();
    log.clear();
    frm.HeavyClean1Click();
    const EventLog expected{"host.Show",
                            "host.BringToFront",
                            "host.Repaint",
                            "tmrUsage.Disabled",
                            "tmrUsage.Enabled",
                            "tray.HideToTray",
                            "tray.Notification: Nothing freed. 60 MB free now."};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(allocator.allocations, 160);
}

TEST_F(CleanLevels, TheTargetShowsTheLevelDuringItsRunAndTheSliderAfter) {
    const struct {
        void (TfrmKRmain::*click)();
        int percent;
        const char* caption;
    } levels[] = {{&TfrmKRmain::LightClean1Click, 30, "30%   (306 MB)"},
                  {&TfrmKRmain::MediumClean1Click, 60, "60%   (613 MB)"},
                  {&TfrmKRmain::HeavyClean1Click, 80, "80%   (818 MB)"}};
    for (const auto& level : levels) {
        memory.snapshot = {1072627712ull, 500ull << 20};  // the total read at start
        auto& frm = Ready();
        std::string captionDuringRun;
        int barDuringRun = 0;
        pump.onProcess = [&](int) {
            captionDuringRun = frm.lblRAMperFree.Caption();
            barDuringRun = frm.pbrTargetRAM.Percent();
        };
        (frm.*level.click)();
        EXPECT_EQ(captionDuringRun, level.caption);
        EXPECT_EQ(barDuringRun, level.percent);
        EXPECT_EQ(frm.pbrTargetRAM.Percent(), 50) << level.percent;
        EXPECT_EQ(frm.tbrTarget.Position(), 50);
        EXPECT_EQ(frm.lblRAMperFree.Caption(), "50%   (511 MB)");
        pump.onProcess = nullptr;
    }
    memory.snapshot = {1072627712ull, 500ull << 20};
    auto& frm = Ready();
    allocator.allocations = 0;
    allocator.failAt = 10;
    EXPECT_THROW(frm.HeavyClean1Click(), std::exception);
    EXPECT_EQ(frm.lblRAMperFree.Caption(), "50%   (511 MB)") << "after a failed run too";
    EXPECT_EQ(frm.pbrTargetRAM.Percent(), 50);
}

TEST_F(CleanLevels, NothingIsStoredWhenTheSpinnerAlreadyHoldsOne) {
    auto& frm = Ready();
    frm.spnAtempts.SetValue(1);
    const size_t before = attemptsWrites().size();
    frm.LightClean1Click();
    EXPECT_EQ(attemptsWrites().size(), before);
}

TEST_F(CleanLevels, AFailedRunRestoresTheSpinnerAndLeavesTheWindowShown) {
    auto& frm = Ready();
    allocator.failAt = 10;
    EXPECT_THROW(frm.HeavyClean1Click(), std::exception);
    EXPECT_EQ(frm.spnAtempts.Value(), 3);
    EXPECT_EQ(Stored("Attempts"), 3u);
    EXPECT_TRUE(host.visible);
    EXPECT_EQ(tray.hides, 0);
}

TEST_F(CleanLevels, WithoutTheSettingsKeyTheOnePassReportsNothing) {
    auto& frm = Ready();
    registry.DeleteKey(RegRoot::CurrentUser, kSettingsKey);
    host.visible = true;  // no settings re-applied by showing
    frm.LightClean1Click();
    EXPECT_TRUE(dialog.shown.empty());
    EXPECT_EQ(frm.spnAtempts.Value(), 3);
}

TEST_F(CleanLevels, TargetSliderIsHeldAndStoredOnlyOnMouseUp) {
    auto& frm = Ready();
    frm.tbrTarget.SetPosition(95);
    EXPECT_EQ(frm.tbrTarget.Position(), 90);
    EXPECT_EQ(frm.pbrTargetRAM.Percent(), 90);
    EXPECT_EQ(frm.lblRAMperFree.Caption(), "90%   (920 MB)");
    EXPECT_EQ(frm.scpGraph.BaseOffset(), 90);
    EXPECT_EQ(Stored("Target RAM"), 50u) << "dragging does not store";
    frm.tbrTarget.MouseUp();
    EXPECT_EQ(Stored("Target RAM"), 90u);
    frm.tbrTarget.SetPosition(2);
    EXPECT_EQ(frm.tbrTarget.Position(), 5);
}

TEST_F(CleanLevels, TargetChosenWithTheKeyboardIsStoredWhenTheMoveEnds) {
    auto& frm = Ready();
    frm.tbrTarget.SetPosition(51);
    frm.tbrTarget.SetPosition(52);
    EXPECT_EQ(Stored("Target RAM"), 50u) << "each step of the move is only shown";
    frm.tbrTarget.EndTrack();
    EXPECT_EQ(Stored("Target RAM"), 52u);
    EXPECT_EQ(frm.lblRAMperFree.Caption(), "52%   (531 MB)");

    registry.SetRefuseWrites(RegRoot::CurrentUser, true);
    frm.tbrTarget.SetPosition(60);
    frm.tbrTarget.EndTrack();
    EXPECT_EQ(dialog.shown, (std::vector<std::string>{"Unable to store automatic RAM level."}));
    EXPECT_EQ(frm.tbrTarget.Position(), 60) << "the control keeps its new value";
}

TEST_F(CleanLevels, TargetChangeRefreshesTheStatistics) {
    auto& frm = Ready();
    const auto points = frm.scpGraph.History(0).size();
    frm.tbrTarget.SetPosition(40);
    EXPECT_EQ(frm.scpGraph.History(0).size(), points + 1);
}

TEST_F(CleanLevels, AttemptsLabelIsSingularForOne) {
    auto& frm = Ready();
    frm.spnAtempts.SetValue(1);
    EXPECT_EQ(frm.lblttempts.Caption(), "attempt to free target RAM.");
    frm.spnAtempts.SetValue(10);
    EXPECT_EQ(frm.lblttempts.Caption(), "attempts to free target RAM.");
    frm.spnAtempts.SetValue(11);
    EXPECT_EQ(frm.spnAtempts.Value(), 10);
}

}  // namespace
}  // namespace korbela::testing
