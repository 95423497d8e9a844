// The apply page's QUAV phase against simulated access points: SNMP access
// and new addresses for every member, the device password asked again after
// a refusal, and the run's end however the devices answer. Runs inside a
// private network namespace (tools/netns-run); the platform clock and the
// simulator run at the same speed-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ApplyPageKit.h"
#include "ApsimHarness.h"
#include "DeviceTask.h"
#include "TempDir.h"
#include "WizardFlows.h"
#include "WizardUi.h"

CWizardApp theApp;

namespace {

const int kClockScale = 20;

// Three factory-fresh devices; the third has a password of its own.
const char kThreeDevices[] = R"(
[device]
mac = 000D88C00001
ip = 10.250.0.31
[device]
mac = 000D88C00002
ip = 10.250.0.32
[device]
mac = 000D88C00003
ip = 10.250.0.33
password = secret
)";

// A device of a scenario: factory-fresh but for `more` lines.
std::string Device(const char* mac, const char* ip, const std::string& more = "") {
  return std::string("[device]\nmac = ") + mac + "\nip = " + ip + "\n" + more;
}

class ApplyQuav : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_STREQ(std::getenv("TRELLIAN_NETNS"), "inside") << "run through tools/netns-run";
    UseProgramLanguage(theApp);
    testkit::SetClockScale(kClockScale);
  }
  void TearDown() override {
    EXPECT_TRUE(testkit::PumpUntil([] { return CDeviceTask::LiveCount() == 0; }, 60000)) << "a task was left";
    sim_.reset();
    testkit::SetClockScale(1);
    testkit::SetProgramPath("");
    testkit::ResetWindows();
  }
  void StartDevices(const std::string& scenario) {
    sim_.reset(new ApsimHarness(dir_, scenario, {"--time-scale", std::to_string(kClockScale)}));
    ASSERT_TRUE(sim_->Ready()) << sim_->Errors();
  }
  // Enters the page and pumps until the run hands over to the SNMP phase.
  void Run(ApplyHost& h) {
    h.page.stop_at_snmp = true;
    h.page.OnEnterPage();
    ASSERT_TRUE(testkit::PumpUntil([&] { return h.page.next_device > 0; }, 600000)) << sim_->Log();
    EXPECT_EQ(h.page.made_busy, 1);
    EXPECT_EQ(h.page.m_nCurrentDevice, 0);
  }

  TempDir dir_;
  std::unique_ptr<ApsimHarness> sim_;
};

TEST_F(ApplyQuav, ThreeDevicesGetSnmpAndTheirPlannedAddresses) {
  StartDevices(kThreeDevices);
  ApplyHost h({{"000D88C00001", "10.250.0.31", "Master"},
               {"000D88C00002", "10.250.0.32", "Slave"},
               {"000D88C00003", "10.250.0.33", "Slave"}});
  OperatorAnswers answers("secret");
  Run(h);

  EXPECT_EQ(answers.asked, std::vector<std::string>{"10.250.0.33 000D88C00003"});
  EXPECT_TRUE(answers.boxes.empty());
  const char* const kAddresses[] = {"10.250.0.21", "10.250.0.22", "10.250.0.23"};
  const char* const kMacs[] = {"000D88C00001", "000D88C00002", "000D88C00003"};
  ASSERT_TRUE(sim_->WaitForLog("back 000D88C00003", 20000)) << sim_->Log();
  for (int i = 0; i < 3; ++i) {
    auto state = sim_->State(kMacs[i]);
    EXPECT_EQ(state["ip"], kAddresses[i]) << kMacs[i];
    EXPECT_EQ(state["snmp_status"], "1") << kMacs[i];
    EXPECT_EQ(h.Cell(kMacs[i], kColIp), kAddresses[i]);
    EXPECT_EQ(h.Cell(kMacs[i], kColSnmpStatus), "1");
    EXPECT_EQ(h.Cell(kMacs[i], kColReadCommunity), "quorin");
    EXPECT_EQ(h.Cell(kMacs[i], kColWriteCommunity), "velmont");
    // Written back into the records the frame hands on.
    EXPECT_EQ(h.Record(i)->m_strIp, kAddresses[i]);
    EXPECT_EQ(h.Record(i)->m_strSnmpStatus, "1");
  }
  EXPECT_EQ(h.Cell("000D88C00003", kColPassword), "secret");

  // The pass's own lines in row order, then the reports as they come: every
  // read before any address, the refused device's read after the others.
  const std::vector<std::string> log = h.Log();
  const std::vector<std::string> kFirst = {
      "10.250.0.31 (000D88C00001): reading the SNMP settings... start",
      "10.250.0.31 (000D88C00001): reading the SNMP settings... getting",
      "10.250.0.32 (000D88C00002): reading the SNMP settings... start",
      "10.250.0.32 (000D88C00002): reading the SNMP settings... getting",
      "10.250.0.33 (000D88C00003): reading the SNMP settings... start",
      "10.250.0.33 (000D88C00003): reading the SNMP settings... getting",
  };
  ASSERT_EQ(log.size(), kFirst.size() + 7) << ::testing::PrintToString(log);
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 6), kFirst);
  std::vector<std::string> reads(log.begin() + 6, log.begin() + 8);
  std::sort(reads.begin(), reads.end());
  EXPECT_EQ(reads, (std::vector<std::string>{"10.250.0.31 (000D88C00001): reading the SNMP settings... OK!",
                                             "10.250.0.32 (000D88C00002): reading the SNMP settings... OK!"}));
  EXPECT_EQ(log[8], "10.250.0.33 (000D88C00003): reading the SNMP settings... OK!");
  std::vector<std::string> addresses(log.begin() + 9, log.begin() + 12);
  std::sort(addresses.begin(), addresses.end());
  EXPECT_EQ(addresses,
            (std::vector<std::string>{"10.250.0.21 (000D88C00001): setting the IP address and restarting... OK!",
                                      "10.250.0.22 (000D88C00002): setting the IP address and restarting... OK!",
                                      "10.250.0.23 (000D88C00003): setting the IP address and restarting... OK!"}));
  EXPECT_EQ(log[12], "Waiting for the access points to restart...");
  ShowForAPerson(h, "TRELLIAN_APPLY_PNG");
}

// A manual row's new address is taken before its device has it: the
// automatic rows counting on from .21 pass over it.
TEST_F(ApplyQuav, AnAutomaticAddressNeverTakesAManualRowsNewOne) {
  StartDevices(kThreeDevices);
  Member manual{"000D88C00002", "10.250.0.32", "Slave", 0, 0, "10.250.0.22"};
  manual.manualIp = 1;
  Member third{"000D88C00003", "10.250.0.33", "Slave"};
  third.password = "secret";
  ApplyHost h({{"000D88C00001", "10.250.0.31", "Master"}, manual, third});
  Run(h);
  ASSERT_TRUE(sim_->WaitForLog("back 000D88C00003", 20000)) << sim_->Log();
  const struct {
    const char* mac;
    const char* ip;
  } expected[] = {{"000D88C00001", "10.250.0.21"}, {"000D88C00002", "10.250.0.22"}, {"000D88C00003", "10.250.0.23"}};
  const std::vector<std::string> log = h.Log();
  for (const auto& e : expected) {
    EXPECT_EQ(sim_->State(e.mac)["ip"], e.ip) << e.mac;
    EXPECT_EQ(h.Cell(e.mac, kColIp), e.ip) << e.mac;
    EXPECT_EQ(std::count(log.begin(), log.end(),
                         std::string(e.ip) + " (" + e.mac + "): setting the IP address and restarting... OK!"),
              1)
        << ::testing::PrintToString(log);
  }
}

// The Master takes its new address and restarts, but its answer to the
// set-IP request is lost: the search by its MAC once it has had its time to
// restart finds it at the new address, so the step is OK with its answer
// lost and the run goes on with the Master where it is.
TEST_F(ApplyQuav, AMasterWhoseSetIpAnswerIsLostIsFoundAtItsNewAddress) {
  StartDevices(Device("000D88C00001", "10.250.0.31", "faults = no_answer=setip\nreboot_ms = 20000\n") +
               Device("000D88C00002", "10.250.0.32"));
  ApplyHost h({{"000D88C00001", "10.250.0.31", "Master"}, {"000D88C00002", "10.250.0.32", "Slave"}});
  OperatorAnswers answers("");
  Run(h);
  EXPECT_TRUE(answers.boxes.empty());
  EXPECT_TRUE(sim_->WaitForLog("ignore set-ip seq")) << sim_->Log();
  ASSERT_TRUE(sim_->WaitForLog("back 000D88C00001", 20000)) << sim_->Log();
  EXPECT_EQ(sim_->State("000D88C00001")["ip"], "10.250.0.21");
  EXPECT_EQ(h.Cell("000D88C00001", kColIp), "10.250.0.21");
  EXPECT_EQ(h.Cell("000D88C00001", kColAction), "Set IP OK");
  const std::vector<std::string> log = h.Log();
  EXPECT_EQ(std::count(log.begin(), log.end(),
                       "10.250.0.21 (000D88C00001): setting the IP address and restarting... " + kOkAnswerLost),
            1)
      << ::testing::PrintToString(log);
  EXPECT_EQ(h.page.OnNextPage(), kCreateWireless);  // the Master is known: on to the wireless page
  EXPECT_EQ(h.page.m_strAgentIp, "10.250.0.21");
}

// Devices whose set-IP is never answered: each is restarted all the same and
// looked for by its MAC once it has had its time to restart. One took the
// address (only its answers were lost): OK, its answer lost. One is at an
// address that is neither its old nor its planned one, and one is not found;
// the lines say so, and where the found ones are.
TEST_F(ApplyQuav, ASetIpNeverAnsweredEndsWithALineThatSaysWhereTheDeviceIs) {
  StartDevices(Device("000D88C00001", "10.250.0.31") +
               Device("000D88C00002", "10.250.0.32", "faults = drop_answers=1000\n") +
               Device("000D88C00003", "10.250.0.33", "faults = no_answer\n") +
               Device("000D88C00004", "10.250.0.34", "faults = no_answer=setip, other_ip=10.250.0.77\n"
                                                     "reboot_ms = 20000\n"));
  ApplyHost h({{"000D88C00001", "10.250.0.31", "Master"},
               {"000D88C00002", "10.250.0.32", "Slave"},
               {"000D88C00003", "10.250.0.33", "Slave"},
               {"000D88C00004", "10.250.0.34", "Slave"}});
  OperatorAnswers answers("");
  Run(h);
  const std::vector<std::string> log = h.Log();
  const std::string kLines[] = {
      "10.250.0.21 (000D88C00001): setting the IP address and restarting... OK!",
      "10.250.0.22 (000D88C00002): setting the IP address and restarting... " + kOkAnswerLost,
      "10.250.0.33 (000D88C00003): setting the IP address and restarting... Failed!",
      "10.250.0.33 (000D88C00003): not found after the restart.",
      "10.250.0.77 (000D88C00004): setting the IP address and restarting... Failed!",
      "10.250.0.77 (000D88C00004): found at this address, neither its old one nor the planned 10.250.0.24.",
  };
  for (const std::string& line : kLines)
    EXPECT_EQ(std::count(log.begin(), log.end(), line), 1) << line << ::testing::PrintToString(log);
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& line) { return line.find("still at its old address") != std::string::npos; }),
            0);
  EXPECT_TRUE(answers.boxes.empty()) << ::testing::PrintToString(answers.boxes);
  EXPECT_EQ(h.Cell("000D88C00002", kColIp), "10.250.0.22");
  EXPECT_EQ(sim_->State("000D88C00002")["ip"], "10.250.0.22");
  // The store follows the device to where it answered from, and so does
  // the record the SNMP phase works with.
  EXPECT_EQ(h.Cell("000D88C00004", kColIp), "10.250.0.77");
  EXPECT_EQ(h.Record(3)->m_strIp, "10.250.0.77");
  EXPECT_EQ(sim_->State("000D88C00004")["ip"], "10.250.0.77");
  std::vector<std::string> failed;
  for (const CString& mac : h.page.FailedDevices()) failed.push_back(mac.GetString());
  std::sort(failed.begin(), failed.end());
  // The second device could not be asked for its SNMP settings either (every
  // answer lost): that step names it.
  EXPECT_EQ(failed, (std::vector<std::string>{"000D88C00002", "000D88C00003", "000D88C00004"}));
  EXPECT_EQ(std::count(log.begin(), log.end(), "10.250.0.32 (000D88C00002): reading the SNMP settings... Failed!"), 1);
  ShowForAPerson(h, "TRELLIAN_APPLY_FAILED_PNG");
}

// A member leaving the group, and a device outside it, stay on the LAN where
// they are: the automatic plan from .21 passes over both their addresses.
TEST_F(ApplyQuav, TheAddressOfADepartingMemberOrAnOutsiderIsNeverGivenToAnAutomaticRow) {
  StartDevices(Device("000D88C00001", "10.250.0.31") + Device("000D88C00002", "10.250.0.21") +
               Device("000D88C00003", "10.250.0.22") + Device("000D88C00004", "10.250.0.34"));
  Member leaving{"000D88C00002", "10.250.0.21", "Slave", 0, 1};
  Member outsider{"000D88C00003", "10.250.0.22", "", 0, -1};
  ApplyHost h({{"000D88C00001", "10.250.0.31", "Master"}, leaving, outsider, {"000D88C00004", "10.250.0.34", "Slave"}},
              0, 1);
  OperatorAnswers answers("");
  Run(h);
  ASSERT_TRUE(sim_->WaitForLog("back 000D88C00004", 20000)) << sim_->Log();
  const struct {
    const char* mac;
    const char* ip;
  } expected[] = {{"000D88C00001", "10.250.0.23"},
                  {"000D88C00002", "10.250.0.21"},
                  {"000D88C00003", "10.250.0.22"},
                  {"000D88C00004", "10.250.0.24"}};
  for (const auto& e : expected) {
    EXPECT_EQ(sim_->State(e.mac)["ip"], e.ip) << e.mac;
    EXPECT_EQ(h.Cell(e.mac, kColIp), e.ip) << e.mac;
  }
  const std::vector<std::string> log = h.Log();
  auto has = [&log](const std::string& line) { return std::count(log.begin(), log.end(), line); };
  EXPECT_EQ(has("10.250.0.23 (000D88C00001): setting the IP address and restarting... OK!"), 1)
      << ::testing::PrintToString(log);
  EXPECT_EQ(has("10.250.0.24 (000D88C00004): setting the IP address and restarting... OK!"), 1);
  // Neither the leaving member nor the outsider is given an address.
  for (const char* mac : {"000D88C00002", "000D88C00003"})
    for (const std::string& line : log) EXPECT_EQ(line.find(std::string(mac) + "): setting the IP"), std::string::npos);
  EXPECT_TRUE(h.page.FailedDevices().empty());
  EXPECT_TRUE(answers.boxes.empty());
}

// A request the library refuses to send fails its step with the library's
// reason on the next line; no box holds the unattended run.
TEST_F(ApplyQuav, AMacThatIsNotTwelveHexDigitsFailsAndTheRunEnds) {
  StartDevices(kThreeDevices);
  ApplyHost h({{"000D88C00001", "10.250.0.31", "Master"}, {"00:0D:88", "10.250.0.32", "Slave"}});
  OperatorAnswers answers("");
  Run(h);
  EXPECT_TRUE(answers.asked.empty());
  EXPECT_TRUE(answers.boxes.empty()) << ::testing::PrintToString(answers.boxes);
  EXPECT_EQ(h.Cell("00:0D:88", kColSnmpStatus), "0");
  EXPECT_EQ(h.Cell("00:0D:88", kColAction), "Set IP Unsuccess!");
  EXPECT_EQ(h.Cell("000D88C00001", kColSnmpStatus), "1");
  const std::vector<std::string> log = h.Log();
  auto followedByReason = [&log](const std::string& line) {
    auto at = std::find(log.begin(), log.end(), line);
    return at != log.end() && at + 1 != log.end() && at[1] == "10.250.0.32 (00:0D:88): Bad MAC address!";
  };
  EXPECT_TRUE(followedByReason("10.250.0.32 (00:0D:88): reading the SNMP settings... Failed!"))
      << ::testing::PrintToString(log);
  EXPECT_TRUE(followedByReason("10.250.0.32 (00:0D:88): setting the IP address and restarting... Failed!"));
  const std::string masterOk = "10.250.0.21 (000D88C00001): setting the IP address and restarting... OK!";
  EXPECT_EQ(std::count(log.begin(), log.end(), masterOk), 1);
  EXPECT_EQ(sim_->State("000D88C00001")["ip"], "10.250.0.21");
  EXPECT_EQ(h.page.FailedDevices(), std::vector<CString>{"00:0D:88"});
}

// The middle row's tasks cannot be made (its client gets no socket): that
// row ends each QUAV step with its own FAIL line and the reason, and the
// rows after it go on as if nothing had happened.
TEST_F(ApplyQuav, ARowWhoseTasksCannotBeMadeFailsAloneWithItsOwnLines) {
  StartDevices(kThreeDevices);
  ApplyHost h({{"000D88C00001", "10.250.0.31", "Master"},
               {"000D88C00002", "10.250.0.32", "Slave"},
               {"000D88C00003", "10.250.0.33", "Slave"}});
  h.page.no_task_for = {"000D88C00002"};
  OperatorAnswers answers("secret");
  Run(h);
  ASSERT_TRUE(sim_->WaitForLog("back 000D88C00003", 20000)) << sim_->Log();
  EXPECT_TRUE(answers.boxes.empty()) << ::testing::PrintToString(answers.boxes);
  EXPECT_EQ(answers.asked, std::vector<std::string>{"10.250.0.33 000D88C00003"});
  const std::vector<std::string> log = h.Log();
  for (const char* step :
       {"reading the SNMP settings... Failed!", "setting the IP address and restarting... Failed!"}) {
    auto at = std::find(log.begin(), log.end(), std::string("10.250.0.32 (000D88C00002): ") + step);
    ASSERT_NE(at, log.end()) << step << ::testing::PrintToString(log);
    ASSERT_NE(at + 1, log.end());
    EXPECT_EQ(at[1], "10.250.0.32 (000D88C00002): Failed to create winsock.!");
  }
  EXPECT_EQ(h.Cell("000D88C00002", kColSnmpStatus), "0");
  EXPECT_EQ(h.Cell("000D88C00002", kColAction), "Set IP Unsuccess!");
  EXPECT_EQ(sim_->State("000D88C00002")["ip"], "10.250.0.32");
  // The third row is asked for its password, and gets SNMP and its address
  // from the plan like the first.
  const struct {
    const char* mac;
    const char* ip;
  } configured[] = {{"000D88C00001", "10.250.0.21"}, {"000D88C00003", "10.250.0.23"}};
  for (const auto& c : configured) {
    const std::string device = std::string(c.ip) + " (" + c.mac + "): ";
    EXPECT_EQ(std::count(log.begin(), log.end(), device + "setting the IP address and restarting... OK!"), 1)
        << c.mac << ::testing::PrintToString(log);
    EXPECT_EQ(h.Cell(c.mac, kColSnmpStatus), "1") << c.mac;
    EXPECT_EQ(sim_->State(c.mac)["ip"], c.ip) << c.mac;
  }
  EXPECT_EQ(h.page.FailedDevices(), std::vector<CString>{"000D88C00002"});
}

TEST_F(ApplyQuav, ACancelledPromptAndASilentDeviceEndTheRun) {
  StartDevices(R"(
[device]
mac = 000D88C00001
ip = 10.250.0.31
password = secret
[device]
mac = 000D88C00002
ip = 10.250.0.32
faults = no_answer
)");
  ApplyHost h({{"000D88C00001", "10.250.0.31", "Master"}, {"000D88C00002", "10.250.0.32", "Slave"}});
  OperatorAnswers answers("");
  Run(h);
  EXPECT_EQ(answers.asked.size(), 2u);  // once for SNMP, once for the address
  EXPECT_EQ(h.Cell("000D88C00001", kColSnmpStatus), "0");
  EXPECT_EQ(h.Cell("000D88C00001", kColAuto), "0");
  EXPECT_EQ(h.Cell("000D88C00002", kColSnmpStatus), "0");
  EXPECT_EQ(h.Cell("000D88C00002", kColAction), "Set IP Unsuccess!");
  EXPECT_EQ(sim_->State("000D88C00001")["ip"], "10.250.0.31");
}

TEST_F(ApplyQuav, ANetmaskWithNoFreeHostFailsTheRowAndSkipsTheRestartWait) {
  StartDevices(kThreeDevices);
  ApplyHost h({{"000D88C00001", "10.250.0.31", "Master"}});
  h.Record(0)->m_strNewNetmask = "255.255.255.255";
  Run(h);
  const std::vector<std::string> log = h.Log();
  EXPECT_EQ(log.back(), "10.250.0.31 (000D88C00001): setting the IP address and restarting... Failed!")
      << ::testing::PrintToString(log);
  EXPECT_EQ(std::count(log.begin(), log.end(), "Waiting for the access points to restart..."), 0);
  EXPECT_EQ(h.Cell("000D88C00001", kColAuto), "1");
  EXPECT_EQ(sim_->State("000D88C00001")["ip"], "10.250.0.31");
}

}  // namespace
