// The QUAV client against simulated access points. Runs inside a private
// network namespace (tools/netns-run), where the fixed broadcast address and
// ports of the protocol are safe to use; the client's deadlines run on the
// platform clock, sped up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// Before the window manager's headers, whose GetMessage macro would rename
// the exception's method.
#include "CVHException.h"
// clang-format off
#include "AlQUAVClient.h"
// clang-format on
#include "Clock.h"
#include "AnnouncementListen.h"
#include "ApsimHarness.h"
#include "SnmpdHarness.h"  // RunCommand
#include "TempDir.h"
#include "TestKit.h"
#include "WizardTables.h"

namespace {

const char kScenario[] = R"(
[device]
mac = 000D88A00001
ip = 10.250.0.11
location = Lab rack 1
password = admin

[device]
mac = 000D88A00002
ip = 10.250.0.12
location = Lab rack 2
password = admin
announce = 1
announce_ms = 100
group_name = Lobby
role = master
snmp_status = 1

[device]
mac = 000D88A00003
ip = 10.250.0.13
model = RIZ-4410B
location = Lab rack 3
password = secret
read_community = quorin
write_community = velmont
snmp_status = 1
)";

// Devices with faults; they answer only requests addressed to them.
const char kFaultScenario[] = R"(
[device]
mac = 000D88B00001
ip = 10.250.0.21
faults = no_answer
[device]
mac = 000D88B00002
ip = 10.250.0.22
faults = status=2
[device]
mac = 000D88B00003
ip = 10.250.0.23
faults = status=3
[device]
mac = 000D88B00004
ip = 10.250.0.24
faults = status=9
[device]
mac = 000D88B00005
ip = 10.250.0.25
faults = bad_length
[device]
mac = 000D88B00006
ip = 10.250.0.26
faults = wrong_mac
[device]
mac = 000D88B00007
ip = 10.250.0.27
faults = garbage
[device]
mac = 000D88B00008
ip = 10.250.0.28
faults = duplicate
[device]
mac = 000D88B00009
ip = 10.250.0.29
faults = delay=300
)";

// What the callbacks saw.
struct Outcome {
  int code;
  std::string message;
  int sequence;
  int command;
  std::string mac;
  std::vector<std::string> values;
};

struct Recorder {
  std::vector<Outcome> outcomes;
  bool ended = false;

  int Count(int code) const {
    int n = 0;
    for (const Outcome& o : outcomes) n += o.code == code;
    return n;
  }
};

void Record(VhQUAVError* error, basicVarList* list, void* user) {
  Recorder* r = static_cast<Recorder*>(user);
  Outcome o{error->code, error->message.GetString(), error->sequence, error->command, error->mac.GetString(), {}};
  if (error->code == 0) {
    int subs = list->GetResponseItemCount(0);
    if (subs >= 0) {
      for (int i = 0; i < subs; ++i) o.values.push_back(list->GetResponseItemValue(0, i).GetString());
    } else {
      for (int i = 0; i < list->Count(); ++i) o.values.push_back(list->GetItemValue(i).GetString());
    }
  }
  if (error->code == QUAV_TIMEOUT || error->command == QUAV_CMD_SET || error->command == QUAV_CMD_GET)
    r->ended = true;
  r->outcomes.push_back(o);
}

class QuavClient : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_STREQ(std::getenv("TRELLIAN_NETNS"), "inside") << "run through tools/netns-run";
    testkit::SetClockScale(10);
  }
  void TearDown() override { testkit::SetClockScale(1); }

  // The client of a test, with its simulated devices.
  void Start(const char* scenario) {
    sim_.reset(new ApsimHarness(dir_, scenario));
    ASSERT_TRUE(sim_->Ready()) << sim_->Log();
  }

  bool Wait(const Recorder& r, DWORD ms = 20000) {
    return testkit::PumpUntil([&] { return r.ended; }, ms);
  }

  TempDir dir_;
  std::unique_ptr<ApsimHarness> sim_;
};

// A Discover for every device, answered with the fields of a Discover answer.
struct DiscoverRequest {
  QUAVResponseVarList response{kBroadcastResponseTable};
  QUAVVarlist list;
  DiscoverRequest() {
    list.Append(0, "00", "Discovery", 0, 1, nullptr, &response);
    list.SetCommand(QUAV_CMD_DISCOVER);
  }
};

int ThrownCode(const std::function<void()>& call, std::string* text = nullptr) {
  try {
    call();
  } catch (CVHException* e) {
    int code = e->GetCode();
    if (text) *text = e->GetMessage().GetString();
    delete e;
    return code;
  }
  return 0;
}

TEST_F(QuavClient, DiscoversThreeDevicesWithTheirFields) {
  Start(kScenario);
  AlQUAVClient client;
  client.SetRequestMode(0, "");
  DiscoverRequest discover;
  QUAVVarlist& list = discover.list;
  Recorder r;
  client.SendRequest("FFFFFFFFFFFF", &list, Record, 300, &r);
  ASSERT_TRUE(Wait(r)) << sim_->Log();

  ASSERT_EQ(r.outcomes.size(), 4u) << sim_->Log();
  EXPECT_EQ(r.outcomes.back().code, QUAV_TIMEOUT);
  EXPECT_EQ(r.outcomes.back().message, "(VhQUAV) Timeout!");
  EXPECT_EQ(client.PendingCount(), 0);
  std::map<std::string, std::vector<std::string>> byMac;
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(r.outcomes[i].code, 0);
    EXPECT_EQ(r.outcomes[i].message, "(VhQUAV) Ok!");
    EXPECT_EQ(r.outcomes[i].mac, "FFFFFFFFFFFF");
    EXPECT_EQ(r.outcomes[i].command, QUAV_CMD_DISCOVER);
    ASSERT_EQ(r.outcomes[i].values.size(), 7u);
    byMac[r.outcomes[i].values[2]] = r.outcomes[i].values;
  }
  using V = std::vector<std::string>;
  EXPECT_EQ(byMac["000D88A00001"], (V{"RIZ-4410", "1.0.0", "000D88A00001", "10.250.0.11", "255.255.255.0", "Lab rack 1", "0"}));
  EXPECT_EQ(byMac["000D88A00002"], (V{"RIZ-4410", "1.0.0", "000D88A00002", "10.250.0.12", "255.255.255.0", "Lab rack 2", "1"}));
  EXPECT_EQ(byMac["000D88A00003"], (V{"RIZ-4410B", "1.0.0", "000D88A00003", "10.250.0.13", "255.255.255.0", "Lab rack 3", "1"}));

  // Devices listed by MAC in the request stay quiet.
  Recorder again;
  list.Append(1, "0007", "MacAddress", 14, 2, nullptr, nullptr);
  list[1]->value = "000D88A00001";
  list.Append(1, "0007", "MacAddress", 14, 2, nullptr, nullptr);
  list[2]->value = "000D88A00003";
  client.SendRequest("FFFFFFFFFFFF", &list, Record, 300, &again);
  ASSERT_TRUE(Wait(again));
  ASSERT_EQ(again.outcomes.size(), 2u);
  EXPECT_EQ(again.outcomes[0].values[2], "000D88A00002");
  EXPECT_EQ(again.outcomes[0].sequence, 1);
}

TEST_F(QuavClient, GetAndSetWithTheDevicePassword) {
  Start(kScenario);
  AlQUAVClient client;
  client.SetRequestMode(0, "");
  QUAVVarlist list(kCommunityTable);
  list.SetCommand(QUAV_CMD_GET);
  list.SetSecurityMode(QUAV_SECURITY_HMAC_MD5, "secret");
  Recorder got;
  client.SendRequest("000d88a00003", &list, Record, 500, &got);
  ASSERT_TRUE(Wait(got));
  ASSERT_EQ(got.outcomes.size(), 1u);
  EXPECT_EQ(got.outcomes[0].code, 0);
  EXPECT_EQ(got.outcomes[0].mac, "000D88A00003");
  EXPECT_EQ(got.outcomes[0].values, (std::vector<std::string>{"quorin", "velmont", "1"}));

  // A wrong password, the MD5 form or no signature: the device's status 1.
  struct Case {
    SecurtyLevel level;
    const char* password;
    int code;
  };
  for (Case c : {Case{QUAV_SECURITY_HMAC_MD5, "admin", QUAV_PASSWORD_ERROR}, Case{QUAV_SECURITY_MD5, "secret", QUAV_PASSWORD_ERROR},
                 Case{QUAV_SECURITY_NONE, "", QUAV_PASSWORD_ERROR},
                 Case{QUAV_SECURITY_HMAC_MD5, "secret", 0}}) {
    QUAVVarlist set(kCommunityTable);
    set["Public Community String"]->value = "pub2";
    set["Private Community String"]->value = "priv2";
    set["SNMP Status"]->value = "0";
    set.SetCommand(QUAV_CMD_SET);
    set.SetSecurityMode(c.level, c.password);
    Recorder r;
    client.SendRequest("000D88A00003", &set, Record, 500, &r);
    ASSERT_TRUE(Wait(r));
    ASSERT_EQ(r.outcomes.size(), 1u);
    EXPECT_EQ(r.outcomes[0].code, c.code) << c.password;
    EXPECT_EQ(r.outcomes[0].message, QUAVErrorText(c.code).GetString());
  }
  Recorder after;
  client.SendRequest("000D88A00003", &list, Record, 500, &after);
  ASSERT_TRUE(Wait(after));
  EXPECT_EQ(after.outcomes[0].values, (std::vector<std::string>{"pub2", "priv2", "0"}));
  EXPECT_EQ(client.PendingCount(), 0);
}

TEST_F(QuavClient, DeviceStatusesAndMalformedAnswers) {
  Start(kFaultScenario);
  AlQUAVClient client;
  client.SetRequestMode(0, "");
  struct Case {
    const char* mac;
    BYTE command;
    std::vector<int> codes;
  };
  const Case cases[] = {
      {"000D88B00001", QUAV_CMD_GET, {QUAV_TIMEOUT}},
      {"000D88B00002", QUAV_CMD_SET, {QUAV_NOT_DONE}},
      {"000D88B00003", QUAV_CMD_SET, {QUAV_BAD_COMMAND}},
      {"000D88B00004", QUAV_CMD_SET, {QUAV_UNKNOWN_ERROR}},
      {"000D88B00005", QUAV_CMD_GET, {QUAV_TIMEOUT}},  // length field disagrees: dropped
      {"000D88B00006", QUAV_CMD_SET, {QUAV_TIMEOUT}},  // another MAC answers: dropped
      {"000D88B00007", QUAV_CMD_GET, {0}},             // items garbled: values stay empty
      {"000D88B00008", QUAV_CMD_GET, {0}},             // the second copy finds no request
  };
  // All requests at once, as the apply engine does; each is told apart by sequence.
  std::vector<Recorder> recorders(sizeof cases / sizeof cases[0]);
  std::vector<std::unique_ptr<QUAVVarlist>> lists;
  for (size_t i = 0; i < recorders.size(); ++i) {
    lists.emplace_back(new QUAVVarlist(kCommunityTable));
    lists[i]->SetCommand(cases[i].command);
    lists[i]->SetSecurityMode(QUAV_SECURITY_HMAC_MD5, "admin");
    for (int v = 0; v < 3; ++v) (*lists[i])[v]->value = "1";
    client.SendRequest(cases[i].mac, lists[i].get(), Record, 200, &recorders[i]);
  }
  EXPECT_EQ(client.PendingCount(), int(recorders.size()));
  testkit::PumpUntil([&] { return client.PendingCount() == 0; }, 20000);
  testkit::PumpFor(500);
  for (size_t i = 0; i < recorders.size(); ++i) {
    SCOPED_TRACE(cases[i].mac);
    std::vector<int> codes;
    for (const Outcome& o : recorders[i].outcomes) codes.push_back(o.code);
    EXPECT_EQ(codes, cases[i].codes);
    if (codes == std::vector<int>{0} && i == 6) {
      for (const std::string& v : recorders[i].outcomes[0].values) EXPECT_TRUE(v.empty() || v.size() < 64);
    }
  }
}

// A Get or Set whose answers are lost goes out again, byte for byte with its
// sequence number, a bounded number of times before its deadline; the first
// answer that comes is the only report. A Discover is sent once.
TEST_F(QuavClient, UnansweredRequestsAreSentAgainABoundedNumberOfTimes) {
  Start(R"(
[device]
mac = 000D88B00011
ip = 10.250.0.31
faults = drop_answers=2
[device]
mac = 000D88B00012
ip = 10.250.0.32
faults = drop_answers=100
)");
  AlQUAVClient client;
  client.SetRequestMode(0, "");
  const struct {
    const char* mac;
    std::vector<int> codes;
    size_t sent;  // how often the device saw the request
  } cases[] = {{"000D88B00011", {0}, 3}, {"000D88B00012", {QUAV_TIMEOUT}, 1 + QUAV_RESENDS}};
  std::vector<Recorder> recorders(2);
  std::vector<std::unique_ptr<QUAVVarlist>> lists;
  for (size_t i = 0; i < 2; ++i) {
    lists.emplace_back(new QUAVVarlist(kCommunityTable));
    lists[i]->SetCommand(QUAV_CMD_GET);
    client.SendRequest(cases[i].mac, lists[i].get(), Record, 400, &recorders[i]);
  }
  ASSERT_TRUE(testkit::PumpUntil([&] { return client.PendingCount() == 0; }, 20000)) << sim_->Log();
  testkit::PumpFor(300);
  const std::string log = sim_->Log();
  for (size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(cases[i].mac);
    std::vector<int> codes;
    for (const Outcome& o : recorders[i].outcomes) codes.push_back(o.code);
    EXPECT_EQ(codes, cases[i].codes);
    const std::string seen = "get seq " + std::to_string(i) + " at " + cases[i].mac;
    size_t count = 0;
    for (size_t at = log.find(seen); at != std::string::npos; at = log.find(seen, at + 1)) ++count;
    EXPECT_EQ(count, cases[i].sent) << log;
  }
  EXPECT_EQ(recorders[0].outcomes[0].values, (std::vector<std::string>{"public", "private", "0"}));

  DiscoverRequest discover;
  Recorder found;
  client.SendRequest("FFFFFFFFFFFF", &discover.list, Record, 200, &found);
  ASSERT_TRUE(Wait(found));
  const std::string after = sim_->Log();
  EXPECT_EQ(after.find("discover seq 2: answer 000D88B00011"), after.rfind("discover seq 2: answer 000D88B00011"));
}

// A callback may send a new request on the same client: the retry after a
// time-out that the discovery task makes.
struct Retry {
  AlQUAVClient* client = nullptr;
  QUAVVarlist list{kCommunityTable};
  std::vector<int> codes;
  std::vector<DWORD> times;
  DWORD start = 0;
};

void RetryHandler(VhQUAVError* error, basicVarList* list, void* user) {
  Retry* r = static_cast<Retry*>(user);
  r->codes.push_back(error->code);
  r->times.push_back(GetTickCount() - r->start);
  // Twice more: once more to the silent device, then to one that answers
  // (after 300 ms of real time).
  if (error->code == QUAV_TIMEOUT && r->codes.size() == 1)
    r->client->SendRequest("000D88B00001", list, RetryHandler, 100, r);
  else if (error->code == QUAV_TIMEOUT && r->codes.size() == 2)
    r->client->SendRequest("000D88B00009", list, RetryHandler, 2000, r);
}

TEST_F(QuavClient, CallbackRetriesAfterNoAnswer) {
  Start(kFaultScenario);
  AlQUAVClient client;
  client.SetRequestMode(0, "");
  Retry retry;
  retry.client = &client;
  retry.list.SetCommand(QUAV_CMD_GET);
  retry.start = GetTickCount();
  client.SendRequest("000D88B00001", &retry.list, RetryHandler, 100, &retry);
  ASSERT_TRUE(testkit::PumpUntil([&] { return retry.codes.size() == 3; }, 20000));
  EXPECT_EQ(retry.codes, (std::vector<int>{QUAV_TIMEOUT, QUAV_TIMEOUT, 0}));
  // Each time-out comes at its deadline (1 s), not before; the bounds above
  // leave room for a loaded machine (1 ms of real time is 10 here).
  EXPECT_GE(retry.times[0], 1000u);
  EXPECT_LT(retry.times[0], 2000u);
  EXPECT_GE(retry.times[1], 2000u);
  EXPECT_LT(retry.times[1], 4000u);
  EXPECT_EQ(client.PendingCount(), 0);
}

// Announcements come to port 55000 from any port, masked, with any sequence.
TEST_F(QuavClient, HearsAndUnmasksAnnouncements) {
  Start(kScenario);
  AlQUAVClient client;
  AnnouncementListen announcements(client);
  QUAVVarlist& list = announcements.list;
  Recorder r;
  client.StartListen();
  EXPECT_EQ(client.Listen(QUAV_LISTEN_PORT, "FFFFFFFFFFFF", &list, Record, 600, &r, 1, ""), 1);
  ASSERT_TRUE(Wait(r)) << sim_->Log();
  client.StopListen();
  ASSERT_GE(r.outcomes.size(), 3u);  // one every 100 ms of real time
  EXPECT_EQ(r.outcomes.back().code, QUAV_TIMEOUT);
  const std::vector<std::string> expected = {"RIZ-4410", "1.0.0", "000D88A00002", "10.250.0.12", "255.255.255.0",
                                             "Lab rack 2", "", "master", "", "", "Lobby", "", "", "", "1"};
  for (size_t i = 0; i + 1 < r.outcomes.size(); ++i) {
    EXPECT_EQ(r.outcomes[i].code, 0);
    EXPECT_EQ(r.outcomes[i].command, QUAV_CMD_ANNOUNCE);
    EXPECT_EQ(r.outcomes[i].values, expected);
  }
}

// A callback may end the task and with it the client; the handler that
// called it must touch nothing of the client afterwards.
TEST_F(QuavClient, CallbackDeletesTheClient) {
  Start(kScenario);
  struct Owner {
    AlQUAVClient* client = nullptr;
    int calls = 0;
  } owner;
  owner.client = new AlQUAVClient();
  owner.client->SetRequestMode(0, "");
  QUAVVarlist list(kCommunityTable);
  list.SetCommand(QUAV_CMD_GET);
  list.SetSecurityMode(QUAV_SECURITY_HMAC_MD5, "admin");
  QUAVCallback end = [](VhQUAVError*, basicVarList*, void* user) {
    Owner* o = static_cast<Owner*>(user);
    ++o->calls;
    delete o->client;
    o->client = nullptr;
  };
  owner.client->SendRequest("000D88A00001", &list, end, 500, &owner);
  ASSERT_TRUE(testkit::PumpUntil([&] { return owner.client == nullptr; }, 20000));
  testkit::PumpFor(200);
  EXPECT_EQ(owner.calls, 1);

  // Ended by a discovery answer while the discovery request is still open:
  // the destructor's wait delivers its time-out to the same callback.
  Owner second;
  second.client = new AlQUAVClient();
  second.client->SetRequestMode(0, "");
  DiscoverRequest discover;
  QUAVCallback endOnce = [](VhQUAVError*, basicVarList*, void* user) {
    Owner* o = static_cast<Owner*>(user);
    ++o->calls;
    AlQUAVClient* client = o->client;
    o->client = nullptr;
    delete client;
  };
  second.client->SendRequest("FFFFFFFFFFFF", &discover.list, endOnce, 100, &second);
  ASSERT_TRUE(testkit::PumpUntil([&] { return second.client == nullptr; }, 20000));
  testkit::PumpFor(200);
  EXPECT_GE(second.calls, 2);
}

// A callback that pumps messages (as a message box does) re-enters the
// client's handlers; every answer is still reported once.
TEST_F(QuavClient, CallbackPumpingMessagesReentersTheClient) {
  Start(kScenario);
  AlQUAVClient client;
  client.SetRequestMode(0, "");
  DiscoverRequest discover;
  struct Nested {
    int depth = 0, maxDepth = 0;
    std::vector<int> codes;
  } nested;
  QUAVCallback pump = [](VhQUAVError* error, basicVarList*, void* user) {
    Nested* n = static_cast<Nested*>(user);
    n->codes.push_back(error->code);
    n->maxDepth = std::max(n->maxDepth, ++n->depth);
    if (error->code == 0) testkit::PumpFor(300);
    --n->depth;
  };
  client.SendRequest("FFFFFFFFFFFF", &discover.list, pump, 200, &nested);
  ASSERT_TRUE(testkit::PumpUntil([&] { return client.PendingCount() == 0; }, 20000));
  testkit::PumpFor(200);
  EXPECT_EQ(std::count(nested.codes.begin(), nested.codes.end(), 0), 3);
  EXPECT_EQ(std::count(nested.codes.begin(), nested.codes.end(), QUAV_TIMEOUT), 1);
  EXPECT_GE(nested.maxDepth, 2);
}

// The destructor keeps delivering answers and time-outs while requests are
// pending, but waits no more than 6 s.
TEST_F(QuavClient, DestructorWaitsForPendingRequests) {
  Start(kFaultScenario);
  QUAVVarlist list(kCommunityTable);
  list.SetCommand(QUAV_CMD_GET);
  Recorder delayed;
  Recorder silent;
  Recorder shortSilent;
  DWORD start;
  {
    AlQUAVClient client;
    client.SetRequestMode(0, "");
    client.SendRequest("000D88B00009", &list, Record, 3000, &delayed);  // answers after 300 ms real
    client.SendRequest("000D88B00001", &list, Record, 3000, &silent);   // never answers
    start = GetTickCount();
  }
  DWORD waited = GetTickCount() - start;
  EXPECT_GE(waited, 6000u);
  EXPECT_LT(waited, 8000u);
  ASSERT_EQ(delayed.outcomes.size(), 1u);
  EXPECT_EQ(delayed.outcomes[0].code, 0);
  EXPECT_TRUE(silent.outcomes.empty());

  // A time-out that falls inside the wait is still reported, and ends it.
  {
    AlQUAVClient client;
    client.SetRequestMode(0, "");
    client.SendRequest("000D88B00001", &list, Record, 100, &shortSilent);
    start = GetTickCount();
  }
  waited = GetTickCount() - start;
  ASSERT_EQ(shortSilent.outcomes.size(), 1u);
  EXPECT_EQ(shortSilent.outcomes[0].code, QUAV_TIMEOUT);
  EXPECT_LT(waited, 3000u);
}

// CancelAll drops every pending request, answered or not, without a call:
// an answer that arrives afterwards is unmatched, and the destructor has
// nothing to wait for.
TEST_F(QuavClient, CancelAllDropsPendingRequestsSilently) {
  Start(kFaultScenario);
  QUAVVarlist list(kCommunityTable);
  list.SetCommand(QUAV_CMD_GET);
  Recorder delayed, silent;
  DWORD start;
  {
    AlQUAVClient client;
    client.SetRequestMode(0, "");
    client.SendRequest("000D88B00009", &list, Record, 300, &delayed);  // answers after 300 ms real
    client.SendRequest("000D88B00001", &list, Record, 50, &silent);    // never answers
    EXPECT_EQ(client.PendingCount(), 2);
    client.CancelAll();
    EXPECT_EQ(client.PendingCount(), 0);
    testkit::PumpFor(4000);  // past both deadlines and the delayed answer
    start = GetTickCount();
  }
  EXPECT_LT(GetTickCount() - start, 500u);
  EXPECT_TRUE(delayed.outcomes.empty());
  EXPECT_TRUE(silent.outcomes.empty());
}

TEST_F(QuavClient, CallFailuresThrowAndSendNothing) {
  Start(kScenario);
  AlQUAVClient client;
  QUAVVarlist list(kSetIpTable);
  list.SetCommand(QUAV_CMD_SET);
  std::string text;
  EXPECT_EQ(ThrownCode([&] { client.SendRequest("000D88A00001", &list, Record, 100, nullptr); }, &text),
            QUAV_SOCKET_NOT_READY);
  EXPECT_EQ(text, "(VhQUAV) Socket not ready!Please check if the network is ready.");
  EXPECT_EQ(ThrownCode([&] { client.Listen(0, "000D88A00001", &list, Record, 100, nullptr, 0, ""); }),
            QUAV_SOCKET_NOT_READY);
  EXPECT_EQ(ThrownCode([&] { client.SetRequestMode(0, "10.1.2.3.4"); }, &text), QUAV_WINSOCK_FAILED);
  EXPECT_EQ(text, "(VhQUAV) Failed to create winsock.!");

  client.SetRequestMode(0, "");
  for (const char* mac : {"000D88A000", "000D88A0000102", ""})
    EXPECT_EQ(ThrownCode([&] { client.SendRequest(mac, &list, Record, 100, nullptr); }), QUAV_BAD_MAC) << mac;

  // An address that is no address is refused before anything is sent.
  list["IP Address"]->value = "10.250.0.300";
  list["IP Netmask"]->value = "255.255.255.0";
  list["GateWay Address"]->value = "10.250.0.1";
  list["Save Config"]->value = "1";
  list["Apply"]->value = "1";
  EXPECT_EQ(ThrownCode([&] { client.SendRequest("000D88A00001", &list, Record, 100, nullptr); }, &text),
            QUAV_BAD_VALUE_TYPE);
  EXPECT_EQ(text, "(VhQUAV) Bad value type!");
  list.SetCommand(9);
  EXPECT_EQ(ThrownCode([&] { client.SendRequest("000D88A00001", &list, Record, 100, nullptr); }), QUAV_BAD_COMMAND);
  EXPECT_EQ(client.PendingCount(), 0);
  testkit::PumpFor(300);
  EXPECT_EQ(sim_->Log().find("seq"), std::string::npos) << "something was sent";

  // The sequence did not move: the next request is number 0.
  list.SetCommand(QUAV_CMD_SET);
  list.SetSecurityMode(QUAV_SECURITY_HMAC_MD5, "admin");
  list["IP Address"]->value = "10.250.0.31";
  Recorder r;
  client.SendRequest("000D88A00001", &list, Record, 300, &r);
  ASSERT_TRUE(Wait(r));
  EXPECT_EQ(r.outcomes[0].sequence, 0);
  EXPECT_EQ(r.outcomes[0].code, 0);
}

TEST_F(QuavClient, SequenceWrapsAndTimeOutsComeOnePerTick) {
  AlQUAVClient client;
  client.SetRequestMode(0, "");
  QUAVVarlist list(kCommunityTable);
  list.SetCommand(QUAV_CMD_GET);
  Recorder r;
  for (int i = 0; i < 257; ++i) client.Listen(0, "000D88A00001", &list, Record, 0, &r, 0, "");
  DWORD start = GetTickCount();
  ASSERT_TRUE(testkit::PumpUntil([&] { return r.outcomes.size() == 257; }, 20000));
  // One report per 20 ms tick, in the order of the requests.
  EXPECT_GE(GetTickCount() - start, 256u * 20);
  for (int i = 0; i < 257; ++i) EXPECT_EQ(r.outcomes[size_t(i)].sequence, i % 256);
  EXPECT_EQ(client.PendingCount(), 0);
}

// quavctl lists a device once even when its answer arrives twice.
TEST_F(QuavClient, QuavctlDiscoverMergesAnswersByMac) {
  Start(kFaultScenario);
  const char* binaryDir = std::getenv("TRELLIAN_BINARY_DIR");
  const std::string out =
      RunCommand(std::string(binaryDir ? binaryDir : ".") + "/bin/quavctl discover --timeout 1500 2>&1");
  std::istringstream lines(out);
  std::string line;
  std::vector<std::string> macs;
  while (std::getline(lines, line))
    if (line.find("System MAC Address") != std::string::npos) macs.push_back(line);
  ASSERT_FALSE(macs.empty()) << out;
  std::vector<std::string> distinct = macs;
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  EXPECT_EQ(macs.size(), distinct.size()) << out;
  EXPECT_EQ(std::count_if(macs.begin(), macs.end(),
                          [](const std::string& l) { return l.find("B00008") != std::string::npos ||
                                                            l.find("B0:00:08") != std::string::npos; }),
            1)
      << out;
  EXPECT_NE(out.find(std::to_string(macs.size()) + " device(s)"), std::string::npos) << out;
}

// The client's window, timer and socket belong to the thread that made it.
TEST_F(QuavClient, CallsFromAnotherThreadAreCaught) {
  testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_DEATH(
      {
        AlQUAVClient client;
        client.SetRequestMode(0, "");
        QUAVVarlist list(kCommunityTable);
        list.SetCommand(QUAV_CMD_GET);
        std::thread([&] { client.SendRequest("000D88A00001", &list, Record, 100, nullptr); }).join();
      },
      "belongs to thread");
}

}  // namespace
