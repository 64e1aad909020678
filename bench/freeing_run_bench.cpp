// Throughput of a freeing run (blocks taken, zero-filled, held and released,
// with message processing and progress updates after every block), against a
// bare allocate-zero-fill-release loop of the same block count.
#include <cstring>
#include <memory>

#include "bench/bench_support.h"
#include "core/ui/frm_kr_main.h"
#include "fakes/fake_registry.h"
#include "fakes/main_window_fakes.h"

using namespace korbela;

int main() {
    constexpr uint64_t kTotalMB = 4096;
    constexpr int kPercent = 10;  // 410 blocks of 1 MiB
    testing::EventLog log;
    testing::FakeMemoryStatus memory;
    memory.SetMB(kTotalMB, kTotalMB / 2);
    bench::SystemBlockAllocator allocator;
    bench::PlatformPump pump;
    testing::FakeRegistry registry;
    testing::FakeShell shell;
    testing::FakeOsVersion os;
    testing::FakeHost host(log);
    testing::FakeTray tray(log, host);
    testing::FakeDialog dialog(log);
    TSystemMessages messages(dialog);
    testing::FakeTimer usage(log, "tmrUsage"), check(log, "tmrCheckCPU");
    MainWindowServices services{memory, allocator, pump, registry, shell, os, host, tray, messages,
                                usage,  check,     nullptr, "C:\\korbela.exe", "1.3.0.1"};
    TfrmKRmain frm(services);
    frm.FormCreate();
    frm.spnAtempts.SetValue(1);
    usage.Fire();
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
    const double bareMicros = bench::MedianMicros(bare, 7);
    const double runMicros = bench::MedianMicros(run, 7);
    const double megabytes = static_cast<double>(blocks);
    std::printf("freeing_run: %d blocks, %.0f MB/s; bare loop %.0f MB/s; run/bare time ratio %.3f (target <= 1.10)\n",
                blocks, megabytes / (runMicros / 1e6), megabytes / (bareMicros / 1e6), runMicros / bareMicros);
    return 0;
}
