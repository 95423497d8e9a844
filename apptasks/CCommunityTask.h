// Prepares one access point for SNMP management over QUAV, or takes SNMP
// away again. Check mode reads the SNMP status and both communities and,
// unless SNMP is on with the default communities, switches it on with them;
// the communities go into kColReadCommunity and kColWriteCommunity of the
// device's row (MemberStore.h). Disable mode switches SNMP off with the
// default communities. A read whose answers never came is asked again,
// twice at most; a failed read sends no Set. The outcome reaches the
// owner through TaskDoneProc on the progress thread after 10 s, or at once
// after a failure; success needs the device's answers to the read and to the
// Set when one is sent. A Set whose answers never came is settled by a read
// of the same variables: the device holding what was written is a success
// (kTaskOkAnswerLost), anything else, or no answer, a failure. The task ends itself (DeviceTask.h); its creator
// never deletes it.
#pragma once

#include "DeviceTask.h"

class CCommunityTask : public CDeviceTask {
 public:
  enum Mode { kCheckAndEnable = 0, kDisable = 1 };

  // The three texts are kept and never read.
  CCommunityTask(CExtListCtrl* list, const CString& mac, const CString& password, const CString& text1,
                 const CString& text2, const CString& text3);

  void SetMode(int mode) { m_nMode = mode; }
  // The MAC requests go to; the row is still found, and reported, by the
  // MAC given at construction.
  void SetTargetMac(const CString& mac) { m_strTargetMac = mac; }
  // Sends the read request and starts the progress. 0 when it could not be
  // sent: the failure is reported, and the task is gone.
  BOOL Start();

  const CString& GetMac() const { return m_strRowMac; }

 private:
  ~CCommunityTask() override = default;

  static void OnReadAnswer(VhQUAVError* error, basicVarList* list, void* user);
  static void OnSetAnswer(VhQUAVError* error, basicVarList* list, void* user);
  static void OnReadBackAnswer(VhQUAVError* error, basicVarList* list, void* user);
  void ReadAnswered(int code);
  void SetAnswered(int code);
  void ReadBackAnswered(int code);
  // Sends a Get of the table, answered to `answered`; throws when it cannot.
  void SendRead(QUAVCallback answered);
  // FALSE when no read-back is left or it cannot be sent.
  BOOL SendReadBack();
  void SendSet(const CString& snmpStatus);
  void Progress() override;

  CString m_strPassword;
  CString m_strTargetMac;
  CString m_strWrittenStatus;  // the SNMP status the Set wrote
  int m_nReadsLeft = 0;  // further reads after unanswered ones
  unsigned long m_nProgressDuration = 1000;
  std::atomic<int> m_bPasswordError{0};
  int m_nMode = kCheckAndEnable;
  CString m_strRowMac;
  std::atomic<int> m_bFailed{0};
  std::atomic<int> m_bAnswered{0};  // the read, and the Set when one went out, answered with success
  std::atomic<int> m_bAnswerLost{0};  // the Set's success was read back
  CString m_strFailure;             // a Set that could not be sent, reported instead of kTaskError
  CString m_strText1, m_strText2, m_strText3;
};
