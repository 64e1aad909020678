#include <gtest/gtest.h>

#include "fakes/main_window_fixture.h"

namespace korbela::testing {
namespace {

using UsageTick = MainWindowTest;

TEST_F(UsageTick, TotalLabelAddsOneMegabyteAlways) {
    struct Case {
        uint64_t bytes;
        const char* label;
        int64_t totalMB;
    };
    const Case cases[] = {{1072627712ull, "1023 MB", 1022}, {1073741824ull, "1025 MB", 1024},
                          {6ull << 30, "6145 MB", 6144}};  // counts above 4 GiB stay whole
    for (const auto& c : cases) {
        memory.snapshot = {c.bytes, c.bytes / 2};
        auto& frm = Create();
        EXPECT_EQ(frm.lblTotalRAM.Caption(), c.label);
        EXPECT_EQ(frm.lblTRAM.Caption(), c.label);
        EXPECT_EQ(frm.lbl100_Usage.Hint(), std::string("Maximum memory: ") + c.label);
        Tick();
        EXPECT_EQ(frm.TotalMB(), c.totalMB);
    }
}

TEST_F(UsageTick, FiguresBarsAndTipRoundHalfToEven) {
    struct Case {
        uint64_t totalMB, freeMB;
        const char* used;
        int usedBar, freeBar;
    };
    const Case cases[] = {{1024, 128, "896 MB", 88, 12}, {1024, 384, "640 MB", 62, 38},
                          {1022, 500, "522 MB", 51, 49},
                          // Exact halves that a floating-point product pushes the wrong way.
                          {2000, 850, "1150 MB", 58, 42}, {2200, 1001, "1199 MB", 54, 46}};
    auto& frm = Create();
    for (const auto& c : cases) {
        memory.SetMB(c.totalMB, c.freeMB);
        Tick();
        EXPECT_EQ(frm.lblUsedRAM.Caption(), c.used);
        EXPECT_EQ(frm.lblFreeRAM.Caption(), std::to_string(c.freeMB) + " MB");
        EXPECT_EQ(frm.pbrUsedRAM.Percent(), c.usedBar) << c.totalMB << "/" << c.freeMB;
        EXPECT_EQ(frm.pbrFreeRAM.Percent(), c.freeBar) << c.totalMB << "/" << c.freeMB;
        EXPECT_EQ(tray.hint, "Korbela Lite: " + std::to_string(c.freeMB) + " MB free");
    }
}

// The exact share of part in whole, in whole percent with halves to even,
// decided by comparing twice the remainder with the whole.
int ExactPercent(int64_t part, int64_t whole) {
    const int64_t below = part * 100 / whole;
    const int64_t twiceRemainder = 2 * (part * 100 - below * whole);
    const bool up = twiceRemainder > whole || (twiceRemainder == whole && below % 2 == 1);
    return static_cast<int>(below + (up ? 1 : 0));
}

TEST_F(UsageTick, BarsMatchTheExactPercentForEveryPair) {
    auto& frm = Create();
    int compared = 0;
    for (uint64_t totalMB = 1; totalMB <= 4400; totalMB += 37) {
        for (uint64_t freeMB = 0; freeMB <= totalMB; freeMB += 1 + totalMB / 23) {
            memory.SetMB(totalMB, freeMB);
            Tick();
            const int64_t used = static_cast<int64_t>(totalMB - freeMB);
            const int usedPercent = ExactPercent(used, static_cast<int64_t>(totalMB));
            const int freePercent = ExactPercent(static_cast<int64_t>(freeMB), static_cast<int64_t>(totalMB));
            ASSERT_EQ(frm.pbrUsedRAM.Percent(), usedPercent) << totalMB << "/" << freeMB;
            ASSERT_EQ(frm.pbrFreeRAM.Percent(), freePercent) << totalMB << "/" << freeMB;
            ++compared;
        }
    }
    EXPECT_GT(compared, 2000);
}

TEST_F(UsageTick, BeforeTheFirstTickTheFormCaptionsStand) {
    auto& frm = Create();
    EXPECT_EQ(frm.lblUsedRAM.Caption(), "0");
    EXPECT_EQ(frm.lblFreeRAM.Caption(), "0");
    EXPECT_EQ(frm.pbrUsedRAM.Percent(), 1);
    EXPECT_EQ(frm.TotalMB(), 0);
}

TEST_F(UsageTick, EachTickFeedsEveryGraphChannelAndKeepsTheCpuLoad) {
    auto& frm = Create();
    memory.SetMB(1000, 380);
    Tick();
    Tick();
    EXPECT_EQ(frm.scpGraph.History(0), (std::deque<int>{38, 38}));
    EXPECT_EQ(frm.scpGraph.History(1), (std::deque<int>{62, 62}));
    EXPECT_EQ(frm.scpGraph.History(2), (std::deque<int>{1, 1})) << "the CPU bar starts at 1";
    EXPECT_EQ(frm.LastCPULoad(), 1);
}

TEST_F(UsageTick, UpdatePeriodSetsTheIntervalLabelAndStore) {
    auto& frm = Create();
    frm.spnSec.SetValue(2);
    EXPECT_EQ(frm.lblSec.Caption(), "seconds.");
    EXPECT_EQ(tmrUsage.interval, 2000u);
    EXPECT_EQ(Stored("Update Period"), 2u);
    frm.spnSec.SetValue(30);
    EXPECT_EQ(tmrUsage.interval, 30000u);
    frm.spnSec.SetText("abc");  // not a number: reads as the minimum
    EXPECT_EQ(frm.lblSec.Caption(), "second.");
    EXPECT_EQ(tmrUsage.interval, 1000u);
    EXPECT_EQ(Stored("Update Period"), 1u);
}

TEST_F(UsageTick, FailedUpdatePeriodStoreKeepsTheNewInterval) {
    auto& frm = Create();
    registry.DeleteKey(RegRoot::CurrentUser, kSettingsKey);
    frm.spnSec.SetValue(5);
    EXPECT_EQ(dialog.shown, (std::vector<std::string>{"Unable to store update period."}));
    EXPECT_EQ(tmrUsage.interval, 5000u);
    EXPECT_EQ(frm.spnSec.Value(), 5);
}

// Without a CPU sampler every reading fails, as on a locked-down system.
TEST_F(UsageTick, FailedCpuReadingSwitchesAutomaticFreeingOffOnce) {
    Store("Automatic RAM Freeing", 1);
    auto& frm = Create();
    ASSERT_TRUE(frm.chbAuto_Free.Checked());
    Tick();
    EXPECT_FALSE(frm.chbAuto_Free.Checked());
    EXPECT_FALSE(frm.chbAuto_Free.Enabled());
    EXPECT_EQ(frm.chbAuto_Free.Hint(),
              "The processor load cannot be read on this system, so automatic freeing is off until Korbela Lite "
              "starts again.")
        << "the greyed box says why";
    EXPECT_EQ(Stored("Automatic RAM Freeing"), 1u) << "off for this run only: the choice is kept";
    EXPECT_FALSE(frm.CPUCheckActive());
    EXPECT_TRUE(dialog.shown.empty()) << "Windows 7 gets no notice";
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(frm.lblUsedRAM.Caption(), "522 MB") << "the memory figures update regardless";
    Tick();
    EXPECT_EQ(frm.scpGraph.History(2).front(), 1) << "the CPU trace keeps the last value";
    frm.ShowMainWindow1Click();
    EXPECT_FALSE(frm.chbAuto_Free.Checked()) << "showing the window does not tick it again";
    EXPECT_EQ(Stored("Automatic RAM Freeing"), 1u);
}

TEST_F(UsageTick, FailedCpuReadingWithAutomaticFreeingOffTriesAgain) {
    auto& frm = Create();
    Tick();
    EXPECT_TRUE(frm.CPUCheckActive());
    EXPECT_TRUE(frm.chbAuto_Free.Enabled());
}

TEST_F(UsageTick, VistaGetsTheFolderAndTheAdministratorNoticeOnce) {
    const char* names[] = {"Windows Vista", "  WINDOWS vista \t", "windows vista\r\n"};
    for (const char* name : names) {
        dialog.shown.clear();
        shell.opened.clear();
        Store("Automatic RAM Freeing", 1);
        auto& frm = Create();
        frm.lbl_OS.SetCaption(name);
        Tick();
        Tick();
        ASSERT_EQ(dialog.shown.size(), 1u) << name;
        EXPECT_EQ(dialog.shown[0], VistaAdminNotice());
        EXPECT_EQ(shell.opened, (std::vector<std::string>{"C:\\Program Files\\Korbela Lite\\"}));
    }
}

TEST_F(UsageTick, VistaIsRecognisedFromTheReportedVersion) {
    os.version = OsVersion{kPlatformWin32NT, 6, 0};
    Store("Automatic RAM Freeing", 1);
    auto& frm = Create();
    EXPECT_EQ(frm.lbl_OS.Caption(), "Windows Vista");
    Tick();
    EXPECT_EQ(dialog.shown.size(), 1u);
}

TEST(AdministratorNotice, IsFourParagraphsJoinedByBlankLines) {
    const std::string notice = VistaAdminNotice();
    EXPECT_EQ(notice,
              "Unable to retrieve CPU data. In order to work correctly Korbela Lite Requires administrator "
              "rights in Windows Vista. \r\n\r\nIn the window that has just opened locate and right click on "
              "the \"Korbela Lite\" program icon. Select properties and click on the Compatibility tab. At "
              "the bottom of the page check (tick)the option to \"Run this program as an administrator\"."
              "\r\n\r\nClose Korbela and restart.\r\n\r\nYou will find detailed instructions in the "
              "troubleshooting section of the manual.");
}

}  // namespace
}  // namespace korbela::testing
