#include <gtest/gtest.h>

#include <string>

#include "CVHException.h"
#include "HexCipher.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

DES_key_schedule Schedule(const char* key8) {
  DES_cblock key;
  memcpy(key, key8, 8);
  DES_key_schedule schedule;
  DES_set_key_unchecked(&key, &schedule);
  return schedule;
}

TEST(HexCipher, RoundTripsEveryShortLengthAndABlockMultiple) {
  DES_key_schedule schedule = Schedule("Vh3DesK!");
  std::vector<size_t> lengths;
  for (size_t n = 0; n <= 17; ++n) lengths.push_back(n);
  lengths.push_back(64);
  for (size_t n : lengths) {
    std::string plain;
    for (size_t i = 0; i < n; ++i) plain += static_cast<char>('a' + (i * 7) % 26);
    CString cipher = EncryptToHex(CString(plain), schedule);
    size_t blocks = (n + 7) / 8;
    EXPECT_EQ(static_cast<size_t>(cipher.GetLength()), (blocks * 8 + 4) * 2) << n;
    CString storedLength;  // little-endian
    storedLength.Format("%02X000000", static_cast<unsigned>(n));
    EXPECT_STREQ(cipher.Right(8), storedLength) << n;
    EXPECT_STREQ(DecryptFromHex(cipher, schedule), plain.c_str()) << n;
    // Lower-case hex decrypts too.
    CString lower = cipher;
    lower.MakeLower();
    EXPECT_STREQ(DecryptFromHex(lower, schedule), plain.c_str()) << n;
  }
}

// One block through OpenSSL's single-DES call with a given schedule; the
// cipher under test goes through its triple-DES call instead.
std::string DesBlock(const DES_key_schedule& schedule, const std::string& block8, int direction) {
  DES_cblock in, out;
  memcpy(in, block8.data(), 8);
  DES_key_schedule copy = schedule;
  DES_ecb_encrypt(&in, &out, &copy, direction);
  return std::string(reinterpret_cast<const char*>(out), 8);
}

// The schedule with `step(i)` added to its byte i, each sum kept to 8 bits.
DES_key_schedule Shifted(const DES_key_schedule& schedule, int modulus) {
  DES_key_schedule shifted;
  const auto* in = reinterpret_cast<const unsigned char*>(&schedule);
  auto* out = reinterpret_cast<unsigned char*>(&shifted);
  for (size_t i = 0; i < sizeof schedule; ++i) out[i] = static_cast<unsigned char>(in[i] + i % modulus);
  return shifted;
}

std::string Hex(const std::string& bytes) {
  return std::string(ByteBuffer(bytes.data(), bytes.size()).ToHex());
}

// Known answers from outside the cipher: each block enciphered with
// OpenSSL's single DES as encrypt (caller's schedule), decrypt (second:
// bytes + i mod 2), encrypt (third: bytes + i mod 3), then the length. A
// wrong derivation, order or direction of the steps gives other bytes.
TEST(HexCipher, KnownAnswerFromSingleDesSteps) {
  // The single-DES step itself, checked against the classic published vector.
  EXPECT_EQ(Hex(DesBlock(Schedule("\x01\x23\x45\x67\x89\xAB\xCD\xEF"), "Now is t", DES_ENCRYPT)),
            "3FA40E8A984D4815");

  const DES_key_schedule first = Schedule("Vh3DesK!");
  const DES_key_schedule second = Shifted(first, 2), third = Shifted(first, 3);
  const std::string plain = "Trellian cipher";  // 15 bytes: two blocks, the last zero-padded
  std::string expected;
  for (size_t b = 0; b < plain.size(); b += 8) {
    std::string block = plain.substr(b, 8);
    block.resize(8, '\0');
    expected += DesBlock(third, DesBlock(second, DesBlock(first, block, DES_ENCRYPT), DES_DECRYPT), DES_ENCRYPT);
  }
  expected += std::string("\x0F\x00\x00\x00", 4);
  const CString cipher = EncryptToHex(CString(plain.c_str()), first);
  EXPECT_STREQ(cipher, Hex(expected).c_str());
  EXPECT_STREQ(DecryptFromHex(cipher, first), plain.c_str());
  // The derived schedules matter: with three equal ones it would be single DES.
  EXPECT_NE(cipher.Left(16), CString(Hex(DesBlock(first, "Trellian", DES_ENCRYPT)).c_str()));
}

TEST(HexCipher, CiphertextIsUpperCaseHexAndDependsOnTheKey) {
  CString a = EncryptToHex("secret", Schedule("Vh3DesK!"));
  CString b = EncryptToHex("secret", Schedule("other-k!"));
  EXPECT_NE(a, b);
  for (int i = 0; i < a.GetLength(); ++i) EXPECT_TRUE(strchr("0123456789ABCDEF", a[i])) << a;
  // Each block is enciphered on its own: equal blocks give equal cipher blocks.
  CString twice = EncryptToHex("12345678" "12345678", Schedule("Vh3DesK!"));
  EXPECT_EQ(twice.Left(16), twice.Mid(16, 16));
}

int DecryptCode(const char* text) {
  try {
    DecryptFromHex(text, Schedule("Vh3DesK!"));
  } catch (CVHException* e) {
    int code = e->GetCode();
    EXPECT_STREQ(e->GetMessage(), VhErrorText(code));
    delete e;
    return code;
  }
  return 0;
}

TEST(HexCipher, MalformedCiphertextIsRejectedBeforeUse) {
  struct Case {
    const char* what;
    const char* text;
    int code;
  } cases[] = {
      {"empty", "", -14},
      {"odd length", "000000000", -14},
      {"not hex", "0000000G", -14},
      {"fewer than 4 bytes", "000000", -14},
      {"cipher bytes not a whole block", "AABBCC" "00000000", -14},
      {"stored length beyond the blocks", "0000000000000000" "09000000", -13},
      {"stored length with no blocks", "01000000", -13},
      {"huge stored length", "0000000000000000" "FFFFFFFF", -13},
      {"no plaintext", "00000000", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(DecryptCode(c.text), c.code) << c.what;
}

TEST(ByteBuffer, HexRoundTrip) {
  ByteBuffer buffer;
  EXPECT_TRUE(buffer.SetHex("00aBcD7f"));
  ASSERT_EQ(buffer.GetLength(), 4u);
  EXPECT_EQ(buffer.GetData()[1], 0xAB);
  EXPECT_STREQ(buffer.ToHex(), "00ABCD7F");
  EXPECT_FALSE(buffer.SetHex("0"));
  EXPECT_FALSE(buffer.SetHex("zz"));
  EXPECT_STREQ(buffer.ToHex(), "00ABCD7F") << "a failed read keeps the bytes";
}

}  // namespace
