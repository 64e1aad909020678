// The program's look: its colours and fonts, painting through a back buffer,
// hot tracking, and the drawing of every part the controls are made of.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <string>

#include "core/system/display_scale.h"
#include "win32/system/unique_handle.h"

// The colours of the built-in dark skin, shared by every window of the program.
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

namespace korbela {

// The main window's fonts and brushes of the built-in dark skin, alive as
// long as the window's controls use them.

// A font by face and character height in design pixels, at the display's scale.
UniqueGdiObject<HFONT> MakeFont(const char* face, int height, bool bold = false, bool underline = false,
                                DisplayScale scale = {});

class Skin {
public:
    explicit Skin(const char* face = "Tahoma", DisplayScale scale = {});

    // This skin's font in the role that `font` has in `other` (the same skin
    // at another scale), or null when it has none there.
    HFONT Counterpart(HFONT font, const Skin& other) const;

    HFONT Normal() const { return normal_.Get(); }
    HFONT Bold() const { return bold_.Get(); }
    HFONT Freeing() const { return freeing_.Get(); }  // bold 16 px
    HFONT Link() const { return link_.Get(); }        // underlined Times New Roman 19 px
    HFONT Title() const { return title_.Get(); }      // bold Tahoma: window captions
    HBRUSH WindowBrush() const { return window_.Get(); }
    HBRUSH WellBrush() const { return well_.Get(); }

private:
    UniqueGdiObject<HFONT> normal_;
    UniqueGdiObject<HFONT> bold_;
    UniqueGdiObject<HFONT> freeing_;
    UniqueGdiObject<HFONT> link_;
    UniqueGdiObject<HFONT> title_;
    UniqueGdiObject<HBRUSH> window_;
    UniqueGdiObject<HBRUSH> well_;
};

// An off-screen picture for one paint: composed in a memory DC and copied to
// the target in one BitBlt when the buffer goes out of scope.
class BackBuffer {
public:
    BackBuffer(HDC target, int width, int height)
        : target_(target), width_(width), height_(height), dc_(CreateCompatibleDC(target)),
          bitmap_(CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1)),
          selection_(dc_.Get(), bitmap_.Get()) {}
    ~BackBuffer() { BitBlt(target_, 0, 0, width_, height_, dc_.Get(), 0, 0, SRCCOPY); }
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    HDC Dc() const { return dc_.Get(); }

private:
    HDC target_;  // not owned
    int width_;
    int height_;
    // Declared so that the bitmap is selected out before it and the DC go.
    UniqueDc dc_;
    UniqueGdiObject<HBITMAP> bitmap_;
    SelectionRestore selection_;
};

// WM_ERASEBKGND and WM_PAINT of a window that draws its client area itself:
// no erasing, as the picture covers every pixel, and paint(dc, client)
// composes the picture, which then goes to the screen at once. False for any
// other message.
template <typename PaintFunction>
bool HandleBufferedPaint(HWND window, UINT message, LRESULT& result, PaintFunction&& paint) {
    if (message == WM_ERASEBKGND) {
        result = 1;
        return true;
    }
    if (message != WM_PAINT) return false;
    PaintDc paintDc(window);
    RECT client{};
    GetClientRect(window, &client);
    BackBuffer buffer(paintDc.Get(), client.right, client.bottom);
    paint(buffer.Dc(), client);
    result = 0;
    return true;
}

// Whether the pointer is over a control: set on the first mouse move, cleared
// when the pointer leaves. Fed from the control's subclass.
class HotTracking {
public:
    // True when the hot state changed, so the control wants repainting.
    bool Handle(HWND window, UINT message) {
        if (message == WM_MOUSEMOVE && !hot_) {
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = window;
            TrackMouseEvent(&track);
            hot_ = true;
            return true;
        }
        if ((message == WM_MOUSELEAVE || message == WM_CAPTURECHANGED) && hot_) {
            POINT cursor{};
            GetCursorPos(&cursor);
            if (message == WM_CAPTURECHANGED && WindowFromPoint(cursor) == window) return false;
            hot_ = false;
            return true;
        }
        return false;
    }
    bool Hot() const { return hot_; }

private:
    bool hot_ = false;
};

}  // namespace korbela

// Painting routines of the dark skin: faces, frames, panels, check boxes,
// caption buttons and title bars. Each paints from plain state onto a DC.
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

// Custom draw of a horizontal trackbar in the dark skin: a dark groove lit up
// to the thumb, light tick marks and a gradient thumb. The answer to the
// trackbar's NM_CUSTOMDRAW; the groove, ticks and thumb lines are design
// pixels at the scale.
LRESULT PaintTrackbar(NMCUSTOMDRAW& draw, HWND trackbar, DisplayScale scale);

}  // namespace korbela::skin
