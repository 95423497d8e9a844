// The skinned frame window on the caption harness of the skinned dialog,
// with the frame's own class-wide images; its menus handed to the menu
// skinning; and the light background its tool-bar hosts get.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AfxCtrlBar.h"
#include "RTFrameWnd.h"
#include "RTMenuSkin.h"
#include "Resource.h"
#include "TestKit.h"
#include "caption_fixture.h"

namespace {

const UINT kFrameResource = 7731;
const CRect kFramePlace(40, 40, 340, 240);  // 300 x 200

class TestFrame : public CRTFrameWnd {
 public:
  using CRTFrameWnd::m_caption;
};

class SkinFrameTest : public CaptionHarness {
 protected:
  SkinCaptionLook Look() const override { return CRTFrameWnd::CaptionLook(); }

  void SetUp() override {
    CBitmap* titles[5] = {nullptr, Solid('T'), Solid('t'), nullptr, nullptr};
    const int32_t titleModes[5] = {0, kSkinStretch, kSkinStretch, 0, 0};
    CRTFrameWnd::SetTitleBarImages(titles, titleModes);
    SetButtons(CRTFrameWnd::SetExitButtonImages, "1234");
    SetButtons(CRTFrameWnd::SetMaximizeButtonImages, "5678");
    SetButtons(CRTFrameWnd::SetRestoreButtonImages, "rsuv");
    SetButtons(CRTFrameWnd::SetMinimizeButtonImages, "mnop");
    const COLORREF rings[4] = {ColorOf('W'), ColorOf('X'), ColorOf('Y'), ColorOf('Z')};
    CRTFrameWnd::SetBorderColors(rings);
    CRTFrameWnd::SetSkinFlags(1, 1, 1);
  }
  void TearDown() override {
    testkit::ResetWindows();
    CRTFrameWnd::ResetSkin();
    CRTMenuSkin::Reset();
  }

  // The frame deletes itself when its window goes.
  TestFrame* Open(const char* title = "") {
    auto* frame = new TestFrame;
    EXPECT_TRUE(frame->Create(nullptr, title, WS_OVERLAPPEDWINDOW, kFramePlace));
    frame->SetTitle(title);
    frame->ShowWindow(SW_SHOW);
    frame->SetActiveWindow();
    frame->UpdateWindow();
    testkit::PumpPending();
    return frame;
  }

  // A point in the caption clear of the text and the buttons.
  CPoint CaptionClear() const {
    const CRect caption = CRTCaption::CaptionRect(Look(), kFramePlace.Width());
    return CPoint(caption.right - 80, caption.top + 2);
  }
};

TEST_F(SkinFrameTest, DrawsRingsCaptionAndButtonsWithTheFramesOwnImagesAndMetrics) {
  TestFrame* frame = Open();
  const SkinCaptionLook look = Look();
  const int f = ::GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(::GetSystemMetrics(SM_CYSIZE), look.captionHeight);
  std::string rings;
  for (int i = 0; i < f; ++i) rings += "WXYZ"[std::min(i, 3)];
  EXPECT_EQ(rings, RowOf(frame->m_hWnd, 100, 0, f));
  EXPECT_EQ('T', LetterAt(frame->m_hWnd, CaptionClear().x, CaptionClear().y));
  EXPECT_EQ('1', ButtonLetter(frame, kCloseButton));
  EXPECT_EQ('5', ButtonLetter(frame, kMaximizeButton));
  EXPECT_EQ('m', ButtonLetter(frame, kMinimizeButton));
}

TEST_F(SkinFrameTest, ActivationFollowsActivateNotNcActivate) {
  TestFrame* frame = Open();
  EXPECT_EQ(1, frame->CaptionState().active);
  frame->SendMessage(WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(1, frame->CaptionState().active) << "WM_NCACTIVATE takes the default processing only";
  frame->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(0, frame->CaptionState().active);
  EXPECT_EQ('t', LetterAt(frame->m_hWnd, CaptionClear().x, CaptionClear().y));
  frame->SendMessage(WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_EQ(1, frame->CaptionState().active);
}

TEST_F(SkinFrameTest, CaptionShowsTheTitleStringNotTheWindowText) {
  TestFrame* frame = Open();
  const CRect caption = CRTCaption::CaptionRect(Look(), kFramePlace.Width());
  auto textPixels = [&] {
    int n = 0;
    for (int y = caption.top; y < caption.bottom; ++y)
      for (int x = caption.left + 2; x < caption.left + 80; ++x) n += LetterAt(frame->m_hWnd, x, y) != 'T';
    return n;
  };
  frame->SetWindowText("MMMMMMMM");
  testkit::PumpPending();
  EXPECT_EQ(0, textPixels()) << "an empty title shows no text";
  frame->SetTitle("MMMMMMMM");
  frame->SetWindowText("");
  testkit::PumpPending();
  EXPECT_GT(textPixels(), 0);
}

// The system's caption text colour stays where it reads on the title image,
// and turns black or white where it would vanish into it.
TEST_F(SkinFrameTest, CaptionTextStaysReadableOnTheTitleImage) {
  const COLORREF system = ::GetSysColor(COLOR_CAPTIONTEXT);
  const struct {
    COLORREF title, text;
  } cases[] = {
      {system, (GetRValue(system) + GetGValue(system) + GetBValue(system)) / 3 >= 128 ? RGB(0, 0, 0) : RGB(255, 255, 255)},
      {RGB(255 - GetRValue(system), 255 - GetGValue(system), 255 - GetBValue(system)), system},
  };
  for (const auto& c : cases) {
    CBitmap image;
    image.Attach(::CreateBitmap(12, 12, 1, 32, nullptr));
    {
      CDC dc;
      dc.CreateCompatibleDC(nullptr);
      HGDIOBJ old = dc.SelectObject(static_cast<HGDIOBJ>(image.GetSafeHandle()));
      dc.FillSolidRect(0, 0, 12, 12, c.title);
      dc.SelectObject(old);
    }
    CBitmap* titles[5] = {nullptr, &image, &image, nullptr, nullptr};
    const int32_t modes[5] = {0, kSkinStretch, kSkinStretch, 0, 0};
    CRTFrameWnd::SetTitleBarImages(titles, modes);
    TestFrame* frame = Open("MMMMMMMM");
    const CRect caption = CRTCaption::CaptionRect(Look(), kFramePlace.Width());
    int text = 0;
    for (int y = caption.top; y < caption.bottom; ++y)
      for (int x = caption.left + 2; x < caption.left + 80; ++x)
        text += testkit::WindowPixel(frame->m_hWnd, x, y) == AsPixel(c.text);
    EXPECT_GT(text, 10) << std::hex << c.title;
    frame->DestroyWindow();
  }
}

TEST_F(SkinFrameTest, CloseButtonSendsTheCloseSystemCommand) {
  TestFrame* frame = Open();
  const HWND h = frame->m_hWnd;
  testkit::MessageSpy spy;
  const CPoint close = ButtonCentre(frame, kCloseButton);
  MoveTo(frame, close);
  Down(frame, close);
  EXPECT_EQ('3', ButtonLetter(frame, kCloseButton));
  Up(frame, close);
  bool sawClose = false;
  for (const auto& m : spy.messages)
    if (m.hwnd == h && m.msg == WM_SYSCOMMAND && (m.wParam & 0xFFF0) == SC_CLOSE) sawClose = true;
  EXPECT_TRUE(sawClose);
  EXPECT_FALSE(::IsWindow(h)) << "the system's close handling ran";
}

TEST_F(SkinFrameTest, MaximizedFrameShowsRestoreAndItsReleaseRestores) {
  TestFrame* frame = Open();
  frame->ShowWindow(SW_MAXIMIZE);
  testkit::PumpPending();
  EXPECT_EQ('r', ButtonLetter(frame, kMaximizeButton));
  const CPoint middle = ButtonCentre(frame, kMaximizeButton);
  MoveTo(frame, middle);
  Down(frame, middle);
  Up(frame, middle);
  EXPECT_FALSE(frame->IsZoomed());
  EXPECT_EQ('5', ButtonLetter(frame, kMaximizeButton));
}

// ---- Menus -----------------------------------------------------------------

TEST_F(SkinFrameTest, LoadedFrameHandsItsMenusToTheMenuSkinning) {
  PlatformAddString(kFrameResource, "Loaded");
  PlatformAddMenu(MAKEINTRESOURCEA(kFrameResource), {{401, "&File"}, {402, "&Help"}});
  auto* frame = new TestFrame;
  ASSERT_TRUE(frame->LoadFrame(kFrameResource, WS_OVERLAPPEDWINDOW));
  EXPECT_TRUE(CRTMenuSkin::HasWindowProperty(frame->m_hWnd));
  HMENU bar = ::GetMenu(frame->m_hWnd);
  ASSERT_NE(nullptr, bar);
  EXPECT_TRUE(CRTMenuSkin::IsOwnerDrawnMenu(bar));
  EXPECT_TRUE(CRTMenuSkin::IsOwnerDrawnMenu(::GetSystemMenu(frame->m_hWnd, FALSE)));
  EXPECT_STREQ("Loaded", frame->GetTitle());
  // Menu characters of its own menus go to the menu skinning.
  EXPECT_EQ(0x20001, frame->SendMessage(WM_MENUCHAR, MAKEWPARAM('h', 0), reinterpret_cast<LPARAM>(bar)));
  // A drawing request of a control is not the menu skinning's.
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  EXPECT_FALSE(CRTMenuSkin::DrawItem(&dis, frame));
  frame->DestroyWindow();
}

TEST_F(SkinFrameTest, PopupsArePreparedWhenTheyOpen) {
  TestFrame* frame = Open();
  HMENU popup = ::CreatePopupMenu();
  ::AppendMenuA(popup, MF_STRING, 501, "&Copy\tCtrl+C");
  frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
  EXPECT_TRUE(CRTMenuSkin::IsOwnerDrawnMenu(popup));
  EXPECT_STREQ("&Copy\tCtrl+C", CRTMenuSkin::TextOf(501, nullptr));
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemData = CRTMenuSkin::PackItemData(20, 10, 30);
  frame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_EQ(82u, mis.itemWidth);
  ::DestroyMenu(popup);
}

// ---- Background of tool-bar hosts ---------------------------------------------

// A window class of its own for each host kind, so the class change stays in this test.
void RegisterTestClass(const char* name) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
  wc.lpszClassName = name;
  ::RegisterClassA(&wc);
}

ULONG_PTR ClassBrush(HWND hwnd) { return ::GetClassLongPtrA(hwnd, GCL_HBRBACKGROUND); }

void Notify(CWnd* frame, HWND sender) {
  NMHDR header{sender, 1, NM_CLICK};
  frame->SendMessage(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header));
}

TEST_F(SkinFrameTest, ToolBarDockedInAControlBarGivesTheBarTheLightBackground) {
  TestFrame* frame = Open();
  RegisterTestClass("TestDockBar");
  RegisterTestClass("TestPlainHost");
  RegisterTestClass("Afx:TestSender");
  const ULONG_PTR light = reinterpret_cast<ULONG_PTR>(CRTFrameWnd::BackgroundBrush());

  CControlBar dock;
  ASSERT_TRUE(dock.Create("TestDockBar", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 30), frame, 1));
  CToolBarCtrl docked;
  ASSERT_TRUE(docked.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 26), &dock, 2));
  CWnd plain;
  ASSERT_TRUE(plain.Create("TestPlainHost", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 40, 200, 70), frame, 3));
  CToolBarCtrl loose;
  ASSERT_TRUE(loose.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 26), &plain, 4));
  CWnd afxSender;
  ASSERT_TRUE(afxSender.Create("Afx:TestSender", nullptr, WS_CHILD, CRect(0, 80, 20, 90), frame, 5));

  EXPECT_NE(light, ClassBrush(dock.m_hWnd));
  Notify(frame, docked.m_hWnd);
  EXPECT_EQ(light, ClassBrush(dock.m_hWnd)) << "a tool bar in a control bar";
  Notify(frame, loose.m_hWnd);
  EXPECT_NE(light, ClassBrush(plain.m_hWnd)) << "a tool bar in a window that is no control bar";
  Notify(frame, afxSender.m_hWnd);
  EXPECT_EQ(light, ClassBrush(afxSender.m_hWnd)) << "a sender of a class-layer class";
  for (CWnd* w : std::vector<CWnd*>{&docked, &dock, &loose, &plain, &afxSender}) w->DestroyWindow();
}

}  // namespace
