#include "mp_v3.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "Address.h"
#include "OctetStr.h"
#include "asn1.h"
#include "snmp_pdu.h"
#include "usm_v3.h"

namespace {

constexpr size_t kMaxLocalEngineIdLength = 32;
constexpr size_t kMaxEngineIdTableEntries = 256;
constexpr int32_t kMaxMsgId = 2147483647;
constexpr int kMinMaxMessageSize = 484;

struct EngineIdEntry {
  OctetStr engineID;
  OctetStr host;
  int port;
};

using CacheEntry = MpCacheEntry;

struct MpState {
  bool initialised = false;
  OctetStr localEngineID;
  Snmp* session = nullptr;
  int32_t nextMsgID = 1;
  bool engineTableCreated = false;
  std::vector<EngineIdEntry> engineIDs;
  std::vector<CacheEntry> cache;  // in order of arrival
  uint32_t unknownSecurityModels = 0;
  uint32_t invalidMsgs = 0;
  uint32_t unknownPDUHandlers = 0;
  MpReportSender reportSender = nullptr;
};

MpState& mp() {
  static MpState state;
  return state;
}

bool isRequestType(int type) {
  return type == sNMP_PDU_GET || type == sNMP_PDU_GETNEXT || type == sNMP_PDU_SET || type == sNMP_PDU_GETBULK ||
         type == sNMP_PDU_INFORM;
}

// Requests and notifications: they start a new exchange and take a new msgID.
bool startsExchange(int type) { return isRequestType(type) || type == sNMP_PDU_V1TRAP || type == sNMP_PDU_TRAP; }

bool sameOrEmpty(const OctetStr& received, const OctetStr& cached) {
  return cached.len() == 0 || received == cached;
}

std::vector<CacheEntry>::iterator findSent(int32_t msgID) {
  auto& cache = mp().cache;
  return std::find_if(cache.begin(), cache.end(), [&](const CacheEntry& e) { return e.msgID == msgID && !e.state; });
}

std::vector<CacheEntry>::iterator findReceived(int32_t msgID) {
  auto& cache = mp().cache;
  return std::find_if(cache.begin(), cache.end(), [&](const CacheEntry& e) { return e.msgID == msgID && e.state; });
}

int addToCache(CacheEntry entry) {
  auto& cache = mp().cache;
  for (const CacheEntry& e : cache) {
    if ((e.state != nullptr) == (entry.state != nullptr) && e.msgID == entry.msgID && e.reqID == entry.reqID && e.securityEngineID == entry.securityEngineID &&
        e.securityModel == entry.securityModel && e.securityName == entry.securityName &&
        e.securityLevel == entry.securityLevel && e.contextEngineID == entry.contextEngineID &&
        e.contextName == entry.contextName)
      return SNMPv3_MP_DOUBLED_MESSAGE;  // the entry's state reference is freed with it
  }
  // Bounded per kind; the oldest entry of the kind gives way.
  const bool received = entry.state != nullptr;
  auto sameKind = [received](const CacheEntry& e) { return (e.state != nullptr) == received; };
  if (static_cast<size_t>(std::count_if(cache.begin(), cache.end(), sameKind)) >=
      (received ? kMpMaxReceivedRequests : kMpMaxSentRequests))
    cache.erase(std::find_if(cache.begin(), cache.end(), sameKind));
  cache.push_back(std::move(entry));
  return SNMPv3_MP_OK;
}

int32_t takeMsgID() {
  MpState& s = mp();
  int32_t id = s.nextMsgID;
  s.nextMsgID = id >= kMaxMsgId - 1 ? 1 : id + 1;
  return id;
}

bool parseContext(ByteCursor& scoped, OctetStr& contextEngineID, OctetStr& contextName) {
  unsigned char tag;
  const unsigned char* bytes;
  size_t length;
  if (!asn_get_string(scoped, tag, bytes, length) || tag != 0x04) return false;
  contextEngineID.set_data(bytes, length);
  if (!asn_get_string(scoped, tag, bytes, length) || tag != 0x04) return false;
  contextName.set_data(bytes, length);
  return true;
}

// The scoped PDU: SEQUENCE { contextEngineID, contextName, PDU }. Bytes after the
// SEQUENCE (the padding of a decrypted scoped PDU) are ignored.
bool parseScopedPDU(const unsigned char* bytes, int length, snmp_pdu* pdu, OctetStr& contextEngineID,
                    OctetStr& contextName) {
  if (length <= 0) return false;
  ByteCursor all(bytes, static_cast<size_t>(length)), scoped;
  unsigned char tag;
  if (!asn_get_header(all, tag, scoped) || tag != 0x30) return false;
  if (!parseContext(scoped, contextEngineID, contextName)) return false;
  return snmp_parse_pdu(scoped, pdu) == 0 && scoped.empty();
}

struct ReportCounter {
  const char* oid;
  uint32_t value;
  bool levelAsReceived;
};

ReportCounter chooseReportCounter(int errorCode, bool& modelAsReceived, bool& nameInitial) {
  modelAsReceived = true;
  nameInitial = false;
  switch (errorCode) {
    case SNMPv3_USM_UNSUPPORTED_SECURITY_LEVEL:
      return {"1.3.6.1.6.3.15.1.1.1.0", usmGetStatsUnsupportedSecLevels(), false};
    case SNMPv3_USM_UNKNOWN_SECURITY_NAME:
      return {"1.3.6.1.6.3.15.1.1.3.0", usmGetStatsUnknownUserNames(), false};
    case SNMPv3_USM_DECRYPTION_ERROR:
      return {"1.3.6.1.6.3.15.1.1.6.0", usmGetStatsDecryptionErrors(), false};
    case SNMPv3_USM_AUTHENTICATION_ERROR:
    case SNMPv3_USM_AUTHENTICATION_FAILURE:
      return {"1.3.6.1.6.3.15.1.1.5.0", usmGetStatsWrongDigests(), false};
    case SNMPv3_USM_PARSE_ERROR:
    case SNMPv3_MP_INVALID_MESSAGE:
      return {"1.3.6.1.6.3.11.2.1.2.0", mp().invalidMsgs, true};
    case SNMPv3_USM_UNKNOWN_ENGINEID:
    case SNMPv3_MP_INVALID_ENGINEID:
      return {"1.3.6.1.6.3.15.1.1.4.0", usmGetStatsUnknownEngineIDs(), true};
    case SNMPv3_USM_NOT_IN_TIME_WINDOW:
    case SNMPv3_MP_NOT_IN_TIME_WINDOW:
      return {"1.3.6.1.6.3.15.1.1.2.0", usmGetStatsNotInTimeWindows(), true};
    case SNMPv3_MP_UNSUPPORTED_SECURITY_MODEL:
      modelAsReceived = false;
      return {"1.3.6.1.6.3.11.2.1.1.0", mp().unknownSecurityModels, false};
    default:
      modelAsReceived = false;
      nameInitial = true;
      return {"1.3.6.1.6.3.11.2.1.2.0", mp().invalidMsgs, false};
  }
}

bool addCounterBinding(snmp_pdu* pdu, const char* dotted, uint32_t value) {
  SmiUINT32 name[16];
  int length = 0;
  for (const char* p = dotted; *p && length < 16; ++length) {
    name[length] = static_cast<SmiUINT32>(std::strtoul(p, const_cast<char**>(&p), 10));
    if (*p == '.') ++p;
  }
  SmiVALUE counter{};
  counter.syntax = sNMP_SYNTAX_CNTR32;
  counter.value.uNumber = value;
  return snmp_add_var(pdu, name, length, &counter) != nullptr;
}

}  // namespace

void v3DebugLog(int, const char*, ...) {}

// ---- local engine ------------------------------------------------------------

int mpInit(Snmp* session, const OctetStr& engine_id, unsigned int engine_boots) {
  if (!session) return SNMPv3_MP_ERROR;
  MpState& s = mp();
  s.localEngineID.set_data(engine_id.data(), std::min<size_t>(engine_id.len(), kMaxLocalEngineIdLength));
  s.session = session;
  s.initialised = true;
  return usmInit(engine_boots, &s.nextMsgID) == SNMPv3_USM_OK ? SNMPv3_MP_OK : SNMPv3_MP_ERROR;
}

int mpFinish() {
  MpState& s = mp();
  s.initialised = false;
  s.session = nullptr;
  s.localEngineID.set_data(nullptr, 0);
  {
    std::lock_guard<std::recursive_mutex> lock(mpEngineIDTableLock());
    s.engineIDs.clear();
    s.engineTableCreated = false;
  }
  s.cache.clear();
  usmFinish();
  return SNMPv3_MP_OK;
}

int mpGetLocalEngineID(OctetStr& engine_id) {
  if (!mp().initialised) return SNMPv3_MP_ERROR;
  engine_id = mp().localEngineID;
  return SNMPv3_MP_OK;
}

unsigned char* mpGetLocalEngineID() { return mp().localEngineID.data(); }
int mpGetLocalEngineIDLength() { return static_cast<int>(mp().localEngineID.len()); }

void mpSetReportSender(MpReportSender sender) { mp().reportSender = sender; }

// ---- engine-id table ---------------------------------------------------------

std::recursive_mutex& mpEngineIDTableLock() {
  static std::recursive_mutex lock;
  return lock;
}

int mpAddToEngineIDTable(const OctetStr& engine_id, const OctetStr& host, int port) {
  std::lock_guard<std::recursive_mutex> lock(mpEngineIDTableLock());
  MpState& s = mp();
  s.engineTableCreated = true;
  for (EngineIdEntry& e : s.engineIDs) {
    if (e.port == port && e.host == host) {
      e.engineID = engine_id;
      return SNMPv3_MP_OK;
    }
  }
  // Every agent that answers in version 3 lands here; the oldest gives way.
  if (s.engineIDs.size() >= kMaxEngineIdTableEntries) s.engineIDs.erase(s.engineIDs.begin());
  s.engineIDs.push_back({engine_id, host, port});
  return SNMPv3_MP_OK;
}

int mpGetFromEngineIDTable(OctetStr& engine_id, const OctetStr& host, int port) {
  std::lock_guard<std::recursive_mutex> lock(mpEngineIDTableLock());
  MpState& s = mp();
  if (!s.engineTableCreated) return SNMPv3_MP_NOT_INITIALIZED;
  for (const EngineIdEntry& e : s.engineIDs) {
    if (e.port == port && e.host == host) {
      engine_id = e.engineID;
      return SNMPv3_MP_OK;
    }
  }
  return SNMPv3_MP_ERROR;
}

int mpGetFromEngineIDTable(OctetStr& engine_id, const OctetStr& address) {
  const std::string text(reinterpret_cast<const char*>(address.data()), address.len());
  const size_t slash = text.find('/');
  if (slash == std::string::npos) return SNMPv3_MP_ERROR;
  const int port = static_cast<int>(std::strtol(text.c_str() + slash + 1, nullptr, 10));
  return mpGetFromEngineIDTable(engine_id, OctetStr(text.substr(0, slash).c_str()), port);
}

// ---- request cache -----------------------------------------------------------

void mpDeleteCacheEntry(unsigned long req_id) {
  auto& cache = mp().cache;
  // Only our own requests end here; a received request that happens to bear the same id is not ours to drop.
  auto it = std::find_if(cache.begin(), cache.end(),
                         [&](const CacheEntry& e) { return e.reqID == req_id && !e.state; });
  if (it != cache.end()) cache.erase(it);
}

size_t mpGetCacheSize() { return mp().cache.size(); }

int mpAddToCache(int32_t msg_id, uint32_t req_id, const OctetStr& security_engine_id, int security_model,
                 const OctetStr& security_name, int security_level, const OctetStr& context_engine_id,
                 const OctetStr& context_name, std::unique_ptr<SecurityStateReference> state, int error_code) {
  return addToCache({msg_id, req_id, security_engine_id, security_model, security_name, security_level,
                     context_engine_id, context_name, std::move(state), error_code});
}

int mpGetFromCache(int32_t msg_id, MpCacheEntry* entry) {
  auto& cache = mp().cache;
  auto it = std::find_if(cache.begin(), cache.end(), [&](const CacheEntry& e) { return e.msgID == msg_id; });
  if (!entry || it == cache.end()) return SNMPv3_MP_ERROR;
  *entry = std::move(*it);
  cache.erase(it);
  return SNMPv3_MP_OK;
}

int mpGetFromCache(int32_t msg_id, int& error_code, std::unique_ptr<SecurityStateReference>& state) {
  MpCacheEntry entry;
  if (mpGetFromCache(msg_id, &entry) != SNMPv3_MP_OK) return SNMPv3_MP_ERROR;
  error_code = entry.errorCode;
  state = std::move(entry.state);
  return SNMPv3_MP_OK;
}

// ---- messages ----------------------------------------------------------------

int mpTestV3(const unsigned char* message, int length) {
  if (!message || length <= 0) return 0;
  ByteCursor in(message, static_cast<size_t>(length)), seq;
  unsigned char tag;
  int32_t version;
  return asn_get_header(in, tag, seq) && tag == 0x30 && asn_get_int(seq, tag, version) && tag == 0x02 &&
                 version == 3
             ? 1
             : 0;
}

int mpSnmpBuild(snmp_pdu* pdu, unsigned char* out, int* out_length, const OctetStr& security_engine_id,
                const OctetStr& security_name, int security_model, int security_level,
                const OctetStr& context_engine_id, const OctetStr& context_name) {
  MpState& s = mp();
  if (!s.initialised) return SNMPv3_MP_NOT_INITIALIZED;
  if (!pdu || !out || !out_length || *out_length <= 0) return SNMPv3_MP_ERROR;
  const int type = pdu->command;
  OctetStr engineID = security_engine_id;
  std::unique_ptr<SecurityStateReference> state;
  int32_t msgID;
  if (startsExchange(type)) {
    if (engineID.len() == 0) {
      // Discovery: an unauthenticated probe without bindings.
      security_level = SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV;
      security_model = SNMP_SECURITY_MODEL_USM;
      snmp_free_pdu_contents(pdu);
    }
    msgID = takeMsgID();
  } else if (type == sNMP_PDU_RESPONSE || type == sNMP_PDU_REPORT) {
    msgID = static_cast<int32_t>(pdu->msgid);
    auto it = findReceived(msgID);
    if (it == s.cache.end()) return SNMPv3_MP_MATCH_ERROR;
    state = std::move(it->state);
    s.cache.erase(it);
  } else {
    return SNMPv3_MP_BUILD_ERROR;
  }

  // The scoped PDU.
  unsigned char pduBytes[SNMP_MSG_LENGTH];
  int room = sizeof pduBytes;
  unsigned char* end = snmp_build_pdu(pduBytes, &room, pdu);
  std::vector<unsigned char> context, scoped;
  bool ok = end && v3AppendElement(context, 0x04, context_engine_id.data(), context_engine_id.len()) &&
            v3AppendElement(context, 0x04, context_name.data(), context_name.len());
  if (ok) context.insert(context.end(), pduBytes, end);
  ok = ok && v3AppendSequence(scoped, context);
  if (!ok || scoped.size() > static_cast<size_t>(*out_length)) return SNMPv3_MP_BUILD_ERROR;

  // msgGlobalData.
  unsigned char flags = security_level == SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV ? 0x00
                        : security_level == SNMP_SECURITY_LEVEL_AUTH_NOPRIV ? 0x01
                                                                              : 0x03;
  if (isRequestType(type)) flags |= 0x04;
  // msgMaxSize: what the receive step takes, not what we send.
  std::vector<unsigned char> fields, global;
  ok = v3AppendInt(fields, msgID) && v3AppendInt(fields, SNMP_MAX_DATAGRAM) &&
       v3AppendElement(fields, 0x04, &flags, 1) &&
       v3AppendInt(fields, security_model) && v3AppendSequence(global, fields);
  if (!ok) return SNMPv3_MP_BUILD_ERROR;
  if (security_model != SNMP_SECURITY_MODEL_USM) return SNMPv3_MP_UNSUPPORTED_SECURITY_MODEL;

  // Responses, reports and notifications speak for this engine.
  if (type == sNMP_PDU_RESPONSE || type == sNMP_PDU_V1TRAP || type == sNMP_PDU_TRAP || type == sNMP_PDU_REPORT)
    engineID = s.localEngineID;

  int status = usmGenerateMsg(global.data(), static_cast<int>(global.size()), *out_length, engineID, security_name,
                              security_level, scoped.data(), static_cast<int>(scoped.size()), std::move(state), out,
                              out_length);
  if (status != SNMPv3_USM_OK) return status;
  if (isRequestType(type))
    addToCache({msgID, pdu->reqid, engineID, SNMP_SECURITY_MODEL_USM, security_name, security_level,
                context_engine_id, context_name, nullptr, SNMPv3_MP_OK});
  return SNMPv3_MP_OK;
}

int mpSnmpParse(snmp_pdu* pdu, const unsigned char* message, int length, OctetStr& security_engine_id,
                OctetStr& security_name, OctetStr& context_engine_id, OctetStr& context_name,
                int32_t& security_level, int32_t& security_model, snmp_version& version, const UdpAddress& from) {
  MpState& s = mp();
  if (!message || length <= 0 || length > SNMP_MAX_DATAGRAM || !pdu) return SNMPv3_MP_ERROR;
  if (!s.initialised) return SNMPv3_MP_NOT_INITIALIZED;
  // The authentication check zeroes and restores bytes in place: work on our own copy.
  std::vector<unsigned char> wholeCopy(message, message + length);
  unsigned char* whole = wholeCopy.data();

  ByteCursor in(whole, static_cast<size_t>(length)), msg, global;
  unsigned char tag;
  int32_t msgVersion, msgID, maxSize, model;
  const unsigned char* flagBytes;
  size_t flagLength;
  if (!asn_get_header(in, tag, msg) || tag != 0x30 || !in.empty()) return SNMPv3_MP_PARSE_ERROR;
  if (!asn_get_int(msg, tag, msgVersion) || tag != 0x02 || msgVersion != 3) return SNMPv3_MP_PARSE_ERROR;
  version = version3;
  if (!asn_get_header(msg, tag, global) || tag != 0x30) return SNMPv3_MP_PARSE_ERROR;
  if (!asn_get_int(global, tag, msgID) || tag != 0x02 || msgID < 0 || !asn_get_int(global, tag, maxSize) ||
      tag != 0x02 || !asn_get_string(global, tag, flagBytes, flagLength) || tag != 0x04 || flagLength != 1 ||
      !asn_get_int(global, tag, model) || tag != 0x02 || !global.empty())
    return SNMPv3_MP_PARSE_ERROR;
  pdu->msgid = static_cast<uint32_t>(msgID);
  if (maxSize < kMinMaxMessageSize) return SNMPv3_MP_PARSE_ERROR;
  pdu->maxsize_scopedpdu = static_cast<uint32_t>(maxSize);

  const unsigned char* params;
  size_t paramsLength;
  if (!asn_get_string(msg, tag, params, paramsLength) || tag != 0x04) return SNMPv3_MP_PARSE_ERROR;
  const int paramsPosition = static_cast<int>(params - whole);
  const unsigned char* msgData = msg.position();
  const int msgDataLength = static_cast<int>(msg.remaining());

  const unsigned char flags = flagBytes[0];
  const bool reportable = flags & 0x04;
  int error = SNMPv3_MP_OK;
  switch (flags & 0x03) {
    case 0: security_level = SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV; break;
    case 1: security_level = SNMP_SECURITY_LEVEL_AUTH_NOPRIV; break;
    case 3: security_level = SNMP_SECURITY_LEVEL_AUTH_PRIV; break;
    default:  // privacy without authentication
      security_level = SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV;
      error = SNMPv3_MP_INVALID_MESSAGE;
      ++s.invalidMsgs;
  }
  security_model = model;

  auto state = std::make_unique<SecurityStateReference>();
  // The scoped PDU, decrypted or not, is never longer than the message.
  std::vector<unsigned char> scopedBuffer(static_cast<size_t>(length));
  unsigned char* scoped = scopedBuffer.data();
  int scopedLength = 0;
  if (error == SNMPv3_MP_OK) {
    if (model == SNMP_SECURITY_MODEL_USM) {
      scopedLength = length;
      int32_t maxResponse = 0;
      // Only the answer to a request we sent may introduce an engine we do not know yet.
      const bool answersOurRequest = findSent(msgID) != s.cache.end();
      int usm = usmProcessMsg(maxSize, params, static_cast<int>(paramsLength), paramsPosition, security_level, whole,
                              length, msgData, msgDataLength, security_engine_id, security_name, scoped,
                              &scopedLength, &maxResponse, *state, answersOurRequest);
      pdu->maxsize_scopedpdu = static_cast<uint32_t>(maxResponse);
      if (usm == SNMPv3_USM_NOT_IN_TIME_WINDOW)
        error = SNMPv3_MP_NOT_IN_TIME_WINDOW;
      else if (usm != SNMPv3_USM_OK)
        error = usm;
      // An empty engine id (a discovery probe) is an invalid engine, once the parameters could be read at all.
      if (usm != SNMPv3_USM_PARSE_ERROR && security_engine_id.len() == 0) error = SNMPv3_MP_INVALID_ENGINEID;
    } else {
      error = SNMPv3_MP_UNSUPPORTED_SECURITY_MODEL;
      ++s.unknownSecurityModels;
    }
  }

  if (error != SNMPv3_MP_OK) {
    if (reportable) {
      // The report built below takes the entry back by its msgID and answers with its state.
      addToCache({msgID, pdu->reqid, security_engine_id, model, security_name, security_level, OctetStr(),
                  OctetStr(), std::move(state), error});
      mpSendReport(scoped, scopedLength, pdu, error, security_level, model, security_name, from);
      auto leftover = findReceived(msgID);
      if (leftover != s.cache.end() && leftover->errorCode == error) s.cache.erase(leftover);
    }
    return error;
  }

  if (!parseScopedPDU(scoped, scopedLength, pdu, context_engine_id, context_name)) return SNMPv3_MP_PARSE_ERROR;

  switch (pdu->command) {
    case sNMP_PDU_RESPONSE:
    case sNMP_PDU_REPORT: {
      auto it = findSent(msgID);
      if (it == s.cache.end()) return SNMPv3_MP_UNKNOWN_MSGID;
      bool accepted;
      if (pdu->command == sNMP_PDU_REPORT) {
        accepted = sameOrEmpty(security_engine_id, it->securityEngineID) &&
                   (security_model == it->securityModel || security_model == SNMP_SECURITY_MODEL_USM) &&
                   (security_name == it->securityName || security_name == "initial");
      } else {
        accepted = sameOrEmpty(security_engine_id, it->securityEngineID) && security_model == it->securityModel &&
                   security_name == it->securityName && security_level == it->securityLevel &&
                   sameOrEmpty(context_engine_id, it->contextEngineID) && sameOrEmpty(context_name, it->contextName);
      }
      // A stray datagram that does not match leaves the entry for the genuine answer.
      if (!accepted) return SNMPv3_MP_MATCH_ERROR;
      if (pdu->command == sNMP_PDU_REPORT && pdu->reqid == 0) pdu->reqid = it->reqID;
      s.cache.erase(it);
      return SNMPv3_MP_OK;
    }
    case sNMP_PDU_GET:
    case sNMP_PDU_GETNEXT:
    case sNMP_PDU_SET:
    case sNMP_PDU_GETBULK:
    case sNMP_PDU_INFORM:
      if (security_engine_id.len() && security_engine_id != s.localEngineID) return SNMPv3_MP_MATCH_ERROR;
      addToCache({msgID, pdu->reqid, security_engine_id, model, security_name, security_level, context_engine_id,
                  context_name, std::move(state), SNMPv3_MP_OK});
      return SNMPv3_MP_OK;
    case sNMP_PDU_V1TRAP:
    case sNMP_PDU_TRAP:
      return SNMPv3_MP_OK;
    default:
      return SNMPv3_MP_ERROR;
  }
}

int mpSendReport(const unsigned char* scoped_pdu, int scoped_pdu_length, snmp_pdu* pdu, int error_code,
                 int security_level, int security_model, const OctetStr& security_name,
                 const UdpAddress& destination) {
  MpState& s = mp();
  if (!pdu) return SNMPv3_MP_ERROR;
  bool wasInform = false;
  OctetStr contextEngineID, contextName;
  uint32_t reqID = 0;
  if (scoped_pdu_length > 0) {
    snmp_pdu* received = snmp_pdu_create(0);
    if (received && parseScopedPDU(scoped_pdu, scoped_pdu_length, received, contextEngineID, contextName)) {
      reqID = received->reqid;
      wasInform = received->command == sNMP_PDU_INFORM;
    } else {
      contextEngineID.set_data(nullptr, 0);
      contextName.set_data(nullptr, 0);
      if (security_level == SNMP_SECURITY_LEVEL_AUTH_PRIV) security_level = SNMP_SECURITY_LEVEL_AUTH_NOPRIV;
    }
    snmp_free_pdu(received);
  }
  snmp_free_pdu_contents(pdu);
  pdu->command = sNMP_PDU_REPORT;
  pdu->reqid = reqID;
  pdu->errstat = 0;
  pdu->errindex = 0;

  bool modelAsReceived, nameInitial;
  const ReportCounter counter = chooseReportCounter(error_code, modelAsReceived, nameInitial);
  if (!addCounterBinding(pdu, counter.oid, counter.value)) return SNMPv3_MP_ERROR;
  const int level = counter.levelAsReceived ? security_level : SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV;
  const int model = modelAsReceived ? security_model : SNMP_SECURITY_MODEL_USM;
  const OctetStr name = nameInitial ? OctetStr("initial") : security_name;

  unsigned char message[SNMP_MSG_LENGTH];
  int length = sizeof message;
  int status = mpSnmpBuild(pdu, message, &length, s.localEngineID, name, model, level, contextEngineID, contextName);
  if (status != SNMPv3_MP_OK) return SNMPv3_MP_ERROR;
  if (!s.reportSender) return SNMPv3_MP_ERROR;
  return s.reportSender(s.session, message, static_cast<unsigned int>(length), destination, wasInform) == SNMPv3_MP_OK
             ? SNMPv3_MP_OK
             : SNMPv3_MP_ERROR;
}

// ---- counters ----------------------------------------------------------------

uint32_t mpGetSnmpUnknownSecurityModels() { return mp().unknownSecurityModels; }
uint32_t mpGetSnmpInvalidMsgs() { return mp().invalidMsgs; }
uint32_t mpGetSnmpUnknownPDUHandlers() { return mp().unknownPDUHandlers; }
void mpIncSnmpUnknownSecurityModels() { ++mp().unknownSecurityModels; }
void mpIncSnmpInvalidMsgs() { ++mp().invalidMsgs; }
void mpIncSnmpUnknownPDUHandlers() { ++mp().unknownPDUHandlers; }

// ---- byte helpers --------------------------------------------------------------

unsigned char* v3strcpy(const unsigned char* bytes, int length) {
  if (length < 0 || (!bytes && length > 0)) return nullptr;
  unsigned char* copy = new (std::nothrow) unsigned char[static_cast<size_t>(length) + 1];
  if (!copy) return nullptr;
  if (length) std::memcpy(copy, bytes, static_cast<size_t>(length));
  copy[length] = 0;
  return copy;
}

int unsignedCharCompare(const unsigned char* a, long length_a, const unsigned char* b, long length_b) {
  if (length_a != length_b || length_a < 0) return 0;
  return length_a == 0 || (a && b && std::memcmp(a, b, static_cast<size_t>(length_a)) == 0) ? 1 : 0;
}

bool v3AppendElement(std::vector<unsigned char>& out, unsigned char tag, const unsigned char* bytes, size_t length) {
  if (length > 0xFFFF) return false;
  unsigned char header[8];
  int room = sizeof header;
  unsigned char* end = asn_build_header(header, &room, tag, static_cast<int>(length));
  if (!end) return false;
  out.insert(out.end(), header, end);
  if (length) out.insert(out.end(), bytes, bytes + length);
  return true;
}

bool v3AppendInt(std::vector<unsigned char>& out, int32_t value) {
  unsigned char buffer[8];
  int room = sizeof buffer;
  unsigned char* end = asn_build_int(buffer, &room, 0x02, &value, 4);
  if (!end) return false;
  out.insert(out.end(), buffer, end);
  return true;
}

bool v3AppendSequence(std::vector<unsigned char>& out, const std::vector<unsigned char>& content, unsigned char tag) {
  unsigned char header[4];
  int room = sizeof header;
  if (!asn_build_sequence(header, &room, tag, static_cast<int>(content.size()))) return false;
  out.insert(out.end(), header, header + 4);
  out.insert(out.end(), content.begin(), content.end());
  return true;
}
