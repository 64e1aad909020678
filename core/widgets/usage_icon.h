// The tray icon that shows the memory in use: the percent as light digits on
// a square whose colour tells the level, drawn pixel by pixel at the
// notification area's icon size.
#pragma once

#include <cstdint>
#include <vector>

#include "core/system/display_scale.h"
#include "core/widgets/canvas.h"

namespace korbela {

// The notification area's icons are 16 pixels square at 96 dpi.
inline constexpr int kNotifyIconDesignSize = 16;

enum class UsageLevel { Normal, Raised, High };

// Below 60 % normal, from 60 % raised, from 85 % high.
constexpr UsageLevel UsageLevelOf(int percent) {
    if (percent >= 85) return UsageLevel::High;
    if (percent >= 60) return UsageLevel::Raised;
    return UsageLevel::Normal;
}

// Green, amber and red, each dark enough for white digits.
TColor UsageLevelColour(UsageLevel level);
inline constexpr TColor kUsageDigitColour{255, 255, 255};

// What the icon shows: the picture is drawn anew, and handed to the shell,
// only when this changes.
struct UsageIconFace {
    int percent = 0;  // 0 to 100
    int size = kNotifyIconDesignSize;

    friend constexpr bool operator==(const UsageIconFace&, const UsageIconFace&) = default;
};

// The face for a percent (held to 0..100) at a display scale.
UsageIconFace UsageIconFaceFor(int percent, DisplayScale scale);

// The picture: size x size pixels, top row first, each 0x00RRGGBB.
std::vector<uint32_t> DrawUsageIcon(const UsageIconFace& face);

}  // namespace korbela
