// CRTRadioButton: skinned radio buttons (offered, not constructed by the wizard).
//
// For now this header holds only the class's class-wide skin state and its
// static setters, which the skin loader (CRTSkin) fills once after reading the
// skin description and CRTSkin::EnableSkin switches. The window behaviour is
// added to this same class later (derived from CButton); the static state below stays where
// it is and every instance reads it at paint time. The images are borrowed
// from the skin store, which outlives every window; a null image is an
// element left undrawn.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"

class CRTRadioButton {
 public:
  static void SetImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }
  static void SetSkinFlag(int enabled) { s_skinEnabled = enabled; }
  // Nothing calls this, so the switch stays 0.
  static void SetNoBackground(int noBackground) { s_noBackground = noBackground; }
  static inline int s_noBackground = 0;
  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_images;  // "MenuBar" set; slot 0 is drawn
};
