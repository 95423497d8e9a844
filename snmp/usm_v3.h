// The user-based security model (RFC 3414): users and their keys localized
// per engine, the known engines with their boots and clock, the time window,
// and the security parameters of outgoing and incoming SNMPv3 messages.
//
// Everything here runs on the thread that runs the session and its event loop.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

#include "OctetStr.h"
#include "auth_priv.h"
#include "snmp_constants.h"

// Owned bytes of a key or pass phrase, overwritten with zeros whenever they are
// replaced or freed.
class UsmSecret {
 public:
  UsmSecret() = default;
  UsmSecret(const unsigned char* bytes, size_t length) : bytes_(bytes, bytes + length) {}
  UsmSecret(const UsmSecret& other) : bytes_(other.bytes_) {}
  UsmSecret& operator=(const UsmSecret& other);
  ~UsmSecret() { wipe(); }

  const unsigned char* data() const { return bytes_.data(); }
  size_t size() const { return bytes_.size(); }
  bool empty() const { return bytes_.empty(); }
  bool operator==(const UsmSecret& other) const { return bytes_ == other.bytes_; }

 private:
  void wipe();
  std::vector<unsigned char> bytes_;
};

// A user with keys localized for one engine (a usmUserTable row).
struct UsmUser {
  OctetStr engineID;
  OctetStr usmUserName;
  OctetStr securityName;
  int authProtocol = SNMP_AUTHPROTOCOL_NONE;
  UsmSecret authKey;
  int privProtocol = SNMP_PRIVPROTOCOL_NONE;
  UsmSecret privKey;
};

// What a received request leaves for the response built to it: who sent it and with which keys.
struct SecurityStateReference {
  OctetStr msgUserName;
  OctetStr securityName;
  OctetStr securityEngineID;
  int authProtocol = SNMP_AUTHPROTOCOL_NONE;
  UsmSecret authKey;
  int privProtocol = SNMP_PRIVPROTOCOL_NONE;
  UsmSecret privKey;
  int securityLevel = SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV;
};

// A configured user: the pass phrases its keys are made from for each engine.
struct UsmUserNameEntry {
  OctetStr userName;
  OctetStr securityName;
  int authProtocol = SNMP_AUTHPROTOCOL_NONE;
  int privProtocol = SNMP_PRIVPROTOCOL_NONE;
  UsmSecret authPassword;
  UsmSecret privPassword;
};

// msgSecurityParameters of a received message; the pointers point into that message.
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

// Which key of a usmUserTable row a key change replaces (RFC 3414 section 5).
enum {
  USM_KeyUpdate = 1,           // usmUserAuthKeyChange
  USM_PrivKeyUpdate = 2,       // usmUserPrivKeyChange
  USM_OwnKeyUpdate = 3,        // usmUserOwnAuthKeyChange
  USM_OwnPrivKeyUpdate = 4,    // usmUserOwnPrivKeyChange
};
// What to keep once the agent has accepted a key change.
enum {
  USM_KeyUpdateKeyOnly = 1,            // the localized key
  USM_KeyUpdateKeyAndPassword = 3,     // the key and the new pass phrase
  USM_KeyUpdatePasswordOnly = 4,       // the new pass phrase; keys are made again from it
};

// A key change sent to an agent and not yet accepted or refused.
struct UsmKeyUpdate {
  OctetStr engineID;
  OctetStr securityName;
  UsmSecret newPassword;
  UsmSecret newKey;
  int type = 0;
};

// Told about every user whose keys were localized for a new engine.
typedef void (*UsmAddUserCallback)(const UsmUser& user);

class Pdu;
class SnmpTarget;

// Bounds on what received messages can make us remember.
constexpr size_t kUsmMaxEngines = 128;
constexpr size_t kUsmMaxUsers = 512;
constexpr size_t kUsmMaxUserNames = 64;
constexpr uint32_t kUsmTimeWindow = 150;  // seconds

// ---- start and stop ----
// `msgIdCounter` is message processing's next msgID; it starts from the boots.
int usmInit(uint32_t localBoots, int32_t* msgIdCounter);
int usmFinish();
void usmSetDiscoveryMode();
void usmUnsetDiscoveryMode();
void usmAddAddUserCallback(UsmAddUserCallback callback);
// The first msgID after a start with these boots: (boots << 16) brought into 1..2^31-1.
int32_t usmFirstMsgId(uint32_t boots);

// ---- users ----
// 1400, or 1401 when not initialised, the table is full, or a pass phrase is
// empty for a protocol other than none. Adding a user again with other
// settings drops the keys made from the old pass phrases.
int usmAddUserName(const OctetStr& userName, const OctetStr& securityName, int authProtocol, int privProtocol,
                   const OctetStr& authPassword, const OctetStr& privPassword);
int usmAddUserName(const OctetStr& userName, int authProtocol, int privProtocol, const OctetStr& authPassword,
                   const OctetStr& privPassword);
// Asks for a user on the console (texts up to 49 characters) and adds it with
// its security name as user name. The streams form is the console's, testable.
int usmAddUserName();
int usmAddUserName(std::istream& in, std::ostream& out);
// A row with keys already localized: replaces the row of the same user name and
// engine, else is appended. 1401 when not initialised or the table is full.
int usmAddUser(const OctetStr& engineID, const OctetStr& userName, const OctetStr& securityName, int authProtocol,
               const UsmSecret& authKey, int privProtocol, const UsmSecret& privKey);
// Every row of the user name (or of the user name for one engine): -1401 when
// done, 1401 when not initialised.
int usmDeleteUser(const OctetStr& userName);
int usmDeleteUser(const OctetStr& engineID, const OctetStr& userName);
// The configured user of that security name, then the rows of the user name
// still found for it: usmDeleteUser's result, or 1401 when none is found.
int usmDeleteSecurityName(const OctetStr& securityName);
// The configured user and its rows: usmDeleteUser's result.
int usmDeleteUserName(const OctetStr& userName);
std::unique_ptr<UsmUserNameEntry> usmGetUserNameEntry(const OctetStr& securityName);
// Replaces the authentication key (kinds 1, 3) or privacy key (2, 4) of that row: 1400, or 1401.
int usmUpdateKey(const OctetStr& userName, const OctetStr& engineID, const UsmSecret& newKey, int type);
// The user's keys for this engine, localized on first use; with an empty engine
// id, a record of the names only. Null when unknown or when keys cannot be made.
std::unique_ptr<UsmUser> usmGetUser(const OctetStr& engineID, const OctetStr& securityName);
int usmGetUsmUserCount();
// The row at a 1-based index, or null outside 1..count.
std::unique_ptr<UsmUser> usmGetUser(int index);
// The security name of a user name: 1400, or 1401 when unknown.
int usmGetSecurityName(const OctetStr& userName, OctetStr& securityName);
int usmGetUsmUserName(const OctetStr& securityName, OctetStr& userName);
// The same into a caller's buffer: `length` holds its room on entry and the
// name's length on return; 1401 also when the name does not fit.
int usmGetSecurityName(const unsigned char* userName, int userNameLength, unsigned char* securityName, int* length);
int usmGetUsmUserName(unsigned char* userName, int* length, const unsigned char* securityName,
                      int securityNameLength);

// ---- engines and time ----
int usmAddToTimeTable(const OctetStr& engineID, int32_t boots, int32_t engineTime);
// 1400 with the engine's boots and current time; 1410 (both 0) for an unknown engine; 1401 without a table.
int usmGetTime(const OctetStr& engineID, int32_t& boots, int32_t& engineTime);
int usmCheckTime(const OctetStr& engineID, int32_t boots, int32_t engineTime);
// 1400 when known. An unknown engine is learnt (boots 0, time 0) only in
// discovery mode and only when `answersOurRequest` says the message answers a
// request we sent; otherwise, or when the table is full, 1401.
int usmIsKnownEngineID(const OctetStr& engineID, bool answersOurRequest);

// ---- messages ----
// `state` is the received request's state for a response or report, else null; it is consumed.
// `wholeMsgLength` holds the room in `wholeMsg` on entry and the message length on return.
int usmGenerateMsg(const unsigned char* globalData, int globalDataLength, int maxMessageSize,
                   const OctetStr& securityEngineID, const OctetStr& securityName, int securityLevel,
                   const unsigned char* scopedPDU, int scopedPDULength,
                   std::unique_ptr<SecurityStateReference> state, unsigned char* wholeMsg, int* wholeMsgLength);

// `securityParameters` is the content of msgSecurityParameters at offset
// `securityParametersPosition` of `wholeMsg` (whose authentication bytes are
// zeroed and restored during the check). `scopedPDULength` holds the room in
// `scopedPDU` on entry and the scoped PDU's length on return; on failure it may
// hold what could be obtained. `answersOurRequest`: see usmIsKnownEngineID.
int usmProcessMsg(int maxMessageSize, const unsigned char* securityParameters, int securityParametersLength,
                  int securityParametersPosition, int securityLevel, unsigned char* wholeMsg, int wholeMsgLength,
                  const unsigned char* msgData, int msgDataLength, OctetStr& securityEngineID,
                  OctetStr& securityName, unsigned char* scopedPDU, int* scopedPDULength,
                  int32_t* maxSizeResponseScopedPDU, SecurityStateReference& state, bool answersOurRequest);

// Frees a state with its keys zeroed (null is allowed), or empties one in place.
void usmDeleteSecurityStateReference(SecurityStateReference* state);
void usmClearSecurityState(SecurityStateReference& state);
void usmClearSecurityParams(UsmSecurityParameters& params);

// ---- key change (RFC 3414 section 5) ----
// Adds to `pdu` the set of the key-change and public-value columns of the
// user's row at the target's agent. `status` is 1400, or 1414 (no UDP address
// or unknown engine), 1404, 1412, 1401. The new key is kept in the update until
// the agent's answer says whether to commit or abort it.
std::unique_ptr<UsmKeyUpdate> usmPrepareKeyUpdate(const OctetStr& securityName, SnmpTarget& target,
                                                  const OctetStr& newPassword, Pdu& pdu, int type, int& status);
int usmCommitKeyUpdate(std::unique_ptr<UsmKeyUpdate> update, int commitType);
void usmAbortKeyUpdate(std::unique_ptr<UsmKeyUpdate> update);

// ---- statistics (RFC 3414 usmStats) ----
uint32_t usmGetStatsUnsupportedSecLevels();
uint32_t usmGetStatsNotInTimeWindows();
uint32_t usmGetStatsUnknownUserNames();
uint32_t usmGetStatsUnknownEngineIDs();
uint32_t usmGetStatsWrongDigests();
uint32_t usmGetStatsDecryptionErrors();
