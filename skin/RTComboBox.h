// CRTComboBox: the skinned combo box.
//
// For now this header holds only the class's class-wide skin state and its
// static setters, which the skin loader (CRTSkin) fills once after reading the
// skin description and CRTSkin::EnableSkin switches. The window behaviour is
// added to this same class later (derived from CComboBox); the static state below stays where
// it is and every instance reads it at paint time. The images are borrowed
// from the skin store, which outlives every window; a null image is an
// element left undrawn.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"

class CRTComboBox {
 public:
  // There is no skinning switch: the control always draws with what it has.
  static void SetImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }

  static inline SkinImageSet s_images;  // 0 Back, 1 Arrow, 2 Focus
};
