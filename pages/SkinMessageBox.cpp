#include "SkinMessageBox.h"

#include "CWizardApp.h"
#include "DialogPagesRes.h"
#include "LangText.h"
#include "PageRegistry.h"
#include "WizardUi.h"

// Every message of the wizard and every question of the apply engine goes
// through the box.
void RegisterSkinMessageBox() {
  RegisterSkinMessage([](const CString& text, BOOL okCancel) {
    CSkinMessageBox box;
    box.SetMessage(text);
    if (okCancel) box.SetOkCancel(1);
    return static_cast<int>(box.DoModal());
  });
}

CSkinMessageBox::CSkinMessageBox(CWnd* pParent) : CBackdropDialog(IDD_SKIN_MESSAGE_BOX, pParent) {}

CSkinMessageBox::~CSkinMessageBox() = default;

BEGIN_MESSAGE_MAP(CSkinMessageBox, CBackdropDialog)
  ON_BN_CLICKED(IDC_MSGBOX_SINGLE_OK, OnSingleOk)
END_MESSAGE_MAP()

void CSkinMessageBox::DoDataExchange(CDataExchange* pDX) {
  CBackdropDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_MSGBOX_SINGLE_OK, m_btnSingleOk);
  DDX_Control(pDX, IDCANCEL, m_btnCancel);
  DDX_Control(pDX, IDOK, m_btnOk);
  DDX_Control(pDX, IDC_MSGBOX_TEXT, m_stcMessage);
}

BOOL CSkinMessageBox::OnInitDialog() {
  CBackdropDialog::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());
  m_stcMessage.SetTransparent(TRUE);

  SetLangText(m_btnOk, m_pApp, "IDS_UI_BTN_OK");
  SetLangText(m_btnSingleOk, m_pApp, "IDS_UI_BTN_OK");
  SetLangText(m_btnCancel, m_pApp, "IDS_UI_CANCEL");
  m_stcMessage.SetWindowText(m_strMessage);

  const bool pair = m_nOkCancel != 0;
  m_btnCancel.ShowWindow(pair ? SW_SHOW : SW_HIDE);
  m_btnOk.ShowWindow(pair ? SW_SHOW : SW_HIDE);
  m_btnSingleOk.ShowWindow(pair ? SW_HIDE : SW_SHOW);
  return TRUE;
}

void CSkinMessageBox::OnOK() { CDialog::OnOK(); }

void CSkinMessageBox::OnSingleOk() { CDialog::OnOK(); }

void ShowLangMessage(CWizardApp* app, LPCTSTR key) {
  CSkinMessageBox box;
  box.SetMessage(LangText(app, key));
  box.DoModal();
}
