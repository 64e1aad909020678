// The freeing run's progress bar: a real progress control (PBM_GETPOS and
// PBM_GETRANGE answer), painted as dark segmented blue.
#pragma once

#include "core/ui/controls/progress_bar.h"
#include "win32/ui/views/control_view.h"

namespace korbela {

class ProgressView : public ControlView {
public:
    ProgressView(IViewHost& host, TProgressBar& model, Placement placement, const RECT& rect, int id);

    void Sync() override;
    bool TakesInput() const override { return false; }

protected:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc, const RECT& client) const;

    TProgressBar& model_;
};

}  // namespace korbela
