#include "GroupPasswordDlg.h"

#include "CWizardApp.h"
#include "DialogPagesRes.h"
#include "LangText.h"
#include "SkinMessageBox.h"

CGroupPasswordDlg::CGroupPasswordDlg(CWnd* pParent) : CBackdropDialog(IDD_GROUP_PASSWORD, pParent) {}

CGroupPasswordDlg::~CGroupPasswordDlg() = default;

void CGroupPasswordDlg::SetGroup(const CString& groupName, const CString& password) {
  m_strGroupName = groupName;
  m_strExpectedPassword = password;
}

void CGroupPasswordDlg::DoDataExchange(CDataExchange* pDX) {
  CBackdropDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_GRPPASS_PASSWORD_LABEL, m_stcPasswordLabel);
  DDX_Control(pDX, IDC_GRPPASS_NAME_LABEL, m_stcNameLabel);
  DDX_Control(pDX, IDOK, m_btnOk);
  DDX_Control(pDX, IDCANCEL, m_btnCancel);
  DDX_Text(pDX, IDC_GRPPASS_NAME, m_strGroupName);
  DDX_Text(pDX, IDC_GRPPASS_PASSWORD, m_strPassword);
}

BOOL CGroupPasswordDlg::OnInitDialog() {
  CBackdropDialog::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  m_stcPasswordLabel.SetTransparent(TRUE);
  m_stcNameLabel.SetTransparent(TRUE);
  SetLangText(m_stcNameLabel, m_pApp, "IDS_UI_LIST_APVEZOVINAME");
  SetLangText(m_stcPasswordLabel, m_pApp, "IDS_UI_MODIFY_PASS");
  SetLangText(m_btnOk, m_pApp, "IDS_UI_BTN_OK");
  SetLangText(m_btnCancel, m_pApp, "IDS_UI_CANCEL");
  SetLangText(*this, m_pApp, "IDS_STR_TITLE_ENTERPASSWORD_DLG");
  // The name is only shown: what the operator types is the password.
  if (CWnd* password = GetDlgItem(IDC_GRPPASS_PASSWORD)) {
    GotoDlgCtrl(password);
    password->SendMessage(EM_SETSEL, 0, -1);
    return FALSE;
  }
  return TRUE;
}

void CGroupPasswordDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  if (m_strPassword != m_strExpectedPassword) {
    ShowLangMessage(m_pApp, "IDS_MSG_INV_PASSWORD");
    return;
  }
  EndDialog(IDOK);
}
