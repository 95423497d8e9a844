// CRTView: the skinned view (offered, not constructed by the wizard).
//
// Its background is the skin's dialog background; derived views draw their
// content over it. The view never lets the default erase run, so without an
// image (or with skinning off) its background stays as it was.
//
// Class-wide: the skin loader (CRTSkin) fills the images once after reading
// the skin description and CRTSkin::EnableSkin sets the switch; every
// instance reads them at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn.
#pragma once

#include <cstdint>

#include "AfxView.h"
#include "SkinImageSet.h"
#include "afxwin.h"

class CRTView : public CView {
  DECLARE_DYNCREATE(CRTView)

 public:
  CRTView() = default;
  ~CRTView() override = default;

  static void SetImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }
  static void SetSkinFlag(int enabled) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_images;  // slot 0: the "Dialog" background

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
