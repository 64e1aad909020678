#include "win32/ui/views/progress_view.h"

#include <commctrl.h>

#include <algorithm>

#include "win32/ui/skin/back_buffer.h"
#include "win32/ui/skin/draw.h"
#include "win32/ui/skin/palette.h"

namespace korbela {

ProgressView::ProgressView(IViewHost& host, TProgressBar& model, Placement placement, const RECT& rect, int id)
    : ControlView(host, placement, rect), model_(model) {
    window_ = CreateChild(PROGRESS_CLASSA, "", PBS_SMOOTH, 0, id, nullptr);
    Subclass(window_);
}

void ProgressView::Sync() {
    PBRANGE range{};
    SendMessageA(window_, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    if (range.iLow != 0 || range.iHigh != model_.Max()) SendMessageA(window_, PBM_SETRANGE32, 0, model_.Max());
    if (SendMessageA(window_, PBM_GETPOS, 0, 0) != model_.Position()) {
        SendMessageA(window_, PBM_SETPOS, static_cast<WPARAM>(model_.Position()), 0);
    }
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

void ProgressView::Paint(HDC dc, const RECT& client) const {
    const DisplayScale scale = host_.Scale();
    skin::FillSolid(dc, client, palette::kWell);
    skin::Frame(dc, client, palette::kWellFrame, scale(1));
    const int margin = scale(2);
    const RECT inner{client.left + margin, client.top + margin, client.right - margin, client.bottom - margin};
    const int width = inner.right - inner.left;
    const int max = model_.Max();
    const int position = std::clamp(model_.Position(), 0, std::max(max, 0));
    if (max <= 0 || width <= 0) return;
    const int filled = static_cast<int>(static_cast<long long>(width) * position / max);
    const RECT bar{inner.left, inner.top, inner.left + filled, inner.bottom};
    // The colour runs over the whole width, so a short bar shows its dark end.
    for (int x = bar.left; x < bar.right; ++x) {
        const int r = GetRValue(palette::kProgressFrom) +
                      (GetRValue(palette::kProgressTo) - GetRValue(palette::kProgressFrom)) * (x - inner.left) / width;
        const int g = GetGValue(palette::kProgressFrom) +
                      (GetGValue(palette::kProgressTo) - GetGValue(palette::kProgressFrom)) * (x - inner.left) / width;
        const int b = GetBValue(palette::kProgressFrom) +
                      (GetBValue(palette::kProgressTo) - GetBValue(palette::kProgressFrom)) * (x - inner.left) / width;
        // Segments of 3 design pixels with a 1-pixel gap, like the percent bars.
        const int stride = scale(4);
        const bool gap = (x - inner.left) % stride >= stride - scale(1);
        const RECT column{x, bar.top, x + 1, bar.bottom};
        skin::FillSolid(dc, column, gap ? palette::kWell : RGB(r, g, b));
    }
}

LRESULT ProgressView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (HandleBufferedPaint(window, message, painted, [this](HDC dc, const RECT& client) { Paint(dc, client); })) {
        return painted;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace korbela
