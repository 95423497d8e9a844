// A get-bulk walk of a whole agent's tree, as net-snmp's snmpbulkwalk makes it.
#pragma once

#include <string>
#include <vector>

class Snmp;
class SnmpTarget;

struct SnmpWalkResult {
  int status = 0;                  // the first failing request's status, else 0
  std::vector<std::string> oids;   // every binding's OID in dotted form, in walk order
};

// Walks from .1 to the end of the agent's view with `max_repetitions` per
// request. Each request starts after the last binding the previous answer
// kept, so an answer cut short loses nothing.
SnmpWalkResult SnmpBulkWalk(Snmp& session, SnmpTarget& target, int max_repetitions);

// The OIDs of `snmpbulkwalk -On` output (lines ".1.3... = ..."), without the
// leading dot and without the end-of-view line the tool prints last.
std::vector<std::string> OidsOfNetSnmpWalk(const std::string& output);

// The OIDs less the rows of tables that change with the machine's sockets and
// processes, for comparing two walks of a live agent.
std::vector<std::string> WithoutLiveTables(const std::vector<std::string>& oids);
