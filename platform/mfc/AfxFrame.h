// The frame window of the class layer: a top-level window with a menu,
// control bars along its edges and a view filling the rest.
#pragma once

#include "AfxCtrlBar.h"
#include "AfxMenu.h"
#include "afxwin.h"

#define AFX_IDW_PANE_FIRST 0xE900
#define FWS_ADDTOTITLE 0x00008000L

class CView;

struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = nullptr;
};

class PLATFORM_API CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)
 public:
  CFrameWnd() = default;
  static const CRect rectDefault;

  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
              DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
  // Title from string resource nIDResource, menu from menu resource nIDResource (when there is one).
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  // Places the control bars along their edges, in creation order, and the view in what is left.
  virtual void RecalcLayout(BOOL bNotify = TRUE);

  CString GetTitle() const { return m_strTitle; }
  void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : ""; }
  CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  CString m_strTitle;
  CView* m_pViewActive = nullptr;
  CCreateContext* m_pCreateContext = nullptr;  // only while the window is being created

  void PostNcDestroy() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);

  DECLARE_MESSAGE_MAP()
};
