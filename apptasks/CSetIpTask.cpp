#include "CSetIpTask.h"

#include "CDiscoveryTask.h"
#include "CExtListCtrl.h"
#include "MemberStore.h"
#include "WizardTables.h"

const char kSetIpStillAtOldAddress[] = "OLDADDRESS";
const char kSetIpElsewhere[] = "ELSEWHERE";
const char kSetIpNotFound[] = "NOTFOUND";

namespace {

const unsigned long kRebootTimeout = 100;  // units of 10 ms
// The search by MAC: a device that restarts is silent for a while, so it is
// looked for once it has had that time, and asked several times over 30 s,
// each time for 2.5 s: a Discover is not sent again by the client, so a lost
// request or answer costs one try.
const DWORD kRestartMs = 20000;
const unsigned long kFindTimeout = 250;
const int kFindTries = 12;
const int kCallFind = 1;  // OnGuiCall: the restart time is over
// Found at its old address once it has had its time to restart, the device
// never took its address or never got the restart: both are sent again, once.
const int kRoundsAgain = 1;

}  // namespace

void SendSearchByMac(AlQUAVClient* client, QUAVVarlist& list, const CString& mac, QUAVCallback callback,
                     unsigned long timeout, void* user) {
  list = QUAVVarlist(kBroadcastDiscoveryTable);
  list.SetSecurityMode(QUAV_SECURITY_NONE, "");
  list.SetCommand(QUAV_CMD_DISCOVER);
  client->SendRequest(mac, &list, callback, timeout, user);
}

CString SearchAnswerAddress(int code, basicVarList* list, const CString& mac) {
  CDeviceRecord found;
  if (code != 0 || !RecordFromAnswer(list, CDiscoveryTask::kBroadcast, found, nullptr) ||
      found.m_strMac.CompareNoCase(mac) != 0)
    return CString();
  return found.m_strIp;
}

CSetIpTask::CSetIpTask(CExtListCtrl* list, const CString& mac, const CString& password, const CString& newIp,
                       const CString& newNetmask, const CString& newGateway, int unused, int retries)
    : CDeviceTask(list),
      m_strMac(mac),
      m_strNewIp(newIp),
      m_strNewNetmask(newNetmask),
      m_nUnused(unused),
      m_strNewGateway(newGateway),
      m_strPassword(password),
      m_nRetries(retries) {}

void CSetIpTask::SetTimeouts(unsigned long requestTimeout, unsigned long progressDuration) {
  m_nRequestTimeout = requestTimeout;
  m_nProgressDuration = progressDuration;
}

void CSetIpTask::SendSetIp() {
  m_list = QUAVVarlist(kSetIpTable);
  m_list["IP Address"]->value = m_strNewIp;
  m_list["IP Netmask"]->value = m_strNewNetmask;
  m_list["GateWay Address"]->value = m_strNewGateway;
  m_list["Save Config"]->value = "1";
  m_list["Apply"]->value = "1";
  m_list.SetSecurityMode(QUAV_SECURITY_HMAC_MD5, m_strPassword);
  m_list.SetCommand(QUAV_CMD_SET);
  m_pClient->SendRequest(m_strMac, &m_list, OnSetIpAnswer, m_nRequestTimeout, this);
}

BOOL CSetIpTask::Start() {
  try {
    SendSetIp();
  } catch (CVHException* e) {
    const CString text = e->GetMessage();
    delete e;
    Report(FALSE, m_strMac, text);
    delete this;  // nothing of it is pending
    return 0;
  }
  m_bFailed = 0;
  m_bPasswordError = 0;
  m_bSucceeded = 0;
  m_bSetIpUnanswered = 0;
  m_bAnswerLost = 0;
  m_nFindDue = 0;
  m_nFailure = kFailedPlainly;
  m_nFindsLeft = kFindTries;
  m_nRoundsLeft = kRoundsAgain;
  if (m_pList) {
    m_nRow = FindRow(m_strMac);
    m_strOldIp = m_pList->GetItemText(m_nRow, kColIp);
    m_pList->SetProgress(m_nRow, kColAction, TRUE, "", TRUE);
    if (!StartProgress()) {
      m_pList->SetProgress(m_nRow, kColAction, TRUE, "", FALSE);
      Report(FALSE, m_strMac, kTaskError);
      EndWithoutProgress();
    }
  }
  return 1;
}

void CSetIpTask::OnSetIpAnswer(VhQUAVError* error, basicVarList*, void* user) {
  static_cast<CSetIpTask*>(user)->SetIpAnswered(error->code, error->message);
}

void CSetIpTask::OnRebootAnswer(VhQUAVError* error, basicVarList*, void* user) {
  static_cast<CSetIpTask*>(user)->RebootAnswered(error->code, error->message);
}

void CSetIpTask::OnFindAnswer(VhQUAVError* error, basicVarList* list, void* user) {
  static_cast<CSetIpTask*>(user)->FindAnswered(error->code, list);
}

// The flags that tell the outcome first: the progress thread reads them once
// it sees the failed flag. Without a progress list, the last answer ends
// the task.
void CSetIpTask::Fail(int code, int failure) {
  m_bPasswordError = code == QUAV_PASSWORD_ERROR;
  m_nFailure = failure;
  m_bFailed = 1;
  if (!m_pList) EndWithoutProgress();
}

void CSetIpTask::Succeed() {
  SetCell(FindRow(m_strMac), kColIp, m_strNewIp);
  m_bSucceeded = 1;
  if (!m_pList) EndWithoutProgress();
}

// The device restarts now, or never got the request: it is looked for once
// it has had its time to restart, never before (a device that holds a new
// address still answers at its old one until it restarts). The progress
// thread tells when; without one the search begins at once.
void CSetIpTask::FindAfterRestart() {
  if (!m_pList) {
    FindDevice();
    return;
  }
  m_nFindDue = LONG(GetTickCount() + kRestartMs) | 1;
}

void CSetIpTask::WhileAwaiting() {
  const LONG due = m_nFindDue;
  if (due == 0 || LONG(GetTickCount() - DWORD(due)) < 0) return;
  m_nFindDue = 0;
  CallOnGuiThread(kCallFind);
}

void CSetIpTask::OnGuiCall(int what) {
  if (what != kCallFind || m_bFailed || m_bSucceeded) return;
  HandlerScope scope(this);
  FindDevice();
}

void CSetIpTask::FindDevice() {
  if (m_nFindsLeft-- <= 0) {
    Fail(0, kFailedNotFound);
    return;
  }
  try {
    SendSearchByMac(m_pClient, m_list, m_strMac, OnFindAnswer, kFindTimeout, this);
  } catch (CVHException* e) {
    delete e;
    Fail(0, kFailedNotFound);
  }
}

void CSetIpTask::FindAnswered(int code, basicVarList* list) {
  if (Closing() || m_bFailed || m_bSucceeded) return;
  HandlerScope scope(this);
  if (code == QUAV_TIMEOUT) {
    FindDevice();
    return;
  }
  const CString found = SearchAnswerAddress(code, list, m_strMac);
  if (found.IsEmpty()) return;  // not this device's answer; the search goes on until its time-out
  if (found == m_strNewIp) {
    m_bAnswerLost = 1;
    Succeed();
    return;
  }
  // The device is where it was, or somewhere else: the store shows where.
  SetCell(FindRow(m_strMac), kColIp, found);
  if (found == m_strOldIp && m_nRoundsLeft-- > 0) {
    m_bSetIpUnanswered = 0;
    m_nFindsLeft = kFindTries;
    try {
      SendSetIp();
      return;
    } catch (CVHException* e) {
      delete e;  // it cannot be asked again: it stays where it was found
    }
  }
  Fail(0, found == m_strOldIp ? kFailedStillOld : kFailedElsewhere);
}

void CSetIpTask::SetIpAnswered(int code, const CString& message) {
  if (Closing()) return;
  HandlerScope scope(this);
  if (code != 0 && code != QUAV_TIMEOUT) {
    SetCell(FindRow(m_strMac), kColManual, QUAVFailureText(message));
    Fail(code);
    return;
  }
  if (code == QUAV_TIMEOUT) {
    // The device may hold the new address, to take it at its restart: it is
    // restarted all the same, and looked for afterwards.
    SetCell(FindRow(m_strMac), kColManual, QUAVFailureText(message));
    m_bSetIpUnanswered = 1;
  } else {
    SetCell(FindRow(m_strMac), kColIp, m_strNewIp);
  }
  m_list = QUAVVarlist(kRebootTable);
  m_list["System Reboot"]->value = "1";
  m_list.SetSecurityMode(QUAV_SECURITY_HMAC_MD5, m_strPassword);
  m_list.SetCommand(QUAV_CMD_SET);
  try {
    m_pClient->SendRequest(m_strMac, &m_list, OnRebootAnswer, kRebootTimeout, this);
  } catch (CVHException* e) {
    m_strFailure = e->GetMessage();
    delete e;
    Fail(0);
  }
}

void CSetIpTask::RebootAnswered(int code, const CString& message) {
  if (Closing()) return;
  HandlerScope scope(this);
  if (code == QUAV_TIMEOUT) {
    // The device may be restarting already, its answer lost.
    m_strRebootMessage = QUAVFailureText(message);
    SetCell(FindRow(m_strMac), kColAction, m_strRebootMessage);
    FindAfterRestart();
  } else if (code != 0) {
    m_strRebootMessage = QUAVFailureText(message);
    SetCell(FindRow(m_strMac), kColAction, m_strRebootMessage);
    Fail(code);
  } else if (m_bSetIpUnanswered) {
    FindAfterRestart();  // restarting; whether with the new address, the search tells
  } else {
    m_bSucceeded = 1;
    if (!m_pList) EndWithoutProgress();
  }
}

void CSetIpTask::Progress() {
  // A full progress is no success until the device has taken its address;
  // until then its answers, their time-outs and the search decide.
  AwaitOutcome(m_nProgressDuration, m_nRow, m_bFailed, m_bSucceeded);
  m_pList->SetProgress(m_nRow, kColAction, TRUE, "", FALSE);
  if (!m_bFailed)
    Report(TRUE, m_strMac, m_bAnswerLost ? kTaskOkAnswerLost : kTaskOk);
  else if (m_bPasswordError)
    Report(FALSE, m_strMac, kTaskPasswordError);
  else if (m_nFailure == kFailedStillOld)
    Report(FALSE, m_strMac, kSetIpStillAtOldAddress);
  else if (m_nFailure == kFailedElsewhere)
    Report(FALSE, m_strMac, kSetIpElsewhere);
  else if (m_nFailure == kFailedNotFound)
    Report(FALSE, m_strMac, kSetIpNotFound);
  else if (!m_strFailure.IsEmpty())
    Report(FALSE, m_strMac, m_strFailure);
  else
    Report(FALSE, m_strMac, kTaskError);
}
