// A striped parent window for the skinned controls: vertical stripes of 'A'
// and 'B' three pixels wide on its background, and the static colours it
// hands its children (text colour and brush) chosen by the test. Pixels are
// read back from the window surface as skin_fixture letters.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "TestKit.h"
#include "afxwin.h"
#include "skin_fixture.h"

namespace skintest {

const int kStripe = 3;

inline char StripeAt(int parentX) { return (parentX / kStripe) % 2 ? 'B' : 'A'; }

// 0x00RRGGBB from the surface as a COLORREF.
inline COLORREF PixelOf(HWND hwnd, int x, int y) {
  const uint32_t p = testkit::WindowPixel(hwnd, x, y);
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}
inline char LetterAt(HWND hwnd, int x, int y) { return LetterOf(PixelOf(hwnd, x, y)); }

// How many pixels of the window's client area have exactly this colour.
inline int CountColor(CWnd& wnd, COLORREF color) {
  CRect r;
  wnd.GetClientRect(&r);
  int n = 0;
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) n += PixelOf(wnd.m_hWnd, x, y) == color;
  return n;
}

class StripedParent : public CWnd {
 public:
  COLORREF textColor = RGB(0, 0, 128);  // 'I'
  HBRUSH brush = static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
  std::vector<MSG> commands;  // every WM_COMMAND: hwnd from lParam, and wParam

  bool Make(int w = 240, int h = 160) {
    return CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE, CRect(50, 50, 50 + w, 50 + h), nullptr,
                    0) != FALSE;
  }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_ERASEBKGND: {
        CRect r;
        GetClientRect(&r);
        CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        for (int x = 0; x < r.right; x += kStripe) dc->FillSolidRect(x, 0, kStripe, r.bottom, ColorOf(StripeAt(x)));
        return TRUE;
      }
      case WM_CTLCOLORSTATIC:
        ::SetTextColor(reinterpret_cast<HDC>(wParam), textColor);
        return reinterpret_cast<LRESULT>(brush);
      case WM_COMMAND: {
        MSG m{};
        m.hwnd = reinterpret_cast<HWND>(lParam);
        m.wParam = wParam;
        commands.push_back(m);
        return 0;
      }
    }
    return CWnd::WindowProc(msg, wParam, lParam);
  }
};

}  // namespace skintest
