// A check box as an owner-drawn BUTTON with its caption. The box answers
// BM_GETCHECK from the model's state; a click (or BM_CLICK) runs the model's
// Click, which toggles it.
#pragma once

#include "core/ui/controls/check_box.h"
#include "win32/ui/views/owner_drawn_button_view.h"

namespace korbela {

class CheckBoxView : public OwnerDrawnButtonView {
public:
    CheckBoxView(IViewHost& host, TCheckBox& model, Placement placement, const RECT& rect, int id);

    void Sync() override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TCheckBox& model_;
    bool shownChecked_ = false;
};

}  // namespace korbela
