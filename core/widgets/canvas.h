// The drawing surface the widgets paint on: a few GDI-like primitives, so the
// widgets' pictures can be composed and checked without Windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korbela {

// A plain RGB colour.
struct TColor {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;

    friend constexpr bool operator==(TColor, TColor) = default;
};

// The VCL's named colours, by the same names.
inline constexpr TColor clBlack{0, 0, 0};
inline constexpr TColor clMaroon{128, 0, 0};
inline constexpr TColor clGreen{0, 128, 0};
inline constexpr TColor clOlive{128, 128, 0};
inline constexpr TColor clNavy{0, 0, 128};
inline constexpr TColor clPurple{128, 0, 128};
inline constexpr TColor clTeal{0, 128, 128};
inline constexpr TColor clGray{128, 128, 128};
inline constexpr TColor clSilver{192, 192, 192};
inline constexpr TColor clRed{255, 0, 0};
inline constexpr TColor clLime{0, 255, 0};
inline constexpr TColor clYellow{255, 255, 0};
inline constexpr TColor clBlue{0, 0, 255};
inline constexpr TColor clFuchsia{255, 0, 255};
inline constexpr TColor clAqua{0, 255, 255};
inline constexpr TColor clWhite{255, 255, 255};

// A rectangle in pixels; right and bottom are excluded, as in a Win32 RECT.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;

    friend constexpr bool operator==(Size, Size) = default;
};

// A font as the widgets describe it; height is the character height in pixels.
struct FontSpec {
    std::string face = "Tahoma";
    int height = 11;
    bool bold = false;
    bool fixedPitch = false;

    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

class ICanvas {
public:
    virtual ~ICanvas() = default;

    virtual void FillRect(const Rect& rect, TColor color) = 0;

    // Lines are drawn with the current pen in copy mode; like GDI, a line
    // leaves out its end point.
    virtual void SetPen(TColor color, int width) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;

    virtual Size TextExtent(std::string_view text, const FontSpec& font) = 0;
    // Only the glyphs are drawn: the background stays as it is.
    virtual void TextOut(int x, int y, std::string_view text, const FontSpec& font,
                         TColor color) = 0;

    // Limits every later drawing to the rectangle, until ResetClip.
    virtual void SetClip(const Rect& rect) = 0;
    virtual void ResetClip() = 0;

    // Colour depth of the display the picture is meant for.
    virtual int BitsPerPixel() const = 0;
};

}  // namespace korbela
