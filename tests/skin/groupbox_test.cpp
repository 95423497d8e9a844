// The group box over a striped parent: rounded frame, caption gap, and the
// background fill that stays on until a page switches it off.
#include <gtest/gtest.h>

#include "RTGroupBox.h"
#include "controls_fixture.h"

using namespace skintest;

namespace {

const CRect kAt(20, 20, 200, 120);
const COLORREF kBlue = CRTGroupBox::kDefaultColor;

class GroupBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(parent.Make()); }
  void TearDown() override { testkit::ResetWindows(); }
  void Make(const char* text, bool fillOff) {
    ASSERT_TRUE(box.Create(text, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, kAt, &parent, 60));
    if (fillOff) box.SetBackground(0, 0);
    parent.Invalidate();
    parent.UpdateWindow();
    testkit::PumpPending();
  }
  COLORREF At(int x, int y) const { return PixelOf(box.m_hWnd, x, y); }
  // The parent's stripe at a point of the box.
  COLORREF Stripe(int x) const { return ColorOf(StripeAt(kAt.left + x)); }
  // Columns of the frame's top line (one below the client top, plus half the
  // caption height) that are drawn in the frame colour.
  std::string TopLine(int y) const {
    std::string s;
    for (int x = 0; x < kAt.Width(); ++x) s += At(x, y) == kBlue ? '#' : ' ';
    return s;
  }

  StripedParent parent;
  CRTGroupBox box;
};

TEST_F(GroupBoxTest, FillStaysOnByDefault) {
  Make("Radio", false);
  EXPECT_EQ(kBlue, At(kAt.Width() / 2, kAt.Height() / 2));
  EXPECT_EQ(kBlue, At(kAt.Width() / 2, kAt.Height() - 4));
  // Outside the inset of two pixels the parent shows; the rounded corner too.
  EXPECT_EQ(Stripe(kAt.Width() / 2), At(kAt.Width() / 2, 0));
  EXPECT_EQ(Stripe(0), At(0, kAt.Height() / 2));
  EXPECT_EQ(Stripe(2), At(2, 2));
}

TEST_F(GroupBoxTest, FillOffShowsTheParentInsideAnUnbrokenFrame) {
  Make("", true);
  EXPECT_EQ(Stripe(kAt.Width() / 2), At(kAt.Width() / 2, kAt.Height() / 2));
  // No caption: the top line runs at the client top (shrunk by one) from corner to corner.
  const std::string line = TopLine(1);
  EXPECT_EQ(std::string::npos, line.substr(6, line.size() - 12).find(' ')) << line;
  EXPECT_EQ(kBlue, At(1, kAt.Height() / 2));                // left side
  EXPECT_EQ(kBlue, At(kAt.Width() - 2, kAt.Height() / 2));  // right side
  EXPECT_EQ(kBlue, At(kAt.Width() / 2, kAt.Height() - 2));  // bottom
}

TEST_F(GroupBoxTest, CaptionInterruptsTheTopLineTenPixelsIn) {
  Make("Radio", true);
  CClientDC dc(&box);
  HGDIOBJ old = dc.SelectObject(static_cast<HGDIOBJ>(reinterpret_cast<HFONT>(box.SendMessage(WM_GETFONT))));
  const CSize caption = dc.GetTextExtent(CString(" Radio "));
  if (old) dc.SelectObject(old);
  const std::string line = TopLine(1 + caption.cy / 2);
  // The gap is the caption (blanks included) from x = 1 + 10; text may cross it in its own colour.
  EXPECT_EQ('#', line[8]) << line;
  EXPECT_EQ(' ', line[11]) << line;
  EXPECT_EQ(' ', line[11 + caption.cx - 1]) << line;
  EXPECT_EQ('#', line[11 + caption.cx + 1]) << line;
  // The caption's text is drawn in the text colour within the gap.
  int ink = 0;
  for (int y = 1; y < 1 + caption.cy; ++y)
    for (int x = 11; x < 11 + caption.cx; ++x) ink += At(x, y) == kBlue;
  EXPECT_GT(ink, 10);
}

TEST_F(GroupBoxTest, CaptionIsTakenOnceFromTheWindowText) {
  Make("Radio", true);
  std::vector<COLORREF> before;
  for (int x = 0; x < kAt.Width(); ++x) before.push_back(At(x, 8));
  box.SetWindowText("Security settings");
  box.Invalidate();
  parent.UpdateWindow();
  testkit::PumpPending();
  for (int x = 0; x < kAt.Width(); ++x) EXPECT_EQ(before[x], At(x, 8)) << x;
}

TEST_F(GroupBoxTest, OwnBackgroundColourAndRoundness) {
  ASSERT_TRUE(box.Create("", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, kAt, &parent, 60));
  box.SetBackground(1, ColorOf('E'));
  box.SetRoundness(0, 0, 6, 6);
  parent.Invalidate();
  parent.UpdateWindow();
  testkit::PumpPending();
  EXPECT_EQ(ColorOf('E'), At(kAt.Width() / 2, kAt.Height() / 2));
  EXPECT_EQ(ColorOf('E'), At(8, kAt.Height() - 9));  // a square corner, inset by 6
  EXPECT_EQ(Stripe(3), At(3, kAt.Height() / 2));
}

}  // namespace
