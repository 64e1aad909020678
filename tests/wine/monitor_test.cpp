// The Monitor page as it reaches the screen: grid, base line, traces, CPU bar.
#include <windows.h>
#include <commctrl.h>

#include "harness/screen_capture.h"
#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

using Monitor = WineTest;

constexpr Rgb kGray{128, 128, 128};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLime{0, 255, 0};
constexpr Rgb kBlack{0, 0, 0};

TEST_F(Monitor, GraphShowsGridBaseLineAndTracesAfterSomeTicks) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, 1, 0);
    ASSERT_TRUE(WaitUntil([this] { return Visible(ctrl::scpGraph); }));
    Sleep(3500);  // a few ticks at one second

    HWND graph = program.Control(ctrl::scpGraph);
    const ScreenCapture shot = ScreenCapture::OfClient(graph);
    ASSERT_EQ(shot.Width(), 455);
    ASSERT_EQ(shot.Height(), 105);
    const ScreenCapture window = ScreenCapture::OfClient(program.MainWindow());
    window.SaveBmp(BinFolder() + "monitor_page.bmp");

    // Vertical grid every 10 pixels, seen in the top rows away from the traces.
    for (int x = 0; x <= 440; x += 10) EXPECT_EQ(shot.At(x, 1), kGray) << "x " << x;
    EXPECT_EQ(shot.At(5, 1), kBlack);
    // The base line marks the 50 % target: 105 - round(52.5) - 1 = 52.
    int white = 0;
    for (int x = 1; x < 400; ++x) white += shot.At(x, 52) == kWhite;
    EXPECT_GT(white, 300) << "the white base line runs across at row 52";
    // The free RAM trace starts at the right edge.
    bool lime = false;
    for (int x = 440; x < 455; ++x)
        for (int y = 0; y < 105; ++y) lime = lime || shot.At(x, y) == kLime;
    EXPECT_TRUE(lime) << "lime trace pixels at the right edge";

    const ScreenCapture cpu = ScreenCapture::OfClient(program.Control(ctrl::pbrCPU));
    ASSERT_EQ(cpu.Width(), 452);
    EXPECT_EQ(cpu.At(300, 0), kBlack) << "the bar's black margin";
    EXPECT_EQ(cpu.At(400, 10), kBlack) << "the unfilled part of a 1 % bar is black between segments";
}

}  // namespace
}  // namespace korbela::wine
