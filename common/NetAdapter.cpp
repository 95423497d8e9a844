#include "NetAdapter.h"

#include <cstring>

#include "LastError.h"
#include "Registry.h"

namespace {

const char kAdapterClassKey[] = "System\\CurrentControlSet\\Control\\Class\\{4d36e972-e325-11ce-bfc1-08002be10318}";
const char kInterfacesKey[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";

// Owns the entries; emptied at exit.
class AdapterList : public CPtrList {
 public:
  ~AdapterList() override { Clear(); }
  void Clear() {
    while (!IsEmpty()) delete static_cast<NetAdapterEntry*>(RemoveHead());
  }
};

AdapterList& Adapters() {
  static AdapterList list;
  return list;
}

// A string value of up to 256 bytes (the first string of a multi-string);
// false when it cannot be read.
bool QueryString(HKEY key, LPCTSTR name, CString& value) {
  BYTE data[257] = {0};
  DWORD size = 256;
  DWORD type = 0;
  if (RegQueryValueEx(key, name, nullptr, &type, data, &size) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_MULTI_SZ && type != REG_EXPAND_SZ) return false;
  data[size < 256 ? size : 256] = 0;
  value = reinterpret_cast<LPCTSTR>(data);
  return true;
}

// One string as a multi-string: at most 98 bytes of text and two zero bytes.
bool SetMultiString(HKEY key, LPCTSTR name, const CString& text) {
  BYTE data[100] = {0};
  DWORD length = static_cast<DWORD>(text.GetLength() < 98 ? text.GetLength() : 98);
  memcpy(data, static_cast<LPCTSTR>(text), length);
  return RegSetValueEx(key, name, 0, REG_MULTI_SZ, data, length + 2) == ERROR_SUCCESS;
}

// How the system learns of new settings is not ours to decide here: the
// settings take effect when the adapter is next brought up.
bool NotifyAdapterChanged(const CString&) { return true; }

}  // namespace

const CPtrList& GetAdapterList() { return Adapters(); }

BOOL EnumAdapters() {
  HKEY classKey = nullptr;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kAdapterClassKey, 0, KEY_READ, &classKey) != ERROR_SUCCESS) return FALSE;
  Adapters().Clear();
  char name[257];
  for (DWORD index = 0;; ++index) {
    DWORD nameSize = 256;
    LONG result = RegEnumKeyEx(classKey, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_MORE_DATA) continue;  // a name beyond 256 bytes is no adapter's
    if (result != ERROR_SUCCESS) break;
    name[nameSize < 256 ? nameSize : 256] = 0;
    HKEY adapterKey = nullptr;
    if (RegOpenKeyEx(classKey, name, 0, KEY_READ, &adapterKey) != ERROR_SUCCESS) continue;
    HKEY interfacesKey = nullptr;
    if (RegOpenKeyEx(adapterKey, "Ndi\\Interfaces", 0, KEY_READ, &interfacesKey) == ERROR_SUCCESS) {
      CString lowerRange;
      if (QueryString(interfacesKey, "LowerRange", lowerRange) && lowerRange == "ethernet") {
        NetAdapterEntry* entry = new NetAdapterEntry;
        QueryString(adapterKey, "DriverDesc", entry->description);
        QueryString(adapterKey, "NetCfgInstanceID", entry->instanceId);
        ReadAdapterIp(*entry, entry->instanceId);
        Adapters().AddTail(entry);
      }
      RegCloseKey(interfacesKey);
    }
    RegCloseKey(adapterKey);
  }
  RegCloseKey(classKey);
  return TRUE;
}

BOOL ReadAdapterIp(NetAdapterEntry& entry, const CString& instanceId) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kInterfacesKey + instanceId, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return FALSE;
  QueryString(key, "IPAddress", entry.ipAddress);
  QueryString(key, "SubnetMask", entry.subnetMask);
  QueryString(key, "DefaultGateway", entry.defaultGateway);
  RegCloseKey(key);
  return TRUE;
}

BOOL WriteAdapterIp(const CString& instanceId, const CString& ipAddress, const CString& subnetMask,
                    const CString& gateway) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kInterfacesKey + instanceId, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
    return FALSE;
  SetMultiString(key, "IPAddress", ipAddress);
  SetMultiString(key, "SubnetMask", subnetMask);
  SetMultiString(key, "DefaultGateway", gateway);
  DWORD dhcp = 0;
  RegSetValueEx(key, "EnableDHCP", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dhcp), sizeof dhcp);
  RegCloseKey(key);
  return TRUE;
}

BOOL SetAdapterIp(const CString& instanceId, const CString& ipAddress, const CString& subnetMask,
                  const CString& gateway) {
  return WriteAdapterIp(instanceId, ipAddress, subnetMask, gateway) && NotifyAdapterChanged(instanceId);
}
