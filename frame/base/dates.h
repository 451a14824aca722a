// The current date and time: seconds since 1904-01-01 00:00 UTC (the classic
// clock of settings and metadata) and their calendar breakdown.
#pragma once

#include <cstdint>

// Seconds between 1904-01-01 and 1970-01-01, both at 00:00 UTC.
constexpr int64_t kSeconds1904To1970 = 2082844800;
// Seconds between 1904-01-01 and 2001-01-01, both at 00:00 UTC.
constexpr int64_t kSeconds1904To2001 = 3061152000;

// Tests fix "now" (in seconds since 1970-01-01 UTC); clearing restores the
// system clock.
void ZorFixClock(int64_t unixSeconds);
void ZorUnfixClock();
// Seconds since 1970 of the system clock or of the fixed time.
int64_t ZorNowUnixSeconds();

// Now as 32-bit seconds since 1904, clamped to 0 .. 4,294,967,295.
uint32_t ZorReturnDateTime();
// Now broken into calendar fields in UTC (month and day from 1).
void UTCYearMonthDayHour(int32_t* year, int32_t* month, int32_t* day, int32_t* hour);
// Now broken into calendar fields in the local time zone.
void LocalYearMonthDayHourMinutesSeconds(int32_t* year, int32_t* month, int32_t* day, int32_t* hour,
                                         int32_t* minute, int32_t* second);
