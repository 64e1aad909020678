// Raw performance data: the layout of the block the system returns, and the
// walk that reads the Processor object out of it.
#pragma once

#include <cstdint>
#include <span>

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

}  // namespace korbela
