// Processes by their executable's file name, for tests that watch what the
// shell starts on the program's behalf (the HTML Help viewer).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace korbela::wine {

// Ids of the running processes whose executable file is named so (any case).
std::vector<DWORD> ProcessIdsNamed(const std::string& exeName);

// The ids in `now` that are not in `before`.
std::vector<DWORD> NewProcessIds(const std::vector<DWORD>& before, const std::vector<DWORD>& now);

// Ends the given processes (only ones the test itself caused to start).
void EndProcesses(const std::vector<DWORD>& ids);

}  // namespace korbela::wine
