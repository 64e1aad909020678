// The notify icon record and Shell_NotifyIcon with its retries.

#include "core/tray/notify_shell.h"

namespace korbela {

std::string TrayTipText(const std::string& hint, uint32_t shellVersion) {
    std::string tip = ShortHint(hint);
    if (tip.size() > TipLengthLimit(shellVersion)) tip.resize(TipLengthLimit(shellVersion));
    return tip;
}

std::string ReplaceLineBreaks(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            result += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        result += " - ";
    }
    return result;
}

NotifyIconRecord MakeNotifyIconRecord(uint32_t shellVersion, std::size_t pointerSize, const std::string& hint) {
    NotifyIconRecord record;
    record.size = NotifyIconDataSize(shellVersion, pointerSize);
    record.tip = TrayTipText(hint, shellVersion);
    if (IsShell5(shellVersion)) record.version = kNotifyIconVersion;
    return record;
}

bool ShellNotifyWithRetry(INotifyShell& shell, NotifyCommand command, uint32_t flags,
                          const NotifyIconRecord& record, bool retryOnFailure) {
    if (shell.Notify(command, flags, record)) return true;
    if (!retryOnFailure) return false;
    const uint32_t error = shell.LastError();
    if (error != 0 && error != kErrorTimeout) return false;
    for (int attempt = 0; attempt < kShellRetryCount; ++attempt) {
        shell.Sleep(kShellRetryWait);
        if (command == NotifyCommand::Add && shell.Notify(NotifyCommand::Modify, flags, record)) return true;
        if (command == NotifyCommand::Delete && !shell.Notify(NotifyCommand::Modify, flags, record)) return true;
        if (shell.Notify(command, flags, record)) return true;
    }
    return false;
}

}  // namespace korbela
