#include <gtest/gtest.h>

#include "fakes/main_window_fixture.h"

namespace korbela::testing {
namespace {

// 1022 MB in all; the level 20 gives AutoFreeMB 204 and a run of 200 blocks.
class AutoPolicy : public MainWindowTest {
protected:
    TfrmKRmain& Ready(uint64_t freeMB, bool autoFree = true) {
        Store("Automatic RAM Freeing", autoFree ? 1 : 0);
        UseCpu(5);
        auto& frm = Create();
        memory.snapshot.AvailPhys = freeMB << 20;
        Tick();
        EXPECT_EQ(frm.LastCPULoad(), 5);
        return frm;
    }
};

TEST_F(AutoPolicy, ChecksRunOnlyWhenAllFourTestsHold) {
    struct Case {
        const char* what;
        uint64_t freeMB;
        int threshold;
        bool autoFree;
        bool runs;
    };
    const Case cases[] = {
        {"low memory, quiet CPU", 150, 35, true, true},
        {"free equal to the level", 204, 35, true, false},
        {"free above the level", 500, 35, true, false},
        {"load equal to the threshold", 150, 5, true, false},
        {"load just below the threshold", 150, 6, true, true},
        {"threshold 0 never runs", 150, 0, true, false},
        {"automatic freeing off", 150, 35, false, false},
    };
    for (const auto& c : cases) {
        allocator = FakeBlockAllocator();
        auto& frm = Ready(c.freeMB, c.autoFree);
        frm.tbrCPU_Threshold.SetPosition(c.threshold);
        EXPECT_EQ(frm.AutoFreeMB(), 204);
        tmrCheckCPU.Fire();
        EXPECT_EQ(allocator.allocations, c.runs ? 200 : 0) << c.what;
    }
}

TEST_F(AutoPolicy, ACheckRightAfterALongRunWaitsForATickAfterIt) {
    Ready(150);
    tmrCheckCPU.Fire();
    ASSERT_EQ(allocator.allocations, 200);
    // The run took 70 s, longer than the check period: the next check comes at once.
    tmrCheckCPU.Fire();
    EXPECT_EQ(allocator.allocations, 200) << "the free memory it knows is from before the run";
    Tick();
    tmrCheckCPU.Fire();
    EXPECT_EQ(allocator.allocations, 400);
}

TEST_F(AutoPolicy, SilentRunWithTheWindowHiddenShowsNothing) {
    auto& frm = Ready(150);
    log.clear();
    int attemptsDuringRun = 0;
    std::optional<uint32_t> storedDuringRun;
    pump.onProcess = [&](int) {
        attemptsDuringRun = frm.spnAtempts.Value();
        storedDuringRun = Stored("Attempts");
    };
    tmrCheckCPU.Fire();
    EXPECT_EQ(allocator.allocations, 200);
    EXPECT_EQ(allocator.peakLive, 200u) << "one pass";
    EXPECT_EQ(attemptsDuringRun, 1);
    EXPECT_EQ(storedDuringRun, 2u) << "the one pass is never stored";
    EXPECT_EQ(frm.spnAtempts.Value(), 2);
    EXPECT_FALSE(host.visible);
    EXPECT_EQ(std::count(log.begin(), log.end(), "host.Show"), 0);
}

TEST_F(AutoPolicy, ShownRunWithTheWindowHiddenHidesItAgain) {
    Store("Automatic RAM Free Silent", 0);
    auto& frm = Ready(150);
    bool visibleDuringRun = false;
    pump.onProcess = [&](int) { visibleDuringRun = host.visible && frm.pgRAM.ActivePageIndex() == kPageMemory; };
    tmrCheckCPU.Fire();
    EXPECT_TRUE(visibleDuringRun);
    EXPECT_FALSE(host.visible);
    EXPECT_EQ(tray.hides, 1);
}

TEST_F(AutoPolicy, ShownRunWithTheWindowVisibleStaysVisibleOnTheMemoryPage) {
    Store("Automatic RAM Free Silent", 0);
    auto& frm = Ready(150);
    host.Show();
    frm.pgRAM.SetActivePageIndex(kPageMonitor);
    tmrCheckCPU.Fire();
    EXPECT_TRUE(host.visible);
    EXPECT_EQ(frm.pgRAM.ActivePageIndex(), kPageMemory);
    EXPECT_EQ(tray.hides, 0);
}

TEST_F(AutoPolicy, SilentRunWithTheWindowVisibleKeepsThePage) {
    auto& frm = Ready(150);
    host.Show();
    frm.pgRAM.SetActivePageIndex(kPageSettings);
    tmrCheckCPU.Fire();
    EXPECT_EQ(frm.pgRAM.ActivePageIndex(), kPageSettings);
    EXPECT_TRUE(host.visible);
}

TEST_F(AutoPolicy, NoCheckWhileLoading) {
    auto& frm = Create(false);
    memory.snapshot.AvailPhys = 10ull << 20;
    frm.tmrCheckCPUTimer();
    EXPECT_EQ(allocator.allocations, 0);
}

TEST_F(AutoPolicy, TestButtonRunsAtOnceAndTheHotKeyTogglesIt) {
    auto& frm = Ready(900, false);
    EXPECT_FALSE(frm.btnTest_Auto_Free.Visible());
    frm.GlobalHotKey2KeyDown(0x41, 0);
    EXPECT_TRUE(frm.btnTest_Auto_Free.Visible());
    frm.btnTest_Auto_Free.Click();
    EXPECT_EQ(allocator.allocations, 200) << "no tests, one pass of the level";
    frm.GlobalHotKey2KeyDown(0x41, 0);
    EXPECT_FALSE(frm.btnTest_Auto_Free.Visible());
}

TEST_F(AutoPolicy, LevelSliderIsHeldAndStoredOnEveryChange) {
    auto& frm = Ready(900);
    frm.tbrAuto_Level.SetPosition(95);
    EXPECT_EQ(frm.tbrAuto_Level.Position(), 90);
    EXPECT_EQ(frm.lblAuto_Level.Caption(), "90%");
    EXPECT_EQ(Stored("Automatic Level"), 90u);
    EXPECT_EQ(frm.lblRAMtoFree.Caption(), "920 Mb");
    frm.tbrAuto_Level.MouseUp();
    EXPECT_EQ(Stored("Automatic Level"), 90u);
}

TEST_F(AutoPolicy, ThresholdAboveSeventyIsPulledBackAtTheNextRefresh) {
    auto& frm = Ready(900);
    frm.tbrCPU_Threshold.SetPosition(80);
    EXPECT_EQ(frm.tbrCPU_Threshold.Position(), 80);
    EXPECT_EQ(frm.lblCPU_Threshold.Caption(), "80%");
    EXPECT_EQ(frm.CPUThreshold(), 80);
    EXPECT_EQ(Stored("CPU Threshold"), 80u);
    frm.tbrAuto_Level.SetPosition(30);
    EXPECT_EQ(frm.tbrCPU_Threshold.Position(), 70);
    EXPECT_EQ(frm.CPUThreshold(), 70);
    EXPECT_EQ(Stored("CPU Threshold"), 70u);
}

TEST_F(AutoPolicy, CheckBoxesStoreUnlessLoadingAndReportFailures) {
    auto& frm = Ready(900, false);
    frm.chbAuto_Free.Click();
    EXPECT_EQ(Stored("Automatic RAM Freeing"), 1u);
    frm.chbAuto_Free_Silent.Click();
    EXPECT_EQ(Stored("Automatic RAM Free Silent"), 0u);
    registry.DeleteKey(RegRoot::CurrentUser, kSettingsKey);
    frm.chbAuto_Free.Click();
    frm.chbAuto_Free_Silent.Click();
    frm.tbrAuto_Level.MouseUp();
    frm.tbrCPU_Threshold.MouseUp();
    EXPECT_EQ(dialog.shown, (std::vector<std::string>{"Unable to automatic RAM to free level.",
                                                      "Unable to automatic RAM to free level.",
                                                      "Unable to store automatic freeing level.",
                                                      "Unable to store cpu threshold."}));
}

}  // namespace
}  // namespace korbela::testing
