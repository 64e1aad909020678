#include "win32/window/error_report.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace korbela {

namespace {

// The one report of the process; set and used on the main thread only.
ErrorReport& CurrentReport() {
    static ErrorReport report;
    return report;
}

void WriteToDebugger(const char* text) noexcept {
    OutputDebugStringA("Korbela Lite: ");
    OutputDebugStringA(text);
    OutputDebugStringA("\n");
}

}  // namespace

ErrorReport SetApplicationErrorReport(ErrorReport report) {
    return std::exchange(CurrentReport(), std::move(report));
}

void ReportApplicationError(const std::exception& error) noexcept {
    // A copy: the report shows a modal dialog, and the report may be set
    // anew before it returns.
    ErrorReport report;
    try {
        report = CurrentReport();
    } catch (...) {
    }
    if (!report) {
        WriteToDebugger(error.what());
        return;
    }
    try {
        report(error);
    } catch (const std::exception& failure) {
        WriteToDebugger(error.what());
        WriteToDebugger(failure.what());
    } catch (...) {
        WriteToDebugger(error.what());
    }
}

void ReportCurrentException() noexcept {
    const std::exception_ptr current = std::current_exception();
    if (!current) return;
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& error) {
        ReportApplicationError(error);
    } catch (...) {
        try {
            ReportApplicationError(std::runtime_error("Unknown error."));
        } catch (...) {
            WriteToDebugger("Unknown error.");
        }
    }
}

}  // namespace korbela
