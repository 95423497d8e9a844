#include "RTStatic.h"

#include "SkinDraw.h"

IMPLEMENT_DYNAMIC(CRTStatic, CStatic)

BEGIN_MESSAGE_MAP(CRTStatic, CStatic)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CRTStatic::OnEraseBkgnd(CDC* pDC) {
  // The paint covers the whole client area itself, or lets the parent show through.
  if (s_skinEnabled && s_back.images[0]) return TRUE;
  return CStatic::OnEraseBkgnd(pDC);
}

// Frames such as SS_BLACKFRAME (the low three style bits all set) keep the
// parent's background inside them.
bool CRTStatic::ShowsBackImage() const {
  const DWORD kFrameBits = 7;
  return !m_transparent && (GetStyle() & kFrameBits) != kFrameBits;
}

void CRTStatic::OnPaint() {
  if (!s_skinEnabled) {
    Default();
    return;
  }
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);

  // The static draws itself (text, colours from the parent) on a 3D-face
  // canvas, which is then keyed out, so only what it drew lands on our background.
  const COLORREF key = ::GetSysColor(COLOR_BTNFACE);
  CRTMemDC text(nullptr, client);
  text.FillSolidRect(&client, key);
  const WPARAM canvas = reinterpret_cast<WPARAM>(text.GetSafeHdc());
  DefWindowProc(WM_ERASEBKGND, canvas, 0);
  DefWindowProc(WM_PAINT, canvas, 0);

  if (ShowsBackImage()) DrawSkinBitmap(&dc, client, s_back.images[0], s_back.modes[0]);
  dc.TransparentBlt(0, 0, client.Width(), client.Height(), &text, 0, 0, client.Width(), client.Height(), key);
}
