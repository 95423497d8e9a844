// Points, sizes and rectangles: the Win32 rectangle functions and the class
// wrappers over POINT, SIZE and RECT. A rectangle excludes its right and
// bottom edges; it is empty when it has no width or no height.
#pragma once

#include "Types.h"

PLATFORM_API BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom);
PLATFORM_API BOOL SetRectEmpty(LPRECT lprc);
PLATFORM_API BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc);
PLATFORM_API BOOL OffsetRect(LPRECT lprc, int dx, int dy);
PLATFORM_API BOOL InflateRect(LPRECT lprc, int dx, int dy);
PLATFORM_API BOOL IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
PLATFORM_API BOOL UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
PLATFORM_API BOOL SubtractRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
PLATFORM_API BOOL EqualRect(const RECT* lprc1, const RECT* lprc2);
PLATFORM_API BOOL IsRectEmpty(const RECT* lprc);
PLATFORM_API BOOL PtInRect(const RECT* lprc, POINT pt);

class CPoint;
class CRect;

class CSize : public SIZE {
 public:
  CSize() : SIZE{0, 0} {}
  CSize(int initCX, int initCY) : SIZE{initCX, initCY} {}
  CSize(SIZE initSize) : SIZE(initSize) {}
  explicit CSize(POINT initPt) : SIZE{initPt.x, initPt.y} {}
  explicit CSize(DWORD dwSize) : SIZE{(short)LOWORD(dwSize), (short)HIWORD(dwSize)} {}

  BOOL operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
  BOOL operator!=(SIZE size) const { return !(*this == size); }
  void operator+=(SIZE size) { cx += size.cx; cy += size.cy; }
  void operator-=(SIZE size) { cx -= size.cx; cy -= size.cy; }
  void SetSize(int CX, int CY) { cx = CX; cy = CY; }
  CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
  CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
  inline CPoint operator+(POINT point) const;
  inline CPoint operator-(POINT point) const;
  inline CRect operator+(const RECT* lpRect) const;
  inline CRect operator-(const RECT* lpRect) const;
};

class CPoint : public POINT {
 public:
  CPoint() : POINT{0, 0} {}
  CPoint(int initX, int initY) : POINT{initX, initY} {}
  CPoint(POINT initPt) : POINT(initPt) {}
  explicit CPoint(SIZE initSize) : POINT{initSize.cx, initSize.cy} {}
  // The point packed as lParam of a mouse message: signed x low, y high.
  explicit CPoint(LPARAM dwPoint) : POINT{GET_X_LPARAM(dwPoint), GET_Y_LPARAM(dwPoint)} {}

  void Offset(int xOffset, int yOffset) { x += xOffset; y += yOffset; }
  void Offset(POINT point) { Offset(point.x, point.y); }
  void Offset(SIZE size) { Offset(size.cx, size.cy); }
  void SetPoint(int X, int Y) { x = X; y = Y; }

  BOOL operator==(POINT point) const { return x == point.x && y == point.y; }
  BOOL operator!=(POINT point) const { return !(*this == point); }
  void operator+=(SIZE size) { Offset(size); }
  void operator-=(SIZE size) { Offset(-size.cx, -size.cy); }
  void operator+=(POINT point) { Offset(point); }
  void operator-=(POINT point) { Offset(-point.x, -point.y); }
  CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
  CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
  CPoint operator-() const { return CPoint(-x, -y); }
  CPoint operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }
  CSize operator-(POINT point) const { return CSize(x - point.x, y - point.y); }
  inline CRect operator+(const RECT* lpRect) const;
  inline CRect operator-(const RECT* lpRect) const;
};

class CRect : public RECT {
 public:
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  CRect(const RECT& srcRect) : RECT(srcRect) {}
  CRect(const RECT* lpSrcRect) : RECT(lpSrcRect ? *lpSrcRect : RECT{0, 0, 0, 0}) {}
  CRect(POINT point, SIZE size) : RECT{point.x, point.y, point.x + size.cx, point.y + size.cy} {}
  CRect(POINT topLeft, POINT bottomRight) : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
  CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
  const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
  const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  void SwapLeftRight() { LONG t = left; left = right; right = t; }

  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }

  BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
  BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
  BOOL PtInRect(POINT point) const { return ::PtInRect(this, point); }

  void SetRect(int x1, int y1, int x2, int y2) { ::SetRect(this, x1, y1, x2, y2); }
  void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
  void SetRectEmpty() { ::SetRectEmpty(this); }
  void CopyRect(LPCRECT lpSrcRect) { ::CopyRect(this, lpSrcRect); }
  BOOL EqualRect(LPCRECT lpRect) const { return ::EqualRect(this, lpRect); }

  void InflateRect(int x, int y) { ::InflateRect(this, x, y); }
  void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
  void InflateRect(LPCRECT lpRect) { InflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
  void DeflateRect(int x, int y) { ::InflateRect(this, -x, -y); }
  void DeflateRect(SIZE size) { DeflateRect(size.cx, size.cy); }
  void DeflateRect(LPCRECT lpRect) { DeflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  void DeflateRect(int l, int t, int r, int b) { left += l; top += t; right -= r; bottom -= b; }

  void OffsetRect(int x, int y) { ::OffsetRect(this, x, y); }
  void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
  void OffsetRect(POINT point) { OffsetRect(point.x, point.y); }
  void MoveToY(int y) { bottom = Height() + y; top = y; }
  void MoveToX(int x) { right = Width() + x; left = x; }
  void MoveToXY(int x, int y) { MoveToX(x); MoveToY(y); }
  void MoveToXY(POINT point) { MoveToXY(point.x, point.y); }
  void NormalizeRect() {
    if (left > right) SwapLeftRight();
    if (top > bottom) { LONG t = top; top = bottom; bottom = t; }
  }

  BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) { return ::IntersectRect(this, lpRect1, lpRect2); }
  BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) { return ::UnionRect(this, lpRect1, lpRect2); }
  BOOL SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2) { return ::SubtractRect(this, lpRectSrc1, lpRectSrc2); }

  CRect& operator=(const RECT& srcRect) { ::CopyRect(this, &srcRect); return *this; }
  BOOL operator==(const RECT& rect) const { return ::EqualRect(this, &rect); }
  BOOL operator!=(const RECT& rect) const { return !::EqualRect(this, &rect); }
  void operator+=(POINT point) { OffsetRect(point); }
  void operator+=(SIZE size) { OffsetRect(size); }
  void operator+=(LPCRECT lpRect) { InflateRect(lpRect); }
  void operator-=(POINT point) { OffsetRect(-point.x, -point.y); }
  void operator-=(SIZE size) { OffsetRect(-size.cx, -size.cy); }
  void operator-=(LPCRECT lpRect) { DeflateRect(lpRect); }
  void operator&=(const RECT& rect) { ::IntersectRect(this, this, &rect); }
  void operator|=(const RECT& rect) { ::UnionRect(this, this, &rect); }
  CRect operator+(POINT pt) const { CRect r(*this); r.OffsetRect(pt); return r; }
  CRect operator-(POINT pt) const { CRect r(*this); r.OffsetRect(-pt.x, -pt.y); return r; }
  CRect operator+(SIZE size) const { CRect r(*this); r.OffsetRect(size); return r; }
  CRect operator-(SIZE size) const { CRect r(*this); r.OffsetRect(-size.cx, -size.cy); return r; }
  CRect operator+(LPCRECT lpRect) const { CRect r(*this); r.InflateRect(lpRect); return r; }
  CRect operator-(LPCRECT lpRect) const { CRect r(*this); r.DeflateRect(lpRect); return r; }
  CRect operator&(const RECT& rect2) const { CRect r; ::IntersectRect(&r, this, &rect2); return r; }
  CRect operator|(const RECT& rect2) const { CRect r; ::UnionRect(&r, this, &rect2); return r; }
};

inline CPoint CSize::operator+(POINT point) const { return CPoint(cx + point.x, cy + point.y); }
inline CPoint CSize::operator-(POINT point) const { return CPoint(cx - point.x, cy - point.y); }
inline CRect CSize::operator+(const RECT* lpRect) const { return CRect(lpRect) + *this; }
inline CRect CSize::operator-(const RECT* lpRect) const { return CRect(lpRect) - *this; }
inline CRect CPoint::operator+(const RECT* lpRect) const { return CRect(lpRect) + *this; }
inline CRect CPoint::operator-(const RECT* lpRect) const { return CRect(lpRect) - *this; }
