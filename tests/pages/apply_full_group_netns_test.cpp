// A group of 32 members, the most a group holds, created through both apply
// instances: every member ends with its planned address, in the group with
// its role, and with SNMP switched off.
#include <gtest/gtest.h>

#include <cstdio>

#include "ApplySnmpKit.h"
#include "WizardFlows.h"

CWizardApp theApp;

namespace {

const int kMembers = 32;

std::string Mac(int i) {
  char mac[13];
  std::snprintf(mac, sizeof mac, "000D88C001%02X", i);
  return mac;
}
std::string Address(int host) { return "10.250.0." + std::to_string(host); }

class FullGroup : public ApplySnmp {
 protected:
  // The run is long in device time; the clock runs faster than in the other
  // programs so that it stays short in real time.
  FullGroup() { clock_scale_ = 40; }
};

TEST_F(FullGroup, ThirtyTwoMembersAreCreatedEndToEnd) {
  std::string scenario;
  std::vector<std::string> macs, addresses;
  std::vector<Member> members;
  for (int i = 0; i < kMembers; ++i) {
    macs.push_back(Mac(i));
    addresses.push_back(Address(101 + i));
    scenario += "[device]\nmac = " + macs[i] + "\nip = " + addresses[i] + "\n";
  }
  for (int i = 0; i < kMembers; ++i) members.push_back({macs[i].c_str(), addresses[i].c_str(), i ? "Slave" : "Master"});
  StartDevices(scenario);
  ApplyHost first(members);
  Run(first);
  EXPECT_EQ(first.page.OnNextPage(), kCreateWireless) << ::testing::PrintToString(first.Log());
  ApplyHost second({}, 1);
  HandOn(first, second);
  Run(second);
  const std::vector<std::string> log = second.Log();
  EXPECT_EQ(log.back(), "All steps are done.");
  for (int i = 0; i < kMembers; ++i) {
    auto state = sim_->State(macs[i]);
    EXPECT_EQ(state["ip"], Address(21 + i)) << macs[i];
    EXPECT_EQ(state["dot11APTrevakStatus"], "1") << macs[i];
    EXPECT_EQ(state["dot11APTrevakModeSelect"], i ? "3" : "1") << macs[i];
    EXPECT_EQ(state["password"], "grouppass") << macs[i];
    EXPECT_EQ(state["snmp_status"], "0") << macs[i];
  }
}

}  // namespace
