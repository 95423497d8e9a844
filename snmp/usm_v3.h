// The user-based security model (RFC 3414): users and their keys localized
// per engine, the known engines with their boots and clock, the time window,
// and the security parameters of outgoing and incoming SNMPv3 messages.
//
// Everything here runs on the thread that runs the session and its event loop.
#pragma once

#include <cstdint>
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
// The user's keys for this engine, localized on first use; with an empty engine
// id, a record of the names only. Null when unknown or when keys cannot be made.
std::unique_ptr<UsmUser> usmGetUser(const OctetStr& engineID, const OctetStr& securityName);
int usmGetUsmUserCount();
// The security name of a user name: 1400, or 1401 when unknown.
int usmGetSecurityName(const OctetStr& userName, OctetStr& securityName);
int usmGetUsmUserName(const OctetStr& securityName, OctetStr& userName);

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

// ---- statistics (RFC 3414 usmStats) ----
uint32_t usmGetStatsUnsupportedSecLevels();
uint32_t usmGetStatsNotInTimeWindows();
uint32_t usmGetStatsUnknownUserNames();
uint32_t usmGetStatsUnknownEngineIDs();
uint32_t usmGetStatsWrongDigests();
uint32_t usmGetStatsDecryptionErrors();
