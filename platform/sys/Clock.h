// The one clock of the platform: every time-out, timer and wait reads it.
// Tests may speed it up (scale) or push it forward (advance); the program never does.
#pragma once

#include <ctime>

#include "Types.h"

PLATFORM_API DWORD GetTickCount();
PLATFORM_API ULONGLONG GetTickCount64();
PLATFORM_API void Sleep(DWORD milliseconds);

// The C runtime's `clock` as the program uses it: milliseconds of wall time on the platform
// clock since the process started (processor time would not advance while the program waits).
// The program reaches it as `clock()` through windows_sys.h, which also makes CLOCKS_PER_SEC 1000.
PLATFORM_API clock_t PlatformWallClock();

// Date and time of day, moved along with the platform clock when tests speed it up or advance it.
PLATFORM_API void GetLocalTime(LPSYSTEMTIME time);
PLATFORM_API void GetSystemTime(LPSYSTEMTIME time);
// Conversions without time zones; fields out of range (or a file time past
// the year 30827) fail with ERROR_INVALID_PARAMETER. wDayOfWeek is ignored
// going in and filled in coming out.
PLATFORM_API BOOL SystemTimeToFileTime(const SYSTEMTIME* system, LPFILETIME file);
PLATFORM_API BOOL FileTimeToSystemTime(const FILETIME* file, LPSYSTEMTIME system);

// Milliseconds of real time that correspond to `milliseconds` on the platform clock.
PLATFORM_API ULONGLONG PlatformClockToRealMs(ULONGLONG milliseconds);

// Test seams (reached through the test kit).
PLATFORM_API void PlatformClockSetScale(double scale);
PLATFORM_API double PlatformClockScale();
PLATFORM_API void PlatformClockAdvance(ULONGLONG milliseconds);
