#include "RTView.h"

#include "SkinDraw.h"

IMPLEMENT_DYNCREATE(CRTView, CView)

BEGIN_MESSAGE_MAP(CRTView, CView)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

// The content belongs to the derived views.
void CRTView::OnDraw(CDC* /*pDC*/) {}

BOOL CRTView::OnEraseBkgnd(CDC* pDC) {
  if (s_skinEnabled && s_images.images[0]) {
    CRect client;
    GetClientRect(&client);
    DrawSkinBitmap(pDC, client, s_images.images[0], s_images.modes[0]);
  }
  return TRUE;
}
