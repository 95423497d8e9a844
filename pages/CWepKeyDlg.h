// CWepKeyDlg: the WEP settings of the group (encryption on or off, the
// default key index, and for the shown key its entry method, size, the key
// and its confirmation). A child of the wireless settings page, which binds
// the hidden list 1030 to the device's WEP key table (row i holds key index
// i + 1) and the hidden carriers to the encryption switch and key index.
//
// Key sizes: index 0 (64 bits) and 1 (128 bits) are in the size combo; a key
// of 16 ASCII or 32 hex characters from the device stands for size 2, which
// has no item, so the combo then shows no selection while the dialog keeps
// size 2 for the text limit and the length check.
#pragma once

#include "AfxCmnCtrl.h"
#include "NotifyControls.h"
#include "RTComboBox.h"
#include "SecurityDlgBase.h"
#include "SnmpControlVarList.h"

class CWepKeyDlg : public CSecurityDlgBase {
 public:
  enum Switch { kDisable = 0, kEnable = 1 };
  enum KeyType { kAscii = 0, kHex = 1 };
  // Rows of the key table (g_mibWepKeyTable) and of the options list (g_mibWep).
  enum KeyTableRow { kIfIndexRow = 0, kKeyIndexRow = 1, kEntryMethodRow = 2, kKeyRow = 3 };
  enum OptionsRow { kEncryptionRow = 0, kDefaultKeyRow = 1 };

  explicit CWepKeyDlg(CWnd* pParent = nullptr);

  // The key length in characters for a size index (0..2) and a key type.
  static int KeyLength(int sizeIndex, int keyType);

  // Binds the WEP key table (shown in the hidden list, one row per key) and
  // the options list (encryption switch, key index).
  void BindLists(SnmpControlVarList& keyTable, SnmpControlVarList& options);
  void LoadFromBound();
  int Validate();
  void StoreToBound();
  // TRUE for "Open System"; FALSE ("Shared Key") forces encryption on.
  void AllowDisable(BOOL allow);
  void SelectSizeForKeyLength(int length);
  void ApplyKeyLimit();
  void ShowSelectedKey();

  // The size index the limit and the length check use: the combo's, or the
  // one SelectSizeForKeyLength chose while the combo shows none.
  int EffectiveSize() const;
  // The combo's key type; ASCII while none is selected.
  int EffectiveType() const;

  CRTComboBox m_cbKeyType, m_cbKeySize, m_cbKeyIndex;
  CEdit m_edKeyConfirm;
  // Bound by the page.
  CNotifyComboBox m_cbEncryptionCarrier, m_cbTypeCarrier, m_cbIndexCarrier;
  CNotifyEdit m_edKey;
  CNotifyListCtrl m_keyTable;
  CStatic m_stIfIndex, m_stKeyIndex;

  int m_nEncryption = kDisable;
  int m_nKeySize = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  bool IsClearControl(int id) const override;

  afx_msg void OnSwitch();
  afx_msg void OnKeyTypeChange();
  afx_msg void OnKeySizeChange();
  afx_msg void OnKeyFocus();
  afx_msg void OnComboKillFocus();
  DECLARE_MESSAGE_MAP()

 private:
  void ApplyEnableState();
  // The key and entry method of the table row of key index `row` + 1, with
  // blanks at both ends removed; empty texts for a row the table lacks.
  void ReadKeyRow(int row, CString& method, CString& key) const;
  void SelectKeyType(const CString& method);

  CRTStatic m_heading;
  CRTStatic m_labels[6];
};
