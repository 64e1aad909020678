// The scale of the display a picture is drawn for. Every figure of the design
// (positions, sizes, font heights, line widths) is in pixels at 96 dots per
// inch; at another resolution it is drawn as MulDiv(figure, dpi, 96), so at 96
// each figure stays exactly the design's.
#pragma once

#include "core/system/arithmetic.h"

namespace korbela {

struct DisplayScale {
    static constexpr int kDesignDpi = 96;

    int dpi = kDesignDpi;

    // A design figure in pixels of this display.
    constexpr int operator()(int designPixels) const { return MulDiv(designPixels, dpi, kDesignDpi); }
    // A font's character height: scaled and rounded down, so that text,
    // whose width grows a little faster than its height, still fits the
    // scaled room the design gives it.
    constexpr int FontHeight(int designHeight) const {
        return static_cast<int>(static_cast<long long>(designHeight) * dpi / kDesignDpi);
    }
    // Pixels of this display in design pixels, to the nearest.
    constexpr int Design(int pixels) const { return MulDiv(pixels, kDesignDpi, dpi); }

    friend constexpr bool operator==(DisplayScale, DisplayScale) = default;
};

}  // namespace korbela
