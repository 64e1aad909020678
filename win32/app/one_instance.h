// OneInstance on Windows: a second copy of the program blanks its own
// application window's title, finds the first copy's application window,
// restores it or brings it to the front, and asks itself to end.
#pragma once

#include <windows.h>

#include <functional>

#include "core/ui/instance_guard.h"

namespace korbela {

class Win32OneInstance : private IInstanceGuardPlatform {
public:
    // requestEnd posts the application's end request; without one, WM_QUIT is posted.
    Win32OneInstance(HWND ownApplicationWindow, std::function<void()> requestEnd);
    Win32OneInstance(const Win32OneInstance&) = delete;
    Win32OneInstance& operator=(const Win32OneInstance&) = delete;

    // The main window's components have been loaded; true when this copy ends.
    bool Loaded(bool previousInstance) { return OneInstance.Loaded(previousInstance); }

    TOneInstance OneInstance;

private:
    void SetOwnApplicationText(const std::string& text) override;
    Window FindApplicationWindow(const std::string& className, const std::string& title) override;
    bool IsIconic(Window window) override;
    void Restore(Window window) override;
    void SetForegroundWindow(Window window) override;
    void RequestEnd() override;

    HWND ownApplicationWindow_;  // not owned
    std::function<void()> requestEnd_;
};

}  // namespace korbela
