// Property sheets and pages. The sheet is a dialog built from a template of
// its own, sized for the largest page; every page is made as a child dialog
// when the sheet starts and only the active one is shown.

#include "AfxPropSheet.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CDialog)

namespace {

// Dialog units around the tab control and under it for the buttons.
const int kMargin = 7;
const int kTabBand = 14;  // the tabs' own row above the pages
const int kButtonWidth = 50, kButtonHeight = 14;

}  // namespace

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate), m_nIDTemplate(nIDTemplate) {
  if (nIDCaption) m_strCaption.LoadString(nIDCaption);
}

BOOL CPropertyPage::OnApply() {
  OnOK();
  return TRUE;
}

void CPropertyPage::SetModified(BOOL bChanged) {
  CWnd* sheet = GetParent();
  CWnd* apply = sheet ? sheet->GetDlgItem(ID_APPLY_NOW) : nullptr;
  if (apply) apply->EnableWindow(bChanged);
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_nCurPage(static_cast<int>(iSelectPage)) {
  m_pParentWnd = pParentWnd;
  m_strCaption.LoadString(nIDCaption);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption ? pszCaption : ""), m_nCurPage(static_cast<int>(iSelectPage)) {
  m_pParentWnd = pParentWnd;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
  if (pPage) m_pages.push_back(pPage);
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
  return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

CTabCtrl* CPropertySheet::GetTabControl() const {
  HWND tab = m_hWnd ? ::GetDlgItem(m_hWnd, AFX_IDC_TAB_CONTROL) : nullptr;
  if (!tab) return nullptr;
  // The class that subclassed the tab control when there is one, else a plain wrapper.
  if (auto* own = dynamic_cast<CTabCtrl*>(CWnd::FromHandlePermanent(tab))) return own;
  m_tabWrapper.m_hWnd = tab;
  return &m_tabWrapper;
}

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT) {
  m_strCaption = lpszText ? lpszText : "";
  if (m_hWnd) SetWindowText(m_strCaption);
}

void CPropertySheet::BuildTemplate(DWORD style) {
  int cx = 100, cy = 60;
  for (CPropertyPage* page : m_pages)
    if (const DialogTemplate* t = PlatformFindDialog(page->m_lpszTemplateName)) {
      cx = std::max(cx, t->cx);
      cy = std::max(cy, t->cy);
    }
  DialogTemplate& s = m_sheetTemplate;
  s = DialogTemplate{};
  s.style = style;
  s.caption = static_cast<LPCTSTR>(m_strCaption);
  s.cx = cx + 4 * kMargin;
  s.cy = cy + kTabBand + 4 * kMargin + kButtonHeight;
  int tabBottom = kMargin + kTabBand + cy + 2 * kMargin;
  s.items.push_back(rc::Control("", AFX_IDC_TAB_CONTROL, WC_TABCONTROL, WS_TABSTOP | WS_CLIPSIBLINGS, kMargin, kMargin,
                                cx + 2 * kMargin, tabBottom - kMargin));
  int y = tabBottom + kMargin / 2, x = s.cx - kMargin - 3 * kButtonWidth - 2 * 4;
  s.items.push_back(rc::DefPushButton("OK", IDOK, x, y, kButtonWidth, kButtonHeight, WS_TABSTOP));
  s.items.push_back(rc::PushButton("Cancel", IDCANCEL, x + kButtonWidth + 4, y, kButtonWidth, kButtonHeight, WS_TABSTOP));
  s.items.push_back(rc::PushButton("&Apply", ID_APPLY_NOW, x + 2 * (kButtonWidth + 4), y, kButtonWidth, kButtonHeight,
                                   WS_TABSTOP | WS_DISABLED));
}

INT_PTR CPropertySheet::DoModal() {
  m_bModeless = false;
  BuildTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
  m_lpszTemplateName = nullptr;
  InitModalIndirect(&m_sheetTemplate, m_pParentWnd);
  return CDialog::DoModal();
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
  m_bModeless = true;
  if (dwStyle == static_cast<DWORD>(-1)) dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
  BuildTemplate(dwStyle);
  m_sheetTemplate.exStyle = dwExStyle;
  if (!CreateIndirect(&m_sheetTemplate, pParentWnd)) return FALSE;
  if (dwStyle & WS_VISIBLE) ShowWindow(SW_SHOW);
  return TRUE;
}

BOOL CPropertySheet::OnInitDialog() {
  BOOL result = CDialog::OnInitDialog();
  CTabCtrl* tab = GetTabControl();
  if (!tab) return result;
  CRect area;
  tab->GetWindowRect(&area);
  ScreenToClient(&area);
  tab->AdjustRect(FALSE, &area);
  for (size_t i = 0; i < m_pages.size(); ++i) {
    CPropertyPage* page = m_pages[i];
    const DialogTemplate* t = PlatformFindDialog(page->m_lpszTemplateName);
    if (!t) continue;
    page->m_childTemplate = *t;
    page->m_childTemplate.style = (t->style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME)) |
                                  WS_CHILD | DS_CONTROL;
    CString caption = page->m_strCaption.IsEmpty() ? CString(t->caption.c_str()) : page->m_strCaption;
    tab->InsertItem(static_cast<int>(i), caption);
    if (!page->CreateIndirect(&page->m_childTemplate, this)) continue;
    page->SetWindowPos(nullptr, area.left, area.top, area.Width(), area.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (m_nCurPage < 0 || m_nCurPage >= GetPageCount()) m_nCurPage = 0;
  int start = m_nCurPage;
  m_nCurPage = -1;
  SetActivePage(start);
  return result;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
  CPropertyPage* next = GetPage(nPage);
  if (!next) return FALSE;
  if (!m_hWnd) {
    m_nCurPage = nPage;
    return TRUE;
  }
  CPropertyPage* current = GetPage(m_nCurPage);
  if (current == next) return TRUE;
  if (current && current->m_hWnd) current->ShowWindow(SW_HIDE);
  m_nCurPage = nPage;
  if (CTabCtrl* tab = GetTabControl()) tab->SetCurSel(nPage);
  if (next->m_hWnd) {
    next->OnSetActive();
    next->ShowWindow(SW_SHOW);
  }
  return TRUE;
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) {
  auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
  return it != m_pages.end() && SetActivePage(static_cast<int>(it - m_pages.begin()));
}

BOOL CPropertySheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* nm = reinterpret_cast<NMHDR*>(lParam);
  CTabCtrl* tab = GetTabControl();
  if (tab && nm->hwndFrom == tab->m_hWnd) {
    if (nm->code == TCN_SELCHANGING) {
      CPropertyPage* current = GetActivePage();
      // A page that refuses to be left keeps the tab.
      *pResult = current && current->m_hWnd && !current->OnKillActive();
      return TRUE;
    }
    if (nm->code == TCN_SELCHANGE) {
      SetActivePage(tab->GetCurSel());
      *pResult = 0;
      return TRUE;
    }
  }
  return CDialog::OnNotify(wParam, lParam, pResult);
}

BOOL CPropertySheet::ApplyPages() {
  CPropertyPage* current = GetActivePage();
  if (current && current->m_hWnd && !current->OnKillActive()) return FALSE;
  for (CPropertyPage* page : m_pages)
    if (page->m_hWnd && !page->OnApply()) return FALSE;
  if (CWnd* apply = GetDlgItem(ID_APPLY_NOW)) apply->EnableWindow(FALSE);
  return TRUE;
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == ID_APPLY_NOW && HIWORD(wParam) == BN_CLICKED) {
    ApplyPages();
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CPropertySheet::Finish(int nResult) {
  if (m_bModeless) DestroyWindow();
  else EndDialog(nResult);
}

void CPropertySheet::OnOK() {
  if (ApplyPages()) Finish(IDOK);
}

void CPropertySheet::OnCancel() {
  for (CPropertyPage* page : m_pages)
    if (page->m_hWnd) page->OnCancel();
  Finish(IDCANCEL);
}
