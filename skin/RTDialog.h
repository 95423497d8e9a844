// CRTDialog: the skinned dialog base.
//
// For now this header holds the class's class-wide skin state and its static
// setters: the skin loader (CRTSkin) fills them once after reading the skin
// description and CRTSkin::EnableSkin sets the switches. For the window
// behaviour, the later work gives it its base (`class CRTDialog : public CDialog`)
// and adds members and handlers beside this state, which stays as it is;
// every instance reads it at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"

class CRTDialog {
 public:
  // Skinning switches, set together by CRTSkin::EnableSkin.
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
  static int SetMenuBarImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_menuBar.Assign(images, modes);
    return 1;
  }
  static int SetMaximizeButtonImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_maximizeButton.Assign(images, modes);
    return 1;
  }
  static int SetMinimizeButtonImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_minimizeButton.Assign(images, modes);
    return 1;
  }
  static int SetRestoreButtonImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_restoreButton.Assign(images, modes);
    return 1;
  }
  static int SetExitButtonImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_exitButton.Assign(images, modes);
    return 1;
  }
  static void SetBorderColors(const COLORREF colors[4]) {
    for (int i = 0; i < 4; ++i) s_borderColors[i] = colors[i];
  }
  static void SetBackImage(CBitmap* image, int32_t mode) {
    s_back.images[0] = image;
    s_back.modes[0] = mode;
  }

  // Class-wide skin state: one copy for all dialogs.
  static inline int s_skinEnabled = 0;
  static inline int s_borderEnabled = 0;
  static inline int s_backgroundEnabled = 0;
  static inline int s_captionEnabled = 0;
  static inline SkinImageSet s_titleBar;        // 1 Active, 2 InActive
  static inline SkinImageSet s_menuBar;
  static inline SkinImageSet s_maximizeButton;  // 1 Normal, 2 Focus, 3 Down, 4 Disable
  static inline SkinImageSet s_minimizeButton;
  static inline SkinImageSet s_restoreButton;
  static inline SkinImageSet s_exitButton;
  static inline COLORREF s_borderColors[4] = {kDefaultBorderColors[0], kDefaultBorderColors[1],
                                              kDefaultBorderColors[2], kDefaultBorderColors[3]};
  static inline SkinImageSet s_back;  // slot 0: the "Dialog" background
};
