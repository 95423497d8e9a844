#include "CManualIpDlg.h"

#include "CRTListCtrlEx.h"
#include "CWizardApp.h"
#include "InputChecks.h"
#include "LangText.h"
#include "MemberStore.h"
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

// Every other member row counts, wherever it stands and however it is to be
// addressed.
BOOL IsMemberAddressTaken(CRTListCtrlEx* members, CRTListCtrlEx* candidates, const CString& ip, int row) {
  if (members) {
    for (int other = 0; other < members->GetItemCount(); ++other) {
      if (other == row) continue;
      if (members->GetItemText(other, kColIp) == ip) return TRUE;
      if (members->GetItemText(other, kColIsManual) == kManualSet && members->GetItemText(other, kColNewIp) == ip)
        return TRUE;
    }
  }
  return candidates && FindListItemByText(candidates, ip, CManualIpDlg::kCandidateIpColumn) >= 0;
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
  if (IsMemberAddressTaken(m_pMemberList, m_pCandidateList, m_strIp, m_nRow) ||
      (m_isHeldElsewhere && m_isHeldElsewhere(m_strIp))) {
    ShowLangMessage(m_pApp, "IDS_MSG_IP_EXIST");
    return;
  }
  EndDialog(IDOK);
}
