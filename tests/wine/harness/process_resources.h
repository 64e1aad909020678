// What a running process holds of the system's objects, read from outside:
// kernel handles, GDI and USER objects and private bytes, for the soak tests.
//
// Wine 8 answers GetProcessHandleCount and GetGuiResources with 0 and leaves
// PrivateUsage at 0. A figure that comes back 0 is then read another way, and
// the figure says where it came from, so a log never passes off a Wine
// stand-in as the Windows counter.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace korbela::wine {

struct ResourceFigure {
    uint64_t value = 0;
    std::string source;  // the call or the stand-in that gave the value
};

struct ProcessResources {
    ResourceFigure handles;
    ResourceFigure gdiObjects;
    ResourceFigure userObjects;
    ResourceFigure privateBytes;
    // Of the handles, the copies of the mutex that Wine's spooler performance
    // provider leaks on every query of HKEY_PERFORMANCE_DATA (0 on Windows).
    uint64_t wineSpoolerMutexes = 0;
};

// The process handle needs PROCESS_QUERY_INFORMATION, PROCESS_VM_READ and
// PROCESS_DUP_HANDLE (a handle from CreateProcess has them all).
ProcessResources ReadProcessResources(HANDLE process, DWORD processId);

// Windows of the process: top-level, message-only and all their children.
uint64_t CountProcessWindows(DWORD processId);

// True under Wine (its ntdll exports wine_get_version).
bool RunningUnderWine();

// NtQuerySystemInformation of one class, in a buffer grown until the answer
// fits (64 MiB at most) and cut to the bytes returned; empty when it fails.
std::vector<char> QuerySystemInformation(ULONG informationClass);

}  // namespace korbela::wine
