// Notification receipt: the shared socket on the listen port, the filters,
// and traps and informs sent by net-snmp's snmptrap and snmpinform.
#include <dirent.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Clock.h"
#include "SnmpdHarness.h"
#include "EventList.h"
#include "NotifyQueue.h"
#include "Snmp.h"

namespace {

struct Received {
  int calls = 0;
  int status = 0;
  std::string trap_id;
  std::string community;
  std::vector<std::string> values;
};

void on_notification(int status, Snmp*, Pdu& pdu, SnmpTarget& target, void* data) {
  Received* r = static_cast<Received*>(data);
  ++r->calls;
  r->status = status;
  Oid id;
  pdu.get_notify_id(id);
  r->trap_id = id.get_printable();
  if (target.get_type() == type_ctarget) r->community = static_cast<CTarget&>(target).get_readcommunity();
  r->values.clear();
  for (int i = 0; i < pdu.get_vb_count(); ++i) r->values.push_back(pdu[i].get_printable_value());
}

int open_descriptors() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d)) ++n;
    closedir(d);
  }
  return n;
}

unsigned short free_port() {
  SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in local;
  std::memset(&local, 0, sizeof local);
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local);
  int length = sizeof local;
  getsockname(s, reinterpret_cast<sockaddr*>(&local), &length);
  closesocket(s);
  return ntohs(local.sin_port);
}

class NotifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int status = 1;
    session = new Snmp(status, UdpAddress("127.0.0.1/0"));
    ASSERT_EQ(status, 0);
    sender = new Snmp(status, UdpAddress("127.0.0.1/0"));
    ASSERT_EQ(status, 0);
    port = free_port();
    CNotifyEventQueue::set_listen_port(port);
    to_us = CTarget(UdpAddress(("127.0.0.1/" + std::to_string(port)).c_str()), "public", "public");
    to_us.set_version(version2c);
  }
  void TearDown() override {
    delete session;
    delete sender;
  }

  void send_trap(const char* trap_oid, CTarget& target) {
    Pdu pdu;
    Vb vb(Oid("1.3.6.1.2.1.1.5.0"));
    vb.set_value("value");
    pdu += vb;
    pdu.set_notify_id(Oid(trap_oid));
    ASSERT_EQ(sender->trap(pdu, target), 0);
  }

  void pump() {
    for (int i = 0; i < 20; ++i) {
      SNMPProcessPendingEvents();
      Sleep(5);
    }
  }

  Snmp* session = nullptr;
  Snmp* sender = nullptr;
  unsigned short port = 0;
  CTarget to_us;
  SnmpCollection<Oid> no_ids;
  SnmpCollection<SnmpTarget> no_targets;
};

TEST_F(NotifyTest, TheSocketLivesWithTheRegistrations) {
  Received r;
  EXPECT_EQ(snmpNotifyQueue().get_notify_fd(), -1);
  ASSERT_EQ(session->notify_register(no_ids, no_targets, on_notification, &r), 0);
  EXPECT_GE(snmpNotifyQueue().get_notify_fd(), 0);
  // Registering again replaces the earlier registration.
  ASSERT_EQ(session->notify_register(no_ids, no_targets, on_notification, &r), 0);
  EXPECT_EQ(snmpNotifyQueue().GetCount(), 1);
  send_trap("1.3.6.1.6.3.1.1.5.1", to_us);
  pump();
  EXPECT_EQ(r.calls, 1);
  EXPECT_EQ(r.status, SNMP_CLASS_NOTIFICATION);
  EXPECT_EQ(r.trap_id, "1.3.6.1.6.3.1.1.5.1");
  EXPECT_EQ(r.community, "public");
  ASSERT_EQ(r.values.size(), 3u);  // sysUpTime.0, snmpTrapOID.0, ours
  EXPECT_EQ(r.values[2], "value");
  EXPECT_EQ(session->notify_unregister(), 0);
  EXPECT_EQ(snmpNotifyQueue().get_notify_fd(), -1);
  ASSERT_EQ(session->notify_register(no_ids, no_targets, on_notification, &r), 0);
  EXPECT_GE(snmpNotifyQueue().get_notify_fd(), 0);
}

TEST_F(NotifyTest, Filters) {
  Received all, cold_only, from_private, from_public;
  Snmp a, b, c;  // unbound sessions serve as registration keys only
  SnmpCollection<Oid> cold;
  cold += coldStartOid();
  SnmpCollection<SnmpTarget> private_sender, public_sender;
  private_sender += CTarget(IpAddress("127.0.0.1"), "secret", "secret");
  public_sender += CTarget(IpAddress("127.0.0.1"), "public", "public");
  ASSERT_EQ(session->notify_register(no_ids, no_targets, on_notification, &all), 0);
  ASSERT_EQ(a.notify_register(cold, no_targets, on_notification, &cold_only), 0);
  ASSERT_EQ(b.notify_register(no_ids, private_sender, on_notification, &from_private), 0);
  ASSERT_EQ(c.notify_register(no_ids, public_sender, on_notification, &from_public), 0);
  send_trap("1.3.6.1.6.3.1.1.5.3", to_us);  // linkDown
  pump();
  EXPECT_EQ(all.calls, 1);
  EXPECT_EQ(cold_only.calls, 0);
  EXPECT_EQ(from_private.calls, 0);
  EXPECT_EQ(from_public.calls, 1);
  send_trap("1.3.6.1.6.3.1.1.5.1", to_us);  // coldStart
  pump();
  EXPECT_EQ(all.calls, 2);
  EXPECT_EQ(cold_only.calls, 1);
  SnmpCollection<Oid> ids;
  SnmpCollection<SnmpTarget> targets;
  EXPECT_EQ(a.get_notify_filter(ids, targets), 0);
  ASSERT_EQ(ids.size(), 1);
  EXPECT_STREQ(ids[0].get_printable(), "1.3.6.1.6.3.1.1.5.1");
  EXPECT_EQ(targets.size(), 0);
  a.notify_unregister();
  b.notify_unregister();
  c.notify_unregister();
}

TEST_F(NotifyTest, AFailedBindLeavesNoSocketBehind) {
  SOCKET holder = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in local;
  std::memset(&local, 0, sizeof local);
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  local.sin_port = htons(port);
  ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
  Received r;
  const int before = open_descriptors();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(session->notify_register(no_ids, no_targets, on_notification, &r), -21);
  EXPECT_EQ(open_descriptors(), before);
  EXPECT_EQ(snmpNotifyQueue().get_notify_fd(), -1);
  EXPECT_EQ(snmpNotifyQueue().GetCount(), 0);
  closesocket(holder);
  EXPECT_EQ(session->notify_register(no_ids, no_targets, on_notification, &r), 0);
}

TEST_F(NotifyTest, TrapsAndInformsFromNetSnmp) {
  Received r;
  ASSERT_EQ(session->notify_register(no_ids, no_targets, on_notification, &r), 0);
  const std::string to = " 127.0.0.1:" + std::to_string(port) + " ''";
  int status = -1;
  RunCommand("snmptrap -v 2c -c public" + to + " 1.3.6.1.6.3.1.1.5.4 1.3.6.1.2.1.1.5.0 s peer 2>&1", &status);
  ASSERT_EQ(status, 0);
  pump();
  EXPECT_EQ(r.calls, 1);
  EXPECT_EQ(r.trap_id, "1.3.6.1.6.3.1.1.5.4");
  ASSERT_EQ(r.values.size(), 3u);
  EXPECT_EQ(r.values[2], "peer");

  RunCommand("snmptrap -v 1 -c public" + to + " 127.0.0.1 0 0 '' 2>&1", &status);  // v1 coldStart
  ASSERT_EQ(status, 0);
  pump();
  EXPECT_EQ(r.calls, 2);
  EXPECT_EQ(r.trap_id, "1.3.6.1.6.3.1.1.5.1");

  // An inform waits for an answer that nobody here sends: it is delivered
  // all the same, and a trap-id filter sees its snmpTrapOID.
  Snmp warm_only;
  Received warm;
  SnmpCollection<Oid> ids;
  ids += warmStartOid();
  ASSERT_EQ(warm_only.notify_register(ids, no_targets, on_notification, &warm), 0);
  std::thread inform([&] {
    RunCommand("snmpinform -v 2c -c public -t 1 -r 0" + to + " 1.3.6.1.6.3.1.1.5.2 2>&1");
  });
  for (int i = 0; i < 200 && r.calls < 3; ++i) {
    SNMPProcessPendingEvents();
    Sleep(10);
  }
  inform.join();
  EXPECT_EQ(r.calls, 3);
  EXPECT_EQ(r.trap_id, "1.3.6.1.6.3.1.1.5.2");
  EXPECT_EQ(warm.calls, 1);
  warm_only.notify_unregister();
}

}  // namespace
