// The main window from the keyboard, as a user without a mouse meets it: Tab
// walks the controls of the page shown, Space works the focused one, the arrow
// keys turn the pages, Escape puts the window away as Close does.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

class Keyboard : public WineTest {
protected:
    // The window that has the keyboard focus in the program's thread.
    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        const DWORD thread = GetWindowThreadProcessId(program.MainWindow(), nullptr);
        return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
    }
    // A key pressed and let go: it goes to the focused window, or to the main
    // window while nothing has the focus.
    void Press(WPARAM key) {
        HWND target = Focus() != nullptr ? Focus() : program.MainWindow();
        const UINT scanCode = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
        PostMessageA(target, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scanCode) << 16));
        PostMessageA(target, WM_KEYUP, key, 1 | (static_cast<LPARAM>(scanCode) << 16) | (3LL << 30));
    }
    // Presses Tab and waits until the focus has moved.
    HWND Tab() {
        const HWND before = Focus();
        Press(VK_TAB);
        HWND after = before;
        WaitUntil([&] { return (after = Focus()) != before; }, std::chrono::seconds(5));
        return after;
    }
    // The controls that Tab visits, from the one after the focus round to it again.
    std::vector<HWND> TabRound() {
        std::vector<HWND> visited;
        for (int i = 0; i < 30; ++i) {
            HWND next = Tab();
            if (std::find(visited.begin(), visited.end(), next) != visited.end()) break;
            visited.push_back(next);
        }
        return visited;
    }
    bool Visits(const std::vector<HWND>& round, int id) const {
        return std::find(round.begin(), round.end(), program.Control(id)) != round.end();
    }
};

TEST_F(Keyboard, TabVisitsTheControlsOfThePageShownAndOnlyThose) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());

    const std::vector<HWND> memoryPage = TabRound();
    EXPECT_TRUE(Visits(memoryPage, ctrl::pgRAM));
    EXPECT_TRUE(Visits(memoryPage, ctrl::tbrTarget));
    EXPECT_TRUE(Visits(memoryPage, ctrl::btnFreeRAM));
    EXPECT_FALSE(Visits(memoryPage, ctrl::chbCPU)) << "a control of a hidden page";
    for (HWND control : memoryPage) {
        EXPECT_TRUE(IsWindowVisible(control) && IsWindowEnabled(control)) << GetDlgCtrlID(control);
    }

    SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, 1, 0);
    const std::vector<HWND> monitorPage = TabRound();
    EXPECT_TRUE(Visits(monitorPage, ctrl::chbUsedRAM));
    EXPECT_TRUE(Visits(monitorPage, ctrl::chbCPU));
    EXPECT_FALSE(Visits(monitorPage, ctrl::btnFreeRAM)) << "a control of a hidden page";
}

TEST_F(Keyboard, SpaceTicksTheFocusedCheckBoxAndTheArrowsTurnThePages) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    HWND tabs = program.Control(ctrl::pgRAM);
    for (int i = 0; i < 30 && Focus() != tabs; ++i) Tab();
    ASSERT_EQ(Focus(), tabs);
    Press(VK_RIGHT);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 1; }, std::chrono::seconds(5)))
        << "Right turns to the Monitor page";

    HWND cpu = program.Control(ctrl::chbCPU);
    for (int i = 0; i < 30 && Focus() != cpu; ++i) Tab();
    ASSERT_EQ(Focus(), cpu);
    const bool wasChecked = Checked(ctrl::chbCPU);
    const std::optional<DWORD> viewBefore = ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Monitor View");
    Press(VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return Checked(ctrl::chbCPU) != wasChecked; }, std::chrono::seconds(5)));
    EXPECT_TRUE(WaitUntil([&] { return ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Monitor View") != viewBefore; },
                          std::chrono::seconds(5)))
        << "the new view is stored at once";
}

TEST_F(Keyboard, EscapePutsTheWindowAwayAsCloseDoes) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    Tab();
    Press(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(program.MainWindow()); }, std::chrono::seconds(10)));
    EXPECT_FALSE(program.Exited(std::chrono::milliseconds(500))) << "the program goes on in the tray";
}

}  // namespace
}  // namespace korbela::wine
