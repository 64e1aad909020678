// While a modal message is open the program's other windows take no input:
// every shown and enabled top-level window of this thread, and the main
// window even while hidden (the tray could show it meanwhile). They are given
// back however the modal loop ends.
#pragma once

#include <windows.h>

#include <vector>

namespace korbela {

class OtherWindowsDisabled {
public:
    OtherWindowsDisabled(HWND dialog, HWND mainWindow);
    ~OtherWindowsDisabled();
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM self);

    HWND dialog_;                // not owned
    std::vector<HWND> windows_;  // not owned
};

}  // namespace korbela
