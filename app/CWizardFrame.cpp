#include "CWizardFrame.h"

#include <iterator>

#include "CApplyPage.h"
#include "CWizardApp.h"
#include "CWizardPage.h"
#include "WizardFont.h"
#include "WizardRes.h"
#include "WizardUi.h"

namespace {

const COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);

void Repaint(CWnd& button) {
  button.Invalidate();
  button.UpdateWindow();
}

}  // namespace

// ---------------------------------------------------------------- the frame

const UINT WM_WIZARD_CLOSED = ::RegisterWindowMessageA("WM_WIZARD_CLOSED");

CWizardFrame::CWizardFrame(CWnd* pParent) : CRTDialog(IDD_WIZARD_FRAME, pParent) {}

CWizardFrame::~CWizardFrame() { DestroyPages(); }

BEGIN_MESSAGE_MAP(CWizardFrame, CRTDialog)
  ON_BN_CLICKED(IDC_WIZ_FINISH, OnFinishButton)
  ON_BN_CLICKED(IDC_WIZ_CANCEL, OnCancelButton)
  ON_BN_CLICKED(IDC_WIZ_NEXT, OnNextButton)
  ON_BN_CLICKED(IDC_WIZ_BACK, OnBackButton)
  ON_WM_SHOWWINDOW()
  ON_WM_DESTROY()
  ON_WM_CTLCOLOR()
  ON_REGISTERED_MESSAGE(WM_WIZARD_BUSY, OnWizardBusy)
  ON_REGISTERED_MESSAGE(WM_WIZARD_WAIT_CURSOR, OnWizardWaitCursor)
  ON_REGISTERED_MESSAGE(WM_WIZARD_SHOW_PAGE, OnWizardShowPage)
END_MESSAGE_MAP()

int CWizardFrame::QueryFlowFlag() { return 1; }

void CWizardFrame::DoDataExchange(CDataExchange* pDX) {
  CRTDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_WIZ_TITLE, m_title);
  DDX_Control(pDX, IDC_WIZ_PAGE_AREA, m_pageArea);
  DDX_Control(pDX, IDC_WIZ_NEXT, m_btnNext);
  DDX_Control(pDX, IDC_WIZ_FINISH, m_btnFinish);
  DDX_Control(pDX, IDC_WIZ_CANCEL, m_btnCancel);
  DDX_Control(pDX, IDC_WIZ_BACK, m_btnBack);
}

BOOL CWizardFrame::OnInitDialog() {
  CRTDialog::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  CreateWizardFont(m_boldFont, 10, 6);
  for (CRTButton* button : {&m_btnNext, &m_btnCancel, &m_btnBack, &m_btnFinish}) button->SetFont(&m_boldFont);
  if (m_pApp) {
    m_btnBack.SetWindowText(m_pApp->Text("IDS_UI_BACK"));
    m_btnNext.SetWindowText(m_pApp->Text("IDS_UI_NEXT"));
    m_btnCancel.SetWindowText(m_pApp->Text("IDS_UI_CANCEL"));
    m_btnFinish.SetWindowText(m_pApp->Text("IDS_UI_FINISH"));
  }
  CreatePages();
  m_titleBrush.CreateSolidBrush(RGB(0, 0, 0));
  return TRUE;
}

void CWizardFrame::CreatePages() {}

void CWizardFrame::CreateFlowPages(const FlowPages& flow) {
  for (CWizardPage*& page : m_pages) page = nullptr;
  for (int i = 0; i < kMaxPages && flow.templates[i]; ++i) {
    // The apply page is the core's own; every other page comes from the pages
    // library.
    WizardPageFactory own;
    if (flow.templates[i] == IDD_PAGE_APPLY) own = [] { return new CApplyPage(nullptr); };
    CWizardPage* page = MakeWizardPage(flow.templates[i], own);
    page->Create(flow.templates[i], this);
    // Ahead of the frame's buttons in the tab order: Tab goes through the
    // page's fields, then on to Back, Next and Cancel.
    ::SetWindowPos(page->GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_pages[i] = page;
  }
  if (CWizardPage* scan = Page(flow.scanIndex)) {
    scan->m_pDiscoveryA = m_pDiscoveryA;
    scan->m_pDiscoveryB = m_pDiscoveryB;
  }
  if (CWizardPage* second = Page(flow.secondRunIndex)) second->m_nSecondRun = 1;
  for (int index : flow.modifyFlowIndexes)
    if (CWizardPage* apply = Page(index)) apply->m_nModifyFlow = 1;
  ShowPage(m_nCurrent);
  if (CWizardPage* current = Page(m_nCurrent)) current->ShowWindow(SW_SHOW);
  EnableBack(m_nCurrent != 0);
}

void CWizardFrame::DestroyPages() {
  for (CWizardPage*& page : m_pages) {
    if (!page) continue;
    page->DestroyWindow();
    delete page;
    page = nullptr;
  }
}

void CWizardFrame::ShowPage(int index) {
  CWizardPage* page = Page(index);
  if (!page) return;
  CRect area;
  m_pageArea.GetWindowRect(&area);
  ScreenToClient(&area);
  page->SetWindowPos(nullptr, area.left + 2, area.top + 5, area.Width(), area.Height(), SWP_NOZORDER | SWP_SHOWWINDOW);
  page->ShowWindow(SW_SHOW);
}

void CWizardFrame::ShowButtons(BOOL finished) {
  m_btnNext.ShowWindow(finished ? SW_HIDE : SW_SHOW);
  m_btnFinish.ShowWindow(finished ? SW_SHOW : SW_HIDE);
  m_bBackWanted = !finished;
  m_bCancelWanted = !finished;
  UpdateButtonStates();
  for (CWnd* button : {static_cast<CWnd*>(&m_btnNext), static_cast<CWnd*>(&m_btnBack), static_cast<CWnd*>(&m_btnCancel)})
    Repaint(*button);
}

void CWizardFrame::EnableBack(int flag) {
  m_bBackWanted = flag != 0;
  UpdateButtonStates();
}

void CWizardFrame::EnableWithParent(BOOL enable) {
  const BOOL wasBusy = m_bBusy;
  // Asked before the buttons go: a disabled button loses the focus.
  const BOOL keyboard = HasKeyboard();
  m_bBusy = !enable;
  if (m_bBusy && !wasBusy) m_bRefusalTold = FALSE;
  UpdateButtonStates();
  if (CWnd* parent = GetParent()) parent->SendMessage(WM_WIZARD_BUSY, m_bBusy);
  m_bFocusOwed = FALSE;
  if (!IsWindowVisible()) return;
  if (m_bBusy) {
    if (keyboard && !m_bMoving) FocusIntoPage();
  } else if (wasBusy) {
    if (keyboard)
      FocusWhereTheFlowGoesOn();
    else
      m_bFocusOwed = TRUE;
  }
}

void CWizardFrame::RefusedWhileBusy() {
  if (m_bRefusalTold) return;
  m_bRefusalTold = TRUE;
  if (CWizardPage* page = Page(m_nCurrent)) page->OnRefusedWhileBusy();
}

LRESULT CWizardFrame::OnWizardBusy(WPARAM busy, LPARAM) {
  EnableWithParent(!busy);
  return 0;
}

// The cursor is the main dialog's: the request goes on unchanged.
LRESULT CWizardFrame::OnWizardWaitCursor(WPARAM wait, LPARAM atOnce) {
  if (CWnd* parent = GetParent()) parent->SendMessage(WM_WIZARD_WAIT_CURSOR, wait, atOnce);
  return 0;
}

LRESULT CWizardFrame::OnWizardShowPage(WPARAM, LPARAM shown) {
  for (int index = 0; index < kMaxPages; ++index) {
    CWizardPage* page = m_pages[index];
    if (!page || page != reinterpret_cast<CWizardPage*>(shown) || index == m_nCurrent) continue;
    if (CWizardPage* current = Page(m_nCurrent)) current->ShowWindow(SW_HIDE);
    ShowButtons(page->m_bFinished);
    ShowPage(index);
    m_nCurrent = index;
  }
  return 0;
}

void CWizardFrame::OnMainActivated() {
  if (!m_bFocusOwed) return;
  m_bFocusOwed = FALSE;
  if (!m_bBusy && IsWindowVisible()) FocusWhereTheFlowGoesOn();
}

BOOL CWizardFrame::HasKeyboard() const {
  HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
  HWND focus = ::GetFocus();
  if (!focus) return top && ::GetActiveWindow() == top;
  return focus == top || ::IsChild(top, focus);
}

// Its control that has the focus keeps it; else the page gives it to its
// first tab stop, or keeps it itself.
void CWizardFrame::FocusIntoPage() {
  CWizardPage* page = Page(m_nCurrent);
  if (!page || !page->IsWindowVisible()) return;
  HWND focus = ::GetFocus();
  if (focus && ::IsChild(page->m_hWnd, focus) && ::IsWindowEnabled(focus) && ::IsWindowVisible(focus)) return;
  page->SetFocus();
}

BOOL CWizardFrame::FocusFlowButton() {
  for (CRTButton* button : {&m_btnNext, &m_btnFinish}) {
    if (button->IsWindowVisible() && button->IsWindowEnabled()) {
      GotoDlgCtrl(button);
      return TRUE;
    }
  }
  return FALSE;
}

void CWizardFrame::FocusWhereTheFlowGoesOn() {
  if (!FocusFlowButton()) FocusIntoPage();
}

// A page that Next or Back shows gives the focus to its first tab stop; one
// with none (the completion pages) would keep it where nobody sees it, so the
// button the flow goes on with takes it.
void CWizardFrame::FocusShownPage(CWizardPage* page) {
  page->SetFocus();
  if (::GetFocus() == page->m_hWnd) FocusFlowButton();
}

void CWizardFrame::UpdateButtonStates() {
  const struct {
    CRTButton& button;
    BOOL wanted;
  } states[] = {{m_btnBack, m_bBackWanted}, {m_btnCancel, m_bCancelWanted}, {m_btnNext, TRUE}, {m_btnFinish, TRUE}};
  for (const auto& s : states)
    if (s.button.GetSafeHwnd()) s.button.EnableWindow(s.wanted && !m_bBusy);
}

void CWizardFrame::StopPages() {
  for (CWizardPage* page : m_pages)
    if (page) page->StopWork();
}

void CWizardFrame::CopyRecordList(CPtrList& destination, const CPtrList& source) {
  destination.RemoveAll();
  for (POSITION pos = source.GetHeadPosition(); pos;) destination.AddTail(source.GetNext(pos));
}

void CWizardFrame::Activate() {
  ShowButtons(FALSE);
  CWizardPage* page = Page(m_nCurrent);
  if (!page) return;
  if (!page->IsWindowVisible()) page->ShowWindow(SW_SHOW);
  page->OnEnterPage();
}

void CWizardFrame::OnNext() {
  CWizardPage* current = Page(m_nCurrent);
  if (!current || !Page(m_nCurrent + 1)) return;
  int target = current->OnNextPage();
  if (target == CWizardPage::kStayOnPage) return;
  if (target == CWizardPage::kFollowingPage) target = m_nCurrent + 1;
  CWizardPage* next = Page(target);
  if (!next) return;  // not a page of this flow: stay
  CopyForward(target);
  m_bMoving = TRUE;
  next->OnEnterPage();
  m_bMoving = FALSE;
  current->ShowWindow(SW_HIDE);
  ShowButtons(next->m_bFinished);
  ShowPage(target);
  FocusShownPage(next);
  m_nCurrent = target;
  UpdateBackAfterNext(target);
}

void CWizardFrame::OnBack() {
  CWizardPage* current = Page(m_nCurrent);
  if (m_nCurrent == 0 || !current) return;
  int target = current->OnBackPage();
  if (target == CWizardPage::kStayOnPage) return;
  if (target == CWizardPage::kFollowingPage) target = m_nCurrent - 1;
  CWizardPage* previous = Page(target);
  if (!previous) return;  // not a page of this flow: stay
  m_bMoving = TRUE;
  previous->OnReturnToPage();
  m_bMoving = FALSE;
  current->ShowWindow(SW_HIDE);
  previous->ShowWindow(SW_SHOW);
  FocusShownPage(previous);
  m_nCurrent = target;
}

void CWizardFrame::Close() {
  m_bFocusOwed = FALSE;
  if (CWizardPage* current = Page(m_nCurrent)) current->ShowWindow(SW_HIDE);
  ShowWindow(SW_HIDE);
  m_nCurrent = 0;
  if (CWnd* parent = GetParent()) parent->SendMessage(WM_WIZARD_CLOSED);
}

void CWizardFrame::CopyForward(int) {}
void CWizardFrame::UpdateBackAfterNext(int) {}

void CWizardFrame::OnNextButton() {
  if (HasFlow()) OnNext();
}
void CWizardFrame::OnBackButton() {
  if (HasFlow()) OnBack();
}
void CWizardFrame::OnFinishButton() {
  if (HasFlow()) Close();
}
void CWizardFrame::OnCancelButton() {
  if (HasFlow() && LeaveFlow()) Close();
}

BOOL CWizardFrame::LeaveFlow() {
  if (m_bLeaving) return TRUE;
  HWND self = m_hWnd;
  m_bLeaving = TRUE;
  for (int i = kMaxPages - 1; i >= 0; --i) {
    if (m_pages[i] && m_pages[i]->GetSafeHwnd() && m_pages[i]->OnCancelFlow()) break;
    if (!::IsWindow(self)) return FALSE;
  }
  if (!::IsWindow(self)) return FALSE;
  m_bLeaving = FALSE;
  return TRUE;
}

void CWizardFrame::OnShowWindow(BOOL bShow, UINT nStatus) {
  CRTDialog::OnShowWindow(bShow, nStatus);
  if (bShow) {
    ShowPage(m_nCurrent);
    if (CWizardPage* page = Page(m_nCurrent)) page->ShowWindow(SW_SHOW);
  } else {
    if (CWizardPage* page = Page(m_nCurrent)) page->ShowWindow(SW_HIDE);
    m_nCurrent = 0;
    for (CWizardPage* page : m_pages)
      if (page && page->GetSafeHwnd()) page->OnFlowLeft();
  }
}

void CWizardFrame::OnDestroy() {
  CRTDialog::OnDestroy();
  if (HasFlow()) DestroyPages();
}

HBRUSH CWizardFrame::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = static_cast<HBRUSH>(m_brush.GetSafeHandle());
  if (nCtlColor == CTLCOLOR_STATIC) pDC->SetTextColor(kWhite);
  if (pWnd && pWnd->GetDlgCtrlID() == IDC_WIZ_TITLE) {
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));
    brush = static_cast<HBRUSH>(m_titleBrush.GetSafeHandle());
  }
  return brush;
}

// ---------------------------------------------------------------- copy forward

namespace {

// What a page receives from earlier pages on Next: the page each part comes
// from, kNoPage for nothing.
struct CopyRule {
  int groupListFrom;
  int deviceListFrom;
  int targetFrom;    // agent IP, read and write community
  int namePassFrom;  // group name and password
};

void ApplyCopyRule(const CopyRule& rule, CWizardPage* const pages[], CWizardPage* target) {
  auto from = [pages](int index) { return index != CWizardFrame::kNoPage ? pages[index] : nullptr; };
  if (CWizardPage* p = from(rule.groupListFrom)) CWizardFrame::CopyRecordList(target->m_groupList, p->m_groupList);
  if (CWizardPage* p = from(rule.deviceListFrom)) CWizardFrame::CopyRecordList(target->m_deviceList, p->m_deviceList);
  if (CWizardPage* p = from(rule.targetFrom)) {
    target->m_strAgentIp = p->m_strAgentIp;
    target->m_strReadCommunity = p->m_strReadCommunity;
    target->m_strWriteCommunity = p->m_strWriteCommunity;
  }
  if (CWizardPage* p = from(rule.namePassFrom)) {
    target->m_strGroupName = p->m_strGroupName;
    target->m_strGroupPassword = p->m_strGroupPassword;
  }
}

const int kNoPage = CWizardFrame::kNoPage;
const CopyRule kNoCopy = {kNoPage, kNoPage, kNoPage, kNoPage};

}  // namespace

// ---------------------------------------------------------------- create

void CCreateWizard::CreatePages() {
  // In the order of CreateFlowPage.
  static const FlowPages kPages = {
      {IDD_PAGE_GROUP_NAME, IDD_PAGE_SCAN_NEW_AP, IDD_PAGE_MEMBER, IDD_PAGE_APPLY, IDD_PAGE_WIRELESS, IDD_PAGE_APPLY,
       IDD_PAGE_CREATE_DONE},
      kCreateScan,
      kCreateSecondApply,
      {kNoPage, kNoPage}};
  static_assert(kCreatePageCount <= kMaxPages);
  CreateFlowPages(kPages);
}

void CCreateWizard::CopyForward(int target) {
  // By target, in the order of CreateFlowPage: group list, device list,
  // SNMP target, group name and password.
  static const CopyRule kRules[kCreatePageCount] = {
      kNoCopy,                                                          // kCreateGroupName
      {kNoPage, kNoPage, kNoPage, kCreateGroupName},                    // kCreateScan
      {kNoPage, kCreateScan, kNoPage, kCreateGroupName},                // kCreateMembers
      {kCreateMembers, kCreateMembers, kNoPage, kCreateGroupName},      // kCreateFirstApply
      {kNoPage, kNoPage, kCreateFirstApply, kCreateGroupName},          // kCreateWireless
      {kCreateFirstApply, kCreateFirstApply, kCreateWireless, kCreateGroupName},  // kCreateSecondApply
      kNoCopy,                                                          // kCreateDone
  };
  if (target < static_cast<int>(std::size(kRules))) ApplyCopyRule(kRules[target], m_pages, m_pages[target]);
}

void CCreateWizard::UpdateBackAfterNext(int target) {
  // No way back over an apply run: the devices have been changed.
  EnableBack(target != kCreateFirstApply && target != kCreateDone);
  for (CWnd* button : {static_cast<CWnd*>(&m_btnNext), static_cast<CWnd*>(&m_btnBack), static_cast<CWnd*>(&m_btnCancel)})
    Repaint(*button);
}

// ---------------------------------------------------------------- modify

void CModifyWizard::CreatePages() {
  // In the order of ModifyFlowPage.
  static const FlowPages kPages = {
      {IDD_PAGE_MODIFY_SCAN, IDD_PAGE_MODIFY_MEMBERS, IDD_PAGE_APPLY, IDD_PAGE_MODIFY_WIRELESS, IDD_PAGE_APPLY,
       IDD_PAGE_MODIFY_DONE},
      kModifyScan,
      kModifySecondApply,
      {kModifyFirstApply, kModifySecondApply}};
  static_assert(kModifyPageCount <= kMaxPages);
  CreateFlowPages(kPages);
}

void CModifyWizard::CopyForward(int target) {
  // By target, in the order of ModifyFlowPage: group list, device list,
  // SNMP target, group name and password.
  static const CopyRule kRules[kModifyPageCount] = {
      kNoCopy,                                                                  // kModifyScan
      {kModifyScan, kModifyScan, kNoPage, kNoPage},                             // kModifyMembers
      {kModifyMembers, kModifyMembers, kNoPage, kModifyMembers},                // kModifyFirstApply
      {kModifyMembers, kModifyMembers, kModifyFirstApply, kModifyMembers},      // kModifyWireless
      {kModifyFirstApply, kModifyFirstApply, kModifyWireless, kModifyMembers},  // kModifySecondApply
      kNoCopy,                                                                  // kModifyDone
  };
  if (target < static_cast<int>(std::size(kRules))) ApplyCopyRule(kRules[target], m_pages, m_pages[target]);
}

void CModifyWizard::UpdateBackAfterNext(int target) {
  EnableBack(target != kModifyFirstApply && target != kModifyDone);
  Repaint(m_btnNext);
}

// ---------------------------------------------------------------- status

void CStatusWizard::CreatePages() {
  // In the order of StatusFlowPage.
  static const FlowPages kPages = {{IDD_PAGE_STATUS_SCAN, IDD_PAGE_STATUS_LIST}, kStatusScan, kNoPage, {kNoPage, kNoPage}};
  CreateFlowPages(kPages);
}

void CStatusWizard::CopyForward(int target) {
  if (target == kStatusList && m_pages[kStatusScan]) m_pages[kStatusList]->SetGroupList(&m_pages[kStatusScan]->m_groupList);
}
