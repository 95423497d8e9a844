#include "Scenario.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "Mib.h"
#include "QuavCodec.h"

namespace apsim {

namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
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
    else if (item.rfind("drop_set=", 0) == 0 || item.rfind("lose_set=", 0) == 0) {
      const bool lose = item[0] == 'l';
      std::string fault = item.substr(9);
      size_t colon = fault.find(':');
      std::string& name = lose ? f.lose_set_name : f.drop_set_name;
      int& count = lose ? f.lose_set_requests : f.drop_set_answers;
      name = fault.substr(0, colon);
      count = colon == std::string::npos ? 0 : std::atoi(fault.c_str() + colon + 1);
      if ((!MibByName(name) && !VariableByKey(name.c_str())) || count <= 0) {
        *error = "bad fault '" + item + "' (" + item.substr(0, 8) + "=NAME:COUNT)";
        return std::nullopt;
      }
    }
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

}  // namespace

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

void WriteState(const std::vector<Device>& devices) {
  if (g_settings.statePath.empty()) return;
  std::string aside = g_settings.statePath + ".new";
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
  if (rename(aside.c_str(), g_settings.statePath.c_str()) != 0)
    fprintf(stderr, "apsim: cannot write %s: %s\n", g_settings.statePath.c_str(), strerror(errno));
}

}  // namespace apsim
