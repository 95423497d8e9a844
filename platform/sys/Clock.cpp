#include "Clock.h"

#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

#include "LastError.h"

namespace {

struct ClockState {
  std::mutex lock;
  double scale = 1.0;
  // Platform time at the moment the current scale took effect, and the real time then.
  double base_ms = 0.0;
  std::chrono::steady_clock::time_point base_real = std::chrono::steady_clock::now();
  // Never moves: the distance between platform and real time is measured from here.
  std::chrono::steady_clock::time_point start_real = base_real;
};

ClockState& State() {
  static ClockState state;
  return state;
}

double NowLocked(ClockState& s) {
  auto real = std::chrono::steady_clock::now() - s.base_real;
  double real_ms = std::chrono::duration<double, std::milli>(real).count();
  return s.base_ms + real_ms * s.scale;
}

}  // namespace

ULONGLONG GetTickCount64() {
  ClockState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  // Windows' tick count starts well above zero; start at one hour so that
  // "now minus a span" never goes below zero in callers' arithmetic.
  return 3600000ull + static_cast<ULONGLONG>(NowLocked(s));
}

DWORD GetTickCount() { return static_cast<DWORD>(GetTickCount64()); }

ULONGLONG PlatformClockToRealMs(ULONGLONG milliseconds) {
  double scale = PlatformClockScale();
  return static_cast<ULONGLONG>(std::ceil(static_cast<double>(milliseconds) / scale));
}

void Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(PlatformClockToRealMs(milliseconds)));
}

clock_t PlatformWallClock() {
  ClockState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  return static_cast<clock_t>(NowLocked(s));
}

namespace {

// Calendar time that runs with the platform clock: the real time of day plus however far
// the platform clock has run ahead of real time.
std::chrono::system_clock::time_point PlatformNow() {
  ClockState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  auto real_now = std::chrono::steady_clock::now();
  double real_ms = std::chrono::duration<double, std::milli>(real_now - s.start_real).count();
  auto ahead = std::chrono::milliseconds(static_cast<long long>(NowLocked(s) - real_ms));
  return std::chrono::system_clock::now() + ahead;
}

void FillSystemTime(LPSYSTEMTIME out, bool local) {
  if (!out) return;
  auto now = PlatformNow();
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  time_t seconds = static_cast<time_t>(ms / 1000);
  struct tm parts = {};
  if (local) {
    localtime_r(&seconds, &parts);
  } else {
    gmtime_r(&seconds, &parts);
  }
  out->wYear = static_cast<WORD>(parts.tm_year + 1900);
  out->wMonth = static_cast<WORD>(parts.tm_mon + 1);
  out->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
  out->wDay = static_cast<WORD>(parts.tm_mday);
  out->wHour = static_cast<WORD>(parts.tm_hour);
  out->wMinute = static_cast<WORD>(parts.tm_min);
  out->wSecond = static_cast<WORD>(parts.tm_sec);
  out->wMilliseconds = static_cast<WORD>(ms % 1000);
}

}  // namespace

void GetLocalTime(LPSYSTEMTIME time) { FillSystemTime(time, true); }

void GetSystemTime(LPSYSTEMTIME time) { FillSystemTime(time, false); }

namespace {

const int64_t kTicksPerMs = 10000;
const int64_t kMsPerDay = 86400000;
const int64_t kDaysFrom1601To1970 = 134774;

// Days since 1 January 1970 of a date in the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  unsigned yoe = static_cast<unsigned>(y - era * 400);
  unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t* y, unsigned* m, unsigned* d) {
  z += 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  unsigned doe = static_cast<unsigned>(z - era * 146097);
  unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<int64_t>(yoe) + era * 400 + (*m <= 2);
}

int DaysInMonth(int y, int m) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : days[m - 1];
}

}  // namespace

BOOL SystemTimeToFileTime(const SYSTEMTIME* st, LPFILETIME ft) {
  if (!st || !ft || st->wYear < 1601 || st->wYear > 30827 || st->wMonth < 1 || st->wMonth > 12 || st->wDay < 1 ||
      st->wDay > DaysInMonth(st->wYear, st->wMonth) || st->wHour > 23 || st->wMinute > 59 || st->wSecond > 59 ||
      st->wMilliseconds > 999) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int64_t days = DaysFromCivil(st->wYear, st->wMonth, st->wDay) + kDaysFrom1601To1970;
  int64_t ms = days * kMsPerDay + ((st->wHour * 60 + st->wMinute) * 60 + st->wSecond) * 1000LL + st->wMilliseconds;
  uint64_t ticks = static_cast<uint64_t>(ms) * kTicksPerMs;
  ft->dwLowDateTime = static_cast<DWORD>(ticks);
  ft->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* ft, LPSYSTEMTIME st) {
  uint64_t ticks = ft ? (static_cast<uint64_t>(ft->dwHighDateTime) << 32) | ft->dwLowDateTime : 0;
  if (!ft || !st || ticks > 0x7FFFFFFFFFFFFFFFull) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int64_t ms = static_cast<int64_t>(ticks / kTicksPerMs);
  int64_t days = ms / kMsPerDay, inDay = ms % kMsPerDay;
  int64_t year;
  unsigned month, day;
  CivilFromDays(days - kDaysFrom1601To1970, &year, &month, &day);
  st->wYear = static_cast<WORD>(year);
  st->wMonth = static_cast<WORD>(month);
  st->wDay = static_cast<WORD>(day);
  st->wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1 January 1601 was a Monday
  st->wHour = static_cast<WORD>(inDay / 3600000);
  st->wMinute = static_cast<WORD>(inDay / 60000 % 60);
  st->wSecond = static_cast<WORD>(inDay / 1000 % 60);
  st->wMilliseconds = static_cast<WORD>(inDay % 1000);
  return TRUE;
}

void PlatformClockSetScale(double scale) {
  if (!(scale > 0.0) || !std::isfinite(scale)) return;
  ClockState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  s.base_ms = NowLocked(s);
  s.base_real = std::chrono::steady_clock::now();
  s.scale = scale;
}

double PlatformClockScale() {
  ClockState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  return s.scale;
}

void PlatformClockAdvance(ULONGLONG milliseconds) {
  ClockState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  s.base_ms += static_cast<double>(milliseconds);
}
