#include "RTListCtrl.h"

#include <algorithm>

#include "SkinDraw.h"

IMPLEMENT_DYNAMIC(CRTListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CRTListCtrl, CListCtrl)
ON_WM_PAINT()
ON_WM_CREATE()
ON_MESSAGE(WM_STYLECHANGING, OnStyleChanging)
ON_WM_VSCROLL()
ON_WM_HSCROLL()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

WindowBarState WindowScrollState(HWND hwnd, int bar) {
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  WindowBarState state;
  if (!::GetScrollInfo(hwnd, bar, &si)) return state;
  state.limit = std::max(0, si.nMax - (si.nPage ? static_cast<int>(si.nPage) - 1 : 0));
  state.pos = si.nPos;
  return state;
}

CRTListCtrl::~CRTListCtrl() {
  // The list goes first, while this object is whole; the container then has
  // nothing of ours left inside it.
  if (m_hWnd) DestroyWindow();
}

BOOL CRTListCtrl::PreCreateWindow(CREATESTRUCT& cs) {
  m_creating = true;
  return CListCtrl::PreCreateWindow(cs) ? TRUE : FALSE;
}

void CRTListCtrl::AttachParts() {
  HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  if (header && !m_header.m_hWnd) m_header.SubclassWindow(header);
  m_container.Attach(this);
}

void CRTListCtrl::PreSubclassWindow() {
  if (!m_creating) AttachParts();
  CListCtrl::PreSubclassWindow();
}

int CRTListCtrl::OnCreate(LPCREATESTRUCT) {
  const LRESULT result = Default();
  m_creating = false;
  if (result == -1) return -1;
  AttachParts();
  // The header layout is the list's question to the header: ask again now
  // that the header answers with its own height.
  SendMessage(WM_SIZE, 0, 0);
  return 0;
}

void CRTListCtrl::SyncBars() {
  if (!m_container.m_hWnd) return;
  const WindowBarState v = WindowScrollState(m_hWnd, SB_VERT);
  const WindowBarState h = WindowScrollState(m_hWnd, SB_HORZ);
  m_container.SetVScrollRange(0, v.limit, TRUE);
  m_container.SetVScrollPos(v.pos, TRUE);
  m_container.SetHScrollRange(0, h.limit, TRUE);
  m_container.SetHScrollPos(h.pos, TRUE);
}

void CRTListCtrl::OnPaint() {
  SyncBars();
  if (!s_skinEnabled) {
    Default();
    return;
  }
  PAINTSTRUCT ps;
  CDC* dc = BeginPaint(&ps);
  const DWORD style = GetStyle();
  CHeaderCtrl* header = GetHeaderCtrl();
  // The report and list views (lowest view bit) show the header: the rows
  // must not paint over it.
  if (!(style & LVS_NOCOLUMNHEADER) && (style & 1) && header && header->m_hWnd) {
    CRect rect;
    header->GetWindowRect(&rect);
    ScreenToClient(&rect);
    dc->ExcludeClipRect(&rect);
  }
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc->GetSafeHdc()), 0);
  EndPaint(&ps);
}

int CRTListCtrl::RowHeight() const {
  CRect bounds;
  if (!GetItemRect(0, &bounds, LVIR_BOUNDS)) return 0;
  return bounds.Height();
}

bool CRTListCtrl::RowTop(int row, int* y) const {
  const int last = GetItemCount() - 1;
  if (last < 0) return false;
  POINT pt{0, 0};
  if (row <= last) {
    if (!GetItemPosition(row, &pt)) return false;
    *y = pt.y;
    return true;
  }
  const int height = RowHeight();
  if (height <= 0 || !GetItemPosition(last, &pt)) return false;
  *y = pt.y + (row - last) * height;
  return true;
}

BOOL CRTListCtrl::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  CRTMemDC mem(pDC, client);
  mem.FillSolidRect(&client, kBackground);
  CRTPenSelector pen(&mem, kRowLine);
  HGDIOBJ oldBrush = mem.SelectObject(::GetStockObject(NULL_BRUSH));
  // The visible rows and the one below the last whole one; an empty list is
  // only the fill.
  const int first = std::max(0, GetTopIndex());
  const int perPage = GetCountPerPage();
  for (int i = first; i <= first + perPage; ++i) {
    int top = 0, bottom = 0;
    if (!RowTop(i, &top) || !RowTop(i + 1, &bottom)) break;
    mem.MoveTo(client.left, top);
    mem.LineTo(client.right, top);
    mem.MoveTo(client.left, bottom);
    mem.LineTo(client.right, bottom);
    CRect band(client.left + 1, top + 1, client.right - 1, bottom - 1);
    if (!band.IsRectEmpty()) mem.FillSolidRect(&band, kBackground);
  }
  mem.SelectObject(oldBrush);
  return TRUE;
}

// Thumb positions name the row to show first; every other code, the arrows
// and page areas included, is the list view's own step.
void CRTListCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (nSBCode != SB_THUMBPOSITION && nSBCode != SB_THUMBTRACK) {
    CListCtrl::OnVScroll(nSBCode, nPos, pScrollBar);
    return;
  }
  const int rows = static_cast<int>(nPos) - ::GetScrollPos(m_hWnd, SB_VERT);
  Scroll(CSize(0, rows * RowHeight()));
}

void CRTListCtrl::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (nSBCode != SB_THUMBPOSITION && nSBCode != SB_THUMBTRACK) {
    CListCtrl::OnHScroll(nSBCode, nPos, pScrollBar);
    return;
  }
  Scroll(CSize(static_cast<int>(nPos) - ::GetScrollPos(m_hWnd, SB_HORZ), 0));
}

LRESULT CRTListCtrl::OnStyleChanging(WPARAM wParam, LPARAM lParam) {
  m_container.KeepOwnBarsHidden(wParam, lParam);
  return Default();
}
