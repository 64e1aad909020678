// The main window laid out at the display's scale: its client area and its
// drawn widgets are the design's sizes scaled (run at 96 and at 144 dpi), and
// a new scale (WM_DPICHANGED, as a move to another monitor brings) lays it out
// again without the settings.
#include <windows.h>
#include <commctrl.h>

#include "harness/screen_capture.h"
#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

struct Widget {
    int page, id, width, height;
    const char* name;
};

const Widget kWidgets[] = {
    {0, ctrl::pbrUsedRAM, 448, 21, "used RAM bar"}, {0, ctrl::pbrFreeRAM, 448, 21, "free RAM bar"},
    {0, ctrl::pbrTargetRAM, 341, 21, "target bar"},  {1, ctrl::scpGraph, 455, 105, "graph"},
    {1, ctrl::pbrCPU, 452, 21, "CPU bar"},
};

class DisplayScaleLayout : public WineTest {
protected:
    void ShowPage(int page, int control) {
        SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, page, 0);
        ASSERT_TRUE(WaitUntil([&] { return Visible(control); }, std::chrono::seconds(5))) << "page " << page;
    }

    // The window and each drawn widget at the design's size at the scale.
    void ExpectDesignSizes(DisplayScale s) {
        const SIZE window = ClientSize(program.MainWindow());
        EXPECT_NEAR(window.cx, s(473), ScaleSlack(s)) << "at " << s.dpi << " dpi";
        EXPECT_NEAR(window.cy, s(291), ScaleSlack(s)) << "at " << s.dpi << " dpi";
        for (const Widget& widget : kWidgets) {
            ShowPage(widget.page, widget.id);
            const SIZE size = ClientSize(program.Control(widget.id));
            EXPECT_NEAR(size.cx, s(widget.width), ScaleSlack(s)) << widget.name << " at " << s.dpi << " dpi";
            EXPECT_NEAR(size.cy, s(widget.height), ScaleSlack(s)) << widget.name << " at " << s.dpi << " dpi";
        }
    }

    // What the system sends when the window reaches a monitor of another
    // scale; without a suggested rectangle the window stays centred.
    void ChangeScale(DisplayScale s) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(program.MainWindow(), WM_DPICHANGED, MAKEWPARAM(s.dpi, s.dpi), 0, SMTO_ABORTIFHUNG, 5000,
                            &result);
        Sleep(300);  // painted
    }
};

TEST_F(DisplayScaleLayout, WindowAndWidgetsAreTheDesignsSizesScaled) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    ExpectDesignSizes(ScreenScale());
}

TEST_F(DisplayScaleLayout, ANewScaleLaysTheWindowOutAgainWithoutTheSettings) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    const DisplayScale own = ScreenScale();
    ShowPage(3, ctrl::memAbout);  // a page whose picture does not change with the ticks
    Sleep(300);
    const ScreenCapture before = ScreenCapture::OfClient(program.MainWindow());

    // Neither read (a failed load would say so) nor written (the key would come back).
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey), ERROR_SUCCESS);
    const DisplayScale larger{own.dpi * 3 / 2};
    ChangeScale(larger);
    ExpectDesignSizes(larger);
    ChangeScale(own);
    ExpectDesignSizes(own);
    HKEY settings = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &settings), ERROR_SUCCESS);
    if (settings != nullptr) RegCloseKey(settings);
    const HWND message = FindProcessWindow(program.Id(), "Tfrm_Message");
    EXPECT_FALSE(message != nullptr && IsWindowVisible(message)) << "a message came up";

    // Back at its own scale the window is the same picture again.
    ShowPage(3, ctrl::memAbout);
    Sleep(300);
    const ScreenCapture after = ScreenCapture::OfClient(program.MainWindow());
    ASSERT_EQ(after.Width(), before.Width());
    ASSERT_EQ(after.Height(), before.Height());
    int differing = 0;
    for (int y = 0; y < after.Height(); ++y) {
        for (int x = 0; x < after.Width(); ++x) differing += after.At(x, y) == before.At(x, y) ? 0 : 1;
    }
    EXPECT_EQ(differing, 0) << "pixels of the About page differ after the round trip";
}

}  // namespace
}  // namespace korbela::wine
