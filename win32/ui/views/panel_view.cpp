#include "win32/ui/views/panel_view.h"

#include <string>

#include "win32/ui/dpi.h"
#include "win32/ui/skin/draw.h"

namespace korbela {

PanelView::PanelView(IViewHost& host, TPanel& model, Placement placement, const RECT& rect, int id, Look look)
    : ControlView(host, placement, rect), model_(model), look_(look) {
    window_ = CreateChild("STATIC", model.Caption(), SS_OWNERDRAW, 0, id, host.GetSkin().Bold());
}

void PanelView::Sync() {
    RECT rect = rect_;
    OffsetRect(&rect, 0, PanelTop() + model_.Top());
    rect = Scaled(rect, host_.Scale());
    if (ApplyText(window_, model_.Caption())) InvalidateRect(window_, nullptr, FALSE);
    ApplyState(window_, rect, model_.Visible(), model_.Enabled());
}

bool PanelView::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const RECT& area = item.rcItem;
    if (look_ == Look::Banner) {
        skin::DrawBanner(item.hDC, area, model_.Caption(), host_.GetSkin().Freeing(), host_.Scale());
    } else {
        skin::DrawGroupPanel(item.hDC, area, model_.Caption(), host_.GetSkin().Bold(), host_.Scale());
    }
    return true;
}

}  // namespace korbela
