#include "RTTabCtrl.h"

#include "SkinDraw.h"

BEGIN_MESSAGE_MAP(CRTTabCtrl, CTabCtrl)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {
const UINT kRaised = BDR_RAISEDINNER;
const UINT kSunken = BDR_SUNKENOUTER;
const UINT kOuter = BDR_RAISEDOUTER;
const int kMaxTabText = 1024;

void Edge(CDC* dc, CRect r, UINT edge, UINT sides) { dc->DrawEdge(&r, edge, sides); }
}  // namespace

CRTTabCtrl::Layout CRTTabCtrl::GetLayout() const {
  const DWORD style = GetStyle();
  if (style & TCS_BOTTOM) return Layout::kBottom;
  if ((style & TCS_VERTICAL) && (style & TCS_MULTILINE)) return Layout::kSide;
  return Layout::kTop;
}

CWnd* CRTTabCtrl::PageOf(int index) const {
  TCITEM item{};
  item.mask = TCIF_PARAM;
  if (!GetItem(index, &item)) return nullptr;
  return reinterpret_cast<CWnd*>(item.lParam);
}

int CRTTabCtrl::InsertTab(int index, LPCTSTR text, int image, CWnd* page) {
  TCITEM item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
  item.pszText = const_cast<LPTSTR>(text);
  item.iImage = image;
  item.lParam = reinterpret_cast<LPARAM>(page);
  const int at = static_cast<int>(InsertItem(index, &item));
  if (at < 0) return -1;
  if (page && page->GetSafeHwnd()) {
    page->SetParent(this);
    page->ShowWindow(at == GetCurSel() ? SW_SHOW : SW_HIDE);
  }
  return at;
}

void CRTTabCtrl::GetPageRect(CRect* rect) const {
  CRect q;
  GetClientRect(&q);
  CRect t;
  if (!DrawsTabs() || !GetItemRect(0, &t)) {
    *rect = q;
    rect->DeflateRect(5, 5);
    return;
  }
  switch (GetLayout()) {
    case Layout::kBottom:
      rect->SetRect(q.left + 5, q.top + 5, q.right - 5, q.bottom - t.Height() - 4);
      break;
    case Layout::kSide:
      rect->SetRect(q.left + t.Width() + 4, q.top + 5, q.right - 5, q.bottom - 5);
      break;
    case Layout::kTop:
      rect->SetRect(q.left + 5, q.top + t.Height() + 4, q.right - 5, q.bottom - 5);
      break;
  }
}

// The parent hears every notification too, before the control's own handling.
BOOL CRTTabCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (CWnd* parent = GetParent()) parent->SendMessage(WM_NOTIFY, wParam, lParam);
  return CTabCtrl::OnNotify(wParam, lParam, pResult);
}

void CRTTabCtrl::OnSize(UINT nType, int cx, int cy) {
  CTabCtrl::OnSize(nType, cx, cy);
  CRect page;
  GetPageRect(&page);
  for (int i = 0; i < GetItemCount(); ++i) {
    CWnd* wnd = PageOf(i);
    if (!wnd || !wnd->GetSafeHwnd()) continue;
    wnd->MoveWindow(&page, FALSE);
    wnd->Invalidate();
  }
}

BOOL CRTTabCtrl::OnEraseBkgnd(CDC* pDC) {
  CRect q;
  GetClientRect(&q);
  // The shown page paints its own area.
  CWnd* shown = m_lastSelection >= 0 ? PageOf(m_lastSelection) : nullptr;
  if (shown) {
    CRect page;
    GetPageRect(&page);
    pDC->ExcludeClipRect(&page);
  }
  if (s_skinEnabled && s_images.images[0]) {
    DrawSkinBitmap(pDC, q, s_images.images[0], s_images.modes[0]);
  } else if (!CTabCtrl::OnEraseBkgnd(pDC)) {
    return FALSE;
  }

  if (!DrawsTabs()) {
    CRect frame = q;
    frame.DeflateRect(2, 2);
    pDC->DrawEdge(&frame, kRaised, BF_RECT);
    return TRUE;
  }
  CRect last;
  GetItemRect(GetItemCount() - 1, &last);
  switch (GetLayout()) {
    case Layout::kBottom:
      if (last.right < q.right) Edge(pDC, CRect(last.right, last.top, q.right - 2, last.bottom), kSunken, BF_TOP);
      Edge(pDC, CRect(q.left + 2, q.top + 2, q.right - 2, last.top), kRaised, BF_TOP | BF_RIGHT | BF_LEFT);
      break;
    case Layout::kSide:
      if (last.bottom < q.bottom) Edge(pDC, CRect(last.left, last.bottom, last.right, q.bottom - 2), kSunken, BF_RIGHT);
      Edge(pDC, CRect(last.right, q.top + 2, q.right - 2, q.bottom - 2), kRaised, BF_TOP | BF_RIGHT | BF_BOTTOM);
      break;
    case Layout::kTop:
      if (last.right < q.right) Edge(pDC, CRect(last.right, last.top, q.right - 2, last.bottom), kSunken, BF_BOTTOM);
      Edge(pDC, CRect(q.left + 2, last.bottom, q.right - 2, q.bottom - 2), kRaised, BF_LEFT | BF_RIGHT | BF_BOTTOM);
      break;
  }
  return TRUE;
}

void CRTTabCtrl::DrawTabEdges(CDC* dc, const CRect& r, bool selected, bool nextSelected, Layout layout) const {
  switch (layout) {
    case Layout::kBottom:
      if (selected) {
        Edge(dc, r, kRaised, BF_BOTTOM | BF_LEFT | BF_RIGHT);
      } else {
        Edge(dc, r, kSunken, BF_TOP);
        Edge(dc, r, kRaised, BF_BOTTOM);
        const CRect inner(r.left, r.top + 1, r.right, r.bottom);
        if (!nextSelected) Edge(dc, inner, kRaised, BF_RIGHT);
        Edge(dc, inner, kRaised, BF_LEFT);
      }
      break;
    case Layout::kSide:
      if (selected) {
        Edge(dc, r, kRaised, BF_TOP | BF_LEFT | BF_BOTTOM);
      } else {
        Edge(dc, r, kRaised, BF_LEFT);
        Edge(dc, r, kSunken, BF_RIGHT);
        const CRect inner(r.left + 1, r.top, r.right - 1, r.bottom);
        Edge(dc, inner, kRaised, BF_TOP);
        if (!nextSelected) Edge(dc, inner, kOuter, BF_BOTTOM);
      }
      break;
    case Layout::kTop:
      if (selected) {
        Edge(dc, r, kRaised, BF_TOP | BF_LEFT | BF_RIGHT);
      } else {
        Edge(dc, r, kSunken, BF_BOTTOM);
        Edge(dc, r, kRaised, BF_TOP);
        const CRect inner(r.left, r.top, r.right, r.bottom - 1);
        if (!nextSelected) Edge(dc, inner, kRaised, BF_RIGHT);
        Edge(dc, inner, kRaised, BF_LEFT);
      }
      break;
  }
}

void CRTTabCtrl::DrawTabLabel(CDC* dc, const CRect& r, int image, const CString& text, Layout layout) const {
  const int h = r.Height(), w = r.Width();
  LOGFONT font{};
  if (CFont* own = GetFont()) own->GetLogFont(&font);
  CImageList* images = GetImageList();
  if (images) {
    const CSize iconSize = layout == Layout::kSide ? CSize(w - 2, w - 2) : CSize(h - 4, h - 2);
    images->DrawIndirect(dc, image, CPoint(r.left + 1, r.top + 1), iconSize, CPoint(0, 0));
    if (layout == Layout::kSide) {
      DrawVerticalText(dc, CRect(r.left, r.top + w, r.right, r.bottom), text, text.GetLength(), 0, font);
      return;
    }
    TEXTMETRIC tm{};
    dc->GetTextMetrics(&tm);
    CRect at(r.left + h, r.top + (h - tm.tmHeight) / 2, r.right, r.bottom);
    dc->DrawText(text, &at, DT_SINGLELINE | DT_LEFT | DT_END_ELLIPSIS);
    return;
  }
  if (layout == Layout::kSide) {
    DrawVerticalText(dc, CRect(r.left, r.top + 4, r.right, r.bottom), text, text.GetLength(), 0, font);
    return;
  }
  CRect at = r;
  dc->DrawText(text, &at, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
}

void CRTTabCtrl::OnPaint() {
  CPaintDC dc(this);
  const int selection = GetCurSel();
  if (selection != m_lastSelection) m_lastSelection = selection;
  if (!DrawsTabs()) return;

  CRect q;
  GetClientRect(&q);
  dc.IntersectClipRect(2, 2, q.right - 2, q.bottom - 2);
  dc.SetBkMode(TRANSPARENT);
  CFont* own = GetFont();
  CFont* oldFont = own ? dc.SelectObject(own) : nullptr;
  const Layout layout = GetLayout();
  for (int i = 0; i < GetItemCount(); ++i) {
    char text[kMaxTabText + 1] = {};
    TCITEM item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    item.pszText = text;
    item.cchTextMax = kMaxTabText;
    GetItem(i, &item);
    CRect r;
    GetItemRect(i, &r);
    DrawTabEdges(&dc, r, i == selection, i + 1 == selection, layout);
    DrawTabLabel(&dc, r, item.iImage, CString(text), layout);
  }
  if (oldFont) dc.SelectObject(oldFont);
}
