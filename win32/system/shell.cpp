#include "win32/system/shell.h"

#include <shellapi.h>

#include "win32/system/utf8.h"

namespace korbela {

void Win32Shell::Open(const std::string& target) {
    UniqueKernelHandle& process = processes_[target];
    process.Reset();
    const std::wstring file = Utf8ToWide(target);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = owner_;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    // A failed launch is not reported; the shell shows its own error box.
    if (ShellExecuteExW(&info)) process.Reset(info.hProcess);
}

}  // namespace korbela
