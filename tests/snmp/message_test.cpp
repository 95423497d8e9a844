// SNMP message coder: exact encodings written out by hand, round trips of
// every PDU type and value syntax for versions 1 and 2c, a table of malformed
// messages, the version 3 hand-over, and messages exchanged with net-snmp's
// command-line tools over loopback.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <future>
#include <initializer_list>
#include <string>
#include <vector>

#include "Counter64.h"
#include "Integer.h"
#include "Oid.h"
#include "SnmpMessage.h"
#include "SnmpdHarness.h"
#include "TimeTicks.h"
#include "auth_priv.h"
#include "mp_v3.h"
#include "snmp_pdu.h"
#include "usm_v3.h"

// The platform's host table (declared here: its Winsock header cannot share a
// file with the BSD socket headers this test uses for its loopback peer).
void PlatformHostTableAdd(const char* name, const char* ipv4);
void PlatformHostTableClear();

namespace {

using Bytes = std::vector<unsigned char>;

// ---- hand-made BER, independent of the coder ---------------------------------

Bytes tlv(unsigned char tag, const Bytes& content) {
  Bytes out{tag};
  size_t n = content.size();
  if (n < 0x80) {
    out.push_back(static_cast<unsigned char>(n));
  } else if (n <= 0xFF) {
    out.insert(out.end(), {0x81, static_cast<unsigned char>(n)});
  } else {
    out.insert(out.end(), {0x82, static_cast<unsigned char>(n >> 8), static_cast<unsigned char>(n)});
  }
  out.insert(out.end(), content.begin(), content.end());
  return out;
}

Bytes cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes str(const std::string& s) { return Bytes(s.begin(), s.end()); }

const Bytes kSysDescr = tlv(0x06, {0x2B, 6, 1, 2, 1, 1, 1, 0});  // 1.3.6.1.2.1.1.1.0

Bytes binding(const Bytes& name, const Bytes& value) { return tlv(0x30, cat({name, value})); }
Bytes fields(unsigned char reqid = 5) { return cat({tlv(0x02, {reqid}), tlv(0x02, {0}), tlv(0x02, {0})}); }
Bytes pdu(unsigned char tag, const Bytes& header, const Bytes& bindings) {
  return tlv(tag, cat({header, tlv(0x30, bindings)}));
}
Bytes message(const Bytes& version, const Bytes& community, const Bytes& body) {
  return tlv(0x30, cat({version, community, body}));
}
// A version 2c response holding the given bindings.
Bytes response(const Bytes& bindings) {
  return message(tlv(0x02, {1}), tlv(0x04, str("public")), pdu(0xA2, fields(), bindings));
}

struct Decoded {
  int status;
  Pdu pdu;
  OctetStr community;
  snmp_version version = version1;
};

Decoded decode(const Bytes& bytes) {
  Decoded d;
  SnmpMessage msg;
  d.status = msg.load(bytes.data(), bytes.size());
  if (d.status == 0) d.status = msg.unload(d.pdu, d.community, d.version);
  return d;
}

Bytes encode(const Pdu& pdu, snmp_version version, const char* community, int* status = nullptr) {
  SnmpMessage msg;
  int s = msg.load(pdu, OctetStr(community), version);
  if (status) *status = s;
  return s ? Bytes() : Bytes(msg.data(), msg.data() + msg.len());
}

Pdu make_pdu(unsigned short type, unsigned long reqid, std::initializer_list<Vb> vbs) {
  Pdu p;
  for (const Vb& vb : vbs) p += vb;
  p.set_type(type);
  set_request_id(&p, reqid);
  return p;
}

Vb vb_of(const char* oid, const SnmpSyntax& value) {
  Vb vb{Oid(oid)};
  vb.set_value(value);
  return vb;
}

// ---- exact encodings -------------------------------------------------------

TEST(SnmpMessageEncode, GetRequestVersion1IsExact) {
  // A get always carries NULL values, whatever the bindings hold.
  Pdu get = make_pdu(0xA0, 1000, {vb_of("1.3.6.1.2.1.1.1.0", SnmpInt32(7))});
  const Bytes expected = {
      0x30, 0x82, 0x00, 0x2D,                                            // message
      0x02, 0x01, 0x00,                                                  // version 1
      0x04, 0x06, 'p', 'u', 'b', 'l', 'i', 'c',                          // community
      0xA0, 0x82, 0x00, 0x1E,                                            // GetRequest
      0x02, 0x02, 0x03, 0xE8,                                            // request id 1000
      0x02, 0x01, 0x00, 0x02, 0x01, 0x00,                                // error status, index
      0x30, 0x82, 0x00, 0x10,                                            // bindings
      0x30, 0x82, 0x00, 0x0C,                                            // binding
      0x06, 0x08, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x01, 0x00,        // 1.3.6.1.2.1.1.1.0
      0x05, 0x00};                                                       // NULL
  EXPECT_EQ(encode(get, version1, "public"), expected);
}

TEST(SnmpMessageEncode, ResponseVersion2cIsExact) {
  Pdu resp = make_pdu(0xA2, 5, {vb_of("1.3.6", IpAddress("127.0.0.1")), vb_of("1.3.7", Counter64(1, 0))});
  const Bytes expected = {
      0x30, 0x82, 0x00, 0x34, 0x02, 0x01, 0x01, 0x04, 0x01, 'c',          // message, version 2c, "c"
      0xA2, 0x82, 0x00, 0x2A,                                            // Response
      0x02, 0x01, 0x05, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00,              // request id 5, no error
      0x30, 0x82, 0x00, 0x1D,                                            // bindings
      0x30, 0x82, 0x00, 0x0A, 0x06, 0x02, 0x2B, 0x06,                    // 1.3.6 =
      0x40, 0x04, 0x7F, 0x00, 0x00, 0x01,                                // IpAddress 127.0.0.1
      0x30, 0x82, 0x00, 0x0B, 0x06, 0x02, 0x2B, 0x07,                    // 1.3.7 =
      0x46, 0x05, 0x01, 0x00, 0x00, 0x00, 0x00};                         // Counter64 2^32
  EXPECT_EQ(encode(resp, version2c, "c"), expected);
}

TEST(SnmpMessageEncode, Version1TrapRecordIsExact) {
  snmp_pdu* raw = snmp_pdu_create(0xA4);
  ASSERT_NE(raw, nullptr);
  const SmiUINT32 enterprise[] = {1, 3, 6, 1, 4, 1, 99};
  raw->enterprise = new SmiUINT32[7];
  std::memcpy(raw->enterprise, enterprise, sizeof enterprise);
  raw->enterprise_length = 7;
  const unsigned char agent[] = {127, 0, 0, 1};
  std::memcpy(raw->agent_addr, agent, 4);
  raw->trap_type = 6;
  raw->specific_type = 7;
  raw->time = 12345;
  unsigned char out[128];
  int len = sizeof out;
  const unsigned char community[] = {'p', 'u', 'b', 'l', 'i', 'c'};
  ASSERT_EQ(snmp_build(raw, out, &len, 0, community, 6), 0);
  snmp_free_pdu(raw);
  const Bytes expected = {
      0x30, 0x82, 0x00, 0x2B, 0x02, 0x01, 0x00, 0x04, 0x06, 'p', 'u', 'b', 'l', 'i', 'c',
      0xA4, 0x82, 0x00, 0x1C,                                    // Trap
      0x06, 0x06, 0x2B, 0x06, 0x01, 0x04, 0x01, 0x63,            // enterprise 1.3.6.1.4.1.99
      0x40, 0x04, 0x7F, 0x00, 0x00, 0x01,                        // agent address
      0x02, 0x01, 0x06, 0x02, 0x01, 0x07,                        // enterprise specific, 7
      0x43, 0x02, 0x30, 0x39,                                    // time stamp 12345
      0x30, 0x82, 0x00, 0x00};                                   // no bindings
  EXPECT_EQ(Bytes(out, out + len), expected);
  // The same bytes come back as the record's fields.
  snmp_pdu* back = snmp_pdu_create(0);
  unsigned char name[256];
  int name_len = sizeof name;
  snmp_version version;
  ASSERT_EQ(snmp_parse(back, out, len, name, &name_len, &version), 0);
  EXPECT_EQ(back->command, 0xA4);
  EXPECT_EQ(std::vector<SmiUINT32>(back->enterprise, back->enterprise + back->enterprise_length),
            std::vector<SmiUINT32>(enterprise, enterprise + 7));
  EXPECT_EQ(Bytes(back->agent_addr, back->agent_addr + 4), Bytes(agent, agent + 4));
  EXPECT_EQ(back->trap_type, 6);
  EXPECT_EQ(back->specific_type, 7);
  EXPECT_EQ(back->time, 12345u);
  EXPECT_EQ(version, version1);
  snmp_free_pdu(back);
}

// ---- round trips -------------------------------------------------------------

std::vector<Vb> every_syntax() {
  Vb null_vb{Oid("1.3.6.1.4.1.99.1.9")};
  Vb exception_vb{Oid("1.3.6.1.4.1.99.1.10")};
  exception_vb.set_syntax(0x81);
  const unsigned char binary[] = {'h', 'e', 0, 'l', 0xFF};
  return {vb_of("1.3.6.1.4.1.99.1.1", SnmpInt32(-5)),
          vb_of("1.3.6.1.4.1.99.1.2", OctetStr(binary, sizeof binary)),
          vb_of("1.3.6.1.4.1.99.1.3", Oid("1.3.6.1.2.1.2.4294967295")),
          vb_of("1.3.6.1.4.1.99.1.4", IpAddress("127.0.0.1")),
          vb_of("1.3.6.1.4.1.99.1.5", Counter32(4294967295ul)),
          vb_of("1.3.6.1.4.1.99.1.6", Gauge32(42)),
          vb_of("1.3.6.1.4.1.99.1.7", TimeTicks(123456)),
          vb_of("1.3.6.1.4.1.99.1.8", Counter64(0x80000000ul, 7)),
          null_vb,
          exception_vb,
          vb_of("1.3.6.1.4.1.99.1.11", OctetStr(""))};
}

void expect_same_binding(const Vb& got, const Vb& want, bool values_nulled) {
  SCOPED_TRACE(want.get_printable_oid());
  EXPECT_EQ(got.get_oid(), want.get_oid());
  if (values_nulled) {
    EXPECT_EQ(got.get_syntax(), static_cast<SmiUINT32>(sNMP_SYNTAX_NULL));
    return;
  }
  EXPECT_EQ(got.get_syntax(), want.get_syntax());
  EXPECT_STREQ(got.get_printable_value(), want.get_printable_value());
  const SnmpSyntax* a = got.get_value_ptr();
  const SnmpSyntax* b = want.get_value_ptr();
  ASSERT_EQ(a == nullptr, b == nullptr);
  if (a && (want.get_syntax() == sNMP_SYNTAX_OCTETS)) {
    const SmiOCTETS& x = a->get_smival().value.string;
    const SmiOCTETS& y = b->get_smival().value.string;
    EXPECT_EQ(Bytes(x.ptr, x.ptr + x.len), Bytes(y.ptr, y.ptr + y.len));
  }
}

TEST(SnmpMessageRoundTrip, EveryPduTypeAndSyntax) {
  const std::vector<Vb> vbs = every_syntax();
  struct Case {
    unsigned short type;
    bool nulls;  // requests that carry no values
  } const cases[] = {{0xA0, true},  {0xA1, true},  {0xA2, false}, {0xA3, false},
                     {0xA5, true},  {0xA6, false}, {0xA7, false}, {0xA8, false}};
  for (snmp_version version : {version1, version2c}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << "version " << version << " type 0x" << std::hex << c.type);
      Pdu in(vbs.data(), static_cast<int>(vbs.size()));
      in.set_type(c.type);
      set_request_id(&in, 31000);
      set_error_status(&in, c.type == 0xA5 ? 1 : 5);
      set_error_index(&in, c.type == 0xA5 ? 10 : 3);
      in.set_notify_timestamp(TimeTicks(777));
      in.set_notify_id(Oid("1.3.6.1.4.1.99.0.1"));
      int status;
      Bytes bytes = encode(in, version, "pub", &status);
      ASSERT_EQ(status, 0);
      Decoded out = decode(bytes);
      ASSERT_EQ(out.status, 0);
      EXPECT_EQ(out.version, version);
      EXPECT_STREQ(out.community.get_printable(), "pub");
      EXPECT_EQ(out.pdu.get_type(), c.type);
      EXPECT_EQ(out.pdu.get_request_id(), 31000u);
      EXPECT_EQ(out.pdu.get_error_status(), c.type == 0xA5 ? 1 : 5);
      EXPECT_EQ(out.pdu.get_error_index(), c.type == 0xA5 ? 10 : 3);
      // Notifications start with sysUpTime.0 and snmpTrapOID.0.
      const bool notification = c.type == 0xA6 || c.type == 0xA7;
      const int first = notification ? 2 : 0;
      ASSERT_EQ(out.pdu.get_vb_count(), static_cast<int>(vbs.size()) + first);
      if (notification) {
        EXPECT_EQ(out.pdu[0].get_oid(), "1.3.6.1.2.1.1.3.0");
        EXPECT_STREQ(out.pdu[0].get_printable_value(), "0:00:07.77");
        EXPECT_EQ(out.pdu[1].get_oid(), "1.3.6.1.6.3.1.1.4.1.0");
        EXPECT_STREQ(out.pdu[1].get_printable_value(), "1.3.6.1.4.1.99.0.1");
      }
      if (c.type == 0xA7) {
        Oid id;
        TimeTicks ts;
        out.pdu.get_notify_id(id);
        out.pdu.get_notify_timestamp(ts);
        EXPECT_EQ(id, "1.3.6.1.4.1.99.0.1");
        EXPECT_EQ(static_cast<unsigned long>(ts), 777ul);
      }
      for (size_t i = 0; i < vbs.size(); ++i) expect_same_binding(out.pdu[first + static_cast<int>(i)], vbs[i], c.nulls);
    }
  }
}

// Names this host in the platform's host table for as long as it lives, so
// that a version-1 trap's agent address comes from there and no resolver is asked.
class LocalHostEntry {
 public:
  explicit LocalHostEntry(const char* ipv4) {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    PlatformHostTableAdd(name, ipv4);
  }
  ~LocalHostEntry() { PlatformHostTableClear(); }
};

TEST(SnmpMessageRoundTrip, Version1Traps) {
  LocalHostEntry host("127.0.0.9");
  struct Case {
    const char* id;
    const char* enterprise;    // the Pdu's notification enterprise
    const char* sent_enterprise;
    const char* received_id;
  } const cases[] = {
      {"1.3.6.1.6.3.1.1.5.1", "1.3.6.1.4.1.99", "1.3.6.1.4.1.99", "1.3.6.1.6.3.1.1.5.1"},  // coldStart
      {"1.3.6.1.6.3.1.1.5.6", "1.3.6.1.4.1.5", "1.3.6.1.4.1.5", "1.3.6.1.6.3.1.1.5.6"},    // egpNeighborLoss
      {"1.3.6.1.4.1.99.7", "1.3.6.1.4.1.5", "1.3.6.1.4.1.99", "1.3.6.1.4.1.99.7"},         // enterprise specific
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    Pdu in = make_pdu(0xA4, 0, {vb_of("1.3.6.1.4.1.99.1", OctetStr("hello"))});
    in.set_notify_id(Oid(c.id));
    in.set_notify_enterprise(Oid(c.enterprise));
    in.set_notify_timestamp(TimeTicks(4242));
    int status;
    Decoded out = decode(encode(in, version1, "public", &status));
    ASSERT_EQ(status, 0);
    ASSERT_EQ(out.status, 0);
    EXPECT_EQ(out.pdu.get_type(), 0xA4);
    Oid id, enterprise;
    TimeTicks ts;
    out.pdu.get_notify_id(id);
    out.pdu.get_notify_enterprise(enterprise);
    out.pdu.get_notify_timestamp(ts);
    EXPECT_EQ(id, c.received_id);
    EXPECT_EQ(enterprise, c.sent_enterprise);
    EXPECT_EQ(static_cast<unsigned long>(ts), 4242ul);
    ASSERT_EQ(out.pdu.get_vb_count(), 1);
    EXPECT_STREQ(out.pdu[0].get_printable_value(), "hello");
  }
}

TEST(SnmpMessageEncode, Version1TrapNamesThisHostAsAgent) {
  Pdu trap = make_pdu(0xA4, 0, {});
  trap.set_notify_id(Oid("1.3.6.1.6.3.1.1.5.1"));
  for (const char* address : {"127.0.0.9", "127.1.2.3"}) {
    LocalHostEntry host(address);
    Bytes bytes = encode(trap, version1, "public");
    ASSERT_FALSE(bytes.empty());
    snmp_pdu* raw = snmp_pdu_create(0);
    unsigned char name[256];
    int name_len = sizeof name;
    snmp_version version;
    ASSERT_EQ(snmp_parse(raw, bytes.data(), static_cast<int>(bytes.size()), name, &name_len, &version), 0);
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", raw->agent_addr[0], raw->agent_addr[1], raw->agent_addr[2],
                  raw->agent_addr[3]);
    EXPECT_STREQ(text, address);
    EXPECT_EQ(raw->trap_type, 0);
    snmp_free_pdu(raw);
  }
}

TEST(SnmpMessageEncode, RefusesWhatItCannotSend) {
  LocalHostEntry host("127.0.0.1");
  SnmpMessage msg;
  Vb many[51];
  Pdu too_many(many, 51);  // more than 50 bindings: an invalid Pdu
  ASSERT_FALSE(too_many.valid());
  too_many.set_type(0xA0);
  EXPECT_EQ(msg.load(too_many, OctetStr("public"), version1), SNMP_CLASS_INVALID_PDU);
  EXPECT_FALSE(msg.valid());

  Pdu trap = make_pdu(0xA4, 0, {});
  trap.set_notify_id(Oid("1"));
  EXPECT_EQ(msg.load(trap, OctetStr("public"), version1), SNMP_CLASS_INVALID_NOTIFYID);
  Pdu trap_without_id = make_pdu(0xA4, 0, {});
  EXPECT_EQ(msg.load(trap_without_id, OctetStr("public"), version1), SNMP_CLASS_INVALID_NOTIFYID);

  // Bindings that do not fit one message.
  std::vector<Vb> big(50, vb_of("1.3.6.1.4.1.99.1", OctetStr(std::string(60, 'x').c_str())));
  Pdu huge(big.data(), 50);
  huge.set_type(0xA3);
  EXPECT_EQ(msg.load(huge, OctetStr("public"), version2c), SNMP_CLASS_ERROR);
  EXPECT_FALSE(msg.valid());
}

// A value class of a syntax the coder does not send.
class BitsValue : public SnmpSyntax {
 public:
  BitsValue() {
    smival.syntax = sNMP_SYNTAX_BITS;
    smival.value.string.len = 1;
    smival.value.string.ptr = byte_;
  }
  const char* get_printable() const override { return ""; }
  SmiUINT32 get_syntax() const override { return sNMP_SYNTAX_BITS; }
  SnmpSyntax* clone() const override { return new BitsValue(); }
  int valid() const override { return 1; }

 private:
  unsigned char byte_[1] = {0};
};

TEST(SnmpMessageEncode, BitStringIsRefused) {
  Vb vb{Oid("1.3.6.1.4.1.99.1")};
  vb.set_value(BitsValue());
  SmiVALUE value{};
  EXPECT_EQ(convertVbToSmival(vb, &value), SNMP_CLASS_INTERNAL_ERROR);
  freeSmivalDescriptor(&value);
  SnmpMessage msg;
  EXPECT_EQ(msg.load(make_pdu(0xA3, 1, {vb}), OctetStr("private"), version2c), SNMP_CLASS_INTERNAL_ERROR);
}

TEST(SnmpMessageEncode, ConvertsBindingsToOwnedValues) {
  Vb vb = vb_of("1.3.6", OctetStr("abc"));
  SmiVALUE value{};
  ASSERT_EQ(convertVbToSmival(vb, &value), 0);
  ASSERT_EQ(value.syntax, static_cast<SmiUINT32>(sNMP_SYNTAX_OCTETS));
  ASSERT_EQ(value.value.string.len, 3u);
  EXPECT_NE(value.value.string.ptr, vb.get_value_ptr()->get_smival().value.string.ptr) << "a copy";
  EXPECT_EQ(std::memcmp(value.value.string.ptr, "abc", 3), 0);
  freeSmivalDescriptor(&value);
  EXPECT_EQ(value.value.string.ptr, nullptr);

  Vb oid_vb = vb_of("1.3.6", Oid("1.3.6.1"));
  ASSERT_EQ(convertVbToSmival(oid_vb, &value), 0);
  ASSERT_EQ(value.value.oid.len, 4u);
  EXPECT_EQ(value.value.oid.ptr[3], 1u);
  freeSmivalDescriptor(&value);

  Vb c64 = vb_of("1.3.6", Counter64(3, 4));
  ASSERT_EQ(convertVbToSmival(c64, &value), 0);
  EXPECT_EQ(value.value.hNumber.hipart, 3u);
  EXPECT_EQ(value.value.hNumber.lopart, 4u);
}

// ---- malformed messages ------------------------------------------------------

TEST(SnmpMessageDecode, MalformedMessagesGiveTheirStatus) {
  const Bytes ok_binding = binding(kSysDescr, tlv(0x04, str("x")));
  const Bytes good = response(ok_binding);
  Bytes longer_outer = good;
  longer_outer[1] += 1;
  Bytes trailing = good;
  trailing.push_back(0);
  Bytes pdu_too_long = pdu(0xA2, fields(), ok_binding);
  pdu_too_long[1] += 1;
  Bytes vblist_short = tlv(0x30, ok_binding);
  vblist_short[1] -= 1;
  Bytes binding_longer = ok_binding;
  binding_longer[1] += 1;
  const Bytes long_name = tlv(0x06, cat({Bytes{0x2B}, Bytes(128, 0x01)}));  // 129 sub-identifiers

  struct Case {
    const char* what;
    Bytes bytes;
    int status;
  } const cases[] = {
      {"well formed", good, 0},
      {"empty datagram", {}, -51},
      {"version 2", message(tlv(0x02, {2}), tlv(0x04, str("p")), pdu(0xA2, fields(), ok_binding)), -50},
      {"version 3", message(tlv(0x02, {3}), tlv(0x04, str("p")), pdu(0xA2, fields(), ok_binding)), -50},
      {"zero-length version", message(tlv(0x02, {}), tlv(0x04, str("p")), pdu(0xA2, fields(), ok_binding)), -51},
      {"zero-length request id",
       message(tlv(0x02, {1}), tlv(0x04, str("p")),
               pdu(0xA2, cat({tlv(0x02, {}), tlv(0x02, {0}), tlv(0x02, {0})}), ok_binding)),
       -51},
      {"zero-length integer value", response(binding(kSysDescr, tlv(0x02, {}))), -51},
      {"zero-length counter", response(binding(kSysDescr, tlv(0x41, {}))), -51},
      {"zero-length counter64", response(binding(kSysDescr, tlv(0x46, {}))), -51},
      {"integer of five bytes", response(binding(kSysDescr, tlv(0x02, {0, 0x80, 0, 0, 0}))), -51},
      {"unsigned above 32 bits", response(binding(kSysDescr, tlv(0x42, {1, 0, 0, 0, 0}))), -51},
      {"counter64 above 64 bits", response(binding(kSysDescr, tlv(0x46, Bytes(9, 1)))), -51},
      {"truncated length field", {0x30, 0x82, 0x00}, -51},
      {"length beyond the datagram", longer_outer, -51},
      {"length form 0x85", {0x30, 0x85, 0x00, 0x00, 0x00, 0x00, 0x03, 0x02, 0x01, 0x01}, -51},
      {"indefinite length", cat({Bytes{0x30, 0x80}, Bytes(good.begin() + 2, good.end()), Bytes{0, 0}}), -51},
      {"bytes after the message", trailing, -51},
      {"pdu longer than the message", message(tlv(0x02, {1}), tlv(0x04, str("p")), pdu_too_long), -51},
      {"binding longer than the bindings",
       message(tlv(0x02, {1}), tlv(0x04, str("p")), tlv(0xA2, cat({fields(), vblist_short}))), -51},
      {"binding longer than the pdu", response(binding_longer), -51},
      {"extra element in a binding", response(tlv(0x30, cat({kSysDescr, tlv(0x05, {}), tlv(0x05, {})}))), -51},
      {"extra element after the bindings",
       message(tlv(0x02, {1}), tlv(0x04, str("p")), tlv(0xA2, cat({fields(), tlv(0x30, ok_binding), tlv(0x05, {})}))),
       -51},
      {"bindings not a sequence",
       message(tlv(0x02, {1}), tlv(0x04, str("p")), tlv(0xA2, cat({fields(), tlv(0x31, ok_binding)}))), -1},
      {"binding not a sequence", response(tlv(0x31, cat({kSysDescr, tlv(0x05, {})}))), -51},
      {"name not an identifier", response(binding(tlv(0x04, {0x2B, 6}), tlv(0x05, {}))), -51},
      {"unterminated sub-identifier in a name", response(binding(tlv(0x06, {0x2B, 6, 0x81}), tlv(0x05, {}))), -51},
      {"sub-identifier of 2^32", response(binding(tlv(0x06, {0x2B, 0x90, 0x80, 0x80, 0x80, 0}), tlv(0x05, {}))), -51},
      {"name of 129 sub-identifiers", response(binding(long_name, tlv(0x05, {}))), -51},
      {"unterminated sub-identifier in a value", response(binding(kSysDescr, tlv(0x06, {0x2B, 0xFF}))), -51},
      {"IpAddress of 3 bytes", response(binding(kSysDescr, tlv(0x40, {127, 0, 0}))), -51},
      {"IpAddress of 5 bytes", response(binding(kSysDescr, tlv(0x40, {127, 0, 0, 1, 1}))), -51},
      {"IpAddress of 4 bytes", response(binding(kSysDescr, tlv(0x40, {127, 0, 0, 1}))), 0},
      {"BIT STRING value", response(binding(kSysDescr, tlv(0x03, {0, 1}))), -51},
      {"unknown value tag", response(binding(kSysDescr, tlv(0x09, {1}))), -51},
      {"multi-byte value tag", response(binding(kSysDescr, {0x1F, 0x01, 0x01, 0x00})), -51},
      {"NULL with content", response(binding(kSysDescr, tlv(0x05, {0}))), -51},
      {"exception with content", response(binding(kSysDescr, tlv(0x80, {0}))), -51},
      {"unknown pdu tag", message(tlv(0x02, {1}), tlv(0x04, str("p")), pdu(0xA9, fields(), ok_binding)), -51},
      {"community of 257 bytes",
       message(tlv(0x02, {1}), tlv(0x04, Bytes(257, 'c')), pdu(0xA2, fields(), ok_binding)), -51},
      {"trap agent address of 5 bytes",
       message(tlv(0x02, {0}), tlv(0x04, str("p")),
               pdu(0xA4,
                   cat({tlv(0x06, {0x2B, 6}), tlv(0x40, {127, 0, 0, 1, 1}), tlv(0x02, {6}), tlv(0x02, {1}),
                        tlv(0x43, {1})}),
                   {})),
       -51},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(decode(c.bytes).status, c.status);
  }
}

TEST(SnmpMessageDecode, EveryTruncationIsRefused) {
  const std::vector<Vb> vbs = every_syntax();
  Pdu p(vbs.data(), static_cast<int>(vbs.size()));
  p.set_type(0xA2);
  Bytes whole = encode(p, version2c, "public");
  ASSERT_FALSE(whole.empty());
  for (size_t n = 0; n < whole.size(); ++n) {
    // A copy of exactly n bytes, so that the address sanitizer sees any read past it.
    Bytes part(whole.begin(), whole.begin() + static_cast<long>(n));
    EXPECT_NE(decode(part).status, 0) << n << " bytes";
  }
  EXPECT_EQ(decode(whole).status, 0);
}

TEST(SnmpMessageDecode, ShortTrapAgentAddressIsZeroFilled) {
  const Bytes trap = message(
      tlv(0x02, {0}), tlv(0x04, str("p")),
      pdu(0xA4, cat({tlv(0x06, {0x2B, 6}), tlv(0x40, {127, 1}), tlv(0x02, {6}), tlv(0x02, {1}), tlv(0x43, {1})}),
          {}));
  snmp_pdu* raw = snmp_pdu_create(0);
  unsigned char name[256];
  int name_len = sizeof name;
  snmp_version version;
  ASSERT_EQ(snmp_parse(raw, trap.data(), static_cast<int>(trap.size()), name, &name_len, &version), 0);
  EXPECT_EQ(Bytes(raw->agent_addr, raw->agent_addr + 4), (Bytes{127, 1, 0, 0}));
  snmp_free_pdu(raw);
}

TEST(SnmpMessageDecode, ValuesOfEveryReceivedTag) {
  const Bytes bindings = cat({
      binding(kSysDescr, tlv(0x44, {1, 2})),           // Opaque: its bytes
      binding(kSysDescr, tlv(0x45, {1, 2, 3})),        // NsapAddress: NULL
      binding(kSysDescr, tlv(0x47, {0x00, 0xFF})),     // UInteger32: NULL
      binding(kSysDescr, tlv(0x80, {})),               // noSuchObject
      binding(kSysDescr, tlv(0x82, {})),               // endOfMibView
      binding(kSysDescr, tlv(0x02, {0x00, 0x80})),     // INTEGER 128
      binding(kSysDescr, tlv(0x43, {0x01, 0x00})),     // TimeTicks 256
  });
  Decoded d = decode(response(bindings));
  ASSERT_EQ(d.status, 0);
  ASSERT_EQ(d.pdu.get_vb_count(), 7);
  EXPECT_EQ(d.pdu[0].get_syntax(), static_cast<SmiUINT32>(sNMP_SYNTAX_OCTETS));
  unsigned char buf[8];
  unsigned long len = sizeof buf;
  ASSERT_EQ(d.pdu[0].get_value(buf, len), 0);
  EXPECT_EQ(Bytes(buf, buf + len), (Bytes{1, 2}));
  EXPECT_EQ(d.pdu[1].get_syntax(), static_cast<SmiUINT32>(sNMP_SYNTAX_NULL));
  EXPECT_EQ(d.pdu[2].get_syntax(), static_cast<SmiUINT32>(sNMP_SYNTAX_NULL));
  EXPECT_EQ(d.pdu[3].get_syntax(), static_cast<SmiUINT32>(sNMP_SYNTAX_NOSUCHOBJECT));
  EXPECT_EQ(d.pdu[3].get_value_ptr(), nullptr);
  EXPECT_EQ(d.pdu[4].get_syntax(), static_cast<SmiUINT32>(sNMP_SYNTAX_ENDOFMIBVIEW));
  long i = 0;
  ASSERT_EQ(d.pdu[5].get_value(i), 0);
  EXPECT_EQ(i, 128);
  unsigned long t = 0;
  ASSERT_EQ(d.pdu[6].get_value(t), 0);
  EXPECT_EQ(t, 256ul);
}

// A Pdu decoded into again keeps its binding objects and sets their names
// and values in place: every answer must read as it does in a fresh Pdu,
// whatever the Pdu held before (other classes, longer and shorter values and
// names, more bindings, a failed decode).
TEST(SnmpMessageDecode, DecodingIntoAUsedPduReadsAsAFreshOne) {
  Bytes long_name = {0x2B};
  for (int i = 1; i <= 30; ++i) long_name.push_back(static_cast<unsigned char>(i));  // 32 sub-identifiers
  const Bytes long_oid = tlv(0x06, long_name);
  const Bytes short_text = tlv(0x04, str("ap"));
  const Bytes long_text = tlv(0x04, str(std::string(70, 'w')));
  auto many = [&](int n, const Bytes& value) {
    Bytes all;
    for (int i = 0; i < n; ++i) all = cat({all, binding(kSysDescr, value)});
    return all;
  };
  const struct {
    const char* what;
    Bytes bytes;
  } answers[] = {
      {"numbers and texts", response(cat({binding(kSysDescr, tlv(0x02, {0x05})), binding(kSysDescr, short_text),
                                          binding(kSysDescr, tlv(0x41, {0x07})), binding(long_oid, long_text)}))},
      {"the classes swapped", response(cat({binding(kSysDescr, short_text), binding(long_oid, tlv(0x02, {0x7F})),
                                            binding(kSysDescr, long_oid), binding(kSysDescr, tlv(0x43, {0x10}))}))},
      {"exceptions and NULL where values were", response(cat({binding(kSysDescr, tlv(0x81, {})),
                                                              binding(kSysDescr, tlv(0x05, {})),
                                                              binding(kSysDescr, tlv(0x82, {}))}))},
      {"longer values", response(cat({binding(long_oid, long_text), binding(kSysDescr, tlv(0x46, {1, 2, 3, 4, 5})),
                                      binding(kSysDescr, tlv(0x40, {10, 0, 0, 1}))}))},
      {"a single short one", response(binding(kSysDescr, tlv(0x04, {})))},
      {"sixty bindings, fifty kept", response(many(60, short_text))},
      {"a malformed 51st binding", response(cat({many(50, short_text), binding(kSysDescr, tlv(0x02, {}))}))},
      {"after a failure", response(cat({binding(kSysDescr, tlv(0x42, {0x01, 0x00})), binding(long_oid, short_text)}))},
  };
  SnmpMessage msg;
  Pdu used;
  for (const auto& a : answers) {
    const Decoded fresh = decode(a.bytes);
    ASSERT_EQ(msg.load(a.bytes.data(), a.bytes.size()), 0) << a.what;
    OctetStr community;
    snmp_version version;
    EXPECT_EQ(msg.unload(used, community, version), fresh.status) << a.what;
    ASSERT_EQ(used.get_vb_count(), fresh.pdu.get_vb_count()) << a.what;
    EXPECT_EQ(used.get_request_id(), fresh.pdu.get_request_id()) << a.what;
    EXPECT_EQ(used.get_type(), fresh.pdu.get_type()) << a.what;
    for (int i = 0; i < used.get_vb_count(); ++i) {
      EXPECT_STREQ(used[i].get_printable_oid(), fresh.pdu[i].get_printable_oid()) << a.what << ", binding " << i;
      EXPECT_EQ(used[i].get_syntax(), fresh.pdu[i].get_syntax()) << a.what << ", binding " << i;
      EXPECT_EQ(used[i].valid(), fresh.pdu[i].valid()) << a.what << ", binding " << i;
      EXPECT_STREQ(used[i].get_printable_value(), fresh.pdu[i].get_printable_value()) << a.what << ", binding " << i;
    }
    // Encoded again, both give the same bytes.
    if (fresh.status == 0) {
      Pdu a_copy(used), b_copy(fresh.pdu);
      a_copy.set_type(sNMP_PDU_RESPONSE);
      b_copy.set_type(sNMP_PDU_RESPONSE);
      EXPECT_EQ(encode(a_copy, version2c, "public"), encode(b_copy, version2c, "public")) << a.what;
    }
  }
  EXPECT_EQ(decode(answers[5].bytes).pdu.get_vb_count(), 50);
  EXPECT_EQ(decode(answers[6].bytes).status, SNMP_CODER_MALFORMED);
}

// Anything a UDP datagram can carry is taken; more is not.
TEST(SnmpMessageDecode, LoadTakesAWholeDatagramAndRefusesMore) {
  SnmpMessage msg;
  Bytes big(SNMP_MAX_DATAGRAM + 1, 0x30);
  EXPECT_EQ(msg.load(big.data(), big.size()), 8);
  EXPECT_FALSE(msg.valid());
  Pdu p;
  OctetStr community;
  snmp_version version;
  EXPECT_EQ(msg.unload(p, community, version), SNMP_CLASS_INVALID);
  Bytes max(SNMP_MAX_DATAGRAM, 0x30);
  EXPECT_EQ(msg.load(max.data(), max.size()), 0);
  EXPECT_TRUE(msg.valid());
  EXPECT_EQ(msg.len(), static_cast<unsigned long>(SNMP_MAX_DATAGRAM));
}

// ---- version 3 hand-over -------------------------------------------------------

TEST(SnmpMessageV3, GoesToMessageProcessing) {
  mpFinish();  // this process's message processing is not started
  Pdu get = make_pdu(0xA0, 1, {Vb(Oid("1.3.6.1.2.1.1.1.0"))});
  SnmpMessage msg;
  const OctetStr empty_engine, user("noauth");
  EXPECT_EQ(msg.load(get, OctetStr(), version3, nullptr, &user), SNMP_CLASS_INVALID_TARGET);
  EXPECT_EQ(msg.load(get, OctetStr(), version3, &empty_engine, nullptr), SNMP_CLASS_INVALID_TARGET);
  // An empty engine id is a discovery message, and is handed on.
  EXPECT_EQ(msg.load(get, OctetStr(), version3, &empty_engine, &user), SNMPv3_MP_NOT_INITIALIZED);

  const Bytes v3 = tlv(0x30, cat({tlv(0x02, {3}), tlv(0x30, {}), tlv(0x04, {}), tlv(0x30, {})}));
  ASSERT_EQ(msg.load(v3.data(), v3.size()), 0);
  EXPECT_TRUE(msg.is_v3_message());
  Pdu out;
  snmp_version version;
  OctetStr engine, name;
  int32_t model = 0;
  EXPECT_EQ(msg.unloadv3(out, version, engine, name, model, UdpAddress("127.0.0.1/161")), SNMPv3_MP_NOT_INITIALIZED);

  const Bytes v2c = response(binding(kSysDescr, tlv(0x05, {})));
  ASSERT_EQ(msg.load(v2c.data(), v2c.size()), 0);
  EXPECT_FALSE(msg.is_v3_message());
}

// ---- net-snmp's tools as peers ----------------------------------------------------

// A UDP socket on 127.0.0.1 at a free port.
class LoopbackSocket {
 public:
  LoopbackSocket() {
    fd_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in addr = address(0);
    socklen_t len = sizeof addr;
    if (fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
      port_ = ntohs(addr.sin_port);
  }
  ~LoopbackSocket() {
    if (fd_ >= 0) close(fd_);
  }
  uint16_t port() const { return port_; }
  static sockaddr_in address(uint16_t port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    return addr;
  }
  // One datagram within the time limit, with its sender.
  bool receive(Bytes& out, sockaddr_in& from, int timeout_ms = 10000) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) != 1) return false;
    unsigned char buf[4096];
    socklen_t len = sizeof from;
    ssize_t n = recvfrom(fd_, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
    if (n < 0) return false;
    out.assign(buf, buf + n);
    return true;
  }
  void send(const unsigned char* data, size_t len, const sockaddr_in& to) {
    sendto(fd_, data, len, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  }

 private:
  int fd_ = -1;
  uint16_t port_ = 0;
};

bool have_tool(const char* tool) {
  int status = 0;
  RunCommand(std::string("command -v ") + tool + " >/dev/null 2>&1", &status);
  return status == 0;
}

const char* const kQuietTool = "MIBS= MIBDIRS=/nonexistent SNMPCONFPATH=/nonexistent ";

TEST(SnmpMessagePeer, AnswersNetSnmpGet) {
  if (!have_tool("snmpget")) GTEST_SKIP() << "net-snmp's snmpget is not installed";
  LoopbackSocket sock;
  ASSERT_NE(sock.port(), 0);
  const std::string cmd = std::string(kQuietTool) + "snmpget -v2c -c public -r 0 -t 5 -On 127.0.0.1:" +
                          std::to_string(sock.port()) + " 1.3.6.1.2.1.1.1.0 1.3.6.1.2.1.1.3.0 2>&1";
  auto output = std::async(std::launch::async, [cmd] { return RunCommand(cmd); });

  Bytes request;
  sockaddr_in from{};
  ASSERT_TRUE(sock.receive(request, from));
  Decoded got = decode(request);
  ASSERT_EQ(got.status, 0);
  EXPECT_EQ(got.version, version2c);
  EXPECT_STREQ(got.community.get_printable(), "public");
  EXPECT_EQ(got.pdu.get_type(), 0xA0);
  ASSERT_EQ(got.pdu.get_vb_count(), 2);
  EXPECT_EQ(got.pdu[0].get_oid(), "1.3.6.1.2.1.1.1.0");
  EXPECT_EQ(got.pdu[1].get_oid(), "1.3.6.1.2.1.1.3.0");
  EXPECT_EQ(got.pdu[0].get_syntax(), static_cast<SmiUINT32>(sNMP_SYNTAX_NULL));

  Pdu answer = make_pdu(0xA2, got.pdu.get_request_id(),
                        {vb_of("1.3.6.1.2.1.1.1.0", OctetStr("Trellian test agent")),
                         vb_of("1.3.6.1.2.1.1.3.0", TimeTicks(12345))});
  Bytes reply = encode(answer, version2c, "public");
  ASSERT_FALSE(reply.empty());
  sock.send(reply.data(), reply.size(), from);

  const std::string printed = output.get();
  EXPECT_NE(printed.find(".1.3.6.1.2.1.1.1.0 = STRING: \"Trellian test agent\""), std::string::npos) << printed;
  EXPECT_NE(printed.find(".1.3.6.1.2.1.1.3.0 = Timeticks: (12345)"), std::string::npos) << printed;
}

TEST(SnmpMessagePeer, DecodesNetSnmpTraps) {
  if (!have_tool("snmptrap")) GTEST_SKIP() << "net-snmp's snmptrap is not installed";
  LoopbackSocket sock;
  ASSERT_NE(sock.port(), 0);
  const std::string to = " 127.0.0.1:" + std::to_string(sock.port());
  const std::string v1 = std::string(kQuietTool) + "snmptrap -v1 -c public" + to +
                         " 1.3.6.1.4.1.99 127.0.0.1 6 7 4242 1.3.6.1.4.1.99.1 s hello 2>&1";
  const std::string v2 = std::string(kQuietTool) + "snmptrap -v2c -c public" + to +
                         " 4242 1.3.6.1.4.1.99.0.7 1.3.6.1.4.1.99.1 i -3 2>&1";

  int status = 0;
  std::string printed = RunCommand(v1, &status);
  ASSERT_EQ(status, 0) << printed;
  Bytes bytes;
  sockaddr_in from{};
  ASSERT_TRUE(sock.receive(bytes, from));
  Decoded trap = decode(bytes);
  ASSERT_EQ(trap.status, 0);
  EXPECT_EQ(trap.version, version1);
  EXPECT_EQ(trap.pdu.get_type(), 0xA4);
  Oid id, enterprise;
  TimeTicks ts;
  trap.pdu.get_notify_id(id);
  trap.pdu.get_notify_enterprise(enterprise);
  trap.pdu.get_notify_timestamp(ts);
  EXPECT_EQ(enterprise, "1.3.6.1.4.1.99");
  EXPECT_EQ(id, "1.3.6.1.4.1.99.7");
  EXPECT_EQ(static_cast<unsigned long>(ts), 4242ul);
  ASSERT_EQ(trap.pdu.get_vb_count(), 1);
  EXPECT_STREQ(trap.pdu[0].get_printable_value(), "hello");

  printed = RunCommand(v2, &status);
  ASSERT_EQ(status, 0) << printed;
  ASSERT_TRUE(sock.receive(bytes, from));
  trap = decode(bytes);
  ASSERT_EQ(trap.status, 0);
  EXPECT_EQ(trap.version, version2c);
  EXPECT_EQ(trap.pdu.get_type(), 0xA7);
  trap.pdu.get_notify_id(id);
  trap.pdu.get_notify_timestamp(ts);
  EXPECT_EQ(id, "1.3.6.1.4.1.99.0.7");
  EXPECT_EQ(static_cast<unsigned long>(ts), 4242ul);
  ASSERT_EQ(trap.pdu.get_vb_count(), 3);
  long value = 0;
  ASSERT_EQ(trap.pdu[2].get_value(value), 0);
  EXPECT_EQ(value, -3);
}

}  // namespace

namespace {

// Our requests to a real agent, and its answers decoded by us: every syntax
// the agent's own tree holds, exceptions and a version 1 error.
TEST(SnmpMessagePeer, TalksToNetSnmpAgent) {
  SnmpdHarness* agent = SnmpdHarness::Shared();
  ASSERT_NE(agent, nullptr);
  LoopbackSocket sock;
  const sockaddr_in to = LoopbackSocket::address(agent->port());
  auto ask = [&](const Pdu& request, snmp_version version) {
    Bytes bytes = encode(request, version, "public");
    EXPECT_FALSE(bytes.empty());
    sock.send(bytes.data(), bytes.size(), to);
    Bytes answer;
    sockaddr_in from{};
    EXPECT_TRUE(sock.receive(answer, from));
    return decode(answer);
  };

  const char* const oids[] = {
      "1.3.6.1.2.1.1.1.0",          // sysDescr: OCTET STRING
      "1.3.6.1.2.1.1.2.0",          // sysObjectID: OBJECT IDENTIFIER
      "1.3.6.1.2.1.1.3.0",          // sysUpTime: TimeTicks
      "1.3.6.1.2.1.11.30.0",        // snmpEnableAuthenTraps: INTEGER
      "1.3.6.1.6.3.10.2.1.1.0",     // snmpEngineID: OCTET STRING
      "1.3.6.1.2.1.11.1.0",         // snmpInPkts: Counter32
      "1.3.6.1.2.1.4.20.1.1.127.0.0.1",  // ipAdEntAddr: IpAddress
      "1.3.6.1.2.1.99.99.0",        // nothing there
  };
  Pdu get = make_pdu(0xA0, 4711, {});
  for (const char* oid : oids) get += Vb(Oid(oid));
  Decoded got = ask(get, version2c);
  ASSERT_EQ(got.status, 0);
  EXPECT_EQ(got.pdu.get_type(), 0xA2);
  EXPECT_EQ(got.pdu.get_request_id(), 4711u);
  EXPECT_EQ(got.pdu.get_error_status(), 0);
  ASSERT_EQ(got.pdu.get_vb_count(), 8);
  const SmiUINT32 syntaxes[] = {0x04, 0x06, 0x43, 0x02, 0x04, 0x41, 0x40};
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(oids[i]);
    EXPECT_EQ(got.pdu[i].get_oid(), oids[i]);
    EXPECT_EQ(got.pdu[i].get_syntax(), syntaxes[i]);
  }
  EXPECT_STREQ(got.pdu[6].get_printable_value(), "127.0.0.1");
  EXPECT_TRUE(got.pdu[7].get_syntax() == sNMP_SYNTAX_NOSUCHOBJECT ||
              got.pdu[7].get_syntax() == sNMP_SYNTAX_NOSUCHINSTANCE);

  // A walk step past the end of the tree.
  Decoded next = ask(make_pdu(0xA1, 4712, {Vb(Oid("1.3.6.1.9"))}), version2c);
  ASSERT_EQ(next.status, 0);
  ASSERT_EQ(next.pdu.get_vb_count(), 1);
  EXPECT_EQ(next.pdu[0].get_syntax(), static_cast<SmiUINT32>(sNMP_SYNTAX_ENDOFMIBVIEW));

  // A bulk request: non-repeaters and max-repetitions ride in the error fields.
  Pdu bulk = make_pdu(0xA5, 4713, {Vb(Oid("1.3.6.1.2.1.1"))});
  set_error_status(&bulk, 0);
  set_error_index(&bulk, 3);
  Decoded bulk_answer = ask(bulk, version2c);
  ASSERT_EQ(bulk_answer.status, 0);
  ASSERT_EQ(bulk_answer.pdu.get_vb_count(), 3);
  EXPECT_EQ(bulk_answer.pdu[0].get_oid(), "1.3.6.1.2.1.1.1.0");

  // Version 1 has no exceptions: the agent answers noSuchName for the binding.
  Decoded v1 = ask(make_pdu(0xA0, 4714, {Vb(Oid("1.3.6.1.2.1.1.1.0")), Vb(Oid("1.3.6.1.2.1.99.99.0"))}), version1);
  ASSERT_EQ(v1.status, 0);
  EXPECT_EQ(v1.version, version1);
  EXPECT_EQ(v1.pdu.get_error_status(), SNMP_ERROR_NO_SUCH_NAME);
  EXPECT_EQ(v1.pdu.get_error_index(), 2);
}

}  // namespace

namespace {

// Version 3 through the coder and the message processing to a real agent:
// discovery of its engine id, then requests of a user without and with
// authentication.
TEST(SnmpMessagePeer, Version3WithNetSnmpAgent) {
  SnmpdHarness* agent = SnmpdHarness::Shared();
  ASSERT_NE(agent, nullptr);
  static int fake_session;  // reports are never sent here: nothing is received unasked
  mpFinish();
  ASSERT_EQ(mpInit(reinterpret_cast<Snmp*>(&fake_session), OctetStr("trellian-coder-test"), 1), SNMPv3_MP_OK);
  usmSetDiscoveryMode();
  ASSERT_EQ(usmAddUserName(OctetStr("noauth"), SNMP_AUTHPROTOCOL_NONE, SNMP_PRIVPROTOCOL_NONE, OctetStr(),
                           OctetStr()),
            SNMPv3_USM_OK);
  ASSERT_EQ(usmAddUserName(OctetStr("authMD5"), SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_NONE,
                           OctetStr("authpass123"), OctetStr()),
            SNMPv3_USM_OK);

  LoopbackSocket sock;
  const sockaddr_in to = LoopbackSocket::address(agent->port());
  const UdpAddress from(("127.0.0.1/" + std::to_string(agent->port())).c_str());
  struct Answer {
    int status;
    Pdu pdu;
    OctetStr engine, name;
    int32_t model = 0;
  };
  auto ask = [&](const Pdu& request, const OctetStr& engine, const char* user) {
    Answer a;
    SnmpMessage msg;
    const OctetStr security_name(user);
    a.status = msg.load(request, OctetStr(), version3, &engine, &security_name, SNMP_SECURITY_MODEL_USM);
    if (a.status) return a;
    sock.send(msg.data(), msg.len(), to);
    Bytes bytes;
    sockaddr_in sender{};
    if (!sock.receive(bytes, sender)) {
      a.status = SNMP_CLASS_TIMEOUT;
      return a;
    }
    SnmpMessage received;
    received.load(bytes.data(), bytes.size());
    EXPECT_TRUE(received.is_v3_message());
    snmp_version version;
    a.status = received.unloadv3(a.pdu, version, a.engine, a.name, a.model, from);
    EXPECT_EQ(version, version3);
    return a;
  };

  Pdu get = make_pdu(0xA0, 5000, {Vb(Oid("1.3.6.1.2.1.1.1.0"))});
  Answer discovery = ask(get, OctetStr(), "noauth");
  ASSERT_EQ(discovery.status, 0);
  EXPECT_EQ(discovery.pdu.get_type(), 0xA8);
  ASSERT_GT(discovery.engine.len(), 0u);
  ASSERT_EQ(discovery.pdu.get_vb_count(), 1);
  EXPECT_EQ(discovery.pdu[0].get_oid(), "1.3.6.1.6.3.15.1.1.4.0");  // usmStatsUnknownEngineIDs
  const OctetStr engine = discovery.engine;

  set_request_id(&get, 5001);
  Answer plain = ask(get, engine, "noauth");
  ASSERT_EQ(plain.status, 0);
  EXPECT_EQ(plain.pdu.get_type(), 0xA2);
  EXPECT_EQ(plain.pdu.get_request_id(), 5001u);
  ASSERT_EQ(plain.pdu.get_vb_count(), 1);
  EXPECT_EQ(plain.pdu[0].get_syntax(), static_cast<SmiUINT32>(sNMP_SYNTAX_OCTETS));

  // With authentication the agent first tells its time, then answers.
  get.set_security_level(2);
  set_request_id(&get, 5002);
  Answer signed_answer = ask(get, engine, "authMD5");
  ASSERT_EQ(signed_answer.status, 0);
  if (signed_answer.pdu.get_type() == 0xA8) {
    ASSERT_EQ(signed_answer.pdu.get_vb_count(), 1);
    EXPECT_EQ(signed_answer.pdu[0].get_oid(), "1.3.6.1.6.3.15.1.1.2.0");  // usmStatsNotInTimeWindows
    set_request_id(&get, 5003);
    signed_answer = ask(get, engine, "authMD5");
    ASSERT_EQ(signed_answer.status, 0);
  }
  EXPECT_EQ(signed_answer.pdu.get_type(), 0xA2);
  EXPECT_EQ(signed_answer.pdu.get_security_level(), 2);
  EXPECT_STREQ(signed_answer.name.get_printable(), "authMD5");
  ASSERT_EQ(signed_answer.pdu.get_vb_count(), 1);
  EXPECT_EQ(signed_answer.pdu[0].get_oid(), "1.3.6.1.2.1.1.1.0");
  EXPECT_EQ(signed_answer.pdu[0].get_syntax(), static_cast<SmiUINT32>(sNMP_SYNTAX_OCTETS));
  mpFinish();
}

}  // namespace
