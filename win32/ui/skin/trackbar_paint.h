// Custom draw of a horizontal trackbar in the dark skin: a dark groove lit up
// to the thumb, light tick marks and a gradient thumb.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace korbela::skin {

// The answer to the trackbar's NM_CUSTOMDRAW.
LRESULT PaintTrackbar(NMCUSTOMDRAW& draw, HWND trackbar);

}  // namespace korbela::skin
