// CWizardPage: the base of every wizard page. A page is a modeless child
// dialog of its frame; the frame drives it through the virtual operations
// below and carries the collected data (record lists, group name and
// password, SNMP target) forward from page to page by copying members.
//
// Record lists of different pages share their CDeviceRecord objects (the
// frame copies pointers); FreeRecordList is the one operation that deletes
// records, so any other list sharing them must be emptied before it is read.
#pragma once

#include "RTDialog.h"
#include "afxwin.h"

// Posted by a page to itself on entry, so that its work starts once the
// frame has shown it.
#define WM_PAGE_START (WM_USER + 202)

// What a page asks of the window that holds it, sent as a property page
// asks its sheet: the page knows neither the frame's class nor the main
// dialog's. The frame answers the busy request itself and passes both on
// to its own parent, the main dialog.
//   WM_WIZARD_BUSY         wParam TRUE: a busy spell starts; FALSE: it ends.
//   WM_WIZARD_WAIT_CURSOR  wParam TRUE: the wait cursor over the program's
//                          window, FALSE: the ordinary one; lParam TRUE:
//                          the cursor changes at once, FALSE: at the
//                          pointer's next move.
//   WM_WIZARD_SHOW_PAGE    lParam: the page (CWizardPage*), which shows in
//                          place of the current one, so that the work it
//                          does on leaving the flow is seen.
extern const UINT WM_WIZARD_BUSY;
extern const UINT WM_WIZARD_WAIT_CURSOR;
extern const UINT WM_WIZARD_SHOW_PAGE;

class CDeviceRecord;
class CDiscoveryTask;
class CWizardApp;

class CWizardPage : public CRTDialog {
 public:
  CWizardPage();
  CWizardPage(UINT nIDTemplate, CWnd* pParent);
  CWizardPage(LPCTSTR lpszTemplateName, CWnd* pParent);
  ~CWizardPage() override;

  virtual void SetOptionValue(int value);
  // Asks the frame (WM_WIZARD_BUSY) to start or end a busy spell.
  virtual void SetBusy(BOOL busy);
  virtual void SetSnmpTarget(CString agentIp, CString readCommunity, CString writeCommunity);
  virtual void SetStrings(CString first, CString second);
  virtual void SetGroupList(CPtrList* groups);
  virtual void SetDeviceList(CPtrList* devices);
  virtual void OnEnterPage();
  // What OnNextPage and OnBackPage answer besides a page of the flow's
  // order (WizardFlows.h): the page stays, or the move goes to the
  // neighbour in its direction (Next: the following page, Back: the one
  // before).
  static constexpr int kStayOnPage = -2;
  static constexpr int kFollowingPage = -1;
  virtual int OnNextPage();
  virtual void OnReturnToPage();
  virtual int OnBackPage();
  // The page's window is about to go: nothing more may be sent to a device.
  virtual void StopWork();
  // The operator leaves the flow other than by Finish (Cancel, another
  // flow, Exit, a close); the frame asks its pages from the last to the
  // first, before the flow is left. A page that leaves devices as the flow
  // found them, or has undone what it did (it may take its time, pumping
  // messages, and it may show itself: ShowInFrame), answers TRUE: the pages
  // before it are not asked.
  virtual BOOL OnCancelFlow() { return FALSE; }
  // The flow was left (its frame hidden): what this showing gathered goes,
  // so that the next showing starts afresh.
  virtual void OnFlowLeft() {}
  // Asks the frame to show this page in place of the current one.
  void ShowInFrame();
  // While the page's run held the wizard busy, the operator tried to close
  // it (or to open a window); the page may say when that can be done.
  virtual void OnRefusedWhileBusy();

  // Asks for the wait cursor (TRUE) or the ordinary one over the program's
  // window (WM_WIZARD_WAIT_CURSOR), shown at once or at the pointer's next move.
  enum class CursorChange { kAtOnce, kAtNextMove };
  void SetWaitCursor(BOOL wait, CursorChange change = CursorChange::kAtOnce);

  // TRUE when a record of the list has exactly this MAC text.
  static BOOL IsMacInList(const CString& mac, CPtrList* list);
  static BOOL IsGroupInList(const CString& groupName, CPtrList* list);
  // Deletes every record of the list, then empties it.
  static void FreeRecordList(CPtrList* list);

  CBrush m_pageBrush;
  BOOL m_bFinished = FALSE;  // the last page of its flow: the frame shows Finish
  CPtrList m_groupList{10};
  CPtrList m_deviceList{10};
  CString m_strGroupName;
  CString m_strGroupPassword;
  int m_nSecondRun = 0;   // apply pages: the second apply run
  int m_nModifyFlow = 0;  // apply pages: run in the modify flow
  int m_nSpare = 0;
  CStringList m_groupNames{10};
  CString m_strAgentIp;
  CString m_strReadCommunity;
  CString m_strWriteCommunity;
  // Scan pages: the main dialog's two discovery tasks (listen, broadcast).
  CDiscoveryTask* m_pDiscoveryA = nullptr;
  CDiscoveryTask* m_pDiscoveryB = nullptr;
  CWizardApp* m_pApp = nullptr;  // set by the derived pages in OnInitDialog

 protected:
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()
};
