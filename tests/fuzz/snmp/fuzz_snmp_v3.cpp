// SNMPv3 message processing and security parameters on arbitrary bytes.
//
// The first byte chooses what the rest is:
//   0: a whole datagram, parsed as it came;
//   1: a scoped PDU, sealed by us into a valid authPriv (DES) request from a known user;
//   2: the same with IDEA privacy, under SHA authentication;
//   3: a scoped PDU in a valid authNoPriv request.
// Modes 1-3 get past the digest check, which random bytes never pass, so the
// decryption and scoped-PDU parsing behind it are reached too.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Address.h"
#include "OctetStr.h"
#include "mp_v3.h"
#include "snmp_pdu.h"
#include "usm_v3.h"

namespace {

const char* const kLocal = "VhSNMP_Application";

int dropReport(Snmp*, unsigned char*, unsigned int, const UdpAddress&, bool) { return SNMPv3_MP_OK; }

void parse(const unsigned char* data, size_t size) {
  snmp_pdu* pdu = snmp_pdu_create(0);
  OctetStr engine, name, contextEngine, context;
  int32_t level, model;
  snmp_version version;
  mpSnmpParse(pdu, data, static_cast<int>(size), engine, name, contextEngine, context, level, model, version,
              UdpAddress("127.0.0.1/161"));
  snmp_free_pdu(pdu);
}

void sealAndParse(const char* user, int level, const unsigned char* scoped, size_t size) {
  if (size > 1800) return;
  static int32_t msgID = 1;
  std::vector<unsigned char> fields, global;
  const unsigned char flags = (level == SNMP_SECURITY_LEVEL_AUTH_PRIV ? 0x03 : 0x01) | 0x04;
  v3AppendInt(fields, msgID++);
  v3AppendInt(fields, 2048);
  v3AppendElement(fields, 0x04, &flags, 1);
  v3AppendInt(fields, 3);
  v3AppendSequence(global, fields);
  unsigned char message[SNMP_MSG_LENGTH];
  int length = sizeof message;
  if (usmGenerateMsg(global.data(), global.size(), 2048, OctetStr(kLocal), OctetStr(user), level, scoped,
                     static_cast<int>(size), nullptr, message, &length) == SNMPv3_USM_OK)
    parse(message, length);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static int fakeSession;
  mpInit(reinterpret_cast<Snmp*>(&fakeSession), OctetStr(kLocal), 3);
  mpSetReportSender(dropReport);
  usmAddUserName(OctetStr("fuzzdes"), SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_DES, OctetStr("authpass123"),
                 OctetStr("privpass123"));
  usmAddUserName(OctetStr("fuzzidea"), SNMP_AUTHPROTOCOL_HMACSHA, SNMP_PRIVPROTOCOL_IDEA, OctetStr("authpass123"),
                 OctetStr("privpass123"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const unsigned char* rest = data + 1;
  const size_t restSize = size - 1;
  switch (data[0] % 4) {
    case 0: parse(rest, restSize); break;
    case 1: sealAndParse("fuzzdes", SNMP_SECURITY_LEVEL_AUTH_PRIV, rest, restSize); break;
    case 2: sealAndParse("fuzzidea", SNMP_SECURITY_LEVEL_AUTH_PRIV, rest, restSize); break;
    case 3: sealAndParse("fuzzdes", SNMP_SECURITY_LEVEL_AUTH_NOPRIV, rest, restSize); break;
  }
  return 0;
}
