// A private temporary folder for the boot counter, the global session started
// in it, and the shared snmpd agent.
#pragma once

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "CVHException.h"
#include "Files.h"
#include "SnmpRequest.h"
#include "SnmpSession.h"
#include "SnmpdHarness.h"
#include "TempDir.h"

class SessionFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    for (Saved& v : saved) {
      const char* value = getenv(v.name);
      v.had = value != nullptr;
      if (value) v.value = value;
      setenv(v.name, dir.path().c_str(), 1);
    }
    char buffer[1024];
    GetTempPath(sizeof buffer, buffer);
    folder = buffer;
  }
  void TearDown() override {
    SnmpSessionExit();
    // The next test makes its own temporary folder under the usual one.
    for (const Saved& v : saved) {
      if (v.had) setenv(v.name, v.value.c_str(), 1);
      else unsetenv(v.name);
    }
  }

  struct Saved {
    const char* name;
    bool had;
    std::string value;
  } saved[2] = {{"XDG_RUNTIME_DIR", false, {}}, {"TMPDIR", false, {}}};
  TempDir dir;
  std::string folder;
};

class AgentTest : public SessionFolder {
 protected:
  void SetUp() override {
    SessionFolder::SetUp();
    agent = SnmpdHarness::Shared();
    ASSERT_NE(agent, nullptr);
    ASSERT_TRUE(SnmpSessionInit(folder.c_str(), ""));
  }

  // A request pointed at the agent, with its communities.
  void Aim(SnmpRequest& request) const {
    request.m_nPort = agent->port();
    request.m_strReadCommunity = "public";
    request.m_strWriteCommunity = "private";
  }

  std::string Tool(const std::string& name, const std::string& args, const std::string& tail) const {
    std::string out = agent->RunTool(name, args, tail);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
  }

  SnmpdHarness* agent = nullptr;
};

// The code of the CVHException that `action` throws (deleted here), or 0.
inline int ThrownCode(const std::function<void()>& action) {
  try {
    action();
  } catch (CVHException* e) {
    int code = e->GetCode();
    delete e;
    return code;
  }
  return 0;
}

// The lines of a tool's output, each without the quotes around a string.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
    lines.push_back(line);
  }
  return lines;
}

// A UDP socket on loopback that receives and never answers.
struct SilentPeer {
  SilentPeer() {
    fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t n = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
    port = ntohs(a.sin_port);
  }
  ~SilentPeer() { close(fd); }
  SilentPeer(const SilentPeer&) = delete;
  SilentPeer& operator=(const SilentPeer&) = delete;
  int fd;
  unsigned short port;
};
