// The apply engine's QUAV phase (first instance): SNMP access and
// communities for every member, then the new addresses, with the device
// password asked again after a refusal.
#include <algorithm>

#include "CApplyPage.h"
#include "CCommunityTask.h"
#include "CSetIpTask.h"
#include "WizardUi.h"

namespace {

const int kSettleSeconds = 5;
const unsigned long kSetIpTimeout = 1500, kSetIpProgress = 1500;

CApplyPage* PageOf(void* owner) { return static_cast<CApplyPage*>(owner); }

}  // namespace

// ---------------------------------------------------------------- the run

void CApplyPage::RunFirst() {
  SetMainBusy(1);
  SetBusy(TRUE);
  CommunityPass(CApplyTaskLists::kGetSnmp);
  while (IsPending())
    if (!Wait(kFiveSeconds)) return;
  if (!IsPending())
    for (int i = 0; i < kSettleSeconds; ++i)
      if (!Wait(kOneSecond)) return;
  if (SetIpForAllRows()) {
    while (AnyRowWithCell(kColAuto, kSetIpPending))
      if (!Wait(kFiveSeconds)) return;
    LogLine(Text("IDS_STR_WAITING"));
    if (!IsPending())
      for (int i = 0; i < kRebootSeconds; ++i)
        if (!Wait(kOneSecond)) return;
  }
  WriteBack();
  m_nCurrentDevice = 0;
  PostMessage(WM_APPLY_NEXTDEVICE);
  SetMainBusy(0);
}

BOOL CApplyPage::AskPassword(int row, CString& password) {
  SetMainBusy(0);
  const int answer = AskDevicePassword(Cell(row, kColIp), Cell(row, kColMac), password);
  SetMainBusy(1);
  return answer != IDCANCEL;
}

CCommunityTask* CApplyPage::NewCommunityTask(int row, const CString& password) {
  return new CCommunityTask(&m_store, Cell(row, kColMac), password, "", "", "");
}

CSetIpTask* CApplyPage::NewSetIpTask(int row, const CString& newIp) {
  return new CSetIpTask(&m_store, Cell(row, kColMac), Cell(row, kColPassword), newIp, Cell(row, kColNewMask),
                        Cell(row, kColNewGateway), 0, 1);
}

// The two community passes: the first instance's read (and enable) of SNMP,
// the second instance's switch-off.
BOOL CApplyPage::StartCommunityTask(CApplyTaskLists::Which which, int row, const CString& password) {
  const BOOL first = which == CApplyTaskLists::kGetSnmp;
  const CString mac = Cell(row, kColMac);
  CCommunityTask* task = nullptr;
  try {
    task = NewCommunityTask(row, password);
  } catch (CVHException* e) {
    const CString text = e->GetMessage();
    delete e;
    // No task will report for this row: it must not stay pending.
    SetCell(row, kColSnmpStatus, kSnmpOff);
    LogRow(first ? "IDS_STR_GETSNMP" : "IDS_STR_SNMP", row, "IDS_STR_FAIL");
    LogQUAVFailure(row, text);
    return FALSE;
  }
  task->SetMode(first ? CCommunityTask::kCheckAndEnable : CCommunityTask::kDisable);
  task->SetCallback(first ? GetSnmpDone : FinalPassDone, this);
  // Listed before it starts: a start that fails reports at once, and the
  // report takes the entry out again.
  m_tasks.Add(which, task, mac);
  task->Start();
  return TRUE;
}

void CApplyPage::StartCommunityStep(CApplyTaskLists::Which which, int row, const CString& password) {
  const BOOL first = which == CApplyTaskLists::kGetSnmp;
  const LPCTSTR key = first ? "IDS_STR_GETSNMP" : "IDS_STR_SNMP";
  LogRow(key, row, "IDS_STR_START");
  SetCell(row, kColSnmpStatus, kSnmpPending);
  if (StartCommunityTask(which, row, password)) LogRow(key, row, first ? "IDS_STR_GETTING" : "IDS_STR_SETTING");
}

void CApplyPage::CommunityPass(CApplyTaskLists::Which which) {
  const BOOL first = which == CApplyTaskLists::kGetSnmp;
  for (int row = 0; row < RowCount(); ++row)
    if (Cell(row, kColDelete) != kNotInGroup)
      StartCommunityStep(which, row, first ? Cell(row, kColPassword) : m_strGroupPassword);
}

BOOL CApplyPage::SwitchSnmpOffAgain() {
  for (int row = 0; row < RowCount(); ++row) {
    if (Cell(row, kColDelete) == kNotInGroup || Cell(row, kColSnmpStatus) != kSnmpOn) continue;
    const CString mac = Cell(row, kColMac);
    const BOOL loggedIn = std::find(m_loggedIn.begin(), m_loggedIn.end(), mac) != m_loggedIn.end();
    StartCommunityStep(CApplyTaskLists::kFinalPass, row, loggedIn ? m_strGroupPassword : Cell(row, kColPassword));
  }
  while (IsPending() || m_tasks.Count(CApplyTaskLists::kFinalPass) > 0)
    if (!Wait(kOneSecond / 5)) return FALSE;
  return TRUE;
}

BOOL CApplyPage::OnCancelFlow() {
  if (!m_nEntered || m_bStopped) return FALSE;
  if (m_nSecondRun) return m_bRunEnded;
  if (!AnyRowWithCell(kColSnmpStatus, kSnmpOn)) return FALSE;
  ShowInFrame();
  SetBusy(TRUE);
  SetMainBusy(1);
  LogLine(Text("IDS_STR_SNMP_OFF_AGAIN"));
  {
    // From here on the failures counted are the pass's own: the members it
    // could not switch off.
    std::lock_guard<std::mutex> lock(m_failedLock);
    m_failed.clear();
    m_failedSteps.clear();
  }
  if (!SwitchSnmpOffAgain()) return TRUE;
  const std::vector<CString> stillOn = FailedDevices();
  LogStillOnLine(stillOn);
  if (stillOn.empty() && !Wait(kLastLineShown)) return TRUE;
  SetMainBusy(0);
  SetBusy(FALSE);
  // After the pass's wait, not inside it: nothing waits for the operator there.
  if (!stillOn.empty()) TellStillOn(stillOn);
  return TRUE;
}

void CApplyPage::LogStillOnLine(const std::vector<CString>& stillOn) {
  if (stillOn.empty()) {
    LogLine(Text("IDS_STR_SNMP_OFF_DONE"));
    return;
  }
  CString macs;
  for (const CString& mac : stillOn) macs += (macs.IsEmpty() ? "" : ", ") + mac;
  Log("IDS_STR_SNMP_STILL_ON", {int(stillOn.size()), macs});
}

void CApplyPage::TellStillOn(const std::vector<CString>& stillOn) {
  CString devices;
  for (const CString& mac : stillOn) {
    const int row = FindRowByMac(mac);
    if (!devices.IsEmpty()) devices += "\n";
    devices += FormatLangText(Text("IDS_MSG_SNMP_STILL_ON_DEVICE"), {row >= 0 ? Cell(row, kColIp) : mac, FormatMacText(mac)});
  }
  ShowSkinMessage(FormatLangText(Text("IDS_MSG_SNMP_STILL_ON"), {devices}), FALSE);
}

// The typed password replaces the row's for the first pass only: the last
// pass keeps to the group password.
BOOL CApplyPage::RetryCommunity(CApplyTaskLists::Which which, int row) {
  CString password;
  if (!AskPassword(row, password)) {
    SetCell(row, kColSnmpStatus, kSnmpOff);
    LogRow(which == CApplyTaskLists::kGetSnmp ? "IDS_STR_GETSNMP" : "IDS_STR_SNMP", row, "IDS_STR_FAIL");
    return FALSE;
  }
  if (which == CApplyTaskLists::kGetSnmp) SetCell(row, kColPassword, password);
  return StartCommunityTask(which, row, password);
}

// ---------------------------------------------------------------- get SNMP

void CApplyPage::GetSnmpDone(BOOL ok, CString mac, CString message, void* owner) {
  CApplyPage* page = PageOf(owner);
  const int row = page->FindRowByMac(mac);
  // The status cell last: the run polls it, and its next line must come
  // after this one.
  if (ok) {
    page->SetCell(row, kColAction, kGetSnmpOk);
    page->SetCell(row, kColReadCommunity, kDefaultReadCommunity);
    page->SetCell(row, kColWriteCommunity, kDefaultWriteCommunity);
    page->LogRow("IDS_STR_GETSNMP", row, OkKey(message));
    page->SetCell(row, kColSnmpStatus, kSnmpOn);
  } else if (message == kTaskPasswordError) {
    // The first refusal is silent: the stored password may just be stale.
    if (page->Cell(row, kColAction) == kPasswordRefused) page->LogRow("IDS_STR_GETSNMP", row, "IDS_STR_PASSWORD_ERR");
    page->SetCell(row, kColAction, kPasswordRefused);
    page->SetCell(row, kColSnmpStatus, kSnmpPending);
  } else {
    page->SetCell(row, kColAction, kGetSnmpFailed);
    page->LogRow("IDS_STR_GETSNMP", row, "IDS_STR_FAIL");
    page->LogQUAVFailure(row, message);
    page->SetCell(row, kColSnmpStatus, kSnmpOff);
  }
  page->EndReport(CApplyTaskLists::kGetSnmp, mac, WM_APPLY_RETRY_GETSNMP);
}

void CApplyPage::EndReport(CApplyTaskLists::Which which, const CString& mac, UINT retryMessage) {
  // Once the entry is gone the page may go too: only its window handle is
  // used after that.
  HWND hwnd = m_hWnd;
  m_tasks.Remove(which, mac);
  ::PostMessage(hwnd, retryMessage, 0, 0);
}

void CApplyPage::RetryPass(CApplyTaskLists::Which which, UINT message, BOOL waiting, int column, LPCTSTR mark,
                           BOOL (CApplyPage::*retry)(int row)) {
  if (m_bStopped || m_tasks.Count(which) > 0 || !waiting) return;
  if (m_bInRetry[which]) {
    m_bRetryAgain[which] = TRUE;
    return;
  }
  HWND self = m_hWnd;
  m_bInRetry[which] = TRUE;
  for (int row = 0; row < RowCount(); ++row) {
    if (Cell(row, column) != mark) continue;
    (this->*retry)(row);
    if (!::IsWindow(self)) return;
  }
  m_bInRetry[which] = FALSE;
  if (m_bRetryAgain[which]) {
    m_bRetryAgain[which] = FALSE;
    PostMessage(message);
  }
}

LRESULT CApplyPage::OnRetryGetSnmp(WPARAM, LPARAM) {
  RetryPass(CApplyTaskLists::kGetSnmp, WM_APPLY_RETRY_GETSNMP, IsPending(), kColSnmpStatus, kSnmpPending,
            &CApplyPage::RetryGetSnmp);
  return 0;
}

BOOL CApplyPage::RetryGetSnmp(int row) { return RetryCommunity(CApplyTaskLists::kGetSnmp, row); }

// ---------------------------------------------------------------- set IP

BOOL CApplyPage::StartSetIpTask(int row, const CString& newIp) {
  const CString mac = Cell(row, kColMac);
  CSetIpTask* task = nullptr;
  try {
    task = NewSetIpTask(row, newIp);
  } catch (CVHException* e) {
    const CString text = e->GetMessage();
    delete e;
    // No task will report for this row: the run must not wait for it.
    SetCell(row, kColAuto, kFlagOn);
    SetCell(row, kColAction, kSetIpFailed);
    LogRow("IDS_STR_SETIP", row, "IDS_STR_FAIL");
    LogQUAVFailure(row, text);
    return FALSE;
  }
  task->SetTimeouts(kSetIpTimeout, kSetIpProgress);
  task->SetCallback(SetIpDone, this);
  m_tasks.Add(CApplyTaskLists::kSetIp, task, mac);  // before the start, as for the community tasks
  task->Start();
  return TRUE;
}

BOOL CApplyPage::SetIpForAllRows() {
  BOOL started = FALSE;
  auto takesPart = [this](int row) {
    const CString membership = Cell(row, kColDelete);
    return membership != kNotInGroup && membership != kLeavesGroup;
  };
  // A task that cannot be made fails its own row, with its line; the others
  // go on.
  for (int row = 0; row < RowCount(); ++row) {
    if (!takesPart(row) || Cell(row, kColManual) != kFlagOn) continue;
    LogRow("IDS_STR_SETIP", row, "IDS_STR_START");
    SetCell(row, kColAuto, kSetIpPending);
    if (!StartSetIpTask(row, Cell(row, kColNewIp))) continue;
    started = TRUE;
    LogRow("IDS_STR_SETIP", row, "IDS_STR_SETTING");
  }
  BOOL first = TRUE;
  int counter = 0;
  for (int row = 0; row < RowCount(); ++row) {
    if (!takesPart(row) || Cell(row, kColAuto) != kFlagOn) continue;
    const CString planned = Cell(row, kColNewIp);
    const int lastDot = planned.ReverseFind('.');
    const CString prefix = planned.Left(lastDot + 1);
    if (first) counter = atoi(planned.Mid(lastDot + 1));
    first = FALSE;
    auto taken = [this, row](const CString& candidate) { return IsHeldByAnother(candidate, row) != FALSE; };
    const CString address = PickAutoAddress(prefix, counter, Cell(row, kColNewMask), taken);
    if (address.IsEmpty()) {
      LogRow("IDS_STR_SETIP", row, "IDS_STR_FAIL");
      SetCell(row, kColAuto, kFlagOn);
      continue;
    }
    SetCell(row, kColAuto, kSetIpPending);
    SetCell(row, kColNewIp, address);
    if (StartSetIpTask(row, address)) started = TRUE;
  }
  return started;
}

void CApplyPage::SetIpDone(BOOL ok, CString mac, CString message, void* owner) {
  CApplyPage* page = PageOf(owner);
  const int row = page->FindRowByMac(mac);
  // The address cell last, as above.
  if (ok) {
    page->SetCell(row, kColAction, kSetIpOk);
    page->LogRow("IDS_STR_SETIP", row, OkKey(message));
    page->SetCell(row, kColAuto, kFlagOn);
  } else if (message == kTaskPasswordError) {
    if (page->Cell(row, kColAction) == kPasswordRefused) page->LogRow("IDS_STR_SETIP", row, "IDS_STR_PASSWORD_ERR");
    page->SetCell(row, kColAction, kPasswordRefused);
    page->SetCell(row, kColAuto, kSetIpPending);
  } else {
    page->SetCell(row, kColAction, kSetIpFailed);
    page->LogRow("IDS_STR_SETIP", row, "IDS_STR_FAIL");
    // After an unanswered request the search by MAC tells where the device
    // is; kColIp shows the address it answered from.
    if (message == kSetIpStillAtOldAddress) page->LogRow("IDS_STR_SETIP_OLD", row, "");
    if (message == kSetIpElsewhere)
      page->Log("IDS_STR_SETIP_ELSEWHERE", {page->Cell(row, kColIp), mac, page->Cell(row, kColNewIp)});
    if (message == kSetIpNotFound) page->LogRow("IDS_STR_SETIP_LOST", row, "");
    page->LogQUAVFailure(row, message);
    page->SetCell(row, kColAuto, kFlagOn);
  }
  page->EndReport(CApplyTaskLists::kSetIp, mac, WM_APPLY_RETRY_SETIP);
}

LRESULT CApplyPage::OnRetrySetIp(WPARAM, LPARAM) {
  RetryPass(CApplyTaskLists::kSetIp, WM_APPLY_RETRY_SETIP, AnyRowWithCell(kColAuto, kSetIpPending), kColAuto,
            kSetIpPending, &CApplyPage::RetrySetIp);
  return 0;
}

BOOL CApplyPage::RetrySetIp(int row) {
  CString password;
  if (!AskPassword(row, password)) {
    SetCell(row, kColAuto, kFlagOff);
    LogRow("IDS_STR_SETIP", row, "IDS_STR_FAIL");
    return FALSE;
  }
  SetCell(row, kColPassword, password);
  LogRow("IDS_STR_SETIP", row, "IDS_STR_START");
  if (!StartSetIpTask(row, Cell(row, kColNewIp))) return FALSE;
  LogRow("IDS_STR_SETIP", row, "IDS_STR_SETTING");
  return TRUE;
}
