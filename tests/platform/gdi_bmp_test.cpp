// BMP files in every depth the program may meet, both row orders, written
// back in 24 and 32 bits; malformed files fail cleanly; PNG export reads back.
#include <png.h>

#include <cstdio>
#include <cstring>

#include "TempDir.h"
#include "gdi_fixture.h"

namespace {

// The test picture: 5 x 3 pixels (odd width, so rows need padding).
const int kW = 5, kH = 3;
COLORREF Expected(int x, int y, int bpp) {
  static const COLORREF pal[4] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(200, 30, 40), RGB(10, 220, 90)};
  if (bpp <= 8) return pal[(x + y) % (bpp == 1 ? 2 : 4)];
  // 5-bit channels widen by repeating their top bits: 31 becomes 255.
  auto widen = [](int v) { return (v << 3) | (v >> 2); };
  if (bpp == 16) return RGB(widen(x * 7), widen(y * 10), widen(31));
  return RGB(x * 50, y * 100, 7 + x + y);
}

void Put16(std::vector<uint8_t>& b, uint32_t v) { b.push_back(v & 0xFF), b.push_back((v >> 8) & 0xFF); }
void Put32(std::vector<uint8_t>& b, uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

// A BMP file of the test picture, written field by field.
std::vector<uint8_t> MakeBmp(int bpp, bool topDown, bool bitfields = false) {
  // Palette indices 0..3 give the colours in the order Expected uses.
  static const COLORREF order[4] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(200, 30, 40), RGB(10, 220, 90)};
  int colours = bpp <= 8 ? (bpp == 1 ? 2 : 4) : 0;
  std::vector<uint8_t> pal;
  for (int i = 0; i < colours; ++i)
    pal.push_back(GetBValue(order[i])), pal.push_back(GetGValue(order[i])), pal.push_back(GetRValue(order[i])),
        pal.push_back(0);
  size_t stride = ((kW * bpp + 31) / 32) * 4;
  std::vector<uint8_t> pixels(stride * kH, 0);
  for (int row = 0; row < kH; ++row) {
    int y = topDown ? row : kH - 1 - row;
    uint8_t* p = pixels.data() + stride * row;
    for (int x = 0; x < kW; ++x) {
      COLORREF c = Expected(x, y, bpp);
      int index = (x + y) % (bpp == 1 ? 2 : 4);
      switch (bpp) {
        case 1:
          p[x / 8] |= static_cast<uint8_t>(index << (7 - x % 8));
          break;
        case 4:
          p[x / 2] |= static_cast<uint8_t>(index << (x % 2 ? 0 : 4));
          break;
        case 8:
          p[x] = static_cast<uint8_t>(index);
          break;
        case 16: {
          uint16_t v =
              static_cast<uint16_t>((GetRValue(c) >> 3) << 10 | (GetGValue(c) >> 3) << 5 | (GetBValue(c) >> 3));
          p[2 * x] = v & 0xFF, p[2 * x + 1] = v >> 8;
          break;
        }
        case 24:
          p[3 * x] = GetBValue(c), p[3 * x + 1] = GetGValue(c), p[3 * x + 2] = GetRValue(c);
          break;
        case 32:
          p[4 * x] = GetBValue(c), p[4 * x + 1] = GetGValue(c), p[4 * x + 2] = GetRValue(c);
          break;
      }
    }
  }
  std::vector<uint8_t> masks;
  if (bitfields) {
    if (bpp == 16) Put32(masks, 0x7C00), Put32(masks, 0x03E0), Put32(masks, 0x001F);
    if (bpp == 32) Put32(masks, 0xFF0000), Put32(masks, 0xFF00), Put32(masks, 0xFF);
  }
  uint32_t off = static_cast<uint32_t>(14 + 40 + masks.size() + pal.size());
  std::vector<uint8_t> f;
  Put16(f, 0x4D42);
  Put32(f, static_cast<uint32_t>(off + pixels.size()));
  Put32(f, 0);
  Put32(f, off);
  Put32(f, 40);
  Put32(f, kW);
  Put32(f, static_cast<uint32_t>(topDown ? -kH : kH));
  Put16(f, 1);
  Put16(f, static_cast<uint32_t>(bpp));
  Put32(f, bitfields ? BI_BITFIELDS : BI_RGB);
  Put32(f, static_cast<uint32_t>(pixels.size()));
  Put32(f, 2835), Put32(f, 2835);
  Put32(f, static_cast<uint32_t>(colours));
  Put32(f, 0);
  f.insert(f.end(), masks.begin(), masks.end());
  f.insert(f.end(), pal.begin(), pal.end());
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

void ExpectPicture(HBITMAP bm, int bpp, const std::string& what) {
  ASSERT_TRUE(bm) << what;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bm);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) EXPECT_EQ(GetPixel(dc, x, y), Expected(x, y, bpp)) << what << " " << x << "," << y;
  SelectObject(dc, old);
  DeleteDC(dc);
}

TEST(GdiBmp, ReadsEveryDepthInBothRowOrders) {
  struct {
    int bpp;
    bool bitfields;
  } depths[] = {{1, false}, {4, false}, {8, false}, {16, false}, {16, true}, {24, false}, {32, false}, {32, true}};
  for (const auto& d : depths)
    for (bool topDown : {false, true}) {
      std::vector<uint8_t> file = MakeBmp(d.bpp, topDown, d.bitfields);
      HBITMAP bm = PlatformReadBmp(file.data(), file.size());
      std::string what = std::to_string(d.bpp) + (d.bitfields ? " fields" : "") + (topDown ? " top-down" : "");
      ExpectPicture(bm, d.bpp, what);
      DeleteObject(bm);
    }
}

TEST(GdiBmp, ReadsAHandWrittenFile) {
  // 2 x 2, 24 bits, bottom-up: bottom row blue, red; top row green, white.
  const uint8_t file[] = {
      'B', 'M', 70, 0,   0,   0,   0, 0, 0, 0, 54, 0, 0, 0,                     // file header
      40,  0,   0,  0,   2,   0,   0, 0, 2, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0,  // info header ...
      16,  0,   0,  0,   0,   0,   0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0,  // ... to the colour counts
      255, 0,   0,  0,   0,   255, 0, 0,                                        // row 1 (bottom), padded
      0,   255, 0,  255, 255, 255, 0, 0,                                        // row 0 (top), padded
  };
  HBITMAP bm = PlatformReadBmp(file, sizeof file);
  ASSERT_TRUE(bm);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bm);
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 255, 255));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bm);
}

TEST(GdiBmp, PaletteFollowsInfoHeadersOfAnyLength) {
  // Writers may emit longer headers than the classic 40 bytes; the palette starts after the whole header.
  for (uint32_t size : {44u, 56u, 108u, 124u}) {
    std::vector<uint8_t> f = MakeBmp(8, false);
    const uint32_t extra = size - 40;
    f.insert(f.begin() + 54, extra, 0);
    auto add32 = [&](size_t at, uint32_t v) {
      uint32_t old = f[at] | f[at + 1] << 8 | f[at + 2] << 16 | static_cast<uint32_t>(f[at + 3]) << 24;
      old += v;
      f[at] = old & 0xFF, f[at + 1] = (old >> 8) & 0xFF, f[at + 2] = (old >> 16) & 0xFF, f[at + 3] = old >> 24;
    };
    add32(2, extra);   // file size
    add32(10, extra);  // pixel offset
    add32(14, extra);  // header size
    HBITMAP bm = PlatformReadBmp(f.data(), f.size());
    ExpectPicture(bm, 8, "header size " + std::to_string(size));
    DeleteObject(bm);
  }
}

TEST(GdiBmp, WritesTwentyFourAndThirtyTwoBitsThatReadBack) {
  TempDir tmp;
  std::vector<uint8_t> file = MakeBmp(24, false);
  HBITMAP bm = PlatformReadBmp(file.data(), file.size());
  for (int bpp : {24, 32}) {
    std::string path = tmp.file("out" + std::to_string(bpp) + ".bmp");
    ASSERT_TRUE(PlatformWriteBmpFile(bm, bpp, path.c_str()));
    HBITMAP back = PlatformLoadBmpFile(path.c_str());
    ExpectPicture(back, 24, path);
    DeleteObject(back);
  }
  EXPECT_FALSE(PlatformWriteBmpFile(bm, 8, tmp.file("x.bmp").c_str()));
  EXPECT_FALSE(PlatformWriteBmpFile(bm, 24, tmp.file("no/such/folder.bmp").c_str()));
  // LoadImage reads files, also with the program's backslashes, and scales.
  std::string path = tmp.file("skin.bmp");
  PlatformWriteBmpFile(bm, 24, path.c_str());
  std::string windowsPath = path;
  windowsPath[windowsPath.rfind('/')] = '\\';
  HANDLE h = LoadImageA(nullptr, windowsPath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  ExpectPicture(static_cast<HBITMAP>(h), 24, windowsPath);
  DeleteObject(h);
  HANDLE scaled = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 10, 6, LR_LOADFROMFILE);
  BITMAP info;
  ASSERT_TRUE(GetObjectA(scaled, sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 10);
  EXPECT_EQ(info.bmHeight, 6);
  DeleteObject(scaled);
  EXPECT_EQ(LoadImageA(nullptr, tmp.file("missing.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  DeleteObject(bm);
}

TEST(GdiBmp, MalformedFilesFailCleanly) {
  std::vector<uint8_t> good = MakeBmp(8, false);
  auto patch32 = [&](size_t at, uint32_t v) {
    std::vector<uint8_t> f = good;
    f[at] = v & 0xFF, f[at + 1] = (v >> 8) & 0xFF, f[at + 2] = (v >> 16) & 0xFF, f[at + 3] = v >> 24;
    return f;
  };
  auto patch16 = [&](size_t at, uint16_t v) {
    std::vector<uint8_t> f = good;
    f[at] = v & 0xFF, f[at + 1] = v >> 8;
    return f;
  };
  struct {
    const char* what;
    std::vector<uint8_t> file;
  } cases[] = {
      {"bad magic", patch16(0, 0x4D43)},
      {"pixels before the headers", patch32(10, 20)},
      {"pixels past the end", patch32(10, 100000)},
      {"header size 39", patch32(14, 39)},
      {"zero width", patch32(18, 0)},
      {"negative width", patch32(18, static_cast<uint32_t>(-5))},
      {"zero height", patch32(22, 0)},
      {"most negative height", patch32(22, 0x80000000u)},
      {"oversized", patch32(18, 1u << 20)},
      {"huge but short", patch32(22, 30000)},
      {"two planes", patch16(26, 2)},
      {"7 bits per pixel", patch16(28, 7)},
      {"RLE8", patch32(30, BI_RLE8)},
      {"bit fields on 8 bits", patch32(30, BI_BITFIELDS)},
  };
  for (const auto& c : cases) EXPECT_EQ(PlatformReadBmp(c.file.data(), c.file.size()), nullptr) << c.what;
  // Every truncation fails; the whole file reads.
  for (size_t n = 0; n < good.size(); ++n) EXPECT_EQ(PlatformReadBmp(good.data(), n), nullptr) << n;
  HBITMAP bm = PlatformReadBmp(good.data(), good.size());
  EXPECT_TRUE(bm);
  DeleteObject(bm);
  // A palette may not run into the pixels.
  std::vector<uint8_t> many = patch32(46, 1000);
  EXPECT_EQ(PlatformReadBmp(many.data(), many.size()), nullptr);
  std::vector<uint8_t> fewer = patch32(46, 3);  // fewer colours than the depth allows: fine
  bm = PlatformReadBmp(fewer.data(), fewer.size());
  EXPECT_TRUE(bm);
  DeleteObject(bm);
  EXPECT_EQ(PlatformReadBmp(nullptr, 100), nullptr);
}

std::vector<uint8_t> ReadPng(const std::string& path, int& w, int& h) {
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  std::vector<uint8_t> px;
  if (!png_image_begin_read_from_file(&img, path.c_str())) return px;
  img.format = PNG_FORMAT_RGB;
  px.resize(PNG_IMAGE_SIZE(img));
  if (!png_image_finish_read(&img, nullptr, px.data(), 0, nullptr)) px.clear();
  w = static_cast<int>(img.width), h = static_cast<int>(img.height);
  return px;
}

TEST(GdiPng, ExportedSurfacesAndBitmapsReadBack) {
  TempDir tmp;
  PlatformSurface s;
  s.Resize(3, 2);
  s.pixels = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00123456, 0x00FFFFFF, 0};
  std::string path = tmp.file("surface.png");
  ASSERT_TRUE(PlatformWritePng(s, path.c_str()));
  int w = 0, h = 0;
  std::vector<uint8_t> px = ReadPng(path, w, h);
  ASSERT_EQ(px.size(), 18u);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);
  const uint8_t want[18] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 0x12, 0x34, 0x56, 255, 255, 255, 0, 0, 0};
  EXPECT_EQ(std::memcmp(px.data(), want, 18), 0);

  std::vector<uint8_t> file = MakeBmp(24, true);
  HBITMAP bm = PlatformReadBmp(file.data(), file.size());
  std::string bpath = tmp.file("bitmap.png");
  ASSERT_TRUE(PlatformWriteBitmapPng(bm, bpath.c_str()));
  px = ReadPng(bpath, w, h);
  ASSERT_EQ(px.size(), static_cast<size_t>(kW * kH * 3));
  COLORREF c = Expected(4, 2, 24);
  const uint8_t* p = &px[(2 * kW + 4) * 3];
  EXPECT_EQ(p[0], GetRValue(c));
  EXPECT_EQ(p[1], GetGValue(c));
  EXPECT_EQ(p[2], GetBValue(c));
  DeleteObject(bm);
  PlatformSurface empty;
  EXPECT_FALSE(PlatformWritePng(empty, tmp.file("empty.png").c_str()));
}

}  // namespace
