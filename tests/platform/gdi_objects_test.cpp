// GDI objects: stock objects, read-back with GetObject, selection, deletion
// of selected objects, bitmap formats and DIB bits.
#include <cstring>

#include "TestKit.h"
#include "gdi_fixture.h"

namespace {

TEST(GdiObjects, StockObjectsSurviveDeleteObject) {
  for (int id : {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, BLACK_PEN, NULL_PEN, SYSTEM_FONT, DEFAULT_GUI_FONT}) {
    HGDIOBJ o = GetStockObject(id);
    ASSERT_TRUE(o) << id;
    EXPECT_TRUE(DeleteObject(o)) << id;
    EXPECT_NE(GetObjectType(o), 0u) << id;
  }
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  EXPECT_TRUE(DeleteObject(face));
  LOGBRUSH lb;
  ASSERT_EQ(GetObjectA(face, sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetStockObject(HOLLOW_BRUSH), GetStockObject(NULL_BRUSH));
  EXPECT_EQ(GetStockObject(99), nullptr);
}

TEST(GdiObjects, GetObjectReadsBackWhatWasCreated) {
  HPEN pen = CreatePen(PS_DOT, 3, RGB(1, 2, 3));
  LOGPEN lp;
  ASSERT_EQ(GetObjectA(pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DOT));
  EXPECT_EQ(lp.lopnWidth.x, 3);
  EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
  EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));

  HFONT font = CreateFontA(-11, 0, 900, 900, FW_BOLD, 1, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  LOGFONTA lf;
  ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -11);
  EXPECT_EQ(lf.lfEscapement, 900);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
  HFONT again = CreateFontIndirectA(&lf);
  LOGFONTA lf2;
  GetObjectA(again, sizeof lf2, &lf2);
  EXPECT_EQ(std::memcmp(&lf, &lf2, sizeof lf), 0);

  HBITMAP mono = CreateBitmap(17, 3, 1, 1, nullptr);
  BITMAP bm;
  ASSERT_EQ(GetObjectA(mono, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 17);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmWidthBytes, 4);  // rows padded to 16 bits
  EXPECT_EQ(GetObjectA(mono, 0, nullptr), static_cast<int>(sizeof(BITMAP)));

  BITMAPINFO bi{};
  bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 5, -4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  DIBSECTION ds;
  ASSERT_EQ(GetObjectA(dib, sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmBits, bits);
  EXPECT_EQ(ds.dsBmih.biHeight, -4);
  EXPECT_EQ(ds.dsBm.bmWidthBytes, 20);
  bi.bmiHeader.biBitCount = 24;
  EXPECT_EQ(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(bits, nullptr);

  for (HGDIOBJ o : {static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(font), static_cast<HGDIOBJ>(again),
                    static_cast<HGDIOBJ>(mono), static_cast<HGDIOBJ>(dib)})
    EXPECT_TRUE(DeleteObject(o));
  EXPECT_FALSE(DeleteObject(pen));  // gone
  EXPECT_EQ(GetObjectType(pen), 0u);
}

TEST(GdiObjects, SelectedObjectsOutliveDeleteObjectUntilDeselected) {
  MemCanvas cv(2, 1);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(cv.dc, red);
  EXPECT_EQ(GetCurrentObject(cv.dc, OBJ_BRUSH), static_cast<HGDIOBJ>(red));
  EXPECT_TRUE(DeleteObject(red));
  EXPECT_TRUE(PatBlt(cv.dc, 0, 0, 2, 1, PATCOPY));  // still usable while selected
  EXPECT_EQ(cv.At(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(SelectObject(cv.dc, old), static_cast<HGDIOBJ>(red));
  EXPECT_EQ(GetObjectType(red), 0u);  // freed at deselection
}

// What tests count to see a release: every object made counts until it is
// really freed, a selected one until its deselection; stock objects never.
TEST(GdiObjects, TheLiveCountFollowsWhatIsMadeAndFreed) {
  const int before = testkit::LiveGdiObjects();
  GetStockObject(WHITE_BRUSH);
  GetSysColorBrush(COLOR_BTNFACE);
  DeleteObject(GetStockObject(BLACK_PEN));
  EXPECT_EQ(before, testkit::LiveGdiObjects());

  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateBitmap(2, 2, 1, 32, nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32, 1, 1);
  EXPECT_EQ(before + 4, testkit::LiveGdiObjects());

  HGDIOBJ oldBrush = SelectObject(dc, brush);
  DeleteObject(brush);
  EXPECT_EQ(before + 4, testkit::LiveGdiObjects());  // still selected
  SelectObject(dc, oldBrush);
  EXPECT_EQ(before + 3, testkit::LiveGdiObjects());

  ImageList_Destroy(list);
  DeleteObject(bm);
  DeleteDC(dc);
  EXPECT_EQ(before, testkit::LiveGdiObjects());
}

TEST(GdiObjects, BitmapsLiveInOneMemoryContextAtATime) {
  HBITMAP bm = CreateBitmap(2, 2, 1, 32, nullptr);
  HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
  HGDIOBJ oldA = SelectObject(a, bm);
  EXPECT_TRUE(oldA);
  EXPECT_EQ(SelectObject(b, bm), nullptr);
  PlatformSurface s;
  s.Resize(1, 1);
  HDC window = PlatformCreateSurfaceDC(&s, POINT{0, 0}, RECT{0, 0, 1, 1}, nullptr);
  EXPECT_EQ(SelectObject(window, bm), nullptr);  // only memory contexts hold bitmaps
  DeleteDC(a);                                   // releases the bitmap
  EXPECT_TRUE(SelectObject(b, bm));
  DeleteDC(b);
  DeleteDC(window);
  EXPECT_TRUE(DeleteObject(bm));
  EXPECT_EQ(SelectObject(nullptr, bm), nullptr);
  EXPECT_FALSE(DeleteDC(nullptr));
}

TEST(GdiObjects, CompatibleBitmapsTakeTheFormatOfTheContext) {
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP fromMem = CreateCompatibleBitmap(mem, 4, 4);  // the default bitmap is monochrome
  HDC screen = PlatformScreenDC();
  HBITMAP fromScreen = CreateCompatibleBitmap(screen, 4, 4);
  BITMAP bm;
  GetObjectA(fromMem, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  GetObjectA(fromScreen, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
  EXPECT_EQ(CreateCompatibleBitmap(screen, 1 << 15, 1 << 15), nullptr);  // refused, not allocated
  DeleteObject(fromMem);
  DeleteObject(fromScreen);
  DeleteDC(mem);
  DeleteDC(screen);
}

TEST(GdiObjects, DibBitsRoundTripInBothRowOrders) {
  MemCanvas cv(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) SetPixel(cv.dc, x, y, RGB(10 * x, 100 + y, 7));
  for (int bpp : {24, 32})
    for (int sign : {1, -1}) {
      BITMAPINFO bi{};
      bi.bmiHeader =
          BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 3, 2 * sign, 1, static_cast<WORD>(bpp), BI_RGB, 0, 0, 0, 0, 0};
      size_t stride = ((3 * bpp + 31) / 32) * 4;
      std::vector<uint8_t> bits(stride * 2);
      ASSERT_EQ(GetDIBits(cv.dc, cv.bitmap, 0, 2, bits.data(), &bi, DIB_RGB_COLORS), 2);
      // Bottom-up DIBs store the bottom row first.
      const uint8_t* top = bits.data() + (sign > 0 ? stride : 0);
      EXPECT_EQ(top[(bpp / 8) * 1 + 0], 7) << bpp;                  // x 1: blue
      EXPECT_EQ(top[(bpp / 8) * 1 + 2], 10) << bpp << " " << sign;  // x 1: red
      EXPECT_EQ(top[(bpp / 8) * 1 + 1], 100) << bpp << " " << sign;
      MemCanvas back(3, 2);
      ASSERT_EQ(SetDIBits(back.dc, back.bitmap, 0, 2, bits.data(), &bi, DIB_RGB_COLORS), 2);
      for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(back.At(x, y), cv.At(x, y)) << bpp << " " << sign;
    }
}

TEST(GdiObjects, BadHandlesAreRefusedQuietly) {
  int junk = 0;
  HDC fake = reinterpret_cast<HDC>(&junk);
  EXPECT_EQ(SelectObject(fake, GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_FALSE(Rectangle(fake, 0, 0, 1, 1));
  EXPECT_EQ(GetPixel(fake, 0, 0), CLR_INVALID);
  EXPECT_FALSE(BitBlt(fake, 0, 0, 1, 1, fake, 0, 0, SRCCOPY));
  EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(&junk)));
  MemCanvas cv(1, 1);
  EXPECT_EQ(SelectObject(cv.dc, reinterpret_cast<HGDIOBJ>(&junk)), nullptr);
  EXPECT_FALSE(BitBlt(cv.dc, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
}

}  // namespace
