// The page control's tab strip, drawn on the window colour, its first tab at a
// given distance from the strip's left edge. A click or an arrow key selects a page through the model.
// It also answers TCM_GETCURSEL, TCM_GETITEMCOUNT and TCM_SETCURSEL (which
// selects as a click would), so tests can drive it.
#pragma once

#include "core/ui/controls/page_control.h"
#include "win32/ui/views/control_view.h"

namespace korbela {

class TabsView : public ControlView {
public:
    TabsView(IViewHost& host, TPageControl& model, const RECT& rect, int id, int firstTabLeft);

    void Sync() override;

protected:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    RECT TabRect(HDC dc, int index) const;
    int TabAt(POINT point) const;
    void Select(int index);
    void Paint(HDC dc, const RECT& client) const;

    TPageControl& model_;
    int firstTabLeft_;
    int shownPage_ = -1;
    bool shownEnabled_ = true;
    int hotTab_ = -1;
};

}  // namespace korbela
