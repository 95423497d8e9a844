// Time stamps of the SNMP event list (millisecond resolution), and the locks
// that the event sources and the session share.
#pragma once

#include <cstdint>

#include "Threads.h"
#include <sys/time.h>  // struct timeval

class msec {
 public:
  msec() { refresh(); }
  msec(const msec& other) = default;
  msec& operator=(const msec& other) = default;
  msec& operator=(const timeval& tv);

  void refresh();
  void SetInfinite() {
    seconds = -1;
    millis = 0;
  }
  bool IsInfinite() const { return seconds == -1 && millis == 0; }

  msec& operator+=(long milliseconds);
  msec& operator-=(long milliseconds);
  msec& operator+=(const timeval& tv);
  msec& operator-=(const timeval& tv);

  // seconds * 1000 + milliseconds; 64 bits here, so it does not wrap.
  operator unsigned long() const { return static_cast<unsigned long>(seconds * 1000 + millis); }

  // later - this, 0 when later is not later, 10^9 s when later is infinite.
  void GetDelta(const msec& later, timeval& out) const;
  void GetDeltaFromNow(timeval& out) const;
  // Local time "%H:%M:%S." and the milliseconds.
  const char* get_printable() const;

  // Seconds are 64-bit: 32-bit seconds would run out in January 2038.
  int64_t get_seconds() const { return seconds; }
  int32_t get_millis() const { return millis; }

  friend bool operator==(const msec& a, const msec& b);
  friend bool operator<(const msec& a, const msec& b);
  friend bool operator>(const msec& a, const msec& b);

 private:
  void add(int64_t ms);

  int64_t seconds;
  int32_t millis;
  mutable char printable[32];
};

inline bool operator!=(const msec& a, const msec& b) { return !(a == b); }
inline bool operator<=(const msec& a, const msec& b) { return a < b || a == b; }
inline bool operator>=(const msec& a, const msec& b) { return a > b || a == b; }

// Milliseconds since 1970 on the platform clock: wall time at start, then
// moved by the platform clock (which tests may speed up or advance).
int64_t snmp_now_ms();

// A recursive lock.
class SnmpSynchronized {
 public:
  SnmpSynchronized() { InitializeCriticalSection(&section); }
  ~SnmpSynchronized() { DeleteCriticalSection(&section); }
  SnmpSynchronized(const SnmpSynchronized&) = delete;
  SnmpSynchronized& operator=(const SnmpSynchronized&) = delete;
  void lock() { EnterCriticalSection(&section); }
  void unlock() { LeaveCriticalSection(&section); }

 private:
  CRITICAL_SECTION section;
};

// Holds a SnmpSynchronized for the lifetime of the guard.
class SnmpSynchronize {
 public:
  explicit SnmpSynchronize(SnmpSynchronized& s) : sync(s) { sync.lock(); }
  ~SnmpSynchronize() { sync.unlock(); }
  SnmpSynchronize(const SnmpSynchronize&) = delete;
  SnmpSynchronize& operator=(const SnmpSynchronize&) = delete;

 private:
  SnmpSynchronized& sync;
};
