// A calendar time as the system hands it out (the fields of a SYSTEMTIME) and its place on the
// FILETIME scale: 100-ns units since 1 January 1601 UTC.
#pragma once

#include <cstdint>
#include <optional>

namespace korbela {

struct SystemTime {
    uint16_t Year = 0;
    uint16_t Month = 0;      // 1..12
    uint16_t DayOfWeek = 0;  // not used by the conversion, as on Windows
    uint16_t Day = 0;        // 1..days of the month
    uint16_t Hour = 0;
    uint16_t Minute = 0;
    uint16_t Second = 0;
    uint16_t Milliseconds = 0;
};

// The same answer as SystemTimeToFileTime: empty for a field out of range (years 1601..30827,
// a day that the month does not have, 24 hours, 60 minutes or seconds, 1000 ms).
std::optional<int64_t> SystemTimeToFileTimeStamp(const SystemTime& time);

}  // namespace korbela
