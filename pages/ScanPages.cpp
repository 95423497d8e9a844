#include "ScanPages.h"

#include <algorithm>
#include <vector>

#include "CDeviceRecord.h"
#include "CDiscoveryTask.h"
#include "CWizardApp.h"
#include "FormatLangText.h"
#include "LangText.h"
#include "PageRegistry.h"
#include "RTProgressBar.h"
#include "ScanPagesRes.h"
#include "WizardFlows.h"
#include "WizardFont.h"
#include "WizardRes.h"
#include "WizardUi.h"

namespace {

const COLORREF kStatusBack = RGB(72, 72, 72);
const COLORREF kWhite = RGB(255, 255, 255);
const char kModel[] = "RIZ-4410";

// The role as a device reports it, as the pages show it; null for a role
// that no member has.
const char* RoleName(const CString& role) {
  static const struct {
    const char* reported;
    const char* shown;
  } kRoles[] = {{"1", "Master"}, {"2", "Backup Master"}, {"3", "Slave"}};
  for (const auto& r : kRoles)
    if (role == r.reported) return r.shown;
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------- CScanPage

CScanPage::CScanPage(const Design& design) : CWizardPage(design.templateId, nullptr), m_design(design) {}

CScanPage::~CScanPage() { delete m_pProgress; }

BEGIN_MESSAGE_MAP(CScanPage, CWizardPage)
  ON_WM_TIMER()
  ON_WM_CTLCOLOR()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

void CScanPage::DoDataExchange(CDataExchange* pDX) {
  CWizardPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SCAN_TITLE, m_title);
  DDX_Control(pDX, IDC_SCAN_PROGRESS, m_progressPlaceholder);
  if (m_design.skinnedStatus) DDX_Control(pDX, m_design.statusId, m_status);
}

BOOL CScanPage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  CreateWizardFont(m_titleFont, 20, 10);
  CreateWizardFont(m_statusFont, 18, 9);
  m_title.SetFont(&m_titleFont, TRUE);
  m_title.SetTransparent(1);
  if (m_design.skinnedStatus) m_status.SetTransparent(1);
  if (CWnd* status = GetDlgItem(m_design.statusId)) status->SetFont(&m_statusFont);
  m_pProgress = new CRTProgressBar(&m_progressPlaceholder, kTicksPerScan);
  // Only its place counts: left visible, it would paint over the bar.
  m_progressPlaceholder.ShowWindow(SW_HIDE);
  m_statusBrush.CreateSolidBrush(kStatusBack);
  SetLangText(m_title, m_pApp, m_design.titleKey);
  return TRUE;
}

CString CScanPage::StatusText() {
  CString text;
  GetDlgItemText(m_design.statusId, text);
  return text;
}

void CScanPage::OnEnterPage() {
  m_bFinished = FALSE;
  StartScan();
}

void CScanPage::OnReturnToPage() { OnEnterPage(); }

int CScanPage::OnNextPage() {
  if (m_nNoResult) {
    m_nNoResult = 0;
    StartScan();
    return kStayOnPage;
  }
  if (m_nScanning) return kStayOnPage;
  return m_design.foundPage;
}

void CScanPage::StartScan() {
  SetBusy(TRUE);
  SetStatusText("", FALSE);
  SetWaitCursor(1);
  m_nAsideBeforeA = m_pDiscoveryA ? m_pDiscoveryA->IgnoredAnswers().GetCount() : 0;
  m_nAsideBeforeB = m_pDiscoveryB ? m_pDiscoveryB->IgnoredAnswers().GetCount() : 0;
  if (m_pDiscoveryA) {
    m_pDiscoveryA->ClearSeenMacs();
    m_pDiscoveryA->Run(OnGroupFound, this);
  }
  if (m_pDiscoveryB) {
    m_pDiscoveryB->ClearSeenMacs();
    m_pDiscoveryB->Run(OnDeviceFound, this);
  }
  SetTimer(m_design.timerId, kTickMs, nullptr);
  m_nTicks = 0;
  m_progressPlaceholder.SetRange(0, kTicksPerScan);
  m_progressPlaceholder.SetPos(0);
  if (m_pProgress) m_pProgress->SetPos(0, 1);
  m_nScanning = 1;
  m_nNoResult = 0;
  ForgetPreviousScan();
}

void CScanPage::ForgetPreviousScan() {
  FreeRecordList(&m_groupList);
  FreeRecordList(&m_deviceList);
}

void CScanPage::CopyAnswer(const CDeviceRecord& from, CDeviceRecord& to) const {
  to.m_strModel = from.m_strModel;
  to.m_strFirmware = from.m_strFirmware;
  to.m_strMac = from.m_strMac;
  to.m_strIp = from.m_strIp;
  to.m_strNetmask = from.m_strNetmask;
  to.m_strLocation = from.m_strLocation;
  to.m_strGroupFullStatus = from.m_strGroupFullStatus;
  to.m_strDiscoverNumber = from.m_strDiscoverNumber;
  to.m_strCfgVersion = from.m_strCfgVersion;
  to.m_strGroupName = from.m_strGroupName;
  to.m_strGroupStatus = from.m_strGroupStatus;
  to.m_strGroupPassword = from.m_strGroupPassword;
  to.m_strOriginalRole = from.m_strOriginalRole;
  if (m_design.keepsSnmpStatus) to.m_strSnmpStatus = from.m_strSnmpStatus;
  to.m_nConfirmed = 0;
}

int CScanPage::OnGroupFound(int status, CDeviceRecord* record, void* owner) {
  auto* page = static_cast<CScanPage*>(owner);
  if (status != 0 || !record || !page) return 0;
  if (IsMacInList(record->m_strMac, &page->m_groupList)) return 0;
  const char* role = RoleName(record->m_strRole);
  if (!role) return 0;
  auto* member = new CDeviceRecord;
  page->CopyAnswer(*record, *member);
  member->m_strRole = role;
  page->m_groupList.AddTail(member);
  return 0;
}

int CScanPage::OnDeviceFound(int status, CDeviceRecord* record, void* owner) {
  auto* page = static_cast<CScanPage*>(owner);
  if (status != 0 || !record || !page) return 0;
  if (IsMacInList(record->m_strMac, &page->m_deviceList)) return 0;
  if (record->m_strModel != kModel) return 0;
  auto* device = new CDeviceRecord;
  page->CopyAnswer(*record, *device);
  page->m_deviceList.AddHead(device);
  page->DeviceAdded();
  return 0;
}

void CScanPage::OnTimer(UINT_PTR) {
  // A tick with no scan running (a late or stray one) must not merge again.
  if (!m_nScanning) return;
  ++m_nTicks;
  if (m_pProgress) m_pProgress->SetPos(m_nTicks, 1);
  if (m_nTicks < kTicksPerScan) return;
  EndScan();
}

void CScanPage::EndScan() {
  m_nTicks = kTicksPerScan;
  if (m_pProgress) m_pProgress->SetPos(kTicksPerScan, 1);
  KillTimer(m_design.timerId);
  SetWaitCursor(0);
  SetBusy(FALSE);
  Merge();
  m_nScanning = 0;
  const CString aside = SetAsideText();
  SetStatusText(ResultLine() + aside, !aside.IsEmpty());
}

void CScanPage::SetStatusText(const CString& text, BOOL tall) {
  CWnd* status = GetDlgItem(m_design.statusId);
  if (!status) return;
  const int kTemplateHeight = 28, kTallHeight = 100;  // dialog units; 108 + 100 ends above the buttons
  CRect size(0, 0, 0, tall ? kTallHeight : kTemplateHeight);
  MapDialogRect(&size);
  CRect place;
  status->GetWindowRect(&place);
  ScreenToClient(&place);
  if (place.Height() != size.Height()) {
    status->SetWindowPos(nullptr, 0, 0, place.Width(), size.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
  }
  status->SetWindowText(text);
}

CString CScanPage::SetAsideText() const {
  // A device may be set aside by both tasks, and again after a resend: each
  // line once.
  std::vector<CString> lines;
  auto add = [&lines](const CDiscoveryTask* task, INT_PTR before) {
    if (!task) return;
    INT_PTR index = 0;
    for (POSITION pos = task->IgnoredAnswers().GetHeadPosition(); pos; ++index) {
      const CString& line = task->IgnoredAnswers().GetNext(pos);
      if (index >= before && std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
    }
  };
  add(m_pDiscoveryA, m_nAsideBeforeA);
  add(m_pDiscoveryB, m_nAsideBeforeB);
  if (lines.empty()) return CString();
  CString text = "\n" + FormatLangText(LangText(m_pApp, "IDS_STR_SCAN_ASIDE"), {int(lines.size())});
  for (const CString& line : lines) text += "\n" + line;
  return text;
}

POSITION CScanPage::FindCandidateByMac(const CString& mac) {
  for (POSITION pos = m_deviceList.GetHeadPosition(); pos;) {
    POSITION at = pos;
    if (static_cast<CDeviceRecord*>(m_deviceList.GetNext(pos))->m_strMac == mac) return at;
  }
  return nullptr;
}

void CScanPage::Merge() {
  for (POSITION pos = m_groupList.GetHeadPosition(); pos;) {
    POSITION at = pos;
    auto* member = static_cast<CDeviceRecord*>(m_groupList.GetNext(pos));
    POSITION match = FindCandidateByMac(member->m_strMac);
    if (match) {
      auto* device = static_cast<CDeviceRecord*>(m_deviceList.GetAt(match));
      TakeOver(*device, *member);
      member->m_nConfirmed = 1;
      m_deviceList.RemoveAt(match);
      delete device;
    } else {
      m_groupList.RemoveAt(at);
      delete member;
    }
  }
}

void CScanPage::TakeOver(const CDeviceRecord& device, CDeviceRecord& member) {
  member.m_strLocation = device.m_strLocation;
}

int CScanPage::CollectGroupNames() {
  m_groupNames.RemoveAll();
  for (POSITION pos = m_groupList.GetHeadPosition(); pos;) {
    const CString& name = static_cast<CDeviceRecord*>(m_groupList.GetNext(pos))->m_strGroupName;
    if (!m_groupNames.Find(name)) m_groupNames.AddHead(name);
  }
  return static_cast<int>(m_groupNames.GetCount());
}

CString CScanPage::ResultLine() {
  const int groups = CollectGroupNames();
  if (groups == 0) {
    m_nNoResult = 1;
    return LangText(m_pApp, "IDS_STR_SCAN_NOAP");
  }
  m_nNoResult = 0;
  return FormatLangText(LangText(m_pApp, "IDS_STR_SCAN_FIND_GROUP"), {groups});
}

HBRUSH CScanPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CWizardPage::OnCtlColor(pDC, pWnd, nCtlColor);
  if (pWnd && pWnd->GetDlgCtrlID() == m_design.statusId) {
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(kWhite);
    brush = static_cast<HBRUSH>(m_statusBrush.GetSafeHandle());
  }
  return brush;
}

void CScanPage::OnDestroy() {
  CWizardPage::OnDestroy();
  for (CDiscoveryTask* task : {m_pDiscoveryA, m_pDiscoveryB})
    if (task) task->Forget(this);
  FreeRecordList(&m_groupList);
  FreeRecordList(&m_deviceList);
  delete m_pProgress;
  m_pProgress = nullptr;
}

// ---------------------------------------------------------------- CScanNewApPage

CScanNewApPage::CScanNewApPage()
    : CScanPage({IDD_PAGE_SCAN_NEW_AP, 1001, IDC_SCAN_NEW_STATUS, FALSE, "IDS_UI_UNCONFIG_SACN", TRUE, 2}) {}

void CScanNewApPage::DoDataExchange(CDataExchange* pDX) {
  CScanPage::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_SCAN_NEW_SPARE, m_strSpare);
}

int CScanNewApPage::OnNextPage() {
  // The name clash holds until the next scan: Next and Back both lead to the name.
  if (m_nExists) return kCreateGroupName;
  return CScanPage::OnNextPage();
}

int CScanNewApPage::OnBackPage() { return kCreateGroupName; }

void CScanNewApPage::ForgetPreviousScan() {
  m_nExists = 0;
  m_nCandidates = 0;
  CScanPage::ForgetPreviousScan();
}

// A device that announced a group membership is no candidate; when it also
// answered the broadcast and its group bears the new name, the name is taken.
void CScanNewApPage::Merge() {
  for (POSITION pos = m_groupList.GetHeadPosition(); pos;) {
    POSITION at = pos;
    auto* member = static_cast<CDeviceRecord*>(m_groupList.GetNext(pos));
    if (POSITION match = FindCandidateByMac(member->m_strMac)) {
      delete static_cast<CDeviceRecord*>(m_deviceList.GetAt(match));
      m_deviceList.RemoveAt(match);
      --m_nCandidates;
      if (member->m_strGroupName == m_strGroupName) m_nExists = 1;
    }
    m_groupList.RemoveAt(at);
    delete member;
  }
}

CString CScanNewApPage::ResultLine() {
  if (m_nExists) {
    m_nNoResult = 0;
    return LangText(m_pApp, "IDS_STR_CREATE_EXISTS");
  }
  if (m_nCandidates == 0) {
    m_nNoResult = 1;
    return LangText(m_pApp, "IDS_STR_SCAN_NOAP");
  }
  m_nNoResult = 0;
  return FormatLangText(LangText(m_pApp, "IDS_STR_SCAN_FIND"), {m_nCandidates});
}

// ---------------------------------------------------------------- CModifyScanPage

CModifyScanPage::CModifyScanPage()
    : CScanPage({IDD_PAGE_MODIFY_SCAN, 1002, IDC_MODIFY_SCAN_STATUS, TRUE, "IDS_UI_EXIST_SCAN", TRUE, 1}) {}

BEGIN_MESSAGE_MAP(CModifyScanPage, CScanPage)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

int CModifyScanPage::OnBackPage() { return kStayOnPage; }

// The group records stay alive for the later pages of the flow, which
// received them and may still point at them; only the device records go.
void CModifyScanPage::ForgetPreviousScan() {
  for (POSITION pos = m_groupList.GetHeadPosition(); pos;) m_keptGroupRecords.AddTail(m_groupList.GetNext(pos));
  m_groupList.RemoveAll();
  FreeRecordList(&m_deviceList);
}

void CModifyScanPage::TakeOver(const CDeviceRecord& device, CDeviceRecord& member) {
  member.m_strLocation = device.m_strLocation;
  member.m_strNetmask = device.m_strNetmask;
  member.m_strSnmpStatus = device.m_strSnmpStatus;
}

void CModifyScanPage::OnDestroy() {
  CScanPage::OnDestroy();
  FreeRecordList(&m_keptGroupRecords);
}

// ---------------------------------------------------------------- CStatusScanPage

CStatusScanPage::CStatusScanPage()
    : CScanPage({IDD_PAGE_STATUS_SCAN, 1003, IDC_STATUS_SCAN_STATUS, TRUE, "IDS_UI_EXIST_SCAN", FALSE, 1}) {}

void RegisterScanPages() {
  RegisterWizardPage(IDD_PAGE_SCAN_NEW_AP, [] { return new CScanNewApPage; });
  RegisterWizardPage(IDD_PAGE_MODIFY_SCAN, [] { return new CModifyScanPage; });
  RegisterWizardPage(IDD_PAGE_STATUS_SCAN, [] { return new CStatusScanPage; });
}
