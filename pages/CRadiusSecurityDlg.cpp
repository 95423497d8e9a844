#include "CRadiusSecurityDlg.h"

#include <algorithm>

#include "InputChecks.h"
#include "SecurityRes.h"

namespace {

const RadiusDlgIds kDot1xIds = {
    IDC_D1X_TITLE,          IDC_D1X_MODE_TITLE,       IDC_D1X_PRI_TITLE,      IDC_D1X_SEC_TITLE,
    IDC_D1X_ACC_TITLE,      IDC_D1X_ACC2_TITLE,       IDC_D1X_MODE_LABEL,     IDC_D1X_PRI_SERVER_LABEL,
    IDC_D1X_PRI_PORT_LABEL, IDC_D1X_PRI_SECRET_LABEL, IDC_D1X_ACC_MODE_LABEL,
    {IDC_D1X_FRAME_OUTER, IDC_D1X_FRAME_NAP, IDC_D1X_FRAME_MODE, IDC_D1X_FRAME_PRI, IDC_D1X_FRAME_SEC,
     IDC_D1X_FRAME_ACC, IDC_D1X_FRAME_ACC2},
    "IDS_UI_802_GUKI",      "IDS_MSG_802_KUI"};

const RadiusDlgIds kWpaIds = {
    IDC_WPAE_TITLE,          IDC_WPAE_MODE_TITLE,       IDC_WPAE_PRI_TITLE,      IDC_WPAE_SEC_TITLE,
    IDC_WPAE_ACC_TITLE,      IDC_WPAE_ACC2_TITLE,       IDC_WPAE_MODE_LABEL,     IDC_WPAE_PRI_SERVER_LABEL,
    IDC_WPAE_PRI_PORT_LABEL, IDC_WPAE_PRI_SECRET_LABEL, IDC_WPAE_ACC_MODE_LABEL,
    {IDC_WPAE_FRAME_OUTER, IDC_WPAE_FRAME_NAP, IDC_WPAE_FRAME_MODE, IDC_WPAE_FRAME_PRI, IDC_WPAE_FRAME_SEC,
     IDC_WPAE_FRAME_ACC, IDC_WPAE_FRAME_ACC2},
    "IDS_UI_WPA_GUKI",       "IDS_MSG_PSK_GKUI"};

const int kMaxInterval = 7, kMaxPort = 5, kMaxSecret = 64;

// Moves of the layout fix-up, in pixels, and the field sizes it sets.
const int kGroupRise = 50, kSecretRise = 40;
const CSize kServerField(120, 20), kPortField(80, 20), kSecretField(300, 20);
// Room left between the primary group's frame and the outer frame's bottom.
const int kOuterMargin = 4;

const int kRadiusFieldIds[] = {IDC_EAP_SEC_SERVER, IDC_EAP_SEC_PORT, IDC_EAP_SEC_SECRET, IDC_EAP_PRI_SECRET,
                               IDC_EAP_PRI_PORT,   IDC_EAP_PRI_SERVER, IDC_EAP_ACC_MODE};
const int kAccountingFieldIds[] = {IDC_EAP_ACC_SERVER,  IDC_EAP_ACC_PORT,  IDC_EAP_ACC_SECRET,
                                   IDC_EAP_ACC2_SERVER, IDC_EAP_ACC2_PORT, IDC_EAP_ACC2_SECRET};

}  // namespace

CRadiusSecurityDlg::CRadiusSecurityDlg(UINT nIDTemplate, CWnd* pParent, const RadiusDlgIds& ids, int startIndex)
    : CSecurityDlgBase(nIDTemplate, pParent), m_nNap(startIndex), m_nRadiusMode(startIndex), m_ids(ids) {}

BEGIN_MESSAGE_MAP(CRadiusSecurityDlg, CSecurityDlgBase)
  ON_CBN_SELCHANGE(IDC_EAP_ACC_MODE, OnAccountingModeChange)
  ON_CBN_KILLFOCUS(IDC_EAP_ACC_MODE, OnAccountingModeKillFocus)
  ON_CONTROL_RANGE(BN_CLICKED, IDC_EAP_EXTERNAL, IDC_EAP_INTERNAL, OnRadiusMode)
END_MESSAGE_MAP()

void CRadiusSecurityDlg::BindList(SnmpControlVarList& list) {
  list.BindControl(0, &m_edInterval);
  list.BindControl(1, &m_cbNapCarrier);
  list.BindControl(2, &m_cbSourceCarrier);
  CIPAddressCtrl* servers[] = {&m_ipPrimary, &m_ipBackup, &m_ipAccounting, &m_ipBackupAccounting};
  list.BindControl(3, servers[0]);
  list.BindControl(4, &m_edPrimaryPort);
  list.BindControl(5, &m_edPrimarySecret);
  list.BindControl(6, servers[1]);
  list.BindControl(7, &m_edBackupPort);
  list.BindControl(8, &m_edBackupSecret);
  list.BindControl(9, &m_cbAccountingCarrier);
  list.BindControl(10, servers[2]);
  list.BindControl(11, &m_edAccountingPort);
  list.BindControl(12, &m_edAccountingSecret);
  list.BindControl(13, servers[3]);
  list.BindControl(14, &m_edBackupAccountingPort);
  list.BindControl(15, &m_edBackupAccountingSecret);
  SnmpVarList& rows = list.m_Request.m_VarList;
  rows.GetItem(kRadiusSourceRow)->access = SVA_INVALID;
  for (int row = kFirstOptionalRow; row <= kLastOptionalRow; ++row) rows.GetItem(row)->access = SVA_INVALID;
}

void CRadiusSecurityDlg::DoDataExchange(CDataExchange* pDX) {
  CSecurityDlgBase::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_EAP_GKUI, m_edInterval);
  DDX_Control(pDX, IDC_EAP_NAP_CARRIER, m_cbNapCarrier);
  DDX_Control(pDX, IDC_EAP_SOURCE_CARRIER, m_cbSourceCarrier);
  DDX_Control(pDX, IDC_EAP_PRI_SERVER, m_ipPrimary);
  DDX_Control(pDX, IDC_EAP_PRI_PORT, m_edPrimaryPort);
  DDX_Control(pDX, IDC_EAP_PRI_SECRET, m_edPrimarySecret);
  DDX_Control(pDX, IDC_EAP_SEC_SERVER, m_ipBackup);
  DDX_Control(pDX, IDC_EAP_SEC_PORT, m_edBackupPort);
  DDX_Control(pDX, IDC_EAP_SEC_SECRET, m_edBackupSecret);
  DDX_Control(pDX, IDC_EAP_ACC_CARRIER, m_cbAccountingCarrier);
  DDX_Control(pDX, IDC_EAP_ACC_SERVER, m_ipAccounting);
  DDX_Control(pDX, IDC_EAP_ACC_PORT, m_edAccountingPort);
  DDX_Control(pDX, IDC_EAP_ACC_SECRET, m_edAccountingSecret);
  DDX_Control(pDX, IDC_EAP_ACC2_SERVER, m_ipBackupAccounting);
  DDX_Control(pDX, IDC_EAP_ACC2_PORT, m_edBackupAccountingPort);
  DDX_Control(pDX, IDC_EAP_ACC2_SECRET, m_edBackupAccountingSecret);
  DDX_Control(pDX, IDC_EAP_ACC_MODE, m_cbAccountingMode);
  for (int i = 0; i < kFrameCount; ++i) DDX_Control(pDX, m_ids.frames[i], m_frames[i]);
  DDX_Radio(pDX, IDC_EAP_NAP_DISABLE, m_nNap);
  DDX_Radio(pDX, IDC_EAP_EXTERNAL, m_nRadiusMode);
}

BOOL CRadiusSecurityDlg::OnInitDialog() {
  CSecurityDlgBase::OnInitDialog();
  for (CRTGroupBox& frame : m_frames) frame.SetBackground(0, 0);
  const int labelIds[] = {m_ids.modeTitle,    m_ids.priTitle,       m_ids.secTitle,       m_ids.accTitle,
                          m_ids.acc2Title,    m_ids.modeLabel,      m_ids.priServerLabel, m_ids.priPortLabel,
                          m_ids.priSecretLabel, m_ids.accModeLabel, IDC_EAP_GKUI_LABEL,   IDC_EAP_GKUI_UNIT,
                          IDC_EAP_NAP_LABEL};
  for (int id : labelIds) {
    m_labels[m_nLabels].SubclassDlgItem(id, this);
    UseLabelFont({&m_labels[m_nLabels++]});
  }
  m_labels[m_nLabels].SubclassDlgItem(m_ids.title, this);
  UseHeadingFont(m_labels[m_nLabels++]);

  m_edInterval.LimitText(kMaxInterval);
  m_edPrimaryPort.LimitText(kMaxPort);
  for (CEdit* secret : {&m_edPrimarySecret, &m_edBackupSecret, &m_edAccountingSecret, &m_edBackupAccountingSecret})
    secret->LimitText(kMaxSecret);

  SetText(m_ids.title, "IDS_UI_EAP_SETTING");
  SetText(IDC_EAP_GKUI_LABEL, m_ids.intervalLabelKey);
  SetText(IDC_EAP_GKUI_UNIT, "IDS_UI_WPA_GUKI_UNIT");
  SetText(m_ids.priTitle, "IDS_UI_EAP_PRISETTING");
  SetText(m_ids.priServerLabel, "IDS_UI_EAP_PRISERVER");
  SetText(m_ids.priPortLabel, "IDS_UI_EAP_PRIPORT");
  SetText(m_ids.priSecretLabel, "IDS_UI_EAP_PRIKEY");
  return TRUE;
}

bool CRadiusSecurityDlg::IsClearControl(int id) const { return id >= IDC_EAP_NAP_DISABLE && id <= IDC_EAP_INTERNAL; }

void CRadiusSecurityDlg::Offset(int id, int dy) {
  CWnd* control = GetDlgItem(id);
  CRect rect;
  control->GetWindowRect(&rect);
  ScreenToClient(&rect);
  control->SetWindowPos(nullptr, rect.left, rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CRadiusSecurityDlg::Resize(int id, int cx, int cy) {
  GetDlgItem(id)->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CRadiusSecurityDlg::HideModeRowAndMovePrimaryUp(int shownHeight) {
  for (int id : {m_ids.modeLabel, m_ids.modeTitle, m_ids.frames[kModeFrame], IDC_EAP_EXTERNAL, IDC_EAP_INTERNAL})
    GetDlgItem(id)->ShowWindow(SW_HIDE);
  for (int id : {m_ids.priTitle, m_ids.frames[kPrimaryFrame], m_ids.priServerLabel, IDC_EAP_PRI_SERVER,
                 m_ids.priPortLabel, IDC_EAP_PRI_PORT})
    Offset(id, -kGroupRise);
  Offset(m_ids.priSecretLabel, -kSecretRise);
  Offset(IDC_EAP_PRI_SECRET, -kSecretRise);
  Resize(IDC_EAP_PRI_SERVER, kServerField.cx, kServerField.cy);
  Resize(IDC_EAP_PRI_PORT, kPortField.cx, kPortField.cy);
  Resize(IDC_EAP_PRI_SECRET, kSecretField.cx, kSecretField.cy);

  // The outer frame closes below the primary group, inside what the page shows.
  CRect outer, primary;
  m_frames[kOuterFrame].GetWindowRect(&outer);
  m_frames[kPrimaryFrame].GetWindowRect(&primary);
  ScreenToClient(&outer);
  ScreenToClient(&primary);
  const int bottom = std::min(primary.bottom + kOuterMargin, shownHeight - 1);
  Resize(m_ids.frames[kOuterFrame], outer.Width(), bottom - outer.top);
}

void CRadiusSecurityDlg::EnableRadiusFields(BOOL enable) {
  for (int id : kRadiusFieldIds) GetDlgItem(id)->EnableWindow(enable);
}

void CRadiusSecurityDlg::UpdateAccountingFields() {
  const BOOL enable = m_cbAccountingMode.GetCurSel() != 0;
  for (int id : kAccountingFieldIds) GetDlgItem(id)->EnableWindow(enable);
}

void CRadiusSecurityDlg::OnRadiusMode(UINT id) {
  if (id == IDC_EAP_EXTERNAL) {
    EnableRadiusFields(TRUE);
    m_cbAccountingMode.EnableWindow(TRUE);
    UpdateAccountingFields();
  } else if (id == IDC_EAP_INTERNAL) {
    EnableRadiusFields(FALSE);
    m_cbAccountingMode.EnableWindow(FALSE);
    for (int field : kAccountingFieldIds) GetDlgItem(field)->EnableWindow(FALSE);
  }
}

void CRadiusSecurityDlg::OnAccountingModeChange() { UpdateAccountingFields(); }

void CRadiusSecurityDlg::OnAccountingModeKillFocus() {
  m_cbAccountingMode.Invalidate();
  m_cbAccountingMode.UpdateWindow();
}

void CRadiusSecurityDlg::LoadFromBound() {
  m_nNap = m_cbNapCarrier.GetCurSel();
  // The server-mode row is hidden and its variable never sent: whatever the
  // device's RADIUS source, the fields are used as for an external server.
  m_nRadiusMode = m_cbSourceCarrier.GetCurSel();
  UpdateData(FALSE);
  m_nRadiusMode = kExternal;
  m_cbAccountingMode.SetCurSel(m_cbAccountingCarrier.GetCurSel());
  UpdateAccountingFields();
  LoadWpaFromBound();
  EnableRadiusFields(TRUE);
  OnRadiusMode(IDC_EAP_EXTERNAL);
}

int CRadiusSecurityDlg::StoreToBound() {
  if (!UpdateData(TRUE)) return 0;
  m_cbNapCarrier.SetCurSel(m_nNap);
  m_cbAccountingCarrier.SetCurSel(m_cbAccountingMode.GetCurSel());
  m_cbSourceCarrier.SetCurSel(m_nRadiusMode == kExternal ? 1 : 0);
  return StoreWpaToBound();
}

BOOL CRadiusSecurityDlg::Validate() {
  if (!UpdateData(TRUE)) return FALSE;
  CString interval, port, server, secret;
  m_edInterval.GetWindowText(interval);
  m_edPrimaryPort.GetWindowText(port);
  m_ipPrimary.GetWindowText(server);
  m_edPrimarySecret.GetWindowText(secret);
  if (!IsNumberInRange(interval, 300, 9999999)) {
    Refuse(m_ids.intervalMessageKey, IDC_EAP_GKUI);
    return FALSE;
  }
  if (!IsNumberInRange(port, 1, 65535)) {
    Refuse("IDS_MSG_EAP_PRP", IDC_EAP_PRI_PORT);
    return FALSE;
  }
  if (!IsValidIpText(server)) {
    Refuse("IDS_MSG_EAP_SERVERIP", IDC_EAP_PRI_SERVER);
    return FALSE;
  }
  if (secret.IsEmpty()) {
    Refuse("IDS_MSG_EAP_SERVERSEC", IDC_EAP_PRI_SECRET);
    return FALSE;
  }
  if (!IsAsciiText(secret) || !IsNotAllSpaces(secret)) {
    Refuse("IDS_MSG_EAP_SERVERINV", IDC_EAP_PRI_SECRET);
    return FALSE;
  }
  return TRUE;
}

// ---------------------------------------------------------------- 802.1X

CDot1xSecurityDlg::CDot1xSecurityDlg(CWnd* pParent)
    : CRadiusSecurityDlg(IDD_DOT1X_SECURITY, pParent, kDot1xIds, /*nothing selected*/ -1) {}

BOOL CDot1xSecurityDlg::OnInitDialog() {
  CRadiusSecurityDlg::OnInitDialog();
  m_frames[kNapFrame].ShowWindow(SW_HIDE);
  HideModeRowAndMovePrimaryUp(kShownHeight);
  return TRUE;
}

bool CDot1xSecurityDlg::IsClearControl(int id) const {
  return CRadiusSecurityDlg::IsClearControl(id) || id == IDC_EAP_GKUI_UNIT;
}

// ---------------------------------------------------------------- WPA-Enterprise

CWpaEnterpriseDlg::CWpaEnterpriseDlg(CWnd* pParent)
    : CRadiusSecurityDlg(IDD_WPA_ENTERPRISE, pParent, kWpaIds, /*Disable, External*/ 0) {}

void CWpaEnterpriseDlg::DoDataExchange(CDataExchange* pDX) {
  CRadiusSecurityDlg::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_EAP_WPA_MODE, m_cbWpaMode);
  DDX_Control(pDX, IDC_EAP_CIPHER, m_cbCipher);
  DDX_Control(pDX, IDC_EAP_CIPHER_CARRIER, m_cbCipherCarrier);
}

BOOL CWpaEnterpriseDlg::OnInitDialog() {
  CRadiusSecurityDlg::OnInitDialog();
  for (int id : {IDC_EAP_NAP_TITLE, IDC_EAP_WPA_MODE_LABEL, IDC_EAP_CIPHER_LABEL}) {
    m_labels[m_nLabels].SubclassDlgItem(id, this);
    UseLabelFont({&m_labels[m_nLabels++]});
  }
  SetText(IDC_EAP_NAP_TITLE, "IDS_UI_EAP_NET");
  SetText(IDC_EAP_NAP_DISABLE, "IDS_UI_DISABLE");
  SetText(IDC_EAP_NAP_ENABLE, "IDS_UI_ENABLE");
  SetText(IDC_EAP_WPA_MODE_LABEL, "IDS_UI_WPA_MODE");
  SetText(IDC_EAP_CIPHER_LABEL, "IDS_UI_WPA_KEYTYPE");
  RefillCombo(m_cbWpaMode, {"IDS_UI_WPA_MODE_AUTO", "IDS_UI_WPA_MODE_WPA2", "IDS_UI_WPA_MODE_WPA"});
  RefillCombo(m_cbCipher, {"IDS_UI_WPA_KEYTYPE_AUTO", "IDS_UI_WPA_KEYTYPE_AES", "IDS_UI_WPA_KEYTYPE_TKIP"});
  HideModeRowAndMovePrimaryUp(kShownHeight);
  return TRUE;
}

void CWpaEnterpriseDlg::BindList(SnmpControlVarList& list) {
  CRadiusSecurityDlg::BindList(list);
  list.BindControl(kCipherRow, &m_cbCipherCarrier);
}

void CWpaEnterpriseDlg::SetWpaMode(int index) { m_cbWpaMode.SetCurSel(index); }

void CWpaEnterpriseDlg::LoadWpaFromBound() { m_cbCipher.SetCurSel(std::max(m_cbCipherCarrier.GetCurSel(), 0)); }

int CWpaEnterpriseDlg::StoreWpaToBound() {
  m_cbCipherCarrier.SetCurSel(m_cbCipher.GetCurSel());
  return UpdateData(FALSE);
}
