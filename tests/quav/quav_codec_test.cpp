// Datagrams of the QUAV protocol: requests byte for byte as the devices expect
// them, the digests, and the decoding of answers, malformed ones included.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "QUAVVarlist.h"
#include "VhOptionList.h"
#include "WizardTables.h"

namespace {

using Bytes = std::vector<BYTE>;

Bytes Hex(const char* text) {
  Bytes out;
  int high = -1;
  for (const char* p = text; *p; ++p) {
    int v = (*p >= '0' && *p <= '9') ? *p - '0' : (*p >= 'A' && *p <= 'F') ? *p - 'A' + 10 : -1;
    if (v < 0) continue;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(BYTE(high * 16 + v));
      high = -1;
    }
  }
  return out;
}

Bytes Text(const char* text) { return Bytes(text, text + std::strlen(text)); }

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// One answer item written from the wire rules: L, id, selector, length, value.
Bytes Item(BYTE id, const char* selectorHex, const Bytes& value) {
  Bytes selector = Hex(selectorHex);
  size_t length = 4 + selector.size() + value.size();
  return Cat({{BYTE(selector.size() + 1), id}, selector, {BYTE(length >> 8), BYTE(length)}, value});
}

// Builds a request the way the client does: header, items, length, digest.
Bytes BuildRequest(QUAVVarlist& list, BYTE sequence, const Bytes& mac, int* result = nullptr) {
  Bytes buffer(8192, 0);
  int head = list.FillHead(buffer.data(), sequence, mac.data());
  int items = list.PutValuesToBuff(buffer.data() + head, int(buffer.size()) - head);
  if (result) *result = items;
  if (items < 0) return Bytes();
  int total = head + items;
  buffer[6] = BYTE(total >> 8);
  buffer[7] = BYTE(total);
  list.DoAuthentication(buffer.data(), total);
  buffer.resize(size_t(total));
  return buffer;
}

const Bytes kBroadcastMac = Hex("FF FF FF FF FF FF");
const Bytes kDeviceMac = Hex("00 0D 88 12 34 56");

struct RequestCase {
  const char* name;
  const VhQUAVVar* table;
  BYTE command;
  SecurtyLevel level;
  const char* password;
  BYTE sequence;
  std::vector<const char*> values;  // in list order; nullptr leaves a value as it is
  Bytes expected;
};

TEST(QuavRequest, WizardRequestsAreByteExactAtEachSecurityLevel) {
  const VhQUAVVar seenMac[] = {{1, "0007", "MacAddress", 14, 2, nullptr, nullptr, nullptr},
                               {0, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr}};
  const RequestCase cases[] = {
      {"discover, level 1", seenMac, 1, QUAV_SECURITY_NONE, "", 0x07, {"000d88aabbcc"},
       Hex("09 2B 13 38 01 07 00 30 00 00 00 00  00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
           "FF FF FF FF FF FF 02 00"
           "03 01 00 07 00 0C 00 0D 88 AA BB CC")},
      {"set IP, level 2", kSetIpTable, 3, QUAV_SECURITY_MD5, "admin", 0x2A,
       {"192.168.0.50", "255.255.255.0", "192.168.0.1", "1", "1"},
       Hex("09 2B 13 38 03 2A 00 50 00 00 10 00  66 71 6E EC EE 1B 5E 4F E7 27 70 CC 65 66 7A F0"
           "00 0D 88 12 34 56 02 00"
           "03 01 00 08 00 0A C0 A8 00 32  03 01 00 09 00 0A FF FF FF 00  03 01 00 0A 00 0A C0 A8 00 01"
           "03 0A 01 03 00 07 01  03 0A 01 04 00 07 01")},
      {"get communities, level 3", kCommunityTable, 5, QUAV_SECURITY_HMAC_MD5, "s3cret!", 0xFF, {},
       Hex("09 2B 13 38 05 FF 00 39 00 00 10 00  96 0E 0D BE BB AF 63 C5 31 32 B1 42 D9 AD 1D DF"
           "00 0D 88 12 34 56 02 00"
           "04 0A 02 01 04 00 07  04 0A 02 01 05 00 07  04 0A 02 01 01 00 07")},
      {"set communities, level 3", kCommunityTable, 3, QUAV_SECURITY_HMAC_MD5, "s3cret!", 0x00,
       {"quorin", "velmont", "1"},
       Cat({Hex("09 2B 13 38 03 00 00 4A 00 00 10 00  2D 9D BB 3B F0 BA 40 F2 C6 75 3A B0 06 6F F4 16"
                "00 0D 88 12 34 56 02 00  04 0A 02 01 04 00 0D"),
            Text("quorin"), Hex("04 0A 02 01 05 00 0E"), Text("velmont"), Hex("04 0A 02 01 01 00 0B 00 00 00 01")})},
      // A password longer than the HMAC block is hashed first.
      {"reboot, level 3, long password", kRebootTable, 3, QUAV_SECURITY_HMAC_MD5,
       "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", 0x01, {"1"},
       Hex("09 2B 13 38 03 01 00 2B 00 00 10 00  6A 19 8A C3 32 4A 6F 47 12 9B 54 3C 9D 7C E8 C7"
           "00 0D 88 12 34 56 02 00  03 0A 01 01 00 07 01")},
  };
  for (const RequestCase& c : cases) {
    SCOPED_TRACE(c.name);
    QUAVVarlist list(c.table);
    for (size_t i = 0; i < c.values.size(); ++i)
      if (c.values[i]) list[int(i)]->value = c.values[i];
    list.SetCommand(c.command);
    list.SetSecurityMode(c.level, c.password);
    EXPECT_EQ(BuildRequest(list, c.sequence, c.command == 1 ? kBroadcastMac : kDeviceMac), c.expected);
  }
}

TEST(QuavRequest, ItemEncodingRules) {
  struct Item {  // what Append takes of a table row
    BYTE id;
    const char* selector;
    const char* text;
    BYTE valueType;
    int access;
  };
  struct Case {
    const char* name;
    BYTE command;
    Item row;
    const char* value;
    Bytes expected;  // the items after the header
  };
  const Case cases[] = {
      {"get sends no value", 5, {1, "0008", "a", 13, 1}, "1.2.3.4", Hex("03 01 00 08 00 06")},
      {"discover sends only writable items", 1, {0, "00", "a", 0, 1}, "", Bytes()},
      {"skipped items are never sent", 3, {1, "0008", "a", 13, 6}, "1.2.3.4", Bytes()},
      {"set sends no readable-only item", 3, {1, "0008", "a", 13, 1}, "1.2.3.4", Bytes()},
      {"only \"false\" is false", 3, {1, "01", "a", 1, 2}, "False", Hex("02 01 01 00 06 01")},
      {"\"false\" is 0", 3, {1, "01", "a", 1, 2}, "false", Hex("02 01 01 00 06 00")},
      {"type 4 true is little-endian 1", 3, {1, "01", "a", 4, 2}, "yes", Hex("02 01 01 00 07 01 00")},
      {"type 7 true", 3, {1, "01", "a", 7, 2}, "1", Hex("02 01 01 00 09 01 00 00 00")},
      {"type 2 keeps the low 8 bits", 3, {1, "01", "a", 2, 2}, "-1", Hex("02 01 01 00 06 FF")},
      {"type 6 big-endian", 3, {1, "01", "a", 6, 2}, "4660", Hex("02 01 01 00 07 12 34")},
      {"type 8 negative", 3, {1, "01", "a", 8, 2}, "-2", Hex("02 01 01 00 09 FF FF FF FE")},
      {"type 9 above 2^31", 3, {1, "01", "a", 9, 2}, "4294967295", Hex("02 01 01 00 09 FF FF FF FF")},
      {"type 9 3000000000", 3, {1, "01", "a", 9, 2}, "3000000000", Hex("02 01 01 00 09 B2 D0 5E 00")},
      {"type 10 low word first", 3, {1, "01", "a", 10, 2}, "1.5",
       Hex("02 01 01 00 0D 00 00 00 00 3F F8 00 00")},
      {"type 11 ticks", 3, {1, "01", "a", 11, 2}, "360000", Hex("02 01 01 00 09 00 05 7E 40")},
      {"type 12 OLE date", 3, {1, "01", "a", 12, 2}, "2000/1/1 12:00:00",
       Hex("02 01 01 00 0D 00 00 00 00 40 E1 D5 D0")},
      {"type 15 hex", 3, {1, "01", "a", 15, 2}, "a1 b2c", Hex("02 01 01 00 08 0A 1B 2C")},
      {"odd selector digit is a byte of its own", 3, {12, "101", "a", 3, 2}, "200",
       Hex("03 0C 01 01 00 07 C8")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QUAVVarlist list;
    const Item& r = c.row;
    list.Append(r.id, r.selector, r.text, r.valueType, r.access, nullptr, nullptr);
    list[0]->value = c.value;
    list.SetCommand(c.command);
    Bytes out(64, 0xEE);
    int n = list.PutValuesToBuff(out.data(), int(out.size()));
    ASSERT_GE(n, 0);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + n), c.expected);
  }
}

TEST(QuavRequest, OptionListMapsDisplayTextBeforeEncoding) {
  const OptionListItem onOff[] = {{1, "Enable"}, {0, "Disable"}, {0, nullptr}};
  VhOptionList options(onOff, VHOPTION_INT, TRUE);
  QUAVVarlist list;
  list.Append(10, "020101", "SNMP Status", 8, 3, &options, nullptr);
  list[0]->value = "Enable";
  list.SetCommand(3);
  BYTE out[32];
  ASSERT_EQ(list.PutValuesToBuff(out, sizeof out), 11);
  EXPECT_EQ(Bytes(out + 7, out + 11), Hex("00 00 00 01"));
}

// Whatever is refused, nothing of it may be written past the room given.
TEST(QuavRequest, EncodingFailsCleanly) {
  struct Case {
    const char* name;
    BYTE command;
    BYTE type;
    const char* selector;
    std::string value;
    int room;
    int code;
  };
  const Case cases[] = {
      {"bad command", 2, 13, "0008", "1.2.3.4", 64, QUAV_BAD_COMMAND},
      {"type 0", 3, 0, "0008", "1", 64, QUAV_BAD_VALUE_TYPE},
      {"type 18", 3, 18, "0008", "1", 64, QUAV_BAD_VALUE_TYPE},
      {"address that inet_addr reads as broadcast", 3, 13, "0008", "192.168.0.256", 64, QUAV_BAD_VALUE_TYPE},
      {"address with trailing text", 3, 13, "0008", "10.0.0.1x", 64, QUAV_BAD_VALUE_TYPE},
      {"empty address", 3, 13, "0008", "", 64, QUAV_BAD_VALUE_TYPE},
      {"date without its separators", 3, 12, "0008", "2000-01-01", 64, QUAV_BAD_VALUE_TYPE},
      {"date out of the calendar", 3, 12, "0008", "2000/13/40 25:61:61", 64, QUAV_BAD_VALUE_TYPE},
      {"MAC of 5 bytes", 3, 14, "0007", "000D88AABB", 64, QUAV_BAD_VALUE_TYPE},
      {"MAC of 7 bytes", 3, 14, "0007", "000D88AABBCCDD", 64, QUAV_BAD_VALUE_TYPE},
      {"item larger than the room", 3, 17, "0008", "abcdef", 11, QUAV_BAD_PACKET},
      {"get item larger than the room", 5, 17, "0008", "", 5, QUAV_BAD_PACKET},
      {"selector of 255 bytes", 3, 2, nullptr, "1", 8192, QUAV_BAD_PACKET},
      {"item longer than 65535", 3, 17, "0008", std::string(65531, 'x'), 70000, QUAV_BAD_PACKET},
  };
  std::string longSelector(510, 'A');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QUAVVarlist list;
    list.Append(1, c.selector ? c.selector : longSelector.c_str(), "v", c.type, 3, nullptr, nullptr);
    list[0]->value = c.value.c_str();
    list.SetCommand(c.command);
    Bytes out(size_t(c.room) + 16, 0xEE);
    EXPECT_EQ(list.PutValuesToBuff(out.data(), c.room), c.code);
    for (size_t i = size_t(c.room); i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE) << "written past the room at " << i;
  }
  // A selector of 254 bytes is the longest that L can count.
  QUAVVarlist list;
  list.Append(1, std::string(508, 'A').c_str(), "v", 3, 3, nullptr, nullptr);
  list[0]->value = "1";
  list.SetCommand(3);
  Bytes out(512);
  EXPECT_EQ(list.PutValuesToBuff(out.data(), int(out.size())), 259);
  EXPECT_EQ(out[0], 255);
}

TEST(QuavDigest, HmacMd5MatchesRfc2202) {
  struct Case {
    Bytes key;
    Bytes data;
    const char* digest;
  };
  const Case cases[] = {
      {Bytes(16, 0x0B), Text("Hi There"), "9294727a3638bb1c13f48ef8158bfc9d"},
      {Text("Jefe"), Text("what do ya want for nothing?"), "750c783e6ab0b503eaa86e310a5db738"},
      {Bytes(16, 0xAA), Bytes(50, 0xDD), "56be34521d144c88dbb8c733f0e8b3f6"},
      {Hex("0102030405060708090A0B0C0D0E0F10111213141516171819"), Bytes(50, 0xCD), "697eaf0aca3a3aea3a75164746ffaa79"},
      {Bytes(16, 0x0C), Text("Test With Truncation"), "56461ef2342edc00f9bab995690efd4c"},
      {Bytes(80, 0xAA), Text("Test Using Larger Than Block-Size Key - Hash Key First"),
       "6b1ab7fe4bd7bf8f0b62e6ce61b9d0cd"},
      {Bytes(80, 0xAA), Text("Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data"),
       "6f630fad67cda0ee1fb1f562db3aa53e"},
  };
  for (const Case& c : cases) {
    BYTE digest[16];
    QUAVHmacMd5(c.data.data(), c.data.size(), c.key.data(), c.key.size(), digest);
    char hex[33];
    for (int i = 0; i < 16; ++i) std::snprintf(hex + 2 * i, 3, "%02x", digest[i]);
    EXPECT_STREQ(hex, c.digest);
  }
}

TEST(QuavDigest, SecurityLevels) {
  QUAVVarlist list(kRebootTable);
  list.SetCommand(3);
  list[0]->value = "1";

  // Level 1: no flag, no digest.
  Bytes plain = BuildRequest(list, 0, kDeviceMac);
  EXPECT_EQ(Bytes(plain.begin() + 10, plain.begin() + 28), Bytes(18, 0));

  // Level 2 with an empty password is the MD5 of the datagram alone.
  list.SetSecurityMode(QUAV_SECURITY_MD5, "");
  Bytes md5 = BuildRequest(list, 0, kDeviceMac);
  Bytes zeroed = md5;
  std::fill(zeroed.begin() + 12, zeroed.begin() + 28, 0);
  BYTE expected[16];
  QUAVMd5(zeroed.data(), zeroed.size(), expected);
  EXPECT_EQ(Bytes(md5.begin() + 12, md5.begin() + 28), Bytes(expected, expected + 16));

  // Any byte of the datagram, the length field included, changes the digest.
  for (SecurtyLevel level : {QUAV_SECURITY_MD5, QUAV_SECURITY_HMAC_MD5}) {
    list.SetSecurityMode(level, "pw");
    Bytes base = BuildRequest(list, 0, kDeviceMac);
    Bytes digest(base.begin() + 12, base.begin() + 28);
    for (size_t at : {size_t(7), size_t(4), base.size() - 1}) {
      Bytes changed = base;
      std::fill(changed.begin() + 12, changed.begin() + 28, 0);
      changed[at] ^= 1;
      list.DoAuthentication(changed.data(), int(changed.size()));
      EXPECT_NE(Bytes(changed.begin() + 12, changed.begin() + 28), digest) << "byte " << at;
    }
  }
}

// The password is hashed after the datagram, never stored behind it: a
// datagram in a buffer of exactly its size with a password far longer than any
// send buffer must not be overrun.
TEST(QuavDigest, LongPasswordDoesNotOverrunTheBuffer) {
  QUAVVarlist list(kRebootTable);
  list.SetCommand(3);
  list[0]->value = "1";
  std::string password(20000, 'p');
  list.SetSecurityMode(QUAV_SECURITY_MD5, password.c_str());
  Bytes datagram = BuildRequest(list, 0, kDeviceMac);
  std::vector<BYTE> exact(datagram.begin(), datagram.end());
  ASSERT_GE(exact.size(), 28u);
  std::fill(exact.begin() + 12, exact.begin() + 28, 0);
  Bytes joined = exact;
  joined.insert(joined.end(), password.begin(), password.end());
  list.DoAuthentication(exact.data(), int(exact.size()));
  BYTE expected[16];
  QUAVMd5(joined.data(), joined.size(), expected);
  EXPECT_EQ(Bytes(exact.begin() + 12, exact.begin() + 28), Bytes(expected, expected + 16));
}

struct DecodeCase {
  BYTE type;
  Bytes value;
  const char* text;  // nullptr when the value's size does not fit the type
};

TEST(QuavAnswer, DecodesEveryValueType) {
  const DecodeCase cases[] = {
      {1, Hex("00"), "false"},
      {1, Hex("05"), "true"},
      {1, Hex("00 01"), nullptr},
      {2, Hex("FF"), "-1"},
      {2, Hex("00 01"), nullptr},
      {3, Hex("FF"), "255"},
      {4, Hex("00 01"), "true"},
      {4, Hex("00 00"), "false"},
      {4, Hex("01"), nullptr},
      {5, Hex("FF FE"), "-2"},
      {6, Hex("FF FE"), "65534"},
      {7, Hex("00 00 00 01"), "true"},
      {7, Hex("00 00 00 00"), "false"},
      {8, Hex("80 00 00 00"), "-2147483648"},
      {8, Hex("00 00 01"), nullptr},
      {9, Hex("FF FF FF FF"), "4294967295"},
      {10, Hex("00 00 00 00 3F F8 00 00"), "1.500000"},
      {10, Hex("3F F8 00 00"), nullptr},
      {11, Hex("00 05 7E 41"), "1:00:00.01"},
      {11, Hex("00 83 D6 00"), "1 day 0:00:00.00"},
      {11, Hex("01 07 AC 00"), "2 days, 0:00:00.00"},
      {12, Hex("00 00 00 00 40 E1 D5 D0"), "2000/01/01 12:00:00 PM"},
      {12, Hex("00 00 00 00 7F F0 00 00"), ""},  // infinity is no date
      {13, Hex("C0 A8 00 32"), "192.168.0.50"},
      {13, Hex("C0 A8 00"), nullptr},
      {14, Hex("00 0D 88 AA BB CC"), "000D88AABBCC"},
      {14, Text("00:0d:88:aa:bb:cc"), "000D88AABBCC"},
      {14, Hex("00 0D 88 AA BB"), nullptr},
      {15, Hex("0A 1B FF"), "0A1BFF"},
      {16, Hex("00"), "00"},
      {17, Cat({Text("RIZ-4410"), Hex("00"), Text("junk")}), "RIZ-4410"},
      {17, Text("Lobby"), "Lobby"},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " text " << (c.text ? c.text : "(refused)"));
    Bytes items = Cat({Item(1, "0005", Hex("41")), Item(12, "0102", c.value), Item(1, "0006", Hex("42"))});
    QUAVVarlist list;
    CString value = "stale";
    int offset = list.QueryItemValue(12, "0102", c.type, value, items.data(), int(items.size()));
    EXPECT_STREQ(value, c.text ? c.text : "");
    EXPECT_EQ(offset, c.text ? int(items.size()) - 7 : QUAV_BAD_PACKET);
  }
}

TEST(QuavAnswer, DiscoveryAnswerFillsResponseListAndOptionTexts) {
  const OptionListItem onOff[] = {{1, "Enable"}, {0, "Disable"}, {0, nullptr}};
  VhOptionList options(onOff, VHOPTION_INT, TRUE);
  QUAVResponseVarList response(kBroadcastResponseTable);
  response[6]->optionList = &options;
  QUAVVarlist list;
  list.Append(0, "00", "Discovery", 0, 1, nullptr, &response);
  Bytes items = Cat({Item(1, "0005", Text("RIZ-4410")), Item(1, "0006", Text("1.2.3")),
                     Item(1, "0007", Hex("00 0D 88 AA BB CC")), Item(1, "0008", Hex("0A FA 00 0B")),
                     Item(1, "0009", Hex("FF FF FF 00")), Item(10, "020101", Hex("00 00 00 01"))});
  EXPECT_EQ(list.GetValuesFromBuff(items.data(), int(items.size())), 0);
  ASSERT_EQ(list.GetResponseItemCount(0), 7);
  const char* expected[] = {"RIZ-4410", "1.2.3", "000D88AABBCC", "10.250.0.11", "255.255.255.0", "", "Enable"};
  for (int i = 0; i < 7; ++i) EXPECT_STREQ(list.GetResponseItemValue(0, i), expected[i]) << i;
  // The list held a copy of the response rows.
  EXPECT_STREQ(response[0]->value, "");
  EXPECT_STREQ(list.GetResponseItemValue(0, 7), "");
  EXPECT_STREQ(list.GetResponseItemValue(1, 0), "");
  EXPECT_EQ(list.GetResponseItemCount(1), -1);
}

TEST(QuavAnswer, StatusLookupStopsAtADiscoveryItem) {
  Bytes items = Cat({Item(0, "00", Hex("01")), Item(10, "020101", Hex("00 00 00 01"))});
  QUAVVarlist list;
  CString value = "stale";
  EXPECT_EQ(list.QueryItemValue(10, "020101", 8, value, items.data(), int(items.size())), QUAV_BAD_VARIABLE_ID);
  EXPECT_STREQ(value, "");
  // Other variables are still found behind it.
  Bytes more = Cat({Item(0, "00", Hex("01")), Item(1, "000A", Hex("0A 00 00 01"))});
  EXPECT_EQ(list.QueryItemValue(1, "000a", 13, value, more.data(), int(more.size())), int(more.size()));
  EXPECT_STREQ(value, "10.0.0.1");
}

// Announcements come masked. Two sub-variables reading the same item must see
// the same value, and the receive buffer must stay as it came.
TEST(QuavAnswer, ListenModeUnmasksIntoCopies) {
  const QUAResponseVar twice[] = {{1, "0005", "Model Name", 17, 3, nullptr, nullptr},
                                  {1, "0005", "Model again", 17, 3, nullptr, nullptr},
                                  {1, "0008", "IP", 13, 3, nullptr, nullptr},
                                  {0, nullptr, nullptr, 0, 0, nullptr, nullptr}};
  QUAVResponseVarList response(twice);
  QUAVVarlist list;
  list.Append(0, "00", "Discovery", 0, 1, nullptr, &response);
  Bytes model = Text("RIZ-4410");
  Bytes ip = Hex("0A FA 00 0B");
  for (BYTE& b : model) b ^= QUAV_LISTEN_MASK;
  for (BYTE& b : ip) b ^= QUAV_LISTEN_MASK;
  Bytes items = Cat({Item(1, "0005", model), Item(1, "0008", ip)});
  const Bytes received = items;
  list.m_nListen = 1;
  list.GetValuesFromBuff(items.data(), int(items.size()));
  EXPECT_STREQ(list.GetResponseItemValue(0, 0), "RIZ-4410");
  EXPECT_STREQ(list.GetResponseItemValue(0, 1), "RIZ-4410");
  EXPECT_STREQ(list.GetResponseItemValue(0, 2), "10.250.0.11");
  EXPECT_EQ(items, received);

  // The single-item decoder unmasks only the byte-string types.
  CString value;
  Bytes plainIp = Item(1, "0008", Hex("0A FA 00 0B"));
  EXPECT_EQ(list.GetValueFromBuffer(1, "0008", 13, value, plainIp.data(), int(plainIp.size())), 10);
  EXPECT_STREQ(value, "10.250.0.11");
  EXPECT_EQ(list.GetValueFromBuffer(1, "0005", 17, value, items.data(), int(items.size())), 14);
  EXPECT_STREQ(value, "RIZ-4410");
  EXPECT_EQ(list.GetValueFromBuffer(1, "0006", 17, value, items.data(), int(items.size())), QUAV_BAD_VARIABLE_ID);
}

TEST(QuavAnswer, MalformedDatagramsAreRejected) {
  const Bytes fixed = Cat({Hex("09 2B 13 38 05 11 00 2E 00 00 01 00"), Bytes(16, 0), kDeviceMac, Hex("02 00"),
                           Item(1, "0008", Hex("0A 00 00 01"))});
  QUAVHeader header;
  ASSERT_EQ(QUAVReadHeader(fixed.data(), int(fixed.size()), header), 0);
  EXPECT_EQ(header.command, 5);
  EXPECT_EQ(header.sequence, 0x11);
  EXPECT_EQ(header.status, 1);
  EXPECT_EQ(Bytes(header.mac, header.mac + 6), kDeviceMac);

  struct HeaderCase {
    const char* name;
    Bytes datagram;
  };
  Bytes wrongMagic = fixed;
  wrongMagic[3] = 0x39;
  Bytes longer = fixed;
  longer[7] = 47;
  Bytes shorter = fixed;
  shorter[7] = 45;
  const HeaderCase headers[] = {
      {"empty", Bytes()},
      {"short header", Bytes(fixed.begin(), fixed.begin() + 35)},
      {"wrong magic", wrongMagic},
      {"length field one more", longer},
      {"length field one less", shorter},
  };
  for (const HeaderCase& c : headers) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(QUAVReadHeader(c.datagram.data(), int(c.datagram.size()), header), QUAV_BAD_PACKET);
  }

  // Items that lie about their lengths; the variable asked for sits behind
  // the bad one, or is the bad one.
  // A selector that runs past the data means the variable is not there (-1005);
  // every other lie is a bad packet.
  struct ItemCase {
    const char* name;
    Bytes items;
    int status;
  };
  const ItemCase items[] = {
      {"no items", Bytes(), QUAV_BAD_PACKET},
      {"item length 0", Cat({Hex("03 01 00 05 00 00 41"), Item(1, "0008", Hex("0A 00 00 01"))}), QUAV_BAD_PACKET},
      {"item length shorter than its selector", Cat({Hex("03 01 00 05 00 04"), Item(1, "0008", Hex("0A 00 00 01"))}),
       QUAV_BAD_PACKET},
      {"item longer than the datagram", Hex("03 01 00 08 00 0B 0A 00 00 01"), QUAV_BAD_PACKET},
      {"item longer, ahead of the wanted one", Cat({Hex("03 01 00 05 FF F0"), Item(1, "0008", Hex("0A 00 00 01"))}),
       QUAV_BAD_PACKET},
      {"selector overrunning the datagram", Hex("20 01 00 08 00"), QUAV_BAD_VARIABLE_ID},
      {"selector overrunning after a good item", Cat({Item(2, "0008", Hex("0A 00 00 01")), Hex("09 01 00")}),
       QUAV_BAD_VARIABLE_ID},
      {"item length cut off", Hex("03 01 00 08 00"), QUAV_BAD_PACKET},
      {"L of 0", Cat({Hex("00 01 00 06 41 41"), Item(1, "0008", Hex("0A 00 00 01"))}), QUAV_BAD_PACKET},
      {"only the L byte", Hex("03"), QUAV_BAD_VARIABLE_ID},
      {"any-size value cut short", Hex("03 01 00 05 00 FF 41 42"), QUAV_BAD_PACKET},
  };
  for (const ItemCase& c : items) {
    SCOPED_TRACE(c.name);
    QUAVVarlist list;
    for (BYTE type : {BYTE(13), BYTE(17)}) {
      CString value = "stale";
      const char* selector = type == 13 ? "0008" : "0005";
      EXPECT_EQ(list.QueryItemValue(1, selector, type, value, c.items.data(), int(c.items.size())), c.status);
      EXPECT_STREQ(value, "");
    }
    // Decoding a whole answer never fails, it leaves values empty.
    QUAVResponseVarList response(kBroadcastResponseTable);
    QUAVVarlist discovery;
    discovery.Append(0, "00", "Discovery", 0, 1, nullptr, &response);
    EXPECT_EQ(discovery.GetValuesFromBuff(c.items.data(), int(c.items.size())), 0);
    EXPECT_STREQ(discovery.GetResponseItemValue(0, 3), "");
  }
}

TEST(QuavVarlist, ListOperations) {
  QUAVResponseVarList response(kBroadcastResponseTable);
  QUAVVarlist source;
  source.Append(0, "00", "Discovery", 0, 1, nullptr, &response);
  source.Append(kCommunityTable);
  source.Append(static_cast<const VhQUAVVar*>(nullptr));
  ASSERT_EQ(source.Count(), 4);
  EXPECT_EQ(source.ReadableCount(), 7 + 3);
  EXPECT_EQ(source.WritableCount(), 3);
  EXPECT_EQ(source["SNMP Status"], source[3]);
  EXPECT_EQ(source["nothing"], nullptr);
  EXPECT_EQ(source[4], nullptr);
  EXPECT_EQ(source[-1], nullptr);

  source.Insert(4, 1, "0008", "late", 13, 3, nullptr, nullptr);  // not below the count: nothing
  source.Insert(-1, 1, "0008", "early", 13, 3, nullptr, nullptr);
  EXPECT_EQ(source.Count(), 4);
  source.Insert(1, 1, "0008", "IP", 13, 3, nullptr, nullptr);
  EXPECT_STREQ(source[1]->text, "IP");
  EXPECT_STREQ(source[2]->text, "Public Community String");
  source.Delete(1);
  source.Delete(99);
  EXPECT_EQ(source.Count(), 4);

  // Copies are deep: clearing or changing the copy leaves the source intact.
  source[0]->responseList->operator[](0)->value = "RIZ-4410";
  source[1]->value = "quorin";
  QUAVVarlist copy(source);
  QUAVVarlist assigned;
  assigned = source;
  EXPECT_NE(copy[0]->responseList, source[0]->responseList);
  EXPECT_STREQ(copy.GetResponseItemValue(0, 0), "RIZ-4410");
  EXPECT_STREQ(assigned.GetItemValue(1), "quorin");
  copy.Clear();
  assigned[0]->responseList->Clear();
  EXPECT_EQ(copy.Count(), 0);
  EXPECT_EQ(source.GetResponseItemCount(0), 7);
  EXPECT_STREQ(source.GetResponseItemValue(0, 0), "RIZ-4410");
  EXPECT_EQ(response.Count(), 7);
  EXPECT_STREQ(response[0]->value, "");
  EXPECT_STREQ(source.GetItemValue(9), "");
}

}  // namespace
