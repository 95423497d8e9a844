// CGroupPasswordDlg: guards the choice of an existing group on the modify
// flow's member page. SetGroup gives the group's name (shown, and editable
// to no effect) and the password the scan reported; DoModal gives IDOK only
// once the operator has typed exactly that password (case counts; an empty
// expected password takes only an empty input). A wrong password shows its
// message and leaves the dialog open for another try.
#pragma once

#include "BackdropDialog.h"
#include "RTButton.h"
#include "RTStatic.h"

class CWizardApp;

class CGroupPasswordDlg : public CBackdropDialog {
 public:
  explicit CGroupPasswordDlg(CWnd* pParent = nullptr);
  ~CGroupPasswordDlg() override;

  void SetGroup(const CString& groupName, const CString& password);

  CString m_strExpectedPassword;
  CRTStatic m_stcPasswordLabel;
  CRTStatic m_stcNameLabel;
  CRTButton m_btnOk;
  CRTButton m_btnCancel;
  CString m_strGroupName;
  CString m_strPassword;
  CWizardApp* m_pApp = nullptr;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
};
