#include "Simulator.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Scenario.h"

namespace apsim {

volatile sig_atomic_t g_stop = 0;

namespace {

// The variables a device puts in a Discover answer and in an announcement.
const char* const kDiscoverKeys[] = {"model", "firmware", "mac", "ip", "netmask", "location", "snmp_status"};
const char* const kAnnounceKeys[] = {"model", "firmware", "mac", "ip", "netmask", "location",
                                     "group_full", "role", "discover_number", "cfg_version", "group_name",
                                     "group_status", "group_password", "original_role", "snmp_status"};

bool BindDeviceSocket(Device& d) {
  if (d.socket >= 0) close(d.socket);
  d.socket = socket(AF_INET, SOCK_DGRAM, 0);
  int one = 1;
  setsockopt(d.socket, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  setsockopt(d.socket, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(kRequestPort);
  if (inet_pton(AF_INET, d.Get("ip").c_str(), &addr.sin_addr) != 1 ||
      bind(d.socket, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    fprintf(stderr, "apsim: cannot bind %s:%u: %s\n", d.Get("ip").c_str(), kRequestPort, strerror(errno));
    return false;
  }
  return true;
}

// The agent's socket; a device whose address is not local stays unreachable
// over SNMP, as it would on a real network.
void BindSnmpSocket(Device& d) {
  if (d.snmp_socket >= 0) close(d.snmp_socket);
  d.snmp_socket = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(161);
  if (inet_pton(AF_INET, d.Get("ip").c_str(), &addr.sin_addr) != 1 ||
      bind(d.snmp_socket, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    Log("snmp %s cannot bind %s:161: %s", d.Get("mac").c_str(), d.Get("ip").c_str(), strerror(errno));
    close(d.snmp_socket);
    d.snmp_socket = -1;
  }
}

}  // namespace

bool Simulator::Open() {
  listen_ = socket(AF_INET, SOCK_DGRAM, 0);
  int one = 1;
  setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(kRequestPort);
  if (bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    fprintf(stderr, "apsim: cannot bind port %u: %s\n", kRequestPort, strerror(errno));
    return false;
  }
  for (Device& d : devices_) {
    if (!BindDeviceSocket(d)) return false;
    BindSnmpSocket(d);
  }
  WriteState(devices_);
  for (const Device& d : devices_) Log("device %s %s at %s", d.Get("mac").c_str(), d.Get("model").c_str(), d.Get("ip").c_str());
  Log("ready");
  return true;
}

void Simulator::Run(double duration_s) {
  Clock::time_point end = Clock::now() + std::chrono::milliseconds(static_cast<int64_t>(duration_s * 1000));
  while (!g_stop && (duration_s <= 0 || Clock::now() < end)) {
    Clock::time_point now = Clock::now();
    Tick(now);
    std::vector<pollfd> fds{{listen_, POLLIN, 0}};
    for (const Device& d : devices_) fds.push_back({d.snmp_socket, POLLIN, 0});
    if (poll(fds.data(), fds.size(), 10) <= 0) continue;
    if (fds[0].revents & POLLIN) Receive();
    for (size_t i = 0; i < devices_.size(); ++i)
      if ((fds[i + 1].revents & POLLIN) && devices_[i].snmp_socket == fds[i + 1].fd) agent_.Receive(devices_[i]);
  }
}

void Simulator::Tick(Clock::time_point now) {
  for (Device& d : devices_) {
    if (d.back_at && now >= *d.back_at) {
      d.back_at.reset();
      for (auto& [key, value] : d.staged) d.values[key] = value;
      d.staged.clear();
      BindDeviceSocket(d);
      BindSnmpSocket(d);
      // The state is on disk before the line that says so, for whoever
      // waits on the log and then reads the state.
      WriteState(devices_);
      Log("back %s at %s", d.Get("mac").c_str(), d.Get("ip").c_str());
    }
    if (d.announce && !d.Silent(now) && now >= d.next_announce) {
      Announce(d);
      d.next_announce = now + DeviceTime(d.announce_ms);
    }
  }
  for (size_t i = 0; i < pending_.size();) {
    if (pending_[i].when <= now) {
      Pending p = pending_[i];
      pending_.erase(pending_.begin() + static_cast<long>(i));
      Send(*p.device, p.datagram, p.to);
    } else {
      ++i;
    }
  }
}

void Simulator::Announce(Device& d) {
  Bytes out = Header(kAnnounce, 0, kDone, d.mac);
  for (const char* key : kAnnounceKeys) {
    const Variable* v = VariableByKey(key);
    PutItem(out, *v, EncodeValue(v->type, d.Get(key)), true);
  }
  FinishLength(out);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(kAnnouncePort);
  to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
  if (Lost("announcement", d.Get("mac"))) return;
  sendto(d.socket, out.data(), out.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
}

void Simulator::Receive() {
  uint8_t buffer[65536];
  sockaddr_in from{};
  socklen_t from_length = sizeof from;
  ssize_t n = recvfrom(listen_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &from_length);
  if (n <= 0 || Lost("request", "", false)) return;
  auto request = ParseRequest(buffer, static_cast<size_t>(n));
  if (!request) {
    Log("drop malformed datagram of %zd bytes", n);
    return;
  }
  Clock::time_point now = Clock::now();
  bool broadcast = std::all_of(request->mac.begin(), request->mac.end(), [](uint8_t b) { return b == 0xFF; });
  for (Device& d : devices_) {
    if (!broadcast && request->mac != d.mac) continue;
    if (d.Silent(now)) {
      Log("silent %s (rebooting)", d.Get("mac").c_str());
      continue;
    }
    Answer(d, *request, buffer, static_cast<size_t>(n), from);
  }
}

void Simulator::Answer(Device& d, const Request& r, const uint8_t* raw, size_t raw_length, const sockaddr_in& from) {
  const std::string mac = d.Get("mac");
  if (d.faults.no_answer) {
    Log("ignore command %u seq %u at %s", r.command, r.sequence, mac.c_str());
    return;
  }
  uint8_t status = kDone;
  Bytes body;
  switch (r.command) {
    case kDiscover: {
      // Devices already heard are listed in the request; they stay quiet.
      for (const Item& item : r.items)
        if (item.id == 1 && item.selector == "0007" && item.value == d.mac) {
          Log("discover seq %u: %s already known", r.sequence, mac.c_str());
          return;
        }
      for (const char* key : kDiscoverKeys) {
        const Variable* v = VariableByKey(key);
        PutItem(body, *v, EncodeValue(v->type, d.Get(key)), false);
      }
      Log("discover seq %u: answer %s", r.sequence, mac.c_str());
      break;
    }
    case kGet:
      if (!Authenticated(d, r, raw, raw_length)) {
        status = kPasswordError;
        break;
      }
      for (const Item& item : r.items) {
        const Variable* v = FindVariable(item.id, item.selector);
        if (!v) continue;
        PutItem(body, *v, EncodeValue(v->type, d.Get(v->key)), false);
      }
      Log("get seq %u at %s: %zu items", r.sequence, mac.c_str(), r.items.size());
      break;
    case kSet:
      if (!Authenticated(d, r, raw, raw_length)) {
        status = kPasswordError;
        break;
      }
      if (d.faults.lose_set_requests > 0 && std::any_of(r.items.begin(), r.items.end(), [&d](const Item& item) {
            const Variable* v = FindVariable(item.id, item.selector);
            return v && d.faults.lose_set_name == v->key;
          })) {
        --d.faults.lose_set_requests;
        Log("lose set of %s seq %u at %s", d.faults.lose_set_name.c_str(), r.sequence, mac.c_str());
        return;
      }
      status = ApplySet(d, r);
      if (d.faults.no_answer_setip && !d.staged.empty()) {
        for (auto& [key, value] : d.staged) d.values[key] = value;
        d.staged.clear();
        d.Reboot();
        WriteState(devices_);
        Log("ignore set-ip seq %u at %s (took it, rebooting)", r.sequence, mac.c_str());
        return;
      }
      WriteState(devices_);
      if (d.faults.no_answer_reboot && d.back_at) {
        Log("ignore command %u seq %u at %s (rebooting)", r.command, r.sequence, mac.c_str());
        return;
      }
      break;
    default:
      status = kBadCommand;
      break;
  }
  if (d.faults.password_error) status = kPasswordError;
  if (d.faults.status >= 0) status = static_cast<uint8_t>(d.faults.status);
  if (status != kDone) {
    body.clear();
    Log("status %u to command %u seq %u at %s", status, r.command, r.sequence, mac.c_str());
  }

  if (r.command == kSet && d.faults.drop_set_answers > 0) {
    bool writes = false;
    for (const Item& item : r.items) {
      const Variable* v = FindVariable(item.id, item.selector);
      writes = writes || (v && d.faults.drop_set_name == v->key);
    }
    if (writes) {
      --d.faults.drop_set_answers;
      Log("drop answer to set of %s seq %u at %s", d.faults.drop_set_name.c_str(), r.sequence, mac.c_str());
      return;
    }
  }
  if (r.command != kDiscover && d.faults.drop_answers > 0) {
    --d.faults.drop_answers;
    Log("drop answer to command %u seq %u at %s", r.command, r.sequence, mac.c_str());
    return;
  }
  Bytes answer_mac = d.mac;
  if (d.faults.wrong_mac) answer_mac[5] ^= 0x01;
  Bytes out = Header(r.command, r.sequence, status, answer_mac);
  out.insert(out.end(), body.begin(), body.end());
  FinishLength(out);
  if (d.faults.bad_length) out[7] = static_cast<uint8_t>(out[7] + 1);
  if (d.faults.garbage) {
    for (size_t i = kHeaderSize; i < out.size(); ++i) out[i] = static_cast<uint8_t>(rand());
    if (out.size() > kHeaderSize) out[kHeaderSize] = 0xFF;  // selector length beyond the item
  }
  Schedule(d, out, from);
  if (d.faults.duplicate) Schedule(d, out, from);
}

// A device with a password takes only requests signed with it (HMAC-MD5);
// a factory-fresh one, without a password, takes any.
bool Simulator::Authenticated(const Device& d, const Request& r, const uint8_t* raw, size_t raw_length) {
  const std::string password = d.Get("password");
  return password.empty() || (r.authenticated && DigestMatches(raw, raw_length, password));
}

uint8_t Simulator::ApplySet(Device& d, const Request& r) {
  bool reboot = false;
  for (const Item& item : r.items) {
    const Variable* v = FindVariable(item.id, item.selector);
    if (!v || !v->writable) {
      Log("set at %s: variable %u/%s not writable", d.Get("mac").c_str(), item.id, item.selector.c_str());
      return kNotDone;
    }
    if (!SizeFits(v->type, item.value.size())) {
      Log("set at %s: %zu bytes for a value of type %u", d.Get("mac").c_str(), item.value.size(), v->type);
      return kNotDone;
    }
    std::string text = DecodeValue(v->type, item.value);
    std::string key = v->key;
    if (key == "ip" || key == "netmask" || key == "gateway") {
      if (text.empty()) return kNotDone;
      if (key == "ip" && !d.faults.other_ip.empty()) text = d.faults.other_ip;
      d.staged[key] = text;
    } else if (key == "reboot") {
      reboot = text == "1";
    } else if (key == "save" || key == "apply") {
      // Staged address settings are kept until the reboot.
    } else {
      d.values[key] = text;
    }
    Log("set %s %s = %s", d.Get("mac").c_str(), key.c_str(), text.c_str());
  }
  if (reboot) d.Reboot();
  return kDone;
}

void Simulator::Schedule(Device& d, const Bytes& datagram, const sockaddr_in& to) {
  pending_.push_back({Clock::now() + DeviceTime(d.faults.delay_ms), &d, datagram, to});
}

void Simulator::Send(Device& d, const Bytes& datagram, const sockaddr_in& to) {
  if (Lost("answer", d.Get("mac"))) return;
  sendto(d.socket, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

}  // namespace apsim
