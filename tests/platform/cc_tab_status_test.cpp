// The tab control (selection by click, refused changes, display area) and the
// status bar (parts, texts, placement along the bottom of its parent).

#include <gtest/gtest.h>

#include <string>

#include "cc_fixture.h"

namespace {

using CcTabStatus = CcFixture;

TEST_F(CcTabStatus, ClickingATabSelectsItUnlessTheParentRefuses) {
  HWND tab = CreateWindowExA(0, WC_TABCONTROL, "", WS_CHILD | WS_VISIBLE, 10, 10, 300, 200, parent,
                             reinterpret_cast<HMENU>(5), nullptr, nullptr);
  ASSERT_NE(nullptr, tab);
  for (const char* t : {"General", "Security", "Advanced"}) {
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<char*>(t);
    item.lParam = static_cast<LPARAM>(0x100000000LL) + static_cast<LPARAM>(strlen(t));  // pointer-sized
    SendMessageA(tab, TCM_INSERTITEMA, SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&item));
  }
  EXPECT_EQ(3, SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
  EXPECT_EQ(0, SendMessageA(tab, TCM_GETCURSEL, 0, 0));
  TCITEMA back{};
  back.mask = TCIF_PARAM;
  SendMessageA(tab, TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&back));
  EXPECT_EQ(static_cast<LPARAM>(0x100000008LL), back.lParam);

  RECT second;
  ASSERT_TRUE(SendMessageA(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
  POINT on{(second.left + second.right) / 2, (second.top + second.bottom) / 2};
  testkit::Click(tab, on);
  testkit::PumpPending();
  EXPECT_EQ(1, SendMessageA(tab, TCM_GETCURSEL, 0, 0));
  EXPECT_EQ(1, CountOf(TCN_SELCHANGING));
  EXPECT_EQ(1, CountOf(TCN_SELCHANGE));

  onNotify = [](NMHDR* h) -> LRESULT { return h->code == TCN_SELCHANGING; };
  RECT first;
  SendMessageA(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  testkit::Click(tab, POINT{first.left + 4, first.top + 4});
  testkit::PumpPending();
  EXPECT_EQ(1, SendMessageA(tab, TCM_GETCURSEL, 0, 0));

  // The display area lies below the tabs, and converts back.
  RECT area{0, 0, 300, 200};
  SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  EXPECT_GE(area.top, second.bottom);
  SendMessageA(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&area));
  EXPECT_EQ((RECT{0, 0, 300, 200}.top), area.top);
  EXPECT_EQ(300, area.right);
}

TEST_F(CcTabStatus, StatusBarPartsTextsAndPlacement) {
  HWND bar = CreateWindowExA(0, STATUSCLASSNAME, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr, nullptr,
                             nullptr);
  ASSERT_NE(nullptr, bar);
  RECT pc, br;
  GetClientRect(parent, &pc);
  GetWindowRect(bar, &br);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&br), 2);
  EXPECT_EQ(pc.bottom, br.bottom);
  EXPECT_EQ(pc.right, br.right);
  SendMessageA(bar, SB_SETMINHEIGHT, 30, 0);
  GetWindowRect(bar, &br);
  EXPECT_EQ(30, br.bottom - br.top);

  int rights[3] = {100, 200, -1};
  ASSERT_TRUE(SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(rights)));
  EXPECT_FALSE(SendMessageA(bar, SB_SETPARTS, 0, reinterpret_cast<LPARAM>(rights)));
  SendMessageA(bar, SB_SETTEXTA, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>("Ready"));
  char text[16] = {0};
  LRESULT info = SendMessageA(bar, SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ("Ready", text);
  EXPECT_EQ(5, LOWORD(info));
  EXPECT_EQ(SBT_NOBORDERS, HIWORD(info));
  EXPECT_FALSE(SendMessageA(bar, SB_SETTEXTA, 7, reinterpret_cast<LPARAM>("x")));
  RECT last;
  SendMessageA(bar, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&last));
  EXPECT_EQ(200, last.left);
  EXPECT_EQ(pc.right, last.right);  // the last part runs to the end
}

}  // namespace
