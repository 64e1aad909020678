// The widgets' canvas on an off-screen bitmap: a memory DC compatible with a
// window's DC, with its own bitmap, pen and cached fonts. The finished
// picture goes to the screen in one BitBlt.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "core/widgets/canvas.h"
#include "win32/widgets/gdi_handles.h"

namespace korbela {

class GdiCanvas final : public ICanvas {
public:
    // Throws std::runtime_error when the DC or the bitmap cannot be created.
    GdiCanvas(HDC reference, int width, int height);
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    HDC Dc() const { return dc_.Get(); }
    // Copies the whole picture to (x, y) of the target.
    void CopyTo(HDC target, int x, int y) const;

    void FillRect(const Rect& rect, TColor color) override;
    void SetPen(TColor color, int width) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    Size TextExtent(std::string_view text, const FontSpec& font) override;
    void TextOut(int x, int y, std::string_view text, const FontSpec& font,
                 TColor color) override;
    void SetClip(const Rect& rect) override;
    void ResetClip() override;
    int BitsPerPixel() const override;

private:
    struct CachedFont {
        FontSpec wanted;
        UniqueGdiObject<HFONT> font;
    };

    void SelectFont(const FontSpec& font);

    int width_;
    int height_;
    // Declared so that every selection is undone before its object is
    // deleted, and every object before the DC.
    UniqueMemoryDc dc_;
    UniqueGdiObject<HBITMAP> bitmap_;
    SelectionRestore bitmapSelection_;
    UniqueGdiObject<HPEN> pen_;
    SelectionRestore penSelection_;
    TColor penColor_;
    int penWidth_ = -1;
    std::vector<CachedFont> fonts_;
    SelectionRestore fontSelection_;
    std::size_t selectedFont_ = SIZE_MAX;  // index into fonts_
};

}  // namespace korbela
