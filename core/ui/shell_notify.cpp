#include "core/ui/shell_notify.h"

namespace korbela {

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
