// Ending a child process a test started (a server, a window manager, a lab):
// asked with SIGTERM, then killed if it is still there after `graceMs`, so
// that a peer that hangs on its way out never holds the test past its end.
#pragma once

#include <sys/types.h>

// With `group` the signals go to the child's process group (a child spawned
// as the leader of a group of its own). Returns the status waitpid gave, or
// -1 when there was no child to stop.
int StopChild(pid_t pid, bool group = false, int graceMs = 5000);
