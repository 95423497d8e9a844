// CManualIpDlg: one member's IP address, subnet mask and gateway typed by
// hand. The member pages open it from a row's "Manually" cell, hand it their
// two lists (borrowed, for the address-in-use check) and read the three
// texts after IDOK. The dialog accepts only a usable host address for the
// mask that no manually addressed member and no unconfigured access point
// already has; members that take an automatic address do not count, as
// theirs will be replaced.
#pragma once

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

  // The member list's columns the check reads: the address and the
  // "Automatically" box; the unconfigured list's address column.
  enum { kMemberIpColumn = 2, kMemberAutoColumn = 5, kCandidateIpColumn = 1 };

  CString m_strIp;
  CString m_strMask;
  CString m_strGateway;
  CRTListCtrlEx* m_pMemberList = nullptr;
  CRTListCtrlEx* m_pCandidateList = nullptr;
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

 private:
  BOOL IsAddressInUse(const CString& ip);
};
