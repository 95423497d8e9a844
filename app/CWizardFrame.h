// The three wizards of the program (create a group, modify a group, show a
// group's status). CWizardFrame is the common frame: a child dialog of the
// main dialog holding a fixed sequence of pages and the Back, Next, Cancel
// and Finish buttons. Each flow fixes its pages, what is carried forward
// from page to page on Next, and when Back is allowed.
//
// Navigation asks the current page where to go: the following page, stay
// (CWizardPage::kFollowingPage, kStayOnPage), or a page of the flow by its
// index (WizardFlows.h). A target that is not a page of the flow counts as "stay", whatever
// the page answered.
#pragma once

#include "RTButton.h"
#include "RTDialog.h"
#include "WizardFlows.h"
#include "afxwin.h"

class CDiscoveryTask;
class CWizardApp;
class CWizardPage;

// Sent by a frame to its parent once Finish or Cancel has closed it: the
// parent shows its welcome panel's title again.
extern const UINT WM_WIZARD_CLOSED;

class CWizardFrame : public CRTDialog {
 public:
  static constexpr int kMaxPages = 10;
  static constexpr int kNoPage = -1;  // in the page tables: no such page

  explicit CWizardFrame(CWnd* pParent = nullptr);
  ~CWizardFrame() override;

  virtual int QueryFlowFlag();
  // Makes the current page live; the main dialog calls it each time it shows
  // this frame.
  virtual void Activate();
  virtual void ShowPage(int index);
  virtual void CreatePages();

  void ShowButtons(BOOL finished);
  void EnableBack(int flag);
  // Ends (TRUE) or starts (FALSE) a busy spell: a page's SetBusy asks for it
  // (WM_WIZARD_BUSY) when a scan or an apply run starts and ends, and the
  // frame passes the request on to the main dialog. While busy, the frame's
  // buttons and the main dialog's flow and Exit buttons, which could do
  // nothing then, are disabled, and the main dialog refuses to close; the
  // page stays enabled, so that the apply log scrolls with the wheel and its
  // scroll bar while the run writes it. Back and Cancel keep the state the
  // flow gives them meanwhile and show it once the run ends.
  // The keyboard stays in the flow, where Enter and Escape do nothing: in
  // the page while busy, then on Next (or Finish), where a person goes on.
  // A focus in another window, a message box say, is left there, and the
  // flow takes the keyboard once the main dialog is active again.
  void EnableWithParent(BOOL enable);
  // The main dialog became the active window.
  void OnMainActivated();
  BOOL IsBusy() const { return m_bBusy; }
  // The main dialog refused a close or a window while busy: the shown page
  // hears of it the first time in each busy spell.
  void RefusedWhileBusy();
  // The frame's window and its pages are about to go: the pages stop any
  // work that would still reach the devices.
  void StopPages();
  static void CopyRecordList(CPtrList& destination, const CPtrList& source);

  // Next and Back as the buttons run them.
  void OnNext();
  void OnBack();
  // Finish and Cancel: back to the welcome panel (WM_WIZARD_CLOSED), the
  // frame hidden and reset.
  void Close();
  // Every way out of a shown flow but Finish (Cancel, another flow's
  // button, Exit, a close) comes here first: the pages are asked, from the
  // last to the first, to undo what the flow left open (OnCancelFlow). A
  // page that does so shows itself in place of the current page and holds
  // the wizard busy while it works. FALSE when the frame went meanwhile.
  BOOL LeaveFlow();
  // Leaving is under way: closes and flow switches wait for it.
  BOOL IsLeaving() const { return m_bLeaving; }

  CWizardPage* Page(int index) const { return index >= 0 && index < kMaxPages ? m_pages[index] : nullptr; }
  int CurrentIndex() const { return m_nCurrent; }

  CDiscoveryTask* m_pDiscoveryA = nullptr;
  CDiscoveryTask* m_pDiscoveryB = nullptr;
  CWizardApp* m_pApp = nullptr;
  CWizardPage* m_pages[kMaxPages] = {};
  int m_nCurrent = 0;
  CBrush m_titleBrush;
  CStatic m_title;
  CStatic m_pageArea;
  CRTButton m_btnNext;
  CRTButton m_btnFinish;
  CRTButton m_btnCancel;
  CRTButton m_btnBack;
  CFont m_boldFont;

 protected:
  BOOL m_bBusy = FALSE;
  BOOL m_bRefusalTold = FALSE;  // in this busy spell
  // What the flow wants of Back and Cancel; busy, every button is disabled.
  BOOL m_bBackWanted = TRUE;
  BOOL m_bCancelWanted = TRUE;
  // A run ended while another window had the keyboard: Next gets it when
  // the main dialog is active again.
  BOOL m_bFocusOwed = FALSE;
  // Next or Back is entering a page, which takes the focus once it shows.
  BOOL m_bMoving = FALSE;
  BOOL m_bLeaving = FALSE;
  void UpdateButtonStates();
  // The focus is in the program's window, or nowhere while that window is
  // the active one.
  BOOL HasKeyboard() const;
  void FocusIntoPage();
  void FocusWhereTheFlowGoesOn();
  BOOL FocusFlowButton();
  void FocusShownPage(CWizardPage* page);

  // The flows' form: the main dialog's two discovery tasks, handed on to the
  // flow's scan page.
  CWizardFrame(CDiscoveryTask* listen, CDiscoveryTask* broadcast, CWnd* pParent)
      : CWizardFrame(pParent) {
    m_pDiscoveryA = listen;
    m_pDiscoveryB = broadcast;
  }
  // What a flow's pages are: template ids in index order (0 ends the row),
  // which index is the scan page, and which apply pages run second or in the
  // modify flow.
  struct FlowPages {
    int templates[kMaxPages];
    int scanIndex;
    int secondRunIndex;        // kNoPage: none
    int modifyFlowIndexes[2];  // kNoPage: none
  };
  void CreateFlowPages(const FlowPages& flow);
  void DestroyPages();

  // Copies the collected data into the page at `target` before it is shown.
  virtual void CopyForward(int target);
  // Back's state after Next moved to `target`.
  virtual void UpdateBackAfterNext(int target);

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnDestroy();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  // The current page's requests (CWizardPage.h).
  afx_msg LRESULT OnWizardBusy(WPARAM busy, LPARAM);
  afx_msg LRESULT OnWizardWaitCursor(WPARAM wait, LPARAM atOnce);
  afx_msg LRESULT OnWizardShowPage(WPARAM, LPARAM page);
  DECLARE_MESSAGE_MAP()

  // Each flow answers the buttons; the base frame has no pages to move.
  // Finish closes at once: the flow's last page is reached when nothing is
  // left open. Cancel leaves the flow (LeaveFlow), then closes.
  afx_msg void OnNextButton();
  afx_msg void OnBackButton();
  afx_msg void OnFinishButton();
  afx_msg void OnCancelButton();
  virtual bool HasFlow() const { return false; }
};

class CCreateWizard : public CWizardFrame {
 public:
  CCreateWizard(CDiscoveryTask* listen, CDiscoveryTask* broadcast, CWnd* pParent)
      : CWizardFrame(listen, broadcast, pParent) {}
  explicit CCreateWizard(CWnd* pParent = nullptr) : CWizardFrame(pParent) {}
  int QueryFlowFlag() override { return 0; }
  void CreatePages() override;

 protected:
  void CopyForward(int target) override;
  void UpdateBackAfterNext(int target) override;
  bool HasFlow() const override { return true; }
};

class CModifyWizard : public CWizardFrame {
 public:
  CModifyWizard(CDiscoveryTask* listen, CDiscoveryTask* broadcast, CWnd* pParent)
      : CWizardFrame(listen, broadcast, pParent) {}
  explicit CModifyWizard(CWnd* pParent = nullptr) : CWizardFrame(pParent) {}
  int QueryFlowFlag() override { return 0; }
  void CreatePages() override;

 protected:
  void CopyForward(int target) override;
  void UpdateBackAfterNext(int target) override;
  bool HasFlow() const override { return true; }
};

class CStatusWizard : public CWizardFrame {
 public:
  CStatusWizard(CDiscoveryTask* listen, CDiscoveryTask* broadcast, CWnd* pParent)
      : CWizardFrame(listen, broadcast, pParent) {}
  explicit CStatusWizard(CWnd* pParent = nullptr) : CWizardFrame(pParent) {}
  int QueryFlowFlag() override { return 0; }
  void CreatePages() override;

 protected:
  void CopyForward(int target) override;
  bool HasFlow() const override { return true; }
};
