// Cost of one usage tick (memory figures, labels, bars, tray tip, graph points)
// against one raw memory-status call of the platform.
#include "bench/bench_support.h"
#include "core/ui/frm_kr_main.h"
#include "fakes/fake_registry.h"
#include "fakes/main_window_fakes.h"

using namespace korbela;

int main() {
    testing::EventLog log;
    bench::RawMemoryStatusSource memory;
    testing::FakeBlockAllocator allocator;
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

    constexpr int kBatch = 2000;
    volatile uint64_t sink = 0;
    auto raw = [&] {
        for (int i = 0; i < kBatch; ++i) sink = sink + bench::RawMemoryStatus().AvailPhys;
    };
    auto tick = [&] {
        for (int i = 0; i < kBatch; ++i) usage.Fire();
    };
    const double rawMicros = bench::MedianMicros(raw, 9) / kBatch;
    const double tickMicros = bench::MedianMicros(tick, 9) / kBatch;
    std::printf("usage_tick: %.3f us per tick; raw memory status %.3f us; ratio %.2f\n", tickMicros, rawMicros,
                tickMicros / rawMicros);
    return 0;
}
