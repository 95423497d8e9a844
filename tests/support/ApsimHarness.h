// The simulated access points (tools/apsim) as a child process of a test: a
// scenario in, options, start, wait for "ready", the event log, and the state
// the simulator writes back, read per device MAC. Needs a private network
// namespace (tools/netns-run).
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "TempDir.h"

class ApsimHarness {
 public:
  // `options` are added to apsim's command line; a state file is always kept.
  ApsimHarness(const TempDir& dir, const std::string& scenario, std::vector<std::string> options = {});
  ~ApsimHarness();
  ApsimHarness(const ApsimHarness&) = delete;
  ApsimHarness& operator=(const ApsimHarness&) = delete;

  // Waits (in real time) for the simulator to say it listens; false when it
  // stopped or did not get there.
  bool Ready();
  // Waits (in real time, up to `ms`) until the log holds `text`.
  bool WaitForLog(const std::string& text, int ms = 5000);
  // Stops the simulator and returns its exit status.
  int Stop();
  std::string Log() const;
  // Its standard error, after the reason it could not be started, if so.
  std::string Errors() const;
  // The device's keys and values as last written to the state file.
  std::map<std::string, std::string> State(const std::string& mac) const;
  const std::string& statePath() const { return state_; }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  std::string log_, errors_, state_;
  std::string startFailure_;
};

// The device's keys and values in a simulator's state file (apsim --state);
// empty when the file or the device is missing.
std::map<std::string, std::string> ReadSimState(const std::string& path, const std::string& mac);

// The program built beside the tests (TRELLIAN_BINARY_DIR/bin/NAME).
std::string BuiltProgram(const std::string& name);
