#include "win32/widgets/font_cache.h"

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

}  // namespace korbela
