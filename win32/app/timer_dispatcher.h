// Hands timer ticks from their threads to the main thread as synchronous calls.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "core/widgets/thread_timer.h"

namespace korbela {

class TimerDispatcher : public IMainThreadDispatcher {
public:
    explicit TimerDispatcher(HINSTANCE instance);
    ~TimerDispatcher() override;
    TimerDispatcher(const TimerDispatcher&) = delete;
    TimerDispatcher& operator=(const TimerDispatcher&) = delete;

    // Blocks the timer thread until the main thread has run the call. The main
    // thread runs it whenever it takes messages: its loop, a modal dialog, or
    // a freeing run's message processing.
    void Invoke(const std::function<void()>& call) override;

    // From here on ticks are dropped; called on the main thread at exit.
    void Close();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::atomic<HWND> window_{nullptr};
};

}  // namespace korbela
