// Builds NT performance data blocks the way the system lays them out for the value "238":
// PERF_DATA_BLOCK, optionally another object, then the processor object with its counter
// definitions and one definition, name and counter block per instance. The offsets of the parts
// are kept, so a test can damage one field and see what the sampler makes of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/system/system_time.h"

namespace korbela::testing {

struct PerfInstance {
    std::u16string Name;
    int64_t IdleTime = 0;  // the processor time counter's raw value, 100-ns units
};

struct PerfBlock {
    std::vector<uint8_t> Bytes;
    uint32_t ProcessorObject = 0;  // offset of the processor object
    std::vector<uint32_t> CounterDefinitions;
    std::vector<uint32_t> Instances;
    std::vector<uint32_t> CounterBlocks;

    void PutU16(uint32_t offset, uint16_t value);
    void PutU32(uint32_t offset, uint32_t value);
};

class PerfBlockBuilder {
public:
    PerfBlockBuilder& Time(const SystemTime& time);
    // Adds an object with another title index in front of the processor object.
    PerfBlockBuilder& OtherObjectFirst();
    PerfBlockBuilder& ObjectIndex(uint32_t titleIndex);
    // The title indexes of the counter definitions, in order; one 64-bit value each.
    PerfBlockBuilder& Counters(std::vector<uint32_t> titleIndexes);
    PerfBlockBuilder& Instance(std::u16string name, int64_t idleTime);

    PerfBlock Build() const;

private:
    SystemTime time_{2026, 12, 2, 8, 20, 0, 0, 0};
    bool otherObjectFirst_ = false;
    uint32_t objectIndex_ = 238;
    std::vector<uint32_t> counters_{232, 6, 142};
    std::vector<PerfInstance> instances_;
};

// A time on the given second of 8 December 2026, 20:00 UTC.
SystemTime AtSecond(uint16_t second, uint16_t milliseconds = 0);

}  // namespace korbela::testing
