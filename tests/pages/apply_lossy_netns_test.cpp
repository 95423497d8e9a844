// A whole create run of three devices over a network that loses a fifth of
// the datagrams the program receives (and one that loses more, both ways):
// every device ends configured, or the run names it as failed in its last
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

bool Configured(const std::map<std::string, std::string>& state, int i) {
  auto is = [&state](const char* key, const std::string& value) {
    auto it = state.find(key);
    return it != state.end() && it->second == value;
  };
  return is("ip", kPlanned[i]) && is("dot11APTrevakStatus", "1") && is("dot11APTrevakModeSelect", kModeSelect[i]) &&
         is("dot11ApTrevakName", "Lobby") && is("password", "grouppass") && is("snmp_status", "0");
}

TEST_F(LossyNetwork, EveryDeviceEndsConfiguredOrNamed) {
  // What the program receives lost, as in the field; then both ways and
  // more, so that some steps fail and must be named.
  const struct {
    const char* knob;
    const char* percent;
    const char* seed;
  } kNetworks[] = {{"--loss-answers", "20", "1"}, {"--loss-answers", "20", "2"}, {"--loss", "35", "1"}};
  for (const auto& network : kNetworks) {
    const char* seed = network.seed;
    SCOPED_TRACE(std::string(network.knob) + " " + network.percent + " seed " + seed);
    std::string scenario;
    for (int i = 0; i < 3; ++i)
      scenario += "[device]\nmac = " + std::string(kMacs[i]) + "\nip = 10.250.0.3" + char('1' + i) + "\n";
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
    if (first.page.OnNextPage() == 4) {
      ApplyHost second({}, 1);
      HandOn(first, second);
      Run(second);
      const std::vector<std::string> log2 = second.Log();
      ASSERT_FALSE(log2.empty());
      for (const std::string& mac : Named(log2)) named.push_back(mac);
      // A second run whose apply was not answered names the Master.
      if (std::count(log2.begin(), log2.end(), "Applying the wireless settings to the AP Vezovi... Failed!")) {
        EXPECT_NE(log2.back().find(kMacs[0]), std::string::npos) << log2.back();
      }
    } else {
      // The flow cannot go on without its Master: the run said why.
      EXPECT_NE(std::find(named.begin(), named.end(), kMacs[0]), named.end())
          << ::testing::PrintToString(log1);
      named.assign(std::begin(kMacs), std::end(kMacs));  // nobody is past the first run
    }
    for (int i = 0; i < 3; ++i) {
      const bool isNamed = std::find(named.begin(), named.end(), kMacs[i]) != named.end();
      EXPECT_TRUE(Configured(sim_->State(kMacs[i]), i) || isNamed)
          << kMacs[i] << " is neither configured nor named\n" << ::testing::PrintToString(log1);
    }
    EXPECT_NE(sim_->Log().find("lose answer"), std::string::npos) << "the network lost nothing";
    sim_.reset();
  }
}

}  // namespace
