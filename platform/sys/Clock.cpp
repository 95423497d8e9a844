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
