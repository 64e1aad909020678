// BalloonHint1: every control hint of the program shown as a balloon with the
// information icon and the header "Korbela Lite", on silver, with the
// application's hint timing.
#pragma once

#include <windows.h>

#include <string>

#include "core/system/display_scale.h"
#include "win32/system/unique_handle.h"
#include "win32/window/window.h"

namespace korbela {

class TBalloonHint : private SubclassBase {
public:
    // owner: the window whose controls get hints; it outlives this object.
    explicit TBalloonHint(HWND owner);

    // Shows the short part of hint over the control; an empty hint takes it away.
    void AddTool(HWND control, const std::string& hint);
    // A mouse message of the owner over a disabled control, passed on as that
    // control's: a disabled control gets no mouse messages of its own.
    void Relay(const MSG& message);

    HWND Handle() const { return tip_.Get(); }

    // The owner's scale: the balloon's greatest width and its font follow it.
    void SetScale(DisplayScale scale);

private:
    // The tip is a hidden window of its own: another program's close request
    // would destroy it and every hint with it. Only this object's end does.
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND owner_;  // not owned
    UniqueWindow tip_;
    UniqueGdiObject<HFONT> font_;  // for a scale other than the system's, else null
};

}  // namespace korbela
