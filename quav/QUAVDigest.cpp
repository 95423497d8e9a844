// Packet authentication: the device checks the digest in header bytes 12 to 27
// against its own password.
#include <openssl/evp.h>

#include <cstring>

#include "QUAVVarlist.h"

namespace {

const size_t kBlock = 64;

// MD5 over two pieces, as if they were one: the password never has to be
// appended to the datagram in the send buffer.
void Md5Two(const void* a, size_t aLength, const void* b, size_t bLength, BYTE digest[16]) {
  EVP_MD_CTX* ctx = EVP_MD_CTX_new();
  unsigned int size = 16;
  if (!ctx || EVP_DigestInit_ex(ctx, EVP_md5(), nullptr) != 1 || EVP_DigestUpdate(ctx, a, aLength) != 1 ||
      EVP_DigestUpdate(ctx, b, bLength) != 1 || EVP_DigestFinal_ex(ctx, digest, &size) != 1)
    std::memset(digest, 0, 16);
  EVP_MD_CTX_free(ctx);
}

}  // namespace

void QUAVMd5(const void* data, size_t length, BYTE digest[16]) { Md5Two(data, length, "", 0, digest); }

void QUAVHmacMd5(const void* data, size_t length, const void* key, size_t keyLength, BYTE digest[16]) {
  BYTE k[kBlock] = {};
  if (keyLength > kBlock)
    QUAVMd5(key, keyLength, k);
  else if (keyLength)
    std::memcpy(k, key, keyLength);
  BYTE pad[kBlock];
  BYTE inner[16];
  for (size_t i = 0; i < kBlock; ++i) pad[i] = k[i] ^ 0x36;
  Md5Two(pad, kBlock, data, length, inner);
  for (size_t i = 0; i < kBlock; ++i) pad[i] = k[i] ^ 0x5C;
  Md5Two(pad, kBlock, inner, 16, digest);
}

int QUAVVarlist::DoAuthentication(BYTE* packet, int length) {
  if (length < QUAV_HEADER_SIZE) return QUAV_BAD_PACKET;
  BYTE* digest = packet + 12;
  std::memset(digest, 0, 16);
  BYTE result[16];
  switch (m_nSecurityLevel) {
    case QUAV_SECURITY_MD5:
      Md5Two(packet, size_t(length), m_strPassword.GetString(), size_t(m_strPassword.GetLength()), result);
      break;
    case QUAV_SECURITY_HMAC_MD5:
      QUAVHmacMd5(packet, size_t(length), m_strPassword.GetString(), size_t(m_strPassword.GetLength()), result);
      break;
    default:
      return 0;
  }
  std::memcpy(digest, result, 16);
  return 0;
}
