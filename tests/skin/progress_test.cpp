// The progress bar over a placeholder: its geometry with a strip of solid
// letter parts, incremental painting against a full paint, bad ranges, and
// the time-estimate text on the test clock.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Clock.h"
#include "RTProgressBar.h"
#include "controls_fixture.h"

using namespace skintest;

namespace {

// Parts 0 to 8 as letters ('F' is the transparent cyan, so it is left out).
const char kStripLetters[] = "ABCDEGHIW";

class ProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Make(520, 260));
    strip.Attach(MakeBitmap({kStripLetters}, 10, 10));
  }
  void TearDown() override {
    bars.clear();
    testkit::ResetWindows();
  }
  CStatic* Placeholder(const CRect& at) {
    placeholders.push_back(std::make_unique<CStatic>());
    CStatic* p = placeholders.back().get();
    EXPECT_TRUE(p->Create("", WS_CHILD | SS_BLACKFRAME, at, &parent));
    return p;
  }
  CRTProgressBar* Bar(const CRect& at, int upper = 100, int reverse = 0, CBitmap* withStrip = nullptr) {
    bars.push_back(std::make_unique<CRTProgressBar>(Placeholder(at), upper, withStrip ? withStrip : &strip, reverse));
    return bars.back().get();
  }
  static void Settle() { testkit::PumpPending(); }
  // The letters along the middle of a horizontal bar's client area, as runs "C0-9 E10-36 ...".
  static std::string Runs(CRTProgressBar* bar) {
    CRect client;
    bar->GetClientRect(&client);
    const bool vertical = bar->IsVertical();
    const int length = vertical ? client.Height() : client.Width();
    std::string out;
    char run = 0;
    int from = 0;
    CPoint origin(0, 0);
    bar->ClientToScreen(&origin);
    CRect window;
    bar->GetWindowRect(&window);
    const CSize offset = origin - window.TopLeft();
    for (int i = 0; i <= length; ++i) {
      const char c = i == length ? 0
                                 : (vertical ? LetterAt(bar->m_hWnd, offset.cx + client.Width() / 2, offset.cy + i)
                                             : LetterAt(bar->m_hWnd, offset.cx + i, offset.cy + client.Height() / 2));
      if (c == run) continue;
      if (run)
        out += (out.empty() ? "" : " ") + std::string(1, run) + std::to_string(from) + "-" + std::to_string(i - 1);
      run = c;
      from = i;
    }
    return out;
  }
  // Every client pixel of the bar.
  static std::vector<COLORREF> Pixels(CRTProgressBar* bar) {
    CRect client, window;
    bar->GetClientRect(&client);
    bar->GetWindowRect(&window);
    CPoint origin(0, 0);
    bar->ClientToScreen(&origin);
    std::vector<COLORREF> out;
    for (int y = 0; y < client.Height(); ++y)
      for (int x = 0; x < client.Width(); ++x)
        out.push_back(PixelOf(bar->m_hWnd, origin.x - window.left + x, origin.y - window.top + y));
    return out;
  }

  StripedParent parent;
  CBitmap strip;
  std::vector<std::unique_ptr<CStatic>> placeholders;
  std::vector<std::unique_ptr<CRTProgressBar>> bars;
};

// A horizontal bar 200 by 12: client 198 by 10, parts of 10, track end 188,
// 178 pixels for the band to grow over.
TEST_F(ProgressTest, BandAtZeroThirtySevenAndHundredPercent) {
  struct Case {
    int pos;
    const char* runs;
  } cases[] = {
      {0, "C0-9 G10-19 H20-29 I30-187 W188-197"},
      {37, "C0-9 E10-36 D37-46 E47-74 G75-84 H85-94 I95-187 W188-197"},
      {100, "C0-9 E10-93 D94-103 E104-187 G188-197"},
      {150, "C0-9 E10-93 D94-103 E104-187 G188-197"},  // kept at the upper bound
      {-5, "C0-9 G10-19 H20-29 I30-187 W188-197"},     // and at the lower
  };
  for (const Case& c : cases) {
    CRTProgressBar* bar = Bar(CRect(10, 10, 210, 22));
    EXPECT_EQ(CSize(10, 10), bar->GetPartSize());
    EXPECT_EQ(0, bar->SetPos(c.pos, 1));
    Settle();
    EXPECT_EQ(c.runs, Runs(bar)) << c.pos;
    bar->DestroyWindow();
  }
}

TEST_F(ProgressTest, SetPosReturnsThePreviousPosition) {
  CRTProgressBar* bar = Bar(CRect(10, 10, 210, 22));
  EXPECT_EQ(0xFFFF, bar->GetDlgCtrlID());  // a fixed id: the object's address does not fit
  EXPECT_EQ(0, bar->SetPos(40, 1));
  EXPECT_EQ(40, bar->SetPos(150, 1));
  EXPECT_EQ(100, bar->GetPos());
  EXPECT_EQ(100, bar->SetPos(-3, 0));
  EXPECT_EQ(0, bar->GetPos());
}

TEST_F(ProgressTest, TheBuiltInStripFitsABarTwelvePixelsThick) {
  CRTProgressBar* bar = Bar(CRect(10, 10, 210, 22), 100, 0, nullptr);
  bars.back() = std::make_unique<CRTProgressBar>(Placeholder(CRect(10, 40, 210, 52)), 100);
  bar = bars.back().get();
  EXPECT_EQ(CSize(10, 10), bar->GetPartSize());
  bar->SetPos(50, 1);
  Settle();
  // Blue band on the left half, grey track on the right.
  CPoint origin(0, 0);
  bar->ClientToScreen(&origin);
  CRect window;
  bar->GetWindowRect(&window);
  const COLORREF band = PixelOf(bar->m_hWnd, origin.x - window.left + 40, origin.y - window.top + 5);
  const COLORREF track = PixelOf(bar->m_hWnd, origin.x - window.left + 160, origin.y - window.top + 5);
  EXPECT_GT(GetBValue(band), GetRValue(band) + 80) << std::hex << band;
  EXPECT_EQ(GetRValue(track), GetBValue(track)) << std::hex << track;
  EXPECT_GT(GetRValue(track), 0xC0) << std::hex << track;
}

TEST_F(ProgressTest, ATallPlaceholderGivesABandGrowingDownwards) {
  CRTProgressBar* bar = Bar(CRect(10, 10, 30, 210));
  ASSERT_TRUE(bar->IsVertical());
  EXPECT_EQ(CSize(18, 10), bar->GetPartSize());
  bar->SetPos(50, 1);
  Settle();
  // Length 198 as above: end cap at 10 + 89 = 99.
  EXPECT_EQ("C0-9 E10-48 D49-58 E59-98 G99-108 H109-118 I119-187 W188-197", Runs(bar));
}

TEST_F(ProgressTest, ReverseMirrorsTheBand) {
  CRTProgressBar* bar = Bar(CRect(10, 10, 210, 22), 100, 1);
  bar->SetPos(37, 1);
  Settle();
  // Band from 188 - 75 = 113 to 188; the caps swap ends.
  EXPECT_EQ("A0-9 I10-102 B103-112 C113-122 E123-149 D150-159 E160-187 G188-197", Runs(bar));
}

// Each step paints only what changed over the last picture; the result must
// be what a new bar in the same state paints in full.
TEST_F(ProgressTest, IncrementalPaintingEqualsAFullPaint) {
  struct Shape {
    CRect at;
    int reverse;
  } shapes[] = {{CRect(10, 10, 210, 22), 0}, {CRect(10, 30, 210, 42), 1}, {CRect(230, 10, 250, 210), 0}};
  const int steps[] = {5, 12, 37, 38, 60, 99, 100, 80, 20, 0, 55};
  for (const Shape& s : shapes) {
    CRTProgressBar* moving = Bar(s.at, 100, s.reverse);
    Settle();
    for (int pos : steps) {
      moving->SetPos(pos, 1);
      Settle();
      CRTProgressBar* fresh = Bar(CRect(260, 10, 260 + s.at.Width(), 10 + s.at.Height()), 100, s.reverse);
      fresh->SetPos(pos, 1);
      Settle();
      EXPECT_EQ(Runs(fresh), Runs(moving)) << "position " << pos << " reverse " << s.reverse;
      EXPECT_TRUE(Pixels(fresh) == Pixels(moving)) << "position " << pos << " reverse " << s.reverse;
      fresh->DestroyWindow();
    }
    moving->DestroyWindow();
  }
}

TEST_F(ProgressTest, EmptyAndInvertedRangesShowNoProgress) {
  const char* const kNone = "C0-9 G10-19 H20-29 I30-187 W188-197";
  CRTProgressBar* empty = Bar(CRect(10, 10, 210, 22), 0);  // upper bound 0
  empty->SetPos(5, 1);
  Settle();
  EXPECT_EQ(kNone, Runs(empty));
  CRTProgressBar* bar = Bar(CRect(10, 30, 210, 42));
  bar->SetPos(50, 1);
  EXPECT_EQ(1, bar->SetRange(30, 30, 1, TRUE, TRUE));
  Settle();
  EXPECT_EQ(kNone, Runs(bar));
  EXPECT_EQ(1, bar->SetRange(80, 20, 1, FALSE, TRUE));
  Settle();
  EXPECT_EQ(kNone, Runs(bar));
  // Rescaling from the empty range is skipped: the position stays.
  EXPECT_EQ(30, bar->GetPos());
  bar->SetRange(0, 0, 1, FALSE, FALSE);
  bar->SetRange(0, 100, 1, TRUE, TRUE);
  EXPECT_EQ(30, bar->GetPos());
  CString text;
  empty->FormatTimeEstimate(text);
  EXPECT_NE(-1, text.Find("0% / 100%")) << (LPCTSTR)text;
}

TEST_F(ProgressTest, RescaleMapsThePositionToTheNewRange) {
  CRTProgressBar* bar = Bar(CRect(10, 10, 210, 22));
  bar->SetPos(40, 0);
  bar->SetRange(0, 1000, 1, TRUE, TRUE);
  EXPECT_EQ(400, bar->GetPos());
  bar->SetRange(0, 3, 1, TRUE, TRUE);
  EXPECT_EQ(1, bar->GetPos());  // 400 * 3 / 1000, truncated
  bar->SetRange(0, 3, 1, FALSE, TRUE);
  EXPECT_EQ(1, bar->GetPos());
}

TEST_F(ProgressTest, WithoutAWindowNothingHappens) {
  CRTProgressBar idle;
  EXPECT_EQ(0, idle.SetPos(5, 1));
  EXPECT_EQ(0, idle.SetRange(0, 10, 1, TRUE, TRUE));
  CRTProgressBar none(nullptr, 100);
  EXPECT_EQ(nullptr, none.GetSafeHwnd());
}

TEST_F(ProgressTest, ZeroSizePlaceholderMakesABarWithNoParts) {
  CRTProgressBar* bar = Bar(CRect(10, 10, 10, 10));
  ASSERT_NE(nullptr, bar->GetSafeHwnd());
  EXPECT_EQ(0, bar->SetPos(50, 1));
  Settle();
  EXPECT_EQ(CSize(0, 0), bar->GetPartSize());
}

TEST_F(ProgressTest, BarFollowsItsPlaceholder) {
  CRTProgressBar* bar = Bar(CRect(10, 10, 210, 22));
  CStatic* placeholder = placeholders.back().get();
  placeholder->MoveWindow(20, 50, 200, 12);
  bar->SetPos(10, 1);
  CRect r;
  bar->GetWindowRect(&r);
  parent.ScreenToClient(&r);
  EXPECT_EQ(CRect(20, 50, 220, 62), r);
  placeholder->MoveWindow(40, 80, 2, 2);  // too small to follow
  bar->SetPos(11, 1);
  bar->GetWindowRect(&r);
  parent.ScreenToClient(&r);
  EXPECT_EQ(CRect(20, 50, 220, 62), r);
}

// ---------------------------------------------------------------- status text

// The clock held almost still at 10:00:00.05 of some day when each bar is
// made, and read 10 ms after each whole step, so that no second is lost to
// the clock's millisecond rounding.
class TimeEstimateTest : public ProgressTest {
 protected:
  void SetUp() override {
    ProgressTest::SetUp();
    testkit::SetClockScale(1e-6);
  }
  void TearDown() override {
    testkit::SetClockScale(1.0);
    ProgressTest::TearDown();
  }
  static void ToNextTenOClock() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const LONGLONG ms = ((now.wHour * 60 + now.wMinute) * 60 + now.wSecond) * 1000LL + now.wMilliseconds;
    const LONGLONG ten = 10 * 3600 * 1000LL + 50;
    testkit::AdvanceClock(static_cast<ULONGLONG>((ten - ms + 24 * 3600 * 1000LL) % (24 * 3600 * 1000LL)));
  }
  // "yyyy/mm/dd/w " of the day `days` after today.
  static std::string DateAfter(int days) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    CTime day = CTime(now.wYear, now.wMonth, now.wDay, 12, 0, 0) + CTimeSpan(days, 0, 0, 0);
    CString s;
    s.Format("%04d/%02d/%02d/%02d ", day.GetYear(), day.GetMonth(), day.GetDay(), day.GetDayOfWeek());
    return std::string(s);
  }
};

TEST_F(TimeEstimateTest, TableOfEstimates) {
  const ULONGLONG kHour = 3600 * 1000ULL;
  struct Case {
    ULONGLONG after;  // milliseconds since the bar was made at 10:00:00
    int pos;
    int mode;
    int endDay;  // days from the start to the end, when they differ
    const char* text;
  } cases[] = {
      {kHour, 25, -2, 0, " 10:00:00 - 01:00:00 - 25% / 75% - 03:00:00 - 14:00:00"},
      {kHour, 25, 2, 0, " (10:00:00 - 01:00:00 - 25% / 75% - 03:00:00 - 14:00:00)"},
      {kHour, 0, -2, 0, " 10:00:00 - 01:00:00 - 0% / 100% - 00:00:00 - 11:00:00"},
      {kHour, 100, -2, 0, " 10:00:00 - 01:00:00 - 100% / 0% - 00:00:00 - 11:00:00"},
      {kHour, 10, -3, 0, " 10:00:00 - 01:00:00 - 10% / 90% - 09:00:00 - 20:00:00"},
      {kHour / 2, 37, -2, 0, " 10:00:00 - 00:30:00 - 37% / 63% - 00:51:04 - 11:21:04"},
      // Ends tomorrow: the end date shows, also within the same month.
      {kHour, 5, -2, 1, " 10:00:00 - 01:00:00 - 5% / 95% - 19:00:00 - %END06:00:00"},
  };
  for (const Case& c : cases) {
    ToNextTenOClock();
    bars.push_back(std::make_unique<CRTProgressBar>(Placeholder(CRect(10, 10, 210, 22)), 100, &strip, 0, nullptr,
                                                    nullptr, c.mode));
    CRTProgressBar* bar = bars.back().get();
    testkit::AdvanceClock(c.after + 10);
    bar->SetPos(c.pos, 0);
    CString text;
    bar->FormatTimeEstimate(text);
    std::string expected = c.text;
    const size_t end = expected.find("%END");
    if (end != std::string::npos) expected.replace(end, 4, DateAfter(c.endDay));
    EXPECT_EQ(expected, std::string(text)) << c.pos << " after " << c.after;
    bar->DestroyWindow();
  }
}

TEST_F(TimeEstimateTest, DaysAndTheStartDateAfterMidnight) {
  ToNextTenOClock();
  CRTProgressBar* bar = Bar(CRect(10, 10, 210, 22));
  const std::string start = DateAfter(0);
  testkit::AdvanceClock(25 * 3600 * 1000ULL + 10);  // 11:00 the next day
  bar->SetPos(50, 0);
  CString text;
  bar->FormatTimeEstimate(text);
  EXPECT_EQ(" " + start + "10:00:00 - 1:01:00:00 - 50% / 50% - 1:01:00:00 - " + DateAfter(1) + "12:00:00",
            std::string(text));
}

TEST_F(TimeEstimateTest, StatusTextInTheTextControl) {
  CStatic label;
  ASSERT_TRUE(label.Create("", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(10, 100, 510, 120), &parent));
  CFont font;
  font.CreatePointFont(80, "MS Sans Serif");
  label.SetFont(&font, FALSE);
  const std::string kEstimate = "10:00:00 - 01:00:00 - 40% / 60% - 01:30:00 - 12:30:00";
  struct Case {
    int mode;
    const char* prefix;
    int width;                 // of the text control
    std::string starts, ends;  // of the text shown; the whole text when `ends` is empty
  } cases[] = {
      {0, "Scanning", 500, "Scanning", ""},
      {0, "", 500, " ", ""},
      {-1, "Scanning", 500, "Scanning 40%", ""},
      {1, "Scanning", 500, "Scanning (40%)", ""},
      {-2, "Scanning", 500, "Scanning " + kEstimate, ""},
      {2, "", 500, "(" + kEstimate + ")", ""},
      {-1, "Scanning the whole network", 110, "Scann", "... 40%"},
      {-3, "Scanning", 500, "Scanning " + kEstimate, ""},
      // Short of room: the percentage takes the estimate's place, and the prefix fits again.
      {-3, "Scanning the whole network", 300, "Scanning the whole network 40%...", ""},
      {-3, "Scanning the whole network", 110, "Scann", "... 40%..."},
  };
  for (const Case& c : cases) {
    label.MoveWindow(10, 100, c.width, 20);
    ToNextTenOClock();
    bars.push_back(std::make_unique<CRTProgressBar>(Placeholder(CRect(10, 10, 210, 22)), 100, &strip, 0, &label,
                                                    c.prefix, c.mode));
    testkit::AdvanceClock(3600 * 1000ULL + 10);
    bars.back()->SetPos(40, 1);
    CString shown;
    label.GetWindowText(shown);
    const std::string text(shown);
    if (c.ends.empty()) {
      EXPECT_EQ(c.starts, text) << c.mode << " " << c.prefix;
    } else {
      EXPECT_EQ(c.starts, text.substr(0, c.starts.size())) << text;
      ASSERT_GE(text.size(), c.ends.size()) << text;
      EXPECT_EQ(c.ends, text.substr(text.size() - c.ends.size())) << text;
      CClientDC dc(&label);
      HGDIOBJ old = dc.SelectObject(static_cast<HGDIOBJ>(font.GetSafeHandle()));
      EXPECT_LE(dc.GetTextExtent(shown).cx, c.width) << text;
      dc.SelectObject(old);
    }
    bars.back()->DestroyWindow();
  }
}

TEST(FitTextToWidth, ShortensWithDots) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  const int w = dc.GetTextExtent(CString("Scanning")).cx;
  EXPECT_EQ("Scanning", std::string(FitTextToWidth(&dc, "Scanning", w, 0)));
  EXPECT_EQ("Scanning", std::string(FitTextToWidth(&dc, "Scanning...", w, 0)));  // dots first removed
  EXPECT_EQ("", std::string(FitTextToWidth(&dc, "", 0, 0)));
  EXPECT_EQ("S", std::string(FitTextToWidth(&dc, "S", 0, 0)));  // no wider than "..." and itself
  const std::string cut = std::string(FitTextToWidth(&dc, "Scan ning", w / 2, 0));
  EXPECT_EQ("...", cut.substr(cut.size() - 3));
  EXPECT_LT(cut.size(), 9u);
  EXPECT_EQ(std::string::npos, cut.find(" ..."));  // blanks trimmed before the dots
  EXPECT_EQ("S...", std::string(FitTextToWidth(&dc, "Scanning", 1, 0)));
}

}  // namespace
