#include "win32/ui/views/button_view.h"

namespace korbela {

ButtonView::ButtonView(IViewHost& host, TButton& model, Placement placement, const RECT& rect, int id,
                       std::optional<skin::Glyph> glyph, const std::string& name)
    : ControlView(host, placement, rect), model_(model), glyph_(glyph), name_(name) {
    window_ = CreateChild("BUTTON", glyph ? name : model.Caption(), BS_OWNERDRAW | WS_TABSTOP, 0, id,
                          host.GetSkin().Normal());
    Subclass(window_);
}

void ButtonView::Sync() {
    if (!glyph_ && ApplyText(window_, model_.Caption())) InvalidateRect(window_, nullptr, FALSE);
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

void ButtonView::OnCommand(WORD code) {
    // An owner-drawn button reports the second click of a double click apart.
    if (code == BN_CLICKED || code == BN_DOUBLECLICKED) host_.Guarded([this] { model_.Click(); });
}

bool ButtonView::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const skin::FaceState state = skin::FaceStateOf(item, hot_.Hot());
    const bool focused = (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;
    if (glyph_) {
        // The title bar's buttons too show where Tab has put the focus.
        skin::DrawCaptionButton(item.hDC, item.rcItem, *glyph_, state, host_.Scale());
        if (focused) skin::DrawFocusCue(item.hDC, item.rcItem, host_.Scale());
    } else {
        skin::DrawButton(item.hDC, item.rcItem, model_.Caption(), host_.GetSkin().Normal(), state, focused,
                         host_.Scale());
    }
    return true;
}

LRESULT ButtonView::OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hot_.Handle(window, message)) InvalidateRect(window, nullptr, FALSE);
    if (message == WM_ERASEBKGND) return 1;  // the owner draws every pixel
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace korbela
