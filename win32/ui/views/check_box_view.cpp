#include "win32/ui/views/check_box_view.h"

#include "win32/ui/skin/draw.h"

namespace korbela {

CheckBoxView::CheckBoxView(IViewHost& host, TCheckBox& model, Placement placement, const RECT& rect, int id)
    : ControlView(host, placement, rect), model_(model), shownChecked_(model.Checked()) {
    window_ = CreateChild("BUTTON", model.Caption(), BS_OWNERDRAW | WS_TABSTOP, 0, id, host.GetSkin().Normal());
    Subclass(window_);
}

void CheckBoxView::Sync() {
    bool repaint = ApplyText(window_, model_.Caption());
    if (shownChecked_ != model_.Checked()) {
        shownChecked_ = model_.Checked();
        repaint = true;
    }
    if (repaint) InvalidateRect(window_, nullptr, FALSE);
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

void CheckBoxView::OnCommand(WORD code) {
    if (code == BN_CLICKED || code == BN_DOUBLECLICKED) host_.Guarded([this] { model_.Click(); });
}

bool CheckBoxView::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const skin::FaceState state = skin::FaceStateOf(item, hot_.Hot());
    const bool focused = (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;
    skin::DrawCheckBox(item.hDC, item.rcItem, model_.Caption(), host_.GetSkin().Normal(), shownChecked_, state,
                       focused, host_.Scale());
    return true;
}

LRESULT CheckBoxView::OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hot_.Handle(window, message)) InvalidateRect(window, nullptr, FALSE);
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case BM_GETCHECK:
        // An owner-drawn button keeps no check state of its own.
        return shownChecked_ ? BST_CHECKED : BST_UNCHECKED;
    default:
        return DefSubclassProc(window, message, wParam, lParam);
    }
}

}  // namespace korbela
