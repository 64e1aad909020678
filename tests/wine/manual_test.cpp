// The help manual as a user meets it: "Korbela Lite.chm" next to the program,
// a compiled help file holding every page, opened in the HTML Help viewer by
// the window's Help button.
#include <windows.h>

#include "harness/chm_directory.h"
#include "harness/process_list.h"
#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

std::string ManualPath() { return BinFolder() + "Korbela Lite.chm"; }

std::optional<ChmDirectory> ReadManualDirectory(std::vector<uint8_t>& bytes) {
    std::optional<std::vector<uint8_t>> file = ReadWholeFile(ManualPath());
    if (!file) return std::nullopt;
    bytes = std::move(*file);
    return ReadChmDirectory(bytes);
}

// Ends the help viewers that the test's own click made the shell start.
class Manual : public WineTest {
protected:
    void TearDown() override {
        EndProcesses(NewProcessIds(viewersBefore, ProcessIdsNamed("hh.exe")));
        WineTest::TearDown();
    }

    std::vector<DWORD> viewersBefore = ProcessIdsNamed("hh.exe");
};

TEST_F(Manual, IsACompiledHelpFileNextToTheProgramThatHoldsEveryPage) {
    std::vector<uint8_t> bytes;
    const std::optional<ChmDirectory> directory = ReadManualDirectory(bytes);
    ASSERT_FALSE(bytes.empty()) << ManualPath() << " is missing";
    ASSERT_TRUE(directory.has_value()) << "not an ITSF file with a readable directory";

    const char* pages[] = {
        "/index.html",   "/window.html",  "/memory.html",       "/monitor.html",
        "/settings.html", "/about.html",   "/tray.html",        "/automatic.html",
        "/storage.html", "/install.html", "/troubleshooting.html",
        "/contents.hhc", "/index.hhk",    "/manual.css",        "/screenshot.png",
        "/screenshot-monitor.png", "/screenshot-settings.png", "/screenshot-about.png",
    };
    for (const char* page : pages) {
        const ChmEntry* entry = directory->Find(page);
        ASSERT_NE(entry, nullptr) << page;
        EXPECT_GT(entry->length, 0u) << page;
    }
    EXPECT_NE(directory->Find("/$FIftiMain"), nullptr) << "the manual can be searched";
}

TEST_F(Manual, OpensOnItsWelcomePageUnderItsOwnTitle) {
    std::vector<uint8_t> bytes;
    const std::optional<ChmDirectory> directory = ReadManualDirectory(bytes);
    ASSERT_TRUE(directory.has_value());
    const auto texts = ReadChmSystemTexts(bytes, *directory);
    ASSERT_TRUE(texts.has_value()) << "no readable #SYSTEM";
    EXPECT_EQ(texts->at(3), "Korbela Lite Help") << "title";
    EXPECT_EQ(texts->at(2), "index.html") << "default topic";
    EXPECT_EQ(texts->at(0), "contents.hhc") << "contents";
    EXPECT_EQ(texts->at(1), "index.hhk") << "index";
}

TEST_F(Manual, HelpButtonAndF1OpenItInTheHtmlHelpViewer) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    HWND help = program.Control(ctrl::btnHelp);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(WindowText(help), "Help");

    for (const bool byKey : {false, true}) {
        const std::vector<DWORD> before = ProcessIdsNamed("hh.exe");
        if (byKey) {
            // F1 as a keyboard user presses it, with a control of the page focused.
            HWND target = program.Control(ctrl::btnFreeRAM);
            SendMessageA(program.MainWindow(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
            SetForegroundWindow(program.MainWindow());
            ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == program.MainWindow(); }));
            INPUT keys[2]{};
            keys[0].type = INPUT_KEYBOARD;
            keys[0].ki.wVk = VK_F1;
            keys[1] = keys[0];
            keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
            ASSERT_EQ(SendInput(2, keys, sizeof(INPUT)), 2u);
        } else {
            PostMessageA(help, BM_CLICK, 0, 0);
        }
        std::vector<DWORD> viewers;
        ASSERT_TRUE(WaitUntil([&] {
            viewers = NewProcessIds(before, ProcessIdsNamed("hh.exe"));
            return !viewers.empty();
        }, std::chrono::seconds(30))) << "the shell started no hh.exe" << (byKey ? " for F1" : "");
        if (byKey) {
            Sleep(3000);  // a second viewer for the same press would have started by now
            viewers = NewProcessIds(before, ProcessIdsNamed("hh.exe"));
        }
        EXPECT_EQ(viewers.size(), 1u) << "one viewer for one " << (byKey ? "press of F1" : "click");
        // The viewer shows the manual under the title compiled into it.
        // The frame comes first and gets its title a moment later.
        std::string title;
        EXPECT_TRUE(WaitUntil([&] {
            HWND frame = FindProcessWindow(viewers.front(), "HH Parent");
            title = frame != nullptr ? WindowText(frame) : "";
            return title == "Korbela Lite Help";
        }, std::chrono::seconds(30))) << "the viewer's title is \"" << title << "\"";
        EndProcesses(viewers);
        EXPECT_FALSE(program.Exited(std::chrono::milliseconds(0))) << "the program goes on";
    }
}

}  // namespace
}  // namespace korbela::wine
