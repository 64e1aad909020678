#include "core/widgets/usage_icon.h"

#include <gtest/gtest.h>

#include <string>

namespace korbela {
namespace {

uint32_t Pixel(TColor colour) { return (uint32_t{colour.r} << 16) | (uint32_t{colour.g} << 8) | colour.b; }

TEST(UsageIcon, TheSquaresColourTellsTheLevel) {
    const TColor green = UsageLevelColour(UsageLevel::Normal), amber = UsageLevelColour(UsageLevel::Raised),
                 red = UsageLevelColour(UsageLevel::High);
    EXPECT_TRUE(green.g > green.r && amber.r > amber.g && amber.g > amber.b && red.r > 2 * red.g);
    const struct {
        int percent;
        TColor colour;
    } cases[] = {{0, green}, {59, green}, {60, amber}, {84, amber}, {85, red}, {100, red}};
    for (const auto& c : cases) {
        for (const int size : {16, 24, 32}) {
            const std::vector<uint32_t> pixels = DrawUsageIcon({c.percent, size});
            const int inside = size / 16;  // just inside the frame
            EXPECT_EQ(pixels[inside * size + inside], Pixel(c.colour)) << c.percent << "% at " << size;
        }
    }
}

// Every figure at every size: as many digits apart as it has, inside the
// frame, in the middle and at least half the icon's height.
TEST(UsageIcon, EveryFigureFitsItsSquare) {
    for (const int dpi : {96, 120, 144, 192}) {
        for (int percent = 0; percent <= 100; ++percent) {
            const UsageIconFace face = UsageIconFaceFor(percent, DisplayScale{dpi});
            const int size = face.size, frame = std::max(1, size / 16);
            ASSERT_EQ(size, 16 * dpi / 96);
            const std::vector<uint32_t> pixels = DrawUsageIcon(face);
            int left = size, right = -1, top = size, bottom = -1, digits = 0;
            bool previous = false;
            for (int x = 0; x < size; ++x) {
                bool lit = false;
                for (int y = 0; y < size; ++y) {
                    if (pixels[y * size + x] != Pixel(kUsageDigitColour)) continue;
                    lit = true;
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
                digits += lit && !previous;
                previous = lit;
            }
            SCOPED_TRACE(std::to_string(percent) + "% at " + std::to_string(size) + " px");
            EXPECT_EQ(digits, static_cast<int>(std::to_string(percent).size()));
            EXPECT_TRUE(left >= frame && top >= frame && right < size - frame && bottom < size - frame);
            EXPECT_LE(std::abs(left - (size - 1 - right)), 1) << "centred";
            EXPECT_GE(bottom - top + 1, size / 2) << "tall enough to read";
        }
    }
}

}  // namespace
}  // namespace korbela
