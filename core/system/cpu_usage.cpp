#include "core/system/cpu_usage.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <exception>
#include <span>
#include <utility>

#include "core/system/perf_data_parser.h"
#include "core/util/errors.h"
#include "core/util/rounding.h"

namespace korbela {

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

double CpuUsage::CPUInstanceUsage(int32_t index) {
    if (!isNT_) {
        if (index != 0) throw KorbelaError(kIndexOutOfBounds);
        if (!statsStarted_) SampleCPU();
        return static_cast<double>(lastPercent_) / 100.0;
    }
    if (instanceCount_ < 0) SampleCPU();
    if (index < 0 || index >= instanceCount_) throw KorbelaError(kIndexOutOfBounds);
    if (curStamp_ == oldStamp_) return 0.0;
    const auto i = static_cast<size_t>(index);
    // Differences in signed 64-bit, wrapping rather than overflowing on a counter reset.
    const auto idle = static_cast<int64_t>(static_cast<uint64_t>(curCounters_[i]) -
                                           static_cast<uint64_t>(oldCounters_[i]));
    const int64_t elapsed = curStamp_ - oldStamp_;  // both stamps lie in 1601..30827
    return 1.0 - static_cast<double>(idle) / static_cast<double>(elapsed);
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
            const double scaled = cpu.CPUInstanceUsage(i) * 100.0;
            if (!std::isfinite(scaled) || scaled < INT_MIN || scaled > INT_MAX) return false;
            const int64_t instancePercent = RoundHalfEven(scaled);
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
