// Texts typed by a user or read from a file: object identifiers, time ticks,
// hexadecimal octet strings and every kind of address.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Address.h"
#include "OctetStr.h"
#include "Oid.h"
#include "TimeTicks.h"

#include "Winsock.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  WSADATA data;
  WSAStartup(0x0101, &data);
  // With the table filled, names are answered from it and no resolver is asked.
  PlatformHostTableAdd("agent.fuzz", "10.1.2.3");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const char* t = text.c_str();

  Oid oid(t);
  oid.get_printable();
  oid.get_printable(2);
  oid.get_printable(2, 3);
  Oid longer(oid);
  longer += t;
  longer += oid;
  longer += 4294967295ul;
  (void)(longer < oid);
  (void)(oid == t);
  oid.nCompare(3, longer);
  oid.RnCompare(3, longer);
  longer.RnCompare(2, oid);
  longer.trim(2);
  longer.get_printable();

  TimeTicks ticks(t);
  ticks.get_printable();

  OctetStr::from_hex_string(OctetStr(t)).get_printable_hex();

  IpAddress ip(t);
  int status = 0;
  ip.friendly_name(status);
  UdpAddress udp(t);
  IpxAddress ipx(t);
  IpxSockAddress ipxsock(t);
  MacAddress mac(t);
  GenAddress gen(t);
  gen.get_printable();
  GenAddress copy;
  copy = static_cast<const SnmpSyntax&>(OctetStr(data, size));
  (void)(gen == copy);
  (void)(udp < t);
  return 0;
}
