// Windows that scroll: their own scroll bars come and go with the range, the
// client area shrinks and grows with them, and ScrollWindowEx moves the
// pixels and the children and leaves the uncovered strip to be painted.

#include <vector>

#include "Controls.h"
#include "Gdi.h"
#include "ui_fixture.h"
#include "afxwin.h"

namespace {

class ScrollTest : public UiFixture {
 protected:
  HWND MakeTop(DWORD style = 0) { return Make(WS_POPUP | WS_VISIBLE | style, RECT{0, 0, 200, 150}); }
  static bool Has(HWND w, DWORD bits) { return (GetWindowLongA(w, GWL_STYLE) & bits) == bits; }
  static RECT ClientOf(HWND w) {
    RECT rc;
    GetClientRect(w, &rc);
    return rc;
  }
};

// ---------------------------------------------------------------- bars show and hide

struct BarCase {
  const char* what;
  int bar;
  int min, max;
  UINT page;
  UINT extraMask;
  bool startShown;
  bool shown;
};

TEST_F(ScrollTest, SetScrollInfoShowsTheBarOnlyWhileTheRangeExceedsThePage) {
  const BarCase cases[] = {
      {"more rows than a page", SB_VERT, 0, 99, 10, 0, false, true},
      {"exactly a page", SB_VERT, 0, 9, 10, 0, true, false},
      {"one row more than a page", SB_VERT, 0, 10, 10, 0, false, true},
      {"empty range", SB_VERT, 0, 0, 0, 0, true, false},
      {"range without a page", SB_VERT, 0, 50, 0, 0, false, true},
      {"fits but asked to stay", SB_VERT, 0, 5, 10, SIF_DISABLENOSCROLL, true, true},
      {"fits, asked to stay, never shown", SB_VERT, 0, 5, 10, SIF_DISABLENOSCROLL, false, false},
      {"horizontal", SB_HORZ, 0, 300, 100, 0, false, true},
      {"horizontal fits", SB_HORZ, 0, 99, 100, 0, true, false},
  };
  for (const BarCase& c : cases) {
    SCOPED_TRACE(c.what);
    DWORD bit = c.bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    HWND w = MakeTop(c.startShown ? bit : 0);
    RECT before = ClientOf(w);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | c.extraMask, c.min, c.max, c.page, 0, 0};
    SetScrollInfo(w, c.bar, &si, TRUE);
    EXPECT_EQ(Has(w, bit), c.shown);
    // The non-client area follows the bar.
    RECT after = ClientOf(w);
    int grown = c.bar == SB_VERT ? after.right - before.right : after.bottom - before.bottom;
    int bar = GetSystemMetrics(c.bar == SB_VERT ? SM_CXVSCROLL : SM_CYHSCROLL);
    EXPECT_EQ(grown, c.shown == c.startShown ? 0 : c.shown ? -bar : bar);
    // The information is kept either way.
    SCROLLINFO back{sizeof back, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    GetScrollInfo(w, c.bar, &back);
    EXPECT_EQ(back.nMax, c.max);
    DestroyWindow(w);
  }
}

TEST_F(ScrollTest, RangeCallsShowAndHideButAPositionAloneDoesNot) {
  HWND w = MakeTop();
  SetScrollPos(w, SB_VERT, 5, TRUE);
  EXPECT_FALSE(Has(w, WS_VSCROLL));
  SetScrollRange(w, SB_VERT, 0, 40, TRUE);
  EXPECT_TRUE(Has(w, WS_VSCROLL));
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 5);
  SetScrollPos(w, SB_VERT, 20, TRUE);
  EXPECT_TRUE(Has(w, WS_VSCROLL));
  SetScrollRange(w, SB_VERT, 0, 0, TRUE);
  EXPECT_FALSE(Has(w, WS_VSCROLL));
  EXPECT_EQ(ClientOf(w).right, 200);
}

TEST_F(ScrollTest, AResizeCausedByTheBarDoesNotTurnItBackOff) {
  // A window that sets a range from WM_SIZE whose page depends on its width,
  // as a list does: showing the bar narrows the client and asks again.
  HWND w = MakeTop();
  int sizes = 0;
  Of(w).fn = [&](HWND h, UINT msg, WPARAM, LPARAM lParam) -> LRESULT {
    if (msg != WM_SIZE) return kDefault;
    ++sizes;
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 190, static_cast<UINT>(LOWORD(lParam)), 0, 0};
    SetScrollInfo(h, SB_HORZ, &si, TRUE);
    return 0;
  };
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 250, 200, 0, 0};
  SetScrollInfo(w, SB_HORZ, &si, TRUE);
  EXPECT_TRUE(Has(w, WS_HSCROLL));
  EXPECT_LT(sizes, 4);
}

// ---------------------------------------------------------------- ScrollWindowEx

struct ScrollCase {
  const char* what;
  int dx, dy;
  UINT flags;
  RECT uncovered;  // client coordinates
  POINT childAt;   // where the child at (20,40) ends up
};

TEST_F(ScrollTest, ScrollWindowExMovesPixelsAndChildrenAndInvalidatesTheUncoveredStrip) {
  const ScrollCase cases[] = {
      {"up by 10 with children", 0, -10, SW_INVALIDATE | SW_SCROLLCHILDREN, {0, 140, 200, 150}, {20, 30}},
      {"down by 30, children stay", 0, 30, SW_INVALIDATE, {0, 0, 200, 30}, {20, 40}},
      {"left by 50", -50, 0, SW_INVALIDATE | SW_SCROLLCHILDREN, {150, 0, 200, 150}, {-30, 40}},
  };
  for (const ScrollCase& c : cases) {
    SCOPED_TRACE(c.what);
    HWND w = MakeTop();
    HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{20, 40, 40, 60}, w);
    UpdateWindow(w);
    ValidateRect(w, nullptr);
    // Rows of distinct colours, so a moved row names where it came from.
    HDC dc = GetDC(w);
    for (int y = 0; y < 150; ++y) {
      RECT row{0, y, 200, y + 1};
      HBRUSH b = CreateSolidBrush(RGB(y, 255 - y, 7));
      FillRect(dc, &row, b);
      DeleteObject(b);
    }
    ReleaseDC(w, dc);
    RECT update{};
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    int kind = ScrollWindowEx(w, c.dx, c.dy, nullptr, nullptr, rgn, &update, c.flags);
    EXPECT_EQ(kind, SIMPLEREGION);
    EXPECT_TRUE(EqualRect(&update, &c.uncovered));
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_TRUE(EqualRect(&box, &c.uncovered));
    DeleteObject(rgn);
    RECT pending;
    ASSERT_TRUE(GetUpdateRect(w, &pending, FALSE));
    EXPECT_TRUE(EqualRect(&pending, &c.uncovered));
    // A pixel in the moved part came from dy rows away.
    if (c.dy) {
      EXPECT_EQ((testkit::WindowPixel(w, 180, 100) >> 16) & 0xFF, static_cast<uint32_t>(100 - c.dy));
    }
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, c.childAt.x);
    EXPECT_EQ(rc.top, c.childAt.y);
    DestroyWindow(w);
  }
}

TEST_F(ScrollTest, ScrollWindowMovesChildrenOnlyWhenTheWholeClientScrolls) {
  HWND w = MakeTop();
  HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{20, 40, 40, 60}, w);
  auto top = [&] {
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&rc), 2);
    return rc.top;
  };
  ScrollWindow(w, 0, -5, nullptr, nullptr);
  EXPECT_EQ(top(), 35);
  RECT part{0, 0, 200, 100};
  ScrollWindow(w, 0, -5, &part, nullptr);
  EXPECT_EQ(top(), 35);
  // The strip is erased when it is painted.
  bool erased = false;
  Of(w).fn = [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
    if (msg == WM_ERASEBKGND) erased = true;
    return kDefault;
  };
  UpdateWindow(w);
  EXPECT_TRUE(erased);
}

TEST_F(ScrollTest, ScrollWindowExWithoutInvalidateLeavesTheUpdateRegionAlone) {
  HWND w = MakeTop();
  UpdateWindow(w);
  RECT update{};
  EXPECT_EQ(ScrollWindowEx(w, 0, 0, nullptr, nullptr, nullptr, &update, 0), NULLREGION);
  EXPECT_EQ(ScrollWindowEx(w, 0, 8, nullptr, nullptr, nullptr, &update, 0), SIMPLEREGION);
  EXPECT_EQ(update.bottom, 8);
  RECT pending;
  EXPECT_FALSE(GetUpdateRect(w, &pending, FALSE));
  EXPECT_EQ(ScrollWindowEx(nullptr, 0, 8, nullptr, nullptr, nullptr, nullptr, 0), ERROR);
}

// ---------------------------------------------------------------- CWnd

class CSiblingScrolled : public CWnd {
 public:
  CScrollBar* bar = nullptr;
  CScrollBar* GetScrollBarCtrl(int nBar) const override { return nBar == SB_VERT ? bar : nullptr; }
};

TEST_F(ScrollTest, CWndScrollMembersUseTheWindowsBarsOrTheNamedControl) {
  HWND w = MakeTop();
  CWnd wnd;
  wnd.Attach(w);
  EXPECT_EQ(wnd.GetScrollBarCtrl(SB_VERT), nullptr);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 100, 10, 0, 0};
  wnd.SetScrollInfo(SB_VERT, &si);
  EXPECT_TRUE(Has(w, WS_VSCROLL));
  EXPECT_EQ(wnd.GetScrollLimit(SB_VERT), 91);
  EXPECT_EQ(wnd.SetScrollPos(SB_VERT, 200), 0);
  EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 91);
  SCROLLINFO back{};
  EXPECT_TRUE(wnd.GetScrollInfo(SB_VERT, &back, SIF_POS));
  EXPECT_EQ(back.nPos, 91);
  wnd.ShowScrollBar(SB_VERT, FALSE);
  EXPECT_FALSE(Has(w, WS_VSCROLL));
  HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{0, 30, 10, 40}, w);
  wnd.ScrollWindow(0, 10);
  RECT rc;
  GetWindowRect(child, &rc);
  EXPECT_EQ(rc.top, 40);
  wnd.Detach();

  PlatformDialogClass(nullptr);  // registers the control classes
  HWND other = MakeTop();
  CScrollBar control;
  control.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(0, 0, 16, 100), CWnd::FromHandle(other), 7);
  control.SetScrollRange(0, 50, FALSE);
  CSiblingScrolled sib;
  sib.bar = &control;
  sib.Attach(other);
  sib.SetScrollPos(SB_VERT, 12);
  EXPECT_EQ(control.GetScrollPos(), 12);
  EXPECT_EQ(sib.GetScrollPos(SB_VERT), 12);
  EXPECT_EQ(sib.GetScrollLimit(SB_VERT), 50);
  EXPECT_FALSE(Has(other, WS_VSCROLL));
  sib.Detach();
}

}  // namespace
