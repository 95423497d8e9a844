#include "CWepKeyDlg.h"

#include "InputChecks.h"
#include "SecurityRes.h"

namespace {

const int kLabelIds[] = {IDC_WEP_INDEX_LABEL, IDC_WEP_TYPE_LABEL, IDC_WEP_SIZE_LABEL,
                         IDC_WEP_KEY_LABEL,   IDC_WEP_ENCRY_LABEL, IDC_WEP_KEYCOM_LABEL};

// Characters of a key, by size index (64, 128 bits, and the size that only a
// device's key reaches) and key type.
const int kKeyLengths[3][2] = {/*64 bits*/ {5, 10}, /*128 bits*/ {13, 26}, /*size 2*/ {16, 32}};

// Columns of the WEP key table list.
enum { kColIfIndex = 0, kColKeyIndex = 1, kColMethod = 2, kColKey = 3 };

}  // namespace

CWepKeyDlg::CWepKeyDlg(CWnd* pParent) : CSecurityDlgBase(IDD_WEP_KEY, pParent) {}

BEGIN_MESSAGE_MAP(CWepKeyDlg, CSecurityDlgBase)
  ON_BN_CLICKED(IDC_WEP_DISABLE, OnSwitch)
  ON_BN_CLICKED(IDC_WEP_ENABLE, OnSwitch)
  ON_CBN_SELCHANGE(IDC_WEP_TYPE, OnKeyTypeChange)
  ON_CBN_SELCHANGE(IDC_WEP_SIZE, OnKeySizeChange)
  ON_CBN_SELCHANGE(IDC_WEP_INDEX, ShowSelectedKey)
  ON_EN_SETFOCUS(IDC_WEP_KEY, OnKeyFocus)
  ON_CBN_KILLFOCUS(IDC_WEP_TYPE, OnComboKillFocus)
  ON_CBN_KILLFOCUS(IDC_WEP_SIZE, OnComboKillFocus)
  ON_CBN_KILLFOCUS(IDC_WEP_INDEX, OnComboKillFocus)
END_MESSAGE_MAP()

int CWepKeyDlg::KeyLength(int sizeIndex, int keyType) {
  if (sizeIndex < 0 || sizeIndex > 2) sizeIndex = 0;
  return kKeyLengths[sizeIndex][keyType == kHex ? 1 : 0];
}

void CWepKeyDlg::BindLists(SnmpControlVarList& keyTable, SnmpControlVarList& options) {
  keyTable.BindListCtrl(&m_keyTable, TRUE);
  keyTable.BindControl(kIfIndexRow, &m_stIfIndex);
  keyTable.BindControl(kKeyIndexRow, &m_stKeyIndex);
  keyTable.BindControl(kEntryMethodRow, &m_cbTypeCarrier);
  keyTable.BindControl(kKeyRow, &m_edKey);
  options.BindControl(kEncryptionRow, &m_cbEncryptionCarrier);
  options.BindControl(kDefaultKeyRow, &m_cbIndexCarrier);
}

void CWepKeyDlg::DoDataExchange(CDataExchange* pDX) {
  CSecurityDlgBase::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SEC_HEADING, m_heading);
  for (size_t i = 0; i < std::size(kLabelIds); ++i) DDX_Control(pDX, kLabelIds[i], m_labels[i]);
  DDX_Control(pDX, IDC_WEP_TYPE, m_cbKeyType);
  DDX_Control(pDX, IDC_WEP_SIZE, m_cbKeySize);
  DDX_Control(pDX, IDC_WEP_INDEX, m_cbKeyIndex);
  DDX_Control(pDX, IDC_WEP_KEYCOM, m_edKeyConfirm);
  DDX_Control(pDX, IDC_WEP_ENCRY_CARRIER, m_cbEncryptionCarrier);
  DDX_Control(pDX, IDC_WEP_TYPE_CARRIER, m_cbTypeCarrier);
  DDX_Control(pDX, IDC_WEP_INDEX_CARRIER, m_cbIndexCarrier);
  DDX_Control(pDX, IDC_WEP_KEY, m_edKey);
  DDX_Control(pDX, IDC_WEP_TABLE, m_keyTable);
  DDX_Control(pDX, IDC_WEP_ROW_IFINDEX, m_stIfIndex);
  DDX_Control(pDX, IDC_WEP_ROW_KEYINDEX, m_stKeyIndex);
  DDX_Radio(pDX, IDC_WEP_DISABLE, m_nEncryption);
}

BOOL CWepKeyDlg::OnInitDialog() {
  CSecurityDlgBase::OnInitDialog();
  for (CRTStatic& label : m_labels) UseLabelFont({&label});
  UseHeadingFont(m_heading);
  m_stIfIndex.SetFont(&m_labelFont);
  m_stKeyIndex.SetFont(&m_labelFont);
  SetText(IDC_SEC_HEADING, "IDS_UI_KEYSETTING");
  SetText(IDC_WEP_ENCRY_LABEL, "IDS_UI_ENCRY");
  SetText(IDC_WEP_DISABLE, "IDS_UI_DISABLE");
  SetText(IDC_WEP_ENABLE, "IDS_UI_ENABLE");
  SetText(IDC_WEP_TYPE_LABEL, "IDS_UI_KEYTYPE");
  SetText(IDC_WEP_SIZE_LABEL, "IDS_UI_KEYSIZE");
  SetText(IDC_WEP_INDEX_LABEL, "IDS_UI_KEYINDEX");
  SetText(IDC_WEP_KEY_LABEL, "IDS_UI_KEY");
  SetText(IDC_WEP_KEYCOM_LABEL, "IDS_UI_KEYCOM");
  RefillCombo(m_cbKeyIndex, {"IDS_UI_KEY_INDEXF1", "IDS_UI_KEY_INDEXS2", "IDS_UI_KEY_INDEXT3", "IDS_UI_KEY_INDEXF4"});
  RefillCombo(m_cbKeySize, {"IDS_UI_KEY_SIZE64", "IDS_UI_KEY_SIZE128"});
  return TRUE;
}

bool CWepKeyDlg::IsClearControl(int id) const {
  return id == IDC_WEP_DISABLE || id == IDC_WEP_ENABLE || id == IDC_WEP_ROW_IFINDEX || id == IDC_WEP_ROW_KEYINDEX;
}

int CWepKeyDlg::EffectiveSize() const {
  int selected = m_cbKeySize.GetCurSel();
  return selected >= 0 ? selected : m_nKeySize;
}

int CWepKeyDlg::EffectiveType() const { return m_cbKeyType.GetCurSel() == kHex ? kHex : kAscii; }

void CWepKeyDlg::ApplyKeyLimit() {
  const int limit = KeyLength(EffectiveSize(), EffectiveType());
  m_edKey.LimitText(limit);
  m_edKeyConfirm.LimitText(limit);
}

void CWepKeyDlg::OnKeySizeChange() {
  int selected = m_cbKeySize.GetCurSel();
  if (selected >= 0) m_nKeySize = selected;
  ApplyKeyLimit();
}

void CWepKeyDlg::OnKeyTypeChange() {
  ApplyKeyLimit();
  m_cbTypeCarrier.SetCurSel(m_cbKeyType.GetCurSel());
  UpdateData(FALSE);
}

void CWepKeyDlg::ReadKeyRow(int row, CString& method, CString& key) const {
  method.Empty();
  key.Empty();
  if (row < 0 || row >= m_keyTable.GetItemCount()) return;
  method = m_keyTable.GetItemText(row, kColMethod);
  key = m_keyTable.GetItemText(row, kColKey);
  method.Trim();
  key.Trim();
}

void CWepKeyDlg::SelectKeyType(const CString& method) {
  // "ascii" finds "ASCII", "hex" finds "HEX"; a method the combo does not
  // know leaves both without a selection.
  int index = method.IsEmpty() ? CB_ERR : m_cbKeyType.FindString(0, method);
  m_cbKeyType.SetCurSel(index);
  m_cbTypeCarrier.SetCurSel(index);
}

void CWepKeyDlg::ShowSelectedKey() {
  const int row = m_cbKeyIndex.GetCurSel();
  CString method, key;
  ReadKeyRow(row, method, key);
  if (row >= 0 && row < m_keyTable.GetItemCount()) {
    m_stIfIndex.SetWindowText(m_keyTable.GetItemText(row, kColIfIndex));
    m_stKeyIndex.SetWindowText(m_keyTable.GetItemText(row, kColKeyIndex));
  }
  SelectKeyType(method);
  m_edKeyConfirm.SetWindowText(key);
  m_edKey.SetWindowText(key);
  ApplyKeyLimit();
  UpdateData(FALSE);
}

void CWepKeyDlg::SelectSizeForKeyLength(int length) {
  const int type = EffectiveType();
  int size = -1;
  for (int s = 0; s < 3; ++s)
    if (length == KeyLength(s, type)) size = s;
  if (size < 0 && m_cbKeySize.GetCurSel() < 0) size = 0;
  if (size >= 0) {
    m_nKeySize = size;
    // Size 2 has no item: the combo is left without a selection.
    m_cbKeySize.SetCurSel(size < m_cbKeySize.GetCount() ? size : -1);
  }
  ApplyKeyLimit();
}

void CWepKeyDlg::LoadFromBound() {
  m_nEncryption = m_cbEncryptionCarrier.GetCurSel();
  m_cbKeyIndex.SetCurSel(m_cbIndexCarrier.GetCurSel());
  UpdateData(FALSE);
  CString method, key;
  ReadKeyRow(m_cbKeyIndex.GetCurSel(), method, key);
  SelectKeyType(method);
  m_edKey.SetWindowText(key);
  m_edKeyConfirm.SetWindowText(key);
  SelectSizeForKeyLength(key.GetLength());
  ShowSelectedKey();
  ApplyEnableState();
}

void CWepKeyDlg::OnSwitch() { ApplyEnableState(); }

void CWepKeyDlg::ApplyEnableState() {
  UpdateData(TRUE);
  const BOOL enable = m_nEncryption == kEnable;
  for (int id : {IDC_WEP_SIZE, IDC_WEP_TYPE, IDC_WEP_INDEX, IDC_WEP_KEY, IDC_WEP_KEYCOM})
    GetDlgItem(id)->EnableWindow(enable);
}

void CWepKeyDlg::AllowDisable(BOOL allow) {
  GetDlgItem(IDC_WEP_DISABLE)->EnableWindow(allow);
  if (!allow) m_nEncryption = kEnable;
  UpdateData(FALSE);
  ApplyEnableState();
}

void CWepKeyDlg::StoreToBound() {
  if (!UpdateData(TRUE)) return;
  m_cbEncryptionCarrier.SetCurSel(m_nEncryption);
  m_cbIndexCarrier.SetCurSel(m_cbKeyIndex.GetCurSel());
}

int CWepKeyDlg::Validate() {
  if (!UpdateData(TRUE)) return 0;
  if (m_nEncryption == kDisable) return 1;
  CString key, confirm;
  m_edKey.GetWindowText(key);
  m_edKeyConfirm.GetWindowText(confirm);
  const char* refusal = nullptr;
  if (key.GetLength() != KeyLength(EffectiveSize(), EffectiveType()))
    refusal = "IDS_MSG_WEP_KEY";
  else if (EffectiveType() == kHex && m_edKey.GetModify() && !IsHexText(key))
    refusal = "IDS_MSG_WEP_KEY_CHAR";
  else if (HasOuterBlank(key))
    refusal = "IDS_MSG_WEP_KEY_BLANK";
  else if (key != confirm)
    refusal = "IDS_MSG_WEP_KEY_NOSAME";
  if (!refusal) return 1;
  Refuse(refusal, IDC_WEP_KEY);
  return 0;
}

void CWepKeyDlg::OnKeyFocus() {
  // The operator retypes the key; its confirmation keeps its text.
  m_edKey.SetWindowText("");
}

void CWepKeyDlg::OnComboKillFocus() {
  for (CComboBox* combo : {static_cast<CComboBox*>(&m_cbKeyType), static_cast<CComboBox*>(&m_cbKeySize),
                           static_cast<CComboBox*>(&m_cbKeyIndex)}) {
    combo->Invalidate();
    combo->UpdateWindow();
  }
}
