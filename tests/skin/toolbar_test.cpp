// The skinned tool bar: control slots in horizontal and vertical layouts, the
// hot and pressed looks, and the class-wide switch that constructing a bar
// turns off.
#include <gtest/gtest.h>

#include <vector>

#include "RTToolBar.h"
#include "scroll_fixture.h"

using namespace skintest;

namespace {

const UINT kBarRes = 7401;
const UINT kComboId = 500;

ResourceRegistrar g_bar([] {
  PlatformAddToolBar(MAKEINTRESOURCE(kBarRes), rc::ToolBar(16, 15, {201, 202, 0, 203}));
  PlatformAddBitmap(MAKEINTRESOURCE(kBarRes), [] { return MakeBitmap({"BCD"}, 16, 15); });
});

COLORREF Pixel(HWND hwnd, int x, int y) {
  const uint32_t rgb = testkit::WindowPixel(hwnd, x, y);
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

class ToolBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    ASSERT_TRUE(page.Make());
    ASSERT_TRUE(bar.CreateEx(&page, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP));
    ASSERT_TRUE(bar.LoadToolBar(kBarRes));
    CRTToolBar::SetImages(set.images(), set.modes());
    CRTToolBar::SetSkinFlag(1);
  }
  void TearDown() override {
    CBitmap* none[5] = {};
    const int32_t modes[5] = {};
    CRTToolBar::SetImages(none, modes);
    CRTToolBar::SetSkinFlag(0);
    combo.DestroyWindow();
    bar.DestroyWindow();
    page.DestroyWindow();
    testkit::ResetWindows();
  }
  CSize Commit(DWORD mode) {
    const CSize size = bar.CalcDynamicLayout(-1, mode | LM_COMMIT);
    bar.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    testkit::PumpPending();
    return size;
  }
  void Repaint() {
    bar.Invalidate();
    bar.UpdateWindow();
    testkit::PumpPending();
  }
  void AddCombo(int index) {
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 0, 80, 100), &bar, kComboId));
    ASSERT_TRUE(bar.InsertControl(index, &combo));
  }
  CRect ComboRect() {
    CRect r;
    combo.GetWindowRect(&r);
    bar.ScreenToClient(&r);
    return r;
  }

  SolidSet set{"ABCDE"};
  RecordingPage page;
  CRTToolBar bar;
  CComboBox combo;
};

TEST_F(ToolBarTest, ControlFollowsItsSlotAndVanishesWhenDockedVertically) {
  AddCombo(2);
  ASSERT_EQ(5, bar.GetCount());
  EXPECT_EQ(kComboId, bar.GetItemID(2));

  const CSize horizontal = Commit(LM_HORZ | LM_HORZDOCK);
  CRect slot;
  bar.GetItemRect(2, &slot);
  EXPECT_EQ(80, slot.Width());
  EXPECT_TRUE(combo.IsWindowVisible());
  CRect expected = slot;
  expected.DeflateRect(1, 1);
  EXPECT_EQ(expected.left, ComboRect().left);
  EXPECT_EQ(expected.top, ComboRect().top);
  EXPECT_EQ(expected.Width(), ComboRect().Width());
  EXPECT_GE(horizontal.cx, 80 + 3 * bar.GetToolBarCtrl().GetButtonSize().cx);

  // Docked vertically: the slot takes no room and the control is hidden.
  CRTToolBar::SetSkinFlag(0);
  const CSize plainVertical = bar.CalcDynamicLayout(-1, LM_VERTDOCK);
  CRTToolBar::SetSkinFlag(1);
  const CSize vertical = Commit(LM_VERTDOCK);
  EXPECT_LT(vertical.cy, plainVertical.cy);
  EXPECT_FALSE(combo.IsWindowVisible());
  EXPECT_TRUE(bar.GetToolBarCtrl().GetState(kComboId) & TBSTATE_HIDDEN);

  // Back to horizontal, with a button inserted before the slot: the control
  // shows again and moves along with its slot.
  TBBUTTON extra{};
  extra.idCommand = 209;
  extra.fsState = TBSTATE_ENABLED;
  ASSERT_TRUE(bar.GetToolBarCtrl().InsertButton(0, &extra));
  bar.m_bDelayedButtonLayout = TRUE;
  EXPECT_EQ(horizontal.cx + bar.GetToolBarCtrl().GetButtonSize().cx, Commit(LM_HORZ | LM_HORZDOCK).cx);
  EXPECT_TRUE(combo.IsWindowVisible());
  bar.GetItemRect(3, &slot);
  EXPECT_EQ(slot.left + 1, ComboRect().left);
  EXPECT_EQ(expected.left + bar.GetToolBarCtrl().GetButtonSize().cx, ComboRect().left);
}

TEST_F(ToolBarTest, InsertControlIndexAndFailures) {
  AddCombo(99);  // out of range: at the end
  EXPECT_EQ(kComboId, bar.GetItemID(bar.GetCount() - 1));
  EXPECT_FALSE(bar.InsertControl(0, nullptr));
  CWnd never;
  EXPECT_FALSE(bar.InsertControl(0, &never));
  EXPECT_FALSE(bar.LoadToolBar(7499)) << "an unknown tool bar";
}

TEST_F(ToolBarTest, HotButtonLiftsAndPressingPushesItDown) {
  CBitmap* none[5] = {};
  CRTToolBar::SetImages(none, set.modes());  // tinted fills, no Focus or Down image
  Commit(LM_HORZ | LM_HORZDOCK);
  CRect r;
  bar.GetItemRect(0, &r);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  Repaint();
  EXPECT_EQ(ColorOf('B'), Pixel(bar.m_hWnd, r.left + 3, r.top + 3)) << "icon at rest";

  bar.GetToolBarCtrl().SetHotItem(0);
  Repaint();
  EXPECT_EQ(AdjustColorHLS(highlight, 70, -57), Pixel(bar.m_hWnd, r.right - 2, r.bottom - 2)) << "light fill";
  EXPECT_EQ(highlight, Pixel(bar.m_hWnd, r.left, r.top)) << "outline";
  EXPECT_EQ(ColorOf('B'), Pixel(bar.m_hWnd, r.left + 2, r.top + 2)) << "lifted icon";
  EXPECT_EQ(AdjustColorHLS(highlight, 50, -66), Pixel(bar.m_hWnd, r.left + 4 + 15, r.top + 4 + 14)) << "its shadow";

  // The left button held down over the hot button: darker fill, no lift.
  CPoint centre = r.CenterPoint();
  bar.ClientToScreen(&centre);
  testkit::MouseMove(centre);
  testkit::MouseDown(centre);
  testkit::PumpPending();
  bar.GetToolBarCtrl().SetHotItem(0);
  Repaint();
  EXPECT_EQ(AdjustColorHLS(highlight, 50, -50), Pixel(bar.m_hWnd, r.right - 2, r.bottom - 2)) << "dark fill";
  EXPECT_NE(ColorOf('B'), Pixel(bar.m_hWnd, r.left + 2, r.top + 2));
  EXPECT_EQ(ColorOf('B'), Pixel(bar.m_hWnd, r.left + 3 + 15, r.top + 3 + 14));
  testkit::MouseUp(centre);
  testkit::PumpPending();
}

// With tinted fills: a disabled icon is only its grey shadow, an
// indeterminate button is framed and lifted, and a drop-down button's arrow
// part shares its left edge with the main part, which alone darkens when
// held down.
TEST_F(ToolBarTest, DisabledIndeterminateAndDropDownLooks) {
  CBitmap* none[5] = {};
  CRTToolBar::SetImages(none, set.modes());
  CToolBarCtrl& ctrl = bar.GetToolBarCtrl();
  ctrl.SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS);
  TBBUTTONINFO info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_STYLE;
  info.fsStyle = TBSTYLE_BUTTON | TBSTYLE_DROPDOWN;
  ASSERT_TRUE(ctrl.SetButtonInfo(203, &info));
  ctrl.SetState(201, 0);
  ctrl.SetState(202, TBSTATE_ENABLED | TBSTATE_INDETERMINATE);
  Commit(LM_HORZ | LM_HORZDOCK);
  CRect disabled, indeterminate, drop;
  bar.GetItemRect(0, &disabled);
  bar.GetItemRect(1, &indeterminate);
  bar.GetItemRect(3, &drop);
  ASSERT_GT(drop.Width(), ctrl.GetButtonSize().cx) << "room for the arrow part";
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE), highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  const int arrowEdge = drop.right - 14, middle = drop.CenterPoint().y;
  struct Case {
    const char* what;
    CPoint at;
    COLORREF colour;
  };
  auto check = [&](const char* phase, const std::vector<Case>& cases) {
    Repaint();
    for (const Case& c : cases) EXPECT_EQ(c.colour, Pixel(bar.m_hWnd, c.at.x, c.at.y)) << phase << ": " << c.what;
  };

  ctrl.SetHotItem(3);
  check("hot", {
      {"disabled: the grey shadow", CPoint(disabled.left + 8, disabled.top + 8), AdjustColorHLS(face, -27, 0)},
      {"indeterminate: dark frame", indeterminate.TopLeft(), ::GetSysColor(COLOR_3DDKSHADOW)},
      {"indeterminate: lifted icon", CPoint(indeterminate.left + 2, indeterminate.top + 2), ColorOf('C')},
      {"indeterminate: its shadow", CPoint(indeterminate.left + 4 + 15, indeterminate.top + 4 + 14),
       AdjustColorHLS(face, -20, 0)},
      {"drop-down: light fill", CPoint(drop.left + 1, drop.bottom - 2), AdjustColorHLS(highlight, 70, -57)},
      {"drop-down: the arrow part's edge", CPoint(arrowEdge, drop.top + 2), highlight},
      {"drop-down: light arrow part", CPoint(arrowEdge + 1, drop.top + 2), AdjustColorHLS(highlight, 70, -57)},
      {"drop-down: the arrow", CPoint(drop.right - 7, middle + 1), RGB(0, 0, 0)},
  });

  CPoint mainPart(drop.left + 4, middle);
  bar.ClientToScreen(&mainPart);
  testkit::MouseMove(mainPart);
  testkit::MouseDown(mainPart);
  testkit::PumpPending();
  ctrl.SetHotItem(3);
  check("main part held down", {
      {"dark main part", CPoint(drop.left + 1, drop.bottom - 2), AdjustColorHLS(highlight, 50, -50)},
      {"up to the shared edge", CPoint(arrowEdge - 1, drop.top + 2), AdjustColorHLS(highlight, 50, -50)},
      {"the shared edge", CPoint(arrowEdge, drop.top + 2), highlight},
      {"the arrow part stays light", CPoint(arrowEdge + 1, drop.top + 2), AdjustColorHLS(highlight, 70, -66)},
  });
  testkit::MouseUp(mainPart);
  testkit::PumpPending();
}

TEST_F(ToolBarTest, BackgroundAndSecondBarSwitchesSkinningOff) {
  Commit(LM_HORZ | LM_HORZDOCK);
  CRect client;
  bar.GetClientRect(&client);
  Repaint();
  EXPECT_EQ('A', PixelLetter(bar.m_hWnd, client.right - 2, client.bottom - 2)) << "the Back image";

  CRTToolBar second;
  EXPECT_EQ(0, CRTToolBar::s_skinEnabled);
  Repaint();
  EXPECT_NE('A', PixelLetter(bar.m_hWnd, client.right - 2, client.bottom - 2));
  EXPECT_EQ(0, CRTToolBar::SetSkinFlag(1));
  Repaint();
  EXPECT_EQ('A', PixelLetter(bar.m_hWnd, client.right - 2, client.bottom - 2));
}

TEST_F(ToolBarTest, BarWithoutButtonsPaints) {
  CRTToolBar empty;
  CRTToolBar::SetSkinFlag(1);
  ASSERT_TRUE(empty.CreateEx(&page, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP));
  const CSize size = empty.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
  empty.SetWindowPos(nullptr, 0, 50, std::max<int>(10, size.cx), std::max<int>(10, size.cy), SWP_NOZORDER);
  empty.Invalidate();
  empty.UpdateWindow();
  EXPECT_EQ('A', PixelLetter(empty.m_hWnd, 2, 2));
}

}  // namespace
