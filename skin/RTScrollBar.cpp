#include "RTScrollBar.h"

#include <algorithm>
#include <cmath>

#include "SkinSlot.h"

IMPLEMENT_DYNAMIC(CRTScrollBar, CScrollBar)

BEGIN_MESSAGE_MAP(CRTScrollBar, CScrollBar)
ON_WM_PAINT()
ON_WM_TIMER()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_CAPTURECHANGED()
ON_WM_CANCELMODE()
ON_WM_ENABLE()
END_MESSAGE_MAP()

namespace {

// Geometry along the bar: a vertical bar is a horizontal one with x and y
// exchanged, so the layout is written once for the horizontal case.
CRect Swap(const CRect& r) { return CRect(r.top, r.left, r.bottom, r.right); }

const int kSkinRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

}  // namespace

bool CRTScrollBar::IsVertical() const { return (GetStyle() & SBS_VERT) != 0; }

const SkinImageSet& CRTScrollBar::TrackImages() const { return IsVertical() ? s_vertical : s_horizontal; }
const SkinImageSet& CRTScrollBar::FirstArrowImages() const { return IsVertical() ? s_upArrow : s_leftArrow; }
const SkinImageSet& CRTScrollBar::SecondArrowImages() const { return IsVertical() ? s_downArrow : s_rightArrow; }

int CRTScrollBar::ShownPosition(const SCROLLINFO& si) const { return m_dragging ? m_dragPos : si.nPos; }

CRTScrollBar::Parts CRTScrollBar::GetParts() {
  Parts p;
  CRect client;
  GetClientRect(&client);
  const bool vertical = IsVertical();
  if (vertical) client = Swap(client);
  const int h = client.Height();
  p.firstArrow = CRect(client.left, client.top, client.left + h, client.bottom);
  if (m_arrowPlacement == kCornerAtStart) {
    p.firstCorner = p.firstArrow;
    p.firstArrow.OffsetRect(h + 1, 0);
  }
  p.secondArrow = CRect(client.right - h, client.top, client.right, client.bottom);
  if (m_arrowPlacement == kCornerAtEnd) {
    p.secondCorner = p.secondArrow;
    p.secondArrow.OffsetRect(-(h + 1), 0);
  }
  p.track = CRect(p.firstArrow.right + 1, client.top, p.secondArrow.left - 1, client.bottom);

  SCROLLINFO si{};
  GetScrollInfo(&si, SIF_ALL);
  const int length = std::max(0, p.track.Width());
  const int thumb = length >= kThumbLength ? kThumbLength : length / 2;
  const int free = length - thumb;
  const long long range = static_cast<long long>(si.nMax) - si.nMin;
  if (range > 0) {
    const long long pos = std::clamp<long long>(ShownPosition(si), si.nMin, si.nMax);
    const int offset = static_cast<int>(static_cast<double>(free) / static_cast<double>(range) *
                                        static_cast<double>(pos - si.nMin));
    p.thumb = CRect(p.track.left + offset, client.top, p.track.left + offset + (thumb > 0 ? thumb : 3), client.bottom);
  }
  if (vertical) {
    for (CRect* r : {&p.firstArrow, &p.secondArrow, &p.firstCorner, &p.secondCorner, &p.track, &p.thumb})
      if (!r->IsRectNull()) *r = Swap(*r);
  }
  return p;
}

void CRTScrollBar::SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw) {
  int oldMin = 0, oldMax = 0;
  GetScrollRange(&oldMin, &oldMax);
  if (oldMin == nMinPos && oldMax == nMaxPos) return;
  if (!s_skinEnabled) {
    CScrollBar::SetScrollRange(nMinPos, nMaxPos, bRedraw);
    return;
  }
  CScrollBar::SetScrollRange(nMinPos, nMaxPos, FALSE);
  RedrawWindow(nullptr, nullptr, kSkinRedraw);
}

int CRTScrollBar::SetScrollPos(int nPos, BOOL bRedraw) {
  const int old = GetScrollPos();
  if (old == nPos) return old;
  if (!s_skinEnabled) return CScrollBar::SetScrollPos(nPos, bRedraw);
  CScrollBar::SetScrollPos(nPos, FALSE);
  RedrawWindow(nullptr, nullptr, kSkinRedraw);
  return old;
}

void CRTScrollBar::SetArrowPlacement(int placement) {
  m_arrowPlacement = placement;
  if (m_hWnd) Invalidate(TRUE);
}

// ---------------------------------------------------------------- painting

void CRTScrollBar::DrawArrow(CDC* dc, const CRect& rect, const SkinImageSet& images, int pressed) {
  const int slot = !IsWindowEnabled() ? SkinImageSet::kDisable : pressed ? SkinImageSet::kDown : SkinImageSet::kNormal;
  DrawSkinSlot(dc, rect, images, slot);
}

void CRTScrollBar::DrawThumb(CDC* dc, const CRect& rect) {
  const int slot = !IsWindowEnabled() ? SkinImageSet::kDisable : m_dragging ? SkinImageSet::kDown : SkinImageSet::kNormal;
  DrawSkinSlot(dc, rect, TrackImages(), slot);
}

void CRTScrollBar::OnPaint() {
  if (!s_skinEnabled) {
    Default();
    return;
  }
  PAINTSTRUCT ps;
  CDC* target = BeginPaint(&ps);
  CRect client;
  GetClientRect(&client);
  {
    CRTMemDC dc(target, client);
    const SkinImageSet& track = TrackImages();
    CBitmap* back = track.images[SkinImageSet::kBack];
    const int backMode = track.modes[SkinImageSet::kBack];
    const Parts parts = GetParts();
    // The track image first under everything, so that the pixel between an
    // arrow and the track is the track's too.
    DrawSkinBitmap(&dc, client, back, backMode);
    if (!parts.firstCorner.IsRectEmpty()) DrawSkinBitmap(&dc, parts.firstCorner, back, backMode);
    DrawArrow(&dc, parts.firstArrow, FirstArrowImages(), m_firstArrowPressed);
    if (!parts.secondCorner.IsRectEmpty()) DrawSkinBitmap(&dc, parts.secondCorner, back, backMode);
    DrawArrow(&dc, parts.secondArrow, SecondArrowImages(), m_secondArrowPressed);
    DrawSkinBitmap(&dc, parts.track, back, backMode);
    if (!parts.thumb.IsRectEmpty()) DrawThumb(&dc, parts.thumb);
  }
  EndPaint(&ps);
}

BOOL CRTScrollBar::OnEraseBkgnd(CDC* pDC) {
  if (s_skinEnabled) return FALSE;
  return CScrollBar::OnEraseBkgnd(pDC);
}

// ---------------------------------------------------------------- input

void CRTScrollBar::SendScroll(UINT code, int pos) {
  CWnd* parent = GetParent();
  if (!parent) return;
  parent->SendMessage(IsVertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)),
                      reinterpret_cast<LPARAM>(m_hWnd));
}

void CRTScrollBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (!s_skinEnabled) {
    CScrollBar::OnLButtonDown(nFlags, point);
    return;
  }
  HWND self = m_hWnd;
  m_repeatTicks = 0;
  SetCapture();
  const Parts parts = GetParts();
  UINT code;
  UINT timer;
  if (parts.thumb.PtInRect(point)) {
    m_grabX = point.x - parts.thumb.left;
    m_grabY = point.y - parts.thumb.top;
    m_thumbPressed = 1;
    m_dragPos = GetScrollPos();
    RedrawWindow(nullptr, nullptr, kSkinRedraw);
    return;
  } else if (parts.secondArrow.PtInRect(point)) {
    m_secondArrowPressed = 1;
    code = SB_LINEDOWN;
    timer = kArrowTimer;
  } else if (parts.firstArrow.PtInRect(point)) {
    m_firstArrowPressed = 1;
    code = SB_LINEUP;
    timer = kArrowTimer;
  } else if (parts.track.PtInRect(point) && GetParent()) {
    const bool before = IsVertical() ? point.y < parts.thumb.top : point.x < parts.thumb.left;
    (before ? m_firstArrowPressed : m_secondArrowPressed) = 1;
    code = before ? SB_PAGEUP : SB_PAGEDOWN;
    timer = kPageTimer;
  } else {
    return;  // the capture stays until the button is released
  }
  SendScroll(code);
  // The parent may have closed us, or taken the capture (a message box), in
  // which case the press is over and must not start repeating.
  if (!::IsWindow(self)) return;
  RedrawWindow(nullptr, nullptr, kSkinRedraw);
  if (::GetCapture() == self) SetTimer(timer, kRepeatMs, nullptr);
}

void CRTScrollBar::OnTimer(UINT_PTR nIDEvent) {
  if (!s_skinEnabled) {
    CScrollBar::OnTimer(nIDEvent);
    return;
  }
  if (m_repeatTicks < kTicksBeforeRepeat) {
    ++m_repeatTicks;
    return;
  }
  if (nIDEvent == kArrowTimer) {
    if (m_firstArrowPressed) SendScroll(SB_LINEUP);
    else if (m_secondArrowPressed) SendScroll(SB_LINEDOWN);
  } else if (nIDEvent == kPageTimer) {
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    if (GetParts().thumb.PtInRect(cursor)) return;
    if (m_firstArrowPressed) SendScroll(SB_PAGEUP);
    else if (m_secondArrowPressed) SendScroll(SB_PAGEDOWN);
  }
}

bool CRTScrollBar::PositionAt(CPoint point, const Parts& parts, int* pos) {
  const bool vertical = IsVertical();
  const int free = vertical ? parts.track.Height() - parts.thumb.Height() : parts.track.Width() - parts.thumb.Width();
  // A track no longer than its thumb has nowhere to drag to.
  if (free <= 0) return false;
  SCROLLINFO si{};
  GetScrollInfo(&si, SIF_RANGE);
  const int along = vertical ? point.y - m_grabY - parts.track.top : point.x - m_grabX - parts.track.left;
  const double ratio = static_cast<double>(along) / free;
  const double range = static_cast<double>(si.nMax) - si.nMin;
  const double at = std::clamp(si.nMin + std::trunc(range * ratio), static_cast<double>(si.nMin),
                               static_cast<double>(si.nMax));
  *pos = static_cast<int>(at);
  return true;
}

void CRTScrollBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (!s_skinEnabled) {
    CScrollBar::OnMouseMove(nFlags, point);
    return;
  }
  if (!GetParent()) return;
  if (m_thumbPressed) m_dragging = 1;
  if (!m_dragging) return;
  const Parts parts = GetParts();
  if (parts.thumb.IsRectEmpty()) return;
  const bool vertical = IsVertical();
  if (vertical ? point.y == parts.thumb.top + m_grabY : point.x == parts.thumb.left + m_grabX) return;
  int pos;
  if (!PositionAt(point, parts, &pos) || pos == m_dragPos) return;
  m_dragPos = pos;
  RedrawWindow(nullptr, nullptr, kSkinRedraw);
  SendScroll(SB_THUMBTRACK, pos);
}

void CRTScrollBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!s_skinEnabled) {
    CScrollBar::OnLButtonUp(nFlags, point);
    return;
  }
  HWND self = m_hWnd;
  m_releasing = true;
  ReleaseCapture();
  m_releasing = false;
  if (m_dragging) {
    m_dragging = 0;
    const Parts parts = GetParts();
    int pos;
    if (GetParent() && !parts.thumb.IsRectEmpty() && PositionAt(point, parts, &pos)) {
      SendScroll(SB_THUMBPOSITION, pos);
      if (!::IsWindow(self)) return;
    }
  }
  if (m_thumbPressed || m_firstArrowPressed || m_secondArrowPressed) EndPress();
}

void CRTScrollBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  HWND self = m_hWnd;
  OnLButtonDown(nFlags, point);
  if (::IsWindow(self)) OnLButtonUp(nFlags, point);
}

void CRTScrollBar::EndPress() {
  m_thumbPressed = m_firstArrowPressed = m_secondArrowPressed = 0;
  m_dragging = 0;
  KillTimer(kPageTimer);
  KillTimer(kArrowTimer);
  RedrawWindow(nullptr, nullptr, kSkinRedraw);
}

void CRTScrollBar::OnCaptureChanged(CWnd* pWnd) {
  if (!m_releasing && (m_thumbPressed || m_dragging || m_firstArrowPressed || m_secondArrowPressed)) EndPress();
  CScrollBar::OnCaptureChanged(pWnd);
}

void CRTScrollBar::OnCancelMode() {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();  // WM_CAPTURECHANGED ends the press
  if (m_thumbPressed || m_dragging || m_firstArrowPressed || m_secondArrowPressed) EndPress();
  CScrollBar::OnCancelMode();
}

// The disabled images replace every part, so the whole bar changes.
void CRTScrollBar::OnEnable(BOOL bEnable) {
  CScrollBar::OnEnable(bEnable);
  if (s_skinEnabled) Invalidate(FALSE);
}
