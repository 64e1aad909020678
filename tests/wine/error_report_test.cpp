// The application-wide report, set up as the program sets it up: an
// unexpected error raised in a window procedure, in a subclassed control or
// in a timer tick shows "Korbela Lite has encountered an error:", a blank line
// and the message in the program's own message dialog, and the window, the
// control and the ticks go on working.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "core/dialog/system_messages.h"
#include "core/system/thread_timer.h"
#include "harness/korbela_process.h"
#include "win32/window/error_report.h"
#include "win32/app/timer_dispatcher.h"
#include "win32/window/control_ids.h"
#include "win32/dialog/frm_message.h"
#include "win32/window/window.h"

namespace korbela::wine {
namespace {

constexpr UINT kThrow = WM_APP + 10;
constexpr UINT kAnswer = WM_APP + 11;
constexpr char kClassName[] = "KorbelaReportTestWindow";

// A hidden window whose procedure fails on kThrow and answers 1 to kAnswer.
class FailingWindow : public WindowBase {
public:
    FailingWindow() {
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        RegisterWindowClass(instance, {kClassName, WindowProc});
        Create(0, kClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance);
    }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kThrow) throw std::runtime_error("The window procedure failed.");
        if (message == kAnswer) return 1;
        return WindowBase::HandleMessage(message, wParam, lParam);
    }
};

// A control of another's making, subclassed, that fails on kThrow.
class FailingSubclass : private SubclassBase {
public:
    explicit FailingSubclass(HWND control) { Subclass(control); }

private:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kThrow) throw std::runtime_error("The control failed.");
        return SubclassBase::HandleSubclassMessage(window, message, wParam, lParam);
    }
};

class ErrorReport : public ::testing::Test {
protected:
    // Raises the error on this thread and returns the text the dialog showed,
    // read and closed with its Ok button from another thread meanwhile.
    std::string Reported(const std::function<void()>& raise) {
        std::string shown;
        std::atomic<bool> closed{false};
        std::thread reader([&] {
            HWND dialog = nullptr;
            if (WaitUntil([&] {
                    dialog = FindProcessWindow(GetCurrentProcessId(), kMessageWindowClass);
                    return dialog != nullptr && IsWindowVisible(dialog);
                }, std::chrono::seconds(10))) {
                shown = WindowText(GetDlgItem(dialog, ctrl::mem_Message));
                PostMessageA(GetDlgItem(dialog, ctrl::btn_Ok), BM_CLICK, 0, 0);
            }
            closed = true;
        });
        raise();
        // A tick's report comes while this thread takes its messages.
        MSG msg;
        while (!closed) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            Sleep(10);
        }
        reader.join();
        return shown;
    }

    FailingWindow owner;
    Tfrm_Message dialog{GetModuleHandleA(nullptr), owner.Handle(), owner.Handle()};
    TSystemMessages messages{dialog};
    ScopedApplicationErrorReport report{[this](const std::exception& error) { messages.AppEventsException(error); }};
};

TEST_F(ErrorReport, AWindowProcedureErrorIsShownAndTheWindowGoesOn) {
    ASSERT_NE(owner.Handle(), nullptr);
    EXPECT_EQ(Reported([&] { SendMessageA(owner.Handle(), kThrow, 0, 0); }),
              "Korbela Lite has encountered an error:\r\n\r\nThe window procedure failed.");
    EXPECT_EQ(SendMessageA(owner.Handle(), kAnswer, 0, 0), 1);
}

TEST_F(ErrorReport, ASubclassedControlErrorIsShownAndTheControlGoesOn) {
    HWND button = CreateWindowExA(0, "BUTTON", "Free RAM", WS_CHILD, 0, 0, 50, 20, owner.Handle(), nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    FailingSubclass subclass(button);
    EXPECT_EQ(Reported([&] { SendMessageA(button, kThrow, 0, 0); }),
              "Korbela Lite has encountered an error:\r\n\r\nThe control failed.");
    SetWindowTextA(button, "Still here");
    EXPECT_EQ(WindowText(button), "Still here");
}

TEST_F(ErrorReport, ATickErrorIsShownAndTheTicksGoOn) {
    auto dispatcher = std::make_shared<TimerDispatcher>(GetModuleHandleA(nullptr));
    TThreadTimer timer(dispatcher, ReportApplicationError);
    int ticks = 0;
    timer.SetInterval(50);
    timer.SetOnTimer([&] {
        if (++ticks == 1) throw std::runtime_error("The tick failed.");
    });
    EXPECT_EQ(Reported([&] { timer.SetEnabled(true); }),
              "Korbela Lite has encountered an error:\r\n\r\nThe tick failed.");
    MSG msg;
    EXPECT_TRUE(WaitUntil([&] {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        return ticks >= 3;
    })) << "ticks after the report";
    timer.SetEnabled(false);
    dispatcher->Close();
}

}  // namespace
}  // namespace korbela::wine
