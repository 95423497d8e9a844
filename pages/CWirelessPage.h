// CWirelessPage (create flow, template 133) and CModifyWirelessPage (modify
// flow, 136): the group's radio settings on the flow's SNMP target. On entry
// the band is read asynchronously; when it arrives the page builds its
// variable lists (multiple SSID, SSID, WEP table and options, pass phrase,
// key change, WPA-Enterprise, 802.1X), reads them synchronously into the
// hidden carriers and shows them in the visible controls and in the security
// dialog of the authentication. Next writes them back.
//
// Ownership: the page owns its ten variable lists and its four security
// dialogs (children of the page, created hidden in OnInitDialog and
// destroyed in OnDestroy). The authentication choice is recognised by its
// text, never by its index.
#pragma once

#include "AfxCmnCtrl.h"
#include "CWizardPage.h"
#include "NotifyControls.h"
#include "RTComboBox.h"
#include "RTScrollBar.h"
#include "RTStatic.h"

class CWepKeyDlg;
class CWpaPersonalDlg;
class CWpaEnterpriseDlg;
class CDot1xSecurityDlg;
class SnmpBoundVarList;
class SnmpControlVarList;
struct SnmpRequestResult;
struct SnmpVarItem;

class CWirelessPage : public CWizardPage {
 public:
  enum AuthKind { kNoAuth, kOpenSystem, kSharedKey, kWpaPersonal, kWpaEnterprise, kDot1x };
  // The row of the SSID list (g_mibWireless) that a write leaves out while
  // the device picks its channel itself.
  enum SsidListRow { kChannelRow = 1 };
  // The kind an authentication text stands for (English or GBK Chinese).
  static AuthKind AuthKindOfText(const CString& text);

  CWirelessPage();
  ~CWirelessPage() override;

  void SetOptionValue(int value) override { m_nOption = value; }
  void SetSnmpTarget(CString agentIp, CString readCommunity, CString writeCommunity) override;
  void OnEnterPage() override;
  int OnNextPage() override;
  int OnBackPage() override;
  void OnOK() override {}
  void OnCancel() override {}

  int ReadSettings();
  int WriteSettings();
  void BindBandLists(int bandIndex);
  void FillAuthCombo(BOOL withoutSharedKey);
  void ShowSecurityDialog();
  void OnAutoChannelScan();
  void SyncWpaMode();
  void ResetSecurityScroll();
  void UpdateSecurityScroll();
  void OnSecurityScroll(UINT code, int thumb);
  // Starts the asynchronous band read; the rest follows in OnBandRead.
  void StartBandRead();

  static void OnBandRead(SnmpBoundVarList* list, SnmpRequestResult* result, void* page);
  static void OnBandWritten(SnmpBoundVarList* list, SnmpRequestResult* result, void* page);

  CRTComboBox m_cbBand, m_cbChannel, m_cbAuth;
  CNotifyEdit m_edSsid;
  CButton m_chkAutoChannel, m_securityArea;
  CRTScrollBar m_securityScroll;
  // Carriers of device variables.
  CNotifyEdit m_edChannel, m_edChannels24, m_edChannels5, m_edCountry;
  CNotifyComboBox m_cbAuthCarrier, m_cbBandCarrier, m_cbMssidCarrier;

  CWepKeyDlg* m_pWepDlg = nullptr;
  CWpaEnterpriseDlg* m_pWpaEnterpriseDlg = nullptr;
  CWpaPersonalDlg* m_pWpaPersonalDlg = nullptr;
  CDot1xSecurityDlg* m_pDot1xDlg = nullptr;
  CDialog* m_pCurrentDlg = nullptr;

  SnmpControlVarList* m_pBandList = nullptr;
  SnmpControlVarList* m_pSsidList = nullptr;
  SnmpControlVarList* m_pMssidList = nullptr;
  SnmpControlVarList* m_pCountryList = nullptr;
  SnmpControlVarList* m_pWepTableList = nullptr;
  SnmpControlVarList* m_pWepOptionsList = nullptr;
  SnmpControlVarList* m_pPassPhraseList = nullptr;
  SnmpControlVarList* m_pKeyChangeList = nullptr;
  SnmpControlVarList* m_pWpaEnterpriseList = nullptr;
  SnmpControlVarList* m_pDot1xList = nullptr;

  // Heights only: the security area scrolls vertically.
  CSize m_scrollPage{0, 0}, m_scrollTotal{0, 0}, m_scrollPos{0, 0};
  int m_nOption = 0;
  // Set once a band read has built and bound the variable lists.
  BOOL m_bListsBuilt = FALSE;

 protected:
  CWirelessPage(UINT templateId, int scrollLine);

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  afx_msg LRESULT OnPageStart(WPARAM, LPARAM);
  afx_msg void OnBandChange();
  afx_msg void OnChannelKillFocus();
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 protected:
  // The SSID the operator typed, checked before anything is written.
  BOOL CheckSsid();
  AuthKind SelectedAuthKind();
  // The steps of WriteSettings: the authentication, then one writer per
  // security mode, each FALSE when its dialog refuses what was typed.
  void SelectAuthCarrier(AuthKind kind);
  BOOL WriteWepSettings();
  BOOL WriteWpaPersonalSettings();
  BOOL WriteRadiusSettings(AuthKind kind);
  // A list built from `table` for this page's target, synchronous.
  SnmpControlVarList* NewList(const SnmpVarItem* table, int itemType, int keyCount, int timeout);
  void Rebuild(SnmpControlVarList*& list, const SnmpVarItem* table, int itemType = 1, int keyCount = 0);
  void ApplyTarget(SnmpControlVarList* list);
  void ShowOnly(CDialog* shown);

  const int m_nScrollLine;
  CString m_strTargetIp, m_strTargetRead, m_strTargetWrite;
  CRTStatic m_labels[4];
  CFont m_bigFont, m_labelFont;
};

class CModifyWirelessPage : public CWirelessPage {
 public:
  CModifyWirelessPage();
  void OnEnterPage() override;
  int OnNextPage() override;
  int OnBackPage() override;
};
