// SNMPv3 message processing (RFC 3412): the local engine, the table of engine
// ids learnt per agent, the cache of outstanding and received requests, the
// RFC 3412 counters, and the build and parse of whole version 3 messages.
// Every function returns an SNMPv3_MP_* status unless said otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "OctetStr.h"
#include "snmp_constants.h"
#include "usm_v3.h"

class Snmp;
class UdpAddress;
struct snmp_pdu;

// The library's diagnostic lines go here; this system writes none of them.
void v3DebugLog(int level, const char* format, ...);

// ---- local engine ------------------------------------------------------------
int mpInit(Snmp* session, const OctetStr& engine_id, unsigned int engine_boots);
int mpFinish();
int mpGetLocalEngineID(OctetStr& engine_id);
unsigned char* mpGetLocalEngineID();
int mpGetLocalEngineIDLength();

// How a report leaves: the session's raw send (Snmp::send_raw_data), on the
// notification socket when it answers an inform. The session installs it with
// the engine start; without one, reports are built but not sent (-1400).
// Returns SNMPv3_MP_OK when the datagram was sent.
typedef int (*MpReportSender)(Snmp* session, unsigned char* bytes, unsigned int length, const UdpAddress& to,
                              bool to_notify_socket);
void mpSetReportSender(MpReportSender sender);

// ---- engine-id table ---------------------------------------------------------
// The session holds this lock around a version 3 encoding that used the table.
std::recursive_mutex& mpEngineIDTableLock();
int mpAddToEngineIDTable(const OctetStr& engine_id, const OctetStr& host, int port);
int mpGetFromEngineIDTable(OctetStr& engine_id, const OctetStr& host, int port);
// `address` is the printable text of a UDP address, "host/port".
int mpGetFromEngineIDTable(OctetStr& engine_id, const OctetStr& address);

// ---- request cache -----------------------------------------------------------
// One outstanding exchange: a request we sent (no state), or a received request
// with the state its response or report is sent with.
struct MpCacheEntry {
  int32_t msgID = 0;
  uint32_t reqID = 0;
  OctetStr securityEngineID;
  int securityModel = 0;
  OctetStr securityName;
  int securityLevel = 0;
  OctetStr contextEngineID;
  OctetStr contextName;
  std::unique_ptr<SecurityStateReference> state;
  int errorCode = 0;
};
// SNMPv3_MP_OK; SNMPv3_MP_DOUBLED_MESSAGE when an equal entry is cached (the state is then freed).
int mpAddToCache(int32_t msg_id, uint32_t req_id, const OctetStr& security_engine_id, int security_model,
                 const OctetStr& security_name, int security_level, const OctetStr& context_engine_id,
                 const OctetStr& context_name, std::unique_ptr<SecurityStateReference> state, int error_code);
// Take the first entry of that msgID out of the cache: SNMPv3_MP_OK, or SNMPv3_MP_ERROR when there is none.
int mpGetFromCache(int32_t msg_id, MpCacheEntry* entry);
int mpGetFromCache(int32_t msg_id, int& error_code, std::unique_ptr<SecurityStateReference>& state);
// The message queue calls this whenever it drops a version 3 request (answer,
// time-out, cancel, closed session), so that no entry outlives its request.
void mpDeleteCacheEntry(unsigned long req_id);
// Entries held (sent requests and received requests awaiting a response).
size_t mpGetCacheSize();
// Received requests are kept only until this many newer ones arrive: nothing
// here answers them, and unsolicited requests must not grow the cache.
constexpr size_t kMpMaxReceivedRequests = 16;
// A safety bound on outstanding sent requests, should one ever miss its mpDeleteCacheEntry.
constexpr size_t kMpMaxSentRequests = 1024;

// ---- messages ----------------------------------------------------------------
// 1 when the bytes are a SEQUENCE whose first element is the INTEGER 3, else 0.
int mpTestV3(const unsigned char* message, int length);
// *out_length holds the room in `out` on entry and the message length on success.
int mpSnmpBuild(snmp_pdu* pdu, unsigned char* out, int* out_length, const OctetStr& security_engine_id,
                const OctetStr& security_name, int security_model, int security_level,
                const OctetStr& context_engine_id, const OctetStr& context_name);
// Returns SNMPv3_MP_OK, another SNMPv3_MP_* status, or a USM status (1401..1414).
int mpSnmpParse(snmp_pdu* pdu, const unsigned char* message, int length, OctetStr& security_engine_id,
                OctetStr& security_name, OctetStr& context_engine_id, OctetStr& context_name,
                int32_t& security_level, int32_t& security_model, snmp_version& version, const UdpAddress& from);
// Answers a faulty received message (RFC 3412 7.1 step 3). `scoped_pdu_length`
// is 0 when the scoped PDU could not be obtained.
int mpSendReport(const unsigned char* scoped_pdu, int scoped_pdu_length, snmp_pdu* pdu, int error_code,
                 int security_level, int security_model, const OctetStr& security_name,
                 const UdpAddress& destination);

// ---- RFC 3412 counters ---------------------------------------------------------
uint32_t mpGetSnmpUnknownSecurityModels();
uint32_t mpGetSnmpInvalidMsgs();
uint32_t mpGetSnmpUnknownPDUHandlers();
void mpIncSnmpUnknownSecurityModels();
void mpIncSnmpInvalidMsgs();
void mpIncSnmpUnknownPDUHandlers();

// ---- byte helpers of the SNMPv3 code ---------------------------------------------
// A new buffer (delete[]) of the bytes and a trailing zero byte; null when it cannot be allocated.
unsigned char* v3strcpy(const unsigned char* bytes, int length);
// 1 when both have the same length and bytes, else 0.
int unsignedCharCompare(const unsigned char* a, long length_a, const unsigned char* b, long length_b);
// Append one BER element to `out`; false when it cannot be encoded.
bool v3AppendElement(std::vector<unsigned char>& out, unsigned char tag, const unsigned char* bytes, size_t length);
bool v3AppendInt(std::vector<unsigned char>& out, int32_t value);
// A SEQUENCE with the four-byte header form around `content`.
bool v3AppendSequence(std::vector<unsigned char>& out, const std::vector<unsigned char>& content,
                      unsigned char tag = 0x30);
