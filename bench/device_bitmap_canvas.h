// The widgets' GDI canvas in its earlier form, kept for the widgets benchmark
// as the figure the current canvas is compared with: a bitmap compatible with
// the screen, every primitive a GDI call of its own, and a new pen whenever the
// pen changes. It draws the same pixels as GdiCanvas.
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "core/widgets/canvas.h"
#include "win32/system/unique_handle.h"
#include "win32/widgets/gdi_canvas.h"

namespace korbela::bench {

class DeviceBitmapCanvas final : public ICanvas {
public:
    DeviceBitmapCanvas(HDC reference, int width, int height)
        : width_(width), height_(height), dc_(CreateCompatibleDC(reference)) {
        if (!dc_.Get()) throw std::runtime_error("Unable to create a drawing surface.");
        bitmap_ = UniqueGdiObject<HBITMAP>(CreateCompatibleBitmap(reference, width_, height_));
        if (!bitmap_) throw std::runtime_error("Unable to create a drawing surface.");
        bitmapSelection_.Select(dc_.Get(), bitmap_.Get());
        SetBkMode(dc_.Get(), TRANSPARENT);
        SetROP2(dc_.Get(), R2_COPYPEN);
    }
    DeviceBitmapCanvas(const DeviceBitmapCanvas&) = delete;
    DeviceBitmapCanvas& operator=(const DeviceBitmapCanvas&) = delete;

    HDC Dc() const { return dc_.Get(); }
    void CopyTo(HDC target, int x, int y) const {
        BitBlt(target, x, y, width_, height_, dc_.Get(), 0, 0, SRCCOPY);
    }

    void FillRect(const Rect& rect, TColor color) override {
        if (rect.right <= rect.left || rect.bottom <= rect.top) return;
        const RECT area{rect.left, rect.top, rect.right, rect.bottom};
        SetBkColor(dc_.Get(), RGB(color.r, color.g, color.b));
        ExtTextOutA(dc_.Get(), 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    }
    void SetPen(TColor color, int width) override {
        if (pen_ && color == penColor_ && width == penWidth_) return;
        UniqueGdiObject<HPEN> pen(CreatePen(PS_SOLID, width, RGB(color.r, color.g, color.b)));
        if (!pen) return;
        penSelection_.Select(dc_.Get(), pen.Get());
        pen_ = std::move(pen);
        penColor_ = color;
        penWidth_ = width;
    }
    void MoveTo(int x, int y) override { MoveToEx(dc_.Get(), x, y, nullptr); }
    void LineTo(int x, int y) override { ::LineTo(dc_.Get(), x, y); }
    Size TextExtent(std::string_view text, const FontSpec& font) override {
        fonts_.Select(dc_.Get(), font);
        SIZE extent{};
        if (!GetTextExtentPoint32A(dc_.Get(), text.data(), static_cast<int>(text.size()), &extent)) return {};
        return {extent.cx, extent.cy};
    }
    void TextOut(int x, int y, std::string_view text, const FontSpec& font, TColor color) override {
        fonts_.Select(dc_.Get(), font);
        SetTextColor(dc_.Get(), RGB(color.r, color.g, color.b));
        SetBkMode(dc_.Get(), TRANSPARENT);
        ExtTextOutA(dc_.Get(), x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    }
    void SetClip(const Rect& rect) override {
        UniqueGdiObject<HRGN> region(CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom));
        if (region) SelectClipRgn(dc_.Get(), region.Get());
    }
    void ResetClip() override { SelectClipRgn(dc_.Get(), nullptr); }
    int BitsPerPixel() const override {
        return GetDeviceCaps(dc_.Get(), BITSPIXEL) * GetDeviceCaps(dc_.Get(), PLANES);
    }

private:
    int width_;
    int height_;
    UniqueDc dc_;
    UniqueGdiObject<HBITMAP> bitmap_;
    SelectionRestore bitmapSelection_;
    UniqueGdiObject<HPEN> pen_;
    SelectionRestore penSelection_;
    TColor penColor_;
    int penWidth_ = -1;
    FontCache fonts_;
};

}  // namespace korbela::bench
