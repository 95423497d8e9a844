// CRTTabCtrl: the skinned tab control (offered, not constructed by the wizard).
//
// For now this header holds only the class's class-wide skin state and its
// static setters, which the skin loader (CRTSkin) fills once after reading the
// skin description and CRTSkin::EnableSkin switches. The window behaviour is
// added to this same class later (derived from CTabCtrl); the static state below stays where
// it is and every instance reads it at paint time. The images are borrowed
// from the skin store, which outlives every window; a null image is an
// element left undrawn.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"

class CRTTabCtrl {
 public:
  static void SetImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }
  static void SetSkinFlag(int enabled) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_images;  // Back, tabnormal, tabsel; only Back is drawn
};
