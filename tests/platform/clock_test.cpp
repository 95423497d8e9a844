#include <gtest/gtest.h>

#include "Clock.h"

TEST(Clock, AdvanceMovesTickCountForward) {
  ULONGLONG before = GetTickCount64();
  PlatformClockAdvance(5000);
  ULONGLONG after = GetTickCount64();
  EXPECT_GE(after - before, 5000u);
  EXPECT_LT(after - before, 6000u);
}

TEST(Clock, ScaledSleepRunsFaster) {
  PlatformClockSetScale(100.0);
  ULONGLONG before = GetTickCount64();
  Sleep(2000);  // 20 ms of real time
  ULONGLONG elapsed = GetTickCount64() - before;
  PlatformClockSetScale(1.0);
  EXPECT_GE(elapsed, 2000u);
  EXPECT_EQ(PlatformClockToRealMs(100), 100u);
}
