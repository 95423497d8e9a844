// The wizard's waits: they keep the user interface alive by running the
// thread's messages while the time passes.
#pragma once

#include "windows_sys.h"

// Waits n units of 10 ms of wall time, dispatching the thread's messages
// (handlers re-enter from inside the wait); returns the last clock reading.
// Each wait for a message ends at the deadline, so the call never outlives it
// when nothing arrives. A quit message does not end the wait: the thread's
// messages go on meanwhile, and the quit is in the queue again, for the loop
// that owns it, when the wait returns.
clock_t DelayPumpMessages(int n);

// Told of every wait as it ends: its length in units of 10 ms and the real
// time it took, in milliseconds. For measurements; none by default.
typedef void (*DelayObserver)(int n, double realMs);
void SetDelayObserver(DelayObserver observer);
