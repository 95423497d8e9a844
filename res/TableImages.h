// Icons and cursors drawn as tables of characters, one character a pixel:
// '.' is transparent, every other character takes the colour its ink gives
// it (black when no ink names it).
#pragma once

#include <cstddef>

#include "Gdi.h"

struct TableInk {
  char key;
  COLORREF color;
};

// A square image of `size` rows of `size` characters; a cursor has its hot spot.
HICON MakeTableIcon(const char* const* rows, int size, const TableInk* inks, size_t inkCount, BOOL icon = TRUE,
                    int hotX = 0, int hotY = 0);
