// Finds the access points of the local network over QUAV and reports each one
// as a device record. Mode 1 broadcasts one Discover request and collects the
// answers for 5 s; mode 0 listens on UDP port 55000 for the announcements that
// group members send by themselves, for 20 s. The first time-out of a task's
// life is retried once, with the devices already heard listed in the request
// so that they keep quiet.
//
// Everything runs on the thread that created the task: the client's window
// drives the answer handler, which calls the owner's DiscoveryResultProc.
#pragma once

#include "CDeviceRecord.h"
#include "DeviceTask.h"

// Status 0: one device; the record lives only for the call (the owner copies
// it). Status 1: the scan is finished. Status -1: it failed; no record.
typedef int (*DiscoveryResultProc)(int status, CDeviceRecord* record, void* owner);

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
  const CStringList& SeenMacs() const { return m_seenMacs; }
  // 0: Run waits, pumping messages, until the scan is done.
  void SetAsync(BOOL async) { m_bAsync = async; }

 private:
  static void OnResponse(VhQUAVError* error, basicVarList* list, void* user);
  void HandleResponse(int code, basicVarList* list);
  void ReportDevice(basicVarList* list);
  void End(int status);

  DiscoveryResultProc m_pfnResult = nullptr;
  void* m_pOwner = nullptr;
  BOOL m_bAsync = TRUE;
  unsigned long m_nTimeout;
  int m_nRetries = 1;
  BOOL m_bDone = FALSE;
  int m_nMode;
  CStringList m_seenMacs;
  CQUAVTaskClient* m_pClient;
  QUAVVarlist m_list;
};
