// CRTStatic: the skinned static text.
//
// For now this header holds the class's class-wide skin state and its static
// setters: the skin loader (CRTSkin) fills them once after reading the skin
// description and CRTSkin::EnableSkin sets the switches. For the window
// behaviour, the later work gives it its base (`class CRTStatic : public CStatic`)
// and adds members and handlers beside this state, which stays as it is;
// every instance reads it at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"

class CRTStatic {
 public:
  static void SetBackImage(CBitmap* image, int32_t mode) {
    s_back.images[0] = image;
    s_back.modes[0] = mode;
  }
  // The second argument is part of the loader's call and changes nothing.
  static void SetSkinEnabled(int enabled, int /*unused*/ = 1) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_back;  // slot 0: the "StaticCtrl" background
};
