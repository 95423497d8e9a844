#include "CMemberPage.h"

#include "CDeviceRecord.h"
#include "CManualIpDlg.h"
#include "CWizardApp.h"
#include "InputChecks.h"
#include "LangText.h"
#include "MembersRes.h"
#include "PageRegistry.h"
#include "SkinMessageBox.h"
#include "WizardFlows.h"
#include "WizardFont.h"
#include "WizardRes.h"
#include "WizardUi.h"

namespace {

const char kReturnedModel[] = "RIZ-4410";
const int kRoleDropDownItems = 5;
const int kAppendAtEnd = 0xFFFF;

// Icons of the Manually and Delete cells, in image list order.
const int kIconResources[] = {CRTListCtrlEx::kManualIcon, CRTListCtrlEx::kDeleteIcon};
const int kManualImage = 0, kDeleteImage = 1;

// The member list control draws these columns in its own way, and the
// manual address dialog reads the unconfigured list's addresses.
static_assert(int(CRTListCtrlEx::kRoleColumn) == kColRole && int(CRTListCtrlEx::kCheckColumn) == kColAuto &&
                  int(CRTListCtrlEx::kManualColumn) == kColManual && int(CRTListCtrlEx::kDeleteColumn) == kColDelete,
              "the member list control's columns are the member store's");
static_assert(int(CManualIpDlg::kCandidateIpColumn) == kUnconfiguredIp, "the dialog reads the unconfigured addresses");

struct ColumnSpec {
  const char* title;  // a language key when `isKey`
  bool isKey;
  int width;
};

const ColumnSpec kUnconfiguredColumns[kUnconfiguredColumnCount] = {
    {"IDS_UI_LIST_MODULE_NAME", true, 100}, {"IDS_UI_LIST_IP", true, 100}, {"IDS_UI_LIST_MAC", true, 100},
    {"LOCATION", false, 0},                 {"Snmp", false, 0},            {"Snmp", false, 0},
    {"Snmp", false, 0},                     {"Snmp", false, 0},            {"IDS_UI_LIST_MASK", true, 100},
};

// Only the columns below these counts may be resized.
const int kMemberResizable = 7;
const int kUnconfiguredResizable = 3;


void SetSubItemImage(CListCtrl& list, int row, int column, int image) {
  LVITEM item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iSubItem = column;
  item.iImage = image;
  list.SetItem(&item);
}

CString WindowText(CWnd& wnd) {
  CString text;
  wnd.GetWindowText(text);
  return text;
}

}  // namespace

CMemberPage::CMemberPage() : CMemberPage(IDD_PAGE_MEMBER) {}
CMemberPage::CMemberPage(UINT templateId) : CWizardPage(templateId, nullptr) {}
CMemberPage::~CMemberPage() { delete m_pDragImage; }

BEGIN_MESSAGE_MAP(CMemberPage, CWizardPage)
  ON_BN_CLICKED(IDC_MEM_AUTO_CHECK, OnAutoIpClicked)
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_CAPTURECHANGED()
  ON_WM_DESTROY()
  ON_NOTIFY(LVN_BEGINDRAG, IDC_MEM_UNCONFIG_LIST, OnBeginDrag)
  ON_MESSAGE(WM_LIST_CELL_CLICKED, OnListCellClicked)
END_MESSAGE_MAP()

void CMemberPage::DoDataExchange(CDataExchange* pDX) {
  CWizardPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_MEM_UNCONFIG_CAPTION, m_unconfiguredCaption);
  DDX_Control(pDX, IDC_MEM_UNCONFIG_LIST, m_listUnconfigured);
  DDX_Control(pDX, IDC_MEM_MEMBER_CAPTION, m_memberCaption);
  DDX_Control(pDX, IDC_MEM_MEMBER_LIST, m_listMembers);
  DDX_Control(pDX, IDC_MEM_AUTO_FRAME, m_autoFrame);
  DDX_Control(pDX, IDC_MEM_AUTO_CAPTION, m_autoCaption);
  DDX_Control(pDX, IDC_MEM_IP_FROM_LABEL, m_ipFromLabel);
  DDX_Control(pDX, IDC_MEM_MASK_LABEL, m_maskLabel);
  DDX_Control(pDX, IDC_MEM_GATEWAY_LABEL, m_gatewayLabel);
  DDX_Control(pDX, IDC_MEM_IP_FROM, m_ipFrom);
  DDX_Control(pDX, IDC_MEM_MASK, m_ipMask);
  DDX_Control(pDX, IDC_MEM_GATEWAY, m_ipGateway);
  DDX_Control(pDX, IDC_MEM_AUTO_CHECK, m_chkAutoIp);
  DDX_Check(pDX, IDC_MEM_AUTO_CHECK, m_bAutoIp);
  DDX_Control(pDX, IDC_MEM_UNCONFIG_FRAME, m_unconfiguredFrame);
  DDX_Control(pDX, IDC_MEM_MEMBER_FRAME, m_memberFrame);
}

CString CMemberPage::Text(LPCTSTR key) const { return LangText(m_pApp, key); }

void CMemberPage::ShowMessage(LPCTSTR key) { ShowLangMessage(m_pApp, key); }

// The member pages' one question: OK and Cancel.
bool CMemberPage::Confirm(LPCTSTR key) {
  CSkinMessageBox box;
  box.SetMessage(Text(key));
  box.SetOkCancel(1);
  return box.DoModal() == IDOK;
}

// ---------------------------------------------------------------- set-up

void CMemberPage::CreateImageList(CImageList& images) {
  images.Create(16, 16, ILC_MASK | ILC_COLOR8, 1, 0);
  for (int icon : kIconResources) images.Add(::LoadIcon(::AfxGetResourceHandle(), MAKEINTRESOURCE(icon)));
}

void CMemberPage::CreateFonts() {
  CreateWizardFont(m_captionFont, 10, 10);
  CreateWizardFont(m_labelFont, 6, 6);
  CreateWizardFont(m_listFont, 14, 8, FW_NORMAL);
  CreateWizardFont(m_spareFont, 14, 6);
  m_listMembers.SetFont(&m_listFont);
  m_listUnconfigured.SetFont(&m_listFont);
}

void CMemberPage::InsertColumns(DWORD memberExStyle, int unconfiguredResizable) {
  for (int i = 0; i < kMemberColumnCount; ++i) {
    const MemberColumnHeader& c = kMemberColumnHeaders[i];
    m_listMembers.InsertColumn(i, c.titleKey ? Text(c.titleKey) : CString(c.title), LVCFMT_LEFT, c.memberPageWidth);
  }
  for (int i = 0; i < kUnconfiguredColumnCount; ++i) {
    const ColumnSpec& c = kUnconfiguredColumns[i];
    m_listUnconfigured.InsertColumn(i, c.isKey ? Text(c.title) : CString(c.title), LVCFMT_LEFT, c.width);
  }
  m_listMembers.SetResizableColumns(kMemberResizable);
  m_listUnconfigured.SetResizableColumns(unconfiguredResizable);
  m_listMembers.SetExtendedStyle(memberExStyle);
  m_listUnconfigured.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  m_listUnconfigured.SetToolTipText(Text("IDS_STR_LIST_UNCFG"), -1);
  m_listMembers.SetToolTipText(Text("IDS_STR_LIST_MEMLIST"), kColRole);
}

void CMemberPage::SetUpLists(DWORD memberExStyle, int unconfiguredResizable) {
  CreateImageList(m_imageList);
  m_listUnconfigured.EnableMouseEdit(FALSE);
  InsertColumns(memberExStyle, unconfiguredResizable);
  for (const char* role : {kRoleMaster, kRoleBackupMaster, kRoleSlave}) m_roleNames.Add(role);
  CreateFonts();
  m_listMembers.SetHandCursorColumns(kColManual, kColDelete);
}

BOOL CMemberPage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  SetUpLists(LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT, kUnconfiguredResizable);
  m_autoFrame.SetBackground(0, 0);
  m_unconfiguredCaption.SetFont(&m_captionFont);
  m_memberCaption.SetFont(&m_captionFont);
  for (CWnd* label : {static_cast<CWnd*>(&m_ipFromLabel), static_cast<CWnd*>(&m_maskLabel),
                      static_cast<CWnd*>(&m_gatewayLabel), static_cast<CWnd*>(&m_autoCaption),
                      static_cast<CWnd*>(&m_autoFrame)})
    label->SetFont(&m_labelFont);
  for (CRTStatic* text : {&m_unconfiguredCaption, &m_memberCaption, &m_ipFromLabel, &m_maskLabel, &m_gatewayLabel,
                          &m_autoCaption})
    text->SetTransparent(1);
  m_unconfiguredCaption.SetWindowText(Text("IDS_UI_UNCONFIGAP"));
  m_memberCaption.SetWindowText(Text("IDS_UI_MEMBERLIST"));
  m_autoCaption.SetWindowText(Text("IDS_UI_AUTO_IP"));
  m_ipFromLabel.SetWindowText(Text("IDS_UI_IPFROM"));
  m_maskLabel.SetWindowText(Text("IDS_UI_MASK "));
  m_gatewayLabel.SetWindowText(Text("IDS_UI_GATEWAY"));
  OnAutoIpClicked();
  m_pDropWnd = &m_listMembers;
  return TRUE;
}

// ---------------------------------------------------------------- rows

int CMemberPage::AppendMemberRow(const MemberRowTexts& texts, int roleIndex) {
  CRTListCtrlEx& list = m_listMembers;
  const int row = list.InsertItem(list.GetItemCount(), texts.text);
  if (row < 0) return row;
  list.SetComboBox(row, kColRole, TRUE, &m_roleNames, kRoleDropDownItems, roleIndex, FALSE);
  list.SetItemText(row, kColRole, texts.role);
  list.SetItemText(row, kColIp, texts.ip);
  list.SetItemText(row, kColMac, texts.mac);
  list.SetItemText(row, kColLocation, texts.location);
  list.SetItemText(row, kColMask, texts.mask);
  list.SetItemText(row, kColIsAdd, texts.isAdded);
  list.SetItemText(row, kColAuto, kSetIpBoxText);
  list.SetCheckbox(row, kColAuto, 0);
  list.SetItemText(row, kColSnmpStatus, texts.snmpEnabled ? kSnmpShownOn : kSnmpShownOff);
  list.SetImageList(&m_imageList, LVSIL_SMALL);
  SetSubItemImage(list, row, kColManual, kManualImage);
  SetSubItemImage(list, row, kColDelete, kDeleteImage);
  return row;
}

// A member the scan reported as one: its role as the device gave it.
int CMemberPage::AppendRecordRow(const CDeviceRecord& record, const CString& text) {
  MemberRowTexts texts;
  texts.text = text;
  texts.role = record.m_strRole;
  texts.ip = record.m_strIp;
  texts.mac = record.m_strMac;
  texts.location = record.m_strLocation;
  texts.mask = record.m_strNetmask;
  texts.isAdded = kFromGroup;
  texts.snmpEnabled = record.m_strSnmpStatus == kSnmpOn;
  return AppendMemberRow(texts, RoleIndex(record.m_strRole));
}

void CMemberPage::AppendUnconfiguredRow(CRTListCtrlEx& list, const CDeviceRecord& device) {
  const int row = list.InsertItem(kAppendAtEnd, device.m_strModel);
  if (row < 0) return;
  list.SetItemText(row, kUnconfiguredIp, device.m_strIp);
  list.SetItemText(row, kUnconfiguredMac, device.m_strMac);
  list.SetItemText(row, kUnconfiguredMask, device.m_strNetmask);
  list.SetItemText(row, kUnconfiguredLocation, device.m_strLocation);
  list.SetItemText(row, kUnconfiguredSnmp, device.m_strSnmpStatus);
}

void CMemberPage::SetDeviceList(CPtrList* devices) {
  m_listUnconfigured.DeleteAllItems();
  m_listUnconfigured.EnableToolTips(TRUE);
  m_listUnconfigured.SetRedraw(FALSE);
  if (devices) {
    for (POSITION pos = devices->GetHeadPosition(); pos;)
      if (auto* device = static_cast<CDeviceRecord*>(devices->GetNext(pos))) AppendUnconfiguredRow(m_listUnconfigured, *device);
  }
  m_listUnconfigured.SetToolTipText(Text("IDS_STR_LIST_UNCFG"), -1);
  m_listUnconfigured.SetRedraw(TRUE);
}

void CMemberPage::SetGroupList(CPtrList* groups) {
  m_listMembers.DeleteAllItems();
  m_listMembers.EnableToolTips(TRUE);
  m_listMembers.SetRedraw(FALSE);
  if (groups) {
    for (POSITION pos = groups->GetHeadPosition(); pos;) {
      auto* record = static_cast<CDeviceRecord*>(groups->GetNext(pos));
      if (!record) continue;
      CString position;
      position.Format("%d", m_listMembers.GetItemCount() + 1);
      AppendRecordRow(*record, position);
    }
  }
  m_listMembers.SetToolTipText(Text("IDS_STR_LIST_MEMLIST"), kColRole);
  m_listMembers.SetRedraw(TRUE);
}

void CMemberPage::MoveRowToMembers(CRTListCtrlEx* source, int row) {
  MemberRowTexts texts;
  texts.text = source->GetItemText(row, kUnconfiguredModel);
  texts.ip = source->GetItemText(row, kUnconfiguredIp);
  texts.mac = source->GetItemText(row, kUnconfiguredMac);
  texts.mask = source->GetItemText(row, kUnconfiguredMask);
  texts.location = source->GetItemText(row, kUnconfiguredLocation);
  texts.snmpEnabled = source->GetItemText(row, kUnconfiguredSnmp) == kSnmpOn;
  texts.role = m_roleNames[kSlave];
  texts.isAdded = kAddedByOperator;
  source->DeleteItem(row);
  AppendMemberRow(texts, kSlave);
}

BOOL CMemberPage::ReturnRowToUnconfigured(CRTListCtrlEx* members, CRTListCtrlEx* unconfigured, int row) {
  CDeviceRecord device;
  device.m_strModel = kReturnedModel;
  device.m_strIp = members->GetItemText(row, kColIp);
  device.m_strMac = members->GetItemText(row, kColMac);
  device.m_strNetmask = members->GetItemText(row, kColMask);
  device.m_strLocation = members->GetItemText(row, kColLocation);
  device.m_strSnmpStatus = members->GetItemText(row, kColSnmpStatus) == kSnmpShownOn ? kSnmpOn : kSnmpOff;
  members->DeleteItem(row);
  AppendUnconfiguredRow(*unconfigured, device);
  unconfigured->EnableToolTips(TRUE);
  return TRUE;
}

int CMemberPage::RoleIndex(const CString& role) {
  if (role == kRoleBackupMaster) return kBackupMaster;
  if (role == kRoleSlave) return kSlave;
  return kMaster;
}

int CMemberPage::FindMemberRowByMac(const CString& mac) {
  return FindListItemByText(&m_listMembers, mac, kColMac);
}

// ---------------------------------------------------------------- page operations

void CMemberPage::OnEnterPage() {
  m_listMembers.DeleteAllItems();
  SetDeviceList(&m_deviceList);
  UpdateAutoIpState();
  for (CWnd* field : {static_cast<CWnd*>(&m_ipMask), static_cast<CWnd*>(&m_ipFrom), static_cast<CWnd*>(&m_ipGateway)})
    field->SetWindowText("");
  m_bFinished = FALSE;
}

int CMemberPage::OnNextPage() {
  if (!UpdateData(TRUE)) return kStayOnPage;
  if (m_listMembers.GetItemCount() > kMaxMembers) {
    ShowMessage("IDS_MSG_APVEZOVI_MAXNUMBER32");
    return kStayOnPage;
  }
  if (!BuildRecordList()) return kStayOnPage;
  return m_groupList.IsEmpty() ? kCreateDone : kCreateFirstApply;
}

int CMemberPage::OnBackPage() { return kCreateScan; }

// ---------------------------------------------------------------- checks and records

BOOL CMemberPage::UpdateAutoIpState() {
  BOOL result = FALSE;
  for (int row = 0; row < m_listMembers.GetItemCount() && !result; ++row)
    result = m_listMembers.GetCheckbox(row, kColAuto) != 0;
  m_bAutoIp = result;
  UpdateData(FALSE);
  OnAutoIpClicked();
  return result;
}

void CMemberPage::OnAutoIpClicked() {
  const BOOL enable = m_chkAutoIp.GetSafeHwnd() && m_chkAutoIp.GetCheck() == BST_CHECKED;
  for (CWnd* field : {static_cast<CWnd*>(&m_ipMask), static_cast<CWnd*>(&m_ipGateway), static_cast<CWnd*>(&m_ipFrom)})
    if (field->GetSafeHwnd()) field->EnableWindow(enable);
}

BOOL CMemberPage::CheckIpPlan() {
  const CString from = WindowText(m_ipFrom), mask = WindowText(m_ipMask);
  if (IsValidIpCtrl(&m_ipFrom) && IsValidNetmaskCtrl(&m_ipMask) && IsValidIpCtrl(&m_ipGateway) &&
      IsValidHostIp(from, mask))
    return TRUE;
  ShowMessage("IDS_MSG_IP_ERROR");
  m_ipFrom.SetFocus();
  return FALSE;
}

BOOL CMemberPage::CheckOneMaster() {
  // An empty list has no Master either, but what it lacks is members.
  if (m_listMembers.GetItemCount() == 0) {
    ShowMessage("IDS_MSG_NO_MEMBER");
    return FALSE;
  }
  int masters = 0;
  for (int row = 0; row < m_listMembers.GetItemCount(); ++row)
    masters += m_listMembers.GetItemText(row, kColRole) == m_roleNames[kMaster];
  if (masters == 1) return TRUE;
  ShowMessage("IDS_MSG_ONE_MASTER");
  return FALSE;
}

// The automatic fields first; a manual address overrides them.
void CMemberPage::FillRecordFromMemberRow(CDeviceRecord& record, int row) {
  CRTListCtrlEx& list = m_listMembers;
  record.m_strRole = list.GetItemText(row, kColRole);
  record.m_strMac = list.GetItemText(row, kColMac);
  record.m_strIp = list.GetItemText(row, kColIp);
  record.m_nMembership = CDeviceRecord::kMember;
  record.m_strDevicePassword.Empty();
  record.m_nAutoIp = list.GetCheckbox(row, kColAuto) == 1 ? 1 : 0;
  if (record.m_nAutoIp) {
    record.m_strNewIp = WindowText(m_ipFrom);
    record.m_strNewNetmask = WindowText(m_ipMask);
    record.m_strNewGateway = WindowText(m_ipGateway);
  }
  record.m_nManualIp = list.GetItemText(row, kColIsManual) == kManualSet ? 1 : 0;
  if (record.m_nManualIp) {
    record.m_strNewIp = list.GetItemText(row, kColIp);
    record.m_strNewNetmask = list.GetItemText(row, kColNewMask);
    record.m_strNewGateway = list.GetItemText(row, kColNewGateway);
  }
}

// A row that stands for a record the scan reported: a manual address is the
// new address, the record keeps the one the device has now.
void CMemberPage::FillRecordFromExistingRow(CDeviceRecord& record, int row) {
  FillRecordFromMemberRow(record, row);
  if (record.m_nManualIp) record.m_strIp = m_listMembers.GetItemText(row, kColNewIp);
  m_listMembers.SetItemText(row, kColAction, kRowRecorded);
}

void CMemberPage::ReadGroupNameAndPassword(CString& name, CString& password) {
  name = m_strGroupName;
  password = m_strGroupPassword;
}

void CMemberPage::AppendNewRecords(CPtrList& records) {
  for (int row = 0; row < m_listMembers.GetItemCount(); ++row) {
    if (m_listMembers.GetItemText(row, kColAction) == kRowRecorded) continue;
    auto* record = new CDeviceRecord;
    FillRecordFromMemberRow(*record, row);
    ReadGroupNameAndPassword(record->m_strGroupName, record->m_strGroupPassword);
    m_listMembers.SetItemText(row, kColAction, kRowRecorded);
    records.AddTail(record);
  }
  for (int row = 0; row < m_listUnconfigured.GetItemCount(); ++row) {
    auto* record = new CDeviceRecord;
    record->m_strIp = m_listUnconfigured.GetItemText(row, kUnconfiguredIp);
    record->m_strMac = m_listUnconfigured.GetItemText(row, kUnconfiguredMac);
    record->m_nMembership = CDeviceRecord::kNotMember;
    ReadGroupNameAndPassword(record->m_strGroupName, record->m_strGroupPassword);
    records.AddTail(record);
  }
}

BOOL CMemberPage::IsHeldOutsideTheLists(const CString&) { return FALSE; }

// A row dragged in after an address was typed may hold it already.
BOOL CMemberPage::CheckManualAddresses() {
  for (int row = 0; row < m_listMembers.GetItemCount(); ++row) {
    if (m_listMembers.GetItemText(row, kColIsManual) != kManualSet) continue;
    const CString ip = m_listMembers.GetItemText(row, kColIp);
    if (!IsMemberAddressTaken(&m_listMembers, &m_listUnconfigured, ip, row) && !IsHeldOutsideTheLists(ip)) continue;
    ShowMessage("IDS_MSG_IP_EXIST");
    return FALSE;
  }
  return TRUE;
}

BOOL CMemberPage::BuildRecordList() {
  if (!CheckOneMaster()) return FALSE;
  if (UpdateAutoIpState() && !CheckIpPlan()) return FALSE;
  if (!CheckManualAddresses()) return FALSE;
  FreeRecordList(&m_groupList);
  AppendNewRecords(m_groupList);
  return TRUE;
}

void CMemberPage::UpdateRecordsFromRows() {
  for (POSITION pos = m_groupList.GetHeadPosition(); pos;) {
    auto* record = static_cast<CDeviceRecord*>(m_groupList.GetNext(pos));
    if (!record) continue;
    const int row = FindMemberRowByMac(record->m_strMac);
    if (row < 0) {
      record->m_nMembership = CDeviceRecord::kLeaving;
    } else {
      FillRecordFromExistingRow(*record, row);
    }
    record->m_strGroupName = m_strGroupName;
    record->m_strGroupPassword = m_strGroupPassword;
    record->m_strDevicePassword = m_strGroupPassword;
  }
}

void CMemberPage::FreeOwnRecords() { FreeRecordList(&m_groupList); }

// ---------------------------------------------------------------- cell clicks

LRESULT CMemberPage::OnListCellClicked(WPARAM wParam, LPARAM lParam) {
  const int column = static_cast<int>(wParam), row = static_cast<int>(lParam);
  if (row < 0 || row >= m_listMembers.GetItemCount()) return 0;
  CRTListCtrlEx& list = m_listMembers;
  switch (column) {
    case kColDelete:
      if (list.m_bHandCursor && Confirm("IDS_STR_DONE_DELAPVEZOVI"))
        ReturnRowToUnconfigured(&m_listMembers, &m_listUnconfigured, row);
      break;
    case kColManual: {
      if (!list.m_bHandCursor) break;
      CManualIpDlg dialog;
      dialog.m_pMemberList = &m_listMembers;
      dialog.m_pCandidateList = &m_listUnconfigured;
      dialog.m_nRow = row;
      dialog.m_isHeldElsewhere = [this](const CString& ip) { return IsHeldOutsideTheLists(ip) != FALSE; };
      if (dialog.DoModal() != IDOK || row >= list.GetItemCount()) break;
      list.SetCheckbox(row, kColAuto, 0);
      const CString before = list.GetItemText(row, kColIp);
      list.SetItemText(row, kColIp, dialog.m_strIp);
      list.SetItemText(row, kColNewIp, before);
      list.SetItemText(row, kColNewMask, dialog.m_strMask);
      list.SetItemText(row, kColNewGateway, dialog.m_strGateway);
      list.SetItemText(row, kColIsManual, kManualSet);
      UpdateAutoIpState();
      break;
    }
    case kColAuto:
      if (list.GetItemText(row, kColIsManual) == kManualSet)
        list.SetItemText(row, kColIp, list.GetItemText(row, kColNewIp));
      UpdateAutoIpState();
      list.SetItemText(row, kColIsManual, kManualCleared);
      break;
    default:
      break;
  }
  return 0;
}

// ---------------------------------------------------------------- drag and drop

void CMemberPage::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  if (pNMHDR->hwndFrom != m_listUnconfigured.GetSafeHwnd() || m_bDragging) return;
  auto* notice = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
  CRTListCtrlEx* source = &m_listUnconfigured;
  CPoint origin;
  CImageList* image = source->CreateDragImage(notice->iItem, &origin);
  if (!image) return;
  CBitmap picture;
  if (picture.LoadBitmap(source->GetSelectedCount() > 1 ? IDB_DRAG_ROWS : IDB_DRAG_ONE_ROW))
    image->Replace(0, &picture, nullptr);
  delete m_pDragImage;
  m_pDragImage = image;
  m_nDragIndex = notice->iItem;
  m_pDragImage->BeginDrag(0, CPoint(-10, -14));
  // The desktop takes screen coordinates.
  CPoint screen = notice->ptAction;
  source->ClientToScreen(&screen);
  CImageList::DragEnter(GetDesktopWindow(), screen);
  m_bDragging = TRUE;
  m_nDropIndex = -1;
  m_pDragList = source;
  SetCapture();
}

// The drag is over, dropped or not: the flag goes first, so that giving
// the capture back is not taken for a capture lost.
void CMemberPage::StopDragging() {
  m_bDragging = FALSE;
  if (GetCapture() == this) ReleaseCapture();
  CImageList::DragLeave(GetDesktopWindow());
  CImageList::EndDrag();
  delete m_pDragImage;
  m_pDragImage = nullptr;
}

// Another window took the mouse (a message box, say): the drag ends where
// it is and nothing is dropped.
void CMemberPage::OnCaptureChanged(CWnd* pWnd) {
  if (m_bDragging) {
    StopDragging();
    ClearDropHighlight();
  }
  CWizardPage::OnCaptureChanged(pWnd);
}

void CMemberPage::ClearDropHighlight() {
  if (m_pDropWnd != &m_listMembers || !m_listMembers.GetSafeHwnd()) return;
  if (m_nDropIndex < 0) {
    for (int row = 0; row < m_listMembers.GetItemCount(); ++row) m_listMembers.SetItemState(row, 0, LVIS_DROPHILITED);
    if (m_listMembers.GetItemCount() > 0) m_listMembers.RedrawItems(0, m_listMembers.GetItemCount() - 1);
  } else {
    m_listMembers.SetItemState(m_nDropIndex, 0, LVIS_DROPHILITED);
    m_listMembers.RedrawItems(m_nDropIndex, m_nDropIndex);
    m_nDropIndex = -1;
  }
  m_listMembers.UpdateWindow();
}

void CMemberPage::HighlightDropRow(CPoint screen) {
  CPoint client = screen;
  m_listMembers.ScreenToClient(&client);
  const int row = m_listMembers.HitTest(client);
  if (row == m_nDropIndex) return;
  if (m_nDropIndex >= 0) {
    m_listMembers.SetItemState(m_nDropIndex, 0, LVIS_DROPHILITED);
    m_listMembers.RedrawItems(m_nDropIndex, m_nDropIndex);
  }
  m_nDropIndex = row;
  if (row >= 0) {
    m_listMembers.SetItemState(row, LVIS_DROPHILITED, LVIS_DROPHILITED);
    m_listMembers.RedrawItems(row, row);
  }
  m_listMembers.UpdateWindow();
}

// Only this page's member list takes a drop, so only it is ever marked;
// whatever else lies under the pointer is left alone.
void CMemberPage::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bDragging) {
    CPoint screen = point;
    ClientToScreen(&screen);
    CImageList::DragMove(screen);
    CImageList::DragShowNolock(FALSE);
    HWND under = ::WindowFromPoint(screen);
    CWnd* ownList = under == m_listMembers.GetSafeHwnd()        ? static_cast<CWnd*>(&m_listMembers)
                    : under == m_listUnconfigured.GetSafeHwnd() ? static_cast<CWnd*>(&m_listUnconfigured)
                                                                : nullptr;
    if (ownList != m_pDropWnd) {
      ClearDropHighlight();
      m_pDropWnd = ownList;
    }
    if (ownList == &m_listMembers) {
      ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
      HighlightDropRow(screen);
    } else {
      ::SetCursor(::LoadCursor(nullptr, IDC_NO));
    }
    CImageList::DragShowNolock(TRUE);
  }
  CWizardPage::OnMouseMove(nFlags, point);
}

void CMemberPage::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bDragging) {
    StopDragging();
    CPoint screen = point;
    ClientToScreen(&screen);
    if (::WindowFromPoint(screen) == m_listMembers.GetSafeHwnd()) {
      m_pDropList = &m_listMembers;
      DropRows(m_pDragList, m_pDropList);
    } else {
      ClearDropHighlight();
    }
  }
  CWizardPage::OnLButtonUp(nFlags, point);
}

void CMemberPage::DropRows(CRTListCtrlEx* source, CRTListCtrlEx* target) {
  if (!source || target == source || target != &m_listMembers) return;
  if (m_nDropIndex >= 0) {
    target->SetItemState(m_nDropIndex, 0, LVIS_DROPHILITED);
    m_nDropIndex = -1;
  }
  target->EnableToolTips(TRUE);
  if (source->GetSelectedCount() == 1) {
    if (target->GetItemCount() >= kMaxMembers) {
      ShowMessage("IDS_MSG_APVEZOVI_MAXNUMBER32");
      target->SetRedraw(TRUE);
    } else if (m_nDragIndex >= 0 && m_nDragIndex < source->GetItemCount()) {
      MoveRowToMembers(source, m_nDragIndex);
    }
    return;
  }
  for (POSITION pos = source->GetFirstSelectedItemPosition(); pos; pos = source->GetFirstSelectedItemPosition()) {
    if (target->GetItemCount() >= kMaxMembers) {
      ShowMessage("IDS_MSG_APVEZOVI_MAXNUMBER32");
      target->SetRedraw(TRUE);
      return;
    }
    MoveRowToMembers(source, source->GetNextSelectedItem(pos));
  }
}

void CMemberPage::OnDestroy() {
  if (m_bDragging) StopDragging();
  CWizardPage::OnDestroy();
  m_listMembers.DeleteAllItems();
  m_listUnconfigured.DeleteAllItems();
  FreeOwnRecords();
}

void RegisterMemberPage() { RegisterWizardPage(IDD_PAGE_MEMBER, [] { return new CMemberPage; }); }
