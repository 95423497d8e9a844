// Scrolls a window's contents with its own scroll bars, for contents larger
// than the window. The owner forwards WM_SIZE and WM_VSCROLL; the helper keeps
// the bars' range, page and position and moves the contents by the difference
// each time. The window stays the owner's; the helper only refers to it.
#pragma once

#include "afxwin.h"

class CScrollHelper {
 public:
  CScrollHelper() = default;

  void AttachWnd(CWnd* wnd) { m_pWnd = wnd; }
  void DetachWnd() { m_pWnd = nullptr; }

  CSize GetPageSize() const { return m_pageSize; }
  CSize GetDisplaySize() const { return m_displaySize; }
  CSize GetScrollPos() const { return m_scrollPos; }

  void SetDisplaySize(int width, int height);
  void OnSize(UINT type, int cx, int cy);
  void OnVScroll(UINT code, UINT pos, CScrollBar* scrollBar);
  void UpdateScrollInfo();

 private:
  // One bar's new page and position for this client extent; returns the new position.
  int UpdateBar(int bar, int clientExtent, int displayExtent, LONG& page, LONG& position);
  HWND Hwnd() const { return m_pWnd ? m_pWnd->GetSafeHwnd() : nullptr; }

  CWnd* m_pWnd = nullptr;
  CSize m_pageSize{0, 0};
  CSize m_displaySize{0, 0};
  CSize m_scrollPos{0, 0};
};
