#include "SnmpWalk.h"

#include <sstream>

#include "Snmp.h"

SnmpWalkResult SnmpBulkWalk(Snmp& session, SnmpTarget& target, int max_repetitions) {
  SnmpWalkResult result;
  Oid next("1");
  for (;;) {
    Pdu pdu;
    pdu += Vb(next);
    result.status = session.get_bulk(pdu, target, 0, max_repetitions);
    if (result.status != 0 || pdu.get_vb_count() == 0) return result;
    for (int i = 0; i < pdu.get_vb_count(); ++i) {
      if (pdu[i].get_syntax() == sNMP_SYNTAX_ENDOFMIBVIEW) return result;
      // An agent that does not move forward would keep us here for ever.
      if (!(pdu[i].get_oid() > next)) {
        result.status = SNMP_CLASS_ERROR;
        return result;
      }
      next = pdu[i].get_oid();
      result.oids.push_back(next.get_printable());
    }
  }
}

std::vector<std::string> OidsOfNetSnmpWalk(const std::string& output) {
  std::vector<std::string> oids;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t end = line.find(" = ");
    if (line.rfind(".1.", 0) != 0 || end == std::string::npos) continue;  // a value's continuation line
    // The tool prints the endOfMibView that ends the walk as a binding of its own.
    if (line.find(" = No more variables left in this MIB View", end) == end) continue;
    oids.push_back(line.substr(1, end - 1));
  }
  return oids;
}

std::vector<std::string> WithoutLiveTables(const std::vector<std::string>& oids) {
  // Rows of these tables come and go with the sockets and processes of
  // whatever else runs on the machine (other tests, in parallel), so two
  // walks taken a moment apart differ there however right both are.
  static const char* const kLive[] = {
      "1.3.6.1.2.1.6.13.",   // tcpConnTable
      "1.3.6.1.2.1.6.19.",   // tcpConnectionTable
      "1.3.6.1.2.1.6.20.",   // tcpListenerTable
      "1.3.6.1.2.1.7.5.",    // udpTable
      "1.3.6.1.2.1.7.7.",    // udpEndpointTable
      "1.3.6.1.2.1.4.22.",   // ipNetToMediaTable
      "1.3.6.1.2.1.4.35.",   // ipNetToPhysicalTable
      "1.3.6.1.2.1.25.4.",   // hrSWRun
      "1.3.6.1.2.1.25.5.",   // hrSWRunPerf
  };
  std::vector<std::string> kept;
  for (const std::string& oid : oids) {
    bool live = false;
    for (const char* prefix : kLive) live = live || oid.rfind(prefix, 0) == 0;
    if (!live) kept.push_back(oid);
  }
  return kept;
}
