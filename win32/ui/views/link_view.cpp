#include "win32/ui/views/link_view.h"

#include "win32/ui/skin/palette.h"

namespace korbela {

LinkView::LinkView(IViewHost& host, TLabel& model, Placement placement, const RECT& rect, int id, DWORD align,
                   std::function<void()> onClick)
    : ControlView(host, placement, rect), model_(model), onClick_(std::move(onClick)) {
    window_ = CreateChild("STATIC", model.Caption(), align | SS_NOPREFIX | SS_NOTIFY, 0, id, host.GetSkin().Link());
    Subclass(window_);
}

void LinkView::Sync() {
    ApplyText(window_, model_.Caption());
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

void LinkView::OnCommand(WORD code) {
    if (code == STN_CLICKED && onClick_) host_.Guarded(onClick_);
}

HBRUSH LinkView::OnCtlColor(HDC dc) {
    SetTextColor(dc, hot_.Hot() ? palette::kText : palette::kSilver);
    SetBkColor(dc, palette::kWindow);
    return host_.GetSkin().WindowBrush();
}

LRESULT LinkView::OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hot_.Handle(window, message)) InvalidateRect(window, nullptr, TRUE);
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace korbela
