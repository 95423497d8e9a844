#include <gtest/gtest.h>

#include "windows_sys.h"

namespace {
long long EpochMs(const SYSTEMTIME& t) {
  struct tm parts = {};
  parts.tm_year = t.wYear - 1900;
  parts.tm_mon = t.wMonth - 1;
  parts.tm_mday = t.wDay;
  parts.tm_hour = t.wHour;
  parts.tm_min = t.wMinute;
  parts.tm_sec = t.wSecond;
  return static_cast<long long>(timegm(&parts)) * 1000 + t.wMilliseconds;
}
}  // namespace

TEST(SysClock, ProgramClockIsPlatformWallTimeInMilliseconds) {
  EXPECT_EQ(CLOCKS_PER_SEC, 1000);
  clock_t start = clock();
  PlatformClockAdvance(1500);
  clock_t advanced = clock();
  EXPECT_GE(advanced - start, 1500);
  EXPECT_LT(advanced - start, 2500);

  PlatformClockSetScale(100.0);
  start = clock();
  Sleep(3000);  // 30 ms of real time, yet three seconds of the program's clock
  clock_t slept = clock() - start;
  PlatformClockSetScale(1.0);
  EXPECT_GE(slept, 3000);
}

TEST(SysClock, TimeOfDayMovesWithThePlatformClock) {
  SYSTEMTIME before, after, local;
  GetSystemTime(&before);
  PlatformClockAdvance(90ull * 60 * 1000);
  GetSystemTime(&after);
  long long moved = EpochMs(after) - EpochMs(before);
  EXPECT_GE(moved, 90ll * 60 * 1000);
  EXPECT_LT(moved, 90ll * 60 * 1000 + 60 * 1000);

  GetLocalTime(&local);
  time_t now = static_cast<time_t>(EpochMs(after) / 1000);
  struct tm expected = {};
  localtime_r(&now, &expected);
  EXPECT_EQ(local.wYear, expected.tm_year + 1900);
  EXPECT_EQ(local.wDayOfWeek, expected.tm_wday);
  EXPECT_LE(local.wMilliseconds, 999);
}
