// The scroll helper on a window smaller than its contents: bar range, page and
// position, and the contents (a child window) moved by each scroll.

#include "CScrollHelper.h"
#include "platform/dlg_fixture.h"

class ScrollHelperTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    HWND hwnd = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                                nullptr);
    child_ = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hwnd, nullptr, nullptr, nullptr);
    wnd_.Attach(hwnd);
    helper_.AttachWnd(&wnd_);
  }
  void TearDown() override {
    wnd_.Detach();
    DialogTest::TearDown();
  }
  SCROLLINFO Bar(int bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(wnd_.GetSafeHwnd(), bar, &info);
    return info;
  }
  int ChildTop() {
    RECT r;
    GetWindowRect(child_, &r);
    POINT p{r.left, r.top};
    ScreenToClient(wnd_.GetSafeHwnd(), &p);
    return p.y;
  }
  CWnd wnd_;
  HWND child_ = nullptr;
  CScrollHelper helper_;
};

TEST_F(ScrollHelperTest, DisplayLargerThanTheWindowGetsAVerticalRange) {
  helper_.SetDisplaySize(150, 400);
  SCROLLINFO v = Bar(SB_VERT);
  EXPECT_EQ(v.nMin, 0);
  EXPECT_EQ(v.nMax, 399);
  EXPECT_EQ(helper_.GetPageSize().cy, 100);
  EXPECT_EQ(v.nPage, 100u);
  EXPECT_EQ(helper_.GetPageSize().cx, 0);  // the width fits
  EXPECT_EQ(helper_.GetScrollPos().cy, 0);
}

TEST_F(ScrollHelperTest, VScrollCodesMoveAndClamp) {
  helper_.SetDisplaySize(150, 400);
  int page = helper_.GetPageSize().cy;
  struct Step {
    UINT code;
    int expected;
  } steps[] = {
      {SB_LINEDOWN, 60}, {SB_LINEDOWN, 120}, {SB_PAGEDOWN, 120 + page}, {SB_PAGEDOWN, 400 - page},
      {SB_LINEDOWN, 400 - page},  // clamped at display - page
      {SB_PAGEUP, 400 - 2 * page}, {SB_LINEUP, 400 - 2 * page - 60}, {SB_PAGEUP, 400 - 3 * page - 60},
      {SB_LINEUP, 0},  // clamped at 0
      {SB_ENDSCROLL, 0},          // other codes do nothing
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.code);
    helper_.OnVScroll(s.code, 0, nullptr);
    EXPECT_EQ(helper_.GetScrollPos().cy, s.expected);
    EXPECT_EQ(Bar(SB_VERT).nPos, s.expected);
    EXPECT_EQ(ChildTop(), -s.expected);  // the contents moved with the bar
  }
}

TEST_F(ScrollHelperTest, ContentsThatFitClearTheBarAndScrollBack) {
  helper_.SetDisplaySize(150, 400);
  helper_.OnVScroll(SB_LINEDOWN, 0, nullptr);
  ASSERT_EQ(ChildTop(), -60);
  helper_.SetDisplaySize(150, 50);
  EXPECT_EQ(helper_.GetPageSize().cy, 0);
  EXPECT_EQ(helper_.GetScrollPos().cy, 0);
  EXPECT_EQ(ChildTop(), 0);
  CScrollHelper detached;
  detached.SetDisplaySize(10, 10);  // no window: only stored
  detached.OnVScroll(SB_LINEDOWN, 0, nullptr);
  EXPECT_EQ(detached.GetDisplaySize().cy, 10);
}
