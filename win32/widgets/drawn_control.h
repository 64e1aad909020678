// A child window that shows a drawn widget without flicker: it owns the
// off-screen back buffer, lets the painter compose the picture in it and
// copies it to the screen in one BitBlt.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "core/widgets/canvas.h"
#include "win32/ui/window_base.h"
#include "win32/widgets/gdi_canvas.h"

namespace korbela {

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

}  // namespace korbela
