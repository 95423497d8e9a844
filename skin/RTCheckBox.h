// CRTCheckBox: skinned check boxes (offered, not constructed by the wizard).
// As CRTRadioButton, except that the skin image and the button are put
// together off screen and reach the window in one copy, so the box never
// shows half drawn.
//
// The class-wide state is filled by the skin loader (CRTSkin) and switched by
// CRTSkin::EnableSkin; every instance reads it at paint time. The images are
// borrowed from the skin store, which outlives every window; without the
// slot-0 image the box keeps the system's look.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"
#include "afxwin.h"

class CRTCheckBox : public CButton {
 public:
  // Check boxes and automatic check boxes, among others (a loose bit test).
  static bool TakesOver(DWORD style) { return (style & 2) != 0 || (style & 3) == 3; }

  static void SetImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }
  static void SetSkinFlags(int enabled, int noBackground) {
    s_skinEnabled = enabled;
    s_noBackground = noBackground;
  }

  static inline int s_skinEnabled = 0;
  static inline int s_noBackground = 0;
  static inline SkinImageSet s_images;  // "MenuBar" set; slot 0 is drawn

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
