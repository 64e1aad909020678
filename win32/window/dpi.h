// The display scale of a window and what goes with it: the design's figures
// are pixels at 96 dots per inch, and each window draws them at its own
// resolution. The newer calls are looked up at run time, so the program
// still starts on Windows 7 and 8, where the system's resolution is every
// window's.
#pragma once

#include <windows.h>

#include "core/system/display_scale.h"

namespace korbela {

// GetDpiForWindow (Windows 10 1607 on), or else the LOGPIXELSY of the
// window's DC.
DisplayScale ScaleOfWindow(HWND window);

// GetSystemMetricsForDpi (Windows 10 1607 on), or else GetSystemMetrics,
// which is then at the only resolution there is.
int SystemMetricAt(int index, DisplayScale scale);

// A rectangle of design pixels in pixels of the display: each edge scaled,
// so rectangles that meet in the design still meet.
inline RECT Scaled(const RECT& design, DisplayScale scale) {
    return RECT{scale(design.left), scale(design.top), scale(design.right), scale(design.bottom)};
}

// A width in pixels of the display in design pixels, rounded up, so that
// scaling it again gives at least the width it came from.
inline int DesignWidthAtLeast(int pixels, DisplayScale scale) {
    const int design = scale.Design(pixels);
    return scale(design) < pixels ? design + 1 : design;
}

}  // namespace korbela
