// Per-processor busy fractions from the NT performance data or the 9x dynamic statistics.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/platform/os_version.h"

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
    // Reads the 4-byte "KERNEL\CPUUsage"; false when the read fails.
    virtual bool ReadCPUUsage(Key key, uint32_t& percent) = 0;
    virtual void CloseKey(Key key) = 0;
};

class CpuUsage {
public:
    // Raises KorbelaError("Can't get the Windows version") when the version is unknown.
    CpuUsage(IOsVersion& os, IPerfDataSource& perf, IDynDataSource& dyn);
    ~CpuUsage();
    CpuUsage(const CpuUsage&) = delete;
    CpuUsage& operator=(const CpuUsage&) = delete;

    bool SampleCPU();                           // never throws
    int32_t CPUInstanceCount();                 // -1 until a collection set it (NT)
    double CPUInstanceUsage(int32_t index);     // raises "CPU index out of bounds"
    // Index of the combined instance ("_Total") of the last collection, or -1.
    int32_t CombinedInstanceIndex() const;

    bool IsNTPlatform() const { return isNT_; }
    uint32_t PerfBlockSize() const { return static_cast<uint32_t>(perfBlock_.size()); }
    const std::string& LastError() const { return lastError_; }  // internal, never shown

private:
    bool SampleNT();
    bool Sample9x();

    IPerfDataSource& perf_;   // not owned
    IDynDataSource& dyn_;     // not owned
    bool isNT_ = true;
    std::vector<uint8_t> perfBlock_;
    int32_t instanceCount_ = -1;
    int32_t combinedIndex_ = -1;
    std::vector<int64_t> curCounters_;
    std::vector<int64_t> oldCounters_;
    int64_t curStamp_ = 0;
    int64_t oldStamp_ = 0;
    bool statsStarted_ = false;
    IDynDataSource::Key statDataKey_ = 0;
    uint32_t lastPercent_ = 0;
    std::string lastError_;
};

// The machine's load as one whole percent (never below 1), or false when no reading can be formed.
bool CombineMachineLoad(CpuUsage& cpu, int& percent);

}  // namespace korbela
