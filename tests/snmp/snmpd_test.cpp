// The session against net-snmp's snmpd: versions 1 and 2c, get, get-next,
// get-bulk and set, synchronous and asynchronous, and the agent's errors.
#include <gtest/gtest.h>

#include <string>

#include "SnmpdHarness.h"
#include "SnmpWalk.h"
#include "EventList.h"
#include "Snmp.h"
#include "auth_priv.h"
#include "mp_v3.h"
#include "usm_v3.h"

namespace {

const char* const kSysDescr = "1.3.6.1.2.1.1.1.0";
const char* const kSysContact = "1.3.6.1.2.1.1.4.0";

class SnmpdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    agent = SnmpdHarness::Shared();
    ASSERT_NE(agent, nullptr);
    int status = 1;
    session = new Snmp(status, UdpAddress("127.0.0.1/0"));
    ASSERT_EQ(status, 0);
    address = UdpAddress(("127.0.0.1/" + std::to_string(agent->port())).c_str());
  }
  void TearDown() override { delete session; }

  CTarget target(snmp_version version, const char* read = "public", const char* write = "private") {
    CTarget t(address, read, write);
    t.set_version(version);
    t.set_timeout(100);
    t.set_retry(1);
    return t;
  }

  std::string tool(const std::string& name, const std::string& args, const std::string& tail) {
    std::string out = agent->RunTool(name, args, tail);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    if (out.size() >= 2 && out.front() == '"' && out.back() == '"') out = out.substr(1, out.size() - 2);
    return out;
  }

  SnmpdHarness* agent = nullptr;
  Snmp* session = nullptr;
  UdpAddress address;
};

TEST_F(SnmpdTest, SynchronousGetAndGetNextInBothVersions) {
  const std::string descr = tool("snmpget", "-v2c -c public -Oqv", kSysDescr);
  for (snmp_version version : {version1, version2c}) {
    SCOPED_TRACE(version);
    CTarget t = target(version);
    Pdu pdu;
    pdu += Vb(Oid(kSysDescr));
    ASSERT_EQ(session->get(pdu, t), 0);
    ASSERT_EQ(pdu.get_vb_count(), 1);
    EXPECT_EQ(std::string(pdu[0].get_printable_value()), descr);

    Pdu next;
    next += Vb(Oid("1.3.6.1.2.1.1"));
    ASSERT_EQ(session->get_next(next, t), 0);
    EXPECT_STREQ(next[0].get_printable_oid(), kSysDescr);
  }
}

TEST_F(SnmpdTest, GetBulkAndItsVersionOneFallback) {
  CTarget v2 = target(version2c);
  Pdu pdu;
  pdu += Vb(Oid("1.3.6.1.2.1.1"));
  ASSERT_EQ(session->get_bulk(pdu, v2, 0, 5), 0);
  EXPECT_EQ(pdu.get_vb_count(), 5);
  EXPECT_STREQ(pdu[0].get_printable_oid(), kSysDescr);
  // The same walk as net-snmp's own tool gives.
  const std::string walk = tool("snmpbulkget", "-v2c -c public -Cn0 -Cr5 -On", "1.3.6.1.2.1.1");
  EXPECT_NE(walk.find(std::string(".") + pdu[4].get_printable_oid()), std::string::npos) << walk;

  CTarget v1 = target(version1);
  Pdu one;
  one += Vb(Oid("1.3.6.1.2.1.1"));
  ASSERT_EQ(session->get_bulk(one, v1, 0, 5), 0);
  EXPECT_EQ(one.get_vb_count(), 1);  // sent as a get-next
}

// The agent's get-bulk answers run to a few kilobytes; at 100 repetitions they
// hold more bindings than a Pdu keeps, and the walk goes on after the last one
// kept. Both walks must give exactly net-snmp's list.
TEST_F(SnmpdTest, BulkWalkOfTheWholeTreeMatchesSnmpbulkwalk) {
  const std::string output = agent->RunTool("snmpbulkwalk", "-v2c -c public -On -Cr50", ".1");
  const std::vector<std::string> theirs = WithoutLiveTables(OidsOfNetSnmpWalk(output));
  ASSERT_GT(theirs.size(), 200u);
  for (int repetitions : {50, 100}) {
    SCOPED_TRACE(repetitions);
    CTarget t = target(version2c);
    SnmpWalkResult ours = SnmpBulkWalk(*session, t, repetitions);
    EXPECT_EQ(ours.status, 0);
    ours.oids = WithoutLiveTables(ours.oids);
    EXPECT_EQ(ours.oids.size(), theirs.size());
    size_t same = 0;
    while (same < ours.oids.size() && same < theirs.size() && ours.oids[same] == theirs[same]) ++same;
    EXPECT_EQ(same, theirs.size()) << "first difference: ours "
                                   << (same < ours.oids.size() ? ours.oids[same] : "(end)") << ", theirs "
                                   << (same < theirs.size() ? theirs[same] : "(end)") << " after "
                                   << (same ? theirs[same - 1] : "(start)") << "\n"
                                   << output.substr(output.size() > 600 ? output.size() - 600 : 0);
  }
}

TEST_F(SnmpdTest, SetAndTheAgentsErrors) {
  CTarget t = target(version2c);
  Pdu set;
  Vb contact{Oid(kSysContact)};
  contact.set_value("trellian test");
  set += contact;
  ASSERT_EQ(session->set(set, t), 0);
  EXPECT_EQ(tool("snmpget", "-v2c -c public -Oqv", kSysContact), "trellian test");

  Pdu read_only;
  Vb descr{Oid(kSysDescr)};
  descr.set_value("nope");
  read_only += descr;
  EXPECT_EQ(session->set(read_only, t), SNMP_ERROR_NOT_WRITEABLE);

  CTarget v1 = target(version1);
  Pdu missing;
  missing += Vb(Oid("1.3.6.1.2.1.1.99.0"));
  EXPECT_EQ(session->get(missing, v1), SNMP_ERROR_NO_SUCH_NAME);
  EXPECT_EQ(missing.get_error_index(), 1);

  Pdu exception;
  exception += Vb(Oid("1.3.6.1.2.1.1.99.0"));
  EXPECT_EQ(session->get(exception, t), 0);
  EXPECT_EQ(exception[0].get_syntax(), static_cast<SmiUINT32>(sNMP_SYNTAX_NOSUCHOBJECT));

  // A community the agent does not know gets no answer at all.
  CTarget stranger = target(version2c, "stranger", "stranger");
  stranger.set_timeout(20);
  stranger.set_retry(0);
  Pdu ignored;
  ignored += Vb(Oid(kSysDescr));
  EXPECT_EQ(session->get(ignored, stranger), SNMP_CLASS_TIMEOUT);
}

struct Answer {
  int calls = 0;
  int status = 0;
  int error_status = 0;
  std::string value;
};

void on_answer(int status, Snmp*, Pdu& pdu, SnmpTarget&, void* data) {
  Answer* a = static_cast<Answer*>(data);
  ++a->calls;
  a->status = status;
  a->error_status = pdu.get_error_status();
  a->value = pdu.get_vb_count() ? pdu[0].get_printable_value() : "";
}

TEST_F(SnmpdTest, AsynchronousRequests) {
  CTarget t = target(version2c);
  Answer get, set, bad;
  Pdu a, b, c;
  a += Vb(Oid(kSysDescr));
  Vb contact{Oid(kSysContact)};
  contact.set_value("async contact");
  b += contact;
  Vb descr{Oid(kSysDescr)};
  descr.set_value("nope");
  c += descr;
  ASSERT_EQ(session->get(a, t, on_answer, &get), 0);
  ASSERT_EQ(session->set(b, t, on_answer, &set), 0);
  ASSERT_EQ(session->set(c, t, on_answer, &bad), 0);
  for (int i = 0; i < 500 && (get.calls + set.calls + bad.calls) < 3; ++i) {
    SNMPProcessEvents();
    SNMPProcessPendingEvents();
  }
  EXPECT_EQ(get.status, SNMP_CLASS_ASYNC_RESPONSE);
  EXPECT_EQ(get.value, tool("snmpget", "-v2c -c public -Oqv", kSysDescr));
  EXPECT_EQ(set.status, SNMP_CLASS_ASYNC_RESPONSE);
  EXPECT_EQ(set.error_status, 0);
  EXPECT_EQ(bad.status, SNMP_CLASS_ASYNC_RESPONSE);
  EXPECT_EQ(bad.error_status, SNMP_ERROR_NOT_WRITEABLE);
  EXPECT_EQ(tool("snmpget", "-v2c -c public -Oqv", kSysContact), "async contact");
}

}  // namespace

// SNMPv3 through the session: engine discovery by report, the time-window
// report and the resend happen inside one call, synchronous or not.
class SnmpdV3Test : public SnmpdTest {
 protected:
  void SetUp() override {
    SnmpdTest::SetUp();
    ASSERT_EQ(mpInit(session, OctetStr("VhSNMP_Application"), 1), SNMPv3_MP_OK);
    ASSERT_EQ(usmAddUserName(OctetStr("authMD5"), SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_NONE,
                             OctetStr("authpass123"), OctetStr("")),
              SNMPv3_USM_OK);
  }
  void TearDown() override {
    mpFinish();
    SnmpdTest::TearDown();
  }
  UTarget user() {
    UTarget t(address, "authMD5", SNMP_SECURITY_MODEL_USM);
    t.set_timeout(100);
    t.set_retry(1);
    return t;
  }
  Pdu request() {
    Pdu pdu;
    pdu += Vb(Oid(kSysDescr));
    pdu.set_security_level(SNMP_SECURITY_LEVEL_AUTH_NOPRIV);
    return pdu;
  }
};

TEST_F(SnmpdV3Test, SynchronousAndAsynchronousGet) {
  const std::string descr = tool("snmpget", "-v2c -c public -Oqv", kSysDescr);
  UTarget t = user();
  Pdu pdu = request();
  ASSERT_EQ(session->get(pdu, t), 0);
  ASSERT_EQ(pdu.get_vb_count(), 1);
  EXPECT_EQ(std::string(pdu[0].get_printable_value()), descr);
  EXPECT_GT(t.get_engine_id().len(), 0u);  // learnt on the way

  UTarget fresh = user();  // knows no engine id yet: the table does
  Answer a;
  Pdu async = request();
  ASSERT_EQ(session->get(async, fresh, on_answer, &a), 0);
  for (int i = 0; i < 500 && a.calls == 0; ++i) {
    SNMPProcessEvents();
    SNMPProcessPendingEvents();
  }
  EXPECT_EQ(a.calls, 1);
  EXPECT_EQ(a.status, SNMP_CLASS_ASYNC_RESPONSE);
  EXPECT_EQ(a.value, descr);
}

// An agent that answers every try with a discovery report (here: a target
// bound to an engine id the agent does not have) gets a bounded number of
// tries, and the report reaches the callback.
TEST_F(SnmpdV3Test, RepeatedReportsEndAfterTheAttemptsAllowed) {
  const auto unknown_engine_reports = [&] {
    return std::stoul("0" + tool("snmpget", "-v2c -c public -Oqv", "1.3.6.1.6.3.15.1.1.4.0"));
  };
  const unsigned long before = unknown_engine_reports();
  UTarget t = user();
  t.set_engine_id("not-the-agent");
  Answer a;
  Pdu async = request();
  ASSERT_EQ(session->get(async, t, on_answer, &a), 0);
  for (int i = 0; i < 300; ++i) {
    SNMPProcessEvents();
    SNMPProcessPendingEvents();
  }
  EXPECT_EQ(a.calls, 1);
  EXPECT_EQ(snmpMessageQueue().GetCount(), 0);
  // The reports name the agent's real engine, so they match no request: that
  // is the failure, not an answer.
  EXPECT_EQ(a.status, SNMPv3_MP_MATCH_ERROR);
  const unsigned long async_reports = unknown_engine_reports() - before;
  EXPECT_GE(async_reports, 1u);
  EXPECT_LE(async_reports, 2u) << "a resend storm";

  Pdu sync = request();
  UTarget again = user();
  again.set_engine_id("not-the-agent");
  EXPECT_EQ(session->get(sync, again), SNMPv3_MP_MATCH_ERROR);
  EXPECT_EQ(sync.get_type(), sNMP_PDU_REPORT);
  EXPECT_LE(unknown_engine_reports() - before, 4u);
}
