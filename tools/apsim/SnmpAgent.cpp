#include "SnmpAgent.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <string>
#include <utility>

#include "Mib.h"
#include "Scenario.h"

namespace apsim {

void SnmpAgent::Receive(Device& d) {
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
  if (const MibObject* lost = set && d.faults.lose_set_requests > 0 ? MibByName(d.faults.lose_set_name) : nullptr) {
    if (std::any_of(request->binds.begin(), request->binds.end(),
                    [lost](const VarBind& b) { return b.oid == lost->oid; })) {
      --d.faults.lose_set_requests;
      Log("snmp lose set of %s at %s", d.faults.lose_set_name.c_str(), mac.c_str());
      return;
    }
  }
  bool reboot = false;
  Bytes answer = Answer(d, *request, reboot);
  // The state is on disk before the answer, so that whoever got the answer
  // reads what it did.
  if (reboot) d.Reboot();
  if (set) WriteState(devices_);
  if (reboot && d.faults.no_answer_reboot) {
    Log("snmp ignore restart at %s", mac.c_str());
    return;
  }
  if (const MibObject* dropped = set && d.faults.drop_set_answers > 0 ? MibByName(d.faults.drop_set_name) : nullptr) {
    const bool writes = std::any_of(request->binds.begin(), request->binds.end(),
                                    [dropped](const VarBind& b) { return b.oid == dropped->oid; });
    if (writes) {
      --d.faults.drop_set_answers;
      Log("snmp drop answer to set of %s at %s", d.faults.drop_set_name.c_str(), mac.c_str());
      return;
    }
  }
  if (answer.size() > 65000) answer = EncodeResponse(*request, kTooBig, 0, {});
  if (Lost("snmp answer", mac)) return;
  sendto(d.snmp_socket, answer.data(), answer.size(), 0, reinterpret_cast<sockaddr*>(&from), sizeof from);
}

Bytes SnmpAgent::Answer(Device& d, const SnmpMessage& r, bool& reboot) {
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
void SnmpAgent::FollowGroup(Device& d) {
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

}  // namespace apsim
