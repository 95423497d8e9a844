#include "Address.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "Winsock.h"  // after the system headers


namespace {

// "%u" of a number into `out`; the position after it. An address is formatted
// whenever its bytes change (every received answer's sender among them).
char* put_decimal(char* out, unsigned v) {
  char digits[10];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v);
  while (n) *out++ = digits[--n];
  return out;
}

// Port and socket numbers as atoi reads them, kept to their 16 bits without
// atoi's undefined overflow.
unsigned short read_port(const char* p) {
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  uint32_t n = 0;
  for (; *p >= '0' && *p <= '9'; ++p) n = n * 10u + uint32_t(*p - '0');
  return static_cast<unsigned short>(negative ? 0u - n : n);
}

bool is_hex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }
unsigned hex_value(char c) { return c <= '9' ? unsigned(c - '0') : unsigned(c - 'a' + 10); }

// The octets of a value of the given syntax and length, or null.
const SmiOCTETS* octets_of(const SnmpSyntax& v, SmiUINT32 syntax, SmiUINT32 length) {
  if (!v.valid() || v.get_syntax() != syntax) return nullptr;
  const SmiOCTETS& s = v.get_smival().value.string;
  return s.len == length && s.ptr ? &s : nullptr;
}

// Name look-ups through the platform's resolver. Only an IPv4 result of four
// bytes counts as found.
bool snmp_lookup_host(const char* name, unsigned char out[4], int& error) {
  const hostent* host = gethostbyname(name);
  if (!host) {
    error = WSAGetLastError();
    return false;
  }
  if (host->h_length != 4 || !host->h_addr_list || !host->h_addr_list[0]) return false;
  std::memcpy(out, host->h_addr_list[0], 4);
  return true;
}

bool snmp_lookup_addr(const unsigned char in[4], std::string& name, int& error) {
  const hostent* host = gethostbyaddr(reinterpret_cast<const char*>(in), 4, AF_INET);
  if (!host) {
    error = WSAGetLastError();
    return false;
  }
  name = host->h_name ? host->h_name : "";
  return true;
}

int compare_text(const char* a, const char* b) {
  return std::strcmp(a, b);  // strcmp compares as unsigned char
}

}  // namespace

// ---- Address -----------------------------------------------------------------

Address::Address() : valid_flag(0), address_buffer() {
  smival.syntax = sNMP_SYNTAX_NULL;
  set_length(0);
}

Address::Address(const Address& other) : SnmpSyntax(other), valid_flag(other.valid_flag) {
  std::memcpy(address_buffer, other.address_buffer, ADDRBUF);
  set_length(other.smival.value.string.len);
}

void Address::set_length(SmiUINT32 length) {
  smival.value.string.ptr = address_buffer;
  smival.value.string.len = length;
}

std::string Address::trim_white_space(const char* text) {
  while (*text == ' ') ++text;
  const char* end = std::strchr(text, ' ');
  return end ? std::string(text, end) : std::string(text);
}

bool operator==(const Address& a, const Address& b) { return compare_text(a, b) == 0; }
bool operator!=(const Address& a, const Address& b) { return compare_text(a, b) != 0; }
bool operator<(const Address& a, const Address& b) { return compare_text(a, b) < 0; }
bool operator<=(const Address& a, const Address& b) { return compare_text(a, b) <= 0; }
bool operator>(const Address& a, const Address& b) { return compare_text(a, b) > 0; }
bool operator>=(const Address& a, const Address& b) { return compare_text(a, b) >= 0; }
bool operator==(const Address& a, const char* b) { return b ? compare_text(a, b) == 0 : !a.valid(); }
bool operator!=(const Address& a, const char* b) { return !(a == b); }
bool operator<(const Address& a, const char* b) { return b ? compare_text(a, b) < 0 : false; }
bool operator<=(const Address& a, const char* b) { return b ? compare_text(a, b) <= 0 : !a.valid(); }
bool operator>(const Address& a, const char* b) { return b ? compare_text(a, b) > 0 : a.valid() != 0; }
bool operator>=(const Address& a, const char* b) { return b ? compare_text(a, b) >= 0 : true; }

// ---- IpAddress ---------------------------------------------------------------

IpAddress::IpAddress() : ip_text(), iv_friendly_name_status(0) {
  smival.syntax = sNMP_SYNTAX_IPADDR;
  set_length(4);
}

IpAddress::IpAddress(const char* text) : IpAddress() {
  valid_flag = parse_address(text);
  format_output();
}

IpAddress::IpAddress(const IpAddress& other) : IpAddress() { copy_ip(other); }

IpAddress::IpAddress(const GenAddress& other) : IpAddress() {
  const addr_type t = other.get_type();
  if (t == type_ip || t == type_udp) {
    valid_flag = other.valid();
    std::memcpy(address_buffer, other.get_smival().value.string.ptr, 4);
  }
  format_output();
}

// The text of the same bytes is copied, not formatted again: addresses are
// copied several times for every request (target, destination, queue entry).
void IpAddress::copy_ip(const IpAddress& other) {
  valid_flag = other.valid_flag;
  std::memcpy(address_buffer, other.address_buffer, 4);
  iv_friendly_name = other.iv_friendly_name;
  iv_friendly_name_status = other.iv_friendly_name_status;
  std::memcpy(ip_text, other.ip_text, sizeof ip_text);
}

SnmpSyntax* IpAddress::clone() const { return new (std::nothrow) IpAddress(*this); }

IpAddress& IpAddress::operator=(const IpAddress& other) {
  if (this == &other) return *this;
  copy_ip(other);
  // Assigned through this base, a derived address (UdpAddress) keeps its
  // port: its own text is made again from the new address.
  format_output();
  return *this;
}

SnmpSyntax& IpAddress::operator=(const SnmpSyntax& other) {
  if (this == &other) return *this;
  valid_flag = 0;
  const SmiOCTETS* s = octets_of(other, sNMP_SYNTAX_IPADDR, 4);
  if (!s) s = octets_of(other, sNMP_SYNTAX_OCTETS, 4);
  if (s) {
    std::memcpy(address_buffer, s->ptr, 4);
    iv_friendly_name.clear();
    iv_friendly_name_status = 0;
    valid_flag = 1;
  }
  format_output();
  return *this;
}

const char* IpAddress::friendly_name(int& status) {
  if (valid_flag && iv_friendly_name.empty()) addr_to_friendly();
  status = iv_friendly_name_status;
  return iv_friendly_name.c_str();
}

void IpAddress::mask(const IpAddress& netmask) {
  if (!valid_flag || !netmask.valid_flag) return;
  for (int i = 0; i < 4; ++i) address_buffer[i] &= netmask.address_buffer[i];
  format_output();
}

int IpAddress::parse_dotted_ipstring(const char* text) {
  if (!text || std::strlen(text) > 30) return 0;
  const std::string trimmed = trim_white_space(text);
  if (trimmed.size() > 15) return 0;
  int dots = 0;
  for (char c : trimmed) dots += c == '.';
  if (dots != 3) return 0;
  int pieces = 0;
  size_t pos = 0;
  while (pos < trimmed.size()) {
    size_t end = trimmed.find('.', pos);
    if (end == std::string::npos) end = trimmed.size();
    const std::string piece = trimmed.substr(pos, end - pos);
    pos = end + 1;
    if (piece.empty()) continue;  // as strtok: runs of '.' are one separator
    if (pieces == 4 || piece.size() > 3) return 0;
    int value = 0;
    for (char c : piece) {
      if (c < '0' || c > '9') return 0;
      value = value * 10 + (c - '0');
    }
    // "0" is zero; "00", "000" and values above 255 are not bytes.
    if (value > 255 || (value == 0 && piece != "0")) return 0;
    address_buffer[pieces++] = static_cast<unsigned char>(value);
  }
  return pieces == 4;
}

int IpAddress::parse_address(const char* text) {
  iv_friendly_name.clear();
  iv_friendly_name_status = 0;
  if (parse_dotted_ipstring(text)) return 1;
  if (!text) return 0;
  unsigned char bytes[4];
  int error = 0;
  // A result that is not an IPv4 address is a failed look-up, not stale bytes.
  if (!snmp_lookup_host(text, bytes, error)) {
    iv_friendly_name_status = error;
    return 0;
  }
  char dotted[16];
  std::snprintf(dotted, sizeof dotted, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
  if (!parse_dotted_ipstring(dotted)) return 0;
  iv_friendly_name = text;
  return 1;
}

int IpAddress::addr_to_friendly() {
  if (!valid_flag) return -1;
  std::string name;
  int error = 0;
  if (!snmp_lookup_addr(address_buffer, name, error)) {
    iv_friendly_name_status = error;
    return error;
  }
  iv_friendly_name = name;
  return 0;
}

void IpAddress::format_output() {
  if (!valid_flag) {
    ip_text[0] = 0;
    return;
  }
  // "%d.%d.%d.%d" of the four bytes.
  char* p = ip_text;
  for (int i = 0; i < 4; ++i) {
    if (i) *p++ = '.';
    p = put_decimal(p, address_buffer[i]);
  }
  *p = 0;
}

// ---- UdpAddress --------------------------------------------------------------

UdpAddress::UdpAddress() : udp_text() {
  smival.syntax = sNMP_SYNTAX_OCTETS;
  set_length(6);
}

UdpAddress::UdpAddress(const char* text) : UdpAddress() {
  valid_flag = parse_address(text);
  format_output();
}

UdpAddress::UdpAddress(const UdpAddress& other) : UdpAddress() { *this = other; }

UdpAddress::UdpAddress(const IpAddress& ip) : UdpAddress() {
  copy_ip(ip);
  set_port(0);
}

UdpAddress::UdpAddress(const GenAddress& other) : UdpAddress() {
  const addr_type t = other.get_type();
  // A held UdpAddress gives its texts as they are; the name it may have been
  // given stays with it, as from any other holder.
  if (const UdpAddress* udp = t == type_udp ? dynamic_cast<const UdpAddress*>(other.address()) : nullptr) {
    valid_flag = udp->valid_flag;
    std::memcpy(address_buffer, udp->address_buffer, 6);
    std::memcpy(ip_text, udp->ip_text, sizeof ip_text);
    std::memcpy(udp_text, udp->udp_text, sizeof udp_text);
    return;
  }
  if (t == type_ip || t == type_udp) {
    valid_flag = other.valid();
    std::memcpy(address_buffer, other.get_smival().value.string.ptr, t == type_udp ? 6 : 4);
  }
  format_output();
}

SnmpSyntax* UdpAddress::clone() const { return new (std::nothrow) UdpAddress(*this); }

UdpAddress& UdpAddress::operator=(const UdpAddress& other) {
  if (this == &other) return *this;
  address_buffer[4] = other.address_buffer[4];
  address_buffer[5] = other.address_buffer[5];
  copy_ip(other);
  std::memcpy(udp_text, other.udp_text, sizeof udp_text);
  return *this;
}

SnmpSyntax& UdpAddress::operator=(const SnmpSyntax& other) {
  if (this == &other) return *this;
  valid_flag = 0;
  if (const SmiOCTETS* s = octets_of(other, sNMP_SYNTAX_OCTETS, 6)) {
    std::memcpy(address_buffer, s->ptr, 6);
    iv_friendly_name.clear();
    iv_friendly_name_status = 0;
    valid_flag = 1;
  } else if (other.valid() && other.get_syntax() == sNMP_SYNTAX_IPADDR) {
    *this = UdpAddress(other.get_printable());
  }
  format_output();
  return *this;
}

void UdpAddress::set_port(unsigned short port) {
  address_buffer[4] = static_cast<unsigned char>(port >> 8);
  address_buffer[5] = static_cast<unsigned char>(port);
  format_output();
}

unsigned short UdpAddress::get_port() const {
  return valid_flag ? static_cast<unsigned short>((address_buffer[4] << 8) | address_buffer[5]) : 0;
}

int UdpAddress::parse_address(const char* text) {
  if (!text || std::strlen(text) >= 80) return 0;
  std::string host(text);
  unsigned short port = 0;
  size_t sep = host.find(':');
  if (sep == std::string::npos) sep = host.find('/');
  if (sep != std::string::npos) {
    port = read_port(text + sep + 1);
    host.resize(sep);
  }
  address_buffer[4] = static_cast<unsigned char>(port >> 8);
  address_buffer[5] = static_cast<unsigned char>(port);
  return IpAddress::parse_address(host.c_str());
}

void UdpAddress::format_output() {
  IpAddress::format_output();
  if (!valid_flag) {
    udp_text[0] = 0;
    return;
  }
  // "%.15s/%d": the address (at most 15 characters) and the port.
  const size_t ip_length = strnlen(ip_text, 15);
  std::memcpy(udp_text, ip_text, ip_length);
  char* p = udp_text + ip_length;
  *p++ = '/';
  p = put_decimal(p, static_cast<unsigned>((address_buffer[4] << 8) | address_buffer[5]));
  *p = 0;
}

// ---- MacAddress --------------------------------------------------------------

MacAddress::MacAddress() : mac_text() {
  smival.syntax = sNMP_SYNTAX_OCTETS;
  set_length(6);
}

MacAddress::MacAddress(const char* text) : MacAddress() {
  valid_flag = parse_address(text);
  format_output();
}

MacAddress::MacAddress(const MacAddress& other) : MacAddress() { *this = other; }

MacAddress::MacAddress(const GenAddress& other) : MacAddress() {
  if (other.get_type() == type_mac) {
    valid_flag = other.valid();
    std::memcpy(address_buffer, other.get_smival().value.string.ptr, 6);
  }
  format_output();
}

SnmpSyntax* MacAddress::clone() const { return new (std::nothrow) MacAddress(*this); }

MacAddress& MacAddress::operator=(const MacAddress& other) {
  if (this == &other) return *this;
  valid_flag = other.valid_flag;
  std::memcpy(address_buffer, other.address_buffer, 6);
  std::memcpy(mac_text, other.mac_text, sizeof mac_text);
  return *this;
}

SnmpSyntax& MacAddress::operator=(const SnmpSyntax& other) {
  if (this == &other) return *this;
  valid_flag = 0;
  if (const SmiOCTETS* s = octets_of(other, sNMP_SYNTAX_OCTETS, 6)) {
    std::memcpy(address_buffer, s->ptr, 6);
    valid_flag = 1;
  }
  format_output();
  return *this;
}

unsigned int MacAddress::hashFunction() const {
  const unsigned char* b = address_buffer;
  return (uint32_t(b[0]) * 256 + b[1]) * 19u + (uint32_t(b[2]) * 256 + b[3]) * 13u +
         (uint32_t(b[4]) * 256 + b[5]) * 7u;
}

int MacAddress::parse_address(const char* text) {
  if (!text || std::strlen(text) > 30) return 0;
  const std::string t = trim_white_space(text);
  if (t.size() != 17) return 0;
  std::string digits;
  for (size_t i = 0; i < t.size(); ++i) {
    if (i % 3 == 2) {
      if (t[i] != ':') return 0;
      continue;
    }
    const char c = static_cast<char>(t[i] >= 'A' && t[i] <= 'Z' ? t[i] - 'A' + 'a' : t[i]);
    if (!is_hex(c)) return 0;
    digits += c;
  }
  for (int i = 0; i < 6; ++i)
    address_buffer[i] = static_cast<unsigned char>(hex_value(digits[2 * i]) * 16 + hex_value(digits[2 * i + 1]));
  return 1;
}

void MacAddress::format_output() {
  const unsigned char* b = address_buffer;
  if (valid_flag)
    std::snprintf(mac_text, sizeof mac_text, "%02x:%02x:%02x:%02x:%02x:%02x", b[0], b[1], b[2], b[3], b[4], b[5]);
  else
    mac_text[0] = 0;
}

// ---- IpxAddress --------------------------------------------------------------

IpxAddress::IpxAddress() : ipx_text() {
  smival.syntax = sNMP_SYNTAX_OCTETS;
  set_length(10);
}

IpxAddress::IpxAddress(const char* text) : IpxAddress() {
  valid_flag = parse_address(text);
  format_output();
}

IpxAddress::IpxAddress(const IpxAddress& other) : IpxAddress() { *this = other; }

IpxAddress::IpxAddress(const GenAddress& other) : IpxAddress() {
  const addr_type t = other.get_type();
  if (t == type_ipx || t == type_ipxsock) {
    valid_flag = other.valid();
    std::memcpy(address_buffer, other.get_smival().value.string.ptr, 10);
  }
  format_output();
}

SnmpSyntax* IpxAddress::clone() const { return new (std::nothrow) IpxAddress(*this); }

IpxAddress& IpxAddress::operator=(const IpxAddress& other) {
  if (this == &other) return *this;
  valid_flag = other.valid_flag;
  std::memcpy(address_buffer, other.address_buffer, 10);
  // Assigned through this base, an IpxSockAddress makes its own text again.
  format_output();
  return *this;
}

SnmpSyntax& IpxAddress::operator=(const SnmpSyntax& other) {
  if (this == &other) return *this;
  valid_flag = 0;
  if (const SmiOCTETS* s = octets_of(other, sNMP_SYNTAX_OCTETS, 10)) {
    std::memcpy(address_buffer, s->ptr, 10);
    valid_flag = 1;
  }
  format_output();
  return *this;
}

int IpxAddress::get_hostid(MacAddress& mac) const {
  if (!valid_flag) return 0;
  const unsigned char* b = address_buffer + 4;
  char text[20];
  std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", b[0], b[1], b[2], b[3], b[4], b[5]);
  mac = MacAddress(text);
  return mac.valid() ? 1 : 0;
}

int IpxAddress::parse_address(const char* text) {
  if (!text || std::strlen(text) >= 30) return 0;
  std::string t = trim_white_space(text);
  if (t.size() != 21 && t.size() != 22) return 0;
  for (char& c : t)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  // The node may be written as two halves of six digits.
  if (t.size() > 15 && t[15] == '-') t.erase(15, 1);
  if (t.size() != 21) return 0;
  const char sep = t[8];
  if (sep != ' ' && sep != '-' && sep != '.' && sep != ':') return 0;
  for (size_t i = 0; i < t.size(); ++i) {
    if (i == 8) continue;
    if (!is_hex(t[i])) return 0;
  }
  const std::string digits = t.substr(0, 8) + t.substr(9);
  for (int i = 0; i < 10; ++i)
    address_buffer[i] = static_cast<unsigned char>(hex_value(digits[2 * i]) * 16 + hex_value(digits[2 * i + 1]));
  return 1;
}

void IpxAddress::format_output() {
  const unsigned char* b = address_buffer;
  if (valid_flag)
    std::snprintf(ipx_text, sizeof ipx_text, "%02x%02x%02x%02x%c%02x%02x%02x%02x%02x%02x", b[0], b[1], b[2], b[3], '-',
                  b[4], b[5], b[6], b[7], b[8], b[9]);
  else
    ipx_text[0] = 0;
}

// ---- IpxSockAddress ----------------------------------------------------------

IpxSockAddress::IpxSockAddress() : ipxsock_text() {
  smival.syntax = sNMP_SYNTAX_OCTETS;
  set_length(12);
}

IpxSockAddress::IpxSockAddress(const char* text) : IpxSockAddress() {
  valid_flag = parse_address(text);
  format_output();
}

IpxSockAddress::IpxSockAddress(const IpxSockAddress& other) : IpxSockAddress() { *this = other; }

IpxSockAddress::IpxSockAddress(const IpxAddress& ipx) : IpxSockAddress() {
  valid_flag = ipx.valid();
  std::memcpy(address_buffer, ipx.get_smival().value.string.ptr, 10);
  format_output();
}

IpxSockAddress::IpxSockAddress(const GenAddress& other) : IpxSockAddress() {
  const addr_type t = other.get_type();
  if (t == type_ipx || t == type_ipxsock) {
    valid_flag = other.valid();
    std::memcpy(address_buffer, other.get_smival().value.string.ptr, t == type_ipxsock ? 12 : 10);
  }
  format_output();
}

SnmpSyntax* IpxSockAddress::clone() const { return new (std::nothrow) IpxSockAddress(*this); }

IpxSockAddress& IpxSockAddress::operator=(const IpxSockAddress& other) {
  if (this == &other) return *this;
  valid_flag = other.valid_flag;
  std::memcpy(address_buffer, other.address_buffer, 12);
  std::memcpy(ipx_text, other.ipx_text, sizeof ipx_text);
  std::memcpy(ipxsock_text, other.ipxsock_text, sizeof ipxsock_text);
  return *this;
}

SnmpSyntax& IpxSockAddress::operator=(const SnmpSyntax& other) {
  if (this == &other) return *this;
  valid_flag = 0;
  if (other.valid() && other.get_syntax() == sNMP_SYNTAX_OCTETS) {
    IpxSockAddress parsed(other.get_printable());
    if (parsed.valid())
      *this = parsed;
    else if (const SmiOCTETS* s = octets_of(other, sNMP_SYNTAX_OCTETS, 12)) {
      std::memcpy(address_buffer, s->ptr, 12);
      valid_flag = 1;
    }
  }
  format_output();
  return *this;
}

void IpxSockAddress::set_socket(unsigned short socket) {
  address_buffer[10] = static_cast<unsigned char>(socket >> 8);
  address_buffer[11] = static_cast<unsigned char>(socket);
  // Rebuilt here so that the text never shows a stale socket.
  format_output();
}

unsigned short IpxSockAddress::get_socket() const {
  return valid_flag ? static_cast<unsigned short>((address_buffer[10] << 8) | address_buffer[11]) : 0;
}

int IpxSockAddress::parse_address(const char* text) {
  if (!text || std::strlen(text) >= 80) return 0;
  std::string ipx(text);
  unsigned short socket = 0;
  const size_t slash = ipx.find('/');
  if (slash != std::string::npos) {
    socket = read_port(text + slash + 1);
    ipx.resize(slash);
  }
  address_buffer[10] = static_cast<unsigned char>(socket >> 8);
  address_buffer[11] = static_cast<unsigned char>(socket);
  return IpxAddress::parse_address(ipx.c_str());
}

void IpxSockAddress::format_output() {
  IpxAddress::format_output();
  if (valid_flag)
    std::snprintf(ipxsock_text, sizeof ipxsock_text, "%s/%d", ipx_text, (address_buffer[10] << 8) | address_buffer[11]);
  else
    ipxsock_text[0] = 0;
}

// ---- GenAddress --------------------------------------------------------------

namespace {

// The kinds a text may name, in order of preference; a socket or port of 0
// means the text named none, so a plainer kind gets its turn.
Address* parse_as(int kind, const char* text) {
  Address* trial = nullptr;
  bool accepted = false;
  switch (kind) {
    case 0: {
      IpxSockAddress* a = new (std::nothrow) IpxSockAddress(text);
      accepted = a && a->valid() && a->get_socket() != 0;
      trial = a;
      break;
    }
    case 2: {
      UdpAddress* a = new (std::nothrow) UdpAddress(text);
      accepted = a && a->valid() && a->get_port() != 0;
      trial = a;
      break;
    }
    case 1: trial = new (std::nothrow) IpxAddress(text); break;
    case 3: trial = new (std::nothrow) IpAddress(text); break;
    default: trial = new (std::nothrow) MacAddress(text); break;
  }
  if (kind == 1 || kind == 3 || kind == 4) accepted = trial && trial->valid();
  if (accepted) return trial;
  delete trial;
  return nullptr;
}

}  // namespace

GenAddress::GenAddress() { format_output(); }

GenAddress::GenAddress(const char* text) : GenAddress() {
  parse_address(text);
  format_output();
}

GenAddress::GenAddress(const Address& other) : GenAddress() {
  // A holder given as a plain Address hands over what it holds.
  const Address* source = &other;
  if (const GenAddress* gen = dynamic_cast<const GenAddress*>(&other)) source = gen->held;
  if (source && source->valid()) hold(static_cast<Address*>(source->clone()));
}

GenAddress::GenAddress(const GenAddress& other) : GenAddress() {
  if (other.held) hold(static_cast<Address*>(other.held->clone()));
}

GenAddress::~GenAddress() { delete held; }

void GenAddress::hold(Address* address) {
  if (address != held) delete held;
  held = address;
  format_output();
}

SnmpSyntax* GenAddress::clone() const { return new (std::nothrow) GenAddress(*this); }

GenAddress& GenAddress::operator=(const GenAddress& other) {
  if (this == &other) return *this;
  hold(other.held ? static_cast<Address*>(other.held->clone()) : nullptr);
  return *this;
}

SnmpSyntax& GenAddress::operator=(const SnmpSyntax& other) {
  if (this == &other) return *this;
  const SnmpSyntax* source = &other;
  if (const GenAddress* gen = dynamic_cast<const GenAddress*>(&other)) {
    if (!gen->held) {
      hold(nullptr);
      return *this;
    }
    source = gen->held;
  }
  Address* fresh = nullptr;
  if (source->valid() && source->get_syntax() == sNMP_SYNTAX_OCTETS) {
    switch (source->get_smival().value.string.len) {
      case 6: fresh = new (std::nothrow) UdpAddress(); break;
      case 4: fresh = new (std::nothrow) IpAddress(); break;
      case 10: fresh = new (std::nothrow) IpxAddress(); break;
      case 12: fresh = new (std::nothrow) IpxSockAddress(); break;
      default: break;
    }
    if (fresh) *fresh = *source;
  } else if (source->valid() && source->get_syntax() == sNMP_SYNTAX_IPADDR) {
    fresh = static_cast<Address*>(source->clone());
  }
  hold(fresh);
  return *this;
}

const char* GenAddress::get_printable() const { return held ? held->get_printable() : ""; }

SmiUINT32 GenAddress::get_syntax() const { return held ? held->get_syntax() : sNMP_SYNTAX_NULL; }

addr_type GenAddress::get_type() const { return valid_flag ? held->get_type() : type_invalid; }

int GenAddress::parse_address(const char* text) {
  hold(nullptr);
  if (!text) return 0;
  for (int kind = 0; kind < 5; ++kind) {
    if (Address* trial = parse_as(kind, text)) {
      hold(trial);
      return 1;
    }
  }
  return 0;
}

void GenAddress::format_output() {
  valid_flag = held ? held->valid() : 0;
  smival.syntax = held ? held->get_syntax() : sNMP_SYNTAX_NULL;
  const SmiOCTETS* s = held ? &held->get_smival().value.string : nullptr;
  const SmiUINT32 length = s && s->len <= ADDRBUF ? s->len : 0;
  std::memset(address_buffer, 0, ADDRBUF);
  if (length) std::memcpy(address_buffer, s->ptr, length);
  set_length(length);
}
