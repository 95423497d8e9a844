// CRTView: the skinned view (offered, not constructed by the wizard).
//
// For now this header holds the class's class-wide skin state and its static
// setters: the skin loader (CRTSkin) fills them once after reading the skin
// description and CRTSkin::EnableSkin sets the switches. For the window
// behaviour, the later work gives it its base (`class CRTView : public CView`)
// and adds members and handlers beside this state, which stays as it is;
// every instance reads it at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"

class CRTView {
 public:
  static void SetImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }
  static void SetSkinFlag(int enabled) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_images;  // slot 0: the "Dialog" background
};
