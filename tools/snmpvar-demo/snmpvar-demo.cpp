// snmpvar-demo: the SNMP variable layer from the command line.
//
//   snmpvar-demo [options] get OID...            one get of scalars (".0" appended)
//   snmpvar-demo [options] walk KEYS COLUMN...   a table walked row by row; the first
//                                                KEYS columns are its index
//   snmpvar-demo [options] set OID=TEXT...       display strings written in one set
//
// Options: -a agent (127.0.0.1), -p port (161), -c read community (public),
// -w write community (private), -v 1|2c (1), -t time-out in 10 ms units (100).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CVHException.h"
#include "Files.h"
#include "SnmpRequest.h"
#include "SnmpSession.h"

namespace {

int Usage() {
  fprintf(stderr,
          "usage: snmpvar-demo [-a agent] [-p port] [-c community] [-w community] [-v 1|2c] [-t timeout]\n"
          "                    get OID... | walk KEYS COLUMN... | set OID=TEXT...\n");
  return 2;
}

void PrintRow(const SnmpVarList& list) {
  for (int i = 0; i < list.GetCount(); ++i)
    printf("%s%s", i ? "\t" : "", static_cast<LPCTSTR>(*list.GetItem(i)->value));
  printf("\n");
}

int Run(SnmpRequest& request, const std::string& command, int argc, char** argv) {
  SnmpVarList& list = request.m_VarList;
  if (command == "get") {
    // The syntax of an arbitrary OID is unknown: every value is shown in its
    // printable form, as the object-identifier conversion does.
    for (int i = 0; i < argc; ++i) list.Add(argv[i], argv[i], SVS_OBJECTID, SVA_READ);
    request.Get(true);
    for (int i = 0; i < list.GetCount(); ++i)
      printf("%s = %s\n", list.GetItem(i)->oid, static_cast<LPCTSTR>(*list.GetItem(i)->value));
    return 0;
  }
  if (command == "walk") {
    if (argc < 2) return Usage();
    list.m_nItemType = MVT_UMV;
    list.m_nKeyCount = atoi(argv[0]);
    for (int i = 1; i < argc; ++i) list.Add(argv[i], argv[i], SVS_OBJECTID, SVA_READ);
    for (int i = 0; i < list.m_nKeyCount && i < list.GetCount(); ++i) list.GetItem(i)->syntax = SVS_INTEGER;
    int rows = 0;
    for (bool more = request.Get(true); more; more = request.Get(false), ++rows) PrintRow(list);
    printf("(%d rows)\n", rows);
    return 0;
  }
  if (command == "set") {
    for (int i = 0; i < argc; ++i) {
      const char* equals = strchr(argv[i], '=');
      if (!equals) return Usage();
      std::string oid(argv[i], static_cast<size_t>(equals - argv[i]));
      list.Add(oid.c_str(), oid.c_str(), SVS_DISPLAYSTR, SVA_READWRITE);
      *list.GetItem(list.GetCount() - 1)->value = equals + 1;
    }
    request.Set(true, "", nullptr);
    printf("set %d variable(s)\n", list.GetCount());
    return 0;
  }
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
  int arg = 1;
  std::string agent = "127.0.0.1", read = "public", write = "private", version = "1";
  int port = 161, timeout = 100;
  for (; arg + 1 < argc && argv[arg][0] == '-'; arg += 2) {
    std::string option = argv[arg];
    const char* value = argv[arg + 1];
    if (option == "-a") agent = value;
    else if (option == "-p") port = atoi(value);
    else if (option == "-c") read = value;
    else if (option == "-w") write = value;
    else if (option == "-v") version = value;
    else if (option == "-t") timeout = atoi(value);
    else return Usage();
  }
  if (arg >= argc) return Usage();
  std::string command = argv[arg++];
  char folder[1024];
  GetTempPath(sizeof folder, folder);
  int result = 1;
  try {
    SnmpSessionInit(folder, "");
    SnmpRequest request;
    request.m_strAgent = agent.c_str();
    request.m_nPort = static_cast<unsigned short>(port);
    request.m_strReadCommunity = read.c_str();
    request.m_strWriteCommunity = write.c_str();
    request.m_nVersion = version == "2c" ? 1 : 0;
    request.m_nTimeout = timeout;
    result = Run(request, command, argc - arg, argv + arg);
  } catch (CVHException* e) {
    fprintf(stderr, "error %d: %s\n", e->GetCode(), static_cast<LPCTSTR>(e->GetMessage()));
    delete e;
  }
  SnmpSessionExit();
  return result;
}
