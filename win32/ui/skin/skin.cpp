#include "win32/ui/skin/skin.h"

#include "win32/ui/skin/palette.h"

namespace korbela {

UniqueGdiObject<HFONT> MakeFont(const char* face, int height, bool bold, bool underline) {
    // A negative height asks for the character height, as the design gives it.
    return UniqueGdiObject<HFONT>(CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline ? TRUE : FALSE,
                            FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, face));
}

Skin::Skin(const char* face)
    : normal_(MakeFont(face, 11)),
      bold_(MakeFont(face, 11, true)),
      freeing_(MakeFont(face, 16, true)),
      link_(MakeFont("Times New Roman", 19, false, true)),
      title_(MakeFont("Tahoma", 11, true)),
      window_(CreateSolidBrush(palette::kWindow)),
      well_(CreateSolidBrush(palette::kWell)) {}

}  // namespace korbela
