// A web link label: underlined Times New Roman, silver, white while the
// pointer is over it, with a hand cursor. A click runs its handler.
#pragma once

#include <functional>

#include "core/ui/controls/control.h"
#include "win32/ui/skin/hot_tracking.h"
#include "win32/ui/views/control_view.h"

namespace korbela {

class LinkView : public ControlView {
public:
    LinkView(IViewHost& host, TLabel& model, Placement placement, const RECT& rect, int id, DWORD align,
             std::function<void()> onClick);

    void Sync() override;
    void OnCommand(WORD code) override;
    HBRUSH OnCtlColor(HDC dc) override;

protected:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TLabel& model_;
    std::function<void()> onClick_;
    HotTracking hot_;
};

}  // namespace korbela
