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
