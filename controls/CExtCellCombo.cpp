#include "CExtCellCombo.h"

#include <algorithm>

#include "CComboDropWnd.h"

namespace {
const UINT_PTR kTrackTimer = 1;
const UINT kTrackMs = 80;
// The popup's first two focus losses come from its own set-up.
const int kSetUpFocusLosses = 2;
}  // namespace

// ================================================================ CExtCellCombo

BEGIN_MESSAGE_MAP(CExtCellCombo, CDrawnComboBox)
ON_WM_KILLFOCUS()
ON_MESSAGE(WM_ACB_CLOSEDROPDOWN, OnCloseRequest)
END_MESSAGE_MAP()

CExtCellCombo::CExtCellCombo(CWnd* pOwner) : CDrawnComboBox(0, pOwner), m_pOwner(pOwner) {}

void CExtCellCombo::Report(UINT message) {
  if (m_pOwner && m_pOwner->m_hWnd) m_pOwner->SendMessage(message, 0, 0);
}

void CExtCellCombo::OnComboCancel() { Report(WM_CELLCOMBO_VK_ESCAPE); }

void CExtCellCombo::OnComboComplete() { Report(WM_CELLCOMBO_COMPLETE); }

bool CExtCellCombo::IsInDropWindow(HWND hwnd) const {
  CComboDropWnd* drop = GetDropWnd();
  if (!drop || !drop->m_hWnd || !hwnd) return false;
  return hwnd == drop->m_hWnd || ::IsChild(drop->m_hWnd, hwnd);
}

// The open list takes the focus as soon as the pointer enters it; that is
// still this editor at work, so neither end is reported.
void CExtCellCombo::OnKillFocus(CWnd* pNewWnd) {
  if (IsInDropWindow(pNewWnd ? pNewWnd->m_hWnd : nullptr)) {
    CWnd::OnKillFocus(pNewWnd);
    return;
  }
  HWND self = m_hWnd;
  CDrawnComboBox::OnKillFocus(pNewWnd);
  if (::IsWindow(self)) OnComboComplete();
}

// A close requested from outside while the list is still open (a press
// outside it, the program losing the activation) ends the editing too: the
// close, then the completion. A close that finds the list gone (after a pick)
// completes through the base handler already.
LRESULT CExtCellCombo::OnCloseRequest(WPARAM wParam, LPARAM lParam) {
  bool wasOpen = GetDropWnd() != nullptr;
  HWND self = m_hWnd;
  LRESULT result = CDrawnComboBox::OnCloseDropDown(wParam, lParam);
  if (wasOpen && ::IsWindow(self)) OnComboComplete();
  return result;
}

// ================================================================ CExtCellComboList

BEGIN_MESSAGE_MAP(CExtCellComboList, CWnd)
ON_WM_LBUTTONDOWN()
ON_WM_KILLFOCUS()
ON_WM_CREATE()
ON_WM_VSCROLL()
ON_WM_DESTROY()
ON_WM_TIMER()
END_MESSAGE_MAP()

void CExtCellComboList::Report(UINT message) {
  if (m_pOwner && m_pOwner->m_hWnd) m_pOwner->SendMessage(message, 0, 0);
}

int CExtCellComboList::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  CRect none(0, 0, 0, 0);
  m_wndList.Create(WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, none, this, 0);
  m_wndScrollBar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, none, this, 0);
  CWnd* parent = GetParent();
  if (CFont* font = parent ? parent->GetFont() : nullptr) {
    SetFont(font, FALSE);
    m_wndList.SetFont(font, FALSE);
  }
  return 0;
}

void CExtCellComboList::SetActive(int scrollBarWidth) {
  if (!m_wndList.m_hWnd) return;
  m_wndList.SetFocus();
  if (m_bFirstActivation) {
    m_bFirstActivation = 0;
    CRect client;
    GetClientRect(&client);
    int rowHeight = std::max(m_wndList.GetItemHeight(0), 1);
    CRect list(client.left + 1, client.top + 1, client.right - scrollBarWidth, client.bottom);
    list.bottom = list.top + list.Height() / rowHeight * rowHeight;
    m_wndList.MoveWindow(&list);
    CRect window;
    GetWindowRect(&window);
    SetWindowPos(nullptr, 0, 0, window.Width(), list.Height() + 4, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_wndScrollBar.MoveWindow(list.right, list.top, scrollBarWidth, list.Height());
    ::SetWindowPos(m_wndList.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    int count = m_wndList.GetCount();
    int current = std::max(m_wndList.GetCurSel(), 0);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = count < 0 ? 1 : count;
    info.nPage = static_cast<UINT>(list.Height() / rowHeight);
    info.nPos = current;
    m_wndScrollBar.SetScrollInfo(&info);
    m_wndList.SetTopIndex(std::max(current - 1, 0));
  }
  SetTimer(kTrackTimer, kTrackMs, nullptr);
}

void CExtCellComboList::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kTrackTimer) return CWnd::OnTimer(nIDEvent);
  CPoint cursor;
  ::GetCursorPos(&cursor);
  m_wndList.ScreenToClient(&cursor);
  CRect client;
  m_wndList.GetClientRect(&client);
  if (!client.PtInRect(cursor)) return;
  BOOL outside = TRUE;
  int row = static_cast<int>(m_wndList.ItemFromPoint(cursor, outside));
  if (!outside && row < m_wndList.GetCount() && row != m_wndList.GetCurSel()) m_wndList.SetCurSel(row);
}

void CExtCellComboList::MoveScrollPos(int pos) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  m_wndScrollBar.GetScrollInfo(&info, SIF_ALL);
  m_wndScrollBar.SetScrollPos(std::min(std::max(pos, 0), info.nMax), TRUE);
}

BOOL CExtCellComboList::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_LBUTTONUP) Report(WM_CELLCOMBO_LBUTTONUP);
  if (pMsg->message != WM_KEYDOWN) return CWnd::PreTranslateMessage(pMsg);
  int current = std::max(m_wndList.GetCurSel(), 0);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  m_wndScrollBar.GetScrollInfo(&info, SIF_ALL);
  int page = static_cast<int>(info.nPage);
  bool moved = true;
  int pos = current;
  UINT key = static_cast<UINT>(pMsg->wParam);
  switch (key) {
    case VK_RETURN:
      Report(WM_CELLCOMBO_VK_RETURN);
      moved = false;
      break;
    case VK_ESCAPE:
      Report(WM_CELLCOMBO_VK_ESCAPE);
      moved = false;
      break;
    case VK_PRIOR: pos = current - page + 1; break;
    case VK_NEXT: pos = current + page - 1; break;
    case VK_END: pos = info.nMax; break;
    case VK_HOME: pos = 0; break;
    case VK_UP: pos = current - 1; break;
    case VK_DOWN: pos = current + 1; break;
    default:
      if (key >= 'A' && key <= 'Z') {
        char letter[2] = {static_cast<char>(key), 0};
        pos = m_wndList.FindString(current, letter);
        moved = pos != LB_ERR;
      } else {
        moved = false;
      }
  }
  if (moved) {
    Report(WM_CELLCOMBO_KEYDOWN);
    if (m_wndScrollBar.m_hWnd) MoveScrollPos(pos);
  }
  return CWnd::PreTranslateMessage(pMsg);
}

void CExtCellComboList::OnLButtonDown(UINT nFlags, CPoint point) {
  Report(WM_CELLCOMBO_LBUTTONUP);
  CWnd::OnLButtonDown(nFlags, point);
}

void CExtCellComboList::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  if (++m_nKillFocusCount > kSetUpFocusLosses) Report(WM_CELLCOMBO_VK_ESCAPE);
}

void CExtCellComboList::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  m_wndList.SendMessage(WM_VSCROLL, MAKEWPARAM(nSBCode, nPos), 0);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  m_wndScrollBar.GetScrollInfo(&info, SIF_ALL);
  int pos = info.nPos;
  switch (nSBCode) {
    case SB_LINEUP: pos -= 1; break;
    case SB_LINEDOWN: pos += 1; break;
    case SB_PAGEUP: pos -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(info.nPage); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = static_cast<int>(nPos); break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return CWnd::OnVScroll(nSBCode, nPos, pScrollBar);
  }
  MoveScrollPos(pos);
}

void CExtCellComboList::OnDestroy() {
  KillTimer(kTrackTimer);
  if (m_wndList.m_hWnd) m_wndList.DestroyWindow();
  CWnd::OnDestroy();
}
