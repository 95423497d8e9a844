#include "RTScrollControlContainer.h"

IMPLEMENT_DYNAMIC(CRTScrollControlContainer, CWnd)

BEGIN_MESSAGE_MAP(CRTScrollControlContainer, CWnd)
ON_WM_VSCROLL()
ON_WM_HSCROLL()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

const DWORD kMovedStyles = WS_BORDER | WS_DLGFRAME;
const DWORD kMovedExStyles = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE;

}  // namespace

CRTScrollControlContainer::~CRTScrollControlContainer() {
  if (m_hWnd) DestroyWindow();
}

BOOL CRTScrollControlContainer::Attach(CWnd* pControl) {
  if (!pControl || !pControl->m_hWnd) return 0;
  m_control = pControl;
  CWnd* parent = pControl->GetParent();
  CRect rect;
  pControl->GetWindowRect(&rect);
  if (parent) parent->ScreenToClient(&rect);

  const DWORD style = WS_CHILD | WS_VISIBLE | (pControl->GetStyle() & kMovedStyles);
  // A control parent, so that Tab walks into the container to the control.
  const DWORD exStyle = WS_EX_CONTROLPARENT | (pControl->GetExStyle() & kMovedExStyles);
  LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW));
  if (!CreateEx(exStyle, cls, "", style, rect, parent, kContainerId)) return 0;
  // Take the control's place in the parent's order, so the Tab order stays.
  SetWindowPos(pControl, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  pControl->SetParent(this);
  pControl->ModifyStyle(kMovedStyles, 0, SWP_FRAMECHANGED);
  pControl->ModifyStyleEx(kMovedExStyles, 0, SWP_FRAMECHANGED);

  m_vertical.Create(WS_CHILD | SBS_VERT, CRect(0, 0, 0, 0), this, kContainerId);
  m_horizontal.Create(WS_CHILD, CRect(0, 0, 0, 0), this, kContainerId);
  m_vertical.SetArrowPlacement(CRTScrollBar::kCornerAtEnd);

  HWND control = pControl->m_hWnd;
  InitializeFlatSB(control);
  FlatSB_EnableScrollBar(control, SB_BOTH, ESB_DISABLE_BOTH);
  FlatSB_ShowScrollBar(control, SB_BOTH, FALSE);
  RecalcLayout();
  return 0;
}

void CRTScrollControlContainer::KeepOwnBarsHidden(WPARAM which, LPARAM style) const {
  auto* change = reinterpret_cast<STYLESTRUCT*>(style);
  if (m_hWnd && change && static_cast<int>(which) == GWL_STYLE) change->styleNew &= ~(WS_VSCROLL | WS_HSCROLL);
}

// A bar's own visible style, not IsWindowVisible: the container may sit in a
// page that is hidden while its list fills, and the layout must not lose the
// bars then.
static bool IsShown(const CWnd& bar) { return bar.m_hWnd && (bar.GetStyle() & WS_VISIBLE); }

void CRTScrollControlContainer::ShowBar(CRTScrollBar& bar, bool show) {
  if (!bar.m_hWnd || IsShown(bar) == show) return;
  bar.ShowWindow(show ? SW_SHOWNA : SW_HIDE);
  const bool withCorner = IsShown(m_horizontal);
  m_vertical.SetArrowPlacement(withCorner ? CRTScrollBar::kCornerAtEnd : CRTScrollBar::kNoCorner);
  RecalcLayout();
}

// The bar shows while the range leaves something to scroll: the control's own
// bars come and go the same way, and the range is all a caller hands us.
void CRTScrollControlContainer::SetVScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw) {
  ShowBar(m_vertical, nMaxPos > nMinPos);
  if (m_vertical.m_hWnd) m_vertical.SetScrollRange(nMinPos, nMaxPos, bRedraw);
}

void CRTScrollControlContainer::SetHScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw) {
  ShowBar(m_horizontal, nMaxPos > nMinPos);
  if (m_horizontal.m_hWnd) m_horizontal.SetScrollRange(nMinPos, nMaxPos, bRedraw);
}

void CRTScrollControlContainer::SetVScrollPos(int nPos, BOOL bRedraw) {
  if (m_vertical.m_hWnd) m_vertical.SetScrollPos(nPos, bRedraw);
}

void CRTScrollControlContainer::SetHScrollPos(int nPos, BOOL bRedraw) {
  if (m_horizontal.m_hWnd) m_horizontal.SetScrollPos(nPos, bRedraw);
}

void CRTScrollControlContainer::RecalcLayout() {
  if (!m_control || !m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  const int a = IsShown(m_vertical) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0;
  const int b = IsShown(m_horizontal) ? ::GetSystemMetrics(SM_CYHSCROLL) : 0;
  if (m_control->m_hWnd)
    m_control->MoveWindow(client.left, client.top, client.Width() - a, client.Height() - b);
  // The vertical bar takes the full height; its last square is the corner.
  if (m_vertical.m_hWnd) m_vertical.MoveWindow(client.right - a, client.top, a, client.Height());
  if (m_horizontal.m_hWnd) m_horizontal.MoveWindow(client.left, client.bottom - b, client.Width() - a, b);
}

LRESULT CRTScrollControlContainer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message > WM_USER) {
    CWnd* parent = GetParent();
    if (parent) parent->SendMessage(message, wParam, lParam);
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void CRTScrollControlContainer::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (m_control && m_control->m_hWnd) m_control->SendMessage(WM_VSCROLL, MAKEWPARAM(nSBCode, nPos), 0);
  CWnd::OnVScroll(nSBCode, nPos, pScrollBar);
}

void CRTScrollControlContainer::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (m_control && m_control->m_hWnd) m_control->SendMessage(WM_HSCROLL, MAKEWPARAM(nSBCode, nPos), 0);
  CWnd::OnHScroll(nSBCode, nPos, pScrollBar);
}

BOOL CRTScrollControlContainer::OnEraseBkgnd(CDC*) { return TRUE; }

void CRTScrollControlContainer::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (m_control && m_vertical.m_hWnd && m_horizontal.m_hWnd) RecalcLayout();
}
