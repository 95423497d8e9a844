#include "TableImages.h"

#include "Resource.h"

namespace {

COLORREF InkOf(char key, const TableInk* inks, size_t inkCount) {
  for (size_t i = 0; i < inkCount; ++i)
    if (inks[i].key == key) return inks[i].color;
  return RGB(0, 0, 0);
}

}  // namespace

HICON MakeTableIcon(const char* const* rows, int size, const TableInk* inks, size_t inkCount, BOOL icon, int hotX,
                    int hotY) {
  HDC screen = GetDC(nullptr);
  HBITMAP image = CreateCompatibleBitmap(screen, size, size);
  HBITMAP mask = CreateCompatibleBitmap(screen, size, size);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, mask);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) SetPixel(dc, x, y, rows[y][x] == '.' ? RGB(255, 255, 255) : RGB(0, 0, 0));
  SelectObject(dc, image);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      SetPixel(dc, x, y, rows[y][x] == '.' ? RGB(0, 0, 0) : InkOf(rows[y][x], inks, inkCount));
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  ICONINFO info{};
  info.fIcon = icon;
  info.xHotspot = static_cast<DWORD>(hotX);
  info.yHotspot = static_cast<DWORD>(hotY);
  info.hbmColor = image;
  info.hbmMask = mask;
  HICON made = CreateIconIndirect(&info);
  DeleteObject(image);
  DeleteObject(mask);
  return made;
}
