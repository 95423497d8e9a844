#include "CManualIpDlg.h"

#include "CRTListCtrlEx.h"
#include "CWizardApp.h"
#include "InputChecks.h"
#include "LangText.h"
#include "MembersRes.h"
#include "SkinMessageBox.h"

CManualIpDlg::CManualIpDlg(CWnd* pParent) : CBackdropDialog(IDD_MANUAL_IP, pParent) {}

void CManualIpDlg::DoDataExchange(CDataExchange* pDX) {
  CBackdropDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDOK, m_btnOk);
  DDX_Control(pDX, IDCANCEL, m_btnCancel);
  DDX_Control(pDX, IDC_MAN_MASK_LABEL, m_maskLabel);
  DDX_Control(pDX, IDC_MAN_IP_LABEL, m_ipLabel);
  DDX_Control(pDX, IDC_MAN_GATEWAY_LABEL, m_gatewayLabel);
  DDX_Control(pDX, IDC_MAN_IP, m_ip);
  DDX_Control(pDX, IDC_MAN_GATEWAY, m_gateway);
  DDX_Control(pDX, IDC_MAN_MASK, m_mask);
}

BOOL CManualIpDlg::OnInitDialog() {
  CBackdropDialog::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  for (CRTStatic* label : {&m_gatewayLabel, &m_ipLabel, &m_maskLabel}) label->SetTransparent(1);
  SetLangText(m_ipLabel, m_pApp, "IDS_UI_LIST_IP");
  SetLangText(m_maskLabel, m_pApp, "IDS_UI_MASK");
  SetLangText(m_gatewayLabel, m_pApp, "IDS_UI_GATEWAY");
  SetLangText(m_btnOk, m_pApp, "IDS_UI_BTN_OK");
  SetLangText(m_btnCancel, m_pApp, "IDS_UI_CANCEL");
  SetLangText(*this, m_pApp, "IDS_STR_TITLE_MAN_DLG");
  return TRUE;
}

// Every member row counts, wherever it stands: a manually addressed row
// further down is as much in the way as the first one holding the text.
BOOL CManualIpDlg::IsAddressInUse(const CString& ip) {
  if (m_pMemberList) {
    for (int row = 0; row < m_pMemberList->GetItemCount(); ++row)
      if (m_pMemberList->GetItemText(row, kMemberIpColumn) == ip &&
          m_pMemberList->GetCheckbox(row, kMemberAutoColumn) == 0)
        return TRUE;
  }
  return m_pCandidateList && FindListItemByText(m_pCandidateList, ip, kCandidateIpColumn) >= 0;
}

void CManualIpDlg::OnOK() {
  m_ip.GetWindowText(m_strIp);
  m_gateway.GetWindowText(m_strGateway);
  m_mask.GetWindowText(m_strMask);
  if (!IsValidIpCtrl(&m_ip) || !IsValidNetmaskCtrl(&m_mask) || !IsValidIpCtrl(&m_gateway) ||
      !IsValidHostIp(m_strIp, m_strMask)) {
    ShowLangMessage(m_pApp, "IDS_MSG_IP_ERROR");
    return;
  }
  if (IsAddressInUse(m_strIp)) {
    ShowLangMessage(m_pApp, "IDS_MSG_IP_EXIST");
    return;
  }
  EndDialog(IDOK);
}
