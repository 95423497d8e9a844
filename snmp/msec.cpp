#include "msec.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "Clock.h"

int64_t snmp_now_ms() {
  static const int64_t wall_at_start = std::chrono::duration_cast<std::chrono::milliseconds>(
                                           std::chrono::system_clock::now().time_since_epoch())
                                           .count();
  static const ULONGLONG tick_at_start = GetTickCount64();
  return wall_at_start + static_cast<int64_t>(GetTickCount64() - tick_at_start);
}

void msec::refresh() {
  const int64_t now = snmp_now_ms();
  seconds = now / 1000;
  millis = static_cast<int32_t>(now % 1000);
}

msec& msec::operator=(const timeval& tv) {
  seconds = tv.tv_sec;
  millis = static_cast<int32_t>(tv.tv_usec / 1000);
  return *this;
}

void msec::add(int64_t ms) {
  if (IsInfinite()) return;
  int64_t total = seconds * 1000 + millis + ms;
  // Floor division keeps the milliseconds in 0..999 also below zero.
  int64_t s = total / 1000, m = total % 1000;
  if (m < 0) {
    m += 1000;
    --s;
  }
  seconds = s;
  millis = static_cast<int32_t>(m);
}

msec& msec::operator+=(long milliseconds) {
  add(milliseconds);
  return *this;
}
msec& msec::operator-=(long milliseconds) {
  add(-static_cast<int64_t>(milliseconds));
  return *this;
}
msec& msec::operator+=(const timeval& tv) {
  add(static_cast<int64_t>(tv.tv_sec) * 1000 + tv.tv_usec / 1000);
  return *this;
}
msec& msec::operator-=(const timeval& tv) {
  add(-(static_cast<int64_t>(tv.tv_sec) * 1000 + tv.tv_usec / 1000));
  return *this;
}

bool operator==(const msec& a, const msec& b) { return a.seconds == b.seconds && a.millis == b.millis; }

bool operator<(const msec& a, const msec& b) {
  if (a.IsInfinite()) return false;
  if (b.IsInfinite()) return true;
  return a.seconds < b.seconds || (a.seconds == b.seconds && a.millis < b.millis);
}

bool operator>(const msec& a, const msec& b) {
  if (b.IsInfinite()) return false;
  if (a.IsInfinite()) return true;
  return a.seconds > b.seconds || (a.seconds == b.seconds && a.millis > b.millis);
}

void msec::GetDelta(const msec& later, timeval& out) const {
  if (later.IsInfinite()) {
    out.tv_sec = 1000000000;
    out.tv_usec = 0;
  } else if (later > *this) {
    const int64_t ms = (later.seconds - seconds) * 1000 + (later.millis - millis);
    out.tv_sec = static_cast<time_t>(ms / 1000);
    out.tv_usec = static_cast<suseconds_t>((ms % 1000) * 1000);
  } else {
    out.tv_sec = 0;
    out.tv_usec = 0;
  }
}

void msec::GetDeltaFromNow(timeval& out) const { msec().GetDelta(*this, out); }

const char* msec::get_printable() const {
  const time_t t = static_cast<time_t>(seconds);
  struct tm local;
  localtime_r(&t, &local);
  char hms[12];
  std::strftime(hms, sizeof hms, "%H:%M:%S.", &local);
  std::snprintf(printable, sizeof printable, "%.9s%.3ld", hms, static_cast<long>(millis % 1000));
  return printable;
}
