// CRTScrollBar: the skinned scroll bar.
//
// For now this header holds only the class's class-wide skin state and its
// static setters, which the skin loader (CRTSkin) fills once after reading the
// skin description and CRTSkin::EnableSkin switches. The window behaviour is
// added to this same class later (derived from CScrollBar); the static state below stays where
// it is and every instance reads it at paint time. The images are borrowed
// from the skin store, which outlives every window; a null image is an
// element left undrawn.
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
