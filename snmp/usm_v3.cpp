#include "usm_v3.h"

#include <openssl/crypto.h>

#include <openssl/rand.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <string>

#include "Address.h"
#include "Clock.h"
#include "Pdu.h"
#include "Target.h"
#include "Vb.h"
#include "asn1.h"
#include "mp_v3.h"

namespace {

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
  UsmAddUserCallback addUserCallback = nullptr;
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
void usmAddAddUserCallback(UsmAddUserCallback callback) { usm().addUserCallback = callback; }

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
    if (usmAddUser(user->engineID, user->usmUserName, user->securityName, user->authProtocol, user->authKey,
                   user->privProtocol, user->privKey) != SNMPv3_USM_OK)
      return nullptr;
    if (s.addUserCallback) s.addUserCallback(*user);
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

namespace {

// Copies a name into a caller's buffer: 1401 when it does not fit.
int nameToBuffer(int status, const OctetStr& name, unsigned char* out, int* length) {
  if (status != SNMPv3_USM_OK || !length || *length < 0 || name.len() > static_cast<unsigned long>(*length) ||
      (!out && name.len()))
    return SNMPv3_USM_ERROR;
  if (name.len()) std::memcpy(out, name.data(), name.len());
  *length = static_cast<int>(name.len());
  return SNMPv3_USM_OK;
}

OctetStr nameOf(const unsigned char* bytes, int length) {
  OctetStr name;
  if (bytes && length > 0) name.set_data(bytes, static_cast<unsigned long>(length));
  return name;
}

// Removes the rows that match; -1401 is the result callers have always seen for "done".
template <class Match>
int deleteUsers(Match match) {
  UsmState& s = usm();
  if (!s.initialised) return SNMPv3_USM_ERROR;
  s.users.erase(std::remove_if(s.users.begin(), s.users.end(), match), s.users.end());
  return -SNMPv3_USM_ERROR;
}

// A line of at most 49 characters from the console.
std::string readText(std::istream& in) {
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > 49) line.resize(49);
  return line;
}

int readProtocol(std::istream& in) {
  const std::string text = readText(in);
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  // Anything that is not a protocol number makes a user no key can be made for.
  return end == text.c_str() || value < 0 || value > 1000 ? 0 : static_cast<int>(value);
}

OctetStr textOf(const std::string& text) {
  OctetStr out;
  out.set_data(reinterpret_cast<const unsigned char*>(text.data()), text.size());
  return out;
}

}  // namespace

int usmGetSecurityName(const unsigned char* userName, int userNameLength, unsigned char* securityName, int* length) {
  OctetStr name;
  return nameToBuffer(usmGetSecurityName(nameOf(userName, userNameLength), name), name, securityName, length);
}

int usmGetUsmUserName(unsigned char* userName, int* length, const unsigned char* securityName,
                      int securityNameLength) {
  OctetStr name;
  return nameToBuffer(usmGetUsmUserName(nameOf(securityName, securityNameLength), name), name, userName, length);
}

std::unique_ptr<UsmUser> usmGetUser(int index) {
  const std::vector<UsmUser>& users = usm().users;
  if (index < 1 || static_cast<size_t>(index) > users.size()) return nullptr;
  return std::make_unique<UsmUser>(users[static_cast<size_t>(index) - 1]);
}

int usmAddUser(const OctetStr& engineID, const OctetStr& userName, const OctetStr& securityName, int authProtocol,
               const UsmSecret& authKey, int privProtocol, const UsmSecret& privKey) {
  UsmState& s = usm();
  if (!s.initialised) {
    v3DebugLog(1, "USM has to be initialized (mpInit(...))before adding Users");
    return SNMPv3_USM_ERROR;
  }
  UsmUser row;
  row.engineID = engineID;
  row.usmUserName = userName;
  row.securityName = securityName;
  row.authProtocol = authProtocol;
  row.authKey = authKey;
  row.privProtocol = privProtocol;
  row.privKey = privKey;
  for (UsmUser& u : s.users)
    if (u.usmUserName == userName && u.engineID == engineID) {
      u = row;  // the old keys are zeroed by UsmSecret's assignment
      return SNMPv3_USM_OK;
    }
  if (s.users.size() >= kUsmMaxUsers) return SNMPv3_USM_ERROR;
  s.users.push_back(row);
  return SNMPv3_USM_OK;
}

int usmDeleteUser(const OctetStr& userName) {
  return deleteUsers([&](const UsmUser& u) { return u.usmUserName == userName; });
}

int usmDeleteUser(const OctetStr& engineID, const OctetStr& userName) {
  return deleteUsers([&](const UsmUser& u) { return u.usmUserName == userName && u.engineID == engineID; });
}

int usmDeleteSecurityName(const OctetStr& securityName) {
  UsmState& s = usm();
  if (!s.initialised) return SNMPv3_USM_ERROR;
  s.userNames.erase(std::remove_if(s.userNames.begin(), s.userNames.end(),
                                   [&](const UsmUserNameEntry& e) { return e.securityName == securityName; }),
                    s.userNames.end());
  OctetStr userName;
  if (usmGetUsmUserName(securityName, userName) != SNMPv3_USM_OK) return SNMPv3_USM_ERROR;
  return usmDeleteUser(userName);
}

int usmDeleteUserName(const OctetStr& userName) {
  UsmState& s = usm();
  s.userNames.erase(std::remove_if(s.userNames.begin(), s.userNames.end(),
                                   [&](const UsmUserNameEntry& e) { return e.userName == userName; }),
                    s.userNames.end());
  return usmDeleteUser(userName);
}

std::unique_ptr<UsmUserNameEntry> usmGetUserNameEntry(const OctetStr& securityName) {
  const UsmUserNameEntry* entry = findUserNameBySecurityName(securityName);
  return entry ? std::make_unique<UsmUserNameEntry>(*entry) : nullptr;
}

int usmUpdateKey(const OctetStr& userName, const OctetStr& engineID, const UsmSecret& newKey, int type) {
  if (type < USM_KeyUpdate || type > USM_OwnPrivKeyUpdate) return SNMPv3_USM_ERROR;
  for (UsmUser& u : usm().users)
    if (u.usmUserName == userName && u.engineID == engineID) {
      (type == USM_KeyUpdate || type == USM_OwnKeyUpdate ? u.authKey : u.privKey) = newKey;
      return SNMPv3_USM_OK;
    }
  return SNMPv3_USM_ERROR;
}

int usmAddUserName() { return usmAddUserName(std::cin, std::cout); }

int usmAddUserName(std::istream& in, std::ostream& out) {
  out << "Add a user to the USM:\n\n";
  out << "securityName: " << std::flush;
  const std::string securityName = readText(in);
  out << "authProtocol (" << SNMP_AUTHPROTOCOL_NONE << " = none, " << SNMP_AUTHPROTOCOL_HMACMD5 << " = MD5, "
      << SNMP_AUTHPROTOCOL_HMACSHA << " = SHA) :" << std::flush;
  const int authProtocol = readProtocol(in);
  std::string authPassword;
  if (authProtocol != SNMP_AUTHPROTOCOL_NONE) {
    out << "authPassword: " << std::flush;
    authPassword = readText(in);
  }
  out << "privProtocol (" << SNMP_PRIVPROTOCOL_NONE << " = none, " << SNMP_PRIVPROTOCOL_DES << " = DES, "
      << SNMP_PRIVPROTOCOL_IDEA << " = IDEA) :" << std::flush;
  const int privProtocol = readProtocol(in);
  std::string privPassword;
  if (privProtocol != SNMP_PRIVPROTOCOL_NONE) {
    out << "privPassword: " << std::flush;
    privPassword = readText(in);
  }
  const OctetStr name = textOf(securityName);
  const int status = usmAddUserName(name, name, authProtocol, privProtocol, textOf(authPassword),
                                    textOf(privPassword));
  OPENSSL_cleanse(authPassword.data(), authPassword.size());
  OPENSSL_cleanse(privPassword.data(), privPassword.size());
  return status;
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

void usmDeleteSecurityStateReference(SecurityStateReference* state) { delete state; }

void usmClearSecurityState(SecurityStateReference& state) { state = SecurityStateReference(); }

void usmClearSecurityParams(UsmSecurityParameters& params) { params = UsmSecurityParameters(); }

// ---- key change ------------------------------------------------------------------

namespace {

// The usmUserTable index: the engine id, then the user's name, each as its length and one sub-identifier a byte.
void appendIndex(Oid& oid, const OctetStr& text) {
  oid += text.len();
  for (unsigned long i = 0; i < text.len(); ++i) oid += static_cast<unsigned long>(text.data()[i]);
}

}  // namespace

std::unique_ptr<UsmKeyUpdate> usmPrepareKeyUpdate(const OctetStr& securityName, SnmpTarget& target,
                                                  const OctetStr& newPassword, Pdu& pdu, int type, int& status) {
  GenAddress address;
  target.get_address(address);
  UdpAddress udp(address);
  OctetStr engineID;
  if (!udp.valid() || mpGetFromEngineIDTable(engineID, OctetStr(udp.get_printable())) != SNMPv3_MP_OK) {
    status = SNMPv3_USM_ADDRESS_ERROR;
    return nullptr;
  }
  std::unique_ptr<UsmUser> user = usmGetUser(engineID, securityName);
  if (!user) {
    status = SNMPv3_USM_UNKNOWN_SECURITY_NAME;
    return nullptr;
  }
  if (type < USM_KeyUpdate || type > USM_OwnPrivKeyUpdate) {
    status = SNMPv3_USM_ERROR;
    return nullptr;
  }
  auto update = std::make_unique<UsmKeyUpdate>();
  if (!localizeKey(user->authProtocol, secretOf(newPassword), engineID, update->newKey)) {
    status = user->authProtocol == SNMP_AUTHPROTOCOL_HMACMD5 || user->authProtocol == SNMP_AUTHPROTOCOL_HMACSHA
                 ? SNMPv3_USM_ERROR
                 : SNMPv3_USM_UNSUPPORTED_AUTHPROTOCOL;
    return nullptr;
  }
  const bool authKey = type == USM_KeyUpdate || type == USM_OwnKeyUpdate;
  const UsmSecret& oldKey = authKey ? user->authKey : user->privKey;
  OctetStr keyChange;
  unsigned char publicValue[30];
  if (apNewKey(oldKey.data(), static_cast<int>(oldKey.size()), update->newKey.data(),
               static_cast<int>(update->newKey.size()), keyChange, user->authProtocol) != SNMPv3_USM_OK ||
      RAND_bytes(publicValue, sizeof publicValue) != 1) {
    status = SNMPv3_USM_ERROR;
    return nullptr;
  }
  static const char* const kColumn[] = {"6", "9", "7", "10"};
  Oid changeOid("1.3.6.1.6.3.15.1.2.2.1");
  Oid publicOid("1.3.6.1.6.3.15.1.2.2.1");
  changeOid += kColumn[type - 1];
  publicOid += "11";
  for (Oid* oid : {&changeOid, &publicOid}) {
    appendIndex(*oid, engineID);
    appendIndex(*oid, securityName);
  }
  Vb change(changeOid);
  change.set_value(keyChange);
  Vb publicVb(publicOid);
  OctetStr publicText;
  publicText.set_data(publicValue, sizeof publicValue);
  publicVb.set_value(publicText);
  pdu += change;
  pdu += publicVb;

  update->engineID = engineID;
  update->securityName = securityName;
  update->newPassword = secretOf(newPassword);
  update->type = type;
  status = SNMPv3_USM_OK;
  return update;
}

int usmCommitKeyUpdate(std::unique_ptr<UsmKeyUpdate> update, int commitType) {
  if (!update) return SNMPv3_USM_ERROR;
  const bool authKey = update->type == USM_KeyUpdate || update->type == USM_OwnKeyUpdate;
  OctetStr userName;
  if (usmGetUsmUserName(update->securityName, userName) != SNMPv3_USM_OK) return SNMPv3_USM_ERROR;
  if (commitType == USM_KeyUpdateKeyOnly)
    return usmUpdateKey(userName, update->engineID, update->newKey, update->type);
  if (commitType != USM_KeyUpdateKeyAndPassword && commitType != USM_KeyUpdatePasswordOnly) return SNMPv3_USM_ERROR;
  std::unique_ptr<UsmUserNameEntry> entry = usmGetUserNameEntry(update->securityName);
  if (!entry) return SNMPv3_USM_ERROR;
  if (commitType == USM_KeyUpdateKeyAndPassword) {
    if (usmUpdateKey(userName, update->engineID, update->newKey, update->type) != SNMPv3_USM_OK)
      return SNMPv3_USM_ERROR;
  } else {
    usmDeleteSecurityName(update->securityName);
  }
  // The other pass phrase is kept; the new one makes the keys for every other engine.
  const UsmSecret& auth = authKey ? update->newPassword : entry->authPassword;
  const UsmSecret& priv = authKey ? entry->privPassword : update->newPassword;
  OctetStr authText, privText;
  authText.set_data(auth.data(), auth.size());
  privText.set_data(priv.data(), priv.size());
  const int status = usmAddUserName(entry->userName, entry->securityName, entry->authProtocol, entry->privProtocol,
                                    authText, privText);
  if (authText.len()) OPENSSL_cleanse(authText.data(), authText.len());
  if (privText.len()) OPENSSL_cleanse(privText.data(), privText.len());
  return status;
}

void usmAbortKeyUpdate(std::unique_ptr<UsmKeyUpdate> update) { update.reset(); }

// ---- statistics ------------------------------------------------------------------

uint32_t usmGetStatsUnsupportedSecLevels() { return usm().unsupportedSecLevels; }
uint32_t usmGetStatsNotInTimeWindows() { return usm().notInTimeWindows; }
uint32_t usmGetStatsUnknownUserNames() { return usm().unknownUserNames; }
uint32_t usmGetStatsUnknownEngineIDs() { return usm().unknownEngineIDs; }
uint32_t usmGetStatsWrongDigests() { return usm().wrongDigests; }
uint32_t usmGetStatsDecryptionErrors() { return usm().decryptionErrors; }
