#include "CWizardPage.h"

#include "CDeviceRecord.h"

const UINT WM_WIZARD_BUSY = ::RegisterWindowMessageA("WM_WIZARD_BUSY");
const UINT WM_WIZARD_WAIT_CURSOR = ::RegisterWindowMessageA("WM_WIZARD_WAIT_CURSOR");
const UINT WM_WIZARD_SHOW_PAGE = ::RegisterWindowMessageA("WM_WIZARD_SHOW_PAGE");

CWizardPage::CWizardPage() = default;
CWizardPage::CWizardPage(UINT nIDTemplate, CWnd* pParent) : CRTDialog(nIDTemplate, pParent) {}
CWizardPage::CWizardPage(LPCTSTR lpszTemplateName, CWnd* pParent) : CRTDialog(lpszTemplateName, pParent) {}
CWizardPage::~CWizardPage() = default;

BEGIN_MESSAGE_MAP(CWizardPage, CRTDialog)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

void CWizardPage::SetOptionValue(int) {}
void CWizardPage::SetBusy(BOOL busy) {
  if (CWnd* frame = GetParent()) frame->SendMessage(WM_WIZARD_BUSY, busy);
}
void CWizardPage::SetSnmpTarget(CString, CString, CString) {}
void CWizardPage::SetStrings(CString, CString) {}
void CWizardPage::SetGroupList(CPtrList*) {}
void CWizardPage::SetDeviceList(CPtrList*) {}
void CWizardPage::OnEnterPage() {}
int CWizardPage::OnNextPage() { return kFollowingPage; }
void CWizardPage::OnReturnToPage() {}
int CWizardPage::OnBackPage() { return kFollowingPage; }
void CWizardPage::StopWork() {}
void CWizardPage::OnRefusedWhileBusy() {}

void CWizardPage::ShowInFrame() {
  if (CWnd* frame = GetParent()) frame->SendMessage(WM_WIZARD_SHOW_PAGE, 0, reinterpret_cast<LPARAM>(this));
}

void CWizardPage::SetWaitCursor(BOOL wait, CursorChange change) {
  if (CWnd* frame = GetParent()) frame->SendMessage(WM_WIZARD_WAIT_CURSOR, wait, change == CursorChange::kAtOnce);
}

// The skinned base's brush: the stock hollow brush once a template is given,
// which is what lets the page's statics draw no background of their own.
// Edits and list boxes keep their own window colours: black text typed on
// the dark page, with no fill of their own, would not be legible.
HBRUSH CWizardPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_LISTBOX) return CRTDialog::OnCtlColor(pDC, pWnd, nCtlColor);
  if (nCtlColor == CTLCOLOR_STATIC) pDC->SetTextColor(RGB(0xFF, 0xFF, 0xFF));
  return static_cast<HBRUSH>(m_brush.GetSafeHandle());
}

BOOL CWizardPage::IsMacInList(const CString& mac, CPtrList* list) {
  if (!list) return FALSE;
  for (POSITION pos = list->GetHeadPosition(); pos;) {
    auto* record = static_cast<CDeviceRecord*>(list->GetNext(pos));
    if (record && record->m_strMac == mac) return TRUE;
  }
  return FALSE;
}

BOOL CWizardPage::IsGroupInList(const CString& groupName, CPtrList* list) {
  if (!list) return FALSE;
  for (POSITION pos = list->GetHeadPosition(); pos;) {
    auto* record = static_cast<CDeviceRecord*>(list->GetNext(pos));
    if (record && record->m_strGroupName == groupName) return TRUE;
  }
  return FALSE;
}

void CWizardPage::FreeRecordList(CPtrList* list) {
  if (!list) return;
  for (POSITION pos = list->GetHeadPosition(); pos;) delete static_cast<CDeviceRecord*>(list->GetNext(pos));
  list->RemoveAll();
}
