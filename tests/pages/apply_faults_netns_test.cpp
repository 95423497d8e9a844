// The apply engine's SNMP chain when devices answer badly: an agent that
// never answers or refuses the first read, an error status for a write, a
// restart that is refused or never answered, and an access point mode to
// correct. Each run goes on to its end lines, releases the page and names a
// device that failed; no message box holds it.
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

// A restart refused fails its device at once. One never answered (the
// device took it and went silent, its resends unanswered) is settled by a
// search for the device by its MAC once it has had its time to restart:
// back at its address is OK, its answer lost; back elsewhere (where the run
// follows it), or not back before the search gives up, fails the device, by
// name, in the last line.
TEST_F(ApplySnmp, ARestartNotAnsweredIsSettledByASearchForTheDevice) {
  const std::string kRestart = "10.250.0.21 (000D88C00001): restarting the access point... ";
  const struct {
    const char* device;  // faults and more of the first device
    const char* simLine;
    bool searched;
    const char* outcome;  // the restart line's status
    const char* why;      // the line after it, if any
  } cases[] = {
      {"faults = no_answer=reboot\n", "snmp ignore restart at 000D88C00001", true, "OK!",
       "10.250.0.21 (000D88C00001): the answer to the restart was lost; the access point is back at its address."},
      {"faults = no_answer=reboot\nreboot_ms = 400000\n", "snmp ignore restart at 000D88C00001", true, "Failed!",
       "10.250.0.21 (000D88C00001): not found after the restart."},
      {"faults = no_answer=reboot\nstaged_ip = 10.250.0.41\n", "back 000D88C00001 at 10.250.0.41", true, "Failed!",
       "10.250.0.21 (000D88C00001): back after the restart, but at another address: 10.250.0.41."},
      {"faults = snmp_error=deviceRestart:5\n", "snmp error 5 index 1 at 000D88C00001", false, "Failed!", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.device);
    StartDevices(SnmpDevice("000D88C00001", "10.250.0.21", c.device) + SecondDevice());
    ApplyHost h(TwoMembers());
    RunChain(h);
    const std::vector<std::string> log = h.Log();
    const std::string noAnswer = kRestart + "no answer; looking for it once it has had time to restart";
    EXPECT_EQ(CountLines(log, noAnswer), c.searched ? 1u : 0u) << ::testing::PrintToString(log);
    EXPECT_EQ(CountLines(log, kRestart + c.outcome), 1u) << ::testing::PrintToString(log);
    EXPECT_EQ(CountLines(log, kRestart + (c.outcome == std::string("OK!") ? "Failed!" : "OK!")), 0u);
    if (c.why) {
      // The verdict comes after the search, its reason right under it.
      auto at = std::find(log.begin(), log.end(), kRestart + c.outcome);
      ASSERT_NE(at, log.end());
      EXPECT_GT(at - std::find(log.begin(), log.end(), noAnswer), 0);
      ASSERT_NE(at + 1, log.end());
      EXPECT_EQ(*(at + 1), c.why);
    }
    // The steps before the restart went well.
    EXPECT_EQ(CountLines(log, "10.250.0.21 (000D88C00001): applying the settings... OK!"), 1u);
    EXPECT_TRUE(sim_->WaitForLog(c.simLine, 1000)) << sim_->Log();
    // Only a device that was looked for was asked for by its MAC.
    const bool asked = sim_->Log().find("discover seq") != std::string::npos ||
                       sim_->Log().find("silent 000D88C00001 (rebooting)") != std::string::npos;
    EXPECT_EQ(asked, c.searched) << sim_->Log();
    // A device back elsewhere is followed there: the store and the last
    // lines show where it answers.
    const bool elsewhere = c.why && std::string(c.why).find("another address") != std::string::npos;
    const std::string at = elsewhere ? "10.250.0.41" : "10.250.0.21";
    EXPECT_EQ(h.Cell("000D88C00001", kColIp), at);
    ExpectSecondDeviceAndEnd(log, c.outcome == std::string("OK!") ? "All steps are done." : FirstDeviceFailed(), at);
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
