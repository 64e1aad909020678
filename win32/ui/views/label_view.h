// A label as a STATIC control carrying its caption, so the text can be read
// with GetWindowText.
#pragma once

#include "core/ui/controls/control.h"
#include "win32/ui/views/control_view.h"

namespace korbela {

class LabelView : public ControlView {
public:
    // align: SS_LEFT, SS_RIGHT or SS_CENTER (a centred label wraps its words).
    LabelView(IViewHost& host, TCaptionControl& model, Placement placement, const RECT& rect, int id,
              DWORD align = SS_LEFT, HFONT font = nullptr);

    void Sync() override;
    bool TakesInput() const override { return false; }

private:
    TCaptionControl& model_;
};

}  // namespace korbela
