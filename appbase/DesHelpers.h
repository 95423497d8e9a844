// DES in ECB mode with 8-byte (single DES) and 16-byte (two-key triple DES)
// keys, and the hexadecimal text form of its output. Every output buffer comes
// with its capacity; a result that would not fit is refused with -1 and
// nothing is written past the buffer. Failures are also told on stderr.
#pragma once

#include <cstddef>

#include "afx.h"

#define DES_ENCRYPT_FLAG 0
#define DES_DECRYPT_FLAG 1

// Writes the built-in 16-character key with its NUL; returns its length, or -1 without room.
int GetDefaultDesKey(char* out, size_t capacity);

// Two hexadecimal digits a byte. 0 on success, -1 for an odd length, a character that
// is not a hexadecimal digit, or more bytes than the capacity.
int HexToBytes(const char* hex, int* outLength, BYTE* out, size_t capacity);
// Two upper-case digits a byte and a NUL; returns the byte count, -1 without room.
int BytesToHex(int count, const BYTE* bytes, char* out, size_t capacity);

void DesEcbBlock(int flag, const BYTE key[8], const BYTE in[8], BYTE out[8]);
void Des3EcbBlock(int flag, const BYTE key[16], const BYTE in[8], BYTE out[8]);

// Whole blocks; a partial last block is the rest of the data, a byte 0x80 and zeros.
// The key must have 8 or 16 bytes; the output needs the data length rounded up to 8.
int DesEcbEncrypt(int keyLength, const BYTE* key, int dataLength, const BYTE* data, int* outLength, BYTE* out,
                  size_t capacity);
// As above; the data length must be a multiple of 8.
int DesEcbDecrypt(int keyLength, const BYTE* key, int dataLength, const BYTE* data, int* outLength, BYTE* out,
                  size_t capacity);

// The key text has 8 or 16 characters. Encryption gives the ciphertext as hex text;
// decryption takes it back to the text, without the padding encryption added.
int DesEncryptText(const char* key, const char* text, CString& hexOut);
int DesDecryptText(const char* key, const char* hex, CString& textOut);
