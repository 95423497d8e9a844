// A group created end to end: three factory-fresh devices through both apply
// instances (QUAV phase, SNMP phase, the Master's apply and the last pass
// that switches SNMP off), and a modify run that removes one member and adds
// another. Device state is read from the simulator's state file.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "ApplySnmpKit.h"
#include "WizardFlows.h"

CWizardApp theApp;

namespace {

TEST_F(ApplySnmp, CreateRunOfThreeDevicesThroughBothInstances) {
  StartDevices(R"(
[device]
mac = 000D88C00001
ip = 10.250.0.31
[device]
mac = 000D88C00002
ip = 10.250.0.32
dot11ApMode = 3
[device]
mac = 000D88C00003
ip = 10.250.0.33
)");
  ApplyHost first({{"000D88C00001", "10.250.0.31", "Master"},
                   {"000D88C00002", "10.250.0.32", "Backup Master"},
                   {"000D88C00003", "10.250.0.33", "Slave"}});
  Run(first);
  const std::vector<std::string> log = first.Log();
  EXPECT_EQ(first.page.OnNextPage(), kCreateWireless) << ::testing::PrintToString(log);
  EXPECT_EQ(first.page.m_strAgentIp, "10.250.0.21");

  struct Expected {
    const char* mac;
    const char* ip;
    const char* modeSelect;
    const char* sync;  // every synchronisation flag
    const char* version;
  } devices[] = {
      {"000D88C00001", "10.250.0.21", "1", "1", "1"},
      {"000D88C00002", "10.250.0.22", "2", "0", "0"},
      {"000D88C00003", "10.250.0.23", "3", "0", "0"},
  };
  const char* const kSyncFlags[] = {"dot11APTrevakSyncSSIDStatus", "dot11APTrevakSyncSsidHiddenStatus",
                                    "dot11APTrevakSyncAutoChannelStatus", "dot11APTrevakSyncSecurityStatus",
                                    "dot11APTrevakSyncLoginStatus"};
  for (const Expected& d : devices) {
    auto state = sim_->State(d.mac);
    EXPECT_EQ(state["ip"], d.ip) << d.mac;
    EXPECT_EQ(state["dot11ApMode"], "1") << d.mac;
    EXPECT_EQ(state["dot11APTrevakStatus"], "1") << d.mac;
    EXPECT_EQ(state["dot11APTrevakModeSelect"], d.modeSelect) << d.mac;
    EXPECT_EQ(state["dot11ApTrevakName"], "Lobby") << d.mac;
    EXPECT_EQ(state["dot11ApTrevakPassword"], "grouppass") << d.mac;
    EXPECT_EQ(state["dot11APTrevakVersion"], d.version) << d.mac;
    for (const char* flag : kSyncFlags) EXPECT_EQ(state[flag], d.sync) << d.mac << " " << flag;
    EXPECT_EQ(state["usersName"], "admin") << d.mac;
    EXPECT_EQ(state["password"], "grouppass") << d.mac;
    EXPECT_EQ(CountLines(log, std::string(d.ip) + " (" + d.mac + "): joining the AP Vezovi... OK!"), 1u) << d.mac;
    EXPECT_EQ(CountLines(log, std::string(d.ip) + " (" + d.mac + "): restarting the access point... OK!"), 1u)
        << d.mac;
  }
  // The Master's chain, in order, then the end lines.
  auto at = std::find(log.begin(), log.end(), "10.250.0.21 (000D88C00001): joining the AP Vezovi... start");
  ASSERT_NE(at, log.end()) << ::testing::PrintToString(log);
  const std::vector<std::string> kMasterChain = {
      "10.250.0.21 (000D88C00001): joining the AP Vezovi... start",
      "10.250.0.21 (000D88C00001): joining the AP Vezovi... OK!",
      "10.250.0.21: writing the synchronisation settings... start",
      "10.250.0.21: writing the synchronisation settings... OK!",
      "10.250.0.21: writing the AP Vezovi version... start",
      "10.250.0.21: writing the AP Vezovi version... OK!",
      "10.250.0.21: writing the user name and password... start",
      "10.250.0.21: writing the user name and password... OK!",
      "10.250.0.21 (000D88C00001): applying the settings... start",
      "10.250.0.21 (000D88C00001): applying the settings... setting",
      "10.250.0.21 (000D88C00001): applying the settings... OK!",
      "10.250.0.21 (000D88C00001): restarting the access point... start",
      "10.250.0.21 (000D88C00001): restarting the access point... OK!",
      "10.250.0.22 (000D88C00002): joining the AP Vezovi... start",
  };
  ASSERT_GE(log.end() - at, static_cast<long>(kMasterChain.size()));
  EXPECT_EQ(std::vector<std::string>(at, at + static_cast<long>(kMasterChain.size())), kMasterChain);
  const std::vector<std::string> kEnd = {
      "Restarting the access points: 20% done.", "Restarting the access points: 40% done.",
      "Restarting the access points: 60% done.", "Restarting the access points: 80% done.",
      "Restarting the access points: 100% done.", "All steps are done."};
  EXPECT_EQ(std::vector<std::string>(log.end() - 6, log.end()), kEnd);

  // The second instance: the Master applies, the members switch SNMP off.
  ApplyHost second({}, 1);
  HandOn(first, second);
  ASSERT_TRUE(sim_->WaitForLog("back 000D88C00003", 20000));
  Run(second);
  EXPECT_EQ(second.page.OnNextPage(), kCreateDone);
  EXPECT_TRUE(sim_->WaitForLog("snmp apply 000D88C00001", 1000)) << sim_->Log();
  const std::vector<std::string> log2 = second.Log();
  ASSERT_GE(log2.size(), 8u) << ::testing::PrintToString(log2);
  EXPECT_EQ(log2[0], "The Master passes the new wireless settings to every member. This takes about two minutes.");
  EXPECT_EQ(log2[1], "Applying the wireless settings to the AP Vezovi... start");
  EXPECT_EQ(log2[2], "Applying the wireless settings to the AP Vezovi... OK!");
  EXPECT_EQ(std::vector<std::string>(log2.begin() + 3, log2.begin() + 8),
            std::vector<std::string>(kEnd.begin(), kEnd.begin() + 5));
  EXPECT_EQ(log2.back(), "All steps are done.");
  for (const Expected& d : devices) {
    EXPECT_EQ(sim_->State(d.mac)["snmp_status"], "0") << d.mac;
    EXPECT_EQ(second.Cell(d.mac, kColSnmpStatus), "0") << d.mac;
    EXPECT_EQ(CountLines(log2, std::string(d.ip) + " (" + d.mac + "): switching SNMP off... OK!"), 1u) << d.mac;
  }
}

TEST_F(ApplySnmp, ModifyRunRemovesOneMemberAndAddsAnother) {
  const std::string kMember =
      "group_name = Lobby\ngroup_status = 1\ndot11APTrevakStatus = 1\ndot11ApTrevakName = Lobby\n"
      "dot11ApTrevakPassword = grouppass\npassword = grouppass\ndot11APTrevakVersion = 7\n";
  StartDevices(SnmpDevice("000D88C00001", "10.250.0.21", kMember + "dot11APTrevakModeSelect = 1\n") +
               SnmpDevice("000D88C00002", "10.250.0.22", kMember + "dot11APTrevakModeSelect = 3\n") +
               "[device]\nmac = 000D88C00004\nip = 10.250.0.34\n");
  Member master{"000D88C00001", "10.250.0.21", "Master", 0};
  master.password = "grouppass";
  Member leaving{"000D88C00002", "10.250.0.22", "Slave", 0, 1};
  leaving.password = "grouppass";
  Member added{"000D88C00004", "10.250.0.34", "Slave", 1, 0, "10.250.0.23"};
  ApplyHost h({master, leaving, added}, 0, 1);
  Run(h);
  EXPECT_EQ(h.page.OnNextPage(), kModifyWireless) << ::testing::PrintToString(h.Log());

  auto kept = sim_->State("000D88C00001");
  EXPECT_EQ(kept["dot11APTrevakStatus"], "1");
  EXPECT_EQ(kept["dot11APTrevakVersion"], "8");
  auto gone = sim_->State("000D88C00002");
  EXPECT_EQ(gone["dot11APTrevakStatus"], "0");
  EXPECT_EQ(gone["ip"], "10.250.0.22");  // a leaving device keeps its address
  EXPECT_EQ(gone["dot11APTrevakModeSelect"], "3");
  EXPECT_EQ(gone["password"], "grouppass");
  auto joined = sim_->State("000D88C00004");
  EXPECT_EQ(joined["ip"], "10.250.0.23");
  EXPECT_EQ(joined["dot11APTrevakStatus"], "1");
  EXPECT_EQ(joined["dot11APTrevakModeSelect"], "3");
  EXPECT_EQ(joined["dot11ApTrevakName"], "Lobby");
  EXPECT_EQ(joined["password"], "grouppass");
  const std::vector<std::string> log = h.Log();
  EXPECT_EQ(CountLines(log, "10.250.0.22 (000D88C00002): leaving the AP Vezovi... OK!"), 1u)
      << ::testing::PrintToString(log);
  EXPECT_EQ(CountLines(log, "10.250.0.22: writing the synchronisation settings... start"), 0u);
  EXPECT_EQ(CountLines(log, "10.250.0.22 (000D88C00002): applying the settings... OK!"), 1u);
}

}  // namespace
