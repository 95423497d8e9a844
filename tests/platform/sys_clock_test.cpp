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

// File times count 100-nanosecond steps from 1 January 1601 (UTC).
TEST(SysClock, FileTimesConvertBothWaysWithTheWeekday) {
  struct {
    SYSTEMTIME st;  // wDayOfWeek as the conversion back fills it in
    uint64_t ticks;
  } cases[] = {
      {{1601, 1, 1, 1, 0, 0, 0, 0}, 0},                                  // a Monday
      {{1970, 1, 4, 1, 0, 0, 0, 0}, 116444736000000000ull},              // the Unix epoch, a Thursday
      {{2000, 2, 2, 29, 12, 34, 56, 789}, 0x1bf82b162c9fc50ull},          // leap day
      {{2026, 12, 4, 10, 1, 30, 0, 5}, 0x1dd8845f8d89f50ull},
  };
  for (const auto& c : cases) {
    FILETIME ft{};
    ASSERT_TRUE(SystemTimeToFileTime(&c.st, &ft)) << c.st.wYear;
    EXPECT_EQ((uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime, c.ticks) << c.st.wYear;
    SYSTEMTIME back{};
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
    EXPECT_EQ(0, memcmp(&back, &c.st, sizeof back)) << c.st.wYear << " weekday " << back.wDayOfWeek;
  }
  // The largest time there is, and the weekday ignored going in.
  SYSTEMTIME last{30827, 12, 6, 31, 23, 59, 59, 999};
  FILETIME ft{};
  ASSERT_TRUE(SystemTimeToFileTime(&last, &ft));
  SYSTEMTIME back{};
  ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
  EXPECT_EQ(back.wYear, 30827);
  EXPECT_EQ(back.wMilliseconds, 999);
}

TEST(SysClock, FileTimeConversionsRefuseWhatIsOutOfRange) {
  const SYSTEMTIME bad[] = {
      {1600, 12, 0, 31, 0, 0, 0, 0}, {2001, 2, 0, 29, 0, 0, 0, 0},  {1900, 2, 0, 29, 0, 0, 0, 0},
      {2024, 13, 0, 1, 0, 0, 0, 0},  {2024, 0, 0, 1, 0, 0, 0, 0},   {2024, 4, 0, 31, 0, 0, 0, 0},
      {2024, 1, 0, 0, 0, 0, 0, 0},   {2024, 1, 0, 1, 24, 0, 0, 0},  {2024, 1, 0, 1, 0, 60, 0, 0},
      {2024, 1, 0, 1, 0, 0, 60, 0},  {2024, 1, 0, 1, 0, 0, 0, 1000}, {30828, 1, 0, 1, 0, 0, 0, 0},
  };
  for (const SYSTEMTIME& st : bad) {
    FILETIME ft{};
    SetLastError(0);
    EXPECT_FALSE(SystemTimeToFileTime(&st, &ft)) << st.wYear << "-" << st.wMonth << "-" << st.wDay;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  FILETIME past{0, 0x80000000u};
  SYSTEMTIME st{};
  EXPECT_FALSE(FileTimeToSystemTime(&past, &st));
  EXPECT_FALSE(SystemTimeToFileTime(nullptr, &past));
}
