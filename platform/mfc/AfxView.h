// The view of the class layer: a child of a frame window that fills the
// frame's client area between its control bars and draws its content in OnDraw.
#pragma once

#include "AfxFrame.h"

class PLATFORM_API CView : public CWnd {
  DECLARE_DYNAMIC(CView)
 public:
  CView() = default;
  CFrameWnd* GetParentFrame() const;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  virtual void OnDraw(CDC* pDC) = 0;
  void PostNcDestroy() override;
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);

  DECLARE_MESSAGE_MAP()
};
