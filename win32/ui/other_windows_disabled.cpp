#include "win32/ui/other_windows_disabled.h"

#include <algorithm>

namespace korbela {

OtherWindowsDisabled::OtherWindowsDisabled(HWND dialog, HWND mainWindow) : dialog_(dialog) {
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
    if (mainWindow != nullptr && IsWindowEnabled(mainWindow) &&
        std::find(windows_.begin(), windows_.end(), mainWindow) == windows_.end()) {
        windows_.push_back(mainWindow);
    }
    for (HWND window : windows_) EnableWindow(window, FALSE);
}

OtherWindowsDisabled::~OtherWindowsDisabled() {
    for (HWND window : windows_) {
        if (IsWindow(window)) EnableWindow(window, TRUE);
    }
}

BOOL CALLBACK OtherWindowsDisabled::Collect(HWND window, LPARAM self) {
    auto* disabled = reinterpret_cast<OtherWindowsDisabled*>(self);
    if (window != disabled->dialog_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
        disabled->windows_.push_back(window);
    }
    return TRUE;
}

}  // namespace korbela
