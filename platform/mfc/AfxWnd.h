// The class layer's windows: command targets with message maps, CWnd with the
// handle-to-object map, and the application object.
#pragma once

#include "AfxMsgMap.h"
#include "Controls.h"
#include "UiPlatform.h"
#include "WinUser.h"
#include "afx.h"
#include "afxgdi.h"

class CMenu;
class CScrollBar;
struct TOOLINFOA;
class CDataExchange;

// ---------------------------------------------------------------- command targets

class PLATFORM_API CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
 public:
  CCmdTarget() = default;
  // Routes a command (nCode 0) or a control notification (nCode != 0) from
  // control nID through the message map. `pExtra` is the NMHDR of WM_NOTIFY
  // routing and `pResult` its result; both are null for WM_COMMAND.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

 protected:
  static const AFX_MSGMAP* PASCAL GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
  // Runs the first entry of the map chain that takes `message` with this code
  // and id; `reflected` entries are looked up under their reflected numbers.
  BOOL DispatchEntry(UINT message, UINT nCode, UINT nID, AFX_CALL& call);

  friend class CWnd;
};

// ---------------------------------------------------------------- windows

// m_nFlags
#define WF_CONTINUEMODAL 0x0001
#define WF_MODALLOOP 0x0002
#define WF_TOOLTIPS 0x0004

class PLATFORM_API CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)
 public:
  CWnd();
  ~CWnd() override;

  HWND m_hWnd = nullptr;
  // Both accept a null object, as the program relies on.
  operator HWND() const { return GetSafeHwnd(); }
  HWND GetSafeHwnd() const;

  // The handle map: permanent objects are the ones attached to a window;
  // FromHandle makes a temporary object for any other window, which lives
  // until that window is destroyed.
  static CWnd* PASCAL FromHandle(HWND hWnd);
  static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
  BOOL Attach(HWND hWndNew);
  HWND Detach();
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();

  // Creation.
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
  virtual BOOL DestroyWindow();
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual void PreSubclassWindow();
  virtual void PostNcDestroy();

  // Message handling.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual void DoDataExchange(CDataExchange*) {}
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Hands a notification to the permanent object of `hWndChild` (reflection).
  static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
  // PreTranslateMessage of each window from pMsg->hwnd up to hWndStop.
  static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
  LRESULT Default();

  // Modal loops (the dialog classes run theirs here).
  int RunModalLoop(DWORD dwFlags = 0);
  virtual BOOL ContinueModal();
  virtual void EndModalLoop(int nResult);
  // The window that owns a modal window made with `pParent` (the main window
  // when there is none) and the top-level window to disable while it runs.
  static CWnd* PASCAL GetSafeOwner(CWnd* pParent = nullptr, HWND* pWndTop = nullptr);
  int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);

  // Window operations.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE);
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  CWnd* GetParent() const;
  CWnd* SetParent(CWnd* pWndNewParent);
  CWnd* GetOwner() const;
  CWnd* GetTopLevelParent() const;
  CWnd* GetDlgItem(int nID) const;
  void GetDlgItem(int nID, HWND* phWnd) const;
  int GetDlgCtrlID() const;
  int SetDlgCtrlID(int nID);
  CWnd* GetWindow(UINT nCmd) const;
  CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const;
  BOOL IsChild(const CWnd* pWnd) const;
  void SetWindowText(LPCTSTR lpszString);
  int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const;
  void SetDlgItemText(int nID, LPCTSTR lpszString);
  int GetDlgItemText(int nID, CString& rString) const;
  BOOL ShowWindow(int nCmdShow);
  BOOL IsWindowVisible() const;
  BOOL EnableWindow(BOOL bEnable = TRUE);
  BOOL IsWindowEnabled() const;
  BOOL IsIconic() const;
  BOOL IsZoomed() const;
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
  void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
  BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
  void GetWindowRect(LPRECT lpRect) const;
  void GetClientRect(LPRECT lpRect) const;
  void ClientToScreen(LPPOINT lpPoint) const;
  void ClientToScreen(LPRECT lpRect) const;
  void ScreenToClient(LPPOINT lpPoint) const;
  void ScreenToClient(LPRECT lpRect) const;
  void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;
  void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
  void CenterWindow(CWnd* pAlternateOwner = nullptr);
  void Invalidate(BOOL bErase = TRUE);
  void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
  void ValidateRect(LPCRECT lpRect);
  void UpdateWindow();
  BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  CWnd* SetFocus();
  static CWnd* PASCAL GetFocus();
  CWnd* SetCapture();
  static CWnd* PASCAL GetCapture();
  CWnd* SetActiveWindow();
  static CWnd* PASCAL GetActiveWindow();
  BOOL SetForegroundWindow();
  static CWnd* PASCAL GetDesktopWindow();
  static CWnd* PASCAL WindowFromPoint(POINT point);
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer);
  BOOL KillTimer(UINT_PTR nIDEvent);
  HICON SetIcon(HICON hIcon, BOOL bBigIcon);
  HICON GetIcon(BOOL bBigIcon) const;
  void SetRedraw(BOOL bRedraw = TRUE);
  // The window's own scroll bars, or the sibling control GetScrollBarCtrl names.
  void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr, LPCRECT lpClipRect = nullptr);
  int ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                     LPRECT lpRectUpdate, UINT flags);
  int GetScrollPos(int nBar) const;
  int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
  int GetScrollLimit(int nBar);
  BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
  BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
  void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
  virtual CScrollBar* GetScrollBarCtrl(int nBar) const;
  CMenu* GetMenu() const;
  BOOL SetMenu(CMenu* pMenu);
  CMenu* GetSystemMenu(BOOL bRevert) const;
  void DrawMenuBar();
  // Tooltips of the thread's tooltip control for the tools OnToolHitTest names.
  BOOL EnableToolTips(BOOL bEnable = TRUE);
  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;
  // Keeps the thread's tooltip in step with the mouse; run by the message pumps.
  static void PASCAL FilterToolTipMessage(MSG* pMsg);

  CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
  CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
  int ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, pDC ? pDC->GetSafeHdc() : nullptr); }
  CDC* BeginPaint(LPPAINTSTRUCT lpPaint) { return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint)); }
  void EndPaint(LPPAINTSTRUCT lpPaint) { ::EndPaint(m_hWnd, lpPaint); }
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->GetSafeHandle() : nullptr), bRedraw);
  }
  CFont* GetFont() const { return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0))); }

  // Handlers of the window messages (the defaults do what the window would
  // do without the class layer).
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnNcDestroy();
  afx_msg void OnClose();
  afx_msg void OnPaint();
  afx_msg void OnNcPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMove(int x, int y);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseHover(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnChildActivate();
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
  afx_msg int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  afx_msg void OnSysColorChange();
  afx_msg void OnCancelMode();
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);

  int m_nFlags = 0;
  int m_nModalResult = 0;
  WNDPROC m_pfnSuper = nullptr;  // the procedure the window had before it was subclassed

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
};

// The window of a possibly null object.
inline HWND AfxSafeHwnd(const CWnd* pWnd) { return pWnd ? pWnd->m_hWnd : nullptr; }

PLATFORM_API LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
PLATFORM_API LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// The message the calling thread is handling now (Default() passes it on).
PLATFORM_API const MSG* AFXAPI AfxGetCurrentMessage();

// A class name registered for these styles, cursor, brush and icon (the same
// combination gives the same name).
PLATFORM_API LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                                                HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);

// ---------------------------------------------------------------- threads and the application

class PLATFORM_API CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)
 public:
  CWinThread();
  CWnd* m_pMainWnd = nullptr;
  CWnd* m_pActiveWnd = nullptr;
  BOOL m_bAutoDelete = TRUE;
  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  MSG m_msgCur{};

  virtual BOOL InitInstance();
  virtual int Run();
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL PumpMessage();
  virtual BOOL OnIdle(LONG lCount);
  virtual BOOL IsIdleMessage(MSG* pMsg);
  virtual int ExitInstance();
  virtual CWnd* GetMainWnd();
};

class PLATFORM_API CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)
 public:
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  ~CWinApp() override;

  LPCTSTR m_pszAppName = nullptr;
  LPCTSTR m_pszExeName = nullptr;
  HINSTANCE m_hInstance = nullptr;
  HINSTANCE m_hPrevInstance = nullptr;
  LPTSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;

  virtual BOOL InitApplication();
  virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
  void Enable3dControls() {}
  void Enable3dControlsStatic() {}
  void SetDialogBkColor(COLORREF = RGB(192, 192, 192), COLORREF = RGB(0, 0, 0)) {}
};

PLATFORM_API CWinApp* AFXAPI AfxGetApp();
PLATFORM_API CWinThread* AFXAPI AfxGetThread();
PLATFORM_API CWnd* AFXAPI AfxGetMainWnd();
PLATFORM_API HINSTANCE AFXAPI AfxGetInstanceHandle();
PLATFORM_API HINSTANCE AFXAPI AfxGetResourceHandle();
PLATFORM_API LPCTSTR AFXAPI AfxGetAppName();
PLATFORM_API BOOL AFXAPI AfxPumpMessage();
PLATFORM_API void AFXAPI AfxEnableControlContainer();
PLATFORM_API int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The class library's entry: application start-up, instance start-up, then the
// message loop (or ExitInstance when InitInstance returns FALSE). The program's
// main() calls it.
PLATFORM_API int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
