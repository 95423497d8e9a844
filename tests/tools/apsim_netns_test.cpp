// The simulated access point's SNMP agent, its QUAV side and the lab script,
// against net-snmp's tools, our SNMP request object and the QUAV client. Runs
// inside a private network namespace (tools/netns-run).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "AlQUAVClient.h"
#include "AnnouncementListen.h"
#include "ApsimHarness.h"
#include "CVHException.h"
#include "Files.h"
#include "SnmpRequest.h"
#include "SnmpSession.h"
#include "SnmpdHarness.h"
#include "TempDir.h"
#include "TestKit.h"
#include "WizardTables.h"

namespace {

const std::string P = "1.3.6.1.4.1.32473.10.37.40.";
const std::string kGroupStatus = P + "3.11.1.1.1.0", kModeSelect = P + "3.11.1.1.2.0", kGroupName = P + "3.11.1.1.3.0",
                  kGroupPassword = P + "3.11.1.1.4.0", kGroupVersion = P + "3.11.1.1.5.0",
                  kRestart = P + "4.2.1.0", kSettingApply = P + "4.2.3.0",
                  kApMode = P + "2.1.3.3.1.1.1.28.1", kUsersName = P + "4.1.1.1.2.1",
                  kUsersPassword = P + "4.1.1.1.3.1", kChannelList = P + "2.1.3.3.1.1.1.4.1",
                  kRadiusServer = P + "2.1.3.3.2.1.1.8.1", kAuthentication = P + "2.1.3.3.2.1.1.1.1",
                  kWepKeyTable = P + "2.1.3.3.2.2.1";

const char kMac[] = "000D88C00001";

// One device with SNMP on and the default communities.
const char kDevice[] = R"(
[device]
mac = 000D88C00001
ip = 10.250.0.41
snmp_status = 1
reboot_ms = 300
dot11ApMode = 3
dot11WepKey.2 = 0123456789
)";

class ApsimTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_STREQ(std::getenv("TRELLIAN_NETNS"), "inside") << "run through tools/netns-run";
  }

  void Start(const std::string& scenario, std::vector<std::string> options = {}) {
    sim_ = std::make_unique<ApsimHarness>(dir_, scenario, std::move(options));
    ASSERT_TRUE(sim_->Ready()) << sim_->Log() << sim_->Errors();
  }

  // Runs a net-snmp tool: `arguments` come before the agent, `tail` after.
  std::string Tool(const std::string& tool, const std::string& arguments, const std::string& agent,
                   const std::string& tail, int* status = nullptr) {
    std::string command = "MIBS= SNMP_PERSISTENT_DIR=" + dir_.path() + " " + tool + " -On -r0 -t0.5 " + arguments +
                          " " + agent + " " + tail + " 2>&1";
    return RunCommand(command, status);
  }
  std::string Get(const std::string& oids, const std::string& community = "public", const std::string& v = "2c",
                  const std::string& agent = "10.250.0.41") {
    return Tool("snmpget", "-v" + v + " -c " + community, agent, oids);
  }
  std::string Set(const std::string& bindings, const std::string& community = "private",
                  const std::string& v = "2c") {
    return Tool("snmpset", "-v" + v + " -c " + community, "10.250.0.41", bindings);
  }

  TempDir dir_;
  std::unique_ptr<ApsimHarness> sim_;
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(ApsimTest, ObjectsAnswerInBothInstanceForms) {
  Start(kDevice);
  std::string out = Get(kGroupStatus + " " + kModeSelect + " " + kApMode + " " + kUsersName + " " + kRadiusServer +
                        " " + kWepKeyTable + ".3.1.2");
  EXPECT_TRUE(Has(out, "." + kGroupStatus + " = INTEGER: 0")) << out;
  EXPECT_TRUE(Has(out, "." + kModeSelect + " = INTEGER: 1")) << out;
  EXPECT_TRUE(Has(out, "." + kApMode + " = INTEGER: 3")) << out;  // from the scenario, by name
  EXPECT_TRUE(Has(out, "." + kUsersName + " = STRING: \"admin\"")) << out;
  EXPECT_TRUE(Has(out, "." + kRadiusServer + " = IpAddress: 0.0.0.0")) << out;
  EXPECT_TRUE(Has(out, "." + kWepKeyTable + ".3.1.2 = STRING: \"0123456789\"")) << out;

  // The WEP key table walks row by row, method column then key column.
  out = Tool("snmpwalk", "-v2c -c public", "10.250.0.41", kWepKeyTable);
  std::vector<std::string> oids;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) oids.push_back(line.substr(0, line.find(' ')));
  std::vector<std::string> expected;
  for (int column : {2, 3})
    for (int k = 1; k <= 4; ++k) expected.push_back("." + kWepKeyTable + "." + std::to_string(column) + ".1." + std::to_string(k));
  EXPECT_EQ(oids, expected) << out;

  // A whole walk of the private tree ends cleanly (v1 and v2c).
  for (const char* v : {"1", "2c"}) {
    int status = -1;
    out = Tool("snmpwalk", std::string("-v") + v + " -c private", "10.250.0.41", P.substr(0, P.size() - 1), &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_GT(std::count(out.begin(), out.end(), '\n'), 55) << out;
  }
}

TEST_F(ApsimTest, SetsAreKeptAndAllOrNothing) {
  Start(kDevice);
  std::string out = Set(kGroupName + " s Lobby " + kUsersName + " s root " + kRadiusServer + " a 10.1.2.3");
  EXPECT_FALSE(Has(out, "Error")) << out;
  out = Get(kGroupName + " " + kUsersName + " " + kRadiusServer);
  EXPECT_TRUE(Has(out, "STRING: \"Lobby\"")) << out;
  EXPECT_TRUE(Has(out, "STRING: \"root\"")) << out;
  EXPECT_TRUE(Has(out, "IpAddress: 10.1.2.3")) << out;
  EXPECT_EQ(sim_->State(kMac)["dot11ApTrevakName"], "Lobby");

  // Each bad binding, second in the PDU, fails the whole Set with its index.
  struct Case {
    std::string version, binding, reason;
  };
  const Case cases[] = {
      {"1", kChannelList + " s x", "(noSuchName)"},
      {"1", P + "9.9.0 i 1", "(noSuchName)"},
      {"1", kModeSelect + " s 2", "(badValue)"},
      {"1", kAuthentication + " i 3", "(badValue)"},
      {"2c", kChannelList + " s x", "notWritable"},
      {"2c", P + "9.9.0 i 1", "notWritable"},
      {"2c", kModeSelect + " s 2", "wrongType"},
      {"2c", kAuthentication + " i 3", "wrongValue"},
      {"2c", kModeSelect + " i 4", "wrongValue"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version + " " + c.binding);
    out = Set(kGroupName + " s Changed " + c.binding, "private", c.version);
    EXPECT_TRUE(Has(out, c.reason)) << out;
    EXPECT_TRUE(Has(out, "Failed object: ." + c.binding.substr(0, c.binding.find(' ')))) << out;
    EXPECT_TRUE(Has(Get(kGroupName), "\"Lobby\"")) << "the first binding was written";
  }

  // Get mixes read-only and read-write objects; an unknown one is noSuchObject
  // in v2c and noSuchName (index 2) in v1.
  out = Get(kChannelList + " " + kApMode + " " + P + "9.9.0");
  EXPECT_TRUE(Has(out, "STRING: \"1 2 3")) << out;
  EXPECT_TRUE(Has(out, "No Such Object")) << out;
  out = Get(kApMode + " " + P + "9.9.0", "public", "1");
  EXPECT_TRUE(Has(out, "(noSuchName)")) << out;
  EXPECT_TRUE(Has(out, "Failed object: ." + P + "9.9.0")) << out;
}

TEST_F(ApsimTest, CommunitiesAndSnmpStatusDecideWhoIsAnswered) {
  Start(kDevice);
  struct Case {
    std::string tool, community, tail;
    bool answered;
  };
  const Case cases[] = {
      {"snmpget", "public", kApMode, true},
      {"snmpget", "private", kApMode, true},
      {"snmpget", "wrong", kApMode, false},
      {"snmpset", "public", kApMode + " i 1", false},  // the read community cannot write
      {"snmpset", "private", kApMode + " i 1", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tool + " " + c.community);
    std::string out = Tool(c.tool, "-v2c -c " + c.community, "10.250.0.41", c.tail);
    EXPECT_EQ(!Has(out, "Timeout"), c.answered) << out;
  }
  // SNMP turned off over QUAV (no password on a fresh device) silences the
  // agent; turned on, it takes the communities QUAV set.
  int status = -1;
  std::string out = RunCommand(BuiltProgram("quavctl") + " snmp off " + kMac + " '' 2>&1", &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_TRUE(Has(Get(kApMode, "quorin"), "Timeout"));
  EXPECT_EQ(sim_->State(kMac)["snmp_status"], "0");
  out = RunCommand(BuiltProgram("quavctl") + " snmp on " + kMac + " '' 2>&1", &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_TRUE(Has(Get(kApMode, "quorin"), "INTEGER: 1"));
  EXPECT_TRUE(Has(Get(kApMode, "public"), "Timeout"));
  EXPECT_TRUE(Has(Set(kApMode + " i 2", "velmont"), "INTEGER: 2"));
}

TEST_F(ApsimTest, RestartSilencesTheDeviceUntilItComesBackOnTheStagedAddress) {
  Start(kDevice);
  int status = -1;
  std::string out = RunCommand(BuiltProgram("quavctl") + " set-ip " + kMac + " '' 10.250.0.42 255.255.255.0 0.0.0.0 2>&1",
                               &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_EQ(sim_->State(kMac)["staged_ip"], "10.250.0.42");
  out = Set(kRestart + " i 1");
  EXPECT_TRUE(Has(out, "INTEGER: 1")) << "answered before the reboot: " << out;
  EXPECT_EQ(sim_->State(kMac)["rebooting"], "1");
  EXPECT_TRUE(Has(Get(kApMode), "Timeout"));
  ASSERT_TRUE(sim_->WaitForLog("back " + std::string(kMac)));
  std::map<std::string, std::string> state = sim_->State(kMac);
  EXPECT_EQ(state["rebooting"], "0");
  ASSERT_EQ(state["ip"], "10.250.0.42");
  EXPECT_TRUE(Has(Get(kApMode, "public", "2c", state["ip"]), "INTEGER: 3"));
  EXPECT_TRUE(Has(Get(kApMode), "Timeout")) << "the old address is gone";

  // The saved state starts the same device again.
  std::string saved = dir_.file("saved.ini");
  ASSERT_EQ(std::rename(sim_->statePath().c_str(), saved.c_str()), 0);
  sim_->Stop();
  std::ifstream in(saved);
  std::stringstream text;
  text << in.rdbuf();
  Start(text.str());
  EXPECT_TRUE(Has(Get(kWepKeyTable + ".3.1.2", "public", "2c", "10.250.0.42"), "\"0123456789\""));
}

// What the apply engine writes for a Master's group settings, through our
// request object and the global session.
TEST_F(ApsimTest, RequestObjectWritesTheGroupSettings) {
  Start(kDevice);
  std::string folder = dir_.file("session");
  ASSERT_EQ(system(("mkdir -p " + folder).c_str()), 0);
  ASSERT_TRUE(SnmpSessionInit(folder.c_str(), ""));
  {
    SnmpRequest request;
    request.m_strAgent = "10.250.0.41";
    request.m_nPort = 161;
    request.m_strReadCommunity = "public";
    request.m_strWriteCommunity = "private";
    SnmpVarList& list = request.m_VarList;
    list.Add((P + "3.11.1.1.1").c_str(), "dot11APTrevakStatus", SVS_INTEGER, SVA_READWRITE);
    list.Add((P + "3.11.1.1.2").c_str(), "dot11APTrevakModeSelect", SVS_INTEGER, SVA_READWRITE);
    list.Add((P + "3.11.1.1.3").c_str(), "dot11ApTrevakName", SVS_DISPLAYSTR, SVA_READWRITE);
    list.Add((P + "3.11.1.1.4").c_str(), "dot11ApTrevakPassword", SVS_DISPLAYSTR, SVA_READWRITE);
    *list.GetItem(0)->value = "1";
    *list.GetItem(1)->value = "1";
    *list.GetItem(2)->value = "Lobby";
    *list.GetItem(3)->value = "grouppw";
    try {
      request.Set(false, "", nullptr);
    } catch (CVHException* e) {
      ADD_FAILURE() << e->GetMessage().GetString();
      delete e;
    }
  }
  SnmpSessionExit();
  std::map<std::string, std::string> state = sim_->State(kMac);
  EXPECT_EQ(state["dot11APTrevakStatus"], "1");
  EXPECT_EQ(state["group_name"], "Lobby");
  EXPECT_EQ(state["group_password"], "grouppw");
  EXPECT_EQ(state["role"], "1");
  EXPECT_EQ(state["announce"], "1");
}

// What the QUAV client saw.
struct Recorder {
  std::vector<int> codes;
  std::vector<std::vector<std::string>> values;
  bool ended = false;
};

void Record(VhQUAVError* error, basicVarList* list, void* user) {
  Recorder* r = static_cast<Recorder*>(user);
  r->codes.push_back(error->code);
  std::vector<std::string> values;
  if (error->code == 0) {
    int subs = list->GetResponseItemCount(0);
    for (int i = 0; i < subs; ++i) values.push_back(list->GetResponseItemValue(0, i).GetString());
    if (subs < 0)
      for (int i = 0; i < list->Count(); ++i) values.push_back(list->GetItemValue(i).GetString());
  }
  r->values.push_back(values);
  if (error->code == QUAV_TIMEOUT || error->command == QUAV_CMD_SET || error->command == QUAV_CMD_GET) r->ended = true;
}

class ApsimQuavTest : public ApsimTest {
 protected:
  void SetUp() override {
    ApsimTest::SetUp();
    testkit::SetClockScale(10);
  }
  void TearDown() override { testkit::SetClockScale(1); }

  int QuavGet(SecurtyLevel level, const char* password) {
    AlQUAVClient client;
    client.SetRequestMode(0, "");
    QUAVVarlist list(kCommunityTable);
    list.SetCommand(QUAV_CMD_GET);
    list.SetSecurityMode(level, password);
    Recorder r;
    client.SendRequest(kMac, &list, Record, 500, &r);
    testkit::PumpUntil([&] { return r.ended; }, 20000);
    return r.codes.empty() ? 1 : r.codes[0];
  }
};

TEST_F(ApsimQuavTest, UsersPasswordIsTheQuavPassword) {
  Start(kDevice);
  EXPECT_EQ(QuavGet(QUAV_SECURITY_NONE, ""), 0) << "a fresh device asks no password";
  EXPECT_TRUE(Has(Set(kUsersPassword + " s n3w"), "STRING: \"n3w\""));
  EXPECT_EQ(sim_->State(kMac)["password"], "n3w");
  struct Case {
    SecurtyLevel level;
    const char* password;
    int code;
  };
  for (Case c : {Case{QUAV_SECURITY_NONE, "", QUAV_PASSWORD_ERROR}, Case{QUAV_SECURITY_MD5, "n3w", QUAV_PASSWORD_ERROR},
                 Case{QUAV_SECURITY_HMAC_MD5, "old", QUAV_PASSWORD_ERROR}, Case{QUAV_SECURITY_HMAC_MD5, "n3w", 0}}) {
    SCOPED_TRACE(c.password);
    EXPECT_EQ(QuavGet(c.level, c.password), c.code);
  }
}

TEST_F(ApsimQuavTest, GroupStatusDrivesAnnouncements) {
  Start(std::string(kDevice) + "announce_ms = 1000\n", {"--time-scale", "10"});
  AlQUAVClient client;
  AnnouncementListen announcements(client);
  QUAVVarlist& list = announcements.list;
  client.StartListen();
  auto listen = [&] {
    Recorder r;
    client.Listen(QUAV_LISTEN_PORT, "FFFFFFFFFFFF", &list, Record, 500, &r, 1, "");
    testkit::PumpUntil([&] { return r.ended; }, 20000);
    r.values.pop_back();  // the time-out
    return r.values;
  };
  EXPECT_TRUE(listen().empty()) << "no group, no announcements";

  ASSERT_FALSE(Has(Set(kModeSelect + " i 2 " + kGroupName + " s Lobby " + kGroupPassword + " s pw " + kGroupVersion +
                       " i 7 " + kGroupStatus + " i 1"),
                   "Error"));
  // 100 ms of real time between announcements, 500 of device time heard.
  std::vector<std::vector<std::string>> heard = listen();
  ASSERT_GE(heard.size(), 3u);
  const std::vector<std::string>& a = heard[0];
  ASSERT_EQ(a.size(), 15u);
  EXPECT_EQ(a[7], "2");      // role
  EXPECT_EQ(a[9], "7");      // CFG version
  EXPECT_EQ(a[10], "Lobby");
  EXPECT_EQ(a[11], "1");
  EXPECT_EQ(a[12], "pw");

  ASSERT_FALSE(Has(Set(kGroupStatus + " i 0"), "Error"));
  testkit::PumpFor(200);
  EXPECT_TRUE(listen().empty()) << "status 0 stops them";
  client.StopListen();
}

TEST_F(ApsimTest, FaultKnobs) {
  Start(R"(
[device]
mac = 000D88C00001
ip = 10.250.0.41
snmp_status = 1
reboot_ms = 1500
faults = no_answer=reboot
[device]
mac = 000D88C00002
ip = 10.250.0.42
snmp_status = 1
faults = snmp_silent
[device]
mac = 000D88C00003
ip = 10.250.0.43
snmp_status = 1
faults = snmp_error=dot11ApMode:5
)");
  // no_answer=reboot: the restart is taken without an answer; other requests are answered.
  EXPECT_TRUE(Has(Get(kApMode), "INTEGER: 1"));
  EXPECT_TRUE(Has(Set(kRestart + " i 1"), "Timeout"));
  EXPECT_EQ(sim_->State(kMac)["rebooting"], "1");
  ASSERT_TRUE(sim_->WaitForLog("back 000D88C00001"));
  int status = -1;
  std::string out = RunCommand(BuiltProgram("quavctl") + " reboot " + kMac + " '' 2>&1", &status);
  EXPECT_NE(status, 0) << "the QUAV reboot is not answered either: " << out;
  EXPECT_TRUE(Has(sim_->Log(), "ignore command 3 seq 0 at 000D88C00001 (rebooting)")) << sim_->Log();

  // snmp_silent: never an answer, while QUAV still answers.
  EXPECT_TRUE(Has(Get(kApMode, "public", "2c", "10.250.0.42"), "Timeout"));
  out = RunCommand(BuiltProgram("quavctl") + " get 000D88C00002 '' 2>&1", &status);
  EXPECT_EQ(status, 0) << out;

  // snmp_error: a PDU naming the object gets the status at its index.
  out = Get(kUsersName + " " + kApMode, "public", "2c", "10.250.0.43");
  EXPECT_TRUE(Has(out, "genErr")) << out;
  EXPECT_TRUE(Has(out, "Failed object: ." + kApMode)) << out;
  EXPECT_TRUE(Has(Get(kUsersName, "public", "2c", "10.250.0.43"), "\"admin\""));
}

// The loss knob: requests and answers lost both ways, or answers only, with
// the same losses again for the same seed.
TEST_F(ApsimTest, LossKnobLosesDatagramsAsItsSeedSays) {
  auto run = [this](std::vector<std::string> options, int* answered) {
    Start(kDevice, std::move(options));
    *answered = 0;
    for (int i = 0; i < 6; ++i) *answered += Has(Get(kApMode), "INTEGER: 3");
    std::istringstream log(sim_->Log());
    std::string line, losses;
    while (std::getline(log, line))
      if (line.rfind("lose ", 0) == 0) losses += line + "\n";
    sim_.reset();
    return losses;
  };
  int answered = -1;
  EXPECT_EQ(run({"--loss", "100"}, &answered), "lose snmp request 000D88C00001\nlose snmp request 000D88C00001\n"
                                                    "lose snmp request 000D88C00001\nlose snmp request 000D88C00001\n"
                                                    "lose snmp request 000D88C00001\nlose snmp request 000D88C00001\n");
  EXPECT_EQ(answered, 0);
  const std::string answersOnly = run({"--loss-answers", "100"}, &answered);
  EXPECT_EQ(answered, 0);
  EXPECT_TRUE(Has(answersOnly, "lose snmp answer 000D88C00001")) << answersOnly;
  EXPECT_FALSE(Has(answersOnly, "lose snmp request")) << answersOnly;
  int first = 0, again = 0;
  const std::string losses = run({"--loss", "30", "--seed", "3"}, &first);
  EXPECT_EQ(run({"--loss", "30", "--seed", "3"}, &again), losses);
  EXPECT_EQ(again, first);
  EXPECT_GT(first, 0);
  EXPECT_LT(first, 6) << losses;
  EXPECT_EQ(run({}, &answered), "");
  EXPECT_EQ(answered, 6);
}

TEST_F(ApsimTest, TimeScaleShortensDeviceTime) {
  // 3000 ms of device time at ten times the speed: back well within 1 s.
  Start("[device]\nmac = 000D88C00001\nip = 10.250.0.41\nsnmp_status = 1\nreboot_ms = 3000\n",
        {"--time-scale", "10"});
  EXPECT_TRUE(Has(Set(kRestart + " i 1"), "INTEGER: 1"));
  EXPECT_FALSE(sim_->WaitForLog("back", 150));
  EXPECT_TRUE(sim_->WaitForLog("back", 1000));
}

TEST_F(ApsimTest, BadScenarioStopsWithTheLine) {
  struct Case {
    const char* line;
    const char* message;
  };
  const Case cases[] = {
      {"colour = red", "unknown key 'colour'"},
      {"faults = no_answer, explode", "unknown fault 'explode'"},
      {"faults = snmp_error=dot11Nothing:5", "bad fault"},
      {"faults = drop_set=nothing:4", "bad fault 'drop_set=nothing:4' (drop_set=NAME:COUNT)"},
      {"faults = drop_set=snmp_status", "bad fault"},
      {"dot11ApMode = 9", "value not taken by dot11ApMode"},
      {"dot11PrimaryRadiusServer = 10.0.0.300", "value not taken"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TempDir dir;
    ApsimHarness sim(dir, std::string("[device]\nmac = 000D88C00001\nip = 10.250.0.41\n\n") + c.line + "\n");
    EXPECT_FALSE(sim.Ready());
    EXPECT_EQ(sim.Stop(), 1);
    EXPECT_TRUE(Has(sim.Errors(), ":5: ")) << sim.Errors();
    EXPECT_TRUE(Has(sim.Errors(), c.message)) << sim.Errors();
  }
}

// Malformed, truncated and oversized messages are dropped; the agent goes on.
TEST_F(ApsimTest, BadMessagesAreDropped) {
  Start(kDevice);
  const std::vector<std::string> messages = {
      "",                                   // empty
      "30",                                 // truncated header
      "3084ffffffff020100",                 // length beyond the datagram
      "300602010504017a",                   // version 5
      "301002010104067075626c6963a003020101",  // truncated PDU
      "300e020101040670756" "26c6963a5010a",  // a GetBulk cut inside its request id
      std::string(3000, 'f'),               // a long run of 0xFF bytes
  };
  for (const std::string& hex : messages) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    std::string file = dir_.file("message.bin");
    std::ofstream(file, std::ios::binary) << bytes;
    RunCommand("timeout 2 bash -c 'cat " + file + " > /dev/udp/10.250.0.41/161'");
  }
  // 70000 bytes do not fit a datagram; 65000 do, and are not SNMP.
  RunCommand("head -c 65000 /dev/zero > " + dir_.file("big.bin") + "; timeout 2 bash -c 'cat " + dir_.file("big.bin") +
             " > /dev/udp/10.250.0.41/161'");
  EXPECT_TRUE(Has(Get(kApMode), "INTEGER: 3")) << sim_->Log();
  EXPECT_TRUE(Has(sim_->Log(), "snmp drop malformed")) << sim_->Log();
}

// The lab, told to run this build tree's programs: on its own it finds only
// those of a tree under build/.
std::string Lab(const std::string& arguments) {
  const std::string apsim = BuiltProgram("apsim");
  return "APLAB_BIN=" + apsim.substr(0, apsim.rfind('/')) + " " + std::getenv("TRELLIAN_SOURCE_DIR") + "/tools/aplab " +
         arguments;
}

TEST_F(ApsimTest, LabFindsItsDevices) {
  int status = -1;
  std::string out = RunCommand(Lab("--devices 2 -- " + BuiltProgram("quavctl") + " discover 2>&1"), &status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_TRUE(Has(out, "2 device(s)")) << out;
  EXPECT_TRUE(Has(out, "000D88A00001") && Has(out, "000D88A00002")) << out;

  // A display over TCP cannot be reached from the lab's network.
  out = RunCommand("env -u TRELLIAN_DISPLAY DISPLAY=localhost:10.0 " + Lab("--program /bin/true 2>&1"), &status);
  EXPECT_EQ(status, 2) << out;
  EXPECT_TRUE(Has(out, "over TCP")) << out;
}

// A test's lab: the program's clock told to keep pace with the devices', and
// the state file where the test reads it, kept after the lab is gone.
TEST_F(ApsimTest, LabHandsOnItsTimeScaleAndKeepsTheStateFile) {
  TempDir dir;
  const std::string state = dir.file("lab-state.ini");
  int status = -1;
  std::string out = RunCommand(Lab("--devices 2 --time-scale 20 --state " + state +
                                   " -- sh -c 'echo scale=$TRELLIAN_TIME_SCALE state=$APLAB_STATE' 2>&1"),
                               &status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_TRUE(Has(out, "scale=20 state=" + state)) << out;
  EXPECT_EQ(ReadSimState(state, "000D88A00002")["ip"], "10.250.0.12") << out;
}

}  // namespace
