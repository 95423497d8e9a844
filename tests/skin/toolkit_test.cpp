// Colour conversions, the scoped selectors, the off-screen contexts, vertical
// text and the bitmap-to-region conversion.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "SkinDraw.h"
#include "skin_fixture.h"

using namespace skintest;

namespace {

uint32_t Hls(int h, int l, int s) { return static_cast<uint32_t>(h | l << 8 | s << 16); }

TEST(ColorToHLS, KnownColours) {
  struct Case {
    COLORREF color;
    uint32_t hls;
  } cases[] = {
      {RGB(255, 255, 255), Hls(0, 255, 0)},
      {RGB(0, 0, 0), Hls(0, 0, 0)},
      {RGB(128, 128, 128), Hls(0, 128, 0)},
      // Red's hue is 360 degrees, not 0, and its luminance 0.5 truncates to 127.
      {RGB(255, 0, 0), Hls(255, 127, 255)},
      {RGB(0, 255, 0), Hls(85, 127, 255)},
      {RGB(0, 0, 255), Hls(170, 127, 255)},
      // Red and blue both at the maximum: blue's formula wins.
      {RGB(255, 0, 255), Hls(212, 127, 255)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.hls, ColorToHLS(c.color)) << std::hex << c.color;
}

TEST(HLSToColor, RedComesBackAs254) { EXPECT_EQ(RGB(254, 0, 0), HLSToColor(ColorToHLS(RGB(255, 0, 0)))); }

TEST(HLSToColor, ZeroSaturationIsTheGreyOfTheLuminance) {
  EXPECT_EQ(RGB(77, 77, 77), HLSToColor(Hls(200, 77, 0)));
  EXPECT_EQ(RGB(255, 255, 255), HLSToColor(Hls(0, 255, 0)));
}

// Hue is kept in 255 steps of 1.4 degrees and every value is truncated, so a
// saturated colour may come back a few units off in one channel.
TEST(HLSToColor, RoundTripsWithinTheByteTruncation) {
  const COLORREF colours[] = {RGB(156, 158, 173), RGB(181, 190, 206), RGB(10, 200, 30), RGB(250, 120, 5),
                              RGB(1, 2, 3),       RGB(90, 60, 200),   RGB(255, 255, 0), RGB(0, 255, 255)};
  for (COLORREF c : colours) {
    const COLORREF back = HLSToColor(ColorToHLS(c));
    EXPECT_LE(std::abs(GetRValue(back) - GetRValue(c)), 8) << std::hex << c << " -> " << back;
    EXPECT_LE(std::abs(GetGValue(back) - GetGValue(c)), 8) << std::hex << c << " -> " << back;
    EXPECT_LE(std::abs(GetBValue(back) - GetBValue(c)), 8) << std::hex << c << " -> " << back;
  }
}

TEST(HLSComponent, PiecesOfTheHueCircle) {
  struct Case {
    float hue;
    int value;
  } cases[] = {{0, 0}, {30, 127}, {60, 255}, {120, 255}, {179, 255}, {210, 127}, {240, 0}, {300, 0},
               {-60, 0}, {420, 255}, {390, 127}};
  for (const Case& c : cases) EXPECT_EQ(c.value, HLSComponent(0.0f, 1.0f, c.hue)) << c.hue;
}

TEST(AdjustColorHLS, LightensAndDarkensTowardsWhiteAndBlack) {
  const COLORREF c = RGB(90, 60, 200);
  EXPECT_EQ(RGB(255, 255, 255), AdjustColorHLS(c, 100, 0));
  EXPECT_EQ(RGB(0, 0, 0), AdjustColorHLS(c, -100, 0));
  EXPECT_EQ(HLSToColor(ColorToHLS(c)), AdjustColorHLS(c, 0, 0));
  // Half way: luminance byte v becomes v + (255 - v) / 2.
  const uint32_t hls = ColorToHLS(c);
  const int l = (hls >> 8) & 0xFF;
  const uint32_t lighter = ColorToHLS(AdjustColorHLS(c, 50, 0));
  EXPECT_NEAR(l + (255 - l) * 50 / 100, static_cast<int>((lighter >> 8) & 0xFF), 2);
  // Saturation -100 leaves a grey.
  const COLORREF grey = AdjustColorHLS(c, 0, -100);
  EXPECT_EQ(GetRValue(grey), GetGValue(grey));
  EXPECT_EQ(GetGValue(grey), GetBValue(grey));
}

TEST(Selectors, PenAndBrushAreSelectedAndRestored) {
  Canvas canvas(10, 10);
  CDC* dc = canvas.dc();
  HGDIOBJ pen0 = ::GetCurrentObject(dc->GetSafeHdc(), OBJ_PEN);
  HGDIOBJ brush0 = ::GetCurrentObject(dc->GetSafeHdc(), OBJ_BRUSH);
  {
    CRTPenSelector pen(dc, ColorOf('A'));
    CRTBrushSelector brush(dc, ColorOf('B'));
    dc->Rectangle(0, 0, 6, 6);
    EXPECT_EQ('A', canvas.At(0, 0));
    EXPECT_EQ('B', canvas.At(2, 2));
    pen.SetColor(ColorOf('C'));
    brush.SetColor(CRTBrushSelector::kHollow);
    EXPECT_EQ(ColorOf('C'), pen.GetColor());
    EXPECT_EQ(::GetStockObject(NULL_BRUSH), ::GetCurrentObject(dc->GetSafeHdc(), OBJ_BRUSH));
    dc->Rectangle(1, 1, 5, 5);
    EXPECT_EQ('C', canvas.At(1, 1));
    EXPECT_EQ('B', canvas.At(2, 2));  // hollow: the inside stays
  }
  EXPECT_EQ(pen0, ::GetCurrentObject(dc->GetSafeHdc(), OBJ_PEN));
  EXPECT_EQ(brush0, ::GetCurrentObject(dc->GetSafeHdc(), OBJ_BRUSH));
}

TEST(Selectors, FontFaceTextColourAndBoldAreRestored) {
  Canvas canvas(10, 10);
  CDC* dc = canvas.dc();
  HGDIOBJ font0 = ::GetCurrentObject(dc->GetSafeHdc(), OBJ_FONT);
  dc->SetTextColor(ColorOf('A'));
  {
    CRTFontSelector font(dc, "Tahoma", ColorOf('B'));
    EXPECT_EQ(CString("Tahoma"), font.GetFaceName());
    EXPECT_EQ(ColorOf('B'), font.GetTextColor());
    font.SetTextColor(ColorOf('C'));
    {
      CRTBoldFontSelector bold(dc, TRUE);
      LOGFONT lf{};
      ::GetObject(::GetCurrentObject(dc->GetSafeHdc(), OBJ_FONT), sizeof lf, &lf);
      EXPECT_EQ(FW_BOLD, lf.lfWeight);
      CRTBoldFontSelector again(dc, TRUE);  // already bold: changes nothing
      EXPECT_EQ(::GetCurrentObject(dc->GetSafeHdc(), OBJ_FONT), ::GetCurrentObject(dc->GetSafeHdc(), OBJ_FONT));
    }
    font.SetFaceName("tahoma");  // same face ignoring case: nothing happens
    EXPECT_EQ(CString("Tahoma"), font.GetFaceName());
    font.SetStockFont(DEFAULT_GUI_FONT);
    EXPECT_EQ(::GetStockObject(DEFAULT_GUI_FONT), ::GetCurrentObject(dc->GetSafeHdc(), OBJ_FONT));
  }
  EXPECT_EQ(font0, ::GetCurrentObject(dc->GetSafeHdc(), OBJ_FONT));
  EXPECT_EQ(ColorOf('A'), dc->GetTextColor());  // the colour it first replaced
}

TEST(MemDC, CopiesOnlyItsRectangleBack) {
  Canvas canvas(12, 12);
  {
    CRTMemDC mem(canvas.dc(), CRect(2, 2, 6, 6));
    mem.FillSolidRect(0, 0, 12, 12, ColorOf('A'));
    EXPECT_EQ('.', canvas.At(3, 3));  // nothing reaches the target before the end
  }
  EXPECT_EQ(Expand({"......", ".AA...", ".AA...", "......", "......", "......"}, 2, 2), canvas.Picture());
}

TEST(ClipMemDC, ExcludesTheBandsAboveAndLeftAndDefaultsToTheClipBox) {
  Canvas canvas(8, 8);
  {
    CRTClipMemDC mem(canvas.dc(), CRect(2, 2, 6, 6));
    mem.FillSolidRect(0, 0, 8, 8, ColorOf('A'));
    EXPECT_EQ(ColorOf('A'), mem.GetPixel(3, 3));
    EXPECT_NE(ColorOf('A'), mem.GetPixel(0, 0));  // excluded band
    EXPECT_NE(ColorOf('A'), mem.GetPixel(1, 4));
  }
  EXPECT_EQ('A', canvas.At(2, 2));
  EXPECT_EQ('.', canvas.At(6, 6));
  {
    CRTClipMemDC whole(canvas.dc(), CRect(0, 0, 0, 0));
    EXPECT_EQ(CRect(0, 0, 8, 8), whole.GetRect());
    whole.FillSolidRect(0, 0, 8, 8, ColorOf('B'));
  }
  EXPECT_EQ('B', canvas.At(7, 7));
}

TEST(DrawVerticalText, AHighBitLastByteIsNotPairedWithWhatFollows) {
  Canvas canvas(40, 80);
  LOGFONT lf{};
  lf.lfHeight = -12;
  std::strcpy(lf.lfFaceName, "MS Sans Serif");
  // Exactly sized buffers: reading past them is caught by AddressSanitizer.
  std::vector<char> doubleByte = {'a', static_cast<char>(0xC3)};
  EXPECT_EQ(1, DrawVerticalText(canvas.dc(), CRect(0, 0, 40, 80), doubleByte.data(), 2, 0, lf));
  std::vector<char> plain = {'a', 'b', 'c'};
  canvas.dc()->SetTextColor(ColorOf('A'));
  canvas.dc()->SetBkMode(TRANSPARENT);
  EXPECT_EQ(1, DrawVerticalText(canvas.dc(), CRect(0, 0, 40, 80), plain.data(), 3, 0, lf));
  EXPECT_NE(std::string::npos, canvas.Picture().find('A'));
}

TEST(CreateRegionFromBitmap, ComparesRedWithRed) {
  // The key is pure red; blue pixels must stay in the region.
  HBITMAP bm = MakeBitmap({"AC", "CA"}, 2, 1);
  HRGN rgn = CreateRegionFromBitmap(bm, RGB(255, 0, 0), RGB(0, 0, 0));
  ASSERT_NE(nullptr, rgn);
  const bool expected[2][4] = {{false, false, true, true}, {true, true, false, false}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(expected[y][x], ::PtInRegion(rgn, x, y) != 0) << x << "," << y;
  ::DeleteObject(rgn);
  ::DeleteObject(bm);
}

TEST(CreateRegionFromBitmap, ToleranceWidensTheKeyPerChannel) {
  HBITMAP bm = ::CreateBitmap(3, 1, 1, 32, nullptr);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bm);
  ::SetPixel(dc, 0, 0, RGB(100, 0, 0));
  ::SetPixel(dc, 1, 0, RGB(110, 0, 0));
  ::SetPixel(dc, 2, 0, RGB(111, 0, 0));
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  HRGN rgn = CreateRegionFromBitmap(bm, RGB(100, 0, 0), RGB(10, 0, 0));
  ASSERT_NE(nullptr, rgn);
  EXPECT_FALSE(::PtInRegion(rgn, 0, 0));
  EXPECT_FALSE(::PtInRegion(rgn, 1, 0));
  EXPECT_TRUE(::PtInRegion(rgn, 2, 0));
  ::DeleteObject(rgn);
  ::DeleteObject(bm);
  EXPECT_EQ(nullptr, CreateRegionFromBitmap(nullptr, 0, 0));
}

}  // namespace
