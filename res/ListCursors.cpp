// The lists' hand cursor (179), shown over the clickable icons of a list:
// a pointing hand, drawn as a table of characters ('#' outline, 'o' fill,
// '.' transparent) with its hot spot at the fingertip.

#include "Gdi.h"
#include "Resource.h"

namespace {

const int kHandCursor = 179;
const char* const kHand[16] = {
    ".....##.........",
    "....#oo#........",
    "....#oo#........",
    "....#oo#........",
    "....#oo###......",
    "....#oo#oo###...",
    "..###oo#oo#oo##.",
    ".#oo#oo#oo#oo#o#",
    ".#ooooooooooooo#",
    "..#oooooooooooo#",
    "..#ooooooooooo#.",
    "...#oooooooooo#.",
    "...#ooooooooo#..",
    "....#oooooooo#..",
    "....#oooooooo#..",
    "....##########..",
};

HCURSOR MakeHandCursor() {
  const int size = 16;
  HDC screen = GetDC(nullptr);
  HBITMAP image = CreateCompatibleBitmap(screen, size, size);
  HBITMAP mask = CreateCompatibleBitmap(screen, size, size);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, mask);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) SetPixel(dc, x, y, kHand[y][x] == '.' ? RGB(255, 255, 255) : RGB(0, 0, 0));
  SelectObject(dc, image);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) SetPixel(dc, x, y, kHand[y][x] == 'o' ? RGB(255, 255, 255) : RGB(0, 0, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  ICONINFO info{};
  info.fIcon = FALSE;
  info.xHotspot = 5;
  info.yHotspot = 0;
  info.hbmColor = image;
  info.hbmMask = mask;
  HCURSOR cursor = CreateIconIndirect(&info);
  DeleteObject(image);
  DeleteObject(mask);
  return cursor;
}

const ResourceRegistrar kRegister([] { PlatformAddCursor(MAKEINTRESOURCEA(kHandCursor), MakeHandCursor); });

}  // namespace
