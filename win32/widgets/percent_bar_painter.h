// Paints a percent bar on the GDI canvas from layers: its empty and its
// filled track are drawn once for a size and a look and kept as pixels, so a
// new percent costs two copies and the caption.
#pragma once

#include <windows.h>  // first, so that its TextOut macro names every canvas alike

#include <cstdint>
#include <vector>

#include "core/widgets/percent_bar.h"
#include "win32/widgets/gdi_canvas.h"

namespace korbela {

class PercentBarPainter {
public:
    // The bar must outlive the painter.
    explicit PercentBarPainter(const TPercentBar& bar) : bar_(&bar) {}

    void operator()(GdiCanvas& canvas, int width, int height);

private:
    // Whether the kept tracks are the ones of this size and look.
    bool Kept(const GdiCanvas& canvas, const TPercentBarLook& look) const;

    const TPercentBar* bar_;
    // What the kept tracks were drawn for; the fill's percent is left out.
    TPercentBarLook look_;
    DisplayScale scale_;
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    std::vector<uint32_t> empty_;
    std::vector<uint32_t> filled_;
};

}  // namespace korbela
