// DrawSkinBitmap's nine modes, pixel by pixel, on letter-picture bitmaps.
#include <gtest/gtest.h>

#include "SkinDraw.h"
#include "skin_fixture.h"

using namespace skintest;

namespace {

struct DrawCase {
  const char* name;
  std::vector<std::string> bitmap;  // letters
  int bitmapScaleX, bitmapScaleY;   // pixels per letter
  CRect rect;
  int mode;
  std::vector<std::string> expected;  // the whole canvas
  int scaleX, scaleY;
  int canvasW, canvasH;
};

class DrawModeTest : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DrawModeTest, DrawsPixelByPixel) {
  const DrawCase& c = GetParam();
  Canvas canvas(c.canvasW, c.canvasH);
  CBitmap bitmap;
  bitmap.Attach(MakeBitmap(c.bitmap, c.bitmapScaleX, c.bitmapScaleY));
  EXPECT_EQ(1, DrawSkinBitmap(canvas.dc(), c.rect, &bitmap, c.mode));
  EXPECT_EQ(Expand(c.expected, c.scaleX, c.scaleY), canvas.Picture());
}

// Bitmaps: "AB/CD" in 5-pixel cells is 10 x 10; "ABC/DEF/GHI" in 10-pixel
// cells is the nine-part grid; "ABC" in 3-pixel columns shows the thirds.
const std::vector<std::string> kQuad = {"AB", "CD"};
const std::vector<std::string> kGrid = {"ABC", "DEF", "GHI"};
const std::vector<std::string> kThirds = {"ABC"};

INSTANTIATE_TEST_SUITE_P(
    Modes, DrawModeTest,
    ::testing::Values(
        // 10 x 10 into 25 x 15: pieces 10x10, 10x10, 5x10, then 10x5, 10x5, 5x5.
        DrawCase{"TileRowByRow", kQuad, 5, 5, CRect(0, 0, 25, 15), 0,
                 {"ABABA.", "CDCDC.", "ABABA.", "......"}, 5, 5, 30, 20},
        // Two whole copies stacked, then the top 5 rows into the last 5.
        DrawCase{"StackRows", {"AA", "CC"}, 5, 5, CRect(0, 0, 20, 25), 1,
                 {"AAAA.", "CCCC.", "AAAA.", "CCCC.", "AAAA.", "....."}, 5, 5, 25, 30},
        DrawCase{"SideBySide", {"AC", "AC"}, 5, 5, CRect(0, 0, 25, 20), 2,
                 {"ACACA.", "ACACA.", "ACACA.", "ACACA.", "......"}, 5, 5, 30, 25},
        DrawCase{"Stretch", kQuad, 5, 5, CRect(0, 0, 20, 20), 3,
                 {"AABB.", "AABB.", "CCDD.", "CCDD.", "....."}, 5, 5, 25, 25},
        DrawCase{"NineGridSameSize", kGrid, 10, 10, CRect(0, 0, 30, 30), 4,
                 {"ABC.", "DEF.", "GHI.", "...."}, 10, 10, 40, 40},
        // Too low for a middle row: the bottom cells cover the top ones.
        DrawCase{"NineGridLowRect", kGrid, 10, 10, CRect(0, 0, 100, 12), 4,
                 {"ABBBBBBBBC.", "ABBBBBBBBC.", "GHHHHHHHHI.", "GHHHHHHHHI.", "GHHHHHHHHI.", "GHHHHHHHHI.",
                  "GHHHHHHHHI.", "GHHHHHHHHI.", "GHHHHHHHHI.", "GHHHHHHHHI.", "GHHHHHHHHI.", "GHHHHHHHHI.",
                  "..........."},
                 10, 1, 110, 13},
        DrawCase{"NineGridWide", kGrid, 10, 10, CRect(0, 0, 50, 40), 4,
                 {"ABBBC.", "DEEEF.", "DEEEF.", "GHHHI.", "......"}, 10, 10, 60, 50},
        // Own size at the corner, beyond the rectangle.
        DrawCase{"AtOriginNotClipped", kQuad, 5, 5, CRect(5, 5, 8, 8), 5,
                 {"....", ".AB.", ".CD.", "...."}, 5, 5, 20, 20},
        DrawCase{"MiddleRepeated", kThirds, 3, 9, CRect(0, 0, 10, 4), 6,
                 {"BBBBBBBBBB.", "BBBBBBBBBB.", "BBBBBBBBBB.", "BBBBBBBBBB.", "..........."}, 1, 1, 11, 5},
        DrawCase{"ThreeThirds", kThirds, 3, 9, CRect(0, 0, 10, 2), 7,
                 {"AAABBBBCCC.", "AAABBBBCCC.", "..........."}, 1, 1, 11, 3},
        // Narrower than two thirds: no middle copy, the right third overlaps the left.
        DrawCase{"ThreeThirdsNarrow", kThirds, 3, 9, CRect(0, 0, 5, 2), 7,
                 {"AACCC.", "AACCC.", "......"}, 1, 1, 6, 3},
        DrawCase{"StretchWhiteTransparent", {"AW", "WA"}, 5, 5, CRect(0, 0, 20, 20), 8,
                 {"AA...", "AA...", "..AA.", "..AA.", "....."}, 5, 5, 25, 25},
        DrawCase{"UnknownModeNine", kQuad, 5, 5, CRect(0, 0, 10, 10), 9, {"...", "...", "..."}, 5, 5, 15, 15},
        DrawCase{"UnknownModeMinusOne", kQuad, 5, 5, CRect(0, 0, 10, 10), -1, {"...", "...", "..."}, 5, 5, 15, 15},
        // An inverted rectangle would stretch with negative extents: nothing is drawn.
        DrawCase{"InvertedRectStackRows", kQuad, 5, 5, CRect(0, 10, 10, 0), 1, {"...", "...", "..."}, 5, 5, 15, 15},
        DrawCase{"InvertedRectSideBySide", kQuad, 5, 5, CRect(10, 0, 0, 10), 2, {"...", "...", "..."}, 5, 5, 15, 15},
        DrawCase{"EmptyRectAtOrigin", kQuad, 5, 5, CRect(5, 5, 5, 5), 5, {"...", "...", "..."}, 5, 5, 15, 15}),
    [](const ::testing::TestParamInfo<DrawCase>& info) { return std::string(info.param.name); });

TEST(DrawSkinBitmap, RefusesNullAndSmallBitmaps) {
  Canvas canvas(30, 30);
  CBitmap narrow, nine;
  narrow.Attach(MakeBitmap({"A"}, 8, 20));
  nine.Attach(MakeBitmap({"A"}, 9, 9));
  EXPECT_EQ(0, DrawSkinBitmap(canvas.dc(), CRect(0, 0, 20, 20), &narrow, 3));
  EXPECT_EQ(0, DrawSkinBitmap(nullptr, CRect(0, 0, 20, 20), &nine, 3));
  EXPECT_EQ(0, DrawSkinBitmap(canvas.dc(), CRect(0, 0, 20, 20), nullptr, 3));
  EXPECT_EQ('.', canvas.At(0, 0));
  EXPECT_EQ(1, DrawSkinBitmap(canvas.dc(), CRect(0, 0, 20, 20), &nine, 3));
  EXPECT_EQ('A', canvas.At(0, 0));
  EXPECT_EQ('A', canvas.At(19, 19));
  EXPECT_EQ('.', canvas.At(20, 20));
}

}  // namespace
