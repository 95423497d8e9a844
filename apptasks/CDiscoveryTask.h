// Finds the access points of the local network over QUAV and reports each one
// as a device record. Mode 1 broadcasts one Discover request and collects the
// answers for 5 s; mode 0 listens on UDP port 55000 for the announcements that
// group members send by themselves, for 20 s. The first time-out of a task's
// life is retried once, with the devices already heard listed in the request
// so that they keep quiet. A device that answers with a failure status, and
// an answer that names no valid device, is set aside (and logged); the scan
// goes on for the others.
//
// Everything runs on the thread that created the task: the client's window
// drives the answer handler, which calls the owner's DiscoveryResultProc.
#pragma once

#include "CDeviceRecord.h"
#include "DeviceTask.h"

// Status 0: one device; the record lives only for the call (the owner copies
// it). Status 1: the scan is finished. Status -1: it failed; no record.
typedef int (*DiscoveryResultProc)(int status, CDeviceRecord* record, void* owner);

// The record of one answer (a Discover answer, mode 1, or an announcement,
// mode 0), its device texts on one line. FALSE, with the reason in `why`,
// for an answer that names no device that can be configured: no response
// list, a MAC that is not 12 hex digits (or the broadcast MAC), an address
// that is not a unicast IPv4 host address, a netmask that is not a run of
// ones from the top, or an address that is its subnet's network or
// broadcast address. MACs come upper-case from the QUAV library's decoder,
// as every list of the program compares them.
BOOL RecordFromAnswer(basicVarList* list, int mode, CDeviceRecord& record, CString* why);

class CDiscoveryTask {
 public:
  enum Mode { kListen = 0, kBroadcast = 1 };

  // A failure to set up the client (port 55000 taken, in listen mode) is the
  // creator's CVHException.
  explicit CDiscoveryTask(int mode);
  ~CDiscoveryTask();
  CDiscoveryTask(const CDiscoveryTask&) = delete;
  CDiscoveryTask& operator=(const CDiscoveryTask&) = delete;

  void Run(DiscoveryResultProc proc, void* owner);
  void ClearSeenMacs();
  void AddSeenMac(const CString& mac);
  // The owner is going away: the running scan reports nothing more to it.
  void Forget(void* owner);
  void StartListen();
  void StopListen();

  BOOL IsDone() const { return m_bDone; }
  // The answers set aside since the task was made, one line each, the MAC
  // first, then the reason: devices that answered with a failure status and
  // records that were refused. The scan goes on without them; each is also
  // written to standard error.
  const CStringList& IgnoredAnswers() const { return m_ignored; }
  const CStringList& SeenMacs() const { return m_seenMacs; }
  // 0: Run waits, pumping messages, until the scan is done.
  void SetAsync(BOOL async) { m_bAsync = async; }

 private:
  static void OnResponse(VhQUAVError* error, basicVarList* list, void* user);
  void HandleResponse(int code, basicVarList* list);
  void ReportDevice(basicVarList* list);
  void End(int status);
  void Ignore(const CString& line);

  DiscoveryResultProc m_pfnResult = nullptr;
  void* m_pOwner = nullptr;
  BOOL m_bAsync = TRUE;
  unsigned long m_nTimeout;
  int m_nRetries = 1;
  BOOL m_bDone = FALSE;
  int m_nMode;
  CStringList m_seenMacs;
  CStringList m_ignored;
  CQUAVTaskClient* m_pClient;
  QUAVVarlist m_list;
};
