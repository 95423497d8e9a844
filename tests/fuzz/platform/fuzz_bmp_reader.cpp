// Any bytes given to the BMP reader: a bitmap or a clean failure. A bitmap
// that reads is also drawn, stretched and written back out in memory.
#include <cstddef>
#include <cstdint>

#include "Gdi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  HBITMAP bm = PlatformReadBmp(data, size);
  if (!bm) return 0;
  BITMAP info;
  if (GetObjectA(bm, sizeof info, &info) == sizeof info) {
    HDC src = CreateCompatibleDC(nullptr);
    HDC dst = CreateCompatibleDC(nullptr);
    HBITMAP canvas = CreateBitmap(16, 16, 1, 32, nullptr);
    HGDIOBJ o1 = SelectObject(src, bm), o2 = SelectObject(dst, canvas);
    SetStretchBltMode(dst, HALFTONE);
    StretchBlt(dst, 0, 0, 16, 16, src, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    TransparentBlt(dst, 0, 0, 16, 16, src, 0, 0, info.bmWidth, info.bmHeight, RGB(255, 255, 255));
    SelectObject(src, o1);
    SelectObject(dst, o2);
    DeleteDC(src);
    DeleteDC(dst);
    DeleteObject(canvas);
  }
  DeleteObject(bm);
  return 0;
}
