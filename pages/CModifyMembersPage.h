// CModifyMembersPage: the modify flow's member page. The groups the scan
// found stand in a coloured list; a double click opens one once the operator
// has typed its password (CGroupPasswordDlg), which shows its members and
// lets him rename the group, change its password, add unconfigured access
// points, remove members, change roles and plan addresses exactly as on the
// create flow's member page, from which this page is built.
//
// Records: the group list and the device list hold the scan page's records.
// Next updates those in place (the opened group's members stay, leave or get
// new addresses; every other group's members are handed on as not members)
// and appends records of its own for the rows the operator dragged in and
// for the unconfigured access points. Those appended records belong to this
// page: the frame's next copy-forward drops them from the group list, so the
// page keeps them in a list of its own and frees them at the next build and
// when its window goes. It never frees a scan record.
//
// The group that Next changes is the one that was opened (m_nSelectedGroup),
// whichever line is selected by then.
#pragma once

#include "CLogListBox.h"
#include "CMemberPage.h"

// The record of one line of the group list.
struct GroupEntry {
  int m_bVerified = 0;     // the operator typed the right password
  CString m_strPassword;  // the group password the scan reported
};

class CModifyMembersPage : public CMemberPage {
 public:
  CModifyMembersPage();
  ~CModifyMembersPage() override;

  static constexpr int kMaxTextChars = 32;

  void OnEnterPage() override;
  int OnNextPage() override;
  void OnReturnToPage() override {}
  int OnBackPage() override;

  BOOL UpdateAutoIpState() override;
  BOOL CheckOneMaster() override;
  BOOL BuildRecordList() override;
  void UpdateRecordsFromRows() override;
  // The scan's devices that have no member row: other groups' members and
  // the opened group's members that never answered the broadcast. They stay
  // on the LAN where they are.
  BOOL IsHeldOutsideTheLists(const CString& ip) override;

  void FillGroups(CPtrList* records, const CString& name);
  BOOL IsGroupListed(const CString& name);
  BOOL IsGroupNameTaken(const CString& name);
  void EnableGroupFields(BOOL enable);
  void EnableIpFields(BOOL enable);
  void ClearGroupFields();
  void ClearGroupList();

  CLogListBox m_listGroups;
  CEdit m_editGroupName;
  CEdit m_editGroupPassword;
  CRTStatic m_nameLabel;
  CRTStatic m_passwordLabel;
  CRTStatic m_groupCaption;
  CRTGroupBox m_groupFrame;
  int m_nSelectedGroup = -1;  // the line opened last, -1 none
  CPtrList m_ownRecords{10};  // the records this page appended to the group list

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Enter and Escape in the page: the flow goes on only by its buttons.
  void OnOK() override {}
  void OnCancel() override {}
  void ReadGroupNameAndPassword(CString& name, CString& password) override;
  void FreeOwnRecords() override;

  // The group's password typed in CGroupPasswordDlg: IDOK when it matched.
  int AskGroupPassword(const CString& name, const CString& password);
  void OpenGroup(const CString& name, const GroupEntry& entry);
  CString GroupLineText(int line) const;

  afx_msg void OnGroupDblClk();
  afx_msg void OnMemberListClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};
