// What a RIZ-4410 offers over SNMP: its private objects under
// 1.3.6.1.4.1.32473.10.37.40, with their syntax, the values they take and the
// device value each one lives in.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "AgentMessage.h"

namespace apsim {

struct MibObject {
  std::string name;
  Oid oid;
  char syntax;  // 'i' integer, 'a' ipaddress, 's' display string
  bool writable;
  std::vector<int> options;  // allowed integer values; empty: any
  std::string initial;
  std::string key;  // the device value it lives in (usually its name)
};

// Every object, in OID order (GetNext walks it).
const std::vector<MibObject>& Mib();
const MibObject* MibByName(const std::string& name);
const MibObject* MibByOid(const Oid& oid);

// Whether a text is a value the object takes; what a scenario line and an
// SNMP Set are both checked against.
bool MibValueFits(const MibObject& o, const std::string& text);

// The binding that carries the object's value `text`.
VarBind MibBind(const MibObject& o, const std::string& text);
// The text a Set's value stands for, or nullopt when its type is not the object's.
std::optional<std::string> BindText(const MibObject& o, const VarBind& vb);

}  // namespace apsim
