// The request object against net-snmp's snmpd: scalar groups and tables,
// synchronous and asynchronous, sets seen by snmpget, and the failure codes.
#include <atomic>
#include <sstream>
#include <thread>
#include <vector>

#include "CVHException.h"
#include "Clock.h"
#include "SnmpvarFixture.h"
#include "TestKit.h"

namespace {

const SnmpVarItem kSystem[] = {
    {"1.3.6.1.2.1.1.1", "sysDescr", SVS_DISPLAYSTR, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.1.2", "sysObjectID", SVS_OBJECTID, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.1.3", "sysUpTime", SVS_TIMETICKS, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.1.4", "sysContact", SVS_DISPLAYSTR, SVA_READWRITE, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {"1.3.6.1.2.1.1.5", "sysName", SVS_DISPLAYSTR, SVA_READWRITE, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {"1.3.6.1.2.1.1.6", "sysLocation", SVS_DISPLAYSTR, SVA_READWRITE, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const SnmpVarItem kIfTable[] = {
    {"1.3.6.1.2.1.2.2.1.1", "ifIndex", SVS_INTEGER, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.2.2.1.2", "ifDescr", SVS_DISPLAYSTR, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.2.2.1.3", "ifType", SVS_INTEGER, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

// The key column is not readable: its value comes from the row index.
const SnmpVarItem kSysOrTable[] = {
    {"1.3.6.1.2.1.1.9.1.1", "sysORIndex", SVS_INTEGER, SVA_NOTACCESS, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {"1.3.6.1.2.1.1.9.1.2", "sysORID", SVS_OBJECTID, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.1.9.1.3", "sysORDescr", SVS_DISPLAYSTR, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {"1.3.6.1.2.1.1.9.1.4", "sysORUpTime", SVS_TIMETICKS, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

std::string Value(const SnmpVarList& list, const char* label) {
  return static_cast<LPCTSTR>(*list.FindItem(label)->value);
}

struct Completion {
  int calls = 0;
  SnmpRequestResult result{};
  std::vector<std::vector<std::string>> rows;
  SnmpRequest* request = nullptr;  // set: walk on while rows follow
};

void Collect(SnmpRequestResult* result, SnmpVarList* list, void* user) {
  auto* c = static_cast<Completion*>(user);
  ++c->calls;
  c->result = *result;
  std::vector<std::string> row;
  for (int i = 0; i < list->GetCount(); ++i) row.push_back(static_cast<LPCTSTR>(*list->GetItem(i)->value));
  if (result->nCode == 0 && !(c->request && result->bFinished)) c->rows.push_back(row);
  if (c->request && result->nCode == 0 && !result->bFinished) {
    c->request->m_VarList = *list;
    c->request->GetAsync(Collect, false, c);
  }
}

TEST_F(AgentTest, ScalarGroupReadSynchronouslyAndAsynchronously) {
  SnmpRequest request;
  Aim(request);
  request.m_VarList = SnmpVarList(kSystem, SVT_SV, 0);
  EXPECT_FALSE(request.Get(true));
  const SnmpVarList& list = request.m_VarList;
  EXPECT_EQ(Value(list, "sysDescr"), Lines(Tool("snmpget", "-v1 -c public -Oqv", "1.3.6.1.2.1.1.1.0"))[0]);
  std::string objectId = Tool("snmpget", "-v1 -c public -Oqvn", "1.3.6.1.2.1.1.2.0");
  EXPECT_EQ("." + Value(list, "sysObjectID"), objectId);
  EXPECT_NE(Value(list, "sysUpTime"), "(NULL)");
  EXPECT_EQ(Value(list, "sysName"), Lines(Tool("snmpget", "-v1 -c public -Oqv", "1.3.6.1.2.1.1.5.0"))[0]);

  SnmpRequest async;
  Aim(async);
  async.m_VarList = SnmpVarList(kSystem, SVT_SV, 0);
  Completion done;
  async.GetAsync(Collect, true, &done);
  EXPECT_EQ(async.GetOutstanding(), 1);
  // The answer arrives through the event window's timer while we pump.
  ASSERT_TRUE(testkit::PumpUntil([&] { return done.calls > 0; }, 5000));
  EXPECT_EQ(async.GetOutstanding(), 0);
  EXPECT_EQ(done.result.nCode, 0);
  EXPECT_EQ(done.result.bFinished, 1);
  EXPECT_EQ(std::string(done.result.strAgent), "127.0.0.1");
  EXPECT_EQ(done.result.nPort, agent->port());
  ASSERT_EQ(done.rows.size(), 1u);
  EXPECT_EQ(done.rows[0][0], Value(list, "sysDescr"));
  EXPECT_EQ(done.rows[0][4], Value(list, "sysName"));
  EXPECT_EQ(*async.m_VarList.GetItem(0)->value, "");  // the answer went to the callback's copy
}

TEST_F(AgentTest, SetWritesTheChosenItemsAndRestoresTheList) {
  SnmpRequest request;
  Aim(request);
  request.m_VarList = SnmpVarList(kSystem, SVT_SV, 0);
  request.Get(true);
  const std::string name = Value(request.m_VarList, "sysName");
  const std::string location = Value(request.m_VarList, "sysLocation");

  CStringList values;
  values.AddTail("noc@example.org");
  EXPECT_FALSE(request.Set(false, "3", &values));
  EXPECT_EQ(Lines(Tool("snmpget", "-v2c -c public -Oqv", "1.3.6.1.2.1.1.4.0"))[0], "noc@example.org");
  // Flags and values are as before the call.
  EXPECT_EQ(request.m_VarList.GetItem(3)->access, SVA_READWRITE);
  EXPECT_EQ(request.m_VarList.GetItem(0)->access, SVA_READ);
  EXPECT_NE(Value(request.m_VarList, "sysContact"), "noc@example.org");

  // Positions 3 and 5 with one value: sysLocation goes out with its own value.
  values.RemoveAll();
  values.AddTail("second@example.org");
  request.Set(false, "3,5", &values);
  EXPECT_EQ(Lines(Tool("snmpget", "-v2c -c public -Oqv", "1.3.6.1.2.1.1.4.0"))[0], "second@example.org");
  EXPECT_EQ(Lines(Tool("snmpget", "-v2c -c public -Oqv", "1.3.6.1.2.1.1.6.0"))[0], location);
  EXPECT_EQ(Lines(Tool("snmpget", "-v2c -c public -Oqv", "1.3.6.1.2.1.1.5.0"))[0], name);

  // Asynchronous, with the re-read of the answer.
  SnmpRequest async;
  Aim(async);
  async.m_VarList = SnmpVarList(kSystem, SVT_SV, 0);
  values.RemoveAll();
  values.AddTail("third@example.org");
  Completion done;
  async.SetAsync(Collect, true, "3", &values, &done);
  ASSERT_TRUE(testkit::PumpUntil([&] { return done.calls > 0; }, 5000));
  EXPECT_EQ(done.result.nCode, 0);
  ASSERT_EQ(done.rows.size(), 1u);
  EXPECT_EQ(done.rows[0][3], "third@example.org");
  EXPECT_EQ(Lines(Tool("snmpget", "-v2c -c public -Oqv", "1.3.6.1.2.1.1.4.0"))[0], "third@example.org");
}

TEST_F(AgentTest, FailedSetBuildLeavesTheListAsItWas) {
  SnmpRequest request;
  Aim(request);
  request.m_VarList.Add("1.3.6.1.2.1.1.4", "sysContact", SVS_DISPLAYSTR, SVA_READWRITE);
  request.m_VarList.Add("1.3.6.1.2.1.1.5", "odd", 0x99, SVA_READWRITE);
  *request.m_VarList.GetItem(0)->value = "before";
  CStringList values;
  values.AddTail("after");
  values.AddTail("x");
  EXPECT_EQ(ThrownCode([&] { request.Set(false, "0,1", &values); }), -511);
  EXPECT_EQ(*request.m_VarList.GetItem(0)->value, "before");
  EXPECT_EQ(request.m_VarList.GetItem(0)->access, SVA_READWRITE);
  EXPECT_EQ(request.m_VarList.GetItem(1)->access, SVA_READWRITE);
  // Leaving the odd one out, the set goes through.
  EXPECT_EQ(ThrownCode([&] { request.Set(false, "0", &values); }), 0);
  EXPECT_EQ(request.m_VarList.GetItem(1)->access, SVA_READWRITE);
}

TEST_F(AgentTest, TableWalkMatchesSnmpwalk) {
  const std::vector<std::string> indexes = Lines(Tool("snmpwalk", "-v2c -c public -Oqv", "1.3.6.1.2.1.2.2.1.1"));
  const std::vector<std::string> descrs = Lines(Tool("snmpwalk", "-v2c -c public -Oqv", "1.3.6.1.2.1.2.2.1.2"));
  ASSERT_FALSE(indexes.empty());

  SnmpRequest request;
  Aim(request);
  request.m_nVersion = 1;
  request.m_VarList = SnmpVarList(kIfTable, MVT_UMV, 1);
  std::vector<std::string> gotIndexes, gotDescrs;
  for (bool more = request.Get(true); more; more = request.Get(false)) {
    gotIndexes.push_back(Value(request.m_VarList, "ifIndex"));
    gotDescrs.push_back(Value(request.m_VarList, "ifDescr"));
  }
  EXPECT_EQ(gotIndexes, indexes);
  EXPECT_EQ(gotDescrs, descrs);
  EXPECT_EQ(Value(request.m_VarList, "ifDescr"), "(NOTDONE)");

  SnmpRequest async;
  Aim(async);
  async.m_VarList = SnmpVarList(kIfTable, MVT_UMV, 1);
  Completion done;
  done.request = &async;
  async.GetAsync(Collect, true, &done);
  ASSERT_TRUE(testkit::PumpUntil([&] { return done.result.bFinished || done.result.nCode; }, 10000));
  EXPECT_EQ(done.result.nCode, 0);
  ASSERT_EQ(done.rows.size(), indexes.size());
  for (size_t i = 0; i < indexes.size(); ++i) EXPECT_EQ(done.rows[i][1], descrs[i]);
}

TEST_F(AgentTest, VersionOneWalkEndsOnNoSuchNameAtTheEndOfTheView) {
  // The community sees only the system group, whose last object is a column
  // of sysORTable: stepping past its last row answers no-such-name.
  SnmpdHarness limited({"rocommunity sysonly 127.0.0.1 .1.3.6.1.2.1.1"});
  std::string why;
  ASSERT_TRUE(limited.Start(&why)) << why;
  const std::vector<std::string> descrs =
      Lines(limited.RunTool("snmpwalk", "-v2c -c sysonly -Oqv", "1.3.6.1.2.1.1.9.1.3"));
  ASSERT_FALSE(descrs.empty());

  SnmpRequest request;
  request.m_nPort = limited.port();
  request.m_strReadCommunity = "sysonly";
  request.m_VarList = SnmpVarList(kSysOrTable, MVT_FMV, 1);
  std::vector<std::string> got, keys;
  for (bool more = request.Get(true); more; more = request.Get(false)) {
    got.push_back(Value(request.m_VarList, "sysORDescr"));
    keys.push_back(Value(request.m_VarList, "sysORIndex"));
  }
  EXPECT_EQ(got, descrs);
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys[0], "1");
  EXPECT_EQ(keys.back(), std::to_string(descrs.size()));

  // The same end reached asynchronously is a success that finishes the walk.
  SnmpRequest async;
  async.m_nPort = limited.port();
  async.m_strReadCommunity = "sysonly";
  async.m_VarList = SnmpVarList(kSysOrTable, MVT_FMV, 1);
  Completion done;
  done.request = &async;
  async.GetAsync(Collect, true, &done);
  ASSERT_TRUE(testkit::PumpUntil([&] { return done.result.bFinished || done.result.nCode; }, 10000));
  EXPECT_EQ(done.result.nCode, 0);
  EXPECT_EQ(std::string(done.result.strMessage), "(VeDUZA++) Ok!");
  EXPECT_EQ(done.rows.size(), descrs.size());
}

TEST_F(AgentTest, SilentAgentTimesOut) {
  SilentPeer peer;
  SnmpRequest request;
  request.m_nPort = peer.port;
  request.m_nTimeout = 10;
  request.m_nRetries = 0;
  request.m_VarList = SnmpVarList(kSystem, SVT_SV, 0);
  EXPECT_EQ(ThrownCode([&] { request.Get(true); }), -405);

  Completion done;
  request.GetAsync(Collect, true, &done);
  ASSERT_TRUE(testkit::PumpUntil([&] { return done.calls > 0; }, 5000));
  EXPECT_EQ(done.result.nCode, -405);
  EXPECT_EQ(std::string(done.result.strMessage), "(SNMPClass) SNMP request timed out!");
  EXPECT_EQ(done.result.bFinished, 1);
  EXPECT_EQ(request.GetOutstanding(), 0);
}

TEST_F(AgentTest, ModeAndTypeErrorsAndTheDisabledRequest) {
  SnmpRequest request;
  Aim(request);
  request.m_VarList = SnmpVarList(kSystem, SVT_SV, 0);
  EXPECT_EQ(ThrownCode([&] { request.Get(false); }), -510);
  request.m_VarList.m_nItemType = 4;
  EXPECT_EQ(ThrownCode([&] { request.Get(true); }), -515);
  EXPECT_EQ(ThrownCode([&] { request.Set(false, "", nullptr); }), -515);
  request.m_VarList.m_nItemType = SVT_SV;
  request.m_strAgent = "1.2.3.4.5";
  EXPECT_EQ(ThrownCode([&] { request.Get(true); }), -509);

  request.m_strAgent = "127.0.0.1";
  request.m_bEnabled = 0;
  EXPECT_FALSE(request.Get(true));
  EXPECT_FALSE(request.Set(false, "", nullptr));
  Completion done;
  request.GetAsync(Collect, true, &done);
  EXPECT_EQ(request.GetOutstanding(), 0);
  EXPECT_EQ(*request.m_VarList.GetItem(0)->value, "");
}

TEST(SnmpRequestWalkTest, ColumnEndsOnSubIdentifierBoundaries) {
  SnmpRequest request;
  request.m_VarList.m_nItemType = MVT_UMV;
  struct Case {
    const char* cursor;
    const char* returned;
    BYTE done;
  } cases[] = {
      {"", "1.2.1.5", 0},
      {"1.2.1.5", "1.2.1.6.7", 0},
      {"1.2.1.5", "1.2.1.5", 1},   // no progress
      {"1.2.1.5", "1.2.10.1", 1},  // a sibling column that shares the leading digits
      {"1.2.1.5", "1.2.2.1", 1},
      {"1.2.1.5", "1.2.1", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.returned);
    EXPECT_EQ(request.IsWalkDone("1.2.1", c.cursor, c.returned), c.done);
  }
  request.m_VarList.m_nItemType = MVT_SV;
  EXPECT_EQ(request.IsWalkDone("1.2.1", "", "1.3"), 0);
}

// Holds the first request it receives until released, then forwards it to
// the agent and hands the agent's answer back to the sender.
class LateRelay {
 public:
  explicit LateRelay(unsigned short agentPort) : agentPort_(agentPort), thread_([this] { Run(); }) {}
  ~LateRelay() {
    release = true;
    thread_.join();
  }
  unsigned short port() const { return peer_.port; }
  std::atomic<bool> release{false};
  std::atomic<bool> answered{false};

 private:
  void Run() {
    timeval wait{5, 0};
    setsockopt(peer_.fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    unsigned char buffer[4096];
    sockaddr_in sender{};
    socklen_t n = sizeof sender;
    ssize_t size = recvfrom(peer_.fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&sender), &n);
    if (size <= 0) return;
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    sockaddr_in agent{};
    agent.sin_family = AF_INET;
    agent.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    agent.sin_port = htons(agentPort_);
    sendto(peer_.fd, buffer, size, 0, reinterpret_cast<sockaddr*>(&agent), sizeof agent);
    ssize_t answer = recv(peer_.fd, buffer, sizeof buffer, 0);
    if (answer <= 0) return;
    sendto(peer_.fd, buffer, answer, 0, reinterpret_cast<sockaddr*>(&sender), sizeof sender);
    answered = true;
  }

  SilentPeer peer_;
  unsigned short agentPort_;
  std::thread thread_;
};

TEST_F(AgentTest, RequestDestroyedWithAnAnswerStillOutstanding) {
  LateRelay relay(agent->port());
  Completion done;
  auto* request = new SnmpRequest;
  Aim(*request);
  request->m_nPort = relay.port();
  request->m_nTimeout = 100000;  // the answer must come late, not as a time-out
  request->m_VarList = SnmpVarList(kSystem, SVT_SV, 0);
  request->GetAsync(Collect, true, &done);
  ASSERT_EQ(request->GetOutstanding(), 1);

  // The destructor gives up after 6 s of platform time.
  PlatformClockSetScale(200.0);
  delete request;
  PlatformClockSetScale(1.0);

  relay.release = true;
  ASSERT_TRUE(testkit::PumpUntil([&] { return relay.answered.load(); }, 5000));
  testkit::PumpFor(200);  // the event window takes the late answer in
  EXPECT_EQ(done.calls, 0);
}

}  // namespace
