// The one SNMP session of the process, the defaults that every new request
// copies, and the hidden window whose timer runs the SNMP event loop so that
// asynchronous requests complete on the user-interface thread.
#pragma once

#include "afx.h"

class Snmp;

struct SnmpRequestDefaultValues {
  int nTimeout;  // units of 10 ms
  CString strAgent;
  CString strAgent2;
  unsigned short nPort;
  CString strContextEngineId;
  CString strContextName;
  int nVersion;  // 0 version 1, 3 version 3
  CString strReadCommunity;
  CString strWriteCommunity;
  int nSecurityModel;
  int nSecurityLevel;
  CString strSecurityName;
  CString strAuthPassword;
  CString strPrivPassword;
  int nAuthProtocol;
  int nPrivProtocol;
};

extern SnmpRequestDefaultValues SnmpRequestDefaults;

// The global session; null before SnmpSessionInit and after SnmpSessionExit.
extern Snmp* SnmpGlobalSession;

// Local engine id and boot-counter file name of the SNMPv3 engine.
extern const char* const SnmpLocalEngineId;
extern const char* const SnmpBootCounterFile;

// Opens the session, counts the engine boot in `folder`, starts SNMPv3, sets
// the defaults and starts the event window. True, or throws a CVHException
// pointer (-506, -529). A boot counter that cannot be read or kept (a folder
// others may write into, a link or a FIFO in the file's place, a full or
// read-only folder) is no failure: the start counts from 1 and says so in one
// line on standard error. `address` has no effect.
bool SnmpSessionInit(CString folder, CString address);
// Stops the timer, destroys the window and closes the session; a second call
// does nothing.
void SnmpSessionExit();

// The event window's handle while the session runs (for tests and spies).
HWND SnmpEventWindowHandle();
