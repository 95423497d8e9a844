// The class layer's GDI wrappers: ownership, the handle maps and the members
// with behaviour of their own (FillSolidRect, Draw3dRect, CreatePointFont).
#include "afxwin.h"
#include "gdi_fixture.h"

namespace {

const COLORREF W = RGB(255, 255, 255);

TEST(GdiWrappers, Draw3dRectDrawsOneRingAndFillSolidRectKeepsItsColour) {
  MemCanvas cv(6, 5);
  CDC* dc = CDC::FromHandle(cv.dc);
  ASSERT_TRUE(dc);
  EXPECT_EQ(CDC::FromHandle(cv.dc), dc);  // one temporary wrapper per handle
  const COLORREF tl = RGB(1, 1, 1), br = RGB(2, 2, 2);
  dc->Draw3dRect(0, 0, 6, 5, tl, br);
  EXPECT_EQ(cv.Rows(tl), Picture({"#####.", "#.....", "#.....", "#.....", "......"}));
  EXPECT_EQ(cv.Rows(br), Picture({".....#", ".....#", ".....#", ".....#", "######"}));
  EXPECT_EQ(cv.At(2, 2), W);
  // FillSolidRect paints through the background colour and leaves it set.
  dc->FillSolidRect(1, 1, 2, 2, RGB(9, 9, 9));
  EXPECT_EQ(dc->GetBkColor(), RGB(9, 9, 9));
  EXPECT_EQ(cv.At(2, 2), RGB(9, 9, 9));
}

TEST(GdiWrappers, ObjectsOwnTheirHandlesAndSelectionReturnsWrappers) {
  MemCanvas cv(4, 4);
  CDC* dc = CDC::FromHandle(cv.dc);
  HGDIOBJ handle;
  {
    CBrush brush(RGB(10, 20, 30));
    handle = brush.GetSafeHandle();
    ASSERT_TRUE(handle);
    EXPECT_EQ(CGdiObject::FromHandle(handle), &brush);  // the permanent object
    CBrush* old = dc->SelectObject(&brush);
    ASSERT_TRUE(old);
    EXPECT_TRUE(old->IsKindOf(RUNTIME_CLASS(CBrush)));
    dc->PatBlt(0, 0, 4, 4, PATCOPY);
    EXPECT_EQ(dc->SelectObject(old), &brush);
  }
  EXPECT_EQ(GetObjectType(handle), 0u);  // the destructor deleted it
  EXPECT_EQ(cv.At(3, 3), RGB(10, 20, 30));

  CPen* stockPen = CPen::FromHandle(static_cast<HPEN>(GetStockObject(BLACK_PEN)));
  LOGPEN lp;
  ASSERT_TRUE(stockPen->GetLogPen(&lp));
  EXPECT_EQ(lp.lopnColor, RGB(0, 0, 0));
  HBRUSH loose = CreateSolidBrush(RGB(1, 2, 3));
  CBrush* temp = CBrush::FromHandle(loose);
  ASSERT_TRUE(temp);
  DeleteObject(loose);  // the temporary wrapper goes with its handle
  EXPECT_EQ(CGdiObject::FromHandle(loose), nullptr);
}

TEST(GdiWrappers, FontsRegionsBitmapsAndImageLists) {
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(80, "MS Sans Serif"));  // 8 points at 96 dpi
  LOGFONT lf;
  font.GetLogFont(&lf);
  EXPECT_EQ(lf.lfHeight, -10);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");

  CRgn a, b;
  a.CreateRectRgn(0, 0, 10, 10);
  b.CreateRectRgn(5, 5, 20, 20);
  EXPECT_EQ(a.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
  CRect box;
  a.GetRgnBox(&box);
  EXPECT_EQ(box, CRect(0, 0, 20, 20));

  CDC mem;
  ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
  CDC* screen = CDC::FromHandle(PlatformScreenDC());
  CBitmap bm;
  ASSERT_TRUE(bm.CreateCompatibleBitmap(screen, 8, 4));
  CBitmap* old = mem.SelectObject(&bm);
  mem.FillSolidRect(0, 0, 8, 4, RGB(255, 0, 255));
  mem.SetPixel(1, 1, RGB(0, 0, 200));
  mem.SelectObject(old);
  CImageList il;
  ASSERT_TRUE(il.Create(4, 4, ILC_COLOR32 | ILC_MASK, 2, 0));
  EXPECT_EQ(il.Add(&bm, RGB(255, 0, 255)), 0);
  EXPECT_EQ(il.GetImageCount(), 2);
  MemCanvas cv(4, 4);
  EXPECT_TRUE(il.Draw(CDC::FromHandle(cv.dc), 0, CPoint(0, 0), ILD_TRANSPARENT));
  EXPECT_EQ(cv.At(1, 1), RGB(0, 0, 200));
  EXPECT_EQ(cv.At(0, 0), W);
  DeleteDC(screen->Detach());
}

}  // namespace
