#include "core/system/perf_data.h"

#include <cstring>

#include "core/system/system_time.h"

namespace korbela {

namespace {

constexpr char16_t kSignature[] = u"PERF";
constexpr char16_t kCombinedInstanceName[] = u"_Total";
// The least room one instance takes: its definition and the length of its counter block.
constexpr uint64_t kMinInstanceBytes = perf::InstanceDefinition::Size + perf::CounterBlock::Size;

constexpr const char* kTruncated = "The performance data block is truncated";
constexpr const char* kDamaged = "The performance data block is damaged";

}  // namespace

bool PerfDataParser::Fits(uint64_t offset, uint64_t byteCount, uint64_t end) const {
    return offset <= end && byteCount <= end - offset;
}

// Only called on ranges checked by Fits against an end inside the block.
uint32_t PerfDataParser::U32(uint64_t offset) const {
    uint32_t value = 0;
    std::memcpy(&value, block_.data() + offset, sizeof(value));
    return value;
}

bool PerfDataParser::Fail(const char* error) {
    error_ = error;
    return false;
}

bool PerfDataParser::FindProcessorObject() {
    using perf::DataBlock;
    using perf::ObjectType;
    numInstances_ = -1;
    if (block_.size() < DataBlock::Size) return Fail(kTruncated);
    for (uint32_t i = 0; i < 4; ++i) {
        uint16_t unit = 0;
        std::memcpy(&unit, block_.data() + DataBlock::Signature + 2 * i, sizeof(unit));
        if (unit != kSignature[i]) return Fail("The performance data block has no signature");
    }
    blockEnd_ = U32(DataBlock::TotalByteLength);
    if (blockEnd_ < DataBlock::Size) return Fail(kDamaged);
    if (blockEnd_ > block_.size()) return Fail(kTruncated);

    const uint32_t objectCount = U32(DataBlock::NumObjectTypes);
    uint64_t object = U32(DataBlock::HeaderLength);
    if (object < DataBlock::Size) return Fail(kDamaged);
    for (uint32_t i = 0; i < objectCount; ++i) {
        if (!Fits(object, ObjectType::Size, blockEnd_)) return Fail(kTruncated);
        const uint32_t length = U32(object + ObjectType::TotalByteLength);
        if (length < ObjectType::Size) return Fail(kDamaged);
        if (!Fits(object, length, blockEnd_)) return Fail(kTruncated);
        if (U32(object + ObjectType::ObjectNameTitleIndex) == perf::kProcessorObjectIndex) {
            const auto instances = static_cast<int32_t>(U32(object + ObjectType::NumInstances));
            if (instances < 0 ||
                static_cast<uint64_t>(instances) > (length - ObjectType::Size) / kMinInstanceBytes) {
                return Fail("The processor object lists an impossible number of instances");
            }
            object_ = object;
            objectEnd_ = object + length;
            numInstances_ = instances;
            return true;
        }
        object += length;
    }
    return Fail("Unable to locate the \"Processor\" performance object");
}

bool PerfDataParser::FindCounterOffset(uint32_t& counterOffset) {
    using perf::CounterDefinition;
    using perf::ObjectType;
    // The counter definitions lie between the object's header and its first instance.
    const uint32_t headerLength = U32(object_ + ObjectType::HeaderLength);
    const uint32_t definitionLength = U32(object_ + ObjectType::DefinitionLength);
    if (headerLength < ObjectType::Size || definitionLength < headerLength ||
        definitionLength > objectEnd_ - object_) {
        return Fail(kDamaged);
    }
    const uint64_t definitionsEnd = object_ + definitionLength;
    const uint32_t counterCount = U32(object_ + ObjectType::NumCounters);
    uint64_t definition = object_ + headerLength;
    for (uint32_t i = 0; i < counterCount; ++i) {
        if (!Fits(definition, CounterDefinition::Size, definitionsEnd)) return Fail(kTruncated);
        if (U32(definition + CounterDefinition::CounterNameTitleIndex) ==
            perf::kProcessorTimeCounterIndex) {
            counterOffset = U32(definition + CounterDefinition::CounterOffset);
            return true;
        }
        const uint32_t length = U32(definition + CounterDefinition::ByteLength);
        if (length < CounterDefinition::Size) return Fail(kDamaged);
        definition += length;
    }
    return Fail("Unable to locate the \"% of CPU usage\" performance counter");
}

bool PerfDataParser::IsCombinedName(uint64_t nameOffset, uint32_t nameLength) const {
    const uint64_t unitCount = nameLength / 2;
    for (uint64_t i = 0; i < unitCount; ++i) {
        uint16_t unit = 0;
        std::memcpy(&unit, block_.data() + nameOffset + 2 * i, sizeof(unit));
        const char16_t expected = i < 6 ? kCombinedInstanceName[i] : u'\0';
        if (unit != expected) return false;
        if (unit == 0) return true;
    }
    return unitCount == 6;  // a name stored without its terminating zero
}

bool PerfDataParser::ReadStamp(int64_t& stamp) {
    uint16_t fields[8] = {};
    std::memcpy(fields, block_.data() + perf::DataBlock::SystemTime, sizeof(fields));
    const SystemTime time{fields[0], fields[1], fields[2], fields[3],
                          fields[4], fields[5], fields[6], fields[7]};
    const std::optional<int64_t> converted = SystemTimeToFileTimeStamp(time);
    if (!converted) return Fail("The performance data block carries an invalid time");
    stamp = *converted;
    return true;
}

bool PerfDataParser::ReadCounters(std::span<int64_t> counters, int32_t& combinedIndex,
                                  int64_t& stamp) {
    using perf::CounterBlock;
    using perf::InstanceDefinition;
    if (numInstances_ < 0) return Fail("The processor object has not been found");
    uint32_t counterOffset = 0;
    if (!FindCounterOffset(counterOffset)) return false;
    if (counters.size() > static_cast<uint64_t>(numInstances_)) {
        return Fail("The processor object lists fewer instances than before");
    }

    int32_t combined = -1;
    uint64_t instance = object_ + U32(object_ + perf::ObjectType::DefinitionLength);
    for (size_t i = 0; i < counters.size(); ++i) {
        if (!Fits(instance, InstanceDefinition::Size, objectEnd_)) return Fail(kTruncated);
        const uint32_t length = U32(instance + InstanceDefinition::ByteLength);
        if (length < InstanceDefinition::Size) return Fail(kDamaged);
        const uint32_t nameOffset = U32(instance + InstanceDefinition::NameOffset);
        const uint32_t nameLength = U32(instance + InstanceDefinition::NameLength);
        if (nameLength > 0) {
            if (nameOffset < InstanceDefinition::Size || !Fits(nameOffset, nameLength, length)) {
                return Fail(kDamaged);
            }
        }

        const uint64_t counterBlock = instance + length;
        if (!Fits(counterBlock, CounterBlock::Size, objectEnd_)) return Fail(kTruncated);
        const uint32_t blockLength = U32(counterBlock + CounterBlock::ByteLength);
        if (blockLength < CounterBlock::Size || !Fits(counterOffset, sizeof(int64_t), blockLength)) {
            return Fail(kDamaged);
        }
        if (!Fits(counterBlock, blockLength, objectEnd_)) return Fail(kTruncated);
        // The name lies inside the instance, the instance inside the object: both checked above.
        if (combined < 0 && nameLength > 0 && IsCombinedName(instance + nameOffset, nameLength)) {
            combined = static_cast<int32_t>(i);
        }
        std::memcpy(&counters[i], block_.data() + counterBlock + counterOffset, sizeof(int64_t));
        instance = counterBlock + blockLength;
    }

    int64_t time = 0;
    if (!ReadStamp(time)) return false;
    combinedIndex = combined;
    stamp = time;
    return true;
}

}  // namespace korbela
