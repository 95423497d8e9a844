// The QUAV device tasks against simulated access points, and the wizard's
// pumping wait. Runs inside a private network namespace (tools/netns-run);
// the platform clock and the simulator run at the same speed-up, so the
// tasks' time-outs and progress times keep their proportions to the devices'.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ApsimHarness.h"
#include "CCommunityTask.h"
#include "CDiscoveryTask.h"
#include "CExtListCtrl.h"
#include "CSetIpTask.h"
#include "CVHException.h"
#include "CommCtrl.h"
#include "DelayPumpMessages.h"
#include "TempDir.h"
#include "TestKit.h"
#include "afxwin.h"

namespace {

// ThreadSanitizer slows the program several times over; a clock sped up as
// much would leave it no time to answer within the devices' time-outs.
#if defined(__SANITIZE_THREAD__)
const int kClockScale = 2;
#else
const int kClockScale = 5;
#endif

// Two factory-fresh devices and one group member that announces itself.
const char kScenario[] = R"(
[device]
mac = 000D88C00001
ip = 10.250.0.31
location = Hall
[device]
mac = 000D88C00002
ip = 10.250.0.32
netmask = 255.255.0.0
firmware = 2.1.7
snmp_status = 1
[device]
mac = 000D88C00003
ip = 10.250.0.33
location = Roof
announce = 1
announce_ms = 500
group_full = 0
role = 1
discover_number = 4
cfg_version = 12
group_name = Lobby
group_status = 1
group_password = lobbypass
original_role = 2
snmp_status = 1
)";

// What a discovery owner saw: copies of the records, and the end statuses.
struct Scan {
  std::vector<CDeviceRecord> devices;
  std::vector<int> ends;
  std::vector<DWORD> endTimes;

  static int Result(int status, CDeviceRecord* record, void* owner) {
    Scan* scan = static_cast<Scan*>(owner);
    if (status == 0) {
      scan->devices.push_back(*record);
    } else {
      EXPECT_EQ(record, nullptr);
      scan->ends.push_back(status);
      scan->endTimes.push_back(GetTickCount());
    }
    return 0;
  }
  const CDeviceRecord* Device(const char* mac) const {
    for (const CDeviceRecord& d : devices)
      if (d.m_strMac == mac) return &d;
    return nullptr;
  }
};

// What TaskDoneProc reported, from whichever thread.
struct Outcome {
  BOOL ok;
  std::string mac;
  std::string message;
  DWORD thread;
  DWORD time;
};

struct Reports {
  std::mutex lock;
  std::vector<Outcome> outcomes;

  static void Done(BOOL ok, CString mac, CString message, void* owner) {
    Reports* r = static_cast<Reports*>(owner);
    std::lock_guard<std::mutex> guard(r->lock);
    r->outcomes.push_back({ok, mac.GetString(), message.GetString(), GetCurrentThreadId(), GetTickCount()});
  }
  size_t Count() {
    std::lock_guard<std::mutex> guard(lock);
    return outcomes.size();
  }
  Outcome Of(const std::string& mac) {
    std::lock_guard<std::mutex> guard(lock);
    for (const Outcome& o : outcomes)
      if (o.mac == mac) return o;
    return Outcome{FALSE, "", "(no report)", 0, 0};
  }
};

// A report to expect, and the window of platform time since the start in
// which it must come; device-task reports come from the progress threads.
// The upper bounds leave room for a loaded machine (the clock runs fast):
// they only tell an early end from the end of the progress.
struct Expected {
  const char* mac;
  BOOL ok;
  const char* message;
  DWORD least, most;
};

void ExpectReports(Reports& reports, DWORD start, const std::vector<Expected>& expected) {
  for (const Expected& e : expected) {
    Outcome o = reports.Of(e.mac);
    EXPECT_EQ(o.ok, e.ok) << e.mac;
    EXPECT_EQ(o.message, e.message) << e.mac;
    EXPECT_NE(o.thread, GetCurrentThreadId()) << e.mac;
    EXPECT_GE(o.time - start, e.least) << e.mac;
    EXPECT_LT(o.time - start, e.most) << e.mac;
  }
}

// The apply page's member store: 20 columns, one row per device with its MAC
// in column 3.
struct MemberStore {
  CWnd page;
  CExtListCtrl list;

  MemberStore(const std::vector<const char*>& macs) {
    InitCommonControls();
    EXPECT_TRUE(page.CreateEx(0, nullptr, "page", WS_POPUP, 0, 0, 600, 200, nullptr, nullptr));
    EXPECT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 600, 200), &page, 1104));
    for (int c = 0; c < 20; ++c) list.InsertColumn(c, "", LVCFMT_LEFT, 30);
    for (size_t r = 0; r < macs.size(); ++r) {
      list.InsertItem(int(r), "");
      list.SetItemText(int(r), 3, macs[r]);
    }
  }
  ~MemberStore() { page.DestroyWindow(); }
  std::string Cell(const char* mac, int column) {
    for (int r = 0; r < list.GetItemCount(); ++r)
      if (list.GetItemText(r, 3) == mac) return list.GetItemText(r, column).GetString();
    return "(no row)";
  }
};

class DeviceTasks : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_STREQ(std::getenv("TRELLIAN_NETNS"), "inside") << "run through tools/netns-run";
    testkit::SetClockScale(kClockScale);
  }
  void TearDown() override {
    EXPECT_TRUE(testkit::PumpUntil([] { return CDeviceTask::LiveCount() == 0; }, 30000)) << "a task was left";
    sim_.reset();
    testkit::SetClockScale(1);
  }

  void Start(const char* scenario, std::vector<std::string> options = {}) {
    options.push_back("--time-scale");
    options.push_back(std::to_string(kClockScale));
    sim_.reset(new ApsimHarness(dir_, scenario, options));
    ASSERT_TRUE(sim_->Ready()) << sim_->Errors();
  }

  TempDir dir_;
  std::unique_ptr<ApsimHarness> sim_;
};

// --- discovery ----------------------------------------------------------------

TEST_F(DeviceTasks, BroadcastFindsDevicesRetriesOnceWithTheSeenMacsThenEnds) {
  ASSERT_NO_FATAL_FAILURE(Start(kScenario));
  CDiscoveryTask task(CDiscoveryTask::kBroadcast);
  Scan scan;
  DWORD start = GetTickCount();
  task.Run(Scan::Result, &scan);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !scan.ends.empty(); }, 20000)) << sim_->Log();

  // Every device answers once: after the first time-out the retry lists
  // them, so they keep quiet; the scan ends after two time-outs of 5 s.
  ASSERT_EQ(scan.devices.size(), 3u) << sim_->Log();
  EXPECT_EQ(scan.ends, std::vector<int>{1});
  EXPECT_GE(scan.endTimes[0] - start, 10000u);
  EXPECT_LT(scan.endTimes[0] - start, 14000u);
  EXPECT_TRUE(task.IsDone());
  EXPECT_EQ(task.SeenMacs().GetCount(), 3);
  for (const char* mac : {"000D88C00001", "000D88C00002", "000D88C00003"})
    EXPECT_NE(sim_->Log().find(std::string(mac) + " already known"), std::string::npos) << mac;

  const CDeviceRecord* fresh = scan.Device("000D88C00002");
  ASSERT_NE(fresh, nullptr);
  EXPECT_STREQ(fresh->m_strModel, "RIZ-4410");
  EXPECT_STREQ(fresh->m_strFirmware, "2.1.7");
  EXPECT_STREQ(fresh->m_strIp, "10.250.0.32");
  EXPECT_STREQ(fresh->m_strNetmask, "255.255.0.0");
  EXPECT_STREQ(fresh->m_strSnmpStatus, "1");
  EXPECT_STREQ(scan.Device("000D88C00001")->m_strLocation, "Hall");
  // A broadcast answer says nothing of groups; the ints start at 0.
  const CDeviceRecord* member = scan.Device("000D88C00003");
  ASSERT_NE(member, nullptr);
  EXPECT_STREQ(member->m_strGroupName, "");
  EXPECT_STREQ(member->m_strRole, "");
  EXPECT_EQ(member->m_nAutoIp, 0);
  EXPECT_EQ(member->m_nMembership, 0);
  EXPECT_EQ(member->m_nConfirmed, 0);

  // The retry is spent: a second scan ends after one time-out, and the
  // devices already seen stay quiet until the list is cleared.
  Scan second;
  start = GetTickCount();
  task.Run(Scan::Result, &second);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !second.ends.empty(); }, 20000));
  EXPECT_TRUE(second.devices.empty());
  EXPECT_LT(second.endTimes[0] - start, 9000u);

  task.ClearSeenMacs();
  Scan third;
  task.Run(Scan::Result, &third);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !third.ends.empty(); }, 20000));
  EXPECT_EQ(third.devices.size(), 3u);
}

TEST_F(DeviceTasks, ListenDecodesTheAnnouncementsOfGroupMembers) {
  ASSERT_NO_FATAL_FAILURE(Start(kScenario));
  CDiscoveryTask task(CDiscoveryTask::kListen);
  Scan scan;
  task.Run(Scan::Result, &scan);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !scan.devices.empty(); }, 20000)) << sim_->Log();
  const CDeviceRecord& d = scan.devices[0];
  EXPECT_STREQ(d.m_strMac, "000D88C00003");
  EXPECT_STREQ(d.m_strModel, "RIZ-4410");
  EXPECT_STREQ(d.m_strIp, "10.250.0.33");
  EXPECT_STREQ(d.m_strLocation, "Roof");
  EXPECT_STREQ(d.m_strGroupFullStatus, "0");
  EXPECT_STREQ(d.m_strRole, "1");
  EXPECT_STREQ(d.m_strDiscoverNumber, "4");
  EXPECT_STREQ(d.m_strCfgVersion, "12");
  EXPECT_STREQ(d.m_strGroupName, "Lobby");
  EXPECT_STREQ(d.m_strGroupStatus, "1");
  EXPECT_STREQ(d.m_strGroupPassword, "lobbypass");
  EXPECT_STREQ(d.m_strOriginalRole, "2");
  EXPECT_STREQ(d.m_strSnmpStatus, "1");
  // Every announcement is reported while the scan runs.
  ASSERT_TRUE(testkit::PumpUntil([&] { return scan.devices.size() >= 2; }, 5000));
  EXPECT_TRUE(scan.ends.empty());
  // Destroying a scanning task drops its request: nothing is reported after.
}

TEST_F(DeviceTasks, SecondListenerOnPort55000ThrowsToTheCreator) {
  CDiscoveryTask first(CDiscoveryTask::kListen);
  int code = 0;
  try {
    CDiscoveryTask second(CDiscoveryTask::kListen);
  } catch (CVHException* e) {
    code = e->GetCode();
    delete e;
  }
  EXPECT_EQ(code, QUAV_WINSOCK_FAILED);
}

// Malformed answers are dropped or carry no MAC, a duplicate is reported as
// it came, and a device's error status ends the scan with -1 at once.
TEST_F(DeviceTasks, BadAnswersAreDroppedAndAnErrorStatusFailsTheScan) {
  ASSERT_NO_FATAL_FAILURE(Start(R"(
[device]
mac = 000D88D00001
ip = 10.250.0.41
faults = garbage
[device]
mac = 000D88D00002
ip = 10.250.0.42
faults = bad_length
[device]
mac = 000D88D00003
ip = 10.250.0.43
faults = duplicate
)"));
  CDiscoveryTask task(CDiscoveryTask::kBroadcast);
  Scan scan;
  task.Run(Scan::Result, &scan);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !scan.ends.empty(); }, 20000)) << sim_->Log();
  EXPECT_EQ(scan.ends, std::vector<int>{1});
  ASSERT_EQ(scan.devices.size(), 2u);
  EXPECT_STREQ(scan.devices[0].m_strMac, "000D88D00003");
  EXPECT_STREQ(scan.devices[1].m_strMac, "000D88D00003");
  sim_.reset();

  // A device that answers with an error status is set aside, named; the
  // others' answers are kept and the scan runs to its end.
  ASSERT_NO_FATAL_FAILURE(Start(R"(
[device]
mac = 000D88D00004
ip = 10.250.0.44
faults = status=2
[device]
mac = 000D88D00005
ip = 10.250.0.45
)"));
  CDiscoveryTask refusing(CDiscoveryTask::kBroadcast);
  Scan refused;
  refusing.Run(Scan::Result, &refused);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !refused.ends.empty(); }, 30000));
  EXPECT_EQ(refused.ends, std::vector<int>{1});
  ASSERT_EQ(refused.devices.size(), 1u);
  EXPECT_STREQ(refused.devices[0].m_strMac, "000D88D00005");
  ASSERT_GE(refusing.IgnoredAnswers().GetCount(), 1);
  EXPECT_STREQ(refusing.IgnoredAnswers().GetHead(), "000D88D00004: answered Not Done!");
}

TEST_F(DeviceTasks, SynchronousRunReturnsWhenTheScanIsDone) {
  ASSERT_NO_FATAL_FAILURE(Start(kScenario));
  CDiscoveryTask task(CDiscoveryTask::kBroadcast);
  task.SetAsync(FALSE);
  Scan scan;
  task.Run(Scan::Result, &scan);
  EXPECT_EQ(scan.ends, std::vector<int>{1});
  EXPECT_EQ(scan.devices.size(), 3u);
}

// --- set IP and reboot -------------------------------------------------------

const char kSetIpScenario[] = R"(
[device]
mac = 000D88E00001
ip = 10.250.0.51
password = admin
[device]
mac = 000D88E00002
ip = 10.250.0.52
password = admin
[device]
mac = 000D88E00003
ip = 10.250.0.53
password = secret
[device]
mac = 000D88E00004
ip = 10.250.0.54
faults = no_answer
[device]
mac = 000D88E00005
ip = 10.250.0.55
faults = no_answer=reboot
)";

CSetIpTask* NewSetIpTask(CExtListCtrl* list, const char* mac, const char* password, const char* ip,
                         Reports& reports) {
  CSetIpTask* task = new CSetIpTask(list, mac, password, ip, "255.255.255.0", "10.250.0.1", 0, 1);
  task->SetTimeouts(1500, 1500);
  task->SetCallback(Reports::Done, &reports);
  return task;
}

// Two devices at once: each gets its address, saves, applies and reboots, and
// is reported " OK!" from its progress thread once the progress is full.
TEST_F(DeviceTasks, SetIpGivesTheNewAddressAndRebootsTheDevice) {
  ASSERT_NO_FATAL_FAILURE(Start(kSetIpScenario));
  MemberStore store({"000D88E00001", "000D88E00002"});
  Reports reports;
  TaskStopGuard stopTasks;  // before the reports and the store go
  DWORD start = GetTickCount();
  ASSERT_TRUE(NewSetIpTask(&store.list, "000D88E00001", "admin", "10.250.0.61", reports)->Start());
  ASSERT_TRUE(NewSetIpTask(&store.list, "000D88E00002", "admin", "10.250.0.62", reports)->Start());
  ASSERT_TRUE(testkit::PumpUntil([&] { return reports.Count() == 2; }, 40000)) << sim_->Log();
  ExpectReports(reports, start,
                {{"000D88E00001", TRUE, " OK!", 15000, 20000}, {"000D88E00002", TRUE, " OK!", 15000, 20000}});
  EXPECT_EQ(store.Cell("000D88E00001", 2), "10.250.0.61");
  EXPECT_EQ(store.Cell("000D88E00002", 2), "10.250.0.62");
  ASSERT_TRUE(sim_->WaitForLog("back 000D88E00002")) << sim_->Log();
  EXPECT_EQ(sim_->State("000D88E00001")["ip"], "10.250.0.61");
  EXPECT_EQ(sim_->State("000D88E00002")["ip"], "10.250.0.62");
  EXPECT_EQ(sim_->State("000D88E00002")["gateway"], "10.250.0.1");
}

// Refusals and silence end in failure: a wrong password early, with the
// text in column 6; a silent device only once its time-out and the search by
// its MAC have passed, even when the progress is full long before (never
// " OK!" without an answer). A device that reboots without answering the
// reboot request is found at its new address by that search: a success.
TEST_F(DeviceTasks, SetIpFailuresAreReportedAndNeverOk) {
  ASSERT_NO_FATAL_FAILURE(Start(kSetIpScenario));
  MemberStore store({"000D88E00003", "000D88E00004", "000D88E00005"});
  Reports reports;
  TaskStopGuard stopTasks;  // before the reports and the store go
  DWORD start = GetTickCount();
  ASSERT_TRUE(NewSetIpTask(&store.list, "000D88E00003", "wrong", "10.250.0.63", reports)->Start());
  CSetIpTask* silent = NewSetIpTask(&store.list, "000D88E00004", "", "10.250.0.64", reports);
  silent->SetTimeouts(3000, 1500);  // the progress is full at 15 s, the time-out comes at 30 s
  ASSERT_TRUE(silent->Start());
  ASSERT_TRUE(NewSetIpTask(&store.list, "000D88E00005", "", "10.250.0.65", reports)->Start());
  ASSERT_TRUE(testkit::PumpUntil([&] { return reports.Count() == 3; }, 120000)) << sim_->Log();

  // The silent one: 30 s, a second for the restart request, 20 s for the
  // restart, then 30 s of search.
  ExpectReports(reports, start,
                {{"000D88E00003", FALSE, "PASSWORDERROR", 0, 12000},
                 {"000D88E00004", FALSE, kSetIpNotFound, 80000, 87000},
                 {"000D88E00005", TRUE, kTaskOkAnswerLost, 21000, 30000}});
  EXPECT_EQ(store.Cell("000D88E00003", 6), "Password Error!");
  EXPECT_EQ(store.Cell("000D88E00004", 6), "Timeout!");
  EXPECT_EQ(store.Cell("000D88E00005", 2), "10.250.0.65");
  EXPECT_EQ(store.Cell("000D88E00003", 2), "");
  // The device that did not answer the reboot still took its address.
  ASSERT_TRUE(sim_->WaitForLog("back 000D88E00005")) << sim_->Log();
  EXPECT_EQ(sim_->State("000D88E00005")["ip"], "10.250.0.65");
  EXPECT_EQ(sim_->State("000D88E00003")["ip"], "10.250.0.53");
}

// Without a progress list there is no thread and no report: the task ends
// itself at its last answer, on the GUI thread.
TEST_F(DeviceTasks, SetIpWithoutAListEndsAtItsLastAnswer) {
  ASSERT_NO_FATAL_FAILURE(Start(kSetIpScenario));
  Reports reports;
  TaskStopGuard stopTasks;  // before the reports and the store go
  ASSERT_TRUE(NewSetIpTask(nullptr, "000D88E00001", "admin", "10.250.0.71", reports)->Start());
  ASSERT_TRUE(NewSetIpTask(nullptr, "000D88E00003", "wrong", "10.250.0.73", reports)->Start());
  EXPECT_EQ(CDeviceTask::LiveCount(), 2);
  ASSERT_TRUE(testkit::PumpUntil([] { return CDeviceTask::LiveCount() == 0; }, 5000)) << sim_->Log();
  EXPECT_EQ(reports.Count(), 0u);
  ASSERT_TRUE(sim_->WaitForLog("back 000D88E00001")) << sim_->Log();
  EXPECT_EQ(sim_->State("000D88E00001")["ip"], "10.250.0.71");
}

// An answer that does not come: the set-IP request goes out again with its
// sequence number, and when no answer comes at all the device (which may
// hold the new address) is restarted all the same and, once it has had its
// time to restart, asked for by its MAC before the task decides. Found at the
// new address is success with its answer lost; unmoved at its old one (every
// copy of the restart lost), it is given its address and restarted again; at
// a third one or nowhere the task fails and says which.
TEST_F(DeviceTasks, UnansweredSetIpIsSentAgainAndThenTheDeviceIsSought) {
  ASSERT_NO_FATAL_FAILURE(Start(R"(
[device]
mac = 000D88E00006
ip = 10.250.0.56
faults = drop_answers=1
[device]
mac = 000D88E00007
ip = 10.250.0.57
faults = no_answer=setip
reboot_ms = 20000
[device]
mac = 000D88E00008
ip = 10.250.0.58
faults = drop_answers=100
[device]
mac = 000D88E00009
ip = 10.250.0.59
faults = no_answer=setip, other_ip=10.250.0.99
reboot_ms = 20000
[device]
mac = 000D88E00010
ip = 10.250.0.60
faults = no_answer
[device]
mac = 000D88E00011
ip = 10.250.0.61
faults = lose_set=reboot:4
)"));
  const struct {
    const char* mac;
    const char* newIp;
    BOOL ok;
    const char* message;
    const char* cell;   // column 2 afterwards
    const char* state;  // the device's address afterwards
  } cases[] = {
      {"000D88E00006", "10.250.0.66", TRUE, " OK!", "10.250.0.66", "10.250.0.66"},
      {"000D88E00007", "10.250.0.67", TRUE, kTaskOkAnswerLost, "10.250.0.67", "10.250.0.67"},
      {"000D88E00008", "10.250.0.68", TRUE, kTaskOkAnswerLost, "10.250.0.68", "10.250.0.68"},
      {"000D88E00010", "10.250.0.70", FALSE, kSetIpNotFound, "10.250.0.60", "10.250.0.60"},
      {"000D88E00009", "10.250.0.69", FALSE, kSetIpElsewhere, "10.250.0.99", "10.250.0.99"},
      {"000D88E00011", "10.250.0.71", TRUE, " OK!", "10.250.0.71", "10.250.0.71"},
  };
  MemberStore store(
      {"000D88E00006", "000D88E00007", "000D88E00008", "000D88E00009", "000D88E00010", "000D88E00011"});
  // Where each device is now, as the apply page's store shows it.
  for (int row = 0; row < 6; ++row) store.list.SetItemText(row, 2, ("10.250.0." + std::to_string(row + 56)).c_str());
  Reports reports;
  TaskStopGuard stopTasks;  // before the reports and the store go
  for (const auto& c : cases)
    ASSERT_TRUE(NewSetIpTask(&store.list, c.mac, "", c.newIp, reports)->Start());
  ASSERT_TRUE(testkit::PumpUntil([&] { return reports.Count() == 6; }, 120000)) << sim_->Log();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mac);
    Outcome o = reports.Of(c.mac);
    EXPECT_EQ(o.ok, c.ok);
    EXPECT_EQ(o.message, c.message);
    EXPECT_EQ(store.Cell(c.mac, 2), c.cell);
  }
  ASSERT_TRUE(sim_->WaitForLog("back 000D88E00006")) << sim_->Log();
  ASSERT_TRUE(sim_->WaitForLog("back 000D88E00007")) << sim_->Log();
  ASSERT_TRUE(sim_->WaitForLog("back 000D88E00009")) << sim_->Log();
  ASSERT_TRUE(sim_->WaitForLog("back 000D88E00011")) << sim_->Log();
  for (const auto& c : cases) EXPECT_EQ(sim_->State(c.mac)["ip"], c.state) << c.mac;
  // The one lost answer was made good by the same request sent again.
  const std::string log = sim_->Log();
  EXPECT_NE(log.find("drop answer to command 3 seq 0 at 000D88E00006"), std::string::npos) << log;
  EXPECT_NE(log.find("set 000D88E00006 ip = 10.250.0.66"), log.rfind("set 000D88E00006 ip = 10.250.0.66")) << log;
  // Every copy of the restart was lost: found unmoved after its restart
  // time, the device was given its address and restarted again.
  EXPECT_NE(log.find("lose set of reboot"), std::string::npos) << log;
  EXPECT_NE(log.find("back 000D88E00011 at 10.250.0.71"), std::string::npos) << log;
}

// A request that cannot be sent: reported at once on the creator's thread
// with the library's text, without a message box (the apply run that made
// the task goes on unattended), and the task is gone.
TEST_F(DeviceTasks, SetIpThatCannotBeSentIsReportedWithoutABox) {
  MemberStore store({"000D88E00001"});
  Reports reports;
  TaskStopGuard stopTasks;  // before the reports and the store go
  testkit::MessageBoxLog boxes;
  testkit::ModalHandler answer([](HWND box) { testkit::Answer(box, IDOK); });
  EXPECT_FALSE(NewSetIpTask(&store.list, "000D88E0", "admin", "10.250.0.61", reports)->Start());
  ASSERT_EQ(reports.Count(), 1u);
  Outcome o = reports.Of("000D88E0");
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.message, "(VhQUAV) Bad MAC address!");
  EXPECT_EQ(o.thread, GetCurrentThreadId());
  EXPECT_TRUE(boxes.records.empty());
  EXPECT_EQ(CDeviceTask::LiveCount(), 0);
}

// --- community ----------------------------------------------------------------

const char kCommunityScenario[] = R"(
[device]
mac = 000D88F00001
ip = 10.250.0.81
password = admin
snmp_status = 1
read_community = quorin
write_community = velmont
[device]
mac = 000D88F00002
ip = 10.250.0.82
password = admin
snmp_status = 0
read_community = public
write_community = private
[device]
mac = 000D88F00003
ip = 10.250.0.83
password = admin
snmp_status = 1
read_community = quorin
write_community = velmont
[device]
mac = 000D88F00004
ip = 10.250.0.84
faults = no_answer
[device]
mac = 000D88F00005
ip = 10.250.0.85
password = admin
snmp_status = 0
faults = drop_answers=4
)";

CCommunityTask* NewCommunityTask(CExtListCtrl* list, const char* mac, const char* password, int mode,
                                 Reports& reports) {
  CCommunityTask* task = new CCommunityTask(list, mac, password, "", "", "");
  task->SetMode(mode);
  task->SetCallback(Reports::Done, &reports);
  return task;
}

// Check mode leaves a device with SNMP on and the default communities alone
// and enables SNMP with them on another; disable mode turns SNMP off. A read
// whose four answers are all lost is asked again. Each is reported " OK!"
// after the 10 s progress.
TEST_F(DeviceTasks, CommunityTaskChecksEnablesAndDisablesSnmp) {
  ASSERT_NO_FATAL_FAILURE(Start(kCommunityScenario));
  MemberStore store({"000D88F00001", "000D88F00002", "000D88F00003", "000D88F00005"});
  Reports reports;
  TaskStopGuard stopTasks;  // before the reports and the store go
  DWORD start = GetTickCount();
  ASSERT_TRUE(NewCommunityTask(&store.list, "000D88F00001", "admin", CCommunityTask::kCheckAndEnable, reports)->Start());
  ASSERT_TRUE(NewCommunityTask(&store.list, "000D88F00002", "admin", CCommunityTask::kCheckAndEnable, reports)->Start());
  ASSERT_TRUE(NewCommunityTask(&store.list, "000D88F00003", "admin", CCommunityTask::kDisable, reports)->Start());
  ASSERT_TRUE(NewCommunityTask(&store.list, "000D88F00005", "admin", CCommunityTask::kCheckAndEnable, reports)->Start());
  ASSERT_TRUE(testkit::PumpUntil([&] { return reports.Count() == 4; }, 30000)) << sim_->Log();
  ExpectReports(reports, start,
                {{"000D88F00001", TRUE, " OK!", 10000, 15000},
                 {"000D88F00002", TRUE, " OK!", 10000, 15000},
                 {"000D88F00003", TRUE, " OK!", 10000, 15000},
                 {"000D88F00005", TRUE, " OK!", 10000, 15000}});
  const std::string log = sim_->Log();
  EXPECT_EQ(log.find("set 000D88F00001"), std::string::npos) << log;
  EXPECT_EQ(store.Cell("000D88F00001", 11), "quorin");
  EXPECT_EQ(store.Cell("000D88F00001", 12), "velmont");

  EXPECT_EQ(store.Cell("000D88F00002", 11), "quorin");
  EXPECT_EQ(store.Cell("000D88F00002", 12), "velmont");
  std::map<std::string, std::string> enabled = sim_->State("000D88F00002");
  EXPECT_EQ(enabled["snmp_status"], "1");
  EXPECT_EQ(enabled["read_community"], "quorin");
  EXPECT_EQ(enabled["write_community"], "velmont");

  EXPECT_EQ(sim_->State("000D88F00003")["snmp_status"], "0");
  EXPECT_EQ(store.Cell("000D88F00003", 11), "");

  EXPECT_NE(log.find("drop answer to command"), std::string::npos) << log;
  EXPECT_EQ(sim_->State("000D88F00005")["snmp_status"], "1");
  EXPECT_EQ(store.Cell("000D88F00005", 11), "quorin");
}

// A refused read ends the task early with "PASSWORDERROR" and, in either
// mode, sends no Set; a silent device ends with " Error!" once the read and
// the two asked after it have timed out.
TEST_F(DeviceTasks, CommunityReadThatFailsSendsNoSet) {
  ASSERT_NO_FATAL_FAILURE(Start(kCommunityScenario));
  MemberStore store({"000D88F00002", "000D88F00003", "000D88F00004"});
  Reports reports;
  TaskStopGuard stopTasks;  // before the reports and the store go
  DWORD start = GetTickCount();
  ASSERT_TRUE(NewCommunityTask(&store.list, "000D88F00002", "wrong", CCommunityTask::kCheckAndEnable, reports)->Start());
  ASSERT_TRUE(NewCommunityTask(&store.list, "000D88F00003", "wrong", CCommunityTask::kDisable, reports)->Start());
  ASSERT_TRUE(NewCommunityTask(&store.list, "000D88F00004", "", CCommunityTask::kCheckAndEnable, reports)->Start());
  ASSERT_TRUE(testkit::PumpUntil([&] { return reports.Count() == 3; }, 30000)) << sim_->Log();
  ExpectReports(reports, start,
                {{"000D88F00002", FALSE, "PASSWORDERROR", 0, 8000},
                 {"000D88F00003", FALSE, "PASSWORDERROR", 0, 8000},
                 {"000D88F00004", FALSE, " Error!", 15000, 19800}});
  // Long enough for a Set to have arrived, had one been sent.
  testkit::PumpFor(1000);
  const std::string log = sim_->Log();
  EXPECT_EQ(log.find("set 000D88F"), std::string::npos) << log;
  EXPECT_EQ(sim_->State("000D88F00002")["snmp_status"], "0");
  EXPECT_EQ(sim_->State("000D88F00003")["snmp_status"], "1");
  EXPECT_EQ(store.Cell("000D88F00002", 11), "");
}

// A request that cannot be sent is reported with the library's text at once,
// without a message box, and the task is gone.
TEST_F(DeviceTasks, CommunityTaskThatCannotBeSentIsReported) {
  Reports reports;
  TaskStopGuard stopTasks;  // before the reports and the store go
  testkit::MessageBoxLog boxes;
  EXPECT_FALSE(NewCommunityTask(nullptr, "00", "admin", CCommunityTask::kCheckAndEnable, reports)->Start());
  ASSERT_EQ(reports.Count(), 1u);
  EXPECT_EQ(reports.Of("00").message, "(VhQUAV) Bad MAC address!");
  EXPECT_TRUE(boxes.records.empty());
  EXPECT_EQ(CDeviceTask::LiveCount(), 0);
}

// --- the pumping wait --------------------------------------------------------

TEST_F(DeviceTasks, DelayPumpMessagesEndsAtItsDeadlineWithoutMessages) {
  struct Case {
    int units;
    clock_t least, most;
  } cases[] = {{0, 0, 300}, {1, 10, 310}, {50, 500, 800}, {300, 3000, 3300}};
  for (const Case& c : cases) {
    testkit::PumpPending();
    clock_t start = clock();
    clock_t last = DelayPumpMessages(c.units);
    clock_t end = clock();
    EXPECT_GE(last - start, c.least) << c.units;
    EXPECT_LE(end - start, c.most) << c.units;
    EXPECT_LE(last, end);
  }
}

int g_timerTicks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_timerTicks; }

double ThreadCpuMs() {
  rusage u{};
  getrusage(RUSAGE_THREAD, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

// A pending quit neither ends the wait nor is eaten by it: callers that wait
// in a loop until their tasks end (a page going away while the program
// quits) sleep through their waits, with the thread's messages still
// handled, and the quit is there for the main loop afterwards.
TEST_F(DeviceTasks, DelayPumpMessagesDispatchesWhileItWaitsAndKeepsAQuitForLater) {
  CWnd window;
  ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr));
  for (bool quitPending : {false, true}) {
    SCOPED_TRACE(quitPending ? "quit pending" : "no quit");
    g_timerTicks = 0;
    ::SetTimer(window.m_hWnd, 7, 100, CountTick);
    if (quitPending) ::PostQuitMessage(3);
    const clock_t start = clock();
    const auto began = std::chrono::steady_clock::now();
    const double cpu = ThreadCpuMs();
    DelayPumpMessages(100);
    const double realMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count();
    EXPECT_GE(clock() - start, 1000);
    EXPECT_GE(g_timerTicks, 8);
    EXPECT_LT(ThreadCpuMs() - cpu, realMs / 2) << "the wait spun";
    ::KillTimer(window.m_hWnd, 7);
    MSG msg;
    EXPECT_EQ(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE, quitPending);
    if (quitPending) {
      EXPECT_EQ(msg.wParam, 3u);
    }
  }
  // A quit posted by a handler inside the wait is kept the same way.
  ::SetTimer(window.m_hWnd, 8, 50, [](HWND hwnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hwnd, id);
    ::PostQuitMessage(4);
  });
  const clock_t start = clock();
  DelayPumpMessages(30);
  EXPECT_GE(clock() - start, 300);
  MSG msg;
  ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 4u);
  window.DestroyWindow();
}

}  // namespace
