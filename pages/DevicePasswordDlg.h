// CDevicePasswordDlg: asks for the password of one access point whose QUAV
// request failed with the password error. The caller fills m_strIp and
// m_strMac before DoModal and reads m_strPassword after IDOK; the password
// is not examined here (an empty one comes back with IDOK). IDCANCEL (Cancel,
// Escape, the caption's close button) means giving up on the device.
#pragma once

#include "BackdropDialog.h"
#include "RTButton.h"
#include "RTStatic.h"

class CWizardApp;

class CDevicePasswordDlg : public CBackdropDialog {
 public:
  explicit CDevicePasswordDlg(CWnd* pParent = nullptr);
  ~CDevicePasswordDlg() override;

  CWizardApp* m_pApp = nullptr;
  CEdit m_edtPassword;
  CRTStatic m_stcMac;
  CRTStatic m_stcIp;
  CRTStatic m_stcPasswordLabel;
  CRTStatic m_stcMacLabel;
  CRTStatic m_stcIpLabel;
  CRTButton m_btnOk;
  CRTButton m_btnCancel;
  CString m_strIp;
  CString m_strMac;
  CString m_strPassword;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
};
