// The main window's controls as plain models. A programmatic change fires the
// same handler as the user's, and only when the value really changes.
#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <string>

#include "core/system/shell.h"

namespace korbela {

// Plain models of the window's controls. A programmatic change goes through the
// same notify path as a user's, and only when the value really changes. The
// window binding listens on Changed to bring the real control in line.
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

// A push button: a click runs OnClick while the button is enabled and shown.
class TButton : public TCaptionControl {
public:
    std::function<void()> OnClick;

    void Click() {
        if (Enabled() && Visible() && OnClick) OnClick();
    }
};

// A check box: OnClick runs whenever the checked state changes, by the user or
// by the program.
class TCheckBox : public TCaptionControl {
public:
    std::function<void()> OnClick;

    bool Checked() const { return checked_; }
    void SetChecked(bool value) {
        if (Set(checked_, value) && OnClick) OnClick();
    }
    // The user's click: toggles while enabled.
    void Click() {
        if (Enabled()) SetChecked(!checked_);
    }

private:
    bool checked_ = false;
};

// The page control: only the selected page takes input.
class TPageControl : public TControl {
public:
    static constexpr int kPageCount = 4;

    explicit TPageControl(std::array<std::string, kPageCount> tabCaptions)
        : tabCaptions_(std::move(tabCaptions)) {}

    int ActivePageIndex() const { return active_; }
    void SetActivePageIndex(int index) {
        if (index >= 0 && index < kPageCount) Set(active_, index);
    }
    const std::string& TabCaption(int index) const { return tabCaptions_.at(index); }

private:
    std::array<std::string, kPageCount> tabCaptions_;
    int active_ = 0;
};

// A group panel; its top can move (the pass panel is placed when shown).
class TPanel : public TCaptionControl {
public:
    int Top() const { return top_; }
    void SetTop(int value) { Set(top_, value); }

private:
    int top_ = 0;
};

// The freeing run's progress bar.
class TProgressBar : public TControl {
public:
    int Max() const { return max_; }
    void SetMax(int value) { Set(max_, value); }
    int Position() const { return position_; }
    void SetPosition(int value) { Set(position_, value); }

private:
    int max_ = 100;
    int position_ = 0;
};

// A track bar: positions clamp to Min..Max; OnChange runs only when the position
// differs from the one last reported; OnMouseUp on every release of a mouse
// button pressed on it; OnEndTrack when a move by keyboard or wheel has ended.
class TSlider : public TControl {
public:
    TSlider(int min, int max, int frequency) : min_(min), max_(max), frequency_(frequency) {}

    std::function<void()> OnChange;
    std::function<void()> OnMouseUp;
    std::function<void()> OnEndTrack;

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Frequency() const { return frequency_; }
    int Position() const { return position_; }
    void SetPosition(int value) {
        if (Set(position_, std::clamp(value, min_, max_)) && OnChange) OnChange();
    }
    void MouseUp() {
        if (OnMouseUp) OnMouseUp();
    }
    void EndTrack() {
        if (OnEndTrack) OnEndTrack();
    }

private:
    int min_;
    int max_;
    int frequency_;
    int position_ = 0;
};

// A spin edit holding whole numbers: OnChange runs whenever its text changes;
// pushed values clamp to the range, and a text that is no whole number reads as
// the minimum.
class TSpinner : public TControl {
public:
    TSpinner(int min, int max, int value);

    std::function<void()> OnChange;

    int Min() const { return min_; }
    int Max() const { return max_; }
    const std::string& Text() const { return text_; }
    int Value() const;
    void SetValue(int value);
    void SetText(const std::string& text);  // the user's typing
    // The user has left the box: its text becomes the value in force.
    void Settle() { SetValue(Value()); }

private:
    int min_;
    int max_;
    std::string text_;
};

// A launcher: asks the shell to open its target (document, folder or web address).
class TStarter {
public:
    TStarter(IShell& shell, std::string target) : shell_(shell), target_(std::move(target)) {}

    const std::string& Target() const { return target_; }
    void SetTarget(const std::string& target) { target_ = target; }
    void Execute() { shell_.Open(target_); }

private:
    IShell& shell_;  // not owned
    std::string target_;
};

}  // namespace korbela
