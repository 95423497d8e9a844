// CRTToolBar: the skinned tool bar (offered, not constructed by the wizard).
//
// For now this header holds the class's class-wide skin state and its static
// setters: the skin loader (CRTSkin) fills them once after reading the skin
// description and CRTSkin::EnableSkin sets the switches. For the window
// behaviour, the later work gives it its base (`class CRTToolBar : public CToolBar`)
// and adds members and handlers beside this state, which stays as it is;
// every instance reads it at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"

class CRTToolBar {
 public:
  // Takes the first four images and modes (Back, Normal, Focus, Down).
  static int SetImages(CBitmap* const images[4], const int32_t modes[4]) {
    s_images.Assign(images, modes, 4);
    return 1;
  }
  // Returns the previous switch.
  static int SetSkinFlag(int enabled) {
    const int previous = s_skinEnabled;
    s_skinEnabled = enabled;
    return previous;
  }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_images;  // slot 4 stays empty
};
