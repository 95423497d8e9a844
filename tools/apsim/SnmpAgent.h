// The devices' SNMP v1/v2c agent. While its QUAV "SNMP Status" is 1 and it is
// not rebooting, a device answers on <its IP>:161 with the communities QUAV
// set, from the MIB table (Mib.h). Writing the group objects over SNMP drives
// the announcements: group status 1 with a non-empty group name starts them,
// status 0 stops them.
#pragma once

#include <vector>

#include "AgentMessage.h"
#include "Device.h"

namespace apsim {

class SnmpAgent {
 public:
  // The devices stay the caller's; every Set writes the state file.
  explicit SnmpAgent(std::vector<Device>& devices) : devices_(devices) {}

  // Reads the message waiting on the device's agent socket and answers it.
  void Receive(Device& d);

 private:
  Bytes Answer(Device& d, const SnmpMessage& r, bool& reboot);
  void FollowGroup(Device& d);

  std::vector<Device>& devices_;
};

}  // namespace apsim
