// The pages' fonts: "MS Sans Serif" at the height and average width the
// page asks for (the platform takes the nearest cell of that raster face).
#pragma once

#include "afxwin.h"

void CreatePageFont(CFont& font, int height, int width, int weight = FW_BOLD);
