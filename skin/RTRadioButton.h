// CRTRadioButton: skinned radio buttons (offered, not constructed by the wizard).
// The system draws the button off screen on the button-face colour; that
// drawing is laid over the skin image with the button-face colour left out,
// so the skin shows around (and through) the button.
//
// The class-wide state is filled by the skin loader (CRTSkin) and switched by
// CRTSkin::EnableSkin; every instance reads it at paint time. The images are
// borrowed from the skin store, which outlives every window; without the
// slot-0 image the button keeps the system's look.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"
#include "afxwin.h"

class CRTRadioButton : public CButton {
 public:
  // Radio and automatic radio buttons, among others (a loose bit test).
  static bool TakesOver(DWORD style) { return (style & 4) != 0 || (style & 9) == 9; }

  static void SetImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }
  static void SetSkinFlag(int enabled) { s_skinEnabled = enabled; }
  // Nothing calls this, so the switch stays 0.
  static void SetNoBackground(int noBackground) { s_noBackground = noBackground; }
  static inline int s_noBackground = 0;
  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_images;  // "MenuBar" set; slot 0 is drawn

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  bool Skinned() const;
};
