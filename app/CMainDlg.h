// CMainDlg: the program's only top-level window. The side panel holds the
// flow buttons (create, modify, status, exit); the right holds the title
// panel and the area in which one of the three wizard frames shows at a
// time. It owns the two discovery tasks the scan pages use, the skin of the
// whole program and the frames. CAboutDlg is reached from its system menu.
#pragma once

#include "RTButton.h"
#include "RTDialog.h"
#include "RTSkin.h"
#include "RTStatic.h"
#include "afxwin.h"

class CDiscoveryTask;
class CVHException;
class CWizardApp;
class CWizardFrame;

// Skinned as every other dialog of the program, with the focus on OK.
class CAboutDlg : public CRTDialog {
 public:
  CAboutDlg();

  CRTButton m_btnOk;
  CRTStatic m_name;
  CRTStatic m_purpose;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()
};

class CMainDlg : public CRTDialog {
 public:
  enum Flow { kCreateFlow = 0, kModifyFlow = 1, kStatusFlow = 2, kFlowCount = 3 };

  // Why the dialog could not be built: a discovery task could not open its
  // socket. `key` is the language text that tells the operator which and
  // what to do; `cause` is the task's exception, the catcher's to delete.
  struct StartFailure {
    LPCTSTR key;
    CVHException* cause;
  };
  // Builds the two discovery tasks (listen, broadcast); throws StartFailure
  // when one cannot open its socket.
  explicit CMainDlg(CWnd* pParent = nullptr);
  ~CMainDlg() override;

  // The title panel shows `text`; the welcome text and the picture show only
  // with `showPictures`. Returns 1.
  int SetTitle(CString text, BOOL showPictures);
  void LoadSkin();
  void CreateFrames();
  void ShowCurrentFrame();

  CWizardFrame* Frame(int flow) const { return m_frames[flow]; }
  // A scan or an apply run holds a frame busy, or a frame is being left:
  // the program must not close then, or devices would be left half
  // configured.
  BOOL IsBusy() const;
  // While a frame is busy its flow and Exit buttons are disabled, but the
  // dialog itself stays enabled: the close box, Alt+F4 and the window
  // manager's close still reach it, and it says why it stays open.
  void SetBusyLook(BOOL busy);
  // Escape while a flow shows is taken here: the dialog manager would press
  // Exit with it and end the program in the middle of the flow. On the
  // welcome panel it stays the dialog's Exit.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  int CurrentFlow() const { return m_nCurrentFlow; }
  // A page asked for the wait cursor (WM_WIZARD_WAIT_CURSOR, through its frame).
  BOOL ShowsWaitCursor() const { return m_nWaitCursor != 0; }

  CWizardFrame* m_frames[kFlowCount] = {};
  CWizardApp* m_pApp = nullptr;
  int m_nCurrentFlow = kCreateFlow;
  CBrush m_darkBrush;
  CDiscoveryTask* m_pDiscoveryA = nullptr;  // listens for announcements on UDP 55000
  CDiscoveryTask* m_pDiscoveryB = nullptr;  // broadcasts discovery requests
  HCURSOR m_hInitialCursor = nullptr;
  CStatic m_picture;
  CStatic m_title;
  CRTStatic m_sidePanel;
  CRTButton m_btnExit;
  CRTButton m_btnStatus;
  CRTButton m_btnModify;
  CRTButton m_btnCreate;
  CRTStatic m_welcome;
  // A plain group box: the skinned face would fill the welcome screen with
  // the light button image, under the welcome text's white letters.
  CButton m_frameArea;
  HICON m_hIcon = nullptr;
  CFont m_bigFont;
  CFont m_smallFont;
  CRTSkin m_skin;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Exit, Escape, the close box and Alt+F4 all end here or in OnClose: while
  // busy they are refused (RefuseWhileBusy); otherwise the shown flow is
  // left first. Enter has no button to press.
  void OnCancel() override;
  void OnOK() override {}
  afx_msg void OnClose();
  // Active again (a message box closed, the window manager gave it back):
  // the shown flow may owe the keyboard a place.
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  // While a scan or an apply run holds the wizard busy, nothing may close it
  // or open a window that waits for the operator: such a window's modal loop
  // would run inside the run's own wait and hold the run until answered. The
  // attempt gets the bell, and the shown page says once per run, where it
  // keeps a log, that the wizard can be closed when the run has ended. TRUE
  // when it was refused.
  BOOL RefuseWhileBusy();
  // The system menu (and so each of its entries), About, and a move or a
  // size by the keyboard are refused while busy; a drag of the caption or a
  // frame ends when the button comes up and goes on.
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  // A right click on the caption opens the system menu.
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  // A click on Exit, which is disabled while busy, is a close refused.
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnPaint();
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnDestroy();
  afx_msg void OnCreateFlow();
  afx_msg void OnModifyFlow();
  afx_msg void OnStatusFlow();
  void SwitchFlow(int flow, LPCTSTR titleKey);
  // Another flow, Exit and every close leave the shown flow first
  // (CWizardFrame::LeaveFlow); FALSE when the dialog went meanwhile.
  BOOL LeaveShownFlow();
  // The frames' requests (CWizardPage.h, CWizardFrame.h).
  afx_msg LRESULT OnWizardBusy(WPARAM busy, LPARAM);
  afx_msg LRESULT OnWizardWaitCursor(WPARAM wait, LPARAM atOnce);
  afx_msg LRESULT OnWizardClosed(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  // Not 0 while a scan or an apply run holds the wizard: the dialog shows
  // the wait cursor.
  int m_nWaitCursor = 0;
};

// Reads the skin beside the program (Skin/vAdev/skin.ini) into `skin` and
// switches skinning on; a skin that does not load is named on standard error
// and leaves the windows unskinned.
void LoadProgramSkin(CRTSkin& skin);
