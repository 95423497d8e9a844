// The QUAV device tasks against simulated access points, and the wizard's
// pumping wait. Runs inside a private network namespace (tools/netns-run);
// the platform clock and the simulator run at the same speed-up, so the
// tasks' time-outs and progress times keep their proportions to the devices'.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Before the window manager's headers, whose GetMessage macro would rename
// the exception's method.
#include "CVHException.h"
// clang-format off
#include "CDiscoveryTask.h"
// clang-format on
#include "ApsimHarness.h"
#include "DelayPumpMessages.h"
#include "TempDir.h"
#include "TestKit.h"
#include "afxwin.h"

namespace {

const int kClockScale = 10;

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
  Start(kScenario);
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
  EXPECT_LT(scan.endTimes[0] - start, 12000u);
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
  EXPECT_LT(second.endTimes[0] - start, 7000u);

  task.ClearSeenMacs();
  Scan third;
  task.Run(Scan::Result, &third);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !third.ends.empty(); }, 20000));
  EXPECT_EQ(third.devices.size(), 3u);
}

TEST_F(DeviceTasks, ListenDecodesTheAnnouncementsOfGroupMembers) {
  Start(kScenario);
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
  Start(R"(
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
)");
  CDiscoveryTask task(CDiscoveryTask::kBroadcast);
  Scan scan;
  task.Run(Scan::Result, &scan);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !scan.ends.empty(); }, 20000)) << sim_->Log();
  EXPECT_EQ(scan.ends, std::vector<int>{1});
  ASSERT_EQ(scan.devices.size(), 2u);
  EXPECT_STREQ(scan.devices[0].m_strMac, "000D88D00003");
  EXPECT_STREQ(scan.devices[1].m_strMac, "000D88D00003");
  sim_.reset();

  Start(R"(
[device]
mac = 000D88D00004
ip = 10.250.0.44
faults = status=2
)");
  CDiscoveryTask failing(CDiscoveryTask::kBroadcast);
  Scan failed;
  DWORD start = GetTickCount();
  failing.Run(Scan::Result, &failed);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !failed.ends.empty(); }, 20000));
  EXPECT_EQ(failed.ends, std::vector<int>{-1});
  EXPECT_TRUE(failed.devices.empty());
  EXPECT_LT(failed.endTimes[0] - start, 2000u);
}

TEST_F(DeviceTasks, SynchronousRunReturnsWhenTheScanIsDone) {
  Start(kScenario);
  CDiscoveryTask task(CDiscoveryTask::kBroadcast);
  task.SetAsync(FALSE);
  Scan scan;
  task.Run(Scan::Result, &scan);
  EXPECT_EQ(scan.ends, std::vector<int>{1});
  EXPECT_EQ(scan.devices.size(), 3u);
}

// --- the pumping wait --------------------------------------------------------

TEST_F(DeviceTasks, DelayPumpMessagesEndsAtItsDeadlineWithoutMessages) {
  struct Case {
    int units;
    clock_t least, most;
  } cases[] = {{0, 0, 5}, {1, 10, 40}, {50, 500, 560}, {300, 3000, 3080}};
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

TEST_F(DeviceTasks, DelayPumpMessagesDispatchesWhileItWaitsAndLeavesQuit) {
  CWnd window;
  ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr));
  g_timerTicks = 0;
  ::SetTimer(window.m_hWnd, 7, 100, CountTick);
  DelayPumpMessages(100);
  EXPECT_GE(g_timerTicks, 8);
  ::KillTimer(window.m_hWnd, 7);

  ::PostQuitMessage(3);
  clock_t start = clock();
  DelayPumpMessages(500);
  EXPECT_LT(clock() - start, 100);
  MSG msg;
  ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
  window.DestroyWindow();
}

}  // namespace
