#include "QuavCodec.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace apsim {

namespace {

constexpr uint8_t kMagic[4] = {0x09, 0x2B, 0x13, 0x38};
constexpr uint8_t kListenMask = 0xB3;

// What a RIZ-4410 offers over QUAV.
const Variable kVariables[] = {
    {1, "0005", 17, "model", false},
    {1, "0006", 17, "firmware", false},
    {1, "0007", 14, "mac", false},
    {1, "0008", 13, "ip", true},
    {1, "0009", 13, "netmask", true},
    {1, "000A", 13, "gateway", true},
    {1, "000D", 17, "location", false},
    {12, "0101", 17, "group_full", false},
    {12, "0102", 17, "role", false},
    {12, "0103", 17, "discover_number", false},
    {12, "0104", 17, "cfg_version", false},
    {12, "0105", 17, "group_name", false},
    {12, "0106", 17, "group_status", false},
    {12, "0107", 17, "group_password", false},
    {12, "0108", 17, "original_role", false},
    {10, "020101", 8, "snmp_status", true},
    {10, "020104", 17, "read_community", true},
    {10, "020105", 17, "write_community", true},
    {10, "0101", 2, "reboot", true},
    {10, "0103", 2, "save", true},
    {10, "0104", 2, "apply", true},
};

}  // namespace

std::string Hex(const uint8_t* p, size_t n) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < n; ++i) {
    out += digits[p[i] >> 4];
    out += digits[p[i] & 15];
  }
  return out;
}

std::optional<Bytes> ParseHex(const std::string& text) {
  Bytes out;
  std::string digits;
  for (char c : text)
    if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
    else if (c != ':' && c != '-' && c != ' ') return std::nullopt;
  if (digits.size() % 2) return std::nullopt;
  for (size_t i = 0; i < digits.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
  return out;
}

// --- value encodings by type --------------------------------------------------

Bytes EncodeValue(uint8_t type, const std::string& text) {
  Bytes out;
  switch (type) {
    case 2: case 3: PutBE(out, static_cast<uint8_t>(std::strtol(text.c_str(), nullptr, 10)), 1); break;
    case 5: case 6: PutBE(out, static_cast<uint16_t>(std::strtol(text.c_str(), nullptr, 10)), 2); break;
    case 8: case 9: case 11: PutBE(out, static_cast<uint32_t>(std::strtoll(text.c_str(), nullptr, 10)), 4); break;
    case 13: {
      in_addr a{};
      inet_pton(AF_INET, text.c_str(), &a);
      const uint8_t* p = reinterpret_cast<const uint8_t*>(&a.s_addr);
      out.assign(p, p + 4);
      break;
    }
    case 14: case 15: case 16: {
      auto bytes = ParseHex(text);
      if (bytes) out = *bytes;
      break;
    }
    default: out.assign(text.begin(), text.end()); break;  // 17: text without terminator
  }
  return out;
}

std::string DecodeValue(uint8_t type, const Bytes& v) {
  auto be = [&](size_t n) {
    uint64_t x = 0;
    for (size_t i = 0; i < n && i < v.size(); ++i) x = (x << 8) | v[i];
    return x;
  };
  char buf[64];
  switch (type) {
    case 2: snprintf(buf, sizeof buf, "%d", v.size() == 1 ? static_cast<int8_t>(v[0]) : 0); return buf;
    case 3: snprintf(buf, sizeof buf, "%d", v.size() == 1 ? v[0] : 0); return buf;
    case 8: snprintf(buf, sizeof buf, "%d", static_cast<int32_t>(be(4))); return buf;
    case 9: case 11: snprintf(buf, sizeof buf, "%u", static_cast<uint32_t>(be(4))); return buf;
    case 13:
      if (v.size() != 4) return "";
      snprintf(buf, sizeof buf, "%u.%u.%u.%u", v[0], v[1], v[2], v[3]);
      return buf;
    case 14: case 15: case 16: return Hex(v.data(), v.size());
    default: return std::string(v.begin(), std::find(v.begin(), v.end(), 0));
  }
}

// A device refuses a value whose size is not its type's: a client that got an
// encoding wrong must see it, not have it read as something else.
bool SizeFits(uint8_t type, size_t size) {
  switch (type) {
    case 1: case 2: case 3: return size == 1;
    case 4: case 5: case 6: return size == 2;
    case 7: case 8: case 9: case 11: case 13: return size == 4;
    case 10: case 12: return size == 8;
    case 14: return size == 6;
    default: return true;
  }
}

// --- the variables --------------------------------------------------------------

const Variable* FindVariable(uint8_t id, const std::string& selector) {
  for (const Variable& v : kVariables)
    if (v.id == id && selector == v.selector) return &v;
  return nullptr;
}

const Variable* VariableByKey(const char* key) {
  for (const Variable& v : kVariables)
    if (std::strcmp(v.key, key) == 0) return &v;
  return nullptr;
}

// --- datagrams ----------------------------------------------------------------

std::optional<Request> ParseRequest(const uint8_t* data, size_t length) {
  if (length < kHeaderSize || std::memcmp(data, kMagic, 4) != 0) return std::nullopt;
  if (((data[6] << 8) | data[7]) != static_cast<int>(length)) return std::nullopt;
  Request r;
  r.command = data[4];
  r.sequence = data[5];
  r.authenticated = data[10] == 0x10;
  r.mac.assign(data + 28, data + 34);
  size_t offset = kHeaderSize;
  while (offset < length) {
    size_t left = length - offset;
    uint8_t l = data[offset];
    if (l < 1 || left < static_cast<size_t>(l) + 3) return std::nullopt;
    size_t item_length = (data[offset + l + 1] << 8) | data[offset + l + 2];
    if (item_length < static_cast<size_t>(l) + 3 || item_length > left) return std::nullopt;
    Item item;
    item.id = data[offset + 1];
    item.selector = Hex(data + offset + 2, l - 1);
    item.value.assign(data + offset + l + 3, data + offset + item_length);
    r.items.push_back(item);
    offset += item_length;
  }
  return r;
}

void PutItem(Bytes& out, const Variable& v, const Bytes& value, bool masked) {
  auto selector = ParseHex(v.selector);
  out.push_back(static_cast<uint8_t>(selector->size() + 1));
  out.push_back(v.id);
  out.insert(out.end(), selector->begin(), selector->end());
  PutBE(out, selector->size() + 4 + value.size(), 2);
  for (uint8_t b : value) out.push_back(masked ? b ^ kListenMask : b);
}

Bytes Header(uint8_t command, uint8_t sequence, uint8_t status, const Bytes& mac) {
  Bytes out(kHeaderSize, 0);
  std::memcpy(out.data(), kMagic, 4);
  out[4] = command;
  out[5] = sequence;
  out[10] = status & 0x0F;
  std::copy(mac.begin(), mac.end(), out.begin() + 28);
  out[34] = 2;
  return out;
}

void FinishLength(Bytes& d) {
  d[6] = static_cast<uint8_t>(d.size() >> 8);
  d[7] = static_cast<uint8_t>(d.size());
}

// A request's digest: HMAC-MD5 keyed with the password over the datagram
// with a zero digest. The plain MD5 form (level 2) does not verify, as on a
// real device.
bool DigestMatches(const uint8_t* data, size_t length, const std::string& password) {
  Bytes copy(data, data + length);
  std::fill(copy.begin() + 12, copy.begin() + 28, 0);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int n = 0;
  HMAC(EVP_md5(), password.data(), static_cast<int>(password.size()), copy.data(), copy.size(), digest, &n);
  return n == 16 && std::memcmp(digest, data + 12, 16) == 0;
}

}  // namespace apsim
