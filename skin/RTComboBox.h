// CRTComboBox: the skinned combo box.
//
// For now this header holds the class's class-wide skin state and its static
// setters: the skin loader (CRTSkin) fills them once after reading the skin
// description and CRTSkin::EnableSkin sets the switches. For the window
// behaviour, the later work gives it its base (`class CRTComboBox : public CComboBox`)
// and adds members and handlers beside this state, which stays as it is;
// every instance reads it at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn.
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
