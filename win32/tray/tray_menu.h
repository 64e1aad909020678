// The tray menu popTaskBar: three clean levels, Show Main Window and Exit,
// owner-drawn in the main window's dark skin, at the scale of the screen it
// opens on. Its owner window forwards the menu's measure, draw and command
// messages here.
#pragma once

#include <windows.h>

#include <functional>

#include "core/system/display_scale.h"
#include "win32/system/unique_handle.h"

namespace korbela {

class TrayMenu {
public:
    TrayMenu();
    TrayMenu(const TrayMenu&) = delete;
    TrayMenu& operator=(const TrayMenu&) = delete;

    // Shows the menu at the owner's scale; the choice comes back to the owner
    // as WM_COMMAND. A quit request while it is shown closes it and is posted
    // again once it is gone.
    void Popup(HWND owner, int x, int y);

    // Runs the handler of a chosen item; false when the command is not one of ours.
    bool Choose(UINT commandId);
    bool Measure(MEASUREITEMSTRUCT& item);
    bool Draw(const DRAWITEMSTRUCT& item);

    HMENU Handle() const { return menu_.Get(); }

    std::function<void()> LightClean1Click;
    std::function<void()> MediumClean1Click;
    std::function<void()> HeavyClean1Click;
    std::function<void()> ShowMainWindow1Click;
    std::function<void()> erminate1Click;

private:
    // Item sizes and the font for a scale; the items are measured again.
    void ApplyScale(DisplayScale scale);

    UniqueMenu menu_;
    DisplayScale scale_;
    UniqueGdiObject<HFONT> font_;
    UniqueGdiObject<HBRUSH> background_;
    UniqueGdiObject<HBRUSH> highlight_;
    UniqueGdiObject<HBRUSH> separator_;
};

}  // namespace korbela
