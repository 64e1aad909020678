// What the tray icon tells the user: the memory a run freed, the first start,
// and the memory in use when the icon is to show it.
#include <gtest/gtest.h>

#include <functional>

#include "fakes/main_window_fixture.h"

namespace korbela::testing {
namespace {

TEST(FreedFigure, IsTheDifferenceOfTheTwoReadingsShiftedToMB) {
    const struct {
        const char* what;
        uint64_t before;
        uint64_t after;
        FreedMemory freed;
        const char* notice;
    } cases[] = {
        {"a gain", 100ull << 20, 612ull << 20, {512, 612}, "Freed 512 MB. 612 MB free now."},
        {"a gain below a MB", 100ull << 20, (101ull << 20) - 1, {0, 100}, "Nothing freed. 100 MB free now."},
        {"none", 100ull << 20, 100ull << 20, {0, 100}, "Nothing freed. 100 MB free now."},
        {"a loss of one byte", 100ull << 20, (100ull << 20) - 1, {-1, 99}, "Nothing freed. 99 MB free now."},
        {"a loss", 700ull << 20, 300ull << 20, {-400, 300}, "Nothing freed. 300 MB free now."},
        {"above 4 GB", 3ull << 30, 9ull << 30, {6144, 9216}, "Freed 6144 MB. 9216 MB free now."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FreedBetween(c.before, c.after), c.freed);
        EXPECT_EQ(FreedNotice(c.freed), c.notice);
    }
}

// 1022 MB in all, 500 free; the memory becomes 800 MB free once a run has
// taken its first block, so a reading after that would be seen.
class TrayNotice : public MainWindowTest {
protected:
    TfrmKRmain& Ready(bool silent) {
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

TEST_F(TrayNotice, EveryRunTheUserAskedForTellsWhatItFreedButASilentCheckDoesNot) {
    const struct {
        const char* what;
        bool silent;
        std::function<void(TfrmKRmain&)> start;
        bool tells;
    } cases[] = {
        {"Free RAM button", true, [](TfrmKRmain& f) { f.btnFreeRAM.Click(); }, true},
        {"Light Clean", true, [](TfrmKRmain& f) { f.LightClean1Click(); }, true},
        {"Medium Clean", true, [](TfrmKRmain& f) { f.MediumClean1Click(); }, true},
        {"Heavy Clean", true, [](TfrmKRmain& f) { f.HeavyClean1Click(); }, true},
        {"Test Auto Free, silent", true, [](TfrmKRmain& f) { f.btnTest_Auto_FreeClick(); }, true},
        {"automatic check, shown", false, [this](TfrmKRmain&) { tmrCheckCPU.Fire(); }, true},
        {"automatic check, silent", true, [this](TfrmKRmain&) { tmrCheckCPU.Fire(); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        memory.snapshot.AvailPhys = 500ull << 20;
        allocator = FakeBlockAllocator();
        auto& frm = Ready(c.silent);
        c.start(frm);
        ASSERT_GT(allocator.allocations, 0) << "the run took place";
        EXPECT_EQ(tray.notifications,
                  c.tells ? std::vector<std::string>{"Freed 300 MB. 800 MB free now."} : std::vector<std::string>{});
    }
}

TEST_F(TrayNotice, ARunThatFailsOrIsEndedTellsNothing) {
    auto& frm = Ready(true);
    allocator.failAt = 10;
    EXPECT_THROW(frm.LightClean1Click(), EOutOfMemory);
    allocator.failAt.reset();
    pump.onProcess = [this](int) { pump.terminated = allocator.allocations > 5; };
    EXPECT_THROW(frm.btnTest_Auto_FreeClick(), EAbort);
    EXPECT_TRUE(tray.notifications.empty());
}

TEST_F(TrayNotice, OnlyAStartWithoutTheSettingsKeySaysWhereTheProgramIs) {
    Create();
    EXPECT_EQ(tray.notifications, std::vector<std::string>{kFirstStartNotice});
    tray.notifications.clear();
    Create();  // the next start: the key is there now
    EXPECT_TRUE(tray.notifications.empty());
    registry.RemoveValue(RegRoot::CurrentUser, kSettingsKey, "Target RAM");
    Create();  // a repaired value is not a first start
    EXPECT_TRUE(tray.notifications.empty());
}

TEST_F(TrayNotice, TheIconShowsTheUsedBarsPercentWhenChosenAndTheChoiceIsStored) {
    Store("Tray Icon Usage", 1);
    auto& frm = Create();
    EXPECT_TRUE(tray.usageShown) << "the stored choice at start";
    memory.SetMB(1000, 150);
    Tick();
    EXPECT_EQ(tray.usage, 85);
    EXPECT_EQ(tray.usage, frm.pbrUsedRAM.Percent());

    frm.ShowMemoryUsageinIcon1Click();
    EXPECT_FALSE(tray.usageShown);
    EXPECT_EQ(Stored("Tray Icon Usage"), 0u);
    EXPECT_FALSE(frm.popTaskBarPopup()) << "the check mark";
    frm.ShowMemoryUsageinIcon1Click();
    EXPECT_TRUE(tray.usageShown);
    EXPECT_EQ(Stored("Tray Icon Usage"), 1u);
    EXPECT_TRUE(dialog.shown.empty());

    // Changed outside: the menu reads it back as it opens.
    Store("Tray Icon Usage", 0);
    EXPECT_FALSE(frm.popTaskBarPopup());
    EXPECT_FALSE(tray.usageShown);
}

TEST_F(TrayNotice, AChoiceThatCannotBeStoredIsReported) {
    auto& frm = Create();
    registry.SetRefuseWrites(RegRoot::CurrentUser, true);
    frm.ShowMemoryUsageinIcon1Click();
    EXPECT_EQ(dialog.shown, std::vector<std::string>{"Unable to store tray icon usage."});
    EXPECT_EQ(Stored("Tray Icon Usage"), 0u);
    EXPECT_FALSE(frm.popTaskBarPopup()) << "the menu shows what is stored";
    EXPECT_FALSE(tray.usageShown) << "and the icon follows it";
    // Without the key nothing can be read back: the icon stays as chosen.
    registry.SetRefuseWrites(RegRoot::CurrentUser, false);
    frm.ShowMemoryUsageinIcon1Click();
    registry.DeleteKey(RegRoot::CurrentUser, kSettingsKey);
    EXPECT_TRUE(frm.popTaskBarPopup());
    EXPECT_TRUE(tray.usageShown);
}

}  // namespace
}  // namespace korbela::testing
