#include "CWpaPersonalDlg.h"

#include <algorithm>
#include <cstdlib>

#include "InputChecks.h"
#include "SecurityRes.h"
#include "WizardUi.h"

namespace {

const int kLabelIds[] = {IDC_WPAP_CIPHER_LABEL,   IDC_WPAP_GKUI_LABEL,    IDC_WPAP_KEY_LABEL,  IDC_WPAP_GKUI_UNIT,
                         IDC_WPAP_MODE_LABEL,     IDC_WPAP_KEYCOM_LABEL,  IDC_WPAP_START_LABEL, IDC_WPAP_SEPARATOR1,
                         IDC_WPAP_SEPARATOR2,     IDC_WPAP_INTERVAL_LABEL, IDC_WPAP_INTERVAL_UNIT};

const int kMaxPassPhrase = 64;
const int kMaxInterval = 7;

int Clamp(int value, int low, int high) { return std::min(std::max(value, low), high); }

}  // namespace

CWpaPersonalDlg::CWpaPersonalDlg(CWnd* pParent) : CSecurityDlgBase(IDD_WPA_PERSONAL, pParent) {}

BEGIN_MESSAGE_MAP(CWpaPersonalDlg, CSecurityDlgBase)
  ON_BN_CLICKED(IDC_WPAP_MANUAL, OnKeyMode)
  ON_BN_CLICKED(IDC_WPAP_PERIODICAL, OnKeyMode)
  ON_CBN_KILLFOCUS(IDC_WPAP_WEEKDAY, OnTimeKillFocus)
  ON_CBN_KILLFOCUS(IDC_WPAP_HOUR, OnTimeKillFocus)
  ON_CBN_KILLFOCUS(IDC_WPAP_MINUTE, OnTimeKillFocus)
END_MESSAGE_MAP()

void CWpaPersonalDlg::DoDataExchange(CDataExchange* pDX) {
  CSecurityDlgBase::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SEC_HEADING, m_heading);
  for (size_t i = 0; i < std::size(kLabelIds); ++i) DDX_Control(pDX, kLabelIds[i], m_labels[i]);
  DDX_Control(pDX, IDC_WPAP_MODE, m_cbWpaMode);
  DDX_Control(pDX, IDC_WPAP_CIPHER, m_cbCipher);
  DDX_Control(pDX, IDC_WPAP_WEEKDAY, m_cbWeekday);
  DDX_Control(pDX, IDC_WPAP_HOUR, m_cbHour);
  DDX_Control(pDX, IDC_WPAP_MINUTE, m_cbMinute);
  DDX_Control(pDX, IDC_WPAP_KEYCOM, m_edKeyConfirm);
  DDX_Control(pDX, IDC_WPAP_CIPHER_CARRIER, m_cbCipherCarrier);
  DDX_Control(pDX, IDC_WPAP_REKEY_CARRIER, m_cbRekeyCarrier);
  DDX_Control(pDX, IDC_WPAP_WEEKDAY_CARRIER, m_cbWeekdayCarrier);
  DDX_Control(pDX, IDC_WPAP_GKUI, m_edInterval);
  DDX_Control(pDX, IDC_WPAP_KEY, m_edKey);
  DDX_Control(pDX, IDC_WPAP_AUTO_KEY, m_edAutoKey);
  DDX_Control(pDX, IDC_WPAP_START_CARRIER, m_edStartCarrier);
  DDX_Control(pDX, IDC_WPAP_INTERVAL, m_edRekeyInterval);
  DDX_CBIndex(pDX, IDC_WPAP_HOUR, m_nHour);
  DDX_CBIndex(pDX, IDC_WPAP_MINUTE, m_nMinute);
  DDX_CBIndex(pDX, IDC_WPAP_WEEKDAY, m_nWeekday);
  DDX_Radio(pDX, IDC_WPAP_MANUAL, m_nKeyMode);
}

BOOL CWpaPersonalDlg::OnInitDialog() {
  CSecurityDlgBase::OnInitDialog();
  m_edKey.LimitText(kMaxPassPhrase);
  m_edKeyConfirm.LimitText(kMaxPassPhrase);
  for (CRTStatic& label : m_labels) UseLabelFont({&label});
  UseHeadingFont(m_heading);
  m_edInterval.LimitText(kMaxInterval);

  SetText(IDC_SEC_HEADING, "IDS_UI_WPA_SETTING");
  SetText(IDC_WPAP_MODE_LABEL, "IDS_UI_WPA_MODE");
  SetText(IDC_WPAP_CIPHER_LABEL, "IDS_UI_WPA_KEYTYPE");
  SetText(IDC_WPAP_GKUI_LABEL, "IDS_UI_WPA_GUKI");
  SetText(IDC_WPAP_GKUI_UNIT, "IDS_UI_WPA_GUKI_UNIT");
  SetText(IDC_WPAP_MANUAL, "IDS_UI_WPA_MANUAL");
  SetText(IDC_WPAP_PERIODICAL, "IDS_UI_WPA_PKC");
  SetText(IDC_WPAP_KEY_LABEL, "IDS_UI_WPA_KEY");
  SetText(IDC_WPAP_KEYCOM_LABEL, "IDS_UI_WPA_KEYCOM");
  SetText(IDC_WPAP_START_LABEL, "IDS_UI_WPA_ACTIVETIME");
  SetText(IDC_WPAP_INTERVAL_LABEL, "IDS_UI_WPA_INTERVAL");
  SetText(IDC_WPAP_INTERVAL_UNIT, "IDS_UI_WPA_INTERVAL_UNIT");
  RefillCombo(m_cbWpaMode, {"IDS_UI_WPA_MODE_AUTO", "IDS_UI_WPA_MODE_WPA2", "IDS_UI_WPA_MODE_WPA"});
  RefillCombo(m_cbCipher, {"IDS_UI_WPA_KEYTYPE_AUTO", "IDS_UI_WPA_KEYTYPE_AES", "IDS_UI_WPA_KEYTYPE_TKIP"});
  RefillCombo(m_cbWeekday, {"IDS_UI_WPA_SUN", "IDS_UI_WPA_MON", "IDS_UI_WPA_TUE", "IDS_UI_WPA_WED",
                            "IDS_UI_WPA_THU", "IDS_UI_WPA_FRI", "IDS_UI_WPA_SAT"});
  return TRUE;
}

bool CWpaPersonalDlg::IsClearControl(int id) const { return id == IDC_WPAP_MANUAL || id == IDC_WPAP_PERIODICAL; }

void CWpaPersonalDlg::BindLists(SnmpControlVarList& passPhrase, SnmpControlVarList& keyChange) {
  passPhrase.BindControl(kPassPhraseRow, &m_edKey);
  passPhrase.BindControl(kCipherRow, &m_cbCipherCarrier);
  passPhrase.BindControl(kGroupKeyIntervalRow, &m_edInterval);
  keyChange.BindControl(kRekeyControlRow, &m_cbRekeyCarrier);
  keyChange.BindControl(kRekeyWeekdayRow, &m_cbWeekdayCarrier);
  keyChange.BindControl(kRekeyStartRow, &m_edStartCarrier);
  keyChange.BindControl(kRekeyIntervalRow, &m_edRekeyInterval);
  keyChange.BindControl(kRekeyPassPhraseRow, &m_edAutoKey);
}

void CWpaPersonalDlg::SetWpaMode(int index) { m_cbWpaMode.SetCurSel(index); }

void CWpaPersonalDlg::OnKeyMode() {
  UpdateData(TRUE);
  ShowKeyMode();
}

void CWpaPersonalDlg::ShowKeyMode() {
  const bool periodical = m_nKeyMode == kPeriodical;
  m_edAutoKey.ShowWindow(periodical ? SW_SHOW : SW_HIDE);
  for (int id : {IDC_WPAP_KEY, IDC_WPAP_KEYCOM, IDC_WPAP_KEYCOM_LABEL})
    GetDlgItem(id)->ShowWindow(periodical ? SW_HIDE : SW_SHOW);
  for (int id : {IDC_WPAP_WEEKDAY, IDC_WPAP_HOUR, IDC_WPAP_MINUTE, IDC_WPAP_INTERVAL})
    GetDlgItem(id)->EnableWindow(periodical);
}

void CWpaPersonalDlg::OnTimeKillFocus() {
  for (CComboBox* combo : {static_cast<CComboBox*>(&m_cbWeekday), static_cast<CComboBox*>(&m_cbHour),
                           static_cast<CComboBox*>(&m_cbMinute)}) {
    combo->Invalidate();
    combo->UpdateWindow();
  }
}

void CWpaPersonalDlg::LoadFromBound() {
  UpdateData(TRUE);
  // A failed read leaves the carriers without a selection, and a device may
  // report any start time: every index is kept inside its combo box, so a
  // later write sends a time and a weekday the device takes.
  m_nKeyMode = m_cbRekeyCarrier.GetCurSel() == kPeriodical ? kPeriodical : kManual;
  m_nWeekday = Clamp(m_cbWeekdayCarrier.GetCurSel(), 0, 6);
  CString start;
  m_edStartCarrier.GetWindowText(start);
  m_nHour = Clamp(std::atoi(start.Left(2)), 0, 23);
  m_nMinute = Clamp(std::atoi(start.Right(2)), 0, 59);
  UpdateData(FALSE);
  ShowKeyMode();

  CString key;
  m_edKey.GetWindowText(key);
  m_edKeyConfirm.SetWindowText(key);
  m_cbCipher.SetCurSel(std::max(m_cbCipherCarrier.GetCurSel(), 0));
}

int CWpaPersonalDlg::Validate() {
  if (!UpdateData(TRUE)) return 0;
  if (m_nKeyMode == kPeriodical) {
    CString interval;
    m_edRekeyInterval.GetWindowText(interval);
    if (!IsNumberInRange(interval, 1, 168)) {
      Refuse("IDS_MSG_PSK_TIMEINTERVAL", IDC_WPAP_INTERVAL);
      return 0;
    }
  } else {
    CString key, confirm;
    m_edKey.GetWindowText(key);
    m_edKeyConfirm.GetWindowText(confirm);
    if (HasOuterBlank(key)) {
      Refuse("IDS_MSG_WEP_KEY_BLANK", IDC_WPAP_KEY);
      return 0;
    }
    if (key.IsEmpty() || key != confirm || !IsAsciiText(key)) {
      Refuse("IDS_MSG_PSK_KEYINVALID", IDC_WPAP_KEY);
      return 0;
    }
    const int length = key.GetLength();
    const bool fits = (length >= 8 && length <= 63) || (length == 64 && IsHexText(key));
    if (!fits) {
      Refuse("IDS_MSG_PSK_KEYLEN", IDC_WPAP_KEY);
      return 0;
    }
  }
  CString interval;
  m_edInterval.GetWindowText(interval);
  if (!IsNumberInRange(interval, 300, 9999999)) {
    Refuse("IDS_MSG_PSK_GKUI", IDC_WPAP_GKUI);
    return 0;
  }
  return 1;
}

int CWpaPersonalDlg::StoreToBound() {
  UpdateData(TRUE);
  m_cbCipherCarrier.SetCurSel(m_cbCipher.GetCurSel());
  UpdateData(FALSE);
  m_cbRekeyCarrier.SetCurSel(m_nKeyMode == kPeriodical ? kPeriodical : kManual);
  m_cbWeekdayCarrier.SetCurSel(Clamp(m_nWeekday, 0, 6));
  CString start;
  start.Format("%02d:%02d", Clamp(m_nHour, 0, 23), Clamp(m_nMinute, 0, 59));
  m_edStartCarrier.SetWindowText(start);

  CString key, confirm;
  m_edKey.GetWindowText(key);
  m_edKeyConfirm.GetWindowText(confirm);
  if (key != confirm) {
    ShowSkinMessage("The PassPhrase and Confirm PassPhrase are not matched.", FALSE);
    return 0;
  }
  return 1;
}
