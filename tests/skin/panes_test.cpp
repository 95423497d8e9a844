// The skinned status bar, view and tab control: pane outlines reaching the
// right edge, the view's erase, and the tab control's page rectangles and
// page windows in each tab layout.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "RTStatusBar.h"
#include "RTTabCtrl.h"
#include "RTView.h"
#include "SkinDraw.h"
#include "controls_fixture.h"

using namespace skintest;

namespace {

const COLORREF kTeal = RGB(0, 200, 200);

// Sets a class's five image slots to `image` in slot 0 (stretched) and
// nothing else, and puts them back as they were at the end.
template <class Skinned>
class ScopedSkin {
 public:
  ScopedSkin(CBitmap* image, int enabled) : m_images(Skinned::s_images), m_enabled(Skinned::s_skinEnabled) {
    CBitmap* images[5] = {image, nullptr, nullptr, nullptr, nullptr};
    const int32_t modes[5] = {kSkinStretch, 0, 0, 0, 0};
    Skinned::SetImages(images, modes);
    Skinned::SetSkinFlag(enabled);
  }
  ~ScopedSkin() {
    Skinned::s_images = m_images;
    Skinned::SetSkinFlag(m_enabled);
  }

 private:
  SkinImageSet m_images;
  int m_enabled;
};

class PanesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Images another test's skin store left behind are gone with it.
    CBitmap* none[5] = {};
    const int32_t zero[5] = {};
    for (auto set : {CRTTabCtrl::SetImages, CRTStatusBar::SetImages, CRTView::SetImages}) set(none, zero);
    ASSERT_TRUE(parent.Make(400, 240));
    back.Attach(MakeBitmap({"C"}, 12, 12));
  }
  void TearDown() override { testkit::ResetWindows(); }

  // A client pixel of a child window as a letter, or 'T' for the teal outline.
  static char ClientLetter(CWnd& wnd, int x, int y) {
    CRect window;
    wnd.GetWindowRect(&window);
    CPoint origin(0, 0);
    wnd.ClientToScreen(&origin);
    const COLORREF c = PixelOf(wnd.m_hWnd, origin.x - window.left + x, origin.y - window.top + y);
    return c == kTeal ? 'T' : LetterOf(c);
  }

  StripedParent parent;
  CBitmap back;
};

// ---------------------------------------------------------------- status bar

// The indicators' texts, as the program's string table would give them.
BOOL IndicatorText(UINT id, CString& text) {
  switch (id) {
    case 101: text = "Ready"; return TRUE;
    case 102: text = "CAP"; return TRUE;
    case 103: text = "Connected to the access point"; return TRUE;
  }
  return FALSE;
}

class StatusBarTest : public PanesTest {
 protected:
  void SetUp() override {
    PanesTest::SetUp();
    PlatformSetStringLoader(IndicatorText);
  }
  void TearDown() override {
    PlatformSetStringLoader(nullptr);
    PanesTest::TearDown();
  }
};

TEST_F(StatusBarTest, SkinnedIndicatorsLoseTheirBordersAndKeepIdsAndWidths) {
  const UINT ids[] = {101, 102, 103};
  CRTStatusBar plain, skinned;
  {
    ScopedSkin<CRTStatusBar> off(&back, 0);
    ASSERT_TRUE(plain.Create(&parent));
    ASSERT_TRUE(plain.SetIndicators(ids, 3));
  }
  ScopedSkin<CRTStatusBar> on(&back, 1);
  ASSERT_TRUE(skinned.Create(&parent));
  ASSERT_TRUE(skinned.SetIndicators(ids, 3));
  for (int i = 0; i < 3; ++i) {
    UINT plainId = 0, plainStyle = 0, id = 0, style = 0;
    int plainWidth = 0, width = 0;
    plain.GetPaneInfo(i, plainId, plainStyle, plainWidth);
    skinned.GetPaneInfo(i, id, style, width);
    EXPECT_EQ(ids[i], id);
    EXPECT_EQ(plainWidth, width) << i;
    EXPECT_GT(width, 0) << i;
    EXPECT_EQ(0u, plainStyle & SBPS_NOBORDERS) << i;
    EXPECT_EQ(plainStyle | SBPS_NOBORDERS, style) << i;
  }
  CRect plainWindow, window;
  plain.GetWindowRect(&plainWindow);
  skinned.GetWindowRect(&window);
  EXPECT_GE(window.Height(), 20);

  const UINT unknown[] = {101, 999};
  EXPECT_FALSE(skinned.SetIndicators(unknown, 2));
}

TEST_F(StatusBarTest, LastPaneReachesTheRightEdgeAndEmptyPanesStillDraw) {
  ScopedSkin<CRTStatusBar> skin(&back, 1);
  CRTStatusBar bar;
  ASSERT_TRUE(bar.Create(&parent));
  const UINT ids[] = {101, 102, 103};
  ASSERT_TRUE(bar.SetIndicators(ids, 3));
  bar.SetPaneText(1, "");
  bar.MoveWindow(0, 200, 400, 24);
  // Our bar's own layout always stretches the last pane; a control told
  // otherwise leaves it short, and the skin still paints to the edge.
  int rights[] = {80, 160, 240};
  bar.GetStatusBarCtrl().SetParts(3, rights);
  bar.Invalidate();
  testkit::PumpPending();

  CRect client, last, middle;
  bar.GetClientRect(&client);
  bar.GetItemRect(2, &last);
  bar.GetItemRect(1, &middle);
  ASSERT_LT(last.right, client.right - 10) << "the last pane must be narrower than the bar";
  const int y = last.top + 2;  // above the text
  // Past the pane's own end: still its background, closed by the outline at the edge.
  EXPECT_EQ('C', ClientLetter(bar, last.right + 5, y));
  EXPECT_EQ('C', ClientLetter(bar, client.right - 2, y));
  EXPECT_EQ('T', ClientLetter(bar, client.right - 1, y));
  // The empty pane: outline and background.
  EXPECT_EQ('T', ClientLetter(bar, middle.left, y));
  EXPECT_EQ('C', ClientLetter(bar, middle.left + 5, y));
  EXPECT_EQ('T', ClientLetter(bar, middle.left + 5, middle.top));
}

// ---------------------------------------------------------------- view

TEST_F(PanesTest, ViewIsMadeByNameAndErasesOnlyWithSkin) {
  std::unique_ptr<CObject> made(RUNTIME_CLASS(CRTView)->CreateObject());
  ASSERT_NE(nullptr, dynamic_cast<CRTView*>(made.get()));
  EXPECT_STREQ("CRTView", RUNTIME_CLASS(CRTView)->m_lpszClassName);

  auto* view = dynamic_cast<CRTView*>(made.get());
  ASSERT_TRUE(view->Create(nullptr, "view", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 10), &parent, 1));
  for (int enabled : {0, 1}) {
    ScopedSkin<CRTView> skin(&back, enabled);
    Canvas canvas(20, 10);
    EXPECT_EQ(1, view->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()->GetSafeHdc()), 0));
    EXPECT_EQ(enabled ? 'C' : '.', canvas.At(0, 0)) << enabled;
    EXPECT_EQ(enabled ? 'C' : '.', canvas.At(19, 9)) << enabled;
  }
  {
    ScopedSkin<CRTView> noImage(nullptr, 1);
    Canvas canvas(20, 10);
    EXPECT_EQ(1, view->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()->GetSafeHdc()), 0));
    EXPECT_EQ('.', canvas.At(5, 5));
  }
  view->DestroyWindow();  // a view deletes itself once destroyed
  made.release();
}

// ---------------------------------------------------------------- tab control

class TabTest : public PanesTest {
 protected:
  CRTTabCtrl* Tabs(DWORD style, const CRect& at = CRect(10, 10, 310, 210)) {
    tabs = std::make_unique<CRTTabCtrl>();
    EXPECT_TRUE(tabs->Create(WS_CHILD | WS_VISIBLE | style, at, &parent, 7));
    return tabs.get();
  }
  CStatic* Page() {
    pages.push_back(std::make_unique<CStatic>());
    EXPECT_TRUE(pages.back()->Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent));
    return pages.back().get();
  }
  void TearDown() override {
    pages.clear();
    tabs.reset();
    PanesTest::TearDown();
  }
  std::unique_ptr<CRTTabCtrl> tabs;
  std::vector<std::unique_ptr<CStatic>> pages;
};

TEST_F(TabTest, PageRectangleFollowsTheLayout) {
  struct Case {
    const char* name;
    DWORD style;
    // From the client rectangle q and the first tab t.
    CRect (*expected)(const CRect& q, const CRect& t);
  } cases[] = {
      {"top", 0, [](const CRect& q, const CRect& t) { return CRect(q.left + 5, q.top + t.Height() + 4, q.right - 5, q.bottom - 5); }},
      {"bottom", TCS_BOTTOM,
       [](const CRect& q, const CRect& t) { return CRect(q.left + 5, q.top + 5, q.right - 5, q.bottom - t.Height() - 4); }},
      {"side", TCS_VERTICAL | TCS_MULTILINE,
       [](const CRect& q, const CRect& t) { return CRect(q.left + t.Width() + 4, q.top + 5, q.right - 5, q.bottom - 5); }},
      {"vertical alone is top", TCS_VERTICAL,
       [](const CRect& q, const CRect& t) { return CRect(q.left + 5, q.top + t.Height() + 4, q.right - 5, q.bottom - 5); }},
  };
  for (const Case& c : cases) {
    CRTTabCtrl* tab = Tabs(c.style);
    CRect q, page;
    tab->GetClientRect(&q);
    tab->GetPageRect(&page);
    EXPECT_EQ(CRect(q.left + 5, q.top + 5, q.right - 5, q.bottom - 5), page) << c.name << ": no tabs";
    ASSERT_EQ(0, tab->InsertTab(0, "First", -1, nullptr));
    ASSERT_EQ(1, tab->InsertTab(1, "Second", -1, nullptr));
    CRect t;
    ASSERT_TRUE(tab->GetItemRect(0, &t));
    ASSERT_GT(t.Height(), 0);
    tab->GetPageRect(&page);
    EXPECT_EQ(c.expected(q, t), page) << c.name;
    tab->SetCustomPaint(FALSE);
    tab->GetPageRect(&page);
    EXPECT_EQ(CRect(q.left + 5, q.top + 5, q.right - 5, q.bottom - 5), page) << c.name << ": custom paint off";
    tab->DestroyWindow();
  }
}

TEST_F(TabTest, PageAtTheSelectionIsShownOthersHiddenAndResizingMovesAll) {
  CRTTabCtrl* tab = Tabs(0);
  CStatic* first = Page();
  CStatic* second = Page();
  ASSERT_EQ(0, tab->InsertTab(0, "First", -1, first));
  ASSERT_EQ(0, tab->GetCurSel());
  ASSERT_EQ(1, tab->InsertTab(1, "Second", -1, second));
  ASSERT_EQ(2, tab->InsertTab(2, "No page", -1, nullptr));
  EXPECT_TRUE(first->IsWindowVisible());
  EXPECT_FALSE(second->IsWindowVisible());
  EXPECT_EQ(tab, first->GetParent());
  EXPECT_EQ(tab, second->GetParent());

  tab->MoveWindow(10, 10, 250, 180);
  CRect page;
  tab->GetPageRect(&page);
  for (CStatic* p : {first, second}) {
    CRect r;
    p->GetWindowRect(&r);
    tab->ScreenToClient(&r);
    EXPECT_EQ(page, r);
  }
  tab->Invalidate();
  testkit::PumpPending();  // a tab without a page window still paints
}

TEST_F(TabTest, WithoutCustomPaintTheSkinAndARaisedFrameAreDrawn) {
  ScopedSkin<CRTTabCtrl> skin(&back, 1);
  CRTTabCtrl* tab = Tabs(0, CRect(0, 0, 60, 40));
  tab->SetCustomPaint(FALSE);
  tab->InsertTab(0, "Only", -1, nullptr);
  Canvas canvas(60, 40);
  EXPECT_EQ(1, tab->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()->GetSafeHdc()), 0));
  CRect q;
  tab->GetClientRect(&q);
  EXPECT_EQ('C', canvas.At(0, 0));
  EXPECT_EQ('C', canvas.At(q.Width() / 2, q.Height() / 2));
  EXPECT_NE('C', canvas.At(2, q.Height() / 2)) << "the frame's left side";
  EXPECT_NE('C', canvas.At(q.Width() / 2, 2)) << "its top";
  EXPECT_EQ('C', canvas.At(1, q.Height() / 2));
}

}  // namespace
