// Lines, shapes, fills, origins, saved states and the framed elements.
#include "gdi_fixture.h"

namespace {

const COLORREF K = RGB(0, 0, 0), W = RGB(255, 255, 255), G = RGB(128, 128, 128), Blue = RGB(0, 0, 255);

TEST(GdiDraw, LineToLeavesOutTheEndPoint) {
  struct {
    POINT from, to;
  } cases[] = {{{1, 1}, {6, 1}}, {{6, 1}, {1, 1}}, {{3, 0}, {3, 6}}, {{0, 0}, {6, 6}},
               {{6, 6}, {0, 0}}, {{0, 6}, {6, 3}}, {{2, 2}, {2, 2}}};
  for (const auto& c : cases) {
    MemCanvas cv(8, 8);
    MoveToEx(cv.dc, c.from.x, c.from.y, nullptr);
    ASSERT_TRUE(LineTo(cv.dc, c.to.x, c.to.y));
    int steps = std::max(std::abs(c.to.x - c.from.x), std::abs(c.to.y - c.from.y));
    EXPECT_EQ(cv.Count(K), steps) << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y;
    EXPECT_EQ(cv.At(c.to.x, c.to.y), W);
    if (steps) {
      EXPECT_EQ(cv.At(c.from.x, c.from.y), K);
    }
    POINT cur;
    GetCurrentPositionEx(cv.dc, &cur);
    EXPECT_EQ(cur.x, c.to.x);
    EXPECT_EQ(cur.y, c.to.y);
  }
}

TEST(GdiDraw, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  MemCanvas cv(6, 5, G);
  HBRUSH blue = CreateSolidBrush(Blue);
  HGDIOBJ old = SelectObject(cv.dc, blue);
  ASSERT_TRUE(Rectangle(cv.dc, 1, 1, 5, 4));
  EXPECT_EQ(cv.Rows(K), Picture({"......", ".####.", ".#..#.", ".####.", "......"}));
  EXPECT_EQ(cv.Rows(Blue), Picture({"......", "......", "..##..", "......", "......"}));
  // Without a pen the fill loses its right column and bottom row.
  cv.Fill(G);
  SelectObject(cv.dc, GetStockObject(NULL_PEN));
  Rectangle(cv.dc, 1, 1, 5, 4);
  EXPECT_EQ(cv.Rows(Blue), Picture({"......", ".###..", ".###..", "......", "......"}));
  // A hollow brush leaves the inside alone.
  cv.Fill(G);
  SelectObject(cv.dc, GetStockObject(BLACK_PEN));
  SelectObject(cv.dc, GetStockObject(HOLLOW_BRUSH));
  Rectangle(cv.dc, 1, 1, 5, 4);
  EXPECT_EQ(cv.At(2, 2), G);
  SelectObject(cv.dc, old);
  DeleteObject(blue);
}

TEST(GdiDraw, FillAndFrameRectStopBeforeRightAndBottom) {
  MemCanvas cv(5, 4);
  RECT r{1, 1, 4, 3};
  FillRect(cv.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(cv.Rows(K), Picture({".....", ".###.", ".###.", "....."}));
  cv.Fill(W);
  RECT f{0, 0, 5, 4};
  FrameRect(cv.dc, &f, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(cv.Rows(K), Picture({"#####", "#...#", "#...#", "#####"}));
  // A system colour index + 1 stands for its brush.
  cv.Fill(W);
  FillRect(cv.dc, &f, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  EXPECT_EQ(cv.At(0, 0), GetSysColor(COLOR_BTNFACE));
}

TEST(GdiDraw, EllipseAndRoundRectAreSymmetricAndTouchTheirBox) {
  MemCanvas cv(12, 10);
  SelectObject(cv.dc, GetStockObject(BLACK_BRUSH));
  Ellipse(cv.dc, 1, 1, 11, 9);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(cv.At(x, y), cv.At(11 - x, y)) << x << "," << y;
      EXPECT_EQ(cv.At(x, y), cv.At(x, 9 - y)) << x << "," << y;
    }
  EXPECT_EQ(cv.At(1, 4), K);
  EXPECT_EQ(cv.At(1, 1), W);  // corners stay outside
  EXPECT_EQ(cv.At(5, 1), K);

  // The group box frame: rounded corners, straight edges, hollow inside.
  MemCanvas gb(30, 20);
  SelectObject(gb.dc, GetStockObject(NULL_BRUSH));
  RoundRect(gb.dc, 0, 0, 30, 20, 10, 10);
  EXPECT_EQ(gb.At(0, 0), W);
  EXPECT_EQ(gb.At(15, 0), K);
  EXPECT_EQ(gb.At(0, 10), K);
  EXPECT_EQ(gb.At(29, 10), K);
  EXPECT_EQ(gb.At(15, 19), K);
  EXPECT_EQ(gb.At(15, 10), W);
}

TEST(GdiDraw, HugeShapesAndLinesDrawOnlyWhatShows) {
  const int big = 1000000000;
  MemCanvas cv(4, 4);
  SelectObject(cv.dc, GetStockObject(BLACK_BRUSH));
  Rectangle(cv.dc, -big, -big, big, big);
  Ellipse(cv.dc, -big, -big, big, big);
  POINT tri[3] = {{-big, -big}, {big, -big}, {-big, big}};
  Polygon(cv.dc, tri, 3);
  EXPECT_EQ(cv.Count(K), 16);
  cv.Fill(W);
  MoveToEx(cv.dc, -big, 1, nullptr);
  LineTo(cv.dc, big, 1);
  MoveToEx(cv.dc, 2, big, nullptr);
  LineTo(cv.dc, 2, -big);
  EXPECT_EQ(cv.Rows(K), Picture({"..#.", "####", "..#.", "..#."}));
}

TEST(GdiDraw, PolygonFillsItsInside) {
  MemCanvas cv(8, 8);
  SelectObject(cv.dc, GetStockObject(NULL_PEN));
  SelectObject(cv.dc, GetStockObject(BLACK_BRUSH));
  POINT tri[3] = {{0, 0}, {6, 0}, {0, 6}};
  Polygon(cv.dc, tri, 3);
  // Pixels whose centres lie inside; centres on the slanted edge stay out.
  EXPECT_EQ(cv.Rows(K, 0, 0, 7, 7),
            Picture({"#####..", "####...", "###....", "##.....", "#......", ".......", "......."}));
}

TEST(GdiDraw, OriginsMoveLogicalCoordinates) {
  MemCanvas cv(6, 6);
  SetViewportOrgEx(cv.dc, 2, 1, nullptr);
  SetPixel(cv.dc, 0, 0, K);
  SetWindowOrgEx(cv.dc, 1, 1, nullptr);
  SetPixel(cv.dc, 1, 1, Blue);                     // lands on the viewport origin again
  EXPECT_EQ(GetPixel(cv.dc, 0, -1), CLR_INVALID);  // the device pixel (1, -1)
  SetViewportOrgEx(cv.dc, 0, 0, nullptr);
  SetWindowOrgEx(cv.dc, 0, 0, nullptr);
  EXPECT_EQ(cv.At(2, 1), Blue);
}

TEST(GdiDraw, RestoreDCBringsBackObjectsColoursOriginsAndClip) {
  MemCanvas cv(4, 4);
  HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  int saved = SaveDC(cv.dc);
  ASSERT_GT(saved, 0);
  HGDIOBJ stockPen = GetCurrentObject(cv.dc, OBJ_PEN);
  SelectObject(cv.dc, red);
  SetTextColor(cv.dc, Blue);
  SetViewportOrgEx(cv.dc, 1, 1, nullptr);
  IntersectClipRect(cv.dc, 0, 0, 1, 1);
  EXPECT_EQ(SaveDC(cv.dc), saved + 1);
  ASSERT_TRUE(RestoreDC(cv.dc, -1));  // back to the second save: nothing changed
  EXPECT_EQ(GetCurrentObject(cv.dc, OBJ_PEN), static_cast<HGDIOBJ>(red));
  ASSERT_TRUE(RestoreDC(cv.dc, saved));
  EXPECT_EQ(GetCurrentObject(cv.dc, OBJ_PEN), stockPen);
  EXPECT_EQ(GetTextColor(cv.dc), K);
  POINT org;
  GetViewportOrgEx(cv.dc, &org);
  EXPECT_EQ(org.x, 0);
  RECT box;
  EXPECT_EQ(GetClipBox(cv.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 4);
  EXPECT_FALSE(RestoreDC(cv.dc, saved));  // already popped
  EXPECT_TRUE(DeleteObject(red));
}

TEST(GdiDraw, EdgesUseTheThreeDimensionalColours) {
  MemCanvas cv(6, 6);
  RECT r{0, 0, 6, 6};
  DrawEdge(cv.dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
  EXPECT_EQ(cv.At(0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(cv.At(5, 5), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(cv.At(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(cv.At(4, 4), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(cv.At(2, 2), W);
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.right, 4);
  MemCanvas sunken(4, 4);
  RECT s{0, 0, 4, 4};
  DrawEdge(sunken.dc, &s, BDR_SUNKENOUTER, BF_RECT);
  EXPECT_EQ(sunken.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(sunken.At(3, 3), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST(GdiDraw, FocusRectangleDrawnTwiceVanishes) {
  MemCanvas cv(8, 6, G);
  RECT r{1, 1, 7, 5};
  DrawFocusRect(cv.dc, &r);
  EXPECT_GT(cv.Count(RGB(127, 127, 127)), 0);
  EXPECT_EQ(cv.At(3, 3), G);
  DrawFocusRect(cv.dc, &r);
  EXPECT_EQ(cv.Count(G), 48);
}

TEST(GdiDraw, IconsKeepTheBackgroundUnderTheirMask) {
  // 2 x 1 icon: left pixel opaque red, right pixel transparent.
  HBITMAP color = CreateBitmap(2, 1, 1, 32, nullptr);
  HBITMAP mask = CreateBitmap(2, 1, 1, 1, nullptr);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, color);
  SetPixel(mem, 0, 0, RGB(255, 0, 0));
  SelectObject(mem, mask);
  SetPixel(mem, 1, 0, W);
  SelectObject(mem, old);
  DeleteDC(mem);
  ICONINFO ii{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&ii);
  ASSERT_TRUE(icon);
  MemCanvas cv(4, 2, G);
  ASSERT_TRUE(DrawIconEx(cv.dc, 0, 0, icon, 4, 2, 0, nullptr, DI_NORMAL));  // stretched to 4 x 2
  EXPECT_EQ(cv.Rows(RGB(255, 0, 0)), Picture({"##..", "##.."}));
  EXPECT_EQ(cv.Rows(G), Picture({"..##", "..##"}));
  // DrawState with DSS_MONO paints the icon's shape in the brush colour.
  cv.Fill(G);
  HBRUSH blue = CreateSolidBrush(Blue);
  ASSERT_TRUE(DrawStateA(cv.dc, blue, nullptr, reinterpret_cast<LPARAM>(icon), 0, 1, 0, 0, 0, DST_ICON | DSS_MONO));
  EXPECT_EQ(cv.Rows(Blue), Picture({".#..", "...."}));
  DeleteObject(blue);
  DestroyIcon(icon);
  DeleteObject(color);
  DeleteObject(mask);
}

TEST(GdiDraw, ImageListsDrawMaskedImagesTransparentlyOrOverTheirBackground) {
  const COLORREF key = RGB(255, 0, 255), R = RGB(200, 0, 0);
  MemCanvas strip(4, 1);
  SetPixel(strip.dc, 0, 0, R);
  SetPixel(strip.dc, 1, 0, key);
  SetPixel(strip.dc, 2, 0, key);
  SetPixel(strip.dc, 3, 0, Blue);
  HIMAGELIST il = ImageList_Create(2, 1, ILC_COLOR32 | ILC_MASK, 2, 0);
  HBITMAP bm = static_cast<HBITMAP>(GetCurrentObject(strip.dc, OBJ_BITMAP));
  ASSERT_EQ(ImageList_AddMasked(il, bm, key), 0);
  EXPECT_EQ(ImageList_GetImageCount(il), 2);
  MemCanvas cv(4, 1, G);
  ImageList_Draw(il, 0, cv.dc, 0, 0, ILD_TRANSPARENT);
  ImageList_Draw(il, 1, cv.dc, 2, 0, ILD_TRANSPARENT);
  EXPECT_EQ(cv.At(0, 0), R);
  EXPECT_EQ(cv.At(1, 0), G);
  EXPECT_EQ(cv.At(2, 0), G);
  EXPECT_EQ(cv.At(3, 0), Blue);
  ImageList_SetBkColor(il, W);
  ImageList_Draw(il, 0, cv.dc, 0, 0, ILD_NORMAL);
  EXPECT_EQ(cv.At(1, 0), W);
  EXPECT_TRUE(ImageList_Destroy(il));
}

}  // namespace
