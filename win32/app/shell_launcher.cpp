#include "win32/app/shell_launcher.h"

#include <shellapi.h>

#include "win32/system/utf8.h"

namespace korbela {

Win32Shell::~Win32Shell() {
    for (auto& entry : processes_) {
        if (entry.second != nullptr) CloseHandle(entry.second);
    }
}

void Win32Shell::Open(const std::string& target) {
    HANDLE& process = processes_[target];
    if (process != nullptr) {
        CloseHandle(process);
        process = nullptr;
    }
    lastTarget_ = target;
    const std::wstring file = Utf8ToWide(target);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = owner_;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    // A failed launch is not reported; the shell shows its own error box.
    if (ShellExecuteExW(&info)) process = info.hProcess;
}

}  // namespace korbela
