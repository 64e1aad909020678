// Freeing runs of the real program: the pass panel, the blocks it really takes
// and what comes back, and the automatic policy under Wine.
#include <windows.h>

#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

using Freeing = WineTest;

TEST_F(Freeing, FreeRamWithASmallTargetShowsThePassPanelAndTakesTheBlocks) {
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Target RAM", 5);
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Attempts", 1);
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatusEx(&status);
    const int64_t totalMB = static_cast<int64_t>(status.ullTotalPhys >> 20);
    const int64_t blocks = ((totalMB + 50) / 100) * 5;  // whole MB per percent, times the target

    const SIZE_T before = program.PeakWorkingSet();
    PostMessageA(program.Control(ctrl::btnFreeRAM), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([this] { return Visible(ctrl::pnlPass); }, std::chrono::seconds(10)))
        << "the pass panel comes";
    ASSERT_TRUE(WaitUntil([this] { return !Visible(ctrl::pnlPass); }, std::chrono::seconds(120)))
        << "and goes";
    EXPECT_EQ(Text(ctrl::lblPass), "Pass 1 of 1");
    EXPECT_EQ(Text(ctrl::lblWorking), "100%");
    EXPECT_TRUE(IsWindowEnabled(program.Control(ctrl::btnFreeRAM)));
    const SIZE_T peak = program.PeakWorkingSet();
    EXPECT_GE(static_cast<int64_t>(peak - before) >> 20, blocks - 16) << "all blocks were held at once";
    EXPECT_TRUE(IsWindowVisible(program.MainWindow())) << "the button leaves the window shown";
}

TEST_F(Freeing, LightCleanFromTheTrayMenuHidesTheWindowAgain) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    program.ChooseTrayItem(menu::LightClean1);
    EXPECT_TRUE(WaitUntil([this] { return Visible(ctrl::pnlPass); }, std::chrono::seconds(10)));
    ASSERT_TRUE(WaitUntil([this] { return !IsWindowVisible(program.MainWindow()); }, std::chrono::seconds(180)));
    EXPECT_EQ(Text(ctrl::spnAtempts), "2") << "the spinner is set back";
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Attempts"), 2u);
    EXPECT_FALSE(program.Exited(std::chrono::milliseconds(0)));
}

// Wine's performance data has no processor object, as on a locked-down system.
TEST_F(Freeing, AutomaticFreeingIsSwitchedOffWhenTheCpuCannotBeRead) {
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Automatic RAM Freeing", 1);
    StartProgram();
    ASSERT_TRUE(WaitUntil([this] { return Checked(ctrl::chbAuto_Free); })) << "the stored choice is applied";
    ASSERT_TRUE(WaitUntil([this] { return !Checked(ctrl::chbAuto_Free); })) << "switched off on the first tick";
    EXPECT_FALSE(IsWindowEnabled(program.Control(ctrl::chbAuto_Free)));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Automatic RAM Freeing"), 1u)
        << "off for this run only: the user's choice stays stored";
    EXPECT_EQ(FindProcessWindow(program.Id(), "Tfrm_Message") == nullptr ||
                  !IsWindowVisible(FindProcessWindow(program.Id(), "Tfrm_Message")),
              true)
        << "no message on Windows 7";
}

}  // namespace
}  // namespace korbela::wine
