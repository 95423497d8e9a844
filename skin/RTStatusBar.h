// CRTStatusBar: the skinned status bar (offered, not constructed by the wizard).
//
// With skinning on, its panes lose their standard borders and are drawn
// by the bar itself: a thin teal outline, the "StatusBar" image inside it and
// the pane text in the system's status font; the last pane reaches the
// right edge whatever its width.
//
// Class-wide: the skin loader (CRTSkin) fills the images once after reading
// the skin description and CRTSkin::EnableSkin sets the switch; every
// instance reads them at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn.
#pragma once

#include <cstdint>

#include "AfxCtrlBar.h"
#include "SkinImageSet.h"
#include "afxwin.h"

class CRTStatusBar : public CStatusBar {
 public:
  CRTStatusBar() = default;
  ~CRTStatusBar() override = default;

  // The bar's own SetIndicators; with skinning on, also a minimum height of
  // 20 pixels and borderless panes (ids and widths kept).
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

  static void SetImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }
  static void SetSkinFlag(int enabled) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_images;  // slot 0: the "StatusBar" background

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
