// CRTMenuSkin: owner-drawn menu skinning of the skinned frame window.
//
// For now this header holds the class's class-wide skin state and its static
// setters: the skin loader (CRTSkin) fills them once after reading the skin
// description and CRTSkin::EnableSkin sets the switch. The menu skinning stays
// class-wide functions and data, not an object: the later work adds its maps
// and drawing beside this state, and reads it whenever it draws. The images
// are borrowed from the skin store, which outlives every window; a null image
// is an element left undrawn.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"

class CRTMenuSkin {
 public:
  static void SetMenuBarImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_menuBar.Assign(images, modes);
  }
  static void SetMenuItemImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_menuItem.Assign(images, modes);
  }
  static void SetSkinEnabled(int enabled) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_menuBar;   // 0 Back (also the dialogs' menu-bar rows), 1 Normal, 2 Focus, 3 Down
  static inline SkinImageSet s_menuItem;  // 1 Normal (text area), 2 Focus (selection), 3 Slider (icon column)
};
