#include "win32/ui/views/spinner_view.h"

#include <commctrl.h>

#include <string>

#include "win32/app/error_report.h"
#include "win32/ui/skin/back_buffer.h"
#include "win32/ui/skin/draw.h"
#include "win32/ui/skin/palette.h"

namespace korbela {

namespace {

constexpr int kButtonsWidth = 15;

std::string EditText(HWND edit) {
    char text[64] = {};
    GetWindowTextA(edit, text, static_cast<int>(sizeof(text)));
    return text;
}

// A triangle of three design rows, one more pixel each side per row.
void Arrow(HDC dc, const RECT& half, bool up, bool enabled, DisplayScale scale) {
    const int cx = (half.left + half.right) / 2;
    const int cy = (half.top + half.bottom) / 2;
    const COLORREF ink = enabled ? palette::kText : palette::kTextDisabled;
    const int rows = scale(3);
    const int first = scale(1);
    for (int row = 0; row < rows; ++row) {
        const int y = up ? cy - first + row : cy + first - row;
        skin::FillSolid(dc, RECT{cx - row, y, cx + row + 1, y + 1}, ink);
    }
}

}  // namespace

SpinnerView::SpinnerView(IViewHost& host, TSpinner& model, Placement placement, const RECT& rect, int id,
                         int buttonsId)
    : ControlView(host, placement, rect), model_(model) {
    window_ = CreateChild("EDIT", model.Text(), ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, id,
                          host.GetSkin().Normal(), EditRect());
    buttons_ = CreateChild(UPDOWN_CLASSA, "", UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, buttonsId,
                           nullptr, ButtonsRect());
    SendMessageA(buttons_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(window_), 0);
    SendMessageA(buttons_, UDM_SETRANGE32, static_cast<WPARAM>(model.Min()), model.Max());
    Subclass(buttons_);
}

RECT SpinnerView::EditRect() const {
    RECT rect = EffectiveRect();
    rect.right -= host_.Scale()(kButtonsWidth);
    return rect;
}

RECT SpinnerView::ButtonsRect() const {
    RECT rect = EffectiveRect();
    rect.left = rect.right - host_.Scale()(kButtonsWidth);
    return rect;
}

void SpinnerView::Sync() {
    if (EditText(window_) != model_.Text()) {
        writing_ = true;
        SetWindowTextA(window_, model_.Text().c_str());
        writing_ = false;
    }
    ApplyHint(window_, model_.Hint());
    ApplyHint(buttons_, model_.Hint());
    ApplyState(window_, EditRect(), model_.Visible(), model_.Enabled());
    ApplyState(buttons_, ButtonsRect(), model_.Visible(), model_.Enabled());
}

void SpinnerView::OnCommand(WORD code) {
    if (code == EN_KILLFOCUS) {
        GuardedCall([this] { model_.Settle(); });
        return;
    }
    if (code != EN_CHANGE || writing_) return;
    const std::string text = EditText(window_);
    GuardedCall([this, &text] { model_.SetText(text); });
}

HBRUSH SpinnerView::OnCtlColor(HDC dc) {
    SetTextColor(dc, IsWindowEnabled(window_) ? palette::kText : palette::kTextDisabled);
    SetBkColor(dc, palette::kWell);
    return host_.GetSkin().WellBrush();
}

void SpinnerView::PaintButtons(HDC dc, const RECT& client) const {
    const bool enabled = IsWindowEnabled(buttons_) != FALSE;
    const int middle = (client.top + client.bottom) / 2;
    const RECT halves[2] = {{client.left, client.top, client.right, middle},
                            {client.left, middle, client.right, client.bottom}};
    for (int half = 0; half < 2; ++half) {
        const bool pressed = pressedHalf_ == half;
        skin::FillVertical(dc, halves[half], pressed ? palette::kFacePressedTop : palette::kFaceTop,
                           pressed ? palette::kFacePressedBottom : palette::kFaceBottom);
        skin::Frame(dc, halves[half], palette::kFaceFrame, host_.Scale()(1));
        Arrow(dc, halves[half], half == 0, enabled, host_.Scale());
    }
}

LRESULT SpinnerView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (HandleBufferedPaint(window, message, painted,
                            [this](HDC dc, const RECT& client) { PaintButtons(dc, client); })) {
        return painted;
    }
    switch (message) {
    case WM_LBUTTONDOWN: {
        RECT client{};
        GetClientRect(window, &client);
        pressedHalf_ = static_cast<short>(HIWORD(lParam)) < client.bottom / 2 ? 0 : 1;
        InvalidateRect(window, nullptr, FALSE);
        break;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (pressedHalf_ >= 0) {
            pressedHalf_ = -1;
            InvalidateRect(window, nullptr, FALSE);
        }
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace korbela
