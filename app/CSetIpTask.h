// Gives one access point a new IP address, netmask and gateway over QUAV,
// has it save and apply them, then reboots it, while a progress bar runs in
// the device's row of the apply page's member list (column 8). The outcome,
// " OK!", "PASSWORDERROR" or " Error!", reaches the owner through
// TaskDoneProc on the progress thread. Success needs the device's answer to
// the set-IP request: when the progress is full before it came, the task
// waits for the answer or its time-out. The task ends itself (DeviceTask.h);
// its creator never deletes it.
#pragma once

#include "DeviceTask.h"

class CSetIpTask : public CDeviceTask {
 public:
  // `unused` is kept and never read; the retries are the apply engine's.
  CSetIpTask(CExtListCtrl* list, const CString& mac, const CString& password, const CString& newIp,
             const CString& newNetmask, const CString& newGateway, int unused, int retries);

  // Both in units of 10 ms: the set-IP request's time-out and the time the
  // progress takes to fill.
  void SetTimeouts(unsigned long requestTimeout, unsigned long progressDuration);
  // Sends the set-IP request and starts the progress. 0 when the request
  // could not be sent: the failure is shown and reported, and the task is
  // gone.
  BOOL Start();

  const CString& GetMac() const { return m_strMac; }
  BOOL NoRetriesLeft() const { return m_nRetries == 0; }
  void UseRetry() {
    if (m_nRetries > 0) --m_nRetries;
  }

 private:
  ~CSetIpTask() override = default;

  static void OnSetIpAnswer(VhQUAVError* error, basicVarList* list, void* user);
  static void OnRebootAnswer(VhQUAVError* error, basicVarList* list, void* user);
  void SetIpAnswered(int code, const CString& message);
  void RebootAnswered(int code, const CString& message);
  void Fail(int code);
  void Progress() override;

  CString m_strMac;
  CString m_strRebootMessage;
  int m_nProgress = 0;
  CString m_strNewIp;
  CString m_strNewNetmask;
  int m_nUnused;
  std::atomic<int> m_bPasswordError{0};
  std::atomic<int> m_bFinished{0};
  std::atomic<int> m_bAnswered{0};  // the set-IP request was answered with success
  CString m_strNewGateway;
  CString m_strPassword;
  unsigned long m_nRequestTimeout = 1500;
  unsigned long m_nProgressDuration = 1500;
  int m_nRetries;
  int m_nRow = -1;
};
