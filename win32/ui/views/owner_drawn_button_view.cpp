#include "win32/ui/views/owner_drawn_button_view.h"

#include <utility>

#include "win32/app/error_report.h"

namespace korbela {

OwnerDrawnButtonView::OwnerDrawnButtonView(IViewHost& host, Placement placement, const RECT& rect, int id,
                                           const std::string& text, std::function<void()> click)
    : ControlView(host, placement, rect), click_(std::move(click)) {
    window_ = CreateChild("BUTTON", text, BS_OWNERDRAW | WS_TABSTOP, 0, id, host.GetSkin().Normal());
    Subclass(window_);
}

void OwnerDrawnButtonView::OnCommand(WORD code) {
    // An owner-drawn button reports the second click of a double click apart.
    if (code == BN_CLICKED || code == BN_DOUBLECLICKED) GuardedCall(click_);
}

bool OwnerDrawnButtonView::ShowsFocus(const DRAWITEMSTRUCT& item) {
    return (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;
}

LRESULT OwnerDrawnButtonView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hot_.Handle(window, message)) InvalidateRect(window, nullptr, FALSE);
    if (message == WM_ERASEBKGND) return 1;  // the owner draws every pixel
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace korbela
