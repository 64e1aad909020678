// The application-wide error report. Every error that reaches a window
// procedure, a subclass procedure or a timer's hand-over to the main thread
// ends here, in the one report the program sets at its start (the system
// message dialog). Nothing is dropped unseen: without a report, or when the
// report itself fails, the error goes to the debugger's output.
#pragma once

#include <exception>
#include <functional>
#include <utility>

namespace korbela {

using ErrorReport = std::function<void(const std::exception&)>;

// Sets the report; returns the one it replaces.
ErrorReport SetApplicationErrorReport(ErrorReport report);

// The report for as long as this object lives; the one before comes back
// when it goes, so that the report never outlives what it shows errors with.
class ScopedApplicationErrorReport {
public:
    explicit ScopedApplicationErrorReport(ErrorReport report)
        : previous_(SetApplicationErrorReport(std::move(report))) {}
    ~ScopedApplicationErrorReport() { SetApplicationErrorReport(std::move(previous_)); }
    ScopedApplicationErrorReport(const ScopedApplicationErrorReport&) = delete;
    ScopedApplicationErrorReport& operator=(const ScopedApplicationErrorReport&) = delete;

private:
    ErrorReport previous_;
};

void ReportApplicationError(const std::exception& error) noexcept;

// Reports the exception being handled; call it from a catch block. One that
// is no std::exception is reported as "Unknown error."
void ReportCurrentException() noexcept;

// Runs the call; whatever it throws goes to the report. False when it threw.
template <typename Call>
bool GuardedCall(Call&& call) noexcept {
    try {
        std::forward<Call>(call)();
        return true;
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}

}  // namespace korbela
