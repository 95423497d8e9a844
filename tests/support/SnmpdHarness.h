// A private net-snmp agent for the tests: its own configuration and persistent
// data in a temporary folder, listening on 127.0.0.1 at a free port.
//
// Communities: "public" reads, "private" reads and writes the whole tree.
// SNMPv3 users (pass phrases "authpass123" / "privpass123"):
//   "noauth"  noAuthNoPriv, read-write
//   "authMD5" authNoPriv with MD5, "authSHA" authNoPriv with SHA
//   "privDES" authPriv with MD5 and DES
// Further configuration lines can be given to the constructor.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TempDir.h"

class SnmpdHarness {
 public:
  explicit SnmpdHarness(std::vector<std::string> extra_config = {});
  ~SnmpdHarness();
  SnmpdHarness(const SnmpdHarness&) = delete;
  SnmpdHarness& operator=(const SnmpdHarness&) = delete;

  // Starts the agent and waits until it answers; false with a reason otherwise.
  bool Start(std::string* error);
  void Stop();

  uint16_t port() const { return port_; }
  const char* host() const { return "127.0.0.1"; }
  std::string peer() const { return "127.0.0.1:" + std::to_string(port_); }
  const std::string& folder() const { return dir_.path(); }

  // Runs one of net-snmp's command-line tools against this agent: `arguments`
  // is everything between the tool name and the agent address, `tail` what
  // follows it (OIDs, values). Returns the tool's standard output; `status`
  // receives its exit status.
  std::string RunTool(const std::string& tool, const std::string& arguments, const std::string& tail,
                      int* status = nullptr) const;

  // One agent per test program, started on first use; nullptr (and a gtest
  // failure) when it cannot start.
  static SnmpdHarness* Shared();

 private:
  TempDir dir_;
  std::vector<std::string> extra_config_;
  uint16_t port_ = 0;
  pid_t pid_ = -1;
};

// Runs a shell command and returns its standard output.
std::string RunCommand(const std::string& command, int* status = nullptr);
