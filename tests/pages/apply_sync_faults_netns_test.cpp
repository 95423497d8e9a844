// The apply engine's SNMP chain when a synchronous step fails, and the second
// run with a Master that cannot be reached. Each run goes on to its end
// lines, releases the page, and names in its last line the device that
// failed.
#include <gtest/gtest.h>

#include <algorithm>

#include "ApplySnmpKit.h"

CWizardApp theApp;

namespace {

TEST_F(ApplySnmp, FailingSynchronousStepsLogTheirFailureAndTheChainGoesOn) {
  struct Case {
    const char* fault;
    const char* failedLine;
  } cases[] = {
      // The login is its own step, not the version write.
      {"snmp_error=usersName:5", "10.250.0.21: writing the user name and password... Failed!"},
      {"snmp_error=dot11APTrevakVersion:5", "10.250.0.21: writing the AP Vezovi version... Failed!"},
      {"snmp_error=dot11APTrevakSyncLoginStatus:5", "10.250.0.21: writing the synchronisation settings... Failed!"},
      {"snmp_error=deviceSettingApply:5", "10.250.0.21 (000D88C00001): applying the settings... Failed!"},
  };
  for (const Case& c : cases) {
    StartDevices(SnmpDevice("000D88C00001", "10.250.0.21", std::string("faults = ") + c.fault + "\n") + SecondDevice());
    ApplyHost h(TwoMembers());
    RunChain(h);
    const std::vector<std::string> log = h.Log();
    EXPECT_EQ(CountLines(log, c.failedLine), 1u) << c.fault << ::testing::PrintToString(log);
    // The steps after the failed one still ran for this device.
    EXPECT_EQ(CountLines(log, "10.250.0.21 (000D88C00001): restarting the access point... OK!"), 1u) << c.fault;
    ExpectSecondDeviceAndEnd(log, FirstDeviceFailed());
    ShowForAPerson(h, "TRELLIAN_APPLY_SYNC_FAULT_PNG");
    sim_.reset();
  }
}

TEST_F(ApplySnmp, SecondRunWithAnUnreachableMasterStillEndsWithSnmpOff) {
  StartDevices(SnmpDevice("000D88C00002", "10.250.0.22"));
  ApplyHost h({{"000D88C00002", "10.250.0.22", "Slave", 0}}, 1);
  h.page.SetSnmpTarget("10.250.0.99", "quorin", "velmont");
  Run(h);
  const std::vector<std::string> log = h.Log();
  // No answer came: the apply failed, though its request went out.
  EXPECT_EQ(CountLines(log, "Applying the wireless settings to the AP Vezovi... Failed!"), 1u)
      << ::testing::PrintToString(log);
  EXPECT_EQ(CountLines(log, "Applying the wireless settings to the AP Vezovi... OK!"), 0u);
  EXPECT_EQ(CountLines(log, "Restarting the access points: 100% done."), 1u);
  EXPECT_EQ(CountLines(log, "10.250.0.22 (000D88C00002): switching SNMP off... OK!"), 1u);
  EXPECT_EQ(log.back(), "The steps are done; 1 access point(s) failed: 10.250.0.99.");
  EXPECT_EQ(sim_->State("000D88C00002")["snmp_status"], "0");
}

}  // namespace
