// apsim: simulated RIZ-4410 access points speaking QUAV and SNMP v1/v2c.
//
//   apsim SCENARIO [--duration SECONDS] [--quiet] [--time-scale N] [--state FILE]
//         [--loss PERCENT | --loss-answers PERCENT [--seed N]]
//
// One process simulates every device of the scenario file. Requests arrive as
// broadcasts on UDP port 64512; each device answers from its own address and
// port 64512. Devices that announce send announcements to port 55000.
// A Set of "System Reboot" (or an SNMP deviceRestart) makes the device silent
// for "reboot_ms" and then come back with the address settings it was given.
//
// While its QUAV "SNMP Status" is 1 and it is not rebooting, a device answers
// SNMP v1 and v2c on <its IP>:161 with the communities QUAV set; the private
// objects live under 1.3.6.1.4.1.32473.10.37.40 (the table kMib below).
// Writing the group objects over SNMP drives the announcements: group status 1
// with a non-empty group name starts them, status 0 stops them.
//
// Scenario file: one [device] section per device, "key = value" lines:
//   mac, model, firmware, ip, netmask, gateway, location, password (also the
//   SNMP usersPassword; empty by default: no password is asked),
//   snmp_status, read_community, write_community,
//   group_full, role, discover_number, cfg_version, group_name, group_status,
//   group_password, original_role,
//   announce (0/1), announce_ms, reboot_ms, rebooting (0/1),
//   staged_ip, staged_netmask, staged_gateway (taken at the next reboot),
//   any SNMP object by its MIB name (dot11ApMode = 3; table rows as
//   dot11WepKey.2),
//   faults: a comma list of no_answer, no_answer=reboot, no_answer=setip,
//           password_error, wrong_mac, bad_length, duplicate, garbage,
//           delay=MS, status=N, drop_answers=N, snmp_silent,
//           snmp_error=NAME:STATUS, other_ip=ADDRESS
//     no_answer=setip: a Set of the address takes effect at once, with a
//     reboot, and is never answered; drop_answers=N: the first N answers to
//     Get and Set requests are lost (Discover answers still go out);
//     other_ip=ADDRESS: a Set of the address takes ADDRESS instead of the
//     one asked for.
// Lines starting with '#' or ';' are comments. An unknown key, MIB name or
// fault stops apsim with the line's number.
//
// --time-scale N: durations of the scenario are device time, which passes N
// times faster (for a program whose clock runs N times faster).
// --loss PERCENT: every datagram apsim receives or sends (QUAV and SNMP, every
// device) is lost with this chance, drawn from a generator seeded with
// --seed N (default 1), so that a run can be repeated; each loss is logged.
// --loss-answers PERCENT: the same for the datagrams apsim sends only (what
// the program receives).
// --state FILE: after every change the devices are written to FILE (written
// aside, then renamed) as a scenario that starts them again as they are.
//
// Each event is printed on standard output as one line, for tests and people.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "AgentMessage.h"

namespace {

using namespace apsim;

constexpr uint16_t kRequestPort = 64512;
constexpr uint16_t kAnnouncePort = 55000;
constexpr uint8_t kMagic[4] = {0x09, 0x2B, 0x13, 0x38};
constexpr size_t kHeaderSize = 36;
constexpr uint8_t kListenMask = 0xB3;

enum Command : uint8_t { kDiscover = 1, kSet = 3, kGet = 5, kAnnounce = 7 };
enum Status : uint8_t { kDone = 0, kPasswordError = 1, kNotDone = 2, kBadCommand = 3 };

using Clock = std::chrono::steady_clock;

bool g_quiet = false;
volatile sig_atomic_t g_stop = 0;
double g_time_scale = 1;
std::string g_state_path;

// The loss knob: one draw per datagram, in the order apsim handles them.
double g_loss_in = 0, g_loss_out = 0;  // percent of what apsim receives, and sends
std::mt19937 g_loss_random(1);
bool Lost(const char* what, const std::string& mac, bool sent = true) {
  const double percent = sent ? g_loss_out : g_loss_in;
  if (percent <= 0) return false;
  if (std::uniform_real_distribution<double>(0, 100)(g_loss_random) >= percent) return false;
  if (!g_quiet) {
    printf("lose %s %s\n", what, mac.c_str());  // as Log, which comes below
    fflush(stdout);
  }
  return true;
}

// Scenario durations are device time; --time-scale makes it pass faster.
Clock::duration DeviceTime(int ms) {
  return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(ms / g_time_scale));
}

void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Log(const char* format, ...) {
  if (g_quiet) return;
  va_list args;
  va_start(args, format);
  vprintf(format, args);
  va_end(args);
  printf("\n");
  fflush(stdout);
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

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

void PutBE(Bytes& out, uint64_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

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

// --- devices ------------------------------------------------------------------

struct Variable {
  uint8_t id;
  const char* selector;  // upper-case hex, two digits a byte
  uint8_t type;
  const char* key;       // scenario key holding its value
  bool writable;
};

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

const Variable* FindVariable(uint8_t id, const std::string& selector) {
  for (const Variable& v : kVariables)
    if (v.id == id && selector == v.selector) return &v;
  return nullptr;
}

// The variables a device puts in a Discover answer and in an announcement.
const char* const kDiscoverKeys[] = {"model", "firmware", "mac", "ip", "netmask", "location", "snmp_status"};
const char* const kAnnounceKeys[] = {"model", "firmware", "mac", "ip", "netmask", "location",
                                     "group_full", "role", "discover_number", "cfg_version", "group_name",
                                     "group_status", "group_password", "original_role", "snmp_status"};

struct Faults {
  bool no_answer = false, password_error = false, wrong_mac = false, bad_length = false;
  bool duplicate = false, garbage = false;
  bool no_answer_reboot = false;  // takes a reboot command and reboots without answering
  bool no_answer_setip = false;   // takes a new address at once, reboots, answers nothing
  int drop_answers = 0;           // answers to Get and Set still to lose
  std::string other_ip;           // taken instead of an address that is set
  bool snmp_silent = false;
  std::string snmp_error_name;  // a PDU naming this object gets snmp_error_status
  int snmp_error_status = 0;
  int delay_ms = 0;
  int status = -1;
  std::string text;  // as written, for the state file
};

// --- the private MIB ------------------------------------------------------------

struct MibObject {
  std::string name;
  Oid oid;
  char syntax;  // 'i' integer, 'a' ipaddress, 's' display string
  bool writable;
  std::vector<int> options;  // allowed integer values; empty: any
  std::string initial;
  std::string key;  // the device value it lives in (usually its name)
};

Oid ParseOid(const std::string& text) {
  Oid oid;
  std::stringstream in(text);
  std::string arc;
  while (std::getline(in, arc, '.')) oid.push_back(static_cast<uint32_t>(std::stoul(arc)));
  return oid;
}


// What the device offers over SNMP, in OID order (GetNext walks it).
const std::vector<MibObject>& Mib() {
  static const std::vector<MibObject> mib = [] {
    const std::string p = "1.3.6.1.4.1.32473.10.37.40.";
    const std::string wlan = "2.1.3.3.1.1.1.", sec = "2.1.3.3.2.1.1.";
    const std::vector<int> off_on = {0, 1};
    std::vector<MibObject> m;
    auto add = [&](const std::string& name, const std::string& suffix, char syntax, bool writable,
                   std::vector<int> options, const std::string& initial, const std::string& key = "") {
      m.push_back({name, ParseOid(p + suffix), syntax, writable, std::move(options), initial, key.empty() ? name : key});
    };
    // Lists of item type 0 reach these with ".0" appended.
    add("dot11APTrevakStatus", "3.11.1.1.1.0", 'i', true, off_on, "0");
    add("dot11APTrevakModeSelect", "3.11.1.1.2.0", 'i', true, {1, 2, 3}, "1");
    add("dot11ApTrevakName", "3.11.1.1.3.0", 's', true, {}, "");
    add("dot11ApTrevakPassword", "3.11.1.1.4.0", 's', true, {}, "");
    add("dot11APTrevakVersion", "3.11.1.1.5.0", 'i', true, {}, "0");
    add("deviceSettingApply", "4.2.3.0", 'i', true, off_on, "0");
    add("deviceRestart", "4.2.1.0", 'i', true, off_on, "0");
    add("dot11ApMode", wlan + "28.1", 'i', true, {1, 2, 3, 4, 5}, "1");
    add("dot11APTrevakSyncSSIDStatus", "3.11.3.1.1.2.1", 'i', true, off_on, "0");
    add("dot11APTrevakSyncSsidHiddenStatus", "3.11.3.1.1.3.1", 'i', true, off_on, "0");
    add("dot11APTrevakSyncAutoChannelStatus", "3.11.3.1.1.4.1", 'i', true, off_on, "0");
    add("dot11APTrevakSyncSecurityStatus", "3.11.3.1.1.6.1", 'i', true, off_on, "0");
    add("dot11APTrevakSyncLoginStatus", "3.11.3.1.1.32.1", 'i', true, off_on, "0");
    add("usersName", "4.1.1.1.2.1", 's', true, {}, "admin");
    add("usersPassword", "4.1.1.1.3.1", 's', true, {}, "", "password");
    add("dot11Ssid", wlan + "1.1", 's', true, {}, "RIZ-4410");
    add("dot11Channel", wlan + "3.1", 'i', true, {}, "6");
    add("dot11ChannelList", wlan + "4.1", 's', false, {}, "1 2 3 4 5 6 7 8 9 10 11");
    add("dot11AutoChannelScan", wlan + "24.1", 'i', true, off_on, "1");
    add("dot11Band", wlan + "34.1", 'i', true, off_on, "0");
    add("dot11Band5GHzChannelList", wlan + "37.1", 's', false, {}, "36 40 44 48");
    add("dot11Country", wlan + "39.1", 's', true, {}, "US");
    add("dot11Mssid", "3.3.1.1.1.1", 'i', true, off_on, "0");
    add("dot11Authentication", sec + "1.1", 'i', true, {1, 2, 4, 5, 6, 7, 8, 9, 10}, "1");
    add("dot11Encryption", sec + "2.1", 'i', true, off_on, "0");
    add("dot11KeyIndex", sec + "3.1", 'i', true, {1, 2, 3, 4}, "1");
    add("dot11PassPhrase", sec + "4.1", 's', true, {}, "");
    add("dot11CipherType", sec + "5.1", 'i', true, {1, 2, 3}, "1");
    add("dot11GroupKeyUpdateInterval", sec + "6.1", 'i', true, {}, "3600");
    add("dot11PrimaryRadiusServer", sec + "8.1", 'a', true, {}, "0.0.0.0");
    add("dot11PrimaryRadiusPort", sec + "9.1", 'i', true, {}, "1812");
    add("dot11PrimaryRadiusSecret", sec + "10.1", 's', true, {}, "");
    add("dot11SecondaryRadiusServer", sec + "11.1", 'a', true, {}, "0.0.0.0");
    add("dot11SecondaryRadiusPort", sec + "12.1", 'i', true, {}, "1812");
    add("dot11SecondaryRadiusSecret", sec + "13.1", 's', true, {}, "");
    add("dot11PrimaryAccountingStatus", sec + "14.1", 'i', true, off_on, "0");
    add("dot11PrimaryAccountingServer", sec + "15.1", 'a', true, {}, "0.0.0.0");
    add("dot11PrimaryAccountingServerPort", sec + "16.1", 'i', true, {}, "1813");
    add("dot11PrimaryAccountingPassPhrase", sec + "17.1", 's', true, {}, "");
    add("dot11SecondaryAccountingServer", sec + "19.1", 'a', true, {}, "0.0.0.0");
    add("dot11SecondaryAccountingServerPort", sec + "20.1", 'i', true, {}, "1813");
    add("dot11SecondaryAccountingPassPhrase", sec + "21.1", 's', true, {}, "");
    add("dot11NetworkAccessProtection", sec + "22.1", 'i', true, off_on, "0");
    add("dot11RadiusSource", sec + "23.1", 'i', true, {1, 2}, "1");
    add("dot11RadiusKeyUpdateInterval", sec + "24.1", 'i', true, {}, "0");
    add("dot11AutoRekeyControl", sec + "29.1", 'i', true, off_on, "0");
    add("dot11AutoRekeyStartWeek", sec + "30.1", 'i', true, {0, 1, 2, 3, 4, 5, 6}, "0");
    add("dot11AutoRekeyStartTime", sec + "31.1", 's', true, {}, "00:00");
    add("dot11AutoRekeyTimeInterval", sec + "32.1", 'i', true, {}, "0");
    add("dot11AutoRekeyPassPhrase", sec + "33.1", 's', false, {}, "");
    for (int k = 1; k <= 4; ++k) {
      std::string row = "." + std::to_string(k);
      add("dot11WepKeyEntryMethod" + row, "2.1.3.3.2.2.1.2.1" + row, 'i', true, {1, 2}, "1");
      add("dot11WepKey" + row, "2.1.3.3.2.2.1.3.1" + row, 's', true, {}, "");
    }
    std::sort(m.begin(), m.end(), [](const MibObject& a, const MibObject& b) { return a.oid < b.oid; });
    return m;
  }();
  return mib;
}

const MibObject* MibByName(const std::string& name) {
  for (const MibObject& o : Mib())
    if (o.name == name) return &o;
  return nullptr;
}

const MibObject* MibByOid(const Oid& oid) {
  for (const MibObject& o : Mib())
    if (o.oid == oid) return &o;
  return nullptr;
}

// Whether a text is a value the object takes; what a scenario line and an
// SNMP Set are both checked against.
bool MibValueFits(const MibObject& o, const std::string& text) {
  if (o.syntax == 'a') {
    in_addr a{};
    return inet_pton(AF_INET, text.c_str(), &a) == 1;
  }
  if (o.syntax == 's') return text.size() <= 255;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end || errno || v < INT32_MIN || v > INT32_MAX) return false;
  return o.options.empty() || std::find(o.options.begin(), o.options.end(), v) != o.options.end();
}

struct Device {
  std::map<std::string, std::string> values;
  std::map<std::string, std::string> staged;  // address settings that take effect at reboot
  Faults faults;
  Bytes mac;
  int socket = -1;
  int snmp_socket = -1;
  bool announce = false;
  int announce_ms = 1000;
  int reboot_ms = 2000;
  Clock::time_point next_announce = Clock::now();
  std::optional<Clock::time_point> back_at;  // silent until then

  std::string Get(const std::string& key) const {
    auto it = values.find(key);
    return it == values.end() ? "" : it->second;
  }
  // Silent until Tick has brought it back with its staged address: a request
  // that comes in between must not be answered from the old one.
  bool Silent(Clock::time_point) const { return back_at.has_value(); }
};

struct Pending {
  Clock::time_point when;
  Device* device;
  Bytes datagram;
  sockaddr_in to;
};

bool BindDeviceSocket(Device& d) {
  if (d.socket >= 0) close(d.socket);
  d.socket = socket(AF_INET, SOCK_DGRAM, 0);
  int one = 1;
  setsockopt(d.socket, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  setsockopt(d.socket, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(kRequestPort);
  if (inet_pton(AF_INET, d.Get("ip").c_str(), &addr.sin_addr) != 1 ||
      bind(d.socket, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    fprintf(stderr, "apsim: cannot bind %s:%u: %s\n", d.Get("ip").c_str(), kRequestPort, strerror(errno));
    return false;
  }
  return true;
}

// The agent's socket; a device whose address is not local stays unreachable
// over SNMP, as it would on a real network.
void BindSnmpSocket(Device& d) {
  if (d.snmp_socket >= 0) close(d.snmp_socket);
  d.snmp_socket = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(161);
  if (inet_pton(AF_INET, d.Get("ip").c_str(), &addr.sin_addr) != 1 ||
      bind(d.snmp_socket, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    Log("snmp %s cannot bind %s:161: %s", d.Get("mac").c_str(), d.Get("ip").c_str(), strerror(errno));
    close(d.snmp_socket);
    d.snmp_socket = -1;
  }
}

// Nullopt (with the reason) for a fault apsim does not know.
std::optional<Faults> ParseFaults(const std::string& text, std::string* error) {
  Faults f;
  f.text = text;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    item = Trim(item);
    if (item == "no_answer") f.no_answer = true;
    else if (item == "no_answer=reboot") f.no_answer_reboot = true;
    else if (item == "no_answer=setip") f.no_answer_setip = true;
    else if (item.rfind("drop_answers=", 0) == 0) f.drop_answers = std::atoi(item.c_str() + 13);
    else if (item.rfind("other_ip=", 0) == 0) f.other_ip = item.substr(9);
    else if (item == "snmp_silent") f.snmp_silent = true;
    else if (item.rfind("snmp_error=", 0) == 0) {
      std::string fault = item.substr(11);
      size_t colon = fault.find(':');
      f.snmp_error_name = fault.substr(0, colon);
      f.snmp_error_status = colon == std::string::npos ? 0 : std::atoi(fault.c_str() + colon + 1);
      if (!MibByName(f.snmp_error_name) || f.snmp_error_status <= 0 || f.snmp_error_status > 18) {
        *error = "bad fault '" + item + "' (snmp_error=MIB-NAME:STATUS)";
        return std::nullopt;
      }
    }
    else if (item == "password_error") f.password_error = true;
    else if (item == "wrong_mac") f.wrong_mac = true;
    else if (item == "bad_length") f.bad_length = true;
    else if (item == "duplicate") f.duplicate = true;
    else if (item == "garbage") f.garbage = true;
    else if (item.rfind("delay=", 0) == 0) f.delay_ms = std::atoi(item.c_str() + 6);
    else if (item.rfind("status=", 0) == 0) f.status = std::atoi(item.c_str() + 7);
    else if (!item.empty()) {
      *error = "unknown fault '" + item + "'";
      return std::nullopt;
    }
  }
  return f;
}

// The keys a [device] section may give besides MIB names.
const char* const kValueKeys[] = {"mac", "model", "firmware", "ip", "netmask", "gateway", "location", "password",
                                  "snmp_status", "read_community", "write_community", "group_full", "role",
                                  "discover_number", "cfg_version", "group_name", "group_status",
                                  "group_password", "original_role"};
const char* const kStagedKeys[] = {"ip", "netmask", "gateway"};

bool LoadScenario(const char* path, std::vector<Device>& devices) {
  std::ifstream in(path);
  if (!in) {
    fprintf(stderr, "apsim: cannot read %s\n", path);
    return false;
  }
  std::string line;
  Device* current = nullptr;
  int number = 0;
  auto fail = [&](const std::string& why) {
    fprintf(stderr, "apsim: %s:%d: %s: '%s'\n", path, number, why.c_str(), line.c_str());
    return false;
  };
  std::vector<bool> rebooting;
  while (std::getline(in, line)) {
    ++number;
    line = Trim(line);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    if (line == "[device]") {
      devices.emplace_back();
      rebooting.push_back(false);
      current = &devices.back();
      current->values = {{"model", "RIZ-4410"}, {"firmware", "1.0.0"}, {"netmask", "255.255.255.0"},
                         {"gateway", "0.0.0.0"}, {"snmp_status", "0"}, {"read_community", "public"},
                         {"write_community", "private"}, {"password", ""}};
      for (const MibObject& o : Mib())
        if (o.key == o.name) current->values[o.name] = o.initial;
      continue;
    }
    size_t eq = line.find('=');
    if (!current || eq == std::string::npos) return fail("cannot read line");
    std::string key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
    const MibObject* object = MibByName(key);
    std::string error;
    if (key == "faults") {
      auto faults = ParseFaults(value, &error);
      if (!faults) return fail(error);
      current->faults = *faults;
    } else if (key == "announce") {
      current->announce = value == "1";
    } else if (key == "rebooting") {
      rebooting.back() = value == "1";
    } else if (key == "announce_ms") {
      current->announce_ms = std::max(10, std::atoi(value.c_str()));
    } else if (key == "reboot_ms") {
      current->reboot_ms = std::max(0, std::atoi(value.c_str()));
    } else if (key.rfind("staged_", 0) == 0 &&
               std::find_if(std::begin(kStagedKeys), std::end(kStagedKeys),
                            [&](const char* k) { return key.substr(7) == k; }) != std::end(kStagedKeys)) {
      current->staged[key.substr(7)] = value;
    } else if (object) {
      if (!MibValueFits(*object, value)) return fail("value not taken by " + key);
      current->values[object->key] = value;
    } else if (std::find_if(std::begin(kValueKeys), std::end(kValueKeys),
                            [&](const char* k) { return key == k; }) != std::end(kValueKeys)) {
      current->values[key] = value;
    } else {
      return fail("unknown key '" + key + "'");
    }
  }
  for (size_t i = 0; i < devices.size(); ++i) {
    Device& d = devices[i];
    auto mac = ParseHex(d.Get("mac"));
    if (!mac || mac->size() != 6) {
      fprintf(stderr, "apsim: device with bad mac '%s'\n", d.Get("mac").c_str());
      return false;
    }
    d.mac = *mac;
    d.values["mac"] = Hex(d.mac.data(), 6);
    if (rebooting[i]) d.back_at = Clock::now() + DeviceTime(d.reboot_ms);
  }
  return !devices.empty();
}

// Writes every device as a scenario, aside first so that a reader never sees
// half a file.
void WriteState(const std::vector<Device>& devices) {
  if (g_state_path.empty()) return;
  std::string aside = g_state_path + ".new";
  {
    std::ofstream out(aside, std::ios::trunc);
    Clock::time_point now = Clock::now();
    for (const Device& d : devices) {
      out << "[device]\n";
      for (const auto& [key, value] : d.values) out << key << " = " << value << "\n";
      for (const auto& [key, value] : d.staged) out << "staged_" << key << " = " << value << "\n";
      out << "rebooting = " << (d.Silent(now) ? 1 : 0) << "\n";
      out << "announce = " << (d.announce ? 1 : 0) << "\n";
      out << "announce_ms = " << d.announce_ms << "\n";
      out << "reboot_ms = " << d.reboot_ms << "\n";
      if (!d.faults.text.empty()) out << "faults = " << d.faults.text << "\n";
      out << "\n";
    }
  }
  if (rename(aside.c_str(), g_state_path.c_str()) != 0)
    fprintf(stderr, "apsim: cannot write %s: %s\n", g_state_path.c_str(), strerror(errno));
}

// --- datagrams ----------------------------------------------------------------

struct Item {
  uint8_t id;
  std::string selector;  // upper-case hex
  Bytes value;
};

struct Request {
  uint8_t command, sequence;
  bool authenticated;
  Bytes mac;
  std::vector<Item> items;
};

// Parses a request; nullopt for anything malformed (a real device drops it).
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

const Variable* VariableByKey(const char* key) {
  for (const Variable& v : kVariables)
    if (std::strcmp(v.key, key) == 0) return &v;
  return nullptr;
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

uint8_t MibTag(const MibObject& o) { return o.syntax == 'i' ? kInteger : o.syntax == 'a' ? kIpAddress : kOctets; }

VarBind MibBind(const MibObject& o, const std::string& text) {
  VarBind vb;
  vb.oid = o.oid;
  vb.tag = MibTag(o);
  if (o.syntax == 'i') vb.value = IntegerContent(std::strtoll(text.c_str(), nullptr, 10));
  else if (o.syntax == 'a') vb.value = EncodeValue(13, text);
  else vb.value.assign(text.begin(), text.end());
  return vb;
}

// The text a Set's value stands for, or nullopt when its type is not the object's.
std::optional<std::string> BindText(const MibObject& o, const VarBind& vb) {
  if (vb.tag != MibTag(o)) return std::nullopt;
  if (o.syntax == 'a') return vb.value.size() == 4 ? DecodeValue(13, vb.value) : "";
  if (o.syntax == 's') return std::string(vb.value.begin(), vb.value.end());
  auto v = DecodeInteger(vb.value);
  return v ? std::to_string(*v) : std::string();  // no integer of 32 bits: a value no object takes
}

class Simulator {
 public:
  explicit Simulator(std::vector<Device>& devices) : devices_(devices) {}

  bool Open() {
    listen_ = socket(AF_INET, SOCK_DGRAM, 0);
    int one = 1;
    setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(kRequestPort);
    if (bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
      fprintf(stderr, "apsim: cannot bind port %u: %s\n", kRequestPort, strerror(errno));
      return false;
    }
    for (Device& d : devices_) {
      if (!BindDeviceSocket(d)) return false;
      BindSnmpSocket(d);
    }
    WriteState(devices_);
    for (const Device& d : devices_) Log("device %s %s at %s", d.Get("mac").c_str(), d.Get("model").c_str(), d.Get("ip").c_str());
    Log("ready");
    return true;
  }

  void Run(double duration_s) {
    Clock::time_point end = Clock::now() + std::chrono::milliseconds(static_cast<int64_t>(duration_s * 1000));
    while (!g_stop && (duration_s <= 0 || Clock::now() < end)) {
      Clock::time_point now = Clock::now();
      Tick(now);
      std::vector<pollfd> fds{{listen_, POLLIN, 0}};
      for (const Device& d : devices_) fds.push_back({d.snmp_socket, POLLIN, 0});
      if (poll(fds.data(), fds.size(), 10) <= 0) continue;
      if (fds[0].revents & POLLIN) Receive();
      for (size_t i = 0; i < devices_.size(); ++i)
        if ((fds[i + 1].revents & POLLIN) && devices_[i].snmp_socket == fds[i + 1].fd) ReceiveSnmp(devices_[i]);
    }
  }

 private:
  void Tick(Clock::time_point now) {
    for (Device& d : devices_) {
      if (d.back_at && now >= *d.back_at) {
        d.back_at.reset();
        for (auto& [key, value] : d.staged) d.values[key] = value;
        d.staged.clear();
        BindDeviceSocket(d);
        BindSnmpSocket(d);
        // The state is on disk before the line that says so, for whoever
        // waits on the log and then reads the state.
        WriteState(devices_);
        Log("back %s at %s", d.Get("mac").c_str(), d.Get("ip").c_str());
      }
      if (d.announce && !d.Silent(now) && now >= d.next_announce) {
        Announce(d);
        d.next_announce = now + DeviceTime(d.announce_ms);
      }
    }
    for (size_t i = 0; i < pending_.size();) {
      if (pending_[i].when <= now) {
        Pending p = pending_[i];
        pending_.erase(pending_.begin() + static_cast<long>(i));
        Send(*p.device, p.datagram, p.to);
      } else {
        ++i;
      }
    }
  }

  void Announce(Device& d) {
    Bytes out = Header(kAnnounce, 0, kDone, d.mac);
    for (const char* key : kAnnounceKeys) {
      const Variable* v = VariableByKey(key);
      PutItem(out, *v, EncodeValue(v->type, d.Get(key)), true);
    }
    FinishLength(out);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(kAnnouncePort);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    if (Lost("announcement", d.Get("mac"))) return;
    sendto(d.socket, out.data(), out.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
  }

  void Receive() {
    uint8_t buffer[65536];
    sockaddr_in from{};
    socklen_t from_length = sizeof from;
    ssize_t n = recvfrom(listen_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &from_length);
    if (n <= 0 || Lost("request", "", false)) return;
    auto request = ParseRequest(buffer, static_cast<size_t>(n));
    if (!request) {
      Log("drop malformed datagram of %zd bytes", n);
      return;
    }
    Clock::time_point now = Clock::now();
    bool broadcast = std::all_of(request->mac.begin(), request->mac.end(), [](uint8_t b) { return b == 0xFF; });
    for (Device& d : devices_) {
      if (!broadcast && request->mac != d.mac) continue;
      if (d.Silent(now)) {
        Log("silent %s (rebooting)", d.Get("mac").c_str());
        continue;
      }
      Answer(d, *request, buffer, static_cast<size_t>(n), from);
    }
  }

  void Answer(Device& d, const Request& r, const uint8_t* raw, size_t raw_length, const sockaddr_in& from) {
    const std::string mac = d.Get("mac");
    if (d.faults.no_answer) {
      Log("ignore command %u seq %u at %s", r.command, r.sequence, mac.c_str());
      return;
    }
    uint8_t status = kDone;
    Bytes body;
    switch (r.command) {
      case kDiscover: {
        // Devices already heard are listed in the request; they stay quiet.
        for (const Item& item : r.items)
          if (item.id == 1 && item.selector == "0007" && item.value == d.mac) {
            Log("discover seq %u: %s already known", r.sequence, mac.c_str());
            return;
          }
        for (const char* key : kDiscoverKeys) {
          const Variable* v = VariableByKey(key);
          PutItem(body, *v, EncodeValue(v->type, d.Get(key)), false);
        }
        Log("discover seq %u: answer %s", r.sequence, mac.c_str());
        break;
      }
      case kGet:
        if (!Authenticated(d, r, raw, raw_length)) {
          status = kPasswordError;
          break;
        }
        for (const Item& item : r.items) {
          const Variable* v = FindVariable(item.id, item.selector);
          if (!v) continue;
          PutItem(body, *v, EncodeValue(v->type, d.Get(v->key)), false);
        }
        Log("get seq %u at %s: %zu items", r.sequence, mac.c_str(), r.items.size());
        break;
      case kSet:
        if (!Authenticated(d, r, raw, raw_length)) {
          status = kPasswordError;
          break;
        }
        status = ApplySet(d, r);
        if (d.faults.no_answer_setip && !d.staged.empty()) {
          for (auto& [key, value] : d.staged) d.values[key] = value;
          d.staged.clear();
          Reboot(d);
          WriteState(devices_);
          Log("ignore set-ip seq %u at %s (took it, rebooting)", r.sequence, mac.c_str());
          return;
        }
        WriteState(devices_);
        if (d.faults.no_answer_reboot && d.back_at) {
          Log("ignore command %u seq %u at %s (rebooting)", r.command, r.sequence, mac.c_str());
          return;
        }
        break;
      default:
        status = kBadCommand;
        break;
    }
    if (d.faults.password_error) status = kPasswordError;
    if (d.faults.status >= 0) status = static_cast<uint8_t>(d.faults.status);
    if (status != kDone) {
      body.clear();
      Log("status %u to command %u seq %u at %s", status, r.command, r.sequence, mac.c_str());
    }

    if (r.command != kDiscover && d.faults.drop_answers > 0) {
      --d.faults.drop_answers;
      Log("drop answer to command %u seq %u at %s", r.command, r.sequence, mac.c_str());
      return;
    }
    Bytes answer_mac = d.mac;
    if (d.faults.wrong_mac) answer_mac[5] ^= 0x01;
    Bytes out = Header(r.command, r.sequence, status, answer_mac);
    out.insert(out.end(), body.begin(), body.end());
    FinishLength(out);
    if (d.faults.bad_length) out[7] = static_cast<uint8_t>(out[7] + 1);
    if (d.faults.garbage) {
      for (size_t i = kHeaderSize; i < out.size(); ++i) out[i] = static_cast<uint8_t>(rand());
      if (out.size() > kHeaderSize) out[kHeaderSize] = 0xFF;  // selector length beyond the item
    }
    Schedule(d, out, from);
    if (d.faults.duplicate) Schedule(d, out, from);
  }

  // A device with a password takes only requests signed with it (HMAC-MD5);
  // a factory-fresh one, without a password, takes any.
  static bool Authenticated(const Device& d, const Request& r, const uint8_t* raw, size_t raw_length) {
    const std::string password = d.Get("password");
    return password.empty() || (r.authenticated && DigestMatches(raw, raw_length, password));
  }

  uint8_t ApplySet(Device& d, const Request& r) {
    bool reboot = false;
    for (const Item& item : r.items) {
      const Variable* v = FindVariable(item.id, item.selector);
      if (!v || !v->writable) {
        Log("set at %s: variable %u/%s not writable", d.Get("mac").c_str(), item.id, item.selector.c_str());
        return kNotDone;
      }
      if (!SizeFits(v->type, item.value.size())) {
        Log("set at %s: %zu bytes for a value of type %u", d.Get("mac").c_str(), item.value.size(), v->type);
        return kNotDone;
      }
      std::string text = DecodeValue(v->type, item.value);
      std::string key = v->key;
      if (key == "ip" || key == "netmask" || key == "gateway") {
        if (text.empty()) return kNotDone;
        if (key == "ip" && !d.faults.other_ip.empty()) text = d.faults.other_ip;
        d.staged[key] = text;
      } else if (key == "reboot") {
        reboot = text == "1";
      } else if (key == "save" || key == "apply") {
        // Staged address settings are kept until the reboot.
      } else {
        d.values[key] = text;
      }
      Log("set %s %s = %s", d.Get("mac").c_str(), key.c_str(), text.c_str());
    }
    if (reboot) Reboot(d);
    return kDone;
  }

  // The answer still goes out; the device is silent from just after it.
  void Reboot(Device& d) {
    d.back_at = Clock::now() + std::chrono::milliseconds(50) + DeviceTime(d.faults.delay_ms + d.reboot_ms);
    Log("reboot %s for %d ms", d.Get("mac").c_str(), d.reboot_ms);
  }

  void Schedule(Device& d, const Bytes& datagram, const sockaddr_in& to) {
    pending_.push_back({Clock::now() + DeviceTime(d.faults.delay_ms), &d, datagram, to});
  }

  // --- the SNMP agent ---

  void ReceiveSnmp(Device& d) {
    uint8_t buffer[65536];
    sockaddr_in from{};
    socklen_t from_length = sizeof from;
    ssize_t n = recvfrom(d.snmp_socket, buffer, sizeof buffer, MSG_TRUNC, reinterpret_cast<sockaddr*>(&from),
                         &from_length);
    if (n <= 0) return;
    const std::string mac = d.Get("mac");
    if (Lost("snmp request", mac, false)) return;
    if (d.Get("snmp_status") != "1" || d.Silent(Clock::now()) || d.faults.snmp_silent) {
      Log("snmp silent %s", mac.c_str());
      return;
    }
    if (static_cast<size_t>(n) > sizeof buffer) {
      Log("snmp drop oversized message of %zd bytes at %s", n, mac.c_str());
      return;
    }
    auto request = ParseSnmp(buffer, static_cast<size_t>(n));
    if (!request || request->binds.size() > 128) {
      Log("snmp drop malformed message of %zd bytes at %s", n, mac.c_str());
      return;
    }
    bool set = request->pdu == kSetPdu;
    bool known = set || request->pdu == kGetPdu || request->pdu == kGetNextPdu ||
                 (request->pdu == kGetBulkPdu && request->version == 1);
    if (!known) {
      Log("snmp drop pdu %02X at %s", request->pdu, mac.c_str());
      return;
    }
    const std::string& c = request->community;
    if (set ? c != d.Get("write_community") : (c != d.Get("read_community") && c != d.Get("write_community"))) {
      Log("snmp wrong community '%s' at %s", c.c_str(), mac.c_str());
      return;
    }
    bool reboot = false;
    Bytes answer = AnswerSnmp(d, *request, reboot);
    // The state is on disk before the answer, so that whoever got the answer
    // reads what it did.
    if (reboot) Reboot(d);
    if (set) WriteState(devices_);
    if (reboot && d.faults.no_answer_reboot) {
      Log("snmp ignore restart at %s", mac.c_str());
      return;
    }
    if (answer.size() > 65000) answer = EncodeResponse(*request, kTooBig, 0, {});
    if (Lost("snmp answer", mac)) return;
    sendto(d.snmp_socket, answer.data(), answer.size(), 0, reinterpret_cast<sockaddr*>(&from), sizeof from);
  }

  Bytes AnswerSnmp(Device& d, const SnmpMessage& r, bool& reboot) {
    const std::string mac = d.Get("mac");
    const bool v1 = r.version == 0;
    auto error = [&](int status, size_t i) {
      Log("snmp error %d index %zu at %s", status, i + 1, mac.c_str());
      return EncodeResponse(r, status, static_cast<int>(i + 1), r.binds);
    };
    if (const MibObject* failing = MibByName(d.faults.snmp_error_name)) {
      for (size_t i = 0; i < r.binds.size(); ++i)
        if (r.binds[i].oid == failing->oid) return error(d.faults.snmp_error_status, i);
    }
    std::vector<VarBind> out;
    auto next = [&](const Oid& after) -> const MibObject* {
      for (const MibObject& o : Mib())
        if (o.oid > after) return &o;
      return nullptr;
    };
    switch (r.pdu) {
      case kGetPdu:
        for (size_t i = 0; i < r.binds.size(); ++i) {
          const MibObject* o = MibByOid(r.binds[i].oid);
          if (o) out.push_back(MibBind(*o, d.Get(o->key)));
          else if (v1) return error(kNoSuchName, i);
          else out.push_back({r.binds[i].oid, kNoSuchObject, {}});
        }
        Log("snmp get at %s: %zu objects", mac.c_str(), r.binds.size());
        break;
      case kGetNextPdu:
      case kGetBulkPdu: {
        size_t non_repeaters = r.pdu == kGetBulkPdu ? static_cast<size_t>(std::max(0, r.error_status)) : r.binds.size();
        int repetitions = r.pdu == kGetBulkPdu ? std::clamp(r.error_index, 0, 64) : 1;
        std::vector<Oid> cursor;
        for (size_t i = 0; i < r.binds.size(); ++i) {
          const MibObject* o = next(r.binds[i].oid);
          if (o) out.push_back(MibBind(*o, d.Get(o->key)));
          else if (v1) return error(kNoSuchName, i);
          else out.push_back({r.binds[i].oid, kEndOfMibView, {}});
          if (i >= non_repeaters) cursor.push_back(out.back().oid);
        }
        for (int rep = 1; rep < repetitions; ++rep) {
          for (Oid& at : cursor) {
            const MibObject* o = next(at);
            if (o) out.push_back(MibBind(*o, d.Get(o->key)));
            else out.push_back({at, kEndOfMibView, {}});
            at = out.back().oid;
          }
        }
        Log("snmp getnext at %s: %zu objects", mac.c_str(), out.size());
        break;
      }
      case kSetPdu: {
        // All or nothing: every binding is checked before any is written.
        std::vector<std::pair<const MibObject*, std::string>> writes;
        for (size_t i = 0; i < r.binds.size(); ++i) {
          const MibObject* o = MibByOid(r.binds[i].oid);
          if (!o || !o->writable) return error(v1 ? kNoSuchName : kNotWritable, i);
          auto text = BindText(*o, r.binds[i]);
          if (!text) return error(v1 ? kBadValue : kWrongType, i);
          if (!MibValueFits(*o, *text)) return error(v1 ? kBadValue : kWrongValue, i);
          writes.emplace_back(o, *text);
        }
        bool group = false;
        for (auto& [o, text] : writes) {
          d.values[o->key] = text;
          Log("snmp set %s %s = %s", mac.c_str(), o->name.c_str(), text.c_str());
          group |= o->name.rfind("dot11APTrevak", 0) == 0 || o->name.rfind("dot11ApTrevak", 0) == 0;
          if (o->name == "deviceRestart" && text == "1") reboot = true;
          if (o->name == "deviceSettingApply" && text == "1") Log("snmp apply %s", mac.c_str());
        }
        if (group) FollowGroup(d);
        out = r.binds;
        break;
      }
    }
    return EncodeResponse(r, kNoError, 0, out);
  }

  // The QUAV group fields and the announcements show what SNMP wrote.
  void FollowGroup(Device& d) {
    d.values["role"] = d.Get("dot11APTrevakModeSelect");
    d.values["cfg_version"] = d.Get("dot11APTrevakVersion");
    d.values["group_name"] = d.Get("dot11ApTrevakName");
    d.values["group_status"] = d.Get("dot11APTrevakStatus");
    d.values["group_password"] = d.Get("dot11ApTrevakPassword");
    bool announce = d.Get("dot11APTrevakStatus") == "1" && !d.Get("dot11ApTrevakName").empty();
    if (announce != d.announce) {
      d.announce = announce;
      d.next_announce = Clock::now();
      Log("announce %s %s", d.Get("mac").c_str(), announce ? "on" : "off");
    }
  }

  void Send(Device& d, const Bytes& datagram, const sockaddr_in& to) {
    if (Lost("answer", d.Get("mac"))) return;
    sendto(d.socket, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  }

  std::vector<Device>& devices_;
  std::vector<Pending> pending_;
  int listen_ = -1;
};

}  // namespace

int main(int argc, char** argv) {
  const char* scenario = nullptr;
  double duration = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--duration") == 0 && i + 1 < argc) duration = std::atof(argv[++i]);
    else if (std::strcmp(argv[i], "--quiet") == 0) g_quiet = true;
    else if (std::strcmp(argv[i], "--time-scale") == 0 && i + 1 < argc) g_time_scale = std::max(0.001, std::atof(argv[++i]));
    else if (std::strcmp(argv[i], "--state") == 0 && i + 1 < argc) g_state_path = argv[++i];
    else if (std::strcmp(argv[i], "--loss") == 0 && i + 1 < argc) g_loss_in = g_loss_out = std::clamp(std::atof(argv[++i]), 0.0, 100.0);
    else if (std::strcmp(argv[i], "--loss-answers") == 0 && i + 1 < argc) g_loss_out = std::clamp(std::atof(argv[++i]), 0.0, 100.0);
    else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) g_loss_random.seed(static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10)));
    else if (!scenario) scenario = argv[i];
    else scenario = nullptr, i = argc;
  }
  if (!scenario) {
    fprintf(stderr, "usage: apsim SCENARIO [--duration SECONDS] [--quiet] [--time-scale N] [--state FILE]"
                    " [--loss PERCENT | --loss-answers PERCENT [--seed N]]\n");
    return 2;
  }
  std::vector<Device> devices;
  if (!LoadScenario(scenario, devices)) return 1;
  signal(SIGTERM, [](int) { g_stop = 1; });
  signal(SIGINT, [](int) { g_stop = 1; });
  Simulator simulator(devices);
  if (!simulator.Open()) return 1;
  simulator.Run(duration);
  return 0;
}
