#include "harness/process_list.h"

#include <tlhelp32.h>

#include <algorithm>

namespace korbela::wine {

std::vector<DWORD> ProcessIdsNamed(const std::string& exeName) {
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        // Wine gives the file name alone, Windows too; a path is cut to its name.
        std::string name = entry.szExeFile;
        const std::size_t slash = name.find_last_of("\\/");
        if (slash != std::string::npos) name = name.substr(slash + 1);
        if (lstrcmpiA(name.c_str(), exeName.c_str()) == 0) ids.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return ids;
}

std::vector<DWORD> NewProcessIds(const std::vector<DWORD>& before, const std::vector<DWORD>& now) {
    std::vector<DWORD> fresh;
    for (DWORD id : now) {
        if (std::find(before.begin(), before.end(), id) == before.end()) fresh.push_back(id);
    }
    return fresh;
}

void EndProcesses(const std::vector<DWORD>& ids) {
    for (DWORD id : ids) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process == nullptr) continue;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

}  // namespace korbela::wine
