#include "win32/ui/views/slider_view.h"

#include <commctrl.h>

#include "win32/app/error_report.h"
#include "win32/ui/skin/trackbar_paint.h"

namespace korbela {

SliderView::SliderView(IViewHost& host, TSlider& model, Placement placement, const RECT& rect, int id)
    : ControlView(host, placement, rect), model_(model) {
    window_ = CreateChild(TRACKBAR_CLASSA, "", TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP, 0, id,
                          host.GetSkin().Normal());
    SendMessageA(window_, TBM_SETRANGEMIN, FALSE, model.Min());
    SendMessageA(window_, TBM_SETRANGEMAX, FALSE, model.Max());
    SendMessageA(window_, TBM_SETTICFREQ, static_cast<WPARAM>(model.Frequency()), 0);
    SendMessageA(window_, TBM_SETLINESIZE, 0, 1);
    SendMessageA(window_, TBM_SETPAGESIZE, 0, 2);
    SendMessageA(window_, TBM_SETPOS, TRUE, model.Position());
    Subclass(window_);
}

void SliderView::Sync() {
    if (SendMessageA(window_, TBM_GETPOS, 0, 0) != model_.Position()) {
        SendMessageA(window_, TBM_SETPOS, TRUE, model_.Position());
    }
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

void SliderView::PassPosition() {
    const int position = static_cast<int>(SendMessageA(window_, TBM_GETPOS, 0, 0));
    GuardedCall([this, position] { model_.SetPosition(position); });
}

void SliderView::OnScroll(WORD code) {
    PassPosition();
    // A drag or a click ends with the release, a wheel turn after its message.
    if (code == TB_ENDTRACK && !pressed_ && !wheeling_) GuardedCall([this] { model_.EndTrack(); });
}

bool SliderView::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.code != NM_CUSTOMDRAW) return false;
    result = skin::PaintTrackbar(reinterpret_cast<NMCUSTOMDRAW&>(header), window_, host_.Scale());
    return true;
}

LRESULT SliderView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = HandleMessage(window, message, wParam, lParam);
    if (message == TBM_GETPOS || message == WM_DESTROY) return result;
    // The lit groove runs up to the thumb, so a move repaints the whole
    // control, not only the thumb's old and new places.
    const LRESULT position = SendMessageA(window, TBM_GETPOS, 0, 0);
    if (position != paintedPosition_) {
        paintedPosition_ = position;
        InvalidateRect(window, nullptr, FALSE);
    }
    return result;
}

LRESULT SliderView::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        pressed_ = true;
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        // The trackbar settles its position on the release first.
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (pressed_) {
            pressed_ = false;
            PassPosition();
            GuardedCall([this] { model_.MouseUp(); });
        }
        return result;
    }
    case WM_MOUSEWHEEL: {
        wheeling_ = true;
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        wheeling_ = false;
        PassPosition();
        GuardedCall([this] { model_.EndTrack(); });
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace korbela
