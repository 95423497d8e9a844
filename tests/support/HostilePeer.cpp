#include "HostilePeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

typedef std::vector<uint8_t> Bytes;
void Item(Bytes& out, uint8_t id, std::initializer_list<uint8_t> selector, const Bytes& value, bool masked) {
  out.push_back(uint8_t(selector.size() + 1));
  out.push_back(id);
  out.insert(out.end(), selector);
  const size_t length = selector.size() + 4 + value.size();
  out.push_back(uint8_t(length >> 8));
  out.push_back(uint8_t(length));
  for (uint8_t b : value) out.push_back(masked ? b ^ 0xB3 : b);
}
Bytes Text(const std::string& t) { return Bytes(t.begin(), t.end()); }
Bytes Ip(const char* ip) {
  in_addr a{};
  inet_pton(AF_INET, ip, &a);
  const uint8_t* p = reinterpret_cast<const uint8_t*>(&a.s_addr);
  return Bytes(p, p + 4);
}
Bytes Datagram(uint8_t command, uint8_t sequence, uint8_t status, const Bytes& mac, const Bytes& items) {
  // Room for the items up front: growing inside insert trips a false array-bounds warning of GCC 12.
  Bytes out;
  out.reserve(36 + items.size());
  out.resize(36, 0);
  const uint8_t magic[] = {0x09, 0x2B, 0x13, 0x38};
  std::copy(magic, magic + 4, out.begin());
  out[4] = command;
  out[5] = sequence;
  out[10] = status;
  std::copy(mac.begin(), mac.end(), out.begin() + 28);
  out[34] = 2;
  out.insert(out.end(), items.begin(), items.end());
  out[6] = uint8_t(out.size() >> 8);
  out[7] = uint8_t(out.size());
  return out;
}
// The items of a Discover answer (or, masked, of an announcement's first part).
Bytes Device(const Bytes& macValue, const char* ip, const std::string& location, bool masked,
             const char* netmask = "255.255.255.0") {
  Bytes items;
  Item(items, 1, {0x00, 0x05}, Text("RIZ-4410"), masked);
  Item(items, 1, {0x00, 0x06}, Text("1.0.0"), masked);
  Item(items, 1, {0x00, 0x07}, macValue, masked);
  Item(items, 1, {0x00, 0x08}, Ip(ip), masked);
  Item(items, 1, {0x00, 0x09}, Ip(netmask), masked);
  Item(items, 1, {0x00, 0x0D}, Text(location), masked);
  Item(items, 10, {0x02, 0x01, 0x01}, Bytes{0, 0, 0, 0}, masked);
  return items;
}
void SendTo(int socket, const Bytes& datagram, sockaddr_in to) {
  sendto(socket, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
}
void Answer(int socket, uint8_t sequence, const sockaddr_in& to) {
  const Bytes member = {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x01};
  const Bytes hall = {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x02};
  const Bytes everyone = {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x03};
  const Bytes refusing = {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x05};
  const Bytes holes = {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x06};
  const Bytes edge = {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x07};
  const Bytes lastPart255 = {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x08};
  const Bytes lastPart0 = {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x09};
  SendTo(socket, Datagram(1, sequence, 0, member, Device(member, "10.250.0.201", "Peer", false)), to);
  SendTo(socket, Datagram(1, sequence, 0, member, Device(Text("ZZ:ZZ:ZZ:ZZ:ZZ:ZZ"), "10.250.0.202", "Z", false)), to);
  SendTo(socket, Datagram(1, sequence, 0, everyone, Device(everyone, "255.255.255.255", "All", false)), to);
  SendTo(socket, Datagram(1, sequence, 0, hall, Device(hall, "10.250.0.204", "Hall\nway", false)), to);
  SendTo(socket, Datagram(1, sequence, 2, refusing, {}), to);
  SendTo(socket, Datagram(1, sequence, 0, holes, Device(holes, "10.250.0.206", "Holes", false, "255.0.255.0")), to);
  SendTo(socket, Datagram(1, sequence, 0, edge, Device(edge, "10.250.0.127", "Edge", false, "255.255.255.128")), to);
  // Hosts of a /16 whose last part a typed address could not have.
  SendTo(socket, Datagram(1, sequence, 0, lastPart255, Device(lastPart255, "10.1.0.255", "Wide", false, "255.255.0.0")),
         to);
  SendTo(socket, Datagram(1, sequence, 0, lastPart0, Device(lastPart0, "10.1.1.0", "Wide", false, "255.255.0.0")), to);
}
void Announce(int socket) {
  const Bytes member = {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x01};
  Bytes items = Device(member, "10.250.0.201", "Peer", true);
  items.resize(items.size() - 11);  // the SNMP status comes last in an announcement
  const struct {
    uint8_t selector;
    const char* value;
  } group[] = {{0x01, "0"}, {0x02, "1"}, {0x03, "1"}, {0x04, "1"}, {0x05, "Lobby\r\nEvil"}, {0x06, "1"},
               {0x07, ""},  {0x08, "1"}};
  for (const auto& g : group) Item(items, 12, {0x01, g.selector}, Text(g.value), true);
  Item(items, 10, {0x02, 0x01, 0x01}, Bytes{0, 0, 0, 0}, true);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(55000);
  to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
  SendTo(socket, Datagram(7, 0, 0, member, items), to);
}

}  // namespace

HostilePeer::HostilePeer() {
  socket_ = ::socket(AF_INET, SOCK_DGRAM, 0);
  int one = 1;
  setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  setsockopt(socket_, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_port = htons(64512);
  bound_ = ::bind(socket_, reinterpret_cast<sockaddr*>(&any), sizeof any) == 0;
  thread_ = std::thread([this] { Serve(); });
}
HostilePeer::~HostilePeer() {
  stop_ = true;
  thread_.join();
  close(socket_);
}

void HostilePeer::Serve() {
  auto next = std::chrono::steady_clock::now();
  while (!stop_) {
    pollfd p{socket_, POLLIN, 0};
    if (poll(&p, 1, 10) > 0) {
      uint8_t buffer[2048];
      sockaddr_in from{};
      socklen_t length = sizeof from;
      const ssize_t n = recvfrom(socket_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
      if (n >= 36 && buffer[4] == 1) Answer(socket_, buffer[5], from);
    }
    if (std::chrono::steady_clock::now() >= next) {
      Announce(socket_);
      next += std::chrono::milliseconds(100);
    }
  }
}

