// apsim: simulated RIZ-4410 access points speaking QUAV.
//
//   apsim SCENARIO [--duration SECONDS] [--quiet]
//
// One process simulates every device of the scenario file. Requests arrive as
// broadcasts on UDP port 64512; each device answers from its own address and
// port 64512. Devices with "announce" set send announcements to port 55000.
// A Set of "System Reboot" makes the device silent for "reboot_ms" and then
// come back with the address settings it was given (saved or applied).
//
// Scenario file: one [device] section per device, "key = value" lines:
//   mac, model, firmware, ip, netmask, gateway, location, password,
//   snmp_status, read_community, write_community,
//   group_full, role, discover_number, cfg_version, group_name, group_status,
//   group_password, original_role,
//   announce (0/1), announce_ms, reboot_ms,
//   faults: a comma list of no_answer, password_error, wrong_mac, bad_length,
//           duplicate, garbage, delay=MS, status=N
// Lines starting with '#' or ';' are comments.
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
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr uint16_t kRequestPort = 64512;
constexpr uint16_t kAnnouncePort = 55000;
constexpr uint8_t kMagic[4] = {0x09, 0x2B, 0x13, 0x38};
constexpr size_t kHeaderSize = 36;
constexpr uint8_t kListenMask = 0xB3;

enum Command : uint8_t { kDiscover = 1, kSet = 3, kGet = 5, kAnnounce = 7 };
enum Status : uint8_t { kDone = 0, kPasswordError = 1, kNotDone = 2, kBadCommand = 3 };

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

bool g_quiet = false;
volatile sig_atomic_t g_stop = 0;

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
  int delay_ms = 0;
  int status = -1;
};

struct Device {
  std::map<std::string, std::string> values;
  std::map<std::string, std::string> staged;  // address settings that take effect at reboot
  Faults faults;
  Bytes mac;
  int socket = -1;
  bool announce = false;
  int announce_ms = 1000;
  int reboot_ms = 2000;
  Clock::time_point next_announce = Clock::now();
  std::optional<Clock::time_point> back_at;  // silent until then

  std::string Get(const std::string& key) const {
    auto it = values.find(key);
    return it == values.end() ? "" : it->second;
  }
  bool Silent(Clock::time_point now) const { return back_at && now < *back_at; }
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

Faults ParseFaults(const std::string& text) {
  Faults f;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    item = Trim(item);
    if (item == "no_answer") f.no_answer = true;
    else if (item == "password_error") f.password_error = true;
    else if (item == "wrong_mac") f.wrong_mac = true;
    else if (item == "bad_length") f.bad_length = true;
    else if (item == "duplicate") f.duplicate = true;
    else if (item == "garbage") f.garbage = true;
    else if (item.rfind("delay=", 0) == 0) f.delay_ms = std::atoi(item.c_str() + 6);
    else if (item.rfind("status=", 0) == 0) f.status = std::atoi(item.c_str() + 7);
    else if (!item.empty()) fprintf(stderr, "apsim: unknown fault '%s'\n", item.c_str());
  }
  return f;
}

bool LoadScenario(const char* path, std::vector<Device>& devices) {
  std::ifstream in(path);
  if (!in) {
    fprintf(stderr, "apsim: cannot read %s\n", path);
    return false;
  }
  std::string line;
  Device* current = nullptr;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    if (line == "[device]") {
      devices.emplace_back();
      current = &devices.back();
      current->values = {{"model", "RIZ-4410"}, {"firmware", "1.0.0"}, {"netmask", "255.255.255.0"},
                         {"gateway", "0.0.0.0"}, {"snmp_status", "0"}, {"read_community", "public"},
                         {"write_community", "private"}, {"password", "admin"}};
      continue;
    }
    size_t eq = line.find('=');
    if (!current || eq == std::string::npos) {
      fprintf(stderr, "apsim: %s: cannot read line '%s'\n", path, line.c_str());
      return false;
    }
    std::string key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
    if (key == "faults") current->faults = ParseFaults(value);
    else if (key == "announce") current->announce = value == "1";
    else if (key == "announce_ms") current->announce_ms = std::max(10, std::atoi(value.c_str()));
    else if (key == "reboot_ms") current->reboot_ms = std::max(0, std::atoi(value.c_str()));
    else current->values[key] = value;
  }
  for (Device& d : devices) {
    auto mac = ParseHex(d.Get("mac"));
    if (!mac || mac->size() != 6) {
      fprintf(stderr, "apsim: device with bad mac '%s'\n", d.Get("mac").c_str());
      return false;
    }
    d.mac = *mac;
    d.values["mac"] = Hex(d.mac.data(), 6);
  }
  return !devices.empty();
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

// A request's digest: HMAC-MD5 keyed with the password, or MD5 of the
// datagram followed by the password, each over the datagram with a zero digest.
bool DigestMatches(const uint8_t* data, size_t length, const std::string& password) {
  Bytes copy(data, data + length);
  std::fill(copy.begin() + 12, copy.begin() + 28, 0);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int n = 0;
  HMAC(EVP_md5(), password.data(), static_cast<int>(password.size()), copy.data(), copy.size(), digest, &n);
  if (n == 16 && std::memcmp(digest, data + 12, 16) == 0) return true;
  Bytes with_password = copy;
  with_password.insert(with_password.end(), password.begin(), password.end());
  EVP_Digest(with_password.data(), with_password.size(), digest, &n, EVP_md5(), nullptr);
  return n == 16 && std::memcmp(digest, data + 12, 16) == 0;
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
    for (Device& d : devices_)
      if (!BindDeviceSocket(d)) return false;
    for (const Device& d : devices_) Log("device %s %s at %s", d.Get("mac").c_str(), d.Get("model").c_str(), d.Get("ip").c_str());
    Log("ready");
    return true;
  }

  void Run(double duration_s) {
    Clock::time_point end = Clock::now() + std::chrono::milliseconds(static_cast<int64_t>(duration_s * 1000));
    while (!g_stop && (duration_s <= 0 || Clock::now() < end)) {
      Clock::time_point now = Clock::now();
      Tick(now);
      pollfd p{listen_, POLLIN, 0};
      if (poll(&p, 1, 10) > 0 && (p.revents & POLLIN)) Receive();
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
        Log("back %s at %s", d.Get("mac").c_str(), d.Get("ip").c_str());
      }
      if (d.announce && !d.Silent(now) && now >= d.next_announce) {
        Announce(d);
        d.next_announce = now + std::chrono::milliseconds(d.announce_ms);
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
    sendto(d.socket, out.data(), out.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
  }

  void Receive() {
    uint8_t buffer[65536];
    sockaddr_in from{};
    socklen_t from_length = sizeof from;
    ssize_t n = recvfrom(listen_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &from_length);
    if (n <= 0) return;
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
        if (r.authenticated && !DigestMatches(raw, raw_length, d.Get("password"))) {
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
        if (!r.authenticated || !DigestMatches(raw, raw_length, d.Get("password"))) {
          status = kPasswordError;
          break;
        }
        status = ApplySet(d, r);
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
    if (reboot) {
      // The answer still goes out; the device is silent from just after it.
      d.back_at = Clock::now() + std::chrono::milliseconds(d.faults.delay_ms + 50 + d.reboot_ms);
      Log("reboot %s for %d ms", d.Get("mac").c_str(), d.reboot_ms);
    }
    return kDone;
  }

  void Schedule(Device& d, const Bytes& datagram, const sockaddr_in& to) {
    pending_.push_back({Clock::now() + std::chrono::milliseconds(d.faults.delay_ms), &d, datagram, to});
  }

  void Send(Device& d, const Bytes& datagram, const sockaddr_in& to) {
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
    else if (!scenario) scenario = argv[i];
    else scenario = nullptr, i = argc;
  }
  if (!scenario) {
    fprintf(stderr, "usage: apsim SCENARIO [--duration SECONDS] [--quiet]\n");
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
