// The tray icon, its menu, the hot key and the single-instance guard, driven
// the way the shell and the user drive them.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <iterator>
#include <thread>

#include "harness/wine_test.h"
#include "win32/tray/tray_icon.h"

namespace korbela::wine {
namespace {

using namespace std::chrono;
using Tray = WineTest;

TEST_F(Tray, ASingleClickTogglesAfterTheDoubleClickTime) {
    StartProgram();
    HWND main = program.MainWindow();
    const auto clicked = steady_clock::now();
    program.TrayCallback(WM_LBUTTONDOWN);
    program.TrayCallback(WM_LBUTTONUP);
    std::this_thread::sleep_for(milliseconds(GetDoubleClickTime() / 3));
    EXPECT_FALSE(IsWindowVisible(main)) << "held back for the double-click time";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, seconds(10)));
    EXPECT_GE(steady_clock::now() - clicked, milliseconds(GetDoubleClickTime() / 2));
    program.TrayCallback(WM_LBUTTONDOWN);
    program.TrayCallback(WM_LBUTTONUP);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, seconds(10))) << "the next click hides it";
}

TEST_F(Tray, ADoubleClickTogglesOnceAtOnce) {
    StartProgram();
    HWND main = program.MainWindow();
    program.TrayCallback(WM_LBUTTONDOWN);
    program.TrayCallback(WM_LBUTTONUP);
    program.TrayCallback(WM_LBUTTONDBLCLK);
    program.TrayCallback(WM_LBUTTONUP);  // the release after a double click does nothing
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, seconds(5)));
    std::this_thread::sleep_for(milliseconds(GetDoubleClickTime() + 500));
    EXPECT_TRUE(IsWindowVisible(main)) << "the held-back click was dropped";
}

TEST_F(Tray, ShowMainWindowFromTheMenu) {
    StartProgram();
    program.ChooseTrayItem(menu::ShowMainWindow1);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(program.MainWindow()) != FALSE; }));
}

TEST_F(Tray, TheHotKeyTogglesTheTestButton) {
    StartProgram();
    // The button lives on the Settings page: show that page to see it.
    ASSERT_TRUE(program.ShowMainWindow());
    SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, 2, 0);
    ASSERT_TRUE(WaitUntil([&] { return Visible(ctrl::chbAuto_Free); }, seconds(5)));
    EXPECT_FALSE(Visible(ctrl::btnTest_Auto_Free));
    PostMessageA(program.HotKeyWindow(), WM_HOTKEY, 0, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'A'));
    ASSERT_TRUE(WaitUntil([&] { return Visible(ctrl::btnTest_Auto_Free); }, seconds(5)));
    PostMessageA(program.HotKeyWindow(), WM_HOTKEY, 0, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'A'));
    EXPECT_TRUE(WaitUntil([&] { return !Visible(ctrl::btnTest_Auto_Free); }, seconds(5)));
}

TEST_F(Tray, ASecondCopyEndsAndBringsTheFirstOneForward) {
    StartProgram();
    KorbelaProcess second;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + KorbelaExePath() + "\"";
    ASSERT_TRUE(CreateProcessA(KorbelaExePath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &info));
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 15000), WAIT_OBJECT_0) << "the second copy ends by itself";
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    EXPECT_FALSE(program.Exited(milliseconds(0))) << "the first copy keeps running";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(program.MainWindow()) != FALSE; }, seconds(10)))
        << "and shows its window";
}

TEST_F(Tray, ASecondCopyFromAnotherFolderWritesNothing) {
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Auto Start", 1);
    StartProgram();
    const std::string quoted = "\"" + KorbelaExePath() + "\"";
    ASSERT_TRUE(WaitUntil([&] { return ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Korbela") == quoted; }));
    // As when the program is started once more from a download folder.
    const std::string folder = BinFolder() + "download";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string copy = folder + "\\korbela.exe";
    ASSERT_TRUE(CopyFileA(KorbelaExePath().c_str(), copy.c_str(), FALSE));
    {
        KorbelaProcess second;
        ASSERT_TRUE(second.Launch(copy));
        EXPECT_TRUE(second.Exited(seconds(15))) << "the second copy ends by itself";
        EXPECT_EQ(second.ExitCode(), 0u);
    }
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Korbela"), quoted);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, "Install Location"), BinFolder());
    WaitUntil([&] { return DeleteFileA(copy.c_str()) != FALSE; }, seconds(10));
    RemoveDirectoryA(folder.c_str());
}

TEST_F(Tray, ACopyUnderAnotherNameRunsAlongside) {
    StartProgram();
    const std::string copy = BinFolder() + "korbela-copy.exe";
    ASSERT_TRUE(CopyFileA(KorbelaExePath().c_str(), copy.c_str(), FALSE));
    {
        KorbelaProcess other;
        ASSERT_TRUE(other.Start(copy));
        EXPECT_FALSE(other.Exited(seconds(3)));
        other.ChooseTrayItem(menu::erminate1);
        EXPECT_TRUE(other.Exited(seconds(15)));
    }
    DeleteFileA(copy.c_str());
}

// The items are drawn by the program, but their text is the menu's too, for
// screen readers and GetMenuString. Each keeps its command, the new one too.
TEST(TrayMenuText, EveryItemCarriesItsCaptionAndCommand) {
    TrayMenu menu;
    const struct {
        const char* caption;
        int command;
    } items[] = {{"Light Clean", menu::LightClean1},
                 {"Medium Clean", menu::MediumClean1},
                 {"Heavy Clean", menu::HeavyClean1},
                 {"", 4},
                 {"Show Main Window", menu::ShowMainWindow1},
                 {"Show Memory Usage in Icon", menu::ShowMemoryUsageinIcon1},
                 {"", 6},
                 {"Exit Korbela Lite", menu::erminate1}};
    ASSERT_EQ(GetMenuItemCount(menu.Handle()), static_cast<int>(std::size(items)));
    for (UINT i = 0; i < std::size(items); ++i) {
        char text[64] = {};
        GetMenuStringA(menu.Handle(), i, text, sizeof(text), MF_BYPOSITION);
        EXPECT_STREQ(text, items[i].caption) << "item " << i;
        EXPECT_TRUE(GetMenuState(menu.Handle(), i, MF_BYPOSITION) & MF_OWNERDRAW) << "item " << i;
        EXPECT_EQ(GetMenuItemID(menu.Handle(), static_cast<int>(i)), static_cast<UINT>(items[i].command));
    }
}

}  // namespace
}  // namespace korbela::wine
