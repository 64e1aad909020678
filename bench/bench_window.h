// A main window for the benchmarks: real memory status or allocator where the
// benchmark asks for them, stand-ins for everything else.
#pragma once

#include "bench/bench_support.h"
#include "core/form/frm_kr_main.h"
#include "fakes/fake_registry.h"
#include "fakes/main_window_fakes.h"

namespace korbela::bench {

struct BenchWindow {
    BenchWindow(IMemoryStatus& memory, IBlockAllocator& allocator)
        : services{memory, allocator, pump,    registry, shell, os,     host, tray, messages,
                   usage,  check,     nullptr, "C:\\korbela.exe", "1.3.0.1"},
          form(services) {
        form.FormCreate();
    }

    testing::EventLog log;
    PlatformPump pump;
    testing::FakeRegistry registry;
    testing::FakeShell shell;
    testing::FakeOsVersion os;
    testing::FakeHost host{log};
    testing::FakeTray tray{log, host};
    testing::FakeDialog dialog{log};
    TSystemMessages messages{dialog};
    testing::FakeTimer usage{log, "tmrUsage"};
    testing::FakeTimer check{log, "tmrCheckCPU"};
    MainWindowServices services;
    TfrmKRmain form;
};

}  // namespace korbela::bench
