#include "core/system/system_time.h"

namespace korbela {

namespace {

constexpr int64_t kTicksPerMillisecond = 10000;

bool IsLeapYear(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int64_t year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1 January 1601 to the given date of the proleptic Gregorian calendar.
int64_t DaysSince1601(int64_t year, int month, int day) {
    const int64_t y = year - 1601;
    int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
    return days + (day - 1);
}

}  // namespace

std::optional<int64_t> SystemTimeToFileTimeStamp(const SystemTime& time) {
    if (time.Year < 1601 || time.Year > 30827) return std::nullopt;
    if (time.Month < 1 || time.Month > 12) return std::nullopt;
    if (time.Day < 1 || time.Day > DaysInMonth(time.Year, time.Month)) return std::nullopt;
    if (time.Hour > 23 || time.Minute > 59 || time.Second > 59 || time.Milliseconds > 999) {
        return std::nullopt;
    }
    const int64_t days = DaysSince1601(time.Year, time.Month, time.Day);
    const int64_t seconds = ((days * 24 + time.Hour) * 60 + time.Minute) * 60 + time.Second;
    return (seconds * 1000 + time.Milliseconds) * kTicksPerMillisecond;
}

}  // namespace korbela
