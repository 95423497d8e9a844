// Gives one access point a new IP address, netmask and gateway over QUAV,
// has it save and apply them, then reboots it, while a progress bar runs in
// the device's row of the apply page's member list (kColAction). The outcome,
// kTaskOk, kTaskPasswordError or kTaskError, reaches the owner through
// TaskDoneProc on the progress thread, or one of the three texts below, or
// the QUAV library's text of a request that could not be sent (never a
// message box: the apply run goes on unattended). Success needs the device's
// answer to the reboot request, or the device found at its new address: when
// the set-IP or the reboot request gets no answer (the client has sent it
// again meanwhile), the device may still have taken it, so the task restarts
// it all the same and, once it has had its time to restart, asks for the
// device by its MAC (a Discover sent to that MAC alone) before it decides;
// found at the new address, it reports kTaskOkAnswerLost; found at its old
// address, it sends the set-IP and the restart once more and looks again.
// When the progress is full before the outcome is known, the task
// waits for it. The task ends itself (DeviceTask.h); its creator never
// deletes it.
#pragma once

#include "DeviceTask.h"

// Failures after an unanswered request, as the task reports them: the device
// answered the search at its old address, at another address that is
// neither its old nor its new one (kColIp shows where), or not at all.
extern const char kSetIpStillAtOldAddress[];
extern const char kSetIpElsewhere[];
extern const char kSetIpNotFound[];

// The search by MAC that settles a request whose answer never came (this
// task's, and the apply engine's restart): a Discover sent to that MAC
// alone, which only that device answers. It goes out on `client` into
// `list`, which must outlive it; the time-out counts units of 10 ms. A
// request that cannot be sent is the caller's CVHException.
void SendSearchByMac(AlQUAVClient* client, QUAVVarlist& list, const CString& mac, QUAVCallback callback,
                     unsigned long timeout, void* user);
// The address at which an answer to that search shows the device `mac`;
// empty for a time-out, a failure status, another device's answer, or an
// answer that names no device that can be configured.
CString SearchAnswerAddress(int code, basicVarList* list, const CString& mac);

class CSetIpTask : public CDeviceTask {
 public:
  // `unused` is kept and never read; the retries are the apply engine's.
  CSetIpTask(CExtListCtrl* list, const CString& mac, const CString& password, const CString& newIp,
             const CString& newNetmask, const CString& newGateway, int unused, int retries);

  // Both in units of 10 ms: the set-IP request's time-out and the time the
  // progress takes to fill.
  void SetTimeouts(unsigned long requestTimeout, unsigned long progressDuration);
  // Sends the set-IP request and starts the progress. 0 when the request
  // could not be sent: the failure is reported with the library's text, and
  // the task is gone.
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
  static void OnFindAnswer(VhQUAVError* error, basicVarList* list, void* user);
  // Sends the set-IP request; throws when it cannot.
  void SendSetIp();
  void SetIpAnswered(int code, const CString& message);
  void RebootAnswered(int code, const CString& message);
  // The search by MAC after a request that got no answer.
  void FindDevice();
  void FindAfterRestart();
  // Progress thread: hands the search to the GUI thread once it is due.
  void WhileAwaiting() override;
  void OnGuiCall(int what) override;
  void FindAnswered(int code, basicVarList* list);
  void Succeed();
  void Fail(int code, int failure = kFailedPlainly);
  void Progress() override;

  CString m_strMac;
  CString m_strRebootMessage;
  CString m_strNewIp;
  CString m_strNewNetmask;
  [[maybe_unused]] int m_nUnused;  // the creator's spare argument, kept as it came
  std::atomic<int> m_bPasswordError{0};
  std::atomic<int> m_bFailed{0};
  std::atomic<int> m_bSucceeded{0};  // the device took its address and restarts
  std::atomic<int> m_bSetIpUnanswered{0};
  std::atomic<int> m_bAnswerLost{0};  // success known from the search, not from an answer
  std::atomic<LONG> m_nFindDue{0};     // the tick at which the search begins; 0: none due
  enum { kFailedPlainly, kFailedStillOld, kFailedElsewhere, kFailedNotFound };
  std::atomic<int> m_nFailure{kFailedPlainly};
  CString m_strOldIp;
  // The library's text when the reboot request could not be sent; written
  // before the failed flag, read after it.
  CString m_strFailure;
  int m_nFindsLeft = 0;
  int m_nRoundsLeft = 0;  // set-IP and restart sent again after a search found it unmoved
  CString m_strNewGateway;
  CString m_strPassword;
  unsigned long m_nRequestTimeout = 1500;
  unsigned long m_nProgressDuration = 1500;
  int m_nRetries;
  int m_nRow = -1;
};
