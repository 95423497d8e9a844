// Known answers and input checks of the SNMPv3 authentication and privacy protocols.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "auth_priv.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes hex(const std::string& text) {
  Bytes out;
  std::string digits;
  for (char c : text)
    if (c != ' ') digits += c;
  for (size_t i = 0; i + 1 < digits.size(); i += 2) out.push_back(std::stoi(digits.substr(i, 2), nullptr, 16));
  return out;
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(UsmAuthPriv, PasswordToKeyReproducesTheRfc3414Examples) {
  const Bytes password = text("maplesyrup");
  const Bytes engineId = hex("000000000000000000000002");
  unsigned char md5[16];
  ASSERT_EQ(SNMPv3_USM_OK, apPasswordToKeyMD5(password.data(), password.size(), engineId.data(),
                                              engineId.size(), md5));
  EXPECT_EQ(hex("526f5eed9fcce26f8964c2930787d82b"), Bytes(md5, md5 + 16));
  unsigned char sha[20];
  ASSERT_EQ(SNMPv3_USM_OK, apPasswordToKeySHA(password.data(), password.size(), engineId.data(),
                                              engineId.size(), sha));
  EXPECT_EQ(hex("6695febc9288e36282235fc7151f128497b38f3f"), Bytes(sha, sha + 20));
}

TEST(UsmAuthPriv, EmptyPassPhraseIsRefused) {
  unsigned char key[20];
  const unsigned char id[] = {1, 2, 3};
  EXPECT_EQ(SNMPv3_USM_ERROR, apPasswordToKeyMD5(reinterpret_cast<const unsigned char*>(""), 0, id, 3, key));
  EXPECT_EQ(SNMPv3_USM_ERROR, apPasswordToKeySHA(nullptr, 0, id, 3, key));
}

TEST(UsmAuthPriv, Hmac96MatchesRfc2202) {
  struct Case {
    int protocol;
    Bytes key;
    Bytes data;
    std::string mac;  // first 12 bytes of the published HMAC
  };
  const std::vector<Case> cases = {
      {SNMP_AUTHPROTOCOL_HMACMD5, Bytes(16, 0x0b), text("Hi There"), "9294727a3638bb1c13f48ef8"},
      {SNMP_AUTHPROTOCOL_HMACMD5, text("Jefe"), text("what do ya want for nothing?"), "750c783e6ab0b503eaa86e31"},
      {SNMP_AUTHPROTOCOL_HMACMD5, Bytes(16, 0x0c), text("Test With Truncation"), "56461ef2342edc00f9bab995"},
      {SNMP_AUTHPROTOCOL_HMACSHA, Bytes(20, 0x0b), text("Hi There"), "b617318655057264e28bc0b6"},
      {SNMP_AUTHPROTOCOL_HMACSHA, text("Jefe"), text("what do ya want for nothing?"), "effcdf6ae5eb2fa2d27416d5"},
      {SNMP_AUTHPROTOCOL_HMACSHA, Bytes(20, 0x0c), text("Test With Truncation"), "4c1a03424b55e07fe7f27be1"},
  };
  for (const Case& c : cases) {
    unsigned char mac[12];
    ASSERT_EQ(SNMPv3_USM_OK, apHMAC96(c.protocol, c.key.data(), c.key.size(), c.data.data(), c.data.size(), mac));
    EXPECT_EQ(hex(c.mac), Bytes(mac, mac + 12)) << c.mac;
  }
  unsigned char mac[12];
  EXPECT_EQ(SNMPv3_USM_UNSUPPORTED_AUTHPROTOCOL, apHMAC96(7, mac, 12, mac, 12, mac));
}

// The authentication field is zero while the digest is taken, wherever it sits in the message.
TEST(UsmAuthPriv, OutgoingAndIncomingAgreeAndTamperingIsCaught) {
  struct Protocol {
    int number;
    int keyLength;
    int (*outgoing)(const unsigned char*, unsigned char*, int, int);
    int (*incoming)(const unsigned char*, unsigned char*, int, int);
  };
  const Protocol protocols[] = {
      {SNMP_AUTHPROTOCOL_HMACMD5, 16, apHMACMD5AuthenticateOutgoingMsg, apHMACMD5AuthenticateIncomingMsg},
      {SNMP_AUTHPROTOCOL_HMACSHA, 20, apHMACSHAAuthenticateOutgoingMsg, apHMACSHAAuthenticateIncomingMsg},
  };
  for (const Protocol& p : protocols) {
    Bytes key(p.keyLength);
    for (int i = 0; i < p.keyLength; ++i) key[i] = static_cast<unsigned char>(i * 7);
    Bytes message = text("header-bytes");
    const int position = message.size();
    message.insert(message.end(), 12, 0xEE);  // whatever was there is ignored
    message.insert(message.end(), {'t', 'a', 'i', 'l'});
    ASSERT_EQ(SNMPv3_USM_OK, p.outgoing(key.data(), message.data(), message.size(), position));

    Bytes zeroed = message;
    std::fill(zeroed.begin() + position, zeroed.begin() + position + 12, 0);
    unsigned char mac[12];
    ASSERT_EQ(SNMPv3_USM_OK, apHMAC96(p.number, key.data(), key.size(), zeroed.data(), zeroed.size(), mac));
    EXPECT_EQ(Bytes(mac, mac + 12), Bytes(message.begin() + position, message.begin() + position + 12));

    Bytes received = message;
    EXPECT_EQ(SNMPv3_USM_OK, p.incoming(key.data(), received.data(), received.size(), position));
    EXPECT_EQ(message, received) << "the check puts the received bytes back";

    received.back() ^= 1;
    const Bytes tampered = received;
    EXPECT_EQ(SNMPv3_USM_AUTHENTICATION_FAILURE, p.incoming(key.data(), received.data(), received.size(), position));
    EXPECT_EQ(tampered, received);

    // A field that would run past the message is refused before anything is read or written.
    for (int bad : {-1, static_cast<int>(message.size()) - 11, static_cast<int>(message.size())}) {
      Bytes copy = message;
      EXPECT_EQ(SNMPv3_USM_AUTHENTICATION_ERROR, p.incoming(key.data(), copy.data(), copy.size(), bad)) << bad;
      EXPECT_EQ(SNMPv3_USM_AUTHENTICATION_ERROR, p.outgoing(key.data(), copy.data(), copy.size(), bad)) << bad;
      EXPECT_EQ(message, copy);
    }
  }
}

// FIPS 81 CBC example: key 0123456789abcdef, IV 1234567890abcdef. The pre-IV is the
// second half of the privacy key, so a salt of zero makes the IV the pre-IV.
TEST(UsmAuthPriv, DesCbcKnownAnswer) {
  const Bytes key = hex("0123456789abcdef 1234567890abcdef");
  const Bytes cipher = hex("e5c7cdde872bf27c 43e934008c389c0f 683788499a7c05f6");
  const Bytes salt(8, 0);
  unsigned char out[64];
  int outLength = sizeof out;
  ASSERT_EQ(SNMPv3_USM_OK, apDESDecryptData(key.data(), key.size(), cipher.data(), cipher.size(), out, &outLength,
                                            salt.data(), salt.size()));
  EXPECT_EQ(text("Now is the time for all "), Bytes(out, out + outLength));
}

// The published IDEA vector: key 0001..0008, plain 0000000100020003, cipher 11fbed2b01986de5.
// In CFB-64 the first block is E(IV) XOR plain, so an IV equal to the vector's plain text
// and a zero plain text give the vector's cipher text.
TEST(UsmAuthPriv, IdeaCfbKnownAnswer) {
  const Bytes key = hex("0001000200030004 0005000600070008");
  const Bytes salt = hex("000500070005000b");  // pre-IV 0005000600070008 XOR IV 0000000100020003
  const Bytes cipher = hex("11fbed2b01986de5");
  unsigned char out[8];
  int outLength = sizeof out;
  ASSERT_EQ(SNMPv3_USM_OK, apIDEADecryptData(key.data(), key.size(), cipher.data(), cipher.size(), out, &outLength,
                                             salt.data(), salt.size()));
  EXPECT_EQ(Bytes(8, 0), Bytes(out, out + outLength));
}

TEST(UsmAuthPriv, EncryptionRoundTripsWithFreshSalts) {
  struct Cipher {
    const char* name;
    decltype(&apDESEncryptData) encrypt;
    decltype(&apDESDecryptData) decrypt;
    int expectedLength;  // of 13 bytes of plain text
  };
  const Cipher ciphers[] = {{"DES", apDESEncryptData, apDESDecryptData, 16},
                            {"IDEA", apIDEAEncryptData, apIDEADecryptData, 13}};
  apInit();
  Bytes key(20);
  for (int i = 0; i < 20; ++i) key[i] = static_cast<unsigned char>(0xA0 + i);
  const Bytes plain = text("scoped-pdu-13");
  for (const Cipher& c : ciphers) {
    unsigned char first[32], second[32];
    unsigned char salt1[8], salt2[8];
    int length1 = sizeof first, length2 = sizeof second;
    ASSERT_EQ(SNMPv3_USM_OK, c.encrypt(key.data(), key.size(), 0x01020304, plain.data(), plain.size(), first,
                                       &length1, salt1)) << c.name;
    ASSERT_EQ(SNMPv3_USM_OK, c.encrypt(key.data(), key.size(), 0x01020304, plain.data(), plain.size(), second,
                                       &length2, salt2)) << c.name;
    EXPECT_EQ(c.expectedLength, length1) << c.name;
    EXPECT_EQ(hex("01020304"), Bytes(salt1, salt1 + 4)) << "salt starts with the boots";
    auto low = [](const unsigned char* s) { return uint32_t(s[4]) << 24 | s[5] << 16 | s[6] << 8 | s[7]; };
    EXPECT_EQ(low(salt1) == 0xFFFFFFFEu ? 0u : low(salt1) + 1, low(salt2)) << c.name;
    EXPECT_NE(Bytes(first, first + length1), Bytes(second, second + length2)) << c.name;

    unsigned char back[32];
    int backLength = sizeof back;
    ASSERT_EQ(SNMPv3_USM_OK, c.decrypt(key.data(), key.size(), first, length1, back, &backLength, salt1, 8));
    EXPECT_EQ(plain, Bytes(back, back + plain.size())) << c.name;
    EXPECT_EQ(length1, backLength);
  }
}

TEST(UsmAuthPriv, CipherInputsAreCheckedBeforeUse) {
  const Bytes key(16, 0x11);
  const Bytes salt(8, 0);
  unsigned char out[4096];
  const Bytes big(2049, 0x30);
  unsigned char newSalt[8];

  int room = sizeof out;
  EXPECT_EQ(SNMPv3_USM_ENCRYPTION_ERROR,
            apDESEncryptData(key.data(), 16, 0, big.data(), big.size(), out, &room, newSalt)) << "over 2048 bytes";
  room = 8;
  EXPECT_EQ(SNMPv3_USM_ENCRYPTION_ERROR,
            apDESEncryptData(key.data(), 16, 0, big.data(), 13, out, &room, newSalt)) << "padded output needs 16";
  room = 12;
  EXPECT_EQ(SNMPv3_USM_ENCRYPTION_ERROR,
            apIDEAEncryptData(key.data(), 16, 0, big.data(), 13, out, &room, newSalt)) << "output room";
  room = sizeof out;
  EXPECT_EQ(SNMPv3_USM_ENCRYPTION_ERROR,
            apDESEncryptData(key.data(), 8, 0, big.data(), 8, out, &room, newSalt)) << "short key";

  struct Case {
    const char* what;
    int cipherLength;
    int room;
    int saltLength;
  };
  const Case cases[] = {
      {"not a multiple of the block (DES only)", 13, 64, 8},
      {"longer than the output room", 24, 16, 8},
      {"salt shorter than 8", 16, 64, 7},
      {"salt longer than 8", 16, 64, 9},
      {"empty salt", 16, 64, 0},
  };
  for (const Case& c : cases) {
    int length = c.room;
    EXPECT_EQ(SNMPv3_USM_DECRYPTION_ERROR, apDESDecryptData(key.data(), 16, big.data(), c.cipherLength, out, &length,
                                                            big.data(), c.saltLength)) << c.what;
    if (c.cipherLength % 8 == 0) {
      length = c.room;
      EXPECT_EQ(SNMPv3_USM_DECRYPTION_ERROR, apIDEADecryptData(key.data(), 16, big.data(), c.cipherLength, out,
                                                               &length, big.data(), c.saltLength)) << c.what;
    }
  }
}

}  // namespace
