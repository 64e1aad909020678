// How the tray icon hides and restores the application: the members of
// TTrayVisibility and the 16-bit set that holds them.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace korbela {

enum class TTrayVisibility : uint8_t {
    tvVisibleTaskBar,
    tvVisibleTaskList,
    tvAutoHide,
    tvAutoHideIcon,
    tvVisibleDesign,
    tvRestoreClick,
    tvRestoreDbClick,
    tvMinimizeClick,
    tvMinimizeDbClick,
    tvAnimateToTray,
    tvNoRetryOnFailure,
};

inline constexpr int kTrayVisibilityCount = 11;

// Member n is bit n.
class TTrayVisibilitySet {
public:
    constexpr TTrayVisibilitySet() = default;
    constexpr TTrayVisibilitySet(std::initializer_list<TTrayVisibility> members) {
        for (TTrayVisibility member : members) Include(member);
    }

    constexpr bool Contains(TTrayVisibility member) const { return (bits_ & Bit(member)) != 0; }
    constexpr void Include(TTrayVisibility member) { bits_ = static_cast<uint16_t>(bits_ | Bit(member)); }
    constexpr void Exclude(TTrayVisibility member) { bits_ = static_cast<uint16_t>(bits_ & ~Bit(member)); }
    constexpr uint16_t Bits() const { return bits_; }

    friend constexpr bool operator==(TTrayVisibilitySet, TTrayVisibilitySet) = default;

private:
    static constexpr uint16_t Bit(TTrayVisibility member) {
        return static_cast<uint16_t>(1u << static_cast<unsigned>(member));
    }

    uint16_t bits_ = 0;
};

// The set the main window gives its tray icon.
inline constexpr TTrayVisibilitySet kMainWindowTrayVisibility{
    TTrayVisibility::tvVisibleTaskBar, TTrayVisibility::tvVisibleTaskList, TTrayVisibility::tvAutoHide,
    TTrayVisibility::tvRestoreClick,   TTrayVisibility::tvRestoreDbClick,  TTrayVisibility::tvMinimizeClick,
    TTrayVisibility::tvMinimizeDbClick, TTrayVisibility::tvAnimateToTray,
};

}  // namespace korbela
