// The wizard's fonts: "MS Sans Serif" at the cell height and average width a
// window asks for (the platform takes the nearest cell of that raster face),
// every other field of the font at its default.
#pragma once

#include "afxwin.h"

inline BOOL CreateWizardFont(CFont& font, int height, int width, int weight = FW_BOLD) {
  return font.CreateFont(height, width, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
}
