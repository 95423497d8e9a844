// The apply engine's SNMP phase (first instance), one device at a time, and
// the second instance's run. Asynchronous steps continue in their lists'
// completion callbacks; synchronous ones report failure by throwing. Every
// failure ends in a line where the step has one and the chain moves on, so
// that every run reaches its end lines and releases the page.
#include <algorithm>

#include "CApplyPage.h"
#include "CSetIpTask.h"
#include "CVHException.h"
#include "MibTables.h"
#include "QUAVError.h"
#include "SnmpControlVarList.h"

namespace {

const int kSnmpPort = 161;
const int kApplyWait = 3000;      // units of 10 ms: the device applies its settings
const int kEndStepWait = 1500;    // five of them end the first run
const int kTargetApplyWait = 2000;
// The apply request to the target is sent again within that wait when its
// answer is slow to come: four tries end before it.
const int kTargetApplyTimeout = 400;
const int kProgressStepWait = 2500;  // five of them follow the Master's apply
const int kProgressSteps = 5;
const int kSyncTimeout = 2000;
const int kVersionModulo = 500;
// The search after an unanswered restart asks for the device once it has
// had its time to restart (kRebootSeconds), each try answered within 2.5 s
// on a LAN, and gives up after eight tries, 20 s when every try is heard
// out. Tries are counted, not time: while a synchronous step of the chain
// holds the page, no try goes out, and that time must not count against
// the device. Begun when the restart's answer is given up, it normally ends
// before the five waits that follow the last device do.
const unsigned long kSearchTryTimeout = 250;  // units of 10 ms
const int kSearchTries = 8;
const UINT_PTR kRestartSearchTimer = 1;
const int kSearchPollWait = 10;  // units of 10 ms

// Mode select values of the group-settings list by role, as combo indexes.
struct RoleSelection {
  const char* role;
  int index;
};
const RoleSelection kRoleSelections[] = {{kRoleMaster, 0}, {kRoleBackupMaster, 1}, {kRoleSlave, 2}};
const int kStatusDisable = 0, kStatusEnable = 1;
const int kAccessPointIndex = 0;

CApplyPage* PageOf(void* user) { return static_cast<CApplyPage*>(user); }

// Runs a Set of the whole list; FALSE when it could not be made (synchronous
// lists: when it failed).
BOOL TrySet(SnmpBoundVarList* list) {
  try {
    list->Set(1, 1, "", nullptr);
    return TRUE;
  } catch (CVHException* e) {
    delete e;
    return FALSE;
  }
}

}  // namespace

// ---------------------------------------------------------------- settling a Set

// A device that answers the read-back without holding what was written never
// got the Set: it is written once more.
LPCTSTR CApplyPage::SetAndSettle(SnmpControlVarList* list) {
  const int kWrites = 2;
  for (int write = 1; write <= kWrites; ++write) {
    int code = 0;
    try {
      list->Set(1, 1, "", nullptr);
      return "IDS_STR_OK";
    } catch (CVHException* e) {
      code = e->GetCode();
      delete e;
    }
    if (code != SNMPCODE_TIMEOUT) break;
    BOOL answered = FALSE;
    if (HoldsWhatWasWritten(list, &answered)) return "IDS_STR_OK_LOST";
    if (!answered) break;
  }
  return "IDS_STR_FAIL";
}

// The Get fills the list's values and its controls with what the device
// holds; both are given back what was written afterwards, which later steps
// and runs write again.
BOOL CApplyPage::HoldsWhatWasWritten(SnmpControlVarList* list, BOOL* answered) {
  SnmpVarList& vars = list->m_Request.m_VarList;
  std::vector<CString> written;
  for (int i = 0; i < vars.GetCount(); ++i) written.push_back(*vars.GetItem(i)->value);
  BOOL holds = FALSE;
  const int mode = list->GetMode();
  list->SetMode(0);  // the answer is awaited here, also for a list that runs asynchronously
  try {
    GetPatiently(list);
    if (answered) *answered = TRUE;
    holds = TRUE;
    for (int i = 0; i < vars.GetCount(); ++i) {
      const int access = vars.GetItem(i)->access;
      if ((access & SVA_READWRITE) == SVA_READWRITE && !(access & SVA_INVALID) && *vars.GetItem(i)->value != written[i])
        holds = FALSE;
    }
  } catch (CVHException* e) {
    delete e;  // it could not be asked
  }
  list->SetMode(mode);
  for (int i = 0; i < vars.GetCount(); ++i) *vars.GetItem(i)->value = written[i];
  list->ValuesToControls();
  return holds;
}

// The tries are the request's when it goes out: a list that runs
// asynchronously keeps them for its answer.
void CApplyPage::GetPatiently(SnmpBoundVarList* list) {
  const int retries = list->m_Request.m_nRetries;
  list->m_Request.m_nRetries = 2 * retries + 1;
  try {
    list->Get();
  } catch (CVHException*) {
    list->m_Request.m_nRetries = retries;
    throw;
  }
  list->m_Request.m_nRetries = retries;
}

// ---------------------------------------------------------------- the chain

void CApplyPage::PointAt(SnmpBoundVarList* list, const CString& ip, int row, BOOL port161) {
  list->m_Request.m_strAgent = ip;
  if (port161) list->m_Request.m_nPort = kSnmpPort;
  list->m_Request.m_strReadCommunity = Cell(row, kColReadCommunity);
  list->m_Request.m_strWriteCommunity = Cell(row, kColWriteCommunity);
}

void CApplyPage::MoveOn() {
  if (m_bStopped) return;
  ++m_nCurrentDevice;
  PostMessage(WM_APPLY_NEXTDEVICE);
}

LRESULT CApplyPage::OnNextDevice(WPARAM, LPARAM) {
  if (m_bStopped) return 0;
  const int row = m_nCurrentDevice;
  if (row >= RowCount()) {
    FinishChain();
    return 0;
  }
  if (Cell(row, kColDelete) == kNotInGroup) {
    MoveOn();
    return 0;
  }
  PointAt(m_pApModeList, Cell(row, kColIp), row, TRUE);
  try {
    GetPatiently(m_pApModeList);
  } catch (CVHException* e) {
    delete e;
    ApModeFailed();
  }
  return 0;
}

// A silent or refusing agent, or a member that is not where the store says.
void CApplyPage::ApModeFailed() {
  LogRow("IDS_STR_APMODE", m_nCurrentDevice, "IDS_STR_FAIL");
  MoveOn();
}

void CApplyPage::FinishChain() {
  for (int j = 1; j <= kProgressSteps; ++j) {
    if (!Wait(kEndStepWait)) return;
    Log("IDS_STR_DONE_PER", {20 * j, "%"});
  }
  // Normally settled by now; each search ends after its last try.
  while (RestartSearchesPending())
    if (!Wait(kSearchPollWait)) return;
  WriteBack();  // a device found elsewhere after its restart is followed there
  LogLastLine();
  EndRestartSearches();
  SetBusy(FALSE);
}

void CApplyPage::ApModeRead(SnmpBoundVarList*, SnmpRequestResult* result, void* user) {
  CApplyPage* page = PageOf(user);
  if (page->m_bStopped) return;
  if (result->nCode != 0) {
    page->ApModeFailed();
    return;
  }
  if (page->m_apMode.GetCurSel() == kAccessPointIndex) {
    page->GroupSettings(page->m_nCurrentDevice);
    return;
  }
  page->m_apMode.SetCurSel(kAccessPointIndex);
  if (!TrySet(page->m_pApModeList)) page->ApModeFailed();
}

void CApplyPage::ApModeWritten(SnmpBoundVarList*, SnmpRequestResult* result, void* user) {
  CApplyPage* page = PageOf(user);
  if (page->m_bStopped) return;
  if (result->nCode != 0)
    page->ApModeFailed();
  else
    page->GroupSettings(page->m_nCurrentDevice);
}

// The step's row is the device in work, not the row found by the agent's
// address: only one device is in work, and two rows may show one address.
void CApplyPage::GroupSettings(int row) {
  if (m_bStopped) return;
  const BOOL leaving = Cell(row, kColDelete) == kLeavesGroup;
  const LPCTSTR key = leaving ? "IDS_STR_DEL_APTREVAK" : "IDS_STR_SET_ARRAY";
  LogRow(key, row, "IDS_STR_START");
  PointAt(m_pGroupSettingsList, Cell(row, kColIp), row, TRUE);
  // A leaving device gets only its status written.
  SnmpVarList& entries = m_pGroupSettingsList->m_Request.m_VarList;
  for (int entry = 1; entry <= 3; ++entry) entries.GetItem(entry)->access = leaving ? SVA_INVALID : SVA_READWRITE;
  m_groupStatus.SetCurSel(leaving ? kStatusDisable : kStatusEnable);
  const CString role = Cell(row, kColRole);
  for (const RoleSelection& r : kRoleSelections)
    if (role == r.role) m_modeSelect.SetCurSel(r.index);
  if (!TrySet(m_pGroupSettingsList)) {
    LogRow(key, row, "IDS_STR_FAIL");
    MoveOn();
  }
}

void CApplyPage::GroupSettingsWritten(SnmpBoundVarList*, SnmpRequestResult* result, void* user) {
  CApplyPage* page = PageOf(user);
  if (page->m_bStopped) return;
  const int row = page->m_nCurrentDevice;
  const BOOL leaving = page->Cell(row, kColDelete) == kLeavesGroup;
  LPCTSTR status = result->nCode == 0 ? "IDS_STR_OK" : "IDS_STR_FAIL";
  if (result->nCode == SNMPCODE_TIMEOUT && HoldsWhatWasWritten(page->m_pGroupSettingsList)) status = "IDS_STR_OK_LOST";
  page->LogRow(leaving ? "IDS_STR_DEL_APTREVAK" : "IDS_STR_SET_ARRAY", row, status);
  if (CString(status) == "IDS_STR_FAIL") {
    page->MoveOn();
    return;
  }
  // Each step may pump messages, in which the page can be stopped or go:
  // the window is asked first, since a page that went is deleted too.
  HWND self = page->m_hWnd;
  auto going = [self, page] { return ::IsWindow(self) && !page->m_bStopped; };
  if (page->Cell(row, kColRole) == kRoleMaster && !leaving) {
    page->SyncFlags(row);
    if (!going()) return;
    page->GroupVersion(row);
    if (!going()) return;
  }
  page->Login(row);
  if (!going()) return;
  page->Apply(row);  // waits, pumping messages
  if (going()) page->Restart(row);
}

void CApplyPage::SyncFlags(int row) {
  const CString ip = Cell(row, kColIp);
  LogIpStep("IDS_STR_PARAM", row, "IDS_STR_START");
  delete m_pSyncFlagsList;
  m_pSyncFlagsList = NewEngineVarList();
  m_pSyncFlagsList->m_Request.m_VarList = SnmpVarList(g_mibApTrevakSync, MVT_SV, 0);
  PointAt(m_pSyncFlagsList, ip, row, TRUE);
  m_pSyncFlagsList->SetMode(0);
  m_pSyncFlagsList->m_Request.m_nTimeout = kSyncTimeout;
  // Every flag is written as set.
  CButton* const boxes[] = {&m_syncSsid, &m_syncSsidVisible, &m_syncAutoChannel, &m_syncSecurity, &m_syncLogin};
  for (int entry = 0; entry < 5; ++entry) {
    boxes[entry]->SetCheck(1);
    m_pSyncFlagsList->BindControl(entry, boxes[entry]);
  }
  LogIpStep("IDS_STR_PARAM", row, SetAndSettle(m_pSyncFlagsList));
}

BOOL CApplyPage::GroupVersion(int row) {
  LogIpStep("IDS_STR_VERSION", row, "IDS_STR_START");
  PointAt(m_pVersionList, Cell(row, kColIp), row, TRUE);
  try {
    GetPatiently(m_pVersionList);
    CString shown;
    m_version.GetWindowText(shown);
    CString next;
    next.Format("%d", (atoi(shown) + 1) % kVersionModulo);
    m_version.SetWindowText(next);
  } catch (CVHException* e) {
    delete e;
    m_version.SetWindowText("0");
  }
  const LPCTSTR status = SetAndSettle(m_pVersionList);
  LogIpStep("IDS_STR_VERSION", row, status);
  return CString(status) != "IDS_STR_FAIL";
}

void CApplyPage::Login(int row) {
  LogIpStep("IDS_STR_REPLACE", row, "IDS_STR_START");
  PointAt(m_pUserList, Cell(row, kColIp), row, FALSE);
  const LPCTSTR status = SetAndSettle(m_pUserList);
  LogIpStep("IDS_STR_REPLACE", row, status);
  if (CString(status) != "IDS_STR_FAIL") m_loggedIn.push_back(Cell(row, kColMac));
}

void CApplyPage::Apply(int row) {
  LogRow("IDS_STR_SETAPPLY_ALL", row, "IDS_STR_START");
  LogRow("IDS_STR_SETAPPLY_ALL", row, "IDS_STR_SETTING");
  PointAt(m_pApplyList, Cell(row, kColIp), row, FALSE);
  const LPCTSTR status = SetAndSettle(m_pApplyList);
  if (!Wait(kApplyWait)) return;
  LogRow("IDS_STR_SETAPPLY_ALL", row, status);
}

void CApplyPage::Restart(int row) {
  LogRow("IDS_STR_REBOOT", row, "IDS_STR_START");
  PointAt(m_pRestartList, Cell(row, kColIp), row, FALSE);
  // Without a request out no completion comes to move on.
  if (!TrySet(m_pRestartList)) {
    LogRow("IDS_STR_REBOOT", row, "IDS_STR_FAIL");
    MoveOn();
  }
}

// The device's answer makes the restart a success, and a refusal a failure.
// Without an answer the device may be restarting already (it is silent until
// it is back, so the request's resends went unanswered too), or it may never
// have taken the request: the search after its restart time decides.
void CApplyPage::RestartSent(SnmpBoundVarList*, SnmpRequestResult* result, void* user) {
  CApplyPage* page = PageOf(user);
  if (page->m_bStopped) return;
  if (result->nCode == SNMPCODE_TIMEOUT)
    page->SearchAfterRestart(page->m_nCurrentDevice);
  else
    page->LogRow("IDS_STR_REBOOT", page->m_nCurrentDevice, result->nCode == 0 ? "IDS_STR_OK" : "IDS_STR_FAIL");
  page->MoveOn();
}

// ---------------------------------------------------------------- the searches after a restart

struct CApplyPage::RestartSearch {
  CApplyPage* page;
  CString ip, mac;  // the row's when the restart went out
  DWORD due;        // the search begins
  int triesLeft = kSearchTries;  // then an unfound device is given up
  BOOL sent = FALSE;
  BOOL settled = FALSE;
  QUAVVarlist list;  // the request's, which the client fills
};

namespace {
// `when` has come at `now`, on a clock that wraps.
bool Reached(DWORD when, DWORD now) { return LONG(now - when) >= 0; }
}  // namespace

void CApplyPage::SearchAfterRestart(int row) {
  LogRow("IDS_STR_REBOOT", row, "IDS_STR_NO_ANSWER");
  auto* search = new RestartSearch;
  search->page = this;
  search->ip = Cell(row, kColIp);
  search->mac = Cell(row, kColMac);
  search->due = GetTickCount() + 1000 * kRebootSeconds;
  m_restartSearches.push_back(search);
  if (!m_pSearchClient) {
    try {
      auto* client = new CQUAVTaskClient;
      try {
        client->SetRequestMode(0, "");
      } catch (CVHException*) {
        delete client;
        throw;
      }
      m_pSearchClient = client;
    } catch (CVHException* e) {
      const CString text = e->GetMessage();
      delete e;
      SettleRestart(search, CString(), text);
      return;
    }
  }
  ArmSearchTimer();
}

// One timer, for the next search to begin.
void CApplyPage::ArmSearchTimer() {
  if (!GetSafeHwnd()) return;
  const DWORD now = GetTickCount();
  LONG next = -1;
  for (const RestartSearch* search : m_restartSearches) {
    if (search->sent || search->settled) continue;
    const LONG left = std::max(LONG(0), LONG(search->due - now));
    if (next < 0 || left < next) next = left;
  }
  if (next < 0)
    KillTimer(kRestartSearchTimer);
  else
    SetTimer(kRestartSearchTimer, UINT(next), nullptr);
}

void CApplyPage::OnTimer(UINT_PTR id) {
  if (id != kRestartSearchTimer) {
    CWizardPage::OnTimer(id);
    return;
  }
  KillTimer(kRestartSearchTimer);
  if (m_bStopped) return;
  const DWORD now = GetTickCount();
  // Sending may settle a search at once; the list itself does not change.
  for (RestartSearch* search : m_restartSearches) {
    if (search->sent || search->settled || !Reached(search->due, now)) continue;
    search->sent = TRUE;
    SendRestartSearch(search);
  }
  ArmSearchTimer();
}

void CApplyPage::SendRestartSearch(RestartSearch* search) {
  try {
    SendSearchByMac(m_pSearchClient, search->list, search->mac, RestartSearchAnswered, kSearchTryTimeout, search);
  } catch (CVHException* e) {
    const CString text = e->GetMessage();
    delete e;
    SettleRestart(search, CString(), text);
  }
}

void CApplyPage::RestartSearchAnswered(VhQUAVError* error, basicVarList* list, void* user) {
  auto* search = static_cast<RestartSearch*>(user);
  CApplyPage* page = search->page;
  if (search->settled || page->m_bStopped) return;
  if (error->code == QUAV_TIMEOUT) {
    if (--search->triesLeft > 0)
      page->SendRestartSearch(search);
    else
      page->SettleRestart(search, CString());
    return;
  }
  const CString found = SearchAnswerAddress(error->code, list, search->mac);
  if (!found.IsEmpty()) page->SettleRestart(search, found);
}

void CApplyPage::SettleRestart(RestartSearch* search, const CString& found, const CString& failure) {
  search->settled = TRUE;
  const CString &ip = search->ip, &mac = search->mac;
  LogDevice("IDS_STR_REBOOT", ip, mac, found == ip ? "IDS_STR_OK" : "IDS_STR_FAIL");
  if (found == ip)
    Log("IDS_STR_REBOOT_FOUND", {ip, mac});
  else if (!found.IsEmpty()) {
    Log("IDS_STR_REBOOT_ELSEWHERE", {ip, mac, found});
    // Followed there: the later steps and runs use the address it answers at.
    const int row = FindRowByMac(mac);
    if (row >= 0) SetCell(row, kColIp, found);
  }
  else if (IsQUAVFailureText(failure))
    Log("IDS_STR_QUAV_FAILURE", {ip, mac, QUAVFailureText(failure)});  // it could not be looked for
  else
    Log("IDS_STR_SETIP_LOST", {ip, mac});
}

BOOL CApplyPage::RestartSearchesPending() const {
  for (const RestartSearch* search : m_restartSearches)
    if (!search->settled) return TRUE;
  return FALSE;
}

void CApplyPage::EndRestartSearches() {
  if (GetSafeHwnd()) KillTimer(kRestartSearchTimer);
  if (m_pSearchClient) {
    m_pSearchClient->CancelAll();  // no answer handler runs after this
    delete m_pSearchClient;
    m_pSearchClient = nullptr;
  }
  for (RestartSearch* search : m_restartSearches) delete search;
  m_restartSearches.clear();
}

// ---------------------------------------------------------------- the second run

void CApplyPage::RunSecond() {
  SetMainBusy(1);
  SetBusy(TRUE);
  LogLine(Text("IDS_STR_SETUPTIPS"));
  Log("IDS_STR_SETAPPLY", {Text("IDS_STR_START")});
  // The run's own apply list, to the group's Master; the one made with the
  // page is idle and goes.
  delete m_pApplyList;
  m_pApplyList = NewEngineVarList();
  m_pApplyList->m_Request.m_VarList = SnmpVarList(g_mibSettingApply, SVT_SV, 0);
  m_pApplyList->m_Request.m_strAgent = m_strAgentIp;
  m_pApplyList->m_Request.m_nPort = kSnmpPort;
  m_pApplyList->m_Request.m_strReadCommunity = m_strReadCommunity;
  m_pApplyList->m_Request.m_strWriteCommunity = m_strWriteCommunity;
  m_pApplyList->m_Request.m_nTimeout = kTargetApplyTimeout;
  m_pApplyList->BindControl(0, &m_settingApply);
  m_pApplyList->SetSetCallback(TargetApplied, this);
  m_settingApply.SetCurSel(1);
  UpdateData(FALSE);
  m_nTargetApplyCode = -1;
  // The step takes its 20 s however soon the Master answers; only its answer
  // makes it a success.
  LPCTSTR status = "IDS_STR_FAIL";
  if (TrySet(m_pApplyList)) {
    if (!Wait(kTargetApplyWait)) return;
    if (m_nTargetApplyCode == 0)
      status = "IDS_STR_OK";
    else if (m_nTargetApplyCode == SNMPCODE_TIMEOUT && HoldsWhatWasWritten(m_pApplyList))
      status = "IDS_STR_OK_LOST";
  }
  const CString line = FormatLangText(Text("IDS_STR_SETAPPLY"), {Text(status)});
  LogLine(line);
  if (CString(status) == "IDS_STR_FAIL") MarkFailed(MasterMac(), line);
  for (int j = 1; j <= kProgressSteps; ++j) {
    if (!Wait(kProgressStepWait)) return;
    Log("IDS_STR_DONE_PER", {20 * j, "%"});
  }
  // Each member's community task switches SNMP off; its password is the
  // group password, which the login step made the device's own.
  CommunityPass(CApplyTaskLists::kFinalPass);
  while (IsPending())
    if (!Wait(kFiveSeconds)) return;
  if (!IsPending())
    for (int i = 0; i < 2; ++i)
      if (!Wait(kOneSecond)) return;
  LogLastLine();
  m_bRunEnded = TRUE;
  SetBusy(FALSE);
  SetMainBusy(0);
}

void CApplyPage::TargetApplied(SnmpBoundVarList*, SnmpRequestResult* result, void* user) {
  PageOf(user)->m_nTargetApplyCode = result->nCode;
}

// The target's row, for the last line; its address when no row has it.
CString CApplyPage::MasterMac() const {
  const int row = FindRowByIp(m_strAgentIp);
  return row >= 0 ? Cell(row, kColMac) : m_strAgentIp;
}

void CApplyPage::FinalPassDone(BOOL ok, CString mac, CString message, void* owner) {
  CApplyPage* page = PageOf(owner);
  const int row = page->FindRowByMac(mac);
  // The status cell last: the run polls it, and its next line must come
  // after this one.
  const BOOL refused = !ok && message == kTaskPasswordError;
  page->LogRow("IDS_STR_SNMP", row, ok ? OkKey(message) : refused ? "IDS_STR_PASSWORD_ERR" : "IDS_STR_FAIL");
  page->SetCell(row, kColSnmpStatus, refused ? kSnmpPending : kSnmpOff);
  page->EndReport(CApplyTaskLists::kFinalPass, mac, WM_APPLY_RETRY_SNMPSTEP);
}

LRESULT CApplyPage::OnRetrySnmpStep(WPARAM, LPARAM) {
  RetryPass(CApplyTaskLists::kFinalPass, WM_APPLY_RETRY_SNMPSTEP, IsPending(), kColSnmpStatus, kSnmpPending,
            &CApplyPage::RetryFinalPass);
  return 0;
}

BOOL CApplyPage::RetryFinalPass(int row) { return RetryCommunity(CApplyTaskLists::kFinalPass, row); }
