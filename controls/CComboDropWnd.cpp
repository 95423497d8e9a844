#include "CComboDropWnd.h"

#include <algorithm>

#include "CUxTheme.h"

namespace {

const UINT kScrollBarId = 100;
const UINT kListId = 101;
const int kGrowLimit = 100;  // the grip widens and lengthens by at most this much
const int kItemMargin = 14;
const UINT_PTR kForegroundTimer = 1;
const UINT kForegroundMs = 100;
// Theme parts of the "SCROLLBAR" class that make up the size grip.
const int kGripperPart = 10, kSizeBoxPart = 6, kNormalState = 1;

int Metric(int index) { return ::GetSystemMetrics(index); }

}  // namespace

IMPLEMENT_DYNAMIC(CComboDropWnd, CWnd)
IMPLEMENT_DYNAMIC(CComboDropList, CListBox)
IMPLEMENT_DYNAMIC(CComboDropScrollBar, CScrollBar)
IMPLEMENT_DYNAMIC(CComboEdit, CEdit)

// ================================================================ drop window

BEGIN_MESSAGE_MAP(CComboDropWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_ACTIVATEAPP()
ON_MESSAGE(WM_ACB_SETCAPTURE, OnSetCapture)
ON_MESSAGE(WM_ACB_RELEASECAPTURE, OnReleaseCapture)
END_MESSAGE_MAP()

CComboDropWnd::CComboDropWnd(CDrawnComboBox* pCombo, const ComboItemList& items, DWORD options)
    : m_pCombo(pCombo), m_items(items), m_dwOptions(options) {}

CComboDropWnd::~CComboDropWnd() {
  if (m_hWnd) DestroyWindow();
  delete m_pList;
  delete m_pScrollBar;
}

BOOL CComboDropWnd::DestroyWindow() {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_pList && m_pList->m_hWnd) m_pList->DestroyWindow();
  return CWnd::DestroyWindow();
}

int CComboDropWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  CRect cs(lpCreateStruct->x, lpCreateStruct->y, lpCreateStruct->x + lpCreateStruct->cx,
           lpCreateStruct->y + lpCreateStruct->cy);
  ModifyStyleEx(0, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, cs.left, cs.top, cs.Width(), cs.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);

  CRect client;
  GetClientRect(&client);
  m_rcScrollBar.SetRect(client.right - Metric(SM_CXVSCROLL), 0, client.right, client.bottom - Metric(SM_CYVSCROLL));
  m_pScrollBar = new CComboDropScrollBar;
  if (!m_pScrollBar->Create(WS_CHILD | SBS_VERT | SBS_RIGHTALIGN, m_rcScrollBar, this, kScrollBarId)) return -1;

  m_rcList.SetRect(0, 0, std::max(0, cs.Width() - Metric(SM_CXVSCROLL)), cs.Height());
  m_pList = new CComboDropList(m_pCombo);
  m_pList->SetScrollBar(m_pScrollBar);
  if (!m_pList->Create(WS_CHILD | LBS_NOINTEGRALHEIGHT, m_rcList, this, kListId)) return -1;
  m_pList->SetOptions(m_dwOptions);
  m_pList->ShowWindow(SW_SHOWNA);

  CRect placed = PlaceOnScreen(cs);
  m_nMaxWidth = placed.Width() + kGrowLimit;
  m_nMaxHeight = placed.Height() + kGrowLimit;
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, placed.left, placed.top, placed.Width(), placed.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);

  GetClientRect(&client);
  m_rcGrip.SetRect(client.right - Metric(SM_CXVSCROLL), client.bottom - Metric(SM_CYVSCROLL), client.right,
                   client.bottom);
  for (const ComboItem& item : m_items) m_pList->AddItem(item);
  m_pScrollBar->SetListBox(m_pList);
  m_pScrollBar->ShowWindow(SW_SHOWNA);
  SetCapture();
  return 0;
}

// Where the open list goes: below the combo box while at least the combo box's
// minimum number of rows fits there, above it otherwise; as wide as the widest
// item, and moved left to stay on the screen.
CRect CComboDropWnd::PlaceOnScreen(const CRect& cs) {
  CRect combo;
  m_pCombo->GetWindowRect(&combo);
  int H = m_pList->RowHeight();
  int N = static_cast<int>(m_items.size());
  int full = H * N + 2;
  int SH = Metric(SM_CYSCREEN), SW = Metric(SM_CXSCREEN);
  int L = m_pCombo->GetDropItemLimit();
  bool limited = L != -1 && N >= L;
  int y, height;
  if ((SH - cs.top) / H < m_pCombo->GetMinVisibleItems()) {
    int u = cs.top - combo.Height();
    if (!limited) {
      y = std::max(0, u - full);
      height = std::min(full, u - y);
    } else {
      y = std::max(0, u - H * L - 2);
      height = u - y;
    }
  } else {
    y = cs.top;
    if (!limited) {
      height = full;
      if (y + height > SH) height = SH - y;
      height = std::max(height, Metric(SM_CYVSCROLL));
    } else {
      height = H * L + 2;
      if (y + H * L > SH) height = SH - y + 2;
    }
  }

  int widest = 0;
  for (const ComboItem& item : m_items)
    widest = std::max(widest, static_cast<int>(m_pList->GetTextSize(item.text, item.text.GetLength()).cx));
  int width = widest + Metric(SM_CXVSCROLL) + 8;
  if (width < m_rcList.Width()) width = cs.Width();
  width = std::max(width, combo.Width());
  int x = cs.left;
  if (x + width > SW) x = SW - width;
  if (x <= 0) {
    x = 0;
    width = std::min(width, SW);
  }
  return CRect(x, y, x + width, y + height);
}

void CComboDropWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (!m_pList || !m_pScrollBar || !m_pList->m_hWnd || !m_pScrollBar->m_hWnd) return;
  m_rcList.SetRect(0, 0, cx - Metric(SM_CXVSCROLL), cy);
  m_rcList.DeflateRect(1, 1);
  m_pList->MoveWindow(&m_rcList);
  m_rcScrollBar.SetRect(cx - Metric(SM_CXVSCROLL), 0, cx, cy - Metric(SM_CYVSCROLL));
  m_rcScrollBar.DeflateRect(1, 1);
  m_pScrollBar->MoveWindow(&m_rcScrollBar);
  m_rcGrip.SetRect(cx - Metric(SM_CXVSCROLL), cy - Metric(SM_CYVSCROLL), cx, cy);
  m_rcGrip.DeflateRect(1, 1);
  InvalidateRect(m_rcGrip);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_PAGE;
  si.nPage = static_cast<UINT>(std::max(0, m_pList->GetBottomIndex() - m_pList->GetTopIndex()));
  m_pScrollBar->SetScrollInfo(&si, TRUE);
}

void CComboDropWnd::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  // The dark frame around list and scroll bar.
  CPen frame(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
  CPen* oldPen = dc.SelectObject(&frame);
  CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
  dc.Rectangle(0, 0, m_rcScrollBar.right + 1, client.bottom);
  dc.SelectObject(oldPen);
  dc.SelectObject(oldBrush);
  if (gUxTheme.ShouldDrawThemed()) {
    HTHEME theme = gUxTheme.OpenThemeData(m_hWnd, L"SCROLLBAR");
    gUxTheme.DrawThemeBackground(theme, dc.m_hDC, kSizeBoxPart, kNormalState, &m_rcGrip, nullptr);
    gUxTheme.DrawThemeBackground(theme, dc.m_hDC, kGripperPart, kNormalState, &m_rcGrip, nullptr);
    gUxTheme.CloseThemeData(theme);
  } else {
    dc.DrawFrameControl(&m_rcGrip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}

void CComboDropWnd::ResizeTo(CPoint point) {
  CRect combo;
  m_pCombo->GetWindowRect(&combo);
  int width = std::min(std::max(static_cast<int>(point.x + m_szToEdges.cx), combo.Width()), m_nMaxWidth);
  int height = std::min(static_cast<int>(point.y + m_szToEdges.cy + 2), m_nMaxHeight);
  if (point.y + m_szToEdges.cy < Metric(SM_CYVSCROLL)) height = Metric(SM_CXVSCROLL) + 1;
  SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CComboDropWnd::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bResizing) return ResizeTo(point);
  if (m_rcList.PtInRect(point)) {
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    ::ReleaseCapture();
    m_pScrollBar->SendMessage(WM_ACB_RELEASECAPTURE);
    m_pList->SetFocus();
    m_pList->SendMessage(WM_ACB_SETCAPTURE);
  } else if (m_rcScrollBar.PtInRect(point)) {
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    m_pScrollBar->SetFocus();
    ::ReleaseCapture();
    m_pList->SendMessage(WM_ACB_RELEASECAPTURE);
    m_pScrollBar->SendMessage(WM_ACB_SETCAPTURE);
  } else {
    ::SetCursor(::LoadCursorA(nullptr, m_rcGrip.PtInRect(point) ? IDC_SIZENWSE : IDC_ARROW));
    SetCapture();
  }
  CWnd::OnMouseMove(nFlags, point);
}

void CComboDropWnd::OnLButtonDown(UINT nFlags, CPoint point) {
  CRect client;
  GetClientRect(&client);
  if (m_rcGrip.PtInRect(point)) {
    m_bResizing = 1;
    m_ptResizeStart = point;
    m_szToEdges = CSize(client.right - point.x, client.bottom - point.y);
    return;
  }
  if (!client.PtInRect(point)) {
    ::ReleaseCapture();
    m_pCombo->PostMessage(WM_ACB_CLOSEDROPDOWN);
  }
  m_pCombo->SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

void CComboDropWnd::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bResizing) {
    m_bResizing = 0;
    ::LockWindowUpdate(nullptr);
    m_pList->RedrawWindow(nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
  }
  CWnd::OnLButtonUp(nFlags, point);
}

void CComboDropWnd::OnActivateApp(BOOL bActive, DWORD dwThreadID) {
  CWnd::OnActivateApp(bActive, dwThreadID);
  if (!bActive) m_pCombo->PostMessage(WM_ACB_CLOSEDROPDOWN);
}

LRESULT CComboDropWnd::OnSetCapture(WPARAM, LPARAM) { return AcbTakeCapture(m_hWnd); }
LRESULT CComboDropWnd::OnReleaseCapture(WPARAM, LPARAM) { return AcbReleaseCapture(m_hWnd); }

// ================================================================ list

BEGIN_MESSAGE_MAP(CComboDropList, CListBox)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_MESSAGE(WM_ACB_SETCAPTURE, OnSetCapture)
ON_MESSAGE(WM_ACB_RELEASECAPTURE, OnReleaseCapture)
END_MESSAGE_MAP()

int CComboDropList::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CListBox::OnCreate(lpCreateStruct) == -1) return -1;
  ModifyStyleEx(0, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  if (m_pCombo) CWnd::SetFont(m_pCombo->GetFont(), FALSE);
  return 0;
}

void CComboDropList::OnDestroy() {
  for (int row = 0; row < GetCount(); ++row) {
    delete static_cast<ComboItem*>(GetItemDataPtr(row));
    SetItemDataPtr(row, nullptr);
  }
  CListBox::OnDestroy();
}

int CComboDropList::RowHeight() const {
  int h = GetItemHeight(0);
  return h > 0 ? h : 1;
}

const ComboItem* CComboDropList::ItemOfRow(int row) const {
  if (row < 0 || row >= GetCount()) return nullptr;
  void* data = GetItemDataPtr(row);
  return data == reinterpret_cast<void*>(-1) ? nullptr : static_cast<const ComboItem*>(data);
}

int CComboDropList::AddItem(const ComboItem& item) {
  int row = AddString(item.text);
  if (row >= 0) SetItemDataPtr(row, new ComboItem(item));
  return row;
}

CSize CComboDropList::GetTextSize(LPCTSTR text, int length) {
  CClientDC dc(this);
  CFont* old = dc.SelectObject(m_pCombo->GetFont());
  CSize size = dc.GetTextExtent(text, length);
  dc.SelectObject(old);
  if (m_dwOptions & CBO_ITEM_MARGIN) size.cx += kItemMargin;
  return size;
}

int CComboDropList::GetVisibleCount() const {
  CRect client;
  GetClientRect(&client);
  return client.Height() / RowHeight();
}

void CComboDropList::SetTopIndex(int index, BOOL follow) {
  CListBox::SetTopIndex(index);
  m_nLastTop = GetTopIndex();
  if (follow && m_pScrollBar) m_pScrollBar->SetScrollPos(index);
}

// Disabled rows are stepped over in the direction of the move; a move that
// finds none keeps the asked row, and a disabled row is never selected.
int CComboDropList::SetCurSel(int index) {
  int current = CListBox::GetCurSel();
  int count = GetCount();
  int step = index < current ? -1 : 1;
  for (int row = index; row >= 0 && row < count; row += step) {
    const ComboItem* item = ItemOfRow(row);
    if (item && !item->disabled) {
      index = row;
      break;
    }
  }
  const ComboItem* item = ItemOfRow(index);
  if (item && item->disabled) return index;
  int result = CListBox::SetCurSel(index);
  if (result != LB_ERR) FollowTopRow();
  return result;
}

void CComboDropList::FollowTopRow() {
  m_nLastTop = GetTopIndex();
  if (m_pScrollBar && m_pScrollBar->m_hWnd) m_pScrollBar->SetScrollPos(m_nLastTop);
}

void CComboDropList::HandCaptureToDropWnd() {
  ::ReleaseCapture();
  GetParent()->SendMessage(WM_ACB_SETCAPTURE);
}

void CComboDropList::OnMouseMove(UINT, CPoint point) {
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(point)) HandCaptureToDropWnd();
  if (point.y >= 0) {
    int row = GetTopIndex() + point.y / RowHeight();
    const ComboItem* item = ItemOfRow(row);
    if (item && row != CListBox::GetCurSel() && !item->disabled) SetCurSel(row);
  }
  if (GetTopIndex() != m_nLastTop) FollowTopRow();
}

void CComboDropList::OnLButtonUp(UINT, CPoint point) {
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(point)) HandCaptureToDropWnd();
  if (point.y >= 0) {
    const ComboItem* under = ItemOfRow(GetTopIndex() + point.y / RowHeight());
    if (under && under->disabled) return;
  }
  int selected = CListBox::GetCurSel();
  const ComboItem* item = ItemOfRow(selected);
  if (item && item->disabled) return;
  if (item) m_pCombo->PostMessage(WM_ACB_SELECTITEM, static_cast<WPARAM>(selected));
  ::ReleaseCapture();
  m_pCombo->PostMessage(WM_ACB_CLOSEDROPDOWN);
}

LRESULT CComboDropList::OnSetCapture(WPARAM, LPARAM) { return AcbTakeCapture(m_hWnd); }
LRESULT CComboDropList::OnReleaseCapture(WPARAM, LPARAM) { return AcbReleaseCapture(m_hWnd); }

// ================================================================ scroll bar

BEGIN_MESSAGE_MAP(CComboDropScrollBar, CScrollBar)
ON_WM_VSCROLL_REFLECT()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_MESSAGE(WM_ACB_SETCAPTURE, OnSetCapture)
ON_MESSAGE(WM_ACB_RELEASECAPTURE, OnReleaseCapture)
END_MESSAGE_MAP()

void CComboDropScrollBar::SetListBox(CComboDropList* pList) {
  m_pList = pList;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = std::max(0, pList->GetCount() - 1);
  si.nPage = static_cast<UINT>(std::max(0, pList->GetBottomIndex() - pList->GetTopIndex()));
  si.nPos = 0;
  SetScrollInfo(&si, TRUE);
}

void CComboDropScrollBar::VScroll(UINT nSBCode, UINT nPos) {
  if (!m_pList) return;
  if (nSBCode == SB_ENDSCROLL) {
    ::ReleaseCapture();
    GetParent()->PostMessage(WM_ACB_SETCAPTURE);
    return;
  }
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  GetScrollInfo(&si, SIF_ALL);
  int pos = si.nPos;
  int page = static_cast<int>(si.nPage);
  switch (nSBCode) {
    case SB_LINEUP: pos -= 1; break;
    case SB_LINEDOWN: pos += 1; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = static_cast<int>(nPos); break;
    default: break;  // top and bottom only write the position back
  }
  pos = std::max(si.nMin, std::min(pos, si.nMax));
  if (nSBCode != SB_TOP && nSBCode != SB_BOTTOM) m_pList->SetTopIndex(pos, FALSE);
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(&si, TRUE);
}

void CComboDropScrollBar::HandCaptureBackIfOutside(CPoint point) {
  CRect client;
  GetClientRect(&client);
  if (client.PtInRect(point)) return;
  ::ReleaseCapture();
  GetParent()->SendMessage(WM_ACB_SETCAPTURE);
}

void CComboDropScrollBar::OnMouseMove(UINT nFlags, CPoint point) {
  HandCaptureBackIfOutside(point);
  CScrollBar::OnMouseMove(nFlags, point);
}

void CComboDropScrollBar::OnLButtonDown(UINT nFlags, CPoint point) {
  HandCaptureBackIfOutside(point);
  CScrollBar::OnLButtonDown(nFlags, point);
}

LRESULT CComboDropScrollBar::OnSetCapture(WPARAM, LPARAM) { return AcbTakeCapture(m_hWnd); }
LRESULT CComboDropScrollBar::OnReleaseCapture(WPARAM, LPARAM) { return AcbReleaseCapture(m_hWnd); }

// ================================================================ edit

BEGIN_MESSAGE_MAP(CComboEdit, CEdit)
ON_WM_CREATE()
ON_WM_TIMER()
END_MESSAGE_MAP()

int CComboEdit::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CEdit::OnCreate(lpCreateStruct) == -1) return -1;
  SetTimer(kForegroundTimer, kForegroundMs, nullptr);
  return 0;
}

void CComboEdit::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kForegroundTimer) {
    KillTimer(kForegroundTimer);
    ::SetForegroundWindow(m_hWnd);
  }
  CEdit::OnTimer(nIDEvent);
}
