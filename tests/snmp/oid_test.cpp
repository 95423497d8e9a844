// Object identifiers: parsing, printing, comparison, appending and trimming.
#include <gtest/gtest.h>

#include <memory>

#include "Integer.h"
#include "OctetStr.h"
#include "Oid.h"

namespace {

TEST(Oid, ParsingTable) {
  const struct {
    const char* text;
    const char* printed;  // "" for an empty, invalid Oid
  } cases[] = {
      {"1.3.6.1.2.1", "1.3.6.1.2.1"},
      {".1.3", "1.3"},
      {"1..3", "1.0.3"},
      {"1.3.", "1.3.0"},
      {"1.3.$ab$", "1.3.97.98"},
      {"1.3.$ab", "1.3.97.98"},
      {"1.3.x", ""},
      {"1.3 ", ""},
      {"", ""},
      {"4294967295", "4294967295"},
      {"4294967296", "0"},  // wraps modulo 2^32
      {"4294967299.1", "3.1"},
      {"99999999999999999999999", "4135583743"},
      {"$$", ""},
  };
  for (const auto& c : cases) {
    const Oid oid(c.text);
    EXPECT_STREQ(oid.get_printable(), c.printed) << c.text;
    EXPECT_EQ(oid.valid() != 0, c.printed[0] != 0) << c.text;
  }
  EXPECT_FALSE(Oid(static_cast<const char*>(nullptr)).valid());
}

TEST(Oid, MalformedTextEmptiesAnExistingOid) {
  Oid oid("1.3.6");
  oid = "1.3.x";
  EXPECT_FALSE(oid.valid());
  EXPECT_EQ(oid.len(), 0u);
  EXPECT_STREQ(oid.get_printable(), "");
}

TEST(Oid, FromArray) {
  const SmiUINT32 raw[] = {1, 3, 6, 4294967295u};
  EXPECT_STREQ(Oid(raw, 4).get_printable(), "1.3.6.4294967295");
  EXPECT_FALSE(Oid(raw, 0).valid());
  EXPECT_FALSE(Oid(raw, -1).valid());
  EXPECT_FALSE(Oid(static_cast<const SmiUINT32*>(nullptr), 3).valid());
}

TEST(Oid, ComparisonTable) {
  // -1: a < b, 0: equal, 1: a > b
  const struct {
    const char* a;
    const char* b;
    int order;
  } cases[] = {
      {"", "", 0},
      {"", "1", -1},
      {"1.3.6", "1.3.6.1", -1},
      {"1.3.6.1", "1.3.7", -1},
      {"1.3.6.1", "1.3.6", 1},
      {"1.3.6.1", "1.3.6.1", 0},
      {"1.3.4294967295", "1.3.1", 1},
      {"2", "1.9.9", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    const Oid a(c.a), b(c.b);
    EXPECT_EQ(a == b, c.order == 0);
    EXPECT_EQ(a != b, c.order != 0);
    EXPECT_EQ(a < b, c.order < 0);
    EXPECT_EQ(a <= b, c.order <= 0);
    EXPECT_EQ(a > b, c.order > 0);
    EXPECT_EQ(a >= b, c.order >= 0);
    EXPECT_EQ(a == c.b, c.order == 0);
    EXPECT_EQ(a < c.b, c.order < 0);
  }
}

TEST(Oid, NCompare) {
  const Oid a("1.3.6.1"), b("1.3.6.2"), shorter("1.3");
  EXPECT_EQ(a.nCompare(3, b), 0);
  EXPECT_EQ(a.nCompare(4, b), -1);
  EXPECT_EQ(b.nCompare(4, a), 1);
  EXPECT_EQ(a.nCompare(3, shorter), 1);  // reduced: a is longer
  EXPECT_EQ(shorter.nCompare(3, a), -1);
  EXPECT_EQ(a.nCompare(0, b), 1);
  EXPECT_EQ(Oid().nCompare(0, b), 0);
  EXPECT_EQ(a.nCompare(9, Oid("1.3.6.1")), 0);
}

TEST(Oid, RnCompareNeverReadsPastTheOther) {
  const Oid a("1.3.6.1.7"), b("9.9.6.1.7"), c("9.9.6.1.8");
  EXPECT_EQ(a.RnCompare(3, b), 0);
  EXPECT_EQ(a.RnCompare(3, c), 1);  // the other's last is larger
  EXPECT_EQ(c.RnCompare(3, a), -1);
  EXPECT_EQ(a.RnCompare(6, b), -1);  // fewer than n
  // The other is shorter but has n sub-identifiers: its positions would lie
  // past its end, so the answer is the "too short" one.
  const Oid shorter("1.6.1.7");
  EXPECT_EQ(a.RnCompare(2, shorter), -1);
  // Longer other: compared at this identifier's positions.
  EXPECT_EQ(Oid("5.6").RnCompare(2, Oid("5.6.7")), 0);
}

TEST(Oid, Appending) {
  Oid oid("1.3");
  oid += ".2";
  EXPECT_STREQ(oid.get_printable(), "1.3.2");
  oid = "1.3";
  oid += "4.5";
  EXPECT_STREQ(oid.get_printable(), "1.3.4.5");
  oid += static_cast<const char*>(nullptr);
  EXPECT_STREQ(oid.get_printable(), "1.3.4.5");
  oid += 4294967296UL + 7;  // a long keeps its low 32 bits
  EXPECT_STREQ(oid.get_printable(), "1.3.4.5.7");
  oid += Oid("8.9");
  EXPECT_STREQ(oid.get_printable(), "1.3.4.5.7.8.9");
  oid += Oid();
  EXPECT_EQ(oid.len(), 7u);
  oid += oid;  // appending itself
  EXPECT_STREQ(oid.get_printable(), "1.3.4.5.7.8.9.1.3.4.5.7.8.9");
  Oid empty;
  empty += "1.2";
  EXPECT_STREQ(empty.get_printable(), "1.2");
  empty += "x";
  EXPECT_FALSE(empty.valid());
}

TEST(Oid, TrimAndIndex) {
  Oid oid("1.3.6");
  oid.trim(4);
  EXPECT_EQ(oid.len(), 3u);
  oid.trim(0);
  EXPECT_EQ(oid.len(), 3u);
  oid.trim(1);
  EXPECT_STREQ(oid.get_printable(), "1.3");
  oid[1] = 9;
  EXPECT_STREQ(oid.get_printable(), "1.9");
  oid.trim(2);
  EXPECT_FALSE(oid.valid());
  EXPECT_STREQ(oid.get_printable(), "");
  // A trimmed Oid grows again with set_data.
  const SmiUINT32 raw[] = {4, 5};
  oid.set_data(raw, 2);
  EXPECT_STREQ(oid.get_printable(), "4.5");
}

TEST(Oid, PartialPrinting) {
  const Oid oid("1.3.6.1.2");
  EXPECT_STREQ(oid.get_printable(2), "1.2");
  EXPECT_STREQ(oid.get_printable(5), "1.3.6.1.2");
  EXPECT_STREQ(oid.get_printable(6), "");
  EXPECT_STREQ(oid.get_printable(2, 3), "3.6.1");
  EXPECT_STREQ(oid.get_printable(4, 3), "");
  EXPECT_STREQ(oid.get_printable(1, 0), "");
  EXPECT_STREQ(oid.get_printable(0, 2), "");
  EXPECT_STREQ(oid.get_printable(5, 1), "2");
  EXPECT_STREQ(oid.get_printable(6, 1), "");
  EXPECT_STREQ(oid.get_printable(1, 4294967295UL), "");
}

TEST(Oid, AssignmentAndCopies) {
  Oid a("1.3.6");
  Oid& alias = a;
  a = alias;
  EXPECT_STREQ(a.get_printable(), "1.3.6");
  Oid b;
  b = static_cast<const SnmpSyntax&>(a);
  EXPECT_EQ(a, b);
  b = static_cast<const SnmpSyntax&>(SnmpInt32(3));
  EXPECT_FALSE(b.valid());
  b = Oid();
  EXPECT_FALSE(b.valid());
  std::unique_ptr<SnmpSyntax> copy(a.clone());
  EXPECT_EQ(copy->get_syntax(), 0x06u);
  EXPECT_STREQ(copy->get_printable(), "1.3.6");
  // The longest sub-identifiers still fit the printable buffer.
  Oid wide("4294967295.4294967295.4294967295");
  EXPECT_STREQ(wide.get_printable(), "4294967295.4294967295.4294967295");
}

TEST(Oid, WellKnownTrapIdentifiers) {
  EXPECT_STREQ(snmpTrapsOid().get_printable(), "1.3.6.1.6.3.1.1.5");
  EXPECT_STREQ(coldStartOid().get_printable(), "1.3.6.1.6.3.1.1.5.1");
  EXPECT_STREQ(warmStartOid().get_printable(), "1.3.6.1.6.3.1.1.5.2");
  EXPECT_STREQ(linkDownOid().get_printable(), "1.3.6.1.6.3.1.1.5.3");
  EXPECT_STREQ(linkUpOid().get_printable(), "1.3.6.1.6.3.1.1.5.4");
  EXPECT_STREQ(authenticationFailureOid().get_printable(), "1.3.6.1.6.3.1.1.5.5");
  EXPECT_STREQ(egpNeighborLossOid().get_printable(), "1.3.6.1.6.3.1.1.5.6");
  EXPECT_STREQ(snmpTrapEnterpriseOid().get_printable(), "1.3.6.1.6.3.1.1.4.3.0");
}

}  // namespace
