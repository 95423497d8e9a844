// Regions and clipping: combining, hit tests, region data, clip regions of
// contexts and the surface contexts' own clipping.
#include <cstring>

#include "gdi_fixture.h"

namespace {

const COLORREF K = RGB(0, 0, 0), W = RGB(255, 255, 255);

std::string Mask(HRGN rgn, int w, int h) {
  std::string s;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) s += PtInRegion(rgn, x, y) ? '#' : '.';
    s += '\n';
  }
  return s;
}

TEST(GdiRegion, CombineModesBuildTheExpectedShapes) {
  struct {
    int mode;
    int result;
    const char* rows[4];
  } cases[] = {
      {RGN_AND, SIMPLEREGION, {"......", "......", "..##..", "......"}},
      {RGN_OR, COMPLEXREGION, {"####..", "####..", "######", "..####"}},
      {RGN_XOR, COMPLEXREGION, {"####..", "####..", "##..##", "..####"}},
      {RGN_DIFF, COMPLEXREGION, {"####..", "####..", "##....", "......"}},
  };
  for (const auto& c : cases) {
    HRGN a = CreateRectRgn(0, 0, 4, 3);
    HRGN b = CreateRectRgn(2, 2, 6, 4);
    HRGN d = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(d, a, b, c.mode), c.result) << c.mode;
    EXPECT_EQ(Mask(d, 6, 4), Picture({c.rows[0], c.rows[1], c.rows[2], c.rows[3]})) << c.mode;
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(d);
  }
}

TEST(GdiRegion, BoxesOffsetsAndEmptyRegions) {
  HRGN r = CreateRectRgn(5, 5, 1, 2);  // corners in any order
  RECT box;
  EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 1);
  EXPECT_EQ(box.top, 2);
  EXPECT_EQ(box.right, 5);
  EXPECT_EQ(box.bottom, 5);
  EXPECT_EQ(OffsetRgn(r, 10, -2), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(r, 11, 0));
  EXPECT_FALSE(PtInRegion(r, 15, 0));  // right edge is outside
  RECT probe{0, 0, 12, 1};
  EXPECT_TRUE(RectInRegion(r, &probe));
  HRGN empty = CreateRectRgn(3, 3, 3, 9);
  EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
  EXPECT_EQ(CombineRgn(r, r, empty, RGN_AND), NULLREGION);
  EXPECT_EQ(CombineRgn(r, r, nullptr, RGN_OR), ERROR);
  EXPECT_EQ(CombineRgn(r, empty, nullptr, RGN_COPY), NULLREGION);
  DeleteObject(r);
  DeleteObject(empty);
  EXPECT_EQ(GetRgnBox(r, &box), ERROR);  // a deleted handle is refused
}

TEST(GdiRegion, RegionDataRoundTripsThroughExtCreateRegion) {
  HRGN a = CreateRectRgn(0, 0, 4, 2);
  HRGN b = CreateRectRgn(2, 1, 8, 5);
  CombineRgn(a, a, b, RGN_OR);
  DWORD size = GetRegionData(a, 0, nullptr);
  ASSERT_GT(size, sizeof(RGNDATAHEADER));
  std::vector<char> buf(size);
  RGNDATA* data = reinterpret_cast<RGNDATA*>(buf.data());
  ASSERT_EQ(GetRegionData(a, size, data), size);
  HRGN copy = ExtCreateRegion(nullptr, size, data);
  ASSERT_TRUE(copy);
  EXPECT_TRUE(EqualRgn(a, copy));
  // A count that claims more rectangles than the buffer holds is refused.
  data->rdh.nCount += 1;
  EXPECT_EQ(ExtCreateRegion(nullptr, size, data), nullptr);
  EXPECT_EQ(ExtCreateRegion(nullptr, 4, data), nullptr);
  DeleteObject(a);
  DeleteObject(b);
  DeleteObject(copy);
}

TEST(GdiRegion, ExtCreateRegionMergesOverlappingRectanglesInAnyOrder) {
  // The way a bitmap becomes a region: many runs, some overlapping.
  std::vector<RECT> runs = {{4, 1, 6, 3}, {0, 0, 3, 2}, {2, 1, 5, 2}};
  for (int y = 10; y < 60; ++y)
    for (int x = 0; x < 40; x += 2) runs.push_back(RECT{x, y, x + 1, y + 1});
  std::vector<char> buf(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  RGNDATA* data = reinterpret_cast<RGNDATA*>(buf.data());
  data->rdh = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(runs.size()), 0, {}};
  std::memcpy(buf.data() + sizeof(RGNDATAHEADER), runs.data(), runs.size() * sizeof(RECT));
  HRGN r = ExtCreateRegion(nullptr, static_cast<DWORD>(buf.size()), data);
  ASSERT_TRUE(r);
  EXPECT_EQ(Mask(r, 7, 4), Picture({"###....", "######.", "....##.", "......."}));
  EXPECT_TRUE(PtInRegion(r, 38, 59));
  EXPECT_FALSE(PtInRegion(r, 39, 59));
  DeleteObject(r);
}

TEST(GdiRegion, EllipticRegionsAreSymmetric) {
  HRGN e = CreateEllipticRgn(0, 0, 10, 6);
  std::string m = Mask(e, 10, 6);
  EXPECT_EQ(m, Picture({"..######..", ".########.", "##########", "##########", ".########.", "..######.."}));
  DeleteObject(e);
}

TEST(GdiClip, ClipRegionsLimitDrawing) {
  MemCanvas cv(6, 4);
  HRGN r = CreateRectRgn(1, 1, 5, 3);
  EXPECT_EQ(SelectClipRgn(cv.dc, r), SIMPLEREGION);
  DeleteObject(r);  // the context keeps its own copy
  EXPECT_EQ(ExcludeClipRect(cv.dc, 2, 0, 3, 9), COMPLEXREGION);
  cv.Fill(K);
  EXPECT_EQ(cv.Rows(K, 0, 0, 6, 4), Picture({"......", ".#.##.", ".#.##.", "......"}));
  RECT box;
  EXPECT_EQ(GetClipBox(cv.dc, &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 1);
  EXPECT_EQ(box.right, 5);
  EXPECT_EQ(OffsetClipRgn(cv.dc, 1, 0), COMPLEXREGION);
  EXPECT_TRUE(PtVisible(cv.dc, 2, 1));
  EXPECT_FALSE(PtVisible(cv.dc, 3, 1));
  HRGN got = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(cv.dc, got), 1);
  EXPECT_TRUE(PtInRegion(got, 5, 1));
  EXPECT_EQ(SelectClipRgn(cv.dc, nullptr), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(cv.dc, got), 0);
  DeleteObject(got);
  EXPECT_EQ(IntersectClipRect(cv.dc, 4, 0, 10, 10), SIMPLEREGION);
  EXPECT_EQ(GetClipBox(cv.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 4);
  EXPECT_EQ(box.right, 6);
  HRGN add = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(ExtSelectClipRgn(cv.dc, add, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(ExtSelectClipRgn(cv.dc, nullptr, RGN_AND), ERROR);
  DeleteObject(add);
}

TEST(GdiClip, ClipRegionsAreInDeviceCoordinates) {
  MemCanvas cv(6, 6);
  SetViewportOrgEx(cv.dc, 2, 2, nullptr);
  HRGN r = CreateRectRgn(0, 0, 2, 2);
  SelectClipRgn(cv.dc, r);
  DeleteObject(r);
  RECT all{-2, -2, 4, 4};
  FillRect(cv.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetViewportOrgEx(cv.dc, 0, 0, nullptr);
  EXPECT_EQ(cv.Count(K), 4);  // GetPixel, too, sees only the clip region
  EXPECT_EQ(cv.At(0, 0), K);
  EXPECT_EQ(cv.At(2, 2), CLR_INVALID);
  RECT box;
  SetViewportOrgEx(cv.dc, 2, 2, nullptr);
  GetClipBox(cv.dc, &box);  // reported in logical coordinates
  EXPECT_EQ(box.left, -2);
  EXPECT_EQ(box.bottom, 0);
}

TEST(GdiClip, SurfaceContextsClipToTheirRegion) {
  // A window context that leaves out a child: the manager hands a region.
  PlatformSurface s;
  s.Resize(8, 4);
  HDC dc = PlatformCreateSurfaceDC(&s, POINT{1, 0}, RECT{1, 0, 7, 4}, nullptr);
  HRGN visible = CreateRectRgn(0, 0, 8, 4);
  HRGN child = CreateRectRgn(3, 1, 5, 3);
  CombineRgn(visible, visible, child, RGN_DIFF);
  ASSERT_TRUE(PlatformSetSurfaceDCRegion(dc, visible));
  DeleteObject(visible);
  DeleteObject(child);
  RECT all{-10, -10, 20, 20};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  std::string rows;
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) rows += s.pixels[y * 8 + x] ? '#' : '.';
    rows += '\n';
  }
  EXPECT_EQ(rows, Picture({".######.", ".##..##.", ".##..##.", ".######."}));
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 6);
  EXPECT_EQ(WindowFromDC(dc), nullptr);
  EXPECT_EQ(PlatformDCSurface(dc), &s);
  DeleteDC(dc);
}

TEST(GdiClip, ContextsFollowTheirSurfaceWhenItIsResized) {
  PlatformSurface s;
  s.Resize(2, 2);
  HDC dc = PlatformCreateSurfaceDC(&s, POINT{0, 0}, RECT{0, 0, 100, 100}, nullptr);
  RECT all{0, 0, 100, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  s.Resize(4, 3);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(s.pixels.back(), 0xFFFFFFu);
  s.Resize(0, 0);
  EXPECT_TRUE(FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
  EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
  DeleteDC(dc);
}

}  // namespace
