#include "HexCipher.h"

#include <cstring>

#include "ByteCursor.h"
#include "CVHException.h"

// The cipher is built on the library's single-block DES calls, which OpenSSL 3
// marks deprecated.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

int Nibble(TCHAR c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

struct Schedules {
  DES_key_schedule first, second, third;
};

// Byte i of the second schedule is byte i of the first plus (i mod 2), of the
// third plus (i mod 3), each kept to 8 bits.
Schedules DeriveSchedules(const DES_key_schedule& schedule) {
  static_assert(sizeof(DES_key_schedule) == 128, "16 round keys of 8 bytes");
  Schedules s;
  s.first = schedule;
  BYTE bytes[sizeof(DES_key_schedule)], second[sizeof bytes], third[sizeof bytes];
  memcpy(bytes, &schedule, sizeof bytes);
  for (size_t i = 0; i < sizeof bytes; ++i) {
    second[i] = static_cast<BYTE>(bytes[i] + i % 2);
    third[i] = static_cast<BYTE>(bytes[i] + i % 3);
  }
  memcpy(&s.second, second, sizeof second);
  memcpy(&s.third, third, sizeof third);
  return s;
}

void Cipher(Schedules& s, const BYTE in[8], BYTE out[8], int direction) {
  DES_cblock input, output;
  memcpy(input, in, 8);
  DES_ecb3_encrypt(&input, &output, &s.first, &s.second, &s.third, direction);
  memcpy(out, output, 8);
}

}  // namespace

bool ByteBuffer::SetHex(const CString& text) {
  int length = text.GetLength();
  if (length % 2 != 0) return false;
  std::vector<BYTE> bytes(length / 2);
  for (int i = 0; i < length; i += 2) {
    int high = Nibble(text[i]), low = Nibble(text[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes[i / 2] = static_cast<BYTE>(high << 4 | low);
  }
  m_bytes.swap(bytes);
  return true;
}

CString ByteBuffer::ToHex() const {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(m_bytes.size() * 2);
  for (BYTE b : m_bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return CString(text);
}

CString EncryptToHex(const CString& plaintext, const DES_key_schedule& schedule) {
  Schedules s = DeriveSchedules(schedule);
  size_t n = static_cast<size_t>(plaintext.GetLength());
  size_t blocks = (n + 7) / 8;
  ByteBuffer out(blocks * 8 + 4);
  const BYTE* text = reinterpret_cast<const BYTE*>(static_cast<LPCTSTR>(plaintext));
  for (size_t b = 0; b < blocks; ++b) {
    BYTE block[8] = {0};
    memcpy(block, text + b * 8, n - b * 8 < 8 ? n - b * 8 : 8);
    Cipher(s, block, out.GetData() + b * 8, DES_ENCRYPT);
  }
  BYTE* length = out.GetData() + blocks * 8;
  for (int i = 0; i < 4; ++i) length[i] = static_cast<BYTE>(n >> (8 * i));
  return out.ToHex();
}

CString DecryptFromHex(const CString& ciphertext, const DES_key_schedule& schedule) {
  ByteBuffer in;
  if (!in.SetHex(ciphertext) || in.GetLength() < 4 || (in.GetLength() - 4) % 8 != 0)
    VhThrow(VHCOMMON_NOT_ENCRYPTED);
  ByteCursor cursor(in.GetData(), in.GetLength());
  ByteCursor blocks;
  uint32_t length = 0;
  cursor.child(in.GetLength() - 4, blocks);
  cursor.get_le32(length);
  // A plaintext fills its blocks exactly when its length is a multiple of 8.
  if (length > blocks.remaining()) VhThrow(VHCOMMON_BUFFER_UNDERSIZE);

  Schedules s = DeriveSchedules(schedule);
  std::string plain;
  plain.reserve(blocks.remaining());
  BYTE block[8], out[8];
  while (blocks.get_bytes(block, 8)) {
    Cipher(s, block, out, DES_DECRYPT);
    plain.append(reinterpret_cast<const char*>(out), 8);
  }
  plain.resize(length);
  return CString(plain);
}
