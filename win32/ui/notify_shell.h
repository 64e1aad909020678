// Shell_NotifyIconA for the tray icon: the plain record becomes a
// NOTIFYICONDATAA of the size the shell understands.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/ui/shell_notify.h"

namespace korbela {

// major * 65536 + minor of shell32.dll's file version; 0 when it cannot be read.
uint32_t ReadShellVersion();

class Win32NotifyShell : public INotifyShell {
public:
    Win32NotifyShell(HWND window, HICON icon) : window_(window), icon_(icon) {}

    bool Notify(NotifyCommand command, uint32_t flags, const NotifyIconRecord& record) override;
    uint32_t LastError() override { return lastError_; }
    void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }

private:
    HWND window_;  // not owned: the tray's message window
    HICON icon_;   // not owned
    uint32_t lastError_ = 0;
};

}  // namespace korbela
