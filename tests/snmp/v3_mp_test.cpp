// SNMPv3 message processing and the user-based security model, driven with
// messages of a peer engine built by hand, so that every field can be wrong.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Address.h"
#include "Clock.h"
#include "OctetStr.h"
#include "mp_v3.h"
#include "snmp_pdu.h"
#include "usm_v3.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char* const kLocal = "VhSNMP_Application";
const char* const kPeer = "peer-engine-01";

struct PduDeleter {
  void operator()(snmp_pdu* pdu) const { snmp_free_pdu(pdu); }
};
using PduPtr = std::unique_ptr<snmp_pdu, PduDeleter>;

PduPtr makePdu(int command, uint32_t reqid) {
  PduPtr pdu(snmp_pdu_create(command));
  pdu->reqid = reqid;
  const SmiUINT32 name[] = {1, 3, 6, 1, 2, 1, 1, 5, 0};
  SmiVALUE null{};
  null.syntax = sNMP_SYNTAX_NULL;
  snmp_add_var(pdu.get(), name, 9, &null);
  return pdu;
}

Bytes scopedPdu(int command, uint32_t reqid, const std::string& contextEngine = "", const std::string& context = "") {
  PduPtr pdu = makePdu(command, reqid);
  unsigned char buffer[512];
  int room = sizeof buffer;
  unsigned char* end = snmp_build_pdu(buffer, &room, pdu.get());
  Bytes content;
  v3AppendElement(content, 0x04, reinterpret_cast<const unsigned char*>(contextEngine.data()), contextEngine.size());
  v3AppendElement(content, 0x04, reinterpret_cast<const unsigned char*>(context.data()), context.size());
  content.insert(content.end(), buffer, end);
  Bytes scoped;
  v3AppendSequence(scoped, content);
  return scoped;
}

// One version 3 message as a peer would send it; every field may be set to anything.
struct Wire {
  int32_t version = 3;
  int32_t msgID = 4711;
  int32_t maxSize = 1500;
  Bytes flags{0x00};
  int32_t model = 3;
  std::string engineID = kPeer;
  int32_t boots = 1;
  int32_t time = 100;
  std::string user = "initial";
  Bytes authParams;
  Bytes privParams;
  Bytes msgData = scopedPdu(sNMP_PDU_RESPONSE, 1);
  Bytes trailingParams;  // extra bytes inside the parameters' SEQUENCE
  // When set, the 12 authentication bytes are computed over the message with this key.
  int authProtocol = SNMP_AUTHPROTOCOL_NONE;
  Bytes authKey;

  Bytes build() const {
    Bytes global, globalSeq;
    v3AppendInt(global, msgID);
    v3AppendInt(global, maxSize);
    v3AppendElement(global, 0x04, flags.data(), flags.size());
    v3AppendInt(global, model);
    v3AppendSequence(globalSeq, global);

    Bytes params;
    v3AppendElement(params, 0x04, reinterpret_cast<const unsigned char*>(engineID.data()), engineID.size());
    v3AppendInt(params, boots);
    v3AppendInt(params, time);
    v3AppendElement(params, 0x04, reinterpret_cast<const unsigned char*>(user.data()), user.size());
    const size_t authOffset = params.size() + 2;
    v3AppendElement(params, 0x04, authParams.data(), authParams.size());
    v3AppendElement(params, 0x04, privParams.data(), privParams.size());
    params.insert(params.end(), trailingParams.begin(), trailingParams.end());
    Bytes paramsSeq;
    v3AppendSequence(paramsSeq, params);

    Bytes content;
    v3AppendInt(content, version);
    content.insert(content.end(), globalSeq.begin(), globalSeq.end());
    v3AppendElement(content, 0x04, paramsSeq.data(), paramsSeq.size());
    const size_t paramsStart = content.size() - paramsSeq.size();
    content.insert(content.end(), msgData.begin(), msgData.end());
    Bytes whole;
    v3AppendSequence(whole, content);
    if (authProtocol != SNMP_AUTHPROTOCOL_NONE) {
      const int position = static_cast<int>(4 + paramsStart + 4 + authOffset);
      auto sign = authProtocol == SNMP_AUTHPROTOCOL_HMACMD5 ? apHMACMD5AuthenticateOutgoingMsg
                                                             : apHMACSHAAuthenticateOutgoingMsg;
      EXPECT_EQ(SNMPv3_USM_OK, sign(authKey.data(), whole.data(), whole.size(), position));
    }
    return whole;
  }

  // authNoPriv with a key localized for `engine`.
  Wire& authenticated(const std::string& password, const std::string& engine) {
    flags[0] |= 0x01;
    authProtocol = SNMP_AUTHPROTOCOL_HMACMD5;
    authKey.resize(16);
    apPasswordToKeyMD5(reinterpret_cast<const unsigned char*>(password.data()), password.size(),
                       reinterpret_cast<const unsigned char*>(engine.data()), engine.size(), authKey.data());
    authParams.assign(12, 0);
    return *this;
  }

  // authPriv: DES over the scoped PDU with a privacy key localized for `engine`.
  Wire& encrypted(const std::string& password, const std::string& engine, uint32_t saltBoots = 1) {
    flags[0] |= 0x03;
    unsigned char key[16];
    apPasswordToKeyMD5(reinterpret_cast<const unsigned char*>(password.data()), password.size(),
                       reinterpret_cast<const unsigned char*>(engine.data()), engine.size(), key);
    unsigned char cipher[2048];
    int length = sizeof cipher;
    privParams.resize(8);
    EXPECT_EQ(SNMPv3_USM_OK, apDESEncryptData(key, 16, saltBoots, msgData.data(), msgData.size(), cipher, &length,
                                              privParams.data()));
    msgData.clear();
    v3AppendElement(msgData, 0x04, cipher, length);
    return *this;
  }
};

struct Parsed {
  int status;
  PduPtr pdu;
  OctetStr engineID, securityName, contextEngineID, contextName;
  int32_t level = 0, model = 0;
};

std::vector<Bytes> g_reports;

int captureReport(Snmp*, unsigned char* bytes, unsigned int length, const UdpAddress&, bool) {
  g_reports.emplace_back(bytes, bytes + length);
  return SNMPv3_MP_OK;
}

class V3Engine : public ::testing::Test {
 protected:
  void SetUp() override { start(5); }
  void TearDown() override {
    mpFinish();
    mpSetReportSender(nullptr);
  }

  void start(uint32_t boots) {
    static int fakeSession;
    mpFinish();
    g_reports.clear();
    mpSetReportSender(captureReport);
    ASSERT_EQ(SNMPv3_MP_OK, mpInit(reinterpret_cast<Snmp*>(&fakeSession), OctetStr(kLocal), boots));
  }

  static Parsed parse(const Bytes& message) {
    Parsed p;
    p.pdu.reset(snmp_pdu_create(0));
    snmp_version version;
    p.status = mpSnmpParse(p.pdu.get(), message.data(), message.size(), p.engineID, p.securityName,
                           p.contextEngineID, p.contextName, p.level, p.model, version, UdpAddress("127.0.0.1/162"));
    return p;
  }

  // Sends a request to the peer engine; returns its msgID.
  static int32_t send(uint32_t reqid, const std::string& engine = kPeer, const char* user = "initial",
                      int level = SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV) {
    PduPtr pdu = makePdu(sNMP_PDU_GET, reqid);
    unsigned char out[SNMP_MSG_LENGTH];
    int length = sizeof out;
    OctetStr id(engine.c_str());
    EXPECT_EQ(SNMPv3_MP_OK, mpSnmpBuild(pdu.get(), out, &length, id, OctetStr(user), 3, level, id, OctetStr("")));
    return parseOwnMsgID(Bytes(out, out + length));
  }

  // The msgID of a message we built, read back from its header.
  static int32_t parseOwnMsgID(const Bytes& message) {
    ByteCursor in(message.data(), message.size()), seq, global;
    unsigned char tag;
    int32_t version, id = -1;
    asn_get_header(in, tag, seq);
    asn_get_int(seq, tag, version);
    asn_get_header(seq, tag, global);
    asn_get_int(global, tag, id);
    return id;
  }

  static int32_t localTime() {
    int32_t boots, time;
    usmGetTime(OctetStr(kLocal), boots, time);
    return time;
  }

  // A peer engine known from the answer to our discovery probe (boots and time 0 until an
  // authenticated message brings its clock).
  static void learnPeer() {
    const int32_t id = send(1);
    Wire report;
    report.msgID = id;
    report.msgData = scopedPdu(sNMP_PDU_REPORT, 1);
    ASSERT_EQ(SNMPv3_MP_OK, parse(report.build()).status);
  }
};

TEST_F(V3Engine, FirstMsgIdFollowsTheBootsAndStaysInRange) {
  struct Case {
    uint32_t boots;
    int32_t first;
  };
  const Case cases[] = {
      {5, 327680},                // 5 << 16
      {0, 1},                     // 0 is not a msgID we hand out
      {32767, 2147418112},        // the last boots below the 32-bit sign bit
      {32768, 1},                 // 2^31 wraps, it does not go negative
      {65535, 2147418113},
      {4294967295u, 65536},       // reduced modulo 2^31-1
  };
  for (const Case& c : cases) EXPECT_EQ(c.first, usmFirstMsgId(c.boots)) << c.boots;

  EXPECT_EQ(327680, send(1));
  EXPECT_EQ(327681, send(2));

  // 2147450879 << 16 is 2147483646 modulo 2^31-1: the next msgID after it is 1.
  start(2147450879u);
  EXPECT_EQ(2147483646, send(1));
  EXPECT_EQ(1, send(2));
}

TEST_F(V3Engine, LocalEngineIdAndEngineIdTable) {
  start(1);
  mpFinish();
  static int fakeSession;
  ASSERT_EQ(SNMPv3_MP_OK, mpInit(reinterpret_cast<Snmp*>(&fakeSession), OctetStr(std::string(40, 'e').c_str()), 1));
  EXPECT_EQ(32, mpGetLocalEngineIDLength());

  OctetStr id;
  EXPECT_EQ(SNMPv3_MP_NOT_INITIALIZED, mpGetFromEngineIDTable(id, OctetStr("10.0.0.1"), 161));
  for (int i = 0; i < 10; ++i) {
    const std::string host = "10.0.0." + std::to_string(i);
    EXPECT_EQ(SNMPv3_MP_OK, mpAddToEngineIDTable(OctetStr(("engine" + std::to_string(i)).c_str()),
                                                 OctetStr(host.c_str()), 161));
  }
  for (int i = 0; i < 10; ++i) {
    ASSERT_EQ(SNMPv3_MP_OK, mpGetFromEngineIDTable(id, OctetStr(("10.0.0." + std::to_string(i) + "/161").c_str())));
    EXPECT_EQ(OctetStr(("engine" + std::to_string(i)).c_str()), id);
  }
  EXPECT_EQ(SNMPv3_MP_OK, mpAddToEngineIDTable(OctetStr("renewed"), OctetStr("10.0.0.3"), 161));
  EXPECT_EQ(SNMPv3_MP_OK, mpGetFromEngineIDTable(id, OctetStr("10.0.0.3"), 161));
  EXPECT_EQ(OctetStr("renewed"), id);
  EXPECT_EQ(SNMPv3_MP_ERROR, mpGetFromEngineIDTable(id, OctetStr("10.0.0.3"), 162));
  EXPECT_EQ(SNMPv3_MP_ERROR, mpGetFromEngineIDTable(id, OctetStr("10.0.0.3 161")));
}

TEST_F(V3Engine, DiscoveryAnswerTeachesTheEngineButUnsolicitedMessagesDoNot) {
  const int usersBefore = usmGetUsmUserCount();
  // Unsolicited requests and responses from ever new engines: each is refused, nothing is remembered.
  for (int i = 0; i < 300; ++i) {
    Wire w;
    w.engineID = "stranger-" + std::to_string(i);
    w.msgID = 90000 + i;
    w.flags = {static_cast<unsigned char>(i % 2 ? 0x04 : 0x00)};
    w.msgData = scopedPdu(i % 2 ? sNMP_PDU_GET : sNMP_PDU_RESPONSE, i);
    EXPECT_EQ(SNMPv3_USM_UNKNOWN_ENGINEID, parse(w.build()).status);
  }
  int32_t boots, time;
  EXPECT_EQ(SNMPv3_USM_UNKNOWN_ENGINEID, usmGetTime(OctetStr("stranger-7"), boots, time));
  EXPECT_EQ(usersBefore, usmGetUsmUserCount()) << "no keys were made for unknown engines";
  EXPECT_EQ(0u, mpGetCacheSize());
  EXPECT_EQ(150u, g_reports.size()) << "the reportable ones are answered with usmStatsUnknownEngineIDs";

  // The report that answers our own probe is how a real agent becomes known.
  learnPeer();
  EXPECT_EQ(SNMPv3_USM_OK, usmGetTime(OctetStr(kPeer), boots, time));

  // With discovery off, not even the answer to our own probe introduces an engine.
  usmUnsetDiscoveryMode();
  Wire report;
  report.engineID = "late-engine";
  report.msgID = send(2, "");
  report.msgData = scopedPdu(sNMP_PDU_REPORT, 2);
  EXPECT_EQ(SNMPv3_USM_UNKNOWN_ENGINEID, parse(report.build()).status);
  EXPECT_EQ(SNMPv3_USM_UNKNOWN_ENGINEID, usmGetTime(OctetStr("late-engine"), boots, time));
}

TEST_F(V3Engine, UnsolicitedRequestsDoNotGrowTheCache) {
  for (int i = 0; i < 200; ++i) {
    Wire w;
    w.engineID = kLocal;
    w.msgID = 1000 + i;
    w.flags = {0x04};
    w.msgData = scopedPdu(sNMP_PDU_GET, i);
    EXPECT_EQ(SNMPv3_MP_OK, parse(w.build()).status);
  }
  EXPECT_EQ(kMpMaxReceivedRequests, mpGetCacheSize());

  // The same request twice: both are accepted, one entry is kept.
  start(5);
  Wire twice;
  twice.engineID = kLocal;
  twice.msgData = scopedPdu(sNMP_PDU_GET, 12);
  EXPECT_EQ(SNMPv3_MP_OK, parse(twice.build()).status);
  EXPECT_EQ(SNMPv3_MP_OK, parse(twice.build()).status);
  EXPECT_EQ(1u, mpGetCacheSize());
}

TEST_F(V3Engine, ResponseMatchingKeepsTheEntryForTheGenuineAnswer) {
  learnPeer();
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("other"), SNMP_AUTHPROTOCOL_NONE, SNMP_PRIVPROTOCOL_NONE,
                                          OctetStr(), OctetStr()));
  const int32_t id = send(77);
  Wire forged;
  forged.msgID = id;
  forged.user = "other";
  forged.msgData = scopedPdu(sNMP_PDU_RESPONSE, 77, kPeer);
  EXPECT_EQ(SNMPv3_MP_MATCH_ERROR, parse(forged.build()).status);

  Wire genuine;
  genuine.msgID = id;
  genuine.msgData = scopedPdu(sNMP_PDU_RESPONSE, 77, kPeer);
  Parsed answer = parse(genuine.build());
  EXPECT_EQ(SNMPv3_MP_OK, answer.status);
  EXPECT_EQ(77u, answer.pdu->reqid);
  EXPECT_EQ(SNMPv3_MP_UNKNOWN_MSGID, parse(genuine.build()).status) << "an answer is taken once";
}

TEST_F(V3Engine, DroppedRequestLeavesTheCache) {
  learnPeer();
  const int32_t id = send(55);
  send(56);
  EXPECT_EQ(2u, mpGetCacheSize());
  mpDeleteCacheEntry(55);  // what the queue does on a time-out, a cancel or a closed session
  EXPECT_EQ(1u, mpGetCacheSize());
  Wire late;
  late.msgID = id;
  late.msgData = scopedPdu(sNMP_PDU_RESPONSE, 55, kPeer);
  EXPECT_EQ(SNMPv3_MP_UNKNOWN_MSGID, parse(late.build()).status);

  // A received request that bears the same request id as ours stays; ours goes.
  Wire theirs;
  theirs.engineID = kLocal;
  theirs.msgData = scopedPdu(sNMP_PDU_GET, 57);
  ASSERT_EQ(SNMPv3_MP_OK, parse(theirs.build()).status);
  const int32_t ours = send(57);
  EXPECT_EQ(3u, mpGetCacheSize());
  mpDeleteCacheEntry(57);
  EXPECT_EQ(2u, mpGetCacheSize());
  late.msgID = ours;
  late.msgData = scopedPdu(sNMP_PDU_RESPONSE, 57, kPeer);
  EXPECT_EQ(SNMPv3_MP_UNKNOWN_MSGID, parse(late.build()).status);
}

TEST_F(V3Engine, RequestCacheHandsEntriesOutOnce) {
  const OctetStr engine(kPeer), name("alice"), context("ctx");
  ASSERT_EQ(SNMPv3_MP_OK, mpAddToCache(7, 70, engine, 3, name, 2, engine, context, nullptr, SNMPv3_MP_OK));
  EXPECT_EQ(SNMPv3_MP_DOUBLED_MESSAGE,
            mpAddToCache(7, 70, engine, 3, name, 2, engine, context, nullptr, SNMPv3_MP_OK));
  auto state = std::make_unique<SecurityStateReference>();
  state->securityName = name;
  ASSERT_EQ(SNMPv3_MP_OK, mpAddToCache(8, 80, engine, 3, name, 1, OctetStr(), OctetStr(), std::move(state),
                                       SNMPv3_USM_UNKNOWN_SECURITY_NAME));
  EXPECT_EQ(2u, mpGetCacheSize());

  MpCacheEntry entry;
  ASSERT_EQ(SNMPv3_MP_OK, mpGetFromCache(7, &entry));
  EXPECT_EQ(70u, entry.reqID);
  EXPECT_EQ(name, entry.securityName);
  EXPECT_EQ(2, entry.securityLevel);
  EXPECT_EQ(context, entry.contextName);
  EXPECT_EQ(nullptr, entry.state);
  EXPECT_EQ(SNMPv3_MP_ERROR, mpGetFromCache(7, &entry)) << "taken once";
  EXPECT_EQ(SNMPv3_MP_ERROR, mpGetFromCache(8, nullptr));

  int error = 0;
  std::unique_ptr<SecurityStateReference> taken;
  ASSERT_EQ(SNMPv3_MP_OK, mpGetFromCache(8, error, taken));
  EXPECT_EQ(SNMPv3_USM_UNKNOWN_SECURITY_NAME, error);
  ASSERT_NE(nullptr, taken);
  EXPECT_EQ(name, taken->securityName);
  EXPECT_EQ(0u, mpGetCacheSize());

  const unsigned char bytes[] = {'a', 0, 'b'};
  std::unique_ptr<unsigned char[]> copy(v3strcpy(bytes, 3));
  ASSERT_NE(nullptr, copy);
  EXPECT_EQ(0, std::memcmp(bytes, copy.get(), 3));
  EXPECT_EQ(0, copy[3]);
  EXPECT_EQ(1, unsignedCharCompare(bytes, 3, copy.get(), 3));
  EXPECT_EQ(0, unsignedCharCompare(bytes, 3, copy.get(), 2));
  EXPECT_EQ(0, unsignedCharCompare(bytes, 1, bytes + 2, 1));
  EXPECT_EQ(1, unsignedCharCompare(nullptr, 0, bytes, 0));
}

TEST_F(V3Engine, TimeWindowOfThePeerEngine) {
  learnPeer();
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("alice"), SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_NONE,
                                          OctetStr("alice-pass"), OctetStr()));
  auto answer = [&](int32_t boots, int32_t time) {
    const int32_t id = send(9, kPeer, "alice", SNMP_SECURITY_LEVEL_AUTH_NOPRIV);
    Wire w;
    w.msgID = id;
    w.user = "alice";
    w.boots = boots;
    w.time = time;
    w.msgData = scopedPdu(sNMP_PDU_REPORT, 9);
    w.authenticated("alice-pass", kPeer);
    return parse(w.build()).status;
  };
  // The authenticated notInTimeWindow report sets the clock; the resend then fits.
  EXPECT_EQ(SNMPv3_MP_OK, answer(7, 5000));
  int32_t boots, time;
  ASSERT_EQ(SNMPv3_USM_OK, usmGetTime(OctetStr(kPeer), boots, time));
  EXPECT_EQ(7, boots);
  EXPECT_NEAR(5000, time, 1);

  const uint32_t before = usmGetStatsNotInTimeWindows();
  EXPECT_EQ(SNMPv3_MP_NOT_IN_TIME_WINDOW, answer(6, 5000)) << "older boots";
  EXPECT_EQ(SNMPv3_MP_NOT_IN_TIME_WINDOW, answer(7, 5000 - 152)) << "more than 150 s behind";
  EXPECT_EQ(SNMPv3_MP_OK, answer(7, 5000 - 148));
  EXPECT_EQ(before + 2, usmGetStatsNotInTimeWindows());

  // The engine clock runs on the monotonic platform clock.
  PlatformClockAdvance(3600 * 1000);
  ASSERT_EQ(SNMPv3_USM_OK, usmGetTime(OctetStr(kPeer), boots, time));
  EXPECT_NEAR(5000 + 3600, time, 2);
}

TEST_F(V3Engine, TimeWindowOfTheLocalEngine) {
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("alice"), SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_NONE,
                                          OctetStr("alice-pass"), OctetStr()));
  PlatformClockAdvance(1000 * 1000);
  auto request = [&](int32_t boots, int32_t time) {
    Wire w;
    w.engineID = kLocal;
    w.user = "alice";
    w.flags = {0x04};
    w.boots = boots;
    w.time = time;
    w.msgData = scopedPdu(sNMP_PDU_GET, 3);
    w.authenticated("alice-pass", kLocal);
    g_reports.clear();
    return parse(w.build()).status;
  };
  EXPECT_EQ(SNMPv3_MP_OK, request(5, localTime() - 149));
  EXPECT_EQ(SNMPv3_MP_OK, request(5, localTime() + 149));
  EXPECT_EQ(SNMPv3_MP_NOT_IN_TIME_WINDOW, request(5, localTime() - 152));
  ASSERT_EQ(1u, g_reports.size()) << "answered with an authenticated usmStatsNotInTimeWindows report";
  Parsed report = parse(g_reports[0]);  // our own report, read back as the peer would: it is no answer of ours
  EXPECT_EQ(SNMPv3_MP_UNKNOWN_MSGID, report.status);
  EXPECT_EQ(SNMPv3_MP_NOT_IN_TIME_WINDOW, request(4, localTime())) << "other boots";
}

TEST_F(V3Engine, UsersAndPassPhrases) {
  EXPECT_EQ(SNMPv3_USM_ERROR, usmAddUserName(OctetStr("empty"), SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_NONE,
                                             OctetStr(""), OctetStr()));
  EXPECT_EQ(SNMPv3_USM_ERROR, usmAddUserName(OctetStr("empty"), SNMP_AUTHPROTOCOL_HMACSHA, SNMP_PRIVPROTOCOL_DES,
                                             OctetStr("auth-pass"), OctetStr("")));
  EXPECT_EQ(nullptr, usmGetUser(OctetStr(kPeer), OctetStr("empty")));

  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("bob"), SNMP_AUTHPROTOCOL_HMACSHA, SNMP_PRIVPROTOCOL_DES,
                                          OctetStr("bob-auth"), OctetStr("bob-priv")));
  const int count = usmGetUsmUserCount();
  std::unique_ptr<UsmUser> first = usmGetUser(OctetStr(kPeer), OctetStr("bob"));
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(20u, first->authKey.size());
  EXPECT_EQ(20u, first->privKey.size());
  EXPECT_EQ(count + 1, usmGetUsmUserCount());

  // The request object adds its user before every request: the same settings keep the keys.
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("bob"), SNMP_AUTHPROTOCOL_HMACSHA, SNMP_PRIVPROTOCOL_DES,
                                          OctetStr("bob-auth"), OctetStr("bob-priv")));
  EXPECT_EQ(count + 1, usmGetUsmUserCount());
  // A new pass phrase drops them; the next use makes new ones.
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("bob"), SNMP_AUTHPROTOCOL_HMACSHA, SNMP_PRIVPROTOCOL_DES,
                                          OctetStr("bob-auth-2"), OctetStr("bob-priv")));
  EXPECT_EQ(count, usmGetUsmUserCount()) << "only the local engine's keys were made again";
  std::unique_ptr<UsmUser> second = usmGetUser(OctetStr(kPeer), OctetStr("bob"));
  ASSERT_NE(nullptr, second);
  EXPECT_FALSE(first->authKey == second->authKey);
}

TEST_F(V3Engine, AuthPrivWithoutPrivacyProtocolIsRefusedBothWays) {
  learnPeer();
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("alice"), SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_NONE,
                                          OctetStr("alice-pass"), OctetStr()));
  PduPtr pdu = makePdu(sNMP_PDU_GET, 1);
  unsigned char out[SNMP_MSG_LENGTH];
  int length = sizeof out;
  EXPECT_EQ(SNMPv3_USM_UNSUPPORTED_SECURITY_LEVEL,
            mpSnmpBuild(pdu.get(), out, &length, OctetStr(kPeer), OctetStr("alice"), 3,
                        SNMP_SECURITY_LEVEL_AUTH_PRIV, OctetStr(kPeer), OctetStr("")));

  Wire w;
  w.engineID = kLocal;
  w.user = "alice";
  w.flags = {0x07};
  w.boots = 5;
  w.time = localTime();
  w.msgData = scopedPdu(sNMP_PDU_GET, 3);
  EXPECT_EQ(SNMPv3_USM_UNSUPPORTED_SECURITY_LEVEL, parse(w.build()).status);
}

// Our own authPriv request read back by ourselves, as the agent for the local engine.
TEST_F(V3Engine, AuthPrivRequestRoundTrip) {
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("carol"), SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_DES,
                                          OctetStr("carol-auth"), OctetStr("carol-priv")));
  PduPtr pdu = makePdu(sNMP_PDU_SET, 31);
  unsigned char out[SNMP_MSG_LENGTH];
  int length = sizeof out;
  ASSERT_EQ(SNMPv3_MP_OK, mpSnmpBuild(pdu.get(), out, &length, OctetStr(kLocal), OctetStr("carol"), 3,
                                      SNMP_SECURITY_LEVEL_AUTH_PRIV, OctetStr(kLocal), OctetStr("ctx")));
  Parsed request = parse(Bytes(out, out + length));
  EXPECT_EQ(SNMPv3_MP_OK, request.status);
  EXPECT_EQ(sNMP_PDU_SET, request.pdu->command);
  EXPECT_EQ(31u, request.pdu->reqid);
  EXPECT_EQ(SNMP_SECURITY_LEVEL_AUTH_PRIV, request.level);
  EXPECT_EQ(OctetStr("carol"), request.securityName);
  EXPECT_EQ(OctetStr("ctx"), request.contextName);

  // The response reuses the request's keys and msgID, and answers our own outstanding request.
  PduPtr response = makePdu(sNMP_PDU_RESPONSE, 31);
  response->msgid = request.pdu->msgid;
  length = sizeof out;
  ASSERT_EQ(SNMPv3_MP_OK, mpSnmpBuild(response.get(), out, &length, OctetStr(kLocal), OctetStr("carol"), 3,
                                      SNMP_SECURITY_LEVEL_AUTH_PRIV, OctetStr(kLocal), OctetStr("ctx")));
  Parsed answer = parse(Bytes(out, out + length));
  EXPECT_EQ(SNMPv3_MP_OK, answer.status);
  EXPECT_EQ(sNMP_PDU_RESPONSE, answer.pdu->command);
  EXPECT_EQ(0u, mpGetCacheSize());
}

// Every field of a received message checked before use: one valid request to
// the local engine (authPriv, user "dave") and one thing wrong in each case.
TEST_F(V3Engine, MalformedMessagesAreRejectedCleanly) {
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("dave"), SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_DES,
                                          OctetStr("dave-auth"), OctetStr("dave-priv")));
  auto valid = [&] {
    Wire w;
    w.engineID = kLocal;
    w.user = "dave";
    w.boots = 5;
    w.time = localTime();
    w.msgData = scopedPdu(sNMP_PDU_GET, 8);
    return w;
  };
  auto sealed = [](Wire w) {
    w.encrypted("dave-priv", kLocal);
    w.authenticated("dave-auth", kLocal);
    return w.build();
  };
  ASSERT_EQ(SNMPv3_MP_OK, parse(sealed(valid())).status);

  struct Case {
    const char* what;
    std::function<Bytes()> message;
    int status;
  };
  const std::vector<Case> cases = {
      {"version 1", [&] { Wire w = valid(); w.version = 1; return sealed(w); }, SNMPv3_MP_PARSE_ERROR},
      {"negative msgID", [&] { Wire w = valid(); w.msgID = -5; return sealed(w); }, SNMPv3_MP_PARSE_ERROR},
      {"msgMaxSize 483", [&] { Wire w = valid(); w.maxSize = 483; return sealed(w); }, SNMPv3_MP_PARSE_ERROR},
      {"two flag bytes", [&] { Wire w = valid(); w.flags = {0, 0}; return w.build(); }, SNMPv3_MP_PARSE_ERROR},
      {"empty flags", [&] { Wire w = valid(); w.flags = {}; return w.build(); }, SNMPv3_MP_PARSE_ERROR},
      {"privacy without authentication", [&] { Wire w = valid(); w.flags = {0x06}; return w.build(); },
       SNMPv3_MP_INVALID_MESSAGE},
      {"security model 2", [&] { Wire w = valid(); w.model = 2; return sealed(w); },
       SNMPv3_MP_UNSUPPORTED_SECURITY_MODEL},
      {"trailing bytes in the parameters", [&] { Wire w = valid(); w.trailingParams = {0x05, 0x00}; return sealed(w); },
       SNMPv3_USM_PARSE_ERROR},
      {"engine id of 33 bytes", [&] { Wire w = valid(); w.engineID = std::string(33, 'x'); return sealed(w); },
       SNMPv3_USM_PARSE_ERROR},
      {"negative boots", [&] { Wire w = valid(); w.boots = -1; return sealed(w); }, SNMPv3_USM_PARSE_ERROR},
      {"negative time", [&] { Wire w = valid(); w.time = -1; return sealed(w); }, SNMPv3_USM_PARSE_ERROR},
      {"unknown user", [&] { Wire w = valid(); w.user = "eve"; return w.build(); }, SNMPv3_USM_UNKNOWN_SECURITY_NAME},
      {"empty engine id", [&] { Wire w = valid(); w.engineID = ""; return w.build(); }, SNMPv3_MP_INVALID_ENGINEID},
      {"empty authentication parameters", [&] {
         Wire w = valid(); w.flags = {0x01}; w.authParams = {}; return w.build(); }, SNMPv3_USM_AUTHENTICATION_ERROR},
      {"11 authentication bytes", [&] {
         Wire w = valid(); w.flags = {0x01}; w.authParams.assign(11, 0); return w.build(); },
       SNMPv3_USM_AUTHENTICATION_ERROR},
      {"wrong key", [&] { Wire w = valid(); w.authenticated("not-dave", kLocal); return w.build(); },
       SNMPv3_USM_AUTHENTICATION_ERROR},
      {"salt of 7 bytes", [&] {
         Wire w = valid(); w.encrypted("dave-priv", kLocal); w.privParams.resize(7); w.authenticated("dave-auth", kLocal);
         return w.build(); }, SNMPv3_USM_DECRYPTION_ERROR},
      {"cipher text not a multiple of 8", [&] {
         Wire w = valid(); w.encrypted("dave-priv", kLocal); w.msgData.pop_back(); w.msgData[1]--;
         w.authenticated("dave-auth", kLocal); return w.build(); }, SNMPv3_USM_DECRYPTION_ERROR},
      {"decrypts to no SEQUENCE", [&] {
         Wire w = valid(); w.msgData = {0x04, 0x01, 0x00}; w.encrypted("dave-priv", kLocal);
         w.authenticated("dave-auth", kLocal); return w.build(); }, SNMPv3_USM_DECRYPTION_ERROR},
      {"encrypted data not an OCTET STRING", [&] {
         Wire w = valid(); w.encrypted("dave-priv", kLocal); w.msgData[0] = 0x30; w.authenticated("dave-auth", kLocal);
         return w.build(); }, SNMPv3_USM_PARSE_ERROR},
      {"scoped PDU not a SEQUENCE", [&] {
         Wire w = valid(); w.user = "initial"; w.msgData = {0x04, 0x00}; return w.build(); }, SNMPv3_MP_PARSE_ERROR},
      {"bindings cut short", [&] {
         Wire w = valid(); w.user = "initial"; w.msgData.resize(w.msgData.size() - 3); return w.build(); },
       SNMPv3_MP_PARSE_ERROR},
      {"more than a UDP datagram", [&] { Bytes b = sealed(valid()); b.resize(SNMP_MAX_DATAGRAM + 1); return b; },
       SNMPv3_MP_ERROR},
      {"a large message with bytes after it", [&] { Bytes b = sealed(valid()); b.resize(3000); return b; },
       SNMPv3_MP_PARSE_ERROR},
      {"a byte after the message", [&] { Bytes b = sealed(valid()); b.push_back(0); return b; },
       SNMPv3_MP_PARSE_ERROR},
  };
  for (const Case& c : cases) {
    const uint32_t wrongDigests = usmGetStatsWrongDigests();
    Parsed p = parse(c.message());
    EXPECT_EQ(c.status, p.status) << c.what;
    if (c.status == SNMPv3_USM_AUTHENTICATION_ERROR) {
      EXPECT_EQ(wrongDigests + 1, usmGetStatsWrongDigests()) << c.what;
    }
  }

  // Every prefix of a valid message is refused without a read past its end.
  const Bytes whole = sealed(valid());
  for (size_t n = 0; n < whole.size(); ++n) {
    Parsed p = parse(Bytes(whole.begin(), whole.begin() + n));
    EXPECT_NE(SNMPv3_MP_OK, p.status) << n;
  }
}

TEST_F(V3Engine, ReportsCarryTheRightCounter) {
  struct Case {
    const char* what;
    Wire wire;
    const char* counter;
    uint32_t reqid;  // of the request when its scoped PDU could be read, else 0
  };
  Wire invalidFlags;
  invalidFlags.engineID = kLocal;
  invalidFlags.flags = {0x06};
  Wire unknownUser;
  unknownUser.engineID = kLocal;
  unknownUser.flags = {0x04};
  unknownUser.user = "eve";
  unknownUser.msgData = scopedPdu(sNMP_PDU_GET, 3);
  Wire unknownEngine;
  unknownEngine.engineID = "";
  unknownEngine.flags = {0x04};
  unknownEngine.msgData = scopedPdu(sNMP_PDU_GET, 3);
  Wire unreadableParams;
  unreadableParams.engineID = kLocal;
  unreadableParams.flags = {0x04};
  unreadableParams.trailingParams = {0x05, 0x00};
  unreadableParams.msgData = scopedPdu(sNMP_PDU_GET, 3);
  const Case cases[] = {
      {"privacy without authentication", invalidFlags, "1.3.6.1.6.3.11.2.1.2.0", 0},
      {"unknown user", unknownUser, "1.3.6.1.6.3.15.1.1.3.0", 3},
      {"discovery probe", unknownEngine, "1.3.6.1.6.3.15.1.1.4.0", 3},
      {"unreadable security parameters", unreadableParams, "1.3.6.1.6.3.11.2.1.2.0", 0},
  };
  for (const Case& c : cases) {
    // A message read just before must leave nothing behind that the report could pick up.
    Wire earlier;
    earlier.engineID = kLocal;
    earlier.msgData = scopedPdu(sNMP_PDU_RESPONSE, 4242, kLocal, "earlier");
    ASSERT_EQ(SNMPv3_MP_UNKNOWN_MSGID, parse(earlier.build()).status);
    g_reports.clear();
    parse(c.wire.build());
    ASSERT_EQ(1u, g_reports.size()) << c.what;
    // Read the report's binding name straight from its scoped PDU (noAuthNoPriv).
    ByteCursor in(g_reports[0].data(), g_reports[0].size()), msg, skip, params, scoped;
    unsigned char tag;
    asn_get_header(in, tag, msg);
    asn_get_header(msg, tag, skip);    // version
    asn_get_header(msg, tag, skip);    // global data
    asn_get_header(msg, tag, params);  // security parameters
    ASSERT_TRUE(asn_get_header(msg, tag, scoped)) << c.what;
    // The report speaks for this engine: a discovery probe learns our engine id from it.
    ByteCursor usm;
    const unsigned char* engine;
    size_t engineLength;
    ASSERT_TRUE(asn_get_header(params, tag, usm) && asn_get_string(usm, tag, engine, engineLength)) << c.what;
    EXPECT_EQ(kLocal, std::string(reinterpret_cast<const char*>(engine), engineLength)) << c.what;
    const unsigned char* context;
    size_t contextLength;
    asn_get_header(scoped, tag, skip);
    ASSERT_TRUE(asn_get_string(scoped, tag, context, contextLength)) << c.what;
    EXPECT_EQ(0u, contextLength) << c.what << ": no context name of an earlier message";
    PduPtr report(snmp_pdu_create(0));
    ASSERT_EQ(0, snmp_parse_pdu(scoped, report.get())) << c.what;
    EXPECT_EQ(sNMP_PDU_REPORT, report->command);
    EXPECT_EQ(c.reqid, report->reqid) << c.what;
    EXPECT_EQ(sNMP_SYNTAX_CNTR32, report->variables->type);
    std::string name;
    for (int i = 0; i < report->variables->name_length; ++i)
      name += (i ? "." : "") + std::to_string(report->variables->name[i]);
    EXPECT_EQ(c.counter, name) << c.what;
  }
  EXPECT_EQ(0u, mpGetCacheSize()) << "a report takes its received entry with it";
}

}  // namespace
