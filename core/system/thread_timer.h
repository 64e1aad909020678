// A periodic timer that counts its period on a thread of its own and runs its
// handler synchronously on the main thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>

namespace korbela {

// Runs a call on the main thread and returns once it has run (or was dropped
// because the main thread is shutting down). Called from timer threads.
class IMainThreadDispatcher {
public:
    virtual ~IMainThreadDispatcher() = default;
    virtual void Invoke(const std::function<void()>& call) = 0;
};

// The timer surface the main window drives; the program uses TThreadTimer.
class ITimer {
public:
    virtual ~ITimer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool value) = 0;
    virtual uint32_t Interval() const = 0;
    virtual void SetInterval(uint32_t milliseconds) = 0;
    virtual void SetOnTimer(std::function<void()> handler) = 0;
};

// Milliseconds to wait before the next tick, given when the last tick was
// handed over and the tick count now (GetTickCount semantics, wrapping at 2^32).
uint32_t NextTimerWait(uint32_t interval, uint32_t notedTick, uint32_t nowTick);

// Milliseconds since an arbitrary start, wrapping like GetTickCount.
uint32_t SystemTickCount();

// The time a timer thread counts its period in. The program's is the steady
// clock; a test's moves only when the test moves it.
class ITimerClock {
public:
    virtual ~ITimerClock() = default;
    // Milliseconds since an arbitrary start, wrapping like GetTickCount.
    virtual uint32_t Now() = 0;
    // Waits on `signal`, with `lock` held around every check, until
    // `signalled()` holds (true) or `milliseconds` of this clock have passed
    // (false).
    virtual bool WaitForSignal(std::unique_lock<std::mutex>& lock, std::condition_variable& signal,
                               uint32_t milliseconds, const std::function<bool()>& signalled) = 0;
};

std::shared_ptr<ITimerClock> SteadyTimerClock();

class TThreadTimer : public ITimer {
public:
    using ErrorHandler = std::function<void(const std::exception&)>;

    TThreadTimer(std::shared_ptr<IMainThreadDispatcher> dispatcher, ErrorHandler onError,
                 std::shared_ptr<ITimerClock> clock = SteadyTimerClock());
    ~TThreadTimer() override;
    TThreadTimer(const TThreadTimer&) = delete;
    TThreadTimer& operator=(const TThreadTimer&) = delete;

    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool value) override;
    uint32_t Interval() const override { return interval_; }
    void SetInterval(uint32_t milliseconds) override;
    void SetOnTimer(std::function<void()> handler) override;

    // While the window description loads, Enabled is only remembered.
    void BeginLoading() { loading_ = true; }
    void EndLoading();

    bool Running() const { return thread_ != nullptr; }

private:
    struct ThreadState;

    void Update();
    void StopThread();
    void Tick();

    std::shared_ptr<IMainThreadDispatcher> dispatcher_;
    ErrorHandler onError_;
    std::shared_ptr<ITimerClock> clock_;
    std::function<void()> onTimer_;
    bool enabled_ = false;
    bool loadedEnabled_ = false;
    bool loading_ = false;
    bool destroying_ = false;
    uint32_t interval_ = 1000;
    std::shared_ptr<ThreadState> thread_;
};

}  // namespace korbela
