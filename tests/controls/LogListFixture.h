// A page with the apply engine's kind of log list (owner-drawn fixed, with
// strings, extended selection) in a known font.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
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

  // The text of one log-file row shaped "YYYY-MM-DD HH:MM:SS [name] text"
  // (row without its line feed); false when the row has another shape.
  static bool TextOfStampedRow(const std::string& row, const std::string& name, std::string* text) {
    const std::string shape = "dddd-dd-dd dd:dd:dd [";
    if (row.size() < shape.size()) return false;
    for (size_t i = 0; i < shape.size(); ++i)
      if (shape[i] == 'd' ? !isdigit(static_cast<unsigned char>(row[i])) : row[i] != shape[i]) return false;
    const std::string tail = row.substr(shape.size());
    if (tail.compare(0, name.size() + 2, name + "] ") != 0) return false;
    *text = tail.substr(name.size() + 2);
    return true;
  }
  static std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? name : "";
  }

  CWnd page;
  CLogListBox list;
};

// A colour as the test kit reads pixels (0x00RRGGBB).
inline uint32_t PixelOf(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
inline uint32_t PalettePixel(int index) { return PixelOf(CLogListBox::kPalette[index]); }
