// CWpaPersonalDlg: the WPA-Personal settings of the group (WPA mode, cipher,
// group key update interval, and either a pass phrase typed by the operator
// or the device's periodic key change). A child of the wireless settings
// page, which binds the hidden carriers (and the pass phrase, interval and
// key change edits) to device variables, reads the device, then calls
// LoadFromBound; before a write it calls Validate and, on 1, StoreToBound.
#pragma once

#include "NotifyControls.h"
#include "SnmpControlVarList.h"
#include "RTComboBox.h"
#include "SecurityDlgBase.h"

class CWpaPersonalDlg : public CSecurityDlgBase {
 public:
  enum KeyMode { kManual = 0, kPeriodical = 1 };
  // Rows of the pass-phrase list (g_mibPassPhrase) and of the key-change
  // list (g_mibAutoRekey).
  enum PassPhraseRow { kPassPhraseRow = 0, kCipherRow = 1, kGroupKeyIntervalRow = 2 };
  enum KeyChangeRow { kRekeyControlRow = 0, kRekeyWeekdayRow = 1, kRekeyStartRow = 2, kRekeyIntervalRow = 3,
                      kRekeyPassPhraseRow = 4 };

  explicit CWpaPersonalDlg(CWnd* pParent = nullptr);

  // 0 Auto, 1 WPA2 only, 2 WPA only.
  void SetWpaMode(int index);
  // Binds the pass-phrase list (pass phrase, cipher, group key interval) and
  // the key-change list (control, weekday, start time, interval, the
  // device's pass phrase) to this dialog's controls.
  void BindLists(SnmpControlVarList& passPhrase, SnmpControlVarList& keyChange);
  void LoadFromBound();
  int Validate();
  int StoreToBound();

  // Visible choices.
  CRTComboBox m_cbWpaMode, m_cbCipher, m_cbWeekday, m_cbHour, m_cbMinute;
  CEdit m_edKeyConfirm;
  // Bound to the device variables by the page.
  CNotifyComboBox m_cbCipherCarrier, m_cbRekeyCarrier, m_cbWeekdayCarrier;
  CNotifyEdit m_edInterval, m_edKey, m_edAutoKey, m_edStartCarrier, m_edRekeyInterval;

  int m_nHour = 0, m_nMinute = 0, m_nWeekday = 0;
  int m_nKeyMode = kManual;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  bool IsClearControl(int id) const override;

  afx_msg void OnKeyMode();
  afx_msg void OnTimeKillFocus();
  DECLARE_MESSAGE_MAP()

 private:
  void ShowKeyMode();

  CRTStatic m_heading;
  CRTStatic m_labels[11];
};
