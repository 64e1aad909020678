#include "core/form/controls.h"

#include <algorithm>
#include <charconv>

namespace korbela {

TSpinner::TSpinner(int min, int max, int value)
    : min_(min), max_(max), text_(std::to_string(std::clamp(value, min, max))) {}

int TSpinner::Value() const {
    const char* first = text_.data();
    const char* last = text_.data() + text_.size();
    while (first < last && *first == ' ') ++first;
    while (last > first && last[-1] == ' ') --last;
    long long parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || end != last || first == last) return min_;
    return static_cast<int>(std::clamp<long long>(parsed, min_, max_));
}

void TSpinner::SetValue(int value) { SetText(std::to_string(std::clamp(value, min_, max_))); }

void TSpinner::SetText(const std::string& text) {
    if (Set(text_, text) && OnChange) OnChange();
}

}  // namespace korbela
