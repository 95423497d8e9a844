// Activation of the application and the desktop's z-order with its topmost band.
#include <algorithm>

#include "ui_fixture.h"

namespace {

class UiDesktop : public UiFixture {
 protected:
  // The test's top-level windows, front to back.
  std::vector<HWND> Stack(const std::vector<HWND>& ours) {
    std::vector<HWND> order;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
      if (std::find(ours.begin(), ours.end(), w) != ours.end()) order.push_back(w);
    return order;
  }
};

bool Topmost(HWND w) { return (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

TEST_F(UiDesktop, ActivateAppReachesEveryTopLevelWindowOfTheThread) {
  HWND a = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND b = Make(WS_OVERLAPPEDWINDOW);  // hidden windows hear it too
  HWND child = Make(WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, a);
  SetActiveWindow(nullptr);
  testkit::MessageSpy spy;
  const std::vector<UINT> watched = {WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE};
  struct {
    HWND activate;
    std::vector<UINT> a, b;
    BOOL appActive;
  } steps[] = {
      {a, {WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE}, {WM_ACTIVATEAPP}, TRUE},      // the application gains
      {b, {WM_NCACTIVATE, WM_ACTIVATE}, {WM_NCACTIVATE, WM_ACTIVATE}, TRUE},          // a switch inside it
      {nullptr, {WM_ACTIVATEAPP}, {WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP}, FALSE},  // it loses
  };
  for (const auto& s : steps) {
    spy.Clear();
    SetActiveWindow(s.activate);
    EXPECT_EQ(spy.Of(a, watched), s.a) << s.activate;
    EXPECT_EQ(spy.Of(b, watched), s.b) << s.activate;
    EXPECT_TRUE(spy.Of(child, {WM_ACTIVATEAPP}).empty());
    for (const auto& m : spy.messages)
      if (m.msg == WM_ACTIVATEAPP) EXPECT_EQ(m.wParam, static_cast<WPARAM>(s.appActive));
  }
}

TEST_F(UiDesktop, TopmostWindowsKeepABandAboveTheRest) {
  HWND a = Make(WS_POPUP | WS_VISIBLE), b = Make(WS_POPUP | WS_VISIBLE), c = Make(WS_POPUP | WS_VISIBLE);
  const std::vector<HWND> ours = {a, b, c};
  ASSERT_EQ(Stack(ours), (std::vector<HWND>{c, b, a}));  // newest on top
  const UINT kNoMove = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  struct {
    HWND w, after;
    std::vector<HWND> order;
    std::vector<bool> topmost;  // of a, b, c
  } steps[] = {
      {a, HWND_TOPMOST, {a, c, b}, {true, false, false}},
      {c, HWND_TOP, {a, c, b}, {true, false, false}},       // HWND_TOP stays below the band
      {b, HWND_TOPMOST, {b, a, c}, {true, true, false}},
      {a, HWND_TOP, {a, b, c}, {true, true, false}},        // a topmost window rises within the band
      {c, a, {a, b, c}, {true, true, false}},               // "after a topmost window" still below the band
      {a, c, {b, a, c}, {true, true, false}},               // a topmost window never sinks under the band
      {b, HWND_NOTOPMOST, {a, b, c}, {true, false, false}}, // top of the ordinary windows
      {c, HWND_NOTOPMOST, {a, b, c}, {true, false, false}}, // no effect on an ordinary window
      {a, HWND_BOTTOM, {b, c, a}, {false, false, false}},   // the bottom is below the band, so it leaves it
  };
  for (const auto& s : steps) {
    ASSERT_TRUE(SetWindowPos(s.w, s.after, 0, 0, 0, 0, kNoMove));
    EXPECT_EQ(Stack(ours), s.order);
    EXPECT_EQ((std::vector<bool>{Topmost(a), Topmost(b), Topmost(c)}), s.topmost);
  }
  // Activation and new windows respect the band as well.
  SetWindowPos(c, HWND_TOPMOST, 0, 0, 0, 0, kNoMove);
  SetActiveWindow(b);
  EXPECT_EQ(Stack(ours), (std::vector<HWND>{c, b, a}));
  HWND d = Make(WS_POPUP | WS_VISIBLE);
  EXPECT_EQ(Stack({a, b, c, d}), (std::vector<HWND>{c, d, b, a}));
  HWND e = CreateWindowExA(WS_EX_TOPMOST, "UiTestHandler", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                           nullptr);
  EXPECT_EQ(Stack({a, b, c, d, e}), (std::vector<HWND>{e, c, d, b, a}));
  DestroyWindow(e);
}

}  // namespace
