// The main window's controls: a view for each kind of control model, which
// shows the model and turns the user's input into the model's changes.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/form/controls.h"
#include "win32/widgets/drawn_control.h"
#include "win32/window/skin.h"
#include "win32/window/window.h"

namespace korbela {

class MainWindow;

// A real child control of the main window bound to one control model: user
// actions go to the model, the model's Changed hook brings the control in line.
// Every view is a direct child of the main window, so each control can be
// found with GetDlgItem(main window, id).

// Where a control stands: on which page, inside which panel, under which
// overlay. A control is shown only while all of these allow it.
struct Placement {
    int page = -1;                      // -1: on the title bar, on every page
    const TPanel* inside = nullptr;     // not owned: moves and hides with this panel
    const TPanel* coveredBy = nullptr;  // not owned: hidden while this panel shows
};

// A view sees its controls' messages through its subclass (Subclass and
// HandleSubclassMessage); the default passes them on.
class ControlView : protected SubclassBase {
public:
    ControlView(MainWindow& host, Placement placement, const RECT& rect);

    HWND Handle() const { return window_; }
    // The page it stands on; -1 on the title bar.
    int Page() const { return placement_.page; }
    // Every window of this view (a spinner has two).
    virtual std::vector<HWND> Windows() const { return {window_}; }

    // Brings the real control in line with its model.
    virtual void Sync() = 0;
    // The model's Changed hook: all of Sync unless a view needs less.
    virtual void ModelChanged() { Sync(); }
    // False for what only shows something (labels, panels, bars).
    virtual bool TakesInput() const { return true; }

    // Notifications the main window passes on.
    virtual void OnCommand(WORD /*code*/) {}
    virtual void OnScroll(WORD /*code*/) {}
    virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    virtual bool OnNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // WM_CTLCOLOR*: white text on the panel colour unless a view says otherwise.
    virtual HBRUSH OnCtlColor(HDC dc);

protected:
    HWND CreateChild(const char* className, const std::string& text, DWORD style, DWORD exStyle, int id,
                     HFONT font);
    HWND CreateChild(const char* className, const std::string& text, DWORD style, DWORD exStyle, int id,
                     HFONT font, const RECT& rect);
    // Position (following the holding panel), visibility and enabled state.
    void ApplyState(HWND window, const RECT& rect, bool visible, bool enabled);
    void ApplyState(bool visible, bool enabled) { ApplyState(window_, EffectiveRect(), visible, enabled); }
    // True when the text was different.
    bool ApplyText(HWND window, const std::string& text);
    void ApplyHint(HWND window, const std::string& hint);
    // The design place, moved with the holding panel, in pixels of the display.
    RECT EffectiveRect() const;
    int PanelTop() const;

    MainWindow& host_;
    Placement placement_;
    RECT rect_;            // design place in the main window's client area, at 96 dpi
    HWND window_ = nullptr;  // not owned: a child, destroyed with the main window

private:
    std::vector<std::pair<HWND, std::string>> hints_;
};

// An owner-drawn BUTTON bound to a model that is clicked: what the push
// button and the check box share. A click runs the model's Click; the face is
// drawn hot while the pointer is over it and is never erased first.
class OwnerDrawnButtonView : public ControlView {
public:
    void OnCommand(WORD code) override;

protected:
    // Creates the button with its text and sees its messages.
    OwnerDrawnButtonView(MainWindow& host, Placement placement, const RECT& rect, int id, const std::string& text,
                         std::function<void()> click);

    // The face for one drawing: disabled, pressed, hot or normal.
    skin::FaceState FaceOf(const DRAWITEMSTRUCT& item) const { return skin::FaceStateOf(item, hot_.Hot()); }
    // Whether the drawing shows where Tab has put the focus.
    static bool ShowsFocus(const DRAWITEMSTRUCT& item);

    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void()> click_;
    HotTracking hot_;
};

// A push button as an owner-drawn BUTTON: skinned face, white caption, or a
// picture (the title bar's help and close buttons). A click, Space or Enter
// runs the model's Click.
class ButtonView : public OwnerDrawnButtonView {
public:
    // With a glyph the button shows the picture; its window text is then
    // `name` (the model has no caption), so the control can still be found.
    ButtonView(MainWindow& host, TButton& model, Placement placement, const RECT& rect, int id,
               std::optional<skin::Glyph> glyph = std::nullopt, const std::string& name = std::string());

    void Sync() override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    // Enter presses the focused button, as Space does.
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TButton& model_;
    std::optional<skin::Glyph> glyph_;
};

// A check box as an owner-drawn BUTTON with its caption. The box answers
// BM_GETCHECK from the model's state; a click (or BM_CLICK) runs the model's
// Click, which toggles it.
class CheckBoxView : public OwnerDrawnButtonView {
public:
    CheckBoxView(MainWindow& host, TCheckBox& model, Placement placement, const RECT& rect, int id);

    void Sync() override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TCheckBox& model_;
    bool shownChecked_ = false;
};

// A label as a STATIC control carrying its caption, so the text can be read
// with GetWindowText.
class LabelView : public ControlView {
public:
    // align: SS_LEFT, SS_RIGHT or SS_CENTER (a centred label wraps its words).
    LabelView(MainWindow& host, TCaptionControl& model, Placement placement, const RECT& rect, int id,
              DWORD align = SS_LEFT, HFONT font = nullptr);

    void Sync() override;
    bool TakesInput() const override { return false; }

private:
    TCaptionControl& model_;
};

// A web link label: underlined Times New Roman, silver, white while the
// pointer is over it, with a hand cursor. A click runs its handler.
class LinkView : public ControlView {
public:
    LinkView(MainWindow& host, TLabel& model, Placement placement, const RECT& rect, int id, DWORD align,
             std::function<void()> onClick);

    void Sync() override;
    void OnCommand(WORD code) override;
    HBRUSH OnCtlColor(HDC dc) override;

protected:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TLabel& model_;
    std::function<void()> onClick_;
    HotTracking hot_;
};

// A group panel as an owner-drawn STATIC behind its controls: frame, bold
// caption and caption line. The window text is the panel's caption. An
// overlay panel (the freeing banner) draws its caption large and centred.
class PanelView : public ControlView {
public:
    enum class Look { Group, Banner };

    // The panel moves down by its model's Top.
    PanelView(MainWindow& host, TPanel& model, Placement placement, const RECT& rect, int id, Look look);

    void Sync() override;
    bool TakesInput() const override { return false; }
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

private:
    TPanel& model_;
    Look look_;
};

// The freeing run's progress bar: a real progress control (PBM_GETPOS and
// PBM_GETRANGE answer), painted as dark segmented blue.
class ProgressView : public ControlView {
public:
    ProgressView(MainWindow& host, TProgressBar& model, Placement placement, const RECT& rect, int id);

    void Sync() override;
    bool TakesInput() const override { return false; }

protected:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc, const RECT& client) const;

    TProgressBar& model_;
};

// A slider as a trackbar drawn dark through custom draw. Every scroll
// notification passes the position to the model; releasing a mouse button
// that was pressed on it runs the model's MouseUp, and the end of a move by
// keyboard or wheel its EndTrack.
class SliderView : public ControlView {
public:
    SliderView(MainWindow& host, TSlider& model, Placement placement, const RECT& rect, int id);

    void Sync() override;
    void OnScroll(WORD code) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;

protected:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PassPosition();
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    TSlider& model_;
    bool pressed_ = false;  // a mouse button went down on it and is not yet up
    bool wheeling_ = false;
    LRESULT paintedPosition_ = -1;
};

// A spin edit as an EDIT with an up-down control beside it. Typing, and the
// arrows (which write the edit's number), pass the text to the model; the
// model's own changes are written back without echoing into it again.
class SpinnerView : public ControlView {
public:
    // The up-down control takes buttonsId.
    SpinnerView(MainWindow& host, TSpinner& model, Placement placement, const RECT& rect, int id, int buttonsId);

    std::vector<HWND> Windows() const override { return {window_, buttons_}; }
    void Sync() override;
    void OnCommand(WORD code) override;
    HBRUSH OnCtlColor(HDC dc) override;

protected:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    RECT EditRect() const;
    RECT ButtonsRect() const;
    void PaintButtons(HDC dc, const RECT& client) const;

    TSpinner& model_;
    HWND buttons_ = nullptr;  // not owned: a child, destroyed with the main window
    bool writing_ = false;    // our own SetWindowText is under way
    int pressedHalf_ = -1;    // 0 up, 1 down
};

// The page control's tab strip, drawn on the window colour, its first tab at a
// given distance from the strip's left edge. A click or an arrow key selects a page through the model.
// It also answers TCM_GETCURSEL, TCM_GETITEMCOUNT and TCM_SETCURSEL (which
// selects as a click would), so tests can drive it.
class TabsView : public ControlView {
public:
    TabsView(MainWindow& host, TPageControl& model, const RECT& rect, int id, int firstTabLeft);

    void Sync() override;

protected:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    RECT TabRect(HDC dc, int index) const;
    int TabAt(POINT point) const;
    void Select(int index);
    void Paint(HDC dc, const RECT& client) const;

    TPageControl& model_;
    int firstTabLeft_;
    int shownPage_ = -1;
    bool shownEnabled_ = true;
    int hotTab_ = -1;
};

// A drawn widget (percent bar, scope graph) in its own flicker-free child
// window, repainted on every change of the widget. Its window text, which
// screen readers and other programs read, comes from `text` when given: a bar
// carries its caption, "63%".
class WidgetView : public ControlView {
public:
    WidgetView(MainWindow& host, Placement placement, const RECT& rect, int id, DrawnControl::Painter painter,
               std::string hint, std::function<std::string()> text = {});

    void Sync() override;
    // A widget changes several times a tick: only its text and its picture follow.
    void ModelChanged() override;
    bool TakesInput() const override { return false; }

private:
    void ApplyWidgetText();

    std::unique_ptr<DrawnControl> control_;
    std::string hint_;
    std::function<std::string()> text_;
    std::string shownText_;  // what the window text was last set to
};

}  // namespace korbela
