// Each running timer owns one detached thread. The thread only waits, reads the
// clock and hands the tick over; it never touches the timer's state, so stopping
// is a flag and a signal and never waits for the thread to end.
#include "core/system/thread_timer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace korbela {

uint32_t NextTimerWait(uint32_t interval, uint32_t notedTick, uint32_t nowTick) {
    uint32_t used;
    if (nowTick < notedTick) {
        used = nowTick + (0xFFFFFFFFu - notedTick);  // the counter wrapped
    } else {
        used = nowTick - notedTick;
    }
    return used >= interval ? 0 : interval - used;
}

uint32_t SystemTickCount() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

namespace {

class SteadyClock : public ITimerClock {
public:
    uint32_t Now() override { return SystemTickCount(); }
    bool WaitForSignal(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, uint32_t milliseconds,
                       const std::function<bool()>& signalled) override {
        return signal.wait_for(lock, std::chrono::milliseconds(milliseconds), signalled);
    }
};

}  // namespace

std::shared_ptr<ITimerClock> SteadyTimerClock() {
    static const std::shared_ptr<ITimerClock> clock = std::make_shared<SteadyClock>();
    return clock;
}

// Shared between the timer and its thread; outlives whichever ends last.
struct TThreadTimer::ThreadState {
    std::mutex mutex;
    std::condition_variable signal;
    bool eventSet = false;  // auto-reset event
    std::atomic<bool> terminated{false};

    void SetEvent() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            eventSet = true;
        }
        signal.notify_all();
    }

    // True when the wait timed out, false when the event was set.
    bool WaitTimedOut(ITimerClock& clock, uint32_t milliseconds) {
        std::unique_lock<std::mutex> lock(mutex);
        const bool set = clock.WaitForSignal(lock, signal, milliseconds, [this] { return eventSet; });
        if (set) {
            eventSet = false;
            return false;
        }
        return true;
    }
};

TThreadTimer::TThreadTimer(std::shared_ptr<IMainThreadDispatcher> dispatcher, ErrorHandler onError,
                           std::shared_ptr<ITimerClock> clock)
    : dispatcher_(std::move(dispatcher)), onError_(std::move(onError)), clock_(std::move(clock)) {}

TThreadTimer::~TThreadTimer() {
    destroying_ = true;
    StopThread();
}

void TThreadTimer::SetEnabled(bool value) {
    if (loading_) {
        loadedEnabled_ = value;
        return;
    }
    if (value == enabled_) return;
    enabled_ = value;
    Update();
}

void TThreadTimer::EndLoading() {
    loading_ = false;
    SetEnabled(loadedEnabled_);
}

void TThreadTimer::SetInterval(uint32_t milliseconds) {
    if (milliseconds == interval_) return;
    interval_ = milliseconds;
    Update();
}

void TThreadTimer::SetOnTimer(std::function<void()> handler) {
    const bool hadHandler = static_cast<bool>(onTimer_);
    onTimer_ = std::move(handler);
    // Handlers cannot be compared; only a change between none and some counts.
    if (hadHandler != static_cast<bool>(onTimer_)) Update();
}

void TThreadTimer::StopThread() {
    if (!thread_) return;
    thread_->terminated = true;
    thread_->SetEvent();
    thread_.reset();
    std::this_thread::yield();
}

void TThreadTimer::Update() {
    StopThread();
    if (!enabled_ || !onTimer_ || interval_ == 0 || destroying_) return;

    auto state = std::make_shared<ThreadState>();
    thread_ = state;
    const uint32_t interval = interval_;
    std::shared_ptr<IMainThreadDispatcher> dispatcher = dispatcher_;
    std::shared_ptr<ITimerClock> clock = clock_;
    TThreadTimer* timer = this;
    std::thread([state, interval, dispatcher, clock, timer] {
        uint32_t wait = interval;
        for (;;) {
            if (!state->WaitTimedOut(*clock, wait)) return;
            if (state->terminated) return;
            const uint32_t noted = clock->Now();
            // The check runs on the main thread, where the timer is destroyed,
            // so a terminated flag seen false there means the timer is alive.
            dispatcher->Invoke([state, timer] {
                if (!state->terminated) timer->Tick();
            });
            wait = NextTimerWait(interval, noted, clock->Now());
        }
    }).detach();
}

void TThreadTimer::Tick() {
    if (destroying_ || !onTimer_) return;
    try {
        onTimer_();
    } catch (const std::exception& error) {
        if (onError_) onError_(error);
    }
}

}  // namespace korbela
