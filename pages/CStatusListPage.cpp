#include "CStatusListPage.h"

#include <iterator>

#include "CDeviceRecord.h"
#include "CWizardApp.h"
#include "LangText.h"
#include "PageRegistry.h"
#include "ScanPagesRes.h"
#include "WizardFont.h"
#include "WizardRes.h"
#include "WizardUi.h"

namespace {

const struct {
  const char* headerKey;
  int width;
} kColumns[] = {
    {"IDS_UI_LIST_APVEZOVINAME", 120}, {"IDS_UI_LIST_ROLE", 120},     {"IDS_UI_LIST_IP", 120},
    {"IDS_UI_LIST_MAC", 120},          {"IDS_UI_LIST_LOCATION", 100},
};

}  // namespace

CStatusListPage::CStatusListPage() : CWizardPage(IDD_PAGE_STATUS_LIST, nullptr) {}

void CStatusListPage::DoDataExchange(CDataExchange* pDX) {
  CWizardPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_STATUS_LIST_FRAME, m_frame);
  DDX_Control(pDX, IDC_STATUS_LIST_TITLE, m_title);
  DDX_Control(pDX, IDC_STATUS_LIST, m_list);
}

BOOL CStatusListPage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  CreateWizardFont(m_largeTitleFont, 24, 10);
  m_title.SetFont(&m_largeTitleFont, TRUE);
  m_title.SetTransparent(1);
  for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c)
    m_list.InsertColumn(c, LangText(m_pApp, kColumns[c].headerKey), LVCFMT_LEFT, kColumns[c].width);
  m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  CreateWizardFont(m_titleFont, 14, 6);
  CreateWizardFont(m_listFont, 20, 8, FW_NORMAL);
  m_title.SetFont(&m_titleFont);
  m_list.SetFont(&m_listFont);
  return TRUE;
}

// Each visit opens at the list's left edge, the group names in sight, wherever
// the last visit left the horizontal scroll bar.
void CStatusListPage::OnEnterPage() {
  m_bFinished = TRUE;
  m_list.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LEFT, 0), 0);
}

void CStatusListPage::SetGroupList(CPtrList* groups) {
  m_list.DeleteAllItems();
  if (!groups) return;
  for (POSITION pos = groups->GetHeadPosition(); pos;) {
    const auto* member = static_cast<const CDeviceRecord*>(groups->GetNext(pos));
    if (member->m_strGroupName.IsEmpty() || member->m_nConfirmed == 0) continue;
    const int row = m_list.InsertItem(m_list.GetItemCount(), member->m_strGroupName);
    m_list.SetItemText(row, 1, member->m_strRole);
    m_list.SetItemText(row, 2, member->m_strIp);
    m_list.SetItemText(row, 3, member->m_strMac);
    m_list.SetItemText(row, 4, member->m_strLocation);
  }
}

void RegisterStatusListPage() {
  RegisterWizardPage(IDD_PAGE_STATUS_LIST, [] { return new CStatusListPage; });
}
