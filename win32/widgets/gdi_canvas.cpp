#include "win32/widgets/gdi_canvas.h"

#include <stdexcept>
#include <string>

namespace korbela {

namespace {

COLORREF ToColorRef(TColor color) { return RGB(color.r, color.g, color.b); }

RECT ToRect(const Rect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

GdiCanvas::GdiCanvas(HDC reference, int width, int height)
    : width_(width > 0 ? width : 1),
      height_(height > 0 ? height : 1),
      dc_(CreateCompatibleDC(reference)) {
    if (!dc_.Get()) throw std::runtime_error("Unable to create a drawing surface.");
    // A bitmap compatible with the memory DC itself would be monochrome: it
    // has to match the window's DC.
    bitmap_ = UniqueGdiObject<HBITMAP>(CreateCompatibleBitmap(reference, width_, height_));
    if (!bitmap_) throw std::runtime_error("Unable to create a drawing surface.");
    bitmapSelection_ = SelectionRestore(dc_.Get(), bitmap_.Get());
    SetBkMode(dc_.Get(), TRANSPARENT);
    SetROP2(dc_.Get(), R2_COPYPEN);
}

void GdiCanvas::CopyTo(HDC target, int x, int y) const {
    BitBlt(target, x, y, width_, height_, dc_.Get(), 0, 0, SRCCOPY);
}

void GdiCanvas::FillRect(const Rect& rect, TColor color) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    // ExtTextOut's opaque rectangle fills without a brush to create.
    const RECT area = ToRect(rect);
    SetBkColor(dc_.Get(), ToColorRef(color));
    ExtTextOutA(dc_.Get(), 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

void GdiCanvas::SetPen(TColor color, int width) {
    if (pen_ && color == penColor_ && width == penWidth_) return;
    UniqueGdiObject<HPEN> pen(CreatePen(PS_SOLID, width, ToColorRef(color)));
    if (!pen) return;
    if (penSelection_.Engaged()) {
        SelectObject(dc_.Get(), pen.Get());
    } else {
        penSelection_ = SelectionRestore(dc_.Get(), pen.Get());
    }
    pen_ = std::move(pen);  // the previous pen is no longer selected
    penColor_ = color;
    penWidth_ = width;
}

void GdiCanvas::MoveTo(int x, int y) { MoveToEx(dc_.Get(), x, y, nullptr); }

void GdiCanvas::LineTo(int x, int y) { ::LineTo(dc_.Get(), x, y); }

void GdiCanvas::SelectFont(const FontSpec& font) {
    if (selectedFont_ < fonts_.size() && fonts_[selectedFont_].wanted == font) return;
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
    const HFONT handle = fonts_[index].font.Get();
    if (fontSelection_.Engaged()) {
        SelectObject(dc_.Get(), handle);
    } else {
        fontSelection_ = SelectionRestore(dc_.Get(), handle);
    }
    selectedFont_ = index;
}

Size GdiCanvas::TextExtent(std::string_view text, const FontSpec& font) {
    SelectFont(font);
    SIZE extent{};
    if (!GetTextExtentPoint32A(dc_.Get(), text.data(), static_cast<int>(text.size()), &extent)) {
        return {};
    }
    return {extent.cx, extent.cy};
}

void GdiCanvas::TextOut(int x, int y, std::string_view text, const FontSpec& font,
                        TColor color) {
    SelectFont(font);
    SetTextColor(dc_.Get(), ToColorRef(color));
    SetBkMode(dc_.Get(), TRANSPARENT);
    ExtTextOutA(dc_.Get(), x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
}

void GdiCanvas::SetClip(const Rect& rect) {
    UniqueGdiObject<HRGN> region(CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom));
    if (region) SelectClipRgn(dc_.Get(), region.Get());  // the DC keeps a copy
}

void GdiCanvas::ResetClip() { SelectClipRgn(dc_.Get(), nullptr); }

int GdiCanvas::BitsPerPixel() const {
    return GetDeviceCaps(dc_.Get(), BITSPIXEL) * GetDeviceCaps(dc_.Get(), PLANES);
}

}  // namespace korbela
