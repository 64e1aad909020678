// Cost of one usage tick (memory figures, labels, bars, tray tip, graph points)
// against one raw memory-status call of the platform.
#include "bench/bench_window.h"

using namespace korbela;

int main() {
    bench::RawMemoryStatusSource memory;
    testing::FakeBlockAllocator allocator;
    bench::BenchWindow window(memory, allocator);
    testing::FakeTimer& usage = window.usage;

    constexpr int kBatch = 2000;
    volatile uint64_t sink = 0;
    auto raw = [&] {
        for (int i = 0; i < kBatch; ++i) sink = sink + bench::RawMemoryStatus().AvailPhys;
    };
    auto tick = [&] {
        for (int i = 0; i < kBatch; ++i) usage.Fire();
    };
    const auto [rawBatch, tickBatch] = bench::InterleavedMedianMicros(raw, tick, 15);
    const double rawMicros = rawBatch / kBatch;
    const double tickMicros = tickBatch / kBatch;
    std::printf("usage_tick: %.3f us per tick; raw memory status %.3f us; ratio %.2f\n", tickMicros, rawMicros,
                tickMicros / rawMicros);
    return 0;
}
