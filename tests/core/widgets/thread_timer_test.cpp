#include "core/widgets/thread_timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "fakes/queue_dispatcher.h"

namespace korbela {
namespace {

using namespace std::chrono;
using testing::QueueDispatcher;

struct WaitCase {
    uint32_t interval, noted, now, expected;
};

TEST(TimerWait, SubtractsTheTimeTheHandlerUsed) {
    const WaitCase cases[] = {
        {1000, 5000, 5000, 1000},        // handler took no time
        {1000, 5000, 5300, 700},
        {1000, 5000, 6000, 0},           // exactly one interval: next tick at once
        {1000, 5000, 6500, 0},           // 1500 ms handler: at once, never negative
        {1000, 0xFFFFFF00u, 100, 645},   // counter wrapped: 100 + (2^32-1 - 0xFFFFFF00) = 355 used
        {60000, 0xFFFFFFF0u, 0xFFFFFFF0u, 60000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextTimerWait(c.interval, c.noted, c.now), c.expected)
            << "interval " << c.interval << " noted " << c.noted << " now " << c.now;
    }
}

class ThreadTimerTest : public ::testing::Test {
protected:
    void TearDown() override { dispatcher->Close(); }

    std::shared_ptr<QueueDispatcher> dispatcher = std::make_shared<QueueDispatcher>();
    std::vector<std::string> errors;
    std::unique_ptr<TThreadTimer> MakeTimer() {
        return std::make_unique<TThreadTimer>(
            dispatcher, [this](const std::exception& e) { errors.push_back(e.what()); });
    }
};

TEST_F(ThreadTimerTest, RunsOnlyWhenEnabledWithHandlerAndInterval) {
    auto timer = MakeTimer();
    int ticks = 0;
    timer->SetInterval(40);
    timer->SetEnabled(true);
    EXPECT_FALSE(timer->Running()) << "no handler yet";
    timer->SetOnTimer([&] { ++ticks; });
    EXPECT_TRUE(timer->Running());
    timer->SetInterval(0);
    EXPECT_FALSE(timer->Running()) << "interval 0 stops the timer";
    timer->SetInterval(40);
    EXPECT_TRUE(timer->Running());
    dispatcher->PumpFor(milliseconds(130));
    EXPECT_GE(ticks, 2);
    timer->SetEnabled(false);
    EXPECT_FALSE(timer->Running());
    const int stopped = ticks;
    dispatcher->PumpFor(milliseconds(120));
    EXPECT_EQ(ticks, stopped) << "no tick after stopping";
}

TEST_F(ThreadTimerTest, HandlerRunsOnTheDispatchingThread) {
    auto timer = MakeTimer();
    std::thread::id handlerThread;
    timer->SetOnTimer([&] { handlerThread = std::this_thread::get_id(); });
    timer->SetInterval(20);
    timer->SetEnabled(true);
    dispatcher->PumpFor(milliseconds(80));
    EXPECT_EQ(handlerThread, std::this_thread::get_id());
}

TEST_F(ThreadTimerTest, IntervalChangeRestartsThePeriodAndSameValueDoesNothing) {
    auto timer = MakeTimer();
    std::vector<steady_clock::time_point> ticks;
    timer->SetOnTimer([&] { ticks.push_back(steady_clock::now()); });
    timer->SetInterval(300);
    timer->SetEnabled(true);
    dispatcher->PumpFor(milliseconds(200));
    EXPECT_TRUE(ticks.empty());
    // Assigning the value already held must not restart the period.
    timer->SetInterval(300);
    timer->SetEnabled(true);
    dispatcher->PumpFor(milliseconds(200));
    ASSERT_EQ(ticks.size(), 1u) << "the first tick still comes 300 ms after enabling";

    const auto changed = steady_clock::now();
    timer->SetInterval(150);
    dispatcher->PumpFor(milliseconds(100));
    EXPECT_EQ(ticks.size(), 1u) << "a new interval waits a full period";
    dispatcher->PumpFor(milliseconds(120));
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_GE(ticks[1] - changed, milliseconds(140));
}

TEST_F(ThreadTimerTest, SlowHandlerIsFollowedAtOnceButNeverTwice) {
    auto timer = MakeTimer();
    std::vector<steady_clock::time_point> starts, ends;
    timer->SetOnTimer([&] {
        starts.push_back(steady_clock::now());
        std::this_thread::sleep_for(milliseconds(150));  // longer than the interval
        ends.push_back(steady_clock::now());
    });
    timer->SetInterval(100);
    timer->SetEnabled(true);
    dispatcher->PumpFor(milliseconds(600));
    timer->SetEnabled(false);
    ASSERT_GE(starts.size(), 3u);
    for (size_t i = 1; i < starts.size(); ++i) {
        EXPECT_GE(starts[i], ends[i - 1]) << "ticks never overlap";
        EXPECT_LT(starts[i] - ends[i - 1], milliseconds(40)) << "the next tick follows at once";
    }
    // 600 ms at 150 ms per handler fits at most 4 ticks: none piled up.
    EXPECT_LE(starts.size(), 5u);
}

TEST_F(ThreadTimerTest, HandlerErrorIsReportedAndTheTimerGoesOn) {
    auto timer = MakeTimer();
    int ticks = 0;
    timer->SetOnTimer([&] {
        if (++ticks == 1) throw std::runtime_error("tick failed");
    });
    timer->SetInterval(30);
    timer->SetEnabled(true);
    dispatcher->PumpFor(milliseconds(150));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "tick failed");
    EXPECT_GE(ticks, 3);
}

TEST_F(ThreadTimerTest, EnabledWhileLoadingIsAppliedAfterLoading) {
    auto timer = MakeTimer();
    timer->SetOnTimer([] {});
    timer->BeginLoading();
    timer->SetEnabled(true);
    EXPECT_FALSE(timer->Running());
    timer->EndLoading();
    EXPECT_TRUE(timer->Enabled());
    EXPECT_TRUE(timer->Running());
}

TEST_F(ThreadTimerTest, DestroyingARunningTimerNeitherBlocksNorTicksAgain) {
    int ticks = 0;
    {
        auto timer = MakeTimer();
        timer->SetOnTimer([&] { ++ticks; });
        timer->SetInterval(10);
        timer->SetEnabled(true);
        dispatcher->PumpFor(milliseconds(50));
        const auto before = steady_clock::now();
        timer.reset();
        EXPECT_LT(steady_clock::now() - before, milliseconds(50));
    }
    const int seen = ticks;
    dispatcher->PumpFor(milliseconds(60));
    EXPECT_EQ(ticks, seen);
}

}  // namespace
}  // namespace korbela
