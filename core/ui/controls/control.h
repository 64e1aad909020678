// Plain models of the window's controls. A programmatic change goes through the
// same notify path as a user's, and only when the value really changes. The
// window binding listens on Changed to bring the real control in line.
#pragma once

#include <functional>
#include <string>

namespace korbela {

class TControl {
public:
    virtual ~TControl() = default;

    bool Visible() const { return visible_; }
    void SetVisible(bool value) { Set(visible_, value); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { Set(enabled_, value); }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) { Set(hint_, value); }

    // View hook: the displayed state changed.
    std::function<void()> Changed;

protected:
    template <typename T>
    bool Set(T& field, const T& value) {
        if (field == value) return false;
        field = value;
        NotifyChanged();
        return true;
    }
    void NotifyChanged() {
        if (Changed) Changed();
    }

private:
    bool visible_ = true;
    bool enabled_ = true;
    std::string hint_;
};

// A control that shows a caption: labels, panels, buttons, pages.
class TCaptionControl : public TControl {
public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value) { Set(caption_, value); }

private:
    std::string caption_;
};

using TLabel = TCaptionControl;

}  // namespace korbela
