// A track bar: positions clamp to Min..Max; OnChange runs only when the position
// differs from the one last reported; OnMouseUp on every release of a mouse
// button pressed on it; OnEndTrack when a move by keyboard or wheel has ended.
#pragma once

#include <algorithm>

#include "core/ui/controls/control.h"

namespace korbela {

class TSlider : public TControl {
public:
    TSlider(int min, int max, int frequency) : min_(min), max_(max), frequency_(frequency) {}

    std::function<void()> OnChange;
    std::function<void()> OnMouseUp;
    std::function<void()> OnEndTrack;

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Frequency() const { return frequency_; }
    int Position() const { return position_; }
    void SetPosition(int value) {
        if (Set(position_, std::clamp(value, min_, max_)) && OnChange) OnChange();
    }
    void MouseUp() {
        if (OnMouseUp) OnMouseUp();
    }
    void EndTrack() {
        if (OnEndTrack) OnEndTrack();
    }

private:
    int min_;
    int max_;
    int frequency_;
    int position_ = 0;
};

}  // namespace korbela
