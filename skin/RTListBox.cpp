#include "RTListBox.h"

#include <algorithm>

#include "RTListCtrl.h"

IMPLEMENT_DYNAMIC(CRTListBox, CListBox)

BEGIN_MESSAGE_MAP(CRTListBox, CListBox)
ON_WM_PAINT()
ON_WM_CREATE()
ON_MESSAGE(WM_STYLECHANGING, OnStyleChanging)
END_MESSAGE_MAP()

CRTListBox::~CRTListBox() {
  if (m_hWnd) DestroyWindow();
}

BOOL CRTListBox::PreCreateWindow(CREATESTRUCT& cs) {
  m_creating = true;
  return CListBox::PreCreateWindow(cs);
}

// Whether a list box that already exists was made with a horizontal bar. Its
// style alone cannot say: a list box hides that bar, and takes WS_HSCROLL off
// its style, while its rows fit, so a dialog template's list arrives here
// without it. But a list box with the bar keeps the bar's page at its client
// width from its creation on, while one without has never set a page.
static bool MadeWithHorizontalBar(HWND list) {
  if (::GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL) return true;
  SCROLLINFO si{sizeof si, SIF_PAGE, 0, 0, 0, 0, 0};
  return ::GetScrollInfo(list, SB_HORZ, &si) && si.nPage > 0;
}

void CRTListBox::PreSubclassWindow() {
  if (!m_creating) {
    m_horizontal = MadeWithHorizontalBar(m_hWnd);
    m_container.Attach(this);
  }
  CListBox::PreSubclassWindow();
}

int CRTListBox::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  const LRESULT result = Default();
  m_creating = false;
  if (result == -1) return -1;
  m_horizontal = lpCreateStruct && (lpCreateStruct->style & WS_HSCROLL) != 0;
  m_container.Attach(this);
  return 0;
}

// The rows themselves say how far the list can scroll: the list box keeps no
// bar of its own once the container has hidden it.
void CRTListBox::SyncBars() {
  if (!m_container.m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  const int rowHeight = std::max(1, GetItemHeight(0));
  const int perPage = std::max(1, client.Height() / rowHeight);
  m_container.SetVScrollRange(0, std::max(0, GetCount() - perPage), TRUE);
  m_container.SetVScrollPos(GetTopIndex(), TRUE);
  const WindowBarState h = m_horizontal ? WindowScrollState(m_hWnd, SB_HORZ) : WindowBarState{};
  m_container.SetHScrollRange(0, h.limit, TRUE);
  m_container.SetHScrollPos(h.pos, TRUE);
}

void CRTListBox::OnPaint() {
  PAINTSTRUCT ps;
  CDC* dc = BeginPaint(&ps);
  SyncBars();
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc->GetSafeHdc()), 0);
  EndPaint(&ps);
}

LRESULT CRTListBox::OnStyleChanging(WPARAM wParam, LPARAM lParam) {
  m_container.KeepOwnBarsHidden(wParam, lParam);
  return Default();
}
