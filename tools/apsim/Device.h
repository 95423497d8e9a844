// One simulated device: its values by scenario key (the QUAV variables' keys
// and the MIB objects' names), the address settings it takes at its next
// reboot, its faults, its sockets and its clocks.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>

#include "Bytes.h"
#include "Settings.h"

namespace apsim {

// The scenario's fault knobs (see Scenario.h).
struct Faults {
  bool no_answer = false, password_error = false, wrong_mac = false, bad_length = false;
  bool duplicate = false, garbage = false;
  bool no_answer_reboot = false;  // takes a reboot command and reboots without answering
  bool no_answer_setip = false;   // takes a new address at once, reboots, answers nothing
  int drop_answers = 0;           // answers to Get and Set still to lose
  std::string lose_set_name;      // Sets that write it are lost on the way in ...
  int lose_set_requests = 0;      // ... this many more times
  std::string other_ip;           // taken instead of an address that is set
  std::string drop_set_name;      // answers to Sets that write it are lost ...
  int drop_set_answers = 0;       // ... this many more times
  bool snmp_silent = false;
  std::string snmp_error_name;  // a PDU naming this object gets snmp_error_status
  int snmp_error_status = 0;
  int delay_ms = 0;
  int status = -1;
  std::string text;  // as written, for the state file
};

struct Device {
  std::map<std::string, std::string> values;
  std::map<std::string, std::string> staged;  // address settings that take effect at reboot
  Faults faults;
  Bytes mac;
  int socket = -1;
  int snmp_socket = -1;
  bool announce = false;
  int announce_ms = 1000;
  int reboot_ms = 2000;
  Clock::time_point next_announce = Clock::now();
  std::optional<Clock::time_point> back_at;  // silent until then

  std::string Get(const std::string& key) const {
    auto it = values.find(key);
    return it == values.end() ? "" : it->second;
  }
  // Silent until Tick has brought it back with its staged address: a request
  // that comes in between must not be answered from the old one.
  bool Silent(Clock::time_point) const { return back_at.has_value(); }

  // The answer to the request that asked for it still goes out; the device
  // is silent from just after it.
  void Reboot() {
    back_at = Clock::now() + std::chrono::milliseconds(50) + DeviceTime(faults.delay_ms + reboot_ms);
    Log("reboot %s for %d ms", Get("mac").c_str(), reboot_ms);
  }
};

}  // namespace apsim
