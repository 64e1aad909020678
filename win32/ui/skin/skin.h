// The main window's fonts and brushes of the built-in dark skin, alive as
// long as the window's controls use them.
#pragma once

#include <windows.h>

#include "core/widgets/display_scale.h"
#include "win32/system/unique_handle.h"

namespace korbela {

// A font by face and character height in design pixels, at the display's scale.
UniqueGdiObject<HFONT> MakeFont(const char* face, int height, bool bold = false, bool underline = false,
                                DisplayScale scale = {});

class Skin {
public:
    explicit Skin(const char* face = "Tahoma", DisplayScale scale = {});

    // This skin's font in the role that `font` has in `other` (the same skin
    // at another scale), or null when it has none there.
    HFONT Counterpart(HFONT font, const Skin& other) const;

    HFONT Normal() const { return normal_.Get(); }
    HFONT Bold() const { return bold_.Get(); }
    HFONT Freeing() const { return freeing_.Get(); }  // bold 16 px
    HFONT Link() const { return link_.Get(); }        // underlined Times New Roman 19 px
    HFONT Title() const { return title_.Get(); }      // bold Tahoma: window captions
    HBRUSH WindowBrush() const { return window_.Get(); }
    HBRUSH WellBrush() const { return well_.Get(); }

private:
    UniqueGdiObject<HFONT> normal_;
    UniqueGdiObject<HFONT> bold_;
    UniqueGdiObject<HFONT> freeing_;
    UniqueGdiObject<HFONT> link_;
    UniqueGdiObject<HFONT> title_;
    UniqueGdiObject<HBRUSH> window_;
    UniqueGdiObject<HBRUSH> well_;
};

}  // namespace korbela
