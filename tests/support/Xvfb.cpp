#include "Xvfb.h"

#include "StopChild.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

struct Range {
  int first = 200, last = 299;
};

Range DisplayRange() {
  Range r;
  const char* env = std::getenv("TRELLIAN_XVFB_DISPLAYS");
  int first = 0, last = 0;
  if (env && std::sscanf(env, "%d-%d", &first, &last) == 2 && first > 0 && first <= last) r = Range{first, last};
  return r;
}

}  // namespace

Xvfb::Xvfb(const std::string& screen) {
  const Range range = DisplayRange();
  const int count = range.last - range.first + 1;
  // Tests that start at once begin their search at different numbers.
  const int start = static_cast<int>(getpid()) % count;
  for (int i = 0; i < count; ++i) {
    const int number = range.first + (start + i) % count;
    struct stat info;
    if (stat(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), &info) == 0) continue;
    if (StartOn(number, screen)) return;
  }
}

// The server writes its number to the descriptor once it accepts clients,
// and ends at once when the number is taken (a lock file of a live server).
bool Xvfb::StartOn(int number, const std::string& screen) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  pid_ = fork();
  if (pid_ == 0) {
    // A test that dies (a sanitizer's report, a watchdog) takes its server along.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    close(fds[0]);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    const std::string display = ":" + std::to_string(number);
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
           "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string said;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    said += c;
  }
  close(fds[0]);
  if (pid_ > 0 && said == std::to_string(number)) {
    name_ = ":" + said;
    return true;
  }
  StopChild(pid_);
  pid_ = -1;
  return false;
}

Xvfb::~Xvfb() { StopChild(pid_); }
