// The canvas the widgets draw on under Windows: GDI on a window or bitmap, with
// the fonts it has made kept for its life.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/widgets/canvas.h"
#include "win32/system/unique_handle.h"

namespace korbela {

// A 32-bit device-independent bitmap of 0x00RRGGBB pixels, top row first.
inline BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The fonts a canvas draws with: each made once, on first use, and kept while
// the canvas lives. Selecting the font that is selected already costs nothing.
class FontCache {
public:
    FontCache() = default;
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // Selects the font into the DC, which must be the same at every call and
    // outlive the cache. A font that cannot be made leaves the selection alone.
    void Select(HDC dc, const FontSpec& font);

private:
    struct CachedFont {
        FontSpec wanted;
        UniqueGdiObject<HFONT> font;
    };

    std::vector<CachedFont> fonts_;
    SelectionRestore selection_;  // undone before the fonts are deleted
    std::size_t selected_ = SIZE_MAX;  // index into fonts_
};

// The widgets' canvas on an off-screen bitmap: a memory DC with a 32-bit
// device-independent bitmap, its own pen and cached fonts. The finished
// picture goes to the screen in one BitBlt.
//
// Solid rectangles and one-pixel lines, most of what the widgets draw, are
// written straight into the bitmap's pixels, the same pixels GDI would set;
// text and wide lines are drawn by GDI. Drawing on such a bitmap stays inside
// the process.
class GdiCanvas final : public ICanvas {
public:
    // Throws std::runtime_error when the DC or the bitmap cannot be created.
    // The reference DC tells the colour depth the picture is meant for.
    GdiCanvas(HDC reference, int width, int height);
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    HDC Dc() const { return dc_.Get(); }
    // Copies the whole picture to (x, y) of the target.
    void CopyTo(HDC target, int x, int y) const;

    // The picture's pixels, top row first, for a later Restore.
    std::vector<uint32_t> Pixels();
    // Puts back the area of a picture taken with Pixels from a canvas of the
    // same size; limited to the clip as drawing is.
    void Restore(const std::vector<uint32_t>& pixels, const Rect& area);

    void FillRect(const Rect& rect, TColor color) override;
    void SetPen(TColor color, int width) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    Size TextExtent(std::string_view text, const FontSpec& font) override;
    void TextOut(int x, int y, std::string_view text, const FontSpec& font,
                 TColor color) override;
    void SetClip(const Rect& rect) override;
    void ResetClip() override;
    int BitsPerPixel() const override { return bitsPerPixel_; }

private:
    // Before the pixels are written directly: what GDI still holds back of
    // its own drawing has to reach them first.
    void FinishGdiDrawing();
    void FillPixels(const Rect& rect, uint32_t pixel);
    void ThinLine(POINT from, POINT to, uint32_t pixel);

    int width_;
    int height_;
    int bitsPerPixel_ = 0;
    // Declared so that every selection is undone before its object is
    // deleted, and every object before the DC.
    UniqueDc dc_;
    // What drawing sets on the DC (background mode, text colour, clip) is
    // the canvas's own and goes back before the DC does.
    DcStateRestore dcState_;
    UniqueGdiObject<HBITMAP> bitmap_;
    uint32_t* pixels_ = nullptr;  // top row first, owned by bitmap_
    SelectionRestore bitmapSelection_;
    UniqueGdiObject<HPEN> pen_;
    SelectionRestore penSelection_;
    TColor penColor_;  // black, as the DC's own pen, until SetPen
    int penWidth_ = -1;
    FontCache fonts_;
    Rect clip_;        // the part of the bitmap that drawing is limited to
    POINT position_{};  // the pen position
    bool gdiDrew_ = false;  // since the pixels were last written directly
};

}  // namespace korbela
