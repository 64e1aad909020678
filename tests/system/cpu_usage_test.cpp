#include "core/system/cpu_usage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/system/errors.h"
#include "fakes/fake_perf_source.h"
#include "fakes/perf_block_builder.h"

namespace korbela {
namespace {

using testing::AtSecond;
using testing::FakePerfSource;
using testing::PerfBlock;
using testing::PerfBlockBuilder;

constexpr int64_t kSecond = 10'000'000;  // 100-ns units

class FixedOsVersion : public IOsVersion {
public:
    explicit FixedOsVersion(std::optional<OsVersion> version) : version_(version) {}
    std::optional<OsVersion> Query() override { return version_; }

private:
    std::optional<OsVersion> version_;
};

// The 95 family's statistics keys; every call is logged.
class LoggingDynSource : public IDynDataSource {
public:
    Key OpenKey(const std::string& path, bool fullAccess) override {
        log.push_back("open " + path + (fullAccess ? " full" : " read"));
        if (path == failingPath) return 0;
        return ++lastKey;
    }
    bool ReadCPUUsage(Key key, uint32_t& value) override {
        log.push_back("read " + std::to_string(key));
        value = percent;
        return true;
    }
    void CloseKey(Key key) override { log.push_back("close " + std::to_string(key)); }

    std::vector<std::string> log;
    std::string failingPath;
    uint32_t percent = 37;
    Key lastKey = 0;
};

OsVersion Nt() { return {kPlatformWin32NT, 5, 1}; }
OsVersion Win98() { return {kPlatformWin32Windows, 4, 10}; }

// Three processors and the total, as a machine lists them; idle times in seconds.
PerfBlock Machine(uint16_t second, double idle0, double idle1, double idle2, double idleTotal) {
    return PerfBlockBuilder()
        .Time(AtSecond(second))
        .Instance(u"0", static_cast<int64_t>(idle0 * kSecond))
        .Instance(u"1", static_cast<int64_t>(idle1 * kSecond))
        .Instance(u"2", static_cast<int64_t>(idle2 * kSecond))
        .Instance(u"_Total", static_cast<int64_t>(idleTotal * kSecond))
        .Build();
}

class NtSampler : public ::testing::Test {
protected:
    CpuUsage& Sampler() {
        if (!cpu) cpu = std::make_unique<CpuUsage>(os, perf, dyn);
        return *cpu;
    }
    bool Sample(const PerfBlock& block) {
        perf.answer = block.Bytes;
        return Sampler().SampleCPU();
    }
    std::vector<double> Usages() {
        std::vector<double> usages;
        for (int32_t i = 0; i < Sampler().CPUInstanceCount(); ++i) {
            usages.push_back(Sampler().CPUInstanceUsage(i));
        }
        return usages;
    }

    FixedOsVersion os{Nt()};
    FakePerfSource perf;
    LoggingDynSource dyn;
    std::unique_ptr<CpuUsage> cpu;
};

TEST_F(NtSampler, ListsEveryProcessorInstanceAndFindsTheTotal) {
    ASSERT_TRUE(Sample(Machine(0, 100, 200, 300, 200)));
    EXPECT_EQ(Sampler().CPUInstanceCount(), 4);
    EXPECT_EQ(Sampler().CombinedInstanceIndex(), 3);
    EXPECT_TRUE(Sampler().LastError().empty());
    EXPECT_TRUE(dyn.log.empty());
}

TEST_F(NtSampler, FindsTheTotalByItsNameAlone) {
    struct Case {
        std::vector<std::u16string> Names;
        int32_t Combined;
    };
    const Case cases[] = {
        {{u"_Total", u"0", u"1"}, 0},
        {{u"0", u"_Total", u"1"}, 1},
        {{u"0", u"1"}, -1},
        {{u"0", u"_total"}, -1},
        {{u"0", u"_Total2"}, -1},
        {{u"0", u"_Tota"}, -1},
        {{u"0", u""}, -1},
    };
    for (const Case& c : cases) {
        PerfBlockBuilder builder;
        for (const std::u16string& name : c.Names) builder.Instance(name, 0);
        CpuUsage sampler(os, perf, dyn);
        perf.answer = builder.Build().Bytes;
        ASSERT_TRUE(sampler.SampleCPU());
        EXPECT_EQ(sampler.CombinedInstanceIndex(), c.Combined) << c.Names.size();
    }
}

TEST_F(NtSampler, FirstSampleComparesWithSystemStartAndComesOutNearlyFull) {
    ASSERT_TRUE(Sample(Machine(0, 3600, 7200, 1800, 4200)));
    for (double usage : Usages()) EXPECT_NEAR(usage, 1.0, 1e-6);
}

TEST_F(NtSampler, SecondSampleGivesTheBusyShareBetweenTheTwo) {
    ASSERT_TRUE(Sample(Machine(0, 100, 200, 300, 200)));
    ASSERT_TRUE(Sample(Machine(2, 100.5, 202, 300, 200.8333)));
    const std::vector<double> usages = Usages();
    ASSERT_EQ(usages.size(), 4u);
    EXPECT_DOUBLE_EQ(usages[0], 0.75);
    EXPECT_DOUBLE_EQ(usages[1], 0.0);
    EXPECT_DOUBLE_EQ(usages[2], 1.0);
    EXPECT_NEAR(usages[3], 0.58335, 1e-9);
}

TEST_F(NtSampler, StepsOverMillisecondsAndOtherObjects) {
    ASSERT_TRUE(Sample(PerfBlockBuilder().OtherObjectFirst().Time(AtSecond(1, 0)).Instance(u"0", 0).Build()));
    ASSERT_TRUE(Sample(PerfBlockBuilder()
                           .OtherObjectFirst()
                           .Time(AtSecond(1, 400))
                           .Instance(u"0", kSecond / 10)
                           .Build()));
    EXPECT_DOUBLE_EQ(Sampler().CPUInstanceUsage(0), 0.75);
}

TEST_F(NtSampler, EqualSystemTimesGiveZeroForEveryInstance) {
    ASSERT_TRUE(Sample(Machine(5, 100, 200, 300, 200)));
    ASSERT_TRUE(Sample(Machine(5, 101, 203, 300, 201)));
    for (double usage : Usages()) EXPECT_EQ(usage, 0.0);
}

TEST_F(NtSampler, IdleTimeRunningBackwardsIsNotClamped) {
    ASSERT_TRUE(Sample(Machine(0, 100, 200, 300, 200)));
    ASSERT_TRUE(Sample(Machine(1, 99, 201, 300, 200)));
    EXPECT_DOUBLE_EQ(Sampler().CPUInstanceUsage(0), 2.0);
    EXPECT_DOUBLE_EQ(Sampler().CPUInstanceUsage(1), 0.0);
}

TEST_F(NtSampler, KeepsTheInstanceCountOfTheFirstCollection) {
    ASSERT_TRUE(Sample(PerfBlockBuilder().Time(AtSecond(0)).Instance(u"0", 0).Instance(u"_Total", 0).Build()));
    ASSERT_TRUE(Sample(PerfBlockBuilder()
                           .Time(AtSecond(1))
                           .Instance(u"0", kSecond / 4)
                           .Instance(u"1", kSecond / 2)
                           .Instance(u"_Total", kSecond / 8)
                           .Build()));
    EXPECT_EQ(Sampler().CPUInstanceCount(), 2);
    EXPECT_DOUBLE_EQ(Sampler().CPUInstanceUsage(0), 0.75);
    EXPECT_DOUBLE_EQ(Sampler().CPUInstanceUsage(1), 0.5);  // processor "1" now stands here
    EXPECT_EQ(Sampler().CombinedInstanceIndex(), -1);      // the total moved out of reach
}

TEST_F(NtSampler, RefusesIndexesOutsideTheInstances) {
    ASSERT_TRUE(Sample(Machine(0, 100, 200, 300, 200)));
    for (int32_t index : {-1, 4, 1000}) {
        try {
            Sampler().CPUInstanceUsage(index);
            ADD_FAILURE() << index;
        } catch (const KorbelaError& e) {
            EXPECT_STREQ(e.what(), "CPU index out of bounds");
        }
    }
}

TEST_F(NtSampler, AsksForTheCountOrAUsageBeforeAnySampleSamplesFirst) {
    perf.answer = Machine(0, 100, 200, 300, 200).Bytes;
    EXPECT_EQ(Sampler().CPUInstanceCount(), 4);
    EXPECT_EQ(perf.askedSizes.size(), 1u);

    CpuUsage other(os, perf, dyn);
    EXPECT_NEAR(other.CPUInstanceUsage(2), 1.0, 1e-6);

    perf.answer.clear();
    CpuUsage failing(os, perf, dyn);
    EXPECT_EQ(failing.CPUInstanceCount(), -1);
    EXPECT_THROW(failing.CPUInstanceUsage(0), KorbelaError);
}

TEST_F(NtSampler, GrowsTheBufferInStepsUntilTheBlockFitsAndKeepsIt) {
    PerfBlockBuilder builder;
    builder.Time(AtSecond(0));
    for (int i = 0; i < 200; ++i) builder.Instance(std::u16string(1, static_cast<char16_t>(u'A' + i % 26)), i);
    const PerfBlock big = builder.Instance(u"_Total", 0).Build();
    ASSERT_GT(big.Bytes.size(), 12288u);
    ASSERT_LE(big.Bytes.size(), 16384u);

    EXPECT_EQ(Sampler().PerfBlockSize(), 8192u);
    ASSERT_TRUE(Sample(big));
    EXPECT_EQ(perf.askedSizes, (std::vector<uint32_t>{8192, 12288, 16384}));
    EXPECT_EQ(Sampler().PerfBlockSize(), 16384u);
    EXPECT_EQ(Sampler().CPUInstanceCount(), 201);
    EXPECT_EQ(Sampler().CombinedInstanceIndex(), 200);

    perf.askedSizes.clear();
    ASSERT_TRUE(Sample(big));
    EXPECT_EQ(perf.askedSizes, (std::vector<uint32_t>{16384}));

    perf.askedSizes.clear();
    EXPECT_FALSE(Sample(Machine(1, 0, 0, 0, 0)));  // a smaller block (and too few instances)
    EXPECT_EQ(perf.askedSizes, (std::vector<uint32_t>{16384}));
    EXPECT_EQ(Sampler().PerfBlockSize(), 16384u);
}

TEST_F(NtSampler, GivesUpOnAQueryThatAlwaysWantsMore) {
    perf.alwaysMoreData = true;
    EXPECT_FALSE(Sampler().SampleCPU());
    EXPECT_EQ(Sampler().PerfBlockSize(), CpuUsage::kMaxPerfBlockSize);
    EXPECT_EQ(Sampler().CPUInstanceCount(), -1);
}

TEST_F(NtSampler, ParsesTheBufferAsItStandsAfterAnyOtherAnswer) {
    perf.error = 2;  // ERROR_FILE_NOT_FOUND, with a block all the same
    EXPECT_TRUE(Sample(Machine(0, 1, 1, 1, 1)));

    perf.answer.clear();  // nothing returned at all
    EXPECT_FALSE(Sampler().SampleCPU());
}

TEST_F(NtSampler, FailsWithoutTheProcessorObjectOrItsTimeCounter) {
    CpuUsage sampler(os, perf, dyn);
    perf.answer = PerfBlockBuilder().ObjectIndex(230).Instance(u"0", 0).Build().Bytes;
    EXPECT_FALSE(sampler.SampleCPU());
    EXPECT_EQ(sampler.LastError(), "Unable to locate the \"Processor\" performance object");
    EXPECT_EQ(sampler.CPUInstanceCount(), -1);

    perf.answer = PerfBlockBuilder().Counters({232, 142}).Instance(u"0", 0).Build().Bytes;
    EXPECT_FALSE(sampler.SampleCPU());
    EXPECT_EQ(sampler.LastError(), "Unable to locate the \"% of CPU usage\" performance counter");
}

TEST_F(NtSampler, FindsTheTimeCounterAmongOthers) {
    ASSERT_TRUE(Sample(PerfBlockBuilder().Counters({1, 2, 3, 6}).Time(AtSecond(0)).Instance(u"0", 0).Build()));
    ASSERT_TRUE(Sample(PerfBlockBuilder().Counters({1, 2, 3, 6}).Time(AtSecond(1)).Instance(u"0", kSecond / 4).Build()));
    EXPECT_DOUBLE_EQ(Sampler().CPUInstanceUsage(0), 0.75);
}

// Damage to one part of the second block: the sample fails and the figures of the first
// two good samples stay as they were.
TEST_F(NtSampler, DamagedBlocksFailTheSampleAndChangeNothing) {
    using namespace perf;
    struct Case {
        const char* Name;
        std::function<void(PerfBlock&)> Damage;
    };
    const auto put = [](uint32_t PerfBlockOffset, uint32_t value) {
        return [=](PerfBlock& b) { b.PutU32(PerfBlockOffset, value); };
    };
    const Case cases[] = {
        {"empty answer", [](PerfBlock& b) { b.Bytes.clear(); }},
        {"shorter than the header", [](PerfBlock& b) { b.Bytes.resize(DataBlock::Size - 1); }},
        {"cut in half", [](PerfBlock& b) { b.Bytes.resize(b.Bytes.size() / 2); }},
        {"cut before the last counter",
         [](PerfBlock& b) { b.Bytes.resize(b.Bytes.size() - 4); }},
        {"no signature", [](PerfBlock& b) { b.PutU16(0, 'X'); }},
        {"block length zero", put(DataBlock::TotalByteLength, 0)},
        {"block length past the end", put(DataBlock::TotalByteLength, 0xFFFFFFF0u)},
        {"block header length zero", put(DataBlock::HeaderLength, 0)},
        {"block header length past the end", put(DataBlock::HeaderLength, 0x7FFFFFFFu)},
        {"more objects than there are",
         [](PerfBlock& b) {
             b.PutU32(DataBlock::NumObjectTypes, 0xFFFFFFFFu);
             b.PutU32(b.ProcessorObject + ObjectType::ObjectNameTitleIndex, 230);
         }},
        {"object length zero",
         [](PerfBlock& b) {
             b.PutU32(DataBlock::NumObjectTypes, 0xFFFFFFFFu);
             b.PutU32(b.ProcessorObject + ObjectType::ObjectNameTitleIndex, 230);
             b.PutU32(b.ProcessorObject + ObjectType::TotalByteLength, 0);
         }},
        {"object past the end",
         [](PerfBlock& b) { b.PutU32(b.ProcessorObject + ObjectType::TotalByteLength, 0xFFFFFF00u); }},
        {"object header past its definitions",
         [](PerfBlock& b) { b.PutU32(b.ProcessorObject + ObjectType::HeaderLength, 0x10000); }},
        {"object header inside its own header",
         [](PerfBlock& b) { b.PutU32(b.ProcessorObject + ObjectType::HeaderLength, 8); }},
        {"definitions past the object",
         [](PerfBlock& b) { b.PutU32(b.ProcessorObject + ObjectType::DefinitionLength, 0x7FFFFFFFu); }},
        {"counter definition length zero",
         [](PerfBlock& b) { b.PutU32(b.CounterDefinitions[0] + CounterDefinition::ByteLength, 0); }},
        {"counter definition length past the end",
         [](PerfBlock& b) { b.PutU32(b.CounterDefinitions[0] + CounterDefinition::ByteLength, 0xFFFFFFF0u); }},
        {"counter definitions running into the instances",
         [](PerfBlock& b) {
             b.PutU32(b.ProcessorObject + ObjectType::NumCounters, 0xFFFFFFFFu);
             b.PutU32(b.CounterDefinitions[1] + CounterDefinition::CounterNameTitleIndex, 7);
         }},
        {"counter offset past the counter block",
         [](PerfBlock& b) { b.PutU32(b.CounterDefinitions[1] + CounterDefinition::CounterOffset, 0xFFFFFFFCu); }},
        {"counter offset on the block's last bytes",
         [](PerfBlock& b) { b.PutU32(b.CounterDefinitions[1] + CounterDefinition::CounterOffset, 28); }},
        {"fewer instances than the first collection",
         [](PerfBlock& b) { b.PutU32(b.ProcessorObject + ObjectType::NumInstances, 3); }},
        {"no instances", [](PerfBlock& b) { b.PutU32(b.ProcessorObject + ObjectType::NumInstances, 0xFFFFFFFFu); }},
        {"impossibly many instances",
         [](PerfBlock& b) { b.PutU32(b.ProcessorObject + ObjectType::NumInstances, 0x7FFFFFFFu); }},
        {"instance length zero",
         [](PerfBlock& b) { b.PutU32(b.Instances[1] + InstanceDefinition::ByteLength, 0); }},
        {"instance length past the end",
         [](PerfBlock& b) { b.PutU32(b.Instances[1] + InstanceDefinition::ByteLength, 0xFFFFFFF0u); }},
        {"name past the instance",
         [](PerfBlock& b) { b.PutU32(b.Instances[3] + InstanceDefinition::NameOffset, 0xFFFFFFF0u); }},
        {"name inside the instance header",
         [](PerfBlock& b) { b.PutU32(b.Instances[3] + InstanceDefinition::NameOffset, 4); }},
        {"name longer than the instance",
         [](PerfBlock& b) { b.PutU32(b.Instances[3] + InstanceDefinition::NameLength, 0xFFFFFFFFu); }},
        {"counter block length zero",
         [](PerfBlock& b) { b.PutU32(b.CounterBlocks[2] + CounterBlock::ByteLength, 0); }},
        {"counter block length past the end",
         [](PerfBlock& b) { b.PutU32(b.CounterBlocks[2] + CounterBlock::ByteLength, 0xFFFFFFF8u); }},
        {"counter block too short for the counter",
         [](PerfBlock& b) { b.PutU32(b.CounterBlocks[2] + CounterBlock::ByteLength, 16); }},
        {"month 13", [](PerfBlock& b) { b.PutU16(DataBlock::SystemTime + 2, 13); }},
        {"30 February",
         [](PerfBlock& b) {
             b.PutU16(DataBlock::SystemTime + 2, 2);
             b.PutU16(DataBlock::SystemTime + 6, 30);
         }},
        {"year 1600", [](PerfBlock& b) { b.PutU16(DataBlock::SystemTime, 1600); }},
        {"1000 milliseconds", [](PerfBlock& b) { b.PutU16(DataBlock::SystemTime + 14, 1000); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        CpuUsage sampler(os, perf, dyn);
        perf.answer = Machine(0, 100, 200, 300, 200).Bytes;
        ASSERT_TRUE(sampler.SampleCPU());
        perf.answer = Machine(4, 101, 202, 303, 202).Bytes;
        ASSERT_TRUE(sampler.SampleCPU());

        PerfBlock damaged = Machine(8, 104, 204, 306, 205);
        c.Damage(damaged);
        perf.answer = damaged.Bytes;
        EXPECT_FALSE(sampler.SampleCPU());
        EXPECT_FALSE(sampler.LastError().empty());
        EXPECT_EQ(sampler.CPUInstanceCount(), 4);
        EXPECT_EQ(sampler.CombinedInstanceIndex(), 3);
        EXPECT_DOUBLE_EQ(sampler.CPUInstanceUsage(0), 0.75);
        EXPECT_DOUBLE_EQ(sampler.CPUInstanceUsage(1), 0.5);
        EXPECT_DOUBLE_EQ(sampler.CPUInstanceUsage(2), 0.25);
    }
}

TEST_F(NtSampler, ADamagedFirstBlockDoesNotFixTheInstanceCount) {
    PerfBlock damaged = Machine(0, 1, 1, 1, 1);
    damaged.PutU32(damaged.ProcessorObject + perf::ObjectType::NumInstances, 0x40000000u);
    EXPECT_FALSE(Sample(damaged));
    ASSERT_TRUE(Sample(Machine(1, 1, 1, 1, 1)));
    EXPECT_EQ(Sampler().CPUInstanceCount(), 4);
}

class Win9xSampler : public ::testing::Test {
protected:
    FixedOsVersion os{Win98()};
    FakePerfSource perf;
    LoggingDynSource dyn;
};

TEST_F(Win9xSampler, ReadsOneUsageFromTheStatisticsKeys) {
    CpuUsage cpu(os, perf, dyn);
    EXPECT_FALSE(cpu.IsNTPlatform());
    EXPECT_EQ(cpu.CPUInstanceCount(), 1);
    ASSERT_TRUE(cpu.SampleCPU());
    EXPECT_DOUBLE_EQ(cpu.CPUInstanceUsage(0), 0.37);
    EXPECT_EQ(cpu.CombinedInstanceIndex(), -1);
    dyn.percent = 80;
    ASSERT_TRUE(cpu.SampleCPU());
    EXPECT_DOUBLE_EQ(cpu.CPUInstanceUsage(0), 0.8);
    for (int32_t index : {1, -1}) {
        try {
            cpu.CPUInstanceUsage(index);
            ADD_FAILURE() << index;
        } catch (const KorbelaError& e) {
            EXPECT_STREQ(e.what(), "CPU index out of bounds");
        }
    }
    EXPECT_TRUE(perf.askedSizes.empty());
}

TEST_F(Win9xSampler, StartsTheStatisticsAtTheFirstSampleAndStopsThemAtTheEnd) {
    {
        CpuUsage cpu(os, perf, dyn);
        EXPECT_TRUE(dyn.log.empty());
        ASSERT_TRUE(cpu.SampleCPU());
        EXPECT_EQ(dyn.log, (std::vector<std::string>{"open PerfStats\\StartStat full", "read 1", "close 1",
                                                     "open PerfStats\\StatData read", "read 2"}));
        dyn.log.clear();
        ASSERT_TRUE(cpu.SampleCPU());
        EXPECT_EQ(dyn.log, (std::vector<std::string>{"read 2"}));
        dyn.log.clear();
    }
    EXPECT_EQ(dyn.log, (std::vector<std::string>{"close 2", "open PerfStats\\StopStat full", "read 3",
                                                 "close 3"}));
}

TEST_F(Win9xSampler, AsksForAUsageBeforeAnySampleSamplesFirst) {
    CpuUsage cpu(os, perf, dyn);
    EXPECT_DOUBLE_EQ(cpu.CPUInstanceUsage(0), 0.37);
    EXPECT_EQ(dyn.log.front(), "open PerfStats\\StartStat full");
}

TEST_F(Win9xSampler, FailsWhenAKeyCannotBeOpened) {
    struct Case {
        const char* Path;
        const char* Error;
    };
    const Case cases[] = {
        {"PerfStats\\StartStat", "Unable to start performance monitoring"},
        {"PerfStats\\StatData", "Unable to read performance data"},
    };
    for (const Case& c : cases) {
        dyn.log.clear();
        dyn.failingPath = c.Path;
        {
            CpuUsage cpu(os, perf, dyn);
            EXPECT_FALSE(cpu.SampleCPU());
            EXPECT_EQ(cpu.LastError(), c.Error);
            dyn.log.clear();
        }
        EXPECT_TRUE(dyn.log.empty()) << "nothing to stop";
    }
}

TEST_F(Win9xSampler, NeverStartedMeansNothingToStop) {
    { CpuUsage cpu(os, perf, dyn); }
    EXPECT_TRUE(dyn.log.empty());
}

TEST(CpuUsagePlatform, UnknownVersionStopsTheStart) {
    FixedOsVersion os{std::nullopt};
    FakePerfSource perf;
    LoggingDynSource dyn;
    try {
        CpuUsage cpu(os, perf, dyn);
        ADD_FAILURE();
    } catch (const KorbelaError& e) {
        EXPECT_STREQ(e.what(), "Can't get the Windows version");
    }
}

TEST(CpuUsagePlatform, OnlyTheNtPlatformReadsPerformanceData) {
    FakePerfSource perf;
    LoggingDynSource dyn;
    for (uint32_t platform : {kPlatformWin32s, kPlatformWin32Windows, kPlatformWin32NT}) {
        FixedOsVersion os{OsVersion{platform, 4, 0}};
        CpuUsage cpu(os, perf, dyn);
        EXPECT_EQ(cpu.IsNTPlatform(), platform == kPlatformWin32NT);
    }
}

class MachineLoad : public NtSampler {
protected:
    std::optional<int> Combine() {
        int percent = -7;
        if (!CombineMachineLoad(Sampler(), percent)) {
            EXPECT_EQ(percent, -7) << "a failed reading leaves the output alone";
            return std::nullopt;
        }
        return percent;
    }
    std::optional<int> CombineAfter(const PerfBlock& first, const PerfBlock& second) {
        perf.answer = first.Bytes;
        EXPECT_TRUE(Sampler().SampleCPU());
        perf.answer = second.Bytes;
        return Combine();
    }
};

TEST_F(MachineLoad, TakesTheTotalWhenTheSystemListsOne) {
    // Per processor 75, 0 and 100; the system's total says 40.
    EXPECT_EQ(CombineAfter(Machine(0, 100, 200, 300, 200), Machine(1, 100.25, 201, 300, 200.6)), 40);
}

TEST_F(MachineLoad, AveragesTheInstancesWithoutATotal) {
    struct Case {
        double Idle0, Idle1;  // seconds of idle time in one second
        int Percent;
    };
    const Case cases[] = {
        {0.88, 0.87, 12},  // 12 and 13: 12.5 goes to the even 12
        {0.13, 0.12, 88},  // 87 and 88: 87.5 goes to 88
        {0.875, 0.875, 12},  // 12.5 each, itself rounded to 12
        {0.5, 0.25, 62},   // 50 and 75
    };
    for (const Case& c : cases) {
        cpu.reset();
        const PerfBlock first = PerfBlockBuilder().Time(AtSecond(0)).Instance(u"0", 0).Instance(u"1", 0).Build();
        const PerfBlock second = PerfBlockBuilder()
                                     .Time(AtSecond(1))
                                     .Instance(u"0", static_cast<int64_t>(c.Idle0 * kSecond))
                                     .Instance(u"1", static_cast<int64_t>(c.Idle1 * kSecond))
                                     .Build();
        EXPECT_EQ(CombineAfter(first, second), c.Percent) << c.Idle0 << " " << c.Idle1;
    }
}

TEST_F(MachineLoad, TheFirstReadingIsFormedFromOneSample) {
    // Its interval runs from the stamp's zero in 1601, far beyond any whole percent of it.
    perf.answer = Machine(0, 1, 1, 1, 1).Bytes;
    const std::optional<int> first = Combine();
    ASSERT_TRUE(first.has_value()) << "a first tick that fails would switch automatic freeing off";
    EXPECT_EQ(*first, 100);
}

TEST_F(MachineLoad, RoundsEveryExactHalfToEven) {
    // 0.5 % to 99.5 % busy in one second: a share through a double rounds 17 of these the
    // wrong way (14.5 % became 15, 57.5 % became 57).
    for (int64_t tenths = 5; tenths < 1000; tenths += 10) {
        cpu.reset();
        const PerfBlock first = PerfBlockBuilder().Time(AtSecond(0)).Instance(u"0", 0).Build();
        const PerfBlock second =
            PerfBlockBuilder().Time(AtSecond(1)).Instance(u"0", kSecond - tenths * (kSecond / 1000)).Build();
        const int64_t whole = tenths / 10;
        const int expected = static_cast<int>(std::max<int64_t>(1, whole % 2 == 0 ? whole : whole + 1));
        EXPECT_EQ(CombineAfter(first, second), expected) << tenths / 10.0 << " %";
    }
}

TEST_F(MachineLoad, AnIdleMachineReadsOne) {
    EXPECT_EQ(CombineAfter(Machine(0, 1, 1, 1, 1), Machine(1, 2, 2, 2, 2)), 1);
    EXPECT_EQ(Combine(), 1);  // the same time again: every instance 0
}

TEST_F(MachineLoad, FailsAndLeavesTheOutputWhenNoReadingCanBeFormed) {
    perf.answer.clear();
    EXPECT_EQ(Combine(), std::nullopt);

    cpu.reset();
    EXPECT_EQ(CombineAfter(Machine(0, 1, 1, 1, 1), PerfBlockBuilder().ObjectIndex(1).Build()), std::nullopt);

    cpu.reset();  // an object without instances
    EXPECT_EQ(CombineAfter(PerfBlockBuilder().Build(), PerfBlockBuilder().Build()), std::nullopt);

    cpu.reset();  // a counter reset too large for a whole percent
    EXPECT_EQ(CombineAfter(Machine(0, 1, 1, 1, 1),
                           PerfBlockBuilder().Time(AtSecond(1)).Instance(u"0", INT64_MIN).Instance(u"1", 0)
                               .Instance(u"2", 0).Instance(u"_Total", 0).Build()),
              std::nullopt);
}

TEST(MachineLoad9x, IsTheSingleUsageRaisedToOne) {
    FixedOsVersion os{Win98()};
    FakePerfSource perf;
    LoggingDynSource dyn;
    CpuUsage cpu(os, perf, dyn);
    int percent = -7;
    dyn.percent = 64;
    ASSERT_TRUE(CombineMachineLoad(cpu, percent));
    EXPECT_EQ(percent, 64);
    dyn.percent = 0;
    ASSERT_TRUE(CombineMachineLoad(cpu, percent));
    EXPECT_EQ(percent, 1);

    dyn.failingPath = "PerfStats\\StartStat";
    CpuUsage failing(os, perf, dyn);
    percent = -7;
    EXPECT_FALSE(CombineMachineLoad(failing, percent));
    EXPECT_EQ(percent, -7);
}

}  // namespace
}  // namespace korbela
