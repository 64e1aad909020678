// Scrolling multi-channel graph over a grid laid out around a base line.
#pragma once

#include <deque>
#include <functional>
#include <vector>

namespace korbela {

class TScope {
public:
    explicit TScope(int channelCount = 3);

    void AddValue(int channel, int value);
    void SetChannelVisible(int channel, bool visible);
    bool ChannelVisible(int channel) const;
    const std::deque<int>& History(int channel) const;  // newest first

    int BaseOffset() const { return baseOffset_; }
    void SetBaseOffset(int value);
    bool Active() const { return active_; }
    void SetActive(bool value) { active_ = value; }

    std::function<void()> Invalidate;

private:
    struct Channel {
        bool visible = true;
        std::deque<int> history;
    };
    std::vector<Channel> channels_;
    int baseOffset_ = 70;
    bool active_ = false;
};

}  // namespace korbela
