// Calendar times: CTime (seconds since 1970, shown in local time), CTimeSpan,
// and COleDateTime (days since 1899-12-30 with the time of day as fraction).
// Formatting follows strftime in the C locale whatever the process locale.
#pragma once

#include <ctime>

#include "CString.h"

typedef double DATE;

class PLATFORM_API CTimeSpan {
 public:
  CTimeSpan() = default;
  CTimeSpan(time_t time) : m_timeSpan(time) {}
  CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
      : m_timeSpan(((static_cast<time_t>(lDays) * 24 + nHours) * 60 + nMins) * 60 + nSecs) {}

  LONGLONG GetDays() const { return m_timeSpan / (24 * 3600); }
  LONGLONG GetTotalHours() const { return m_timeSpan / 3600; }
  LONG GetHours() const { return static_cast<LONG>(GetTotalHours() - GetDays() * 24); }
  LONGLONG GetTotalMinutes() const { return m_timeSpan / 60; }
  LONG GetMinutes() const { return static_cast<LONG>(GetTotalMinutes() - GetTotalHours() * 60); }
  LONGLONG GetTotalSeconds() const { return m_timeSpan; }
  LONG GetSeconds() const { return static_cast<LONG>(GetTotalSeconds() - GetTotalMinutes() * 60); }
  time_t GetTimeSpan() const { return m_timeSpan; }
  // %D days, %H hours, %M minutes, %S seconds, %% a percent sign.
  CString Format(LPCTSTR pFormat) const;

  CTimeSpan operator+(CTimeSpan span) const { return CTimeSpan(m_timeSpan + span.m_timeSpan); }
  CTimeSpan operator-(CTimeSpan span) const { return CTimeSpan(m_timeSpan - span.m_timeSpan); }
  CTimeSpan& operator+=(CTimeSpan span) { m_timeSpan += span.m_timeSpan; return *this; }
  CTimeSpan& operator-=(CTimeSpan span) { m_timeSpan -= span.m_timeSpan; return *this; }
  bool operator==(CTimeSpan span) const { return m_timeSpan == span.m_timeSpan; }
  bool operator!=(CTimeSpan span) const { return m_timeSpan != span.m_timeSpan; }
  bool operator<(CTimeSpan span) const { return m_timeSpan < span.m_timeSpan; }
  bool operator>(CTimeSpan span) const { return m_timeSpan > span.m_timeSpan; }
  bool operator<=(CTimeSpan span) const { return m_timeSpan <= span.m_timeSpan; }
  bool operator>=(CTimeSpan span) const { return m_timeSpan >= span.m_timeSpan; }

 private:
  time_t m_timeSpan = 0;
};

class PLATFORM_API CTime {
 public:
  static CTime GetCurrentTime();

  CTime() = default;
  CTime(time_t time) : m_time(time) {}
  // Local time; nDST < 0 lets the C library decide whether summer time applies.
  CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
  CTime(const SYSTEMTIME& st, int nDST = -1);

  time_t GetTime() const { return m_time; }
  struct tm* GetLocalTm(struct tm* ptm) const;
  struct tm* GetGmtTm(struct tm* ptm) const;
  BOOL GetAsSystemTime(SYSTEMTIME& st) const;

  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday

  CString Format(LPCTSTR pszFormat) const;
  CString FormatGmt(LPCTSTR pszFormat) const;

  CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
  CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTimeSpan()); }
  CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTimeSpan()); }
  CTime& operator+=(CTimeSpan span) { m_time += span.GetTimeSpan(); return *this; }
  CTime& operator-=(CTimeSpan span) { m_time -= span.GetTimeSpan(); return *this; }
  bool operator==(CTime time) const { return m_time == time.m_time; }
  bool operator!=(CTime time) const { return m_time != time.m_time; }
  bool operator<(CTime time) const { return m_time < time.m_time; }
  bool operator>(CTime time) const { return m_time > time.m_time; }
  bool operator<=(CTime time) const { return m_time <= time.m_time; }
  bool operator>=(CTime time) const { return m_time >= time.m_time; }

 private:
  struct tm Local() const;
  time_t m_time = 0;
};

class PLATFORM_API COleDateTime {
 public:
  enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

  static COleDateTime GetCurrentTime();

  COleDateTime() = default;
  COleDateTime(DATE dtSrc) : m_dt(dtSrc) {}
  COleDateTime(time_t timeSrc);
  COleDateTime(const SYSTEMTIME& systimeSrc);
  COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);

  DateTimeStatus GetStatus() const { return m_status; }
  void SetStatus(DateTimeStatus status) { m_status = status; }
  operator DATE() const { return m_dt; }

  // 0 on success; otherwise the value becomes invalid and 1 is returned.
  int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
  int SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }
  int SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

  // Accepts "Y/M/D h:m[:s]", "Y-M-D[ h:m[:s]]", "M/D/Y[ h:m[:s]]" and "h:m[:s]",
  // each time optionally followed by AM or PM. Anything else makes the value invalid.
  BOOL ParseDateTime(LPCTSTR lpszDate, DWORD dwFlags = 0, DWORD lcid = 0);

  // Parts of a valid value; -1 (AFX_OLE_DATETIME_ERROR) for an invalid one.
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday
  int GetDayOfYear() const;  // 1 = 1 January
  BOOL GetAsSystemTime(SYSTEMTIME& st) const;

  // strftime rules in the C locale; empty for an invalid value.
  CString Format(LPCTSTR lpszFormat) const;
  // The default text form: "M/D/YYYY h:mm:ss AM", without the time at midnight
  // and without the date on 1899-12-30.
  CString Format(DWORD dwFlags = 0, DWORD lcid = 0) const;

  bool operator==(const COleDateTime& date) const { return m_dt == date.m_dt; }
  bool operator!=(const COleDateTime& date) const { return m_dt != date.m_dt; }
  bool operator<(const COleDateTime& date) const;
  bool operator>(const COleDateTime& date) const { return date < *this; }
  bool operator<=(const COleDateTime& date) const { return !(date < *this); }
  bool operator>=(const COleDateTime& date) const { return !(*this < date); }

  DATE m_dt = 0;
  DateTimeStatus m_status = valid;

 private:
  bool Split(struct tm& parts) const;
};

#define AFX_OLE_DATETIME_ERROR (-1)
