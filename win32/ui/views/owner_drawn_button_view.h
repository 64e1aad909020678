// An owner-drawn BUTTON bound to a model that is clicked: what the push
// button and the check box share. A click runs the model's Click; the face is
// drawn hot while the pointer is over it and is never erased first.
#pragma once

#include <functional>
#include <string>

#include "win32/ui/skin/draw.h"
#include "win32/ui/skin/hot_tracking.h"
#include "win32/ui/views/control_view.h"

namespace korbela {

class OwnerDrawnButtonView : public ControlView {
public:
    void OnCommand(WORD code) override;

protected:
    // Creates the button with its text and sees its messages.
    OwnerDrawnButtonView(IViewHost& host, Placement placement, const RECT& rect, int id, const std::string& text,
                         std::function<void()> click);

    // The face for one drawing: disabled, pressed, hot or normal.
    skin::FaceState FaceOf(const DRAWITEMSTRUCT& item) const { return skin::FaceStateOf(item, hot_.Hot()); }
    // Whether the drawing shows where Tab has put the focus.
    static bool ShowsFocus(const DRAWITEMSTRUCT& item);

    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void()> click_;
    HotTracking hot_;
};

}  // namespace korbela
