// Custom draw of a horizontal trackbar in the dark skin: a dark groove lit up
// to the thumb, light tick marks and a gradient thumb.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "core/widgets/display_scale.h"

namespace korbela::skin {

// The answer to the trackbar's NM_CUSTOMDRAW.
// The groove, ticks and thumb lines are design pixels at the scale.
LRESULT PaintTrackbar(NMCUSTOMDRAW& draw, HWND trackbar, DisplayScale scale);

}  // namespace korbela::skin
