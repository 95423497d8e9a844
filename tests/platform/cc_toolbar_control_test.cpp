// The tool bar control: layout of buttons and separators, clicks that send
// commands, check buttons and groups, drop-down buttons, hidden buttons and
// the button information a skinned bar reads back.

#include <gtest/gtest.h>

#include <vector>

#include "cc_fixture.h"

namespace {

class CcToolBar : public CcFixture {
 protected:
  void SetUp() override {
    CcFixture::SetUp();
    auto notify = Of(parent).fn;
    Of(parent).fn = [this, notify](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
      if (msg == WM_COMMAND) {
        commands.push_back(LOWORD(wp));
        return 0;
      }
      if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == TBN_DROPDOWN)
        dropDowns.push_back(reinterpret_cast<NMTOOLBARA*>(lp)->iItem);
      return notify(h, msg, wp, lp);
    };
    bar = CreateWindowExA(0, TOOLBARCLASSNAME, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 300, 30, parent,
                          reinterpret_cast<HMENU>(9), nullptr, nullptr);
    EXPECT_NE(nullptr, bar);
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELONG(24, 22));
    TBBUTTON b[] = {
        {0, 11, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
        {0, 0, 0, TBSTYLE_SEP, {}, 0, 0},
        {1, 12, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
        {2, 13, TBSTATE_ENABLED, TBSTYLE_CHECKGROUP, {}, 0, 0},
        {3, 14, TBSTATE_ENABLED, TBSTYLE_CHECKGROUP, {}, 0, 0},
        {4, 15, TBSTATE_ENABLED, TBSTYLE_DROPDOWN, {}, 0, 0},
        {5, 16, 0, TBSTYLE_BUTTON, {}, 0, 0},  // disabled
    };
    EXPECT_TRUE(SendMessageA(bar, TB_ADDBUTTONS, 7, reinterpret_cast<LPARAM>(b)));
  }
  RECT Rect(int index) {
    RECT rc{};
    SendMessageA(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
    return rc;
  }
  void ClickButton(int index, int dx = 0) {
    RECT rc = Rect(index);
    testkit::Click(bar, POINT{(rc.left + rc.right) / 2 + dx, (rc.top + rc.bottom) / 2});
    testkit::PumpPending();
  }
  bool Checked(int id) { return SendMessageA(bar, TB_ISBUTTONCHECKED, id, 0) != 0; }

  HWND bar = nullptr;
  std::vector<int> commands, dropDowns;
};

TEST_F(CcToolBar, ButtonsAndSeparatorsAreLaidOutInARow) {
  EXPECT_EQ(7, SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
  RECT first = Rect(0);
  EXPECT_EQ(0, first.left);
  EXPECT_EQ(24, first.right);
  EXPECT_EQ(22, first.bottom);
  EXPECT_EQ(32, Rect(2).left);  // after the default separator of 8
  EXPECT_EQ(3, SendMessageA(bar, TB_COMMANDTOINDEX, 13, 0));

  // A separator's image field is its width; hiding takes a button out of the row.
  TBBUTTONINFOA info{};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_SIZE | TBIF_BYINDEX;
  info.cx = 40;
  EXPECT_TRUE(SendMessageA(bar, TB_SETBUTTONINFOA, 1, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(64, Rect(2).left);
  EXPECT_TRUE(SendMessageA(bar, TB_HIDEBUTTON, 11, TRUE));
  EXPECT_EQ(40, Rect(2).left);
  EXPECT_FALSE(SendMessageA(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&info)));
  TBBUTTON back{};
  ASSERT_TRUE(SendMessageA(bar, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&back)));
  EXPECT_EQ(TBSTATE_ENABLED | TBSTATE_HIDDEN, back.fsState);

  // The drop-down arrow takes room of its own once the extended style asks for it.
  int before = Rect(5).right - Rect(5).left;
  SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  EXPECT_EQ(before + 14, Rect(5).right - Rect(5).left);

  // Button information by command, as a menu reads a bar's images.
  info = TBBUTTONINFOA{};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_IMAGE | TBIF_COMMAND | TBIF_STYLE;
  EXPECT_EQ(5, SendMessageA(bar, TB_GETBUTTONINFOA, 15, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(4, info.iImage);
  EXPECT_EQ(TBSTYLE_DROPDOWN, info.fsStyle);
  EXPECT_EQ(-1, SendMessageA(bar, TB_GETBUTTONINFOA, 99, reinterpret_cast<LPARAM>(&info)));
}

TEST_F(CcToolBar, ClicksSendCommandsAndToggleChecks) {
  ClickButton(0);
  ClickButton(6);  // disabled: nothing
  ClickButton(2);
  EXPECT_TRUE(Checked(12));
  ClickButton(2);
  EXPECT_FALSE(Checked(12));
  ClickButton(3);
  ClickButton(4);  // the group keeps one checked
  EXPECT_FALSE(Checked(13));
  EXPECT_TRUE(Checked(14));
  EXPECT_EQ((std::vector<int>{11, 12, 12, 13, 14}), commands);

  // Released away from the button it was pressed on: no command.
  commands.clear();
  RECT a = Rect(0), c = Rect(2);
  POINT down{(a.left + a.right) / 2, 5}, up{(c.left + c.right) / 2, 5};
  ClientToScreen(bar, &down);
  ClientToScreen(bar, &up);
  testkit::MouseMove(down);
  testkit::MouseDown(down);
  testkit::MouseMove(up);
  testkit::MouseUp(up);
  testkit::PumpPending();
  EXPECT_TRUE(commands.empty());

  // Hot tracking follows the mouse.
  testkit::MouseMove(up);
  EXPECT_EQ(2, SendMessageA(bar, TB_GETHOTITEM, 0, 0));
}

TEST_F(CcToolBar, DropDownButtonsNotifyInsteadOfCommanding) {
  ClickButton(5);
  EXPECT_EQ((std::vector<int>{15}), dropDowns);
  EXPECT_TRUE(commands.empty());
  // With a separate arrow, the face is an ordinary button and the arrow drops down.
  SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  RECT r = Rect(5);
  ClickButton(5, -(r.right - r.left) / 2 + 3);
  ClickButton(5, (r.right - r.left) / 2 - 3);
  EXPECT_EQ((std::vector<int>{15}), commands);
  EXPECT_EQ((std::vector<int>{15, 15}), dropDowns);
}

}  // namespace
