#include "Controls.h"

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT*) {
  if (!IsWindow(hwnd)) return FALSE;
  // Children move only when the whole client area scrolls.
  if (!scroll) {
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT r;
      GetWindowRect(child, &r);
      POINT at{r.left, r.top};
      ScreenToClient(hwnd, &at);
      SetWindowPos(child, nullptr, at.x + dx, at.y + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  InvalidateRect(hwnd, scroll, TRUE);
  return TRUE;
}
