// The test performance provider (perf_provider/), registered in the test prefix
// for as long as this object lives: HKEY_PERFORMANCE_DATA "238" then answers
// with a Processor object of the instances "0", "1" and "_Total", each as
// busy as the test says.
#pragma once

#include <windows.h>

#include <optional>

namespace korbela::wine {

class TestPerfProvider {
public:
    TestPerfProvider();  // registered, every processor at 0 %
    ~TestPerfProvider();
    TestPerfProvider(const TestPerfProvider&) = delete;
    TestPerfProvider& operator=(const TestPerfProvider&) = delete;

    bool Registered() const { return registered_; }
    // Busy percent of each processor; "_Total" the mean of the two unless given.
    void SetLoads(DWORD first, DWORD second, std::optional<DWORD> total = std::nullopt);
    // How many queries the provider has answered so far.
    DWORD Collects() const;
    // Waits until the provider has answered `count` more queries.
    bool WaitForCollects(DWORD count) const;
    void Remove();

private:
    bool registered_ = false;
};

}  // namespace korbela::wine
