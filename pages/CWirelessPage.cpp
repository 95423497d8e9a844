#include "CWirelessPage.h"

#include <algorithm>

#include "CRadiusSecurityDlg.h"
#include "CVHException.h"
#include "CWepKeyDlg.h"
#include "CWizardApp.h"
#include "CWpaPersonalDlg.h"
#include "InputChecks.h"
#include "LangText.h"
#include "MibTables.h"
#include "PageRegistry.h"
#include "SecurityDlgBase.h"
#include "SecurityRes.h"
#include "SnmpControlVarList.h"
#include "WizardFlows.h"
#include "WizardFont.h"
#include "WizardRes.h"
#include "WizardUi.h"

namespace {


// Request time-outs, in units of 10 ms.
const int kShortTimeout = 1000, kLongTimeout = 10000;
enum RequestMode { kSynchronous = 0, kAsynchronous = 1 };
const int kItemSingle = 1, kItemTable = 3;

const int kMaxSsid = 32;
const int kEnterpriseHeight = 200, kDot1xHeight = 150;
// The scroll bar's range is fixed whatever the dialog's height.
const int kScrollRange = 140;
// Auto Channel Scan shows this item of the channel combo.
const int kAutoChannelItem = 5;

// Indexes of the hidden authentication combo, the order of the device's
// option list: 1 Open System, 2 Shared Key, 4 WPA-Personal, 5 WPA-Enterprise,
// 6 WPA2-Personal, 7 WPA2-Enterprise, 8 and 9 the WPA-Auto kinds, 10 802.1x.
enum AuthIndex { kOpenIndex = 0, kSharedIndex = 1, kWpaPersonalIndex = 2, kWpaEnterpriseIndex = 3,
                 kWpa2PersonalIndex = 4, kWpa2EnterpriseIndex = 5, kAutoPersonalIndex = 6,
                 kAutoEnterpriseIndex = 7, kDot1xIndex = 8 };
// WPA mode combo indexes of the two WPA dialogs.
enum WpaMode { kModeAuto = 0, kModeWpa2 = 1, kModeWpa = 2 };

// The texts an authentication item may have; the Chinese ones in GBK.
const struct {
  const char* text;
  CWirelessPage::AuthKind kind;
} kAuthTexts[] = {
    {"Open System", CWirelessPage::kOpenSystem},
    {"\xBF\xAA\xB7\xC5\xCF\xB5\xCD\xB3", CWirelessPage::kOpenSystem},
    {"Shared Key", CWirelessPage::kSharedKey},
    {"\xB9\xB2\xCF\xED\xC3\xDC\xD4\xBF", CWirelessPage::kSharedKey},
    {"WPA-Personal", CWirelessPage::kWpaPersonal},
    {"WPA-\xB8\xF6\xC8\xCB\xD3\xC3\xBB\xA7", CWirelessPage::kWpaPersonal},
    {"WPA-Enterprise", CWirelessPage::kWpaEnterprise},
    {"WPA-\xC6\xF3\xD2\xB5\xD3\xC3\xBB\xA7", CWirelessPage::kWpaEnterprise},
    {"802.1x", CWirelessPage::kDot1x},
};

CWirelessPage::AuthKind KindOfAuthIndex(int index) {
  switch (index) {
    case kOpenIndex: return CWirelessPage::kOpenSystem;
    case kSharedIndex: return CWirelessPage::kSharedKey;
    case kWpaPersonalIndex: case kWpa2PersonalIndex: case kAutoPersonalIndex: return CWirelessPage::kWpaPersonal;
    case kWpaEnterpriseIndex: case kWpa2EnterpriseIndex: case kAutoEnterpriseIndex:
      return CWirelessPage::kWpaEnterprise;
    case kDot1xIndex: return CWirelessPage::kDot1x;
    default: return CWirelessPage::kNoAuth;
  }
}

int PersonalIndexOfMode(int mode) {
  return mode == kModeWpa2 ? kWpa2PersonalIndex : mode == kModeWpa ? kWpaPersonalIndex : kAutoPersonalIndex;
}
int EnterpriseIndexOfMode(int mode) {
  return mode == kModeWpa2 ? kWpa2EnterpriseIndex : mode == kModeWpa ? kWpaEnterpriseIndex : kAutoEnterpriseIndex;
}

void SetAccess(SnmpControlVarList* list, int row, int access) {
  list->m_Request.m_VarList.GetItem(row)->access = access;
}

void Write(SnmpControlVarList* list) { list->Set(TRUE, TRUE, "", nullptr); }

}  // namespace

CWirelessPage::AuthKind CWirelessPage::AuthKindOfText(const CString& text) {
  for (const auto& entry : kAuthTexts)
    if (text == entry.text) return entry.kind;
  return kNoAuth;
}

CWirelessPage::CWirelessPage() : CWirelessPage(IDD_PAGE_WIRELESS, 10) {}
CWirelessPage::CWirelessPage(UINT templateId, int scrollLine)
    : CWizardPage(templateId, nullptr), m_nScrollLine(scrollLine) {}
CWirelessPage::~CWirelessPage() = default;

BEGIN_MESSAGE_MAP(CWirelessPage, CWizardPage)
  ON_MESSAGE(WM_PAGE_START, OnPageStart)
  ON_CBN_SELCHANGE(IDC_WL_AUTH, ShowSecurityDialog)
  ON_BN_CLICKED(IDC_WL_AUTO_CHANNEL, OnAutoChannelScan)
  ON_CBN_SELCHANGE(IDC_WL_BAND, OnBandChange)
  ON_CBN_KILLFOCUS(IDC_WL_CHANNEL, OnChannelKillFocus)
  ON_WM_VSCROLL()
  ON_WM_CTLCOLOR()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

void CWirelessPage::DoDataExchange(CDataExchange* pDX) {
  CWizardPage::DoDataExchange(pDX);
  const int labelIds[] = {IDC_WL_SSID_LABEL, IDC_WL_CHANNEL_LABEL, IDC_WL_AUTH_LABEL, IDC_WL_BAND_LABEL};
  for (int i = 0; i < 4; ++i) DDX_Control(pDX, labelIds[i], m_labels[i]);
  DDX_Control(pDX, IDC_WL_BAND, m_cbBand);
  DDX_Control(pDX, IDC_WL_SSID, m_edSsid);
  DDX_Control(pDX, IDC_WL_CHANNEL, m_cbChannel);
  DDX_Control(pDX, IDC_WL_AUTO_CHANNEL, m_chkAutoChannel);
  DDX_Control(pDX, IDC_WL_AUTH, m_cbAuth);
  DDX_Control(pDX, IDC_WL_SECURITY_AREA, m_securityArea);
  DDX_Control(pDX, IDC_WL_SECURITY_SCROLL, m_securityScroll);
  DDX_Control(pDX, IDC_WL_CHANNEL_CARRIER, m_edChannel);
  DDX_Control(pDX, IDC_WL_CHANNELS24_CARRIER, m_edChannels24);
  DDX_Control(pDX, IDC_WL_CHANNELS5_CARRIER, m_edChannels5);
  DDX_Control(pDX, IDC_WL_AUTH_CARRIER, m_cbAuthCarrier);
  DDX_Control(pDX, IDC_WL_BAND_CARRIER, m_cbBandCarrier);
  DDX_Control(pDX, IDC_WL_MSSID_CARRIER, m_cbMssidCarrier);
  DDX_Control(pDX, IDC_WL_COUNTRY_CARRIER, m_edCountry);
}

BOOL CWirelessPage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  CreateWizardFont(m_bigFont, 10, 10);  // made, as the design has it, and not used
  CreateWizardFont(m_labelFont, 6, 6);
  for (CRTStatic& label : m_labels) {
    label.SetFont(&m_labelFont);
    label.SetTransparent(1);
  }
  m_chkAutoChannel.SetFont(&m_labelFont);

  m_pWepDlg = new CWepKeyDlg(this);
  m_pWepDlg->Create(IDD_WEP_KEY, this);
  m_pWpaEnterpriseDlg = new CWpaEnterpriseDlg(this);
  m_pWpaEnterpriseDlg->Create(IDD_WPA_ENTERPRISE, this);
  m_pWpaPersonalDlg = new CWpaPersonalDlg(this);
  m_pWpaPersonalDlg->Create(IDD_WPA_PERSONAL, this);
  m_pDot1xDlg = new CDot1xSecurityDlg(this);
  m_pDot1xDlg->Create(IDD_DOT1X_SECURITY, this);
  ShowOnly(nullptr);
  m_pCurrentDlg = m_pWepDlg;

  SetLangText(m_labels[0], m_pApp, "IDS_UI_SSID");
  SetLangText(m_labels[1], m_pApp, "IDS_UI_CHANNEL");
  SetLangText(m_labels[2], m_pApp, "IDS_UI_AUTH");
  SetLangText(m_labels[3], m_pApp, "IDS_UI_BAND");
  SetLangText(m_chkAutoChannel, m_pApp, "IDS_UI_CHANNEL_AUTO");
  FillAuthCombo(FALSE);

  m_pBandList = NewList(g_mibBand, kItemSingle, 0, kShortTimeout);
  m_pBandList->SetMode(kAsynchronous);
  m_pBandList->BindControl(0, &m_cbBandCarrier);
  m_pBandList->SetGetCallback(&CWirelessPage::OnBandRead, this);
  m_pBandList->SetSetCallback(&CWirelessPage::OnBandWritten, this);
  // Given its target and kept, never read or written.
  m_pCountryList = NewList(g_mibCountry, kItemSingle, 0, kShortTimeout);
  m_pCountryList->BindControl(0, &m_edCountry);
  for (SnmpControlVarList** list : {&m_pSsidList, &m_pMssidList, &m_pWepTableList, &m_pWepOptionsList,
                                    &m_pPassPhraseList, &m_pKeyChangeList, &m_pWpaEnterpriseList, &m_pDot1xList})
    *list = new SnmpControlVarList(this);

  m_edSsid.LimitText(kMaxSsid);
  m_securityScroll.ShowWindow(SW_HIDE);
  return TRUE;
}

void CWirelessPage::OnDestroy() {
  CWizardPage::OnDestroy();
  for (SnmpControlVarList** list : {&m_pDot1xList, &m_pBandList, &m_pWpaEnterpriseList, &m_pPassPhraseList,
                                    &m_pWepOptionsList, &m_pWepTableList, &m_pSsidList, &m_pKeyChangeList}) {
    delete *list;
    *list = nullptr;
  }
  for (CDialog** dialog : {reinterpret_cast<CDialog**>(&m_pWepDlg), reinterpret_cast<CDialog**>(&m_pWpaPersonalDlg),
                           reinterpret_cast<CDialog**>(&m_pWpaEnterpriseDlg), reinterpret_cast<CDialog**>(&m_pDot1xDlg)}) {
    if (*dialog) {
      (*dialog)->DestroyWindow();
      delete *dialog;
      *dialog = nullptr;
    }
  }
  m_pCurrentDlg = nullptr;
  delete m_pMssidList;
  m_pMssidList = nullptr;
  delete m_pCountryList;
  m_pCountryList = nullptr;
}

HBRUSH CWirelessPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  // The SSID edit keeps its own white field: the page's hollow brush would
  // leave its dark text on the dark skin.
  if (nCtlColor == CTLCOLOR_EDIT) return CRTDialog::OnCtlColor(pDC, pWnd, nCtlColor);
  HBRUSH brush = CWizardPage::OnCtlColor(pDC, pWnd, nCtlColor);
  if (pWnd && pWnd->GetDlgCtrlID() == IDC_WL_AUTO_CHANNEL) {
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0xFF, 0xFF, 0xFF));
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  }
  return brush;
}

// ---------------------------------------------------------------- lists and target

void CWirelessPage::ApplyTarget(SnmpControlVarList* list) {
  SnmpRequest& request = list->m_Request;
  request.m_strAgent = m_strTargetIp;
  request.m_nPort = 161;
  request.m_strReadCommunity = m_strTargetRead;
  request.m_strWriteCommunity = m_strTargetWrite;
}

SnmpControlVarList* CWirelessPage::NewList(const SnmpVarItem* table, int itemType, int keyCount, int timeout) {
  auto* list = new SnmpControlVarList(this);
  list->m_Request.m_VarList = SnmpVarList(table, itemType, keyCount);
  list->SetMode(kSynchronous);
  list->m_Request.m_nTimeout = timeout;
  ApplyTarget(list);
  return list;
}

void CWirelessPage::Rebuild(SnmpControlVarList*& list, const SnmpVarItem* table, int itemType, int keyCount) {
  // A fresh list: the table's own access flags, and no bindings left from the last entry.
  delete list;
  list = NewList(table, itemType, keyCount, kLongTimeout);
}

void CWirelessPage::SetSnmpTarget(CString agentIp, CString readCommunity, CString writeCommunity) {
  m_strTargetIp = agentIp;
  m_strTargetRead = readCommunity;
  m_strTargetWrite = writeCommunity;
  for (SnmpControlVarList* list : {m_pBandList, m_pSsidList, m_pMssidList, m_pCountryList, m_pWepTableList,
                                   m_pWepOptionsList, m_pPassPhraseList, m_pKeyChangeList, m_pWpaEnterpriseList,
                                   m_pDot1xList})
    if (list) ApplyTarget(list);
}

// ---------------------------------------------------------------- entry and reading

void CWirelessPage::OnEnterPage() {
  m_bFinished = FALSE;
  SetSnmpTarget(m_strAgentIp, m_strReadCommunity, m_strWriteCommunity);
  PostMessage(WM_PAGE_START);
}

LRESULT CWirelessPage::OnPageStart(WPARAM, LPARAM) {
  StartBandRead();
  return 0;
}

void CWirelessPage::StartBandRead() {
  try {
    m_pBandList->Get();
  } catch (CVHException* e) {
    e->Delete();
  }
}

void CWirelessPage::OnBandRead(SnmpBoundVarList*, SnmpRequestResult* result, void* user) {
  auto* page = static_cast<CWirelessPage*>(user);
  if (!result || result->nCode != 0 || !::IsWindow(page->GetSafeHwnd())) return;
  // This runs from the SNMP session's event timer: an exception must not
  // leave it. A failed multiple-SSID read leaves the page as it was.
  try {
    page->BindBandLists(page->m_cbBandCarrier.GetCurSel());
  } catch (CVHException* e) {
    e->Delete();
    return;
  }
  page->m_cbBand.SetCurSel(page->m_cbBandCarrier.GetCurSel());
  page->ReadSettings();
}

void CWirelessPage::OnBandWritten(SnmpBoundVarList*, SnmpRequestResult* result, void* user) {
  auto* page = static_cast<CWirelessPage*>(user);
  if (result && result->nCode == 0 && ::IsWindow(page->GetSafeHwnd())) page->ReadSettings();
}

void CWirelessPage::BindBandLists(int) {
  // The bindings are the same for both bands.
  delete m_pMssidList;
  m_pMssidList = NewList(g_mibMssid, kItemSingle, 0, kShortTimeout);
  m_pMssidList->BindControl(0, &m_cbMssidCarrier);
  m_pMssidList->Get();
  FillAuthCombo(m_cbMssidCarrier.GetCurSel() != 0);

  Rebuild(m_pSsidList, g_mibWireless);
  m_pSsidList->BindControl(0, &m_edSsid);
  m_pSsidList->BindControl(1, &m_edChannel);
  m_pSsidList->BindControl(2, &m_edChannels24);
  m_pSsidList->BindControl(3, &m_edChannels5);
  m_pSsidList->BindControl(4, &m_chkAutoChannel);
  m_pSsidList->BindControl(5, &m_cbAuthCarrier);
  Rebuild(m_pWepTableList, g_mibWepKeyTable, kItemTable, 2);
  Rebuild(m_pWepOptionsList, g_mibWep);
  m_pWepDlg->BindLists(*m_pWepTableList, *m_pWepOptionsList);
  Rebuild(m_pPassPhraseList, g_mibPassPhrase);
  Rebuild(m_pKeyChangeList, g_mibAutoRekey);
  m_pWpaPersonalDlg->BindLists(*m_pPassPhraseList, *m_pKeyChangeList);
  Rebuild(m_pWpaEnterpriseList, g_mibRadiusWpa);
  m_pWpaEnterpriseDlg->BindList(*m_pWpaEnterpriseList);
  Rebuild(m_pDot1xList, g_mibRadius);
  m_pDot1xDlg->BindList(*m_pDot1xList);
  m_bListsBuilt = TRUE;
}

void CWirelessPage::FillAuthCombo(BOOL withoutSharedKey) {
  m_cbAuth.ResetContent();
  for (const char* key : {"IDS_UI_AUTH_WEP", "IDS_UI_AUTH_SHKEY", "IDS_UI_AUTH_PSK", "IDS_UI_AUTH_EAP",
                          "IDS_UI_AUTH_802"}) {
    if (withoutSharedKey && CString(key) == "IDS_UI_AUTH_SHKEY") continue;
    m_cbAuth.AddString(LangText(m_pApp, key));
  }
  UpdateData(TRUE);
}

int CWirelessPage::ReadSettings() {
  try {
    m_pSsidList->Get();
    const int band = m_cbBand.GetCurSel();
    if (band == 0) FillComboFromText(&m_edChannels24, &m_cbChannel, &m_edChannel);
    else if (band == 1) FillComboFromText(&m_edChannels5, &m_cbChannel, &m_edChannel);

    const AuthKind kind = KindOfAuthIndex(m_cbAuthCarrier.GetCurSel());
    for (int i = 0; i < m_cbAuth.GetCount(); ++i) {
      CString text;
      m_cbAuth.GetLBText(i, text);
      if (kind != kNoAuth && AuthKindOfText(text) == kind) m_cbAuth.SetCurSel(i);
    }
    ShowSecurityDialog();

    m_pWepTableList->Get();
    m_pWepOptionsList->Get();
    m_pWepDlg->LoadFromBound();
    m_pPassPhraseList->Get();
    m_pKeyChangeList->Get();
    m_pWpaPersonalDlg->LoadFromBound();
    m_pDot1xList->Get();
    m_pDot1xDlg->LoadFromBound();
    m_pWpaEnterpriseList->Get();
    m_pWpaEnterpriseDlg->LoadFromBound();
    SyncWpaMode();
    OnAutoChannelScan();
    ShowSecurityDialog();
    return 1;
  } catch (CVHException* e) {
    e->Delete();
    return 0;
  }
}

void CWirelessPage::SyncWpaMode() {
  int mode = kModeAuto;
  switch (m_cbAuthCarrier.GetCurSel()) {
    case kWpaPersonalIndex: case kWpaEnterpriseIndex: mode = kModeWpa; break;
    case kWpa2PersonalIndex: case kWpa2EnterpriseIndex: mode = kModeWpa2; break;
  }
  m_pWpaEnterpriseDlg->SetWpaMode(mode);
  m_pWpaPersonalDlg->SetWpaMode(mode);
}

// ---------------------------------------------------------------- visible controls

void CWirelessPage::OnAutoChannelScan() {
  if (m_chkAutoChannel.GetCheck()) {
    m_cbChannel.EnableWindow(FALSE);
    m_cbChannel.SetCurSel(kAutoChannelItem);
  } else {
    m_cbChannel.EnableWindow(TRUE);
  }
}

void CWirelessPage::OnBandChange() {
  if (UpdateData(TRUE)) m_cbBandCarrier.SetCurSel(m_cbBand.GetCurSel());
}

void CWirelessPage::OnChannelKillFocus() {
  m_cbChannel.Invalidate();
  m_cbChannel.UpdateWindow();
}

CWirelessPage::AuthKind CWirelessPage::SelectedAuthKind() {
  const int selected = m_cbAuth.GetCurSel();
  if (selected < 0) return kNoAuth;
  CString text;
  m_cbAuth.GetLBText(selected, text);
  return AuthKindOfText(text);
}

void CWirelessPage::ShowOnly(CDialog* shown) {
  for (CDialog* dialog : {static_cast<CDialog*>(m_pWepDlg), static_cast<CDialog*>(m_pWpaEnterpriseDlg),
                          static_cast<CDialog*>(m_pWpaPersonalDlg), static_cast<CDialog*>(m_pDot1xDlg)})
    if (dialog && dialog != shown) dialog->ShowWindow(SW_HIDE);
  if (shown) shown->ShowWindow(SW_SHOW);
}

void CWirelessPage::ShowSecurityDialog() {
  if (!UpdateData(TRUE)) return;
  m_securityScroll.ShowWindow(SW_HIDE);
  CRect area;
  m_securityArea.GetWindowRect(&area);
  ScreenToClient(&area);
  const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE;
  switch (SelectedAuthKind()) {
    case kOpenSystem:
    case kSharedKey:
      m_pWepDlg->SetWindowPos(nullptr, area.left, area.top, 0, 0, keep | SWP_NOSIZE);
      m_pWepDlg->AllowDisable(SelectedAuthKind() == kOpenSystem);
      ShowOnly(m_pWepDlg);
      m_pCurrentDlg = m_pWepDlg;
      break;
    case kWpaPersonal:
      m_pWpaPersonalDlg->SetWindowPos(nullptr, area.left, area.top, 0, 0, keep | SWP_NOSIZE);
      ShowOnly(m_pWpaPersonalDlg);
      m_pCurrentDlg = m_pWpaPersonalDlg;
      break;
    case kWpaEnterprise:
      m_pWpaEnterpriseDlg->SetWindowPos(nullptr, area.left, area.top, area.Width(), kEnterpriseHeight, keep);
      ShowOnly(m_pWpaEnterpriseDlg);
      m_pCurrentDlg = m_pWpaEnterpriseDlg;
      ResetSecurityScroll();
      break;
    case kDot1x:
      m_pDot1xDlg->SetWindowPos(nullptr, area.left, area.top, area.Width(), kDot1xHeight, keep);
      ShowOnly(m_pDot1xDlg);
      m_pCurrentDlg = m_pDot1xDlg;
      ResetSecurityScroll();
      break;
    case kNoAuth:
      break;
  }
}

// ---------------------------------------------------------------- the security area's scrolling

void CWirelessPage::ResetSecurityScroll() {
  m_scrollPage = m_scrollTotal = m_scrollPos = CSize(0, 0);
  CRect area;
  m_securityArea.GetClientRect(&area);
  m_scrollTotal = area.Size();
  UpdateSecurityScroll();
}

void CWirelessPage::UpdateSecurityScroll() {
  if (!m_pCurrentDlg) return;
  CRect view, window;
  m_pCurrentDlg->GetClientRect(&view);
  m_pCurrentDlg->GetWindowRect(&window);
  const int barWidth = ::GetSystemMetrics(SM_CXVSCROLL), barHeight = ::GetSystemMetrics(SM_CYHSCROLL);
  if (window.Width() - view.Width() >= barWidth) view.right += barWidth;
  if (window.Height() - view.Height() >= barHeight) view.bottom += barHeight;

  const int v = view.Height(), t = m_scrollTotal.cy;
  int delta;
  if (v < t) {
    if (m_scrollPage.cy > 0 && m_scrollPos.cy > 0)
      m_scrollPos.cy = static_cast<int>(static_cast<double>(m_scrollPos.cy) * v / m_scrollPage.cy);
    m_scrollPage.cy = v;
    m_scrollPos.cy = std::min(m_scrollPos.cy, t - v - 1);
    delta = m_pCurrentDlg->GetScrollPos(SB_VERT) - m_scrollPos.cy;
    m_securityScroll.ShowWindow(SW_HIDE);
  } else {
    m_scrollPage.cy = 0;
    m_scrollPos.cy = 0;
    delta = m_pCurrentDlg->GetScrollPos(SB_VERT);
    m_securityScroll.ShowWindow(SW_SHOW);
  }
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = kScrollRange;
  info.nPage = static_cast<UINT>(m_scrollPage.cy);
  info.nPos = m_scrollPos.cy;
  m_securityScroll.SetScrollInfo(&info, TRUE);
  if (delta != 0) m_pCurrentDlg->ScrollWindow(0, delta);
}

void CWirelessPage::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (pScrollBar && pScrollBar->GetDlgCtrlID() == IDC_WL_SECURITY_SCROLL)
    OnSecurityScroll(nSBCode, static_cast<int>(nPos));
}

void CWirelessPage::OnSecurityScroll(UINT code, int thumb) {
  int delta;
  switch (code) {
    case SB_LINEUP: delta = -m_nScrollLine; break;
    case SB_LINEDOWN: delta = m_nScrollLine; break;
    case SB_PAGEUP: delta = -m_scrollPage.cy; break;
    case SB_PAGEDOWN: delta = m_scrollPage.cy; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: delta = thumb - m_scrollPos.cy; break;
    default: return;
  }
  if (m_scrollPos.cy + delta < 0) delta = -m_scrollPos.cy;
  if (m_scrollPos.cy + delta > (m_scrollTotal.cy - m_scrollPage.cy) - 10)
    delta = m_scrollTotal.cy - m_scrollPage.cy - m_scrollPos.cy - 5;
  if (delta == 0 || !m_pCurrentDlg) return;
  m_scrollPos.cy += delta;
  m_pCurrentDlg->SetScrollPos(SB_VERT, m_scrollPos.cy, TRUE);
  m_securityScroll.SetScrollPos(m_scrollPos.cy, FALSE);
  m_pCurrentDlg->ScrollWindow(0, -delta);
}

// ---------------------------------------------------------------- writing

BOOL CWirelessPage::CheckSsid() {
  CString ssid;
  m_edSsid.GetWindowText(ssid);
  if (!ssid.IsEmpty() && IsAsciiText(ssid) && ssid[0] != ' ' && ssid[ssid.GetLength() - 1] != ' ') return TRUE;
  ShowSkinMessage(LangText(m_pApp, "IDS_MSG_SSID_INV"), FALSE);
  m_edSsid.SetFocus();
  return FALSE;
}

// The authentication the device is to use, from the shown security dialog's
// mode where the mode names it.
void CWirelessPage::SelectAuthCarrier(AuthKind kind) {
  switch (kind) {
    case kOpenSystem:
    case kSharedKey: m_cbAuthCarrier.SetCurSel(m_cbAuth.GetCurSel()); break;
    case kWpaPersonal:
      m_cbAuthCarrier.SetCurSel(PersonalIndexOfMode(m_pWpaPersonalDlg->m_cbWpaMode.GetCurSel()));
      break;
    case kWpaEnterprise:
      m_cbAuthCarrier.SetCurSel(EnterpriseIndexOfMode(m_pWpaEnterpriseDlg->m_cbWpaMode.GetCurSel()));
      break;
    case kDot1x: m_cbAuthCarrier.SetCurSel(kDot1xIndex); break;
    case kNoAuth: break;
  }
}

// A key goes out only when the operator typed one.
BOOL CWirelessPage::WriteWepSettings() {
  if (!m_pWepDlg->Validate()) return FALSE;
  SetAccess(m_pWepTableList, CWepKeyDlg::kKeyRow, m_pWepDlg->m_edKey.GetModify() ? SVA_READWRITE : SVA_INVALID);
  m_pWepDlg->UpdateData(TRUE);
  m_pWepDlg->StoreToBound();
  Write(m_pWepTableList);
  Write(m_pWepOptionsList);
  return TRUE;
}

// A periodical key change writes its schedule and no pass phrase; a manual
// one writes the pass phrase, if typed, and no schedule.
BOOL CWirelessPage::WriteWpaPersonalSettings() {
  if (!m_pWpaPersonalDlg->Validate()) return FALSE;
  // Whatever the storing step says, the writes go on.
  m_pWpaPersonalDlg->StoreToBound();
  const bool periodical = m_pWpaPersonalDlg->m_nKeyMode == CWpaPersonalDlg::kPeriodical;
  const int schedule = periodical ? SVA_READWRITE : SVA_INVALID;
  SetAccess(m_pKeyChangeList, CWpaPersonalDlg::kRekeyControlRow, SVA_READWRITE);
  for (int row : {CWpaPersonalDlg::kRekeyWeekdayRow, CWpaPersonalDlg::kRekeyStartRow,
                  CWpaPersonalDlg::kRekeyIntervalRow})
    SetAccess(m_pKeyChangeList, row, schedule);
  SetAccess(m_pKeyChangeList, CWpaPersonalDlg::kRekeyPassPhraseRow, periodical ? SVA_READ : SVA_INVALID);
  SetAccess(m_pPassPhraseList, CWpaPersonalDlg::kPassPhraseRow,
            !periodical && m_pWpaPersonalDlg->m_edKey.GetModify() ? SVA_READWRITE : SVA_INVALID);
  Write(m_pKeyChangeList);
  Write(m_pPassPhraseList);
  return TRUE;
}

// WPA-Enterprise and 802.1X: the RADIUS servers of their dialog; a port goes
// out only when the operator typed one.
BOOL CWirelessPage::WriteRadiusSettings(AuthKind kind) {
  CRadiusSecurityDlg* dialog = kind == kDot1x ? static_cast<CRadiusSecurityDlg*>(m_pDot1xDlg)
                                              : static_cast<CRadiusSecurityDlg*>(m_pWpaEnterpriseDlg);
  SnmpControlVarList* list = kind == kDot1x ? m_pDot1xList : m_pWpaEnterpriseList;
  if (!dialog->Validate()) return FALSE;
  const struct {
    int row;
    CEdit* port;
  } ports[] = {{CRadiusSecurityDlg::kPrimaryPortRow, &dialog->m_edPrimaryPort},
               {CRadiusSecurityDlg::kBackupPortRow, &dialog->m_edBackupPort},
               {CRadiusSecurityDlg::kAccountingPortRow, &dialog->m_edAccountingPort},
               {CRadiusSecurityDlg::kBackupAccountingPortRow, &dialog->m_edBackupAccountingPort}};
  for (const auto& p : ports) SetAccess(list, p.row, p.port->GetModify() ? SVA_READWRITE : SVA_INVALID);
  dialog->StoreToBound();
  Write(list);
  return TRUE;
}

// The SSID list goes out first, whatever the security dialog then says.
int CWirelessPage::WriteSettings() {
  if (!CheckSsid()) return 0;
  // Until a band read has built the lists there is nothing to write them
  // with: the page stays, and the operator may go back or cancel.
  if (!m_bListsBuilt) return 0;
  try {
    CString channel;
    m_cbChannel.GetWindowText(channel);
    m_edChannel.SetWindowText(channel);

    const AuthKind kind = SelectedAuthKind();
    SelectAuthCarrier(kind);
    SetAccess(m_pSsidList, kChannelRow, m_chkAutoChannel.GetCheck() ? SVA_READ : SVA_READWRITE);
    Write(m_pSsidList);

    switch (kind) {
      case kOpenSystem:
      case kSharedKey: return WriteWepSettings();
      case kWpaPersonal: return WriteWpaPersonalSettings();
      case kWpaEnterprise:
      case kDot1x: return WriteRadiusSettings(kind);
      case kNoAuth: break;
    }
    return 1;
  } catch (CVHException* e) {
    e->Delete();
    return 0;
  }
}

int CWirelessPage::OnNextPage() {
  if (!UpdateData(TRUE)) return kStayOnPage;
  if (!CheckSsid()) return kStayOnPage;
  return WriteSettings() ? kCreateSecondApply : kStayOnPage;
}

int CWirelessPage::OnBackPage() { return kCreateScan; }

// ---------------------------------------------------------------- the modify flow's page

CModifyWirelessPage::CModifyWirelessPage() : CWirelessPage(IDD_PAGE_MODIFY_WIRELESS, 60) {}

void CModifyWirelessPage::OnEnterPage() {
  m_bFinished = FALSE;
  SetSnmpTarget(m_strAgentIp, m_strReadCommunity, m_strWriteCommunity);
  StartBandRead();
}

int CModifyWirelessPage::OnNextPage() { return WriteSettings() ? kModifySecondApply : kStayOnPage; }

int CModifyWirelessPage::OnBackPage() { return kModifyScan; }

void RegisterWirelessPages() {
  RegisterWizardPage(IDD_PAGE_WIRELESS, [] { return new CWirelessPage; });
  RegisterWizardPage(IDD_PAGE_MODIFY_WIRELESS, [] { return new CModifyWirelessPage; });
}
