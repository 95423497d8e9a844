// The two security dialogs that use a RADIUS server: CDot1xSecurityDlg (146,
// "802.1x") and CWpaEnterpriseDlg (143, WPA and WPA2 Enterprise), which adds
// the WPA mode, the cipher type and visible network-access-protection
// buttons. Neither talks to the device: the page binds their controls to its
// 802.1X or WPA-Enterprise list, reads, calls LoadFromBound, and before a
// write calls Validate and StoreToBound. The page tests the modified flag of
// the four port edits to decide which ports are sent.
//
// Only the top of each dialog is shown (150 or 200 pixels): at start-up the
// RADIUS-server-mode row is hidden and the primary RADIUS group moved up
// into its place. The backup and accounting groups lie below and are never
// seen; their fields are still enabled and disabled by the rules below.
#pragma once

#include "NotifyControls.h"
#include "RTComboBox.h"
#include "RTGroupBox.h"
#include "SecurityDlgBase.h"
#include "SnmpControlVarList.h"

// The controls whose ids differ between the two templates.
struct RadiusDlgIds {
  int title, modeTitle, priTitle, secTitle, accTitle, acc2Title;
  int modeLabel, priServerLabel, priPortLabel, priSecretLabel, accModeLabel;
  int frames[7];  // outer, network access protection, server mode, primary, backup, accounting, backup accounting
  const char* intervalLabelKey;
  const char* intervalMessageKey;
};

class CRadiusSecurityDlg : public CSecurityDlgBase {
 public:
  enum RadiusMode { kExternal = 0, kInternal = 1 };
  // Rows of the page's list (both lists share them; the WPA-Enterprise list
  // adds the cipher type as row 16).
  enum ListRow { kIntervalRow = 0, kNapRow = 1, kRadiusSourceRow = 2, kPrimaryPortRow = 4, kBackupPortRow = 7,
                 kAccountingPortRow = 11, kBackupAccountingPortRow = 14, kFirstOptionalRow = 6,
                 kLastOptionalRow = 15, kCipherRow = 16 };
  enum FrameIndex { kOuterFrame, kNapFrame, kModeFrame, kPrimaryFrame, kBackupFrame, kAccountingFrame,
                    kBackupAccountingFrame, kFrameCount };

  // Binds the page's 802.1X or WPA-Enterprise list to this dialog, and
  // leaves the RADIUS source, the backup server and both accounting servers
  // out of reads and writes.
  virtual void BindList(SnmpControlVarList& list);
  void LoadFromBound();
  int StoreToBound();
  BOOL Validate();
  void EnableRadiusFields(BOOL enable);
  void UpdateAccountingFields();
  void OnRadiusMode(UINT id);

  // Bound by the page, rows 0 to 15 of its list in this order:
  CNotifyEdit m_edInterval;
  CNotifyComboBox m_cbNapCarrier, m_cbSourceCarrier;
  CNotifyIPAddressCtrl m_ipPrimary;
  CNotifyEdit m_edPrimaryPort, m_edPrimarySecret;
  CNotifyIPAddressCtrl m_ipBackup;
  CNotifyEdit m_edBackupPort, m_edBackupSecret;
  CNotifyComboBox m_cbAccountingCarrier;
  CNotifyIPAddressCtrl m_ipAccounting;
  CNotifyEdit m_edAccountingPort, m_edAccountingSecret;
  CNotifyIPAddressCtrl m_ipBackupAccounting;
  CNotifyEdit m_edBackupAccountingPort, m_edBackupAccountingSecret;

  CRTComboBox m_cbAccountingMode;
  int m_nNap;
  int m_nRadiusMode;

 protected:
  CRadiusSecurityDlg(UINT nIDTemplate, CWnd* pParent, const RadiusDlgIds& ids, int startIndex);

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  bool IsClearControl(int id) const override;
  // The WPA-Enterprise dialog's own steps; nothing in the 802.1X dialog.
  virtual void LoadWpaFromBound() {}
  virtual int StoreWpaToBound() { return 1; }

  afx_msg void OnAccountingModeChange();
  afx_msg void OnAccountingModeKillFocus();
  DECLARE_MESSAGE_MAP()

 protected:
  // The label of the primary group's interval row and the pixels the page shows.
  void HideModeRowAndMovePrimaryUp(int shownHeight);
  void Offset(int id, int dy);
  void Resize(int id, int cx, int cy);

  const RadiusDlgIds& m_ids;
  CRTGroupBox m_frames[kFrameCount];
  CRTStatic m_labels[20];
  int m_nLabels = 0;
};

class CDot1xSecurityDlg : public CRadiusSecurityDlg {
 public:
  explicit CDot1xSecurityDlg(CWnd* pParent = nullptr);
  static const int kShownHeight = 150;

 protected:
  BOOL OnInitDialog() override;
  bool IsClearControl(int id) const override;
};

class CWpaEnterpriseDlg : public CRadiusSecurityDlg {
 public:
  explicit CWpaEnterpriseDlg(CWnd* pParent = nullptr);
  static const int kShownHeight = 200;

  // 0 Auto, 1 WPA2 only, 2 WPA only.
  void SetWpaMode(int index);
  void BindList(SnmpControlVarList& list) override;

  CRTComboBox m_cbWpaMode, m_cbCipher;
  CNotifyComboBox m_cbCipherCarrier;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void LoadWpaFromBound() override;
  int StoreWpaToBound() override;
};
