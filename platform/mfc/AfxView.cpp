// The view: painted through OnDraw, activated with its frame.

#include "AfxView.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
  ON_WM_PAINT()
  ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass)
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  cs.style |= WS_CLIPSIBLINGS;
  return TRUE;
}

CFrameWnd* CView::GetParentFrame() const {
  for (CWnd* p = GetParent(); p; p = p->GetParent())
    if (auto* frame = dynamic_cast<CFrameWnd*>(p)) return frame;
  return nullptr;
}

void CView::OnPaint() {
  CPaintDC dc(this);
  OnDraw(&dc);
}

// A click in the view makes it the frame's active view.
int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  int result = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  if (CFrameWnd* frame = GetParentFrame()) frame->SetActiveView(this);
  return result;
}

// Views are made with new (or by their run-time class) and go with their window.
void CView::PostNcDestroy() {
  if (CFrameWnd* frame = GetParentFrame())
    if (frame->GetActiveView() == this) frame->SetActiveView(nullptr);
  delete this;
}
