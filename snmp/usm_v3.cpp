#include "usm_v3.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <cstring>

#include "Clock.h"
#include "asn1.h"
#include "mp_v3.h"

namespace {

struct UsmUserNameEntry {
  OctetStr userName;
  OctetStr securityName;
  int authProtocol;
  int privProtocol;
  UsmSecret authPassword;
  UsmSecret privPassword;
};

// Engine times are kept against a monotonic clock in 64 bits, so a step of the
// wall clock moves no engine out of its window and nothing overflows in 2038.
struct UsmTimeEntry {
  OctetStr engineID;
  int32_t boots;
  int64_t timeOffset;          // engine time minus the local clock
  int64_t latestReceivedTime;  // highest time received from a non-authoritative engine
};

struct UsmState {
  bool initialised = false;
  bool discovery = false;
  std::vector<UsmUserNameEntry> userNames;
  std::vector<UsmUser> users;
  std::vector<UsmTimeEntry> times;  // entry 0 is the local engine
  uint32_t unsupportedSecLevels = 0;
  uint32_t notInTimeWindows = 0;
  uint32_t unknownUserNames = 0;
  uint32_t unknownEngineIDs = 0;
  uint32_t wrongDigests = 0;
  uint32_t decryptionErrors = 0;
};

UsmState& usm() {
  static UsmState state;
  return state;
}

constexpr int32_t kMaxBoots = 2147483647;
constexpr size_t kMaxEngineIdLength = 32;
constexpr size_t kMaxUserNameLength = 32;

int64_t nowSeconds() { return static_cast<int64_t>(GetTickCount64() / 1000); }

OctetStr localEngineID() {
  OctetStr id;
  mpGetLocalEngineID(id);
  return id;
}

UsmSecret secretOf(const OctetStr& s) { return UsmSecret(s.data(), s.len()); }

int32_t clampTime(int64_t t) { return static_cast<int32_t>(std::clamp<int64_t>(t, 0, kMaxBoots)); }

UsmTimeEntry* findTime(const OctetStr& engineID) {
  for (UsmTimeEntry& e : usm().times)
    if (e.engineID == engineID) return &e;
  return nullptr;
}

UsmUserNameEntry* findUserNameBySecurityName(const OctetStr& securityName) {
  for (UsmUserNameEntry& e : usm().userNames)
    if (e.securityName == securityName) return &e;
  return nullptr;
}

// RFC 3414 A.2: Ku from the pass phrase, localized with the engine id.
bool localizeKey(int authProtocol, const UsmSecret& password, const OctetStr& engineID, UsmSecret& key) {
  unsigned char out[kApSHAKeyLength];
  int status;
  int length;
  if (authProtocol == SNMP_AUTHPROTOCOL_HMACMD5) {
    status = apPasswordToKeyMD5(password.data(), password.size(), engineID.data(), engineID.len(), out);
    length = kApMD5KeyLength;
  } else if (authProtocol == SNMP_AUTHPROTOCOL_HMACSHA) {
    status = apPasswordToKeySHA(password.data(), password.size(), engineID.data(), engineID.len(), out);
    length = kApSHAKeyLength;
  } else {
    return false;
  }
  if (status == SNMPv3_USM_OK) key = UsmSecret(out, length);
  OPENSSL_cleanse(out, sizeof out);
  return status == SNMPv3_USM_OK;
}

bool passwordOk(int protocol, int none, const OctetStr& password) { return protocol == none || password.len() > 0; }

// msgSecurityParameters as received.
struct UsmSecurityParameters {
  OctetStr engineID;
  int32_t boots = 0;
  int32_t time = 0;
  OctetStr userName;
  const unsigned char* authParams = nullptr;
  size_t authParamsLength = 0;
  size_t authParamsOffset = 0;  // within the parameters
  const unsigned char* privParams = nullptr;
  size_t privParamsLength = 0;
};

bool parseSecurityParameters(const unsigned char* bytes, int length, UsmSecurityParameters& out) {
  if (!bytes || length <= 0) return false;
  ByteCursor all(bytes, static_cast<size_t>(length));
  ByteCursor seq;
  unsigned char tag;
  if (!asn_get_header(all, tag, seq) || tag != 0x30 || !all.empty()) return false;
  const unsigned char* engine;
  size_t engineLength;
  const unsigned char* user;
  size_t userLength;
  if (!asn_get_string(seq, tag, engine, engineLength) || tag != 0x04 || engineLength > kMaxEngineIdLength)
    return false;
  if (!asn_get_int(seq, tag, out.boots) || tag != 0x02 || out.boots < 0) return false;
  if (!asn_get_int(seq, tag, out.time) || tag != 0x02 || out.time < 0) return false;
  if (!asn_get_string(seq, tag, user, userLength) || tag != 0x04 || userLength > kMaxUserNameLength) return false;
  if (!asn_get_string(seq, tag, out.authParams, out.authParamsLength) || tag != 0x04) return false;
  out.authParamsOffset = static_cast<size_t>(out.authParams - bytes);
  if (!asn_get_string(seq, tag, out.privParams, out.privParamsLength) || tag != 0x04) return false;
  if (!seq.empty()) return false;
  out.engineID.set_data(engine, engineLength);
  out.userName.set_data(user, userLength);
  return true;
}

void fillStateKeys(SecurityStateReference& state, const UsmUser& user) {
  state.securityName = user.securityName;
  state.authProtocol = user.authProtocol;
  state.authKey = user.authKey;
  state.privProtocol = user.privProtocol;
  state.privKey = user.privKey;
}

}  // namespace

UsmSecret& UsmSecret::operator=(const UsmSecret& other) {
  if (this != &other) {
    wipe();
    bytes_ = other.bytes_;
  }
  return *this;
}

void UsmSecret::wipe() {
  if (!bytes_.empty()) OPENSSL_cleanse(bytes_.data(), bytes_.size());
  bytes_.clear();
}

// ---- start and stop --------------------------------------------------------------

int32_t usmFirstMsgId(uint32_t boots) {
  int64_t id = (static_cast<int64_t>(boots) << 16) % 2147483647;
  return id == 0 ? 1 : static_cast<int32_t>(id);
}

int usmInit(uint32_t localBoots, int32_t* msgIdCounter) {
  UsmState& s = usm();
  s.initialised = true;
  s.discovery = true;
  s.times.clear();
  // The local engine's snmpEngineTime counts from now.
  s.times.push_back({localEngineID(), static_cast<int32_t>(std::min<uint32_t>(localBoots, kMaxBoots)), -nowSeconds(), 0});
  usmAddUserName(OctetStr("initial"), OctetStr("initial"), SNMP_AUTHPROTOCOL_NONE, SNMP_PRIVPROTOCOL_NONE,
                 OctetStr(), OctetStr());
  apInit();
  if (msgIdCounter) *msgIdCounter = usmFirstMsgId(localBoots);
  return SNMPv3_USM_OK;
}

int usmFinish() {
  UsmState& s = usm();
  s.userNames.clear();
  s.users.clear();
  s.times.clear();
  s.initialised = false;
  s.discovery = false;
  return SNMPv3_USM_OK;
}

void usmSetDiscoveryMode() { usm().discovery = true; }
void usmUnsetDiscoveryMode() { usm().discovery = false; }

// ---- users --------------------------------------------------------------------------

int usmAddUserName(const OctetStr& userName, const OctetStr& securityName, int authProtocol, int privProtocol,
                   const OctetStr& authPassword, const OctetStr& privPassword) {
  UsmState& s = usm();
  if (!s.initialised) return SNMPv3_USM_ERROR;
  // An empty pass phrase has nothing to derive a key from.
  if (!passwordOk(authProtocol, SNMP_AUTHPROTOCOL_NONE, authPassword) ||
      !passwordOk(privProtocol, SNMP_PRIVPROTOCOL_NONE, privPassword))
    return SNMPv3_USM_ERROR;
  UsmUserNameEntry fresh{userName, securityName, authProtocol, privProtocol, secretOf(authPassword),
                         secretOf(privPassword)};
  auto same = std::find_if(s.userNames.begin(), s.userNames.end(),
                           [&](const UsmUserNameEntry& e) { return e.userName == userName; });
  if (same != s.userNames.end()) {
    // The request object adds its user before every request; keys made from the same
    // pass phrases are still good, and remaking them costs two megabytes of digest.
    if (same->securityName == securityName && same->authProtocol == authProtocol &&
        same->privProtocol == privProtocol && same->authPassword == fresh.authPassword &&
        same->privPassword == fresh.privPassword)
      return SNMPv3_USM_OK;
    *same = fresh;
    s.users.erase(std::remove_if(s.users.begin(), s.users.end(),
                                 [&](const UsmUser& u) { return u.usmUserName == userName; }),
                  s.users.end());
  } else {
    if (s.userNames.size() >= kUsmMaxUserNames) return SNMPv3_USM_ERROR;
    s.userNames.push_back(fresh);
  }
  usmGetUser(localEngineID(), securityName);
  return SNMPv3_USM_OK;
}

int usmAddUserName(const OctetStr& userName, int authProtocol, int privProtocol, const OctetStr& authPassword,
                   const OctetStr& privPassword) {
  return usmAddUserName(userName, userName, authProtocol, privProtocol, authPassword, privPassword);
}

std::unique_ptr<UsmUser> usmGetUser(const OctetStr& engineID, const OctetStr& securityName) {
  UsmState& s = usm();
  for (const UsmUser& u : s.users)
    if (u.securityName == securityName && u.engineID == engineID) return std::make_unique<UsmUser>(u);

  if (const UsmUserNameEntry* entry = findUserNameBySecurityName(securityName)) {
    auto user = std::make_unique<UsmUser>();
    user->usmUserName = entry->userName;
    user->securityName = entry->securityName;
    if (engineID.len() == 0) return user;  // names only, until the engine is known
    if (!s.initialised || s.users.size() >= kUsmMaxUsers) return nullptr;
    user->engineID = engineID;
    user->authProtocol = entry->authProtocol;
    user->privProtocol = entry->privProtocol;
    if (entry->authProtocol != SNMP_AUTHPROTOCOL_NONE &&
        !localizeKey(entry->authProtocol, entry->authPassword, engineID, user->authKey))
      return nullptr;
    if (entry->privProtocol == SNMP_PRIVPROTOCOL_DES || entry->privProtocol == SNMP_PRIVPROTOCOL_IDEA) {
      // The privacy key is made with the authentication protocol's digest.
      if (!localizeKey(entry->authProtocol, entry->privPassword, engineID, user->privKey)) return nullptr;
    } else if (entry->privProtocol != SNMP_PRIVPROTOCOL_NONE) {
      return nullptr;
    }
    s.users.push_back(*user);
    return user;
  }

  if (engineID.len() == 0) {
    for (const UsmUser& u : s.users) {
      if (u.securityName != securityName) continue;
      auto user = std::make_unique<UsmUser>();
      user->usmUserName = u.usmUserName;
      user->securityName = u.securityName;
      return user;
    }
  }
  return nullptr;
}

int usmGetUsmUserCount() { return static_cast<int>(usm().users.size()); }

int usmGetSecurityName(const OctetStr& userName, OctetStr& securityName) {
  for (const UsmUserNameEntry& e : usm().userNames)
    if (e.userName == userName) {
      securityName = e.securityName;
      return SNMPv3_USM_OK;
    }
  for (const UsmUser& u : usm().users)
    if (u.usmUserName == userName) {
      securityName = u.securityName;
      return SNMPv3_USM_OK;
    }
  return SNMPv3_USM_ERROR;
}

int usmGetUsmUserName(const OctetStr& securityName, OctetStr& userName) {
  for (const UsmUserNameEntry& e : usm().userNames)
    if (e.securityName == securityName) {
      userName = e.userName;
      return SNMPv3_USM_OK;
    }
  for (const UsmUser& u : usm().users)
    if (u.securityName == securityName) {
      userName = u.usmUserName;
      return SNMPv3_USM_OK;
    }
  return SNMPv3_USM_ERROR;
}

// ---- engines and time -----------------------------------------------------------

int usmAddToTimeTable(const OctetStr& engineID, int32_t boots, int32_t engineTime) {
  UsmState& s = usm();
  if (!s.initialised || s.times.size() >= kUsmMaxEngines) return SNMPv3_USM_ERROR;
  s.times.push_back({engineID, boots, static_cast<int64_t>(engineTime) - nowSeconds(), engineTime});
  return SNMPv3_USM_OK;
}

int usmGetTime(const OctetStr& engineID, int32_t& boots, int32_t& engineTime) {
  boots = 0;
  engineTime = 0;
  if (usm().times.empty()) return SNMPv3_USM_ERROR;
  const UsmTimeEntry* e = findTime(engineID);
  if (!e) return SNMPv3_USM_UNKNOWN_ENGINEID;
  boots = e->boots;
  engineTime = clampTime(nowSeconds() + e->timeOffset);
  return SNMPv3_USM_OK;
}

int usmCheckTime(const OctetStr& engineID, int32_t boots, int32_t engineTime) {
  UsmState& s = usm();
  if (s.times.empty()) return SNMPv3_USM_ERROR;
  const int64_t now = nowSeconds();
  UsmTimeEntry& local = s.times[0];
  if (engineID == local.engineID) {
    const int64_t localTime = now + local.timeOffset;
    if (local.boots == kMaxBoots || boots != local.boots ||
        std::llabs(localTime - static_cast<int64_t>(engineTime)) > kUsmTimeWindow)
      return SNMPv3_USM_NOT_IN_TIME_WINDOW;
    return SNMPv3_USM_OK;
  }
  UsmTimeEntry* e = nullptr;
  for (size_t i = 1; i < s.times.size() && !e; ++i)
    if (s.times[i].engineID == engineID) e = &s.times[i];
  if (!e) return SNMPv3_USM_UNKNOWN_ENGINEID;
  const int64_t storedTime = now + e->timeOffset;
  if (boots < e->boots || (boots == e->boots && storedTime > static_cast<int64_t>(engineTime) + kUsmTimeWindow) ||
      e->boots == kMaxBoots)
    return SNMPv3_USM_NOT_IN_TIME_WINDOW;
  if (boots > e->boots || engineTime > e->latestReceivedTime) {
    e->boots = boots;
    e->latestReceivedTime = engineTime;
    e->timeOffset = static_cast<int64_t>(engineTime) - now;
  }
  return SNMPv3_USM_OK;
}

int usmIsKnownEngineID(const OctetStr& engineID, bool answersOurRequest) {
  UsmState& s = usm();
  if (findTime(engineID)) return SNMPv3_USM_OK;
  // Unsolicited datagrams must not grow the table (nor make us derive keys for it).
  if (s.discovery && answersOurRequest && usmAddToTimeTable(engineID, 0, 0) == SNMPv3_USM_OK) return SNMPv3_USM_OK;
  return SNMPv3_USM_ERROR;
}

// ---- messages ---------------------------------------------------------------------

int usmGenerateMsg(const unsigned char* globalData, int globalDataLength, int maxMessageSize,
                   const OctetStr& securityEngineID, const OctetStr& securityName, int securityLevel,
                   const unsigned char* scopedPDU, int scopedPDULength,
                   std::unique_ptr<SecurityStateReference> state, unsigned char* wholeMsg, int* wholeMsgLength) {
  (void)maxMessageSize;
  if (!globalData || globalDataLength <= 0 || !scopedPDU || scopedPDULength < 0 || !wholeMsg || !wholeMsgLength)
    return SNMPv3_USM_ERROR;
  // 1. Who sends, with which keys.
  UsmUser user;
  if (state) {
    user.engineID = state->securityEngineID;
    user.securityName = state->securityName;
    user.usmUserName = state->msgUserName;
    if (user.usmUserName.len() == 0 && usmGetUsmUserName(state->securityName, user.usmUserName) != SNMPv3_USM_OK)
      user.usmUserName = state->securityName;
    user.authProtocol = state->authProtocol;
    user.authKey = state->authKey;
    user.privProtocol = state->privProtocol;
    user.privKey = state->privKey;
  } else {
    std::unique_ptr<UsmUser> found = usmGetUser(securityEngineID, securityName);
    if (!found) return SNMPv3_USM_UNKNOWN_SECURITY_NAME;
    user = *found;
  }
  // A report to a discovery probe (which named no engine) must carry ours: that is what the probe asks.
  const OctetStr& engineID = state && user.engineID.len() ? user.engineID : securityEngineID;

  // 3./4. Boots and time of the authoritative engine.
  int32_t boots = 0, engineTime = 0;
  if (securityLevel == SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV) {
    if (state) usmGetTime(localEngineID(), boots, engineTime);
  } else {
    int status = usmGetTime(engineID, boots, engineTime);
    if (status == SNMPv3_USM_UNKNOWN_ENGINEID) {
      if (usmAddToTimeTable(engineID, 0, 0) != SNMPv3_USM_OK) return SNMPv3_USM_ERROR;
    } else if (status != SNMPv3_USM_OK) {
      return SNMPv3_USM_ERROR;
    }
    if (user.authProtocol == SNMP_AUTHPROTOCOL_NONE) return SNMPv3_USM_UNSUPPORTED_SECURITY_LEVEL;
    if (user.authProtocol != SNMP_AUTHPROTOCOL_HMACMD5 && user.authProtocol != SNMP_AUTHPROTOCOL_HMACSHA)
      return SNMPv3_USM_UNSUPPORTED_AUTHPROTOCOL;
  }

  // 2. Message data, encrypted at authPriv.
  std::vector<unsigned char> msgData;
  unsigned char salt[kApSaltLength];
  bool encrypted = securityLevel == SNMP_SECURITY_LEVEL_AUTH_PRIV;
  if (encrypted) {
    if (user.privProtocol == SNMP_PRIVPROTOCOL_NONE) return SNMPv3_USM_UNSUPPORTED_SECURITY_LEVEL;
    if (user.privProtocol != SNMP_PRIVPROTOCOL_DES && user.privProtocol != SNMP_PRIVPROTOCOL_IDEA)
      return SNMPv3_USM_ENCRYPTION_ERROR;
    int32_t localBoots = 0, localTime = 0;
    usmGetTime(localEngineID(), localBoots, localTime);
    unsigned char cipher[kApMaxPlainText + 8];
    int cipherLength = sizeof cipher;
    auto encrypt = user.privProtocol == SNMP_PRIVPROTOCOL_DES ? apDESEncryptData : apIDEAEncryptData;
    if (encrypt(user.privKey.data(), user.privKey.size(), static_cast<uint32_t>(localBoots), scopedPDU,
                scopedPDULength, cipher, &cipherLength, salt) != SNMPv3_USM_OK)
      return SNMPv3_USM_ENCRYPTION_ERROR;
    if (!v3AppendElement(msgData, 0x04, cipher, cipherLength)) return SNMPv3_USM_ENCRYPTION_ERROR;
  } else {
    msgData.assign(scopedPDU, scopedPDU + scopedPDULength);
  }

  // 5. The security parameters and the whole message.
  const bool authenticated = securityLevel != SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV;
  const unsigned char zeros[kApAuthParamsLength] = {};
  std::vector<unsigned char> params;
  bool ok = v3AppendElement(params, 0x04, engineID.data(), engineID.len()) && v3AppendInt(params, boots) &&
            v3AppendInt(params, engineTime) && v3AppendElement(params, 0x04, user.usmUserName.data(), user.usmUserName.len());
  const size_t authOffsetInParams = params.size() + 2;  // after the 2-byte header of a 12-byte string
  ok = ok && v3AppendElement(params, 0x04, zeros, authenticated ? kApAuthParamsLength : 0) &&
       v3AppendElement(params, 0x04, salt, encrypted ? kApSaltLength : 0);
  std::vector<unsigned char> sequence;
  ok = ok && v3AppendSequence(sequence, params);
  std::vector<unsigned char> content;
  ok = ok && v3AppendInt(content, 3);
  content.insert(content.end(), globalData, globalData + globalDataLength);
  ok = ok && v3AppendElement(content, 0x04, sequence.data(), sequence.size());
  const size_t paramsEnd = content.size();
  content.insert(content.end(), msgData.begin(), msgData.end());
  std::vector<unsigned char> whole;
  ok = ok && v3AppendSequence(whole, content);
  if (!ok || whole.size() > static_cast<size_t>(*wholeMsgLength)) return SNMPv3_USM_ERROR;
  // The parameters' SEQUENCE ends where the OCTET STRING holding it ends.
  const size_t authPosition = 4 + paramsEnd - sequence.size() + 4 + authOffsetInParams;
  std::memcpy(wholeMsg, whole.data(), whole.size());
  *wholeMsgLength = static_cast<int>(whole.size());

  // 6. Authentication over the whole message.
  if (authenticated) {
    auto sign = user.authProtocol == SNMP_AUTHPROTOCOL_HMACMD5 ? apHMACMD5AuthenticateOutgoingMsg
                                                               : apHMACSHAAuthenticateOutgoingMsg;
    if (sign(user.authKey.data(), wholeMsg, *wholeMsgLength, static_cast<int>(authPosition)) != SNMPv3_USM_OK)
      return SNMPv3_USM_AUTHENTICATION_ERROR;
  }
  return SNMPv3_USM_OK;
}

int usmProcessMsg(int maxMessageSize, const unsigned char* securityParameters, int securityParametersLength,
                  int securityParametersPosition, int securityLevel, unsigned char* wholeMsg, int wholeMsgLength,
                  const unsigned char* msgData, int msgDataLength, OctetStr& securityEngineID,
                  OctetStr& securityName, unsigned char* scopedPDU, int* scopedPDULength,
                  int32_t* maxSizeResponseScopedPDU, SecurityStateReference& state, bool answersOurRequest) {
  UsmState& s = usm();
  const int scopedRoom = *scopedPDULength;
  // Nothing obtained yet: a report must not read the caller's buffer as a scoped PDU.
  *scopedPDULength = 0;
  // 1. Parameters.
  UsmSecurityParameters p;
  if (!parseSecurityParameters(securityParameters, securityParametersLength, p)) return SNMPv3_USM_PARSE_ERROR;
  // 2. State and the scoped PDU as far as it is known.
  state.msgUserName = p.userName;
  state.securityEngineID = p.engineID;
  state.securityLevel = securityLevel;
  state.authProtocol = SNMP_AUTHPROTOCOL_NONE;
  state.privProtocol = SNMP_PRIVPROTOCOL_NONE;
  securityEngineID = p.engineID;
  if (msgDataLength < 0 || msgDataLength > scopedRoom) return SNMPv3_USM_PARSE_ERROR;
  if (msgDataLength) std::memcpy(scopedPDU, msgData, msgDataLength);
  *scopedPDULength = msgDataLength;

  // 3./4. The engine.
  if (p.engineID.len() == 0) {
    ++s.unknownEngineIDs;
    state.securityLevel = SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV;
    securityName = p.userName;
    return SNMPv3_USM_UNKNOWN_ENGINEID;
  }
  if (usmIsKnownEngineID(p.engineID, answersOurRequest) != SNMPv3_USM_OK) {
    ++s.unknownEngineIDs;
    return SNMPv3_USM_UNKNOWN_ENGINEID;
  }
  // 5. The user.
  if (usmGetSecurityName(p.userName, securityName) != SNMPv3_USM_OK) {
    ++s.unknownUserNames;
    securityName = p.userName;
    return SNMPv3_USM_UNKNOWN_SECURITY_NAME;
  }
  std::unique_ptr<UsmUser> user = usmGetUser(p.engineID, securityName);
  if (!user) {
    ++s.unknownUserNames;
    return SNMPv3_USM_UNKNOWN_SECURITY_NAME;
  }
  // 6. Level against the user's protocols.
  if ((securityLevel >= SNMP_SECURITY_LEVEL_AUTH_NOPRIV && user->authProtocol == SNMP_AUTHPROTOCOL_NONE) ||
      (securityLevel == SNMP_SECURITY_LEVEL_AUTH_PRIV && user->privProtocol == SNMP_PRIVPROTOCOL_NONE)) {
    ++s.unsupportedSecLevels;
    return SNMPv3_USM_UNSUPPORTED_SECURITY_LEVEL;
  }
  // 7. Authentication and the time window.
  int result = SNMPv3_USM_OK;
  if (securityLevel >= SNMP_SECURITY_LEVEL_AUTH_NOPRIV) {
    if (user->authProtocol != SNMP_AUTHPROTOCOL_HMACMD5 && user->authProtocol != SNMP_AUTHPROTOCOL_HMACSHA) {
      ++s.unsupportedSecLevels;
      state.securityLevel = SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV;
      return SNMPv3_USM_UNSUPPORTED_AUTHPROTOCOL;
    }
    // Only a field of exactly 12 bytes inside the message can be checked.
    const int64_t authPosition = static_cast<int64_t>(securityParametersPosition) + p.authParamsOffset;
    bool fieldOk = p.authParamsLength == kApAuthParamsLength && securityParametersPosition >= 0 &&
                   authPosition + kApAuthParamsLength <= wholeMsgLength;
    auto check = user->authProtocol == SNMP_AUTHPROTOCOL_HMACMD5 ? apHMACMD5AuthenticateIncomingMsg
                                                                 : apHMACSHAAuthenticateIncomingMsg;
    if (!fieldOk || check(user->authKey.data(), wholeMsg, wholeMsgLength, static_cast<int>(authPosition)) !=
                        SNMPv3_USM_OK) {
      ++s.wrongDigests;
      state.securityLevel = SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV;
      return SNMPv3_USM_AUTHENTICATION_ERROR;
    }
    int time = usmCheckTime(p.engineID, p.boots, p.time);
    if (time == SNMPv3_USM_UNKNOWN_ENGINEID) return time;
    if (time == SNMPv3_USM_NOT_IN_TIME_WINDOW) {
      ++s.notInTimeWindows;
      result = SNMPv3_USM_NOT_IN_TIME_WINDOW;
    }
  }
  // 8. Decryption.
  if (securityLevel == SNMP_SECURITY_LEVEL_AUTH_PRIV && result == SNMPv3_USM_OK) {
    ByteCursor data(msgData, static_cast<size_t>(msgDataLength));
    unsigned char tag;
    const unsigned char* cipher;
    size_t cipherLength;
    if (!asn_get_string(data, tag, cipher, cipherLength) || tag != 0x04 || !data.empty())
      return SNMPv3_USM_PARSE_ERROR;
    if (user->privProtocol != SNMP_PRIVPROTOCOL_DES && user->privProtocol != SNMP_PRIVPROTOCOL_IDEA) {
      ++s.unsupportedSecLevels;
      return SNMPv3_USM_UNSUPPORTED_PRIVPROTOCOL;
    }
    auto decrypt = user->privProtocol == SNMP_PRIVPROTOCOL_DES ? apDESDecryptData : apIDEADecryptData;
    int plainLength = scopedRoom;
    if (decrypt(user->privKey.data(), user->privKey.size(), cipher, static_cast<int>(cipherLength), scopedPDU,
                &plainLength, p.privParams, static_cast<int>(p.privParamsLength)) != SNMPv3_USM_OK ||
        plainLength < 1 || scopedPDU[0] != 0x30) {
      ++s.decryptionErrors;
      *scopedPDULength = 0;
      return SNMPv3_USM_DECRYPTION_ERROR;
    }
    *scopedPDULength = plainLength;
  }
  // 9. Outputs.
  if (maxSizeResponseScopedPDU)
    *maxSizeResponseScopedPDU = static_cast<int32_t>(
        std::clamp<int64_t>(static_cast<int64_t>(*scopedPDULength) + maxMessageSize - wholeMsgLength, 0, kMaxBoots));
  fillStateKeys(state, *user);
  return result;
}

// ---- statistics ------------------------------------------------------------------

uint32_t usmGetStatsUnsupportedSecLevels() { return usm().unsupportedSecLevels; }
uint32_t usmGetStatsNotInTimeWindows() { return usm().notInTimeWindows; }
uint32_t usmGetStatsUnknownUserNames() { return usm().unknownUserNames; }
uint32_t usmGetStatsUnknownEngineIDs() { return usm().unknownEngineIDs; }
uint32_t usmGetStatsWrongDigests() { return usm().wrongDigests; }
uint32_t usmGetStatsDecryptionErrors() { return usm().decryptionErrors; }
