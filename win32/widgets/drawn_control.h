// A control drawn by a core widget (the percent bars, the graph): its window,
// and the painter of a percent bar.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/widgets/canvas.h"
#include "core/widgets/percent_bar.h"
#include "win32/widgets/gdi_canvas.h"
#include "win32/window/window.h"

namespace korbela {

// A child window that shows a drawn widget without flicker: it owns the
// off-screen back buffer, lets the painter compose the picture in it and
// copies it to the screen in one BitBlt.
inline constexpr char kDrawnControlClass[] = "KorbelaDrawn";

class DrawnControl : public WindowBase {
public:
    // A painter may take the canvas as an ICanvas, or as the GdiCanvas it is
    // to keep parts of the picture between paints.
    using Painter = std::function<void(GdiCanvas& canvas, int width, int height)>;

    // Throws std::runtime_error when the window cannot be created.
    DrawnControl(HWND parent, int id, int x, int y, int w, int h, Painter painter);
    ~DrawnControl() override;

    // Asks for a repaint; requests made before the next WM_PAINT merge into one.
    void Invalidate();

private:
    // What the painter throws goes to the application's report; the picture
    // of that paint is dropped.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint();
    void Resize(int width, int height);
    void RecreateBuffer(int width, int height);

    Painter painter_;
    std::unique_ptr<GdiCanvas> buffer_;
};

// Paints a percent bar on the GDI canvas from layers: its empty and its
// filled track are drawn once for a size and a look and kept as pixels, so a
// new percent costs two copies and the caption.
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
