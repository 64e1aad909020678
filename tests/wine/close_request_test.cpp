// Requests to close or end that come from outside: a "close all windows" tool
// that sends WM_CLOSE to every window it finds must not take away the ticks,
// the hot key, the tray icon or the hints, and an end request that arrives
// while the tray menu is open still ends the program.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

using namespace std::chrono;

// The message-only window that hands the timer threads' ticks to the main thread.
HWND TimerWindow(const KorbelaProcess& program) {
    HWND window = nullptr;
    while ((window = FindWindowExA(HWND_MESSAGE, window, "KorbelaTimerDispatch", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == program.Id()) return window;
    }
    return nullptr;
}

bool OpenTrayMenu(KorbelaProcess& program) {
    program.TrayCallback(WM_CONTEXTMENU);
    return WaitUntil([] {
        HWND menu = FindWindowA("#32768", nullptr);
        return menu != nullptr && IsWindowVisible(menu);
    }, seconds(10));
}

struct HiddenWindowCase {
    const char* name;
    std::function<HWND(const KorbelaProcess&)> find;
};

void PrintTo(const HiddenWindowCase& hidden, std::ostream* out) { *out << hidden.name; }

class HiddenWindow : public WineTest, public ::testing::WithParamInterface<HiddenWindowCase> {};

TEST_P(HiddenWindow, ACloseRequestLeavesEverythingWorking) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    // The Test Auto Free button lives on the Settings page.
    SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, 2, 0);
    ASSERT_TRUE(WaitUntil([&] { return Visible(ctrl::chbAuto_Free); }, seconds(5)));
    HWND target = GetParam().find(program);
    HWND hotKey = program.HotKeyWindow();
    ASSERT_NE(target, nullptr);

    SendMessageTimeoutA(target, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);

    EXPECT_TRUE(IsWindow(target)) << "the window is still there";
    EXPECT_TRUE(WaitForNewTick(program.Control(ctrl::lblFreeRAM))) << "the usage ticks go on";
    PostMessageA(hotKey, WM_HOTKEY, 0, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'A'));
    EXPECT_TRUE(WaitUntil([&] { return Visible(ctrl::btnTest_Auto_Free); }, seconds(5))) << "the hot key works";
    EXPECT_TRUE(program.ExitThroughTrayMenu()) << "the tray menu's Exit ends the program";
    EXPECT_EQ(program.ExitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Close, HiddenWindow,
    ::testing::Values(HiddenWindowCase{"TimerHandOver", TimerWindow},
                      HiddenWindowCase{"HotKey", [](const KorbelaProcess& p) { return p.HotKeyWindow(); }},
                      HiddenWindowCase{"TrayIcon", [](const KorbelaProcess& p) { return p.TrayWindow(); }},
                      HiddenWindowCase{"BalloonHint",
                                       [](const KorbelaProcess& p) {
                                           return FindProcessWindow(p.Id(), TOOLTIPS_CLASSA);
                                       }}),
    [](const ::testing::TestParamInfo<HiddenWindowCase>& info) { return std::string(info.param.name); });

struct EndRequestCase {
    const char* name;
    std::function<void(KorbelaProcess&)> deliver;
};

void PrintTo(const EndRequestCase& request, std::ostream* out) { *out << request.name; }

class EndRequest : public WineTest, public ::testing::WithParamInterface<EndRequestCase> {};

TEST_P(EndRequest, EndsTheProgramWhileTheTrayMenuIsOpen) {
    StartProgram();
    ASSERT_TRUE(OpenTrayMenu(program)) << "the tray menu is shown";

    GetParam().deliver(program);

    EXPECT_TRUE(program.Exited(seconds(5))) << "no further input is needed";
    EXPECT_EQ(program.ExitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    TrayMenuOpen, EndRequest,
    ::testing::Values(
        // The way the setup and the uninstaller close a running copy.
        EndRequestCase{"CloseToTheApplicationWindow",
                       [](KorbelaProcess& p) { PostMessageA(p.ApplicationWindow(), WM_CLOSE, 0, 0); }},
        EndRequestCase{"SessionEnd",
                       [](KorbelaProcess& p) {
                           SendMessageTimeoutA(p.MainWindow(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000,
                                               nullptr);
                       }},
        EndRequestCase{"ExitCommand", [](KorbelaProcess& p) { p.ChooseTrayItem(menu::erminate1); }}),
    [](const ::testing::TestParamInfo<EndRequestCase>& info) { return std::string(info.param.name); });

// Windows asks every top-level window before a logoff or shutdown; the
// program never holds one up, whatever it is doing.
using SessionEnd = WineTest;

TEST_F(SessionEnd, IsAllowedHiddenShownAndDuringARun) {
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Target RAM", 5);
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Attempts", 1);
    StartProgram();
    auto allowed = [this](const char* when) {
        for (HWND window : {program.ApplicationWindow(), program.MainWindow()}) {
            DWORD_PTR answer = FALSE;
            const bool answered = SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                                      SMTO_ABORTIFHUNG, 5000, &answer) != 0;
            EXPECT_TRUE(answered && answer == TRUE) << when << ", window " << window;
        }
    };
    allowed("hidden");
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    allowed("shown");
    PostMessageA(program.Control(ctrl::btnFreeRAM), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([this] { return Visible(ctrl::pnlPass); }, seconds(10)));
    allowed("during a run");
    EXPECT_TRUE(Visible(ctrl::pnlPass)) << "the run was still going";
    EXPECT_TRUE(WaitUntil([this] { return !Visible(ctrl::pnlPass); }, seconds(180)));
    EXPECT_FALSE(program.Exited(milliseconds(0))) << "asking ends nothing";
}

}  // namespace
}  // namespace korbela::wine
