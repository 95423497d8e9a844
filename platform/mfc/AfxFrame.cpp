// The frame window: creation with a menu, the view from the creation
// context, the layout of control bars and view, commands tried on the view first.

#include "AfxFrame.h"

#include <vector>

#include "AfxView.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass)
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  cs.style &= ~FWS_ADDTOTITLE;
  return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
  HMENU menu = nullptr;
  if (lpszMenuName && !(menu = ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName))) return FALSE;
  m_strTitle = lpszWindowName ? lpszWindowName : "";
  m_pCreateContext = pContext;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (rect.left == CW_USEDEFAULT) width = height = CW_USEDEFAULT;
  BOOL ok = CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, width, height,
                     AfxSafeHwnd(pParentWnd), menu);
  m_pCreateContext = nullptr;
  if (!ok && menu) ::DestroyMenu(menu);
  // Bars made in a derived OnCreate came after the first WM_SIZE.
  if (ok) RecalcLayout();
  return ok;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  CString title;
  title.LoadString(nIDResource);
  HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource));
  m_strTitle = title;
  m_pCreateContext = pContext;
  BOOL ok = CreateEx(0, nullptr, title, dwDefaultStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                     AfxSafeHwnd(pParentWnd), menu);
  m_pCreateContext = nullptr;
  if (!ok && menu) ::DestroyMenu(menu);
  // Bars made in a derived OnCreate came after the first WM_SIZE.
  if (ok) RecalcLayout();
  return ok;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  if (m_pCreateContext && m_pCreateContext->m_pNewViewClass) {
    auto* view = dynamic_cast<CView*>(m_pCreateContext->m_pNewViewClass->CreateObject());
    if (!view) return -1;
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST)) {
      delete view;  // a view that never had a window is not deleted by its window
      return -1;
    }
    SetActiveView(view);
  }
  return 0;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL) { m_pViewActive = pViewNew; }

void CFrameWnd::RecalcLayout(BOOL) {
  if (!m_hWnd) return;
  CRect free;
  GetClientRect(&free);
  std::vector<CControlBar*> bars;
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    auto* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(child));
    if (bar && bar->IsWindowVisible()) bars.insert(bars.begin(), bar);  // children come last-created first
  }
  for (CControlBar* bar : bars) {
    DWORD align = bar->m_dwStyle & CBRS_ALIGN_ANY;
    bool horz = (align & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
    CSize size = bar->CalcDynamicLayout(-1, (horz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK) | LM_COMMIT);
    CRect r = free;
    if (align & CBRS_ALIGN_BOTTOM) r.top = free.bottom = r.bottom - size.cy;
    else if (align & CBRS_ALIGN_LEFT) r.right = free.left = r.left + size.cx;
    else if (align & CBRS_ALIGN_RIGHT) r.left = free.right = r.right - size.cx;
    else r.bottom = free.top = r.top + size.cy;
    bar->SetWindowPos(nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (CWnd* view = GetDlgItem(AFX_IDW_PANE_FIRST))
    view->SetWindowPos(nullptr, free.left, free.top, free.Width(), free.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

// The view and the bars cover the client area; erasing under them would flicker.
BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC) {
  if (GetDlgItem(AFX_IDW_PANE_FIRST)) return TRUE;
  return CWnd::OnEraseBkgnd(pDC);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) {
  if (!pExtra && m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// Frames are made with new and go with their window.
void CFrameWnd::PostNcDestroy() { delete this; }
