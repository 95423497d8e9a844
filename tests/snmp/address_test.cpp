// Addresses: parsing (host names from the platform's host table), kind
// detection, printing, comparison and conversion between the kinds.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "Address.h"
#include "OctetStr.h"

#include "Winsock.h"

namespace {

class AddressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(0x0101, &data), 0);
    PlatformHostTableAdd("agent.test", "10.9.8.7");
    PlatformHostTableAdd(long_name().c_str(), "10.9.8.6");
  }
  void TearDown() override {
    PlatformHostTableClear();
    WSACleanup();
  }
  static std::string long_name() { return std::string(120, 'h') + ".test"; }
};

// The dotted-text rules alone, before any look-up.
struct DottedText : IpAddress {
  using IpAddress::parse_dotted_ipstring;
};

TEST_F(AddressTest, DottedTextTable) {
  const struct {
    const char* text;
    const char* printed;  // "" when invalid
  } cases[] = {
      {" 10.1.2.3 ", "10.1.2.3"},
      {"10.1.2.3 trailing words", "10.1.2.3"},
      {"10.1.2", ""},
      {"10.1.2.3.4", ""},
      {"10.1.2.300", ""},
      {"10.0.0.0", "10.0.0.0"},
      {"10.01.2.3", "10.1.2.3"},
      {"10.00.0.0", ""},
      {"10.1.2.000", ""},
      {"255.255.255.255", "255.255.255.255"},
      {"1.2.3.a", ""},
      {"10..1.2", ""},
      {"", ""},
      {"0.0.0.0", "0.0.0.0"},
      {"1234.1.2.3", ""},
  };
  for (const auto& c : cases) {
    DottedText probe;
    EXPECT_EQ(probe.parse_dotted_ipstring(c.text) != 0, c.printed[0] != 0) << "[" << c.text << "]";
  }
  EXPECT_EQ(DottedText().parse_dotted_ipstring(nullptr), 0);
  EXPECT_EQ(DottedText().parse_dotted_ipstring((std::string(28, ' ') + "1.2.3.4").c_str()), 0);  // over 30

  // A text that is not dotted text is then asked of the resolver, which
  // reads a full quad with its own rules.
  for (const auto& c : cases) {
    if (std::string(c.text).find("00") != std::string::npos) continue;
    const IpAddress ip(c.text);
    EXPECT_STREQ(ip.get_printable(), c.printed) << "[" << c.text << "]";
    EXPECT_EQ(ip.valid() != 0, c.printed[0] != 0) << "[" << c.text << "]";
  }
  const IpAddress resolved("10.00.0.0");
  EXPECT_STREQ(resolved.get_printable(), "10.0.0.0");
  EXPECT_FALSE(IpAddress(static_cast<const char*>(nullptr)).valid());
}

TEST_F(AddressTest, HostNamesResolveThroughTheHostTable) {
  IpAddress ip("agent.test");
  ASSERT_TRUE(ip.valid());
  EXPECT_STREQ(ip.get_printable(), "10.9.8.7");
  int status = -1;
  EXPECT_STREQ(ip.friendly_name(status), "agent.test");
  EXPECT_EQ(status, 0);

  IpAddress unknown("nowhere.test");
  EXPECT_FALSE(unknown.valid());
  EXPECT_STREQ(unknown.friendly_name(status), "");
  EXPECT_EQ(status, WSAHOST_NOT_FOUND);

  // The reverse look-up fills the name of an address given as numbers.
  IpAddress numeric("10.9.8.7");
  EXPECT_STREQ(numeric.friendly_name(status), "agent.test");
  EXPECT_EQ(status, 0);

  UdpAddress udp("agent.test:1161");
  EXPECT_STREQ(udp.get_printable(), "10.9.8.7/1161");
}

TEST_F(AddressTest, LongHostNamesAreKeptWhole) {
  IpAddress ip(long_name().c_str());
  ASSERT_TRUE(ip.valid());
  int status = 0;
  EXPECT_EQ(std::string(ip.friendly_name(status)), long_name());
  IpAddress numeric("10.9.8.6");
  EXPECT_EQ(std::string(numeric.friendly_name(status)), long_name());
  IpAddress copy(ip);
  EXPECT_EQ(std::string(copy.friendly_name(status)), long_name());
}

TEST_F(AddressTest, UdpAddresses) {
  const struct {
    const char* text;
    const char* printed;
    unsigned short port;
  } cases[] = {
      {"10.1.2.3:161", "10.1.2.3/161", 161},
      {"10.1.2.3/161", "10.1.2.3/161", 161},
      {"10.1.2.3", "10.1.2.3/0", 0},
      {"10.1.2.3:65536", "10.1.2.3/0", 0},  // a port keeps its 16 bits
      {"10.1.2.3:x", "10.1.2.3/0", 0},
      {"10.1.2:161", "", 0},
      {"255.255.255.255:65535", "255.255.255.255/65535", 65535},  // the widest text
      {"0.0.0.0:1", "0.0.0.0/1", 1},
      {"100.20.3.0:10000", "100.20.3.0/10000", 10000},
  };
  for (const auto& c : cases) {
    const UdpAddress udp(c.text);
    EXPECT_STREQ(udp.get_printable(), c.printed) << c.text;
    EXPECT_EQ(udp.get_port(), c.port) << c.text;
  }
  EXPECT_FALSE(UdpAddress(std::string(80, '1').c_str()).valid());

  UdpAddress udp("10.1.2.3");
  udp.set_port(162);
  EXPECT_STREQ(udp.get_printable(), "10.1.2.3/162");
  EXPECT_EQ(udp.get_syntax(), 0x04u);
  EXPECT_EQ(udp.get_smival().value.string.len, 6u);
  UdpAddress from_ip(IpAddress("10.1.2.3"));
  EXPECT_STREQ(from_ip.get_printable(), "10.1.2.3/0");
}

TEST_F(AddressTest, GenAddressDetectsTheKind) {
  const struct {
    const char* text;
    addr_type type;
    SmiUINT32 syntax;
    SmiUINT32 length;
    const char* printed;
  } cases[] = {
      {"10.1.2.3/161", type_udp, 0x04, 6, "10.1.2.3/161"},
      {"10.1.2.3", type_ip, 0x40, 4, "10.1.2.3"},
      {"00:a0:c9:12:34:56", type_mac, 0x04, 6, "00:a0:c9:12:34:56"},
      {"0000000a:00a0c9123456", type_ipx, 0x04, 10, "0000000a-00a0c9123456"},
      {"0000000A:00A0C9-123456", type_ipx, 0x04, 10, "0000000a-00a0c9123456"},
      {"0000000a-00a0c9123456/99", type_ipxsock, 0x04, 12, "0000000a-00a0c9123456/99"},
      {"agent.test:161", type_udp, 0x04, 6, "10.9.8.7/161"},
      {"agent.test", type_ip, 0x40, 4, "10.9.8.7"},
      {"", type_invalid, 0x05, 0, ""},
      {"what?", type_invalid, 0x05, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const GenAddress g(c.text);
    EXPECT_EQ(g.get_type(), c.type);
    EXPECT_EQ(g.get_syntax(), c.syntax);
    EXPECT_EQ(g.get_smival().value.string.len, c.length);
    EXPECT_STREQ(g.get_printable(), c.printed);
    EXPECT_STREQ(static_cast<const char*>(g), c.printed);
    EXPECT_EQ(g.valid() != 0, c.type != type_invalid);
    // The holder mirrors the held address's bytes.
    if (g.valid()) {
      EXPECT_EQ(std::memcmp(g.get_smival().value.string.ptr, g.address()->get_smival().value.string.ptr, c.length),
                0);
    }
  }
}

TEST_F(AddressTest, OtherKindsParseStrictly) {
  EXPECT_TRUE(MacAddress("00:A0:C9:12:34:56").valid());
  EXPECT_STREQ(MacAddress("00:A0:C9:12:34:56").get_printable(), "00:a0:c9:12:34:56");
  EXPECT_FALSE(MacAddress("00-a0-c9-12-34-56").valid());
  EXPECT_FALSE(MacAddress("00:a0:c9:12:34:5g").valid());
  EXPECT_FALSE(MacAddress("00:a0:c9:12:34").valid());
  EXPECT_FALSE(IpxAddress("0000000a;00a0c9123456").valid());
  EXPECT_FALSE(IpxAddress("000000:a00a0c9123456").valid());  // separator must come at position 8
  EXPECT_FALSE(IpxAddress("0000000a:00a0c912345").valid());
  IpxAddress ipx("0000000a.00a0c9123456");
  ASSERT_TRUE(ipx.valid());
  MacAddress host;
  EXPECT_EQ(ipx.get_hostid(host), 1);
  EXPECT_STREQ(host.get_printable(), "00:a0:c9:12:34:56");
  EXPECT_EQ(IpxAddress().get_hostid(host), 0);

  IpxSockAddress sock("0000000a:00a0c9123456/5");
  EXPECT_EQ(sock.get_socket(), 5);
  sock.set_socket(6);
  EXPECT_STREQ(sock.get_printable(), "0000000a-00a0c9123456/6");
}

TEST_F(AddressTest, MacHash) {
  const MacAddress mac("01:02:03:04:05:06");
  EXPECT_EQ(mac.hashFunction(), (1u * 256 + 2) * 19 + (3u * 256 + 4) * 13 + (5u * 256 + 6) * 7);
  EXPECT_EQ(MacAddress("ff:ff:ff:ff:ff:ff").hashFunction(), 65535u * 39);
  EXPECT_EQ(IpAddress("1.2.3.4").hashFunction(), 0u);
}

TEST_F(AddressTest, ComparisonsUseThePrintableText) {
  EXPECT_NE(UdpAddress("10.1.2.3/161"), UdpAddress("10.1.2.3/162"));
  EXPECT_LT(IpAddress("10.1.2.3"), IpAddress("10.1.2.30"));
  EXPECT_GT(IpAddress("10.1.2.3"), IpAddress("10.1.2.100"));
  EXPECT_TRUE(IpAddress("10.1.2.3") == "10.1.2.3");
  EXPECT_TRUE(UdpAddress("10.1.2.3:7") == GenAddress("10.1.2.3/7"));
  // A null text stands for "no address".
  const char* none = nullptr;
  const IpAddress valid("1.2.3.4"), invalid;
  const struct {
    const Address& a;
    bool eq, ne, gt, ge, lt, le;
  } cases[] = {
      {valid, false, true, true, true, false, false},
      {invalid, true, false, false, true, false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.a == none, c.eq);
    EXPECT_EQ(c.a != none, c.ne);
    EXPECT_EQ(c.a > none, c.gt);
    EXPECT_EQ(c.a >= none, c.ge);
    EXPECT_EQ(c.a < none, c.lt);
    EXPECT_EQ(c.a <= none, c.le);
  }
}

TEST_F(AddressTest, MaskAndPolymorphicAssignment) {
  IpAddress ip("192.168.5.77");
  ip.mask(IpAddress("255.255.255.0"));
  EXPECT_STREQ(ip.get_printable(), "192.168.5.0");
  ip.mask(IpAddress());
  EXPECT_STREQ(ip.get_printable(), "192.168.5.0");

  const unsigned char six[] = {10, 0, 0, 1, 0, 161};
  const unsigned char four[] = {10, 0, 0, 2};
  UdpAddress udp;
  udp = static_cast<const SnmpSyntax&>(OctetStr(six, 6));
  EXPECT_STREQ(udp.get_printable(), "10.0.0.1/161");
  udp = static_cast<const SnmpSyntax&>(IpAddress("10.0.0.3"));
  EXPECT_STREQ(udp.get_printable(), "10.0.0.3/0");
  udp = static_cast<const SnmpSyntax&>(OctetStr(four, 4));
  EXPECT_FALSE(udp.valid());
  EXPECT_STREQ(udp.get_printable(), "");

  IpAddress from_octets;
  from_octets = static_cast<const SnmpSyntax&>(OctetStr(four, 4));
  EXPECT_STREQ(from_octets.get_printable(), "10.0.0.2");

  GenAddress g;
  g = static_cast<const SnmpSyntax&>(OctetStr(six, 6));
  EXPECT_EQ(g.get_type(), type_udp);
  g = static_cast<const SnmpSyntax&>(IpAddress("10.0.0.4"));
  EXPECT_EQ(g.get_type(), type_ip);
  g = static_cast<const SnmpSyntax&>(OctetStr("abc"));
  EXPECT_FALSE(g.valid());
  EXPECT_EQ(g.get_syntax(), 0x05u);
  // A holder assigned from a holder takes what that one holds, not the holder.
  const GenAddress other("10.1.2.3/7");
  g = static_cast<const SnmpSyntax&>(other);
  EXPECT_EQ(g.get_type(), type_udp);
  EXPECT_STREQ(g.get_printable(), "10.1.2.3/7");
  SnmpSyntax& self = g;
  self = self;
  EXPECT_STREQ(g.get_printable(), "10.1.2.3/7");
  g = g;
  EXPECT_STREQ(g.get_printable(), "10.1.2.3/7");
}

TEST_F(AddressTest, ConstructionFromAGenAddress) {
  const GenAddress udp("10.1.2.3/161"), ip("10.1.2.4"), mac("00:a0:c9:12:34:56"),
      ipxsock("0000000a:00a0c9123456/9");
  EXPECT_STREQ(IpAddress(udp).get_printable(), "10.1.2.3");
  EXPECT_STREQ(UdpAddress(udp).get_printable(), "10.1.2.3/161");
  EXPECT_STREQ(UdpAddress(ip).get_printable(), "10.1.2.4/0");
  EXPECT_FALSE(IpAddress(mac).valid());
  EXPECT_STREQ(MacAddress(mac).get_printable(), "00:a0:c9:12:34:56");
  EXPECT_STREQ(IpxAddress(ipxsock).get_printable(), "0000000a-00a0c9123456");
  EXPECT_STREQ(IpxSockAddress(ipxsock).get_printable(), "0000000a-00a0c9123456/9");
  EXPECT_FALSE(MacAddress(udp).valid());
  // Holders copy deeply.
  std::unique_ptr<SnmpSyntax> copy(udp.clone());
  EXPECT_STREQ(copy->get_printable(), "10.1.2.3/161");
  GenAddress from_address(static_cast<const Address&>(udp));
  EXPECT_EQ(from_address.get_type(), type_udp);
  EXPECT_EQ(dynamic_cast<const GenAddress*>(from_address.address()), nullptr);
}

}  // namespace
