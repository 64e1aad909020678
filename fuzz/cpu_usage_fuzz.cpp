// libFuzzer target for the CPU sampler: arbitrary bytes as the answer of the performance data
// query. An input holding a second "PERF" signature is split there, so that the first sample
// and the later ones can differ; otherwise every query answers the whole input. Two samples,
// every instance's usage, then the machine's load. Any crash, sanitizer report or broken
// promise of the sampler's interface is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/system/os_version.h"
#include "core/system/cpu_usage.h"
#include "core/system/errors.h"

namespace {

using korbela::IDynDataSource;

class FuzzOsVersion : public korbela::IOsVersion {
public:
    explicit FuzzOsVersion(uint32_t platform) : platform_(platform) {}
    std::optional<korbela::OsVersion> Query() override {
        return korbela::OsVersion{platform_, 5, 1};
    }

private:
    uint32_t platform_;
};

// Answers like HKEY_PERFORMANCE_DATA: more data until the buffer holds the whole answer.
class FuzzPerfSource : public korbela::IPerfDataSource {
public:
    long QueryProcessorData(uint8_t* buffer, uint32_t& size) override {
        if (size < answer.size()) return korbela::kErrorMoreData;
        if (!answer.empty()) std::memcpy(buffer, answer.data(), answer.size());
        size = static_cast<uint32_t>(answer.size());
        return korbela::kErrorSuccess;
    }
    std::vector<uint8_t> answer;
};

class FuzzDynSource : public IDynDataSource {
public:
    explicit FuzzDynSource(uint32_t percent) : percent_(percent) {}
    Key OpenKey(const std::string&, bool) override { return 1; }
    bool ReadCPUUsage(Key, uint32_t& percent) override {
        percent = percent_;
        return true;
    }
    void CloseKey(Key) override {}

private:
    uint32_t percent_;
};

void Require(bool condition) {
    if (!condition) std::abort();
}

size_t SecondBlockStart(const uint8_t* data, size_t size) {
    static constexpr uint8_t kSignature[8] = {'P', 0, 'E', 0, 'R', 0, 'F', 0};
    for (size_t at = 1; at + sizeof(kSignature) <= size; ++at) {
        if (std::memcmp(data + at, kSignature, sizeof(kSignature)) == 0) return at;
    }
    return 0;
}

bool IndexRefused(korbela::CpuUsage& cpu, int32_t index) {
    try {
        cpu.CPUInstanceUsage(index);
    } catch (const korbela::KorbelaError&) {
        return true;
    }
    return false;
}

void FuzzNt(const uint8_t* data, size_t size) {
    const size_t split = SecondBlockStart(data, size);
    const std::vector<uint8_t> first(data, data + (split != 0 ? split : size));
    const std::vector<uint8_t> second(data + split, data + size);

    FuzzOsVersion os(korbela::kPlatformWin32NT);
    FuzzPerfSource perf;
    FuzzDynSource dyn(0);
    korbela::CpuUsage cpu(os, perf, dyn);

    perf.answer = first;
    const bool firstTaken = cpu.SampleCPU();
    perf.answer = second;
    cpu.SampleCPU();
    Require(cpu.PerfBlockSize() >= korbela::CpuUsage::kInitialPerfBlockSize);

    const int32_t count = cpu.CPUInstanceCount();
    Require(count >= -1);
    Require(!firstTaken || count >= 0);
    for (int32_t i = 0; i < count; ++i) cpu.CPUInstanceUsage(i);  // must not raise
    Require(IndexRefused(cpu, -1));
    Require(IndexRefused(cpu, count < 0 ? 0 : count));
    const int32_t combined = cpu.CombinedInstanceIndex();
    Require(combined == -1 || (combined >= 0 && combined < count));

    int percent = -1;
    if (korbela::CombineMachineLoad(cpu, percent)) {
        Require(percent >= 1);
    } else {
        Require(percent == -1);
    }
}

void Fuzz9x(const uint8_t* data, size_t size) {
    uint32_t reading = 0;
    std::memcpy(&reading, data, size < sizeof(reading) ? size : sizeof(reading));
    FuzzOsVersion os(korbela::kPlatformWin32Windows);
    FuzzPerfSource perf;
    FuzzDynSource dyn(reading);
    korbela::CpuUsage cpu(os, perf, dyn);
    Require(cpu.CPUInstanceCount() == 1);
    int percent = -1;
    if (korbela::CombineMachineLoad(cpu, percent)) {
        Require(percent >= 1);
    } else {
        Require(percent == -1 && reading > 1000000000u);  // only a figure no int can hold fails
    }
    Require(IndexRefused(cpu, 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzNt(data, size);
    Fuzz9x(data, size);
    return 0;
}
