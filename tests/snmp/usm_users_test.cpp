// The user tables of the user-based security model: rows with localized keys,
// configured users, the console form, key replacement and the state records.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "mp_v3.h"
#include "usm_v3.h"

namespace {

const char* const kLocal = "VhSNMP_Application";

UsmSecret secret(const std::string& text) {
  return UsmSecret(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

class UsmUsers : public ::testing::Test {
 protected:
  void SetUp() override {
    static int fakeSession;
    mpFinish();
    ASSERT_EQ(SNMPv3_MP_OK, mpInit(reinterpret_cast<Snmp*>(&fakeSession), OctetStr(kLocal), 5));
  }
  void TearDown() override {
    usmAddAddUserCallback(nullptr);
    mpFinish();
  }

  // A row with keys given directly (no pass phrase digest).
  static int addRow(const char* engine, const char* user, const char* auth = "auth-key", const char* priv = "") {
    return usmAddUser(OctetStr(engine), OctetStr(user), OctetStr(user), SNMP_AUTHPROTOCOL_HMACMD5, secret(auth),
                      *priv ? SNMP_PRIVPROTOCOL_DES : SNMP_PRIVPROTOCOL_NONE, secret(priv));
  }

  static bool hasRow(const char* engine, const char* user) {
    for (int i = 1; i <= usmGetUsmUserCount(); ++i) {
      std::unique_ptr<UsmUser> row = usmGetUser(i);
      if (row && row->engineID == OctetStr(engine) && row->usmUserName == OctetStr(user)) return true;
    }
    return false;
  }
};

TEST_F(UsmUsers, AddUserReplacesTheRowOfTheSameUserAndEngine) {
  const int base = usmGetUsmUserCount();
  ASSERT_EQ(SNMPv3_USM_OK, addRow("e1", "ann", "key-1"));
  ASSERT_EQ(SNMPv3_USM_OK, addRow("e2", "ann", "key-2"));
  ASSERT_EQ(SNMPv3_USM_OK, addRow("e1", "ann", "key-3", "priv-3"));
  EXPECT_EQ(base + 2, usmGetUsmUserCount());

  std::unique_ptr<UsmUser> row = usmGetUser(OctetStr("e1"), OctetStr("ann"));
  ASSERT_NE(nullptr, row);
  EXPECT_TRUE(row->authKey == secret("key-3"));
  EXPECT_TRUE(row->privKey == secret("priv-3"));
  EXPECT_EQ(SNMP_PRIVPROTOCOL_DES, row->privProtocol);

  // By index: 1..count, nothing outside.
  for (int index : {0, -1, usmGetUsmUserCount() + 1}) EXPECT_EQ(nullptr, usmGetUser(index)) << index;
  EXPECT_NE(nullptr, usmGetUser(1));
  EXPECT_NE(nullptr, usmGetUser(usmGetUsmUserCount()));
}

TEST_F(UsmUsers, AddUserNeedsTheStartAndStaysBounded) {
  for (size_t i = 0; usmGetUsmUserCount() < static_cast<int>(kUsmMaxUsers); ++i)
    ASSERT_EQ(SNMPv3_USM_OK, addRow(("e" + std::to_string(i)).c_str(), "ann"));
  EXPECT_EQ(SNMPv3_USM_ERROR, addRow("one-more", "ann"));
  EXPECT_EQ(SNMPv3_USM_OK, addRow("e0", "ann", "replaced")) << "a full table still takes replacements";
  EXPECT_EQ(static_cast<int>(kUsmMaxUsers), usmGetUsmUserCount());

  mpFinish();
  EXPECT_EQ(SNMPv3_USM_ERROR, addRow("e1", "ann"));
  EXPECT_EQ(SNMPv3_USM_ERROR, usmDeleteUser(OctetStr("ann")));
  EXPECT_EQ(SNMPv3_USM_ERROR, usmDeleteUser(OctetStr("e1"), OctetStr("ann")));
  EXPECT_EQ(SNMPv3_USM_ERROR, usmDeleteSecurityName(OctetStr("ann")));
}

TEST_F(UsmUsers, DeletingUsersRowsAndNames) {
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("ann"), OctetStr("ann-sec"), SNMP_AUTHPROTOCOL_NONE,
                                          SNMP_PRIVPROTOCOL_NONE, OctetStr(), OctetStr()));
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("bob"), SNMP_AUTHPROTOCOL_NONE, SNMP_PRIVPROTOCOL_NONE,
                                          OctetStr(), OctetStr()));
  for (const char* engine : {"e1", "e2"})
    for (const char* user : {"ann", "bob"})
      ASSERT_EQ(SNMPv3_USM_OK, usmAddUser(OctetStr(engine), OctetStr(user), OctetStr(user == std::string("ann")
                                                                                          ? "ann-sec"
                                                                                          : "bob"),
                                          SNMP_AUTHPROTOCOL_NONE, UsmSecret(), SNMP_PRIVPROTOCOL_NONE, UsmSecret()));

  // One engine's row only.
  EXPECT_EQ(-SNMPv3_USM_ERROR, usmDeleteUser(OctetStr("e1"), OctetStr("ann")));
  EXPECT_FALSE(hasRow("e1", "ann"));
  EXPECT_TRUE(hasRow("e2", "ann"));
  EXPECT_TRUE(hasRow("e1", "bob"));

  // Every row of a user name; the configured user stays.
  EXPECT_EQ(-SNMPv3_USM_ERROR, usmDeleteUser(OctetStr("bob")));
  EXPECT_FALSE(hasRow("e1", "bob"));
  EXPECT_FALSE(hasRow("e2", "bob"));
  EXPECT_NE(nullptr, usmGetUserNameEntry(OctetStr("bob")));

  // By security name: the configured user and the rows still found under it.
  std::unique_ptr<UsmUserNameEntry> ann = usmGetUserNameEntry(OctetStr("ann-sec"));
  ASSERT_NE(nullptr, ann);
  EXPECT_EQ(OctetStr("ann"), ann->userName);
  EXPECT_EQ(-SNMPv3_USM_ERROR, usmDeleteSecurityName(OctetStr("ann-sec")));
  EXPECT_EQ(nullptr, usmGetUserNameEntry(OctetStr("ann-sec")));
  EXPECT_FALSE(hasRow("e2", "ann"));
  EXPECT_EQ(SNMPv3_USM_ERROR, usmDeleteSecurityName(OctetStr("ann-sec"))) << "nothing left to find";

  // By user name: the configured user and its rows.
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUser(OctetStr("e1"), OctetStr("bob"), OctetStr("bob"), SNMP_AUTHPROTOCOL_NONE,
                                      UsmSecret(), SNMP_PRIVPROTOCOL_NONE, UsmSecret()));
  EXPECT_EQ(-SNMPv3_USM_ERROR, usmDeleteUserName(OctetStr("bob")));
  EXPECT_EQ(nullptr, usmGetUserNameEntry(OctetStr("bob")));
  EXPECT_FALSE(hasRow("e1", "bob"));
  EXPECT_EQ(nullptr, usmGetUser(OctetStr("e1"), OctetStr("bob")));
}

TEST_F(UsmUsers, UpdateKeyReplacesTheKeyOfItsKind) {
  ASSERT_EQ(SNMPv3_USM_OK, addRow("e1", "ann", "old-auth", "old-priv"));
  struct Case {
    int type;
    int status;
    const char* auth;
    const char* priv;
  } cases[] = {
      {USM_KeyUpdate, SNMPv3_USM_OK, "new", "old-priv"},
      {USM_PrivKeyUpdate, SNMPv3_USM_OK, "old-auth", "new"},
      {USM_OwnKeyUpdate, SNMPv3_USM_OK, "new", "old-priv"},
      {USM_OwnPrivKeyUpdate, SNMPv3_USM_OK, "old-auth", "new"},
      {0, SNMPv3_USM_ERROR, "old-auth", "old-priv"},
      {5, SNMPv3_USM_ERROR, "old-auth", "old-priv"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(SNMPv3_USM_OK, addRow("e1", "ann", "old-auth", "old-priv"));
    EXPECT_EQ(c.status, usmUpdateKey(OctetStr("ann"), OctetStr("e1"), secret("new"), c.type)) << c.type;
    std::unique_ptr<UsmUser> row = usmGetUser(OctetStr("e1"), OctetStr("ann"));
    ASSERT_NE(nullptr, row);
    EXPECT_TRUE(row->authKey == secret(c.auth)) << c.type;
    EXPECT_TRUE(row->privKey == secret(c.priv)) << c.type;
  }
  EXPECT_EQ(SNMPv3_USM_ERROR, usmUpdateKey(OctetStr("ann"), OctetStr("e2"), secret("new"), USM_KeyUpdate));
  EXPECT_EQ(SNMPv3_USM_ERROR, usmUpdateKey(OctetStr("bob"), OctetStr("e1"), secret("new"), USM_KeyUpdate));
}

std::vector<std::string> g_added;
void rememberAdded(const UsmUser& user) {
  g_added.push_back(std::string(reinterpret_cast<const char*>(user.engineID.data()), user.engineID.len()) + "/" +
                    std::to_string(user.authKey.size()));
}

TEST_F(UsmUsers, AddUserCallbackHearsOfKeysForANewEngine) {
  g_added.clear();
  usmAddAddUserCallback(rememberAdded);
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("md5"), SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_NONE,
                                          OctetStr("md5-pass-phrase"), OctetStr()));
  ASSERT_NE(nullptr, usmGetUser(OctetStr("peer"), OctetStr("md5")));
  ASSERT_NE(nullptr, usmGetUser(OctetStr("peer"), OctetStr("md5"))) << "known keys are not news";
  EXPECT_EQ((std::vector<std::string>{std::string(kLocal) + "/16", "peer/16"}), g_added);
}

TEST_F(UsmUsers, ConsoleFormAsksForAUser) {
  struct Case {
    const char* input;
    int status;
    int auth;
    int priv;
    const char* prompts;
  } cases[] = {
      {"carol\n2\ncarol-auth-pass\n2\ncarol-priv-pass\n", SNMPv3_USM_OK, SNMP_AUTHPROTOCOL_HMACMD5,
       SNMP_PRIVPROTOCOL_DES,
       "Add a user to the USM:\n\nsecurityName: authProtocol (1 = none, 2 = MD5, 3 = SHA) :authPassword: "
       "privProtocol (1 = none, 2 = DES, 9 = IDEA) :privPassword: "},
      {"carol\r\n1\r\n1\r\n", SNMPv3_USM_OK, SNMP_AUTHPROTOCOL_NONE, SNMP_PRIVPROTOCOL_NONE,
       "Add a user to the USM:\n\nsecurityName: authProtocol (1 = none, 2 = MD5, 3 = SHA) :"
       "privProtocol (1 = none, 2 = DES, 9 = IDEA) :"},
      // An empty pass phrase cannot make a key.
      {"carol\n3\n\n1\n", SNMPv3_USM_ERROR, 0, 0, nullptr},
  };
  for (const Case& c : cases) {
    usmDeleteUserName(OctetStr("carol"));
    std::istringstream in(c.input);
    std::ostringstream out;
    EXPECT_EQ(c.status, usmAddUserName(in, out)) << c.input;
    std::unique_ptr<UsmUserNameEntry> entry = usmGetUserNameEntry(OctetStr("carol"));
    if (c.status != SNMPv3_USM_OK) {
      EXPECT_EQ(nullptr, entry);
      continue;
    }
    EXPECT_EQ(c.prompts, out.str());
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(OctetStr("carol"), entry->userName);
    EXPECT_EQ(c.auth, entry->authProtocol);
    EXPECT_EQ(c.priv, entry->privProtocol);
  }

  // Texts are cut at 49 characters.
  std::istringstream in(std::string(60, 'x') + "\n1\n1\n");
  std::ostringstream out;
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(in, out));
  EXPECT_NE(nullptr, usmGetUserNameEntry(OctetStr(std::string(49, 'x').c_str())));
}

TEST_F(UsmUsers, NamesIntoCallersBuffers) {
  ASSERT_EQ(SNMPv3_USM_OK, usmAddUserName(OctetStr("user-name"), OctetStr("sec-name"), SNMP_AUTHPROTOCOL_NONE,
                                          SNMP_PRIVPROTOCOL_NONE, OctetStr(), OctetStr()));
  const unsigned char user[] = "user-name";
  const unsigned char sec[] = "sec-name";
  unsigned char buffer[16];
  for (int room : {16, 8}) {
    int length = room;
    EXPECT_EQ(SNMPv3_USM_OK, usmGetSecurityName(user, 9, buffer, &length)) << room;
    EXPECT_EQ(8, length);
    EXPECT_EQ(0, std::memcmp(buffer, "sec-name", 8));
  }
  int length = 7;
  EXPECT_EQ(SNMPv3_USM_ERROR, usmGetSecurityName(user, 9, buffer, &length)) << "too small";
  length = 9;
  EXPECT_EQ(SNMPv3_USM_OK, usmGetUsmUserName(buffer, &length, sec, 8));
  EXPECT_EQ(0, std::memcmp(buffer, "user-name", 9));
  length = 8;
  EXPECT_EQ(SNMPv3_USM_ERROR, usmGetUsmUserName(buffer, &length, sec, 8)) << "too small";
  length = 16;
  EXPECT_EQ(SNMPv3_USM_ERROR, usmGetUsmUserName(buffer, &length, user, 9)) << "not a security name";
}

TEST_F(UsmUsers, StateRecordsAreEmptiedAndFreed) {
  SecurityStateReference state;
  state.msgUserName = OctetStr("ann");
  state.securityEngineID = OctetStr("e1");
  state.authProtocol = SNMP_AUTHPROTOCOL_HMACSHA;
  state.authKey = secret("auth-key");
  state.privKey = secret("priv-key");
  state.securityLevel = SNMP_SECURITY_LEVEL_AUTH_PRIV;
  usmClearSecurityState(state);
  EXPECT_EQ(0u, state.msgUserName.len());
  EXPECT_EQ(0u, state.securityEngineID.len());
  EXPECT_TRUE(state.authKey.empty());
  EXPECT_TRUE(state.privKey.empty());
  EXPECT_EQ(SNMP_AUTHPROTOCOL_NONE, state.authProtocol);

  usmDeleteSecurityStateReference(nullptr);
  usmDeleteSecurityStateReference(new SecurityStateReference(state));

  const unsigned char message[20] = {};
  UsmSecurityParameters params;
  params.userName = OctetStr("ann");
  params.boots = 3;
  params.authParams = message;
  params.authParamsLength = 12;
  usmClearSecurityParams(params);
  EXPECT_EQ(0u, params.userName.len());
  EXPECT_EQ(0, params.boots);
  EXPECT_EQ(nullptr, params.authParams);
  EXPECT_EQ(0u, params.authParamsLength);
}

}  // namespace
