// A main-thread stand-in for timer tests: timer threads queue their calls and
// wait; the test thread runs them while it "pumps".
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>

#include "core/system/thread_timer.h"

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

    // Runs the next call to arrive; false when none came within the time.
    bool PumpOne(std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!ready_.wait_for(lock, timeout, [this] { return !queue_.empty(); })) return false;
        auto call = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        call();
        return true;
    }

    // Waits until `count` calls are queued.
    bool WaitForCalls(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return ready_.wait_for(lock, timeout, [&] { return queue_.size() >= count; });
    }

    std::size_t Queued() {
        std::lock_guard<std::mutex> lock(mutex_);
        return queue_.size();
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
