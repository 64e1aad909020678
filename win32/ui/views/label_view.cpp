#include "win32/ui/views/label_view.h"

namespace korbela {

LabelView::LabelView(IViewHost& host, TCaptionControl& model, Placement placement, const RECT& rect, int id,
                     DWORD align, HFONT font)
    : ControlView(host, placement, rect), model_(model) {
    // SS_NOTIFY lets the balloon hint see the pointer over the label.
    const DWORD wrap = align == SS_CENTER ? 0 : SS_LEFTNOWORDWRAP;
    const DWORD alignment = align == SS_LEFT ? wrap : align;
    window_ = CreateChild("STATIC", model.Caption(), alignment | SS_NOPREFIX | SS_NOTIFY, 0, id,
                          font != nullptr ? font : host.GetSkin().Normal());
}

void LabelView::Sync() {
    ApplyText(window_, model_.Caption());
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

}  // namespace korbela
