#include "SecurityDlgBase.h"

#include <cctype>
#include <cstdlib>

#include "CWizardApp.h"
#include "InputChecks.h"
#include "LangText.h"
#include "WizardFont.h"
#include "WizardUi.h"

CSecurityDlgBase::CSecurityDlgBase(UINT nIDTemplate, CWnd* pParent) : CRTDialog(nIDTemplate, pParent) {}

BEGIN_MESSAGE_MAP(CSecurityDlgBase, CRTDialog)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

BOOL CSecurityDlgBase::OnInitDialog() {
  CRTDialog::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  CreateWizardFont(m_headingFont, 20, 10);
  CreateWizardFont(m_labelFont, 6, 6);
  return TRUE;
}

CString CSecurityDlgBase::Text(LPCTSTR key) const { return LangText(m_pApp, key); }

void CSecurityDlgBase::Refuse(LPCTSTR key, int focusId) {
  ShowSkinMessage(Text(key), FALSE);
  if (CWnd* field = GetDlgItem(focusId)) field->SetFocus();
}

void CSecurityDlgBase::RefillCombo(CComboBox& combo, std::initializer_list<LPCTSTR> keys) {
  combo.ResetContent();
  for (LPCTSTR key : keys) combo.AddString(Text(key));
}

void CSecurityDlgBase::UseLabelFont(std::initializer_list<CRTStatic*> labels) {
  for (CRTStatic* label : labels) {
    label->SetFont(&m_labelFont);
    label->SetTransparent(1);
  }
}

void CSecurityDlgBase::UseHeadingFont(CRTStatic& heading) {
  heading.SetFont(&m_headingFont);
  heading.SetTransparent(1);
}

int CSecurityDlgBase::SelectionOf(int id) const {
  return static_cast<int>(::SendMessage(::GetDlgItem(m_hWnd, id), CB_GETCURSEL, 0, 0));
}

void CSecurityDlgBase::Select(int id, int index) {
  ::SendMessage(::GetDlgItem(m_hWnd, id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

HBRUSH CSecurityDlgBase::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CRTDialog::OnCtlColor(pDC, pWnd, nCtlColor);
  if (nCtlColor == CTLCOLOR_STATIC) pDC->SetTextColor(RGB(0xFF, 0xFF, 0xFF));
  if (pWnd && IsClearControl(pWnd->GetDlgCtrlID())) {
    pDC->SetTextColor(RGB(0xFF, 0xFF, 0xFF));
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
  }
  return brush;
}

bool IsNumberInRange(const CString& text, long low, long high) {
  if (text.IsEmpty() || !IsDigitsOnly(text)) return false;
  // strtol saturates where atol would overflow.
  long value = std::strtol(text, nullptr, 10);
  return value >= low && value <= high;
}

bool HasOuterBlank(const CString& text) {
  return !text.IsEmpty() && (text[0] == ' ' || text[text.GetLength() - 1] == ' ');
}

bool IsHexText(const CString& text) {
  for (int i = 0; i < text.GetLength(); ++i)
    if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
  return true;
}
