// A drawn widget (percent bar, scope graph) in its own flicker-free child
// window; the widget's Invalidate hook asks the window to repaint.
#pragma once

#include <memory>
#include <string>

#include "win32/ui/views/control_view.h"
#include "win32/widgets/drawn_control.h"

namespace korbela {

class WidgetView : public ControlView {
public:
    WidgetView(IViewHost& host, Placement placement, const RECT& rect, int id, DrawnControl::Painter painter,
               std::string hint);

    void Sync() override;
    bool TakesInput() const override { return false; }
    void Invalidate();
    // The window's text, which screen readers and other programs read: a bar
    // carries its caption, "63%".
    void SetText(const std::string& text);

private:
    std::unique_ptr<DrawnControl> control_;
    std::string hint_;
    std::string text_;
};

}  // namespace korbela
