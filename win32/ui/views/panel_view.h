// A group panel as an owner-drawn STATIC behind its controls: frame, bold
// caption and caption line. The window text is the panel's caption. An
// overlay panel (the freeing banner) draws its caption large and centred.
#pragma once

#include "core/ui/controls/panel.h"
#include "win32/ui/views/control_view.h"

namespace korbela {

class PanelView : public ControlView {
public:
    enum class Look { Group, Banner };

    // The panel moves down by its model's Top.
    PanelView(IViewHost& host, TPanel& model, Placement placement, const RECT& rect, int id, Look look);

    void Sync() override;
    bool TakesInput() const override { return false; }
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

private:
    TPanel& model_;
    Look look_;
};

}  // namespace korbela
