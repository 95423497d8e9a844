// The skinned dialog base on a test skin of solid-colour images, one colour
// per image, so every pixel read back names the image (or ring) that drew it;
// and on our own skin when it is there.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "RTDialog.h"
#include "RTMenuSkin.h"
#include "RTSkin.h"
#include "SkinDraw.h"
#include "TestKit.h"
#include "caption_fixture.h"

namespace {

// A dialog that shows its caption helper to the tests.
class TestDialog : public CRTDialog {
 public:
  using CRTDialog::m_caption;
};

const DWORD kAllBoxes = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME;
const CRect kPlace(50, 60, 250, 160);  // 200 x 100 on the screen

class SkinDialogTest : public CaptionHarness {
 protected:
  SkinCaptionLook Look() const override { return CRTDialog::CaptionLook(); }
  void SetUp() override {
    PlatformDialogClass(nullptr);
    InstallTestSkin();
  }
  void TearDown() override {
    testkit::ResetWindows();
    CRTDialog::ResetSkin();
  }

  void InstallTestSkin() {
    CBitmap* titles[5] = {nullptr, Solid('T'), Solid('t'), nullptr, nullptr};
    const int32_t titleModes[5] = {0, kSkinStretch, kSkinStretch, 0, 0};
    CRTDialog::SetTitleBarImages(titles, titleModes);
    SetButtons(CRTDialog::SetExitButtonImages, "1234");
    SetButtons(CRTDialog::SetMaximizeButtonImages, "5678");
    SetButtons(CRTDialog::SetRestoreButtonImages, "rsuv");
    SetButtons(CRTDialog::SetMinimizeButtonImages, "mnop");
    CRTDialog::SetBackImage(Solid('K'), kSkinStretch);
    const COLORREF rings[4] = {ColorOf('W'), ColorOf('X'), ColorOf('Y'), ColorOf('Z')};
    CRTDialog::SetBorderColors(rings);
    CRTDialog::SetSkinFlags(1, 1, 1, 1);
  }

  std::unique_ptr<TestDialog> Open(DWORD style, const char* caption = "", const CRect& place = kPlace) {
    DialogTemplate tpl;
    tpl.style = style;
    tpl.cx = 100;
    tpl.cy = 50;
    tpl.caption = caption;
    auto dlg = std::make_unique<TestDialog>();
    EXPECT_TRUE(dlg->CreateIndirect(&tpl, nullptr));
    dlg->MoveWindow(place);
    dlg->ShowWindow(SW_SHOW);
    dlg->SetActiveWindow();
    dlg->UpdateWindow();
    testkit::PumpPending();
    return dlg;
  }
};

// The middle of the caption, clear of the text rectangle and the buttons.
const CPoint kCaptionClear(139, 8);

// ---- Composition -----------------------------------------------------------

TEST_F(SkinDialogTest, ComposesRingsCaptionButtonsAndBackgroundPixelByPixel) {
  auto dlg = Open(kAllBoxes);
  HWND h = dlg->m_hWnd;
  // Window 200 x 100, frame 3, caption 19: buttons span y 5..19; close 178..194,
  // maximize 159..175, minimize 142..158 (touching the maximize button).
  EXPECT_EQ(Runs({{'W', 1}, {'X', 1}, {'Y', 1}, {'T', 139}, {'m', 17}, {'5', 17}, {'T', 2}, {'1', 17},
                  {'T', 2}, {'Y', 1}, {'X', 1}, {'W', 1}}),
            RowOf(h, 10, 0, 200));
  // Above the buttons: title only.
  EXPECT_EQ(Runs({{'W', 1}, {'X', 1}, {'Y', 1}, {'T', 194}, {'Y', 1}, {'X', 1}, {'W', 1}}), RowOf(h, 4, 0, 200));
  EXPECT_EQ(Runs({{'W', 1}, {'X', 1}, {'Y', 1}, {'T', 2}, {'1', 15}, {'T', 2}, {'K', 75}, {'Y', 1}, {'X', 1},
                  {'W', 1}}),
            ColumnOf(h, 186, 0, 100));
  EXPECT_EQ(Runs({{'W', 1}, {'X', 1}, {'Y', 1}, {'T', 19}, {'K', 75}, {'Y', 1}, {'X', 1}, {'W', 1}}),
            ColumnOf(h, 60, 0, 100));
}

TEST_F(SkinDialogTest, RingsPastTheFourthTakeTheLastColour) {
  auto dlg = Open(kAllBoxes);
  CRTCaption caption(dlg.get(), [](UINT, WPARAM, LPARAM) -> LRESULT { return 0; }, 1);
  SkinCaptionLook look = CRTDialog::CaptionLook();
  look.frameX = 6;
  CWindowDC dc(dlg.get());
  caption.DrawBorder(&dc, look, nullptr);
  EXPECT_EQ("WXYZZZ", RowOf(dlg->m_hWnd, 50, 0, 6));
}

TEST_F(SkinDialogTest, InactiveCaptionUsesTheInactiveImageAndNcActivateReturnsOne) {
  auto dlg = Open(kAllBoxes);
  EXPECT_EQ(1, dlg->CaptionState().active);
  EXPECT_EQ('T', LetterAt(dlg->m_hWnd, kCaptionClear.x, kCaptionClear.y));
  EXPECT_EQ(1, dlg->SendMessage(WM_NCACTIVATE, FALSE, 0));
  EXPECT_EQ(0, dlg->CaptionState().active);
  EXPECT_EQ('t', LetterAt(dlg->m_hWnd, kCaptionClear.x, kCaptionClear.y));
  EXPECT_EQ('1', ButtonLetter(dlg.get(), kCloseButton));  // the buttons keep their look
  EXPECT_EQ(1, dlg->SendMessage(WM_NCACTIVATE, TRUE, 0));
  EXPECT_EQ('T', LetterAt(dlg->m_hWnd, kCaptionClear.x, kCaptionClear.y));
}

TEST_F(SkinDialogTest, ActivationFollowsAnotherWindowTakingTheFocus) {
  auto dlg = Open(kAllBoxes);
  auto other = Open(kAllBoxes, "", CRect(400, 400, 600, 500));
  EXPECT_EQ('t', LetterAt(dlg->m_hWnd, kCaptionClear.x, kCaptionClear.y));
  dlg->SetActiveWindow();
  testkit::PumpPending();
  EXPECT_EQ('T', LetterAt(dlg->m_hWnd, kCaptionClear.x, kCaptionClear.y));
  EXPECT_EQ('t', LetterAt(other->m_hWnd, kCaptionClear.x, kCaptionClear.y));
}

// The caption text and icon: text black from the left, clipped 60 pixels
// short of the caption's right end; with an icon, the text moves right.
TEST_F(SkinDialogTest, CaptionTextIsClippedShortOfTheButtons) {
  auto dlg = Open(kAllBoxes, "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
  HWND h = dlg->m_hWnd;
  bool blackInText = false;
  for (int y = 3; y < 22; ++y) {
    for (int x = 4; x < 137; ++x) blackInText |= testkit::WindowPixel(h, x, y) == 0;
    for (int x = 137; x < 142; ++x) EXPECT_EQ('T', LetterAt(h, x, y)) << x << "," << y;
  }
  EXPECT_TRUE(blackInText);
}

TEST_F(SkinDialogTest, SmallIconSitsAtTheCaptionsLeftAndPushesTheText) {
  auto dlg = Open(kAllBoxes, "I");
  HICON icon = ::LoadIcon(nullptr, IDI_APPLICATION);
  ASSERT_NE(nullptr, icon);
  auto firstBlack = [&] {
    for (int x = 3; x < 137; ++x)
      for (int y = 3; y < 22; ++y)
        if (testkit::WindowPixel(dlg->m_hWnd, x, y) == 0) return x;
    return -1;
  };
  const int textWithout = firstBlack();
  EXPECT_GE(textWithout, 4);  // X0 + 1
  EXPECT_LT(textWithout, 12);
  dlg->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  // The icon covers (15, 4) to (32, 21); the text starts at X0 + 19 + 14 = 36.
  int iconPixels = 0;
  for (int y = 4; y < 21; ++y)
    for (int x = 15; x < 32; ++x) iconPixels += LetterAt(dlg->m_hWnd, x, y) != 'T';
  EXPECT_GT(iconPixels, 0);
  for (int y = 3; y < 22; ++y)
    for (int x = 3; x < 15; ++x) EXPECT_EQ('T', LetterAt(dlg->m_hWnd, x, y));
  bool black = false;
  for (int y = 3; y < 22; ++y) black |= testkit::WindowPixel(dlg->m_hWnd, 36, y) == 0 ||
                                        testkit::WindowPixel(dlg->m_hWnd, 37, y) == 0;
  EXPECT_TRUE(black);
}

TEST_F(SkinDialogTest, NewWindowTextShowsAtOnce) {
  auto dlg = Open(kAllBoxes, "");
  auto blackPixels = [&] {
    int n = 0;
    for (int y = 3; y < 22; ++y)
      for (int x = 3; x < 137; ++x) n += testkit::WindowPixel(dlg->m_hWnd, x, y) == 0;
    return n;
  };
  EXPECT_EQ(0, blackPixels());
  dlg->SetWindowText("Scan");
  EXPECT_GT(blackPixels(), 10);
}

// ---- Buttons drawn where the platform hit-tests them -----------------------

TEST_F(SkinDialogTest, DrawnButtonCentresGetThePlatformsHitCodes) {
  struct Case {
    DWORD style;
    bool zoomed;
    char close, maximize, minimize;  // letters at the centres; 'T' for none drawn
    LRESULT closeHit, maximizeHit, minimizeHit;
  };
  const DWORD base = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
  const Case cases[] = {
      {base | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, false, '1', '5', 'm', HTCLOSE, HTMAXBUTTON, HTMINBUTTON},
      {base | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, true, '1', 'r', 'm', HTCLOSE, HTMAXBUTTON, HTMINBUTTON},
      {base | WS_SYSMENU | WS_MINIMIZEBOX, false, '1', '8', 'm', HTCLOSE, HTMAXBUTTON, HTMINBUTTON},
      {base | WS_SYSMENU | WS_MINIMIZEBOX, true, '1', 'v', 'm', HTCLOSE, HTMAXBUTTON, HTMINBUTTON},
      {base | WS_SYSMENU | WS_MAXIMIZEBOX, false, '1', '5', 'p', HTCLOSE, HTMAXBUTTON, HTMINBUTTON},
      {base | WS_SYSMENU, false, '1', 'T', 'T', HTCLOSE, HTCAPTION, HTCAPTION},
      // Without a system menu the platform reports no buttons, and none are drawn.
      {base | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, false, 'T', 'T', 'T', HTCAPTION, HTCAPTION, HTCAPTION},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.style << (c.zoomed ? " zoomed" : ""));
    auto dlg = Open(c.style);
    if (c.zoomed) {
      dlg->ShowWindow(SW_MAXIMIZE);
      dlg->UpdateWindow();
      testkit::PumpPending();
      ASSERT_TRUE(dlg->IsZoomed());
    }
    const CaptionButton buttons[] = {kCloseButton, kMaximizeButton, kMinimizeButton};
    const char letters[] = {c.close, c.maximize, c.minimize};
    const LRESULT hits[] = {c.closeHit, c.maximizeHit, c.minimizeHit};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(letters[i], ButtonLetter(dlg.get(), buttons[i])) << i;
      EXPECT_EQ(hits[i], HitAt(dlg.get(), ButtonCentre(dlg.get(), buttons[i]))) << i;
    }
    dlg->DestroyWindow();
  }
}

// ---- The caption buttons' cycle, by injected mouse input -------------------

TEST_F(SkinDialogTest, HoverMakesOneButtonHotAndLeavingClearsIt) {
  auto dlg = Open(kAllBoxes);
  MoveTo(dlg.get(), ButtonCentre(dlg.get(), kCloseButton));
  EXPECT_EQ('2', ButtonLetter(dlg.get(), kCloseButton));
  MoveTo(dlg.get(), ButtonCentre(dlg.get(), kMinimizeButton));
  EXPECT_EQ('1', ButtonLetter(dlg.get(), kCloseButton));
  EXPECT_EQ('n', ButtonLetter(dlg.get(), kMinimizeButton));
  MoveTo(dlg.get(), kCaptionClear);
  EXPECT_EQ('m', ButtonLetter(dlg.get(), kMinimizeButton));
  MoveTo(dlg.get(), ButtonCentre(dlg.get(), kMaximizeButton));
  EXPECT_EQ('6', ButtonLetter(dlg.get(), kMaximizeButton));
  MoveTo(dlg.get(), CPoint(60, 60));  // into the client area
  EXPECT_EQ('5', ButtonLetter(dlg.get(), kMaximizeButton));
  const SkinCaptionState& s = dlg->CaptionState();
  EXPECT_EQ(0, s.buttons[0] | s.buttons[1] | s.buttons[2]);
}

TEST_F(SkinDialogTest, PressLeaveReturnReleaseClosesTheDialog) {
  auto dlg = Open(kAllBoxes);
  testkit::MessageSpy spy;
  const CPoint close = ButtonCentre(dlg.get(), kCloseButton);
  MoveTo(dlg.get(), close);
  Down(dlg.get(), close);
  EXPECT_EQ('3', ButtonLetter(dlg.get(), kCloseButton));
  EXPECT_EQ(1, dlg->CaptionState().tracking);
  EXPECT_EQ(kCloseButton, dlg->CaptionState().pressed);
  EXPECT_EQ(dlg->m_hWnd, ::GetCapture());
  MoveTo(dlg.get(), kCaptionClear);
  EXPECT_EQ('1', ButtonLetter(dlg.get(), kCloseButton));
  MoveTo(dlg.get(), close);
  EXPECT_EQ('3', ButtonLetter(dlg.get(), kCloseButton));
  EXPECT_TRUE(spy.Of(dlg->m_hWnd, {WM_CLOSE}).empty());
  Up(dlg.get(), close);
  EXPECT_EQ(std::vector<UINT>{WM_CLOSE}, spy.Of(dlg->m_hWnd, {WM_CLOSE}));
  EXPECT_EQ(nullptr, ::GetCapture());
  EXPECT_EQ(0, dlg->CaptionState().tracking);
  EXPECT_EQ(kNoCaptionButton, dlg->CaptionState().pressed);
}

TEST_F(SkinDialogTest, PressedButtonShowsNormalOverAnotherAndReleaseThereDoesNothing) {
  auto dlg = Open(kAllBoxes);
  testkit::MessageSpy spy;
  const CPoint close = ButtonCentre(dlg.get(), kCloseButton), minimize = ButtonCentre(dlg.get(), kMinimizeButton);
  Down(dlg.get(), close);
  MoveTo(dlg.get(), minimize);
  EXPECT_EQ('1', ButtonLetter(dlg.get(), kCloseButton));
  EXPECT_EQ('m', ButtonLetter(dlg.get(), kMinimizeButton));
  Up(dlg.get(), minimize);
  EXPECT_TRUE(spy.Of(dlg->m_hWnd, {WM_CLOSE, WM_SYSCOMMAND}).empty());
  EXPECT_EQ(0, dlg->CaptionState().tracking);
  EXPECT_EQ(nullptr, ::GetCapture());
  EXPECT_FALSE(dlg->IsIconic());
}

TEST_F(SkinDialogTest, ReleaseOverNoButtonEndsTrackingQuietly) {
  auto dlg = Open(kAllBoxes);
  testkit::MessageSpy spy;
  Down(dlg.get(), ButtonCentre(dlg.get(), kMaximizeButton));
  EXPECT_EQ('7', ButtonLetter(dlg.get(), kMaximizeButton));
  MoveTo(dlg.get(), CPoint(60, 60));
  Up(dlg.get(), CPoint(60, 60));
  EXPECT_TRUE(spy.Of(dlg->m_hWnd, {WM_CLOSE, WM_SYSCOMMAND}).empty());
  EXPECT_EQ('5', ButtonLetter(dlg.get(), kMaximizeButton));
  EXPECT_EQ(0, dlg->CaptionState().tracking);
  EXPECT_FALSE(dlg->IsZoomed());
}

// A greyed box (the style lacks it) neither goes down nor acts, whatever the hit code says.
TEST_F(SkinDialogTest, DisabledBoxDoesNothing) {
  const struct {
    DWORD style;
    CaptionButton button;
    char disabled;
  } cases[] = {
      {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME, kMaximizeButton, '8'},
      {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX | DS_MODALFRAME, kMinimizeButton, 'p'},
  };
  for (const auto& c : cases) {
    auto dlg = Open(c.style);
    testkit::MessageSpy spy;
    const CPoint centre = ButtonCentre(dlg.get(), c.button);
    MoveTo(dlg.get(), centre);
    Down(dlg.get(), centre);
    EXPECT_EQ(0, dlg->CaptionState().tracking);
    EXPECT_EQ(kNoCaptionButton, dlg->CaptionState().pressed);
    EXPECT_NE(dlg->m_hWnd, ::GetCapture());
    EXPECT_EQ(c.disabled, ButtonLetter(dlg.get(), c.button));
    Up(dlg.get(), centre);
    EXPECT_TRUE(spy.Of(dlg->m_hWnd, {WM_SYSCOMMAND, WM_CLOSE}).empty());
    EXPECT_FALSE(dlg->IsZoomed());
    EXPECT_FALSE(dlg->IsIconic());
    dlg->DestroyWindow();
  }
}

TEST_F(SkinDialogTest, CaptureTakenMidPressIsAReleaseOverNoButton) {
  auto dlg = Open(kAllBoxes);
  auto thief = Open(WS_POPUP, "", CRect(400, 400, 500, 500));
  testkit::MessageSpy spy;
  const CPoint close = ButtonCentre(dlg.get(), kCloseButton);
  Down(dlg.get(), close);
  ASSERT_EQ(1, dlg->CaptionState().tracking);
  thief->SetCapture();
  EXPECT_EQ(0, dlg->CaptionState().tracking);
  EXPECT_EQ(kNoCaptionButton, dlg->CaptionState().pressed);
  EXPECT_EQ('1', ButtonLetter(dlg.get(), kCloseButton));
  Up(dlg.get(), close);
  ::ReleaseCapture();
  EXPECT_TRUE(spy.Of(dlg->m_hWnd, {WM_CLOSE, WM_SYSCOMMAND}).empty());
}

// ---- Minimize, maximize, restore, close -------------------------------------

TEST_F(SkinDialogTest, ButtonsSendTheSystemCommands) {
  auto dlg = Open(kAllBoxes);
  testkit::MessageSpy spy;
  auto click = [&](CaptionButton b) {
    const CPoint c = ButtonCentre(dlg.get(), b);
    MoveTo(dlg.get(), c);
    Down(dlg.get(), c);
    Up(dlg.get(), c);
    dlg->UpdateWindow();
    testkit::PumpPending();
  };
  auto commands = [&] {
    std::vector<WPARAM> out;
    for (const auto& m : spy.messages)
      if (m.hwnd == dlg->m_hWnd && m.msg == WM_SYSCOMMAND) out.push_back(m.wParam & 0xFFF0);
    return out;
  };
  click(kMaximizeButton);
  EXPECT_TRUE(dlg->IsZoomed());
  EXPECT_EQ('r', ButtonLetter(dlg.get(), kMaximizeButton));  // the restore images once zoomed
  click(kMaximizeButton);
  EXPECT_FALSE(dlg->IsZoomed());
  EXPECT_EQ('5', ButtonLetter(dlg.get(), kMaximizeButton));
  click(kMinimizeButton);
  EXPECT_TRUE(dlg->IsIconic());
  EXPECT_EQ((std::vector<WPARAM>{SC_MAXIMIZE, SC_RESTORE, SC_MINIMIZE}), commands());
  dlg->ShowWindow(SW_RESTORE);
  dlg->UpdateWindow();
  testkit::PumpPending();
  spy.Clear();
  click(kCloseButton);
  EXPECT_EQ(std::vector<UINT>{WM_CLOSE}, spy.Of(dlg->m_hWnd, {WM_CLOSE}));
}

TEST_F(SkinDialogTest, SystemCommandsSentDirectlyWork) {
  auto dlg = Open(kAllBoxes);
  dlg->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(dlg->IsZoomed());
  dlg->SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(dlg->IsZoomed());
  dlg->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(dlg->IsIconic());
  dlg->SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  dlg->UpdateWindow();
  testkit::PumpPending();
  EXPECT_FALSE(dlg->IsIconic());
  EXPECT_EQ('T', LetterAt(dlg->m_hWnd, kCaptionClear.x, kCaptionClear.y));
  testkit::MessageSpy spy;
  dlg->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(std::vector<UINT>{WM_CLOSE}, spy.Of(dlg->m_hWnd, {WM_CLOSE}));
}

// ---- Skin on and off ---------------------------------------------------------

TEST_F(SkinDialogTest, SkinOffIsAPlainDialogAndOnAgainShowsTheSkin) {
  CRTDialog::SetSkinFlags(0, 1, 1, 1);
  auto dlg = Open(kAllBoxes);
  HWND h = dlg->m_hWnd;
  EXPECT_EQ(AsPixel(::GetSysColor(COLOR_ACTIVECAPTION)), testkit::WindowPixel(h, kCaptionClear.x, kCaptionClear.y));
  EXPECT_EQ(AsPixel(::GetSysColor(COLOR_3DFACE)), testkit::WindowPixel(h, 60, 60));
  EXPECT_EQ('?', LetterAt(h, 0, 50));
  // The mouse over a button leaves the skin's state alone.
  MoveTo(dlg.get(), ButtonCentre(dlg.get(), kCloseButton));
  EXPECT_EQ(0, dlg->CaptionState().buttons[kCloseButton]);

  CRTDialog::SetSkinFlags(1, 1, 1, 1);
  dlg->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
  testkit::PumpPending();
  EXPECT_EQ('T', LetterAt(h, kCaptionClear.x, kCaptionClear.y));
  EXPECT_EQ('K', LetterAt(h, 60, 60));
  EXPECT_EQ('W', LetterAt(h, 0, 50));
}

TEST_F(SkinDialogTest, SwitchesTurnPartsOffOneByOne) {
  // Border off: the platform's frame; background off: the plain erase; caption off: the platform's caption.
  CRTDialog::SetSkinFlags(1, 0, 0, 0);
  auto dlg = Open(kAllBoxes);
  HWND h = dlg->m_hWnd;
  EXPECT_EQ('?', LetterAt(h, 0, 50));
  EXPECT_EQ(AsPixel(::GetSysColor(COLOR_3DFACE)), testkit::WindowPixel(h, 60, 60));
  EXPECT_EQ(AsPixel(::GetSysColor(COLOR_ACTIVECAPTION)), testkit::WindowPixel(h, kCaptionClear.x, kCaptionClear.y));
  CRTDialog::SetSkinFlags(1, 1, 0, 0);
  dlg->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
  testkit::PumpPending();
  EXPECT_EQ("WXY", RowOf(h, 50, 0, 3));
  EXPECT_EQ(AsPixel(::GetSysColor(COLOR_ACTIVECAPTION)), testkit::WindowPixel(h, kCaptionClear.x, kCaptionClear.y));
}

// ---- Missing and odd images, odd sizes ---------------------------------------

TEST_F(SkinDialogTest, MissingTitleImageLeavesTheSystemCaptionColourWithTextAndButtons) {
  CBitmap* none[5] = {};
  const int32_t zero[5] = {};
  CRTDialog::SetTitleBarImages(none, zero);
  auto dlg = Open(kAllBoxes, "Title");
  HWND h = dlg->m_hWnd;
  EXPECT_EQ(AsPixel(::GetSysColor(COLOR_ACTIVECAPTION)), testkit::WindowPixel(h, kCaptionClear.x, kCaptionClear.y));
  EXPECT_EQ('1', ButtonLetter(dlg.get(), kCloseButton));
  EXPECT_EQ('5', ButtonLetter(dlg.get(), kMaximizeButton));
  EXPECT_EQ('m', ButtonLetter(dlg.get(), kMinimizeButton));
  int text = 0;
  for (int y = 3; y < 22; ++y)
    for (int x = 3; x < 137; ++x) text += testkit::WindowPixel(h, x, y) == AsPixel(::GetSysColor(COLOR_CAPTIONTEXT));
  EXPECT_GT(text, 10);
  CWindowDC dc(dlg.get());
  EXPECT_EQ(0, dlg->m_caption.DrawCaption(&dc, CRTDialog::CaptionLook(), 1, nullptr));
  dlg->SendMessage(WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(AsPixel(::GetSysColor(COLOR_INACTIVECAPTION)), testkit::WindowPixel(h, kCaptionClear.x, kCaptionClear.y));
}

TEST_F(SkinDialogTest, RefusedImagesAndMissingButtonsLeaveWhatLayThere) {
  // A title image of 8 x 8 is refused: the caption colour shows; a missing
  // close image leaves the title under it.
  CBitmap* titles[5] = {nullptr, Solid('T', 8, 8), Solid('t', 8, 8), nullptr, nullptr};
  const int32_t modes[5] = {0, kSkinStretch, kSkinStretch, 0, 0};
  CRTDialog::SetTitleBarImages(titles, modes);
  CBitmap* exits[5] = {nullptr, nullptr, Solid('2'), Solid('3'), Solid('4')};
  CRTDialog::SetExitButtonImages(exits, modes);
  auto dlg = Open(kAllBoxes);
  HWND h = dlg->m_hWnd;
  EXPECT_EQ(AsPixel(::GetSysColor(COLOR_ACTIVECAPTION)), testkit::WindowPixel(h, kCaptionClear.x, kCaptionClear.y));
  const CPoint close = ButtonCentre(dlg.get(), kCloseButton);
  EXPECT_EQ(AsPixel(::GetSysColor(COLOR_ACTIVECAPTION)), testkit::WindowPixel(h, close.x, close.y));
  EXPECT_EQ('5', ButtonLetter(dlg.get(), kMaximizeButton));
}

TEST_F(SkinDialogTest, ADialogTooSmallForItsButtonsIsDrawnWithoutHarm) {
  for (const CRect& place : {CRect(10, 10, 40, 30), CRect(10, 10, 12, 12), CRect(10, 10, 60, 25)}) {
    auto dlg = Open(kAllBoxes, "A caption far wider than the bar", place);
    dlg->SendMessage(WM_NCACTIVATE, FALSE, 0);
    // Down and up together: the press may land on the caption, whose move loop waits for the release.
    const CPoint near = OnScreen(dlg.get(), CPoint(place.Width() - 5, 8));
    testkit::MouseMove(near);
    testkit::MouseDown(near);
    testkit::MouseUp(near);
    testkit::PumpPending();
    if (::IsWindow(dlg->m_hWnd)) {
      EXPECT_EQ('W', LetterAt(dlg->m_hWnd, 0, 0));
    }
  }
}

// ---- Regions, child pages -----------------------------------------------------

TEST_F(SkinDialogTest, NcPaintRegionLimitsThePaintingAndStaysTheSenders) {
  auto dlg = Open(kAllBoxes);
  HWND h = dlg->m_hWnd;
  const COLORREF rings[4] = {ColorOf('Z'), ColorOf('Z'), ColorOf('Z'), ColorOf('Z')};
  CRTDialog::SetBorderColors(rings);
  // The left half of the window, in screen coordinates.
  HRGN half = ::CreateRectRgn(kPlace.left, kPlace.top, kPlace.left + 100, kPlace.bottom);
  EXPECT_EQ(0, dlg->SendMessage(WM_NCPAINT, reinterpret_cast<WPARAM>(half), 0));
  EXPECT_EQ("ZZZ", RowOf(h, 50, 0, 3));
  EXPECT_EQ("YXW", RowOf(h, 50, 197, 200));
  RECT box;
  EXPECT_EQ(SIMPLEREGION, ::GetRgnBox(half, &box));
  EXPECT_TRUE(::DeleteObject(half));
}

TEST_F(SkinDialogTest, BorderlessChildPageShowsNoRings) {
  auto parent = Open(kAllBoxes);
  DialogTemplate tpl;
  tpl.style = WS_CHILD | DS_CONTROL;
  tpl.cx = 60;
  tpl.cy = 30;
  TestDialog page;
  ASSERT_TRUE(page.CreateIndirect(&tpl, parent.get()));
  page.MoveWindow(10, 10, 80, 40);
  page.ShowWindow(SW_SHOW);
  parent->UpdateWindow();
  page.UpdateWindow();
  testkit::PumpPending();
  EXPECT_EQ(std::string(80, 'K'), RowOf(page.m_hWnd, 0, 0, 80));
  EXPECT_EQ(std::string(40, 'K'), ColumnOf(page.m_hWnd, 0, 0, 40));
  // A frame repaint of its own still leaves the page's pixels alone.
  page.SendMessage(WM_NCPAINT, 1, 0);
  EXPECT_EQ(std::string(80, 'K'), RowOf(page.m_hWnd, 0, 0, 80));
  EXPECT_EQ(std::string(40, 'K'), ColumnOf(page.m_hWnd, 79, 0, 40));
}

// ---- Menu bar step -------------------------------------------------------------

TEST_F(SkinDialogTest, MenuBarStepLeavesTheMenuToThePlatformWhileMenuSkinningIsOff) {
  auto dlg = Open(kAllBoxes & ~WS_MAXIMIZEBOX);
  CMenu menu;
  menu.CreateMenu();
  menu.AppendMenu(MF_STRING, 100, "File");
  menu.AppendMenu(MF_STRING, 101, "Help");
  dlg->SetMenu(&menu);
  dlg->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
  testkit::PumpPending();
  ASSERT_EQ(0, CRTMenuSkin::s_skinEnabled);
  // The bar lies between the caption and the client area, in the platform's menu colours.
  CRect client;
  dlg->GetClientRect(&client);
  dlg->ClientToScreen(&client);
  const int barBottom = client.top - kPlace.top;
  ASSERT_GT(barBottom, 22);
  EXPECT_EQ(AsPixel(::GetSysColor(COLOR_MENU)), testkit::WindowPixel(dlg->m_hWnd, 180, barBottom - 2));
  EXPECT_EQ('T', LetterAt(dlg->m_hWnd, kCaptionClear.x, kCaptionClear.y));
  EXPECT_EQ('W', LetterAt(dlg->m_hWnd, 0, barBottom - 2));
  dlg->SetMenu(nullptr);
}

// ---- Background ------------------------------------------------------------------

TEST_F(SkinDialogTest, BackgroundNeedsTheSwitchAndTheImage) {
  auto dlg = Open(kAllBoxes);
  EXPECT_EQ('K', LetterAt(dlg->m_hWnd, 60, 60));
  CRTDialog::SetBackImage(nullptr, kSkinStretch);
  dlg->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  testkit::PumpPending();
  EXPECT_EQ(AsPixel(::GetSysColor(COLOR_3DFACE)), testkit::WindowPixel(dlg->m_hWnd, 60, 60));
}

// ---- Our own skin ------------------------------------------------------------------

TEST_F(SkinDialogTest, OurOwnSkinDrawsItsCaptionRingsAndButtons) {
  const char* source = std::getenv("TRELLIAN_SOURCE_DIR");
  const std::string path = std::string(source ? source : ".") + "/res/Skin/vAdev/skin.ini";
  if (access(path.c_str(), R_OK) != 0) GTEST_SKIP() << "no skin at " << path;
  CRTSkin skin;
  ASSERT_EQ(1, skin.LoadSkin(path.c_str()));
  skin.EnableSkin(1);
  auto dlg = Open(kAllBoxes, "Trellian");
  HWND h = dlg->m_hWnd;
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(AsPixel(skin.GetBorderColor(i)), testkit::WindowPixel(h, i, 50)) << i;
  CWindowDC dc(dlg.get());
  EXPECT_EQ(1, dlg->m_caption.DrawCaption(&dc, CRTDialog::CaptionLook(), 1, nullptr));
  // Each button shows its normal image, then its hot and pressed images, where the platform hit-tests it.
  const CaptionButton buttons[] = {kCloseButton, kMaximizeButton, kMinimizeButton};
  const LRESULT hits[] = {HTCLOSE, HTMAXBUTTON, HTMINBUTTON};
  for (int i = 0; i < 3; ++i) {
    const CPoint c = ButtonCentre(dlg.get(), buttons[i]);
    EXPECT_EQ(hits[i], HitAt(dlg.get(), c));
    const uint32_t normal = testkit::WindowPixel(h, c.x, c.y);
    EXPECT_NE(AsPixel(::GetSysColor(COLOR_ACTIVECAPTION)), normal);
  }
  skin.EnableSkin(0);
  dlg->DestroyWindow();
}

}  // namespace
