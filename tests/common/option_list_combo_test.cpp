#include <gtest/gtest.h>

#include "VhOptionList.h"
#include "afxwin.h"

namespace {

const OptionListItem kBands[] = {{1, "2.4 GHz"}, {2, "5 GHz"}, {3, "Both"}, {0, nullptr}};

TEST(VhOptionListCombo, FillsInListOrderAndSelectsByTextOrValue) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
  CComboBox box;
  ASSERT_TRUE(box.Create(WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(0, 0, 100, 120), &parent, 1000));
  box.AddString("stale");

  VhOptionList list(kBands, VHOPTION_INT, FALSE);
  list.FillComboBox(&box);
  ASSERT_EQ(box.GetCount(), 3);
  CString text;
  box.GetLBText(1, text);
  EXPECT_STREQ(text, "5 GHz");

  struct Case {
    const char* input;
    int selected;
  } cases[] = {{"Both", 2}, {"5 ghz", 1}, {"1", 0}, {"3", 2}, {"nothing", -1}};
  for (const Case& c : cases) {
    box.SetCurSel(1);
    list.SelectComboBox(&box, c.input);
    EXPECT_EQ(box.GetCurSel(), c.selected) << c.input;
  }
  box.DestroyWindow();
  parent.DestroyWindow();
}

}  // namespace
