// A page with the apply engine's kind of log list (owner-drawn fixed, with
// strings, extended selection) in a known font.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "CLogListBox.h"
#include "TestKit.h"

class LogListFixture : public ::testing::Test {
 protected:
  static const DWORD kStyle =
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_EXTENDEDSEL | LBS_NOTIFY;

  void SetUp() override {
    ASSERT_TRUE(page.CreateEx(0, nullptr, "page", WS_POPUP | WS_VISIBLE, 10, 10, 320, 200, nullptr, nullptr));
    MakeList(kStyle);
  }
  void TearDown() override {
    page.DestroyWindow();
    testkit::ResetWindows();
  }
  void MakeList(DWORD style) {
    if (list.m_hWnd) list.DestroyWindow();
    ASSERT_TRUE(list.Create(style, CRect(0, 0, 300, 180), &page, 1030));
    list.SetFont(CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))), FALSE);
  }
  void Paint() {
    testkit::PumpPending();
    page.UpdateWindow();
    list.UpdateWindow();
    testkit::PumpPending();
  }
  CString Raw(int line) {
    CString raw;
    list.GetRawLine(line, raw);
    return raw;
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }

  CWnd page;
  CLogListBox list;
};

// A palette entry as the test kit reads pixels (0x00RRGGBB).
inline uint32_t PalettePixel(int index) {
  const COLORREF c = CLogListBox::kPalette[index];
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}
