// The skinned tree control: a tree longer than its window scrolls through the
// container's skinned bars, which every paint brings in step; with the skin
// on, the tree lies over the skin's tree background.
#include <gtest/gtest.h>

#include <string>

#include "RTTreeCtrl.h"
#include "scroll_fixture.h"

using namespace skintest;

namespace {

class TreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    ASSERT_TRUE(page.Make());
  }
  void TearDown() override {
    CBitmap* none[5] = {};
    const int32_t modes[5] = {};
    CRTTreeCtrl::SetImages(none, modes);
    CRTTreeCtrl::SetSkinFlag(0);
    tree.DestroyWindow();
    page.DestroyWindow();
    testkit::ResetWindows();
  }
  void MakeTree(int items, bool subclassed = false) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS;
    if (subclassed) {
      HWND hwnd = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEW, "", style, 20, 20, 200, 150, page.m_hWnd,
                                    reinterpret_cast<HMENU>(100), nullptr, nullptr);
      ASSERT_TRUE(hwnd);
      ASSERT_TRUE(tree.SubclassWindow(hwnd));
    } else {
      ASSERT_TRUE(tree.Create(style | WS_BORDER, CRect(20, 20, 220, 170), &page, 100));
    }
    for (int i = 0; i < items; ++i) tree.InsertItem(("Access point " + std::to_string(i)).c_str());
    Settle();
  }
  void Settle() {
    testkit::PumpPending();
    page.UpdateWindow();
    if (tree.m_hWnd) tree.UpdateWindow();
    testkit::PumpPending();
  }
  void ClickBar(CPoint client) {
    CRTScrollBar& bar = tree.GetContainer().VerticalBar();
    Press(bar, client);
    Release(bar, client);
    Settle();
  }
  HTREEITEM Nth(int n) {
    HTREEITEM item = tree.GetRootItem();
    while (n-- > 0 && item) item = tree.GetNextSiblingItem(item);
    return item;
  }

  ScrollSkin skin;
  RecordingPage page;
  CRTTreeCtrl tree;
};

TEST_F(TreeTest, LongTreeScrollsThroughTheSkinnedBars) {
  for (bool subclassed : {false, true}) {
    SCOPED_TRACE(subclassed ? "subclassed" : "created");
    MakeTree(40, subclassed);
    EXPECT_EQ(tree.GetParent(), &tree.GetContainer());
    EXPECT_EQ(nullptr, tree.GetScrollBarCtrl(SB_VERT));
    EXPECT_FALSE(tree.GetStyle() & WS_VSCROLL) << "the tree's own bar stays hidden";
    CRTScrollBar& bar = tree.GetContainer().VerticalBar();
    ASSERT_TRUE(bar.IsWindowVisible());
    int low = 0, high = 0;
    bar.GetScrollRange(&low, &high);
    EXPECT_EQ(0, low);
    EXPECT_EQ(40 - static_cast<int>(tree.GetVisibleCount()), high) << "the last page of rows";
    EXPECT_GT(high, 20);

    const CPoint downArrow(8, bar.GetParts().secondArrow.CenterPoint().y);
    ClickBar(downArrow);
    ClickBar(downArrow);
    EXPECT_EQ(Nth(2), tree.GetFirstVisibleItem());
    EXPECT_EQ(2, bar.GetScrollPos()) << "the bar follows the tree at its next paint";

    // Scrolling the tree by keyboard moves the bar too.
    tree.SetFocus();
    tree.SelectItem(Nth(39));
    tree.EnsureVisible(Nth(39));
    Settle();
    EXPECT_EQ(high, bar.GetScrollPos());
    ClickBar(CPoint(8, 8));
    EXPECT_EQ(high - 1, bar.GetScrollPos());
    tree.DestroyWindow();
  }
}

TEST_F(TreeTest, SkinnedTreeLiesOverTheBackground) {
  SolidSet set("ABCDE");
  CRTTreeCtrl::SetImages(set.images(), set.modes());
  CRTTreeCtrl::SetSkinFlag(1);
  MakeTree(3);
  CRect client;
  tree.GetClientRect(&client);
  // Below the items and right of the texts the window colour is left out.
  EXPECT_EQ('A', PixelLetter(tree.m_hWnd, client.right - 3, client.bottom - 3));
  EXPECT_EQ('A', PixelLetter(tree.m_hWnd, client.right - 3, 3));
  int other = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < client.right; ++x) other += PixelLetter(tree.m_hWnd, x, y) != 'A';
  EXPECT_GT(other, 10) << "the first item's text and lines are drawn";

  // Switched off: the tree's own look again.
  CRTTreeCtrl::SetSkinFlag(0);
  tree.Invalidate();
  Settle();
  EXPECT_NE('A', PixelLetter(tree.m_hWnd, client.right - 3, client.bottom - 3));
}

TEST_F(TreeTest, EmptyTreeAndMissingImageDrawCleanly) {
  CRTTreeCtrl::SetSkinFlag(1);  // no image: the system's look
  MakeTree(0);
  CRect client;
  tree.GetClientRect(&client);
  const uint32_t rgb = testkit::WindowPixel(tree.m_hWnd, client.right / 2, client.bottom / 2);
  EXPECT_EQ(::GetSysColor(COLOR_WINDOW), RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
  EXPECT_FALSE(tree.GetContainer().VerticalBar().IsWindowVisible());

  SolidSet set("ABCDE");
  CRTTreeCtrl::SetImages(set.images(), set.modes());
  tree.Invalidate();
  Settle();
  EXPECT_EQ('A', PixelLetter(tree.m_hWnd, client.right / 2, client.bottom / 2));
}

}  // namespace
