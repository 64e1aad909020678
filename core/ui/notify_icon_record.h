// The record the tray icon hands to the shell (NOTIFYICONDATA), as plain data:
// which layout the shell understands, the identifiers, and the tip text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ui/short_hint.h"

namespace korbela {

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
};

NotifyIconRecord MakeNotifyIconRecord(uint32_t shellVersion, std::size_t pointerSize, const std::string& hint);

}  // namespace korbela
