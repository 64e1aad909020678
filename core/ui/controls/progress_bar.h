// The freeing run's progress bar.
#pragma once

#include "core/ui/controls/control.h"

namespace korbela {

class TProgressBar : public TControl {
public:
    int Max() const { return max_; }
    void SetMax(int value) { Set(max_, value); }
    int Position() const { return position_; }
    void SetPosition(int value) { Set(position_, value); }

private:
    int max_ = 100;
    int position_ = 0;
};

}  // namespace korbela
