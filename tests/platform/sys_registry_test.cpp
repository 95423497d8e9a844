#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <map>
#include <string>
#include <vector>

#include "LastError.h"
#include "Registry.h"

namespace {

std::vector<std::string> Subkeys(HKEY key) {
  std::vector<std::string> names;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    LONG result = RegEnumKeyEx(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    EXPECT_EQ(result, ERROR_SUCCESS);
    if (result != ERROR_SUCCESS) break;
    names.emplace_back(name, size);
  }
  return names;
}

std::string Text(HKEY key, const char* value) {
  char data[256] = {};
  DWORD size = sizeof data, type = 0;
  if (RegQueryValueEx(key, value, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS) return "?";
  return data;  // the first string of a multi-string
}

}  // namespace

TEST(SysRegistry, EnumerateAndQuery) {
  HKEY root;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Test\\Enum", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root,
                           &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  for (const char* name : {"beta", "Alpha", "gamma"}) {
    HKEY child;
    ASSERT_EQ(RegCreateKeyEx(root, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr), ERROR_SUCCESS);
    RegCloseKey(child);
  }
  EXPECT_EQ(Subkeys(root), (std::vector<std::string>{"Alpha", "beta", "gamma"}));

  char small[8];
  DWORD size = sizeof small;
  EXPECT_EQ(RegEnumKeyEx(root, 1, small, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  size = 3;
  EXPECT_EQ(RegEnumKeyEx(root, 2, small, &size, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);

  const char text[] = "hello";
  DWORD number = 0x01020304;
  ASSERT_EQ(RegSetValueEx(root, "Greeting", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(root, "Number", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof number),
            ERROR_SUCCESS);

  DWORD type = 0, needed = 0;
  EXPECT_EQ(RegQueryValueEx(root, "greeting", nullptr, &type, nullptr, &needed), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(needed, sizeof text);
  char buffer[3];
  DWORD buffer_size = sizeof buffer;
  EXPECT_EQ(RegQueryValueEx(root, "Greeting", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &buffer_size),
            ERROR_MORE_DATA);
  EXPECT_EQ(buffer_size, sizeof text);
  DWORD back = 0, back_size = sizeof back;
  EXPECT_EQ(RegQueryValueEx(root, "NUMBER", nullptr, &type, reinterpret_cast<BYTE*>(&back), &back_size), ERROR_SUCCESS);
  EXPECT_EQ(back, number);
  EXPECT_EQ(RegQueryValueEx(root, "Absent", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);

  HKEY reader;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\test\\ENUM\\alpha", 0, KEY_READ, &reader), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(reader, "x", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof number),
            ERROR_ACCESS_DENIED);
  RegCloseKey(reader);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Test\\Nothing", 0, KEY_READ, &reader), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCloseKey(root), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(root), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryValueEx(root, "Number", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
}

TEST(SysRegistry, NetworkAdaptersComeFromTheSystem) {
  // The first IPv4 address of every interface but loopback, as the system reports it.
  std::map<std::string, std::string> system_addresses;
  ifaddrs* list = nullptr;
  ASSERT_EQ(getifaddrs(&list), 0);
  for (ifaddrs* i = list; i; i = i->ifa_next) {
    if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET || (i->ifa_flags & IFF_LOOPBACK)) continue;
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(i->ifa_addr)->sin_addr, text, sizeof text);
    system_addresses.emplace(i->ifa_name, text);
  }
  freeifaddrs(list);

  HKEY classes;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE,
                         "System\\CurrentControlSet\\Control\\Class\\{4d36e972-e325-11ce-bfc1-08002be10318}", 0,
                         KEY_READ, &classes),
            ERROR_SUCCESS);
  std::map<std::string, std::string> listed;
  for (const std::string& name : Subkeys(classes)) {
    HKEY adapter, ndi;
    ASSERT_EQ(RegOpenKeyEx(classes, name.c_str(), 0, KEY_READ, &adapter), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyEx(adapter, "Ndi\\Interfaces", 0, KEY_READ, &ndi), ERROR_SUCCESS);
    std::string range = Text(ndi, "LowerRange");
    EXPECT_TRUE(range == "ethernet" || range.empty()) << range;
    std::string interface_name = Text(adapter, "DriverDesc");
    std::string id = Text(adapter, "NetCfgInstanceID");
    HKEY settings;
    std::string path = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\" + id;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &settings), ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueEx(settings, "IPAddress", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
    std::string address = Text(settings, "IPAddress");
    if (address != "0.0.0.0") listed.emplace(interface_name, address);
    EXPECT_NE(Text(settings, "SubnetMask"), "?");
    EXPECT_NE(Text(settings, "DefaultGateway"), "?");
    for (HKEY k : {settings, ndi, adapter}) RegCloseKey(k);
  }
  RegCloseKey(classes);
  EXPECT_EQ(listed, system_addresses);
}
