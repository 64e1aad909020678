// A spin edit holding whole numbers: OnChange runs whenever its text changes;
// pushed values clamp to the range, and a text that is no whole number reads as
// the minimum.
#pragma once

#include "core/ui/controls/control.h"

namespace korbela {

class TSpinner : public TControl {
public:
    TSpinner(int min, int max, int value);

    std::function<void()> OnChange;

    int Min() const { return min_; }
    int Max() const { return max_; }
    const std::string& Text() const { return text_; }
    int Value() const;
    void SetValue(int value);
    void SetText(const std::string& text);  // the user's typing
    // The user has left the box: its text becomes the value in force.
    void Settle() { SetValue(Value()); }

private:
    int min_;
    int max_;
    std::string text_;
};

}  // namespace korbela
