#include <gtest/gtest.h>

#include "core/system/errors.h"
#include "fakes/main_window_fixture.h"

namespace korbela::testing {
namespace {

class FreeingRun : public MainWindowTest {
protected:
    // A window after one tick with the given total, attempts already set.
    TfrmKRmain& Ready(uint64_t totalMB, int attempts) {
        auto& frm = Create();
        frm.spnAtempts.SetValue(attempts);
        memory.SetMB(totalMB, totalMB / 4);
        Tick();
        return frm;
    }
};

TEST_F(FreeingRun, BlocksAreAWholeMultipleOfThePercent) {
    struct Case {
        uint64_t totalMB;
        int percent;
        int32_t blocks;
    };
    const Case cases[] = {{1022, 30, 300}, {2046, 50, 1000}, {250, 10, 20}, {150, 10, 20},
                          {50, 90, 0},     {49, 90, 0},      {16384, 90, 14760}};
    for (const auto& c : cases) {
        auto& frm = Ready(c.totalMB, 1);
        EXPECT_EQ(frm.BlocksForPercent(c.percent), c.blocks) << c.totalMB << " MB at " << c.percent;
    }
}

TEST_F(FreeingRun, OnePassTakesHoldsAndReleasesEveryBlockInOrder) {
    auto& frm = Ready(1022, 1);
    std::vector<std::string> working;
    std::vector<bool> panelShown;
    size_t heldAtHalf = 0;
    pump.onProcess = [&](int) {
        working.push_back(frm.lblWorking.Caption());
        panelShown.push_back(frm.pnlPass.Visible() && frm.pnlFreeing_RAM.Visible());
        if (frm.pbrWorking.Position() == 300) heldAtHalf = allocator.live.size();
    };
    frm.FreeRAM(30);
    EXPECT_EQ(allocator.allocations, 300);
    EXPECT_EQ(allocator.releases, 300);
    EXPECT_EQ(allocator.peakLive, 300u) << "all blocks of a pass are held at once";
    EXPECT_EQ(heldAtHalf, 300u);
    EXPECT_EQ(allocator.unwrittenBlocks, 0) << "every byte of every block was written";
    EXPECT_EQ(allocator.badReleases, 0);
    EXPECT_EQ(frm.pbrWorking.Max(), 600);
    EXPECT_EQ(pump.calls, 601) << "once before the run, then after each of the 600 steps";
    EXPECT_EQ(working[300], "50%");
    EXPECT_EQ(working.back(), "100%");
    EXPECT_EQ(frm.lblPass.Caption(), "Pass 1 of 1");
    EXPECT_TRUE(std::all_of(panelShown.begin() + 1, panelShown.end(), [](bool shown) { return shown; }));
    EXPECT_FALSE(frm.pnlPass.Visible());
    EXPECT_FALSE(frm.pnlFreeing_RAM.Visible());
    EXPECT_EQ(frm.pnlPass.Top(), 24);
}

TEST_F(FreeingRun, EveryPassTakesFreshBlocksAndShowsItsNumber) {
    auto& frm = Ready(2046, 3);
    std::vector<std::string> passes;
    pump.onProcess = [&](int call) {
        if (call == 1) return;  // painting the panel, before the first pass
        if (passes.empty() || passes.back() != frm.lblPass.Caption()) passes.push_back(frm.lblPass.Caption());
    };
    frm.FreeRAM(50);
    EXPECT_EQ(passes, (std::vector<std::string>{"Pass 1 of 3", "Pass 2 of 3", "Pass 3 of 3"}));
    EXPECT_EQ(allocator.allocations, 3000);
    EXPECT_EQ(allocator.peakLive, 1000u);
    EXPECT_TRUE(allocator.live.empty());
}

TEST_F(FreeingRun, ThePanelOpensOnTheNewRunNeverOnTheLastOne) {
    auto& frm = Ready(1022, 1);
    frm.FreeRAM(10);  // ends on "Pass 1 of 1" at "100%"
    frm.spnAtempts.SetValue(3);
    std::string firstPaint;
    pump.onProcess = [&](int) {
        if (firstPaint.empty() && frm.pnlPass.Visible()) {
            firstPaint = frm.lblPass.Caption() + " " + frm.lblWorking.Caption();
        }
    };
    frm.FreeRAM(10);
    EXPECT_EQ(firstPaint, "Pass 1 of 3 0%");
}

TEST_F(FreeingRun, SwitchesTheWindowOffAndRestoresItInOrder) {
    auto& frm = Ready(1022, 1);
    bool offDuringRun = false;
    pump.onProcess = [&](int call) {
        if (call == 2) offDuringRun = !frm.pgRAM.Enabled() && !frm.btnFreeRAM.Enabled() && !tmrUsage.enabled;
    };
    log.clear();
    frm.FreeRAM(10);
    EXPECT_TRUE(offDuringRun);
    EXPECT_TRUE(frm.pgRAM.Enabled());
    EXPECT_TRUE(frm.btnFreeRAM.Enabled());
    EXPECT_EQ(log, (EventLog{"tmrUsage.Disabled", "tmrUsage.Enabled"}));
}

TEST_F(FreeingRun, BeforeTheFirstTickNothingIsTaken) {
    auto& frm = Create();
    frm.FreeRAM(50);
    EXPECT_EQ(allocator.allocations, 0);
    EXPECT_EQ(frm.lblPass.Caption(), "Pass 2 of 2") << "each pass is shown";
    EXPECT_EQ(frm.lblWorking.Caption(), "0%") << "the panel opened at the run's start";
    EXPECT_TRUE(tmrUsage.enabled);
    EXPECT_FALSE(frm.pnlPass.Visible());
}

TEST_F(FreeingRun, OutOfMemoryReleasesThePassAndStopsTheRun) {
    for (const bool runtimeError : {false, true}) {
        auto& frm = Ready(1022, 3);
        allocator = FakeBlockAllocator();
        allocator.failAt = 121;  // blocks 0..119 were taken
        allocator.failWithRuntimeError = runtimeError;
        dialog.shown.clear();
        try {
            frm.FreeRAM(30);
            ADD_FAILURE() << "the run must end with an error";
        } catch (const std::exception& error) {
            EXPECT_STREQ(error.what(), "Out of memory") << runtimeError;
            messages.AppEventsException(error);
        }
        EXPECT_EQ(allocator.releases, 120);
        EXPECT_TRUE(allocator.live.empty());
        EXPECT_EQ(allocator.allocations, 121) << "no further pass ran";
        EXPECT_FALSE(frm.pnlPass.Visible());
        EXPECT_FALSE(frm.pnlFreeing_RAM.Visible());
        EXPECT_TRUE(frm.pgRAM.Enabled());
        EXPECT_TRUE(frm.btnFreeRAM.Enabled());
        EXPECT_TRUE(tmrUsage.enabled);
        EXPECT_EQ(dialog.shown,
                  (std::vector<std::string>{"Korbela Lite has encountered an error:\r\n\r\nOut of memory"}));
    }
}

TEST_F(FreeingRun, ExitDuringARunGivesEveryBlockBackSilently) {
    auto& frm = Ready(1022, 2);
    pump.onProcess = [&](int call) {
        if (call == 150) pump.terminated = true;
    };
    EXPECT_THROW(frm.FreeRAM(30), EAbort);
    EXPECT_TRUE(allocator.live.empty());
    EXPECT_EQ(allocator.badReleases, 0);
    messages.AppEventsException(EAbort());
    EXPECT_TRUE(dialog.shown.empty());
}

TEST_F(FreeingRun, ARequestDuringARunNeverStartsASecondRun) {
    auto& frm = Ready(1022, 1);
    int nested = 0;
    pump.onProcess = [&](int call) {
        if (call == 50) {
            ++nested;
            frm.LightClean1Click();
            frm.btnTest_Auto_FreeClick();
            frm.FreeRAM(90);
        }
    };
    frm.FreeRAM(10);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(allocator.allocations, 100);
    EXPECT_EQ(allocator.peakLive, 100u);
    EXPECT_EQ(frm.spnAtempts.Value(), 1);
    EXPECT_EQ(tray.hides, 0);
}

TEST_F(FreeingRun, FreeRamButtonUsesTheTargetAndTheAttempts) {
    auto& frm = Ready(1022, 2);
    frm.tbrTarget.SetPosition(20);
    frm.btnFreeRAM.Click();
    EXPECT_EQ(allocator.allocations, 400);
    EXPECT_EQ(allocator.peakLive, 200u);
}

}  // namespace
}  // namespace korbela::testing
