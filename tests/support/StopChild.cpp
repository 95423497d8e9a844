#include "StopChild.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

int StopChild(pid_t pid, bool group, int graceMs) {
  if (pid <= 0) return -1;
  const pid_t target = group ? -pid : pid;
  int status = 0;
  if (waitpid(pid, &status, WNOHANG) == pid) {
    // Gone already; what it left in its group goes too.
    if (group) kill(target, SIGKILL);
    return status;
  }
  kill(target, SIGTERM);
  for (int waited = 0; waited < graceMs; waited += 10) {
    if (waitpid(pid, &status, WNOHANG) == pid) {
      if (group) kill(target, SIGKILL);
      return status;
    }
    usleep(10000);
  }
  kill(target, SIGKILL);
  waitpid(pid, &status, 0);
  return status;
}
