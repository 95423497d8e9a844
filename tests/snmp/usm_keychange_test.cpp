// Key change of the usmUserTable: the key-change value, the set request that
// carries it, and what is kept once the agent has accepted it.
#include <gtest/gtest.h>

#include <openssl/evp.h>

#include <string>
#include <vector>

#include "Address.h"
#include "Pdu.h"
#include "Target.h"
#include "Vb.h"
#include "mp_v3.h"
#include "usm_v3.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char* const kLocal = "VhSNMP_Application";
const char* const kAgentEngine = "agent-engine";

Bytes bytesOf(const OctetStr& s) { return Bytes(s.data(), s.data() + s.len()); }
Bytes bytesOf(const UsmSecret& s) { return Bytes(s.data(), s.data() + s.size()); }

// What the agent does with a key-change value (RFC 3414 section 5).
Bytes agentDecodes(const Bytes& oldKey, const Bytes& value, const EVP_MD* md) {
  const size_t randomLength = oldKey.size();
  Bytes input(oldKey);
  input.insert(input.end(), value.begin(), value.begin() + randomLength);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int digestLength = 0;
  EVP_Digest(input.data(), input.size(), digest, &digestLength, md, nullptr);
  Bytes key(value.begin() + randomLength, value.end());
  for (size_t i = 0; i < key.size(); ++i) key[i] ^= digest[i];
  return key;
}

TEST(UsmKeyChange, NewKeyValueDecodesToTheNewKey) {
  struct Case {
    int protocol;
    const EVP_MD* md;
    size_t keyLength;
  } cases[] = {{SNMP_AUTHPROTOCOL_HMACMD5, EVP_md5(), 16}, {SNMP_AUTHPROTOCOL_HMACSHA, EVP_sha1(), 20}};
  for (const Case& c : cases) {
    Bytes oldKey(c.keyLength), newKey(c.keyLength);
    for (size_t i = 0; i < c.keyLength; ++i) {
      oldKey[i] = static_cast<unsigned char>(i * 7 + 1);
      newKey[i] = static_cast<unsigned char>(0xA0 + i);
    }
    OctetStr first, second;
    ASSERT_EQ(SNMPv3_USM_OK, apNewKey(oldKey.data(), oldKey.size(), newKey.data(), newKey.size(), first, c.protocol));
    ASSERT_EQ(SNMPv3_USM_OK, apNewKey(oldKey.data(), oldKey.size(), newKey.data(), newKey.size(), second, c.protocol));
    ASSERT_EQ(2 * c.keyLength, first.len());
    EXPECT_EQ(newKey, agentDecodes(oldKey, bytesOf(first), c.md)) << c.protocol;
    EXPECT_EQ(newKey, agentDecodes(oldKey, bytesOf(second), c.md)) << c.protocol;
    EXPECT_NE(bytesOf(first), bytesOf(second)) << "each value has its own random part";
  }

  // Another protocol leaves the new key unmasked; a key longer than the digest cannot be masked at all.
  const Bytes key(16, 0x5A);
  OctetStr value;
  ASSERT_EQ(SNMPv3_USM_OK, apNewKey(key.data(), key.size(), key.data(), key.size(), value, SNMP_AUTHPROTOCOL_NONE));
  EXPECT_EQ(key, Bytes(value.data() + 16, value.data() + 32));
  const Bytes longKey(21, 1);
  EXPECT_EQ(SNMPv3_USM_ERROR,
            apNewKey(key.data(), key.size(), longKey.data(), longKey.size(), value, SNMP_AUTHPROTOCOL_HMACSHA));
  EXPECT_EQ(SNMPv3_USM_ERROR,
            apNewKey(key.data(), key.size(), longKey.data(), 17, value, SNMP_AUTHPROTOCOL_HMACMD5));
}

class UsmKeyUpdates : public ::testing::Test {
 protected:
  void SetUp() override {
    static int fakeSession;
    mpFinish();
    ASSERT_EQ(SNMPv3_MP_OK, mpInit(reinterpret_cast<Snmp*>(&fakeSession), OctetStr(kLocal), 5));
    ASSERT_EQ(SNMPv3_MP_OK, mpAddToEngineIDTable(OctetStr(kAgentEngine), OctetStr("127.0.0.1"), 161));
    ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("dave"), SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_DES,
                                            OctetStr("old-auth-pass"), OctetStr("old-priv-pass")));
    ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("plain"), SNMP_AUTHPROTOCOL_NONE, SNMP_PRIVPROTOCOL_NONE,
                                            OctetStr(), OctetStr()));
  }
  void TearDown() override { mpFinish(); }

  static std::unique_ptr<UsmUser> agentRow() { return usmGetUser(OctetStr(kAgentEngine), OctetStr("dave")); }

  UdpAddress agent{"127.0.0.1/161"};
};

TEST_F(UsmKeyUpdates, PrepareRefusesWhatCannotBeChanged) {
  struct Case {
    const char* address;
    const char* user;
    int type;
    int status;
  } cases[] = {
      {"127.0.0.1/162", "dave", USM_KeyUpdate, SNMPv3_USM_ADDRESS_ERROR},  // engine id not known
      {"127.0.0.1/161", "nobody", USM_KeyUpdate, SNMPv3_USM_UNKNOWN_SECURITY_NAME},
      {"127.0.0.1/161", "plain", USM_KeyUpdate, SNMPv3_USM_UNSUPPORTED_AUTHPROTOCOL},
      {"127.0.0.1/161", "dave", 0, SNMPv3_USM_ERROR},
      {"127.0.0.1/161", "dave", 5, SNMPv3_USM_ERROR},
  };
  for (const Case& c : cases) {
    UTarget target{UdpAddress(c.address)};
    Pdu pdu;
    int status = 0;
    EXPECT_EQ(nullptr, usmPrepareKeyUpdate(OctetStr(c.user), target, OctetStr("new-pass"), pdu, c.type, status));
    EXPECT_EQ(c.status, status) << c.address << " " << c.user << " " << c.type;
    EXPECT_EQ(0, pdu.get_vb_count());
  }
}

TEST_F(UsmKeyUpdates, PrepareAddsTheKeyChangeAndPublicColumns) {
  // engine id "agent-engine" (12 bytes), then "dave" (4 bytes)
  const std::string index = ".12.97.103.101.110.116.45.101.110.103.105.110.101.4.100.97.118.101";
  struct Case {
    int type;
    const char* column;
    bool authKey;
  } cases[] = {{USM_KeyUpdate, "6", true},
               {USM_PrivKeyUpdate, "9", false},
               {USM_OwnKeyUpdate, "7", true},
               {USM_OwnPrivKeyUpdate, "10", false}};
  std::unique_ptr<UsmUser> row = agentRow();
  ASSERT_NE(nullptr, row);
  for (const Case& c : cases) {
    UTarget target(agent);
    Pdu pdu;
    int status = 0;
    std::unique_ptr<UsmKeyUpdate> update =
        usmPrepareKeyUpdate(OctetStr("dave"), target, OctetStr("new-pass-phrase"), pdu, c.type, status);
    ASSERT_NE(nullptr, update) << c.type;
    EXPECT_EQ(SNMPv3_USM_OK, status);
    ASSERT_EQ(2, pdu.get_vb_count());
    Vb change, publicValue;
    pdu.get_vb(change, 0);
    pdu.get_vb(publicValue, 1);
    EXPECT_EQ("1.3.6.1.6.3.15.1.2.2.1." + std::string(c.column) + index, change.get_printable_oid());
    EXPECT_EQ("1.3.6.1.6.3.15.1.2.2.1.11" + index, publicValue.get_printable_oid());

    unsigned char value[64];
    unsigned long length = sizeof value;
    ASSERT_EQ(0, change.get_value(value, length, sizeof value));
    const Bytes oldKey = bytesOf(c.authKey ? row->authKey : row->privKey);
    EXPECT_EQ(bytesOf(update->newKey), agentDecodes(oldKey, Bytes(value, value + length), EVP_md5()));
    length = sizeof value;
    ASSERT_EQ(0, publicValue.get_value(value, length, sizeof value));
    EXPECT_EQ(30u, length);
    usmAbortKeyUpdate(std::move(update));
  }
  EXPECT_TRUE(agentRow()->authKey == row->authKey) << "an aborted change keeps the old keys";
}

TEST_F(UsmKeyUpdates, CommitKeepsWhatItsKindSays) {
  const std::unique_ptr<UsmUser> before = agentRow();
  ASSERT_NE(nullptr, before);
  auto prepare = [&](int type) {
    UTarget target(agent);
    Pdu pdu;
    int status = 0;
    return usmPrepareKeyUpdate(OctetStr("dave"), target, OctetStr("new-pass-phrase"), pdu, type, status);
  };

  // The key only: the pass phrases stay, so other engines keep the old keys.
  std::unique_ptr<UsmKeyUpdate> update = prepare(USM_PrivKeyUpdate);
  ASSERT_NE(nullptr, update);
  const UsmSecret newPrivKey = update->newKey;
  ASSERT_EQ(SNMPv3_USM_OK, usmCommitKeyUpdate(std::move(update), USM_KeyUpdateKeyOnly));
  EXPECT_TRUE(agentRow()->privKey == newPrivKey);
  EXPECT_TRUE(agentRow()->authKey == before->authKey);
  EXPECT_TRUE(usmGetUserNameEntry(OctetStr("dave"))->privPassword == UsmSecret(
                  reinterpret_cast<const unsigned char*>("old-priv-pass"), 13));

  // Key and pass phrase: the authentication pass phrase changes, the privacy one is kept.
  update = prepare(USM_KeyUpdate);
  ASSERT_NE(nullptr, update);
  const UsmSecret newAuthKey = update->newKey;
  ASSERT_EQ(SNMPv3_USM_OK, usmCommitKeyUpdate(std::move(update), USM_KeyUpdateKeyAndPassword));
  std::unique_ptr<UsmUserNameEntry> entry = usmGetUserNameEntry(OctetStr("dave"));
  ASSERT_NE(nullptr, entry);
  EXPECT_TRUE(entry->authPassword == UsmSecret(reinterpret_cast<const unsigned char*>("new-pass-phrase"), 15));
  EXPECT_TRUE(entry->privPassword == UsmSecret(reinterpret_cast<const unsigned char*>("old-priv-pass"), 13));
  EXPECT_TRUE(agentRow()->authKey == newAuthKey) << "the new pass phrase makes the same key again";

  // Pass phrase only, for the privacy key.
  update = prepare(USM_OwnPrivKeyUpdate);
  ASSERT_NE(nullptr, update);
  const UsmSecret ownPrivKey = update->newKey;
  ASSERT_EQ(SNMPv3_USM_OK, usmCommitKeyUpdate(std::move(update), USM_KeyUpdatePasswordOnly));
  entry = usmGetUserNameEntry(OctetStr("dave"));
  ASSERT_NE(nullptr, entry);
  EXPECT_TRUE(entry->privPassword == UsmSecret(reinterpret_cast<const unsigned char*>("new-pass-phrase"), 15));
  EXPECT_TRUE(agentRow()->privKey == ownPrivKey);
  EXPECT_TRUE(agentRow()->authKey == newAuthKey);

  // Other commit kinds, a user gone meanwhile, or no update at all.
  EXPECT_EQ(SNMPv3_USM_ERROR, usmCommitKeyUpdate(prepare(USM_KeyUpdate), 2));
  update = prepare(USM_KeyUpdate);
  ASSERT_NE(nullptr, update);
  usmDeleteUserName(OctetStr("dave"));
  EXPECT_EQ(SNMPv3_USM_ERROR, usmCommitKeyUpdate(std::move(update), USM_KeyUpdateKeyAndPassword));
  EXPECT_EQ(SNMPv3_USM_ERROR, usmCommitKeyUpdate(nullptr, USM_KeyUpdateKeyOnly));
}

}  // namespace
