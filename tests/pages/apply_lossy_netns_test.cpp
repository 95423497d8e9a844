// Both apply runs of a create flow of three devices over a network that
// loses a fifth of the datagrams the program receives (and one that loses
// more, both ways, and one whose Master answers nothing): every device ends
// configured as far as the flow got, or a run names it as failed in its last
// line. None is left half done with every line saying all went well. Where
// only answers are lost, every device has taken every request: the resends
// and the read-backs recover each step, so every device ends configured and
// none is named.
#include <gtest/gtest.h>

#include <algorithm>

#include "ApplySnmpKit.h"
#include "LossyFlow.h"

CWizardApp theApp;

namespace {

using namespace lossyflow;

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
    SCOPED_TRACE(std::string(network.knob) + " " + network.percent + " seed " + network.seed + " " +
                 network.masterFaults);
    const FlowOutcome flow = RunCreateFlow({network.knob, network.percent, "--seed", network.seed}, network.masterFaults);
    const std::string logs = ::testing::PrintToString(flow.log1) + ::testing::PrintToString(flow.log2);
    ASSERT_FALSE(flow.log1.empty());
    EXPECT_EQ(flow.log1.back() == "All steps are done.", Named(flow.log1).empty()) << flow.log1.back();
    const bool answersOnly = std::string(network.knob) == "--loss-answers";
    // Where only answers are lost every restart reaches its device: one
    // whose answer was lost is found back by the search after it, not failed.
    if (answersOnly) {
      for (const std::string& line : flow.log1)
        EXPECT_EQ(line.find("restarting the access point... Failed!"), std::string::npos) << line;
    }
    if (flow.secondRan) {
      ASSERT_FALSE(flow.log2.empty());
      // A second run whose apply was not answered names the Master.
      if (CountLines(flow.log2, "Applying the wireless settings to the AP Vezovi... Failed!")) {
        EXPECT_NE(flow.log2.back().find(kMacs[0]), std::string::npos) << flow.log2.back();
      }
    } else {
      // The flow cannot go on without its Master: the run named it, and Next
      // names it with its failed step instead of asking for a Master.
      EXPECT_TRUE(Has(flow.named, kMacs[0])) << logs;
      ASSERT_EQ(flow.boxes.size(), 1u);
      EXPECT_EQ(flow.boxes[0].rfind("The Master 10.250.0.31 (000D88C00001) failed", 0), 0u) << flow.boxes[0];
    }
    if (*network.masterFaults) {
      EXPECT_FALSE(flow.secondRan) << "a Master that answers nothing cannot lead the flow on";
    }
    EXPECT_EQ(flow.wrong, 0) << "a device is neither configured nor named\n" << logs;
    // Only a Master that answers nothing may fail where only answers are
    // lost: the resends and the read-backs recover everything else.
    for (int i = 0; i < 3 && answersOnly; ++i) {
      if (i == 0 && *network.masterFaults) continue;
      EXPECT_TRUE(flow.done[i]) << kMacs[i] << " was not recovered\n" << logs;
      EXPECT_FALSE(Has(flow.named, kMacs[i])) << kMacs[i] << " is named though only answers were lost\n" << logs;
    }
    if (answersOnly && !*network.masterFaults) {
      EXPECT_TRUE(flow.completed) << logs;
    }
    EXPECT_NE(sim_->Log().find("lose answer"), std::string::npos) << "the network lost nothing";
    sim_.reset();
  }
}

}  // namespace
