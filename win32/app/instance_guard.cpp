// The instance marker and OneInstance.

#include "win32/app/instance_guard.h"

#include <vector>

#include "core/app/instance_guard.h"
#include "win32/system/utf8.h"

namespace korbela {

std::string ProgramPath() {
    // Long paths do not fit MAX_PATH: the buffer grows until the path fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::string();
        if (length < buffer.size()) return WideToUtf8(std::wstring_view(buffer.data(), length));
        if (buffer.size() >= 32768) return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

InstanceMarker::InstanceMarker() {
    std::wstring path = Utf8ToWide(ProgramPath());
    // The system's upper case, so that letters beyond ASCII match too.
    if (!path.empty()) CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    const std::wstring name = Utf8ToWide(InstanceMarkerName(WideToUtf8(path)));
    // No name would make an unnamed mutex that no other copy can see.
    if (name.empty()) return;
    SetLastError(0);
    mutex_.Reset(CreateMutexW(nullptr, FALSE, name.c_str()));
    previousInstance_ = IsPreviousInstance(static_cast<bool>(mutex_), GetLastError());
}

namespace {

HWND ToHandle(IInstanceGuardPlatform::Window window) { return reinterpret_cast<HWND>(window); }

}  // namespace

Win32OneInstance::Win32OneInstance(HWND ownApplicationWindow, std::function<void()> requestEnd)
    : OneInstance(*this), ownApplicationWindow_(ownApplicationWindow), requestEnd_(std::move(requestEnd)) {}

void Win32OneInstance::SetOwnApplicationText(const std::string& text) {
    SetWindowTextA(ownApplicationWindow_, text.c_str());
}

IInstanceGuardPlatform::Window Win32OneInstance::FindApplicationWindow(const std::string& className,
                                                                       const std::string& title) {
    return reinterpret_cast<Window>(FindWindowA(className.c_str(), title.c_str()));
}

bool Win32OneInstance::IsIconic(Window window) { return ::IsIconic(ToHandle(window)) != FALSE; }

void Win32OneInstance::Restore(Window window) { ShowWindow(ToHandle(window), SW_RESTORE); }

void Win32OneInstance::SetForegroundWindow(Window window) { ::SetForegroundWindow(ToHandle(window)); }

void Win32OneInstance::RequestEnd() {
    if (requestEnd_) {
        requestEnd_();
    } else {
        PostQuitMessage(0);
    }
}

}  // namespace korbela
