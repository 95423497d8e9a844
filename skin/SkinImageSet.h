// One section's images and draw modes as the skin loader hands them to the
// skinned classes: five borrowed bitmap pointers and five SkinDrawMode values
// in the slot order Back, Normal, Focus, Down, Disable (title bar: Back,
// Active, InActive; combo box: Back, Arrow, Focus).
//
// The bitmaps belong to the skin store (CRTSkin), which outlives every
// window; a class only keeps the pointers, and a null slot is an element left
// undrawn.
#pragma once

#include <algorithm>
#include <cstdint>

#include "Types.h"

class CBitmap;

struct SkinImageSet {
  static constexpr int kSlots = 5;
  enum Slot { kBack = 0, kNormal = 1, kFocus = 2, kDown = 3, kDisable = 4 };

  CBitmap* images[kSlots] = {};
  int32_t modes[kSlots] = {};

  // Copies the first `count` slots of each array; the rest stay as they are.
  void Assign(CBitmap* const newImages[], const int32_t newModes[], int count = kSlots) {
    std::copy(newImages, newImages + count, images);
    std::copy(newModes, newModes + count, modes);
  }
};

// The frame-ring colours of the dialogs and frames before a skin sets them:
// RGB(156, 158, 173), RGB(181, 190, 206), RGB(181, 190, 206), RGB(206, 211, 222).
inline constexpr COLORREF kDefaultBorderColors[4] = {0x00AD9E9C, 0x00CEBEB5, 0x00CEBEB5, 0x00DED3CE};
