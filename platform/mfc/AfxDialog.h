// The class layer's dialogs: CDialog (modal and modeless, from the program's
// templates) and dialog data exchange and validation.
#pragma once

#include "AfxWnd.h"
#include "Controls.h"
#include "Dialog.h"

// Thrown (by pointer) when data exchange fails; the user has already been told.
class PLATFORM_API CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
 public:
  CUserException() = default;
};
[[noreturn]] PLATFORM_API void AFXAPI AfxThrowUserException();

class PLATFORM_API CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  HWND m_hWndLastControl = nullptr;
  BOOL m_bEditLastControl = FALSE;

  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  // Puts the focus back on the control that failed and throws CUserException.
  [[noreturn]] void Fail();
};

class PLATFORM_API CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
 public:
  CDialog();
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // Modeless.
  using CWnd::Create;
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
  // Modal.
  BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
  virtual INT_PTR DoModal();
  void EndDialog(int nResult);

  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  void MapDialogRect(LPRECT lpRect) const;
  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void GotoDlgCtrl(CWnd* pWndCtrl);
  void SetDefID(UINT nID);
  DWORD GetDefID() const;
  void CheckDlgButton(int nIDButton, UINT nCheck);
  UINT IsDlgButtonChecked(int nIDButton) const;
  void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
  int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);
  void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
  UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;

  virtual BOOL OnInitDialog();
  BOOL PreTranslateMessage(MSG* pMsg) override;

  LPCTSTR m_lpszTemplateName = nullptr;
  UINT m_nIDHelp = 0;
  LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
  CWnd* m_pParentWnd = nullptr;

 protected:
  virtual void OnOK();
  virtual void OnCancel();
  afx_msg LRESULT HandleInitDialog(WPARAM, LPARAM);
  LPCDLGTEMPLATE FindTemplate() const;

  DECLARE_MESSAGE_MAP()
};

// Data exchange between controls and members. A value the user typed that
// does not parse tells the user and fails the exchange (CUserException).
PLATFORM_API void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
PLATFORM_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
PLATFORM_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value);
PLATFORM_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
PLATFORM_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value);
PLATFORM_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
PLATFORM_API void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value);
PLATFORM_API void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
PLATFORM_API void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
PLATFORM_API void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
PLATFORM_API void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
PLATFORM_API void AFXAPI DDX_IPAddress(CDataExchange* pDX, int nIDC, DWORD& value);
PLATFORM_API void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
PLATFORM_API void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
