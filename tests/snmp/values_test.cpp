// The numeric SNMP values: polymorphic assignment between the classes,
// TimeTicks text in both directions, and Counter64 order and printing.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "Counter64.h"
#include "Integer.h"
#include "OctetStr.h"
#include "Oid.h"
#include "TimeTicks.h"

namespace {

TEST(SnmpValues, ThirtyTwoBitValuesKeepTheLowBitsOfALong) {
  EXPECT_EQ(long(SnmpInt32(0x1FFFFFFFFL)), -1L);
  EXPECT_EQ((unsigned long)SnmpUInt32(0x100000005UL), 5UL);
  EXPECT_STREQ(SnmpInt32(-2147483648L).get_printable(), "-2147483648");
  EXPECT_STREQ(Counter32(4294967295UL).get_printable(), "4294967295");
  TimeTicks t;
  t = 0x100000001UL;
  EXPECT_EQ((unsigned long)t, 1UL);
}

TEST(SnmpValues, SyntaxCodes) {
  EXPECT_EQ(SnmpInt32().get_syntax(), 0x02u);
  EXPECT_EQ(SnmpUInt32().get_syntax(), 0x42u);
  EXPECT_EQ(Counter32().get_syntax(), 0x41u);
  EXPECT_EQ(Gauge32().get_syntax(), 0x42u);
  EXPECT_EQ(TimeTicks().get_syntax(), 0x43u);
  EXPECT_EQ(Counter64().get_syntax(), 0x46u);
  // A clone is of the same class as its original.
  Counter32 c(9);
  std::unique_ptr<SnmpSyntax> copy(static_cast<const SnmpSyntax&>(c).clone());
  EXPECT_EQ(copy->get_syntax(), 0x41u);
  EXPECT_STREQ(copy->get_printable(), "9");
}

struct AssignCase {
  const char* name;
  std::function<SnmpSyntax*()> make;
  bool to32_valid;   // a 32-bit target takes it
  unsigned long number;
  unsigned long c64_high, c64_low;
};

TEST(SnmpValues, PolymorphicAssignmentTable) {
  const AssignCase cases[] = {
      {"SnmpInt32 -3", [] { return new SnmpInt32(-3); }, true, 0xFFFFFFFDul, 0, 0xFFFFFFFDul},
      {"Counter32 7", [] { return new Counter32(7); }, true, 7, 0, 7},
      {"Gauge32 7", [] { return new Gauge32(7); }, true, 7, 0, 7},
      {"TimeTicks 100", [] { return new TimeTicks(100UL); }, true, 100, 0, 100},
      {"SnmpUInt32 8", [] { return new SnmpUInt32(8); }, true, 8, 0, 8},
      {"Counter64 1:2", [] { return new Counter64(1, 2); }, false, 0, 1, 2},
      {"OctetStr", [] { return new OctetStr("abc"); }, false, 0, 0, 0},
      {"Oid", [] { return new Oid("1.3.6"); }, false, 0, 0, 0},
  };
  for (const AssignCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<SnmpSyntax> src(c.make());
    SnmpInt32 i(42);
    SnmpUInt32 u(42);
    Counter32 c32(42);
    Gauge32 g32(42);
    TimeTicks tt(42UL);
    SnmpSyntax* targets[] = {&i, &u, &c32, &g32, &tt};
    for (SnmpSyntax* t : targets) {
      *t = *src;
      EXPECT_EQ(t->valid() != 0, c.to32_valid);
      // An unsuitable source leaves the old number.
      EXPECT_EQ(t->get_smival().value.uNumber, c.to32_valid ? c.number : 42ul);
    }
    Counter64 c64(5, 5);
    c64 = *src;
    EXPECT_EQ(c64.high(), c.c64_high);
    EXPECT_EQ(c64.low(), c.c64_low);
  }
}

TEST(SnmpValues, InvalidSourceAndSelfAssignment) {
  SnmpInt32 bad(1);
  bad = static_cast<const SnmpSyntax&>(OctetStr("x"));
  ASSERT_FALSE(bad.valid());
  SnmpUInt32 u(3);
  u = static_cast<const SnmpSyntax&>(bad);  // an invalid source is refused
  EXPECT_FALSE(u.valid());
  // A number assignment revalidates SnmpInt32 and SnmpUInt32.
  bad = 5L;
  EXPECT_TRUE(bad.valid());
  u = 6UL;
  EXPECT_TRUE(u.valid());
  SnmpSyntax& self = bad;
  self = self;
  EXPECT_TRUE(bad.valid());
  EXPECT_EQ(long(bad), 5);
}

TEST(SnmpValues, ValidityRulesOfTheAssignments) {
  const OctetStr octets("x");
  // SnmpInt32's copy assignment validates; SnmpUInt32's keeps the flag.
  SnmpInt32 i;
  i = static_cast<const SnmpSyntax&>(octets);
  i = SnmpInt32(4);
  EXPECT_TRUE(i.valid());
  SnmpUInt32 u;
  u = static_cast<const SnmpSyntax&>(octets);
  u = SnmpUInt32(4);
  EXPECT_FALSE(u.valid());
  EXPECT_EQ((unsigned long)u, 4u);
  // Counter32 and TimeTicks never set the flag from a number.
  Counter32 c;
  c = static_cast<const SnmpSyntax&>(octets);
  c = 9UL;
  EXPECT_FALSE(c.valid());
  TimeTicks t;
  t = static_cast<const SnmpSyntax&>(octets);
  t = "1:00:00.00";
  EXPECT_FALSE(t.valid());
  EXPECT_EQ((unsigned long)t, 360000u);
  // Copies are valid.
  EXPECT_TRUE(Counter32(c).valid());
}

TEST(SnmpValues, TimeTicksPrinting) {
  const struct {
    unsigned long ticks;
    const char* text;
  } cases[] = {
      {0, "0:00:00.00"},
      {8640000, "1 day 0:00:00.00"},
      {17280001, "2 days, 0:00:00.01"},
      {4294967295UL, "497 days, 2:27:52.95"},
      {8639999, "23:59:59.99"},
      {372012, "1:02:00.12"},
  };
  for (const auto& c : cases) EXPECT_STREQ(TimeTicks(c.ticks).get_printable(), c.text) << c.ticks;
}

TEST(SnmpValues, TimeTicksParsing) {
  const struct {
    const char* text;
    unsigned long ticks;
  } cases[] = {
      {"2 days, 1:02:03.04", 17652304},
      {"1:02:03", 372000},  // seconds without a '.' are not counted
      {"", 0},
      {"1 day 0:00:00.00", 8640000},
      {"0:00:00.01", 1},
      {"497 days, 2:27:52.95", 4294967295UL},
      {"498 days, 0:00:00.00", (498UL * 8640000UL) & 0xFFFFFFFFUL},  // wraps in 32 bits
      {"garbage", 0},
  };
  for (const auto& c : cases) EXPECT_EQ((unsigned long)TimeTicks(c.text), c.ticks) << c.text;
  // Digit runs past 32 bits wrap instead of overflowing (the sanitizer watches).
  EXPECT_EQ((unsigned long)TimeTicks("4294967296:00:00.00"), 0UL);
  // Printing and parsing agree.
  for (unsigned long v : {0UL, 1UL, 8640000UL, 17652304UL, 4294967295UL, 123456789UL})
    EXPECT_EQ((unsigned long)TimeTicks(TimeTicks(v).get_printable()), v);
  EXPECT_EQ((unsigned long)TimeTicks(static_cast<const char*>(nullptr)), 0UL);
}

TEST(SnmpValues, Counter64ConversionAndOrder) {
  Counter64 big(1, 0);
  EXPECT_EQ(Counter64::c64_to_ld(big), 4294967296.0L);
  Counter64 back = Counter64::ld_to_c64(4294967296.0L);
  EXPECT_EQ(back.high(), 1u);
  EXPECT_EQ(back.low(), 0u);
  EXPECT_TRUE(Counter64(0, 5) < Counter64(1, 0));
  EXPECT_TRUE(Counter64(3, 4) == Counter64(3, 4));
  EXPECT_TRUE(Counter64(3, 4) != Counter64(4, 3));
  Counter64 from_gauge;
  from_gauge = static_cast<const SnmpSyntax&>(Gauge32(7));
  EXPECT_EQ(from_gauge.high(), 0u);
  EXPECT_EQ(from_gauge.low(), 7u);
}

TEST(SnmpValues, Counter64IsExactAbove2To53) {
  // 2^60 and 2^60 + 1 are one double apart from nothing: a floating compare
  // would call them neither < nor ==.
  const Counter64 a(0x10000000, 0), b(0x10000000, 1);
  EXPECT_TRUE(a < b);
  EXPECT_TRUE(a <= b);
  EXPECT_FALSE(a >= b);
  EXPECT_TRUE(b > a);
  EXPECT_FALSE(a == b);
  EXPECT_STREQ(b.get_printable(), "1152921504606846977");
  EXPECT_STREQ(Counter64(0xFFFFFFFF, 0xFFFFFFFF).get_printable(), "18446744073709551615");
  EXPECT_STREQ(Counter64().get_printable(), "0");
  EXPECT_STREQ(Counter64(1, 0).get_printable(), "4294967296");
}

TEST(SnmpValues, Counter64OutOfRangeResultsSaturate) {
  const Counter64 max(0xFFFFFFFF, 0xFFFFFFFF);
  const struct {
    const char* name;
    Counter64 result;
    uint64_t expect;
  } cases[] = {
      {"negative difference", Counter64(1) - Counter64(2), 0},
      {"division by zero", Counter64(5) / Counter64(), ~uint64_t(0)},
      {"zero by zero is NaN", Counter64() / Counter64(), 0},
      {"overflow", max * Counter64(2), ~uint64_t(0)},
      {"sum", Counter64(0, 0xFFFFFFFF) + Counter64(1), uint64_t(1) << 32},
      {"free form", 10UL - Counter64(4), 6},
      {"product", Counter64(3) * 7UL, 21},
      {"quotient truncates", Counter64(7) / Counter64(2), 3},
  };
  for (const auto& c : cases) EXPECT_EQ(c.result.value64(), c.expect) << c.name;
  EXPECT_EQ(Counter64::ld_to_c64(-1.0L).value64(), 0u);
  EXPECT_EQ(Counter64::ld_to_c64(std::numeric_limits<long double>::infinity()).value64(), ~uint64_t(0));
  EXPECT_EQ(Counter64::ld_to_c64(-std::numeric_limits<long double>::infinity()).value64(), 0u);
  EXPECT_EQ(Counter64::ld_to_c64(18446744073709551616.0L).value64(), ~uint64_t(0));
}

}  // namespace
