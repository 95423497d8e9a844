// A page with an extended list in report view, and a record of what the list
// tells the page.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "CExtListCtrl.h"
#include "CommCtrl.h"
#include "TestKit.h"

struct PageMessage {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

class RecordingPage : public CWnd {
 public:
  std::vector<PageMessage> heard;
  int Count(UINT msg) const {
    int n = 0;
    for (const PageMessage& m : heard) n += m.msg == msg;
    return n;
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_LIST_CELL_CLICKED || message == WM_EXTLIST_CHECKBOX_CLICKED ||
        message == WM_EXTLIST_EDIT_END || message == WM_EXTLIST_COMBO_SELECTION)
      heard.push_back({message, wParam, lParam});
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// 0x00RRGGBB, as the test kit reads pixels.
inline uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

template <typename List>
class ExtListFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    ASSERT_TRUE(page.CreateEx(0, nullptr, "page", WS_POPUP | WS_VISIBLE, 10, 10, 420, 240, nullptr, nullptr));
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(0, 0, 400, 220), &page,
                            1104));
    const char* names[] = {"Name", "Progress", "Status", "Check"};
    const int widths[] = {80, 100, 120, 60};
    for (int i = 0; i < 4; ++i) list.InsertColumn(i, names[i], LVCFMT_LEFT, widths[i]);
  }
  void TearDown() override {
    page.DestroyWindow();
    testkit::ResetWindows();
  }
  void AddRows(int n) {
    for (int i = 0; i < n; ++i) {
      CString name;
      name.Format("AP-%d", i);
      ASSERT_EQ(list.InsertItem(i, name), i);
    }
  }
  CRect CellRect(int row, int column) {
    CRect rc;
    EXPECT_TRUE(list.GetSubItemRect(row, column, LVIR_BOUNDS, rc));
    return rc;
  }
  uint32_t Pixel(int x, int y) {
    list.UpdateWindow();
    return testkit::WindowPixel(list.m_hWnd, x, y);
  }

  RecordingPage page;
  List list;
};
