// CDialog and dialog data exchange.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

#include "AfxDialog.h"

IMPLEMENT_DYNAMIC(CUserException, CException)

void AFXAPI AfxThrowUserException() { throw new CUserException; }

// ---------------------------------------------------------------- CDataExchange

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND hWnd = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
  if (!hWnd) {
    std::fprintf(stderr, "data exchange: no control with id %d\n", nIDC);
    AfxThrowNotSupportedException();
  }
  m_hWndLastControl = hWnd;
  m_bEditLastControl = FALSE;
  return hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWnd = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWnd;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_hWndLastControl && ::IsWindow(m_hWndLastControl)) {
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
  }
  AfxThrowUserException();
}

namespace {

CString WindowText(HWND hWnd) {
  CString s;
  int n = ::GetWindowTextLengthA(hWnd);
  ::GetWindowTextA(hWnd, s.GetBufferSetLength(n), n + 1);
  s.ReleaseBuffer();
  return s;
}

// Parses a whole decimal number (blanks around it allowed) within [lo, hi].
bool ParseNumber(const CString& text, long long lo, long long hi, long long* out) {
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  if (!*p) return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(p, &end, 10);
  if (end == p || errno) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end || v < lo || v > hi) return false;
  *out = v;
  return true;
}

template <typename T>
void TextNumber(CDataExchange* pDX, int nIDC, T& value, long long lo, long long hi, LPCTSTR prompt) {
  HWND hWnd = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    long long v = 0;
    if (!ParseNumber(WindowText(hWnd), lo, hi, &v)) {
      AfxMessageBox(prompt, MB_ICONEXCLAMATION);
      pDX->Fail();
    }
    value = static_cast<T>(v);
  } else {
    CString s;
    if (lo < 0)
      s.Format("%lld", static_cast<long long>(value));
    else
      s.Format("%llu", static_cast<unsigned long long>(value));
    ::SetWindowTextA(hWnd, s);
  }
}

bool IsRadio(HWND hWnd) {
  char cls[16];
  if (!::GetClassNameA(hWnd, cls, sizeof cls) || strcasecmp(cls, WC_BUTTON) != 0) return false;
  DWORD type = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE)) & BS_TYPEMASK;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

}  // namespace

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd) return;
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(hWnd)) AfxThrowNotSupportedException();
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWnd = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = WindowText(hWnd);
  else
    ::SetWindowTextA(hWnd, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  TextNumber(pDX, nIDC, value, INT_MIN, INT_MAX, "Please enter an integer.");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
  TextNumber(pDX, nIDC, value, INT_MIN, INT_MAX, "Please enter an integer.");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
  TextNumber(pDX, nIDC, value, 0, UINT_MAX, "Please enter a positive integer.");
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) {
  TextNumber(pDX, nIDC, value, 0, 255, "Please enter an integer between 0 and 255.");
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = static_cast<int>(::SendMessageA(hWnd, BM_GETCHECK, 0, 0));
  else
    ::SendMessageA(hWnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

// nIDC is the first radio button of its group; value is the index of the
// checked one within the group (-1 for none).
void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND first = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = -1;
  int index = 0;
  for (HWND hWnd = first; hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
    if (hWnd != first && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_GROUP)) break;
    if (!IsRadio(hWnd)) continue;
    if (pDX->m_bSaveAndValidate) {
      if (::SendMessageA(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
    } else {
      ::SendMessageA(hWnd, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ++index;
  }
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessageA(hWnd, CB_GETCURSEL, 0, 0));
  else
    ::SendMessageA(hWnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessageA(hWnd, LB_GETCURSEL, 0, 0));
  else
    ::SendMessageA(hWnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  bool editable = (::GetWindowLongA(hWnd, GWL_STYLE) & 3) != CBS_DROPDOWNLIST;
  if (pDX->m_bSaveAndValidate) {
    value = WindowText(hWnd);
    return;
  }
  // The first item that begins with the value; an editable combo box takes
  // the value as text when no item does.
  LRESULT i = ::SendMessageA(hWnd, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)));
  if (i == CB_ERR && editable) ::SetWindowTextA(hWnd, value);
}

void AFXAPI DDX_IPAddress(CDataExchange* pDX, int nIDC, DWORD& value) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    ::SendMessageA(hWnd, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value));
  else
    ::SendMessageA(hWnd, IPM_SETADDRESS, 0, static_cast<LPARAM>(value));
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
  if (pDX->m_bSaveAndValidate) {
    if (value.GetLength() > nChars) {
      CString prompt;
      prompt.Format("Enter no more than %d characters.", nChars);
      AfxMessageBox(prompt, MB_ICONEXCLAMATION);
      pDX->Fail();
    }
    return;
  }
  // Loading: the control itself refuses longer input from then on.
  HWND hWnd = pDX->m_hWndLastControl;
  if (!hWnd) return;
  char cls[16];
  if (::GetClassNameA(hWnd, cls, sizeof cls) && strcasecmp(cls, WC_COMBOBOX) == 0)
    ::SendMessageA(hWnd, CB_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
  else if (pDX->m_bEditLastControl)
    ::SendMessageA(hWnd, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
  CString prompt;
  prompt.Format("Please enter an integer between %d and %d.", minVal, maxVal);
  AfxMessageBox(prompt, MB_ICONEXCLAMATION);
  pDX->Fail();
}

// ---------------------------------------------------------------- CDialog

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;
CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}
CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}
CDialog::~CDialog() {
  if (m_hWnd) DestroyWindow();
}

LPCDLGTEMPLATE CDialog::FindTemplate() const {
  if (m_lpDialogTemplate) return m_lpDialogTemplate;
  LPCDLGTEMPLATE tpl = PlatformFindDialog(m_lpszTemplateName);
  if (!tpl) {
    if (IS_INTRESOURCE(m_lpszTemplateName))
      std::fprintf(stderr, "dialog: no template %u\n", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(m_lpszTemplateName)));
    else
      std::fprintf(stderr, "dialog: no template \"%s\"\n", m_lpszTemplateName ? m_lpszTemplateName : "");
  }
  return tpl;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
  m_lpszTemplateName = lpszTemplateName;
  if (IS_INTRESOURCE(lpszTemplateName) && !m_nIDHelp)
    m_nIDHelp = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
  LPCDLGTEMPLATE tpl = PlatformFindDialog(lpszTemplateName);
  if (!tpl) {
    FindTemplate();
    return FALSE;
  }
  return CreateIndirect(tpl, pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE tpl, CWnd* pParentWnd) {
  if (!tpl) return FALSE;
  m_pParentWnd = pParentWnd;
  HWND parent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
  RECT rc = PlatformDialogWindowRect(tpl, parent);
  DWORD style = tpl->style & ~WS_VISIBLE;
  DWORD exStyle = tpl->exStyle;
  if (tpl->style & DS_CONTROL) exStyle |= WS_EX_CONTROLPARENT;
  HWND owner = parent && !(style & WS_CHILD) ? ::GetAncestor(parent, GA_ROOT) : parent;
  if (!CreateEx(exStyle, PlatformDialogClass(tpl), tpl->caption.c_str(), style, rc.left, rc.top,
                rc.right - rc.left, rc.bottom - rc.top, owner, nullptr, nullptr))
    return FALSE;
  HWND self = m_hWnd;
  if (!PlatformFillDialog(self, tpl, nullptr, 0)) {
    if (::IsWindow(self)) ::DestroyWindow(self);
    return FALSE;
  }
  if ((tpl->style & WS_VISIBLE) && ::IsWindow(self)) {
    ::ShowWindow(self, SW_SHOWNORMAL);
    if (::IsWindow(self)) ::UpdateWindow(self);
  }
  return ::IsWindow(self);
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
  m_lpDialogTemplate = lpDialogTemplate;
  m_pParentWnd = pParentWnd;
  return lpDialogTemplate != nullptr;
}

INT_PTR CDialog::DoModal() {
  LPCDLGTEMPLATE tpl = FindTemplate();
  if (!tpl) return -1;
  // A dialog without a parent belongs to the main window, which takes no
  // input while the dialog runs, and only then.
  HWND hWndOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
  if (!hWndOwner) {
    CWnd* main = AfxGetMainWnd();
    hWndOwner = main ? main->m_hWnd : nullptr;
  }
  while (hWndOwner && (::GetWindowLongA(hWndOwner, GWL_STYLE) & WS_CHILD)) hWndOwner = ::GetParent(hWndOwner);
  HWND hWndTop = hWndOwner;
  CWnd* owner = hWndOwner ? CWnd::FromHandle(hWndOwner) : nullptr;
  bool enableTop = false;
  if (hWndTop && ::IsWindowEnabled(hWndTop)) {
    ::EnableWindow(hWndTop, FALSE);
    enableTop = true;
  }
  CWnd* keepParent = m_pParentWnd;
  m_nModalResult = -1;
  m_nFlags |= WF_CONTINUEMODAL;
  DialogTemplate hidden = *tpl;
  hidden.style &= ~WS_VISIBLE;
  if (CreateIndirect(&hidden, owner)) {
    m_pParentWnd = keepParent;
    if (m_nFlags & WF_CONTINUEMODAL) {
      ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
      RunModalLoop();
    }
    if (m_hWnd)
      ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  m_pParentWnd = keepParent;
  m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);
  if (enableTop && ::IsWindow(hWndTop)) ::EnableWindow(hWndTop, TRUE);
  if (hWndTop && ::IsWindow(hWndTop)) ::SetActiveWindow(hWndTop);
  if (m_hWnd) DestroyWindow();
  return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
  if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(nResult);
  m_nModalResult = nResult;
  if (m_hWnd) ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (CUserException* e) {
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (!m_hWnd || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
  // A page that is part of its parent's tab order leaves the keys to the parent dialog.
  if ((GetStyle() & WS_CHILD) && (GetExStyle() & WS_EX_CONTROLPARENT)) return FALSE;
  return ::IsDialogMessageA(m_hWnd, pMsg);
}

void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }
void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
  ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->GetSafeHwnd()), 1);
}
void CDialog::SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }
void CDialog::CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
UINT CDialog::IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
void CDialog::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
  ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
}
int CDialog::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) {
  for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
    if (::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED) return id;
  return 0;
}
void CDialog::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
UINT CDialog::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
  return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
}
