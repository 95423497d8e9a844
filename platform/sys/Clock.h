// The one clock of the platform: every time-out, timer and wait reads it.
// Tests may speed it up (scale) or push it forward (advance); the program never does.
#pragma once

#include "Types.h"

PLATFORM_API DWORD GetTickCount();
PLATFORM_API ULONGLONG GetTickCount64();
PLATFORM_API void Sleep(DWORD milliseconds);

// Milliseconds of real time that correspond to `milliseconds` on the platform clock.
PLATFORM_API ULONGLONG PlatformClockToRealMs(ULONGLONG milliseconds);

// Test seams (reached through the test kit).
PLATFORM_API void PlatformClockSetScale(double scale);
PLATFORM_API double PlatformClockScale();
PLATFORM_API void PlatformClockAdvance(ULONGLONG milliseconds);
