// CSecurityDlgBase: what the four security dialogs of the wireless settings
// pages share. Each is a child dialog without caption that the page creates
// hidden inside its security area; Enter and Escape do nothing there. They
// read their texts through the application object, show their refusals in
// the skinned message box, and draw their labels in white over the page's
// background: the statics with white text, and the controls named by
// IsClearControl (radio buttons and the like) also without a background.
#pragma once

#include <initializer_list>

#include "RTDialog.h"
#include "RTStatic.h"
#include "afxwin.h"

class CWizardApp;

class CSecurityDlgBase : public CRTDialog {
 public:
  CSecurityDlgBase(UINT nIDTemplate, CWnd* pParent);

  void OnOK() override {}
  void OnCancel() override {}

 protected:
  BOOL OnInitDialog() override;

  // The language text of `key`; empty without an application object.
  CString Text(LPCTSTR key) const;
  // Shows the text of `key` with one button and puts the focus on `focusId`.
  void Refuse(LPCTSTR key, int focusId);
  // Empties the combo box and adds the texts of `keys` in order.
  void RefillCombo(CComboBox& combo, std::initializer_list<LPCTSTR> keys);
  // Gives each static the small bold font and the transparent look.
  void UseLabelFont(std::initializer_list<CRTStatic*> labels);
  void UseHeadingFont(CRTStatic& heading);
  void SetText(int id, LPCTSTR key) { SetDlgItemText(id, Text(key)); }
  // The selected index of a combo box of this dialog, or -1.
  int SelectionOf(int id) const;
  void Select(int id, int index);

  virtual bool IsClearControl(int id) const = 0;

  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()

 protected:
  CWizardApp* m_pApp = nullptr;
  CFont m_headingFont;
  CFont m_labelFont;
};

// The number a text of decimal digits stands for, when it is one and lies in
// [low, high]; the empty text and any other byte fail.
bool IsNumberInRange(const CString& text, long low, long high);
// TRUE when the text begins or ends with a blank.
bool HasOuterBlank(const CString& text);
bool IsHexText(const CString& text);
