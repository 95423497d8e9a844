#include "CompletionPages.h"

#include "CWizardApp.h"
#include "DialogPagesRes.h"
#include "LangText.h"
#include "PageRegistry.h"
#include "WizardFont.h"
#include "WizardRes.h"
#include "WizardUi.h"

void RegisterCompletionPages() {
  RegisterWizardPage(IDD_PAGE_CREATE_DONE, [] { return new CCreateDonePage; });
  RegisterWizardPage(IDD_PAGE_MODIFY_DONE, [] { return new CModifyDonePage; });
}

CCompletionPage::CCompletionPage(UINT templateId, LPCTSTR successKey)
    : CWizardPage(templateId, nullptr), m_successKey(successKey) {}

CCompletionPage::~CCompletionPage() = default;

void CCompletionPage::DoDataExchange(CDataExchange* pDX) {
  CWizardPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_DONE_NOTICE, m_stcNotice);
  DDX_Control(pDX, IDC_DONE_MESSAGE, m_stcMessage);
  DDX_Control(pDX, IDC_DONE_TITLE, m_stcTitle);
}

BOOL CCompletionPage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  CreateWizardFont(m_titleFont, 20, 10);
  CreateWizardFont(m_textFont, 6, 6);
  m_stcMessage.SetFont(&m_textFont);
  m_stcMessage.SetTransparent(TRUE);
  m_stcTitle.SetFont(&m_titleFont);
  m_stcTitle.SetTransparent(TRUE);
  m_stcNotice.SetFont(&m_textFont);
  m_stcNotice.SetTransparent(TRUE);
  SetLangText(m_stcTitle, m_pApp, "IDS_UI_COMPLETED");
  SetLangText(m_stcMessage, m_pApp, m_successKey);
  SetLangText(m_stcNotice, m_pApp, "IDS_STR_NOTICE");
  return TRUE;
}

void CCompletionPage::OnEnterPage() { m_bFinished = 1; }

CCreateDonePage::CCreateDonePage() : CCompletionPage(IDD_PAGE_CREATE_DONE, "IDS_UI_CREATE_SU") {}

CModifyDonePage::CModifyDonePage() : CCompletionPage(IDD_PAGE_MODIFY_DONE, "IDS_UI_MODIFY_SU") {}
