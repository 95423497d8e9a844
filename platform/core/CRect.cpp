#include "CRect.h"

#include <algorithm>

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
  if (!lprc) return FALSE;
  *lprc = RECT{xLeft, yTop, xRight, yBottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT lprc) { return SetRect(lprc, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc) {
  if (!lprcDst || !lprcSrc) return FALSE;
  *lprcDst = *lprcSrc;
  return TRUE;
}

BOOL OffsetRect(LPRECT lprc, int dx, int dy) {
  if (!lprc) return FALSE;
  lprc->left += dx;
  lprc->right += dx;
  lprc->top += dy;
  lprc->bottom += dy;
  return TRUE;
}

BOOL InflateRect(LPRECT lprc, int dx, int dy) {
  if (!lprc) return FALSE;
  lprc->left -= dx;
  lprc->right += dx;
  lprc->top -= dy;
  lprc->bottom += dy;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* lprc) {
  return !lprc || lprc->right <= lprc->left || lprc->bottom <= lprc->top;
}

BOOL PtInRect(const RECT* lprc, POINT pt) {
  return lprc && pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
  return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
  if (!lprcDst || !lprcSrc1 || !lprcSrc2) return FALSE;
  RECT r{std::max(lprcSrc1->left, lprcSrc2->left), std::max(lprcSrc1->top, lprcSrc2->top),
         std::min(lprcSrc1->right, lprcSrc2->right), std::min(lprcSrc1->bottom, lprcSrc2->bottom)};
  if (IsRectEmpty(lprcSrc1) || IsRectEmpty(lprcSrc2) || IsRectEmpty(&r)) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  *lprcDst = r;
  return TRUE;
}

BOOL UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
  if (!lprcDst || !lprcSrc1 || !lprcSrc2) return FALSE;
  const bool empty1 = IsRectEmpty(lprcSrc1), empty2 = IsRectEmpty(lprcSrc2);
  if (empty1 && empty2) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  if (empty1) return CopyRect(lprcDst, lprcSrc2);
  if (empty2) return CopyRect(lprcDst, lprcSrc1);
  RECT r{std::min(lprcSrc1->left, lprcSrc2->left), std::min(lprcSrc1->top, lprcSrc2->top),
         std::max(lprcSrc1->right, lprcSrc2->right), std::max(lprcSrc1->bottom, lprcSrc2->bottom)};
  *lprcDst = r;
  return TRUE;
}

// The result is the first rectangle less the second only when that leaves a
// rectangle, i.e. the second covers a whole side; otherwise the first unchanged.
BOOL SubtractRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
  if (!lprcDst || !lprcSrc1 || !lprcSrc2) return FALSE;
  RECT r = *lprcSrc1;
  RECT cut;
  if (IntersectRect(&cut, lprcSrc1, lprcSrc2)) {
    if (cut.left == r.left && cut.right == r.right) {
      if (cut.top == r.top && cut.bottom == r.bottom) {
        r = RECT{0, 0, 0, 0};
      } else if (cut.top == r.top) {
        r.top = cut.bottom;
      } else if (cut.bottom == r.bottom) {
        r.bottom = cut.top;
      }
    } else if (cut.top == r.top && cut.bottom == r.bottom) {
      if (cut.left == r.left) {
        r.left = cut.right;
      } else if (cut.right == r.right) {
        r.right = cut.left;
      }
    }
  }
  if (IsRectEmpty(&r)) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  *lprcDst = r;
  return TRUE;
}
