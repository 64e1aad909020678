// The instance marker: a mutex named after the program's file name in upper
// case, made at process start and held until the process ends. Its name is
// in this logon's own namespace, so each logon can run a copy of its own.
#pragma once

#include <windows.h>

#include <string>

#include "win32/system/unique_handle.h"

namespace korbela {

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

}  // namespace korbela
