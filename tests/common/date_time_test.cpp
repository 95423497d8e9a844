#include <gtest/gtest.h>

#include <cstring>

#include "DateAndTime.h"

namespace {

struct TextCase {
  const char* text;
  int year, month, day, hour, minutes, seconds, deci;
  char direction;
  int utcHours, utcMinutes;
  const char* formatted;
};

TEST(DateAndTime, ReadsEachTextForm) {
  const TextCase cases[] = {
      {"2009-3-14,15:9:26.5,-8:0", 2009, 3, 14, 15, 9, 26, 5, '-', 8, 0, "2009-3-14,15:9:26.5"},
      {"2009-3-14,15:9:26.5,+5:30", 2009, 3, 14, 15, 9, 26, 5, '+', 5, 30, "2009-3-14,15:9:26.5"},
      {"2009-3-14,15:9:26.5", 2009, 3, 14, 15, 9, 26, 5, '+', 0, 0, "2009-3-14,15:9:26.5"},
      {"2009-03-14,15:09:26.0,+0:0 tail", 2009, 3, 14, 15, 9, 26, 0, '+', 0, 0, "2009-3-14,15:9:26.0"},
      // Each number keeps the width of its field.
      {"70000-300-1,0:0:0.0", 70000 & 0xFFFF, 300 & 0xFF, 1, 0, 0, 0, 0, '+', 0, 0, "4464-44-1,0:0:0.0"},
      // No such form: the zero value.
      {"2009/03/14 15:09:26", 0, 0, 0, 0, 0, 0, 0, '+', 0, 0, "0-0-0,0:0:0.0"},
      {"", 0, 0, 0, 0, 0, 0, 0, '+', 0, 0, "0-0-0,0:0:0.0"},
      {"99999999999999999999-1-1,1:1:1.1", 0xFFFF, 1, 1, 1, 1, 1, 1, '+', 0, 0, "65535-1-1,1:1:1.1"},
  };
  for (const TextCase& c : cases) {
    DateAndTime value(c.text);
    EXPECT_EQ(value.year, c.year) << c.text;
    EXPECT_EQ(value.month, c.month) << c.text;
    EXPECT_EQ(value.day, c.day) << c.text;
    EXPECT_EQ(value.hour, c.hour) << c.text;
    EXPECT_EQ(value.minutes, c.minutes) << c.text;
    EXPECT_EQ(value.seconds, c.seconds) << c.text;
    EXPECT_EQ(value.deciSeconds, c.deci) << c.text;
    EXPECT_EQ(value.direction, c.direction) << c.text;
    EXPECT_EQ(value.utcHours, c.utcHours) << c.text;
    EXPECT_EQ(value.utcMinutes, c.utcMinutes) << c.text;
    EXPECT_STREQ(value.Format(), c.formatted) << c.text;
  }
}

TEST(DateAndTime, ElevenBytesWithTheYearSwappableToWireOrder) {
  DateAndTime value("2009-3-14,15:9:26.5,-8:0");
  value.SwapYearBytes();
  const BYTE expected[11] = {0x07, 0xD9, 3, 14, 15, 9, 26, 5, '-', 8, 0};
  EXPECT_EQ(memcmp(&value, expected, 11), 0);
  value.SwapYearBytes();
  EXPECT_EQ(value.year, 2009);

  DateAndTime copy = value;
  EXPECT_STREQ(copy.Format(), "2009-3-14,15:9:26.5");
}

TEST(DateAndTime, DefaultIsNowAtZeroOffset) {
  COleDateTime before = COleDateTime::GetCurrentTime();
  DateAndTime now;
  EXPECT_EQ(now.year, before.GetYear());
  EXPECT_EQ(now.deciSeconds, 0);
  EXPECT_EQ(now.direction, '+');
  EXPECT_EQ(now.utcHours, 0);
  EXPECT_EQ(now.utcMinutes, 0);
}

TEST(ParseDateTime, ReadsYearMonthDayHourMinuteSecond) {
  struct Case {
    const char* text;
    bool valid;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  } cases[] = {
      {"2009/03/14 15:09:26", true, 2009, 3, 14, 15, 9, 26},
      {"2009/3/14 5:9:7 PM", true, 2009, 3, 14, 5, 9, 7},
      {"1999/12/31 23:59:59", true, 1999, 12, 31, 23, 59, 59},
      {"2009-03-14 15:09:26", false},   // no "/" separators
      {"2009/03/14", false},
      {"", false},
      {"2009/13/14 15:09:26", false},   // month out of range
      {"2009/02/30 10:00:00", false},
  };
  for (const auto& c : cases) {
    COleDateTime date = ParseDateTime(c.text);
    EXPECT_EQ(date.GetStatus() == COleDateTime::valid, c.valid) << c.text;
    if (!c.valid) continue;
    EXPECT_EQ(date.GetYear(), c.year) << c.text;
    EXPECT_EQ(date.GetMonth(), c.month) << c.text;
    EXPECT_EQ(date.GetDay(), c.day) << c.text;
    EXPECT_EQ(date.GetHour(), c.hour) << c.text;
    EXPECT_EQ(date.GetMinute(), c.minute) << c.text;
    EXPECT_EQ(date.GetSecond(), c.second) << c.text;
  }
  EXPECT_NEAR(ParseDateTime("2009/03/14 15:09:26").m_dt, 39886 + (15 * 3600 + 9 * 60 + 26) / 86400.0, 1e-6);
}

}  // namespace
