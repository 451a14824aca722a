#include "frame/base/dates.h"

#include <atomic>
#include <chrono>
#include <ctime>

namespace {

std::atomic<bool> g_clockFixed{false};
std::atomic<int64_t> g_fixedUnixSeconds{0};

void Fill(const std::tm& t, int32_t* year, int32_t* month, int32_t* day, int32_t* hour, int32_t* minute,
          int32_t* second) {
  if (year) *year = t.tm_year + 1900;
  if (month) *month = t.tm_mon + 1;
  if (day) *day = t.tm_mday;
  if (hour) *hour = t.tm_hour;
  if (minute) *minute = t.tm_min;
  if (second) *second = t.tm_sec;
}

}  // namespace

void ZorFixClock(int64_t unixSeconds) {
  g_fixedUnixSeconds.store(unixSeconds);
  g_clockFixed.store(true);
}

void ZorUnfixClock() { g_clockFixed.store(false); }

int64_t ZorNowUnixSeconds() {
  if (g_clockFixed.load()) return g_fixedUnixSeconds.load();
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

uint32_t ZorReturnDateTime() {
  const int64_t s = ZorNowUnixSeconds() + kSeconds1904To1970;
  if (s < 0) return 0;
  if (s > int64_t(UINT32_MAX)) return UINT32_MAX;
  return uint32_t(s);
}

// The breakdowns use the full-width time, so they stay right after the
// 32-bit count of seconds runs out in 2040.
void UTCYearMonthDayHour(int32_t* year, int32_t* month, int32_t* day, int32_t* hour) {
  const std::time_t now = std::time_t(ZorNowUnixSeconds());
  std::tm t{};
  gmtime_r(&now, &t);
  Fill(t, year, month, day, hour, nullptr, nullptr);
}

void LocalYearMonthDayHourMinutesSeconds(int32_t* year, int32_t* month, int32_t* day, int32_t* hour,
                                         int32_t* minute, int32_t* second) {
  const std::time_t now = std::time_t(ZorNowUnixSeconds());
  std::tm t{};
  localtime_r(&now, &t);
  Fill(t, year, month, day, hour, minute, second);
}
