// The skinned static and push button over a striped parent, with a test skin
// of solid images (one letter per slot), so one pixel tells which image was drawn.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "RTButton.h"
#include "RTStatic.h"
#include "SkinDraw.h"
#include "controls_fixture.h"

using namespace skintest;

namespace {

const int kButtonId = 41;
const CRect kButtonRect(20, 20, 100, 44);  // in the parent

// Solid 9x9 images in the slot order Back, Normal, Focus, Down, Disable.
class SolidSkin {
 public:
  explicit SolidSkin(const char* letters) {
    for (int i = 0; i < SkinImageSet::kSlots; ++i) {
      if (letters[i] == '-') continue;
      bitmaps[i].Attach(MakeBitmap({std::string(1, letters[i])}, 9, 9));
      images[i] = &bitmaps[i];
      modes[i] = kSkinStretch;
    }
  }
  CBitmap bitmaps[SkinImageSet::kSlots];
  CBitmap* images[SkinImageSet::kSlots] = {};
  int32_t modes[SkinImageSet::kSlots] = {};
};

class SkinnedControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CRTButton::SetImages(skin.images, skin.modes);
    CRTButton::SetSkinEnabled(1);
    CRTStatic::SetBackImage(skin.images[0], skin.modes[0]);
    CRTStatic::SetSkinEnabled(1);
    ASSERT_TRUE(parent.Make());
  }
  void TearDown() override {
    testkit::ResetWindows();
    CBitmap* none[SkinImageSet::kSlots] = {};
    const int32_t zero[SkinImageSet::kSlots] = {};
    CRTButton::SetImages(none, zero);
    CRTButton::SetSkinEnabled(1);
    CRTStatic::SetBackImage(nullptr, 0);
    CRTStatic::SetSkinEnabled(0);
  }
  void MakeButton(DWORD style = 0) {
    ASSERT_TRUE(button.Create("OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | style, kButtonRect, &parent, kButtonId));
    Settle();
  }
  void Settle() {
    parent.UpdateWindow();
    testkit::PumpPending();
  }
  // A corner of the face, away from the text.
  char Face() const { return LetterAt(button.m_hWnd, 3, 3); }
  CPoint OnScreen(int x, int y) const {
    CPoint p(x, y);
    button.ClientToScreen(&p);
    return p;
  }
  static void Inject(UINT msg, CPoint at) {
    if (msg == WM_MOUSEMOVE) testkit::MouseMove(at);
    if (msg == WM_LBUTTONDOWN) testkit::MouseDown(at);
    if (msg == WM_LBUTTONUP) testkit::MouseUp(at);
    testkit::PumpPending();
  }

  SolidSkin skin{"GABCD"};  // Back G (the static), Normal A, Focus B, Down C, Disable D
  StripedParent parent;
  CRTButton button;
};

// ---------------------------------------------------------------- button

TEST_F(SkinnedControlsTest, ButtonShowsTheImageOfEachStateAsTheMouseGoes) {
  MakeButton();
  struct Step {
    UINT msg;
    CPoint at;  // client coordinates of the button
    CRTButton::State state;
    char face;
  } steps[] = {
      {0, {}, CRTButton::kNormal, 'A'},
      {WM_MOUSEMOVE, {10, 10}, CRTButton::kHot, 'B'},
      {WM_LBUTTONDOWN, {10, 10}, CRTButton::kPressed, 'C'},  // pressed although it took the focus
      {WM_MOUSEMOVE, {200, 10}, CRTButton::kHot, 'B'},       // held and left: resting, and focused
      {WM_MOUSEMOVE, {12, 10}, CRTButton::kPressed, 'C'},    // held and back: pressed
      {WM_LBUTTONUP, {12, 10}, CRTButton::kHot, 'B'},        // released: focused, so hot
  };
  for (const Step& s : steps) {
    if (s.msg) Inject(s.msg, OnScreen(s.at.x, s.at.y));
    Settle();
    EXPECT_EQ(s.state, button.GetSkinState()) << "after message " << s.msg << " at " << s.at.x;
    EXPECT_EQ(s.face, Face()) << "after message " << s.msg << " at " << s.at.x;
  }
}

TEST_F(SkinnedControlsTest, HoverHoldsTheCaptureUntilTheMouseLeaves) {
  MakeButton();
  Inject(WM_MOUSEMOVE, OnScreen(10, 10));
  EXPECT_EQ(button.m_hWnd, ::GetCapture());
  Inject(WM_MOUSEMOVE, OnScreen(-5, 10));
  EXPECT_EQ(nullptr, ::GetCapture());
  EXPECT_EQ(CRTButton::kNormal, button.GetSkinState());
  EXPECT_EQ('A', Face());
}

TEST_F(SkinnedControlsTest, AClickInsideSendsOneCommandToTheParent) {
  MakeButton();
  testkit::MessageSpy spy;
  Inject(WM_MOUSEMOVE, OnScreen(10, 10));
  Inject(WM_LBUTTONDOWN, OnScreen(10, 10));
  Inject(WM_LBUTTONUP, OnScreen(10, 10));
  ASSERT_EQ(1u, parent.commands.size());
  EXPECT_EQ(MAKEWPARAM(kButtonId, BN_CLICKED), parent.commands[0].wParam);
  EXPECT_EQ(button.m_hWnd, parent.commands[0].hwnd);
  // Sent, not posted: nothing of it waits in the queue.
  MSG msg;
  EXPECT_FALSE(::PeekMessageA(&msg, parent.m_hWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
  // A double click reports nothing more.
  button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(1u, parent.commands.size());
}

// A window that appears under a still mouse gets the press with no hover
// before it; the release outside must still reach the button.
TEST_F(SkinnedControlsTest, PressWithoutHoverAndReleaseOutsideClicksNothingAndEndsNormal) {
  MakeButton();
  ASSERT_EQ(nullptr, ::GetCapture());
  Inject(WM_LBUTTONDOWN, OnScreen(10, 10));
  EXPECT_EQ(button.m_hWnd, ::GetCapture());
  EXPECT_EQ('C', Face());
  Inject(WM_LBUTTONUP, OnScreen(150, 60));
  Settle();
  EXPECT_TRUE(parent.commands.empty());
  EXPECT_EQ(nullptr, ::GetCapture());
  EXPECT_EQ(CRTButton::kHot, button.GetSkinState());  // focused and resting
  button.GetParent()->SetFocus();
  Settle();
  EXPECT_EQ('A', Face());
}

TEST_F(SkinnedControlsTest, MovingWithAModifierHeldIsHovering) {
  MakeButton();
  button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 10));
  EXPECT_EQ(CRTButton::kHot, button.GetSkinState());
  EXPECT_EQ(button.m_hWnd, ::GetCapture());
  button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(300, 10));
  EXPECT_EQ(CRTButton::kNormal, button.GetSkinState());
}

TEST_F(SkinnedControlsTest, LosingTheCaptureEndsTheHotOrPressedLook) {
  MakeButton();
  for (UINT msg : {WM_MOUSEMOVE, WM_LBUTTONDOWN}) {
    button.SendMessage(msg, 0, MAKELPARAM(10, 10));
    ASSERT_NE(CRTButton::kNormal, button.GetSkinState());
    parent.SetCapture();  // someone else takes it, as a message box would
    EXPECT_EQ(CRTButton::kNormal, button.GetSkinState()) << msg;
    ::ReleaseCapture();
    parent.SetFocus();
    Settle();
    EXPECT_EQ('A', Face()) << msg;
  }
}

// Where the keyboard is: the focused button rests with the "Focus" image and a
// dotted outline 4 pixels in (row 4 holds no text), the default button with
// the image alone, and the hover with the image alone, so focus and hover
// differ. Without a "Focus" image the outline alone shows the focus, and the
// default button gets a dark frame.
TEST_F(SkinnedControlsTest, TheFocusedAndTheDefaultButtonShowWhereTheKeyboardIs) {
  const COLORREF ink = ::GetSysColor(COLOR_BTNTEXT), frame = ::GetSysColor(COLOR_WINDOWFRAME);
  CRTButton other;
  auto outlineDots = [&] {
    CRect r;
    button.GetClientRect(&r);
    int dots = 0;
    for (int x = 4; x < r.right - 4; ++x) dots += PixelOf(button.m_hWnd, x, 4) == ink;
    return dots;
  };
  enum Focus { kOnButton, kOnOther, kOnButtonDisabledAndBack, kMouseOver };
  const struct Case {
    const char* name;
    const char* images;  // Back, Normal, Focus, Down, Disable; '-' missing
    DWORD style;
    Focus focus;
    CRTButton::State state;
    char face;  // at (3, 3), inside the outline; '?' for the plain edge
    bool outline;
    bool darkFrame;
  } cases[] = {
      {"focused", "GABCD", BS_PUSHBUTTON, kOnButton, CRTButton::kHot, 'B', true, false},
      {"disabled, then enabled and focused", "GABCD", BS_PUSHBUTTON, kOnButtonDisabledAndBack, CRTButton::kHot, 'B',
       true, false},
      {"default, the focus elsewhere", "GABCD", BS_DEFPUSHBUTTON, kOnOther, CRTButton::kNormal, 'B', false, false},
      {"neither", "GABCD", BS_PUSHBUTTON, kOnOther, CRTButton::kNormal, 'A', false, false},
      {"the mouse over it, the focus elsewhere", "GABCD", BS_PUSHBUTTON, kMouseOver, CRTButton::kHot, 'B', false,
       false},
      {"focused, no Focus image", "GA-CD", BS_PUSHBUTTON, kOnButton, CRTButton::kHot, '?', true, false},
      {"default, no Focus image", "GA-CD", BS_DEFPUSHBUTTON, kOnOther, CRTButton::kNormal, '?', false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SolidSkin images(c.images);
    CRTButton::SetImages(images.images, images.modes);
    MakeButton(c.style);
    ASSERT_TRUE(other.Create("Other", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(120, 20, 200, 44), &parent, 42));
    if (c.focus == kOnOther || c.focus == kMouseOver) other.SetFocus();
    if (c.focus == kOnButton || c.focus == kOnButtonDisabledAndBack) button.SetFocus();
    Settle();
    if (c.focus == kOnButtonDisabledAndBack) {
      button.EnableWindow(FALSE);
      Settle();
      ASSERT_EQ('D', Face());
      // Enabled and given the focus in one go, as the wizard does when it is no longer busy.
      button.EnableWindow(TRUE);
      button.SetFocus();
      Settle();
    }
    if (c.focus == kMouseOver) Inject(WM_MOUSEMOVE, OnScreen(10, 10));
    Settle();
    EXPECT_EQ(c.state, button.GetSkinState());
    if (c.face != '?') {
      EXPECT_EQ(c.face, Face());
    }
    if (c.outline)
      EXPECT_GT(outlineDots(), 10);
    else
      EXPECT_EQ(0, outlineDots());
    EXPECT_EQ(c.darkFrame, PixelOf(button.m_hWnd, 0, 0) == frame && PixelOf(button.m_hWnd, 40, 23) == frame);
    // The focus goes: the button rests normal, with no outline.
    if (c.focus == kMouseOver) Inject(WM_MOUSEMOVE, OnScreen(300, 10));
    parent.SetFocus();
    Settle();
    EXPECT_EQ(CRTButton::kNormal, button.GetSkinState());
    EXPECT_EQ(0, outlineDots());
    if (c.face != '?') {
      EXPECT_EQ(c.style == BS_DEFPUSHBUTTON ? 'B' : 'A', Face());
    }
    ::ReleaseCapture();
    other.DestroyWindow();
    button.DestroyWindow();
  }
}

// The disabled face carries the text twice: in the text colour, and over it
// one pixel right and down in the shadow colour.
TEST_F(SkinnedControlsTest, DisabledButtonShowsItsImageAndDoubledText) {
  MakeButton();
  const COLORREF text = ::GetSysColor(COLOR_BTNTEXT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
  EXPECT_EQ(0, CountColor(button, shadow));
  button.EnableWindow(FALSE);
  Settle();
  EXPECT_EQ(CRTButton::kDisabled, button.GetSkinState());
  EXPECT_EQ('D', Face());
  int shadows = 0;
  CRect r;
  button.GetClientRect(&r);
  for (int y = 1; y < r.bottom; ++y)
    for (int x = 1; x < r.right; ++x) {
      if (PixelOf(button.m_hWnd, x, y) != shadow) continue;
      ++shadows;
      const COLORREF under = PixelOf(button.m_hWnd, x - 1, y - 1);
      EXPECT_TRUE(under == text || under == shadow) << x << "," << y;
    }
  EXPECT_GT(shadows, 5);
  EXPECT_GT(CountColor(button, text), 0);
  // Mouse input does not reach a disabled window; enabled again it rests normal.
  button.EnableWindow(TRUE);
  Settle();
  EXPECT_EQ(CRTButton::kNormal, button.GetSkinState());
  EXPECT_EQ('A', Face());
  EXPECT_EQ(0, CountColor(button, shadow));
}

TEST_F(SkinnedControlsTest, MissingImagesLeaveAnEdgeAndTheText) {
  SolidSkin none("-----");
  CRTButton::SetImages(none.images, none.modes);
  MakeButton();
  const COLORREF raised = PixelOf(button.m_hWnd, 0, 0);
  EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), raised);
  EXPECT_GT(CountColor(button, ::GetSysColor(COLOR_BTNTEXT)), 0);
  button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), PixelOf(button.m_hWnd, 0, 0));
}

TEST_F(SkinnedControlsTest, WithSkinningOffItIsAPlainButton) {
  CRTButton::SetSkinEnabled(0);
  MakeButton();
  EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), PixelOf(button.m_hWnd, 3, 3));
  testkit::Click(button.m_hWnd, POINT{10, 10});
  testkit::PumpPending();
  ASSERT_EQ(1u, parent.commands.size());  // the plain button's own notification
  EXPECT_EQ(MAKEWPARAM(kButtonId, BN_CLICKED), parent.commands[0].wParam);
}

TEST_F(SkinnedControlsTest, TextFollowsTheAlignmentBits) {
  struct Case {
    DWORD style;
    bool left, right, top, bottom;  // where text pixels may stand
  } cases[] = {
      {BS_LEFT | BS_TOP, true, false, true, false},
      {BS_RIGHT | BS_BOTTOM, false, true, false, true},
      {BS_CENTER | BS_VCENTER, true, false, true, false},  // both bits: left and top
  };
  for (const Case& c : cases) {
    MakeButton(c.style);
    const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    CRect r, ink(1000, 1000, -1, -1);
    button.GetClientRect(&r);
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x)
        if (PixelOf(button.m_hWnd, x, y) == text) {
          ink.left = std::min<int>(ink.left, x);
          ink.right = std::max<int>(ink.right, x);
          ink.top = std::min<int>(ink.top, y);
          ink.bottom = std::max<int>(ink.bottom, y);
        }
    ASSERT_LE(ink.left, ink.right) << std::hex << c.style;
    EXPECT_EQ(c.left, ink.left < r.Width() / 4) << std::hex << c.style;
    EXPECT_EQ(c.right, ink.right > r.Width() * 3 / 4) << std::hex << c.style;
    EXPECT_EQ(c.top, ink.top < r.Height() / 4) << std::hex << c.style;
    EXPECT_EQ(c.bottom, ink.bottom > r.Height() * 3 / 4) << std::hex << c.style;
    button.DestroyWindow();
  }
}

// ---------------------------------------------------------------- static

TEST_F(SkinnedControlsTest, StaticsOverAStripedParent) {
  const COLORREF ink = RGB(0, 0, 128);  // 'I', the parent's text colour
  struct Case {
    const char* name;
    int transparent;
    DWORD type;
    bool image;
    HBRUSH parentBrush;
    char corner;  // the bottom right corner, where no text is
    bool text;
  } cases[] = {
      {"opaque", 0, SS_LEFT, true, nullptr, 'G', true},
      {"transparent", 1, SS_LEFT, true, nullptr, '=', true},  // '=': the stripe below
      {"no image", 0, SS_LEFT, false, nullptr, '=', true},
      {"black frame", 0, SS_BLACKFRAME, true, nullptr, '=', false},
      {"parent's solid brush", 1, SS_LEFT, true, ::CreateSolidBrush(ColorOf('H')), 'H', true},
  };
  const CRect at(30, 60, 130, 90);
  for (const Case& c : cases) {
    CRTStatic::SetBackImage(c.image ? skin.images[0] : nullptr, kSkinStretch);
    parent.brush = c.parentBrush ? c.parentBrush : static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
    CRTStatic label;
    ASSERT_TRUE(label.Create("Hello", WS_CHILD | WS_VISIBLE | c.type, at, &parent, 50));
    label.SetTransparent(c.transparent);
    parent.Invalidate();
    Settle();
    const int x = at.Width() - 2, y = at.Height() - 2;
    const char expected = c.corner == '=' ? StripeAt(at.left + x) : c.corner;
    EXPECT_EQ(expected, LetterAt(label.m_hWnd, x, y)) << c.name;
    EXPECT_EQ(c.text, CountColor(label, ink) > 0) << c.name;
    label.DestroyWindow();
    if (c.parentBrush) ::DeleteObject(c.parentBrush);
  }
}

TEST_F(SkinnedControlsTest, StaticTextInTheKeyColourDisappears) {
  parent.textColor = ::GetSysColor(COLOR_BTNFACE);
  CRTStatic label;
  ASSERT_TRUE(label.Create("Hello", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(30, 60, 130, 90), &parent, 50));
  Settle();
  EXPECT_EQ(0, CountColor(label, ::GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(100 * 30, CountColor(label, ColorOf('G')));
}

TEST(CRTStaticClass, HasARunTimeClassRecord) {
  CRTStatic label;
  EXPECT_STREQ("CRTStatic", label.GetRuntimeClass()->m_lpszClassName);
  EXPECT_TRUE(label.IsKindOf(RUNTIME_CLASS(CStatic)));
}

}  // namespace
