#include "Registry.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netpacket/packet.h>
#include <net/if_arp.h>
#include <arpa/inet.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "LastError.h"

namespace {

struct Value {
  std::string name;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

struct Key {
  std::string name;
  std::map<std::string, std::unique_ptr<Key>> children;  // by lower-case name
  std::vector<Value> values;
};

struct OpenKey {
  Key* key;
  REGSAM access;
};

std::string Lower(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

struct Store {
  std::recursive_mutex lock;
  std::map<HKEY, Key> roots;
  std::set<OpenKey*> open;
};

Key* Child(Key* parent, const std::string& name, bool create) {
  auto found = parent->children.find(Lower(name));
  if (found != parent->children.end()) return found->second.get();
  if (!create) return nullptr;
  auto child = std::make_unique<Key>();
  child->name = name;
  Key* raw = child.get();
  parent->children[Lower(name)] = std::move(child);
  return raw;
}

// Walks a path of "\"-separated names; null when a part is missing and not to be created.
Key* Walk(Key* from, const char* path, bool create) {
  std::string part;
  std::istringstream parts(path ? path : "");
  Key* key = from;
  while (key && std::getline(parts, part, '\\')) {
    if (part.empty()) continue;
    key = Child(key, part, create);
  }
  return key;
}

Value* FindValue(Key* key, const char* name) {
  std::string wanted = Lower(name ? name : "");
  for (Value& v : key->values) {
    if (Lower(v.name) == wanted) return &v;
  }
  return nullptr;
}

void SetValue(Key* key, const std::string& name, DWORD type, const void* data, size_t size) {
  Value* value = FindValue(key, name.c_str());
  if (!value) {
    key->values.push_back(Value{name, type, {}});
    value = &key->values.back();
  }
  value->type = type;
  const BYTE* bytes = static_cast<const BYTE*>(data);
  value->data.assign(bytes, bytes + size);
}

void SetText(Key* key, const std::string& name, const std::string& text) {
  SetValue(key, name, REG_SZ, text.c_str(), text.size() + 1);
}

void SetMultiText(Key* key, const std::string& name, const std::string& text) {
  std::string bytes = text;
  bytes.push_back('\0');
  bytes.push_back('\0');
  SetValue(key, name, REG_MULTI_SZ, bytes.data(), bytes.size());
}

struct Adapter {
  std::string name;
  unsigned index = 0;
  bool ethernet = false;
  std::string address = "0.0.0.0";
  std::string mask = "0.0.0.0";
  std::string gateway;
};

std::string Dotted(const sockaddr* address) {
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
  return text;
}

// Default routes from the kernel's table: interface, destination 0, gateway (hex, network order).
std::map<std::string, std::string> DefaultGateways() {
  std::map<std::string, std::string> gateways;
  std::ifstream routes("/proc/net/route");
  std::string line;
  std::getline(routes, line);  // header
  while (std::getline(routes, line)) {
    std::istringstream fields(line);
    std::string name, destination, gateway;
    if (!(fields >> name >> destination >> gateway) || destination != "00000000") continue;
    unsigned long value = std::strtoul(gateway.c_str(), nullptr, 16);
    in_addr address;
    address.s_addr = static_cast<uint32_t>(value);
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    gateways.emplace(name, text);
  }
  return gateways;
}

std::vector<Adapter> SystemAdapters() {
  std::vector<Adapter> adapters;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return adapters;
  auto adapter = [&](const char* name) -> Adapter& {
    for (Adapter& a : adapters) {
      if (a.name == name) return a;
    }
    adapters.emplace_back();
    adapters.back().name = name;
    adapters.back().index = if_nametoindex(name);
    return adapters.back();
  };
  for (ifaddrs* i = list; i; i = i->ifa_next) {
    if (!i->ifa_name || (i->ifa_flags & IFF_LOOPBACK) || !i->ifa_addr) continue;
    if (i->ifa_addr->sa_family == AF_PACKET) {
      adapter(i->ifa_name).ethernet = reinterpret_cast<sockaddr_ll*>(i->ifa_addr)->sll_hatype == ARPHRD_ETHER;
    } else if (i->ifa_addr->sa_family == AF_INET) {
      Adapter& a = adapter(i->ifa_name);
      if (a.address == "0.0.0.0") {
        a.address = Dotted(i->ifa_addr);
        if (i->ifa_netmask) a.mask = Dotted(i->ifa_netmask);
      }
    }
  }
  freeifaddrs(list);
  auto gateways = DefaultGateways();
  for (Adapter& a : adapters) {
    auto found = gateways.find(a.name);
    if (found != gateways.end()) a.gateway = found->second;
  }
  return adapters;
}

void FillAdapters(Key* machine) {
  Key* classes = Walk(machine, "System\\CurrentControlSet\\Control\\Class\\{4d36e972-e325-11ce-bfc1-08002be10318}", true);
  Key* interfaces = Walk(machine, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces", true);
  int number = 0;
  for (const Adapter& a : SystemAdapters()) {
    char subkey[12], id[64];
    std::snprintf(subkey, sizeof subkey, "%04d", number++);
    std::snprintf(id, sizeof id, "{00000000-0000-0000-0000-%012X}", a.index);
    Key* entry = Child(classes, subkey, true);
    SetText(entry, "DriverDesc", a.name);
    SetText(entry, "NetCfgInstanceID", id);
    SetText(Walk(entry, "Ndi\\Interfaces", true), "LowerRange", a.ethernet ? "ethernet" : "");
    Key* settings = Child(interfaces, id, true);
    SetMultiText(settings, "IPAddress", a.address);
    SetMultiText(settings, "SubnetMask", a.mask);
    SetMultiText(settings, "DefaultGateway", a.gateway);
    DWORD dhcp = 0;
    SetValue(settings, "EnableDHCP", REG_DWORD, &dhcp, sizeof dhcp);
  }
}

Store& TheStore() {
  static Store* store = [] {
    auto* s = new Store;
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS}) s->roots[root];
    FillAdapters(&s->roots[HKEY_LOCAL_MACHINE]);
    return s;
  }();
  return *store;
}

// The key behind a handle and the rights it was opened with; null for a bad handle.
Key* Resolve(Store& s, HKEY handle, REGSAM* access) {
  auto root = s.roots.find(handle);
  if (root != s.roots.end()) {
    *access = KEY_ALL_ACCESS;
    return &root->second;
  }
  auto* open = reinterpret_cast<OpenKey*>(handle);
  if (!s.open.count(open)) return nullptr;
  *access = open->access;
  return open->key;
}

HKEY NewHandle(Store& s, Key* key, REGSAM access) {
  auto* open = new OpenKey{key, access};
  s.open.insert(open);
  return reinterpret_cast<HKEY>(open);
}

}  // namespace

LONG RegOpenKeyExA(HKEY handle, LPCSTR subkey, DWORD, REGSAM access, PHKEY result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  Store& s = TheStore();
  std::lock_guard<std::recursive_mutex> guard(s.lock);
  REGSAM rights;
  Key* parent = Resolve(s, handle, &rights);
  if (!parent) return ERROR_INVALID_HANDLE;
  Key* key = Walk(parent, subkey, false);
  if (!key) return ERROR_FILE_NOT_FOUND;
  *result = NewHandle(s, key, access);
  return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY handle, LPCSTR subkey, DWORD, LPSTR, DWORD, REGSAM access, LPSECURITY_ATTRIBUTES,
                     PHKEY result, LPDWORD disposition) {
  if (!result || !subkey) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  Store& s = TheStore();
  std::lock_guard<std::recursive_mutex> guard(s.lock);
  REGSAM rights;
  Key* parent = Resolve(s, handle, &rights);
  if (!parent) return ERROR_INVALID_HANDLE;
  Key* key = Walk(parent, subkey, false);
  bool created = !key;
  if (created && !(rights & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
  if (created) key = Walk(parent, subkey, true);
  *result = NewHandle(s, key, access);
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LONG RegEnumKeyExA(HKEY handle, DWORD index, LPSTR name, LPDWORD name_size, LPDWORD, LPSTR key_class,
                   LPDWORD class_size, PFILETIME) {
  if (!name || !name_size) return ERROR_INVALID_PARAMETER;
  Store& s = TheStore();
  std::lock_guard<std::recursive_mutex> guard(s.lock);
  REGSAM rights;
  Key* key = Resolve(s, handle, &rights);
  if (!key) return ERROR_INVALID_HANDLE;
  if (!(rights & KEY_ENUMERATE_SUB_KEYS)) return ERROR_ACCESS_DENIED;
  if (index >= key->children.size()) return ERROR_NO_MORE_ITEMS;
  auto it = key->children.begin();
  std::advance(it, index);
  const std::string& child = it->second->name;
  if (child.size() + 1 > *name_size) return ERROR_MORE_DATA;
  std::memcpy(name, child.c_str(), child.size() + 1);
  *name_size = static_cast<DWORD>(child.size());
  if (key_class && class_size && *class_size > 0) key_class[0] = '\0';
  if (class_size) *class_size = 0;
  return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY handle, LPCSTR value_name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
  if (data && !size) return ERROR_INVALID_PARAMETER;
  Store& s = TheStore();
  std::lock_guard<std::recursive_mutex> guard(s.lock);
  REGSAM rights;
  Key* key = Resolve(s, handle, &rights);
  if (!key) return ERROR_INVALID_HANDLE;
  if (!(rights & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  Value* value = FindValue(key, value_name);
  if (!value) return ERROR_FILE_NOT_FOUND;
  if (type) *type = value->type;
  DWORD needed = static_cast<DWORD>(value->data.size());
  if (!size) return ERROR_SUCCESS;
  if (data && *size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (data && needed) std::memcpy(data, value->data.data(), needed);
  *size = needed;
  return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY handle, LPCSTR value_name, DWORD, DWORD type, const BYTE* data, DWORD size) {
  if (!data && size) return ERROR_INVALID_PARAMETER;
  Store& s = TheStore();
  std::lock_guard<std::recursive_mutex> guard(s.lock);
  REGSAM rights;
  Key* key = Resolve(s, handle, &rights);
  if (!key) return ERROR_INVALID_HANDLE;
  if (!(rights & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  SetValue(key, value_name ? value_name : "", type, data, size);
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY handle) {
  Store& s = TheStore();
  std::lock_guard<std::recursive_mutex> guard(s.lock);
  if (s.roots.count(handle)) return ERROR_SUCCESS;
  auto* open = reinterpret_cast<OpenKey*>(handle);
  if (!s.open.erase(open)) return ERROR_INVALID_HANDLE;
  delete open;
  return ERROR_SUCCESS;
}
