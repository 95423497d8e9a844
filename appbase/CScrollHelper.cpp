#include "CScrollHelper.h"

#include <algorithm>

namespace {

const int kLineStep = 60;

}  // namespace

void CScrollHelper::SetDisplaySize(int width, int height) {
  m_displaySize = CSize(width, height);
  if (::IsWindow(Hwnd())) UpdateScrollInfo();
}

void CScrollHelper::OnSize(UINT, int, int) { UpdateScrollInfo(); }

void CScrollHelper::UpdateScrollInfo() {
  HWND hwnd = Hwnd();
  if (!::IsWindow(hwnd)) return;
  // The client area as it would be without scroll bars, where the window has room for them.
  RECT client, window;
  ::GetClientRect(hwnd, &client);
  ::GetWindowRect(hwnd, &window);
  POINT origin{0, 0};
  ::ClientToScreen(hwnd, &origin);
  int width = client.right, height = client.bottom;
  int barWidth = ::GetSystemMetrics(SM_CXVSCROLL), barHeight = ::GetSystemMetrics(SM_CYHSCROLL);
  if (origin.x + width + barWidth <= window.right) width += barWidth;
  if (origin.y + height + barHeight <= window.bottom) height += barHeight;

  int oldX = ::GetScrollPos(hwnd, SB_HORZ), oldY = ::GetScrollPos(hwnd, SB_VERT);
  int newX = UpdateBar(SB_HORZ, width, m_displaySize.cx, m_pageSize.cx, m_scrollPos.cx);
  int newY = UpdateBar(SB_VERT, height, m_displaySize.cy, m_pageSize.cy, m_scrollPos.cy);
  if (oldX != newX || oldY != newY) ::ScrollWindow(hwnd, oldX - newX, oldY - newY, nullptr, nullptr);
}

int CScrollHelper::UpdateBar(int bar, int clientExtent, int displayExtent, LONG& page, LONG& position) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (clientExtent < displayExtent) {
    info.nMin = 0;
    info.nMax = displayExtent - 1;
    // Keep the same part of the contents in view when the page changes size.
    if (position > 0 && page > 0) {
      position = static_cast<LONG>(static_cast<double>(position) * clientExtent / page);
    }
    page = clientExtent;
    position = std::min<LONG>(position, displayExtent - clientExtent - 1);
  } else {
    page = 0;
    position = 0;
  }
  info.nPage = static_cast<UINT>(page);
  info.nPos = position;
  ::SetScrollInfo(Hwnd(), bar, &info, TRUE);
  return position;
}

void CScrollHelper::OnVScroll(UINT code, UINT, CScrollBar*) {
  HWND hwnd = Hwnd();
  if (!::IsWindow(hwnd)) return;
  int old = m_scrollPos.cy, wanted;
  switch (code) {
    case SB_LINEUP: wanted = old - kLineStep; break;
    case SB_LINEDOWN: wanted = old + kLineStep; break;
    case SB_PAGEUP: wanted = old - m_pageSize.cy; break;
    case SB_PAGEDOWN: wanted = old + m_pageSize.cy; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      ::GetScrollInfo(hwnd, SB_VERT, &info);
      wanted = info.nTrackPos;
      break;
    }
    default:
      return;
  }
  wanted = std::max(0, std::min<int>(wanted, m_displaySize.cy - m_pageSize.cy));
  if (wanted == old) return;
  m_scrollPos.cy = wanted;
  ::SetScrollPos(hwnd, SB_VERT, wanted, TRUE);
  ::ScrollWindow(hwnd, 0, old - wanted, nullptr, nullptr);
}
