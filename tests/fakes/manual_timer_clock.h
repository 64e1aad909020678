// A timer clock that stands still until the test moves it. Advance returns
// once every timer thread that was waiting has looked at the new time: a tick
// that has come due is then on its way to the dispatcher, and a thread whose
// time has not come is still waiting, so tests need no real waits.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "core/system/thread_timer.h"

namespace korbela::testing {

class ManualTimerClock : public ITimerClock {
public:
    explicit ManualTimerClock(uint32_t start = 0) : now_(start) {}

    uint32_t Now() override {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<uint32_t>(now_);
    }

    bool WaitForSignal(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, uint32_t milliseconds,
                       const std::function<bool()>& signalled) override {
        Waiter self;
        uint64_t deadline = 0;
        {
            std::lock_guard<std::mutex> guard(mutex_);
            deadline = now_ + milliseconds;
            waiters_.push_back(&self);
            changed_.notify_all();
        }
        bool due = false;
        while (!signalled()) {
            {
                std::lock_guard<std::mutex> guard(mutex_);
                self.seen = generation_;
                due = now_ >= deadline;
                changed_.notify_all();
            }
            if (due) break;
            // The clock does not wake its waiters (that would take their locks
            // in the other order); a short poll sees both the signal and the time.
            signal.wait_for(lock, std::chrono::milliseconds(1));
        }
        {
            std::lock_guard<std::mutex> guard(mutex_);
            waiters_.erase(std::find(waiters_.begin(), waiters_.end(), &self));
            changed_.notify_all();
        }
        return !due;
    }

    void Advance(uint32_t milliseconds) {
        std::unique_lock<std::mutex> lock(mutex_);
        now_ += milliseconds;
        const uint64_t generation = ++generation_;
        changed_.wait(lock, [&] { return AllHaveSeen(generation); });
    }

    // Waits until `count` timer threads wait for their time to pass. A thread
    // whose timer was stopped or restarted may not have seen its signal yet:
    // every waiter looks once more before it is counted, and such a thread
    // then leaves instead.
    bool WaitForWaiters(std::size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        for (;;) {
            const uint64_t generation = ++generation_;
            if (!changed_.wait_until(lock, until, [&] { return AllHaveSeen(generation); })) return false;
            if (waiters_.size() == count) return true;
            if (!changed_.wait_until(lock, until, [&] { return waiters_.size() == count; })) return false;
        }
    }

private:
    // A waiter has "seen" a generation once it has looked at its signal and the
    // time after the generation began; a new one has seen none.
    struct Waiter {
        uint64_t seen = 0;
    };

    bool AllHaveSeen(uint64_t generation) const {
        return std::all_of(waiters_.begin(), waiters_.end(),
                           [&](const Waiter* waiter) { return waiter->seen >= generation; });
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    uint64_t now_;
    uint64_t generation_ = 0;
    std::vector<Waiter*> waiters_;
};

}  // namespace korbela::testing
