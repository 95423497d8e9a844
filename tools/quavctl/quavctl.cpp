// quavctl: talks to RIZ-4410 access points over QUAV through the QUAV library.
//
//   quavctl [--local IP] discover [--timeout MS]
//   quavctl [--local IP] listen [--seconds S]
//   quavctl [--local IP] get MAC PASSWORD
//   quavctl [--local IP] set-ip MAC PASSWORD IP NETMASK GATEWAY
//   quavctl [--local IP] reboot MAC PASSWORD
//   quavctl [--local IP] snmp on|off MAC PASSWORD
//
// Requests go to 255.255.255.255 port 64512 and announcements are heard on
// port 55000, as the wizard does; run it on a network of test devices, or
// inside tools/netns-run with tools/apsim. Every answer is printed decoded;
// failures are printed with the library's texts; a device that answers a
// discover twice is listed once. Exit status 0 when every
// request succeeded.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "AlQUAVClient.h"
#include "CVHException.h"
#include "WizardTables.h"

namespace {

// A request's time-out in units of 10 ms.
const unsigned long kRequestTimeout = 300;

struct Run {
  bool done = false;
  bool failed = false;
  int answers = 0;
  std::set<std::string> macs;  // devices already listed
};

void PrintFields(basicVarList* list, const QUAResponseVar* fields) {
  for (int i = 0; i < list->GetResponseItemCount(0); ++i)
    std::printf("  %-24s %s\n", fields[i].text, list->GetResponseItemValue(0, i).GetString());
}

std::string FieldValue(basicVarList* list, const QUAResponseVar* fields, const char* text) {
  for (int i = 0; i < list->GetResponseItemCount(0); ++i)
    if (std::strcmp(fields[i].text, text) == 0) return list->GetResponseItemValue(0, i).GetString();
  return "";
}

void OnDiscovered(VhQUAVError* error, basicVarList* list, void* user) {
  Run* run = static_cast<Run*>(user);
  if (error->code == 0) {
    const QUAResponseVar* fields =
        error->command == QUAV_CMD_ANNOUNCE ? kListenResponseTable : kBroadcastResponseTable;
    // A device whose answer arrives twice is one device, as on the wizard's scan pages.
    const std::string mac = FieldValue(list, fields, "System MAC Address");
    if (!mac.empty() && !run->macs.insert(mac).second) return;
    ++run->answers;
    std::printf("device %d\n", run->answers);
    PrintFields(list, fields);
    return;
  }
  if (error->code != QUAV_TIMEOUT) {
    std::printf("error %d: %s\n", error->code, error->message.GetString());
    return;
  }
  std::printf("%d device(s)\n", run->answers);
  run->done = true;
}

void OnAnswered(VhQUAVError* error, basicVarList* list, void* user) {
  Run* run = static_cast<Run*>(user);
  std::printf("%s: %d %s\n", error->mac.GetString(), error->code, error->message.GetString());
  if (error->code == 0 && error->command == QUAV_CMD_GET) {
    QUAVVarlist* items = static_cast<QUAVVarlist*>(list);
    for (int i = 0; i < items->Count(); ++i) std::printf("  %-24s %s\n", (*items)[i]->text, items->GetItemValue(i).GetString());
  }
  run->failed = error->code != 0;
  run->done = true;
}

void Pump(const Run& run) {
  MSG msg;
  while (!run.done && GetMessage(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

int Usage() {
  std::fprintf(stderr,
               "usage: quavctl [--local IP] discover [--timeout MS]\n"
               "       quavctl [--local IP] listen [--seconds S]\n"
               "       quavctl [--local IP] get MAC PASSWORD\n"
               "       quavctl [--local IP] set-ip MAC PASSWORD IP NETMASK GATEWAY\n"
               "       quavctl [--local IP] reboot MAC PASSWORD\n"
               "       quavctl [--local IP] snmp on|off MAC PASSWORD\n");
  return 2;
}

int Main(std::vector<std::string> args) {
  CString local;
  if (args.size() >= 2 && args[0] == "--local") {
    local = args[1].c_str();
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage();
  const std::string command = args[0];
  AlQUAVClient client;
  Run run;

  if (command == "discover" || command == "listen") {
    unsigned long timeout = kRequestTimeout;
    if (args.size() == 3 && args[1] == (command == "discover" ? "--timeout" : "--seconds")) {
      unsigned long n = std::strtoul(args[2].c_str(), nullptr, 10);
      timeout = command == "discover" ? n / 10 : n * 100;
    } else if (args.size() != 1) {
      return Usage();
    }
    QUAVResponseVarList fields(command == "discover" ? kBroadcastResponseTable : kListenResponseTable);
    QUAVVarlist list;
    list.Append(0, "00", "Discovery", 0, 1, nullptr, &fields);
    if (command == "discover") {
      list.SetCommand(QUAV_CMD_DISCOVER);
      client.SetRequestMode(0, local);
      client.SendRequest("FFFFFFFFFFFF", &list, OnDiscovered, timeout, &run);
    } else {
      list.SetCommand(QUAV_CMD_ANNOUNCE);
      client.SetRequestMode_Listen(local, QUAV_LISTEN_PORT);
      client.StartListen();
      client.Listen(QUAV_LISTEN_PORT, "FFFFFFFFFFFF", &list, OnDiscovered, timeout, &run, 1, "");
    }
    Pump(run);
    return 0;
  }

  QUAVVarlist list;
  if (command == "get" && args.size() == 3) {
    list.Append(kCommunityTable);
    list.SetCommand(QUAV_CMD_GET);
  } else if (command == "set-ip" && args.size() == 6) {
    list.Append(kSetIpTable);
    list["IP Address"]->value = args[3].c_str();
    list["IP Netmask"]->value = args[4].c_str();
    list["GateWay Address"]->value = args[5].c_str();
    list["Save Config"]->value = "1";
    list["Apply"]->value = "1";
    list.SetCommand(QUAV_CMD_SET);
  } else if (command == "reboot" && args.size() == 3) {
    list.Append(kRebootTable);
    list[0]->value = "1";
    list.SetCommand(QUAV_CMD_SET);
  } else if (command == "snmp" && args.size() == 4 && (args[1] == "on" || args[1] == "off")) {
    args.erase(args.begin());
    list.Append(kCommunityTable);
    list["Public Community String"]->value = "quorin";
    list["Private Community String"]->value = "velmont";
    list["SNMP Status"]->value = args[0] == "on" ? "1" : "0";
    list.SetCommand(QUAV_CMD_SET);
  } else {
    return Usage();
  }
  list.SetSecurityMode(QUAV_SECURITY_HMAC_MD5, args[2].c_str());
  client.SetRequestMode(0, local);
  client.SendRequest(args[1].c_str(), &list, OnAnswered, kRequestTimeout, &run);
  Pump(run);
  return run.failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Main(std::vector<std::string>(argv + 1, argv + argc));
  } catch (CVHException* e) {
    std::fprintf(stderr, "quavctl: %s\n", e->GetMessage().GetString());
    delete e;
    return 1;
  }
}
