// The single-instance guard on Windows: the marker every copy creates at its
// start, and OneInstance, which brings the first copy forward and ends a second.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/app/instance_guard.h"
#include "win32/system/unique_handle.h"

namespace korbela {

// The instance marker: a mutex named after the program's file name in upper
// case, made at process start and held until the process ends. Its name is
// in this logon's own namespace, so each logon can run a copy of its own.

// The program's full path in UTF-8, as the system reports the running executable.
std::string ProgramPath();

class InstanceMarker {
public:
    InstanceMarker();

    // An earlier copy of the same file name already holds the marker.
    bool PreviousInstance() const { return previousInstance_; }

private:
    UniqueKernelHandle mutex_;
    bool previousInstance_ = false;
};

// OneInstance on Windows: a second copy of the program blanks its own
// application window's title, finds the first copy's application window,
// restores it or brings it to the front, and asks itself to end.
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
