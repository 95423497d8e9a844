#include "ApsimHarness.h"

#include "StopChild.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

}  // namespace

std::string BuiltProgram(const std::string& name) {
  const char* binaryDir = std::getenv("TRELLIAN_BINARY_DIR");
  return std::string(binaryDir ? binaryDir : ".") + "/bin/" + name;
}

ApsimHarness::ApsimHarness(const TempDir& dir, const std::string& scenario, std::vector<std::string> options) {
  std::string path = dir.file("scenario.ini");
  std::ofstream(path) << scenario;
  log_ = dir.file("apsim.log");
  errors_ = dir.file("apsim.err");
  state_ = dir.file("state.ini");
  std::string program = BuiltProgram("apsim");
  std::vector<std::string> args = {program, path, "--state", state_};
  args.insert(args.end(), options.begin(), options.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errors_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int failed = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    pid_ = -1;
    // What a test that cannot start its simulator says: the program it looked for, and why.
    startFailure_ = "cannot start " + program + ": " + std::strerror(failed) +
                    (std::getenv("TRELLIAN_BINARY_DIR") ? "" : " (TRELLIAN_BINARY_DIR is not set; run through ctest)") +
                    "\n";
  }
}

ApsimHarness::~ApsimHarness() { Stop(); }

int ApsimHarness::Stop() {
  if (pid_ > 0) {
    status_ = StopChild(pid_);
    pid_ = -1;
  }
  return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

bool ApsimHarness::Ready() { return WaitForLog("ready"); }

bool ApsimHarness::WaitForLog(const std::string& text, int ms) {
  for (int waited = 0; waited <= ms && pid_ > 0; waited += 10) {
    if (Log().find(text) != std::string::npos) return true;
    if (waitpid(pid_, &status_, WNOHANG) == pid_) {
      pid_ = -1;
      return Log().find(text) != std::string::npos;
    }
    usleep(10000);
  }
  return false;
}

std::string ApsimHarness::Log() const { return ReadFile(log_); }
std::string ApsimHarness::Errors() const { return startFailure_ + ReadFile(errors_); }

std::map<std::string, std::string> ApsimHarness::State(const std::string& mac) const { return ReadSimState(state_, mac); }

std::map<std::string, std::string> ReadSimState(const std::string& path, const std::string& mac) {
  std::stringstream in(ReadFile(path));
  std::string line;
  std::map<std::string, std::string> device;
  auto done = [&] { return device.count("mac") && device["mac"] == mac; };
  while (std::getline(in, line)) {
    if (Trim(line) == "[device]") {
      if (done()) return device;
      device.clear();
      continue;
    }
    size_t eq = line.find('=');
    if (eq != std::string::npos) device[Trim(line.substr(0, eq))] = Trim(line.substr(eq + 1));
  }
  return done() ? device : std::map<std::string, std::string>{};
}
