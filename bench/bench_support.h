// Shared by the benchmarks: timing, the platform's raw memory status and
// allocator, and a main window on stand-ins for everything else.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#include <sys/sysinfo.h>
#endif

#include "core/system/memory.h"
#include "core/system/message_pump.h"

namespace korbela::bench {

// Median wall time of a call, in microseconds.
inline double MedianMicros(const std::function<void()>& call, int repeats) {
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        const auto start = std::chrono::steady_clock::now();
        call();
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Median wall times of two calls, in microseconds, their samples taken in
// turns so that a busy machine slows both alike.
inline std::pair<double, double> InterleavedMedianMicros(const std::function<void()>& first,
                                                         const std::function<void()>& second, int repeats) {
    std::vector<double> firstTimes, secondTimes;
    for (int i = 0; i < repeats; ++i) {
        firstTimes.push_back(MedianMicros(first, 1));
        secondTimes.push_back(MedianMicros(second, 1));
    }
    std::sort(firstTimes.begin(), firstTimes.end());
    std::sort(secondTimes.begin(), secondTimes.end());
    return {firstTimes[firstTimes.size() / 2], secondTimes[secondTimes.size() / 2]};
}

inline MemorySnapshot RawMemoryStatus() {
    MemorySnapshot snapshot;
#ifdef _WIN32
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatusEx(&status);
    snapshot.TotalPhys = status.ullTotalPhys;
    snapshot.AvailPhys = status.ullAvailPhys;
#else
    struct sysinfo info {};
    sysinfo(&info);
    snapshot.TotalPhys = static_cast<uint64_t>(info.totalram) * info.mem_unit;
    snapshot.AvailPhys = static_cast<uint64_t>(info.freeram) * info.mem_unit;
#endif
    return snapshot;
}

class RawMemoryStatusSource : public IMemoryStatus {
public:
    MemorySnapshot Snapshot() override { return RawMemoryStatus(); }
};

// The system's own page allocator, as the program uses it.
class SystemBlockAllocator : public IBlockAllocator {
public:
    void* Allocate(std::size_t byteCount) override {
#ifdef _WIN32
        return VirtualAlloc(nullptr, byteCount, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
#else
        void* block = mmap(nullptr, byteCount, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        return block == MAP_FAILED ? nullptr : block;
#endif
    }
    void Release(void* block, std::size_t byteCount) override {
#ifdef _WIN32
        (void)byteCount;
        VirtualFree(block, 0, MEM_RELEASE);
#else
        munmap(block, byteCount);
#endif
    }
};

// Processes the thread's pending messages where there are any.
class PlatformPump : public IMessagePump {
public:
    void ProcessMessages() override {
#ifdef _WIN32
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
#endif
    }
    bool Terminated() const override { return false; }
};

}  // namespace korbela::bench
