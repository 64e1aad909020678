#include "win32/app/one_instance.h"

namespace korbela {

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
