// The usage icon: a frame and a square in the level's colour, and the percent
// in a blocky digit font whose cells grow with the icon, so that the digits
// stay sharp at every size instead of being a scaled 16-pixel picture.
#include "core/widgets/usage_icon.h"

#include <algorithm>
#include <string>

namespace korbela {

namespace {

// A digit: five rows of up to three cells, the leftmost cell the highest bit.
// The one is two cells wide, so that 100 fits beside two full digits.
struct Glyph {
    int width;
    uint8_t rows[5];
};

constexpr Glyph kDigits[10] = {
    {3, {0b111, 0b101, 0b101, 0b101, 0b111}}, {2, {0b01, 0b11, 0b01, 0b01, 0b01}},
    {3, {0b111, 0b001, 0b111, 0b100, 0b111}}, {3, {0b111, 0b001, 0b111, 0b001, 0b111}},
    {3, {0b101, 0b101, 0b111, 0b001, 0b001}}, {3, {0b111, 0b100, 0b111, 0b001, 0b111}},
    {3, {0b111, 0b100, 0b111, 0b101, 0b111}}, {3, {0b111, 0b001, 0b001, 0b001, 0b001}},
    {3, {0b111, 0b101, 0b111, 0b101, 0b111}}, {3, {0b111, 0b101, 0b111, 0b001, 0b111}},
};
constexpr int kGlyphRows = 5;

uint32_t Pixel(TColor colour) { return (uint32_t{colour.r} << 16) | (uint32_t{colour.g} << 8) | colour.b; }

TColor Darker(TColor colour) {
    return TColor{static_cast<uint8_t>(colour.r * 3 / 5), static_cast<uint8_t>(colour.g * 3 / 5),
                  static_cast<uint8_t>(colour.b * 3 / 5)};
}

// Cell sizes in pixels and the gap between digits.
struct DigitLayout {
    int cellWidth = 1;
    int cellHeight = 1;
    int gap = 1;
    int width = 0;  // of the whole number
};

int GapFor(int cellWidth) { return std::max(1, cellWidth / 2); }

// The widest cells that fit the room, never wider than they are high; the
// cells are then made up to twice as high as wide to fill the height.
DigitLayout LayOut(const std::string& digits, int room) {
    int cells = 0;
    for (char digit : digits) cells += kDigits[digit - '0'].width;
    const int gaps = static_cast<int>(digits.size()) - 1;
    const int highest = std::max(1, room / kGlyphRows);
    DigitLayout layout;
    for (int width = highest; width >= 1; --width) {
        layout.cellWidth = width;
        layout.gap = GapFor(width);
        layout.width = cells * width + gaps * layout.gap;
        if (layout.width <= room) break;
    }
    layout.cellHeight = std::min(highest, 2 * layout.cellWidth);
    return layout;
}

}  // namespace

TColor UsageLevelColour(UsageLevel level) {
    switch (level) {
    case UsageLevel::Normal:
        return TColor{46, 125, 50};
    case UsageLevel::Raised:
        return TColor{191, 110, 0};
    case UsageLevel::High:
        return TColor{198, 40, 40};
    }
    return TColor{46, 125, 50};
}

UsageIconFace UsageIconFaceFor(int percent, DisplayScale scale) {
    return UsageIconFace{std::clamp(percent, 0, 100), scale(kNotifyIconDesignSize)};
}

std::vector<uint32_t> DrawUsageIcon(const UsageIconFace& face) {
    const int size = std::max(1, face.size);
    const TColor fill = UsageLevelColour(UsageLevelOf(face.percent));
    std::vector<uint32_t> pixels(static_cast<std::size_t>(size) * size, Pixel(Darker(fill)));
    auto fillRect = [&](int left, int top, int right, int bottom, TColor colour) {
        for (int y = std::max(0, top); y < std::min(size, bottom); ++y) {
            for (int x = std::max(0, left); x < std::min(size, right); ++x) {
                pixels[static_cast<std::size_t>(y) * size + x] = Pixel(colour);
            }
        }
    };
    // A frame of a sixteenth of the size, at least a pixel, sets the square
    // off from a taskbar of a similar colour.
    const int frame = std::max(1, size / kNotifyIconDesignSize);
    fillRect(frame, frame, size - frame, size - frame, fill);

    const std::string digits = std::to_string(std::clamp(face.percent, 0, 100));
    const int room = size - 2 * frame;
    const DigitLayout layout = LayOut(digits, room);
    const int height = kGlyphRows * layout.cellHeight;
    int x = (size - layout.width) / 2;
    const int top = (size - height) / 2;
    for (char digit : digits) {
        const Glyph& glyph = kDigits[digit - '0'];
        for (int row = 0; row < kGlyphRows; ++row) {
            for (int column = 0; column < glyph.width; ++column) {
                if (((glyph.rows[row] >> (glyph.width - 1 - column)) & 1) == 0) continue;
                const int left = x + column * layout.cellWidth;
                const int cellTop = top + row * layout.cellHeight;
                fillRect(left, cellTop, left + layout.cellWidth, cellTop + layout.cellHeight, kUsageDigitColour);
            }
        }
        x += glyph.width * layout.cellWidth + layout.gap;
    }
    return pixels;
}

}  // namespace korbela
