// The colours of the built-in dark skin, shared by every window of the program.
#pragma once

#include <windows.h>

namespace korbela::palette {

inline constexpr COLORREF kWindow = RGB(81, 81, 81);        // page and panel colour
inline constexpr COLORREF kDialog = RGB(80, 80, 80);        // message dialog header and footer
inline constexpr COLORREF kText = RGB(255, 255, 255);
inline constexpr COLORREF kTextDisabled = RGB(150, 150, 150);
inline constexpr COLORREF kSilver = RGB(192, 192, 192);
inline constexpr COLORREF kBorder = RGB(0, 0, 0);           // the window's 1-pixel frame
inline constexpr COLORREF kTitleTop = RGB(66, 66, 66);
inline constexpr COLORREF kTitleBottom = RGB(40, 40, 40);
inline constexpr COLORREF kTitleLine = RGB(24, 24, 24);
inline constexpr COLORREF kPanelFrame = RGB(104, 104, 104);
inline constexpr COLORREF kPanelShadow = RGB(64, 64, 64);
inline constexpr COLORREF kAccent = RGB(86, 156, 214);
inline constexpr COLORREF kAccentDim = RGB(60, 100, 140);
inline constexpr COLORREF kFaceTop = RGB(108, 108, 108);
inline constexpr COLORREF kFaceBottom = RGB(72, 72, 72);
inline constexpr COLORREF kFaceHotTop = RGB(126, 126, 126);
inline constexpr COLORREF kFaceHotBottom = RGB(86, 86, 86);
inline constexpr COLORREF kFacePressedTop = RGB(56, 56, 56);
inline constexpr COLORREF kFacePressedBottom = RGB(76, 76, 76);
inline constexpr COLORREF kFaceFrame = RGB(34, 34, 34);
inline constexpr COLORREF kFaceLight = RGB(140, 140, 140);
inline constexpr COLORREF kWell = RGB(46, 46, 46);          // edit fields, check boxes, grooves
inline constexpr COLORREF kWellFrame = RGB(28, 28, 28);
inline constexpr COLORREF kTabIdle = RGB(64, 64, 64);
inline constexpr COLORREF kTabHot = RGB(92, 92, 92);
inline constexpr COLORREF kTabActive = RGB(104, 104, 104);
inline constexpr COLORREF kCloseHot = RGB(196, 43, 28);
inline constexpr COLORREF kProgressFrom = RGB(0, 90, 200);
inline constexpr COLORREF kProgressTo = RGB(128, 255, 255);

}  // namespace korbela::palette
