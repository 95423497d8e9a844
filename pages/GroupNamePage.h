// CGroupNamePage: page 0 of the create flow, where the operator names the
// new group and gives its password. Next checks the name (not empty; only
// letters, digits, '_', '-', '@' and '.') and the password (ASCII only, may
// be empty); a refused input is reported in the message box and keeps the
// page with the focus on the offending edit. An accepted pair goes to the
// page base (m_strGroupName, m_strGroupPassword), from where the frame hands
// it to every later page, and both edits are emptied. Both edits take at
// most 32 characters.
#pragma once

#include "CWizardPage.h"
#include "RTStatic.h"

class CGroupNamePage : public CWizardPage {
 public:
  CGroupNamePage();
  ~CGroupNamePage() override;

  void OnEnterPage() override;
  int OnNextPage() override;
  // Empties the texts of the two labels.
  void ClearLabels();

  CWizardApp* m_pApp = nullptr;
  CRTStatic m_stcNotice;
  CEdit m_edtName;
  CEdit m_edtPassword;
  CRTStatic m_stcNameLabel;
  CRTStatic m_stcPasswordLabel;
  CString m_strPassword;
  CString m_strName;
  CFont m_font;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}

 private:
  int Refuse(LPCTSTR key, CEdit& edit);
};
