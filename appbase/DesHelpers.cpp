#include "DesHelpers.h"

#include <openssl/des.h>

#include <cstdio>
#include <cstring>
#include <vector>

// Built on the library's single-block DES calls, which OpenSSL 3 marks deprecated.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

const char kDefaultKey[] = "4719028365107462";
const BYTE kPadMarker = 0x80;

int Fail(const char* message) {
  fputs(message, stderr);
  return -1;
}

int Nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Each call builds its own schedule, so the helpers are reentrant.
void Block(const BYTE key[8], const BYTE in[8], BYTE out[8], int direction) {
  DES_cblock k, input, output;
  memcpy(k, key, 8);
  memcpy(input, in, 8);
  DES_key_schedule schedule;
  DES_set_key_unchecked(&k, &schedule);
  DES_ecb_encrypt(&input, &output, &schedule, direction);
  memcpy(out, output, 8);
}

void AnyBlock(int keyLength, const BYTE* key, int flag, const BYTE in[8], BYTE out[8]) {
  if (keyLength == 8) DesEcbBlock(flag, key, in, out);
  else Des3EcbBlock(flag, key, in, out);
}

}  // namespace

int GetDefaultDesKey(char* out, size_t capacity) {
  if (!out || capacity < sizeof kDefaultKey) return -1;
  memcpy(out, kDefaultKey, sizeof kDefaultKey);
  return static_cast<int>(sizeof kDefaultKey - 1);
}

int HexToBytes(const char* hex, int* outLength, BYTE* out, size_t capacity) {
  size_t length = strlen(hex);
  if (length % 2 != 0) return Fail("The input data length is error.(not times to 2)\n");
  if (length / 2 > capacity) return Fail("The output buffer is too small.\n");
  for (size_t i = 0; i < length; i += 2) {
    int high = Nibble(hex[i]), low = Nibble(hex[i + 1]);
    if (high < 0 || low < 0) return Fail("The input data is not hexadecimal.\n");
    out[i / 2] = static_cast<BYTE>(high << 4 | low);
  }
  *outLength = static_cast<int>(length / 2);
  return 0;
}

int BytesToHex(int count, const BYTE* bytes, char* out, size_t capacity) {
  if (count < 0 || capacity < static_cast<size_t>(count) * 2 + 1) return -1;
  static const char kDigits[] = "0123456789ABCDEF";
  for (int i = 0; i < count; ++i) {
    out[2 * i] = kDigits[bytes[i] >> 4];
    out[2 * i + 1] = kDigits[bytes[i] & 0x0F];
  }
  out[2 * count] = '\0';
  return count;
}

void DesEcbBlock(int flag, const BYTE key[8], const BYTE in[8], BYTE out[8]) {
  Block(key, in, out, flag == DES_ENCRYPT_FLAG ? DES_ENCRYPT : DES_DECRYPT);
}

void Des3EcbBlock(int flag, const BYTE key[16], const BYTE in[8], BYTE out[8]) {
  BYTE middle[8], last[8];
  if (flag == DES_ENCRYPT_FLAG) {
    Block(key, in, middle, DES_ENCRYPT);
    Block(key + 8, middle, last, DES_DECRYPT);
    Block(key, last, out, DES_ENCRYPT);
  } else {
    Block(key, in, middle, DES_DECRYPT);
    Block(key + 8, middle, last, DES_ENCRYPT);
    Block(key, last, out, DES_DECRYPT);
  }
}

int DesEcbEncrypt(int keyLength, const BYTE* key, int dataLength, const BYTE* data, int* outLength, BYTE* out,
                  size_t capacity) {
  if (keyLength != 8 && keyLength != 16) return Fail("keylen must be 8 or 16\n");
  if (dataLength < 0) return -1;
  size_t blocks = (static_cast<size_t>(dataLength) + 7) / 8;
  if (blocks * 8 > capacity) return Fail("The output buffer is too small.\n");
  for (size_t b = 0; b < blocks; ++b) {
    size_t offset = b * 8, left = static_cast<size_t>(dataLength) - offset;
    BYTE block[8] = {0};
    if (left >= 8) {
      memcpy(block, data + offset, 8);
    } else {
      memcpy(block, data + offset, left);
      block[left] = kPadMarker;
    }
    AnyBlock(keyLength, key, DES_ENCRYPT_FLAG, block, out + offset);
  }
  *outLength = static_cast<int>(blocks * 8);
  return 0;
}

int DesEcbDecrypt(int keyLength, const BYTE* key, int dataLength, const BYTE* data, int* outLength, BYTE* out,
                  size_t capacity) {
  if (keyLength != 8 && keyLength != 16) return Fail("keylen must be 8 or 16\n");
  if (dataLength < 0 || dataLength % 8 != 0) return Fail("inbuflen must be times to 8\n");
  if (static_cast<size_t>(dataLength) > capacity) return Fail("The output buffer is too small.\n");
  for (int offset = 0; offset < dataLength; offset += 8) {
    AnyBlock(keyLength, key, DES_DECRYPT_FLAG, data + offset, out + offset);
  }
  *outLength = dataLength;
  return 0;
}

int DesEncryptText(const char* key, const char* text, CString& hexOut) {
  size_t keyLength = strlen(key);
  if (keyLength != 8 && keyLength != 16) return Fail("key length must be 8 or 16\n");
  int length = static_cast<int>(strlen(text));
  std::vector<BYTE> cipher(static_cast<size_t>(length) + 8);
  std::vector<char> hex(cipher.size() * 2 + 1);
  int cipherLength = 0;
  int result = DesEcbEncrypt(static_cast<int>(keyLength), reinterpret_cast<const BYTE*>(key), length,
                             reinterpret_cast<const BYTE*>(text), &cipherLength, cipher.data(), cipher.size());
  if (result != 0) return result;
  BytesToHex(cipherLength, cipher.data(), hex.data(), hex.size());
  hexOut = hex.data();
  return 0;
}

int DesDecryptText(const char* key, const char* hex, CString& textOut) {
  size_t keyLength = strlen(key);
  if (keyLength != 8 && keyLength != 16) return Fail("key length must be 8 or 16\n");
  std::vector<BYTE> cipher(strlen(hex) / 2 + 1);
  int cipherLength = 0;
  if (HexToBytes(hex, &cipherLength, cipher.data(), cipher.size()) != 0) return -1;
  std::vector<BYTE> plain(static_cast<size_t>(cipherLength) + 1, 0);
  int plainLength = 0;
  int result = DesEcbDecrypt(static_cast<int>(keyLength), reinterpret_cast<const BYTE*>(key), cipherLength,
                             cipher.data(), &plainLength, plain.data(), plain.size());
  if (result != 0) return result;
  // The text ends at its first NUL; a pad marker that only zeros follow is encryption's, not the text's.
  size_t end = strnlen(reinterpret_cast<const char*>(plain.data()), static_cast<size_t>(plainLength));
  bool zerosFollow = true;
  for (size_t i = end; i < static_cast<size_t>(plainLength); ++i) zerosFollow = zerosFollow && plain[i] == 0;
  if (end > 0 && plain[end - 1] == kPadMarker && zerosFollow && static_cast<int>(end) > plainLength - 8) --end;
  textOut = CString(reinterpret_cast<const char*>(plain.data()), static_cast<int>(end));
  return 0;
}
