#include "core/widgets/percent_bar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/widgets/recording_canvas.h"

namespace korbela {
namespace {

constexpr int kBarHeight = 21;
constexpr int kMiddleRow = 10;

TPercentBar MakeBar(PercentBarPreset preset, int percent) {
    TPercentBar bar;
    bar.ApplyPreset(preset);
    bar.SetPercent(percent);
    return bar;
}

RecordingCanvas PaintBar(const TPercentBar& bar, int width, int bitsPerPixel = 32) {
    RecordingCanvas canvas(bitsPerPixel);
    bar.Paint(canvas, width, kBarHeight);
    return canvas;
}

TColor PixelAt(const RecordingCanvas& canvas, int x, int y) {
    const auto color = canvas.FillColorAt(x, y);
    EXPECT_TRUE(color.has_value()) << "nothing painted at " << x << "," << y;
    return color.value_or(clFuchsia);
}

TEST(PercentBarFill, CoversTheShareOfA448PixelBar) {
    struct Case {
        int percent, filledPixels;
    };
    const Case cases[] = {{1, 7}, {50, 226}, {99, 445}, {100, 447}};
    for (const Case& c : cases) {
        // Without the track and the gaps the fill's own extent shows.
        TPercentBar bar = MakeBar(PercentBarPreset::UsedRAM, c.percent);
        TPercentBarLook look = bar.Look();
        look.GradientBack.Active = false;
        look.Interspace = 0;
        bar.SetLook(look);
        const RecordingCanvas canvas = PaintBar(bar, 448);
        int filled = 0;
        for (int x = 0; x < 448; ++x) {
            if (PixelAt(canvas, x, kMiddleRow) != clBlack) ++filled;
        }
        EXPECT_EQ(filled, c.filledPixels) << c.percent << "%";
    }
}

TEST(PercentBarFill, EndsInTheColourOfItsShareOfTheGradient) {
    struct Case {
        PercentBarPreset preset;
        int percent, lastColumn;
        TColor expected;
    };
    const Case cases[] = {
        {PercentBarPreset::UsedRAM, 50, 225, TColor{129, 126, 0}},  // olive, half-way
        {PercentBarPreset::CPU, 50, 225, TColor{129, 126, 0}},
        {PercentBarPreset::UsedRAM, 100, 446, clRed},
        {PercentBarPreset::FreeRAM, 100, 446, clLime},
        {PercentBarPreset::TargetRAM, 100, 446, TColor{128, 255, 255}},
    };
    for (const Case& c : cases) {
        const RecordingCanvas canvas = PaintBar(MakeBar(c.preset, c.percent), 448);
        EXPECT_EQ(PixelAt(canvas, c.lastColumn, kMiddleRow), c.expected) << c.percent << "%";
    }
}

TEST(PercentBarFill, ShowsTheDarkerTrackBeyondTheFill) {
    const RecordingCanvas canvas = PaintBar(MakeBar(PercentBarPreset::UsedRAM, 50), 448);
    EXPECT_EQ(PixelAt(canvas, 1, kMiddleRow), clLime);                  // fill starts in lime
    EXPECT_EQ(PixelAt(canvas, 226, kMiddleRow), (TColor{65, 63, 0}));   // track, half-way
    EXPECT_EQ(PixelAt(canvas, 446, kMiddleRow), clMaroon);              // track ends in maroon
}

TEST(PercentBarSegments, GapsAndEdgesShowTheBackground) {
    const RecordingCanvas canvas = PaintBar(MakeBar(PercentBarPreset::UsedRAM, 100), 448);
    for (int x = 0; x < 447; x += 4) {
        for (int y = 1; y < kBarHeight - 1; ++y) {
            ASSERT_EQ(PixelAt(canvas, x, y), clBlack) << "gap at " << x << "," << y;
        }
        EXPECT_NE(PixelAt(canvas, x + 1, kMiddleRow), clBlack) << "segment at " << x + 1;
    }
    for (int x = 0; x < 448; ++x) {
        EXPECT_EQ(PixelAt(canvas, x, 0), clBlack) << "top edge at " << x;
        EXPECT_EQ(PixelAt(canvas, x, kBarHeight - 1), clBlack) << "bottom edge at " << x;
    }
    for (int y = 0; y < kBarHeight; ++y) {
        EXPECT_EQ(PixelAt(canvas, 447, y), clBlack) << "right edge at " << y;
    }
}

struct Text {
    int x, y;
    TColor color;
    friend bool operator==(const Text&, const Text&) = default;
};

std::vector<Text> TextsOf(const RecordingCanvas& canvas, const std::string& expectedText) {
    std::vector<Text> texts;
    for (const CanvasCall& call : canvas.TextCalls()) {
        EXPECT_EQ(call.text, expectedText);
        texts.push_back({call.to.x, call.to.y, call.color});
    }
    return texts;
}

TEST(PercentBarCaption, VolumetricCaptionSitsCentredOnTwoShadows) {
    // "50%" measures 18 x 11 on the recording canvas, 20 x 13 with the
    // volumetric style: x = (448 - 20) / 2, y = (21 - 13) / 2.
    const RecordingCanvas canvas = PaintBar(MakeBar(PercentBarPreset::UsedRAM, 50), 448);
    const std::vector<Text> expected = {{215, 5, clBlack}, {216, 6, clBlack}, {214, 4, clWhite}};
    EXPECT_EQ(TextsOf(canvas, "50%"), expected);
}

TEST(PercentBarCaption, CpuCaptionHasABlackOutlineAndItsFaceOnePixelInside) {
    // The outline adds 2 more: 22 x 15, so x = (452 - 22) / 2 = 215, y = 3.
    const RecordingCanvas canvas = PaintBar(MakeBar(PercentBarPreset::CPU, 37), 452);
    const std::vector<Text> expected = {
        {216, 4, clBlack}, {217, 5, clBlack},                                       // shadow
        {215, 3, clBlack}, {217, 5, clBlack}, {215, 5, clBlack}, {217, 3, clBlack},  // outline
        {216, 4, clWhite},                                                          // face
    };
    EXPECT_EQ(TextsOf(canvas, "37%"), expected);
}

TEST(PercentBarCaption, IsDrawnInTahomaClippedToTheBar) {
    const RecordingCanvas canvas = PaintBar(MakeBar(PercentBarPreset::FreeRAM, 12), 448);
    const auto& calls = canvas.Calls();
    std::size_t clip = calls.size();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].kind == CanvasCall::Kind::SetClip) clip = i;
    }
    ASSERT_LT(clip, calls.size());
    EXPECT_EQ(calls[clip].rect, (Rect{0, 0, 448, kBarHeight}));
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].kind == CanvasCall::Kind::TextOut) {
            EXPECT_GT(i, clip);
        }
    }
    EXPECT_EQ(calls.back().kind, CanvasCall::Kind::ResetClip);
    const FontSpec font = canvas.TextCalls().front().font;
    EXPECT_EQ(font.face, "Tahoma");
    EXPECT_EQ(font.height, 11);
    EXPECT_TRUE(font.fixedPitch);
    EXPECT_FALSE(MakeBar(PercentBarPreset::CPU, 12).Look().Font.fixedPitch);
}

TEST(PercentBarCaption, ShowsTheFormatUnformattedWhenItCannotBeApplied) {
    struct Case {
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        {"%d%%", "37%"},
        {"CPU %d%%", "CPU 37%"},
        {"Load", "Load"},
        {"%s%%", "%s%%"},
        {"%d of %d", "%d of %d"},
        {"50%", "50%"},
    };
    for (const Case& c : cases) {
        TPercentBar bar = MakeBar(PercentBarPreset::CPU, 37);
        TPercentBarLook look = bar.Look();
        look.Caption = c.format;
        bar.SetLook(look);
        EXPECT_EQ(bar.CaptionText(), c.expected) << c.format;
    }
}

TEST(PercentBarPercent, IgnoresUnchangedAndOutOfRangeValues) {
    TPercentBar bar = MakeBar(PercentBarPreset::UsedRAM, 40);
    int repaints = 0;
    bar.Changed = [&] { ++repaints; };
    for (int ignored : {150, -5, 101, 40}) {
        bar.SetPercent(ignored);
        EXPECT_EQ(bar.Percent(), 40) << ignored;
        EXPECT_EQ(bar.CaptionText(), "40%") << ignored;
    }
    EXPECT_EQ(repaints, 0);
    bar.SetPercent(41);
    EXPECT_EQ(bar.Percent(), 41);
    EXPECT_EQ(repaints, 1);
}

TEST(PercentBarPercent, AllFourBarsStartAtOnePercent) {
    for (PercentBarPreset preset : {PercentBarPreset::UsedRAM, PercentBarPreset::FreeRAM,
                                    PercentBarPreset::TargetRAM, PercentBarPreset::CPU}) {
        TPercentBar bar;
        bar.ApplyPreset(preset);
        EXPECT_EQ(bar.CaptionText(), "1%");
    }
}

TEST(PercentBarPercent, ZeroShowsABlackBarWithItsCaption) {
    TPercentBar bar = MakeBar(PercentBarPreset::UsedRAM, 0);
    const RecordingCanvas canvas = PaintBar(bar, 448);
    int fills = 0;
    for (const CanvasCall& call : canvas.Calls()) {
        if (call.kind != CanvasCall::Kind::FillRect) continue;
        ++fills;
        EXPECT_EQ(call.color, clBlack);
    }
    EXPECT_EQ(fills, 1);  // the background only: no gradients, no segments
    EXPECT_EQ(canvas.TextCalls().back().text, "0%");
}

TEST(PercentBarPercent, ChangingTheLookRepaintsOnlyWhenItDiffers) {
    TPercentBar bar = MakeBar(PercentBarPreset::UsedRAM, 30);
    int repaints = 0;
    bar.Changed = [&] { ++repaints; };
    bar.ApplyPreset(PercentBarPreset::UsedRAM);
    EXPECT_EQ(repaints, 0);
    TPercentBarLook look = bar.Look();
    look.Gradient.PercentFilling = 90;  // the filling follows the percent
    bar.SetLook(look);
    EXPECT_EQ(repaints, 0);
    EXPECT_EQ(bar.Look().Gradient.PercentFilling, 30);
    bar.ApplyPreset(PercentBarPreset::CPU);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(bar.Percent(), 30);
}

TEST(PercentBarDisplay, DrawsNoGradientsBelowSixteenBitsPerPixel) {
    const TPercentBar bar = MakeBar(PercentBarPreset::UsedRAM, 60);
    for (int bits : {1, 4, 8}) {
        const RecordingCanvas canvas = PaintBar(bar, 448, bits);
        int fills = 0;
        for (const CanvasCall& call : canvas.Calls()) {
            if (call.kind != CanvasCall::Kind::FillRect) continue;
            ++fills;
            EXPECT_EQ(call.color, clBlack) << bits << " bpp";
        }
        EXPECT_EQ(fills, 1 + 112) << bits << " bpp";  // background and the gaps
        EXPECT_EQ(canvas.TextCalls().size(), 3u) << bits << " bpp";
    }
    const RecordingCanvas canvas = PaintBar(bar, 448, 16);
    EXPECT_NE(PixelAt(canvas, 1, kMiddleRow), clBlack);
}

TEST(PercentBarDisplay, OddSizesPaintWithoutSegmentsGoingAstray) {
    struct Case {
        int width, height, step, interspace;
    };
    const Case cases[] = {{448, 21, 0, 0}, {448, 21, -1, 1}, {1, 21, 3, 1},
                          {2, 2, 3, 1},    {0, 0, 3, 1},     {-5, -5, 3, 1}};
    for (const Case& c : cases) {
        TPercentBar bar = MakeBar(PercentBarPreset::UsedRAM, 100);
        TPercentBarLook look = bar.Look();
        look.Step = c.step;
        look.Interspace = c.interspace;
        bar.SetLook(look);
        RecordingCanvas canvas;
        bar.Paint(canvas, c.width, c.height);
        for (const CanvasCall& call : canvas.Calls()) {
            if (call.kind != CanvasCall::Kind::FillRect) continue;
            EXPECT_LE(call.rect.left, call.rect.right) << c.width << "x" << c.height;
            EXPECT_LE(call.rect.right, std::max(c.width, 0)) << c.width << "x" << c.height;
        }
    }
}

// At 150 % (144 dpi) a 448 x 21 bar is 672 x 32 pixels.
constexpr DisplayScale kOneAndAHalf{144};
constexpr int kScaledWidth = 672;
constexpr int kScaledHeight = 32;

RecordingCanvas PaintScaledBar(TPercentBar bar, int width = kScaledWidth) {
    bar.SetScale(kOneAndAHalf);
    RecordingCanvas canvas;
    bar.Paint(canvas, width, kScaledHeight);
    return canvas;
}

TEST(PercentBarScale, KeepsTheDesignsBandCountOverTheScaledWidth) {
    // Without the track and the gaps each band is one fill after the background.
    TPercentBar bar = MakeBar(PercentBarPreset::UsedRAM, 100);
    TPercentBarLook look = bar.Look();
    look.GradientBack.Active = false;
    look.Interspace = 0;
    bar.SetLook(look);
    const RecordingCanvas canvas = PaintScaledBar(bar);
    std::vector<Rect> bands;
    for (const CanvasCall& call : canvas.Calls()) {
        if (call.kind == CanvasCall::Kind::FillRect) bands.push_back(call.rect);
    }
    ASSERT_EQ(bands.size(), 1u + 255u);
    bands.erase(bands.begin());  // the background
    int left = 0;
    for (const Rect& band : bands) {
        EXPECT_EQ(band.left, left);
        EXPECT_TRUE(band.Width() == 2 || band.Width() == 3) << "band at " << band.left << " is " << band.Width();
        EXPECT_EQ(band.top, 2);
        EXPECT_EQ(band.bottom, kScaledHeight - 2);
        left = band.right;
    }
    EXPECT_EQ(left, kScaledWidth - 2);  // 447 design pixels of track, 670 here
}

TEST(PercentBarScale, FillEndsAtTheScaledShareOfTheTrack) {
    struct Case {
        int percent, fillEnd;
    };
    // 7, 226, 445 and 447 design pixels, half as wide again to the band.
    const Case cases[] = {{1, 11}, {50, 339}, {99, 667}, {100, 670}};
    for (const Case& c : cases) {
        TPercentBar bar = MakeBar(PercentBarPreset::UsedRAM, c.percent);
        bar.SetScale(kOneAndAHalf);
        const RecordingCanvas canvas;
        EXPECT_EQ(bar.FillEnd(canvas, kScaledWidth, kScaledHeight), c.fillEnd) << c.percent << "%";
    }
}

TEST(PercentBarScale, SegmentsGapsAndEdgesGrowByHalf) {
    // Segments 4 wide with gaps of 2: the design's 112 segments over the track.
    const RecordingCanvas canvas = PaintScaledBar(MakeBar(PercentBarPreset::UsedRAM, 100));
    const int trackRight = kScaledWidth - 2;
    int segments = 0;
    for (int x = 0; x < trackRight; x += 6) {
        for (int y = 2; y < kScaledHeight - 2; ++y) {
            ASSERT_EQ(PixelAt(canvas, x, y), clBlack) << "gap at " << x << "," << y;
            ASSERT_EQ(PixelAt(canvas, x + 1, y), clBlack) << "gap at " << x + 1 << "," << y;
        }
        for (int column = x + 2; column < std::min(x + 6, trackRight); ++column) {
            EXPECT_NE(PixelAt(canvas, column, kScaledHeight / 2), clBlack) << "segment at " << column;
        }
        ++segments;
    }
    EXPECT_EQ(segments, 112);
    for (int x = 0; x < kScaledWidth; ++x) {
        for (int y : {0, 1, kScaledHeight - 2, kScaledHeight - 1}) {
            EXPECT_EQ(PixelAt(canvas, x, y), clBlack) << "top or bottom edge at " << x << "," << y;
        }
    }
    for (int y = 0; y < kScaledHeight; ++y) {
        EXPECT_EQ(PixelAt(canvas, trackRight, y), clBlack) << "right edge at " << y;
        EXPECT_EQ(PixelAt(canvas, trackRight + 1, y), clBlack) << "right edge at " << y;
    }
}

TEST(PercentBarScale, CaptionIsDrawnInTheScaledFontWithScaledShadowsAndOutline) {
    struct Case {
        PercentBarPreset preset;
        int percent, width;
        std::vector<Text> expected;
    };
    // "50%" measures 18 x 16 in the 16-pixel font (16.5 rounded down); the
    // styles add 3 each.
    const Case cases[] = {
        {PercentBarPreset::UsedRAM, 50, kScaledWidth, {{327, 8, clBlack}, {328, 9, clBlack}, {325, 6, clWhite}}},
        {PercentBarPreset::CPU, 37, 678,
         {{329, 7, clBlack}, {330, 8, clBlack},
          {327, 5, clBlack}, {330, 8, clBlack}, {327, 8, clBlack}, {330, 5, clBlack},
          {329, 7, clWhite}}},
    };
    for (const Case& c : cases) {
        const RecordingCanvas canvas = PaintScaledBar(MakeBar(c.preset, c.percent), c.width);
        EXPECT_EQ(TextsOf(canvas, std::to_string(c.percent) + "%"), c.expected) << c.percent << "%";
        EXPECT_EQ(canvas.TextCalls().front().font.height, 16);
    }
}

TEST(PercentBarScale, ChangingTheScaleRepaintsAndKeepsThePercent) {
    TPercentBar bar = MakeBar(PercentBarPreset::CPU, 42);
    int repaints = 0;
    bar.Changed = [&] { ++repaints; };
    bar.SetScale(DisplayScale{});
    EXPECT_EQ(repaints, 0);
    bar.SetScale(kOneAndAHalf);
    bar.SetScale(kOneAndAHalf);
    bar.SetScale(DisplayScale{0});
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(bar.Scale(), kOneAndAHalf);
    EXPECT_EQ(bar.Percent(), 42);
}

}  // namespace
}  // namespace korbela
