// Traps received by a request object from net-snmp's snmptrap, and the row
// index of key columns by syntax.
#include <algorithm>
#include <string>
#include <vector>

#include "DateAndTime.h"
#include "SnmpvarFixture.h"
#include "TestKit.h"

namespace {

struct Trapped {
  int calls = 0;
  SnmpRequestResult result{};
  std::vector<std::string> oids, words, values;
};

Trapped* trapped = nullptr;

void OnTrapped(SnmpRequestResult* result, SnmpVarList* list, void* user) {
  EXPECT_EQ(user, nullptr);
  ++trapped->calls;
  trapped->result = *result;
  trapped->oids.clear();
  trapped->words.clear();
  trapped->values.clear();
  for (int i = 0; i < list->GetCount(); ++i) {
    const SnmpVarItem* item = list->GetItem(i);
    trapped->oids.push_back(item->oid);
    trapped->words.push_back(item->label);
    trapped->values.push_back(static_cast<LPCTSTR>(*item->value));
    EXPECT_EQ(*item->cursor, *item->value);
  }
}

// A port that nobody holds (at the time of asking).
unsigned short FreePort() {
  SilentPeer peer;
  return peer.port;
}

class TrapTest : public SessionFolder {
 protected:
  void SetUp() override {
    SessionFolder::SetUp();
    ASSERT_TRUE(SnmpSessionInit(folder.c_str(), ""));
    trapped = &got;
  }
  void TearDown() override {
    trapped = nullptr;
    SessionFolder::TearDown();
  }
  void Send(unsigned short port, const std::string& version, const std::string& trap) {
    int status = -1;
    RunCommand("snmptrap -v " + version + " -c public 127.0.0.1:" + std::to_string(port) + " " + trap + " 2>&1",
               &status);
    ASSERT_EQ(status, 0);
  }
  Trapped got;
};

TEST_F(TrapTest, TrapsFromSnmptrapReachTheCallbackAsAList) {
  const unsigned short port = FreePort();
  SnmpRequest request;
  request.ListenTraps(port, OnTrapped);

  Send(port, "2c", "'' 1.3.6.1.6.3.1.1.5.4 1.3.6.1.2.1.1.5.0 s peer 1.3.6.1.2.1.1.7.0 i 72 "
                  "1.3.6.1.2.1.4.20.1.1.127.0.0.1 a 127.0.0.1 1.3.6.1.2.1.1.9.1.2.1 o 1.3.6.1.6");
  ASSERT_TRUE(testkit::PumpUntil([&] { return got.calls > 0; }, 5000));
  EXPECT_EQ(got.result.nCode, 0);
  EXPECT_EQ(std::string(got.result.strAgent), "127.0.0.1");
  EXPECT_NE(got.result.nPort, 0);
  EXPECT_EQ(std::string(got.result.strNotifyId), "1.3.6.1.6.3.1.1.5.4");
  EXPECT_EQ(got.result.bFinished, 1);
  // sysUpTime.0 and snmpTrapOID.0 lead, then the bindings as sent.
  ASSERT_EQ(got.words.size(), 6u);
  EXPECT_EQ(got.words, (std::vector<std::string>{"TimeTicks", "Oid", "Hex", "Int", "IPaddr", "Oid"}));
  EXPECT_EQ(got.oids[2], "1.3.6.1.2.1.1.5.0");
  EXPECT_EQ(got.values[1], "1.3.6.1.6.3.1.1.5.4");
  EXPECT_EQ(got.values[2], "peer");
  EXPECT_EQ(got.values[3], "72");
  EXPECT_EQ(got.values[4], "127.0.0.1");
  EXPECT_EQ(got.values[5], "1.3.6.1.6");

  // A version 1 trap names its enterprise.
  Send(port, "1", "1.3.6.1.4.1.8072.4 127.0.0.1 6 17 '' 1.3.6.1.2.1.1.5.0 s one");
  ASSERT_TRUE(testkit::PumpUntil([&] { return got.calls > 1; }, 5000));
  EXPECT_EQ(std::string(got.result.strEnterprise), "1.3.6.1.4.1.8072.4");
  ASSERT_FALSE(got.values.empty());
  EXPECT_EQ(got.values.back(), "one");
}

TEST_F(TrapTest, ARequestDestroyedStopsListening) {
  const unsigned short port = FreePort();
  auto* request = new SnmpRequest;
  request->ListenTraps(port, OnTrapped);
  delete request;  // a trap for it now would reach freed memory
  Send(port, "2c", "'' 1.3.6.1.6.3.1.1.5.4");
  testkit::PumpFor(100);
  EXPECT_EQ(got.calls, 0);

  // Another listener is left alone by a request that never listened.
  SnmpRequest listener;
  listener.ListenTraps(port, OnTrapped);
  { SnmpRequest bystander; }
  Send(port, "2c", "'' 1.3.6.1.6.3.1.1.5.4");
  EXPECT_TRUE(testkit::PumpUntil([&] { return got.calls > 0; }, 5000));
}

TEST_F(TrapTest, APortInUseThrows) {
  SilentPeer busy;
  SnmpRequest request;
  EXPECT_NE(ThrownCode([&] { request.ListenTraps(busy.port, OnTrapped); }), 0);
  // The request keeps no callback of a failed registration.
  EXPECT_EQ(request.m_pTrapCallback, nullptr);
}

// ------------------------------------------------------------------ row index

TEST(SnmpRequestIndexTest, KeysRoundTripThroughTheRowIndex) {
  struct Case {
    int syntax;
    int access;
    const char* value;
    const char* index;  // null: only the round trip is checked
    const char* decoded;
  } cases[] = {
      {SVS_INTEGER, SVA_NOTACCESS, "-2", "4294967294", "-2"},
      {SVS_IPADDRESS, SVA_NOTACCESS, "10.0.0.7", "10.0.0.7", "10.0.0.7"},
      {SVS_DISPLAYSTR, SVA_NOTACCESS, "ab", "2.97.98", "ab"},
      {SVS_OCTETSTR, SVA_NOTACCESS | SVA_FLAG, "0A0B", "10.11", "0A0B"},
      {SVS_COUNTER64, SVA_NOTACCESS, "4294967297", "1.1", "4294967297"},
      // The 8 bytes of a double, little-endian, as two words: low half first.
      {SVS_DOUBLE, SVA_NOTACCESS, "1.5", "0.1073217536", "1.500000"},
      {SVS_DOUBLE, SVA_NOTACCESS, "-0.25", nullptr, "-0.250000"},
      {SVS_BCDATETIME, SVA_NOTACCESS, "2024/03/05 13:02:03", nullptr, "2024/03/05 13:02:03 PM"},
      {SVS_DATETIME, SVA_NOTACCESS, "2024-3-5,13:2:3.4", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    SnmpRequest request;
    SnmpVarList& list = request.m_VarList;
    list.m_nItemType = MVT_FMV;
    list.m_nKeyCount = 1;
    list.Add("1.3.6.1.4.1.99.1.1", "key", c.syntax, c.access);
    list.Add("1.3.6.1.4.1.99.1.2", "data", SVS_INTEGER, SVA_READ);
    *list.GetItem(0)->value = c.value;
    CString index = request.RowIndex(list);
    if (c.index) {
      EXPECT_EQ(std::string(index), c.index);
    }
    *list.GetItem(0)->value = "";
    request.StoreRowIndex(index, list);
    std::string expected = c.decoded ? c.decoded : std::string(DateAndTime(c.value).Format());
    EXPECT_EQ(std::string(*list.GetItem(0)->value), expected);
    EXPECT_EQ(std::string(*list.GetItem(0)->cursor), "1.3.6.1.4.1.99.1.1." + std::string(index));
  }
}

TEST(SnmpRequestIndexTest, DateAndTimeKeysAreElevenBytesYearFirst) {
  SnmpRequest request;
  SnmpVarList& list = request.m_VarList;
  list.m_nItemType = MVT_FMV;
  list.m_nKeyCount = 2;
  list.Add("1.3.6.1.4.1.99.1.1", "when", SVS_DATETIME, SVA_NOTACCESS);
  list.Add("1.3.6.1.4.1.99.1.2", "n", SVS_INTEGER, SVA_NOTACCESS);
  *list.GetItem(0)->value = "2024-3-5,13:2:3.4";
  *list.GetItem(1)->value = "9";
  std::string index = static_cast<LPCTSTR>(request.RowIndex(list));
  EXPECT_EQ(index.rfind("7.232.3.5.13.2.3.4.", 0), 0u) << index;
  EXPECT_EQ(std::count(index.begin(), index.end(), '.'), 11);
  EXPECT_EQ(index.substr(index.rfind('.')), ".9");
  // A short index leaves the rest zero and runs into the next key's lack.
  EXPECT_EQ(ThrownCode([&] { request.StoreRowIndex("7.232.3", list); }), -514);
}

}  // namespace
