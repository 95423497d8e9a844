// Blits pixel by pixel: copies, raster operations, every stretch mode, the
// colour key of TransparentBlt and the monochrome conversions.
#include "gdi_fixture.h"

namespace {

const COLORREF A = RGB(0x80, 0x80, 0x80), B = RGB(0xFF, 0x00, 0x0F), C = RGB(0x10, 0x20, 0x30),
               D = RGB(0x30, 0x20, 0x10), W = RGB(255, 255, 255);

void Row(MemCanvas& c, std::initializer_list<COLORREF> px, int y = 0) {
  int x = 0;
  for (COLORREF p : px) SetPixel(c.dc, x++, y, p);
}

std::vector<COLORREF> ReadRow(const MemCanvas& c, int y = 0) {
  std::vector<COLORREF> v;
  for (int x = 0; x < c.width; ++x) v.push_back(c.At(x, y));
  return v;
}

TEST(GdiBlit, BitBltCopiesTheSourceRectangleToTheDestination) {
  MemCanvas src(4, 3), dst(6, 6);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) SetPixel(src.dc, x, y, RGB(x * 10, y * 10, 7));
  ASSERT_TRUE(BitBlt(dst.dc, 2, 3, 3, 2, src.dc, 1, 1, SRCCOPY));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      bool inside = x >= 2 && x < 5 && y >= 3 && y < 5;
      COLORREF want = inside ? RGB((x - 1) * 10, (y - 2) * 10, 7) : W;
      EXPECT_EQ(dst.At(x, y), want) << x << "," << y;
    }
}

TEST(GdiBlit, ColourValuesKeepTheirChannelsOnSurfacesAndDibs) {
  // COLORREF is 0x00BBGGRR; pixels are 0x00RRGGBB (bytes B, G, R in memory).
  PlatformSurface s;
  s.Resize(4, 4);
  HDC dc = PlatformCreateSurfaceDC(&s, POINT{0, 0}, RECT{0, 0, 4, 4}, nullptr);
  SetPixel(dc, 1, 2, RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(s.pixels[2 * 4 + 1], 0x00123456u);
  EXPECT_EQ(GetPixel(dc, 1, 2), RGB(0x12, 0x34, 0x56));
  DeleteDC(dc);

  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = 2;
  bi.bmiHeader.biHeight = 2;  // bottom-up: the first row in memory is the bottom one
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_TRUE(dib && bits);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, dib);
  SetPixel(mem, 1, 1, RGB(0x12, 0x34, 0x56));
  const uint8_t* b = static_cast<const uint8_t*>(bits);
  EXPECT_EQ(b[4], 0x56);
  EXPECT_EQ(b[5], 0x34);
  EXPECT_EQ(b[6], 0x12);
  static_cast<uint32_t*>(bits)[2] = 0x00ABCDEF;  // memory row 1 = top row, x 0
  EXPECT_EQ(GetPixel(mem, 0, 0), RGB(0xAB, 0xCD, 0xEF));
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(dib);
}

struct StretchCase {
  const char* name;
  int mode;
  std::vector<COLORREF> shrunk;  // A B C D into two pixels
};

TEST(GdiBlit, StretchModesSampleAsDefined) {
  const StretchCase cases[] = {
      {"COLORONCOLOR takes the nearest", COLORONCOLOR, {B, D}},
      {"BLACKONWHITE ANDs what folds together", BLACKONWHITE, {RGB(0x80, 0x00, 0x00), RGB(0x10, 0x20, 0x10)}},
      {"WHITEONBLACK ORs it", WHITEONBLACK, {RGB(0xFF, 0x80, 0x8F), RGB(0x30, 0x20, 0x30)}},
      {"HALFTONE averages it", HALFTONE, {RGB(0xC0, 0x40, 0x48), RGB(0x20, 0x20, 0x20)}},
  };
  for (const auto& c : cases) {
    MemCanvas src(4, 1), dst(2, 1), big(4, 1);
    Row(src, {A, B, C, D});
    SetStretchBltMode(dst.dc, c.mode);
    ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(ReadRow(dst), c.shrunk) << c.name;
    // Enlarging repeats pixels in every mode.
    SetStretchBltMode(big.dc, c.mode);
    ASSERT_TRUE(StretchBlt(big.dc, 0, 0, 4, 1, src.dc, 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(ReadRow(big), (std::vector<COLORREF>{A, A, B, B})) << c.name;
  }
}

TEST(GdiBlit, HugeStretchesWorkOnlyOnWhatShows) {
  const int big = 1000000000;
  MemCanvas src(1, 1, A);
  for (int mode : {BLACKONWHITE, HALFTONE}) {
    MemCanvas dst(3, 2);
    SetStretchBltMode(dst.dc, mode);
    ASSERT_TRUE(StretchBlt(dst.dc, -big, -big, 2 * big, 2 * big, src.dc, 0, 0, 1, 1, SRCCOPY));
    EXPECT_EQ(dst.Count(A), 6);
    ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 3, 2, src.dc, 0, 0, big, big, SRCCOPY));  // no source there
  }
}

TEST(GdiBlit, NegativeWidthMirrors) {
  MemCanvas src(3, 1), dst(3, 1);
  Row(src, {A, B, C});
  ASSERT_TRUE(StretchBlt(dst.dc, 2, 0, -3, 1, src.dc, 0, 0, 3, 1, SRCCOPY));
  EXPECT_EQ(ReadRow(dst), (std::vector<COLORREF>{C, B, A}));
}

TEST(GdiBlit, TransparentBltSkipsExactlyTheKeyColour) {
  const COLORREF key = RGB(255, 0, 255), near = RGB(254, 0, 255), bg = RGB(1, 2, 3);
  MemCanvas src(3, 1), dst(6, 2, bg);
  Row(src, {key, near, A});
  ASSERT_TRUE(TransparentBlt(dst.dc, 0, 0, 6, 2, src.dc, 0, 0, 3, 1, key));
  for (int y = 0; y < 2; ++y) EXPECT_EQ(ReadRow(dst, y), (std::vector<COLORREF>{bg, bg, near, near, A, A}));
  EXPECT_FALSE(TransparentBlt(dst.dc, 0, 0, -1, 1, src.dc, 0, 0, 1, 1, key));
}

TEST(GdiBlit, MonochromeAndColourConvertThroughTheContextColours) {
  HBITMAP mono = CreateBitmap(2, 1, 1, 1, nullptr);
  HDC mdc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mdc, mono);
  SetPixel(mdc, 1, 0, RGB(255, 255, 255));
  MemCanvas dst(2, 1);
  SetTextColor(dst.dc, RGB(1, 2, 3));
  SetBkColor(dst.dc, RGB(4, 5, 6));
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 2, 1, mdc, 0, 0, SRCCOPY));
  EXPECT_EQ(ReadRow(dst), (std::vector<COLORREF>{RGB(1, 2, 3), RGB(4, 5, 6)}));

  // Colour to monochrome: the source's background colour becomes white.
  MemCanvas src(2, 1);
  Row(src, {A, B});
  SetBkColor(src.dc, B);
  ASSERT_TRUE(BitBlt(mdc, 0, 0, 2, 1, src.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(mdc, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(mdc, 1, 0), RGB(255, 255, 255));
  SelectObject(mdc, old);
  DeleteDC(mdc);
  DeleteObject(mono);
}

TEST(GdiBlit, RasterOperationsCombineSourcePatternAndDestination) {
  const COLORREF s = RGB(0x0F, 0xF0, 0x33), d = RGB(0x55, 0x55, 0xFF), p = RGB(0xAA, 0x00, 0x01);
  struct {
    DWORD rop;
    COLORREF want;
  } cases[] = {
      {SRCCOPY, s},
      {SRCAND, RGB(0x05, 0x50, 0x33)},
      {SRCPAINT, RGB(0x5F, 0xF5, 0xFF)},
      {SRCINVERT, RGB(0x5A, 0xA5, 0xCC)},
      {NOTSRCCOPY, RGB(0xF0, 0x0F, 0xCC)},
      {DSTINVERT, RGB(0xAA, 0xAA, 0x00)},
      {PATCOPY, p},
      {PATINVERT, RGB(0xFF, 0x55, 0xFE)},
      {BLACKNESS, RGB(0, 0, 0)},
      {WHITENESS, RGB(255, 255, 255)},
      {MERGECOPY, RGB(0x0A, 0x00, 0x01)},
  };
  MemCanvas src(1, 1, s);
  for (const auto& c : cases) {
    MemCanvas dst(1, 1, d);
    HBRUSH brush = CreateSolidBrush(p);
    HGDIOBJ old = SelectObject(dst.dc, brush);
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, c.rop));
    EXPECT_EQ(dst.At(0, 0), c.want) << std::hex << c.rop;
    SelectObject(dst.dc, old);
    DeleteObject(brush);
  }
  MemCanvas dst(1, 1, d);
  EXPECT_TRUE(PatBlt(dst.dc, 0, 0, 1, 1, DSTINVERT));
  EXPECT_EQ(dst.At(0, 0), RGB(0xAA, 0xAA, 0x00));
  EXPECT_FALSE(PatBlt(dst.dc, 0, 0, 1, 1, SRCCOPY));  // PatBlt has no source
}

TEST(GdiBlit, OverlappingCopyWithinOneBitmapReadsTheOldPixels) {
  MemCanvas c(5, 1);
  Row(c, {A, B, C, D, W});
  ASSERT_TRUE(BitBlt(c.dc, 1, 0, 4, 1, c.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(ReadRow(c), (std::vector<COLORREF>{A, A, B, C, D}));
}

TEST(GdiBlit, PixelsWithoutSourceAreLeftAlone) {
  MemCanvas src(2, 2, A), dst(4, 4, D);
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 4, 4, src.dc, -1, -1, SRCCOPY));
  EXPECT_EQ(dst.Rows(A), Picture({"....", ".##.", ".##.", "...."}));
}

TEST(GdiBlit, SurfaceContextsDrawAtTheirOriginInsideTheirClip) {
  PlatformSurface s;
  s.Resize(30, 20);
  HDC dc = PlatformCreateSurfaceDC(&s, POINT{10, 5}, RECT{10, 5, 20, 15}, nullptr);
  MemCanvas src(20, 20, A);
  ASSERT_TRUE(BitBlt(dc, -5, -5, 40, 40, src.dc, 0, 0, SRCCOPY));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) {
      bool inside = x >= 10 && x < 20 && y >= 5 && y < 15;
      EXPECT_EQ(s.pixels[y * 30 + x], inside ? 0x808080u : 0u) << x << "," << y;
    }
  EXPECT_EQ(GetPixel(dc, 0, 0), A);
  EXPECT_EQ(GetPixel(dc, 10, 0), CLR_INVALID);  // outside the clip
  DeleteDC(dc);
}

}  // namespace
