// CManualIpDlg: one member's IP address, subnet mask and gateway typed by
// hand. The member pages open it from a row's "Manually" cell, hand it their
// two lists (borrowed, for the address-in-use check) and read the three
// texts after IDOK. The dialog accepts only a usable host address for the
// mask that no other member holds or will hold (its current address, which
// a member that is to move keeps when its move fails, or the address typed
// for it by hand) and no unconfigured access point, nor another device the
// page knows of, has.
#pragma once

#include <functional>

#include "RTButton.h"
#include "BackdropDialog.h"
#include "RTStatic.h"
#include "afxcmn.h"
#include "afxwin.h"

class CRTListCtrlEx;
class CWizardApp;

class CManualIpDlg : public CBackdropDialog {
 public:
  explicit CManualIpDlg(CWnd* pParent = nullptr);

  // The unconfigured list's address column, which the check reads besides
  // the member list's kColIp, kColIsManual and kColNewIp (MemberStore.h).
  enum { kCandidateIpColumn = 1 };

  CString m_strIp;
  CString m_strMask;
  CString m_strGateway;
  CRTListCtrlEx* m_pMemberList = nullptr;
  CRTListCtrlEx* m_pCandidateList = nullptr;
  int m_nRow = -1;  // the member row the address is for; its own addresses are no obstacle
  // Devices the page knows that stand in neither list (optional): TRUE when
  // one of them has the address.
  std::function<bool(const CString&)> m_isHeldElsewhere;
  CWizardApp* m_pApp = nullptr;
  CRTButton m_btnOk;
  CRTButton m_btnCancel;
  CRTStatic m_maskLabel;
  CRTStatic m_ipLabel;
  CRTStatic m_gatewayLabel;
  CIPAddressCtrl m_ip;
  CIPAddressCtrl m_gateway;
  CIPAddressCtrl m_mask;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

};

// The address check of the dialog, which the member page makes again for
// every manual row before it goes on: TRUE when a member row other than
// `row` holds or will hold `ip`, or a candidate has it. Either list may be
// null.
BOOL IsMemberAddressTaken(CRTListCtrlEx* members, CRTListCtrlEx* candidates, const CString& ip, int row);
