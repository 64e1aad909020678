// Fakes of everything the main window uses of the system, with a shared log
// so tests can assert on the order in which things happen.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "core/system/memory.h"
#include "core/system/message_pump.h"
#include "core/system/os_version.h"
#include "core/system/shell.h"
#include "core/system/cpu_usage.h"
#include "core/form/main_window_host.h"
#include "core/dialog/system_messages.h"
#include "core/tray/tray_target.h"
#include "core/system/thread_timer.h"

namespace korbela::testing {

using EventLog = std::vector<std::string>;

class FakeMemoryStatus : public IMemoryStatus {
public:
    MemorySnapshot Snapshot() override {
        ++snapshots;
        return snapshot;
    }
    void SetMB(uint64_t totalMB, uint64_t freeMB) {
        snapshot.TotalPhys = totalMB << 20;
        snapshot.AvailPhys = freeMB << 20;
    }
    MemorySnapshot snapshot;
    int snapshots = 0;
};

// Hands out real buffers pre-filled with a pattern, so a test can see that the
// run wrote every byte; can refuse the n-th allocation.
class FakeBlockAllocator : public IBlockAllocator {
public:
    void* Allocate(std::size_t byteCount) override {
        ++allocations;
        if (failAt && allocations == *failAt) {
            if (failWithRuntimeError) throw std::bad_alloc();
            return nullptr;
        }
        std::unique_ptr<unsigned char[]> block;
        if (!pool_.empty() && poolBlockSize_ == byteCount) {
            block = std::move(pool_.back());  // spares the page faults of a fresh buffer
            pool_.pop_back();
        } else {
            block.reset(new unsigned char[byteCount]);
        }
        std::memset(block.get(), 0xA5, byteCount);
        void* address = block.get();
        live[address] = std::move(block);
        peakLive = std::max(peakLive, live.size());
        return address;
    }
    void Release(void* block, std::size_t byteCount) override {
        auto found = live.find(block);
        if (found == live.end()) {
            ++badReleases;
            return;
        }
        static const std::vector<unsigned char> zeros(byteCount, 0);
        if (byteCount > zeros.size() || std::memcmp(found->second.get(), zeros.data(), byteCount) != 0) {
            ++unwrittenBlocks;
        }
        releaseOrder.push_back(block);
        poolBlockSize_ = byteCount;
        pool_.push_back(std::move(found->second));
        live.erase(found);
        ++releases;
    }

    std::optional<int> failAt;  // 1-based allocation that fails
    bool failWithRuntimeError = false;  // as the C++ runtime does, with std::bad_alloc
    std::map<void*, std::unique_ptr<unsigned char[]>> live;
    std::vector<void*> releaseOrder;
    std::size_t peakLive = 0;
    int allocations = 0;
    int releases = 0;
    int badReleases = 0;
    int unwrittenBlocks = 0;

private:
    std::vector<std::unique_ptr<unsigned char[]>> pool_;
    std::size_t poolBlockSize_ = 0;
};

class FakeMessagePump : public IMessagePump {
public:
    void ProcessMessages() override {
        ++calls;
        if (onProcess) onProcess(calls);
    }
    bool Terminated() const override { return terminated; }

    std::function<void(int call)> onProcess;  // what arrives while messages are processed
    int calls = 0;
    bool terminated = false;
};

class FakeShell : public IShell {
public:
    void Open(const std::string& target) override { opened.push_back(target); }
    std::vector<std::string> opened;
};

class FakeOsVersion : public IOsVersion {
public:
    FakeOsVersion() = default;
    explicit FakeOsVersion(OsVersion fixed) : version(fixed) {}
    std::optional<OsVersion> Query() override { return version; }
    std::optional<OsVersion> version = OsVersion{kPlatformWin32NT, 6, 1};
};

// Performance data that is never there.
class FakePerfData : public IPerfDataSource {
public:
    long QueryProcessorData(uint8_t*, uint32_t& size) override {
        size = 0;
        return 2;  // ERROR_FILE_NOT_FOUND
    }
};

// The 95 family's statistics keys answering one fixed load.
class FakeDynData : public IDynDataSource {
public:
    Key OpenKey(const std::string&, bool) override { return 1; }
    bool ReadCPUUsage(Key, uint32_t& value) override {
        value = percent;
        return true;
    }
    void CloseKey(Key) override {}
    uint32_t percent = 5;
};

class FakeHost : public IMainWindowHost {
public:
    explicit FakeHost(EventLog& log) : log_(log) {}
    bool IsVisible() override { return visible; }
    void Show() override {
        log_.push_back("host.Show");
        if (!visible) {
            visible = true;
            if (onBecameVisible) onBecameVisible();
        }
    }
    void BringToFront() override { log_.push_back("host.BringToFront"); }
    void Repaint() override { log_.push_back("host.Repaint"); }
    void Terminate() override {
        log_.push_back("host.Terminate");
        terminated = true;
    }

    std::function<void()> onBecameVisible;  // the window binding runs FormShow
    bool visible = false;
    bool terminated = false;

private:
    EventLog& log_;
};

class FakeTray : public ITrayTarget {
public:
    FakeTray(EventLog& log, FakeHost& host) : log_(log), host_(host) {}
    void SetHint(const std::string& text) override { hint = text; }
    void HideToTray() override {
        log_.push_back("tray.HideToTray");
        host_.visible = false;
        ++hides;
    }
    void SetUsage(int percent) override { usage = percent; }
    bool UsageShown() const override { return usageShown; }
    void SetUsageShown(bool value) override { usageShown = value; }
    void ShowNotification(const std::string& text) override {
        log_.push_back("tray.Notification: " + text);
        notifications.push_back(text);
    }
    std::string hint;
    int hides = 0;
    std::optional<int> usage;
    bool usageShown = false;
    std::vector<std::string> notifications;

private:
    EventLog& log_;
    FakeHost& host_;
};

class FakeDialog : public IMessageDialog {
public:
    explicit FakeDialog(EventLog& log) : log_(log) {}
    void ShowModal(const std::string& text) override {
        log_.push_back("message: " + text);
        shown.push_back(text);
        if (whileOpen) {
            auto call = std::move(whileOpen);
            whileOpen = nullptr;
            call();
        }
    }
    std::vector<std::string> shown;
    std::function<void()> whileOpen;  // runs inside the modal loop once

private:
    EventLog& log_;
};

class FakeTimer : public ITimer {
public:
    FakeTimer(EventLog& log, std::string name) : log_(log), name_(std::move(name)) {}
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool value) override {
        if (value == enabled) return;
        enabled = value;
        log_.push_back(name_ + (value ? ".Enabled" : ".Disabled"));
    }
    uint32_t Interval() const override { return interval; }
    void SetInterval(uint32_t milliseconds) override {
        if (milliseconds == interval) return;
        interval = milliseconds;
        log_.push_back(name_ + ".Interval=" + std::to_string(milliseconds));
    }
    void SetOnTimer(std::function<void()> handler) override { onTimer = std::move(handler); }
    void Fire() {
        if (onTimer) onTimer();
    }

    bool enabled = false;
    uint32_t interval = 1000;
    std::function<void()> onTimer;

private:
    EventLog& log_;
    std::string name_;
};

}  // namespace korbela::testing
