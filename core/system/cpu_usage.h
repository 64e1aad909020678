// CpuUsage: how busy the processors are, from the NT performance data or the 9x dynamic
// statistics. It keeps the previous and the latest sample of each processor instance's idle-time
// counter and turns their difference into a busy fraction. One object serves the whole program:
// it owns the performance data buffer, the counters of the last two collections and, on the 95
// family, the open statistics key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/system/os_version.h"

namespace korbela {

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorMoreData = 234;

// HKEY_PERFORMANCE_DATA, value "238".
class IPerfDataSource {
public:
    virtual ~IPerfDataSource() = default;
    // RegQueryValueExA into buffer of size bytes; size is updated with the bytes returned.
    // Returns the Win32 error code (kErrorSuccess, kErrorMoreData, ...).
    virtual long QueryProcessorData(uint8_t* buffer, uint32_t& size) = 0;
};

// HKEY_DYN_DATA statistics keys of the 95 family.
class IDynDataSource {
public:
    virtual ~IDynDataSource() = default;
    using Key = std::uintptr_t;  // 0: none
    virtual Key OpenKey(const std::string& path, bool fullAccess) = 0;
    // Reads the 4-byte "KERNEL\CPUUsage"; false when the read fails, leaving percent as it was.
    virtual bool ReadCPUUsage(Key key, uint32_t& percent) = 0;
    virtual void CloseKey(Key key) = 0;
};

class CpuUsage {
public:
    static constexpr uint32_t kInitialPerfBlockSize = 8192;
    static constexpr uint32_t kPerfBlockGrowth = 4096;
    // A query still asking for more at this size is given up: no processor object comes near it.
    static constexpr uint32_t kMaxPerfBlockSize = 4u << 20;

    // Raises KorbelaError("Can't get the Windows version") when the version is unknown.
    CpuUsage(IOsVersion& os, IPerfDataSource& perf, IDynDataSource& dyn);
    ~CpuUsage();  // on the 9x platform, stops the statistics if a sample started them
    CpuUsage(const CpuUsage&) = delete;
    CpuUsage& operator=(const CpuUsage&) = delete;

    // Takes one sample; false when any step failed (never throws). A failed sample changes no
    // figure: only the buffer and, before the first collection, the instance count may change.
    bool SampleCPU();
    // NT: the processor object's instance count fixed by the first collection (samples first
    // when none has yet; -1 if that fails). 9x: always 1.
    int32_t CPUInstanceCount();
    // The busy fraction of one instance between the last two samples, nominally 0..1 and not
    // clamped. Raises KorbelaError("CPU index out of bounds") for an index outside the count.
    double CPUInstanceUsage(int32_t index);
    // The same share as a whole percent, worked out exactly from the integer counter and time
    // differences with halves to the even neighbour (57.5 gives 58, 14.5 gives 14); nullopt when
    // it does not fit 64 bits. Raises KorbelaError("CPU index out of bounds") as above.
    std::optional<int64_t> CPUInstancePercent(int32_t index);
    // Index of the combined instance ("_Total") in the last successful sample, or -1 (always on 9x).
    int32_t CombinedInstanceIndex() const { return combinedIndex_; }

    bool IsNTPlatform() const { return isNT_; }
    uint32_t PerfBlockSize() const { return static_cast<uint32_t>(perfBlock_.size()); }
    // Why the last sample failed, empty after a successful one. Internal, never shown.
    const std::string& LastError() const { return lastError_; }

private:
    bool SampleNT();
    bool Sample9x();
    bool QueryPerfBlock(uint32_t& byteCount);
    bool InstanceTimes(int32_t index, int64_t& idle, int64_t& elapsed);
    void StopStatistics();
    bool Fail(const char* reason) noexcept;

    IPerfDataSource& perf_;   // not owned
    IDynDataSource& dyn_;     // not owned
    bool isNT_ = true;
    std::vector<uint8_t> perfBlock_;
    int32_t instanceCount_ = -1;
    int32_t combinedIndex_ = -1;
    std::vector<int64_t> curCounters_;
    std::vector<int64_t> oldCounters_;
    std::vector<int64_t> freshCounters_;  // the walk's scratch, so a failed walk changes nothing
    int64_t curStamp_ = 0;
    int64_t oldStamp_ = 0;
    bool statsStarted_ = false;
    IDynDataSource::Key statDataKey_ = 0;
    uint32_t lastPercent_ = 0;
    std::string lastError_;
};

// The machine's load as one whole percent (never below 1), or false when no reading can be
// formed; percent is then left as it was. Never throws.
bool CombineMachineLoad(CpuUsage& cpu, int& percent);

}  // namespace korbela
