#include "RTStatusBar.h"

#include "SkinDraw.h"

BEGIN_MESSAGE_MAP(CRTStatusBar, CStatusBar)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {
const int kMinHeight = 20;
const COLORREF kOutline = RGB(0, 200, 200);
}  // namespace

BOOL CRTStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (!CStatusBar::SetIndicators(lpIDArray, nIDCount)) return FALSE;
  if (!s_skinEnabled) return TRUE;
  GetStatusBarCtrl().SetMinHeight(kMinHeight);
  for (int i = 0; i < GetCount(); ++i) {
    UINT id = 0, style = 0;
    int width = 0;
    GetPaneInfo(i, id, style, width);
    SetPaneInfo(i, id, style | SBPS_NOBORDERS, width);
  }
  return TRUE;
}

BOOL CRTStatusBar::OnEraseBkgnd(CDC* pDC) {
  if (s_skinEnabled) {
    CRect window;
    GetWindowRect(&window);
    const CRect whole(0, 0, window.Width(), window.Height());
    if (DrawSkinBitmap(pDC, whole, s_images.images[0], s_images.modes[0])) return TRUE;
  }
  return CStatusBar::OnEraseBkgnd(pDC);
}

void CRTStatusBar::OnPaint() {
  if (!s_skinEnabled) {
    Default();
    return;
  }
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);

  NONCLIENTMETRICS metrics{};
  metrics.cbSize = sizeof(metrics);
  ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  metrics.lfStatusFont.lfWeight = FW_NORMAL;
  CFont font;
  font.CreateFontIndirect(&metrics.lfStatusFont);
  CRTPenSelector pen(&dc, kOutline);
  CFont* oldFont = dc.SelectObject(&font);
  dc.SetBkMode(TRANSPARENT);
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);

  const int count = GetCount();
  for (int i = 0; i < count; ++i) {
    CRect pane;
    GetItemRect(i, &pane);
    if (i == count - 1 && pane.right < client.right) pane.right = client.right;
    dc.Rectangle(&pane);
    pane.DeflateRect(1, 1);
    const CString text = GetPaneText(i);
    if (s_images.images[0]) DrawSkinBitmap(&dc, pane, s_images.images[0], s_images.modes[0]);
    pane.top += (pane.bottom - tm.tmHeight - pane.top) / 2;
    dc.DrawText(text, &pane, DT_SINGLELINE);
  }
  dc.SelectObject(oldFont);
}
