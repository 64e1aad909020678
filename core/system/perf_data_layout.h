// Where the fields the CPU sampler reads lie in the NT performance data (winperf.h, 8-byte
// packing). The offsets are the same for 32- and 64-bit Windows: the title pointers that differ
// between the two are kept as 32-bit values on 64-bit Windows. A block is in the byte order of the
// machine that produced it, which is the machine reading it.
#pragma once

#include <cstdint>

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
