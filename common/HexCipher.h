// A text cipher that turns a string into upper-case hexadecimal triple-DES
// ciphertext (three keys, each 8-byte block on its own) and back.
#pragma once

#include <vector>

#include <openssl/des.h>

#include "afx.h"

class ByteBuffer {
 public:
  ByteBuffer() = default;
  explicit ByteBuffer(size_t size) : m_bytes(size) {}
  ByteBuffer(const void* data, size_t size)
      : m_bytes(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size) {}

  // Two hexadecimal digits a byte, high nibble first, either case; false (and
  // the buffer unchanged) for an odd length or any other character.
  bool SetHex(const CString& text);
  // Two upper-case hexadecimal digits a byte.
  CString ToHex() const;

  size_t GetLength() const { return m_bytes.size(); }
  BYTE* GetData() { return m_bytes.data(); }
  const BYTE* GetData() const { return m_bytes.data(); }

 private:
  std::vector<BYTE> m_bytes;
};

// The plaintext's 8-byte blocks (the last one zero-padded), each enciphered,
// followed by the plaintext length as 4 little-endian bytes, all as hex text.
// The second and third key schedules are derived from the one given.
CString EncryptToHex(const CString& plaintext, const DES_key_schedule& schedule);

// The inverse. Text that is not such a ciphertext (odd length, a non-hex
// character, fewer than 4 bytes, cipher bytes not a whole number of blocks)
// throws CVHException -14; a stored length beyond the cipher bytes throws -13.
CString DecryptFromHex(const CString& ciphertext, const DES_key_schedule& schedule);
