#include "win32/ui/skin/skin.h"

#include "win32/ui/skin/palette.h"

namespace korbela {

UniqueGdiObject<HFONT> MakeFont(const char* face, int height, bool bold, bool underline, DisplayScale scale) {
    // A negative height asks for the character height, as the design gives it.
    return UniqueGdiObject<HFONT>(CreateFontA(-scale.FontHeight(height), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline ? TRUE : FALSE,
                            FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, face));
}

Skin::Skin(const char* face, DisplayScale scale)
    : normal_(MakeFont(face, 11, false, false, scale)),
      bold_(MakeFont(face, 11, true, false, scale)),
      freeing_(MakeFont(face, 16, true, false, scale)),
      link_(MakeFont("Times New Roman", 19, false, true, scale)),
      title_(MakeFont("Tahoma", 11, true, false, scale)),
      window_(CreateSolidBrush(palette::kWindow)),
      well_(CreateSolidBrush(palette::kWell)) {}

HFONT Skin::Counterpart(HFONT font, const Skin& other) const {
    if (font == nullptr) return nullptr;
    if (font == other.Normal()) return Normal();
    if (font == other.Bold()) return Bold();
    if (font == other.Freeing()) return Freeing();
    if (font == other.Link()) return Link();
    if (font == other.Title()) return Title();
    return nullptr;
}

}  // namespace korbela
