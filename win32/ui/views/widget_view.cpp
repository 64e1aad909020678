#include "win32/ui/views/widget_view.h"

namespace korbela {

WidgetView::WidgetView(IViewHost& host, Placement placement, const RECT& rect, int id,
                       DrawnControl::Painter painter, std::string hint)
    : ControlView(host, placement, rect), hint_(std::move(hint)) {
    const RECT place = EffectiveRect();
    control_ = std::make_unique<DrawnControl>(host.Parent(), id, place.left, place.top, place.right - place.left,
                                              place.bottom - place.top, std::move(painter));
    window_ = control_->Handle();
    // Hidden until its page shows it, like every other control.
    ShowWindow(window_, SW_HIDE);
}

void WidgetView::Sync() {
    ApplyHint(window_, hint_);
    ApplyState(true, true);
}

void WidgetView::Invalidate() { control_->Invalidate(); }

void WidgetView::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    SetWindowTextA(window_, text_.c_str());
}

}  // namespace korbela
