// SNMPv3 through the session against net-snmp's snmpd: get and set at every
// security level the agent offers, synchronous and asynchronous, with engine
// discovery and clock synchronisation done by the session's resend rule.
#include <gtest/gtest.h>

#include <string>

#include "EventList.h"
#include "Snmp.h"
#include "SnmpdHarness.h"
#include "mp_v3.h"
#include "usm_v3.h"

namespace {

const char* const kSysName = "1.3.6.1.2.1.1.5.0";
const char* const kSysContact = "1.3.6.1.2.1.1.4.0";

struct Level {
  const char* user;
  int authProtocol;
  int privProtocol;
  int level;
};

const Level kLevels[] = {
    {"noauth", SNMP_AUTHPROTOCOL_NONE, SNMP_PRIVPROTOCOL_NONE, SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV},
    {"authMD5", SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_NONE, SNMP_SECURITY_LEVEL_AUTH_NOPRIV},
    {"authSHA", SNMP_AUTHPROTOCOL_HMACSHA, SNMP_PRIVPROTOCOL_NONE, SNMP_SECURITY_LEVEL_AUTH_NOPRIV},
    {"privDES", SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_DES, SNMP_SECURITY_LEVEL_AUTH_PRIV},
};

class V3Session : public ::testing::Test {
 protected:
  void SetUp() override {
    agent = SnmpdHarness::Shared();
    ASSERT_NE(agent, nullptr);
    int status = 1;
    session = new Snmp(status, UdpAddress("127.0.0.1/0"));
    ASSERT_EQ(0, status);
    ASSERT_EQ(SNMPv3_MP_OK, mpInit(session, OctetStr("VhSNMP_Application"), 1));
    address = UdpAddress(("127.0.0.1/" + std::to_string(agent->port())).c_str());
  }
  void TearDown() override {
    delete session;
    mpFinish();
  }

  UTarget target(const Level& l, const char* authPass = "authpass123") {
    EXPECT_EQ(SNMPv3_USM_OK,
              usmAddUserName(OctetStr(l.user), l.authProtocol, l.privProtocol,
                             OctetStr(l.authProtocol == SNMP_AUTHPROTOCOL_NONE ? "" : authPass),
                             OctetStr(l.privProtocol == SNMP_PRIVPROTOCOL_NONE ? "" : "privpass123")));
    UTarget t(address, l.user, SNMP_SECURITY_MODEL_USM);
    t.set_version(version3);
    t.set_timeout(100);
    t.set_retry(1);
    return t;
  }

  std::string contactSeenByNetSnmp() {
    std::string out = agent->RunTool("snmpget", "-v2c -c public -Oqv", kSysContact);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
  }

  SnmpdHarness* agent = nullptr;
  Snmp* session = nullptr;
  UdpAddress address;
};

TEST_F(V3Session, SynchronousGetAndSetAtEveryLevel) {
  for (const Level& l : kLevels) {
    SCOPED_TRACE(l.user);
    UTarget t = target(l);
    Pdu get;
    get.set_security_level(l.level);
    get += Vb(Oid(kSysName));
    ASSERT_EQ(0, session->get(get, t));
    ASSERT_EQ(1, get.get_vb_count());
    EXPECT_EQ(static_cast<SmiUINT32>(sNMP_SYNTAX_OCTETS), get[0].get_syntax());

    const std::string contact = std::string("sync v3 ") + l.user;
    Pdu set;
    set.set_security_level(l.level);
    Vb vb{Oid(kSysContact)};
    vb.set_value(contact.c_str());
    set += vb;
    ASSERT_EQ(0, session->set(set, t));
    EXPECT_EQ("\"" + contact + "\"", contactSeenByNetSnmp());
  }
  EXPECT_EQ(0u, mpGetCacheSize());
}

struct Outcome {
  int calls = 0;
  int status = 0;
  int errorStatus = 0;
  std::string value;
};

void onAnswer(int status, Snmp*, Pdu& pdu, SnmpTarget&, void* data) {
  Outcome* o = static_cast<Outcome*>(data);
  ++o->calls;
  o->status = status;
  o->errorStatus = pdu.get_error_status();
  o->value = pdu.get_vb_count() ? pdu[0].get_printable_value() : "";
}

TEST_F(V3Session, AsynchronousGetAndSetAtEveryLevel) {
  for (const Level& l : kLevels) {
    SCOPED_TRACE(l.user);
    UTarget t = target(l);
    const std::string contact = std::string("async v3 ") + l.user;
    Outcome got, set;
    Pdu get;
    get.set_security_level(l.level);
    get += Vb(Oid(kSysName));
    ASSERT_EQ(0, session->get(get, t, onAnswer, &got));
    for (int i = 0; i < 1000 && !got.calls; ++i) SNMPProcessEvents();
    EXPECT_EQ(1, got.calls);
    EXPECT_EQ(SNMP_CLASS_ASYNC_RESPONSE, got.status);
    EXPECT_EQ(0, got.errorStatus);

    Pdu write;
    write.set_security_level(l.level);
    Vb vb{Oid(kSysContact)};
    vb.set_value(contact.c_str());
    write += vb;
    ASSERT_EQ(0, session->set(write, t, onAnswer, &set));
    for (int i = 0; i < 1000 && !set.calls; ++i) SNMPProcessEvents();
    EXPECT_EQ(1, set.calls);
    EXPECT_EQ(SNMP_CLASS_ASYNC_RESPONSE, set.status);
    EXPECT_EQ(contact, set.value);
    EXPECT_EQ("\"" + contact + "\"", contactSeenByNetSnmp());
  }
  EXPECT_EQ(0u, mpGetCacheSize());
}

TEST_F(V3Session, WrongPassPhraseGivesTheMappedUsmStatus) {
  UTarget t = target(kLevels[1], "not-the-pass-phrase");
  Pdu get;
  get.set_security_level(SNMP_SECURITY_LEVEL_AUTH_NOPRIV);
  get += Vb(Oid(kSysName));
  const int status = session->get(get, t);
  // The agent answers with a usmStatsWrongDigests report.
  EXPECT_EQ(SNMP_CLASS_SUCCESS, status) << Snmp::error_msg(status);
  ASSERT_EQ(1, get.get_vb_count());
  EXPECT_STREQ("1.3.6.1.6.3.15.1.1.5.0", get[0].get_printable_oid());
  EXPECT_EQ(sNMP_PDU_REPORT, get.get_type());
  EXPECT_STREQ(Snmp::error_msg(SNMPv3_USM_AUTHENTICATION_FAILURE), Snmp::error_msg(get[0].get_oid()));
}

}  // namespace
