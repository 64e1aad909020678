#include "core/system/thread_timer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "fakes/manual_timer_clock.h"
#include "fakes/queue_dispatcher.h"

namespace korbela {
namespace {

using namespace std::chrono;
using testing::ManualTimerClock;
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

// The timers count on a clock that moves only when the test moves it, and
// hand their ticks to a dispatcher that the test pumps.
class ThreadTimerTest : public ::testing::Test {
protected:
    void TearDown() override { dispatcher->Close(); }

    std::unique_ptr<TThreadTimer> MakeTimer() {
        return std::make_unique<TThreadTimer>(
            dispatcher, [this](const std::exception& e) { errors.push_back(e.what()); }, clock);
    }
    // Moves the clock on once the timer thread waits, then runs the tick that
    // came due; false when none did.
    bool TickAfter(uint32_t milliseconds) {
        if (!clock->WaitForWaiters(1)) return false;
        clock->Advance(milliseconds);
        return dispatcher->PumpOne();
    }
    // Moves the clock on and checks that no tick came due: the thread has
    // seen the new time when Advance returns, and waits on.
    bool NoTickAfter(uint32_t milliseconds) {
        if (!clock->WaitForWaiters(1)) return false;
        clock->Advance(milliseconds);
        return dispatcher->Queued() == 0;
    }

    std::shared_ptr<QueueDispatcher> dispatcher = std::make_shared<QueueDispatcher>();
    std::shared_ptr<ManualTimerClock> clock = std::make_shared<ManualTimerClock>(0xFFFFFF00u);  // wraps soon
    std::vector<std::string> errors;
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
    EXPECT_TRUE(NoTickAfter(39));
    EXPECT_TRUE(TickAfter(1));
    EXPECT_TRUE(TickAfter(40));
    EXPECT_EQ(ticks, 2);
    timer->SetEnabled(false);
    EXPECT_FALSE(timer->Running());
    ASSERT_TRUE(clock->WaitForWaiters(0)) << "the thread ends";
    clock->Advance(400);
    EXPECT_EQ(dispatcher->Queued(), 0u) << "no tick after stopping";
    EXPECT_EQ(ticks, 2);
}

TEST_F(ThreadTimerTest, HandlerRunsOnTheDispatchingThread) {
    auto timer = MakeTimer();
    std::thread::id handlerThread;
    timer->SetOnTimer([&] { handlerThread = std::this_thread::get_id(); });
    timer->SetInterval(20);
    timer->SetEnabled(true);
    ASSERT_TRUE(TickAfter(20));
    EXPECT_EQ(handlerThread, std::this_thread::get_id());
}

TEST_F(ThreadTimerTest, IntervalChangeRestartsThePeriodAndSameValueDoesNothing) {
    auto timer = MakeTimer();
    std::vector<uint32_t> ticks;
    timer->SetOnTimer([&] { ticks.push_back(clock->Now()); });
    timer->SetInterval(300);
    timer->SetEnabled(true);
    EXPECT_TRUE(NoTickAfter(200));
    // Assigning the value already held must not restart the period.
    timer->SetInterval(300);
    timer->SetEnabled(true);
    EXPECT_TRUE(TickAfter(100)) << "the first tick still comes 300 ms after enabling";

    timer->SetInterval(150);
    EXPECT_TRUE(NoTickAfter(149)) << "a new interval waits a full period";
    EXPECT_TRUE(TickAfter(1));
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_EQ(static_cast<uint32_t>(ticks[1] - ticks[0]), 150u);
}

TEST_F(ThreadTimerTest, SlowHandlerIsFollowedAtOnceButNeverTwice) {
    auto timer = MakeTimer();
    std::vector<uint32_t> starts, ends;
    timer->SetOnTimer([&] {
        starts.push_back(clock->Now());
        if (starts.size() == 1) clock->Advance(150);  // longer than the interval
        ends.push_back(clock->Now());
    });
    timer->SetInterval(100);
    timer->SetEnabled(true);
    ASSERT_TRUE(TickAfter(100));
    ASSERT_TRUE(dispatcher->PumpOne()) << "the next tick follows at once, with no time passing";
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[1], ends[0]);
    // The second handler took no time: a whole period comes before the third.
    EXPECT_TRUE(NoTickAfter(99)) << "a slow handler is made up for once, not twice";
    EXPECT_TRUE(TickAfter(1));
    EXPECT_EQ(static_cast<uint32_t>(starts[2] - ends[1]), 100u);
}

TEST_F(ThreadTimerTest, HandlerErrorIsReportedAndTheTimerGoesOn) {
    auto timer = MakeTimer();
    int ticks = 0;
    timer->SetOnTimer([&] {
        if (++ticks == 1) throw std::runtime_error("tick failed");
    });
    timer->SetInterval(30);
    timer->SetEnabled(true);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(TickAfter(30));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "tick failed");
    EXPECT_EQ(ticks, 3);
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

// Destroyed while its thread waits in the dispatcher with a tick: a timer
// that waited for its thread would hang here.
TEST_F(ThreadTimerTest, DestroyingARunningTimerNeitherBlocksNorTicksAgain) {
    int ticks = 0;
    auto timer = MakeTimer();
    timer->SetOnTimer([&] { ++ticks; });
    timer->SetInterval(10);
    timer->SetEnabled(true);
    ASSERT_TRUE(clock->WaitForWaiters(1));
    clock->Advance(10);
    ASSERT_TRUE(dispatcher->WaitForCalls(1));
    timer.reset();
    ASSERT_TRUE(dispatcher->PumpOne()) << "the tick that was on its way";
    EXPECT_EQ(ticks, 0) << "reaches no handler";
    clock->Advance(100);
    EXPECT_EQ(dispatcher->Queued(), 0u);
}

}  // namespace
}  // namespace korbela
