#include "GroupNamePage.h"

#include "CWizardApp.h"
#include "DialogPagesRes.h"
#include "InputChecks.h"
#include "LangText.h"
#include "PageRegistry.h"
#include "SkinMessageBox.h"
#include "WizardFlows.h"
#include "WizardFont.h"
#include "WizardRes.h"
#include "WizardUi.h"

namespace {

const int kMaxTextLength = 32;

}  // namespace

void RegisterGroupNamePage() {
  RegisterWizardPage(IDD_PAGE_GROUP_NAME, [] { return new CGroupNamePage; });
}

CGroupNamePage::CGroupNamePage() : CWizardPage(IDD_PAGE_GROUP_NAME, nullptr) {}

CGroupNamePage::~CGroupNamePage() = default;

void CGroupNamePage::DoDataExchange(CDataExchange* pDX) {
  CWizardPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_GROUPNAME_NOTICE, m_stcNotice);
  DDX_Control(pDX, IDC_GROUPNAME_NAME, m_edtName);
  DDX_Control(pDX, IDC_GROUPNAME_PASSWORD, m_edtPassword);
  DDX_Control(pDX, IDC_GROUPNAME_NAME_LABEL, m_stcNameLabel);
  DDX_Control(pDX, IDC_GROUPNAME_PASSWORD_LABEL, m_stcPasswordLabel);
  DDX_Text(pDX, IDC_GROUPNAME_PASSWORD, m_strPassword);
  DDV_MaxChars(pDX, m_strPassword, kMaxTextLength);
  DDX_Text(pDX, IDC_GROUPNAME_NAME, m_strName);
  DDV_MaxChars(pDX, m_strName, kMaxTextLength);
}

BOOL CGroupNamePage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  CreateWizardFont(m_font, 8, 8, FW_THIN);
  for (CWnd* window : {static_cast<CWnd*>(&m_stcPasswordLabel), static_cast<CWnd*>(&m_stcNameLabel),
                       static_cast<CWnd*>(&m_edtPassword), static_cast<CWnd*>(&m_edtName),
                       static_cast<CWnd*>(&m_stcNotice)})
    window->SetFont(&m_font, TRUE);
  for (CRTStatic* text : {&m_stcPasswordLabel, &m_stcNameLabel, &m_stcNotice}) text->SetTransparent(TRUE);
  m_edtName.LimitText(kMaxTextLength);
  m_edtPassword.LimitText(kMaxTextLength);
  SetLangText(m_stcNotice, m_pApp, "IDS_UI_CREATE_INFO");
  SetLangText(m_stcNameLabel, m_pApp, "IDS_UI_CREATE_USERNAME");
  SetLangText(m_stcPasswordLabel, m_pApp, "IDS_UI_CREATE_PASSWORD");
  return TRUE;
}

void CGroupNamePage::OnEnterPage() {
  m_strName.Empty();
  m_strPassword.Empty();
  UpdateData(FALSE);
  m_bFinished = FALSE;
  // Typing starts with the name, whoever had the focus before.
  GotoDlgCtrl(&m_edtName);
}

int CGroupNamePage::OnNextPage() {
  if (!UpdateData(TRUE)) return kStayOnPage;
  // Blanks are not trimmed: a name of blanks fails on its characters.
  if (m_strName.IsEmpty()) return Refuse("IDS_MSG_ARRAY_BLANK", m_edtName);
  if (m_strName.Find('"') >= 0 || !IsValidNameChars(m_strName)) return Refuse("IDS_MSG_ARRAY_INVCHAR", m_edtName);
  if (!IsAsciiText(m_strPassword)) return Refuse("IDS_MSG_PASS_INVCHAR", m_edtPassword);

  m_strGroupName = m_strName;
  m_strGroupPassword = m_strPassword;
  m_strName.Empty();
  m_strPassword.Empty();
  UpdateData(FALSE);
  return kCreateScan;
}

void CGroupNamePage::ClearLabels() {
  m_stcNameLabel.SetWindowText("");
  m_stcPasswordLabel.SetWindowText("");
}

int CGroupNamePage::Refuse(LPCTSTR key, CEdit& edit) {
  ShowLangMessage(m_pApp, key);
  edit.SetFocus();
  return kStayOnPage;
}
