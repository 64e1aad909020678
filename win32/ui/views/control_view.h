// A real child control of the main window bound to one control model: user
// actions go to the model, the model's Changed hook brings the control in line.
// Every view is a direct child of the main window, so each control can be
// found with GetDlgItem(main window, id).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/ui/controls/panel.h"
#include "win32/ui/skin/skin.h"
#include "win32/ui/subclass_base.h"

namespace korbela {

// Where a control stands: on which page, inside which panel, under which
// overlay. A control is shown only while all of these allow it.
struct Placement {
    int page = -1;                      // -1: on the title bar, on every page
    const TPanel* inside = nullptr;     // not owned: moves and hides with this panel
    const TPanel* coveredBy = nullptr;  // not owned: hidden while this panel shows
};

// What a view needs of the window that holds it.
class IViewHost {
public:
    virtual ~IViewHost() = default;
    virtual HWND Parent() const = 0;
    virtual HINSTANCE Instance() const = 0;
    virtual const Skin& GetSkin() const = 0;
    // The window's display scale: the views' design rectangles and the
    // skin's figures are drawn at it.
    virtual DisplayScale Scale() const = 0;
    virtual bool Shows(const Placement& placement) const = 0;
    // A control that takes input is also disabled while the page control is;
    // labels and pictures stay readable.
    virtual bool Enables(const Placement& placement, bool takesInput) const = 0;
    virtual void HintChanged(HWND control, const std::string& hint) = 0;
    // The control that has the focus is disabled or hidden (a run covers it),
    // and a control is usable again: that one takes the focus back if nothing
    // else took it meanwhile.
    virtual void FocusedControlGoes(HWND control) = 0;
    virtual void ControlBack(HWND control) = 0;
};

// A view sees its controls' messages through its subclass (Subclass and
// HandleSubclassMessage); the default passes them on.
class ControlView : protected SubclassBase {
public:
    ControlView(IViewHost& host, Placement placement, const RECT& rect);

    HWND Handle() const { return window_; }
    // The page it stands on; -1 on the title bar.
    int Page() const { return placement_.page; }
    // Every window of this view (a spinner has two).
    virtual std::vector<HWND> Windows() const { return {window_}; }

    // Brings the real control in line with its model.
    virtual void Sync() = 0;
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

    IViewHost& host_;
    Placement placement_;
    RECT rect_;            // design place in the main window's client area, at 96 dpi
    HWND window_ = nullptr;  // not owned: a child, destroyed with the main window

private:
    std::vector<std::pair<HWND, std::string>> hints_;
};

}  // namespace korbela
