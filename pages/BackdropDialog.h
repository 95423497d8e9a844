// CBackdropDialog: the skinned dialog base with the program's own picture
// (bitmap 159) stretched over the whole client area instead of the skin's
// dialog background. The message box and the password dialogs stand on it.
//
// Erasing is suppressed, since the picture covers every pixel; the picture
// is loaded for each paint, shrunk or enlarged by averaging, and freed after it, so nothing is held between
// paints. Without the picture the client area is left as it was.
#pragma once

#include "RTDialog.h"

class CBackdropDialog : public CRTDialog {
 public:
  explicit CBackdropDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr) : CRTDialog(nIDTemplate, pParentWnd) {}

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
