// A group panel; its top can move (the pass panel is placed when shown).
#pragma once

#include "core/ui/controls/control.h"

namespace korbela {

class TPanel : public TCaptionControl {
public:
    int Top() const { return top_; }
    void SetTop(int value) { Set(top_, value); }

private:
    int top_ = 0;
};

}  // namespace korbela
