// CStatusListPage: the last page of the status flow (template 139). It lists
// every member of every group the status scan found that also answered the
// broadcast, one row per member: group name, role, IP address, MAC address
// and location. The records stay the scan page's; the page only reads them
// while it fills its rows.
#pragma once

#include "CRTListCtrlEx.h"
#include "CWizardPage.h"
#include "RTGroupBox.h"
#include "RTStatic.h"

class CStatusListPage : public CWizardPage {
 public:
  CStatusListPage();

  // Replaces every row with the confirmed, named members of `groups`.
  void SetGroupList(CPtrList* groups) override;
  void SetDeviceList(CPtrList*) override {}
  void OnEnterPage() override;

  CRTGroupBox m_frame;
  CRTStatic m_title;
  CRTListCtrlEx m_list;
  CFont m_largeTitleFont;
  CFont m_titleFont;
  CFont m_listFont;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
};
