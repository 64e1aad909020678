// Runs a handler inside a window procedure: nothing it raises may cross back
// into the system. Errors go to the application's error report.
#pragma once

#include <exception>
#include <functional>
#include <utility>

namespace korbela {

using ErrorReport = std::function<void(const std::exception&)>;

template <typename Call>
void GuardedCall(const ErrorReport& report, Call&& call) noexcept {
    try {
        std::forward<Call>(call)();
    } catch (const std::exception& error) {
        try {
            if (report) report(error);
        } catch (...) {
            // The report itself failed; the window goes on working.
        }
    } catch (...) {
        // Not an error the report can describe.
    }
}

}  // namespace korbela
