#include "win32/app/timer_dispatcher.h"

#include "win32/widgets/window_class.h"

namespace korbela {

namespace {

constexpr UINT kRunCall = WM_APP + 1;
constexpr char kClassName[] = "KorbelaTimerDispatch";

}  // namespace

TimerDispatcher::TimerDispatcher(HINSTANCE instance) {
    RegisterWindowClass(instance, {kClassName, WindowProc});
    window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}

TimerDispatcher::~TimerDispatcher() { Close(); }

void TimerDispatcher::Invoke(const std::function<void()>& call) {
    HWND window = window_.load();
    if (window == nullptr) return;
    // SendMessage returns at once when the window is gone, so a thread never hangs at exit.
    SendMessageA(window, kRunCall, 0, reinterpret_cast<LPARAM>(&call));
}

void TimerDispatcher::Close() {
    HWND window = window_.exchange(nullptr);
    if (window != nullptr) DestroyWindow(window);
}

LRESULT CALLBACK TimerDispatcher::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunCall) {
        const auto* call = reinterpret_cast<const std::function<void()>*>(lParam);
        // The timer catches its handler's errors; nothing else can throw here.
        (*call)();
        return 0;
    }
    // Another program's close request would end every tick; only Close ends this window.
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace korbela
