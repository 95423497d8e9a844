#include "Clock.h"

#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

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
