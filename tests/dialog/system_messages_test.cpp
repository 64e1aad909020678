#include "core/dialog/system_messages.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/system/errors.h"
#include "fakes/main_window_fakes.h"

namespace korbela::testing {
namespace {

TEST(SystemMessages, ErrorReportHasTheHeaderABlankLineAndTheMessage) {
    EventLog log;
    FakeDialog dialog(log);
    TSystemMessages messages(dialog);
    messages.AppEventsException(std::runtime_error("Out of memory"));
    messages.AppEventsException(EAbort());
    EXPECT_EQ(dialog.shown,
              (std::vector<std::string>{"Korbela Lite has encountered an error:\r\n\r\nOut of memory"}));
}

TEST(SystemMessages, AMessageRaisedWhileOneIsOpenWaitsForIt) {
    EventLog log;
    FakeDialog dialog(log);
    TSystemMessages messages(dialog);
    bool returnedAtOnce = false;
    dialog.whileOpen = [&] {
        EXPECT_TRUE(messages.Showing());
        messages.ShowSystemMessage("second");
        returnedAtOnce = true;
        EXPECT_EQ(dialog.shown.size(), 1u) << "never two dialogs at once";
    };
    messages.ShowSystemMessage("first");
    EXPECT_TRUE(returnedAtOnce);
    EXPECT_EQ(dialog.shown, (std::vector<std::string>{"first", "second"}));
    EXPECT_FALSE(messages.Showing());
}

}  // namespace
}  // namespace korbela::testing
