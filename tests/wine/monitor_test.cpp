// The Monitor page as it reaches the screen: grid, base line, traces, CPU bar,
// at the display's scale (run at 96 and at 144 dpi).
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <numeric>
#include <vector>

#include "core/system/arithmetic.h"
#include "core/widgets/percent_bar.h"
#include "harness/screen_capture.h"
#include "harness/wine_test.h"
#include "win32/widgets/gdi_canvas.h"

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

    // The design's figures at the display's scale: to the pixel at 96 dpi.
    const DisplayScale s = ScreenScale();
    HWND graph = program.Control(ctrl::scpGraph);
    const ScreenCapture shot = ScreenCapture::OfClient(graph);
    ASSERT_NEAR(shot.Width(), s(455), ScaleSlack(s));
    ASSERT_EQ(shot.Height(), s(105));
    const ScreenCapture window = ScreenCapture::OfClient(program.MainWindow());
    window.SaveBmp(BinFolder() + ScaledFileName("monitor_page", ".bmp"));

    // The base line marks the 50 % target: H - round(H / 2) - 1, 52 at 96 dpi.
    const int baseRow = shot.Height() - static_cast<int>(RoundHalfEvenQuotient(shot.Height() * 50, 100)) - 1;
    int white = 0;
    for (int x = 1; x < s(400); ++x) white += shot.At(x, baseRow) == kWhite;
    EXPECT_GT(white, s(300)) << "the white base line runs across at row " << baseRow;
    // Vertical grid every 10 design pixels, seen half-way between two
    // horizontal lines away from the traces; a line wider than a pixel
    // stands on both sides of its x.
    const int grid = s(10);
    const int row = baseRow - grid / 2;
    for (int x = 0; x <= s(440); x += grid) {
        EXPECT_TRUE(shot.At(x, row) == kGray || shot.At(x - 1, row) == kGray) << "x " << x;
    }
    EXPECT_EQ(shot.At(grid / 2, row), kBlack);
    // The free RAM trace starts at the right edge.
    bool lime = false;
    for (int x = shot.Width() - s(15); x < shot.Width(); ++x)
        for (int y = 0; y < shot.Height(); ++y) lime = lime || shot.At(x, y) == kLime;
    EXPECT_TRUE(lime) << "lime trace pixels at the right edge";

    const ScreenCapture cpu = ScreenCapture::OfClient(program.Control(ctrl::pbrCPU));
    ASSERT_NEAR(cpu.Width(), s(452), ScaleSlack(s));
    EXPECT_EQ(cpu.At(s(300), 0), kBlack) << "the bar's black margin";
    EXPECT_EQ(cpu.At(s(400), s(10)), kBlack) << "the unfilled part of a 1 % bar is black between segments";
}

// What reaches the screen of a percent bar is the core's drawing of the same
// bar, pixel for pixel: the program's kept tracks and copies change nothing.
TEST_F(Monitor, PercentBarsOnScreenAreTheCoresDrawingPixelForPixel) {
    ASSERT_TRUE(StartShown());
    const struct {
        int page;
        int control;
        PercentBarPreset preset;
        int percent;  // the stored target; a CPU load Wine cannot read shows 1
    } bars[] = {{0, ctrl::pbrTargetRAM, PercentBarPreset::TargetRAM, 50}, {1, ctrl::pbrCPU, PercentBarPreset::CPU, 1}};
    HDC screen = GetDC(nullptr);
    for (const auto& bar : bars) {
        SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, bar.page, 0);
        ASSERT_TRUE(WaitUntil([&] { return Visible(bar.control); }));
        Sleep(300);  // painted
        const ScreenCapture shot = ScreenCapture::OfClient(program.Control(bar.control));
        TPercentBar model;
        model.ApplyPreset(bar.preset);
        model.SetScale(ScreenScale());
        model.SetPercent(bar.percent);
        GdiCanvas canvas(screen, shot.Width(), shot.Height());
        model.Paint(canvas, shot.Width(), shot.Height());
        const std::vector<uint32_t> drawn = canvas.Pixels();
        ASSERT_EQ(drawn.size(), shot.Pixels().size()) << "control " << bar.control;
        const int differing = std::inner_product(drawn.begin(), drawn.end(), shot.Pixels().begin(), 0, std::plus<>(),
                                                 [](uint32_t a, uint32_t b) { return (a ^ b) & 0xFFFFFF ? 1 : 0; });
        EXPECT_GT(shot.Width() * shot.Height(), 0) << "control " << bar.control;
        EXPECT_EQ(differing, 0) << "control " << bar.control << ", " << shot.Width() << "x" << shot.Height();
    }
    ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace korbela::wine
