// CRTScrollBar: the skinned scroll bar.
//
// For now this header holds the class's class-wide skin state and its static
// setters: the skin loader (CRTSkin) fills them once after reading the skin
// description and CRTSkin::EnableSkin sets the switches. For the window
// behaviour, the later work gives it its base (`class CRTScrollBar : public CScrollBar`)
// and adds members and handlers beside this state, which stays as it is;
// every instance reads it at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"

class CRTScrollBar {
 public:
  static void SetHorizontalImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_horizontal.Assign(images, modes);
  }
  static void SetVerticalImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_vertical.Assign(images, modes);
  }
  static void SetLeftArrowImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_leftArrow.Assign(images, modes);
  }
  static void SetRightArrowImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_rightArrow.Assign(images, modes);
  }
  static void SetUpArrowImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_upArrow.Assign(images, modes);
  }
  static void SetDownArrowImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_downArrow.Assign(images, modes);
  }
  static void SetSkinEnabled(int enabled) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_horizontal;  // track (Back) and thumb of horizontal bars
  static inline SkinImageSet s_vertical;
  static inline SkinImageSet s_leftArrow;
  static inline SkinImageSet s_rightArrow;
  static inline SkinImageSet s_upArrow;
  static inline SkinImageSet s_downArrow;
};
