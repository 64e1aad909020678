// A push button: a click runs OnClick while the button is enabled and shown.
#pragma once

#include "core/ui/controls/control.h"

namespace korbela {

class TButton : public TCaptionControl {
public:
    std::function<void()> OnClick;

    void Click() {
        if (Enabled() && Visible() && OnClick) OnClick();
    }
};

}  // namespace korbela
