// A main window on fakes: every test starts from a first start on a machine
// with 1,072,627,712 bytes of RAM and an empty registry.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/system/settings_reg.h"
#include "core/form/frm_kr_main.h"
#include "fakes/fake_registry.h"
#include "fakes/main_window_fakes.h"

namespace korbela::testing {

inline constexpr const char* kExePath = "C:\\Program Files\\Korbela Lite\\korbela.exe";
inline constexpr const char* kSettingsKey = "software\\Quillmarsh\\Korbela Lite";

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() { memory.snapshot = {1072627712ull, 500ull << 20}; }

    // Builds the window as the program does and runs its creation.
    TfrmKRmain& Create(bool runFormCreate = true) {
        form.reset();  // the timers serve one window at a time
        services = std::make_unique<MainWindowServices>(MainWindowServices{
            memory, allocator, pump, registry, shell, os, host, tray, messages, tmrUsage, tmrCheckCPU,
            cpu, kExePath, "1.3.0.1"});
        form = std::make_unique<TfrmKRmain>(*services);
        host.onBecameVisible = [this] { form->FormShow(); };
        if (runFormCreate) form->FormCreate();
        return *form;
    }

    // A working CPU reading (the 95 family's single figure) of the given load.
    void UseCpu(uint32_t percent) {
        dynData.percent = percent;
        sampler = std::make_unique<CpuUsage>(os9x, perfData, dynData);
        cpu = sampler.get();
    }

    // One usage tick as the timer delivers it.
    void Tick() { tmrUsage.Fire(); }

    std::optional<uint32_t> Stored(const std::string& name) {
        return registry.Dword(RegRoot::CurrentUser, kSettingsKey, name);
    }
    void Store(const std::string& name, uint32_t value) {
        registry.PutDword(RegRoot::CurrentUser, kSettingsKey, name, value);
    }

    EventLog log;
    FakeMemoryStatus memory;
    FakeBlockAllocator allocator;
    FakeMessagePump pump;
    FakeRegistry registry;
    FakeShell shell;
    FakeOsVersion os;
    FakeHost host{log};
    FakeTray tray{log, host};
    FakeDialog dialog{log};
    TSystemMessages messages{dialog};
    FakeTimer tmrUsage{log, "tmrUsage"};
    FakeTimer tmrCheckCPU{log, "tmrCheckCPU"};
    FakeOsVersion os9x{OsVersion{kPlatformWin32Windows, 4, 10}};
    FakePerfData perfData;
    FakeDynData dynData;
    std::unique_ptr<CpuUsage> sampler;
    CpuUsage* cpu = nullptr;
    std::unique_ptr<MainWindowServices> services;
    std::unique_ptr<TfrmKRmain> form;
};

}  // namespace korbela::testing
