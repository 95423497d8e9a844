#include <gtest/gtest.h>

#include "afx.h"

namespace {

struct RectPairCase {
  RECT a, b;
  BOOL intersects;
  RECT intersection;
  BOOL unites;
  RECT united;
  BOOL subtracts;
  RECT difference;  // a less b
};

::testing::AssertionResult Same(const RECT& expected, const RECT& actual) {
  if (EqualRect(&expected, &actual)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected {" << expected.left << "," << expected.top << ","
                                       << expected.right << "," << expected.bottom << "} got {" << actual.left
                                       << "," << actual.top << "," << actual.right << "," << actual.bottom << "}";
}

TEST(RectTest, IntersectUnionSubtract) {
  const RECT none{0, 0, 0, 0};
  const RectPairCase cases[] = {
      // overlapping corners: no rectangular difference
      {{0, 0, 10, 10}, {5, 5, 15, 15}, TRUE, {5, 5, 10, 10}, TRUE, {0, 0, 15, 15}, TRUE, {0, 0, 10, 10}},
      // touching edges do not intersect (right and bottom are outside)
      {{0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, none, TRUE, {0, 0, 20, 10}, TRUE, {0, 0, 10, 10}},
      // b covers the bottom strip of a
      {{0, 0, 10, 10}, {-5, 6, 15, 20}, TRUE, {0, 6, 10, 10}, TRUE, {-5, 0, 15, 20}, TRUE, {0, 0, 10, 6}},
      // b covers the left strip of a
      {{0, 0, 10, 10}, {0, 0, 4, 10}, TRUE, {0, 0, 4, 10}, TRUE, {0, 0, 10, 10}, TRUE, {4, 0, 10, 10}},
      // b covers all of a
      {{2, 2, 4, 4}, {0, 0, 10, 10}, TRUE, {2, 2, 4, 4}, TRUE, {0, 0, 10, 10}, FALSE, none},
      // an empty rectangle takes no part in a union
      {{0, 0, 0, 10}, {3, 3, 5, 5}, FALSE, none, TRUE, {3, 3, 5, 5}, FALSE, none},
      {{5, 5, 5, 5}, {1, 1, 1, 9}, FALSE, none, FALSE, none, FALSE, none},
  };
  for (const RectPairCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "a={" << c.a.left << "," << c.a.top << "," << c.a.right << ","
                                    << c.a.bottom << "}");
    RECT out{7, 7, 7, 7};
    EXPECT_EQ(c.intersects, IntersectRect(&out, &c.a, &c.b));
    EXPECT_TRUE(Same(c.intersection, out));
    EXPECT_EQ(c.unites, UnionRect(&out, &c.a, &c.b));
    EXPECT_TRUE(Same(c.united, out));
    EXPECT_EQ(c.subtracts, SubtractRect(&out, &c.a, &c.b));
    EXPECT_TRUE(Same(c.difference, out));
  }
}

TEST(RectTest, ClassHelpersAndEdges) {
  CRect r(10, 20, 30, 60);
  EXPECT_EQ(20, r.Width());
  EXPECT_EQ(40, r.Height());
  EXPECT_EQ(CSize(20, 40), r.Size());
  EXPECT_EQ(CPoint(20, 40), r.CenterPoint());
  EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
  EXPECT_FALSE(r.PtInRect(CPoint(30, 20)));  // right edge is outside
  EXPECT_FALSE(r.PtInRect(CPoint(10, 60)));  // bottom edge is outside

  r.OffsetRect(-10, -20);
  EXPECT_EQ(CRect(0, 0, 20, 40), r);
  r.DeflateRect(1, 2);
  EXPECT_EQ(CRect(1, 2, 19, 38), r);
  r.InflateRect(1, 2, 3, 4);
  EXPECT_EQ(CRect(0, 0, 22, 42), r);
  r.TopLeft() += CSize(5, 5);
  EXPECT_EQ(CPoint(5, 5), r.TopLeft());
  EXPECT_EQ(CRect(6, 6, 23, 43), r + CPoint(1, 1));

  CRect flipped(10, 10, 0, 0);
  EXPECT_TRUE(flipped.IsRectEmpty());
  flipped.NormalizeRect();
  EXPECT_EQ(CRect(0, 0, 10, 10), flipped);
  EXPECT_EQ(CRect(5, 5, 10, 10), flipped & CRect(5, 5, 20, 20));
  EXPECT_EQ(CRect(0, 0, 20, 20), flipped | CRect(5, 5, 20, 20));

  CRect zero;
  EXPECT_TRUE(zero.IsRectNull());
  EXPECT_TRUE(zero.IsRectEmpty());
  EXPECT_FALSE(CRect(0, 0, 0, 1).IsRectNull());
  EXPECT_EQ(CPoint(-3, 7), CPoint(MAKELPARAM(-3, 7)));  // signed mouse coordinates
}

}  // namespace
