#include "fakes/perf_block_builder.h"

#include <cstring>
#include <stdexcept>
#include <utility>

#include "core/system/cpu_usage.h"

namespace korbela::testing {

namespace {

constexpr uint32_t kCounterValueSize = 8;
constexpr uint32_t kCounterBlockHeader = 8;  // ByteLength and padding up to the first value

uint32_t Align8(uint32_t value) { return (value + 7) & ~7u; }

class Writer {
public:
    explicit Writer(std::vector<uint8_t>& bytes) : bytes_(bytes) { bytes_.reserve(64 * 1024); }
    uint32_t Reserve(uint32_t byteCount) {
        const auto at = static_cast<uint32_t>(bytes_.size());
        bytes_.insert(bytes_.end(), byteCount, uint8_t{0});
        return at;
    }
    void U16(uint32_t offset, uint16_t value) { std::memcpy(&bytes_[offset], &value, 2); }
    void U32(uint32_t offset, uint32_t value) { std::memcpy(&bytes_[offset], &value, 4); }
    void I64(uint32_t offset, int64_t value) { std::memcpy(&bytes_[offset], &value, 8); }
    uint32_t Size() const { return static_cast<uint32_t>(bytes_.size()); }

private:
    std::vector<uint8_t>& bytes_;
};

}  // namespace

void PerfBlock::PutU16(uint32_t offset, uint16_t value) {
    if (Bytes.size() < 2 || offset > Bytes.size() - 2) throw std::out_of_range("PutU16");
    std::memcpy(Bytes.data() + offset, &value, sizeof(value));
}

void PerfBlock::PutU32(uint32_t offset, uint32_t value) {
    if (Bytes.size() < 4 || offset > Bytes.size() - 4) throw std::out_of_range("PutU32");
    std::memcpy(Bytes.data() + offset, &value, sizeof(value));
}

PerfBlockBuilder& PerfBlockBuilder::Time(const SystemTime& time) {
    time_ = time;
    return *this;
}

PerfBlockBuilder& PerfBlockBuilder::OtherObjectFirst() {
    otherObjectFirst_ = true;
    return *this;
}

PerfBlockBuilder& PerfBlockBuilder::ObjectIndex(uint32_t titleIndex) {
    objectIndex_ = titleIndex;
    return *this;
}

PerfBlockBuilder& PerfBlockBuilder::Counters(std::vector<uint32_t> titleIndexes) {
    counters_ = std::move(titleIndexes);
    return *this;
}

PerfBlockBuilder& PerfBlockBuilder::Instance(std::u16string name, int64_t idleTime) {
    instances_.push_back({std::move(name), idleTime});
    return *this;
}

PerfBlock PerfBlockBuilder::Build() const {
    using namespace korbela::perf;
    PerfBlock block;
    Writer w(block.Bytes);

    w.Reserve(DataBlock::Size);
    const char16_t signature[] = u"PERF";
    for (uint32_t i = 0; i < 4; ++i) w.U16(DataBlock::Signature + 2 * i, signature[i]);
    w.U32(8, 1);  // LittleEndian
    w.U32(DataBlock::HeaderLength, DataBlock::Size);
    w.U32(DataBlock::NumObjectTypes, otherObjectFirst_ ? 2 : 1);
    const uint16_t time[8] = {time_.Year,   time_.Month,  time_.DayOfWeek, time_.Day,
                              time_.Hour,   time_.Minute, time_.Second,    time_.Milliseconds};
    for (uint32_t i = 0; i < 8; ++i) w.U16(DataBlock::SystemTime + 2 * i, time[i]);

    if (otherObjectFirst_) {
        // A memory-like object without instances: one counter and a single counter block.
        const uint32_t object = w.Reserve(ObjectType::Size);
        const uint32_t definition = w.Reserve(CounterDefinition::Size);
        const uint32_t counters = w.Reserve(kCounterBlockHeader + kCounterValueSize);
        w.U32(object + ObjectType::TotalByteLength, w.Size() - object);
        w.U32(object + ObjectType::DefinitionLength, counters - object);
        w.U32(object + ObjectType::HeaderLength, ObjectType::Size);
        w.U32(object + ObjectType::ObjectNameTitleIndex, 4);
        w.U32(object + ObjectType::NumCounters, 1);
        w.U32(object + ObjectType::NumInstances, 0xFFFFFFFFu);
        w.U32(definition + CounterDefinition::ByteLength, CounterDefinition::Size);
        w.U32(definition + CounterDefinition::CounterNameTitleIndex, 6);
        w.U32(definition + CounterDefinition::CounterSize, kCounterValueSize);
        w.U32(definition + CounterDefinition::CounterOffset, kCounterBlockHeader);
        w.U32(counters + CounterBlock::ByteLength, kCounterBlockHeader + kCounterValueSize);
    }

    const uint32_t object = w.Reserve(ObjectType::Size);
    block.ProcessorObject = object;
    w.U32(object + ObjectType::HeaderLength, ObjectType::Size);
    w.U32(object + ObjectType::ObjectNameTitleIndex, objectIndex_);
    w.U32(object + ObjectType::NumCounters, static_cast<uint32_t>(counters_.size()));
    w.U32(object + ObjectType::NumInstances, static_cast<uint32_t>(instances_.size()));
    uint32_t sixthCounter = 0;
    for (size_t c = 0; c < counters_.size(); ++c) {
        const uint32_t definition = w.Reserve(CounterDefinition::Size);
        block.CounterDefinitions.push_back(definition);
        const auto valueOffset = static_cast<uint32_t>(kCounterBlockHeader + c * kCounterValueSize);
        if (counters_[c] == 6 && sixthCounter == 0) sixthCounter = valueOffset;
        w.U32(definition + CounterDefinition::ByteLength, CounterDefinition::Size);
        w.U32(definition + CounterDefinition::CounterNameTitleIndex, counters_[c]);
        w.U32(definition + CounterDefinition::CounterSize, kCounterValueSize);
        w.U32(definition + CounterDefinition::CounterOffset, valueOffset);
    }
    w.U32(object + ObjectType::DefinitionLength, w.Size() - object);

    const auto counterBlockLength =
        static_cast<uint32_t>(kCounterBlockHeader + counters_.size() * kCounterValueSize);
    for (const PerfInstance& instance : instances_) {
        const auto nameLength = static_cast<uint32_t>((instance.Name.size() + 1) * 2);
        const uint32_t definitionLength = InstanceDefinition::Size + Align8(nameLength);
        const uint32_t definition = w.Reserve(definitionLength);
        block.Instances.push_back(definition);
        w.U32(definition + InstanceDefinition::ByteLength, definitionLength);
        w.U32(definition + InstanceDefinition::NameOffset, InstanceDefinition::Size);
        w.U32(definition + InstanceDefinition::NameLength, nameLength);
        for (size_t i = 0; i < instance.Name.size(); ++i) {
            w.U16(static_cast<uint32_t>(definition + InstanceDefinition::Size + 2 * i), instance.Name[i]);
        }
        const uint32_t counters = w.Reserve(counterBlockLength);
        block.CounterBlocks.push_back(counters);
        w.U32(counters + CounterBlock::ByteLength, counterBlockLength);
        if (sixthCounter != 0) w.I64(counters + sixthCounter, instance.IdleTime);
    }
    w.U32(object + ObjectType::TotalByteLength, w.Size() - object);
    w.U32(DataBlock::TotalByteLength, w.Size());
    return block;
}

SystemTime AtSecond(uint16_t second, uint16_t milliseconds) {
    return SystemTime{2026, 12, 2, 8, 20, 0, second, milliseconds};
}

}  // namespace korbela::testing
