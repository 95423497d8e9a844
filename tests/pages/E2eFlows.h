// What the end-to-end tests of the three flows share, whether the program
// runs in the test's process or as a process of its own on an X server: the
// four simulated devices, the clock scale, and what the simulator's state
// file must show after each flow.
//
//   create: three of the four factory-fresh devices become the group
//           "Atrium" (Master, Backup Master, Slave) on the planned addresses
//           10.250.0.101-103, with the WPA2-Personal SSID "AtriumNet";
//   modify: "Atrium" becomes "Foyer" with the password "newsecret", its Slave
//           leaves, the fourth device joins, the security becomes WEP;
//   status: the members of "Foyer" with their roles and addresses.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// The platform clock and the simulator run this much faster than real time:
// the 40 s scans and the devices' reboots stay within seconds.
const int kClockScale = 20;

const char kMaster[] = "000D88E00001";
const char kBackup[] = "000D88E00002";
const char kSlave[] = "000D88E00003";
const char kNewcomer[] = "000D88E00004";

const char kScenario[] = R"(
[device]
mac = 000D88E00001
ip = 10.250.0.11
location = Hall
[device]
mac = 000D88E00002
ip = 10.250.0.12
location = Lobby
[device]
mac = 000D88E00003
ip = 10.250.0.13
location = Stairs
[device]
mac = 000D88E00004
ip = 10.250.0.14
location = Roof
)";

// The typed values of the flows.
const char kCreatedName[] = "Atrium";
const char kCreatedPassword[] = "opensesame";
const char kSsid[] = "AtriumNet";
const char kPassPhrase[] = "correct horse battery";
const char kPlanFrom[] = "10.250.0.101";
const char kPlanMask[] = "255.255.255.0";
const char kPlanGateway[] = "10.250.0.1";
const char kModifiedName[] = "Foyer";
const char kModifiedPassword[] = "newsecret";
const char kWepKey[] = "abcde";

// A device's keys and values as the simulator last wrote them down.
using DeviceState = std::function<std::map<std::string, std::string>(const char* mac)>;

// Each member in the group `name` with its role (1 Master, 2 Backup Master,
// 3 Slave) and the group password as its login; the members' addresses are
// returned.
inline std::set<std::string> ExpectGroup(const DeviceState& state, const char* name, const char* password,
                                         const std::vector<std::pair<const char*, const char*>>& members) {
  std::set<std::string> addresses;
  for (const auto& [mac, role] : members) {
    SCOPED_TRACE(mac);
    auto device = state(mac);
    EXPECT_EQ(device["dot11APTrevakStatus"], "1");
    EXPECT_EQ(device["dot11APTrevakModeSelect"], role);
    EXPECT_EQ(device["dot11ApTrevakName"], name);
    EXPECT_EQ(device["dot11ApTrevakPassword"], password);
    EXPECT_EQ(device["usersName"], "admin");
    EXPECT_EQ(device["password"], password);
    addresses.insert(device["ip"]);
  }
  return addresses;
}

// After the create flow.
inline void ExpectCreated(const DeviceState& state) {
  const std::set<std::string> addresses =
      ExpectGroup(state, kCreatedName, kCreatedPassword, {{kMaster, "1"}, {kBackup, "2"}, {kSlave, "3"}});
  EXPECT_EQ(state(kMaster)["netmask"], kPlanMask);
  EXPECT_EQ(addresses, (std::set<std::string>{"10.250.0.101", "10.250.0.102", "10.250.0.103"}));
  auto outsider = state(kNewcomer);
  EXPECT_NE(outsider["dot11APTrevakStatus"], "1");
  EXPECT_EQ(outsider["ip"], "10.250.0.14");
  auto master = state(kMaster);
  EXPECT_EQ(master["dot11Ssid"], kSsid);
  EXPECT_EQ(master["dot11Authentication"], "6");
  EXPECT_EQ(master["dot11PassPhrase"], kPassPhrase);
}

inline void ExpectModifiedGroup(const DeviceState& state) {
  ExpectGroup(state, kModifiedName, kModifiedPassword, {{kMaster, "1"}, {kBackup, "2"}, {kNewcomer, "3"}});
}

// After the modify flow.
inline void ExpectModified(const DeviceState& state) {
  ExpectModifiedGroup(state);
  EXPECT_EQ(state(kNewcomer)["ip"], "10.250.0.14");
  EXPECT_EQ(state(kSlave)["dot11APTrevakStatus"], "0");
  auto master = state(kMaster);
  EXPECT_EQ(master["dot11Ssid"], kSsid);
  EXPECT_EQ(master["dot11Authentication"], "1");
  EXPECT_EQ(master["dot11Encryption"], "1");
  EXPECT_EQ(master["dot11WepKey.1"], kWepKey);
}

// The status flow's rows by MAC: group, role, address and location.
inline std::map<std::string, std::vector<std::string>> ExpectedStatusRows(const DeviceState& state) {
  return {
      {kMaster, {kModifiedName, "Master", state(kMaster)["ip"], "Hall"}},
      {kBackup, {kModifiedName, "Backup Master", state(kBackup)["ip"], "Lobby"}},
      {kNewcomer, {kModifiedName, "Slave", "10.250.0.14", "Roof"}},
  };
}

}  // namespace e2e
