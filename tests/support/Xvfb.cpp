#include "Xvfb.h"

#include "StopChild.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The display numbers a run may take: TRELLIAN_XVFB_DISPLAYS="FIRST-LAST"
// keeps the servers of runs that share a machine apart; unset, the server
// picks the first free number itself.
std::vector<int> Candidates() {
  const char* range = std::getenv("TRELLIAN_XVFB_DISPLAYS");
  int first = 0, last = 0;
  if (!range || std::sscanf(range, "%d-%d", &first, &last) != 2 || first < 0 || last < first) return {-1};
  std::vector<int> numbers;
  for (int n = first; n <= last; ++n) numbers.push_back(n);
  return numbers;
}

}  // namespace

Xvfb::Xvfb(const std::string& screen) {
  for (int display : Candidates()) {
    if (Start(screen, display)) return;
  }
}

// Starts the server on `display` (-1: a number it picks); true once it
// accepts clients.
bool Xvfb::Start(const std::string& screen, int display) {
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
    std::string fd = std::to_string(fds[1]);
    std::string number = ":" + std::to_string(display);
    if (display >= 0)
      execlp("Xvfb", "Xvfb", number.c_str(), "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
             "tcp", static_cast<char*>(nullptr));
    else
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
             static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  // The server writes its display number once it accepts clients; a number
  // another server holds makes it exit, which closes the pipe unwritten.
  std::string number;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) {
    StopChild(pid_);
    pid_ = -1;
    return false;
  }
  name_ = ":" + number;
  return true;
}

Xvfb::~Xvfb() { StopChild(pid_); }
