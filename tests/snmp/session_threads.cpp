// The library's locks, also under ThreadSanitizer: a callback of every kind
// may start a synchronous request (the wizard's flows go on that way from an
// asynchronous step), which takes the process lock, the event list's lock and
// the queues' locks inside the callback; and sessions of several threads
// make requests at once. Any lock taken in the wrong order is a report.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "EventList.h"
#include "Snmp.h"
#include "SnmpdHarness.h"

namespace {

const char* const kSysDescr = "1.3.6.1.2.1.1.1.0";
const char* const kSysUpTime = "1.3.6.1.2.1.1.3.0";

// A v2c target at the test agent.
CTarget agent_target(SnmpdHarness* agent) {
  CTarget t(UdpAddress(("127.0.0.1/" + std::to_string(agent->port())).c_str()), "public", "private");
  t.set_version(version2c);
  t.set_timeout(100);
  t.set_retry(1);
  return t;
}

// A synchronous get of one OID; its status, and the value in `value`.
int get_now(Snmp& session, SnmpTarget& target, const char* oid, std::string* value) {
  Pdu pdu;
  pdu += Vb(Oid(oid));
  const int status = session.get(pdu, target);
  if (status == 0 && value && pdu.get_vb_count() == 1) *value = pdu[0].get_printable_value();
  return status;
}

// What a callback saw, and the synchronous get it made. The callback may run
// on whichever thread's pass receives the answer: `calls` is counted last.
struct Nested {
  Snmp* session = nullptr;
  CTarget* target = nullptr;
  std::atomic<int> calls{0};
  int status = 0;
  int inner = 1;
  std::string value;
  void get_inside() {
    inner = get_now(*session, *target, kSysDescr, &value);
    calls.fetch_add(1, std::memory_order_release);
  }
  int seen() const { return calls.load(std::memory_order_acquire); }
};

void request_done(int status, Snmp*, Pdu&, SnmpTarget&, void* data) {
  Nested* n = static_cast<Nested*>(data);
  n->status = status;
  n->get_inside();
}
void timeout_due(void* data, int) { static_cast<Nested*>(data)->get_inside(); }
void input_ready(void* data, int socket, int) {
  char byte;
  recv(static_cast<SOCKET>(socket), &byte, 1, 0);
  static_cast<Nested*>(data)->get_inside();
}

class SessionThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    agent = SnmpdHarness::Shared();
    ASSERT_NE(agent, nullptr);
    int status = 1;
    session = std::make_unique<Snmp>(status, UdpAddress("127.0.0.1/0"));
    ASSERT_EQ(status, 0);
    target = agent_target(agent);
    ASSERT_EQ(get_now(*session, target, kSysDescr, &descr), 0);
  }

  // Runs the event list until the callback has run once (a few seconds at most).
  static void pump_until_called(const Nested& n) {
    for (int i = 0; i < 400 && n.seen() == 0; ++i) {
      SNMPProcessEvents();
      SNMPProcessPendingEvents();
      timeval nap = {0, 5000};
      select(0, nullptr, nullptr, nullptr, &nap);
    }
  }

  SnmpdHarness* agent = nullptr;
  std::unique_ptr<Snmp> session;
  CTarget target;
  std::string descr;
};

// A UDP socket on loopback that reads nothing and answers nothing.
struct SilentPeer {
  SilentPeer() {
    WSADATA data;
    WSAStartup(0x0101, &data);
    sock = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(sock, reinterpret_cast<sockaddr*>(&local), sizeof local);
    int length = sizeof local;
    getsockname(sock, reinterpret_cast<sockaddr*>(&local), &length);
    port = ntohs(local.sin_port);
  }
  ~SilentPeer() {
    closesocket(sock);
    WSACleanup();
  }
  SOCKET sock;
  unsigned short port = 0;
};

TEST_F(SessionThreads, EveryKindOfCallbackMayMakeASynchronousRequest) {
  enum Source { kAnswer, kTimeOut, kUserTimeout, kUserInput };
  const struct {
    Source source;
    const char* what;
  } cases[] = {
      {kAnswer, "the answer of an asynchronous get"},
      {kTimeOut, "the time-out of an asynchronous get"},
      {kUserTimeout, "a user timeout"},
      {kUserInput, "a user input"},
  };
  for (const auto& c : cases) {
    Nested n;
    n.session = session.get();
    n.target = &target;
    SilentPeer silent;
    int input_id = 0;
    switch (c.source) {
      case kAnswer: {
        Pdu pdu;
        pdu += Vb(Oid(kSysUpTime));
        ASSERT_EQ(session->get(pdu, target, request_done, &n), 0) << c.what;
        break;
      }
      case kTimeOut: {
        CTarget nobody(UdpAddress(("127.0.0.1/" + std::to_string(silent.port)).c_str()), "public", "private");
        nobody.set_version(version2c);
        nobody.set_timeout(1);
        nobody.set_retry(0);
        Pdu pdu;
        pdu += Vb(Oid(kSysUpTime));
        ASSERT_EQ(session->get(pdu, nobody, request_done, &n), 0) << c.what;
        break;
      }
      case kUserTimeout:
        ASSERT_GT(SNMPAddTimeout(1, timeout_due, &n), 0) << c.what;
        break;
      case kUserInput: {
        input_id = SNMPAddInput(static_cast<int>(silent.sock), SNMP_INPUT_READ, input_ready, &n);
        ASSERT_GT(input_id, 0) << c.what;
        sockaddr_in to = {};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = inet_addr("127.0.0.1");
        to.sin_port = htons(silent.port);
        ASSERT_EQ(sendto(silent.sock, "x", 1, 0, reinterpret_cast<sockaddr*>(&to), sizeof to), 1);
        break;
      }
    }
    pump_until_called(n);
    if (input_id) SNMPRemoveInput(input_id);
    EXPECT_EQ(n.seen(), 1) << c.what;
    if (c.source == kAnswer) {
      EXPECT_EQ(n.status, SNMP_CLASS_ASYNC_RESPONSE) << c.what;
    }
    if (c.source == kTimeOut) {
      EXPECT_EQ(n.status, SNMP_CLASS_TIMEOUT) << c.what;
    }
    EXPECT_EQ(n.inner, 0) << c.what;
    EXPECT_EQ(n.value, descr) << c.what;
  }
  EXPECT_EQ(snmpMessageQueue().GetCount(), 0);
}

// Sessions of their own on several threads, synchronous gets and an
// asynchronous one whose answer another thread's pass may receive. Its
// callback's synchronous request runs a pass inside the pass that received
// it, which reads the other sockets that the outer select found ready: the
// outer pass must not wait on them again.
TEST_F(SessionThreads, SessionsOnSeveralThreadsAtOnce) {
  const int kThreads = 3, kGets = 40;
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      int status = 1;
      Snmp own(status, UdpAddress("127.0.0.1/0"));
      if (status != 0) {
        ++failures;
        return;
      }
      CTarget mine = agent_target(agent);
      for (int i = 0; i < kGets; ++i) {
        std::string value;
        if (get_now(own, mine, (t % 2) ? kSysUpTime : kSysDescr, &value) != 0 || value.empty()) ++failures;
      }
    });
  }
  Nested n;
  n.session = session.get();
  n.target = &target;
  Pdu pdu;
  pdu += Vb(Oid(kSysUpTime));
  ASSERT_EQ(session->get(pdu, target, request_done, &n), 0);
  pump_until_called(n);
  for (std::thread& th : threads) th.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(n.seen(), 1);
  EXPECT_EQ(n.value, descr);
}

}  // namespace
