// The scenario file apsim starts from, and the state file it keeps (--state),
// which is a scenario that starts the devices again as they are.
//
// Scenario file: one [device] section per device, "key = value" lines:
//   mac, model, firmware, ip, netmask, gateway, location, password (also the
//   SNMP usersPassword; empty by default: no password is asked),
//   snmp_status, read_community, write_community,
//   group_full, role, discover_number, cfg_version, group_name, group_status,
//   group_password, original_role,
//   announce (0/1), announce_ms, reboot_ms, rebooting (0/1),
//   staged_ip, staged_netmask, staged_gateway (taken at the next reboot),
//   any SNMP object by its MIB name (dot11ApMode = 3; table rows as
//   dot11WepKey.2),
//   faults: a comma list of no_answer, no_answer=reboot, no_answer=setip,
//           password_error, wrong_mac, bad_length, duplicate, garbage,
//           delay=MS, status=N, drop_answers=N, snmp_silent,
//           snmp_error=NAME:STATUS, other_ip=ADDRESS, drop_set=NAME:COUNT,
//           lose_set=NAME:COUNT
//     no_answer=setip: a Set of the address takes effect at once, with a
//     reboot, and is never answered; drop_answers=N: the first N answers to
//     Get and Set requests are lost (Discover answers still go out);
//     other_ip=ADDRESS: a Set of the address takes ADDRESS instead of the
//     one asked for; drop_set=NAME:COUNT: the first COUNT answers to Sets,
//     QUAV or SNMP, that write NAME (a key above or a MIB name) are lost,
//     every copy of one exchange when COUNT is the client's tries; the Sets
//     take effect; lose_set=NAME:COUNT: the first COUNT Sets that write
//     NAME are lost before the device sees them (neither done nor answered).
// Lines starting with '#' or ';' are comments. An unknown key, MIB name or
// fault stops apsim with the line's number.
#pragma once

#include <vector>

#include "Device.h"

namespace apsim {

// The devices of the scenario at `path`; false, with the reason on standard
// error, for a file that cannot be read or taken whole, or has no device.
bool LoadScenario(const char* path, std::vector<Device>& devices);

// Writes every device to the state file (written aside, then renamed, so
// that a reader never sees half a file); nothing without --state.
void WriteState(const std::vector<Device>& devices);

}  // namespace apsim
