// What the tray icon tells the user: the memory a run freed, the first start,
// and the memory in use when the icon is to show it.
#include <gtest/gtest.h>

#include <functional>

#include "fakes/main_window_fixture.h"

namespace korbela::testing {
namespace {

TEST(FreedFigure, IsTheDifferenceOfTheTwoReadingsShiftedToMB) {
    const struct {
        uint64_t before, after;
        const char* notice;
    } cases[] = {
        {100ull << 20, 612ull << 20, "Freed 512 MB. 612 MB free now."},
        {3ull << 30, 9ull << 30, "Freed 6144 MB. 9216 MB free now."},  // above 4 GB
        {100ull << 20, (101ull << 20) - 1, "Nothing freed. 100 MB free now."},
        {100ull << 20, 100ull << 20, "Nothing freed. 100 MB free now."},
        {100ull << 20, (100ull << 20) - 1, "Nothing freed. 99 MB free now."},  // -1 byte is -1 MB
        {700ull << 20, 300ull << 20, "Nothing freed. 300 MB free now."},
    };
    for (const auto& c : cases) EXPECT_EQ(FreedNotice(FreedBetween(c.before, c.after)), c.notice);
    EXPECT_EQ(FreedBetween(100ull << 20, (100ull << 20) - 1).freedMB, -1);
}

// 1022 MB in all, 500 free; 800 free once a run has taken its first block, so
// a reading taken after that would show.
class TrayNotice : public MainWindowTest {
protected:
    TfrmKRmain& Ready(bool silent) {
        memory.snapshot.AvailPhys = 500ull << 20;
        allocator = FakeBlockAllocator();
        Store("Automatic RAM Freeing", 1);
        Store("Automatic RAM Free Silent", silent ? 1 : 0);
        Store("Automatic Level", 50);
        UseCpu(5);
        auto& frm = Create();
        Tick();
        tray.notifications.clear();
        pump.onProcess = [this](int) {
            if (allocator.allocations > 0) memory.snapshot.AvailPhys = 800ull << 20;
        };
        return frm;
    }
};

TEST_F(TrayNotice, EveryRunTheUserAskedForTellsWhatItFreed) {
    const struct {
        bool silent;
        std::function<void(TfrmKRmain&)> start;
        bool tells;
    } cases[] = {
        {true, [](TfrmKRmain& f) { f.btnFreeRAM.Click(); }, true},
        {true, [](TfrmKRmain& f) { f.LightClean1Click(); }, true},
        {true, [](TfrmKRmain& f) { f.HeavyClean1Click(); }, true},
        {true, [](TfrmKRmain& f) { f.btnTest_Auto_FreeClick(); }, true},
        {false, [this](TfrmKRmain&) { tmrCheckCPU.Fire(); }, true},
        {true, [this](TfrmKRmain&) { tmrCheckCPU.Fire(); }, false},  // a silent automatic run
    };
    for (const auto& c : cases) {
        c.start(Ready(c.silent));
        ASSERT_GT(allocator.allocations, 0) << "the run took place";
        EXPECT_EQ(tray.notifications, std::vector<std::string>(c.tells, "Freed 300 MB. 800 MB free now."));
    }
    auto& frm = Ready(true);
    allocator.failAt = 10;
    EXPECT_THROW(frm.LightClean1Click(), EOutOfMemory);
    EXPECT_TRUE(tray.notifications.empty()) << "an error says why in its message";
}

TEST_F(TrayNotice, OnlyAStartWithoutTheSettingsKeySaysWhereTheProgramIs) {
    Create();
    EXPECT_EQ(tray.notifications, std::vector<std::string>{kFirstStartNotice});
    tray.notifications.clear();
    registry.RemoveValue(RegRoot::CurrentUser, kSettingsKey, "Target RAM");
    Create();  // a repaired value is no first start
    EXPECT_TRUE(tray.notifications.empty());
}

TEST_F(TrayNotice, TheMenuItemSwitchesTheIconStoresItAndReadsItBack) {
    Store("Tray Icon Usage", 1);
    auto& frm = Create();
    EXPECT_TRUE(tray.usageShown) << "the stored choice at start";
    memory.SetMB(1000, 150);
    Tick();
    EXPECT_EQ(tray.usage, 85) << "the used bar's figure";
    frm.ShowMemoryUsageinIcon1Click();
    EXPECT_EQ(Stored("Tray Icon Usage"), 0u);
    EXPECT_FALSE(tray.usageShown);
    Store("Tray Icon Usage", 1);  // changed outside: the menu reads it back as it opens
    EXPECT_TRUE(frm.popTaskBarPopup());
    EXPECT_TRUE(tray.usageShown);

    registry.SetRefuseWrites(RegRoot::CurrentUser, true);
    frm.ShowMemoryUsageinIcon1Click();
    EXPECT_EQ(dialog.shown, std::vector<std::string>{"Unable to store tray icon usage."});
    EXPECT_TRUE(frm.popTaskBarPopup()) << "the menu and the icon show what is stored";
    EXPECT_TRUE(tray.usageShown);
}

}  // namespace
}  // namespace korbela::testing
