#include "core/tray/notify_shell.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korbela {
namespace {

// Answers the calls in order from a script; calls past its end fail.
class ScriptedShell : public INotifyShell {
public:
    ScriptedShell(std::vector<bool> answers, uint32_t error) : answers_(std::move(answers)), error_(error) {}

    bool Notify(NotifyCommand command, uint32_t, const NotifyIconRecord&) override {
        calls.push_back(command);
        const std::size_t index = calls.size() - 1;
        return index < answers_.size() && answers_[index];
    }
    uint32_t LastError() override { return error_; }
    void Sleep(uint32_t milliseconds) override { sleptMs += milliseconds; }

    std::vector<NotifyCommand> calls;
    uint32_t sleptMs = 0;

private:
    std::vector<bool> answers_;
    uint32_t error_;
};

using C = NotifyCommand;

struct RetryCase {
    const char* what;
    NotifyCommand command;
    uint32_t error;
    std::vector<bool> answers;
    bool expected;
    std::vector<NotifyCommand> expectedCalls;
    uint32_t expectedSleepMs;
};

TEST(ShellNotifyRetry, RetriesOnlyWhileTheTaskbarIsNotReady) {
    const RetryCase cases[] = {
        {"success at once", C::Add, 0, {true}, true, {C::Add}, 0},
        {"other error gives up", C::Add, 5, {false}, false, {C::Add}, 0},
        {"other error on delete", C::Delete, 1400, {false}, false, {C::Delete}, 0},
        {"add finds the icon there", C::Add, 0, {false, true}, true, {C::Add, C::Modify}, 1000},
        {"add succeeds on the third retry", C::Add, kErrorTimeout,
         {false, false, false, false, false, false, true}, true,
         {C::Add, C::Modify, C::Add, C::Modify, C::Add, C::Modify, C::Add}, 3000},
        {"delete finds the icon gone", C::Delete, 0, {false, false}, true, {C::Delete, C::Modify}, 1000},
        {"delete on the retry", C::Delete, kErrorTimeout, {false, true, true}, true,
         {C::Delete, C::Modify, C::Delete}, 1000},
        {"modify has no shortcut", C::Modify, 0, {false, false, true}, true, {C::Modify, C::Modify, C::Modify},
         2000},
    };
    for (const auto& c : cases) {
        ScriptedShell shell(c.answers, c.error);
        EXPECT_EQ(ShellNotifyWithRetry(shell, c.command, 0, NotifyIconRecord{}, true), c.expected) << c.what;
        EXPECT_EQ(shell.calls, c.expectedCalls) << c.what;
        EXPECT_EQ(shell.sleptMs, c.expectedSleepMs) << c.what;
    }
}

TEST(ShellNotifyRetry, GivesUpAfterThirtyOneRetriesASecondApart) {
    ScriptedShell add({}, 0);
    EXPECT_FALSE(ShellNotifyWithRetry(add, C::Add, 0, NotifyIconRecord{}, true));
    EXPECT_EQ(add.calls.size(), 1u + 31u * 2u) << "each retry tries a modify first";
    EXPECT_EQ(add.sleptMs, 31000u);

    ScriptedShell version({}, kErrorTimeout);
    EXPECT_FALSE(ShellNotifyWithRetry(version, C::SetVersion, 0, NotifyIconRecord{}, true));
    EXPECT_EQ(version.calls, std::vector<NotifyCommand>(32, C::SetVersion));
}

TEST(ShellNotifyRetry, NoRetryWhenAskedNotTo) {
    ScriptedShell shell({false, true}, 0);
    EXPECT_FALSE(ShellNotifyWithRetry(shell, C::Add, 0, NotifyIconRecord{}, false));
    EXPECT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.sleptMs, 0u);
}

}  // namespace
}  // namespace korbela
