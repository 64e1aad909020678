#include "core/widgets/scope.h"

#include <algorithm>
#include <cstdint>

#include "core/system/arithmetic.h"

namespace korbela {

namespace {

template <typename T>
bool Change(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}

// Marks the scope as painting for as long as it lives.
class PaintingFlag {
public:
    explicit PaintingFlag(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~PaintingFlag() { flag_ = previous_; }
    PaintingFlag(const PaintingFlag&) = delete;
    PaintingFlag& operator=(const PaintingFlag&) = delete;

private:
    bool& flag_;
    bool previous_;
};

}  // namespace

TScope::TScope(int channelCount) : channels_(static_cast<std::size_t>(std::max(channelCount, 0))) {
    // The Monitor page's traces: free RAM in lime, used RAM in red, CPU load
    // in the channel default, yellow.
    if (channels_.size() > 0) channels_[0].color = clLime;
    if (channels_.size() > 1) channels_[1].color = clRed;
}

TScope::Channel* TScope::Find(int channel) {
    if (channel < 0 || channel >= ChannelCount()) return nullptr;
    return &channels_[static_cast<std::size_t>(channel)];
}

const TScope::Channel* TScope::Find(int channel) const {
    if (channel < 0 || channel >= ChannelCount()) return nullptr;
    return &channels_[static_cast<std::size_t>(channel)];
}

void TScope::AddValue(int channel, int value) {
    if (channels_.empty()) return;
    Channel& target = channels_[static_cast<std::size_t>(std::clamp(channel, 0, ChannelCount() - 1))];
    target.history.push_front(std::clamp(value, minValue_, maxValue_));
    while (static_cast<int>(target.history.size()) > bufferSize_) target.history.pop_back();
    RequestRepaint();
}

const std::deque<int>& TScope::History(int channel) const {
    static const std::deque<int> kNoPoints;
    const Channel* found = Find(channel);
    return found ? found->history : kNoPoints;
}

void TScope::SetChannelVisible(int channel, bool visible) {
    if (Channel* found = Find(channel); found && Change(found->visible, visible)) RequestRepaint();
}

bool TScope::ChannelVisible(int channel) const {
    const Channel* found = Find(channel);
    return found && found->visible;
}

void TScope::SetChannelColor(int channel, TColor color) {
    if (Channel* found = Find(channel); found && Change(found->color, color)) RequestRepaint();
}

TColor TScope::ChannelColor(int channel) const {
    const Channel* found = Find(channel);
    return found ? found->color : clYellow;
}

void TScope::SetChannelWidth(int channel, int width) {
    if (width < 0) return;
    if (Channel* found = Find(channel); found && Change(found->width, width)) RequestRepaint();
}

int TScope::ChannelWidth(int channel) const {
    const Channel* found = Find(channel);
    return found ? found->width : 1;
}

void TScope::SetChannelStyle(int channel, TGraphStyle style) {
    if (Channel* found = Find(channel); found && Change(found->style, style)) RequestRepaint();
}

TGraphStyle TScope::ChannelStyle(int channel) const {
    const Channel* found = Find(channel);
    return found ? found->style : TGraphStyle::gsLine;
}

void TScope::SetMinValue(int value) {
    if (value < kMinScopeInt || value >= maxValue_ || value == minValue_) return;
    minValue_ = value;
    ClearHistories();
}

void TScope::SetMaxValue(int value) {
    if (value > kMaxScopeInt || value <= minValue_ || value == maxValue_) return;
    maxValue_ = value;
    ClearHistories();
}

void TScope::SetBaseOffset(int value) {
    if (value < 0 || value > 100) return;
    if (Change(baseOffset_, value)) RequestRepaint();
}

void TScope::SetGridSize(int value) {
    if (value > 0 && Change(gridSize_, value)) RequestRepaint();
}

void TScope::SetGridLineWidth(int value) {
    if (value >= 0 && Change(gridLineWidth_, value)) RequestRepaint();
}

void TScope::SetGridColor(TColor value) {
    if (Change(gridColor_, value)) RequestRepaint();
}

void TScope::SetBaseColor(TColor value) {
    if (Change(baseColor_, value)) RequestRepaint();
}

void TScope::SetColor(TColor value) {
    if (Change(color_, value)) RequestRepaint();
}

void TScope::SetFrequency(int value) {
    if (value > 0 && Change(frequency_, value)) RequestRepaint();
}

void TScope::SetBufferSize(int value) {
    if (value <= 0 || !Change(bufferSize_, value)) return;
    for (Channel& channel : channels_) {
        while (static_cast<int>(channel.history.size()) > bufferSize_) channel.history.pop_back();
    }
    RequestRepaint();
}

void TScope::SetScale(DisplayScale scale) {
    if (scale.dpi > 0 && Change(scale_, scale)) RequestRepaint();
}

void TScope::ClearHistories() {
    for (Channel& channel : channels_) channel.history.clear();
    RequestRepaint();
}

void TScope::RequestRepaint() {
    if (!painting_ && Changed) Changed();
}

void TScope::Paint(ICanvas& canvas, int width, int height) const {
    if (width <= 0 || height <= 0) return;
    PaintingFlag flag(painting_);
    canvas.FillRect({0, 0, width, height}, color_);
    const int baseY = height -
                      static_cast<int>(RoundHalfEvenQuotient(int64_t{height} * baseOffset_, 100)) - 1;
    DrawGrid(canvas, width, height, baseY);
    for (int i = ChannelCount() - 1; i >= 0; --i) {
        const Channel& channel = channels_[static_cast<std::size_t>(i)];
        if (channel.visible) DrawTrace(canvas, channel, width, height, baseY);
    }
}

void TScope::DrawGrid(ICanvas& canvas, int width, int height, int baseY) const {
    const int gridSize = std::max(scale_(gridSize_), 1);
    const int lineWidth = scale_(gridLineWidth_);
    canvas.SetPen(gridColor_, lineWidth);
    for (int x = 0; x <= width; x += gridSize) {
        canvas.MoveTo(x, 0);
        canvas.LineTo(x, height);
    }
    // Horizontal lines are spaced from the base line, so they move with it.
    for (int y = baseY + gridSize; y < height; y += gridSize) {
        canvas.MoveTo(0, y);
        canvas.LineTo(width, y);
    }
    for (int y = baseY - gridSize; y >= 0; y -= gridSize) {
        canvas.MoveTo(0, y);
        canvas.LineTo(width, y);
    }
    canvas.SetPen(baseColor_, lineWidth);
    canvas.MoveTo(0, baseY);
    canvas.LineTo(width, baseY);
}

void TScope::DrawTrace(ICanvas& canvas, const Channel& channel, int width, int height,
                       int baseY) const {
    canvas.SetPen(channel.color, scale_(channel.width));
    int k = -1;
    canvas.MoveTo(PointX(k, width), baseY);
    auto point = channel.history.begin();
    while (PointX(k, width) > 0) {
        if (point == channel.history.end()) {
            // The trace falls back to the base line left of its oldest point.
            canvas.LineTo(PointX(k + 1, width), baseY);
            break;
        }
        const int y = PointY(*point++, height);
        canvas.LineTo(PointX(k + 1, width), y);
        ++k;
        if (channel.style == TGraphStyle::gsBar) canvas.LineTo(PointX(k + 1, width), y);
    }
}

int TScope::PointX(int k, int width) const {
    // Scaled from the design's distance, not step by step, so that rounding
    // does not add up along the trace.
    return width - scale_(k * frequency_);
}

int TScope::PointY(int value, int height) const {
    // Exact integer arithmetic: both divisions truncate, as the formula asks.
    const int64_t range = static_cast<int64_t>(maxValue_) - minValue_;
    const int64_t percent = range == 0 ? 0 : (static_cast<int64_t>(value) - minValue_) * 100 / range;
    return height - static_cast<int>(static_cast<int64_t>(height) * percent / 100);
}

}  // namespace korbela
