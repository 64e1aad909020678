// What the taskbar and the keyboard do to the program from outside: the
// taskbar button's Close, a plain close request, and the hot key pressed on
// the keyboard.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <thread>

#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

using namespace std::chrono;
using Taskbar = WineTest;

bool StyleVisible(HWND window) { return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

TEST_F(Taskbar, ClosingTheTaskbarButtonHidesToTheTray) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(program.ApplicationWindow()) != FALSE; }, seconds(5)))
        << "the taskbar button stands for the shown window";
    PostMessageA(program.ApplicationWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntil([&] {
        return !IsWindowVisible(program.MainWindow()) && !IsWindowVisible(program.ApplicationWindow());
    }, seconds(5))) << "both windows, and with them the taskbar button, go";
    EXPECT_FALSE(program.Exited(seconds(1))) << "the program goes on in the tray";
    ASSERT_TRUE(program.ExitThroughTrayMenu());
    EXPECT_EQ(program.ExitCode(), 0u);
}

TEST_F(Taskbar, APlainCloseRequestEndsTheProgram) {
    StartProgram();
    PostMessageA(program.ApplicationWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Exited(seconds(10)));
    EXPECT_EQ(program.ExitCode(), 0u);
}

// Ctrl+Alt+A through the input system, as a user presses it: the key events
// reach the registered hot key whichever window has the focus.
void PressCtrlAltA() {
    INPUT keys[6]{};
    const WORD codes[3] = {VK_CONTROL, VK_MENU, 'A'};
    for (int i = 0; i < 3; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[5 - i].type = INPUT_KEYBOARD;
        keys[5 - i].ki.wVk = codes[i];
        keys[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    ASSERT_EQ(SendInput(6, keys, sizeof(INPUT)), 6u);
}

TEST_F(Taskbar, TheHotKeyPressedOnTheKeyboardTogglesTheTestButton) {
    StartProgram();
    // The button lives on the Settings page, which stays selected while hidden.
    ASSERT_TRUE(program.ShowMainWindow());
    SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, 2, 0);
    ASSERT_TRUE(WaitUntil([&] { return Visible(ctrl::chbAuto_Free); }, seconds(5)));
    HWND button = program.Control(ctrl::btnTest_Auto_Free);
    ASSERT_FALSE(StyleVisible(button));
    PostMessageA(program.MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(program.MainWindow()); }, seconds(5)));

    PressCtrlAltA();  // the window hidden in the tray
    ASSERT_TRUE(WaitUntil([&] { return StyleVisible(button); }, seconds(5)));
    EXPECT_FALSE(IsWindowVisible(program.MainWindow())) << "the hot key shows nothing else";

    ASSERT_TRUE(program.ShowMainWindow());
    PressCtrlAltA();  // the window shown
    EXPECT_TRUE(WaitUntil([&] { return !StyleVisible(button); }, seconds(5)));
}

}  // namespace
}  // namespace korbela::wine
