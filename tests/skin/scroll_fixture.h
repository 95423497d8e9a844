// A test skin for the scroll bars, lists and header: solid 9x9 images whose
// colours tell which image was drawn, and a page that records the scroll
// messages its children send and can answer them as a real parent would.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "CommCtrl.h"
#include "RTComboBox.h"
#include "RTHeaderCtrl.h"
#include "RTListCtrl.h"
#include "RTScrollBar.h"
#include "SkinDraw.h"
#include "TestKit.h"
#include "skin_fixture.h"

namespace skintest {

// One section's five images, each one solid letter, all stretched.
class SolidSet {
 public:
  explicit SolidSet(const char letters[5]) {
    for (int i = 0; i < 5; ++i) {
      m_bitmaps[i].Attach(MakeBitmap({std::string(1, letters[i])}, 9, 9));
      m_images[i] = &m_bitmaps[i];
      m_modes[i] = kSkinStretch;
    }
  }
  CBitmap* const* images() const { return m_images; }
  const int32_t* modes() const { return m_modes; }

 private:
  CBitmap m_bitmaps[5];
  CBitmap* m_images[5] = {};
  int32_t m_modes[5] = {};
};

// Track: Back 'A', thumb Normal 'B', Down 'C', Disable 'G'; arrows: Normal
// 'D', Down 'E', Disable 'H'; header: Back 'W', Normal 'B', Focus 'F', Down 'C'.
class ScrollSkin {
 public:
  ScrollSkin() : m_track("ABICG"), m_arrow("WDIEH"), m_header("WBFCG") {
    CRTScrollBar::SetHorizontalImages(m_track.images(), m_track.modes());
    CRTScrollBar::SetVerticalImages(m_track.images(), m_track.modes());
    CRTScrollBar::SetLeftArrowImages(m_arrow.images(), m_arrow.modes());
    CRTScrollBar::SetRightArrowImages(m_arrow.images(), m_arrow.modes());
    CRTScrollBar::SetUpArrowImages(m_arrow.images(), m_arrow.modes());
    CRTScrollBar::SetDownArrowImages(m_arrow.images(), m_arrow.modes());
    CRTHeaderCtrl::SetSkinImages(m_header.images(), m_header.modes());
    CRTScrollBar::SetSkinEnabled(1);
    CRTHeaderCtrl::SetSkinEnabled(1);
    CRTListCtrl::SetSkinEnabled(1);
  }
  ~ScrollSkin() {
    CBitmap* none[5] = {};
    const int32_t modes[5] = {};
    for (auto set : {&CRTScrollBar::SetHorizontalImages, &CRTScrollBar::SetVerticalImages,
                     &CRTScrollBar::SetLeftArrowImages, &CRTScrollBar::SetRightArrowImages,
                     &CRTScrollBar::SetUpArrowImages, &CRTScrollBar::SetDownArrowImages})
      set(none, modes);
    CRTHeaderCtrl::SetSkinImages(none, modes);
    CRTComboBox::SetImages(none, modes);
    CRTScrollBar::SetSkinEnabled(0);
    CRTHeaderCtrl::SetSkinEnabled(0);
    CRTListCtrl::SetSkinEnabled(0);
  }

 private:
  SolidSet m_track, m_arrow, m_header;
};

struct ScrollMessage {
  UINT msg;
  int code;
  int pos;
};

// A page that records WM_VSCROLL/WM_HSCROLL and every WM_NOTIFY and
// WM_COMMAND code; `onScroll` may answer a scroll message.
class RecordingPage : public CWnd {
 public:
  std::vector<ScrollMessage> scrolls;
  std::vector<UINT> notifications;  // WM_NOTIFY codes
  std::vector<UINT> commands;       // WM_COMMAND notification codes
  std::vector<UINT> userMessages;   // messages above WM_USER
  std::function<void(const ScrollMessage&)> onScroll;
  std::function<void(UINT code, HWND from)> onCommand;  // a control's notification, as it comes

  bool Make(const CRect& rect = CRect(50, 50, 450, 400)) {
    return CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), "page",
                    WS_POPUP | WS_VISIBLE, rect, nullptr, 0) != FALSE;
  }
  int Count(int code) const {
    int n = 0;
    for (const ScrollMessage& m : scrolls) n += m.code == code;
    return n;
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_VSCROLL || message == WM_HSCROLL) {
      ScrollMessage m{message, LOWORD(wParam), static_cast<short>(HIWORD(wParam))};
      scrolls.push_back(m);
      if (onScroll) onScroll(m);
      return 0;
    }
    if (message == WM_NOTIFY && lParam) notifications.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
    if (message == WM_COMMAND && lParam) {
      commands.push_back(HIWORD(wParam));
      if (onCommand) onCommand(HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    }
    if (message > WM_USER && message < 0x8000) userMessages.push_back(message);
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// The letter of a window pixel (window coordinates).
inline char PixelLetter(HWND hwnd, int x, int y) {
  const uint32_t rgb = testkit::WindowPixel(hwnd, x, y);
  return LetterOf(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
}

inline CPoint OnScreen(const CWnd& wnd, CPoint client) {
  wnd.ClientToScreen(&client);
  return client;
}

inline void Press(const CWnd& wnd, CPoint client) {
  testkit::MouseMove(OnScreen(wnd, client));
  testkit::MouseDown(OnScreen(wnd, client));
  testkit::PumpPending();
}
inline void Release(const CWnd& wnd, CPoint client) {
  testkit::MouseUp(OnScreen(wnd, client));
  testkit::PumpPending();
}
inline void Drag(const CWnd& wnd, CPoint client) {
  testkit::MouseMove(OnScreen(wnd, client));
  testkit::PumpPending();
}
// Lets `ms` of platform time pass in steps of 100 ms, handling the timers.
inline void Wait(int ms) {
  for (int t = 0; t < ms; t += 100) {
    testkit::AdvanceClock(100);
    testkit::PumpPending();
  }
}

}  // namespace skintest
