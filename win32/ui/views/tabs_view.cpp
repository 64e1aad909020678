#include "win32/ui/views/tabs_view.h"

#include <commctrl.h>

#include "win32/app/error_report.h"
#include "win32/system/unique_handle.h"
#include "win32/ui/skin/back_buffer.h"
#include "win32/ui/skin/draw.h"
#include "win32/ui/skin/palette.h"
#include "win32/widgets/window_class.h"

namespace korbela {

namespace {

constexpr char kTabsClass[] = "KorbelaPageTabs";
constexpr int kTabPadding = 18;
constexpr int kTabGap = 2;
constexpr int kTabTop = 3;

}  // namespace

TabsView::TabsView(IViewHost& host, TPageControl& model, const RECT& rect, int id, int firstTabLeft)
    : ControlView(host, Placement{}, rect), model_(model), firstTabLeft_(firstTabLeft) {
    // The view's subclass does all the work.
    RegisterWindowClass(host.Instance(), {kTabsClass, DefWindowProcA, nullptr, true});
    window_ = CreateChild(kTabsClass, "", WS_TABSTOP, 0, id, nullptr);
    Subclass(window_);
}

void TabsView::Sync() {
    if (shownPage_ != model_.ActivePageIndex() || shownEnabled_ != model_.Enabled()) {
        shownPage_ = model_.ActivePageIndex();
        shownEnabled_ = model_.Enabled();
        InvalidateRect(window_, nullptr, FALSE);
    }
    ApplyState(model_.Visible(), model_.Enabled());
}

RECT TabsView::TabRect(HDC dc, int index) const {
    SelectionRestore select(dc, host_.GetSkin().Bold());
    RECT client{};
    GetClientRect(window_, &client);
    const DisplayScale scale = host_.Scale();
    int left = scale(firstTabLeft_);
    for (int i = 0; i <= index; ++i) {
        const std::string& caption = model_.TabCaption(i);
        SIZE extent{};
        GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        const RECT tab{left, scale(kTabTop), left + extent.cx + scale(kTabPadding), client.bottom - scale(1)};
        if (i == index) return tab;
        left = tab.right + scale(kTabGap);
    }
    return RECT{};
}

int TabsView::TabAt(POINT point) const {
    const WindowDc dc(window_);
    for (int i = 0; i < TPageControl::kPageCount; ++i) {
        const RECT tab = TabRect(dc.Get(), i);
        if (PtInRect(&tab, point)) return i;
    }
    return -1;
}

void TabsView::Select(int index) {
    if (index < 0 || index >= TPageControl::kPageCount || !model_.Enabled()) return;
    GuardedCall([this, index] { model_.SetActivePageIndex(index); });
}

void TabsView::Paint(HDC dc, const RECT& client) const {
    skin::FillSolid(dc, client, palette::kWindow);
    const bool enabled = model_.Enabled();
    const int active = model_.ActivePageIndex();
    const DisplayScale scale = host_.Scale();
    const int line = scale(1);
    skin::FillSolid(dc, RECT{client.left, client.bottom - line, client.right, client.bottom}, palette::kTabActive);
    for (int i = 0; i < TPageControl::kPageCount; ++i) {
        RECT tab = TabRect(dc, i);
        const bool selected = i == active;
        if (selected) tab.bottom += line;  // joins the line below
        COLORREF fill = selected ? palette::kTabActive : (i == hotTab_ && enabled ? palette::kTabHot : palette::kTabIdle);
        skin::FillVertical(dc, tab, fill, selected ? palette::kTabActive : palette::kTitleBottom);
        if (selected) {
            const RECT accent{tab.left, tab.top, tab.right, tab.top + scale(2)};
            skin::FillSolid(dc, accent, enabled ? palette::kAccent : palette::kPanelFrame);
        }
        const DcStateRestore state(dc);
        SelectObject(dc, selected ? host_.GetSkin().Bold() : host_.GetSkin().Normal());
        SetBkMode(dc, TRANSPARENT);
        COLORREF ink = selected ? palette::kText : palette::kSilver;
        if (!enabled) ink = palette::kTextDisabled;
        SetTextColor(dc, ink);
        const std::string& caption = model_.TabCaption(i);
        RECT textArea = tab;
        textArea.top += line;
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textArea,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (selected && GetFocus() == window_) skin::DrawFocusCue(dc, tab, scale);
    }
}

LRESULT TabsView::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (HandleBufferedPaint(window, message, painted, [this](HDC dc, const RECT& client) { Paint(dc, client); })) {
        return painted;
    }
    switch (message) {
    case WM_LBUTTONDOWN: {
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        SetFocus(window);
        Select(TabAt(point));
        return 0;
    }
    case WM_MOUSEMOVE: {
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const int hot = TabAt(point);
        if (hot != hotTab_) {
            hotTab_ = hot;
            InvalidateRect(window, nullptr, FALSE);
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = window;
            TrackMouseEvent(&track);
        }
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(window, nullptr, FALSE);  // the focus cue on the page's tab
        return DefSubclassProc(window, message, wParam, lParam);
    case WM_MOUSELEAVE:
        hotTab_ = -1;
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (wParam == VK_LEFT) Select(model_.ActivePageIndex() - 1);
        if (wParam == VK_RIGHT) Select(model_.ActivePageIndex() + 1);
        return 0;
    case TCM_GETCURSEL:
        return model_.ActivePageIndex();
    case TCM_GETITEMCOUNT:
        return TPageControl::kPageCount;
    case TCM_SETCURSEL: {
        const int previous = model_.ActivePageIndex();
        Select(static_cast<int>(wParam));
        return previous;
    }
    default:
        return DefSubclassProc(window, message, wParam, lParam);
    }
}

}  // namespace korbela
