#include "win32/ui/views/button_view.h"

namespace korbela {

ButtonView::ButtonView(IViewHost& host, TButton& model, Placement placement, const RECT& rect, int id,
                       std::optional<skin::Glyph> glyph, const std::string& name)
    : OwnerDrawnButtonView(host, placement, rect, id, glyph ? name : model.Caption(), [&model] { model.Click(); }),
      model_(model),
      glyph_(glyph) {}

void ButtonView::Sync() {
    if (!glyph_ && ApplyText(window_, model_.Caption())) InvalidateRect(window_, nullptr, FALSE);
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

bool ButtonView::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const skin::FaceState state = FaceOf(item);
    const bool focused = ShowsFocus(item);
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

LRESULT ButtonView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) {
        // Enter comes to the button instead of going to the window's default one.
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
    }
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        if ((lParam & (1 << 30)) == 0) SendMessageA(window, BM_CLICK, 0, 0);  // not while the key repeats
        return 0;
    }
    return OwnerDrawnButtonView::HandleSubclassMessage(window, message, wParam, lParam);
}

}  // namespace korbela
