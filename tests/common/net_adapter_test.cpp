#include <gtest/gtest.h>

#include <string>

#include "LastError.h"
#include "NetAdapter.h"
#include "Registry.h"

namespace {

const char kClassKey[] = "System\\CurrentControlSet\\Control\\Class\\{4d36e972-e325-11ce-bfc1-08002be10318}";
const char kInterfaces[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";

HKEY Create(const std::string& path) {
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS)
      << path;
  return key;
}

void SetText(HKEY key, const char* name, const std::string& text, DWORD type = REG_SZ) {
  std::string data = text + '\0';
  if (type == REG_MULTI_SZ) data += '\0';
  RegSetValueEx(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
}

// An adapter of the test's own in the registry stand-in.
void AddAdapter(const std::string& subkey, const std::string& id, const char* lowerRange, const char* ip) {
  HKEY adapter = Create(std::string(kClassKey) + "\\" + subkey);
  SetText(adapter, "DriverDesc", "Test adapter " + subkey);
  SetText(adapter, "NetCfgInstanceID", id);
  HKEY ndi = Create(std::string(kClassKey) + "\\" + subkey + "\\Ndi\\Interfaces");
  SetText(ndi, "LowerRange", lowerRange);
  HKEY settings = Create(kInterfaces + id);
  SetText(settings, "IPAddress", ip, REG_MULTI_SZ);
  SetText(settings, "SubnetMask", "255.255.255.0", REG_MULTI_SZ);
  RegCloseKey(adapter);
  RegCloseKey(ndi);
  RegCloseKey(settings);
}

const NetAdapterEntry* Find(const char* id) {
  const CPtrList& list = GetAdapterList();
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    auto* entry = static_cast<const NetAdapterEntry*>(list.GetNext(pos));
    if (entry->instanceId == id) return entry;
  }
  return nullptr;
}

std::string MultiString(const char* id, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, (std::string(kInterfaces) + id).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return "<no key>";
  BYTE data[512];
  DWORD size = sizeof data, type = 0;
  LONG result = RegQueryValueEx(key, name, nullptr, &type, data, &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_MULTI_SZ) return "<no value>";
  return std::string(reinterpret_cast<char*>(data), size);
}

TEST(NetAdapter, ListsEthernetAdaptersWithTheirSettings) {
  AddAdapter("zz01", "{test-eth}", "ethernet", "192.168.1.20");
  AddAdapter("zz02", "{test-wan}", "wan", "10.9.9.9");
  ASSERT_TRUE(EnumAdapters());
  const NetAdapterEntry* eth = Find("{test-eth}");
  ASSERT_NE(eth, nullptr);
  EXPECT_STREQ(eth->description, "Test adapter zz01");
  EXPECT_STREQ(eth->ipAddress, "192.168.1.20");
  EXPECT_STREQ(eth->subnetMask, "255.255.255.0");
  EXPECT_STREQ(eth->defaultGateway, "") << "a missing value leaves the field as it was";
  EXPECT_EQ(Find("{test-wan}"), nullptr);

  // A second pass lists each adapter once.
  int before = static_cast<int>(GetAdapterList().GetCount());
  ASSERT_TRUE(EnumAdapters());
  EXPECT_EQ(static_cast<int>(GetAdapterList().GetCount()), before);
}

TEST(NetAdapter, WritesFixedSettingsAsSingleMultiStrings) {
  AddAdapter("zz03", "{test-write}", "ethernet", "0.0.0.0");
  ASSERT_TRUE(SetAdapterIp("{test-write}", "10.0.0.5", "255.0.0.0", "10.0.0.1"));
  EXPECT_EQ(MultiString("{test-write}", "IPAddress"), std::string("10.0.0.5\0\0", 10));
  EXPECT_EQ(MultiString("{test-write}", "SubnetMask"), std::string("255.0.0.0\0\0", 11));
  EXPECT_EQ(MultiString("{test-write}", "DefaultGateway"), std::string("10.0.0.1\0\0", 10));

  // Text beyond 98 bytes is cut.
  ASSERT_TRUE(WriteAdapterIp("{test-write}", CString(std::string(120, '1')), "", ""));
  EXPECT_EQ(MultiString("{test-write}", "IPAddress"), std::string(98, '1') + std::string(2, '\0'));

  NetAdapterEntry entry;
  ASSERT_TRUE(ReadAdapterIp(entry, "{test-write}"));
  EXPECT_EQ(std::string(entry.ipAddress), std::string(98, '1'));
}

TEST(NetAdapter, UnknownAdapterFails) {
  NetAdapterEntry entry;
  entry.ipAddress = "kept";
  EXPECT_FALSE(ReadAdapterIp(entry, "{no-such-adapter}"));
  EXPECT_STREQ(entry.ipAddress, "kept");
  EXPECT_FALSE(WriteAdapterIp("{no-such-adapter}", "1.2.3.4", "255.0.0.0", ""));
  EXPECT_FALSE(SetAdapterIp("{no-such-adapter}", "1.2.3.4", "255.0.0.0", ""));
}

}  // namespace
