// Control bars of a frame window: the tool bar control's wrapper, and the
// tool bar and status bar that a frame lays out along its edges.
#pragma once

#include <vector>

#include "AfxCmnCtrl.h"
#include "CommCtrl.h"

#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define ID_SEPARATOR 0

#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_TOP CBRS_ALIGN_TOP
#define CBRS_BOTTOM CBRS_ALIGN_BOTTOM

// Modes of CalcDynamicLayout.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40

#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS 0x0100
#define SBPS_POPOUT 0x0200
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class PLATFORM_API CToolBarCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolBarCtrl)
 public:
  CToolBarCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::SendMessageA(m_hWnd, msg, wParam, lParam); }
  BOOL AddButtons(int nNumButtons, LPTBBUTTON lpButtons) {
    return static_cast<BOOL>(Send(TB_ADDBUTTONS, nNumButtons, reinterpret_cast<LPARAM>(lpButtons)));
  }
  BOOL InsertButton(int nIndex, LPTBBUTTON lpButton) {
    return static_cast<BOOL>(Send(TB_INSERTBUTTON, nIndex, reinterpret_cast<LPARAM>(lpButton)));
  }
  BOOL DeleteButton(int nIndex) { return static_cast<BOOL>(Send(TB_DELETEBUTTON, nIndex)); }
  int GetButtonCount() const { return static_cast<int>(Send(TB_BUTTONCOUNT)); }
  BOOL GetButton(int nIndex, LPTBBUTTON lpButton) const {
    return static_cast<BOOL>(Send(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(lpButton)));
  }
  BOOL GetItemRect(int nIndex, LPRECT lpRect) const {
    return static_cast<BOOL>(Send(TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(lpRect)));
  }
  int CommandToIndex(UINT nID) const { return static_cast<int>(Send(TB_COMMANDTOINDEX, nID)); }
  BOOL EnableButton(int nID, BOOL bEnable = TRUE) { return static_cast<BOOL>(Send(TB_ENABLEBUTTON, nID, bEnable)); }
  BOOL CheckButton(int nID, BOOL bCheck = TRUE) { return static_cast<BOOL>(Send(TB_CHECKBUTTON, nID, bCheck)); }
  BOOL HideButton(int nID, BOOL bHide = TRUE) { return static_cast<BOOL>(Send(TB_HIDEBUTTON, nID, bHide)); }
  BOOL IsButtonChecked(int nID) const { return static_cast<BOOL>(Send(TB_ISBUTTONCHECKED, nID)); }
  int GetState(int nID) const { return static_cast<int>(Send(TB_GETSTATE, nID)); }
  BOOL SetState(int nID, UINT nState) { return static_cast<BOOL>(Send(TB_SETSTATE, nID, nState)); }
  BOOL SetBitmapSize(CSize size) { return static_cast<BOOL>(Send(TB_SETBITMAPSIZE, 0, MAKELONG(size.cx, size.cy))); }
  BOOL SetButtonSize(CSize size) { return static_cast<BOOL>(Send(TB_SETBUTTONSIZE, 0, MAKELONG(size.cx, size.cy))); }
  CSize GetButtonSize() const {
    DWORD s = static_cast<DWORD>(Send(TB_GETBUTTONSIZE));
    return CSize(LOWORD(s), HIWORD(s));
  }
  CImageList* SetImageList(CImageList* pImageList);
  CImageList* GetImageList() const;
  int GetHotItem() const { return static_cast<int>(Send(TB_GETHOTITEM)); }
  int SetHotItem(int nHot) { return static_cast<int>(Send(TB_SETHOTITEM, nHot)); }
  DWORD SetExtendedStyle(DWORD dwExStyle) { return static_cast<DWORD>(Send(TB_SETEXTENDEDSTYLE, 0, dwExStyle)); }
  DWORD GetExtendedStyle() const { return static_cast<DWORD>(Send(TB_GETEXTENDEDSTYLE)); }
  int GetButtonInfo(UINT nID, TBBUTTONINFO* ptbbi) const {
    return static_cast<int>(Send(TB_GETBUTTONINFO, nID, reinterpret_cast<LPARAM>(ptbbi)));
  }
  BOOL SetButtonInfo(UINT nID, TBBUTTONINFO* ptbbi) {
    return static_cast<BOOL>(Send(TB_SETBUTTONINFO, nID, reinterpret_cast<LPARAM>(ptbbi)));
  }
  void AutoSize() { Send(TB_AUTOSIZE); }
};

// A bar along one edge of a frame; the frame asks it for its size when it
// lays out (CFrameWnd::RecalcLayout).
class PLATFORM_API CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)
 public:
  CControlBar() = default;
  DWORD m_dwStyle = 0;  // CBRS_ alignment
  BOOL m_bDelayedButtonLayout = TRUE;

  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
};

class PLATFORM_API CToolBar : public CControlBar {
  DECLARE_DYNAMIC(CToolBar)
 public:
  CToolBar() = default;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                UINT nID = AFX_IDW_TOOLBAR);
  // The tool bar resource `nIDResource`: its buttons and its bitmap strip (the
  // bitmap of the same id). FALSE when either is missing or the strip is
  // smaller than one image.
  BOOL LoadToolBar(UINT nIDResource);
  // A strip of square images, one per button in order.
  BOOL LoadBitmap(UINT nIDResource);
  BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
  // A wrapper of the bar's own window (the bar is the control).
  CToolBarCtrl& GetToolBarCtrl() const {
    m_ctrl.m_hWnd = m_hWnd;
    return m_ctrl;
  }
  int GetCount() const { return GetToolBarCtrl().GetButtonCount(); }
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const { GetToolBarCtrl().GetItemRect(nIndex, lpRect); }

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;

 protected:
  void Layout();
  BOOL LoadImageStrip(UINT nIDResource, CSize image);
  CImageList m_images;
  mutable CToolBarCtrl m_ctrl;

  DECLARE_MESSAGE_MAP()
};

class PLATFORM_API CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)
 public:
  CStatusBar() = default;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
  int GetCount() const { return static_cast<int>(m_panes.size()); }
  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  UINT GetPaneStyle(int nIndex) const;
  void SetPaneStyle(int nIndex, UINT nStyle);
  CString GetPaneText(int nIndex) const;
  void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
  BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
  CStatusBarCtrl& GetStatusBarCtrl() const {
    m_ctrl.m_hWnd = m_hWnd;
    return m_ctrl;
  }

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

 protected:
  struct Pane {
    UINT id;
    UINT style;
    int cx;
    CString text;
  };
  std::vector<Pane> m_panes;
  mutable CStatusBarCtrl m_ctrl;
  // Hands the panes' right edges, texts and borders to the control.
  void UpdateParts();
  afx_msg void OnSize(UINT nType, int cx, int cy);

  DECLARE_MESSAGE_MAP()
};
