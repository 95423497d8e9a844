#include "DevicePasswordDlg.h"

#include "CWizardApp.h"
#include "DialogPagesRes.h"
#include "LangText.h"
#include "PageRegistry.h"
#include "WizardUi.h"

// The apply engine asks through the seam when a device refuses its password.
void RegisterDevicePasswordDlg() {
  RegisterDevicePassword([](const CString& ip, const CString& mac, CString& password) {
    CDevicePasswordDlg dialog;
    dialog.m_strIp = ip;
    dialog.m_strMac = mac;
    const int result = static_cast<int>(dialog.DoModal());
    if (result == IDOK) password = dialog.m_strPassword;
    return result;
  });
}

CDevicePasswordDlg::CDevicePasswordDlg(CWnd* pParent) : CBackdropDialog(IDD_DEVICE_PASSWORD, pParent) {}

CDevicePasswordDlg::~CDevicePasswordDlg() = default;

void CDevicePasswordDlg::DoDataExchange(CDataExchange* pDX) {
  CBackdropDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_DEVPASS_PASSWORD, m_edtPassword);
  DDX_Control(pDX, IDC_DEVPASS_MAC, m_stcMac);
  DDX_Control(pDX, IDC_DEVPASS_IP, m_stcIp);
  DDX_Control(pDX, IDC_DEVPASS_PASSWORD_LABEL, m_stcPasswordLabel);
  DDX_Control(pDX, IDC_DEVPASS_MAC_LABEL, m_stcMacLabel);
  DDX_Control(pDX, IDC_DEVPASS_IP_LABEL, m_stcIpLabel);
  DDX_Control(pDX, IDOK, m_btnOk);
  DDX_Control(pDX, IDCANCEL, m_btnCancel);
  DDX_Text(pDX, IDC_DEVPASS_IP, m_strIp);
  DDX_Text(pDX, IDC_DEVPASS_MAC, m_strMac);
  DDX_Text(pDX, IDC_DEVPASS_PASSWORD, m_strPassword);
}

BOOL CDevicePasswordDlg::OnInitDialog() {
  CBackdropDialog::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  for (CRTStatic* text : {&m_stcMac, &m_stcIpLabel, &m_stcMacLabel, &m_stcPasswordLabel, &m_stcIp})
    text->SetTransparent(TRUE);
  SetLangText(m_stcIpLabel, m_pApp, "IDS_UI_LIST_IP");
  SetLangText(m_stcMacLabel, m_pApp, "IDS_UI_LIST_MAC");
  SetLangText(m_stcPasswordLabel, m_pApp, "IDS_UI_MODIFY_PASS");
  SetLangText(m_btnOk, m_pApp, "IDS_UI_BTN_OK");
  SetLangText(m_btnCancel, m_pApp, "IDS_UI_CANCEL");
  SetLangText(*this, m_pApp, "IDS_STR_TITLE_APPASSWOD_DLG");
  return TRUE;
}
