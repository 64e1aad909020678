// The main window from the keyboard, as a user without a mouse meets it: Tab
// walks the controls of the page shown, Space works the focused one, the arrow
// keys turn the pages, Escape puts the window away as Close does.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>
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
    // Shows the window from the tray and waits for the focus, which comes with
    // the activation after the window shows: a key sent before it would go to
    // the main window and move the focus a second time.
    bool ShowForKeys() {
        if (!program.ShowMainWindow()) return false;
        return WaitUntil([this] {
            const HWND focus = Focus();
            return focus != nullptr && (focus == program.MainWindow() || IsChild(program.MainWindow(), focus));
        });
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
    ASSERT_TRUE(ShowForKeys());
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
    ASSERT_TRUE(ShowForKeys());
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
    ASSERT_TRUE(StartShown());
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
    ASSERT_TRUE(ShowForKeys());
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

// The bounding boxes of the pixels of one colour and of those of another.
struct Extent {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
    bool Holds(const Extent& other) const {
        return left < other.left && top < other.top && right > other.right && bottom > other.bottom;
    }
};

// From column `from` on.
Extent ExtentOf(const ScreenCapture& shot, Rgb colour, int from = 0) {
    Extent extent;
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = from; x < shot.Width(); ++x) {
            if (!(shot.At(x, y) == colour)) continue;
            extent.left = std::min(extent.left, x);
            extent.top = std::min(extent.top, y);
            extent.right = std::max(extent.right, x);
            extent.bottom = std::max(extent.bottom, y);
        }
    }
    return extent;
}

constexpr Rgb kAccent{86, 156, 214};

// The focus is framed around a check box's caption and a link's words, clear
// of the letters, and is not the hover's blue box frame.
TEST_F(Keyboard, TheFocusCueFramesTheCaptionAndTheLinkText) {
    ASSERT_TRUE(StartShown());
    const struct {
        int page;
        int control;
        Rgb text;
    } focused[] = {{1, ctrl::chbCPU, {255, 255, 255}}, {3, ctrl::lblWebSite, {192, 192, 192}},
                   {3, ctrl::HyperLink2, {192, 192, 192}}};
    for (const auto& f : focused) {
        SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, f.page, 0);
        HWND control = program.Control(f.control);
        for (int i = 0; i < 30 && Focus() != control; ++i) Tab();
        ASSERT_EQ(Focus(), control) << f.control;
        Sleep(300);  // painted
        const ScreenCapture shot = ScreenCapture::OfClient(control);
        shot.SaveBmp(BinFolder() + ScaledFileName("focus-" + std::to_string(f.control), ".bmp"));
        // A check box's caption starts right of its box and its white tick.
        const int captionFrom = f.control == ctrl::chbCPU ? ScreenScale()(14) : 0;
        const Extent cue = ExtentOf(shot, kAccent);
        const Extent text = ExtentOf(shot, f.text, captionFrom);
        ASSERT_FALSE(cue.Empty()) << f.control << " shows no focus";
        ASSERT_FALSE(text.Empty()) << f.control;
        EXPECT_TRUE(cue.Holds(text)) << f.control << ": the cue runs through the text";
        if (f.control == ctrl::chbCPU) {
            EXPECT_GT(cue.left, ScreenScale()(13)) << "the box itself keeps its frame, as without the pointer";
        }
    }
}

TEST_F(Keyboard, TabRunsOverTheTitleBarLeftToRight) {
    StartProgram();
    ASSERT_TRUE(ShowForKeys());
    const std::vector<HWND> round = TabRound();
    const auto help = std::find(round.begin(), round.end(), program.Control(ctrl::btnHelp));
    ASSERT_NE(help, round.end());
    const auto next = help + 1 == round.end() ? round.begin() : help + 1;
    EXPECT_EQ(*next, program.Control(ctrl::btnClose)) << "Close, right of Help, comes after it";
}

// Enter presses the focused button as Space does; after the run the focus is
// where it was, so that the next key works there too.
TEST_F(Keyboard, EnterPressesTheFocusedButtonAndTheFocusOutlivesTheRun) {
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Target RAM", 5);
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Attempts", 1);
    ASSERT_TRUE(StartShown());
    EXPECT_EQ(Focus(), program.Control(ctrl::tbrTarget)) << "shown from the tray: the page's first control";
    HWND freeRam = program.Control(ctrl::btnFreeRAM);
    for (const WPARAM key : {VK_RETURN, VK_SPACE}) {
        for (int i = 0; i < 30 && Focus() != freeRam; ++i) Tab();
        ASSERT_EQ(Focus(), freeRam);
        Press(key);
        EXPECT_TRUE(WaitUntil([this] { return Visible(ctrl::pnlPass); }, std::chrono::seconds(10)))
            << "key " << key << " started a run";
        ASSERT_TRUE(WaitUntil([this] { return !Visible(ctrl::pnlPass); }, std::chrono::seconds(120)));
        EXPECT_TRUE(WaitUntil([&] { return Focus() == freeRam; }, std::chrono::seconds(5)))
            << "the focus is back on Free RAM after the run";
    }
}

TEST_F(Keyboard, ANumberBoxShowsTheNumberInForceWhenLeft) {
    ASSERT_TRUE(StartShown());
    SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, 2, 0);
    HWND attempts = program.Control(ctrl::spnAtempts);
    for (const auto& [typed, shown] : {std::pair{"99", "10"}, std::pair{"x", "1"}}) {
        for (int i = 0; i < 30 && Focus() != attempts; ++i) Tab();
        ASSERT_EQ(Focus(), attempts);
        SendMessageA(attempts, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
        Tab();
        EXPECT_TRUE(WaitUntil([&] { return WindowText(attempts) == shown; }, std::chrono::seconds(5)))
            << typed << " shows as " << WindowText(attempts);
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingsKey, "Attempts"), static_cast<DWORD>(std::atoi(shown)));
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
    ASSERT_TRUE(ShowForKeys());
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
    ASSERT_TRUE(ShowForKeys());
    ASSERT_TRUE(WaitForFirstTick());
    Tab();
    Press(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(program.MainWindow()); }, std::chrono::seconds(10)));
    EXPECT_FALSE(program.Exited(std::chrono::milliseconds(500))) << "the program goes on in the tray";
}

}  // namespace
}  // namespace korbela::wine
