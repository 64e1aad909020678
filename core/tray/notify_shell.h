// What the tray icon hands the shell (the NOTIFYICONDATA record) and the one
// routine every Shell_NotifyIcon call goes through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/widgets/short_hint.h"
#include "core/widgets/usage_icon.h"

namespace korbela {

// The record the tray icon hands to the shell (NOTIFYICONDATA), as plain data:
// which layout the shell understands, the identifiers, and the tip text.

// Shell versions are major * 65536 + minor of shell32.dll's file version.
inline constexpr uint32_t kShellVersion5 = 0x50000;
inline constexpr uint32_t kTrayIconId = 1;
inline constexpr uint32_t kTrayCallbackMessage = 0x0400 + 1;  // WM_USER + 1
inline constexpr uint32_t kNotifyIconVersion = 3;

constexpr bool IsShell5(uint32_t shellVersion) { return shellVersion >= kShellVersion5; }

// Bytes of the record: the first layout (64-character tip) for shells before
// 5.0, the second (128-character tip, balloon fields) from 5.0 on. The byte
// counts depend on the pointer width: 88 / 488 in a 32-bit program,
// 104 / 504 in a 64-bit one.
constexpr uint32_t NotifyIconDataSize(uint32_t shellVersion, std::size_t pointerSize) {
    const uint32_t firstLayoutSize = pointerSize == 8 ? 104 : 88;
    // The longer tip, state, state mask, balloon text, timeout, balloon title, balloon flags.
    constexpr uint32_t secondLayoutExtra = 64 + 4 + 4 + 256 + 4 + 64 + 4;
    return IsShell5(shellVersion) ? firstLayoutSize + secondLayoutExtra : firstLayoutSize;
}

// Characters of the tip, without its terminating zero.
constexpr std::size_t TipLengthLimit(uint32_t shellVersion) { return IsShell5(shellVersion) ? 127 : 63; }

// The tip the shell is given for a hint: its short part, cut to the limit.
std::string TrayTipText(const std::string& hint, uint32_t shellVersion);

// Old shells show a tip on one line: every CR LF, lone CR and lone LF becomes " - ".
std::string ReplaceLineBreaks(const std::string& text);

struct NotifyIconRecord {
    uint32_t size = 0;
    uint32_t id = kTrayIconId;
    uint32_t callbackMessage = kTrayCallbackMessage;
    std::string tip;
    uint32_t version = 0;  // 0: the version field is not set
    // The icon: the program's own, or the memory in use drawn for this face.
    std::optional<UsageIconFace> usageFace;
    // The balloon notification, for a call with kNotifyInfo.
    std::string infoTitle;
    std::string info;
    uint32_t infoFlags = 0;
};

NotifyIconRecord MakeNotifyIconRecord(uint32_t shellVersion, std::size_t pointerSize, const std::string& hint);

// The tray icon's calls of Shell_NotifyIcon, and the one routine they all go
// through, which retries while the taskbar is not ready yet.
enum class NotifyCommand { Add, Modify, Delete, SetVersion };

// NIF_ flags: which fields of the record the shell is to take.
inline constexpr uint32_t kNotifyMessage = 0x1;
inline constexpr uint32_t kNotifyIcon = 0x2;
inline constexpr uint32_t kNotifyTip = 0x4;
inline constexpr uint32_t kNotifyInfo = 0x10;
// NIIF_ flags of a balloon: the information icon, and no sound.
inline constexpr uint32_t kInfoIcon = 0x1;
inline constexpr uint32_t kInfoNoSound = 0x10;
// Characters of a balloon's text, without its terminating zero.
inline constexpr std::size_t kInfoLimit = 255;

inline constexpr uint32_t kErrorTimeout = 1460;  // ERROR_TIMEOUT
inline constexpr int kShellRetryCount = 31;
inline constexpr uint32_t kShellRetryWait = 1000;

class INotifyShell {
public:
    virtual ~INotifyShell() = default;
    virtual bool Notify(NotifyCommand command, uint32_t flags, const NotifyIconRecord& record) = 0;
    // The thread's last error right after a failed Notify.
    virtual uint32_t LastError() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

// Error 0 and ERROR_TIMEOUT mean the taskbar is not there yet (right after
// logon): the call is retried every second, up to 31 times. An add that finds
// the icon already there, and a delete that finds it already gone, succeed.
bool ShellNotifyWithRetry(INotifyShell& shell, NotifyCommand command, uint32_t flags,
                          const NotifyIconRecord& record, bool retryOnFailure);

}  // namespace korbela
