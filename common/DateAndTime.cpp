#include "DateAndTime.h"

#include <cctype>

#include "VhString.h"

namespace {

// Matches `pattern` ("%d" for a signed decimal number, any other character
// literally) against `text` and returns how many numbers were read, stopping at
// the first mismatch. Numbers beyond the int range are held at its ends.
int ScanNumbers(LPCTSTR text, LPCTSTR pattern, int* numbers) {
  int count = 0;
  const char* t = text;
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 'd') {
      ++p;
      const char* s = t;
      while (isspace(static_cast<unsigned char>(*s))) ++s;
      if (*s == '-' || *s == '+') ++s;
      if (*s < '0' || *s > '9') return count;
      numbers[count++] = VhAtoi(t);
      while (*s >= '0' && *s <= '9') ++s;
      t = s;
    } else if (*t == *p) {
      ++t;
    } else {
      return count;
    }
  }
  return count;
}

}  // namespace

DateAndTime::DateAndTime() {
  COleDateTime now = COleDateTime::GetCurrentTime();
  year = static_cast<WORD>(now.GetYear());
  month = static_cast<BYTE>(now.GetMonth());
  day = static_cast<BYTE>(now.GetDay());
  hour = static_cast<BYTE>(now.GetHour());
  minutes = static_cast<BYTE>(now.GetMinute());
  seconds = static_cast<BYTE>(now.GetSecond());
  deciSeconds = 0;
  direction = '+';
  utcHours = 0;
  utcMinutes = 0;
}

DateAndTime::DateAndTime(LPCTSTR text) {
  int n[9] = {0};
  char sign = '+';
  if (!text) text = "";
  if (ScanNumbers(text, "%d-%d-%d,%d:%d:%d.%d,+%d:%d", n) == 9) {
    sign = '+';
  } else if (ScanNumbers(text, "%d-%d-%d,%d:%d:%d.%d,-%d:%d", n) == 9) {
    sign = '-';
  } else if (ScanNumbers(text, "%d-%d-%d,%d:%d:%d.%d", n) == 7) {
    n[7] = n[8] = 0;
  } else {
    for (int& v : n) v = 0;
  }
  // Each number keeps the width of its field.
  year = static_cast<WORD>(n[0]);
  month = static_cast<BYTE>(n[1]);
  day = static_cast<BYTE>(n[2]);
  hour = static_cast<BYTE>(n[3]);
  minutes = static_cast<BYTE>(n[4]);
  seconds = static_cast<BYTE>(n[5]);
  deciSeconds = static_cast<BYTE>(n[6]);
  direction = static_cast<BYTE>(sign);
  utcHours = static_cast<BYTE>(n[7]);
  utcMinutes = static_cast<BYTE>(n[8]);
}

CString DateAndTime::Format() const {
  CString text;
  text.Format("%d-%d-%d,%d:%d:%d.%d", year, month, day, hour, minutes, seconds, deciSeconds);
  return text;
}

void DateAndTime::SwapYearBytes() { year = static_cast<WORD>((year >> 8) | (year << 8)); }

COleDateTime ParseDateTime(const CString& text) {
  static const LPCTSTR kSeparators[] = {"/", "/", " ", ":", ":"};
  int parts[6];
  CString rest = text;
  for (int i = 0; i < 5; ++i) {
    int pos = rest.Find(kSeparators[i]);
    if (pos < 0) {
      COleDateTime invalid;
      invalid.SetStatus(COleDateTime::invalid);
      return invalid;
    }
    parts[i] = VhAtoi(rest.Left(pos));
    rest = rest.Mid(pos + 1);
  }
  parts[5] = VhAtoi(rest.Left(2));
  return COleDateTime(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
}
