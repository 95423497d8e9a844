#include "CSetIpTask.h"

#include "CExtListCtrl.h"
#include "WizardTables.h"

namespace {

const int kIpColumn = 2;
const int kSetIpFailureColumn = 6;
const int kProgressColumn = 8;
const unsigned long kRebootTimeout = 100;  // units of 10 ms
const DWORD kAnswerPollMs = 20;

}  // namespace

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

BOOL CSetIpTask::Start() {
  m_list = QUAVVarlist(kSetIpTable);
  m_list["IP Address"]->value = m_strNewIp;
  m_list["IP Netmask"]->value = m_strNewNetmask;
  m_list["GateWay Address"]->value = m_strNewGateway;
  m_list["Save Config"]->value = "1";
  m_list["Apply"]->value = "1";
  m_list.SetSecurityMode(QUAV_SECURITY_HMAC_MD5, m_strPassword);
  m_list.SetCommand(QUAV_CMD_SET);
  try {
    m_pClient->SendRequest(m_strMac, &m_list, OnSetIpAnswer, m_nRequestTimeout, this);
  } catch (CVHException* e) {
    Report(FALSE, m_strMac, ShowQUAVFailure(e));
    delete this;  // nothing of it is pending
    return 0;
  }
  m_nProgress = 0;
  m_bFinished = 0;
  m_bPasswordError = 0;
  m_bAnswered = 0;
  if (m_pList) {
    m_nRow = FindRow(m_strMac);
    m_pList->SetProgress(m_nRow, kProgressColumn, TRUE, "", TRUE);
    if (!StartProgress()) {
      m_pList->SetProgress(m_nRow, kProgressColumn, TRUE, "", FALSE);
      Report(FALSE, m_strMac, " Error!");
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

// The password flag first: the progress thread reads it once it sees the
// finished flag. Without a progress list, the last answer ends the task.
void CSetIpTask::Fail(int code) {
  m_bPasswordError = code == QUAV_PASSWORD_ERROR;
  m_bFinished = 1;
  if (!m_pList) EndWithoutProgress();
}

void CSetIpTask::SetIpAnswered(int code, const CString& message) {
  if (Closing()) return;
  HandlerScope scope(this);
  if (code != 0) {
    SetCell(FindRow(m_strMac), kSetIpFailureColumn, QUAVFailureText(message));
    Fail(code);
    return;
  }
  m_bAnswered = 1;
  SetCell(FindRow(m_strMac), kIpColumn, m_strNewIp);
  m_list = QUAVVarlist(kRebootTable);
  m_list["System Reboot"]->value = "1";
  m_list.SetSecurityMode(QUAV_SECURITY_HMAC_MD5, m_strPassword);
  m_list.SetCommand(QUAV_CMD_SET);
  try {
    m_pClient->SendRequest(m_strMac, &m_list, OnRebootAnswer, kRebootTimeout, this);
    m_bFinished = 0;
  } catch (CVHException* e) {
    Fail(0);
    ShowQUAVFailure(e);  // last: the box pumps messages, and the end waits for this handler
  }
}

void CSetIpTask::RebootAnswered(int code, const CString& message) {
  if (Closing()) return;
  HandlerScope scope(this);
  if (code != 0) {
    m_strRebootMessage = QUAVFailureText(message);
    SetCell(FindRow(m_strMac), kProgressColumn, m_strRebootMessage);
    Fail(code);
  } else if (!m_pList) {
    EndWithoutProgress();
  }
}

void CSetIpTask::Progress() {
  const DWORD step = DWORD(m_nProgressDuration / 10);
  const DWORD begin = GetTickCount();
  while (m_nProgress <= 99 && !m_bFinished) {
    SleepUntilStep(begin, m_nProgress + 1, step);
    ++m_nProgress;
    m_pList->UpdateProgress(m_nRow, kProgressColumn, m_nProgress);
  }
  // A full progress is no success until the device has answered the set-IP
  // request; until then its time-out decides.
  while (!m_bFinished && !m_bAnswered) Sleep(kAnswerPollMs);
  SetClosing();
  m_pList->SetProgress(m_nRow, kProgressColumn, TRUE, "", FALSE);
  if (m_bFinished)
    Report(FALSE, m_strMac, m_bPasswordError ? "PASSWORDERROR" : " Error!");
  else
    Report(TRUE, m_strMac, " OK!");
}
