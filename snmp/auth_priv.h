// Authentication and privacy protocols of the user-based security model:
// pass phrase to localized key, HMAC-MD5-96 / HMAC-SHA-96, DES-CBC and IDEA CFB-64.
// Every function returns a USM status (SNMPv3_USM_*).
#pragma once

#include <cstdint>

class OctetStr;

#include "snmp_constants.h"

// Protocol numbers and security levels of the user-based security model.
enum {
  SNMP_AUTHPROTOCOL_NONE = 1,
  SNMP_AUTHPROTOCOL_HMACMD5 = 2,
  SNMP_AUTHPROTOCOL_HMACSHA = 3,
};
enum {
  SNMP_PRIVPROTOCOL_NONE = 1,
  SNMP_PRIVPROTOCOL_DES = 2,
  SNMP_PRIVPROTOCOL_IDEA = 9,
};
enum {
  SNMP_SECURITY_LEVEL_NOAUTH_NOPRIV = 1,
  SNMP_SECURITY_LEVEL_AUTH_NOPRIV = 2,
  SNMP_SECURITY_LEVEL_AUTH_PRIV = 3,
};

constexpr int kApAuthParamsLength = 12;  // msgAuthenticationParameters of an authenticated message
constexpr int kApSaltLength = 8;         // msgPrivacyParameters of an encrypted message
constexpr int kApMaxPlainText = 2048;    // largest scoped PDU we encrypt
constexpr int kApMD5KeyLength = 16;
constexpr int kApSHAKeyLength = 20;

// Seeds the salt counter from a cryptographic random source, so that two runs
// (or two instances sharing one boot counter) do not reuse IVs under one key.
void apInit();

// An empty pass phrase has nothing to repeat and is refused (1401).
int apPasswordToKeyMD5(const unsigned char* password, int passwordLength, const unsigned char* engineId,
                       int engineIdLength, unsigned char* key /* 16 bytes */);
int apPasswordToKeySHA(const unsigned char* password, int passwordLength, const unsigned char* engineId,
                       int engineIdLength, unsigned char* key /* 20 bytes */);

// The first 12 bytes of HMAC-MD5 (protocol 2) or HMAC-SHA-1 (protocol 3) over `data`.
int apHMAC96(int authProtocol, const unsigned char* key, int keyLength, const unsigned char* data, int length,
             unsigned char* mac /* 12 bytes */);

// `authPosition` is the offset of the 12 authentication bytes inside `message`;
// a position that does not leave room for them is refused (1407).
int apHMACMD5AuthenticateOutgoingMsg(const unsigned char* key, unsigned char* message, int messageLength,
                                     int authPosition);
int apHMACMD5AuthenticateIncomingMsg(const unsigned char* key, unsigned char* message, int messageLength,
                                     int authPosition);
int apHMACSHAAuthenticateOutgoingMsg(const unsigned char* key, unsigned char* message, int messageLength,
                                     int authPosition);
int apHMACSHAAuthenticateIncomingMsg(const unsigned char* key, unsigned char* message, int messageLength,
                                     int authPosition);

// Privacy keys are the localized privacy key (16 or 20 bytes; at least 16 are needed).
// `boots` is the local engine's snmpEngineBoots, which forms the first half of the salt.
// `outLength` holds the room in `out` on entry and the bytes written on return.
int apDESEncryptData(const unsigned char* key, int keyLength, uint32_t boots, const unsigned char* plain,
                     int plainLength, unsigned char* out, int* outLength, unsigned char* salt /* 8 bytes */);
int apDESDecryptData(const unsigned char* key, int keyLength, const unsigned char* cipher, int cipherLength,
                     unsigned char* out, int* outLength, const unsigned char* salt, int saltLength);
int apIDEAEncryptData(const unsigned char* key, int keyLength, uint32_t boots, const unsigned char* plain,
                      int plainLength, unsigned char* out, int* outLength, unsigned char* salt /* 8 bytes */);
int apIDEADecryptData(const unsigned char* key, int keyLength, const unsigned char* cipher, int cipherLength,
                      unsigned char* out, int* outLength, const unsigned char* salt, int saltLength);

// The key-change value that sets `newKey` where `oldKey` is (RFC 3414 section 5,
// one digest round): a random part as long as the old key, then the new key
// XOR-ed with the digest (MD5 for 2, SHA-1 for 3; zeros for another protocol)
// of the old key and the random part. 1401 when the new key is longer than the
// digest or no random bytes can be had.
int apNewKey(const unsigned char* oldKey, int oldKeyLength, const unsigned char* newKey, int newKeyLength,
             OctetStr& keyChange, int authProtocol);
