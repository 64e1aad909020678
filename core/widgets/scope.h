// Scrolling multi-channel graph over a grid laid out around a base line.
// Each channel keeps its latest points, newest first; Paint draws them from
// the right edge to the left. A new three-channel scope is set up as the
// Monitor page's graph.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "core/widgets/canvas.h"
#include "core/system/display_scale.h"

namespace korbela {

// Where the main window puts its graph, in the Monitor panel's coordinates.
inline constexpr Rect kScpGraphBounds{6, 40, 6 + 455, 40 + 105};

// gsLine joins the points directly; gsBar draws steps.
enum class TGraphStyle { gsLine, gsBar };

class TScope {
public:
    static constexpr int kMinScopeInt = -999'999'999;
    static constexpr int kMaxScopeInt = 999'999'999;

    explicit TScope(int channelCount = 3);

    int ChannelCount() const { return static_cast<int>(channels_.size()); }

    // Clamps the channel to the existing ones and the value to MinValue..MaxValue.
    void AddValue(int channel, int value);
    const std::deque<int>& History(int channel) const;  // newest first

    // Channel setters ignore a channel that does not exist.
    void SetChannelVisible(int channel, bool visible);
    bool ChannelVisible(int channel) const;
    void SetChannelColor(int channel, TColor color);
    TColor ChannelColor(int channel) const;
    void SetChannelWidth(int channel, int width);
    int ChannelWidth(int channel) const;
    void SetChannelStyle(int channel, TGraphStyle style);
    TGraphStyle ChannelStyle(int channel) const;

    // Changing either clears every history; a value that would not keep
    // MinValue below MaxValue, or lies outside the scope's range, is ignored.
    int MinValue() const { return minValue_; }
    void SetMinValue(int value);
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value);

    // Height of the base line in percent of the height, 0..100.
    int BaseOffset() const { return baseOffset_; }
    void SetBaseOffset(int value);
    int GridSize() const { return gridSize_; }  // positive
    void SetGridSize(int value);
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int value);
    TColor GridColor() const { return gridColor_; }
    void SetGridColor(TColor value);
    TColor BaseColor() const { return baseColor_; }
    void SetBaseColor(TColor value);
    TColor Color() const { return color_; }  // background
    void SetColor(TColor value);
    int Frequency() const { return frequency_; }  // pixels between points, positive
    void SetFrequency(int value);
    int BufferSize() const { return bufferSize_; }  // points kept per channel, positive
    void SetBufferSize(int value);

    // The display the graph is drawn for: the grid size, the pen widths and
    // the distance between points are the figures above scaled, so the same
    // points cover the scaled width. The history is not touched.
    DisplayScale Scale() const { return scale_; }
    void SetScale(DisplayScale scale);

    // Self-polling is not provided, so this is only stored.
    bool Active() const { return active_; }
    void SetActive(bool value) { active_ = value; }

    void Paint(ICanvas& canvas, int width, int height) const;

    // View hook, as on every control: the picture changed. The window merges
    // the calls into one repaint. Not called while the scope paints.
    std::function<void()> Changed;

private:
    struct Channel {
        TColor color = clYellow;
        int width = 1;
        TGraphStyle style = TGraphStyle::gsLine;
        bool visible = true;
        std::deque<int> history;
    };

    Channel* Find(int channel);
    const Channel* Find(int channel) const;
    void ClearHistories();
    void RequestRepaint();
    void DrawGrid(ICanvas& canvas, int width, int height, int baseY) const;
    // Where the k-th newest point stands; k = -1 is one step right of the edge.
    int PointX(int k, int width) const;
    void DrawTrace(ICanvas& canvas, const Channel& channel, int width, int height,
                   int baseY) const;
    int PointY(int value, int height) const;

    std::vector<Channel> channels_;
    int minValue_ = 0;
    int maxValue_ = 100;
    int baseOffset_ = 70;
    int gridSize_ = 10;
    int gridLineWidth_ = 1;
    TColor gridColor_ = clGray;
    TColor baseColor_ = clWhite;
    TColor color_ = clBlack;
    int frequency_ = 1;
    int bufferSize_ = 999;
    bool active_ = false;
    DisplayScale scale_;
    mutable bool painting_ = false;
};

}  // namespace korbela
