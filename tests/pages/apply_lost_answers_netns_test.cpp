// Create flows of three devices in which every copy of one answer is lost
// (the device still carries the request out): the step is settled by asking
// the device what it holds, the flow goes on, and no device that ends as
// planned is named failed; every copy of one request lost on the way: the
// request is sent again. And a flow whose Master really failed: Next names
// it with its step, and Cancel switches SNMP off again on every member the
// run reached.
#include <gtest/gtest.h>

#include <algorithm>

#include "ApplySnmpKit.h"
#include "FormatLangText.h"
#include "WizardFlows.h"

CWizardApp theApp;

namespace {

const char* const kMacs[] = {"000D88C00001", "000D88C00002", "000D88C00003"};
const char* const kPlanned[] = {"10.250.0.21", "10.250.0.22", "10.250.0.23"};

bool Mentions(const std::vector<std::string>& log, const std::string& text) {
  return std::any_of(log.begin(), log.end(), [&text](const std::string& l) { return l.find(text) != std::string::npos; });
}

// A fault of the Master, the line its step must end with (the first test
// adds the lost-answer wording), and the simulator's line that shows it.
struct MasterFault {
  const char* fault;
  std::string line;
  const char* simLine;
};

class LostAnswers : public ApplySnmp {
 protected:
  LostAnswers() { clock_scale_ = 40; }

  // Three fresh devices at .31 to .33, the Master (the first) with `masterMore`.
  void StartThree(const std::string& masterMore) {
    std::string scenario;
    for (int i = 0; i < 3; ++i)
      scenario += "[device]\nmac = " + std::string(kMacs[i]) + "\nip = 10.250.0.3" + char('1' + i) + "\n" +
                  (i == 0 ? masterMore : "");
    StartDevices(scenario);
  }
  static std::vector<Member> ThreeMembers() {
    return {{kMacs[0], "10.250.0.31", "Master"}, {kMacs[1], "10.250.0.32", "Slave"}, {kMacs[2], "10.250.0.33", "Slave"}};
  }
  // Both runs; the second only when the first lets the flow on.
  void RunBoth(ApplyHost& first, std::vector<std::string>& log2) {
    Run(first);
    ASSERT_EQ(first.page.OnNextPage(), int{kCreateWireless}) << ::testing::PrintToString(first.Log()) << sim_->Log();
    ApplyHost second({}, 1);
    HandOn(first, second);
    Run(second);
    log2 = second.Log();
  }
  // A create flow with `fault` on the Master that must end as planned: both
  // runs end with every step done and nothing failed, no box is shown, the
  // simulator logged `simLine`, and every device is configured. The first
  // run's log, for the step's own line.
  std::vector<std::string> RunSettledFlow(const std::string& fault, const char* simLine) {
    StartThree(fault);
    ApplyHost first(ThreeMembers());
    OperatorAnswers answers("");
    std::vector<std::string> log2;
    RunBoth(first, log2);
    const std::vector<std::string> log1 = first.Log();
    if (!HasFatalFailure()) {
      EXPECT_FALSE(Mentions(log1, "Failed!")) << ::testing::PrintToString(log1);
      EXPECT_EQ(log1.back(), "All steps are done.");
      EXPECT_EQ(first.page.m_strAgentIp, "10.250.0.21");
      EXPECT_EQ(log2.back(), "All steps are done.") << ::testing::PrintToString(log2);
      EXPECT_TRUE(answers.boxes.empty()) << ::testing::PrintToString(answers.boxes);
      EXPECT_NE(sim_->Log().find(simLine), std::string::npos) << sim_->Log();
      ExpectConfigured();
    }
    sim_.reset();
    return log1;
  }
  void ExpectConfigured() {
    for (int i = 0; i < 3; ++i) {
      auto state = sim_->State(kMacs[i]);
      EXPECT_EQ(state["ip"], kPlanned[i]) << kMacs[i];
      EXPECT_EQ(state["dot11APTrevakStatus"], "1") << kMacs[i];
      EXPECT_EQ(state["password"], "grouppass") << kMacs[i];
      EXPECT_EQ(state["snmp_status"], "0") << kMacs[i];
    }
  }
};

// Every copy of one answer of the Master lost, the request carried out:
// - its SNMP-on Set: a read of the same variables shows SNMP on with the
//   communities; its SNMP Sets of the chain: a Get shows what was written;
// - its set-IP: it is restarted all the same and, once it has had its time
//   to restart, found at the planned address (no "still at its old address"
//   from a search made before the restart).
// The step is OK with its answer lost, nothing fails, and the later steps and
// the second run reach the Master where it is.
TEST_F(LostAnswers, TheMastersRequestsWithEveryAnswerLostAreSettledByAskingIt) {
  const MasterFault cases[] = {
      {"faults = drop_set=snmp_status:4\n", "10.250.0.31 (000D88C00001): reading the SNMP settings... ",
       "drop answer to set of snmp_status"},
      {"faults = drop_set=ip:4\n", "10.250.0.21 (000D88C00001): setting the IP address and restarting... ",
       "drop answer to set of ip"},
      // SNMP Sets of the chain: a Get of what was written.
      {"faults = drop_set=dot11APTrevakSyncSSIDStatus:4\n", "10.250.0.21: writing the synchronisation settings... ",
       "snmp drop answer to set of dot11APTrevakSyncSSIDStatus"},
      {"faults = drop_set=usersPassword:4\n", "10.250.0.21: writing the user name and password... ",
       "snmp drop answer to set of usersPassword"},
      {"faults = drop_set=deviceSettingApply:4\n", "10.250.0.21 (000D88C00001): applying the settings... ",
       "snmp drop answer to set of deviceSettingApply"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    const std::vector<std::string> log1 = RunSettledFlow(c.fault, c.simLine);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(CountLines(log1, c.line + kOkAnswerLost), 1u) << ::testing::PrintToString(log1);
    EXPECT_FALSE(Mentions(log1, "still at its old address"));
  }
}

// Every copy of one request of the Master lost on the way, so that the device
// never saw it: its login answers the read-back without the password and is
// written again; its restart after the set-IP never happened, so that the
// search finds it at its old address, and it is given its address and
// restarted again. The step is OK, nothing fails, and the Master ends as
// planned.
TEST_F(LostAnswers, TheMastersRequestsLostOnTheWayAreSentAgain) {
  const MasterFault cases[] = {
      {"faults = lose_set=usersPassword:4\n", "10.250.0.21: writing the user name and password... OK!",
       "snmp lose set of usersPassword"},
      {"faults = lose_set=reboot:4\n", "10.250.0.21 (000D88C00001): setting the IP address and restarting... OK!",
       "lose set of reboot"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    const std::vector<std::string> log1 = RunSettledFlow(c.fault, c.simLine);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(CountLines(log1, c.line), 1u) << ::testing::PrintToString(log1);
  }
}

// The Master answers nothing: Next names it and its failed step instead of
// asking for a Master, and Cancel switches SNMP off on the two members the
// run switched it on for, a line each; none is left open.
TEST_F(LostAnswers, AFailedMasterIsNamedAndCancelSwitchesSnmpOffEverywhere) {
  StartThree("faults = no_answer\n");
  ApplyHost first(ThreeMembers());
  OperatorAnswers answers("");
  Run(first);
  const std::vector<std::string> log1 = first.Log();
  EXPECT_EQ(sim_->State(kMacs[1])["snmp_status"], "1");
  EXPECT_EQ(first.page.OnNextPage(), int{CWizardPage::kStayOnPage});
  const std::string step = "10.250.0.31 (000D88C00001): reading the SNMP settings... Failed!";
  ASSERT_EQ(CountLines(log1, step), 1u) << ::testing::PrintToString(log1);
  const CString named = FormatLangText(theApp.Text("IDS_STR_MASTER_FAILED"), {"10.250.0.31", kMacs[0], step.c_str()});
  EXPECT_EQ(answers.boxes, std::vector<std::string>{named.GetString()});
  EXPECT_EQ(answers.boxes[0].find("has no Master"), std::string::npos);

  ASSERT_TRUE(first.page.OnCancelFlow());
  const std::vector<std::string> log = first.Log();
  for (int i = 1; i < 3; ++i) {
    EXPECT_EQ(CountLines(log, std::string(kPlanned[i]) + " (" + kMacs[i] + "): switching SNMP off... OK!"), 1u)
        << ::testing::PrintToString(log);
  }
  EXPECT_FALSE(Mentions(log, "(000D88C00001): switching SNMP off"));  // never switched on
  for (const char* mac : kMacs) EXPECT_EQ(sim_->State(mac)["snmp_status"], "0") << mac;
}

}  // namespace
