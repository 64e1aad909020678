#include "win32/app/timer_dispatcher.h"

#include "win32/window/window.h"

namespace korbela {

namespace {

constexpr UINT kRunCall = WM_APP + 1;
constexpr char kClassName[] = "KorbelaTimerDispatch";

}  // namespace

TimerDispatcher::TimerDispatcher(HINSTANCE instance) {
    RegisterWindowClass(instance, {kClassName, WindowProc});
    target_ = Create(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance);
}

TimerDispatcher::~TimerDispatcher() { Close(); }

void TimerDispatcher::Invoke(const std::function<void()>& call) {
    HWND window = target_.load();
    if (window == nullptr) return;
    // SendMessage returns at once when the window is gone, so a thread never hangs at exit.
    SendMessageA(window, kRunCall, 0, reinterpret_cast<LPARAM>(&call));
}

void TimerDispatcher::Close() {
    if (target_.exchange(nullptr) != nullptr) Destroy();
}

LRESULT TimerDispatcher::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kRunCall) return WindowBase::HandleMessage(message, wParam, lParam);
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
    return 0;
}

}  // namespace korbela
