// The tray icon's calls of Shell_NotifyIcon, and the one routine they all go
// through, which retries while the taskbar is not ready yet.
#pragma once

#include <cstdint>

#include "core/ui/notify_icon_record.h"

namespace korbela {

enum class NotifyCommand { Add, Modify, Delete, SetVersion };

// NIF_ flags: which fields of the record the shell is to take.
inline constexpr uint32_t kNotifyMessage = 0x1;
inline constexpr uint32_t kNotifyIcon = 0x2;
inline constexpr uint32_t kNotifyTip = 0x4;

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
