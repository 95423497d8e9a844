// The DES helpers against published and independently computed answers, and
// their refusals: wrong key sizes, odd hex, buffers that are too small.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "DesHelpers.h"

namespace {

std::vector<BYTE> Bytes(const char* hex) {
  std::vector<BYTE> out(strlen(hex) / 2);
  int n = 0;
  EXPECT_EQ(HexToBytes(hex, &n, out.data(), out.size()), 0);
  out.resize(static_cast<size_t>(n));
  return out;
}

std::string Hex(const BYTE* bytes, int count) {
  std::vector<char> out(static_cast<size_t>(count) * 2 + 1);
  EXPECT_EQ(BytesToHex(count, bytes, out.data(), out.size()), count);
  return out.data();
}

}  // namespace

TEST(DesHelpers, BlocksGiveTheKnownAnswers) {
  struct Case {
    const char* key;
    const char* plain;
    const char* cipher;
  } cases[] = {
      {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
      {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
      {"0123456789ABCDEFFEDCBA9876543210", "0123456789ABCDEF", "1A4D672DCA6CB335"},
      {"133457799BBCDFF1133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},  // K1 = K2 is single DES
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    std::vector<BYTE> key = Bytes(c.key), plain = Bytes(c.plain);
    BYTE out[8], back[8];
    if (key.size() == 8) {
      DesEcbBlock(DES_ENCRYPT_FLAG, key.data(), plain.data(), out);
      DesEcbBlock(DES_DECRYPT_FLAG, key.data(), out, back);
    } else {
      Des3EcbBlock(DES_ENCRYPT_FLAG, key.data(), plain.data(), out);
      Des3EcbBlock(DES_DECRYPT_FLAG, key.data(), out, back);
    }
    EXPECT_EQ(Hex(out, 8), c.cipher);
    EXPECT_EQ(Hex(back, 8), c.plain);
  }
}

TEST(DesHelpers, EcbPadsAPartialBlockWithAMarker) {
  std::vector<BYTE> key = Bytes("133457799BBCDFF1");
  const BYTE data[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  BYTE out[16], plain[16];
  int length = 0;
  ASSERT_EQ(DesEcbEncrypt(8, key.data(), 11, data, &length, out, sizeof out), 0);
  EXPECT_EQ(length, 16);
  ASSERT_EQ(DesEcbDecrypt(8, key.data(), 16, out, &length, plain, sizeof plain), 0);
  EXPECT_EQ(Hex(plain, 16), "0102030405060708090A0B8000000000");
  // Whole blocks get no padding.
  ASSERT_EQ(DesEcbEncrypt(16, Bytes("0123456789ABCDEFFEDCBA9876543210").data(), 8, Bytes("0123456789ABCDEF").data(),
                          &length, out, 8),
            0);
  EXPECT_EQ(Hex(out, length), "1A4D672DCA6CB335");
}

TEST(DesHelpers, RefusalsWriteNothingPastTheBuffer) {
  std::vector<BYTE> key = Bytes("133457799BBCDFF1");
  BYTE data[16] = {0}, out[8];
  int length = -5;
  EXPECT_EQ(DesEcbEncrypt(7, key.data(), 8, data, &length, out, sizeof out), -1);
  EXPECT_EQ(DesEcbEncrypt(8, key.data(), 9, data, &length, out, sizeof out), -1);  // needs 16 bytes
  EXPECT_EQ(DesEcbDecrypt(8, key.data(), 12, data, &length, out, sizeof out), -1);
  EXPECT_EQ(DesEcbDecrypt(8, key.data(), 16, data, &length, out, sizeof out), -1);
  EXPECT_EQ(length, -5);

  BYTE bytes[2];
  int n = 0;
  EXPECT_EQ(HexToBytes("ABC", &n, bytes, sizeof bytes), -1);     // odd
  EXPECT_EQ(HexToBytes("ABCDEF", &n, bytes, sizeof bytes), -1);  // too long
  EXPECT_EQ(HexToBytes("ZZ", &n, bytes, sizeof bytes), -1);
  EXPECT_EQ(HexToBytes("", &n, bytes, sizeof bytes), 0);
  EXPECT_EQ(n, 0);
  char hex[4];
  EXPECT_EQ(BytesToHex(2, bytes, hex, sizeof hex), -1);  // 5 characters needed

  char defaultKey[17];
  EXPECT_EQ(GetDefaultDesKey(defaultKey, sizeof defaultKey), 16);
  EXPECT_STREQ(defaultKey, "4719028365107462");
  EXPECT_EQ(GetDefaultDesKey(defaultKey, 16), -1);
}

TEST(DesHelpers, TextsGoToHexAndBack) {
  CString hex, text;
  ASSERT_EQ(DesEncryptText("47190283", "abc", hex), 0);
  EXPECT_STREQ(hex, "D214495BC37E2499");  // "abc", 0x80 and zeros under the key's bytes
  ASSERT_EQ(DesDecryptText("47190283", hex, text), 0);
  EXPECT_STREQ(text, "abc");
  char key[17];
  GetDefaultDesKey(key, sizeof key);
  const char* texts[] = {"", "12345678", "a longer text of several blocks"};
  for (const char* t : texts) {
    ASSERT_EQ(DesEncryptText(key, t, hex), 0);
    EXPECT_EQ(hex.GetLength() % 16, 0);
    ASSERT_EQ(DesDecryptText(key, hex, text), 0);
    EXPECT_STREQ(text, t);
  }
  EXPECT_EQ(DesEncryptText("short", "abc", hex), -1);
  EXPECT_EQ(DesDecryptText("47190283", "ABC", text), -1);
  EXPECT_EQ(DesDecryptText("47190283", "ABCD", text), -1);  // not a whole block
}
