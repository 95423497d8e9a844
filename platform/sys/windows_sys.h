// The system services of the platform, as the program includes them.
//
// The program's clock() is the platform's wall clock in milliseconds (CLOCKS_PER_SEC is 1000):
// its pumping waits count wall time, which the C library's processor-time clock would not.
// The C library's <ctime> is included first so that its own declaration of clock stays intact.
#pragma once

#include <ctime>

#include "Clock.h"
#include "Files.h"
#include "GlobalMemory.h"
#include "Handles.h"
#include "LastError.h"
#include "Module.h"
#include "Profile.h"
#include "Registry.h"
#include "Threads.h"
#include "Types.h"

#undef CLOCKS_PER_SEC
#define CLOCKS_PER_SEC ((clock_t)1000)
#define clock() PlatformWallClock()
