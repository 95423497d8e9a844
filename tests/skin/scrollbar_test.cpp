// The skinned scroll bar: arrow and page repeats on the test clock, what
// taking the capture away does to them, thumb size and dragging, the
// position setter, and which image each part shows.
#include <gtest/gtest.h>

#include "scroll_fixture.h"

using namespace skintest;

namespace {

const int kBreadth = 17;

class ScrollBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    ASSERT_TRUE(page.Make());
  }
  void TearDown() override {
    if (bar.m_hWnd) bar.DestroyWindow();
    if (page.m_hWnd) page.DestroyWindow();
    testkit::ResetWindows();
  }
  // A vertical bar 200 long (track 18..182) or a horizontal one `length` long.
  void MakeBar(DWORD style = SBS_VERT, int length = 200, int min = 0, int max = 100) {
    const CRect rect = style & SBS_VERT ? CRect(10, 10, 10 + kBreadth, 10 + length)
                                        : CRect(10, 10, 10 + length, 10 + kBreadth);
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | style, rect, &page, 5));
    bar.SetScrollRange(min, max);
    page.UpdateWindow();
    testkit::PumpPending();
  }
  // The parent moves the bar as a real one would.
  void FollowSteps() {
    page.onScroll = [this](const ScrollMessage& m) {
      int pos = bar.GetScrollPos();
      if (m.code == SB_LINEDOWN) ++pos;
      if (m.code == SB_LINEUP) --pos;
      if (m.code == SB_PAGEDOWN) pos += 10;
      if (m.code == SB_PAGEUP) pos -= 10;
      if (m.code == SB_THUMBTRACK || m.code == SB_THUMBPOSITION) pos = m.pos;
      bar.SetScrollPos(pos);
    };
  }

  ScrollSkin skin;
  RecordingPage page;
  CRTScrollBar bar;
};

TEST_F(ScrollBarTest, ArrowPressRepeatsFromTheFourthTickUntilRelease) {
  MakeBar();
  const CPoint down(8, 192);
  Press(bar, down);
  EXPECT_EQ(page.Count(SB_LINEDOWN), 1);
  EXPECT_EQ(PixelLetter(bar, 8, 192), 'E') << "the held arrow shows Down";
  Wait(300);
  EXPECT_EQ(page.Count(SB_LINEDOWN), 1) << "nothing at 100, 200 and 300 ms";
  Wait(100);
  EXPECT_EQ(page.Count(SB_LINEDOWN), 2);
  // Leaving the arrow does not stop the repeat.
  Drag(bar, CPoint(60, 100));
  Wait(200);
  EXPECT_EQ(page.Count(SB_LINEDOWN), 4);
  Release(bar, CPoint(60, 100));
  Wait(1000);
  EXPECT_EQ(page.Count(SB_LINEDOWN), 4);
  EXPECT_EQ(PixelLetter(bar, 8, 192), 'D');
  EXPECT_EQ(page.Count(SB_LINEUP), 0);
}

TEST_F(ScrollBarTest, UpArrowSendsLineUp) {
  MakeBar();
  Press(bar, CPoint(8, 5));
  Release(bar, CPoint(8, 5));
  ASSERT_EQ(page.scrolls.size(), 1u);
  EXPECT_EQ(page.scrolls[0].msg, static_cast<UINT>(WM_VSCROLL));
  EXPECT_EQ(page.scrolls[0].code, SB_LINEUP);
}

// However the capture goes away during a repeat, the repeat ends and the
// arrow comes back up.
TEST_F(ScrollBarTest, LosingTheCaptureStopsTheRepeat) {
  CWnd other;
  ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_POPUP | WS_VISIBLE, CRect(500, 50, 600, 150),
                             nullptr, 0));
  struct Case {
    const char* how;
    std::function<void()> takeAway;
  } cases[] = {
      {"another window captures", [&] { other.SetCapture(); }},
      {"WM_CANCELMODE", [&] { bar.SendMessage(WM_CANCELMODE); }},
      {"ReleaseCapture", [] { ::ReleaseCapture(); }},
  };
  MakeBar();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    page.scrolls.clear();
    Press(bar, CPoint(8, 192));
    Wait(500);
    ASSERT_EQ(page.Count(SB_LINEDOWN), 3);
    c.takeAway();
    testkit::PumpPending();
    Wait(1000);
    EXPECT_EQ(page.Count(SB_LINEDOWN), 3);
    EXPECT_EQ(PixelLetter(bar, 8, 192), 'D');
    ::ReleaseCapture();
    testkit::MouseUp(OnScreen(bar, CPoint(8, 192)));
    testkit::PumpPending();
  }
  other.DestroyWindow();
}

// A handler that opens a modal loop takes the capture inside the first
// notification: no repeat may start after it returns.
TEST_F(ScrollBarTest, CaptureTakenByTheFirstNotificationStartsNoRepeat) {
  MakeBar();
  page.onScroll = [this](const ScrollMessage&) { page.SetCapture(); };
  Press(bar, CPoint(8, 192));
  page.onScroll = nullptr;
  ::ReleaseCapture();
  Wait(1000);
  EXPECT_EQ(page.Count(SB_LINEDOWN), 1);
}

TEST_F(ScrollBarTest, PageRepeatPausesOverTheThumb) {
  MakeBar(SBS_VERT, 200, 0, 100);
  bar.SetScrollPos(0);
  const CRect thumb = bar.GetParts().thumb;
  ASSERT_EQ(thumb.top, 18);
  const CPoint below(8, 150);
  Press(bar, below);
  EXPECT_EQ(page.Count(SB_PAGEDOWN), 1);
  EXPECT_EQ(PixelLetter(bar, 8, 192), 'E') << "the page-down repeat shows the down arrow pressed";
  Wait(400);
  EXPECT_EQ(page.Count(SB_PAGEDOWN), 2);
  Drag(bar, CPoint(8, thumb.top + 5));
  Wait(300);
  EXPECT_EQ(page.Count(SB_PAGEDOWN), 2);
  Drag(bar, below);
  Wait(100);
  EXPECT_EQ(page.Count(SB_PAGEDOWN), 3);
  Release(bar, below);
  // Above the thumb it pages up.
  bar.SetScrollPos(50);
  Press(bar, CPoint(8, 25));
  Release(bar, CPoint(8, 25));
  EXPECT_EQ(page.Count(SB_PAGEUP), 1);
}

TEST_F(ScrollBarTest, ThumbLengthFollowsTheTrack) {
  struct Case {
    int track;
    int thumb;
  } cases[] = {{40, 30}, {30, 30}, {20, 10}, {7, 3}, {0, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.track);
    // Two arrow squares, a pixel either side of the track.
    MakeBar(SBS_HORZ, c.track + 2 * kBreadth + 2);
    const CRTScrollBar::Parts parts = bar.GetParts();
    EXPECT_EQ(parts.track.Width(), c.track);
    EXPECT_EQ(parts.thumb.Width(), c.thumb);
    bar.DestroyWindow();
  }
}

TEST_F(ScrollBarTest, EmptyRangeDrawsNoThumbAndDragsNothing) {
  MakeBar(SBS_VERT, 200, 0, 0);
  EXPECT_TRUE(bar.GetParts().thumb.IsRectEmpty());
  for (int y = 18; y < 182; y += 7) EXPECT_EQ(PixelLetter(bar, 8, y), 'A') << y;
  Press(bar, CPoint(8, 20));
  Drag(bar, CPoint(8, 120));
  Release(bar, CPoint(8, 120));
  EXPECT_EQ(page.Count(SB_THUMBTRACK), 0);
  EXPECT_EQ(page.Count(SB_THUMBPOSITION), 0);
}

TEST_F(ScrollBarTest, DraggingToTheEndSendsTheLastPositionOnce) {
  MakeBar(SBS_VERT, 200, 0, 100);
  FollowSteps();
  Press(bar, CPoint(8, 25));
  EXPECT_TRUE(page.scrolls.empty()) << "pressing the thumb sends nothing";
  EXPECT_EQ(PixelLetter(bar, 8, 25), 'B');
  Drag(bar, CPoint(8, 60));
  EXPECT_TRUE(bar.IsDragging());
  EXPECT_EQ(PixelLetter(bar, 8, bar.GetParts().thumb.top + 3), 'C') << "a dragged thumb shows Down";
  ASSERT_EQ(page.Count(SB_THUMBTRACK), 1);
  for (int y : {190, 230, 300}) Drag(bar, CPoint(8, y));
  ASSERT_EQ(page.Count(SB_THUMBTRACK), 2);
  EXPECT_EQ(page.scrolls.back().pos, 100);
  Release(bar, CPoint(8, 300));
  EXPECT_EQ(page.scrolls.back().code, SB_THUMBPOSITION);
  EXPECT_EQ(page.scrolls.back().pos, 100);
  EXPECT_EQ(bar.GetScrollPos(), 100);
  EXPECT_FALSE(bar.IsDragging());
  EXPECT_EQ(bar.GetParts().thumb.bottom, 182);
}

TEST_F(ScrollBarTest, HorizontalDragReportsPositions) {
  MakeBar(SBS_HORZ, 200, 10, 20);
  FollowSteps();
  bar.SetScrollPos(10);
  Press(bar, CPoint(25, 8));
  Drag(bar, CPoint(250, 8));
  Release(bar, CPoint(250, 8));
  ASSERT_GE(page.scrolls.size(), 2u);
  EXPECT_EQ(page.scrolls.front().msg, static_cast<UINT>(WM_HSCROLL));
  EXPECT_EQ(page.scrolls.front().code, SB_THUMBTRACK);
  EXPECT_EQ(page.scrolls.front().pos, 20) << "the end of the track is the range's maximum";
  EXPECT_EQ(page.scrolls.back().code, SB_THUMBPOSITION);
  Press(bar, CPoint(bar.GetParts().thumb.left + 2, 8));
  Drag(bar, CPoint(-100, 8));
  Release(bar, CPoint(-100, 8));
  EXPECT_EQ(page.scrolls.back().pos, 10) << "the start of the track is the range's minimum";
}

// A 30-pixel track is all thumb: there is nowhere to drag to.
TEST_F(ScrollBarTest, TrackWithoutFreeLengthDragsNothing) {
  MakeBar(SBS_VERT, 30 + 2 * kBreadth + 2, 0, 100);
  const CRTScrollBar::Parts parts = bar.GetParts();
  ASSERT_EQ(parts.track.Height(), 30);
  ASSERT_EQ(parts.thumb.Height(), 30);
  Press(bar, CPoint(8, parts.thumb.top + 10));
  for (int y : {0, 40, 500, -300}) Drag(bar, CPoint(8, y));
  Release(bar, CPoint(8, -300));
  EXPECT_TRUE(page.scrolls.empty());
  EXPECT_EQ(bar.GetScrollPos(), 0);
}

TEST_F(ScrollBarTest, SetScrollPosReturnsThePreviousPosition) {
  MakeBar();
  for (int skinned : {1, 0}) {
    SCOPED_TRACE(skinned);
    CRTScrollBar::SetSkinEnabled(skinned);
    bar.SetScrollPos(5);
    EXPECT_EQ(bar.SetScrollPos(40), 5);
    EXPECT_EQ(bar.SetScrollPos(40), 40);
    EXPECT_EQ(bar.GetScrollPos(), 40);
  }
  CRTScrollBar::SetSkinEnabled(1);
}

TEST_F(ScrollBarTest, ThumbSitsByPositionAndOutOfRangePositionsStayOnTheTrack) {
  MakeBar(SBS_VERT, 200, 0, 100);
  // Track 164 long, thumb 30: 134 free pixels for 100 steps.
  struct Case {
    int pos;
    int top;
  } cases[] = {{0, 18}, {50, 18 + 67}, {100, 18 + 134}, {-20, 18}, {400, 18 + 134}};
  for (const Case& c : cases) {
    bar.SetScrollPos(c.pos);
    EXPECT_EQ(bar.GetParts().thumb.top, c.top) << c.pos;
  }
}

TEST_F(ScrollBarTest, CornerSquareShowsTheTrack) {
  MakeBar();
  bar.SetArrowPlacement(CRTScrollBar::kCornerAtEnd);
  bar.UpdateWindow();
  const CRTScrollBar::Parts parts = bar.GetParts();
  EXPECT_EQ(parts.secondCorner, CRect(0, 183, 17, 200));
  EXPECT_EQ(parts.secondArrow, CRect(0, 165, 17, 182));
  EXPECT_EQ(PixelLetter(bar, 8, 195), 'A');
  EXPECT_EQ(PixelLetter(bar, 8, 170), 'D');
  bar.EnableWindow(FALSE);
  bar.UpdateWindow();
  EXPECT_EQ(PixelLetter(bar, 8, 170), 'H');
  EXPECT_EQ(PixelLetter(bar, 8, 5), 'H');
  EXPECT_EQ(PixelLetter(bar, 8, parts.thumb.top + 3), 'G');
}

TEST_F(ScrollBarTest, UnskinnedBarIsThePlatformBar) {
  CRTScrollBar::SetSkinEnabled(0);
  MakeBar();
  Press(bar, CPoint(8, 192));
  Release(bar, CPoint(8, 192));
  EXPECT_EQ(page.Count(SB_LINEDOWN), 1);
  EXPECT_NE(PixelLetter(bar, 8, 192), 'D');
  CRTScrollBar::SetSkinEnabled(1);
}

}  // namespace
