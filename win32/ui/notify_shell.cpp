#include "win32/ui/notify_shell.h"

#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

namespace korbela {

uint32_t ReadShellVersion() {
    wchar_t folder[MAX_PATH] = {};
    const UINT folderLength = GetSystemDirectoryW(folder, MAX_PATH);
    if (folderLength == 0 || folderLength >= MAX_PATH) return 0;
    // The full path, so that no shell32.dll next to the program is read instead.
    const std::wstring path = std::wstring(folder, folderLength) + L"\\shell32.dll";
    DWORD ignored = 0;
    const DWORD infoSize = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (infoSize == 0) return 0;
    std::vector<char> info(infoSize);
    if (!GetFileVersionInfoW(path.c_str(), 0, infoSize, info.data())) return 0;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize)) return 0;
    if (fixed == nullptr || fixedSize < sizeof(VS_FIXEDFILEINFO)) return 0;
    return fixed->dwFileVersionMS;
}

bool Win32NotifyShell::Notify(NotifyCommand command, uint32_t flags, const NotifyIconRecord& record) {
    NOTIFYICONDATAA data{};
    data.cbSize = record.size;
    data.hWnd = window_;
    data.uID = record.id;
    data.uFlags = flags;
    data.uCallbackMessage = record.callbackMessage;
    data.hIcon = icon_;
    // The record's tip is already cut to what its layout holds.
    const std::size_t tipCount = record.tip.size() < sizeof(data.szTip) ? record.tip.size() : sizeof(data.szTip) - 1;
    std::memcpy(data.szTip, record.tip.data(), tipCount);
    data.uVersion = record.version;

    DWORD message = NIM_ADD;
    switch (command) {
    case NotifyCommand::Add: message = NIM_ADD; break;
    case NotifyCommand::Modify: message = NIM_MODIFY; break;
    case NotifyCommand::Delete: message = NIM_DELETE; break;
    case NotifyCommand::SetVersion: message = NIM_SETVERSION; break;
    }
    // A failure that sets no error means the taskbar did not answer at all;
    // an error left over from an earlier call must not be taken for it.
    SetLastError(0);
    const bool ok = Shell_NotifyIconA(message, &data) != FALSE;
    lastError_ = ok ? 0 : GetLastError();
    return ok;
}

}  // namespace korbela
