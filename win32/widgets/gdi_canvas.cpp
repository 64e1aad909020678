// The font cache and the GDI canvas.

#include "win32/widgets/gdi_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace korbela {

void FontCache::Select(HDC dc, const FontSpec& font) {
    if (selected_ < fonts_.size() && fonts_[selected_].wanted == font) return;
    std::size_t index = 0;
    while (index < fonts_.size() && !(fonts_[index].wanted == font)) ++index;
    if (index == fonts_.size()) {
        LOGFONTA description{};
        description.lfHeight = -font.height;  // character height, without the leading
        description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
        description.lfCharSet = DEFAULT_CHARSET;
        description.lfOutPrecision = OUT_DEFAULT_PRECIS;
        description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        description.lfQuality = DEFAULT_QUALITY;
        description.lfPitchAndFamily =
            static_cast<BYTE>((font.fixedPitch ? FIXED_PITCH : DEFAULT_PITCH) | FF_DONTCARE);
        lstrcpynA(description.lfFaceName, font.face.c_str(), LF_FACESIZE);
        UniqueGdiObject<HFONT> created(CreateFontIndirectA(&description));
        if (!created) return;
        fonts_.push_back({font, std::move(created)});
    }
    selection_.Select(dc, fonts_[index].font.Get());
    selected_ = index;
}

namespace {

COLORREF ToColorRef(TColor color) { return RGB(color.r, color.g, color.b); }

// A pixel of a 32-bit BI_RGB bitmap: blue in the low byte, the top byte unused.
uint32_t ToPixel(TColor color) {
    return (uint32_t{color.r} << 16) | (uint32_t{color.g} << 8) | color.b;
}

Rect Intersection(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

bool IsEmpty(const Rect& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

// Lines are rasterized here only within this range, where no step of the
// arithmetic can overflow; anything further out is left to GDI.
bool InLineRange(POINT point) {
    constexpr int kLimit = 1 << 15;
    return point.x > -kLimit && point.x < kLimit && point.y > -kLimit && point.y < kLimit;
}

}  // namespace

GdiCanvas::GdiCanvas(HDC reference, int width, int height)
    : width_(width > 0 ? width : 1),
      height_(height > 0 ? height : 1),
      dc_(CreateCompatibleDC(reference)),
      dcState_(dc_.Get()),
      clip_{0, 0, width_, height_} {
    if (!dc_.Get()) throw std::runtime_error("Unable to create a drawing surface.");
    // The memory DC has the display's depth until a bitmap is selected.
    bitsPerPixel_ = GetDeviceCaps(dc_.Get(), BITSPIXEL) * GetDeviceCaps(dc_.Get(), PLANES);

    const BITMAPINFO info = TopDown32(width_, height_);
    void* bits = nullptr;
    bitmap_ = UniqueGdiObject<HBITMAP>(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !bits) throw std::runtime_error("Unable to create a drawing surface.");
    pixels_ = static_cast<uint32_t*>(bits);
    bitmapSelection_.Select(dc_.Get(), bitmap_.Get());
    SetBkMode(dc_.Get(), TRANSPARENT);
    SetROP2(dc_.Get(), R2_COPYPEN);
}

void GdiCanvas::CopyTo(HDC target, int x, int y) const {
    BitBlt(target, x, y, width_, height_, dc_.Get(), 0, 0, SRCCOPY);
}

void GdiCanvas::FinishGdiDrawing() {
    if (!gdiDrew_) return;
    GdiFlush();
    gdiDrew_ = false;
}

void GdiCanvas::FillPixels(const Rect& rect, uint32_t pixel) {
    const Rect area = Intersection(rect, clip_);
    if (IsEmpty(area)) return;
    FinishGdiDrawing();
    uint32_t* first = pixels_ + static_cast<std::ptrdiff_t>(area.top) * width_ + area.left;
    const int count = area.Width();
    std::fill(first, first + count, pixel);
    // Further rows are copies of the first, which is quicker than filling
    // each unless the rows are short.
    const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(uint32_t);
    for (int y = area.top + 1; y < area.bottom; ++y) {
        uint32_t* row = pixels_ + static_cast<std::ptrdiff_t>(y) * width_ + area.left;
        if (count <= 8) {
            std::fill(row, row + count, pixel);
        } else {
            std::memcpy(row, first, bytes);
        }
    }
}

std::vector<uint32_t> GdiCanvas::Pixels() {
    FinishGdiDrawing();
    return {pixels_, pixels_ + static_cast<std::ptrdiff_t>(width_) * height_};
}

void GdiCanvas::Restore(const std::vector<uint32_t>& pixels, const Rect& area) {
    if (pixels.size() != static_cast<std::size_t>(width_) * height_) return;
    const Rect copied = Intersection(area, clip_);
    if (IsEmpty(copied)) return;
    FinishGdiDrawing();
    const std::size_t bytes = static_cast<std::size_t>(copied.Width()) * sizeof(uint32_t);
    for (int y = copied.top; y < copied.bottom; ++y) {
        const std::ptrdiff_t start = static_cast<std::ptrdiff_t>(y) * width_ + copied.left;
        std::memcpy(pixels_ + start, pixels.data() + start, bytes);
    }
}

void GdiCanvas::FillRect(const Rect& rect, TColor color) { FillPixels(rect, ToPixel(color)); }

void GdiCanvas::SetPen(TColor color, int width) {
    if (pen_ && color == penColor_ && width == penWidth_) return;
    UniqueGdiObject<HPEN> pen(CreatePen(PS_SOLID, width, ToColorRef(color)));
    if (!pen) return;
    penSelection_.Select(dc_.Get(), pen.Get());
    pen_ = std::move(pen);  // the previous pen is no longer selected
    penColor_ = color;
    penWidth_ = width;
}

void GdiCanvas::MoveTo(int x, int y) { position_ = {x, y}; }

void GdiCanvas::LineTo(int x, int y) {
    const POINT from = position_;
    position_ = {x, y};
    // A pen of width 0 or 1 is a cosmetic pen, one pixel wide.
    if (penWidth_ <= 1 && InLineRange(from) && InLineRange(position_)) {
        ThinLine(from, position_, ToPixel(penColor_));
        return;
    }
    MoveToEx(dc_.Get(), from.x, from.y, nullptr);
    ::LineTo(dc_.Get(), x, y);
    gdiDrew_ = true;
}

// GDI's one-pixel line: Bresenham's steps from the start point, leaving out
// the end point. Where the error term lies exactly between two pixels, GDI
// takes the step along the minor axis only in some directions; the bias
// below follows it, so the pixels are the same whichever way a line runs.
void GdiCanvas::ThinLine(POINT from, POINT to, uint32_t pixel) {
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    if (dx == 0 && dy == 0) return;
    if (dy == 0) {  // along a row: one span, which holds the start and not the end
        FillPixels({dx > 0 ? from.x : to.x + 1, from.y, dx > 0 ? to.x : from.x + 1, from.y + 1}, pixel);
        return;
    }
    const Rect bounds{std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x) + 1,
                      std::max(from.y, to.y) + 1};
    if (IsEmpty(Intersection(bounds, clip_))) return;
    FinishGdiDrawing();

    const int absDx = std::abs(dx);
    const int absDy = std::abs(dy);
    const bool xMajor = absDx > absDy;
    const int major = xMajor ? absDx : absDy;
    const int minor = xMajor ? absDy : absDx;
    // Going left and down along the y axis, left and up, or right and up along the x axis.
    const bool bias = (dx < 0 && dy > 0 && !xMajor) || (dx < 0 && dy < 0) || (dx > 0 && dy < 0 && xMajor);
    const int stepX = dx > 0 ? 1 : (dx < 0 ? -1 : 0);
    const int stepY = dy > 0 ? 1 : -1;
    // The error term, and a step along the minor axis once it is above this.
    int error = 2 * minor - major;
    const int threshold = bias ? -1 : 0;

    if (Intersection(bounds, clip_) == bounds) {  // no pixel to leave out: along the bitmap's memory
        const std::ptrdiff_t majorStep = xMajor ? stepX : std::ptrdiff_t{stepY} * width_;
        const std::ptrdiff_t minorStep = xMajor ? std::ptrdiff_t{stepY} * width_ : stepX;
        uint32_t* at = pixels_ + static_cast<std::ptrdiff_t>(from.y) * width_ + from.x;
        for (int i = 0; i < major; ++i) {
            *at = pixel;
            if (error > threshold) {
                at += minorStep;
                error += 2 * (minor - major);
            } else {
                error += 2 * minor;
            }
            at += majorStep;
        }
        return;
    }
    int x = from.x;
    int y = from.y;
    for (int i = 0; i < major; ++i) {
        if (x >= clip_.left && x < clip_.right && y >= clip_.top && y < clip_.bottom) {
            pixels_[static_cast<std::ptrdiff_t>(y) * width_ + x] = pixel;
        }
        const bool minorStep = error > threshold;
        error += minorStep ? 2 * (minor - major) : 2 * minor;
        if (xMajor) {
            x += stepX;
            if (minorStep) y += stepY;
        } else {
            y += stepY;
            if (minorStep) x += stepX;
        }
    }
}

Size GdiCanvas::TextExtent(std::string_view text, const FontSpec& font) {
    fonts_.Select(dc_.Get(), font);
    SIZE extent{};
    if (!GetTextExtentPoint32A(dc_.Get(), text.data(), static_cast<int>(text.size()), &extent)) {
        return {};
    }
    return {extent.cx, extent.cy};
}

void GdiCanvas::TextOut(int x, int y, std::string_view text, const FontSpec& font,
                        TColor color) {
    fonts_.Select(dc_.Get(), font);
    SetTextColor(dc_.Get(), ToColorRef(color));
    SetBkMode(dc_.Get(), TRANSPARENT);
    ExtTextOutA(dc_.Get(), x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    gdiDrew_ = true;
}

void GdiCanvas::SetClip(const Rect& rect) {
    // With its corners in order, as CreateRectRgn takes them.
    const Rect ordered{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                       std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
    UniqueGdiObject<HRGN> region(CreateRectRgn(ordered.left, ordered.top, ordered.right, ordered.bottom));
    if (!region) return;
    SelectClipRgn(dc_.Get(), region.Get());  // the DC keeps a copy
    clip_ = Intersection(ordered, {0, 0, width_, height_});
}

void GdiCanvas::ResetClip() {
    SelectClipRgn(dc_.Get(), nullptr);
    clip_ = {0, 0, width_, height_};
}

}  // namespace korbela
