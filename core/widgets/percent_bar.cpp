#include "core/widgets/percent_bar.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "core/system/arithmetic.h"

namespace korbela {

namespace {

uint8_t Blend(uint8_t from, uint8_t to, int band, int lastBand) {
    if (lastBand <= 0) return from;
    const int value = from + MulDiv(band, to - from, lastBand);
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// Applies a caption format with one integer argument. Only %d and %% are
// understood; anything else, or a second %d, fails and gives nothing.
std::optional<std::string> FormatPercent(const std::string& format, int value) {
    std::string text;
    bool argumentUsed = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            text += format[i];
            continue;
        }
        if (i + 1 >= format.size()) return std::nullopt;
        const char conversion = format[++i];
        if (conversion == '%') {
            text += '%';
        } else if (conversion == 'd' && !argumentUsed) {
            text += std::to_string(value);
            argumentUsed = true;
        } else {
            return std::nullopt;
        }
    }
    return text;
}

// Without bevels the bar leaves a line of background along the top, right and
// bottom edges, one design pixel wide.
Rect TrackArea(int width, int height, DisplayScale scale) {
    const int edge = scale(1);
    return {0, edge, width - edge, height - edge};
}

// A gradient has as many bands over the bar as the design's width allows,
// whatever the scale: at 150 % each band is half as wide again.
int BandCount(const TGradient& gradient, int width, DisplayScale scale) {
    return std::min(gradient.Steps, scale.Design(width));
}

// How many of a gradient's bands are drawn: each while the filling reaches
// the band's start; compared exactly, PercentFilling >= 100 * i / bands.
int BandsDrawn(const TGradient& gradient, int bands) {
    for (int i = 0; i < bands; ++i) {
        if (static_cast<int64_t>(gradient.PercentFilling) * bands < 100LL * i) return i + 1;
    }
    return std::max(bands, 0);
}

bool GradientShown(const TGradient& gradient, const ICanvas& canvas) {
    return gradient.Active && gradient.Steps != 1 && canvas.BitsPerPixel() >= 16;
}

}  // namespace

void TPercentBar::SetPercent(int value) {
    if (value == percent_ || value < 0 || value > 100) return;
    percent_ = value;
    look_.Gradient.PercentFilling = value;
    NotifyChanged();
}

void TPercentBar::SetScale(DisplayScale scale) {
    if (scale == scale_ || scale.dpi <= 0) return;
    scale_ = scale;
    NotifyChanged();
}

void TPercentBar::SetLook(const TPercentBarLook& look) {
    TPercentBarLook next = look;
    next.Gradient.PercentFilling = percent_;
    if (next == look_) return;
    look_ = std::move(next);
    NotifyChanged();
}

void TPercentBar::ApplyPreset(PercentBarPreset preset) {
    TPercentBarLook look;  // what the four bars share
    look.Colors.Delineate = clGray;
    switch (preset) {
        case PercentBarPreset::UsedRAM:
            look.Gradient = {clLime, clRed, true, 255, 1};
            look.GradientBack = {clGreen, clMaroon, true, 255, 100};
            look.Font.fixedPitch = true;
            break;
        case PercentBarPreset::FreeRAM:
            look.Gradient = {clRed, clLime, true, 255, 1};
            look.GradientBack = {clMaroon, clGreen, true, 255, 100};
            look.Font.fixedPitch = true;
            break;
        case PercentBarPreset::TargetRAM:
            look.Gradient = {clBlue, TColor{128, 255, 255}, true, 255, 1};
            look.GradientBack = {clNavy, clNavy, true, 255, 100};
            break;
        case PercentBarPreset::CPU:
            look.Gradient = {clLime, clRed, true, 255, 1};
            look.GradientBack = {clGreen, clMaroon, true, 255, 100};
            look.DelineatedText = true;
            look.Colors.Delineate = clBlack;
            look.Colors.Highlight = clWhite;
            break;
    }
    SetLook(look);
}

std::string TPercentBar::CaptionText() const {
    return FormatPercent(look_.Caption, percent_).value_or(look_.Caption);
}

void TPercentBar::Paint(ICanvas& canvas, int width, int height) const {
    if (width <= 0 || height <= 0) return;
    DrawBar(canvas, width, height, &look_.Gradient);
    DrawCaption(canvas, width, height);
}

void TPercentBar::PaintTrack(ICanvas& canvas, int width, int height, bool filled) const {
    if (width <= 0 || height <= 0) return;
    TGradient full = look_.Gradient;
    full.PercentFilling = 100;
    DrawBar(canvas, width, height, filled ? &full : nullptr);
}

int TPercentBar::FillEnd(const ICanvas& canvas, int width, int height) const {
    const Rect area = TrackArea(width, height, scale_);
    const int w = area.Width();
    const int bands = BandCount(look_.Gradient, w, scale_);
    if (!GradientShown(look_.Gradient, canvas) || bands <= 0) return area.left;
    return area.left + MulDiv(BandsDrawn(look_.Gradient, bands), w, bands);
}

void TPercentBar::PaintCaption(ICanvas& canvas, int width, int height) const {
    if (width <= 0 || height <= 0) return;
    DrawCaption(canvas, width, height);
}

void TPercentBar::DrawBar(ICanvas& canvas, int width, int height, const TGradient* fill) const {
    canvas.FillRect({0, 0, width, height}, look_.Colors.Background);
    if (!ShowsTrack()) return;
    const Rect area = TrackArea(width, height, scale_);
    DrawGradient(canvas, look_.GradientBack, area);
    if (fill) DrawGradient(canvas, *fill, area);
    // The segments keep their design count: the stride is scaled as a whole
    // and the gap takes its scaled share of it.
    const int stride = scale_(look_.Step + look_.Interspace);
    const int gap = std::min(scale_(look_.Interspace), stride);
    if (look_.Interspace > 0 && stride > 0) {
        for (int x = area.left; x < area.right; x += stride) {
            const int right = std::min(x + gap, area.right);
            canvas.FillRect({x, area.top, right, area.bottom}, look_.Colors.Background);
        }
    }
}

void TPercentBar::DrawGradient(ICanvas& canvas, const TGradient& gradient,
                               const Rect& area) const {
    if (!GradientShown(gradient, canvas)) return;
    const int w = area.Width();
    const int bands = BandCount(gradient, w, scale_);
    const int drawn = BandsDrawn(gradient, bands);
    for (int i = 0; i < drawn; ++i) {
        const TColor color{Blend(gradient.FromColor.r, gradient.ToColor.r, i, bands - 1),
                           Blend(gradient.FromColor.g, gradient.ToColor.g, i, bands - 1),
                           Blend(gradient.FromColor.b, gradient.ToColor.b, i, bands - 1)};
        canvas.FillRect({area.left + MulDiv(i, w, bands), area.top,
                         area.left + MulDiv(i + 1, w, bands), area.bottom},
                        color);
    }
}

void TPercentBar::DrawCaption(ICanvas& canvas, int width, int height) const {
    const std::string text = CaptionText();
    FontSpec font = look_.Font;
    font.height = scale_.FontHeight(font.height);
    const int one = scale_(1);
    const int two = scale_(2);
    Size extent = canvas.TextExtent(text, font);
    if (look_.CaptionStyle == TTextStyle::fstVolumetric) {
        extent.cx += two;
        extent.cy += two;
    }
    if (look_.DelineatedText) {
        extent.cx += two;
        extent.cy += two;
    }
    const int x = (width - extent.cx) / 2;
    const int y = (height - extent.cy) / 2;

    canvas.SetClip({0, 0, width, height});
    if (look_.CaptionStyle == TTextStyle::fstVolumetric) {
        canvas.TextOut(x + one, y + one, text, font, look_.Colors.Shadow);
        canvas.TextOut(x + two, y + two, text, font, look_.Colors.Shadow);
    }
    if (look_.DelineatedText) {
        const TColor outline = look_.Colors.Delineate;
        canvas.TextOut(x, y, text, font, outline);
        canvas.TextOut(x + two, y + two, text, font, outline);
        canvas.TextOut(x, y + two, text, font, outline);
        canvas.TextOut(x + two, y, text, font, outline);
        canvas.TextOut(x + one, y + one, text, font, look_.FontColor);
    } else {
        canvas.TextOut(x, y, text, font, look_.FontColor);
    }
    canvas.ResetClip();
}

void TPercentBar::NotifyChanged() {
    if (Changed) Changed();
}

}  // namespace korbela
