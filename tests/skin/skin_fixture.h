// Bitmaps and canvases written as letter pictures, for the skin tests: every
// letter is one solid colour, so a picture read back from a canvas shows
// which part of which image landed where.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxwin.h"

namespace skintest {

struct Ink {
  char letter;
  COLORREF color;
};

inline const std::vector<Ink>& Palette() {
  static const std::vector<Ink> kInks = {
      {'A', RGB(255, 0, 0)},   {'B', RGB(0, 255, 0)},   {'C', RGB(0, 0, 255)},  {'D', RGB(255, 255, 0)},
      {'E', RGB(255, 0, 255)}, {'F', RGB(0, 255, 255)}, {'G', RGB(128, 0, 0)},  {'H', RGB(0, 128, 0)},
      {'I', RGB(0, 0, 128)},   {'W', RGB(255, 255, 255)}, {'.', RGB(200, 200, 200)},
  };
  return kInks;
}

inline COLORREF ColorOf(char letter) {
  for (const Ink& ink : Palette())
    if (ink.letter == letter) return ink.color;
  ADD_FAILURE() << "no ink " << letter;
  return 0;
}

inline char LetterOf(COLORREF color) {
  for (const Ink& ink : Palette())
    if (ink.color == color) return ink.letter;
  return '?';
}

// A picture whose letters are scaleX by scaleY pixel blocks, one string per row.
inline std::string Expand(const std::vector<std::string>& rows, int scaleX, int scaleY) {
  std::string s;
  for (const std::string& row : rows) {
    std::string line;
    for (char c : row) line.append(static_cast<size_t>(scaleX), c);
    for (int i = 0; i < scaleY; ++i) s += line + "\n";
  }
  return s;
}

// A 32-bit bitmap painted from a letter picture.
inline HBITMAP MakeBitmap(const std::vector<std::string>& rows, int scaleX, int scaleY) {
  const int w = static_cast<int>(rows[0].size()) * scaleX, h = static_cast<int>(rows.size()) * scaleY;
  HBITMAP bm = ::CreateBitmap(w, h, 1, 32, nullptr);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bm);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ::SetPixel(dc, x, y, ColorOf(rows[y / scaleY][x / scaleX]));
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return bm;
}

// A memory context over a canvas filled with '.'.
class Canvas {
 public:
  Canvas(int w, int h) : m_w(w), m_h(h) {
    m_dc.CreateCompatibleDC(nullptr);
    m_bitmap.Attach(::CreateBitmap(w, h, 1, 32, nullptr));
    m_old = m_dc.SelectObject(static_cast<HGDIOBJ>(m_bitmap.GetSafeHandle()));
    m_dc.FillSolidRect(0, 0, w, h, ColorOf('.'));
  }
  ~Canvas() {
    m_dc.SelectObject(m_old);
    m_bitmap.DeleteObject();
    m_dc.DeleteDC();
  }
  CDC* dc() { return &m_dc; }
  char At(int x, int y) const { return LetterOf(::GetPixel(m_dc.GetSafeHdc(), x, y)); }
  std::string Picture() const {
    std::string s;
    for (int y = 0; y < m_h; ++y) {
      for (int x = 0; x < m_w; ++x) s += At(x, y);
      s += "\n";
    }
    return s;
  }

 private:
  int m_w, m_h;
  CDC m_dc;
  CBitmap m_bitmap;
  HGDIOBJ m_old;
};

}  // namespace skintest
