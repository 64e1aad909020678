// The main window from the keyboard, as a user without a mouse meets it: Tab
// walks the controls of the page shown, Space works the focused one, the arrow
// keys turn the pages, Escape puts the window away as Close does.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "harness/screen_capture.h"
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

// A trackbar's thumb, asked in the program's own memory: the rectangle
// cannot be handed across processes.
RECT ThumbRect(DWORD processId, HWND trackbar) {
    RECT rect{};
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) return rect;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(rect), MEM_COMMIT, PAGE_READWRITE);
    if (remote != nullptr) {
        SendMessageA(trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, &rect, sizeof(rect), nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return rect;
}

// The target slider keeps what a user chose, by mouse or by keyboard: the
// next showing of the window puts the stored value back.
TEST_F(Keyboard, TheTargetIsStoredAfterAPressAndReleaseAndAfterAKey) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    HWND target = program.Control(ctrl::tbrTarget);
    auto stored = [] { return ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Target RAM"); };
    ASSERT_EQ(stored(), 50u);

    // A press on the groove right of the thumb moves it a page (2) and the release stores it.
    const RECT thumb = ThumbRect(program.Id(), target);
    ASSERT_GT(thumb.right, thumb.left);
    const LPARAM groove = MAKELPARAM(thumb.right + 10, (thumb.top + thumb.bottom) / 2);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, groove);
    PostMessageA(target, WM_LBUTTONUP, 0, groove);
    EXPECT_TRUE(WaitUntil([&] { return stored() == 52u; }, std::chrono::seconds(5))) << stored().value_or(0);

    Tab();  // the focus somewhere, as a keyboard user has it
    const UINT scanCode = MapVirtualKeyA(VK_RIGHT, MAPVK_VK_TO_VSC);
    PostMessageA(target, WM_KEYDOWN, VK_RIGHT, 1 | (static_cast<LPARAM>(scanCode) << 16));
    PostMessageA(target, WM_KEYUP, VK_RIGHT, 1 | (static_cast<LPARAM>(scanCode) << 16) | (3LL << 30));
    EXPECT_TRUE(WaitUntil([&] { return stored() == 53u; }, std::chrono::seconds(5))) << stored().value_or(0);
    EXPECT_EQ(Text(ctrl::lblRAMperFree).substr(0, 4), "53% ");

    // Hidden and shown again, the window shows what is stored.
    PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(program.MainWindow()); }));
    ASSERT_TRUE(program.ShowMainWindow());
    EXPECT_EQ(SendMessageA(target, TBM_GETPOS, 0, 0), 53);
}

bool SamePixels(const ScreenCapture& a, const ScreenCapture& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (!(a.At(x, y) == b.At(x, y))) return false;
        }
    }
    return true;
}

TEST_F(Keyboard, EveryControlThatTakesTheFocusShowsIt) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    for (const int page : {0, 1, 2, 3}) {
        SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, page, 0);
        const std::vector<HWND> round = TabRound();
        ASSERT_FALSE(round.empty());
        for (HWND control : round) {
            for (int i = 0; i < 30 && Focus() != control; ++i) Tab();
            ASSERT_EQ(Focus(), control);
            Sleep(200);  // the focus cue painted
            const ScreenCapture focused = ScreenCapture::OfClient(control);
            Tab();
            Sleep(200);
            const ScreenCapture unfocused = ScreenCapture::OfClient(control);
            EXPECT_FALSE(SamePixels(focused, unfocused))
                << "control " << GetDlgCtrlID(control) << " on page " << page << " shows no focus";
        }
    }
}

// Web addresses open through a command of the test's own for the time of a
// test: it writes the address it was given into a file.
class LinkOpener {
public:
    LinkOpener() : record_(BinFolder() + "\\link-opened.txt") {
        DeleteFileA(record_.c_str());
        RegCreateKeyExA(HKEY_CLASSES_ROOT, kCommandKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        DWORD size = sizeof(previous_);
        hadPrevious_ = RegQueryValueExA(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(previous_), &size) ==
                       ERROR_SUCCESS;
        const std::string command = "cmd.exe /c echo %1>\"" + record_ + "\"";
        RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
    }
    ~LinkOpener() {
        if (hadPrevious_) {
            RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_),
                           static_cast<DWORD>(strlen(previous_) + 1));
        }
        RegCloseKey(key_);
        DeleteFileA(record_.c_str());
    }
    // The address opened last, once the command has written it.
    std::string Opened() const {
        std::ifstream file(record_);
        std::stringstream text;
        text << file.rdbuf();
        std::string line = text.str();
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
        return line;
    }
    void Forget() const { DeleteFileA(record_.c_str()); }

private:
    static constexpr const char* kCommandKey = "https\\shell\\open\\command";
    std::string record_;
    HKEY key_ = nullptr;
    char previous_[1024] = {};
    bool hadPrevious_ = false;
};

TEST_F(Keyboard, TheAboutLinksTakeTheFocusAndOpenWithSpaceAndEnter) {
    LinkOpener opener;
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, 3, 0);
    const std::vector<HWND> aboutPage = TabRound();
    EXPECT_TRUE(Visits(aboutPage, ctrl::lblWebSite));
    EXPECT_TRUE(Visits(aboutPage, ctrl::HyperLink2));

    const struct {
        int link;
        WPARAM key;
    } presses[] = {{ctrl::lblWebSite, VK_SPACE}, {ctrl::HyperLink2, VK_RETURN}};
    for (const auto& press : presses) {
        opener.Forget();
        HWND link = program.Control(press.link);
        for (int i = 0; i < 30 && Focus() != link; ++i) Tab();
        ASSERT_EQ(Focus(), link);
        Press(press.key);
        EXPECT_TRUE(WaitUntil([&] { return opener.Opened().rfind("https://", 0) == 0; }, std::chrono::seconds(20)))
            << "link " << press.link << " opened its web site";
    }
    EXPECT_TRUE(IsWindowVisible(program.MainWindow())) << "Enter on a link does not close the window";
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
