#include <gtest/gtest.h>

#include "afx.h"

namespace {

struct OleCase {
  int y, mo, d, h, mi, s;
  double dt;
  const char* text;  // "%Y/%m/%d %H:%M:%S %p"
};

TEST(COleDateTimeTest, SerialDaysAndFormatting) {
  const OleCase cases[] = {
      {1899, 12, 30, 0, 0, 0, 0.0, "1899/12/30 00:00:00 AM"},
      {1899, 12, 29, 6, 0, 0, -1.25, "1899/12/29 06:00:00 AM"},
      {1900, 1, 1, 12, 0, 0, 2.5, "1900/01/01 12:00:00 PM"},
      {2009, 3, 14, 15, 9, 26, 39886.631550925924, "2009/03/14 15:09:26 PM"},
      {2000, 2, 29, 23, 59, 59, 36585.999988425923, "2000/02/29 23:59:59 PM"},
      {100, 1, 1, 0, 0, 0, -657434.0, "100/01/01 00:00:00 AM"},
      {9999, 12, 31, 0, 0, 0, 2958465.0, "9999/12/31 00:00:00 AM"},
  };
  for (const OleCase& c : cases) {
    SCOPED_TRACE(c.text);
    COleDateTime t(c.y, c.mo, c.d, c.h, c.mi, c.s);
    ASSERT_EQ(COleDateTime::valid, t.GetStatus());
    EXPECT_NEAR(c.dt, t.m_dt, 1e-9);
    EXPECT_STREQ(c.text, t.Format("%Y/%m/%d %H:%M:%S %p"));
    COleDateTime back(c.dt);
    EXPECT_EQ(c.y, back.GetYear());
    EXPECT_EQ(c.mo, back.GetMonth());
    EXPECT_EQ(c.d, back.GetDay());
    EXPECT_EQ(c.h, back.GetHour());
    EXPECT_EQ(c.mi, back.GetMinute());
    EXPECT_EQ(c.s, back.GetSecond());
  }
  EXPECT_EQ(7, COleDateTime(1899, 12, 30, 0, 0, 0).GetDayOfWeek());  // a Saturday
  EXPECT_EQ(4, COleDateTime(2026, 12, 9, 0, 0, 0).GetDayOfWeek());   // a Wednesday
  EXPECT_EQ(60, COleDateTime(2000, 2, 29, 0, 0, 0).GetDayOfYear());
  EXPECT_STREQ("3/14/2009 3:09:26 PM", COleDateTime(2009, 3, 14, 15, 9, 26).Format());
  EXPECT_STREQ("3/14/2009", COleDateTime(2009, 3, 14, 0, 0, 0).Format());
}

TEST(COleDateTimeTest, InvalidPartsAndValuesAreReportedNotShown) {
  const int bad[][6] = {
      {2009, 2, 29, 0, 0, 0}, {2009, 13, 1, 0, 0, 0}, {2009, 0, 1, 0, 0, 0}, {99, 1, 1, 0, 0, 0},
      {10000, 1, 1, 0, 0, 0}, {2009, 1, 1, 24, 0, 0}, {2009, 1, 1, 0, 60, 0}, {2009, 1, 1, 0, 0, -1},
  };
  for (const auto& p : bad) {
    COleDateTime t;
    EXPECT_EQ(1, t.SetDateTime(p[0], p[1], p[2], p[3], p[4], p[5]));
    EXPECT_EQ(COleDateTime::invalid, t.GetStatus());
    EXPECT_EQ(AFX_OLE_DATETIME_ERROR, t.GetYear());
    EXPECT_STREQ("", t.Format("%Y"));
  }
  for (double outside : {3e6, -7e5, 1e300}) {
    EXPECT_EQ(AFX_OLE_DATETIME_ERROR, COleDateTime(outside).GetDay());
  }
}

TEST(COleDateTimeTest, ParsesCommonForms) {
  struct {
    const char* text;
    bool ok;
    const char* shown;
  } cases[] = {
      {"2009/03/14 15:09:26", true, "2009-03-14 15:09:26"},
      {"2009-3-14", true, "2009-03-14 00:00:00"},
      {"  3/14/2009 3:09 PM ", true, "2009-03-14 15:09:00"},
      {"12/31/99 12:00:00 am", true, "1999-12-31 00:00:00"},
      {"1/2/05", true, "2005-01-02 00:00:00"},
      {"15:09:26", true, "1899-12-30 15:09:26"},
      {"", false, ""},
      {"20090314150926", false, ""},
      {"2009/02/30", false, ""},
      {"2009/03/14 25:00", false, ""},
      {"2009/03/14 13:00 PM", false, ""},
      {"2009/03/14 trailing", false, ""},
      {"2009/03", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    COleDateTime t;
    EXPECT_EQ(c.ok, bool(t.ParseDateTime(c.text)));
    EXPECT_EQ(c.ok ? COleDateTime::valid : COleDateTime::invalid, t.GetStatus());
    EXPECT_STREQ(c.shown, t.Format("%Y-%m-%d %H:%M:%S"));
  }
}

TEST(CTimeTest, PartsArithmeticAndFormat) {
  CTime t(2009, 3, 14, 15, 9, 26);
  EXPECT_EQ(2009, t.GetYear());
  EXPECT_EQ(3, t.GetMonth());
  EXPECT_EQ(14, t.GetDay());
  EXPECT_EQ(15, t.GetHour());
  EXPECT_EQ(9, t.GetMinute());
  EXPECT_EQ(26, t.GetSecond());
  EXPECT_EQ(7, t.GetDayOfWeek());
  EXPECT_STREQ("2009/03/14 15:09:26 PM", t.Format("%Y/%m/%d %H:%M:%S %p"));
  EXPECT_STREQ("3/14", t.Format("%#m/%#d"));
  EXPECT_STREQ("1970-01-01 00:00:00", CTime(0).FormatGmt("%Y-%m-%d %H:%M:%S"));

  CTimeSpan span(1, 2, 3, 4);
  EXPECT_EQ(93784, span.GetTotalSeconds());
  EXPECT_STREQ("1 days 02:03:04 %", span.Format("%D days %H:%M:%S %%"));
  CTime later = t + span;
  EXPECT_EQ(span, later - t);
  EXPECT_TRUE(later > t);
  EXPECT_EQ(t, later - span);
  EXPECT_GE(CTime::GetCurrentTime().GetYear(), 2024);
}

}  // namespace
