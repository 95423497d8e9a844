#include "RTTreeCtrl.h"

#include <algorithm>

#include "RTListCtrl.h"
#include "SkinDraw.h"

BEGIN_MESSAGE_MAP(CRTTreeCtrl, CTreeCtrl)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_STYLECHANGING, OnStyleChanging)
END_MESSAGE_MAP()

CRTTreeCtrl::~CRTTreeCtrl() {
  // The tree goes first, while this object is whole; the container then has
  // nothing of ours left inside it.
  if (m_hWnd) DestroyWindow();
}

BOOL CRTTreeCtrl::PreCreateWindow(CREATESTRUCT& cs) {
  m_creating = true;
  return CTreeCtrl::PreCreateWindow(cs);
}

void CRTTreeCtrl::PreSubclassWindow() {
  if (!m_creating) {
    m_horizontal = (GetStyle() & WS_HSCROLL) != 0;
    m_container.Attach(this);
  }
  CTreeCtrl::PreSubclassWindow();
}

CScrollBar* CRTTreeCtrl::GetScrollBarCtrl(int) const { return nullptr; }

int CRTTreeCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  const LRESULT result = Default();
  m_creating = false;
  if (result == -1) return -1;
  m_horizontal = lpCreateStruct && (lpCreateStruct->style & WS_HSCROLL) != 0;
  m_container.Attach(this);
  return 0;
}

// The rows shown (expanded branches included) say how far the tree can
// scroll: the tree keeps no bar information of its own once the container
// has hidden its bars.
void CRTTreeCtrl::SyncBars() {
  if (!m_container.m_hWnd) return;
  const HTREEITEM first = GetFirstVisibleItem();
  int rows = 0, top = 0;
  for (HTREEITEM item = GetRootItem(); item; item = GetNextItem(item, TVGN_NEXTVISIBLE)) {
    if (item == first) top = rows;
    ++rows;
  }
  const int perPage = std::max(1, static_cast<int>(GetVisibleCount()));
  m_container.SetVScrollRange(0, std::max(0, rows - perPage), TRUE);
  m_container.SetVScrollPos(top, TRUE);
  const WindowBarState h = m_horizontal ? WindowScrollState(m_hWnd, SB_HORZ) : WindowBarState{};
  m_container.SetHScrollRange(0, h.limit, TRUE);
  m_container.SetHScrollPos(h.pos, TRUE);
}

void CRTTreeCtrl::OnPaint() {
  SyncBars();
  CPaintDC dc(this);
  if (!Skinned()) {
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    return;
  }
  CRect client;
  GetClientRect(&client);
  if (client.IsRectEmpty()) return;
  CRTMemDC offscreen(&dc, client);
  CDC tree;
  tree.CreateCompatibleDC(&dc);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
  HGDIOBJ old = tree.SelectObject(static_cast<HGDIOBJ>(bitmap.GetSafeHandle()));
  const WPARAM hdc = reinterpret_cast<WPARAM>(tree.GetSafeHdc());
  DefWindowProc(WM_ERASEBKGND, hdc, 0);
  DefWindowProc(WM_PAINT, hdc, 0);
  DrawSkinBitmap(&offscreen, client, s_images.images[0], s_images.modes[0]);
  offscreen.TransparentBlt(client.left, client.top, client.Width(), client.Height(), &tree, 0, 0, client.Width(),
                           client.Height(), ::GetSysColor(COLOR_WINDOW));
  tree.SelectObject(old);
}

// The skinned paint covers the whole client area.
BOOL CRTTreeCtrl::OnEraseBkgnd(CDC*) {
  if (Skinned()) return TRUE;
  return static_cast<BOOL>(Default());
}

LRESULT CRTTreeCtrl::OnStyleChanging(WPARAM wParam, LPARAM lParam) {
  m_container.KeepOwnBarsHidden(wParam, lParam);
  return Default();
}
