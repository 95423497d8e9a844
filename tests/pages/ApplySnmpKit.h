// What the tests of the apply engine's SNMP phase share: the simulated
// devices with their SNMP agents, the global SNMP session, and the runs of
// the two instances as the frame makes them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ApplyPageKit.h"
#include "ApsimHarness.h"
#include "DeviceTask.h"
#include "SnmpSession.h"
#include "TempDir.h"
#include "WizardUi.h"

// The test program's application object.
extern CWizardApp theApp;

class ApplySnmp : public ::testing::Test {
 protected:
  // The platform clock's and the simulator's speed-up.
  int clock_scale_ = 20;

  void SetUp() override {
    ASSERT_STREQ(std::getenv("TRELLIAN_NETNS"), "inside") << "run through tools/netns-run";
    UseProgramLanguage(theApp);
    testkit::SetClockScale(clock_scale_);
    ASSERT_TRUE(SnmpSessionInit(dir_.path().c_str(), ""));
  }
  void TearDown() override {
    EXPECT_TRUE(testkit::PumpUntil([] { return CDeviceTask::LiveCount() == 0; }, 60000)) << "a task was left";
    SnmpSessionExit();
    sim_.reset();
    testkit::SetClockScale(1);
    testkit::SetProgramPath("");
    testkit::ResetWindows();
  }

  void StartDevices(const std::string& scenario) {
    sim_.reset(new ApsimHarness(dir_, scenario, {"--time-scale", std::to_string(clock_scale_)}));
    ASSERT_TRUE(sim_->Ready()) << sim_->Errors();
  }
  // Runs an instance from its entry to the release of the page.
  void Run(ApplyHost& h, DWORD platformMs = 3000000) {
    h.page.OnEnterPage();
    WaitForRelease(h, platformMs);
    EXPECT_EQ(h.page.made_busy, 1);
  }
  void WaitForRelease(ApplyHost& h, DWORD platformMs = 3000000) {
    ASSERT_TRUE(testkit::PumpUntil([&] { return h.page.released > 0; }, platformMs)) << sim_->Log();
    EXPECT_EQ(h.page.released, 1);
  }
  // The SNMP chain alone, over devices whose SNMP is on already: the store
  // as the QUAV phase leaves it.
  void RunChain(ApplyHost& h) {
    h.page.FillStore();
    h.page.m_usersName.SetWindowText("admin");
    h.page.m_usersPassword.SetWindowText(h.page.m_strGroupPassword);
    for (int row = 0; row < h.page.RowCount(); ++row) {
      h.page.SetCell(row, kColReadCommunity, "quorin");
      h.page.SetCell(row, kColWriteCommunity, "velmont");
    }
    h.page.m_nCurrentDevice = 0;
    h.page.PostMessage(WM_APPLY_NEXTDEVICE);
    WaitForRelease(h);
    EXPECT_EQ(h.page.made_busy, 0);
  }
  // The second instance, given the first one's records and its target.
  static void HandOn(ApplyHost& from, ApplyHost& to) {
    for (POSITION pos = from.page.m_groupList.GetHeadPosition(); pos;)
      to.page.m_groupList.AddTail(new CDeviceRecord(*static_cast<CDeviceRecord*>(from.page.m_groupList.GetNext(pos))));
    to.page.SetSnmpTarget(from.page.m_strAgentIp, from.page.m_strReadCommunity, from.page.m_strWriteCommunity);
  }

  TempDir dir_;
  std::unique_ptr<ApsimHarness> sim_;
};

// A device that SNMP reaches: on, with the communities the QUAV phase sets.
inline std::string SnmpDevice(const std::string& mac, const std::string& ip, const std::string& more = "") {
  return "[device]\nmac = " + mac + "\nip = " + ip +
         "\nsnmp_status = 1\nread_community = quorin\nwrite_community = velmont\n" + more;
}

inline size_t CountLines(const std::vector<std::string>& log, const std::string& line) {
  return static_cast<size_t>(std::count(log.begin(), log.end(), line));
}

// Two members in SNMP reach, the second a plain one whose chain shows that
// the run went on past the first.
inline std::string SecondDevice() { return SnmpDevice("000D88C00002", "10.250.0.22"); }
inline std::vector<Member> TwoMembers() {
  return {{"000D88C00001", "10.250.0.21", "Master", 0}, {"000D88C00002", "10.250.0.22", "Slave", 0}};
}

// The last line of a run in which the first device failed a step.
inline std::string FirstDeviceFailed() { return "The steps are done; 1 access point(s) failed: 000D88C00001."; }

// The second device's whole chain ran, and the run ended with `last`; a
// failed first device is named at `firstAt`, where it was last found.
inline void ExpectSecondDeviceAndEnd(const std::vector<std::string>& log,
                                     const std::string& last = "All steps are done.",
                                     const std::string& firstAt = "10.250.0.21") {
  EXPECT_EQ(CountLines(log, "10.250.0.22 (000D88C00002): joining the AP Vezovi... OK!"), 1u)
      << ::testing::PrintToString(log);
  EXPECT_EQ(CountLines(log, "10.250.0.22 (000D88C00002): applying the settings... OK!"), 1u);
  EXPECT_EQ(CountLines(log, "10.250.0.22 (000D88C00002): restarting the access point... OK!"), 1u);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), last);
  // Each failed device has a line of its own before the last.
  if (last == FirstDeviceFailed()) {
    EXPECT_EQ(log[log.size() - 2], firstAt + " (000D88C00001) failed.");
  }
  EXPECT_EQ(CountLines(log, "Restarting the access points: 100% done."), 1u);
}
