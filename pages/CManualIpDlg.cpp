#include "CManualIpDlg.h"

#include "CRTListCtrlEx.h"
#include "CWizardApp.h"
#include "InputChecks.h"
#include "MembersRes.h"
#include "WizardUi.h"

namespace {

// The message box's background picture, stretched over the whole client
// area; the plain dialog face while the picture is not there.
const int kBackgroundBitmap = 159;

void PaintDialogBackground(CWnd* wnd, CDC* dc) {
  CRect client;
  wnd->GetClientRect(&client);
  CBitmap picture;
  BITMAP info{};
  if (!picture.LoadBitmap(kBackgroundBitmap) || !picture.GetBitmap(&info)) {
    dc->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    return;
  }
  CDC memory;
  memory.CreateCompatibleDC(dc);
  CBitmap* old = memory.SelectObject(&picture);
  dc->StretchBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  memory.SelectObject(old);
}

}  // namespace

CManualIpDlg::CManualIpDlg(CWnd* pParent) : CRTDialog(IDD_MANUAL_IP, pParent) {}

BEGIN_MESSAGE_MAP(CManualIpDlg, CRTDialog)
  ON_WM_CTLCOLOR()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

void CManualIpDlg::DoDataExchange(CDataExchange* pDX) {
  CRTDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDOK, m_btnOk);
  DDX_Control(pDX, IDCANCEL, m_btnCancel);
  DDX_Control(pDX, IDC_MAN_MASK_LABEL, m_maskLabel);
  DDX_Control(pDX, IDC_MAN_IP_LABEL, m_ipLabel);
  DDX_Control(pDX, IDC_MAN_GATEWAY_LABEL, m_gatewayLabel);
  DDX_Control(pDX, IDC_MAN_IP, m_ip);
  DDX_Control(pDX, IDC_MAN_GATEWAY, m_gateway);
  DDX_Control(pDX, IDC_MAN_MASK, m_mask);
}

CString CManualIpDlg::Text(LPCTSTR key) const { return m_pApp ? m_pApp->Text(key) : CString(); }

BOOL CManualIpDlg::OnInitDialog() {
  CRTDialog::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  for (CRTStatic* label : {&m_gatewayLabel, &m_ipLabel, &m_maskLabel}) label->SetTransparent(1);
  m_ipLabel.SetWindowText(Text("IDS_UI_LIST_IP"));
  m_maskLabel.SetWindowText(Text("IDS_UI_MASK"));
  m_gatewayLabel.SetWindowText(Text("IDS_UI_GATEWAY"));
  m_btnOk.SetWindowText(Text("IDS_UI_BTN_OK"));
  m_btnCancel.SetWindowText(Text("IDS_UI_CANCEL"));
  SetWindowText(Text("IDS_STR_TITLE_MAN_DLG"));
  return TRUE;
}

// The labels stand on the background picture.
HBRUSH CManualIpDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CRTDialog::OnCtlColor(pDC, pWnd, nCtlColor);
  if (nCtlColor == CTLCOLOR_STATIC && m_brush.GetSafeHandle()) {
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(m_brush.GetSafeHandle());
  }
  return brush;
}

BOOL CManualIpDlg::OnEraseBkgnd(CDC*) { return TRUE; }

void CManualIpDlg::OnPaint() {
  CPaintDC dc(this);
  PaintDialogBackground(this, &dc);
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
    ShowSkinMessage(Text("IDS_MSG_IP_ERROR"), FALSE);
    return;
  }
  if (IsAddressInUse(m_strIp)) {
    ShowSkinMessage(Text("IDS_MSG_IP_EXIST"), FALSE);
    return;
  }
  EndDialog(IDOK);
}
