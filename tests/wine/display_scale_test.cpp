// The main window laid out at the display's scale: its client area and its
// drawn widgets are the design's sizes scaled (run at 96 and at 144 dpi).
#include <windows.h>
#include <commctrl.h>

#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

using DisplayScaleLayout = WineTest;

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

TEST_F(DisplayScaleLayout, WindowAndWidgetsAreTheDesignsSizesScaled) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    const DisplayScale s = ScreenScale();
    const SIZE window = ClientSize(program.MainWindow());
    EXPECT_NEAR(window.cx, s(473), 1) << "at " << s.dpi << " dpi";
    EXPECT_NEAR(window.cy, s(291), 1) << "at " << s.dpi << " dpi";

    struct Widget {
        int page, id, width, height;
        const char* name;
    };
    const Widget widgets[] = {
        {0, ctrl::pbrUsedRAM, 448, 21, "used RAM bar"},   {0, ctrl::pbrFreeRAM, 448, 21, "free RAM bar"},
        {0, ctrl::pbrTargetRAM, 341, 21, "target bar"},    {1, ctrl::scpGraph, 455, 105, "graph"},
        {1, ctrl::pbrCPU, 452, 21, "CPU bar"},
    };
    for (const Widget& widget : widgets) {
        SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, widget.page, 0);
        ASSERT_TRUE(WaitUntil([&] { return Visible(widget.id); }, std::chrono::seconds(5))) << widget.name;
        const SIZE size = ClientSize(program.Control(widget.id));
        EXPECT_NEAR(size.cx, s(widget.width), 1) << widget.name;
        EXPECT_NEAR(size.cy, s(widget.height), 1) << widget.name;
    }
}

}  // namespace
}  // namespace korbela::wine
