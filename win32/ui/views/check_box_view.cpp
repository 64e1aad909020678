#include "win32/ui/views/check_box_view.h"

#include "win32/ui/skin/draw.h"

namespace korbela {

CheckBoxView::CheckBoxView(IViewHost& host, TCheckBox& model, Placement placement, const RECT& rect, int id)
    : OwnerDrawnButtonView(host, placement, rect, id, model.Caption(), [&model] { model.Click(); }),
      model_(model),
      shownChecked_(model.Checked()) {}

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

bool CheckBoxView::OnDrawItem(const DRAWITEMSTRUCT& item) {
    skin::DrawCheckBox(item.hDC, item.rcItem, model_.Caption(), host_.GetSkin().Normal(), shownChecked_, FaceOf(item),
                       ShowsFocus(item), host_.Scale());
    return true;
}

LRESULT CheckBoxView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // An owner-drawn button keeps no check state of its own.
    if (message == BM_GETCHECK) return shownChecked_ ? BST_CHECKED : BST_UNCHECKED;
    return OwnerDrawnButtonView::HandleSubclassMessage(window, message, wParam, lParam);
}

}  // namespace korbela
