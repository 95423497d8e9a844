// A memory context over a 32-bit bitmap, and pixel helpers, for the GDI tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Gdi.h"
#include "Surface.h"

struct MemCanvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  int width, height;

  MemCanvas(int w, int h, COLORREF fill = RGB(255, 255, 255)) : width(w), height(h) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateBitmap(w, h, 1, 32, nullptr);
    old = SelectObject(dc, bitmap);
    Fill(fill);
  }
  ~MemCanvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void Fill(COLORREF c) {
    RECT r{0, 0, width, height};
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
  // One character per pixel: '#' where the pixel is `ink`, '.' elsewhere.
  std::string Rows(COLORREF ink, int x0 = 0, int y0 = 0, int w = -1, int h = -1) const {
    if (w < 0) w = width - x0;
    if (h < 0) h = height - y0;
    std::string s;
    for (int y = y0; y < y0 + h; ++y) {
      for (int x = x0; x < x0 + w; ++x) s += At(x, y) == ink ? '#' : '.';
      s += '\n';
    }
    return s;
  }
  int Count(COLORREF c) const {
    int n = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) n += At(x, y) == c;
    return n;
  }
};

inline std::string Picture(std::initializer_list<const char*> rows) {
  std::string s;
  for (const char* r : rows) s += std::string(r) + "\n";
  return s;
}
