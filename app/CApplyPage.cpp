#include "CApplyPage.h"

#include <algorithm>

#include "ApplyRes.h"
#include "CDeviceRecord.h"
#include "CWizardApp.h"
#include "CommCtrl.h"
#include "DelayPumpMessages.h"
#include "DeviceTask.h"
#include "InputChecks.h"
#include "MibTables.h"
#include "SnmpControlVarList.h"
#include "WizardFlows.h"
#include "WizardRes.h"
#include "WizardUi.h"

namespace {

// Every text the engine writes; read once, on the GUI thread.
const char* const kTextKeys[] = {
    "IDS_STR_LIST_NOMASTER", "IDS_STR_GETSNMP",   "IDS_STR_SETIP",      "IDS_STR_SET_ARRAY", "IDS_STR_DEL_APTREVAK",
    "IDS_STR_PARAM",         "IDS_STR_REPLACE",   "IDS_STR_SETAPPLY_ALL", "IDS_STR_REBOOT",  "IDS_STR_SETAPPLY",
    "IDS_STR_SNMP",          "IDS_STR_DONE_PER",  "IDS_STR_DONE",       "IDS_STR_SETUPTIPS", "IDS_STR_WAITING",
    "IDS_STR_START",         "IDS_STR_GETTING",   "IDS_STR_SETTING",    "IDS_STR_OK",        "IDS_STR_FAIL",
    "IDS_STR_PASSWORD_ERR",  "IDS_STR_VERSION",   "IDS_STR_APMODE",     "IDS_STR_DONE_FAILED", "IDS_STR_SETIP_OLD",
    "IDS_STR_SETIP_LOST",    "IDS_STR_FAILED_DEVICE", "IDS_STR_SETIP_ELSEWHERE", "IDS_STR_QUAV_FAILURE",
    "IDS_STR_NO_ANSWER",     "IDS_STR_REBOOT_FOUND", "IDS_STR_REBOOT_ELSEWHERE", "IDS_STR_OK_LOST",
    "IDS_STR_MASTER_FAILED", "IDS_STR_BUSY_CLOSE_LATER", "IDS_STR_SNMP_OFF_AGAIN", "IDS_STR_SNMP_OFF_DONE",
    "IDS_STR_SNMP_STILL_ON", "IDS_MSG_SNMP_STILL_ON", "IDS_MSG_SNMP_STILL_ON_DEVICE",
};


const int kLogTextColor = 0, kLogBackColor = 1;
const int kSelectApply = 1, kSelectReboot = 1;  // combo indexes of "apply" and "reboot"
const int kListTimeout = 1000;                 // units of 10 ms
const int kEngineRetries = 3;

// The engine's lists report their failures as log lines of the member and
// step; the variable layer's own message box would name no device and hold
// an unattended run until someone answers it.
class CQuietVarList : public SnmpControlVarList {
 public:
  explicit CQuietVarList(CWnd* owner) : SnmpControlVarList(owner) {}
  void OnGetError(SnmpRequestResult*) override { SetLastOperation(0); }
};

CString IntText(int value) {
  CString text;
  text.Format("%d", value);
  return text;
}

}  // namespace

LPCTSTR OkKey(const CString& message) { return message == kTaskOkAnswerLost ? "IDS_STR_OK_LOST" : "IDS_STR_OK"; }

CString PickAutoAddress(const CString& prefix, int& counter, const CString& netmask,
                        const std::function<bool(const CString&)>& taken) {
  const int kNumbers = 255;  // 0 .. 254
  for (int tried = 0; tried < kNumbers; ++tried) {
    if (counter > 254 || counter < 0) counter = 0;
    const CString candidate = prefix + IntText(counter);
    ++counter;
    if (!taken(candidate) && IsValidHostIp(candidate, netmask)) return candidate;
  }
  return CString();
}

// A lost datagram, either way, costs a retry, not the step.
SnmpControlVarList* CApplyPage::NewEngineVarList() {
  auto* list = new CQuietVarList(this);
  list->m_Request.m_nRetries = kEngineRetries;
  return list;
}

CApplyPage::CApplyPage(CWnd* pParent) : CWizardPage(IDD_PAGE_APPLY, pParent) {}

CApplyPage::~CApplyPage() {
  EndRestartSearches();
  DeleteVarLists();
}

BEGIN_MESSAGE_MAP(CApplyPage, CWizardPage)
  ON_WM_DESTROY()
  ON_MESSAGE(WM_APPLY_NEXTDEVICE, OnNextDevice)
  ON_MESSAGE(WM_PAGE_START, OnPageStart)
  ON_MESSAGE(WM_APPLY_RETRY_SETIP, OnRetrySetIp)
  ON_MESSAGE(WM_APPLY_RETRY_GETSNMP, OnRetryGetSnmp)
  ON_MESSAGE(WM_APPLY_RETRY_SNMPSTEP, OnRetrySnmpStep)
  ON_WM_TIMER()
END_MESSAGE_MAP()

void CApplyPage::DoDataExchange(CDataExchange* pDX) {
  CWizardPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_APPLY_LOG, m_log);
  DDX_Control(pDX, IDC_APPLY_STORE, m_store);
  DDX_Control(pDX, IDC_APPLY_AP_MODE, m_apMode);
  DDX_Control(pDX, IDC_APPLY_GROUP_STATUS, m_groupStatus);
  DDX_Control(pDX, IDC_APPLY_MODE_SELECT, m_modeSelect);
  DDX_Control(pDX, IDC_APPLY_GROUP_NAME, m_groupName);
  DDX_Control(pDX, IDC_APPLY_GROUP_PASSWORD, m_groupPassword);
  DDX_Control(pDX, IDC_APPLY_SETTING_APPLY, m_settingApply);
  DDX_Control(pDX, IDC_APPLY_VERSION, m_version);
  DDX_Control(pDX, IDC_APPLY_RESTART, m_restart);
  DDX_Control(pDX, IDC_APPLY_USERS_NAME, m_usersName);
  DDX_Control(pDX, IDC_APPLY_USERS_PASSWORD, m_usersPassword);
  DDX_Control(pDX, IDC_APPLY_SYNC_SSID, m_syncSsid);
  DDX_Control(pDX, IDC_APPLY_SYNC_SSIDVISI, m_syncSsidVisible);
  DDX_Control(pDX, IDC_APPLY_SYNC_AUTOCHANNEL, m_syncAutoChannel);
  DDX_Control(pDX, IDC_APPLY_SYNC_SECURITY, m_syncSecurity);
  DDX_Control(pDX, IDC_APPLY_SYNC_LOGIN, m_syncLogin);
}

BOOL CApplyPage::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_RETURN)) return TRUE;
  return CWizardPage::PreTranslateMessage(pMsg);
}

BOOL CApplyPage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  for (const char* key : kTextKeys) m_texts[key] = m_pApp ? m_pApp->Text(key) : CString();
  CreateColumns();
  CreateVarLists();
  m_log.SetShowLineNumbers(TRUE);
  m_log.SetLineNumberDigits(5);
  m_log.SetLineNumberTextColor(RGB(0xFF, 0xFF, 0xFF));
  m_log.SetLineNumberBackColor(RGB(0x80, 0x80, 0x80));
  m_log.RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
  return TRUE;
}

void CApplyPage::CreateColumns() {
  for (int c = 0; c < kMemberColumnCount; ++c)
    m_store.InsertColumn(c, kMemberColumnHeaders[c].title, LVCFMT_LEFT, kMemberColumnHeaders[c].storeWidth);
  m_store.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

void CApplyPage::CreateVarLists() {
  auto make = [this](const SnmpVarItem* table, int itemType, int mode, int timeout) {
    SnmpControlVarList* list = NewEngineVarList();
    list->m_Request.m_VarList = SnmpVarList(table, itemType, 0);
    list->SetMode(mode);
    if (timeout) list->m_Request.m_nTimeout = timeout;
    return list;
  };
  const int kSync = 0, kAsync = 1;
  m_pApModeList = make(g_mibApMode, MVT_SV, kAsync, kListTimeout);
  m_pApModeList->BindControl(0, &m_apMode);
  m_pApModeList->SetGetCallback(ApModeRead, this);
  m_pApModeList->SetSetCallback(ApModeWritten, this);

  m_pGroupSettingsList = make(g_mibApTrevak, SVT_SV, kAsync, kListTimeout);
  m_pGroupSettingsList->BindControl(0, &m_groupStatus);
  m_pGroupSettingsList->BindControl(1, &m_modeSelect);
  m_pGroupSettingsList->BindControl(2, &m_groupName);
  m_pGroupSettingsList->BindControl(3, &m_groupPassword);
  m_pGroupSettingsList->SetSetCallback(GroupSettingsWritten, this);

  m_pApplyList = make(g_mibSettingApply, SVT_SV, kSync, kListTimeout);
  m_pApplyList->m_Request.m_nPort = 161;
  m_pApplyList->BindControl(0, &m_settingApply);
  m_settingApply.SetCurSel(kSelectApply);

  m_pVersionList = make(g_mibApTrevakVersion, SVT_SV, kSync, kListTimeout);
  m_pVersionList->m_Request.m_nPort = 161;
  m_pVersionList->BindControl(0, &m_version);

  m_pRestartList = make(g_mibRestart, SVT_SV, kAsync, 0);
  m_pRestartList->m_Request.m_VarList.GetItem(0)->access = SVA_READWRITE;
  m_pRestartList->BindControl(0, &m_restart);
  m_restart.SetCurSel(kSelectReboot);
  m_pRestartList->SetSetCallback(RestartSent, this);

  m_pUserList = make(g_mibUsers, MVT_SV, kSync, 0);
  m_pUserList->BindControl(0, &m_usersName);
  m_pUserList->BindControl(1, &m_usersPassword);
}

void CApplyPage::DeleteVarLists() {
  for (SnmpControlVarList** list : {&m_pGroupSettingsList, &m_pVersionList, &m_pUserList, &m_pRestartList,
                                    &m_pApplyList, &m_pSyncFlagsList, &m_pApModeList}) {
    delete *list;
    *list = nullptr;
  }
}

void CApplyPage::SetSnmpTarget(CString agentIp, CString readCommunity, CString writeCommunity) {
  m_strAgentIp = agentIp;
  m_strReadCommunity = readCommunity;
  m_strWriteCommunity = writeCommunity;
}

void CApplyPage::OnEnterPage() {
  m_nEntered = 1;
  m_strUserName = "admin";
  m_strUserPassword = m_strGroupPassword;
  m_usersName.SetWindowText(m_strUserName);
  m_usersPassword.SetWindowText(m_strUserPassword);
  m_log.Clear();
  EndRestartSearches();
  FillStore();
  PostMessage(WM_PAGE_START);
}

void CApplyPage::OnFlowLeft() {
  m_nEntered = 0;
  m_bRunEnded = FALSE;
  EndRestartSearches();
  {
    std::lock_guard<std::mutex> lock(m_failedLock);
    m_failed.clear();
    m_failedSteps.clear();
  }
  m_loggedIn.clear();
  for (int which = 0; which < CApplyTaskLists::kListCount; ++which) m_bInRetry[which] = m_bRetryAgain[which] = FALSE;
  m_nTargetApplyCode = -1;
  m_nCurrentDevice = 0;
  m_log.Clear();
  m_store.DeleteAllItems();
}

void CApplyPage::FillStore() {
  {
    std::lock_guard<std::mutex> lock(m_failedLock);
    m_failed.clear();
    m_failedSteps.clear();
  }
  m_loggedIn.clear();
  m_store.DeleteAllItems();
  for (POSITION pos = m_groupList.GetHeadPosition(); pos;) {
    auto* record = static_cast<CDeviceRecord*>(m_groupList.GetNext(pos));
    if (!record) continue;
    const int row = m_store.InsertItem(m_store.GetItemCount(), "");
    CString cells[kMemberColumnCount];
    cells[kColRole] = record->m_strRole;
    cells[kColIp] = record->m_strIp;
    cells[kColMac] = record->m_strMac;
    cells[kColAuto] = IntText(record->m_nAutoIp);
    cells[kColManual] = IntText(record->m_nManualIp);
    cells[kColDelete] = IntText(record->m_nMembership);
    cells[kColReadCommunity] = record->m_strReadCommunity;
    cells[kColWriteCommunity] = record->m_strWriteCommunity;
    cells[kColNewIp] = record->m_strNewIp;
    cells[kColNewMask] = record->m_strNewNetmask;
    cells[kColNewGateway] = record->m_strNewGateway;
    cells[kColPassword] = record->m_strDevicePassword;
    cells[kColSnmpStatus] = record->m_strSnmpStatus;
    for (int c = 0; c < kMemberColumnCount; ++c)
      if (!cells[c].IsEmpty()) m_store.SetItemText(row, c, cells[c]);
    if (record->m_nMembership == CDeviceRecord::kMember) {
      m_groupName.SetWindowText(record->m_strGroupName);
      m_groupPassword.SetWindowText(record->m_strGroupPassword);
    }
  }
}

void CApplyPage::WriteBack() {
  for (POSITION pos = m_groupList.GetHeadPosition(); pos;) {
    auto* record = static_cast<CDeviceRecord*>(m_groupList.GetNext(pos));
    if (!record) continue;
    const int row = FindRowByMac(record->m_strMac);
    if (row < 0) continue;
    record->m_strRole = Cell(row, kColRole);
    record->m_strIp = Cell(row, kColIp);
    record->m_strMac = Cell(row, kColMac);
    record->m_strSnmpStatus = Cell(row, kColSnmpStatus);
    record->m_strReadCommunity = Cell(row, kColReadCommunity);
    record->m_strWriteCommunity = Cell(row, kColWriteCommunity);
  }
}

int CApplyPage::OnNextPage() {
  if (m_nSecondRun) return m_nModifyFlow ? int{kModifyDone} : int{kCreateDone};
  if (FindMaster()) return m_nModifyFlow ? int{kModifyWireless} : int{kCreateWireless};
  // A Master that failed a step is named with it; only a group without one
  // is told to choose one.
  const int master = MasterRow();
  const CString step = master >= 0 ? FailedStep(Cell(master, kColMac)) : CString();
  if (step.IsEmpty())
    ShowSkinMessage(Text("IDS_STR_LIST_NOMASTER"), FALSE);
  else
    ShowSkinMessage(FormatLangText(Text("IDS_STR_MASTER_FAILED"), {Cell(master, kColIp), Cell(master, kColMac), step}),
                    FALSE);
  return kStayOnPage;
}

int CApplyPage::OnBackPage() { return kStayOnPage; }

int CApplyPage::MasterRow() const {
  for (int row = 0; row < RowCount(); ++row)
    if (Cell(row, kColRole) == kRoleMaster && Cell(row, kColDelete) == kStaysInGroup) return row;
  return -1;
}

BOOL CApplyPage::FindMaster() {
  const int row = MasterRow();
  if (row < 0) return FALSE;
  m_strAgentIp = Cell(row, kColIp);
  m_strReadCommunity = Cell(row, kColReadCommunity);
  m_strWriteCommunity = Cell(row, kColWriteCommunity);
  return Cell(row, kColSnmpStatus) == kSnmpOn;
}

void CApplyPage::StopWork() { m_bStopped = TRUE; }

void CApplyPage::OnDestroy() {
  // The waits below pump messages: a posted step or a late answer must not
  // start another request.
  StopWork();
  CWizardPage::OnDestroy();
  EndRestartSearches();
  DeleteVarLists();
  // The reports of running tasks still write to the store and the log.
  for (auto which : {CApplyTaskLists::kSetIp, CApplyTaskLists::kGetSnmp, CApplyTaskLists::kFinalPass})
    while (m_tasks.Count(which) > 0) DelayPumpMessages(10);
}

// ---------------------------------------------------------------- the store

int CApplyPage::RowCount() const { return m_store.GetSafeHwnd() ? m_store.GetItemCount() : 0; }

CString CApplyPage::Cell(int row, int column) const {
  if (!m_store.GetSafeHwnd()) return CString();
  return m_store.GetItemText(row, column);
}

void CApplyPage::SetCell(int row, int column, const CString& text) {
  if (m_store.GetSafeHwnd()) m_store.SetItemText(row, column, text);
}

int CApplyPage::FindRowByMac(const CString& mac) const {
  for (int row = 0, rows = RowCount(); row < rows; ++row)
    if (Cell(row, kColMac) == mac) return row;
  return -1;
}

int CApplyPage::FindRowByIp(const CString& ip) const {
  for (int row = 0, rows = RowCount(); row < rows; ++row)
    if (Cell(row, kColIp) == ip) return row;
  return -1;
}

BOOL CApplyPage::IsIpInOtherRow(const CString& ip, int row) const {
  for (int other = 0, rows = RowCount(); other < rows; ++other)
    if (other != row && Cell(other, kColIp) == ip) return TRUE;
  return FALSE;
}

// Every row but this one: the row's own address may come back to it, and a
// later row with the same address still counts.
BOOL CApplyPage::IsHeldByAnother(const CString& ip, int row) const {
  for (int other = 0, rows = RowCount(); other < rows; ++other) {
    if (other == row) continue;
    if (Cell(other, kColIp) == ip) return TRUE;
    const CString membership = Cell(other, kColDelete);
    if (membership == kNotInGroup || membership == kLeavesGroup) continue;  // gets no new address
    const BOOL coming = Cell(other, kColAuto) == kSetIpPending || Cell(other, kColManual) == kFlagOn ||
                        Cell(other, kColAction) == kSetIpOk;
    if (coming && Cell(other, kColNewIp) == ip) return TRUE;
  }
  return FALSE;
}

BOOL CApplyPage::AreIpsUnique() const {
  for (int row = 0, rows = RowCount(); row < rows; ++row)
    if (IsIpInOtherRow(Cell(row, kColIp), row)) return FALSE;
  return TRUE;
}

CString CApplyPage::FormatMacText(const CString& mac) {
  CString text;
  for (int i = 0; i < 12; i += 2) text += (i ? ":" : "") + mac.Mid(i, 2);
  return text;
}

BOOL CApplyPage::AnyRowWithCell(int column, LPCTSTR text) const {
  for (int row = 0, rows = RowCount(); row < rows; ++row)
    if (Cell(row, column) == text) return TRUE;
  return FALSE;
}

BOOL CApplyPage::IsPending() {
  if (!UpdateData(TRUE)) return TRUE;
  return AnyRowWithCell(kColSnmpStatus, kSnmpPending);
}

// ---------------------------------------------------------------- texts and log

CString CApplyPage::Text(LPCTSTR key) const {
  auto it = m_texts.find(key);
  return it != m_texts.end() ? it->second : CString();
}

void CApplyPage::LogLine(const CString& line) {
  if (m_log.GetSafeHwnd()) m_log.AddLine(kLogTextColor, kLogBackColor, line);
}

void CApplyPage::Log(LPCTSTR key, std::initializer_list<LangArg> args) { LogLine(FormatLangText(Text(key), args)); }

void CApplyPage::LogDevice(LPCTSTR key, const CString& ip, const CString& mac, LPCTSTR statusKey) {
  const CString line = FormatLangText(Text(key), {ip, mac, Text(statusKey)});
  LogLine(line);
  if (CString(statusKey) == "IDS_STR_FAIL") MarkFailed(mac, line);
}

void CApplyPage::LogRow(LPCTSTR key, int row, LPCTSTR statusKey) {
  LogDevice(key, Cell(row, kColIp), Cell(row, kColMac), statusKey);
}

void CApplyPage::LogIpStep(LPCTSTR key, int row, LPCTSTR statusKey) {
  const CString line = FormatLangText(Text(key), {Cell(row, kColIp), Text(statusKey)});
  LogLine(line);
  if (CString(statusKey) == "IDS_STR_FAIL") MarkFailed(Cell(row, kColMac), line);
}

void CApplyPage::LogQUAVFailure(int row, const CString& message) {
  if (IsQUAVFailureText(message))
    Log("IDS_STR_QUAV_FAILURE", {Cell(row, kColIp), Cell(row, kColMac), QUAVFailureText(message)});
}

void CApplyPage::MarkFailed(const CString& mac, const CString& line) {
  std::lock_guard<std::mutex> lock(m_failedLock);
  if (std::find(m_failed.begin(), m_failed.end(), mac) == m_failed.end()) m_failed.push_back(mac);
  m_failedSteps.emplace(mac, line);  // the first failed step is kept
}

CString CApplyPage::FailedStep(const CString& mac) const {
  std::lock_guard<std::mutex> lock(m_failedLock);
  auto it = m_failedSteps.find(mac);
  return it != m_failedSteps.end() ? it->second : CString();
}

std::vector<CString> CApplyPage::FailedDevices() const {
  std::lock_guard<std::mutex> lock(m_failedLock);
  return m_failed;
}

void CApplyPage::LogLastLine() {
  const std::vector<CString> failed = FailedDevices();
  if (failed.empty()) {
    LogLine(Text("IDS_STR_DONE"));
    return;
  }
  // A line per device first: the last line may be wider than the log.
  CString macs;
  for (const CString& mac : failed) {
    const int row = FindRowByMac(mac);
    Log("IDS_STR_FAILED_DEVICE", {row >= 0 ? Cell(row, kColIp) : mac, mac});
    macs += (macs.IsEmpty() ? "" : ", ") + mac;
  }
  Log("IDS_STR_DONE_FAILED", {int(failed.size()), macs});
}

void CApplyPage::OnRefusedWhileBusy() { Log("IDS_STR_BUSY_CLOSE_LATER", {}); }

void CApplyPage::SetMainBusy(int busy) {
  SetWaitCursor(busy, busy ? CursorChange::kAtNextMove : CursorChange::kAtOnce);
}

BOOL CApplyPage::Wait(int n) {
  HWND self = m_hWnd;
  DelayPumpMessages(n);
  return ::IsWindow(self) && !m_bStopped;
}

LRESULT CApplyPage::OnPageStart(WPARAM, LPARAM) {
  if (m_bStopped) return 0;
  if (m_nSecondRun)
    RunSecond();
  else
    RunFirst();
  return 0;
}
