#include "core/widgets/scope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/widgets/recording_canvas.h"

namespace korbela {
namespace {

constexpr int kWidth = 455;
constexpr int kHeight = 105;

std::vector<RecordedLine> LinesIn(const std::vector<RecordedLine>& lines, TColor color) {
    std::vector<RecordedLine> matching;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(matching),
                 [&](const RecordedLine& line) { return line.color == color; });
    return matching;
}

std::vector<RecordedLine> PaintLines(const TScope& scope, TColor color) {
    RecordingCanvas canvas;
    scope.Paint(canvas, kWidth, kHeight);
    return LinesIn(canvas.Lines(), color);
}

// Only channel 0 (lime) drawn, so its trace can be read on its own.
TScope FreeRamOnly() {
    TScope scope;
    scope.SetChannelVisible(1, false);
    scope.SetChannelVisible(2, false);
    return scope;
}

TEST(ScopeBaseLine, SitsAtItsOffsetRoundedHalfToEven) {
    struct Case {
        int offset, y;
    };
    const Case cases[] = {{70, 30}, {90, 10}, {5, 99}, {50, 52}, {0, 104}, {100, -1}};
    for (const Case& c : cases) {
        TScope scope;
        scope.SetBaseOffset(c.offset);
        const auto lines = PaintLines(scope, clWhite);
        ASSERT_EQ(lines.size(), 1u) << c.offset;
        EXPECT_EQ(lines[0].from, (Point{0, c.y})) << c.offset;
        EXPECT_EQ(lines[0].to, (Point{kWidth, c.y})) << c.offset;
    }
}

TEST(ScopeGrid, StandsEveryTenPixelsAndIsSpacedFromTheBaseLine) {
    TScope scope;  // base line at y 30
    std::vector<int> verticals, horizontals;
    for (const RecordedLine& line : PaintLines(scope, clGray)) {
        if (line.from.x == line.to.x) {
            EXPECT_EQ(line.from.y, 0);
            EXPECT_EQ(line.to.y, kHeight);
            verticals.push_back(line.from.x);
        } else {
            EXPECT_EQ(line.from.x, 0);
            EXPECT_EQ(line.to.x, kWidth);
            horizontals.push_back(line.from.y);
        }
    }
    std::vector<int> expectedVerticals;
    for (int x = 0; x <= 450; x += 10) expectedVerticals.push_back(x);
    EXPECT_EQ(verticals, expectedVerticals);
    std::sort(horizontals.begin(), horizontals.end());
    EXPECT_EQ(horizontals, (std::vector<int>{0, 10, 20, 40, 50, 60, 70, 80, 90, 100}));
}

TEST(ScopeTrace, PlacesPointsByTheirShareOfTheRange) {
    struct Case {
        int value, y;
    };
    const Case cases[] = {{100, 0}, {50, 53}, {0, 105}, {20, 84}, {38, 66}};
    for (const Case& c : cases) {
        TScope scope = FreeRamOnly();
        scope.AddValue(0, c.value);
        const auto lines = PaintLines(scope, clLime);
        ASSERT_EQ(lines.size(), 2u) << c.value;
        EXPECT_EQ(lines[0].from, (Point{kWidth + 1, 30})) << c.value;  // from the base line
        EXPECT_EQ(lines[0].to, (Point{kWidth, c.y})) << c.value;
        EXPECT_EQ(lines[1].to, (Point{kWidth - 1, 30})) << c.value;  // back to the base line
    }
}

TEST(ScopeTrace, RunsFromTheRightNewestFirst) {
    TScope scope = FreeRamOnly();
    for (int value : {10, 20, 30}) scope.AddValue(0, value);
    const auto lines = PaintLines(scope, clLime);
    std::vector<Point> ends;
    for (const RecordedLine& line : lines) ends.push_back(line.to);
    EXPECT_EQ(ends, (std::vector<Point>{{455, 74}, {454, 84}, {453, 95}, {452, 30}}));
}

TEST(ScopeTrace, EmptyChannelDrawsNothingInside) {
    const auto lines = PaintLines(FreeRamOnly(), clLime);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].from, (Point{456, 30}));
    EXPECT_EQ(lines[0].to, (Point{455, 30}));  // a line leaves out its end point
}

TEST(ScopeTrace, DrawsAtMostAsManyPointsAsFitTheWidth) {
    TScope scope = FreeRamOnly();
    for (int i = 0; i < 600; ++i) scope.AddValue(0, i % 100);
    const auto lines = PaintLines(scope, clLime);
    EXPECT_EQ(lines.size(), 456u);  // x from 455 down to 0, no fall back
    EXPECT_EQ(lines.back().to.x, 0);
    EXPECT_EQ(scope.History(0).size(), 600u);
}

TEST(ScopeTrace, ChannelZeroIsDrawnOnTop) {
    TScope scope;
    RecordingCanvas canvas;
    scope.Paint(canvas, kWidth, kHeight);
    std::vector<TColor> pens;
    for (const CanvasCall& call : canvas.Calls()) {
        if (call.kind == CanvasCall::Kind::SetPen) pens.push_back(call.color);
    }
    EXPECT_EQ(pens, (std::vector<TColor>{clGray, clWhite, clYellow, clRed, clLime}));
}

TEST(ScopeTrace, BarStyleDrawsSteps) {
    TScope scope = FreeRamOnly();
    scope.SetChannelStyle(0, TGraphStyle::gsBar);
    scope.AddValue(0, 50);
    scope.AddValue(0, 100);
    std::vector<Point> ends;
    for (const RecordedLine& line : PaintLines(scope, clLime)) ends.push_back(line.to);
    EXPECT_EQ(ends, (std::vector<Point>{{455, 0}, {454, 0}, {454, 53}, {453, 53}, {453, 30}}));
}

TEST(ScopeHistory, KeepsTheLatest999Points) {
    TScope scope;
    for (int i = 1; i <= 999; ++i) scope.AddValue(1, i % 101);
    ASSERT_EQ(scope.History(1).size(), 999u);
    EXPECT_EQ(scope.History(1).back(), 1);
    scope.AddValue(1, 77);
    EXPECT_EQ(scope.History(1).size(), 999u);
    EXPECT_EQ(scope.History(1).front(), 77);
    EXPECT_EQ(scope.History(1).back(), 2);  // the oldest, 1, was dropped
}

TEST(ScopeHistory, ClampsChannelAndValue) {
    struct Case {
        int channel, value, expectedChannel, expectedValue;
    };
    const Case cases[] = {{5, 40, 2, 40}, {-1, 40, 0, 40}, {1, 150, 1, 100}, {1, -3, 1, 0}};
    for (const Case& c : cases) {
        TScope scope;
        scope.AddValue(c.channel, c.value);
        for (int channel = 0; channel < 3; ++channel) {
            const auto& history = scope.History(channel);
            if (channel == c.expectedChannel) {
                EXPECT_EQ(history, std::deque<int>{c.expectedValue}) << c.channel << "," << c.value;
            } else {
                EXPECT_TRUE(history.empty()) << c.channel << "," << c.value;
            }
        }
    }
}

TEST(ScopeHistory, AScopeWithoutChannelsIgnoresPoints) {
    TScope scope(0);
    scope.AddValue(0, 10);
    EXPECT_TRUE(scope.History(0).empty());
    EXPECT_FALSE(scope.ChannelVisible(0));
}

TEST(ScopeHistory, HiddenChannelKeepsItsPointsAndShowsThemAgain) {
    TScope scope = FreeRamOnly();
    scope.AddValue(0, 10);
    scope.SetChannelVisible(0, false);
    scope.AddValue(0, 20);
    scope.AddValue(0, 30);
    EXPECT_TRUE(PaintLines(scope, clLime).empty());
    scope.SetChannelVisible(0, true);
    EXPECT_EQ(PaintLines(scope, clLime).size(), 4u);  // three points and the fall back
}

TEST(ScopeRange, ChangingMinOrMaxClearsEveryHistory) {
    TScope scope;
    int repaints = 0;
    scope.Changed = [&] { ++repaints; };
    const auto fill = [&] {
        for (int channel = 0; channel < 3; ++channel) scope.AddValue(channel, 50);
        repaints = 0;
    };
    fill();
    scope.SetMaxValue(200);
    EXPECT_EQ(repaints, 1);
    for (int channel = 0; channel < 3; ++channel) EXPECT_TRUE(scope.History(channel).empty());
    fill();
    scope.SetMinValue(-50);
    EXPECT_EQ(scope.MinValue(), -50);
    for (int channel = 0; channel < 3; ++channel) EXPECT_TRUE(scope.History(channel).empty());

    fill();
    for (int ignoredMin : {200, 300, -1'000'000'000}) scope.SetMinValue(ignoredMin);
    for (int ignoredMax : {-50, -60, 1'000'000'000, 200}) scope.SetMaxValue(ignoredMax);
    EXPECT_EQ(scope.MinValue(), -50);
    EXPECT_EQ(scope.MaxValue(), 200);
    EXPECT_EQ(scope.History(0).size(), 1u);
    EXPECT_EQ(repaints, 0);
}

TEST(ScopeRange, PlacesPointsInAWiderRange) {
    TScope scope = FreeRamOnly();
    scope.SetMinValue(-100);
    scope.AddValue(0, 0);  // the middle of -100..100
    EXPECT_EQ(PaintLines(scope, clLime)[0].to, (Point{kWidth, 53}));
}

TEST(ScopeRepaint, RequestedOnlyWhenThePictureChanges) {
    TScope scope;
    int repaints = 0;
    scope.Changed = [&] { ++repaints; };
    const auto expectRepaints = [&](auto change, int expected, const char* what) {
        repaints = 0;
        change();
        EXPECT_EQ(repaints, expected) << what;
    };
    expectRepaints([&] { scope.SetBaseOffset(70); }, 0, "same base offset");
    expectRepaints([&] { scope.SetBaseOffset(50); }, 1, "base offset");
    expectRepaints([&] { scope.SetBaseOffset(101); }, 0, "base offset out of range");
    expectRepaints([&] { scope.SetGridSize(10); }, 0, "same grid size");
    expectRepaints([&] { scope.SetGridSize(0); }, 0, "no grid size");
    expectRepaints([&] { scope.SetGridSize(16); }, 1, "grid size");
    expectRepaints([&] { scope.SetGridColor(clGray); }, 0, "same grid colour");
    expectRepaints([&] { scope.SetGridColor(clGreen); }, 1, "grid colour");
    expectRepaints([&] { scope.SetBaseColor(clLime); }, 1, "base colour");
    expectRepaints([&] { scope.SetColor(clBlack); }, 0, "same background");
    expectRepaints([&] { scope.SetFrequency(2); }, 1, "frequency");
    expectRepaints([&] { scope.SetFrequency(0); }, 0, "no frequency");
    expectRepaints([&] { scope.SetChannelVisible(0, true); }, 0, "same visibility");
    expectRepaints([&] { scope.SetChannelVisible(0, false); }, 1, "visibility");
    expectRepaints([&] { scope.SetChannelColor(2, clYellow); }, 0, "same channel colour");
    expectRepaints([&] { scope.SetChannelColor(2, clAqua); }, 1, "channel colour");
    expectRepaints([&] { scope.SetChannelWidth(2, 2); }, 1, "channel width");
    expectRepaints([&] { scope.SetChannelStyle(2, TGraphStyle::gsBar); }, 1, "channel style");
    expectRepaints([&] { scope.SetChannelColor(7, clAqua); }, 0, "no such channel");
    expectRepaints([&] { scope.AddValue(1, 5); }, 1, "a point");
}

// At 150 % (144 dpi) the 455 x 105 graph is 683 x 158 pixels.
constexpr DisplayScale kOneAndAHalf{144};
constexpr int kScaledWidth = 683;
constexpr int kScaledHeight = 158;

std::vector<RecordedLine> PaintScaledLines(TScope scope, TColor color) {
    scope.SetScale(kOneAndAHalf);
    RecordingCanvas canvas;
    scope.Paint(canvas, kScaledWidth, kScaledHeight);
    return LinesIn(canvas.Lines(), color);
}

TEST(ScopeScale, GridStandsAtTheScaledGridSizeInScaledPens) {
    TScope scope;  // base line at 158 - round(110.6) - 1 = 46
    std::vector<int> verticals, horizontals;
    for (const RecordedLine& line : PaintScaledLines(scope, clGray)) {
        EXPECT_EQ(line.width, 2);
        if (line.from.x == line.to.x) {
            verticals.push_back(line.from.x);
        } else {
            EXPECT_EQ(line.to.x, kScaledWidth);
            horizontals.push_back(line.from.y);
        }
    }
    std::vector<int> expectedVerticals;
    for (int x = 0; x <= 675; x += 15) expectedVerticals.push_back(x);
    EXPECT_EQ(verticals, expectedVerticals);  // 46, as in the design
    std::sort(horizontals.begin(), horizontals.end());
    EXPECT_EQ(horizontals, (std::vector<int>{1, 16, 31, 61, 76, 91, 106, 121, 136, 151}));
    const auto base = PaintScaledLines(scope, clWhite);
    ASSERT_EQ(base.size(), 1u);
    EXPECT_EQ(base[0].from, (Point{0, 46}));
    EXPECT_EQ(base[0].width, 2);
}

TEST(ScopeScale, PlacesPointsAtScaledStepsAndRows) {
    TScope scope = FreeRamOnly();
    for (int value : {10, 20, 30}) scope.AddValue(0, value);
    const auto lines = PaintScaledLines(scope, clLime);
    std::vector<Point> ends;
    for (const RecordedLine& line : lines) {
        ends.push_back(line.to);
        EXPECT_EQ(line.width, 2);
    }
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].from, (Point{685, 46}));
    // Rows 158 - trunc(158 x p%), one and a half design pixels apart.
    EXPECT_EQ(ends, (std::vector<Point>{{683, 111}, {681, 127}, {680, 143}, {678, 46}}));
}

TEST(ScopeScale, ShowsTheDesignsPointsOverTheScaledWidthAndKeepsTheHistory) {
    TScope scope = FreeRamOnly();
    for (int i = 0; i < 600; ++i) scope.AddValue(0, i % 100);
    const std::deque<int> history = scope.History(0);
    int repaints = 0;
    scope.Changed = [&] { ++repaints; };
    scope.SetScale(kOneAndAHalf);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(scope.History(0), history);
    const auto lines = PaintScaledLines(scope, clLime);
    EXPECT_EQ(lines.size(), 456u);  // x from 683 down to 0, as 455 down to 0 unscaled
    EXPECT_EQ(lines.back().to.x, 0);
}

// A canvas whose fills feed the scope, as a handler run during a paint might.
class FeedingCanvas : public RecordingCanvas {
public:
    explicit FeedingCanvas(TScope& scope) : scope_(scope) {}
    void FillRect(const Rect& rect, TColor color) override {
        RecordingCanvas::FillRect(rect, color);
        scope_.AddValue(0, 42);
    }

private:
    TScope& scope_;  // not owned
};

TEST(ScopeRepaint, NotRequestedWhilePainting) {
    TScope scope;
    int repaints = 0;
    scope.Changed = [&] { ++repaints; };
    FeedingCanvas canvas(scope);
    scope.Paint(canvas, kWidth, kHeight);
    EXPECT_EQ(repaints, 0);
    EXPECT_EQ(scope.History(0).size(), 1u);
    scope.AddValue(0, 43);
    EXPECT_EQ(repaints, 1);
}

}  // namespace
}  // namespace korbela
