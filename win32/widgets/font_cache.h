// The fonts a canvas draws with: each made once, on first use, and kept while
// the canvas lives. Selecting the font that is selected already costs nothing.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/widgets/canvas.h"
#include "win32/system/unique_handle.h"

namespace korbela {

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

}  // namespace korbela
