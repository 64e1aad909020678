// Whether the pointer is over a control: set on the first mouse move, cleared
// when the pointer leaves. Fed from the control's subclass.
#pragma once

#include <windows.h>

namespace korbela {

class HotTracking {
public:
    // True when the hot state changed, so the control wants repainting.
    bool Handle(HWND window, UINT message) {
        if (message == WM_MOUSEMOVE && !hot_) {
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = window;
            TrackMouseEvent(&track);
            hot_ = true;
            return true;
        }
        if ((message == WM_MOUSELEAVE || message == WM_CAPTURECHANGED) && hot_) {
            POINT cursor{};
            GetCursorPos(&cursor);
            if (message == WM_CAPTURECHANGED && WindowFromPoint(cursor) == window) return false;
            hot_ = false;
            return true;
        }
        return false;
    }
    bool Hot() const { return hot_; }

private:
    bool hot_ = false;
};

}  // namespace korbela
