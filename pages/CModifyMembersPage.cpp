#include "CModifyMembersPage.h"

#include "CDeviceRecord.h"
#include "GroupPasswordDlg.h"
#include "CWizardApp.h"
#include "InputChecks.h"
#include "MembersRes.h"
#include "PageRegistry.h"
#include "WizardFlows.h"
#include "WizardRes.h"
#include "WizardUi.h"

namespace {

const int kGroupTextColor = 0, kGroupBackColor = 1;
// Only the unconfigured list's first two columns may be resized here.
const int kUnconfiguredResizable = 2;

}  // namespace

CModifyMembersPage::CModifyMembersPage() : CMemberPage(IDD_PAGE_MODIFY_MEMBERS) {}
CModifyMembersPage::~CModifyMembersPage() = default;

BEGIN_MESSAGE_MAP(CModifyMembersPage, CMemberPage)
  ON_NOTIFY(NM_CLICK, IDC_MOD_MEMBER_LIST, OnMemberListClick)
  ON_LBN_DBLCLK(IDC_MOD_GROUP_LIST, OnGroupDblClk)
  ON_WM_DESTROY()
  ON_NOTIFY(LVN_BEGINDRAG, IDC_MOD_UNCONFIG_LIST, OnBeginDrag)
END_MESSAGE_MAP()

void CModifyMembersPage::DoDataExchange(CDataExchange* pDX) {
  CWizardPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_MOD_GROUP_LIST, m_listGroups);
  DDX_Control(pDX, IDC_MOD_GROUP_NAME, m_editGroupName);
  DDX_Text(pDX, IDC_MOD_GROUP_NAME, m_strGroupName);
  DDV_MaxChars(pDX, m_strGroupName, kMaxTextChars);
  DDX_Control(pDX, IDC_MOD_GROUP_PASSWORD, m_editGroupPassword);
  DDX_Text(pDX, IDC_MOD_GROUP_PASSWORD, m_strGroupPassword);
  DDV_MaxChars(pDX, m_strGroupPassword, kMaxTextChars);
  DDX_Control(pDX, IDC_MOD_MEMBER_LIST, m_listMembers);
  DDX_Control(pDX, IDC_MOD_UNCONFIG_LIST, m_listUnconfigured);
  DDX_Control(pDX, IDC_MEM_IP_FROM, m_ipFrom);
  DDX_Control(pDX, IDC_MEM_MASK, m_ipMask);
  DDX_Control(pDX, IDC_MEM_GATEWAY, m_ipGateway);
  DDX_Control(pDX, IDC_MOD_NAME_LABEL, m_nameLabel);
  DDX_Control(pDX, IDC_MOD_PASSWORD_LABEL, m_passwordLabel);
  DDX_Control(pDX, IDC_MOD_MEMBER_CAPTION, m_memberCaption);
  DDX_Control(pDX, IDC_MOD_UNCONFIG_CAPTION, m_unconfiguredCaption);
  DDX_Control(pDX, IDC_MOD_IP_FROM_LABEL, m_ipFromLabel);
  DDX_Control(pDX, IDC_MEM_MASK_LABEL, m_maskLabel);
  DDX_Control(pDX, IDC_MEM_GATEWAY_LABEL, m_gatewayLabel);
  DDX_Control(pDX, IDC_MOD_GROUP_CAPTION, m_groupCaption);
  DDX_Control(pDX, IDC_MOD_AUTO_CAPTION, m_autoCaption);
  DDX_Control(pDX, IDC_MOD_GROUP_FRAME, m_groupFrame);
  DDX_Control(pDX, IDC_MOD_AUTO_FRAME, m_autoFrame);
  DDX_Control(pDX, IDC_MOD_MEMBER_FRAME, m_memberFrame);
  DDX_Control(pDX, IDC_MOD_UNCONFIG_FRAME, m_unconfiguredFrame);
}

// The member list gets the sub-item images too, so that its Manually and
// Delete cells act as on the create page.
BOOL CModifyMembersPage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  SetUpLists(LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT, kUnconfiguredResizable);
  m_autoFrame.SetBackground(0, 0);
  m_groupFrame.SetBackground(0, 0);
  m_listGroups.SetFont(&m_captionFont);
  CRTStatic* const labels[] = {&m_maskLabel,     &m_ipFromLabel,   &m_gatewayLabel,
                               &m_passwordLabel, &m_nameLabel,     &m_memberCaption,
                               &m_autoCaption,   &m_groupCaption,  &m_unconfiguredCaption};
  for (CRTStatic* label : labels) {
    label->SetFont(&m_labelFont);
    label->SetTransparent(1);
  }
  m_nameLabel.SetWindowText(Text("IDS_UI_MODIFY_USER"));
  m_passwordLabel.SetWindowText(Text("IDS_UI_MODIFY_PASS"));
  m_memberCaption.SetWindowText(Text("IDS_UI_MEMBERLIST"));
  m_unconfiguredCaption.SetWindowText(Text("IDS_UI_UNCONFIGAP"));
  m_ipFromLabel.SetWindowText(Text("IDS_UI_IPFROM"));
  m_maskLabel.SetWindowText(Text("IDS_UI_MASK"));
  m_gatewayLabel.SetWindowText(Text("IDS_UI_GATEWAY"));
  m_groupCaption.SetWindowText(Text("IDS_UI_MODIFY_ARRAY"));
  m_autoCaption.SetWindowText(Text("IDS_UI_AUTO_IP"));
  m_editGroupName.SetLimitText(kMaxTextChars);
  m_editGroupPassword.SetLimitText(kMaxTextChars);
  m_listGroups.SetShowLineNumbers(FALSE);
  m_listGroups.SetLineNumberDigits(0);
  m_listGroups.SetLineNumberTextColor(RGB(0xFF, 0xFF, 0xFF));
  m_listGroups.RedrawWindow();
  EnableIpFields(FALSE);
  EnableGroupFields(FALSE);
  m_pDropWnd = &m_listMembers;
  return TRUE;
}

// ---------------------------------------------------------------- the groups

CString CModifyMembersPage::GroupLineText(int line) const {
  CString text;
  if (line >= 0 && line < m_listGroups.GetCount()) m_listGroups.GetLineText(line, text);
  return text;
}

BOOL CModifyMembersPage::IsGroupListed(const CString& name) {
  for (int line = 0; line < m_listGroups.GetCount(); ++line)
    if (GroupLineText(line) == name) return TRUE;
  return FALSE;
}

BOOL CModifyMembersPage::IsGroupNameTaken(const CString& name) {
  for (int line = 0; line < m_listGroups.GetCount(); ++line)
    if (line != m_nSelectedGroup && GroupLineText(line) == name) return TRUE;
  return FALSE;
}

void CModifyMembersPage::ClearGroupList() {
  if (!m_listGroups.GetSafeHwnd()) return;
  for (int line = 0; line < m_listGroups.GetCount(); ++line)
    delete static_cast<GroupEntry*>(m_listGroups.GetItemDataPtr(line));
  m_listGroups.ClearAll();
}

// Only records whose device also answered the broadcast are shown; with an
// empty name every such member is listed (the lists are disabled then).
void CModifyMembersPage::FillGroups(CPtrList* records, const CString& name) {
  m_listMembers.DeleteAllItems();
  m_listMembers.EnableToolTips(TRUE);
  m_listMembers.SetRedraw(FALSE);
  for (POSITION pos = records ? records->GetHeadPosition() : nullptr; pos;) {
    auto* record = static_cast<CDeviceRecord*>(records->GetNext(pos));
    if (!record || !record->m_nConfirmed) continue;
    if (!IsGroupListed(record->m_strGroupName)) {
      const int line = m_listGroups.AddLine(kGroupTextColor, kGroupBackColor, record->m_strGroupName);
      auto* entry = new GroupEntry;
      entry->m_strPassword = record->m_strGroupPassword;
      if (line < 0 || m_listGroups.SetItemDataPtr(line, entry) == LB_ERR) delete entry;
    }
    if (!name.IsEmpty() && name != record->m_strGroupName) continue;
    AppendRecordRow(*record, "");
  }
  m_listMembers.SetToolTipText(Text("IDS_STR_LIST_MEMLIST"), kColRole);
  m_listMembers.SetRedraw(TRUE);
}

int CModifyMembersPage::AskGroupPassword(const CString& name, const CString& password) {
  CGroupPasswordDlg dialog(this);
  dialog.SetGroup(name, password);
  return static_cast<int>(dialog.DoModal());
}

void CModifyMembersPage::OpenGroup(const CString& name, const GroupEntry& entry) {
  m_editGroupName.SetWindowText(name);
  FillGroups(&m_groupList, name);
  m_editGroupPassword.SetWindowText(entry.m_strPassword);
  SetDeviceList(&m_deviceList);
}

// A cancelled or refused password leaves the page as it was, including
// which group counts as opened.
void CModifyMembersPage::OnGroupDblClk() {
  const int line = m_listGroups.GetCurSel();
  if (line < 0) return;
  const CString name = GroupLineText(line);
  auto* entry = static_cast<GroupEntry*>(m_listGroups.GetItemDataPtr(line));
  if (!entry || entry == reinterpret_cast<void*>(-1)) return;
  if (entry->m_bVerified) {
    m_nSelectedGroup = line;
    OpenGroup(name, *entry);
    return;
  }
  if (AskGroupPassword(name, entry->m_strPassword) != IDOK) return;
  entry->m_bVerified = 1;
  m_nSelectedGroup = line;
  OpenGroup(name, *entry);
  EnableGroupFields(TRUE);
}

void CModifyMembersPage::EnableGroupFields(BOOL enable) {
  for (CWnd* field : {static_cast<CWnd*>(&m_editGroupName), static_cast<CWnd*>(&m_editGroupPassword),
                      static_cast<CWnd*>(&m_listMembers), static_cast<CWnd*>(&m_listUnconfigured)})
    field->EnableWindow(enable);
}

void CModifyMembersPage::EnableIpFields(BOOL enable) {
  for (CWnd* field : {static_cast<CWnd*>(&m_ipGateway), static_cast<CWnd*>(&m_ipFrom), static_cast<CWnd*>(&m_ipMask)})
    field->EnableWindow(enable);
}

void CModifyMembersPage::ClearGroupFields() {
  for (CEdit* edit : {&m_editGroupName, &m_editGroupPassword}) {
    edit->SetWindowText("");
    edit->EnableWindow(FALSE);
  }
}

// ---------------------------------------------------------------- page operations

void CModifyMembersPage::OnEnterPage() {
  m_listMembers.EnableWindow(FALSE);
  m_listUnconfigured.EnableWindow(FALSE);
  m_bFinished = FALSE;
  ClearGroupList();
  m_nSelectedGroup = -1;
  FillGroups(&m_groupList, "");
  SetDeviceList(&m_deviceList);
  EnableIpFields(FALSE);
  ClearGroupFields();
}

int CModifyMembersPage::OnBackPage() { return kModifyScan; }

int CModifyMembersPage::OnNextPage() {
  // The exchange reads the name and password edits into the page's own.
  if (!UpdateData(TRUE)) return kStayOnPage;
  auto refuse = [this](LPCTSTR key, CWnd* focus) {
    ShowMessage(key);
    if (focus) focus->SetFocus();
    return kStayOnPage;
  };
  if (IsGroupNameTaken(m_strGroupName)) return refuse("IDS_MSG_APVEZOVI_ACTIVE_M", &m_editGroupName);
  if (m_listMembers.GetItemCount() > kMaxMembers) return refuse("IDS_MSG_APVEZOVI_MAXNUMBER32", nullptr);
  if (m_strGroupName.IsEmpty()) return refuse("IDS_MSG_APVEZOVI_VALIDGROUP", &m_editGroupName);
  if (m_strGroupName.Find('"') >= 0 || !IsValidNameChars(m_strGroupName))
    return refuse("IDS_MSG_ARRAY_INVCHAR", &m_editGroupName);
  if (!IsAsciiText(m_strGroupPassword)) return refuse("IDS_MSG_PASS_INVCHAR", &m_editGroupPassword);
  if (!BuildRecordList()) return kStayOnPage;
  if (m_groupList.IsEmpty()) return refuse("IDS_MSG_INV_NOINVALID", nullptr);
  return kModifyFirstApply;
}

// ---------------------------------------------------------------- checks and records

BOOL CModifyMembersPage::UpdateAutoIpState() {
  BOOL result = FALSE;
  for (int row = 0; row < m_listMembers.GetItemCount() && !result; ++row)
    result = m_listMembers.GetCheckbox(row, kColAuto) != 0;
  EnableIpFields(result);
  return result;
}

void CModifyMembersPage::OnMemberListClick(NMHDR*, LRESULT* pResult) {
  UpdateAutoIpState();
  *pResult = 0;
}

// Removing every member of the opened group is allowed: each then leaves it.
BOOL CModifyMembersPage::CheckOneMaster() {
  return m_listMembers.GetItemCount() == 0 || CMemberPage::CheckOneMaster();
}

void CModifyMembersPage::ReadGroupNameAndPassword(CString& name, CString& password) {
  m_editGroupName.GetWindowText(m_strGroupName);
  m_editGroupPassword.GetWindowText(m_strGroupPassword);
  name = m_strGroupName;
  password = m_strGroupPassword;
}

// The scan's records, changed in place. A member of the opened group that
// never answered the broadcast was not shown, so it has no row; it is handed
// on as not a member rather than as leaving the group.
void CModifyMembersPage::UpdateRecordsFromRows() {
  const CString opened = GroupLineText(m_nSelectedGroup);
  const auto* entry = m_nSelectedGroup >= 0 && m_nSelectedGroup < m_listGroups.GetCount()
                          ? static_cast<const GroupEntry*>(m_listGroups.GetItemDataPtr(m_nSelectedGroup))
                          : nullptr;
  const CString groupPassword = entry ? entry->m_strPassword : CString();
  for (POSITION pos = m_groupList.GetHeadPosition(); pos;) {
    auto* record = static_cast<CDeviceRecord*>(m_groupList.GetNext(pos));
    if (!record) continue;
    const int row = FindMemberRowByMac(record->m_strMac);
    const bool sameGroup = !opened.IsEmpty() && record->m_strGroupName == opened;
    if (!sameGroup || (row < 0 && !record->m_nConfirmed)) {
      record->m_nMembership = CDeviceRecord::kNotMember;
      record->m_strDevicePassword.Empty();
    } else if (row < 0) {
      record->m_nMembership = CDeviceRecord::kLeaving;
      record->m_strDevicePassword = groupPassword;
    } else {
      FillRecordFromExistingRow(*record, row);
      record->m_strDevicePassword = groupPassword;
    }
    ReadGroupNameAndPassword(record->m_strGroupName, record->m_strGroupPassword);
  }
}

BOOL CModifyMembersPage::IsHeldOutsideTheLists(const CString& ip) {
  for (POSITION pos = m_groupList.GetHeadPosition(); pos;) {
    void* item = m_groupList.GetNext(pos);
    const auto* record = static_cast<CDeviceRecord*>(item);
    if (!record || record->m_strIp != ip || m_ownRecords.Find(item)) continue;
    if (FindListItemByText(&m_listMembers, record->m_strMac, kColMac) < 0) return TRUE;
  }
  return FALSE;
}

BOOL CModifyMembersPage::BuildRecordList() {
  if (!CheckOneMaster()) return FALSE;
  if (UpdateAutoIpState() && !CheckIpPlan()) return FALSE;
  if (!CheckManualAddresses()) return FALSE;
  FreeOwnRecords();
  UpdateRecordsFromRows();
  CPtrList added;
  AppendNewRecords(added);
  for (POSITION pos = added.GetHeadPosition(); pos;) {
    void* record = added.GetNext(pos);
    m_groupList.AddTail(record);
    m_ownRecords.AddTail(record);
  }
  return TRUE;
}

// The appended records leave the group list as they are freed; the frame
// may already have dropped them from it.
void CModifyMembersPage::FreeOwnRecords() {
  for (POSITION pos = m_ownRecords.GetHeadPosition(); pos;) {
    void* record = m_ownRecords.GetNext(pos);
    if (POSITION at = m_groupList.Find(record)) m_groupList.RemoveAt(at);
    delete static_cast<CDeviceRecord*>(record);
  }
  m_ownRecords.RemoveAll();
}

void CModifyMembersPage::OnDestroy() {
  CMemberPage::OnDestroy();
  ClearGroupList();
}

void RegisterModifyMembersPage() {
  RegisterWizardPage(IDD_PAGE_MODIFY_MEMBERS, [] { return new CModifyMembersPage; });
}
