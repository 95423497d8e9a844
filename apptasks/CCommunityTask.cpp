#include "CCommunityTask.h"

#include "MemberStore.h"
#include "WizardTables.h"

namespace {

const unsigned long kReadTimeout = 500;       // units of 10 ms
const unsigned long kSetTimeout = 60 * 500;
// Reads after one whose answers never came, or after such a Set, each with
// its resends.
const int kReadBacks = 2;

}  // namespace

CCommunityTask::CCommunityTask(CExtListCtrl* list, const CString& mac, const CString& password, const CString& text1,
                               const CString& text2, const CString& text3)
    : CDeviceTask(list),
      m_strPassword(password),
      m_strTargetMac(mac),
      m_strRowMac(mac),
      m_strText1(text1),
      m_strText2(text2),
      m_strText3(text3) {}

void CCommunityTask::SendRead(QUAVCallback answered) {
  m_list = QUAVVarlist(kCommunityTable);
  m_list.SetSecurityMode(QUAV_SECURITY_HMAC_MD5, m_strPassword);
  m_list.SetCommand(QUAV_CMD_GET);
  m_pClient->SendRequest(m_strTargetMac, &m_list, answered, kReadTimeout, this);
}

BOOL CCommunityTask::Start() {
  m_nReadsLeft = kReadBacks;
  try {
    SendRead(OnReadAnswer);
  } catch (CVHException* e) {
    CString text = e->GetMessage();
    delete e;
    Report(FALSE, m_strRowMac, text);
    delete this;  // nothing of it is pending
    return 0;
  }
  m_bFailed = 0;
  m_bAnswered = 0;
  m_bAnswerLost = 0;
  if (m_pList && !StartProgress()) {
    Report(FALSE, m_strRowMac, kTaskError);
    EndWithoutProgress();
  }
  return 1;
}

void CCommunityTask::OnReadAnswer(VhQUAVError* error, basicVarList*, void* user) {
  static_cast<CCommunityTask*>(user)->ReadAnswered(error->code);
}

void CCommunityTask::OnSetAnswer(VhQUAVError* error, basicVarList*, void* user) {
  static_cast<CCommunityTask*>(user)->SetAnswered(error->code);
}

void CCommunityTask::OnReadBackAnswer(VhQUAVError* error, basicVarList*, void* user) {
  static_cast<CCommunityTask*>(user)->ReadBackAnswered(error->code);
}

void CCommunityTask::ReadAnswered(int code) {
  if (Closing()) return;
  HandlerScope scope(this);
  // A read changes nothing on the device: one whose answers were all lost
  // is simply asked again.
  if (code == QUAV_TIMEOUT && m_nReadsLeft-- > 0) {
    try {
      SendRead(OnReadAnswer);
      return;
    } catch (CVHException* e) {
      delete e;  // it cannot be asked: the read stays unanswered
    }
  }
  if (code != 0) {
    // A Set after a refused or unanswered read cannot succeed, and would
    // outlive the task: none is sent.
    m_bPasswordError = code == QUAV_PASSWORD_ERROR;
    m_bFailed = 1;
    if (!m_pList) EndWithoutProgress();
    return;
  }
  if (m_nMode == kDisable) {
    SendSet("0");
    return;
  }
  const CString read = m_list["Public Community String"]->value;
  const CString write = m_list["Private Community String"]->value;
  const CString status = m_list["SNMP Status"]->value;
  const int row = FindRow(m_strRowMac);
  if (status == "1" && read == kDefaultReadCommunity && write == kDefaultWriteCommunity) {
    m_bFailed = 0;
    SetCell(row, kColReadCommunity, read);
    SetCell(row, kColWriteCommunity, write);
    m_bAnswered = 1;
    if (!m_pList) EndWithoutProgress();
    return;
  }
  SetCell(row, kColReadCommunity, kDefaultReadCommunity);
  SetCell(row, kColWriteCommunity, kDefaultWriteCommunity);
  SendSet("1");
}

void CCommunityTask::SendSet(const CString& snmpStatus) {
  m_strWrittenStatus = snmpStatus;
  m_list = QUAVVarlist(kCommunityTable);
  m_list["Public Community String"]->value = kDefaultReadCommunity;
  m_list["Private Community String"]->value = kDefaultWriteCommunity;
  m_list["SNMP Status"]->value = snmpStatus;
  m_list.SetSecurityMode(QUAV_SECURITY_HMAC_MD5, m_strPassword);
  m_list.SetCommand(QUAV_CMD_SET);
  try {
    m_pClient->SendRequest(m_strTargetMac, &m_list, OnSetAnswer, kSetTimeout, this);
  } catch (CVHException* e) {
    // The progress thread, when there is one, reports the failure; it is
    // written before the flag that tells the thread to read it.
    m_strFailure = e->GetMessage();
    delete e;
    if (m_pList) {
      m_bFailed = 1;
    } else {
      Report(FALSE, m_strRowMac, m_strFailure);
      EndWithoutProgress();
    }
  }
}

void CCommunityTask::SetAnswered(int code) {
  if (Closing()) return;
  HandlerScope scope(this);
  // The Set and its resends went unanswered, but the device may have taken
  // it: what it holds decides.
  m_nReadsLeft = kReadBacks;
  if (code == QUAV_TIMEOUT && SendReadBack()) return;
  m_bFailed = code != 0;
  m_bAnswered = code == 0;
  if (!m_pList) EndWithoutProgress();
}

BOOL CCommunityTask::SendReadBack() {
  if (m_nReadsLeft-- <= 0) return FALSE;
  try {
    SendRead(OnReadBackAnswer);
    return TRUE;
  } catch (CVHException* e) {
    delete e;  // it cannot be asked
    return FALSE;
  }
}

void CCommunityTask::ReadBackAnswered(int code) {
  if (Closing()) return;
  HandlerScope scope(this);
  if (code == QUAV_TIMEOUT && SendReadBack()) return;  // asked once more
  const BOOL holds = code == 0 && m_list["SNMP Status"]->value == m_strWrittenStatus &&
                     m_list["Public Community String"]->value == kDefaultReadCommunity &&
                     m_list["Private Community String"]->value == kDefaultWriteCommunity;
  m_bAnswerLost = holds;
  m_bFailed = !holds;
  m_bAnswered = holds;
  if (!m_pList) EndWithoutProgress();
}

void CCommunityTask::Progress() {
  // No success without the device's answers: to the read, and to the Set
  // when one was sent (a lost Set would leave SNMP as it was), or its
  // read-back.
  AwaitOutcome(m_nProgressDuration, -1, m_bFailed, m_bAnswered);
  if (!m_bFailed)
    Report(TRUE, m_strRowMac, m_bAnswerLost ? kTaskOkAnswerLost : kTaskOk);
  else if (!m_strFailure.IsEmpty())
    Report(FALSE, m_strRowMac, m_strFailure);
  else
    Report(FALSE, m_strRowMac, m_bPasswordError ? kTaskPasswordError : kTaskError);
}
