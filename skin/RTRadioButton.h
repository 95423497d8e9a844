// CRTRadioButton: skinned radio buttons (offered, not constructed by the wizard).
//
// For now this header holds the class's class-wide skin state and its static
// setters: the skin loader (CRTSkin) fills them once after reading the skin
// description and CRTSkin::EnableSkin sets the switches. For the window
// behaviour, the later work gives it its base (`class CRTRadioButton : public CButton`)
// and adds members and handlers beside this state, which stays as it is;
// every instance reads it at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn.
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
