// Both apply runs of a create flow of three devices over a network that
// loses a fifth of the datagrams the program receives (and one that loses
// more, both ways, and one whose Master answers nothing): every device ends
// configured as far as the flow got, or a run names it as failed in its last
// line. None is left half done with every line saying all went well.
#include <gtest/gtest.h>

#include <algorithm>

#include "ApplySnmpKit.h"

CWizardApp theApp;

namespace {

const char* const kMacs[] = {"000D88C00001", "000D88C00002", "000D88C00003"};
const char* const kPlanned[] = {"10.250.0.21", "10.250.0.22", "10.250.0.23"};
const char* const kModeSelect[] = {"1", "3", "3"};

class LossyNetwork : public ApplySnmp {
 protected:
  LossyNetwork() { clock_scale_ = 40; }
};

// The devices the last line of a run names as failed.
std::vector<std::string> Named(const std::vector<std::string>& log) {
  const std::string kFailed = "access point(s) failed: ";
  std::vector<std::string> macs;
  if (log.empty()) return macs;
  const size_t at = log.back().find(kFailed);
  if (at == std::string::npos) return macs;
  for (const char* mac : kMacs)
    if (log.back().find(mac, at) != std::string::npos) macs.push_back(mac);
  return macs;
}

// What the first run leaves on a device: its planned address, the group's
// settings and its login. The second run then switches SNMP off.
bool JoinedByTheFirstRun(const std::map<std::string, std::string>& state, int i) {
  auto is = [&state](const char* key, const std::string& value) {
    auto it = state.find(key);
    return it != state.end() && it->second == value;
  };
  return is("ip", kPlanned[i]) && is("dot11APTrevakStatus", "1") && is("dot11APTrevakModeSelect", kModeSelect[i]) &&
         is("dot11ApTrevakName", "Lobby") && is("password", "grouppass");
}
bool Configured(const std::map<std::string, std::string>& state, int i) {
  auto snmp = state.find("snmp_status");
  return JoinedByTheFirstRun(state, i) && snmp != state.end() && snmp->second == "0";
}

bool Has(const std::vector<std::string>& names, const char* mac) {
  return std::find(names.begin(), names.end(), mac) != names.end();
}

TEST_F(LossyNetwork, EveryDeviceEndsConfiguredOrNamed) {
  // What the program receives lost, as in the field; then both ways and
  // more, so that some steps fail and must be named; and a Master that
  // answers nothing at all, so that the flow cannot go past its first run.
  const struct {
    const char* knob;
    const char* percent;
    const char* seed;
    const char* masterFaults;
  } kNetworks[] = {{"--loss-answers", "20", "1", ""},
                   {"--loss-answers", "20", "2", ""},
                   {"--loss", "35", "1", ""},
                   {"--loss-answers", "20", "3", "faults = no_answer\n"}};
  for (const auto& network : kNetworks) {
    const char* seed = network.seed;
    SCOPED_TRACE(std::string(network.knob) + " " + network.percent + " seed " + seed + " " + network.masterFaults);
    std::string scenario;
    for (int i = 0; i < 3; ++i)
      scenario += "[device]\nmac = " + std::string(kMacs[i]) + "\nip = 10.250.0.3" + char('1' + i) + "\n" +
                  (i == 0 ? network.masterFaults : "");
    sim_.reset(new ApsimHarness(
        dir_, scenario, {"--time-scale", std::to_string(clock_scale_), network.knob, network.percent, "--seed", seed}));
    ASSERT_TRUE(sim_->Ready()) << sim_->Errors();
    OperatorAnswers answers("");
    ApplyHost first({{kMacs[0], "10.250.0.31", "Master"}, {kMacs[1], "10.250.0.32", "Slave"},
                     {kMacs[2], "10.250.0.33", "Slave"}});
    Run(first);
    const std::vector<std::string> log1 = first.Log();
    ASSERT_FALSE(log1.empty());
    std::vector<std::string> named = Named(log1);
    EXPECT_EQ(log1.back() == "All steps are done.", named.empty()) << log1.back();
    // Where only answers are lost every restart reaches its device: one
    // whose answer was lost is found back by the search after it, not failed.
    if (std::string(network.knob) == "--loss-answers") {
      for (const std::string& line : log1)
        EXPECT_EQ(line.find("restarting the access point... Failed!"), std::string::npos) << line;
    }
    std::vector<std::string> log2;
    const bool secondRan = first.page.OnNextPage() == 4;
    if (secondRan) {
      ApplyHost second({}, 1);
      HandOn(first, second);
      Run(second);
      log2 = second.Log();
      ASSERT_FALSE(log2.empty());
      for (const std::string& mac : Named(log2)) named.push_back(mac);
      // A second run whose apply was not answered names the Master.
      if (std::count(log2.begin(), log2.end(), "Applying the wireless settings to the AP Vezovi... Failed!")) {
        EXPECT_NE(log2.back().find(kMacs[0]), std::string::npos) << log2.back();
      }
    } else {
      // The flow cannot go on without its Master: the run said why, and it
      // named the Master. Every other device ends as the first run left it,
      // or is named too.
      EXPECT_TRUE(Has(named, kMacs[0])) << ::testing::PrintToString(log1);
      EXPECT_EQ(answers.boxes, std::vector<std::string>{theApp.Text("IDS_STR_LIST_NOMASTER").GetString()});
    }
    if (*network.masterFaults) {
      EXPECT_FALSE(secondRan) << "a Master that answers nothing cannot lead the flow on";
    }
    for (int i = 0; i < 3; ++i) {
      const auto state = sim_->State(kMacs[i]);
      const bool done = secondRan ? Configured(state, i) : JoinedByTheFirstRun(state, i);
      EXPECT_TRUE(done || Has(named, kMacs[i]))
          << kMacs[i] << " is neither configured nor named\n"
          << ::testing::PrintToString(log1) << ::testing::PrintToString(log2);
    }
    EXPECT_NE(sim_->Log().find("lose answer"), std::string::npos) << "the network lost nothing";
    sim_.reset();
  }
}

}  // namespace
