#include "CTime.h"

#include <cctype>
#include <clocale>
#include <cmath>
#include <cstring>
#include <locale.h>
#include <strings.h>

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date, and back.
LONGLONG DaysFromCivil(LONGLONG y, unsigned m, unsigned d) {
  y -= m <= 2;
  const LONGLONG era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<LONGLONG>(doe) - 719468;
}

void CivilFromDays(LONGLONG z, int& y, int& m, int& d) {
  z += 719468;
  const LONGLONG era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

const LONGLONG kOleEpoch = DaysFromCivil(1899, 12, 30);
// Serial days of 0100-01-01 and of the day after 9999-12-31.
const double kMinOleDate = static_cast<double>(DaysFromCivil(100, 1, 1) - kOleEpoch);
const double kMaxOleDate = static_cast<double>(DaysFromCivil(10000, 1, 1) - kOleEpoch);

locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

// strftime in the C locale. The Windows runtime's "#" flag (no leading zeros)
// becomes this library's "-".
CString FormatTm(LPCTSTR pszFormat, const struct tm& parts) {
  if (!pszFormat || !*pszFormat) return CString();
  std::string fmt(pszFormat);
  for (size_t i = 0; i + 1 < fmt.size(); ++i) {
    if (fmt[i] != '%') continue;
    if (fmt[i + 1] == '#') fmt[i + 1] = '-';
    ++i;  // skip the conversion character, so "%%#" stays literal
  }
  // Every conversion yields a bounded amount of text, so a buffer proportional
  // to the format always suffices; a zero result then means empty output.
  std::string out(fmt.size() * 64 + 64, '\0');
  size_t n = strftime_l(&out[0], out.size(), fmt.c_str(), &parts, CLocale());
  out.resize(n);
  return CString(out);
}

}  // namespace

//----------------------------------------------------------------------------
CString CTimeSpan::Format(LPCTSTR pFormat) const {
  CString out;
  if (!pFormat) return out;
  for (const char* p = pFormat; *p; ++p) {
    if (*p != '%' || !p[1]) {
      out += *p;
      continue;
    }
    switch (*++p) {
      case 'D': out.AppendFormat("%lld", static_cast<long long>(GetDays())); break;
      case 'H': out.AppendFormat("%02d", static_cast<int>(GetHours())); break;
      case 'M': out.AppendFormat("%02d", static_cast<int>(GetMinutes())); break;
      case 'S': out.AppendFormat("%02d", static_cast<int>(GetSeconds())); break;
      case '%': out += '%'; break;
      default: out += '%'; out += *p; break;
    }
  }
  return out;
}

//----------------------------------------------------------------------------
CTime CTime::GetCurrentTime() { return CTime(std::time(nullptr)); }

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
  struct tm parts = {};
  parts.tm_year = nYear - 1900;
  parts.tm_mon = nMonth - 1;
  parts.tm_mday = nDay;
  parts.tm_hour = nHour;
  parts.tm_min = nMin;
  parts.tm_sec = nSec;
  parts.tm_isdst = nDST < 0 ? -1 : nDST != 0;
  m_time = std::mktime(&parts);
}

CTime::CTime(const SYSTEMTIME& st, int nDST)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST) {}

struct tm* CTime::GetLocalTm(struct tm* ptm) const { return ptm ? localtime_r(&m_time, ptm) : nullptr; }
struct tm* CTime::GetGmtTm(struct tm* ptm) const { return ptm ? gmtime_r(&m_time, ptm) : nullptr; }

struct tm CTime::Local() const {
  struct tm parts = {};
  localtime_r(&m_time, &parts);
  return parts;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const {
  struct tm parts = {};
  if (!localtime_r(&m_time, &parts)) return FALSE;
  st = SYSTEMTIME{static_cast<WORD>(parts.tm_year + 1900), static_cast<WORD>(parts.tm_mon + 1),
                  static_cast<WORD>(parts.tm_wday),        static_cast<WORD>(parts.tm_mday),
                  static_cast<WORD>(parts.tm_hour),        static_cast<WORD>(parts.tm_min),
                  static_cast<WORD>(parts.tm_sec),         0};
  return TRUE;
}

int CTime::GetYear() const { return Local().tm_year + 1900; }
int CTime::GetMonth() const { return Local().tm_mon + 1; }
int CTime::GetDay() const { return Local().tm_mday; }
int CTime::GetHour() const { return Local().tm_hour; }
int CTime::GetMinute() const { return Local().tm_min; }
int CTime::GetSecond() const { return Local().tm_sec; }
int CTime::GetDayOfWeek() const { return Local().tm_wday + 1; }

CString CTime::Format(LPCTSTR pszFormat) const { return FormatTm(pszFormat, Local()); }

CString CTime::FormatGmt(LPCTSTR pszFormat) const {
  struct tm parts = {};
  gmtime_r(&m_time, &parts);
  return FormatTm(pszFormat, parts);
}

//----------------------------------------------------------------------------
COleDateTime COleDateTime::GetCurrentTime() { return COleDateTime(std::time(nullptr)); }

COleDateTime::COleDateTime(time_t timeSrc) {
  struct tm parts = {};
  if (!localtime_r(&timeSrc, &parts)) {
    m_status = invalid;
    return;
  }
  SetDateTime(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
}

COleDateTime::COleDateTime(const SYSTEMTIME& st) {
  SetDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
  SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
  if (nYear < 100 || nYear > 9999 || nMonth < 1 || nMonth > 12 || nDay < 1 ||
      nDay > DaysInMonth(nYear, nMonth) || nHour < 0 || nHour > 23 || nMin < 0 || nMin > 59 || nSec < 0 ||
      nSec > 59) {
    m_dt = 0;
    m_status = invalid;
    return 1;
  }
  const double days = static_cast<double>(DaysFromCivil(nYear, nMonth, nDay) - kOleEpoch);
  const double fraction = (nHour * 3600 + nMin * 60 + nSec) / 86400.0;
  // Before the epoch the whole part counts days back and the fraction still
  // counts forward into the day: -1.25 is 1899-12-29 06:00.
  m_dt = days >= 0 ? days + fraction : days - fraction;
  m_status = valid;
  return 0;
}

bool COleDateTime::operator<(const COleDateTime& date) const {
  // Compare as a timeline; the raw numbers run backwards within a day before the epoch.
  auto line = [](double dt) {
    double days = std::trunc(dt);
    return days + std::fabs(dt - days);
  };
  return line(m_dt) < line(date.m_dt);
}

bool COleDateTime::Split(struct tm& parts) const {
  if (m_status != valid || !(m_dt > kMinOleDate - 1) || !(m_dt < kMaxOleDate)) return false;
  LONGLONG days = static_cast<LONGLONG>(std::trunc(m_dt));
  LONGLONG seconds = std::llround(std::fabs(m_dt - static_cast<double>(days)) * 86400.0);
  if (seconds >= 86400) {
    ++days;
    seconds -= 86400;
  }
  int y, m, d;
  const LONGLONG civil = days + kOleEpoch;
  CivilFromDays(civil, y, m, d);
  if (y < 100 || y > 9999) return false;
  parts = {};
  parts.tm_year = y - 1900;
  parts.tm_mon = m - 1;
  parts.tm_mday = d;
  parts.tm_hour = static_cast<int>(seconds / 3600);
  parts.tm_min = static_cast<int>(seconds / 60 % 60);
  parts.tm_sec = static_cast<int>(seconds % 60);
  parts.tm_wday = static_cast<int>(((civil % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  parts.tm_yday = static_cast<int>(civil - DaysFromCivil(y, 1, 1));
  return true;
}

int COleDateTime::GetYear() const { struct tm t; return Split(t) ? t.tm_year + 1900 : AFX_OLE_DATETIME_ERROR; }
int COleDateTime::GetMonth() const { struct tm t; return Split(t) ? t.tm_mon + 1 : AFX_OLE_DATETIME_ERROR; }
int COleDateTime::GetDay() const { struct tm t; return Split(t) ? t.tm_mday : AFX_OLE_DATETIME_ERROR; }
int COleDateTime::GetHour() const { struct tm t; return Split(t) ? t.tm_hour : AFX_OLE_DATETIME_ERROR; }
int COleDateTime::GetMinute() const { struct tm t; return Split(t) ? t.tm_min : AFX_OLE_DATETIME_ERROR; }
int COleDateTime::GetSecond() const { struct tm t; return Split(t) ? t.tm_sec : AFX_OLE_DATETIME_ERROR; }
int COleDateTime::GetDayOfWeek() const { struct tm t; return Split(t) ? t.tm_wday + 1 : AFX_OLE_DATETIME_ERROR; }
int COleDateTime::GetDayOfYear() const { struct tm t; return Split(t) ? t.tm_yday + 1 : AFX_OLE_DATETIME_ERROR; }

BOOL COleDateTime::GetAsSystemTime(SYSTEMTIME& st) const {
  struct tm t;
  if (!Split(t)) return FALSE;
  st = SYSTEMTIME{static_cast<WORD>(t.tm_year + 1900), static_cast<WORD>(t.tm_mon + 1),
                  static_cast<WORD>(t.tm_wday),        static_cast<WORD>(t.tm_mday),
                  static_cast<WORD>(t.tm_hour),        static_cast<WORD>(t.tm_min),
                  static_cast<WORD>(t.tm_sec),         0};
  return TRUE;
}

CString COleDateTime::Format(LPCTSTR lpszFormat) const {
  struct tm t;
  if (!Split(t)) return CString();
  return FormatTm(lpszFormat, t);
}

CString COleDateTime::Format(DWORD, DWORD) const {
  struct tm t;
  if (!Split(t)) return CString();
  CString text;
  const bool hasTime = t.tm_hour || t.tm_min || t.tm_sec;
  const bool hasDate = std::trunc(m_dt) != 0;
  if (hasDate || !hasTime) text.Format("%d/%d/%d", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900);
  if (hasTime) {
    if (!text.IsEmpty()) text += ' ';
    text.AppendFormat("%d:%02d:%02d %s", (t.tm_hour + 11) % 12 + 1, t.tm_min, t.tm_sec,
                      t.tm_hour < 12 ? "AM" : "PM");
  }
  return text;
}

namespace {

// A small reader for ParseDateTime: numbers, single separators, blanks.
struct DateText {
  const char* p;

  void SkipBlanks() {
    while (*p == ' ' || *p == '\t') ++p;
  }
  bool Number(int& value, int& digits) {
    value = 0;
    digits = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
      if (digits >= 5) return false;
      value = value * 10 + (*p++ - '0');
      ++digits;
    }
    return digits > 0;
  }
  bool Take(char c) {
    if (*p != c) return false;
    ++p;
    return true;
  }
  // "AM"/"PM" (either case, "A"/"P" alone too); 0 none, 1 AM, 2 PM.
  int Meridian() {
    SkipBlanks();
    int which = 0;
    if (*p == 'a' || *p == 'A') which = 1;
    if (*p == 'p' || *p == 'P') which = 2;
    if (!which) return 0;
    ++p;
    if (*p == 'm' || *p == 'M') ++p;
    return which;
  }
};

bool ParseTime(DateText& in, int& h, int& m, int& s) {
  int digits;
  s = 0;
  if (!in.Number(h, digits) || !in.Take(':') || !in.Number(m, digits)) return false;
  if (in.Take(':') && !in.Number(s, digits)) return false;
  int meridian = in.Meridian();
  if (meridian) {
    if (h < 1 || h > 12) return false;
    h = h % 12 + (meridian == 2 ? 12 : 0);
  }
  return true;
}

}  // namespace

BOOL COleDateTime::ParseDateTime(LPCTSTR lpszDate, DWORD, DWORD) {
  m_dt = 0;
  m_status = invalid;
  if (!lpszDate) return FALSE;
  DateText in{lpszDate};
  in.SkipBlanks();
  int y = 1899, mo = 12, d = 30, h = 0, mi = 0, s = 0;

  const char* start = in.p;
  int a, b, c, digitsA, digits, digitsC;
  char sep = 0;
  bool haveDate = false;
  if (in.Number(a, digitsA) && (*in.p == '/' || *in.p == '-' || *in.p == '.')) {
    sep = *in.p++;
    if (!in.Number(b, digits) || !in.Take(sep) || !in.Number(c, digitsC)) return FALSE;
    if (digitsA >= 3) {
      y = a, mo = b, d = c;
    } else {
      mo = a, d = b, y = c;
      if (digitsC <= 2) y += y < 30 ? 2000 : 1900;
    }
    haveDate = true;
  } else {
    in.p = start;
  }
  in.SkipBlanks();
  if (*in.p) {
    if (!ParseTime(in, h, mi, s)) return FALSE;
    in.SkipBlanks();
  } else if (!haveDate) {
    return FALSE;
  }
  if (*in.p) return FALSE;
  return SetDateTime(y, mo, d, h, mi, s) == 0;
}
