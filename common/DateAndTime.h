// The 11-byte date-and-time value of SNMP with its text form, and the reading
// of "Y/M/D h:m:s" texts into a calendar date.
#pragma once

#include "afx.h"

#pragma pack(push, 1)
class DateAndTime {
 public:
  // The current local date and time, at UTC offset +0:0.
  DateAndTime();
  // "Y-M-D,h:m:s.d" with an optional ",+h:m" or ",-h:m"; a text of no such
  // form gives the zero value.
  explicit DateAndTime(LPCTSTR text);

  // "Y-M-D,h:m:s.d"; the UTC offset is not part of it.
  CString Format() const;
  // Year in host order <-> year in the wire's big-endian order.
  void SwapYearBytes();

  WORD year;
  BYTE month;
  BYTE day;
  BYTE hour;
  BYTE minutes;
  BYTE seconds;
  BYTE deciSeconds;
  BYTE direction;  // '+' or '-'
  BYTE utcHours;
  BYTE utcMinutes;
};
#pragma pack(pop)

static_assert(sizeof(DateAndTime) == 11, "the wire form of the value is 11 bytes");

// "Y/M/D h:m:s" as a calendar date; a text without the separators, or with
// values out of range, gives a date whose status is invalid.
COleDateTime ParseDateTime(const CString& text);
