// The session and its event list against a scripted agent on loopback:
// answers, retries and time-outs on the platform clock, request-id matching,
// late and duplicate answers, cancel and close, callbacks that cancel their
// own request or close their session, user timeouts, notification receipt.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Clock.h"
#include "EventList.h"
#include "NotifyQueue.h"
#include "Snmp.h"
#include "SnmpMessage.h"

namespace {

// One request as the agent saw it.
struct Seen {
  unsigned short type;
  unsigned long id;
  std::string community;
  snmp_version version;
  int non_repeaters, max_repetitions;
  std::string first_oid;
};

// A UDP peer on 127.0.0.1 (on a free port unless told one) that decodes what
// it receives and answers on demand.
class FakeAgent {
 public:
  explicit FakeAgent(unsigned short fixed_port = 0) {
    WSADATA data;
    WSAStartup(0x0101, &data);
    sock = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local;
    std::memset(&local, 0, sizeof local);
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    local.sin_port = htons(fixed_port);
    bind(sock, reinterpret_cast<sockaddr*>(&local), sizeof local);
    int length = sizeof local;
    getsockname(sock, reinterpret_cast<sockaddr*>(&local), &length);
    port = ntohs(local.sin_port);
  }
  ~FakeAgent() {
    closesocket(sock);
    WSACleanup();
  }

  std::string address() const { return "127.0.0.1/" + std::to_string(port); }

  // Reads every waiting datagram; with `answer`, answers each one.
  int serve(bool answer, int wait_ms = 0) {
    int count = 0;
    for (;;) {
      fd_set set;
      FD_ZERO(&set);
      FD_SET(sock, &set);
      timeval tv = {wait_ms / 1000, (wait_ms % 1000) * 1000};
      if (select(0, &set, nullptr, nullptr, &tv) <= 0) return count;
      wait_ms = 0;
      unsigned char buffer[4096];
      sockaddr_in from;
      int from_length = sizeof from;
      const int n = recvfrom(sock, reinterpret_cast<char*>(buffer), sizeof buffer, 0,
                             reinterpret_cast<sockaddr*>(&from), &from_length);
      if (n <= 0) continue;
      SnmpMessage message;
      message.load(buffer, static_cast<unsigned long>(n));
      Pdu request;
      OctetStr community;
      snmp_version version;
      if (message.unload(request, community, version) != 0) continue;
      Seen s{request.get_type(), request.get_request_id(), community.get_printable(), version,
             request.get_error_status(), request.get_error_index(),
             request.get_vb_count() ? request[0].get_printable_oid() : ""};
      seen.push_back(s);
      last_from = from;
      last_request = request;
      ++count;
      if (answer) reply(request, community, version, from);
    }
  }

  // Answers `request` (again, or late) with each binding's value set to a
  // text naming the request id.
  void reply(const Pdu& request, const OctetStr& community, snmp_version version, const sockaddr_in& to,
             int error_status = 0) {
    Pdu response;
    for (int i = 0; i < request.get_vb_count(); ++i) {
      Vb vb(request[i].get_oid());
      vb.set_value(("answer " + std::to_string(request.get_request_id())).c_str());
      response += vb;
    }
    response.set_type(sNMP_PDU_RESPONSE);
    set_request_id(&response, request.get_request_id());
    set_error_status(&response, error_status);
    send_pdu(response, community, version, to);
  }

  // Sends the last request back unchanged as its answer, as an agent answers an inform.
  void echo_last() {
    Pdu response(last_request);
    response.set_type(sNMP_PDU_RESPONSE);
    send_pdu(response, OctetStr(seen.back().community.c_str()), seen.back().version, last_from);
  }

  void send_pdu(const Pdu& pdu, const OctetStr& community, snmp_version version, const sockaddr_in& to) {
    SnmpMessage message;
    ASSERT_EQ(message.load(pdu, community, version), 0);
    sendto(sock, reinterpret_cast<const char*>(message.data()), static_cast<int>(message.len()), 0,
           reinterpret_cast<const sockaddr*>(&to), sizeof to);
  }

  void reply_to_last(unsigned long id, int error_status = 0) {
    Pdu request;
    request += Vb(Oid("1.3.6.1.2.1.1.5.0"));
    set_request_id(&request, id);
    reply(request, OctetStr(seen.back().community.c_str()), seen.back().version, last_from, error_status);
  }

  SOCKET sock;
  unsigned short port = 0;
  std::vector<Seen> seen;
  sockaddr_in last_from{};
  Pdu last_request;
};

// While it lives the platform clock all but stands still: what a test adds
// one after the other gets the same time stamp.
struct SlowClock {
  SlowClock() { PlatformClockSetScale(1e-6); }
  ~SlowClock() { PlatformClockSetScale(1); }
};

// What callbacks saw.
struct Outcome {
  int calls = 0;
  int status = 0;
  unsigned long id = 0;
  std::string value;
  // Optional actions inside the callback.
  Snmp** close_session = nullptr;
  bool cancel_own = false;
  int cancel_result = 0;
  int send_result = 1;
  CTarget* send_target = nullptr;
};

void record(int status, Snmp* session, Pdu& pdu, SnmpTarget& target, void* data) {
  Outcome* o = static_cast<Outcome*>(data);
  ++o->calls;
  o->status = status;
  o->id = pdu.get_request_id();
  o->value = pdu.get_vb_count() ? pdu[0].get_printable_value() : "";
  if (o->cancel_own) o->cancel_result = session->cancel(pdu.get_request_id());
  if (o->send_target) {
    Pdu again;
    again += Vb(Oid("1.3.6.1.2.1.1.5.0"));
    o->send_result = session->get(again, *o->send_target, record, o + 1);
  }
  if (o->close_session) {
    delete *o->close_session;
    *o->close_session = nullptr;
  }
  (void)target;
}

Pdu one_binding(const char* oid = "1.3.6.1.2.1.1.5.0") {
  Pdu pdu;
  pdu += Vb(Oid(oid));
  return pdu;
}

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int status = 1;
    session = new Snmp(status, UdpAddress("127.0.0.1/0"));
    ASSERT_EQ(status, 0);
    target = CTarget(UdpAddress(agent.address().c_str()), "public", "private");
    target.set_timeout(100);
    target.set_retry(1);
  }
  void TearDown() override { delete session; }

  // Lets the agent and the event list run until nothing more happens.
  void pump(bool answer) {
    for (int i = 0; i < 5; ++i) {
      agent.serve(answer, 20);
      SNMPProcessPendingEvents();
    }
  }

  FakeAgent agent;
  Snmp* session = nullptr;
  CTarget target;
};

TEST_F(SessionTest, AsynchronousGetIsAnsweredWithMinus6) {
  Outcome o;
  Pdu pdu = one_binding();
  ASSERT_EQ(session->get(pdu, target, record, &o), 0);
  pump(true);
  ASSERT_EQ(o.calls, 1);
  EXPECT_EQ(o.status, SNMP_CLASS_ASYNC_RESPONSE);
  ASSERT_EQ(agent.seen.size(), 1u);
  EXPECT_EQ(agent.seen[0].type, sNMP_PDU_GET);
  EXPECT_EQ(agent.seen[0].community, "public");
  EXPECT_EQ(agent.seen[0].version, version1);
  EXPECT_EQ(o.value, "answer " + std::to_string(agent.seen[0].id));
  EXPECT_EQ(snmpMessageQueue().GetCount(), 0);
}

TEST_F(SessionTest, CommunitiesAndWireTypesByOperation) {
  Outcome o[4];
  Pdu a = one_binding(), b = one_binding(), c = one_binding(), d = one_binding();
  a += Vb(Oid("1.3.6.1.2.1.1.6.0"));
  ASSERT_EQ(session->set(a, target, record, &o[0]), 0);
  ASSERT_EQ(session->get_next(b, target, record, &o[1]), 0);
  ASSERT_EQ(session->get_bulk(c, target, 1, 7, record, &o[2]), 0);  // version 1: a get-next
  target.set_version(version2c);
  ASSERT_EQ(session->get_bulk(d, target, 1, 7, record, &o[3]), 0);
  pump(true);
  ASSERT_EQ(agent.seen.size(), 4u);
  EXPECT_EQ(agent.seen[0].type, sNMP_PDU_SET);
  EXPECT_EQ(agent.seen[0].community, "private");
  EXPECT_EQ(agent.seen[1].type, sNMP_PDU_GETNEXT);
  EXPECT_EQ(agent.seen[1].community, "public");
  EXPECT_EQ(agent.seen[2].type, sNMP_PDU_GETNEXT);
  EXPECT_EQ(agent.seen[2].max_repetitions, 0);
  EXPECT_EQ(agent.seen[3].type, sNMP_PDU_GETBULK);
  EXPECT_EQ(agent.seen[3].version, version2c);
  EXPECT_EQ(agent.seen[3].non_repeaters, 1);
  EXPECT_EQ(agent.seen[3].max_repetitions, 7);
  for (const Outcome& x : o) EXPECT_EQ(x.status, SNMP_CLASS_ASYNC_RESPONSE);
  // Request ids follow each other (the counter starts at a random place and
  // may just have wrapped from 32767 to 1000).
  for (size_t i = 1; i < agent.seen.size(); ++i) {
    const unsigned long expected = agent.seen[i - 1].id == 32767 ? 1000 : agent.seen[i - 1].id + 1;
    EXPECT_EQ(agent.seen[i].id, expected);
  }
}

// An answer keeps at most 50 bindings: a get-bulk asks for no more rows than
// fill them (the first 50 bindings of the answer stay the same), and leaves
// smaller figures, and requests without repeaters, as the caller gave them.
TEST_F(SessionTest, GetBulkAsksForNoMoreRowsThanAnAnswerKeeps) {
  struct Case {
    int bindings, non_repeaters, max_repetitions, sent;
  } const cases[] = {
      {1, 0, 100, 50}, {1, 0, 50, 50}, {1, 0, 10, 10}, {1, 0, 51, 50},  {3, 0, 100, 17}, {3, 1, 100, 25},
      {3, 1, 24, 24},  {2, 5, 100, 100}, {2, -3, 100, 25}, {50, 49, 100, 1}, {50, 0, 100, 1}, {4, 0, 0, 0},
  };
  target.set_version(version2c);
  for (const Case& c : cases) {
    Pdu pdu;
    for (int i = 0; i < c.bindings; ++i) pdu += Vb(Oid(("1.3.6.1.2.1.1." + std::to_string(i + 1)).c_str()));
    Outcome o;
    agent.seen.clear();
    ASSERT_EQ(session->get_bulk(pdu, target, c.non_repeaters, c.max_repetitions, record, &o), 0);
    EXPECT_EQ(pdu.get_error_index(), c.max_repetitions) << "the caller's Pdu keeps the figure it asked for";
    pump(true);
    ASSERT_EQ(agent.seen.size(), 1u);
    EXPECT_EQ(agent.seen[0].type, sNMP_PDU_GETBULK);
    EXPECT_EQ(agent.seen[0].non_repeaters, c.non_repeaters) << c.bindings << " bindings";
    EXPECT_EQ(agent.seen[0].max_repetitions, c.sent)
        << c.bindings << " bindings, " << c.non_repeaters << " non-repeaters, " << c.max_repetitions << " asked";
  }
}

TEST_F(SessionTest, CallbackRulesAndInvalidArguments) {
  Outcome o;
  Pdu pdu = one_binding();
  pdu.set_type(sNMP_PDU_GET_ASYNC);
  EXPECT_EQ(session->snmp_engine(pdu, 0, 0, target, nullptr, nullptr), SNMP_CLASS_INVALID_CALLBACK);
  pdu.set_type(sNMP_PDU_GET);
  EXPECT_EQ(session->snmp_engine(pdu, 0, 0, target, record, &o), SNMP_CLASS_INVALID_CALLBACK);
  CTarget nowhere;
  EXPECT_EQ(session->get(pdu, nowhere, record, &o), SNMP_CLASS_INVALID_TARGET);
  Vb many[51];
  Pdu invalid(many, 51);
  EXPECT_EQ(session->get(invalid, target, record, &o), SNMP_CLASS_INVALID_PDU);
  UTarget v3_as_v1(UdpAddress(agent.address().c_str()), "user", 3);
  v3_as_v1.set_version(version1);
  EXPECT_EQ(session->get(pdu, v3_as_v1, record, &o), SNMP_CLASS_INVALID_TARGET);  // model must be 1 or 2
  CTarget mac(MacAddress("00:01:02:03:04:05"));
  EXPECT_EQ(session->get(pdu, mac, record, &o), SNMP_CLASS_TL_UNSUPPORTED);
  EXPECT_EQ(agent.serve(false, 50), 0);
  EXPECT_EQ(o.calls, 0);
}

TEST_F(SessionTest, RetriesAndTimeOutOnThePlatformClock) {
  Outcome o;
  Pdu pdu = one_binding();
  ASSERT_EQ(session->get(pdu, target, record, &o), 0);
  EXPECT_EQ(agent.serve(false, 200), 1);
  PlatformClockAdvance(900);
  SNMPProcessPendingEvents();
  EXPECT_EQ(agent.serve(false, 50), 0);  // not yet: the time-out is 1 s
  PlatformClockAdvance(200);
  SNMPProcessPendingEvents();
  EXPECT_EQ(agent.serve(false, 200), 1);  // the one retry
  EXPECT_EQ(agent.seen[0].id, agent.seen[1].id);
  EXPECT_EQ(o.calls, 0);
  PlatformClockAdvance(1100);
  SNMPProcessPendingEvents();
  EXPECT_EQ(o.calls, 1);
  EXPECT_EQ(o.status, SNMP_CLASS_TIMEOUT);
  EXPECT_EQ(snmpMessageQueue().GetCount(), 0);
  // The answer that comes now finds nobody.
  agent.reply_to_last(agent.seen[0].id);
  pump(false);
  EXPECT_EQ(o.calls, 1);
}

TEST_F(SessionTest, DuplicateAndStrayAnswersAreDropped) {
  Outcome o;
  Pdu pdu = one_binding();
  ASSERT_EQ(session->get(pdu, target, record, &o), 0);
  agent.serve(true, 200);
  agent.reply_to_last(agent.seen[0].id);      // duplicate
  agent.reply_to_last(agent.seen[0].id + 77);  // an id nobody asked for
  pump(false);
  EXPECT_EQ(o.calls, 1);
  EXPECT_EQ(o.status, SNMP_CLASS_ASYNC_RESPONSE);
}

// A datagram carrying the pending request id answers it only when it is a
// Response: a request, a notification or (outside SNMPv3) a Report does not.
TEST_F(SessionTest, OnlyAResponseAnswersARequest) {
  target.set_version(version2c);
  Outcome o;
  Pdu pdu = one_binding();
  ASSERT_EQ(session->get(pdu, target, record, &o), 0);
  ASSERT_EQ(agent.serve(false, 200), 1);
  const unsigned long id = agent.seen[0].id;
  for (unsigned short type : {sNMP_PDU_GET, sNMP_PDU_GETNEXT, sNMP_PDU_SET, sNMP_PDU_GETBULK, sNMP_PDU_INFORM,
                              sNMP_PDU_TRAP, sNMP_PDU_REPORT}) {
    SCOPED_TRACE(type);
    Pdu forged = one_binding();
    forged.set_type(type);
    set_request_id(&forged, id);
    agent.send_pdu(forged, "public", version2c, agent.last_from);
    pump(false);
    EXPECT_EQ(o.calls, 0);
  }
  agent.reply_to_last(id);
  pump(false);
  EXPECT_EQ(o.calls, 1);
  EXPECT_EQ(o.status, SNMP_CLASS_ASYNC_RESPONSE);
  EXPECT_EQ(o.value, "answer " + std::to_string(id));
}

TEST_F(SessionTest, TwoEqualDeadlinesRetryTheLaterRequestFirst) {
  // Both requests are stamped in the same millisecond and fall due together
  // however loaded the machine is.
  SlowClock slow;
  target.set_timeout(0);  // both due at once
  Outcome first, second;
  Pdu a = one_binding("1.3.6.1.2.1.1.1.0"), b = one_binding("1.3.6.1.2.1.1.2.0");
  ASSERT_EQ(session->get(a, target, record, &first), 0);
  ASSERT_EQ(session->get(b, target, record, &second), 0);
  agent.serve(false, 100);
  agent.seen.clear();
  PlatformClockAdvance(10);
  SNMPProcessPendingEvents();
  agent.serve(false, 100);
  ASSERT_EQ(agent.seen.size(), 2u);
  EXPECT_EQ(agent.seen[0].first_oid, "1.3.6.1.2.1.1.2.0");
  PlatformClockAdvance(10);
  SNMPProcessPendingEvents();
  EXPECT_EQ(first.status, SNMP_CLASS_TIMEOUT);
  EXPECT_EQ(second.status, SNMP_CLASS_TIMEOUT);
}

TEST_F(SessionTest, Cancel) {
  Outcome o;
  Pdu pdu = one_binding();
  ASSERT_EQ(session->get(pdu, target, record, &o), 0);
  agent.serve(false, 200);
  EXPECT_EQ(session->cancel(agent.seen[0].id), 0);
  EXPECT_EQ(session->cancel(agent.seen[0].id), SNMP_CLASS_INVALID_REQID);
  agent.reply_to_last(agent.seen[0].id);
  pump(false);
  PlatformClockAdvance(5000);
  SNMPProcessPendingEvents();
  EXPECT_EQ(o.calls, 0);
}

TEST_F(SessionTest, ClosingTheSessionReportsMinus8AndRefusesNewRequests) {
  Outcome o[2];
  o[0].send_target = &target;  // tries to send on the dying session
  Pdu pdu = one_binding();
  ASSERT_EQ(session->get(pdu, target, record, &o[0]), 0);
  delete session;
  session = nullptr;
  EXPECT_EQ(o[0].calls, 1);
  EXPECT_EQ(o[0].status, SNMP_CLASS_SESSION_DESTROYED);
  EXPECT_EQ(o[0].send_result, SNMP_CLASS_SESSION_DESTROYED);
  EXPECT_EQ(o[1].calls, 0);
  EXPECT_EQ(snmpMessageQueue().GetCount(), 0);
}

TEST_F(SessionTest, ACallbackMayCancelItsOwnRequestOrCloseItsSession) {
  Outcome cancels;
  cancels.cancel_own = true;
  Pdu pdu = one_binding();
  ASSERT_EQ(session->get(pdu, target, record, &cancels), 0);
  pump(true);
  EXPECT_EQ(cancels.calls, 1);
  EXPECT_EQ(cancels.cancel_result, SNMP_CLASS_INVALID_REQID);  // it is no longer outstanding

  // On time-out as well.
  Outcome cancels_on_timeout;
  cancels_on_timeout.cancel_own = true;
  target.set_retry(0);
  ASSERT_EQ(session->get(pdu, target, record, &cancels_on_timeout), 0);
  PlatformClockAdvance(1100);
  SNMPProcessPendingEvents();
  EXPECT_EQ(cancels_on_timeout.status, SNMP_CLASS_TIMEOUT);

  // The session closes inside the answer's callback; its other request gets -8.
  Outcome closes[2], other;
  closes[0].close_session = &session;
  Pdu a = one_binding(), b = one_binding("1.3.6.1.2.1.1.6.0");
  ASSERT_EQ(session->get(a, target, record, &closes[0]), 0);
  ASSERT_EQ(session->get(b, target, record, &other), 0);
  agent.serve(false, 200);
  agent.reply_to_last(agent.seen[agent.seen.size() - 2].id);
  pump(false);
  EXPECT_EQ(session, nullptr);
  EXPECT_EQ(closes[0].status, SNMP_CLASS_ASYNC_RESPONSE);
  EXPECT_EQ(other.status, SNMP_CLASS_SESSION_DESTROYED);
  EXPECT_EQ(snmpMessageQueue().GetCount(), 0);
}

TEST_F(SessionTest, SynchronousRequests) {
  Pdu pdu = one_binding();
  // The agent answers from a thread of its own while the caller blocks.
  std::thread peer([&] { agent.serve(true, 2000); });
  EXPECT_EQ(session->get(pdu, target), 0);
  peer.join();
  EXPECT_EQ(pdu.get_type(), sNMP_PDU_RESPONSE);
  ASSERT_EQ(pdu.get_vb_count(), 1);
  EXPECT_EQ(std::string(pdu[0].get_printable_value()), "answer " + std::to_string(agent.seen[0].id));

  // The agent's error status is the result.
  std::thread failing([&] {
    agent.serve(false, 2000);
    agent.reply_to_last(agent.seen.back().id, SNMP_ERROR_NOT_WRITEABLE);
  });
  Pdu set_pdu = one_binding();
  EXPECT_EQ(session->set(set_pdu, target), SNMP_ERROR_NOT_WRITEABLE);
  failing.join();

  // Unanswered: sent twice, then -5 (the platform clock runs 50 times faster).
  PlatformClockSetScale(50);
  Pdu lost = one_binding();
  const size_t before = agent.seen.size();
  EXPECT_EQ(session->get(lost, target), SNMP_CLASS_TIMEOUT);
  PlatformClockSetScale(1);
  agent.serve(false, 100);
  EXPECT_EQ(agent.seen.size() - before, 2u);
  // Without an answer the caller's Pdu still holds its request.
  ASSERT_EQ(lost.get_vb_count(), 1);
  EXPECT_STREQ(lost[0].get_printable_oid(), "1.3.6.1.2.1.1.5.0");
  EXPECT_EQ(lost.get_type(), sNMP_PDU_GET);
}

TEST_F(SessionTest, BindingAPortInUse) {
  FakeAgent holder;
  int status = 0;
  Snmp* second = new Snmp(status, UdpAddress(("127.0.0.1/" + std::to_string(holder.port)).c_str()));
  EXPECT_EQ(status, SNMP_CLASS_TL_IN_USE);
  delete second;  // closes nothing of anybody's
  EXPECT_EQ(holder.serve(false), 0);
  Outcome o;
  Pdu pdu = one_binding();
  EXPECT_EQ(session->get(pdu, target, record, &o), 0);
  pump(true);
  EXPECT_EQ(o.calls, 1);
}

// What an inform's answer gave its callback.
struct Answered {
  int status = 0;
  Pdu pdu;
};

void keep_answer(int status, Snmp*, Pdu& pdu, SnmpTarget&, void* data) {
  Answered* a = static_cast<Answered*>(data);
  a->status = status;
  a->pdu = pdu;
}

// The answer to an inform repeats sysUpTime.0 and snmpTrapOID.0 before the
// bindings: the callback, or the caller of a synchronous inform (whose Pdu
// the answer goes into directly), gets them back as the notification fields.
TEST_F(SessionTest, AnInformsAnswerGivesBackItsNotificationFields) {
  auto inform_pdu = [] {
    Pdu inform = one_binding("1.3.6.1.2.1.1.6.0");
    inform.set_notify_id(coldStartOid());
    inform.set_notify_timestamp(TimeTicks(4242ul));
    return inform;
  };
  auto expect_fields = [](const Pdu& answer, const char* how) {
    ASSERT_EQ(answer.get_vb_count(), 1) << how;
    EXPECT_STREQ(answer[0].get_printable_oid(), "1.3.6.1.2.1.1.6.0") << how;
    Oid id;
    answer.get_notify_id(id);
    EXPECT_EQ(id, coldStartOid()) << how;
    TimeTicks ts;
    answer.get_notify_timestamp(ts);
    EXPECT_EQ(static_cast<unsigned long>(ts), 4242ul) << how;
  };

  Pdu inform = inform_pdu();
  Answered a;
  ASSERT_EQ(session->inform(inform, target, keep_answer, &a), 0);
  ASSERT_EQ(agent.serve(false, 200), 1);
  EXPECT_EQ(agent.seen.back().type, sNMP_PDU_INFORM);
  EXPECT_EQ(agent.last_request.get_vb_count(), 3);
  agent.echo_last();
  for (int i = 0; i < 100 && a.status == 0; ++i) {
    SNMPProcessEvents();
    SNMPProcessPendingEvents();
  }
  EXPECT_EQ(a.status, SNMP_CLASS_ASYNC_RESPONSE);
  expect_fields(a.pdu, "asynchronous");

  Pdu sync_inform = inform_pdu();
  std::thread peer([&] {
    if (agent.serve(false, 2000) == 1) agent.echo_last();
  });
  EXPECT_EQ(session->inform(sync_inform, target), 0);
  peer.join();
  EXPECT_EQ(sync_inform.get_type(), sNMP_PDU_RESPONSE);
  expect_fields(sync_inform, "synchronous");
}

// Run in a network namespace of its own: what a target without a port sends
// where (0 when all is as expected; each miss is reported on stderr).
int default_port_misses() {
  FakeAgent agent(SNMP_DEFAULT_PORT), manager(SNMP_TRAP_PORT);
  Outcome outcomes[2];  // outlive the session, whose close reports -8 to them
  int status = 1;
  Snmp session(status, UdpAddress("127.0.0.1/0"));
  int misses = 0;
  const auto expect = [&misses](bool ok, const char* what) {
    if (!ok) std::fprintf(stderr, "default ports: %s\n", what);
    misses += !ok;
  };
  expect(status == 0, "session");
  const IpAddress plain("127.0.0.1");
  const UdpAddress port_zero("127.0.0.1");
  const Address* addresses[] = {&plain, &port_zero};
  for (int i = 0; i < 2; ++i) {
    CTarget target(*addresses[i], "public", "private");
    target.set_retry(0);
    Pdu get = one_binding(), set = one_binding(), inform = one_binding(), trap = one_binding();
    trap.set_notify_id(coldStartOid());
    expect(session.get(get, target, record, &outcomes[i]) == 0, "get");
    expect(session.set(set, target, record, &outcomes[i]) == 0, "set");
    expect(session.inform(inform, target, record, &outcomes[i]) == 0, "inform");
    expect(session.trap(trap, target) == 0, "trap");
    agent.serve(false, 200);
    manager.serve(false, 200);
  }
  expect(agent.seen.size() == 4 && manager.seen.size() == 4, "four messages on each port");
  for (size_t i = 0; i + 1 < agent.seen.size(); i += 2) {
    expect(agent.seen[i].type == sNMP_PDU_GET && agent.seen[i].community == "public", "get to 161, read community");
    expect(agent.seen[i + 1].type == sNMP_PDU_SET && agent.seen[i + 1].community == "private",
           "set to 161, write community");
  }
  for (size_t i = 0; i + 1 < manager.seen.size(); i += 2) {
    expect(manager.seen[i].type == sNMP_PDU_INFORM, "inform to 162");
    expect(manager.seen[i + 1].type == sNMP_PDU_V1TRAP, "trap to 162");
  }
  return misses;
}

// Ports 161 and 162 are taken only inside a private network namespace, made
// by a child process of the test.
TEST(SnmpDefaultPorts, RequestsGoTo161InformsAndTrapsTo162) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (unshare(CLONE_NEWNET) != 0 || std::system("ip link set lo up 2>/dev/null") != 0) _exit(77);
    _exit(default_port_misses() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no private network namespace here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the child's misses are on stderr";
}

TEST(SnmpErrorMsg, Table) {
  const struct {
    int status;
    const char* text;
  } cases[] = {
      {0, "Success"},
      {2, "SNMP: Variable does not exist!"},
      {17, "SNMP: Cannot create/set variable, Not Writable!"},
      {18, "SNMP: Cannot create variable, Inconsistent Name!"},
      {19, "SNMP: Unknown Error Status!"},
      {1399, "SNMP: Unknown Error Status!"},
      {-5, "SNMP: SNMP request timed out!"},
      {-8, "SNMP: Closing session with outstanding requests!"},
      {-9, "Unknown error code!"},
      {-23, "SNMP: Blocked Mode Shutdown!"},
      {-100, "Unknown error code!"},
      {-1400, "SNMPv3: v3MP error!"},
      {-1401, "SNMPv3: v3MP ok!"},
      {-1418, "SNMPv3: Report sent!"},
      {-5000, "SNMPv3: Report sent!"},
      {1400, "SNMPv3: USM: ok!"},
      {1413, "SNMPv3: USM: Unsupported PrivProtocol!"},
      {1415, "SNMPv3: USM: unknown errorcode!"},
  };
  for (const auto& c : cases) EXPECT_STREQ(Snmp::error_msg(c.status), c.text) << c.status;
  EXPECT_STREQ(Snmp::error_msg(Oid("1.3.6.1.6.3.15.1.1.4.0")), "SNMPv3: USM: Unknown EngineID!");
  EXPECT_STREQ(Snmp::error_msg(Oid("1.3.6.1.6.3.12.1.5.0")), "SNMPv3: Unknown Context!");
  EXPECT_STREQ(Snmp::error_msg(Oid("1.3.6")), "SNMP: Unknown Error Status!");
}

TEST(SnmpNotifyTimestamp, KeepsTheLow32BitsOfTheHundredths) {
  // Since 2001 the hundredths exceed 2^31; the value must still be the
  // count modulo 2^32 (computed without overflow).
  const int64_t now_ms = snmp_now_ms();
  const uint64_t expect = static_cast<uint64_t>((now_ms / 1000 - 989518848) * 100 + (now_ms % 1000) / 10);
  const uint32_t got = snmp_notify_timestamp_now();
  EXPECT_LE(static_cast<uint32_t>(got - static_cast<uint32_t>(expect)), 100u);
}

// ---- user timeouts ------------------------------------------------------------------

struct TimeoutLog {
  std::vector<int> ids;
  int remove_self = 0;
};

void on_timeout(void* data, int id) {
  TimeoutLog* log = static_cast<TimeoutLog*>(data);
  log->ids.push_back(id);
  if (log->remove_self) SNMPRemoveTimeout(id);
}

TEST(UserTimeouts, RunOnceInListOrder) {
  // Both zero-delay timeouts fall due in the same millisecond, or they would
  // come out by due time rather than in list order on a loaded machine.
  SlowClock slow;
  TimeoutLog log;
  const int a = SNMPAddTimeout(0, on_timeout, &log);
  const int b = SNMPAddTimeout(0, on_timeout, &log);
  const int later = SNMPAddTimeout(60000, on_timeout, &log);
  EXPECT_NE(a, b);
  SNMPProcessPendingEvents();
  ASSERT_EQ(log.ids.size(), 2u);
  EXPECT_EQ(log.ids[0], b);  // the one added later first
  EXPECT_EQ(log.ids[1], a);
  SNMPProcessPendingEvents();
  EXPECT_EQ(log.ids.size(), 2u);
  SNMPRemoveTimeout(later);
  SNMPRemoveTimeout(12345);  // not present: nothing changes
  PlatformClockAdvance(61000);
  SNMPProcessPendingEvents();
  EXPECT_EQ(log.ids.size(), 2u);
  EXPECT_EQ(SNMPGetTimeoutTicks(), -1);
}

TEST(UserTimeouts, ACallbackMayRemoveItsOwnTimeout) {
  TimeoutLog log;
  log.remove_self = 1;
  SNMPAddTimeout(0, on_timeout, &log);
  SNMPAddTimeout(0, on_timeout, &log);
  SNMPProcessPendingEvents();
  EXPECT_EQ(log.ids.size(), 2u);
}

// ---- msec ------------------------------------------------------------------------------

TEST(Msec, ArithmeticAndOrder) {
  msec t;
  timeval tv = {1000, 500000};
  t = tv;
  t += 600L;
  EXPECT_EQ(t.get_seconds(), 1001);
  EXPECT_EQ(t.get_millis(), 100);
  t -= 200L;
  EXPECT_EQ(t.get_seconds(), 1000);
  EXPECT_EQ(t.get_millis(), 900);
  msec inf;
  inf.SetInfinite();
  EXPECT_TRUE(t < inf);
  EXPECT_TRUE(inf > t);
  EXPECT_FALSE(inf < t);
  inf += 5000L;
  inf -= 5000L;
  EXPECT_TRUE(inf.IsInfinite());
  timeval delta;
  t.GetDelta(inf, delta);
  EXPECT_EQ(delta.tv_sec, 1000000000);
  msec later(t);
  later += 1250L;
  t.GetDelta(later, delta);
  EXPECT_EQ(delta.tv_sec, 1);
  EXPECT_EQ(delta.tv_usec, 250000);
  later.GetDelta(t, delta);
  EXPECT_EQ(delta.tv_sec, 0);
  EXPECT_EQ(delta.tv_usec, 0);
  // Past January 2038 the seconds still count.
  timeval y2040 = {2208988800LL, 0};
  msec far;
  far = y2040;
  far += 1000L;
  EXPECT_EQ(far.get_seconds(), 2208988801LL);
  EXPECT_TRUE(t < far);
  EXPECT_EQ(std::string(far.get_printable()).size(), 12u);  // "HH:MM:SS.mmm"
}

}  // namespace
