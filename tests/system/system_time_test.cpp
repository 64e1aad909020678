#include "core/system/system_time.h"

#include <gtest/gtest.h>

#include <optional>

namespace korbela {
namespace {

TEST(SystemTimeToFileTimeStamp, CountsHundredNanosecondsSince1601) {
    struct Case {
        SystemTime Time;
        int64_t Stamp;
    };
    const Case cases[] = {
        {{1601, 1, 1, 1, 0, 0, 0, 0}, 0},
        {{1601, 1, 1, 1, 0, 0, 0, 1}, 10000},
        {{1970, 1, 4, 1, 0, 0, 0, 0}, 116444736000000000},
        {{2000, 2, 2, 29, 12, 30, 15, 250}, 125963010152500000},
        {{2026, 12, 2, 8, 20, 0, 0, 0}, 134412336000000000},
        {{30827, 12, 0, 31, 23, 59, 59, 999}, 9223149887999990000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SystemTimeToFileTimeStamp(c.Time), std::optional<int64_t>(c.Stamp))
            << c.Time.Year << "-" << c.Time.Month << "-" << c.Time.Day;
    }
}

TEST(SystemTimeToFileTimeStamp, IgnoresTheDayOfWeek) {
    EXPECT_EQ(SystemTimeToFileTimeStamp({1970, 1, 6, 1, 0, 0, 0, 0}), 116444736000000000);
}

TEST(SystemTimeToFileTimeStamp, RefusesFieldsOutOfRange) {
    const SystemTime invalid[] = {
        {1600, 12, 0, 31, 23, 59, 59, 999},  // before the scale
        {30828, 1, 0, 1, 0, 0, 0, 0},        // past what SystemTimeToFileTime takes
        {2026, 0, 0, 1, 0, 0, 0, 0},   {2026, 13, 0, 1, 0, 0, 0, 0},
        {2026, 1, 0, 0, 0, 0, 0, 0},   {2026, 4, 0, 31, 0, 0, 0, 0},
        {2025, 2, 0, 29, 0, 0, 0, 0},  {1900, 2, 0, 29, 0, 0, 0, 0},
        {2026, 1, 0, 1, 24, 0, 0, 0},  {2026, 1, 0, 1, 0, 60, 0, 0},
        {2026, 1, 0, 1, 0, 0, 60, 0},  {2026, 1, 0, 1, 0, 0, 0, 1000},
        {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF},
    };
    for (const SystemTime& time : invalid) {
        EXPECT_EQ(SystemTimeToFileTimeStamp(time), std::nullopt)
            << time.Year << "-" << time.Month << "-" << time.Day << " " << time.Hour << ":"
            << time.Minute << ":" << time.Second << "." << time.Milliseconds;
    }
    EXPECT_NE(SystemTimeToFileTimeStamp({2024, 2, 0, 29, 0, 0, 0, 0}), std::nullopt);
    EXPECT_NE(SystemTimeToFileTimeStamp({2000, 2, 0, 29, 0, 0, 0, 0}), std::nullopt);
}

}  // namespace
}  // namespace korbela
