// The low-level DES functions need no legacy provider, unlike DES through EVP.
#define OPENSSL_SUPPRESS_DEPRECATED

#include "auth_priv.h"

#include "OctetStr.h"

#include <gcrypt.h>
#include <openssl/crypto.h>
#include <openssl/des.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <cstring>
#include <vector>
#include <ctime>
#include <mutex>

namespace {

// Next value of the second salt half; 0xFFFFFFFF is never used.
uint32_t g_saltCounter = 0;

int passwordToKey(const EVP_MD* md, const unsigned char* password, int passwordLength,
                  const unsigned char* engineId, int engineIdLength, unsigned char* key) {
  if (!password || passwordLength <= 0 || engineIdLength < 0 || (engineIdLength > 0 && !engineId))
    return SNMPv3_USM_ERROR;
  EVP_MD_CTX* ctx = EVP_MD_CTX_new();
  if (!ctx) return SNMPv3_USM_ERROR;
  unsigned char block[64];
  unsigned char ku[EVP_MAX_MD_SIZE];
  unsigned int kuLength = 0;
  unsigned int keyLength = 0;
  bool ok = EVP_DigestInit_ex(ctx, md, nullptr) == 1;
  // One megabyte of the pass phrase repeated cyclically (RFC 3414 A.2).
  size_t index = 0;
  for (int count = 0; ok && count < 16384; ++count) {
    for (unsigned char& byte : block) byte = password[index++ % static_cast<size_t>(passwordLength)];
    ok = EVP_DigestUpdate(ctx, block, sizeof block) == 1;
  }
  ok = ok && EVP_DigestFinal_ex(ctx, ku, &kuLength) == 1;
  ok = ok && EVP_DigestInit_ex(ctx, md, nullptr) == 1 && EVP_DigestUpdate(ctx, ku, kuLength) == 1 &&
       EVP_DigestUpdate(ctx, engineId, static_cast<size_t>(engineIdLength)) == 1 &&
       EVP_DigestUpdate(ctx, ku, kuLength) == 1 && EVP_DigestFinal_ex(ctx, key, &keyLength) == 1;
  EVP_MD_CTX_free(ctx);
  OPENSSL_cleanse(block, sizeof block);
  OPENSSL_cleanse(ku, sizeof ku);
  return ok ? SNMPv3_USM_OK : SNMPv3_USM_ERROR;
}

bool authFieldFits(const unsigned char* message, int messageLength, int authPosition) {
  return message && authPosition >= 0 && messageLength >= kApAuthParamsLength &&
         authPosition <= messageLength - kApAuthParamsLength;
}

bool hmac96(const EVP_MD* md, const unsigned char* key, int keyLength, const unsigned char* message,
            int messageLength, unsigned char* mac) {
  unsigned char full[EVP_MAX_MD_SIZE];
  unsigned int fullLength = 0;
  if (!key || keyLength < 0 || messageLength < 0 || (!message && messageLength > 0)) return false;
  if (!HMAC(md, key, keyLength, message, static_cast<size_t>(messageLength), full, &fullLength)) return false;
  std::memcpy(mac, full, kApAuthParamsLength);
  return true;
}

int authenticateOutgoing(const EVP_MD* md, int keyLength, const unsigned char* key, unsigned char* message,
                         int messageLength, int authPosition) {
  if (!key || !authFieldFits(message, messageLength, authPosition)) return SNMPv3_USM_AUTHENTICATION_ERROR;
  unsigned char* field = message + authPosition;
  std::memset(field, 0, kApAuthParamsLength);
  unsigned char mac[kApAuthParamsLength];
  if (!hmac96(md, key, keyLength, message, messageLength, mac)) return SNMPv3_USM_AUTHENTICATION_ERROR;
  std::memcpy(field, mac, sizeof mac);
  return SNMPv3_USM_OK;
}

int authenticateIncoming(const EVP_MD* md, int keyLength, const unsigned char* key, unsigned char* message,
                         int messageLength, int authPosition) {
  if (!key || !authFieldFits(message, messageLength, authPosition)) return SNMPv3_USM_AUTHENTICATION_ERROR;
  unsigned char* field = message + authPosition;
  unsigned char received[kApAuthParamsLength];
  std::memcpy(received, field, sizeof received);
  std::memset(field, 0, kApAuthParamsLength);
  unsigned char mac[kApAuthParamsLength];
  bool computed = hmac96(md, key, keyLength, message, messageLength, mac);
  std::memcpy(field, received, sizeof received);
  if (!computed) return SNMPv3_USM_AUTHENTICATION_ERROR;
  // Constant time, so the comparison tells an attacker nothing about how many bytes matched.
  return CRYPTO_memcmp(mac, received, sizeof mac) == 0 ? SNMPv3_USM_OK : SNMPv3_USM_AUTHENTICATION_FAILURE;
}

void putBe32(unsigned char* out, uint32_t value) {
  out[0] = static_cast<unsigned char>(value >> 24);
  out[1] = static_cast<unsigned char>(value >> 16);
  out[2] = static_cast<unsigned char>(value >> 8);
  out[3] = static_cast<unsigned char>(value);
}

// Salt = boots | counter; the IV is the pre-IV (privacy key bytes 8..15) XOR the salt.
void makeSalt(uint32_t boots, unsigned char* salt) {
  putBe32(salt, boots);
  putBe32(salt + 4, g_saltCounter);
  g_saltCounter = g_saltCounter == 0xFFFFFFFEu ? 0 : g_saltCounter + 1;
}

void makeIv(const unsigned char* key, const unsigned char* salt, unsigned char* iv) {
  for (int i = 0; i < 8; ++i) iv[i] = key[8 + i] ^ salt[i];
}

bool encryptArgsOk(const unsigned char* key, int keyLength, const unsigned char* plain, int plainLength,
                   const unsigned char* out, const int* outLength, const unsigned char* salt) {
  return key && keyLength >= 16 && (plain || plainLength == 0) && plainLength >= 0 &&
         plainLength <= kApMaxPlainText && out && outLength && salt;
}

bool decryptArgsOk(const unsigned char* key, int keyLength, const unsigned char* cipher, int cipherLength,
                   const unsigned char* out, const int* outLength, const unsigned char* salt, int saltLength) {
  return key && keyLength >= 16 && (cipher || cipherLength == 0) && cipherLength >= 0 && out && outLength &&
         cipherLength <= *outLength && salt && saltLength == kApSaltLength;
}

int desCbc(const unsigned char* key, const unsigned char* iv, const unsigned char* in, unsigned char* out,
           int length, int direction) {
  DES_cblock desKey;
  DES_cblock ivec;
  DES_key_schedule schedule;
  std::memcpy(desKey, key, 8);
  std::memcpy(ivec, iv, 8);
  DES_set_key_unchecked(&desKey, &schedule);
  DES_ncbc_encrypt(in, out, length, &schedule, &ivec, direction);
  OPENSSL_cleanse(&schedule, sizeof schedule);
  OPENSSL_cleanse(desKey, sizeof desKey);
  return SNMPv3_USM_OK;
}

bool gcryptReady() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] {
    ready = gcry_check_version(GCRYPT_VERSION) != nullptr;
    if (ready) gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
  });
  return ready;
}

bool ideaCfb(const unsigned char* key, const unsigned char* iv, const unsigned char* in, unsigned char* out,
             int length, bool encrypt) {
  if (!gcryptReady()) return false;
  gcry_cipher_hd_t handle;
  if (gcry_cipher_open(&handle, GCRY_CIPHER_IDEA, GCRY_CIPHER_MODE_CFB, 0) != 0) return false;
  bool ok = gcry_cipher_setkey(handle, key, 16) == 0 && gcry_cipher_setiv(handle, iv, 8) == 0;
  if (ok && length > 0) {
    size_t n = static_cast<size_t>(length);
    ok = (encrypt ? gcry_cipher_encrypt(handle, out, n, in, n) : gcry_cipher_decrypt(handle, out, n, in, n)) == 0;
  }
  gcry_cipher_close(handle);  // wipes the key schedule
  return ok;
}

}  // namespace

void apInit() {
  uint32_t seed = 0;
  if (RAND_bytes(reinterpret_cast<unsigned char*>(&seed), sizeof seed) != 1) {
    // Without a random source, the clock still keeps two runs apart better than a fixed start.
    seed = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&seed)) ^ static_cast<uint32_t>(time(nullptr));
  }
  g_saltCounter = seed == 0xFFFFFFFFu ? 0 : seed;
}

int apPasswordToKeyMD5(const unsigned char* password, int passwordLength, const unsigned char* engineId,
                       int engineIdLength, unsigned char* key) {
  return passwordToKey(EVP_md5(), password, passwordLength, engineId, engineIdLength, key);
}

int apPasswordToKeySHA(const unsigned char* password, int passwordLength, const unsigned char* engineId,
                       int engineIdLength, unsigned char* key) {
  return passwordToKey(EVP_sha1(), password, passwordLength, engineId, engineIdLength, key);
}

int apHMAC96(int authProtocol, const unsigned char* key, int keyLength, const unsigned char* data, int length,
             unsigned char* mac) {
  const EVP_MD* md = authProtocol == SNMP_AUTHPROTOCOL_HMACMD5   ? EVP_md5()
                     : authProtocol == SNMP_AUTHPROTOCOL_HMACSHA ? EVP_sha1()
                                                                 : nullptr;
  if (!md) return SNMPv3_USM_UNSUPPORTED_AUTHPROTOCOL;
  return hmac96(md, key, keyLength, data, length, mac) ? SNMPv3_USM_OK : SNMPv3_USM_AUTHENTICATION_ERROR;
}

int apHMACMD5AuthenticateOutgoingMsg(const unsigned char* key, unsigned char* message, int messageLength,
                                     int authPosition) {
  return authenticateOutgoing(EVP_md5(), kApMD5KeyLength, key, message, messageLength, authPosition);
}

int apHMACMD5AuthenticateIncomingMsg(const unsigned char* key, unsigned char* message, int messageLength,
                                     int authPosition) {
  return authenticateIncoming(EVP_md5(), kApMD5KeyLength, key, message, messageLength, authPosition);
}

int apHMACSHAAuthenticateOutgoingMsg(const unsigned char* key, unsigned char* message, int messageLength,
                                     int authPosition) {
  return authenticateOutgoing(EVP_sha1(), kApSHAKeyLength, key, message, messageLength, authPosition);
}

int apHMACSHAAuthenticateIncomingMsg(const unsigned char* key, unsigned char* message, int messageLength,
                                     int authPosition) {
  return authenticateIncoming(EVP_sha1(), kApSHAKeyLength, key, message, messageLength, authPosition);
}

int apDESEncryptData(const unsigned char* key, int keyLength, uint32_t boots, const unsigned char* plain,
                     int plainLength, unsigned char* out, int* outLength, unsigned char* salt) {
  if (!encryptArgsOk(key, keyLength, plain, plainLength, out, outLength, salt)) return SNMPv3_USM_ENCRYPTION_ERROR;
  int padded = (plainLength + 7) / 8 * 8;
  if (padded > *outLength) return SNMPv3_USM_ENCRYPTION_ERROR;
  unsigned char work[kApMaxPlainText];
  if (plainLength > 0) std::memcpy(work, plain, static_cast<size_t>(plainLength));
  std::memset(work + plainLength, 0, static_cast<size_t>(padded - plainLength));
  makeSalt(boots, salt);
  unsigned char iv[8];
  makeIv(key, salt, iv);
  desCbc(key, iv, work, out, padded, DES_ENCRYPT);
  OPENSSL_cleanse(work, static_cast<size_t>(padded));
  *outLength = padded;
  return SNMPv3_USM_OK;
}

int apDESDecryptData(const unsigned char* key, int keyLength, const unsigned char* cipher, int cipherLength,
                     unsigned char* out, int* outLength, const unsigned char* salt, int saltLength) {
  if (!decryptArgsOk(key, keyLength, cipher, cipherLength, out, outLength, salt, saltLength) || cipherLength % 8)
    return SNMPv3_USM_DECRYPTION_ERROR;
  std::memset(out, 0, static_cast<size_t>(*outLength));
  unsigned char iv[8];
  makeIv(key, salt, iv);
  desCbc(key, iv, cipher, out, cipherLength, DES_DECRYPT);
  *outLength = cipherLength;  // the padding stays; the scoped PDU's own length ends it
  return SNMPv3_USM_OK;
}

int apIDEAEncryptData(const unsigned char* key, int keyLength, uint32_t boots, const unsigned char* plain,
                      int plainLength, unsigned char* out, int* outLength, unsigned char* salt) {
  if (!encryptArgsOk(key, keyLength, plain, plainLength, out, outLength, salt) || plainLength > *outLength)
    return SNMPv3_USM_ENCRYPTION_ERROR;
  makeSalt(boots, salt);
  unsigned char iv[8];
  makeIv(key, salt, iv);
  if (!ideaCfb(key, iv, plain, out, plainLength, true)) return SNMPv3_USM_ENCRYPTION_ERROR;
  *outLength = plainLength;
  return SNMPv3_USM_OK;
}

int apIDEADecryptData(const unsigned char* key, int keyLength, const unsigned char* cipher, int cipherLength,
                      unsigned char* out, int* outLength, const unsigned char* salt, int saltLength) {
  if (!decryptArgsOk(key, keyLength, cipher, cipherLength, out, outLength, salt, saltLength))
    return SNMPv3_USM_DECRYPTION_ERROR;
  std::memset(out, 0, static_cast<size_t>(*outLength));
  unsigned char iv[8];
  makeIv(key, salt, iv);
  if (!ideaCfb(key, iv, cipher, out, cipherLength, false)) return SNMPv3_USM_DECRYPTION_ERROR;
  *outLength = cipherLength;
  return SNMPv3_USM_OK;
}

int apNewKey(const unsigned char* oldKey, int oldKeyLength, const unsigned char* newKey, int newKeyLength,
             OctetStr& keyChange, int authProtocol) {
  unsigned char digest[EVP_MAX_MD_SIZE] = {};
  unsigned int digestLength = kApSHAKeyLength;
  const EVP_MD* md = authProtocol == SNMP_AUTHPROTOCOL_HMACMD5   ? EVP_md5()
                     : authProtocol == SNMP_AUTHPROTOCOL_HMACSHA ? EVP_sha1()
                                                                 : nullptr;
  if (md) digestLength = static_cast<unsigned int>(EVP_MD_get_size(md));
  if (oldKeyLength < 0 || newKeyLength < 0 || (oldKeyLength && !oldKey) || (newKeyLength && !newKey) ||
      static_cast<unsigned int>(newKeyLength) > digestLength)
    return SNMPv3_USM_ERROR;
  std::vector<unsigned char> value(static_cast<size_t>(oldKeyLength) + newKeyLength);
  // The random part hides the new key from whoever knows the old one's past values.
  if (oldKeyLength && RAND_bytes(value.data(), oldKeyLength) != 1) return SNMPv3_USM_ERROR;
  if (md) {
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    bool ok = ctx && EVP_DigestInit_ex(ctx, md, nullptr) == 1 &&
              EVP_DigestUpdate(ctx, oldKey, static_cast<size_t>(oldKeyLength)) == 1 &&
              EVP_DigestUpdate(ctx, value.data(), static_cast<size_t>(oldKeyLength)) == 1 &&
              EVP_DigestFinal_ex(ctx, digest, &digestLength) == 1;
    EVP_MD_CTX_free(ctx);
    if (!ok) {
      OPENSSL_cleanse(digest, sizeof digest);
      return SNMPv3_USM_ERROR;
    }
  }
  for (int i = 0; i < newKeyLength; ++i) value[oldKeyLength + i] = newKey[i] ^ digest[i];
  OPENSSL_cleanse(digest, sizeof digest);
  keyChange.set_data(value.data(), value.size());
  return SNMPv3_USM_OK;
}
