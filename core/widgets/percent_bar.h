// Segmented, gradient-filled percent bar with a centred three-dimensional caption.
#pragma once

#include <functional>
#include <string>

namespace korbela {

class TPercentBar {
public:
    int Percent() const { return percent_; }
    // Ignored when unchanged or outside 0..100; otherwise stored and redrawn.
    void SetPercent(int value);

    // Called whenever the picture changes; the window binding repaints.
    std::function<void()> Invalidate;

private:
    int percent_ = 1;
};

}  // namespace korbela
