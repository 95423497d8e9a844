// Octet strings: comparison, hexadecimal forms, assignment rules.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "Address.h"
#include "Integer.h"
#include "OctetStr.h"

namespace {

OctetStr bytes(std::initializer_list<unsigned char> b) { return OctetStr(b.begin(), b.size()); }

TEST(OctetStr, ComparisonTable) {
  const struct {
    OctetStr a, b;
    int order;
  } cases[] = {
      {OctetStr(), OctetStr(), 0},
      {OctetStr(), bytes({0}), -1},
      {bytes({0x61, 0x62}), bytes({0x61, 0x62, 0x63}), -1},
      {bytes({0x61, 0x62}), bytes({0x61, 0x61, 0x7A}), 1},
      {bytes({0xFF}), bytes({0x01}), 1},  // bytes compare unsigned
      {bytes({0x00, 0x01}), bytes({0x00, 0x01}), 0},
      {bytes({0x00, 0x01}), bytes({0x00, 0x02}), -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(OctetStr(c.a).get_printable_hex()) + " vs " + OctetStr(c.b).get_printable_hex());
    EXPECT_EQ(c.a == c.b, c.order == 0);
    EXPECT_EQ(c.a != c.b, c.order != 0);
    EXPECT_EQ(c.a < c.b, c.order < 0);
    EXPECT_EQ(c.a <= c.b, c.order <= 0);
    EXPECT_EQ(c.a > c.b, c.order > 0);
    EXPECT_EQ(c.a >= c.b, c.order >= 0);
  }
  EXPECT_TRUE(OctetStr("public") == "public");
  EXPECT_TRUE(OctetStr("public") < "publica");
  EXPECT_EQ(bytes({1, 2, 3}).nCompare(2, bytes({1, 2, 9})), 0);
  EXPECT_EQ(bytes({1, 2}).nCompare(3, bytes({1, 2, 9})), -1);
  EXPECT_EQ(bytes({1, 2}).nCompare(0, bytes({7})), 0);
}

TEST(OctetStr, HexForms) {
  const struct {
    const char* text;
    OctetStr expect;
  } cases[] = {
      {"0A 1b", bytes({0x0A, 0x1B})},
      {"ABC", bytes({0x0A, 0xBC})},
      {"1G", bytes({0x10})},
      {"", OctetStr()},
      {"   ", OctetStr()},
      {"0", bytes({0x00})},
      {"de ad be ef", bytes({0xDE, 0xAD, 0xBE, 0xEF})},
  };
  for (const auto& c : cases) EXPECT_EQ(OctetStr::from_hex_string(OctetStr(c.text)), c.expect) << c.text;
  EXPECT_STREQ(bytes({0x00, 0xFF, 0x5A}).get_printable_hex(), "00FF5A");
  EXPECT_STREQ(OctetStr().get_printable_hex(), "");
  const OctetStr round = bytes({0x01, 0x80, 0xFE});
  EXPECT_EQ(OctetStr::from_hex_string(OctetStr(round.get_printable_hex())), round);
}

TEST(OctetStr, PrintableKeepsEmbeddedZeros) {
  const OctetStr s = bytes({'a', 0, 'b'});
  EXPECT_EQ(s.len(), 3u);
  EXPECT_EQ(std::memcmp(s.get_printable(), "a\0b", 4), 0);
}

TEST(OctetStr, PolymorphicAssignment) {
  OctetStr s("old");
  s = static_cast<const SnmpSyntax&>(IpAddress("10.0.0.1"));
  EXPECT_TRUE(s.valid());
  EXPECT_EQ(s, bytes({0x0A, 0x00, 0x00, 0x01}));
  s = static_cast<const SnmpSyntax&>(SnmpInt32(5));
  EXPECT_FALSE(s.valid());
  EXPECT_EQ(s.len(), 0u);
  // An invalid source is ignored by the plain assignment ...
  OctetStr t("keep");
  t = s;
  EXPECT_TRUE(t == "keep");
  // ... and a valid one or a text revalidates.
  s = "new";
  EXPECT_TRUE(s.valid());
  s = static_cast<const SnmpSyntax&>(OctetStr("abc"));
  EXPECT_TRUE(s == "abc");
  SnmpSyntax& self = s;
  self = self;
  EXPECT_TRUE(s == "abc");
  OctetStr& same = s;
  s = same;
  EXPECT_TRUE(s == "abc");
}

TEST(OctetStr, Appending) {
  OctetStr s;
  s += "ab";
  s += static_cast<const char*>(nullptr);
  s += OctetStr("cd");
  s += static_cast<unsigned char>(0);
  s += s;  // appending itself
  EXPECT_EQ(s, bytes({'a', 'b', 'c', 'd', 0, 'a', 'b', 'c', 'd', 0}));
  s.set_data(s.data() + 1, 2);  // a part of its own bytes
  EXPECT_TRUE(s == "bc");
  s.set_data(nullptr, 5);
  EXPECT_EQ(s.len(), 0u);
  EXPECT_TRUE(s.valid());
  std::unique_ptr<SnmpSyntax> copy(OctetStr("xyz").clone());
  EXPECT_STREQ(copy->get_printable(), "xyz");
  EXPECT_EQ(copy->get_syntax(), 0x04u);
}

}  // namespace
