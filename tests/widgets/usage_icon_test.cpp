#include "core/widgets/usage_icon.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace korbela {
namespace {

uint32_t Pixel(TColor colour) { return (uint32_t{colour.r} << 16) | (uint32_t{colour.g} << 8) | colour.b; }

const uint32_t kDigit = Pixel(kUsageDigitColour);

TEST(UsageIcon, TheSquaresColourTellsTheLevel) {
    const TColor green = UsageLevelColour(UsageLevel::Normal);
    const TColor amber = UsageLevelColour(UsageLevel::Raised);
    const TColor red = UsageLevelColour(UsageLevel::High);
    ASSERT_NE(green, amber);
    ASSERT_NE(amber, red);
    EXPECT_GT(green.g, green.r);
    EXPECT_GT(amber.r, amber.g);
    EXPECT_GT(amber.g, amber.b);
    EXPECT_GT(red.r, 2 * red.g);
    const struct {
        int percent;
        TColor colour;
    } cases[] = {{0, green}, {59, green}, {60, amber}, {84, amber}, {85, red}, {100, red}};
    for (const auto& c : cases) {
        for (const int size : {16, 20, 24, 32}) {
            SCOPED_TRACE(std::to_string(c.percent) + "% at " + std::to_string(size) + " px");
            const std::vector<uint32_t> pixels = DrawUsageIcon({c.percent, size});
            ASSERT_EQ(pixels.size(), static_cast<std::size_t>(size * size));
            const int inside = size / 16;  // just inside the frame, in the top left corner
            EXPECT_EQ(pixels[inside * size + inside], Pixel(c.colour));
            EXPECT_NE(pixels[0], Pixel(c.colour)) << "the frame is darker";
        }
    }
}

TEST(UsageIcon, TheIconSizeFollowsTheScale) {
    EXPECT_EQ(UsageIconFaceFor(42, DisplayScale{96}), (UsageIconFace{42, 16}));
    EXPECT_EQ(UsageIconFaceFor(42, DisplayScale{120}), (UsageIconFace{42, 20}));
    EXPECT_EQ(UsageIconFaceFor(42, DisplayScale{144}), (UsageIconFace{42, 24}));
    EXPECT_EQ(UsageIconFaceFor(42, DisplayScale{192}), (UsageIconFace{42, 32}));
    EXPECT_EQ(UsageIconFaceFor(-3, DisplayScale{96}).percent, 0);
    EXPECT_EQ(UsageIconFaceFor(101, DisplayScale{96}).percent, 100);
}

// Every figure at every size: its digits are whole, apart from each other,
// inside the frame and in the middle of the square.
TEST(UsageIcon, EveryFigureFitsInsideTheFrameWithItsDigitsApart) {
    for (const int size : {16, 20, 24, 32}) {
        for (int percent = 0; percent <= 100; ++percent) {
            SCOPED_TRACE(std::to_string(percent) + "% at " + std::to_string(size) + " px");
            const std::vector<uint32_t> pixels = DrawUsageIcon({percent, size});
            const int frame = std::max(1, size / 16);
            int left = size, right = -1, top = size, bottom = -1;
            std::vector<bool> columnLit(size, false);
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    if (pixels[y * size + x] != kDigit) continue;
                    columnLit[x] = true;
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
            ASSERT_GE(right, 0) << "no digits";
            EXPECT_GE(left, frame);
            EXPECT_GE(top, frame);
            EXPECT_LT(right, size - frame);
            EXPECT_LT(bottom, size - frame);
            EXPECT_LE(std::abs(left - (size - 1 - right)), 1) << "centred across";
            EXPECT_LE(std::abs(top - (size - 1 - bottom)), 1) << "centred down";
            EXPECT_GE(bottom - top + 1, size / 2) << "tall enough to read";
            // Runs of lit columns: one a digit.
            int runs = 0;
            for (int x = 0; x < size; ++x) {
                if (columnLit[x] && (x == 0 || !columnLit[x - 1])) ++runs;
            }
            EXPECT_EQ(runs, static_cast<int>(std::to_string(percent).size()));
        }
    }
}

TEST(UsageIcon, EveryFigureHasAPictureOfItsOwn) {
    for (const int size : {16, 24}) {
        std::set<std::vector<uint32_t>> pictures;
        for (int percent = 0; percent <= 100; ++percent) pictures.insert(DrawUsageIcon({percent, size}));
        EXPECT_EQ(pictures.size(), 101u) << size;
    }
}

}  // namespace
}  // namespace korbela
