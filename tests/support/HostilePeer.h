// A peer on the LAN that no one should trust, for tests inside a private
// network namespace: it answers every QUAV Discover with records no device
// could have (a MAC of Z digits, the broadcast address, a netmask with a hole
// in it, the broadcast address of its own subnet), a location that breaks
// lines, a refusal status, one sound record (0A0B0C0D0E01 at 10.250.0.201)
// and two sound hosts of a /16 whose last parts are 255 and 0 (0A0B0C0D0E08
// at 10.1.0.255, 0A0B0C0D0E09 at 10.1.1.0), and every 100 ms it announces that device as the Master of
// a group named "Lobby\r\nEvil". It shares the request port with apsim.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

class HostilePeer {
 public:
  HostilePeer();
  ~HostilePeer();
  HostilePeer(const HostilePeer&) = delete;
  HostilePeer& operator=(const HostilePeer&) = delete;
  bool bound() const { return bound_; }

 private:
  void Serve();

  int socket_ = -1;
  bool bound_ = false;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
