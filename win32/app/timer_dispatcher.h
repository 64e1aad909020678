// Hands timer ticks from their threads to the main thread as synchronous calls.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "core/system/thread_timer.h"
#include "win32/window/window.h"

namespace korbela {

class TimerDispatcher : public IMainThreadDispatcher, private WindowBase {
public:
    explicit TimerDispatcher(HINSTANCE instance);
    ~TimerDispatcher() override;

    // Blocks the timer thread until the main thread has run the call. The main
    // thread runs it whenever it takes messages: its loop, a modal dialog, or
    // a freeing run's message processing. What the call throws goes to the
    // application's report.
    void Invoke(const std::function<void()>& call) override;

    // From here on ticks are dropped; called on the main thread at exit.
    void Close();

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The window as the timer threads see it; null once closed.
    std::atomic<HWND> target_{nullptr};
};

}  // namespace korbela
