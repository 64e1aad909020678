#include "win32/ui/views/link_view.h"

#include "win32/app/error_report.h"
#include "win32/system/unique_handle.h"
#include "win32/ui/skin/draw.h"
#include "win32/ui/skin/palette.h"

namespace korbela {

LinkView::LinkView(IViewHost& host, TLabel& model, Placement placement, const RECT& rect, int id, DWORD align,
                   std::function<void()> onClick)
    : ControlView(host, placement, rect), model_(model), onClick_(std::move(onClick)) {
    // A tab stop, so that a keyboard user reaches the link and opens it with
    // Space or Enter.
    window_ = CreateChild("STATIC", model.Caption(), align | SS_NOPREFIX | SS_NOTIFY | WS_TABSTOP, 0, id,
                          host.GetSkin().Link());
    Subclass(window_);
}

void LinkView::Sync() {
    ApplyText(window_, model_.Caption());
    ApplyHint(window_, model_.Hint());
    ApplyState(model_.Visible(), model_.Enabled());
}

void LinkView::OnCommand(WORD code) {
    if (code == STN_CLICKED && onClick_) GuardedCall(onClick_);
}

HBRUSH LinkView::OnCtlColor(HDC dc) {
    SetTextColor(dc, hot_.Hot() ? palette::kText : palette::kSilver);
    SetBkColor(dc, palette::kWindow);
    return host_.GetSkin().WindowBrush();
}

LRESULT LinkView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hot_.Handle(window, message)) InvalidateRect(window, nullptr, TRUE);
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
    case WM_GETDLGCODE: {
        // Enter opens the link instead of going to the window's default button.
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    case WM_KEYDOWN:
        if ((wParam == VK_SPACE || wParam == VK_RETURN) && onClick_) {
            if ((lParam & (1 << 30)) == 0) GuardedCall(onClick_);  // not while the key repeats
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_PAINT: {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (GetFocus() == window) {
            RECT client{};
            GetClientRect(window, &client);
            WindowDc dc(window);
            const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
            const UINT format = (style & SS_TYPEMASK) == SS_CENTER ? DT_CENTER : DT_LEFT;
            skin::DrawTextFocusCue(dc.Get(), client, client, model_.Caption(), host_.GetSkin().Link(), format,
                                   host_.Scale());
        }
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace korbela
