// The program icon at the sizes the shell asks for at the display's scale:
// the resource holds images from 16 to 256 pixels, and each window and the
// tray take the one that fits, rather than one image stretched.
#pragma once

#include <windows.h>

#include "core/system/display_scale.h"
#include "win32/system/unique_handle.h"

namespace korbela {

// The image of the resource closest to size x size pixels.
UniqueIcon LoadProgramIcon(HINSTANCE instance, int size);

// The tray's icon: LoadIconMetric (comctl32 6) gives the small icon size of
// the system's resolution, which the notification area uses; without it,
// the image for SM_CXSMICON.
UniqueIcon LoadTrayIcon(HINSTANCE instance);

// A window's small (caption, taskbar) and large (Alt+Tab) icons at its scale.
class WindowIcons {
public:
    // Loads both for the scale and gives them to the window; the ones it
    // had before are freed once the window holds the new ones.
    void Apply(HWND window, HINSTANCE instance, DisplayScale scale);
    HICON Small() const { return small_.Get(); }

private:
    UniqueIcon small_;
    UniqueIcon big_;
};

}  // namespace korbela
