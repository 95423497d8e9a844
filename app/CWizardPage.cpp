#include "CWizardPage.h"

// The device record arrives with the device tasks; until it is in the tree no
// list can hold one, and the record helpers below have nothing to look at.
#if __has_include("CDeviceRecord.h")
#include "CDeviceRecord.h"
#define TRELLIAN_HAVE_DEVICE_RECORD 1
#else
#define TRELLIAN_HAVE_DEVICE_RECORD 0
#endif

CWizardPage::CWizardPage() = default;
CWizardPage::CWizardPage(UINT nIDTemplate, CWnd* pParent) : CRTDialog(nIDTemplate, pParent) {}
CWizardPage::CWizardPage(LPCTSTR lpszTemplateName, CWnd* pParent) : CRTDialog(lpszTemplateName, pParent) {}
CWizardPage::~CWizardPage() = default;

BEGIN_MESSAGE_MAP(CWizardPage, CRTDialog)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

void CWizardPage::SetOptionValue(int) {}
void CWizardPage::SetBusy(BOOL) {}
void CWizardPage::SetSnmpTarget(CString, CString, CString) {}
void CWizardPage::SetStrings(CString, CString) {}
void CWizardPage::SetGroupList(CPtrList*) {}
void CWizardPage::SetDeviceList(CPtrList*) {}
void CWizardPage::OnEnterPage() {}
int CWizardPage::OnNextPage() { return -1; }
void CWizardPage::OnReturnToPage() {}
int CWizardPage::OnBackPage() { return -1; }

// The skinned base's brush: the stock hollow brush once a template is given,
// which is what lets the page's statics draw no background of their own.
HBRUSH CWizardPage::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor) {
  if (nCtlColor == CTLCOLOR_STATIC) pDC->SetTextColor(RGB(0xFF, 0xFF, 0xFF));
  return static_cast<HBRUSH>(m_brush.GetSafeHandle());
}

BOOL CWizardPage::IsMacInList(const CString& mac, CPtrList* list) {
  if (!list) return FALSE;
#if TRELLIAN_HAVE_DEVICE_RECORD
  for (POSITION pos = list->GetHeadPosition(); pos;) {
    auto* record = static_cast<CDeviceRecord*>(list->GetNext(pos));
    if (record && record->m_strMac == mac) return TRUE;
  }
#else
  (void)mac;
#endif
  return FALSE;
}

BOOL CWizardPage::IsGroupInList(const CString& groupName, CPtrList* list) {
  if (!list) return FALSE;
#if TRELLIAN_HAVE_DEVICE_RECORD
  for (POSITION pos = list->GetHeadPosition(); pos;) {
    auto* record = static_cast<CDeviceRecord*>(list->GetNext(pos));
    if (record && record->m_strGroupName == groupName) return TRUE;
  }
#else
  (void)groupName;
#endif
  return FALSE;
}

void CWizardPage::FreeRecordList(CPtrList* list) {
  if (!list) return;
#if TRELLIAN_HAVE_DEVICE_RECORD
  for (POSITION pos = list->GetHeadPosition(); pos;) delete static_cast<CDeviceRecord*>(list->GetNext(pos));
#endif
  list->RemoveAll();
}
