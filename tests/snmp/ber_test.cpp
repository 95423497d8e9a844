// BER primitives: exact encodings written out by hand from X.690, the
// decoders' refusals of malformed input, and the pointer interface's
// accounting of the remaining length.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "asn1.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Runs a builder with exactly the given room and returns what it wrote, or
// nothing when it failed. Also checks that the room went down by the bytes written.
using Builder = std::function<unsigned char*(unsigned char*, int*)>;
bool run_builder(const Builder& build, int room, Bytes& out) {
  unsigned char buf[64] = {};
  int left = room;
  unsigned char* end = build(buf, &left);
  if (!end) return false;
  out.assign(buf, end);
  EXPECT_EQ(room - left, static_cast<int>(out.size()));
  return true;
}

struct BuildCase {
  const char* what;
  Builder build;
  Bytes expected;
};

int32_t i32(int32_t v) { return v; }

TEST(BerBuild, EncodesExactly) {
  static const uint32_t oid_mib2[] = {1, 3, 6, 1, 2, 1};
  static const uint32_t oid_200[] = {1, 3, 200};
  static const uint32_t oid_max[] = {1, 3, 0xFFFFFFFFu};
  static const uint32_t oid_2_40[] = {2, 40};
  static const unsigned char bits[] = {0x07, 0x80};
  static const unsigned char text[] = {'a', 'b'};
  auto int_case = [](int32_t v) {
    return [v](unsigned char* p, int* r) { return asn_build_int(p, r, 0x02, &v, 4); };
  };
  auto uint_case = [](unsigned char tag, uint32_t v) {
    return [tag, v](unsigned char* p, int* r) { return asn_build_unsigned_int(p, r, tag, &v, 4); };
  };
  auto c64_case = [](uint32_t high, uint32_t low) {
    return [high, low](unsigned char* p, int* r) {
      counter64 c{high, low};
      return asn_build_unsigned_int64(p, r, 0x46, &c, 8);
    };
  };
  const BuildCase cases[] = {
      {"int 0", int_case(0), {0x02, 0x01, 0x00}},
      {"int 127", int_case(127), {0x02, 0x01, 0x7F}},
      {"int 128", int_case(128), {0x02, 0x02, 0x00, 0x80}},
      {"int -1", int_case(-1), {0x02, 0x01, 0xFF}},
      {"int -128", int_case(-128), {0x02, 0x01, 0x80}},
      {"int -129", int_case(-129), {0x02, 0x02, 0xFF, 0x7F}},
      {"int max", int_case(i32(0x7FFFFFFF)), {0x02, 0x04, 0x7F, 0xFF, 0xFF, 0xFF}},
      {"int min", int_case(i32(INT32_MIN)), {0x02, 0x04, 0x80, 0x00, 0x00, 0x00}},
      {"unsigned 0", uint_case(0x41, 0), {0x41, 0x01, 0x00}},
      {"unsigned 255", uint_case(0x42, 255), {0x42, 0x02, 0x00, 0xFF}},
      {"unsigned 0x7FFF", uint_case(0x43, 0x7FFF), {0x43, 0x02, 0x7F, 0xFF}},
      {"unsigned max", uint_case(0x41, 0xFFFFFFFFu), {0x41, 0x05, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}},
      {"counter64 0", c64_case(0, 0), {0x46, 0x01, 0x00}},
      {"counter64 2^32", c64_case(1, 0), {0x46, 0x05, 0x01, 0x00, 0x00, 0x00, 0x00}},
      {"counter64 0x80", c64_case(0, 0x80), {0x46, 0x02, 0x00, 0x80}},
      {"counter64 top bit",
       c64_case(0x80000000u, 1),
       {0x46, 0x09, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}},
      {"sequence header", [](unsigned char* p, int* r) { return asn_build_sequence(p, r, 0x30, 5); },
       {0x30, 0x82, 0x00, 0x05}},
      {"length 300", [](unsigned char* p, int* r) { return asn_build_length(p, r, 300); }, {0x82, 0x01, 0x2C}},
      {"length 200", [](unsigned char* p, int* r) { return asn_build_length(p, r, 200); }, {0x81, 0xC8}},
      {"length 0x10000", [](unsigned char* p, int* r) { return asn_build_length(p, r, 0x10000); },
       {0x83, 0x01, 0x00, 0x00}},
      {"length 0x1000000", [](unsigned char* p, int* r) { return asn_build_length(p, r, 0x1000000); },
       {0x84, 0x01, 0x00, 0x00, 0x00}},
      {"oid mib-2", [](unsigned char* p, int* r) { return asn_build_objid(p, r, 0x06, oid_mib2, 6); },
       {0x06, 0x05, 0x2B, 0x06, 0x01, 0x02, 0x01}},
      {"oid subid 200", [](unsigned char* p, int* r) { return asn_build_objid(p, r, 0x06, oid_200, 3); },
       {0x06, 0x03, 0x2B, 0x81, 0x48}},
      {"oid subid 2^32-1", [](unsigned char* p, int* r) { return asn_build_objid(p, r, 0x06, oid_max, 3); },
       {0x06, 0x06, 0x2B, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}},
      {"oid 2.40", [](unsigned char* p, int* r) { return asn_build_objid(p, r, 0x06, oid_2_40, 2); },
       {0x06, 0x01, 0x78}},
      {"oid of one arc", [](unsigned char* p, int* r) { return asn_build_objid(p, r, 0x06, oid_mib2, 1); },
       {0x06, 0x01, 0x00}},
      {"null", [](unsigned char* p, int* r) { return asn_build_null(p, r, 0x05); }, {0x05, 0x00}},
      {"exception", [](unsigned char* p, int* r) { return asn_build_null(p, r, 0x81); }, {0x81, 0x00}},
      {"string", [](unsigned char* p, int* r) { return asn_build_string(p, r, 0x04, text, 2); },
       {0x04, 0x02, 'a', 'b'}},
      {"empty string", [](unsigned char* p, int* r) { return asn_build_string(p, r, 0x04, nullptr, 0); },
       {0x04, 0x00}},
      {"bit string", [](unsigned char* p, int* r) { return asn_build_bitstring(p, r, 0x03, bits, 2); },
       {0x03, 0x02, 0x07, 0x80}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes out;
    ASSERT_TRUE(run_builder(c.build, 64, out));
    EXPECT_EQ(out, c.expected);
    // With one byte less room than it needs, every builder refuses.
    Bytes unused;
    EXPECT_FALSE(run_builder(c.build, static_cast<int>(c.expected.size()) - 1, unused));
  }
}

TEST(BerBuild, RefusesWhatCannotBeEncoded) {
  unsigned char buf[64];
  int room = sizeof buf;
  const int32_t v = 1;
  EXPECT_EQ(asn_build_int(buf, &room, 0x02, &v, 8), nullptr) << "only 4-byte integers";
  const unsigned char bad_bits[] = {0x08};
  EXPECT_EQ(asn_build_bitstring(buf, &room, 0x03, bad_bits, 1), nullptr) << "unused bits above 7";
  EXPECT_EQ(asn_build_bitstring(buf, &room, 0x03, bad_bits, 0), nullptr) << "no unused-bits byte";
  EXPECT_EQ(asn_build_sequence(buf, &room, 0x30, 0x10000), nullptr) << "two length bytes only";
  // Arcs that would be read back as different arcs.
  const uint32_t first3[] = {3, 1};
  const uint32_t second40[] = {1, 40};
  const uint32_t overflow[] = {2, 0xFFFFFFB0u};
  EXPECT_EQ(asn_build_objid(buf, &room, 0x06, first3, 2), nullptr);
  EXPECT_EQ(asn_build_objid(buf, &room, 0x06, second40, 2), nullptr);
  EXPECT_EQ(asn_build_objid(buf, &room, 0x06, overflow, 2), nullptr);
  EXPECT_EQ(room, static_cast<int>(sizeof buf)) << "nothing was written";
  int small = 3;
  EXPECT_EQ(asn_build_sequence(buf, &small, 0x30, 1), nullptr);
  EXPECT_EQ(small, 3) << "a refused sequence header leaves the room unchanged";
}

// ---- parsing -------------------------------------------------------------

struct IntCase {
  Bytes in;
  bool ok;
  int32_t value;
};

TEST(BerParse, SignedIntegers) {
  const IntCase cases[] = {
      {{0x02, 0x01, 0x7F}, true, 127},
      {{0x02, 0x02, 0x00, 0x80}, true, 128},
      {{0x02, 0x02, 0xFF, 0x7F}, true, -129},
      {{0x02, 0x01, 0xFF}, true, -1},
      {{0x02, 0x04, 0x80, 0x00, 0x00, 0x00}, true, INT32_MIN},
      {{0x02, 0x00}, false, 0},                          // no content byte: no sign to read
      {{0x02, 0x00, 0xFF}, false, 0},                    // ... not even the byte after it
      {{0x02, 0x05, 0x00, 0x80, 0x00, 0x00, 0x00}, false, 0},  // wider than 32 bits
      {{0x02, 0x03, 0x01, 0x02}, false, 0},              // content past the end
      {{0x02}, false, 0},                                // no length
      {{}, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.in));
    ByteCursor in(c.in.data(), c.in.size());
    unsigned char tag = 0;
    int32_t v = 0;
    EXPECT_EQ(asn_get_int(in, tag, v), c.ok);
    if (c.ok) {
      EXPECT_EQ(v, c.value);
      EXPECT_EQ(tag, 0x02);
      EXPECT_TRUE(in.empty());
    } else {
      EXPECT_EQ(in.offset(), 0u) << "a failed read leaves the cursor where it was";
    }
  }
}

struct UintCase {
  Bytes in;
  bool ok;
  uint32_t value;
};

TEST(BerParse, UnsignedIntegers) {
  const UintCase cases[] = {
      {{0x41, 0x05, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, true, 0xFFFFFFFFu},
      {{0x42, 0x02, 0x00, 0xFF}, true, 255},
      {{0x43, 0x01, 0x00}, true, 0},
      {{0x41, 0x04, 0x12, 0x34, 0x56, 0x78}, true, 0x12345678u},
      {{0x41, 0x05, 0x01, 0xFF, 0xFF, 0xFF, 0xFF}, false, 0},  // above 2^32-1
      {{0x41, 0x06, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, false, 0},
      {{0x41, 0x00}, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.in));
    ByteCursor in(c.in.data(), c.in.size());
    unsigned char tag;
    uint32_t v = 0;
    EXPECT_EQ(asn_get_unsigned_int(in, tag, v), c.ok);
    if (c.ok) {
      EXPECT_EQ(v, c.value);
    }
  }
}

TEST(BerParse, Counter64) {
  struct Case {
    Bytes in;
    bool ok;
    uint32_t high, low;
  } const cases[] = {
      {{0x46, 0x09, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}, true, 0x80000000u, 1},
      {{0x46, 0x05, 0x01, 0x00, 0x00, 0x00, 0x00}, true, 1, 0},
      {{0x46, 0x02, 0x00, 0x80}, true, 0, 0x80},
      {{0x46, 0x09, 0x01, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}, false, 0, 0},
      {{0x46, 0x0A, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}, false, 0, 0},
      {{0x46, 0x00}, false, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.in));
    ByteCursor in(c.in.data(), c.in.size());
    unsigned char tag;
    counter64 v{};
    EXPECT_EQ(asn_get_unsigned_int64(in, tag, v), c.ok);
    if (c.ok) {
      EXPECT_EQ(v.high, c.high);
      EXPECT_EQ(v.low, c.low);
    }
  }
}

TEST(BerParse, Headers) {
  struct Case {
    Bytes in;
    bool ok;
    size_t content;
  } const cases[] = {
      {{0x30, 0x82, 0x00, 0x01, 0xAA}, true, 1},
      {{0x04, 0x81, 0x01, 0xAA}, true, 1},
      {{0x04, 0x00}, true, 0},
      {{0x30, 0x85, 0x00, 0x00, 0x00, 0x00, 0x01, 0xAA}, false, 0},  // five length bytes
      {{0x30, 0x80, 0x00, 0x00}, false, 0},                          // indefinite form
      {{0x30, 0x84, 0xFF, 0xFF, 0xFF, 0xFF, 0xAA}, false, 0},        // far beyond the data
      {{0x30, 0x82, 0x00}, false, 0},                                // ends inside the length
      {{0x30, 0x02, 0xAA}, false, 0},                                // content runs past the end
      {{0x1F, 0x01, 0x00}, false, 0},                                // multi-byte tag
      {{0x30}, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.in));
    ByteCursor in(c.in.data(), c.in.size()), content;
    unsigned char tag;
    ASSERT_EQ(asn_get_header(in, tag, content), c.ok);
    if (c.ok) {
      EXPECT_EQ(content.remaining(), c.content);
      EXPECT_TRUE(in.empty());
    } else {
      EXPECT_EQ(in.offset(), 0u);
    }
  }
}

TEST(BerParse, ObjectIdentifiers) {
  struct Case {
    Bytes in;
    bool ok;
    std::vector<uint32_t> ids;
  } const cases[] = {
      {{0x06, 0x05, 0x2B, 0x06, 0x01, 0x02, 0x01}, true, {1, 3, 6, 1, 2, 1}},
      {{0x06, 0x03, 0x2B, 0x81, 0x48}, true, {1, 3, 200}},
      {{0x06, 0x06, 0x2B, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}, true, {1, 3, 0xFFFFFFFFu}},
      // The first value splits into two arcs: below 40 under 0, below 80 under 1, the rest under 2.
      {{0x06, 0x01, 0x27}, true, {0, 39}},
      {{0x06, 0x01, 0x28}, true, {1, 0}},
      {{0x06, 0x01, 0x4F}, true, {1, 39}},
      {{0x06, 0x01, 0x50}, true, {2, 0}},
      {{0x06, 0x01, 0x77}, true, {2, 39}},
      {{0x06, 0x01, 0x78}, true, {2, 40}},
      {{0x06, 0x02, 0x81, 0x34}, true, {2, 100}},
      {{0x06, 0x02, 0x88, 0x37}, true, {2, 999}},
      {{0x06, 0x05, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}, true, {2, 0xFFFFFFFFu - 80}},
      {{0x06, 0x00}, true, {0}},
      {{0x06, 0x03, 0x2B, 0x06, 0x81}, false, {}},                    // unterminated last sub-identifier
      {{0x06, 0x01, 0x81}, false, {}},                                // unterminated first value
      {{0x06, 0x06, 0x2B, 0x90, 0x80, 0x80, 0x80, 0x00}, false, {}},  // 2^32
      {{0x06, 0x07, 0x2B, 0x81, 0x80, 0x80, 0x80, 0x80, 0x00}, false, {}},  // six groups
      {{0x06, 0x03, 0x2B, 0x80, 0x01}, false, {}},                    // padded with a leading 0x80
      {{0x06, 0x05, 0x2B, 0x06}, false, {}},                          // content past the end
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.in));
    uint32_t ids[MAX_OID_LEN];
    int count = MAX_OID_LEN;
    ByteCursor in(c.in.data(), c.in.size());
    unsigned char tag;
    ASSERT_EQ(asn_get_objid(in, tag, ids, count), c.ok);
    if (c.ok) {
      EXPECT_EQ(std::vector<uint32_t>(ids, ids + count), c.ids);
    }
  }
}

TEST(BerParse, ObjectIdentifierRoundTripsEveryFirstArcForm) {
  const std::vector<std::vector<uint32_t>> oids = {
      {0, 0}, {0, 39}, {1, 0}, {1, 3, 6, 1, 4, 1, 99999, 0}, {1, 39, 127, 128, 16383, 16384},
      {2, 0}, {2, 39}, {2, 40}, {2, 47, 1}, {2, 100, 3}, {2, 999}, {2, 0xFFFFFFFFu - 80, 0xFFFFFFFFu},
  };
  for (const auto& oid : oids) {
    SCOPED_TRACE(::testing::PrintToString(oid));
    unsigned char buf[128];
    int room = sizeof buf;
    unsigned char* end = asn_build_objid(buf, &room, 0x06, oid.data(), static_cast<int>(oid.size()));
    ASSERT_NE(end, nullptr);
    uint32_t ids[MAX_OID_LEN];
    int count = MAX_OID_LEN;
    ByteCursor in(buf, static_cast<size_t>(end - buf));
    unsigned char tag;
    ASSERT_TRUE(asn_get_objid(in, tag, ids, count));
    EXPECT_EQ(std::vector<uint32_t>(ids, ids + count), oid);
  }
}

TEST(BerParse, ObjectIdentifierLongerThanTheCallersArrayIsRefused) {
  std::vector<uint32_t> oid(MAX_OID_LEN, 1);
  oid[0] = 1;
  oid[1] = 3;
  unsigned char buf[256];
  int room = sizeof buf;
  unsigned char* end = asn_build_objid(buf, &room, 0x06, oid.data(), MAX_OID_LEN);
  ASSERT_NE(end, nullptr);
  uint32_t ids[MAX_OID_LEN];
  unsigned char tag;
  int count = MAX_OID_LEN;
  ByteCursor fits(buf, static_cast<size_t>(end - buf));
  ASSERT_TRUE(asn_get_objid(fits, tag, ids, count));
  EXPECT_EQ(count, MAX_OID_LEN);
  // One sub-identifier short of room: refused rather than silently cut.
  count = MAX_OID_LEN - 1;
  ByteCursor too_long(buf, static_cast<size_t>(end - buf));
  EXPECT_FALSE(asn_get_objid(too_long, tag, ids, count));
  EXPECT_EQ(count, MAX_OID_LEN - 1);
}

TEST(BerParse, NullAndBitString) {
  const Bytes null_ok = {0x05, 0x00}, null_long = {0x05, 0x01, 0x00};
  unsigned char tag;
  ByteCursor a(null_ok.data(), null_ok.size()), b(null_long.data(), null_long.size());
  EXPECT_TRUE(asn_get_null(a, tag));
  EXPECT_FALSE(asn_get_null(b, tag));

  const Bytes bits_ok = {0x03, 0x02, 0x07, 0x80}, bits_8 = {0x03, 0x02, 0x08, 0x80}, bits_empty = {0x03, 0x00};
  const unsigned char* bytes;
  size_t len;
  ByteCursor c(bits_ok.data(), bits_ok.size()), d(bits_8.data(), bits_8.size()), e(bits_empty.data(), 2);
  ASSERT_TRUE(asn_get_bitstring(c, tag, bytes, len));
  EXPECT_EQ(len, 2u);
  EXPECT_FALSE(asn_get_bitstring(d, tag, bytes, len));
  EXPECT_FALSE(asn_get_bitstring(e, tag, bytes, len));
}

// ---- the pointer interface --------------------------------------------------

TEST(BerPointerParse, AccountsForTheRemainingLength) {
  // INTEGER 5, OCTET STRING "xyz", then one trailing byte.
  const unsigned char data[] = {0x02, 0x01, 0x05, 0x04, 0x03, 'x', 'y', 'z', 0xEE};
  int left = sizeof data;
  unsigned char tag = 0;
  int32_t v = 0;
  const unsigned char* p = asn_parse_int(data, &left, &tag, &v, 4);
  ASSERT_EQ(p, data + 3);
  EXPECT_EQ(left, 6);
  EXPECT_EQ(v, 5);
  unsigned char str[3];
  int str_len = 3;
  p = asn_parse_string(p, &left, &tag, str, &str_len);
  ASSERT_EQ(p, data + 8);
  EXPECT_EQ(left, 1);
  EXPECT_EQ(str_len, 3);
  EXPECT_EQ(tag, 0x04);

  // The caller's buffer is too small: refused, nothing changed.
  left = 6;
  str_len = 2;
  EXPECT_EQ(asn_parse_string(data + 3, &left, &tag, str, &str_len), nullptr);
  EXPECT_EQ(str_len, 2);

  // The header parser hands back the content and its length.
  const unsigned char seq[] = {0x30, 0x82, 0x00, 0x03, 0x02, 0x01, 0x07};
  left = sizeof seq;
  p = asn_parse_header(seq, &left, &tag);
  ASSERT_EQ(p, seq + 4);
  EXPECT_EQ(left, 3);
  EXPECT_EQ(tag, 0x30);
  // A remaining length shorter than the header claims is a refusal, not a read past it.
  left = 6;
  EXPECT_EQ(asn_parse_header(seq, &left, &tag), nullptr);
  left = 2;
  EXPECT_EQ(asn_parse_header(seq, &left, &tag), nullptr);

  uint32_t length = 0;
  left = 2;
  EXPECT_EQ(asn_parse_length(seq + 1, &left, &length), nullptr) << "0x82 needs two more bytes";
  left = 3;
  EXPECT_EQ(asn_parse_length(seq + 1, &left, &length), seq + 4);
  EXPECT_EQ(length, 3u);
  EXPECT_EQ(left, 0);

  int32_t zero_len_int;
  const unsigned char empty_int[] = {0x02, 0x00, 0x7F};
  left = 2;
  EXPECT_EQ(asn_parse_int(empty_int, &left, &tag, &zero_len_int, 4), nullptr);
  EXPECT_EQ(asn_parse_int(data, &left, &tag, &zero_len_int, 8), nullptr) << "only 4-byte integers";
}

TEST(BerPointerParse, RoundTripsEveryBuilder) {
  unsigned char buf[128];
  int room = sizeof buf;
  const int32_t i = -70000;
  const uint32_t u = 0x89ABCDEFu;
  const counter64 c{0x01234567u, 0x89ABCDEFu};
  const uint32_t oid[] = {1, 3, 6, 1, 4, 1, 4294967295u};
  const unsigned char str[] = {0, 1, 2, 0xFF};
  const unsigned char bits[] = {3, 0xF8};
  unsigned char* p = asn_build_int(buf, &room, 0x02, &i, 4);
  p = asn_build_unsigned_int(p, &room, 0x42, &u, 4);
  p = asn_build_unsigned_int64(p, &room, 0x46, &c, 8);
  p = asn_build_objid(p, &room, 0x06, oid, 7);
  p = asn_build_string(p, &room, 0x04, str, 4);
  p = asn_build_bitstring(p, &room, 0x03, bits, 2);
  p = asn_build_null(p, &room, 0x05);
  ASSERT_NE(p, nullptr);

  int left = static_cast<int>(p - buf);
  const unsigned char* q = buf;
  unsigned char tag;
  int32_t i2;
  uint32_t u2;
  counter64 c2;
  uint32_t oid2[MAX_OID_LEN];
  int oid_len = MAX_OID_LEN;
  unsigned char str2[8], bits2[8];
  int str_len = 8, bits_len = 8;
  q = asn_parse_int(q, &left, &tag, &i2, 4);
  q = asn_parse_unsigned_int(q, &left, &tag, &u2, 4);
  q = asn_parse_unsigned_int64(q, &left, &tag, &c2, 8);
  q = asn_parse_objid(q, &left, &tag, oid2, &oid_len);
  q = asn_parse_string(q, &left, &tag, str2, &str_len);
  q = asn_parse_bitstring(q, &left, &tag, bits2, &bits_len);
  q = asn_parse_null(q, &left, &tag);
  ASSERT_EQ(q, p);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(i2, i);
  EXPECT_EQ(u2, u);
  EXPECT_EQ(c2.high, c.high);
  EXPECT_EQ(c2.low, c.low);
  EXPECT_EQ(std::vector<uint32_t>(oid2, oid2 + oid_len), std::vector<uint32_t>(oid, oid + 7));
  EXPECT_EQ(Bytes(str2, str2 + str_len), Bytes(str, str + 4));
  EXPECT_EQ(Bytes(bits2, bits2 + bits_len), Bytes(bits, bits + 2));
}

}  // namespace
