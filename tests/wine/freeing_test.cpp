// Freeing runs of the real program: the pass panel, the blocks it really takes
// and what comes back, and the automatic policy under Wine.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "harness/screen_capture.h"
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
    const int64_t totalMB = static_cast<int64_t>(MemoryNow().ullTotalPhys >> 20);
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
    EXPECT_EQ(Text(ctrl::lblRAMperFree).substr(0, 7), "30%   (") << "the label shows the level's target";
    ScreenCapture::OfClient(program.MainWindow()).SaveBmp(BinFolder() + ScaledFileName("light_clean", ".bmp"));
    ASSERT_TRUE(WaitUntil([this] { return !IsWindowVisible(program.MainWindow()); }, std::chrono::seconds(180)));
    EXPECT_EQ(Text(ctrl::lblRAMperFree).substr(0, 7), "50%   (") << "and the slider's again after it";
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

TEST_F(Freeing, TheGreyedAutomaticBoxSaysWhyUnderThePointer) {
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Automatic RAM Freeing", 1);
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, 2, 0);
    HWND box = program.Control(ctrl::chbAuto_Free);
    ASSERT_TRUE(WaitUntil([&] { return Visible(ctrl::chbAuto_Free) && !IsWindowEnabled(box); }));
    // A disabled control gets no mouse messages: the window passes them on to the hint.
    RECT rect{};
    GetWindowRect(box, &rect);
    SetCursorPos(rect.left + 5, (rect.top + rect.bottom) / 2);
    Sleep(100);
    SetCursorPos(rect.left + 6, (rect.top + rect.bottom) / 2);  // and rests there
    std::string shown;
    EXPECT_TRUE(WaitUntil([&] {
        HWND tip = FindProcessWindow(program.Id(), TOOLTIPS_CLASSA);
        shown = tip != nullptr && IsWindowVisible(tip) ? WindowText(tip) : "";
        return !shown.empty();
    }, std::chrono::seconds(10)));
    EXPECT_EQ(shown,
              "The processor load cannot be read on this system, so automatic freeing is off until Korbela Lite "
              "starts again.");
    SetCursorPos(0, 0);
}

}  // namespace
}  // namespace korbela::wine
