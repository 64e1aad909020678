// The real main window "TfrmKRmain": a fixed 473 x 291 dark window with its own
// 38-pixel title bar, the tab strip and the four pages, every control bound to
// its model in the form. It owns its HWND and the child controls' views; the
// form (TfrmKRmain) holds the behaviour and stays the source of every state.
// Every figure is a design pixel at 96 dpi, drawn at the window's own scale.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/form/controls.h"
#include "core/form/frm_kr_main.h"
#include "core/form/main_window_host.h"
#include "core/system/display_scale.h"
#include "win32/window/program_icon.h"
#include "win32/window/skin.h"
#include "win32/form/controls.h"
#include "win32/window/window.h"

namespace korbela {

inline constexpr char kMainWindowClass[] = "TfrmKRmain";
inline constexpr char kMainWindowCaption[] = " Korbela Lite";

class MainWindow : public WindowBase, public IMainWindowHost {
public:
    static constexpr int kClientWidth = 473;
    static constexpr int kClientHeight = 291;
    static constexpr int kTitleBarHeight = 38;

    // Creates the window hidden, centred on the primary screen at that
    // screen's scale, owned by the application window (which carries the
    // taskbar button).
    MainWindow(HINSTANCE instance, HWND applicationWindow, HICON icon);
    ~MainWindow() override;

    // Creates every control of the pages and binds it to the form both ways.
    // Set the hooks below first: hints are handed out while binding.
    void Bind(TfrmKRmain& form);
    // Clears the form's view hooks and removes the controls; call it before
    // the form goes if the window lives on.
    void Unbind();

    // Called for every control with a hint, and again when a hint changes
    // (with the new text, possibly empty).
    std::function<void(HWND control, const std::string& hint)> addHint;
    // The mouse moves over the window: passed on as a disabled control's
    // message when it is over one, so that its hint still shows.
    std::function<void(const MSG& message)> relayHint;
    // The session ends (WM_ENDSESSION with TRUE): end the program cleanly.
    std::function<void()> OnEndSession;
    // The window is now drawn at another scale (another monitor's, or the
    // first one's once it is made).
    std::function<void(DisplayScale)> OnScaleChanged;

    // IMainWindowHost
    bool IsVisible() override;
    void Show() override;
    void BringToFront() override;
    void Repaint() override;
    void Terminate() override;

    // What the views need of the window that holds them.
    HWND Parent() const { return Handle(); }
    HINSTANCE Instance() const { return instance_; }
    const Skin& GetSkin() const { return skin_; }
    // The window's display scale: the views' design rectangles and the
    // skin's figures are drawn at it.
    DisplayScale Scale() const { return scale_; }
    bool Shows(const Placement& placement) const;
    // A control that takes input is also disabled while the page control is;
    // labels and pictures stay readable.
    bool Enables(const Placement& placement, bool takesInput) const;
    void HintChanged(HWND control, const std::string& hint);
    // The control that has the focus is disabled or hidden (a run covers it),
    // and a control is usable again: that one takes the focus back if nothing
    // else took it meanwhile.
    void FocusedControlGoes(HWND control) { parkedFocus_ = control; }
    void ControlBack(HWND control);

private:
    // The first control that Tab reaches on the page shown, if any.
    HWND FirstControlOfPage() const;
    void RelayMouseMove(WPARAM wParam, LPARAM lParam);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool RouteToView(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void Paint(HDC dc) const;
    void CloseQuery();
    // Lays the window out at a scale: fonts, icons and the widgets' pictures
    // remade, every control moved; at `suggested` (WM_DPICHANGED) or else
    // centred on the primary screen.
    void ApplyScale(DisplayScale scale, const RECT* suggested);
    void ScaleWidgets();
    void VisibilityChanged(bool visible);

    // Binding, one part of the window each (pages.cpp).
    void BindTitleBar(TfrmKRmain& form);
    void BindMemoryPage(TfrmKRmain& form);
    void BindMonitorPage(TfrmKRmain& form);
    void BindSettingsPage(TfrmKRmain& form);
    void BindAboutPage(TfrmKRmain& form);

    template <typename View, typename... Args>
    View& Add(Args&&... args) {
        auto view = std::make_unique<View>(*this, std::forward<Args>(args)...);
        View& added = *view;
        for (HWND window : added.Windows()) byWindow_[window] = &added;
        views_.push_back(std::move(view));
        return added;
    }
    // Every model, a control's or a widget's, tells through its Changed hook
    // that what it shows changed: its view brings itself in line (and every
    // view, for the page control and the panels that cover others).
    template <typename Model>
    void Watch(Model& model, ControlView& view) {
        Hook(model.Changed, [&view] { view.ModelChanged(); });
    }
    template <typename Model>
    void WatchAll(Model& model) {
        Hook(model.Changed, [this] { SyncAll(); });
    }
    void Hook(std::function<void()>& changed, std::function<void()> handler);
    // A percent bar's view, which carries the bar's caption as its text.
    void AddPercentBar(TPercentBar& bar, const Placement& placement, const RECT& rect, int id, std::string hint);
    void SyncAll();
    ControlView* ViewOf(HWND window) const;

    HINSTANCE instance_;
    HWND application_;  // not owned
    HICON icon_;        // not owned
    DisplayScale scale_;
    Skin skin_;
    WindowIcons icons_;  // the title bar's and the shell's, for scale_
    TfrmKRmain* form_ = nullptr;  // not owned
    TButton btnClose_;            // the title bar's Close button
    std::vector<std::unique_ptr<ControlView>> views_;
    std::unordered_map<HWND, ControlView*> byWindow_;
    std::vector<std::function<void()>> unhooks_;  // undo the hooks set on the form
    bool shown_ = false;   // FormShow ran for the current showing
    bool active_ = false;  // the caption is drawn white while active
    HWND parkedFocus_ = nullptr;  // not owned: had the focus when a run took it away
    HWND focusOnActivate_ = nullptr;  // not owned: takes the focus when the window is activated
};

}  // namespace korbela
