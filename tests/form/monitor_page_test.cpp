#include <gtest/gtest.h>

#include "fakes/main_window_fixture.h"

namespace korbela::testing {
namespace {

using MonitorPage = MainWindowTest;

TEST_F(MonitorPage, BoxesTakeEffectOnTheGraphAtTheNextTick) {
    auto& frm = Create();
    memory.SetMB(1000, 380);
    Tick();
    frm.chbFreeRAM.Click();
    EXPECT_TRUE(frm.scpGraph.ChannelVisible(0)) << "not before the next tick";
    Tick();
    EXPECT_FALSE(frm.scpGraph.ChannelVisible(0));
    EXPECT_EQ(frm.scpGraph.History(0).size(), 2u) << "a hidden channel keeps collecting";
    frm.chbFreeRAM.Click();
    Tick();
    EXPECT_TRUE(frm.scpGraph.ChannelVisible(0));
    EXPECT_EQ(frm.scpGraph.History(0), (std::deque<int>{38, 38, 38}));
}

TEST_F(MonitorPage, EveryClickStoresTheCodeOfAllThreeBoxes) {
    struct Case {
        bool used, free, cpu;
        uint32_t code;
    };
    const Case cases[] = {{false, true, true, 2}, {false, false, true, 5}, {false, false, false, 0},
                          {true, true, false, 4}, {true, false, true, 3},  {false, true, false, 6},
                          {true, false, false, 7}, {true, true, true, 1}};
    auto& frm = Create();
    for (const auto& c : cases) {
        // Reach the state with clicks; the last click's store holds the code.
        if (frm.chbUsedRAM.Checked() != c.used) frm.chbUsedRAM.Click();
        if (frm.chbFreeRAM.Checked() != c.free) frm.chbFreeRAM.Click();
        if (frm.chbCPU.Checked() != c.cpu) frm.chbCPU.Click();
        EXPECT_EQ(Stored("Monitor View"), c.code);
    }
}

TEST_F(MonitorPage, StoredCodeSetsTheBoxesWhenShown) {
    auto& frm = Create();
    Store("Monitor View", 4);
    host.Show();
    EXPECT_TRUE(frm.chbUsedRAM.Checked());
    EXPECT_TRUE(frm.chbFreeRAM.Checked());
    EXPECT_FALSE(frm.chbCPU.Checked());
    EXPECT_EQ(Stored("Monitor View"), 4u);
}

TEST_F(MonitorPage, FailedStoreIsReportedOncePerChangedBox) {
    auto& frm = Create();
    registry.DeleteKey(RegRoot::CurrentUser, kSettingsKey);
    frm.chbCPU.Click();
    EXPECT_EQ(dialog.shown, (std::vector<std::string>{"Unable to store monitor view."}));
    EXPECT_FALSE(frm.chbCPU.Checked());
}

TEST_F(MonitorPage, CpuBarShowsTheLoadOnEveryTick) {
    UseCpu(42);
    auto& frm = Create();
    Tick();
    EXPECT_EQ(frm.pbrCPU.Percent(), 42);
    EXPECT_EQ(frm.scpGraph.History(2).front(), 42);
    dynData.percent = 0;
    Tick();
    EXPECT_EQ(frm.pbrCPU.Percent(), 1) << "never below 1";
}

}  // namespace
}  // namespace korbela::testing
