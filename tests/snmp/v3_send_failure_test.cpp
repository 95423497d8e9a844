// A version 3 request whose datagram cannot leave must not stay in the
// message-processing cache: nothing will ever answer or time it out.
#include <gtest/gtest.h>

#include <csignal>

#include "Address.h"
#include "OctetStr.h"
#include "Snmp.h"
#include "Target.h"
#include "mp_v3.h"
#include "usm_v3.h"

// The platform's sockets layer has no shutdown; the C library's is reached directly.
extern "C" int shutdown(int fd, int how);
constexpr int kShutWrite = 1;

namespace {

void ignoreCallback(int, Snmp*, Pdu&, SnmpTarget&, void*) {}

TEST(V3SendFailure, FailedSendLeavesNoCacheEntry) {
  std::signal(SIGPIPE, SIG_IGN);
  int status = 1;
  Snmp* session = new Snmp(status, UdpAddress("127.0.0.1/0"));
  ASSERT_EQ(0, status);
  ASSERT_EQ(SNMPv3_MP_OK, mpInit(session, OctetStr("VhSNMP_Application"), 1));
  // A socket shut for writing refuses every datagram (an unconnected one also says ENOTCONN).
  shutdown(session->get_socket(), kShutWrite);

  UTarget target(UdpAddress("127.0.0.1/9"), "initial", SNMP_SECURITY_MODEL_USM);
  target.set_version(version3);
  target.set_timeout(10);
  target.set_retry(0);
  for (bool async : {false, true}) {
    Pdu pdu;
    pdu.set_security_level(SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV);
    pdu += Vb(Oid("1.3.6.1.2.1.1.4.0"));
    const size_t before = mpGetCacheSize();
    EXPECT_EQ(SNMP_CLASS_TL_FAILED, async ? session->get(pdu, target, ignoreCallback, nullptr) : session->get(pdu, target))
        << async;
    EXPECT_EQ(before, mpGetCacheSize()) << async;
  }
  delete session;
  mpFinish();
}

}  // namespace
