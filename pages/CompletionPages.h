// The last pages of the create flow (CCreateDonePage, template 147) and the
// modify flow (CModifyDonePage, template 137): a title, the flow's success
// message and the notice that SNMP was left off. Entering either marks the
// flow finished, so that the frame shows Finish instead of Next. They differ
// only in the success text.
#pragma once

#include "CWizardPage.h"
#include "RTStatic.h"

class CCompletionPage : public CWizardPage {
 public:
  CCompletionPage(UINT templateId, LPCTSTR successKey);
  ~CCompletionPage() override;

  void OnEnterPage() override;

  CRTStatic m_stcNotice;
  CRTStatic m_stcMessage;
  CRTStatic m_stcTitle;
  CWizardApp* m_pApp = nullptr;
  CFont m_titleFont;
  CFont m_textFont;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}

 private:
  LPCTSTR m_successKey;
};

class CCreateDonePage : public CCompletionPage {
 public:
  CCreateDonePage();
};

class CModifyDonePage : public CCompletionPage {
 public:
  CModifyDonePage();
};
