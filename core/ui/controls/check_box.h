// A check box: OnClick runs whenever the checked state changes, by the user or
// by the program.
#pragma once

#include "core/ui/controls/control.h"

namespace korbela {

class TCheckBox : public TCaptionControl {
public:
    std::function<void()> OnClick;

    bool Checked() const { return checked_; }
    void SetChecked(bool value) {
        if (Set(checked_, value) && OnClick) OnClick();
    }
    // The user's click: toggles while enabled.
    void Click() {
        if (Enabled()) SetChecked(!checked_);
    }

private:
    bool checked_ = false;
};

}  // namespace korbela
