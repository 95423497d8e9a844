// The tool-bar resource kind: a registered tool bar gives CToolBar::LoadToolBar
// its buttons and its bitmap strip; a missing resource or strip fails cleanly.

#include <gtest/gtest.h>

#include "AfxCtrlBar.h"
#include "ui_fixture.h"

namespace {

const UINT kBarId = 7301;
const UINT kNoStripId = 7302;
const UINT kShortStripId = 7303;

// A strip of `images` images of 20 by 18 pixels, each its own colour.
HBITMAP MakeStrip(int images) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  HBITMAP bm = ::CreateBitmap(20 * images, 18, 1, 32, nullptr);
  HGDIOBJ old = ::SelectObject(dc, bm);
  for (int i = 0; i < images; ++i) {
    RECT r{20 * i, 0, 20 * i + 20, 18};
    HBRUSH brush = ::CreateSolidBrush(RGB(40 * i, 0, 255 - 40 * i));
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
  }
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return bm;
}

ResourceRegistrar g_bars([] {
  PlatformAddToolBar(MAKEINTRESOURCE(kBarId), rc::ToolBar(20, 18, {101, 102, 0, 103}));
  PlatformAddBitmap(MAKEINTRESOURCE(kBarId), [] { return MakeStrip(3); });
  PlatformAddToolBar(MAKEINTRESOURCE(kNoStripId), rc::ToolBar(16, 15, {101}));
  PlatformAddToolBar(MAKEINTRESOURCE(kShortStripId), rc::ToolBar(40, 40, {101}));
  PlatformAddBitmap(MAKEINTRESOURCE(kShortStripId), [] { return MakeStrip(1); });
});

class ToolBarResource : public UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    parent.Attach(Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 400, 100}));
    ASSERT_TRUE(bar.Create(&parent));
  }
  void TearDown() override {
    bar.DestroyWindow();
    parent.Detach();
    UiFixture::TearDown();
  }
  CWnd parent;
  CToolBar bar;
};

TEST_F(ToolBarResource, LoadsButtonsAndImageStrip) {
  ASSERT_TRUE(bar.LoadToolBar(kBarId));
  ASSERT_EQ(4, bar.GetCount());
  const UINT ids[] = {101, 102, 0, 103};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ids[i], bar.GetItemID(i)) << i;
  TBBUTTON b{};
  ASSERT_TRUE(bar.GetToolBarCtrl().GetButton(3, &b));
  EXPECT_EQ(2, b.iBitmap);  // the separator takes no image
  ASSERT_TRUE(bar.GetToolBarCtrl().GetButton(2, &b));
  EXPECT_TRUE(b.fsStyle & TBSTYLE_SEP);
  CImageList* images = bar.GetToolBarCtrl().GetImageList();
  ASSERT_NE(nullptr, images);
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(images->m_hImageList, &cx, &cy));
  EXPECT_EQ(20, cx);
  EXPECT_EQ(18, cy);
  EXPECT_EQ(3, ImageList_GetImageCount(images->m_hImageList));
  // The buttons are big enough for their images.
  CSize button = bar.GetToolBarCtrl().GetButtonSize();
  EXPECT_GE(button.cx, 20);
  EXPECT_GE(button.cy, 18);
}

TEST_F(ToolBarResource, MissingPartsFailAndLeaveTheBarAsItWas) {
  const UINT before[] = {501};
  ASSERT_TRUE(bar.SetButtons(before, 1));
  for (UINT id : {7399u, kNoStripId, kShortStripId}) {
    EXPECT_FALSE(bar.LoadToolBar(id)) << id;
    EXPECT_EQ(1, bar.GetCount()) << id;
    EXPECT_EQ(501u, bar.GetItemID(0)) << id;
  }
  CToolBar unmade;
  EXPECT_FALSE(unmade.LoadToolBar(kBarId));
}

}  // namespace
