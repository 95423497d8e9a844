// The platform's per-window data in the window record, the chain of create
// and destroy hooks, and GDI objects that outlive the program's statics.

#include "ui_fixture.h"
#include "UiPlatform.h"
#include "afxwin.h"

namespace {

struct Counted : PlatformWindowPart {
  static constexpr const char* kKind = "test part";
  static int alive;
  Counted() { ++alive; }
  ~Counted() override { --alive; }
  int value = 0;
};
int Counted::alive = 0;

class WindowParts : public UiFixture {};

TEST_F(WindowParts, APartIsMadeOnceAndGoesWithTheWindow) {
  HWND w = Make(WS_POPUP);
  EXPECT_EQ(PlatformPartOf<Counted>(w, false), nullptr);
  Counted* part = PlatformPartOf<Counted>(w);
  ASSERT_NE(part, nullptr);
  part->value = 7;
  EXPECT_EQ(PlatformPartOf<Counted>(w), part);
  EXPECT_EQ(Counted::alive, 1);
  // Scroll bars and dialog state share the slot without meeting this part.
  SCROLLINFO si{sizeof si, SIF_RANGE, 0, 50, 0, 0, 0};
  SetScrollInfo(w, SB_VERT, &si, FALSE);
  EXPECT_EQ(PlatformPartOf<Counted>(w)->value, 7);
  DestroyWindow(w);
  EXPECT_EQ(Counted::alive, 0);
  EXPECT_EQ(PlatformPartOf<Counted>(w), nullptr);
  EXPECT_FALSE(GetScrollInfo(w, SB_VERT, &si));
}

int created = 0;
int destroyed = 0;
void CountCreated(HWND, CREATESTRUCTA*) { ++created; }
void CountDestroyed(HWND) { ++destroyed; }

TEST_F(WindowParts, AHookAddedLaterLeavesTheClassLayerAttached) {
  CWnd first;  // the class layer installs its hooks with its first window
  ASSERT_TRUE(first.CreateEx(0, "UiTestHandler", "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  PlatformAddCreateHook(CountCreated);
  PlatformAddDestroyHook(CountDestroyed);
  int before = created;
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, "UiTestHandler", "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  EXPECT_EQ(created, before + 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
  HWND h = wnd.m_hWnd;
  wnd.DestroyWindow();
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_GT(destroyed, 0);
  first.DestroyWindow();
}

// Made during a test and freed after main returns, when statics made before
// it (the GDI lock, the font system) would already be gone if they were
// ordinary statics.
CFont exitFont;
CBrush exitBrush;

TEST(GdiAtExit, ProgramStaticObjectsAreFreedAfterTheOtherStatics) {
  ASSERT_TRUE(exitFont.CreatePointFont(80, "MS Sans Serif"));
  ASSERT_TRUE(exitBrush.CreateSolidBrush(RGB(1, 2, 3)));
}

}  // namespace
