// CRTStatic: the skinned static text.
//
// The dialogs subclass a static of their template with it. Its background is
// the "StaticCtrl" image, or, with the transparent flag, whatever the parent
// painted below it; its text and the colours of that text are the static's
// own, asked from the parent as for a plain static, and copied over the
// background with the 3D-face colour as the key (a text in exactly that
// colour therefore disappears).
//
// Class-wide: the skinning switch and the "StaticCtrl" image with its draw
// mode, filled once by the skin loader (CRTSkin) and switched by
// CRTSkin::EnableSkin; every instance reads them at paint time. The image is
// borrowed from the skin store, which outlives every window; a null image
// means the default erase and the text alone. Per window: the transparent flag.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"
#include "afxwin.h"

class CRTStatic : public CStatic {
  DECLARE_DYNAMIC(CRTStatic)

 public:
  CRTStatic() = default;
  ~CRTStatic() override = default;

  void SetTransparent(int flag) { m_transparent = flag; }

  static void SetBackImage(CBitmap* image, int32_t mode) {
    s_back.images[0] = image;
    s_back.modes[0] = mode;
  }
  // The second argument is part of the loader's call and changes nothing.
  static void SetSkinEnabled(int enabled, int /*unused*/ = 1) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_back;  // slot 0: the "StaticCtrl" background

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  bool ShowsBackImage() const;

  int32_t m_transparent = 0;
};
