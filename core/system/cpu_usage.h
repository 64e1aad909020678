// The CPU sampler: the processors' load, read from the raw performance data
// the system returns (its layout, and the walk that reads the Processor object
// out of it) or, on the 95 family, from its dynamic data.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/system/os_version.h"

// Raw performance data: the layout of the block the system returns, and the
// walk that reads the Processor object out of it.

// Where the fields the CPU sampler reads lie in the NT performance data (winperf.h, 8-byte
// packing). The offsets are the same for 32- and 64-bit Windows: the title pointers that differ
// between the two are kept as 32-bit values on 64-bit Windows. A block is in the byte order of the
// machine that produced it, which is the machine reading it.
namespace korbela::perf {

// The title index of the processor object, and the decimal value name that asks for it.
inline constexpr uint32_t kProcessorObjectIndex = 238;
inline constexpr char kProcessorObjectValueName[] = "238";
// The processor time counter: its raw value grows with the instance's idle time in 100-ns units.
inline constexpr uint32_t kProcessorTimeCounterIndex = 6;

// PERF_DATA_BLOCK: starts with the UTF-16 signature "PERF".
struct DataBlock {
    static constexpr uint32_t Signature = 0;         // WCHAR[4]
    static constexpr uint32_t TotalByteLength = 20;
    static constexpr uint32_t HeaderLength = 24;     // from the block to its first object
    static constexpr uint32_t NumObjectTypes = 28;
    static constexpr uint32_t SystemTime = 36;       // SYSTEMTIME, eight WORDs, UTC
    static constexpr uint32_t SystemNameLength = 80;
    static constexpr uint32_t SystemNameOffset = 84;
    static constexpr uint32_t Size = 88;
};

// PERF_OBJECT_TYPE.
struct ObjectType {
    static constexpr uint32_t TotalByteLength = 0;   // to the next object
    static constexpr uint32_t DefinitionLength = 4;  // from the object to its first instance
    static constexpr uint32_t HeaderLength = 8;      // from the object to its first counter definition
    static constexpr uint32_t ObjectNameTitleIndex = 12;
    static constexpr uint32_t NumCounters = 32;
    static constexpr uint32_t NumInstances = 40;     // signed; -1 when the object has no instances
    static constexpr uint32_t Size = 64;
};

// PERF_COUNTER_DEFINITION.
struct CounterDefinition {
    static constexpr uint32_t ByteLength = 0;        // to the next definition
    static constexpr uint32_t CounterNameTitleIndex = 4;
    static constexpr uint32_t CounterType = 28;
    static constexpr uint32_t CounterSize = 32;
    static constexpr uint32_t CounterOffset = 36;    // of the value inside each counter block
    static constexpr uint32_t Size = 40;
};

// PERF_INSTANCE_DEFINITION; the name is UTF-16, NameLength in bytes with its terminating zero.
struct InstanceDefinition {
    static constexpr uint32_t ByteLength = 0;        // from the instance to its counter block
    static constexpr uint32_t NameOffset = 16;       // from the instance
    static constexpr uint32_t NameLength = 20;
    static constexpr uint32_t Size = 24;
};

// PERF_COUNTER_BLOCK.
struct CounterBlock {
    static constexpr uint32_t ByteLength = 0;        // from the counter block to the next instance
    static constexpr uint32_t Size = 4;
};

}  // namespace korbela::perf

namespace korbela {

// A bounds-checked walk through one NT performance data block, as returned for the value "238"
// under HKEY_PERFORMANCE_DATA: the processor object, its processor time counter, the counter
// value and name of each instance, and the block's time. The block comes from the system, but
// nothing in it is trusted: every offset and length is checked against the bytes returned before
// it is followed, and every step must move forward, so a damaged block fails the walk instead
// of reading outside the buffer or looping.
class PerfDataParser {
public:
    // block: the bytes the query returned; not owned, must outlive the parser.
    explicit PerfDataParser(std::span<const uint8_t> block) : block_(block) {}

    // Finds the first object with the processor title index. False, with Error() set, when the
    // block is damaged or lists no processor object.
    bool FindProcessorObject();
    // The processor object's NumInstances, checked to be possible for its size.
    int32_t NumInstances() const { return numInstances_; }

    // Reads, for the first counters.size() instances in block order, the processor time counter
    // into counters; combinedIndex becomes the index of "_Total" among them (or -1), stamp the
    // block's SystemTime on the FILETIME scale. Needs FindProcessorObject first. False, with
    // Error() set, on a missing counter, fewer instances than asked for, a damaged layout or an
    // invalid time; counters may then be partly written, combinedIndex and stamp are untouched.
    bool ReadCounters(std::span<int64_t> counters, int32_t& combinedIndex, int64_t& stamp);

    // Internal diagnostics, never shown to the user.
    const char* Error() const { return error_; }

private:
    bool Fits(uint64_t offset, uint64_t byteCount, uint64_t end) const;
    uint32_t U32(uint64_t offset) const;
    bool Fail(const char* error);
    bool FindCounterOffset(uint32_t& counterOffset);
    bool IsCombinedName(uint64_t nameOffset, uint32_t nameLength) const;
    bool ReadStamp(int64_t& stamp);

    std::span<const uint8_t> block_;  // not owned
    uint64_t blockEnd_ = 0;
    uint64_t object_ = 0;
    uint64_t objectEnd_ = 0;
    int32_t numInstances_ = -1;
    const char* error_ = "";
};

// CpuUsage: how busy the processors are, from the NT performance data or the 9x dynamic
// statistics. It keeps the previous and the latest sample of each processor instance's idle-time
// counter and turns their difference into a busy fraction. One object serves the whole program:
// it owns the performance data buffer, the counters of the last two collections and, on the 95
// family, the open statistics key.
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
