// The devices' QUAV side and the one loop that runs them all. Requests arrive
// as broadcasts on UDP port 64512 (one socket for every device); each device
// answers from its own address and port 64512, after the delay its faults
// ask for. Devices that announce send announcements to port 55000. A Set of
// "System Reboot" (or an SNMP deviceRestart) makes the device silent for
// "reboot_ms", and it then comes back with the address settings it was given.
#pragma once

#include <netinet/in.h>
#include <signal.h>

#include <vector>

#include "Device.h"
#include "QuavCodec.h"
#include "SnmpAgent.h"

namespace apsim {

// Set from a signal handler: the loop ends at its next turn.
extern volatile sig_atomic_t g_stop;

class Simulator {
 public:
  // The devices stay the caller's.
  explicit Simulator(std::vector<Device>& devices) : devices_(devices), agent_(devices) {}

  // Binds the request port and every device's sockets and writes the first
  // state; false, with the reason on standard error, when that fails.
  bool Open();
  // Runs until g_stop, or for `duration_s` seconds when that is positive.
  void Run(double duration_s);

 private:
  // An answer waiting for its device's delay.
  struct Pending {
    Clock::time_point when;
    Device* device;
    Bytes datagram;
    sockaddr_in to;
  };

  void Tick(Clock::time_point now);
  void Announce(Device& d);
  void Receive();
  void Answer(Device& d, const Request& r, const uint8_t* raw, size_t raw_length, const sockaddr_in& from);
  static bool Authenticated(const Device& d, const Request& r, const uint8_t* raw, size_t raw_length);
  uint8_t ApplySet(Device& d, const Request& r);
  void Schedule(Device& d, const Bytes& datagram, const sockaddr_in& to);
  void Send(Device& d, const Bytes& datagram, const sockaddr_in& to);

  std::vector<Device>& devices_;
  SnmpAgent agent_;
  std::vector<Pending> pending_;
  int listen_ = -1;
};

}  // namespace apsim
