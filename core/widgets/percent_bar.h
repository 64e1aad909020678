// Segmented, gradient-filled percent bar with a centred three-dimensional caption.
// The bar holds only its look and its percent; Paint draws it from them.
#pragma once

#include <functional>
#include <string>

#include "core/widgets/canvas.h"
#include "core/system/display_scale.h"

namespace korbela {

// Colour bands side by side from left to right.
struct TGradient {
    TColor FromColor;
    TColor ToColor;
    bool Active = false;
    int Steps = 255;
    int PercentFilling = 100;  // share of the bands drawn, from the left

    friend bool operator==(const TGradient&, const TGradient&) = default;
};

struct TPercentBarColors {
    TColor Delineate = clWhite;  // outline of the caption
    TColor Shadow = clBlack;     // caption shadow
    TColor Highlight = clWhite;
    TColor Background = clBlack;  // segment gaps and the empty bar

    friend bool operator==(const TPercentBarColors&, const TPercentBarColors&) = default;
};

enum class TTextStyle { fstNone, fstVolumetric };

// What the four bars of the main window share, in the used RAM bar's colours.
struct TPercentBarLook {
    std::string Caption = "%d%%";  // format with one integer argument, the percent
    TTextStyle CaptionStyle = TTextStyle::fstVolumetric;
    bool DelineatedText = false;  // fpoDelineatedText: outlined caption
    int Step = 3;                 // width of a segment
    int Interspace = 1;           // width of the gap between segments
    TPercentBarColors Colors;
    TGradient Gradient{clLime, clRed, true, 255, 1};          // the fill
    TGradient GradientBack{clGreen, clMaroon, true, 255, 100};  // the track
    FontSpec Font;
    TColor FontColor = clWhite;

    friend bool operator==(const TPercentBarLook&, const TPercentBarLook&) = default;
};

// The four bars of the main window.
enum class PercentBarPreset { UsedRAM, FreeRAM, TargetRAM, CPU };

class TPercentBar {
public:
    // A new bar looks like the used RAM bar.
    TPercentBar() { ApplyPreset(PercentBarPreset::UsedRAM); }

    int Percent() const { return percent_; }
    // Ignored when unchanged or outside 0..100; otherwise stored as the
    // percent and the gradient's filling, and redrawn.
    void SetPercent(int value);

    const TPercentBarLook& Look() const { return look_; }
    // Redraws when the look differs from the current one. The gradient's
    // filling follows the percent whatever the new look says.
    void SetLook(const TPercentBarLook& look);
    void ApplyPreset(PercentBarPreset preset);

    // The display the bar is drawn for: its edges, segments, caption font
    // (rounded down, as every font) and shadows are the look's figures scaled, and its gradients keep the
    // design's number of bands over the scaled width. Redraws when it changes.
    DisplayScale Scale() const { return scale_; }
    void SetScale(DisplayScale scale);

    // The caption as drawn: the format applied to the percent, or the
    // format itself when it cannot be applied.
    std::string CaptionText() const;

    void Paint(ICanvas& canvas, int width, int height) const;

    // The same picture in layers, for a window that keeps what does not
    // change with the percent. While ShowsTrack, Paint sets the same pixels
    // as: the filled track left of FillEnd and the empty track from there on,
    // both from PaintTrack, and then PaintCaption. The two tracks depend on
    // the size and the look alone, not on the percent.
    bool ShowsTrack() const { return percent_ > 0; }
    void PaintTrack(ICanvas& canvas, int width, int height, bool filled) const;
    int FillEnd(const ICanvas& canvas, int width, int height) const;
    void PaintCaption(ICanvas& canvas, int width, int height) const;

    // View hook, as on every control: the picture changed; the window repaints.
    std::function<void()> Changed;

private:
    // Background, and with a track its bands and gaps; the fill in the given
    // gradient, or none.
    void DrawBar(ICanvas& canvas, int width, int height, const TGradient* fill) const;
    void DrawGradient(ICanvas& canvas, const TGradient& gradient, const Rect& area) const;
    void DrawCaption(ICanvas& canvas, int width, int height) const;
    void NotifyChanged();

    int percent_ = 1;
    TPercentBarLook look_;
    DisplayScale scale_;
};

}  // namespace korbela
