// CSkinMessageBox: the wizard's one message box, on the program's own
// background picture. Two forms: a single "OK" (every validation message)
// and an "OK" and "Cancel" pair (confirmations).
//
// Calling order: construct on the stack, SetMessage, optionally
// SetOkCancel(1), DoModal. Both only take effect when the box initialises;
// DoModal gives IDOK from either OK, IDCANCEL from Cancel, Escape or the
// caption's close button. The button labels come from the language file; a
// missing key leaves a label empty and the box still works.
#pragma once

#include <cstdint>

#include "BackdropDialog.h"
#include "RTButton.h"
#include "RTStatic.h"

class CWizardApp;

class CSkinMessageBox : public CBackdropDialog {
 public:
  explicit CSkinMessageBox(CWnd* pParent = nullptr);
  ~CSkinMessageBox() override;

  void SetMessage(const CString& text) { m_strMessage = text; }
  // 0 keeps the single OK; any other value gives the OK and Cancel pair.
  int SetOkCancel(int flag) { return m_nOkCancel = flag; }

  CString m_strMessage;
  int32_t m_nOkCancel = 0;
  CWizardApp* m_pApp = nullptr;
  CRTButton m_btnSingleOk;
  CRTButton m_btnCancel;
  CRTButton m_btnOk;
  CRTStatic m_stcMessage;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnSingleOk();
  DECLARE_MESSAGE_MAP()
};

// The text of a language key in the single-button box: how the pages and
// dialogs report a refused input.
void ShowLangMessage(CWizardApp* app, LPCTSTR key);
