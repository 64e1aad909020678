// The page control: only the selected page takes input.
#pragma once

#include <array>
#include <string>

#include "core/ui/controls/control.h"

namespace korbela {

class TPageControl : public TControl {
public:
    static constexpr int kPageCount = 4;

    explicit TPageControl(std::array<std::string, kPageCount> tabCaptions)
        : tabCaptions_(std::move(tabCaptions)) {}

    int ActivePageIndex() const { return active_; }
    void SetActivePageIndex(int index) {
        if (index >= 0 && index < kPageCount) Set(active_, index);
    }
    const std::string& TabCaption(int index) const { return tabCaptions_.at(index); }

private:
    std::array<std::string, kPageCount> tabCaptions_;
    int active_ = 0;
};

}  // namespace korbela
