// Scrolling a window's client area: the pixels already drawn move, the strip
// they uncover is left for the next WM_PAINT, and children move along when
// asked to.

#include <vector>

#include "Gdi.h"
#include "WinUser.h"

namespace {

// Copies `to` from the same-sized rectangle `dx`,`dy` away, through a
// bitmap so that overlapping source and destination cannot smear.
void MovePixels(HWND hwnd, const RECT& to, int dx, int dy) {
  int width = to.right - to.left, height = to.bottom - to.top;
  HDC hdc = GetDC(hwnd);
  if (!hdc) return;
  HDC mem = CreateCompatibleDC(hdc);
  HBITMAP bits = CreateCompatibleBitmap(hdc, width, height);
  HGDIOBJ old = SelectObject(mem, bits);
  BitBlt(mem, 0, 0, width, height, hdc, to.left - dx, to.top - dy, SRCCOPY);
  BitBlt(hdc, to.left, to.top, width, height, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bits);
  DeleteDC(mem);
  ReleaseDC(hwnd, hdc);
}

// Parts of the window already waiting to be painted move with the pixels.
void MovePendingUpdate(HWND hwnd, const RECT& area, int dx, int dy, bool erase) {
  HRGN pending = CreateRectRgn(0, 0, 0, 0);
  if (GetUpdateRgn(hwnd, pending, FALSE) > NULLREGION) {
    HRGN within = CreateRectRgnIndirect(&area);
    CombineRgn(pending, pending, within, RGN_AND);
    OffsetRgn(pending, dx, dy);
    CombineRgn(pending, pending, within, RGN_AND);
    InvalidateRgn(hwnd, pending, erase);
    DeleteObject(within);
  }
  DeleteObject(pending);
}

void MoveChildren(HWND hwnd, const RECT* scroll, int dx, int dy) {
  std::vector<HWND> children;
  for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  for (HWND c : children) {
    RECT rc, common;
    GetWindowRect(c, &rc);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rc), 2);
    if (scroll && !IntersectRect(&common, &rc, scroll)) continue;
    // The parent's pixels under the child moved with it; only the child repaints.
    SetWindowPos(c, nullptr, rc.left + dx, rc.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    InvalidateRect(c, nullptr, TRUE);
  }
}

}  // namespace

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRgn,
                   LPRECT updateRect, UINT flags) {
  if (!IsWindow(hwnd)) return ERROR;
  RECT client, area;
  GetClientRect(hwnd, &client);
  IntersectRect(&area, scroll ? scroll : &client, &client);
  if (clip) IntersectRect(&area, &area, clip);
  RECT shifted = area, kept{};
  OffsetRect(&shifted, dx, dy);
  IntersectRect(&kept, &area, &shifted);

  if (IsWindowVisible(hwnd) && !IsRectEmpty(&kept)) MovePixels(hwnd, kept, dx, dy);
  bool erase = (flags & SW_ERASE) != 0;
  if (flags & SW_INVALIDATE) MovePendingUpdate(hwnd, area, dx, dy, erase);

  HRGN uncovered = CreateRectRgnIndirect(&area);
  HRGN moved = CreateRectRgnIndirect(&kept);
  int kind = CombineRgn(uncovered, uncovered, moved, RGN_DIFF);
  DeleteObject(moved);
  if (flags & SW_INVALIDATE) InvalidateRgn(hwnd, uncovered, erase);
  if (updateRgn) CombineRgn(updateRgn, uncovered, nullptr, RGN_COPY);
  if (updateRect) GetRgnBox(uncovered, updateRect);
  DeleteObject(uncovered);

  if (flags & SW_SCROLLCHILDREN) MoveChildren(hwnd, scroll, dx, dy);
  return kind;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
  UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN);
  return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr, flags) != ERROR;
}
