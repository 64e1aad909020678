// Throughput of a freeing run (blocks taken, zero-filled, held and released,
// with message processing and progress updates after every block), against a
// bare allocate-zero-fill-release loop of the same block count.
#include <algorithm>
#include <cstring>
#include <memory>

#include "bench/bench_window.h"

using namespace korbela;

int main() {
    constexpr uint64_t kTotalMB = 4096;
    constexpr int kPercent = 10;  // 410 blocks of 1 MiB
    testing::FakeMemoryStatus memory;
    memory.SetMB(kTotalMB, kTotalMB / 2);
    bench::SystemBlockAllocator allocator;
    bench::BenchWindow window(memory, allocator);
    TfrmKRmain& frm = window.form;
    frm.spnAtempts.SetValue(1);
    window.usage.Fire();
    const int32_t blocks = frm.BlocksForPercent(kPercent);

    auto bare = [&] {
        std::vector<void*> held(static_cast<std::size_t>(blocks));
        for (auto& block : held) {
            block = allocator.Allocate(kRAMBlockSize);
            std::memset(block, 0, kRAMBlockSize);
        }
        for (void* block : held) allocator.Release(block, kRAMBlockSize);
    };
    auto run = [&] { frm.FreeRAM(kPercent); };

    bare();  // warm up the allocator once
    const auto [bareMicros, runMicros] = bench::InterleavedMedianMicros(bare, run, 9);
    const double megabytes = static_cast<double>(blocks);
    std::printf("freeing_run: %d blocks, %.0f MB/s; bare loop %.0f MB/s; run/bare time ratio %.3f (target <= 1.10)\n",
                blocks, megabytes / (runMicros / 1e6), megabytes / (bareMicros / 1e6), runMicros / bareMicros);
    return 0;
}
