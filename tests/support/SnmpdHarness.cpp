#include "SnmpdHarness.h"

#include "StopChild.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

namespace {

uint16_t FreeUdpPort() {
  int fd = socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) return 0;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof(addr);
  uint16_t port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
    port = ntohs(addr.sin_port);
  close(fd);
  return port;
}

}  // namespace

std::string RunCommand(const std::string& command, int* status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    if (status) *status = -1;
    return out;
  }
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) out.append(buffer, n);
  int rc = pclose(pipe);
  if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

SnmpdHarness::SnmpdHarness(std::vector<std::string> extra_config) : extra_config_(std::move(extra_config)) {}

SnmpdHarness::~SnmpdHarness() { Stop(); }

bool SnmpdHarness::Start(std::string* error) {
  const char* snmpd = "/usr/sbin/snmpd";
  if (access(snmpd, X_OK) != 0) {
    if (error) *error = "snmpd is not installed (scripts/install-deps installs it)";
    return false;
  }
  // The port is free when we look; another program may take it before snmpd
  // binds, so try a few.
  for (int attempt = 0; attempt < 5; ++attempt) {
    port_ = FreeUdpPort();
    if (port_ == 0) continue;
    std::string conf = dir_.file("snmpd.conf");
    {
      std::ofstream out(conf);
      out << "agentAddress udp:127.0.0.1:" << port_ << "\n"
          << "rocommunity public 127.0.0.1 .1\n"
          << "rwcommunity private 127.0.0.1 .1\n"
          << "createUser noauth\n"
          << "createUser authMD5 MD5 \"authpass123\"\n"
          << "createUser authSHA SHA \"authpass123\"\n"
          << "createUser privDES MD5 \"authpass123\" DES \"privpass123\"\n"
          << "rwuser noauth noauth\n"
          << "rwuser authMD5 auth\n"
          << "rwuser authSHA auth\n"
          << "rwuser privDES priv\n";
      for (const std::string& line : extra_config_) out << line << "\n";
    }
    std::string log = dir_.file("snmpd.log");
    pid_t pid = fork();
    if (pid < 0) break;
    if (pid == 0) {
      setenv("SNMP_PERSISTENT_DIR", dir_.path().c_str(), 1);
      setenv("MIBS", "", 1);
      setpgid(0, 0);
      // A test killed on its time-out must not leave its agent behind.
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      execl(snmpd, snmpd, "-f", "-C", "-c", conf.c_str(), "-Lf", log.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    pid_ = pid;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        break;  // exited: most likely the port was taken
      }
      int rc = -1;
      RunTool("snmpget", "-v1 -c public -r0 -t0.3 -Oqv", "1.3.6.1.2.1.1.3.0", &rc);
      if (rc == 0) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    Stop();
  }
  if (error) *error = "snmpd did not start; see " + dir_.file("snmpd.log");
  return false;
}

void SnmpdHarness::Stop() {
  if (pid_ <= 0) return;
  StopChild(pid_, false, 2000);
  pid_ = -1;
}

std::string SnmpdHarness::RunTool(const std::string& tool, const std::string& arguments, const std::string& tail,
                                  int* status) const {
  // The tools keep their state (snmpapp.conf) in the agent's own folder: the
  // shared one under /var/lib/snmp is read by one test's tool while another's
  // writes it, and a half-written line shows up in the first one's output.
  std::string command = "MIBS= SNMP_PERSISTENT_DIR=" + dir_.path() + " " + tool + " " + arguments + " " + peer() +
                        " " + tail + " 2>&1";
  return RunCommand(command, status);
}

SnmpdHarness* SnmpdHarness::Shared() {
  static std::unique_ptr<SnmpdHarness> shared;
  static bool tried = false;
  static std::string failure;
  if (!tried) {
    tried = true;
    auto harness = std::make_unique<SnmpdHarness>();
    if (harness->Start(&failure)) shared = std::move(harness);
  }
  if (!shared) ADD_FAILURE() << "private snmpd: " << failure;
  return shared.get();
}
