// The performance data walk and the CPU sampler.

#include "core/system/cpu_usage.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <exception>
#include <span>
#include <utility>

#include "core/system/arithmetic.h"
#include "core/system/errors.h"
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

namespace {

constexpr char kStartStatKey[] = "PerfStats\\StartStat";
constexpr char kStatDataKey[] = "PerfStats\\StatData";
constexpr char kStopStatKey[] = "PerfStats\\StopStat";

constexpr char kIndexOutOfBounds[] = "CPU index out of bounds";

}  // namespace

CpuUsage::CpuUsage(IOsVersion& os, IPerfDataSource& perf, IDynDataSource& dyn)
    : perf_(perf), dyn_(dyn), perfBlock_(kInitialPerfBlockSize, 0) {
    const std::optional<OsVersion> version = os.Query();
    if (!version) throw KorbelaError("Can't get the Windows version");
    isNT_ = version->PlatformId == kPlatformWin32NT;
}

CpuUsage::~CpuUsage() { StopStatistics(); }

void CpuUsage::StopStatistics() {
    if (isNT_ || !statsStarted_) return;
    statsStarted_ = false;
    try {
        dyn_.CloseKey(statDataKey_);
        // Opening and reading the stop key is what ends the statistics.
        const IDynDataSource::Key stop = dyn_.OpenKey(kStopStatKey, true);
        if (stop != 0) {
            uint32_t ignored = 0;
            dyn_.ReadCPUUsage(stop, ignored);
            dyn_.CloseKey(stop);
        }
    } catch (...) {
        // Nothing is left to do about the statistics at shutdown.
    }
}

bool CpuUsage::Fail(const char* error) noexcept {
    try {
        lastError_ = error;
    } catch (...) {
        lastError_.clear();
    }
    return false;
}

bool CpuUsage::SampleCPU() {
    try {
        return isNT_ ? SampleNT() : Sample9x();
    } catch (const std::exception& e) {
        return Fail(e.what());
    } catch (...) {
        return Fail("Unexpected error while sampling");
    }
}

// Asks until the buffer is big enough; whatever else the query answers, the buffer is taken as
// it stands, with the byte count the query gave back (never more than the buffer holds).
bool CpuUsage::QueryPerfBlock(uint32_t& byteCount) {
    for (;;) {
        uint32_t size = PerfBlockSize();
        const long answer = perf_.QueryProcessorData(perfBlock_.data(), size);
        if (answer != kErrorMoreData) {
            byteCount = std::min(size, PerfBlockSize());
            return true;
        }
        if (PerfBlockSize() > kMaxPerfBlockSize - kPerfBlockGrowth) {
            return Fail("The performance data block keeps growing");
        }
        perfBlock_.resize(perfBlock_.size() + kPerfBlockGrowth);
    }
}

bool CpuUsage::SampleNT() {
    uint32_t byteCount = 0;
    if (!QueryPerfBlock(byteCount)) return false;
    PerfDataParser parser(std::span<const uint8_t>(perfBlock_.data(), byteCount));
    if (!parser.FindProcessorObject()) return Fail(parser.Error());

    if (instanceCount_ < 0) {
        // Fixed for the rest of the run: processors brought online later are not read.
        instanceCount_ = parser.NumInstances();
        curCounters_.assign(static_cast<size_t>(instanceCount_), 0);
        oldCounters_.assign(static_cast<size_t>(instanceCount_), 0);
        freshCounters_.assign(static_cast<size_t>(instanceCount_), 0);
    }

    int32_t combined = -1;
    int64_t stamp = 0;
    if (!parser.ReadCounters(freshCounters_, combined, stamp)) return Fail(parser.Error());
    // old := cur, cur := fresh, without allocating.
    std::swap(oldCounters_, curCounters_);
    std::swap(curCounters_, freshCounters_);
    oldStamp_ = curStamp_;
    curStamp_ = stamp;
    combinedIndex_ = combined;
    lastError_.clear();
    return true;
}

bool CpuUsage::Sample9x() {
    if (!statsStarted_) {
        // Opening and reading the start key is what starts the statistics.
        const IDynDataSource::Key start = dyn_.OpenKey(kStartStatKey, true);
        if (start == 0) return Fail("Unable to start performance monitoring");
        dyn_.ReadCPUUsage(start, lastPercent_);
        dyn_.CloseKey(start);
        const IDynDataSource::Key data = dyn_.OpenKey(kStatDataKey, false);
        if (data == 0) return Fail("Unable to read performance data");
        statDataKey_ = data;
        statsStarted_ = true;
    }
    dyn_.ReadCPUUsage(statDataKey_, lastPercent_);  // a failed read keeps the last figure
    lastError_.clear();
    return true;
}

int32_t CpuUsage::CPUInstanceCount() {
    if (!isNT_) return 1;
    if (instanceCount_ < 0) SampleCPU();
    return instanceCount_;
}

// Idle time and elapsed time of one instance between the last two samples; false for the 95
// family, whose figure is a percent already, and while both samples carry the same time.
bool CpuUsage::InstanceTimes(int32_t index, int64_t& idle, int64_t& elapsed) {
    if (instanceCount_ < 0) SampleCPU();
    if (index < 0 || index >= instanceCount_) throw KorbelaError(kIndexOutOfBounds);
    if (curStamp_ == oldStamp_) return false;
    const auto i = static_cast<size_t>(index);
    // Differences in signed 64-bit, wrapping rather than overflowing on a counter reset.
    idle = static_cast<int64_t>(static_cast<uint64_t>(curCounters_[i]) - static_cast<uint64_t>(oldCounters_[i]));
    elapsed = curStamp_ - oldStamp_;  // both stamps lie in 1601..30827
    return true;
}

double CpuUsage::CPUInstanceUsage(int32_t index) {
    if (!isNT_) {
        if (index != 0) throw KorbelaError(kIndexOutOfBounds);
        if (!statsStarted_) SampleCPU();
        return static_cast<double>(lastPercent_) / 100.0;
    }
    int64_t idle = 0;
    int64_t elapsed = 0;
    if (!InstanceTimes(index, idle, elapsed)) return 0.0;
    return 1.0 - static_cast<double>(idle) / static_cast<double>(elapsed);
}

std::optional<int64_t> CpuUsage::CPUInstancePercent(int32_t index) {
    if (!isNT_) {
        if (index != 0) throw KorbelaError(kIndexOutOfBounds);
        if (!statsStarted_) SampleCPU();
        return lastPercent_;
    }
    int64_t idle = 0;
    int64_t elapsed = 0;
    if (!InstanceTimes(index, idle, elapsed)) return 0;
    if (elapsed < 0) {  // a clock set back: the same share, from a positive denominator
        if (elapsed == INT64_MIN || idle == INT64_MIN) return std::nullopt;
        elapsed = -elapsed;
        idle = -idle;
    }
    // busy = elapsed - idle, and 100 * busy / elapsed = 100 * q + 100 * r / elapsed for
    // busy = q * elapsed + r, which keeps every product inside 64 bits.
    if (idle < 0 && elapsed > INT64_MAX + idle) return std::nullopt;
    const int64_t busy = elapsed - idle;
    int64_t quotient = busy / elapsed;
    int64_t remainder = busy % elapsed;
    if (remainder < 0) {
        --quotient;
        remainder += elapsed;
    }
    constexpr int64_t kLimit = INT64_MAX / 100 - 1;
    if (quotient > kLimit || quotient < -kLimit) return std::nullopt;
    // Beyond 292 years (the first sample, counted from 1601) the fraction is
    // halved until its hundredfold fits: exact wherever a half could matter.
    while (elapsed > kLimit) {
        elapsed >>= 1;
        remainder >>= 1;
    }
    return quotient * 100 + RoundHalfEvenQuotient(remainder * 100, elapsed);
}

// The machine's load is what the system itself reports for all processors together, its
// "_Total" instance, when it lists one besides the per-processor instances. Averaging all
// instances instead would count that total as one more processor. Without a named total (the
// 95 family's single figure, or a block that names none) the mean of the instances is the
// machine's load. A figure that cannot be formed or held as a whole percent is a failed reading.
bool CombineMachineLoad(CpuUsage& cpu, int& percent) {
    try {
        if (!cpu.SampleCPU()) return false;
        const int32_t count = cpu.CPUInstanceCount();
        if (count <= 0) return false;
        const int32_t combined = cpu.CombinedInstanceIndex();
        int64_t sum = 0;
        int64_t total = 0;
        for (int32_t i = 0; i < count; ++i) {
            const std::optional<int64_t> percentOfInstance = cpu.CPUInstancePercent(i);
            if (!percentOfInstance || *percentOfInstance < INT_MIN || *percentOfInstance > INT_MAX) return false;
            const int64_t instancePercent = *percentOfInstance;
            if (i == combined) total = instancePercent;
            sum += instancePercent;
        }
        int64_t load = 0;
        if (combined >= 0 && combined < count) {
            load = total;
        } else {
            load = RoundHalfEvenQuotient(sum, count);
        }
        if (load < 1) load = 1;
        if (load > INT_MAX) return false;
        percent = static_cast<int>(load);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace korbela
