// The apply engine's SNMP chain when devices answer badly: an agent that
// never answers or refuses the first read, an error status for a write, a
// restart that is not answered or refused, and an access point mode to
// correct. Each
// run goes on to its end lines, releases the page and names a device that
// failed; no message box holds it.
#include <gtest/gtest.h>

#include <algorithm>

#include "ApplySnmpKit.h"

CWizardApp theApp;

namespace {

bool Mentions(const std::vector<std::string>& log, const std::string& text) {
  return std::any_of(log.begin(), log.end(),
                     [&text](const std::string& l) { return l.find(text) != std::string::npos; });
}

// The first read of a member fails: a line names the member and the step.
TEST_F(ApplySnmp, AMemberWhoseFirstReadFailsGetsAFailLineAndNoBox) {
  const char* const kFaults[] = {"faults = snmp_silent\n", "faults = snmp_error=dot11ApMode:5\n",
                                 "snmp_status = 0\n"};  // its agent is off: as a member that moved
  for (const char* fault : kFaults) {
    SCOPED_TRACE(fault);
    StartDevices(SnmpDevice("000D88C00001", "10.250.0.21") + fault + SecondDevice());
    ApplyHost h(TwoMembers());
    OperatorAnswers answers("");
    RunChain(h);
    const std::vector<std::string> log = h.Log();
    EXPECT_TRUE(answers.boxes.empty()) << ::testing::PrintToString(answers.boxes);
    EXPECT_EQ(CountLines(log, "10.250.0.21 (000D88C00001): checking the access point mode... Failed!"), 1u)
        << ::testing::PrintToString(log);
    EXPECT_FALSE(Mentions(log, "10.250.0.21 (000D88C00001): joining"));
    ExpectSecondDeviceAndEnd(log, FirstDeviceFailed());
    EXPECT_EQ(sim_->State("000D88C00002")["dot11APTrevakStatus"], "1");
    sim_.reset();
  }
}

TEST_F(ApplySnmp, AGroupSettingsWriteWithAnErrorStatusSkipsTheRestOfThatDevice) {
  StartDevices(SnmpDevice("000D88C00001", "10.250.0.21", "faults = snmp_error=dot11APTrevakStatus:5\n") +
               SecondDevice());
  ApplyHost h(TwoMembers());
  OperatorAnswers answers("");
  RunChain(h);
  const std::vector<std::string> log = h.Log();
  EXPECT_TRUE(answers.boxes.empty());
  EXPECT_EQ(CountLines(log, "10.250.0.21 (000D88C00001): joining the AP Vezovi... Failed!"), 1u)
      << ::testing::PrintToString(log);
  EXPECT_FALSE(Mentions(log, "10.250.0.21: writing"));
  EXPECT_FALSE(Mentions(log, "10.250.0.21 (000D88C00001): restarting"));
  ExpectSecondDeviceAndEnd(log, FirstDeviceFailed());
  EXPECT_EQ(sim_->State("000D88C00001")["dot11APTrevakVersion"], "0");
}

// Only the device's answer makes a restart OK: one never answered (the
// device went silent, its retries unanswered) and one refused both fail the
// device, by name, in the last line.
TEST_F(ApplySnmp, ARestartNotAnsweredOrRefusedFailsItsDeviceAndTheChainMovesOn) {
  const struct {
    const char* fault;
    const char* simLine;
  } cases[] = {{"no_answer=reboot", "snmp ignore restart at 000D88C00001"},
               {"snmp_error=deviceRestart:5", "snmp error 5 index 1 at 000D88C00001"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    StartDevices(SnmpDevice("000D88C00001", "10.250.0.21", std::string("faults = ") + c.fault + "\n") +
                 SecondDevice());
    ApplyHost h(TwoMembers());
    RunChain(h);
    const std::vector<std::string> log = h.Log();
    EXPECT_EQ(CountLines(log, "10.250.0.21 (000D88C00001): restarting the access point... Failed!"), 1u)
        << ::testing::PrintToString(log);
    EXPECT_EQ(CountLines(log, "10.250.0.21 (000D88C00001): restarting the access point... OK!"), 0u);
    // The steps before the restart went well.
    EXPECT_EQ(CountLines(log, "10.250.0.21 (000D88C00001): applying the settings... OK!"), 1u);
    EXPECT_TRUE(sim_->WaitForLog(c.simLine, 1000)) << sim_->Log();
    ExpectSecondDeviceAndEnd(log, FirstDeviceFailed());
    sim_.reset();
  }
}

TEST_F(ApplySnmp, AnAccessPointModeOtherThanAccessPointIsSetFirst) {
  StartDevices(SnmpDevice("000D88C00001", "10.250.0.21", "dot11ApMode = 3\ndot11APTrevakVersion = 499\n") +
               SecondDevice());
  ApplyHost h(TwoMembers());
  RunChain(h);
  EXPECT_EQ(sim_->State("000D88C00001")["dot11ApMode"], "1");
  EXPECT_EQ(sim_->State("000D88C00001")["dot11APTrevakVersion"], "0");  // 499 + 1 wraps
  ExpectSecondDeviceAndEnd(h.Log());
}

}  // namespace
