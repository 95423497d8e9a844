#include "RTGroupBox.h"

#include "SkinDraw.h"

namespace {
const int kCaptionIndent = 10;  // caption from the frame's left or right end
const int kFrameCorner = 10;    // the frame's corner ellipse, whatever the roundness
const int kBackgroundPenWidth = 2;
}  // namespace

BEGIN_MESSAGE_MAP(CRTGroupBox, CButton)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CRTGroupBox::OnEraseBkgnd(CDC* pDC) {
  if (!m_backgroundFill) return CButton::OnEraseBkgnd(pDC);
  CRect back;
  GetClientRect(&back);
  back.DeflateRect(m_inset);
  CPen pen(PS_SOLID, kBackgroundPenWidth, m_frameColor);
  HGDIOBJ oldPen = pDC->SelectObject(static_cast<HGDIOBJ>(pen.GetSafeHandle()));
  CRTBrushSelector brush(pDC, m_backgroundColor);
  pDC->RoundRect(back.left, back.top, back.right, back.bottom, m_corner.cx, m_corner.cy);
  pDC->SelectObject(oldPen);
  return TRUE;
}

CRect CRTGroupBox::CaptionRect(const CRect& frame, CSize extent) const {
  int left = frame.left + kCaptionIndent;
  if (m_alignment == kAlignCenter) left = frame.left + (frame.right - extent.cx - frame.left) / 2;
  if (m_alignment == kAlignRight) left = frame.right - kCaptionIndent - extent.cx;
  return CRect(left, frame.top, left + extent.cx, frame.top + extent.cy);
}

// The top line runs through the middle of the caption, interrupted under it.
void CRTGroupBox::DrawFrame(CDC* pDC, const CRect& frame, const CRect& caption, int captionHeight) {
  CRTPenSelector pen(pDC, m_frameColor);
  CRTBrushSelector brush(pDC, CRTBrushSelector::kHollow);
  pDC->ExcludeClipRect(&caption);
  pDC->RoundRect(frame.left, frame.top + captionHeight / 2, frame.right, frame.bottom, kFrameCorner, kFrameCorner);
  CRgn captionRegion;
  captionRegion.CreateRectRgnIndirect(&caption);
  pDC->SelectClipRgn(&captionRegion, RGN_OR);
  captionRegion.DeleteObject();
}

void CRTGroupBox::DrawCaption(CDC* pDC, const CRect& caption) {
  if (!m_captionFillOff) pDC->FillSolidRect(&caption, m_captionBackColor);
  const COLORREF oldColor = pDC->SetTextColor(m_textColor);
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  CRect rect = caption;
  pDC->DrawText(m_caption, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldColor);
}

void CRTGroupBox::OnPaint() {
  CPaintDC dc(this);
  CRect frame;
  GetClientRect(&frame);
  frame.DeflateRect(1, 1);
  HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  HGDIOBJ oldFont = font ? dc.SelectObject(static_cast<HGDIOBJ>(font)) : nullptr;

  if (m_caption.IsEmpty()) {
    GetWindowText(m_caption);
    if (!m_caption.IsEmpty()) m_caption = " " + m_caption + " ";
  }
  const CSize extent = m_caption.IsEmpty() ? CSize(0, 0) : dc.GetTextExtent(m_caption);
  const CRect caption = CaptionRect(frame, extent);
  DrawFrame(&dc, frame, caption, extent.cy);
  DrawCaption(&dc, caption);
  if (oldFont) dc.SelectObject(oldFont);
}
