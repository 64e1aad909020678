// Painting routines of the dark skin: faces, frames, panels, check boxes,
// caption buttons and title bars. Each paints from plain state onto a DC.
#pragma once

#include <windows.h>

#include <string>

#include "core/widgets/display_scale.h"

namespace korbela::skin {

// Every figure below is in design pixels, drawn at the scale given.

void FillSolid(HDC dc, const RECT& rect, COLORREF color);
// Top to bottom.
void FillVertical(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);
// Left to right.
void FillHorizontal(HDC dc, const RECT& rect, COLORREF left, COLORREF right);
// `width` pixels wide, inside the rectangle.
void Frame(HDC dc, const RECT& rect, COLORREF color, int width = 1);
void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color, int width = 1);

// How wide a one-line text is in a font, measured on the window's DC.
int TextWidth(HWND window, HFONT font, const std::string& text);

enum class FaceState { Normal, Hot, Pressed, Disabled };

// The face an owner-drawn button shows for its draw state and hover.
FaceState FaceStateOf(const DRAWITEMSTRUCT& item, bool hot);

// The skin's focus cue: an accent frame just inside the rectangle.
void DrawFocusCue(HDC dc, const RECT& rect, DisplayScale scale);
// The focus cue around a single line of text drawn in `area` with `format`
// (DT_LEFT or DT_CENTER, DT_VCENTER), clear of its letters and underline,
// kept within `bounds`.
void DrawTextFocusCue(HDC dc, const RECT& area, const RECT& bounds, const std::string& text, HFONT font,
                      UINT format, DisplayScale scale);

// A push button: gradient face, dark frame, centred caption.
void DrawButton(HDC dc, const RECT& rect, const std::string& caption, HFONT font, FaceState state,
                bool focused, DisplayScale scale);

// A check box: a 13-pixel box at the left, the caption after it.
void DrawCheckBox(HDC dc, const RECT& rect, const std::string& caption, HFONT font, bool checked,
                  FaceState state, bool focused, DisplayScale scale);

// A group panel: frame, bold caption at the top left and the caption line.
void DrawGroupPanel(HDC dc, const RECT& rect, const std::string& caption, HFONT captionFont, DisplayScale scale);

// The freeing run's banner: a framed area with a large centred caption.
void DrawBanner(HDC dc, const RECT& rect, const std::string& caption, HFONT font, DisplayScale scale);

enum class Glyph { Close, Maximize, Restore, Minimize, Help };

// A title bar button: flat until hot; Close turns red.
void DrawCaptionButton(HDC dc, const RECT& rect, Glyph glyph, FaceState state, DisplayScale scale);

// The message dialog's header picture when the program has none: an accent
// disc with a white "i".
void DrawMessagePicture(HDC dc, const RECT& rect);

// The title bar: gradient, optional icon (its small size at the scale),
// caption (silver while inactive).
void DrawTitleBar(HDC dc, const RECT& rect, HICON icon, const std::string& caption, HFONT font,
                  bool active, DisplayScale scale);

}  // namespace korbela::skin
