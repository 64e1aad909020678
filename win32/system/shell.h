// The shell's "open" verb, owned by the main window. Targets are UTF-8.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "core/system/shell.h"
#include "win32/system/unique_handle.h"

namespace korbela {

class Win32Shell : public IShell {
public:
    Win32Shell() = default;
    Win32Shell(const Win32Shell&) = delete;
    Win32Shell& operator=(const Win32Shell&) = delete;

    void SetOwner(HWND owner) { owner_ = owner; }  // not owned
    void Open(const std::string& target) override;

private:
    HWND owner_ = nullptr;
    // The process each target started last; closed before its next launch.
    std::map<std::string, UniqueKernelHandle> processes_;
};

}  // namespace korbela
