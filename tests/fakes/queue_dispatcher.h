// A main-thread stand-in for timer tests: timer threads queue their calls and
// wait; the test thread runs them while it "pumps".
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>

#include "core/widgets/thread_timer.h"

namespace korbela::testing {

class QueueDispatcher : public IMainThreadDispatcher {
public:
    void Invoke(const std::function<void()>& call) override {
        std::promise<void> done;
        std::future<void> finished = done.get_future();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (closed_) return;
            queue_.push_back([&call, &done] {
                call();
                done.set_value();
            });
        }
        ready_.notify_all();
        finished.wait();
    }

    // Runs queued calls on the calling thread until the time is up; a call
    // that is still queued then stays queued, however long the last one took.
    void PumpFor(std::chrono::milliseconds duration) {
        const auto end = std::chrono::steady_clock::now() + duration;
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            if (!ready_.wait_until(lock, end, [this] { return !queue_.empty(); })) return;
            if (std::chrono::steady_clock::now() >= end) return;
            auto call = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            call();
            lock.lock();
        }
    }

    // Drops waiting calls so that no timer thread stays blocked.
    void Close() {
        std::deque<std::function<void()>> pending;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            closed_ = true;
            pending.swap(queue_);
        }
        for (auto& call : pending) call();
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> queue_;
    bool closed_ = false;
};

}  // namespace korbela::testing
