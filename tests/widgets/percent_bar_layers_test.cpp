// The bar's picture put together from its two tracks, its fill's end and its
// caption is the picture Paint draws, for every percent.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/widgets/percent_bar.h"
#include "core/widgets/recording_canvas.h"

namespace korbela {
namespace {

// Keeps the colour of every pixel that rectangles cover; text and lines are
// left out, which the caption's own test covers.
class PixelCanvas : public ICanvas {
public:
    PixelCanvas(int width, int height, int bitsPerPixel = 32)
        : width_(width), height_(height), bitsPerPixel_(bitsPerPixel),
          pixels_(static_cast<std::size_t>(width) * height, clFuchsia) {}

    TColor At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    void Set(int x, int y, TColor color) { pixels_[static_cast<std::size_t>(y) * width_ + x] = color; }

    void FillRect(const Rect& rect, TColor color) override {
        for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, height_); ++y) {
            for (int x = std::max(rect.left, 0); x < std::min(rect.right, width_); ++x) Set(x, y, color);
        }
    }
    void SetPen(TColor, int) override {}
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    Size TextExtent(std::string_view, const FontSpec&) override { return {}; }
    void TextOut(int, int, std::string_view, const FontSpec&, TColor) override {}
    void SetClip(const Rect&) override {}
    void ResetClip() override {}
    int BitsPerPixel() const override { return bitsPerPixel_; }

private:
    int width_;
    int height_;
    int bitsPerPixel_;
    std::vector<TColor> pixels_;
};

// Paint's pixels and the layered ones for every percent with a track, compared.
void ExpectLayersMatchPaint(TPercentBar bar, int width, int height, int bitsPerPixel = 32) {
    // The tracks do not change with the percent: drawn once.
    bar.SetPercent(37);
    PixelCanvas empty(width, height, bitsPerPixel);
    PixelCanvas filled(width, height, bitsPerPixel);
    bar.PaintTrack(empty, width, height, false);
    bar.PaintTrack(filled, width, height, true);
    for (int percent = 0; percent <= 100; ++percent) {
        bar.SetPercent(percent);
        ASSERT_EQ(bar.ShowsTrack(), percent > 0);
        if (!bar.ShowsTrack()) continue;
        PixelCanvas painted(width, height, bitsPerPixel);
        bar.Paint(painted, width, height);
        const int fillEnd = bar.FillEnd(painted, width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const TColor layered = x < fillEnd ? filled.At(x, y) : empty.At(x, y);
                ASSERT_EQ(painted.At(x, y), layered) << percent << "% at " << x << "," << y << ", " << width
                                                     << " x " << height;
            }
        }
    }
}

TEST(PercentBarLayers, MakeThePictureOfEveryPresetAtEveryPercent) {
    // Each at the size the main window gives it.
    const struct {
        PercentBarPreset preset;
        int width;
        int height;
    } bars[] = {{PercentBarPreset::UsedRAM, 448, 21},
                {PercentBarPreset::FreeRAM, 448, 21},
                {PercentBarPreset::TargetRAM, 341, 21},
                {PercentBarPreset::CPU, 452, 21}};
    for (const auto& each : bars) {
        TPercentBar bar;
        bar.ApplyPreset(each.preset);
        ExpectLayersMatchPaint(bar, each.width, each.height);
    }
}

TEST(PercentBarLayers, MakeThePictureOfOtherLooksAndSizes) {
    TPercentBar bar;
    TPercentBarLook look = bar.Look();
    look.Gradient.Steps = 7;  // fewer bands than columns
    look.Step = 5;
    look.Interspace = 2;
    bar.SetLook(look);
    for (int width : {1, 2, 3, 10, 101}) {
        for (int height : {1, 2, 3, 21}) ExpectLayersMatchPaint(bar, width, height);
    }
    look.Interspace = 0;  // no gaps
    look.GradientBack.Active = false;
    bar.SetLook(look);
    ExpectLayersMatchPaint(bar, 60, 9);
    look.Gradient.Active = false;  // no fill
    bar.SetLook(look);
    ExpectLayersMatchPaint(bar, 60, 9);
    look.Gradient.Active = true;
    look.Gradient.Steps = 1;  // a one-band gradient is not drawn
    bar.SetLook(look);
    ExpectLayersMatchPaint(bar, 60, 9);
}

TEST(PercentBarLayers, MakeThePictureOnFewColours) {
    TPercentBar bar;
    ExpectLayersMatchPaint(bar, 448, 21, 8);  // no gradients below 16 bits a pixel
}

TEST(PercentBarLayers, CaptionIsWhatPaintDrawsLast) {
    TPercentBar bar;
    bar.ApplyPreset(PercentBarPreset::CPU);
    bar.SetPercent(63);
    RecordingCanvas painted;
    bar.Paint(painted, 452, 21);
    RecordingCanvas caption;
    bar.PaintCaption(caption, 452, 21);
    ASSERT_FALSE(caption.Calls().empty());
    ASSERT_LE(caption.Calls().size(), painted.Calls().size());
    const std::size_t start = painted.Calls().size() - caption.Calls().size();
    for (std::size_t i = 0; i < caption.Calls().size(); ++i) {
        const CanvasCall& expected = painted.Calls()[start + i];
        const CanvasCall& actual = caption.Calls()[i];
        EXPECT_EQ(actual.kind, expected.kind) << i;
        EXPECT_EQ(actual.to, expected.to) << i;
        EXPECT_EQ(actual.text, expected.text) << i;
        EXPECT_EQ(actual.color, expected.color) << i;
        EXPECT_EQ(actual.rect, expected.rect) << i;
    }
    // Everything before the caption is rectangles.
    for (std::size_t i = 0; i < start; ++i) EXPECT_EQ(painted.Calls()[i].kind, CanvasCall::Kind::FillRect) << i;
}

}  // namespace
}  // namespace korbela
