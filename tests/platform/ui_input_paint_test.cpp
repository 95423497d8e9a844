// Input routing (hit testing, capture, focus, the non-client area) and the
// paint cycle.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui_fixture.h"

namespace {

using UiInput = UiFixture;

TEST_F(UiInput, ClicksGoToTheWindowUnderTheMouseSkippingTransparentAndDisabledChildren) {
  HWND top = Make(WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
  HWND button = Make(WS_CHILD | WS_VISIBLE, RECT{10, 10, 60, 30}, top, 1);
  HWND label = Make(WS_CHILD | WS_VISIBLE, RECT{10, 50, 60, 70}, top, 2);
  HWND off = Make(WS_CHILD | WS_VISIBLE | WS_DISABLED, RECT{10, 90, 60, 110}, top, 3);
  Of(label).fn = [](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
    return msg == WM_NCHITTEST ? HTTRANSPARENT : kDefault;  // as statics and group boxes do
  };
  std::vector<std::pair<HWND, POINT>> downs;
  for (HWND w : {top, button, label, off}) {
    Of(w).fn = [&, prev = Of(w).fn](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
      if (msg == WM_LBUTTONDOWN) downs.emplace_back(h, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return prev ? prev(h, msg, wp, lp) : kDefault;
    };
  }
  struct Case {
    POINT screen;
    HWND target;
    POINT client;
  };
  const Case cases[] = {
      {{115, 115}, button, {5, 5}},
      {{115, 155}, top, {15, 55}},   // through the transparent label
      {{115, 195}, top, {15, 95}},   // a disabled control takes nothing
      {{250, 250}, top, {150, 150}},
  };
  for (const Case& k : cases) {
    downs.clear();
    testkit::MouseDown(k.screen);
    testkit::MouseUp(k.screen);
    testkit::PumpPending();
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].first, k.target);
    EXPECT_EQ(downs[0].second.x, k.client.x);
    EXPECT_EQ(downs[0].second.y, k.client.y);
  }
  EXPECT_EQ(WindowFromPoint(POINT{115, 155}), top);
  EXPECT_EQ(WindowFromPoint(POINT{5, 5}), nullptr);
}

TEST_F(UiInput, CaptureGetsAllMouseInputAsClientMessagesWithNegativeCoordinates) {
  HWND a = Make(WS_POPUP | WS_VISIBLE, RECT{200, 200, 300, 300});
  HWND b = Make(WS_POPUP | WS_VISIBLE, RECT{400, 400, 500, 500});
  std::vector<MSG> seen;
  for (HWND w : {a, b}) {
    Of(w).fn = [&](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
      if ((msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK) ||
          msg == WM_CAPTURECHANGED)
        seen.push_back(MSG{h, msg, wp, lp, 0, {}});
      return kDefault;
    };
  }
  SetCapture(a);
  testkit::MouseMove(POINT{150, 120});
  testkit::MouseDown(POINT{450, 450});  // over b, still a's
  testkit::MouseUp(POINT{450, 450});
  testkit::PumpPending();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].hwnd, a);
  EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(GET_X_LPARAM(seen[0].lParam), -50);
  EXPECT_EQ(GET_Y_LPARAM(seen[0].lParam), -80);
  EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(seen[1].hwnd, a);
  EXPECT_EQ(GET_X_LPARAM(seen[1].lParam), 250);
  seen.clear();
  ReleaseCapture();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_CAPTURECHANGED));
  seen.clear();
  testkit::MouseDown(POINT{450, 450});
  testkit::PumpPending();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().hwnd, b);
}

TEST_F(UiInput, DoubleClicksNeedTheClassStyleAndComeWithinTheDoubleClickTime) {
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = HandlerProc;
  wc.lpszClassName = "UiTestDoubleClicks";
  RegisterClassA(&wc);
  for (bool dbl : {true, false}) {
    handlers.push_back(std::make_unique<Handler>());
    HWND w = CreateWindowExA(0, dbl ? "UiTestDoubleClicks" : "UiTestHandler", "", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                             50, nullptr, nullptr, nullptr, nullptr);
    SetPropA(w, "handler", handlers.back().get());
    std::vector<UINT> seen;
    Of(w).fn = [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
      if (msg >= WM_LBUTTONDOWN && msg <= WM_LBUTTONDBLCLK) seen.push_back(msg);
      return kDefault;
    };
    testkit::Click(w, POINT{10, 10});
    testkit::Click(w, POINT{11, 10});
    testkit::PumpPending();
    testkit::AdvanceClock(GetDoubleClickTime() + 1);
    testkit::Click(w, POINT{10, 10});  // too late to pair with the second click
    testkit::PumpPending();
    std::vector<UINT> expected = {WM_LBUTTONDOWN, WM_LBUTTONUP, static_cast<UINT>(dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN),
                                  WM_LBUTTONUP,   WM_LBUTTONDOWN, WM_LBUTTONUP};
    EXPECT_EQ(seen, expected);
    DestroyWindow(w);
  }
}

TEST_F(UiInput, FocusMovesWithKillFocusBeforeSetFocusAndKeysGoToIt) {
  HWND top = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
  HWND a = Make(WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 20}, top, 1);
  HWND b = Make(WS_CHILD | WS_VISIBLE, RECT{0, 30, 50, 50}, top, 2);
  std::vector<std::pair<HWND, UINT>> seen;
  std::string typed;
  for (HWND w : {a, b}) {
    Of(w).fn = [&](HWND h, UINT msg, WPARAM wp, LPARAM) -> LRESULT {
      if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) seen.emplace_back(h, msg);
      if (msg == WM_CHAR) typed += static_cast<char>(wp);
      return kDefault;
    };
  }
  SetFocus(a);
  seen.clear();
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(seen, (std::vector<std::pair<HWND, UINT>>{{a, WM_KILLFOCUS}, {b, WM_SETFOCUS}}));
  testkit::TypeText("Ab1!");
  testkit::PumpPending();
  EXPECT_EQ(typed, "Ab1!");
  EnableWindow(b, FALSE);  // a disabled window gives up the focus
  EXPECT_EQ(GetFocus(), nullptr);
}

// Input is routed one event at a time, once the thread has taken what was
// routed before. A loop that asks for mouse messages only takes them past a
// key that waits in the queue, as a filtered look does; keys and the mouse
// keep their order for a loop that takes everything.
TEST_F(UiInput, AMouseOnlyLoopGetsTheMouseWhileAKeyWaitsAndOrderHoldsOtherwise) {
  HWND top = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
  SetFocus(top);
  testkit::KeyDown('A');
  testkit::MouseMove(POINT{50, 50});
  testkit::MouseDown(POINT{60, 50});
  MSG m;
  std::vector<UINT> mouse;
  for (int i = 0; i < 5; ++i) {
    while (PeekMessageA(&m, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) mouse.push_back(m.message);
  }
  EXPECT_EQ(mouse, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN}));
  // The key is still there for the loop that takes everything, before what came after it.
  testkit::MouseUp(POINT{60, 50});
  testkit::KeyUp('A');
  std::vector<UINT> all;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message != WM_PAINT && m.message != WM_TIMER) all.push_back(m.message);
    DispatchMessageA(&m);
  }
  EXPECT_EQ(all, (std::vector<UINT>{WM_KEYDOWN, WM_LBUTTONUP, WM_KEYUP}));
}

// A quit passes any filter: the drag detection ends on it and leaves it for the caller's loop.
TEST_F(UiInput, DragDetectEndsOnAQuitAndLeavesItQueued) {
  HWND top = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
  PostQuitMessage(5);
  EXPECT_FALSE(DragDetect(top, POINT{10, 10}));
  EXPECT_EQ(GetCapture(), nullptr);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 5u);
}

TEST_F(UiInput, CaptionButtonsAndTheMoveLoopFollowTheMouse) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
  HWND w = Make(style, RECT{100, 100, 300, 250});
  const int f = GetSystemMetrics(SM_CXDLGFRAME), c = GetSystemMetrics(SM_CYCAPTION);
  // Hit codes: the close button at the caption's right end, the caption, the frame.
  auto hit = [&](int x, int y) {
    return static_cast<int>(SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(100 + x, 100 + y)));
  };
  EXPECT_EQ(hit(200 - f - c + 2, f + c / 2), HTCLOSE);
  EXPECT_EQ(hit(200 - f - 2 * c + 2, f + c / 2), HTMAXBUTTON);
  EXPECT_EQ(hit(100, f + c / 2), HTCAPTION);
  EXPECT_EQ(hit(1, 100), HTBORDER);
  EXPECT_EQ(hit(100, 100), HTCLIENT);

  // Dragging the caption moves the window; the client area keeps its offset.
  POINT grab{100 + 100, 100 + f + c / 2};
  testkit::MouseDown(grab);
  testkit::MouseMove(POINT{grab.x + 30, grab.y - 40});
  testkit::MouseUp(POINT{grab.x + 30, grab.y - 40});
  testkit::PumpPending();
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 130);
  EXPECT_EQ(r.top, 60);

  // Pressing close, leaving it and releasing elsewhere does nothing; a full click closes.
  POINT close{130 + 200 - f - c / 2, 60 + f + c / 2};
  testkit::MouseDown(close);
  testkit::MouseMove(POINT{close.x - 100, close.y});
  testkit::MouseUp(POINT{close.x - 100, close.y});
  testkit::PumpPending();
  EXPECT_TRUE(IsWindow(w));
  testkit::MouseDown(close);
  testkit::MouseUp(close);
  testkit::PumpPending();
  EXPECT_FALSE(IsWindow(w));
}

// A box the style lacks is drawn greyed; pressing it takes no capture and runs no loop.
TEST_F(UiInput, GreyedCaptionBoxDoesNotGoDown) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
  HWND w = Make(style, RECT{100, 100, 300, 250});
  const int f = GetSystemMetrics(SM_CXDLGFRAME), c = GetSystemMetrics(SM_CYCAPTION);
  int captureChanges = 0;
  Of(w).fn = [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
    if (msg == WM_CAPTURECHANGED) ++captureChanges;
    return kDefault;
  };
  POINT max{100 + 200 - f - 2 * c + 2, 100 + f + c / 2};
  ASSERT_EQ(SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(max.x, max.y)), HTMAXBUTTON);
  testkit::MouseDown(max);
  testkit::MouseUp(max);
  testkit::PumpPending();
  EXPECT_EQ(captureChanges, 0);
  EXPECT_FALSE(IsZoomed(w));
}

TEST_F(UiInput, PaintValidatesBeforeEraseAndParentsPaintBeforeChildren) {
  HWND top = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{10, 10, 40, 40}, top, 1);
  testkit::PumpPending();
  std::vector<std::pair<HWND, UINT>> order;
  BOOL pendingDuringErase = TRUE;
  for (HWND w : {top, child}) {
    Of(w).fn = [&](HWND h, UINT msg, WPARAM, LPARAM) -> LRESULT {
      if (msg == WM_PAINT || msg == WM_ERASEBKGND || msg == WM_NCPAINT) order.emplace_back(h, msg);
      if (msg == WM_ERASEBKGND && h == top) pendingDuringErase = GetUpdateRect(h, nullptr, FALSE);
      return kDefault;
    };
  }
  InvalidateRect(top, nullptr, TRUE);
  testkit::PumpPending();
  std::vector<std::pair<HWND, UINT>> expected = {
      {top, WM_PAINT},   {top, WM_ERASEBKGND},   {child, WM_PAINT},
      {child, WM_NCPAINT}, {child, WM_ERASEBKGND},
  };
  EXPECT_EQ(order, expected);
  EXPECT_FALSE(pendingDuringErase);
  // The class brush filled the client area.
  COLORREF window = GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(testkit::WindowPixel(top, 50, 60),
            (static_cast<uint32_t>(GetRValue(window)) << 16) | (GetGValue(window) << 8) | GetBValue(window));
  // Something invalidated while erasing is painted again.
  order.clear();
  bool again = true;
  Of(top).fn = [&](HWND h, UINT msg, WPARAM, LPARAM) -> LRESULT {
    if (msg == WM_PAINT) order.emplace_back(h, msg);
    if (msg == WM_ERASEBKGND && again) {
      again = false;
      InvalidateRect(h, nullptr, FALSE);
    }
    return kDefault;
  };
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
  testkit::PumpPending();
  EXPECT_EQ(std::count(order.begin(), order.end(), std::make_pair(top, static_cast<UINT>(WM_PAINT))), 2);
}

TEST_F(UiInput, ParentsThatClipChildrenLeaveThemAlone) {
  for (DWORD clip : {static_cast<DWORD>(WS_CLIPCHILDREN), 0u}) {
    HWND top = Make(WS_POPUP | WS_VISIBLE | clip, RECT{0, 0, 100, 100});
    HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{10, 10, 40, 40}, top, 1);
    testkit::PumpPending();
    int childPaints = 0;
    Of(top).fn = [](HWND h, UINT msg, WPARAM, LPARAM) -> LRESULT {
      if (msg != WM_PAINT) return kDefault;
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(h, &ps);
      HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
      RECT all{0, 0, 100, 100};
      FillRect(hdc, &all, red);
      DeleteObject(red);
      EndPaint(h, &ps);
      return 0;
    };
    Of(child).fn = [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
      if (msg == WM_PAINT) ++childPaints;
      return kDefault;
    };
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    testkit::PumpPending();
    EXPECT_EQ(testkit::WindowPixel(top, 5, 5), 0xFF0000u);
    if (clip) {
      EXPECT_EQ(childPaints, 0);
      EXPECT_NE(testkit::WindowPixel(top, 20, 20), 0xFF0000u);  // the parent's fill left the child out
    } else {
      EXPECT_EQ(childPaints, 1);  // painted over, so painted again
    }
    DestroyWindow(top);
  }
}

TEST_F(UiInput, CaptionIsDrawnInTheActiveOrInactiveColour) {
  HWND w = Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, RECT{10, 10, 210, 110});
  testkit::PumpPending();
  const int f = GetSystemMetrics(SM_CXDLGFRAME);
  auto pixel = [](COLORREF c) {
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  };
  EXPECT_EQ(GetActiveWindow(), w);
  EXPECT_EQ(testkit::WindowPixel(w, 100, f + 2), pixel(GetSysColor(COLOR_ACTIVECAPTION)));
  SetActiveWindow(nullptr);
  testkit::PumpPending();
  EXPECT_EQ(testkit::WindowPixel(w, 100, f + 2), pixel(GetSysColor(COLOR_INACTIVECAPTION)));
  const char* dir = getenv("TRELLIAN_BINARY_DIR");
  std::string path = std::string(dir ? dir : ".") + "/ui_caption.png";
  EXPECT_TRUE(testkit::CaptureWindowPng(w, path));
}

TEST_F(UiInput, UpdateWindowPaintsAtOnceAndHiddenWindowsWait) {
  HWND top = Make(WS_POPUP, RECT{0, 0, 100, 100});
  int paints = 0;
  Of(top).fn = [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
    if (msg == WM_PAINT) ++paints;
    return kDefault;
  };
  InvalidateRect(top, nullptr, TRUE);
  testkit::PumpPending();
  EXPECT_EQ(paints, 0);  // not visible yet
  ShowWindow(top, SW_SHOW);
  UpdateWindow(top);
  EXPECT_EQ(paints, 1);
  testkit::PumpPending();
  EXPECT_EQ(paints, 1);  // nothing left to paint
}

// A child that is hidden, moved, destroyed or given another parent leaves
// its old place to be painted by its parent: the place in the parent's
// client area, whatever the parent's caption and border take.
TEST_F(UiInput, AChildThatGoesLeavesItsOldPlaceToThePainter) {
  enum Act { kHide, kMove, kDestroy, kReparent };
  struct Case {
    const char* what;
    DWORD parentStyle;
    Act act;
  } cases[] = {
      {"hidden, captioned parent", WS_POPUP | WS_CAPTION | WS_BORDER, kHide},
      {"moved, captioned parent", WS_POPUP | WS_CAPTION | WS_BORDER, kMove},
      {"destroyed, captioned parent", WS_POPUP | WS_CAPTION | WS_BORDER, kDestroy},
      {"given another parent, captioned parent", WS_POPUP | WS_CAPTION | WS_BORDER, kReparent},
      {"hidden, bare parent", WS_POPUP, kHide},
  };
  for (const Case& c : cases) {
    HWND top = Make(c.parentStyle | WS_VISIBLE, RECT{0, 0, 300, 300});
    HWND other = Make(WS_POPUP, RECT{400, 0, 500, 100});
    HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{40, 200, 140, 260}, top);
    testkit::PumpPending();
    ASSERT_FALSE(GetUpdateRect(top, nullptr, FALSE)) << c.what;
    switch (c.act) {
      case kHide: ShowWindow(child, SW_HIDE); break;
      case kMove: SetWindowPos(child, nullptr, 150, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER); break;
      case kDestroy: DestroyWindow(child); break;
      case kReparent: SetParent(child, other); break;
    }
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(top, &update, FALSE)) << c.what;
    const RECT place{40, 200, 140, 260};
    RECT both{};
    UnionRect(&both, &update, &place);
    EXPECT_TRUE(EqualRect(&both, &update)) << c.what << ": update " << update.left << "," << update.top << " "
                                           << update.right << "," << update.bottom;
    DestroyWindow(top);
    DestroyWindow(other);
  }
}

// A shown child of a hidden parent does not show either: UpdateWindow
// leaves its update region for when the parent shows, instead of painting
// it at a place the child may leave before it is seen.
TEST_F(UiInput, UpdateWindowWaitsWhileAnAncestorIsHidden) {
  HWND top = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
  HWND page = Make(WS_CHILD, RECT{0, 0, 150, 150}, top);
  HWND list = Make(WS_CHILD | WS_VISIBLE, RECT{10, 10, 100, 100}, page);
  int paints = 0;
  Of(list).fn = [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
    if (msg == WM_PAINT) ++paints;
    return kDefault;
  };
  testkit::PumpPending();
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(list);
  EXPECT_EQ(paints, 0);
  ShowWindow(page, SW_SHOW);
  UpdateWindow(list);
  EXPECT_EQ(paints, 1);
}

}  // namespace
