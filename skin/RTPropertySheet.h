// CRTPropertySheet: the skinned property sheet (offered, not constructed by the wizard).
//
// For now this header holds the class's class-wide skin state and its static
// setters: the skin loader (CRTSkin) fills them once after reading the skin
// description and CRTSkin::EnableSkin sets the switches. For the window
// behaviour, the later work gives it its base (`class CRTPropertySheet : public CPropertySheet`)
// and adds members and handlers beside this state, which stays as it is;
// every instance reads it at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"

class CRTPropertySheet {
 public:
  static void SetSkinFlags(int enabled, int border, int background, int caption) {
    s_skinEnabled = enabled;
    s_borderEnabled = border;
    s_backgroundEnabled = background;
    s_captionEnabled = caption;
  }
  static int SetTitleBarImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_titleBar.Assign(images, modes);
    return 1;
  }
  static int SetExitButtonImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_exitButton.Assign(images, modes);
    return 1;
  }
  static void SetBackImage(CBitmap* image, int32_t mode) {
    s_back.images[0] = image;
    s_back.modes[0] = mode;
  }

  static inline int s_skinEnabled = 0;
  static inline int s_borderEnabled = 0;
  static inline int s_backgroundEnabled = 0;  // stored, not read
  static inline int s_captionEnabled = 0;
  static inline SkinImageSet s_titleBar;
  static inline SkinImageSet s_exitButton;
  // No setter fills these, so the sheet never draws those caption buttons.
  static inline SkinImageSet s_maximizeButton;
  static inline SkinImageSet s_restoreButton;
  static inline SkinImageSet s_minimizeButton;
  // The sheet's border colours are fixed.
  static inline const COLORREF s_borderColors[4] = {kDefaultBorderColors[0], kDefaultBorderColors[1],
                                              kDefaultBorderColors[2], kDefaultBorderColors[3]};
  static inline SkinImageSet s_back;  // slot 0: the "StaticCtrl" background; its mode is not used
};
