// The skinned property sheet's caption (only the close button drawn; the
// places of the maximize and minimize buttons act as caption), its skinned
// buttons and tab control, and the skinned property page's background and
// control colours. Solid-colour images, one letter each.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RTPropertyPage.h"
#include "RTPropertySheet.h"
#include "SkinDraw.h"
#include "TestKit.h"
#include "skin_fixture.h"

using skintest::Canvas;

namespace {

// Title T (active) and t (inactive); close 1 normal, 2 hot, 3 down, 4 disable.
const std::string kLetters = "Tt1234K";

COLORREF InkOf(char letter) {
  const size_t i = kLetters.find(letter);
  return RGB(30 + static_cast<int>(i) * 25, 220 - static_cast<int>(i) * 20, 90 + static_cast<int>(i) * 11);
}

char LetterAt(HWND hwnd, int x, int y) {
  const uint32_t p = testkit::WindowPixel(hwnd, x, y);
  for (char letter : kLetters) {
    const COLORREF c = InkOf(letter);
    if (static_cast<uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)) == p) return letter;
  }
  return '?';
}

class TestSheet : public CRTPropertySheet {
 public:
  TestSheet() : CRTPropertySheet("Settings") {}
};

const DWORD kBase = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;

class SheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Images another test's skin store left behind are gone with it.
    CBitmap* none[5] = {};
    const int32_t zero[5] = {};
    CRTButton::SetImages(none, zero);
    CRTTabCtrl::SetImages(none, zero);
    CRTPropertySheet::SetBackImage(nullptr, 0);
    CBitmap* titles[5] = {nullptr, Solid('T'), Solid('t'), nullptr, nullptr};
    const int32_t modes[5] = {0, kSkinStretch, kSkinStretch, 0, 0};
    CRTPropertySheet::SetTitleBarImages(titles, modes);
    CBitmap* close[5] = {nullptr, Solid('1'), Solid('2'), Solid('3'), Solid('4')};
    CRTPropertySheet::SetExitButtonImages(close, modes);
    CRTPropertySheet::SetSkinFlags(1, 1, 1, 1);
  }
  void TearDown() override {
    testkit::ResetWindows();
    CRTPropertySheet::SetSkinFlags(0, 0, 0, 0);
    CRTPropertySheet::s_titleBar = SkinImageSet();
    CRTPropertySheet::s_exitButton = SkinImageSet();
    CRTPropertySheet::SetBackImage(nullptr, 0);
    CRTPropertyPage::s_images = SkinImageSet();
    CRTPropertyPage::SetSkinFlag(0);
  }

  CBitmap* Solid(char letter) {
    auto bm = std::make_unique<CBitmap>();
    bm->Attach(::CreateBitmap(12, 12, 1, 32, nullptr));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ old = dc.SelectObject(static_cast<HGDIOBJ>(bm->GetSafeHandle()));
    dc.FillSolidRect(0, 0, 12, 12, InkOf(letter));
    dc.SelectObject(old);
    images.push_back(std::move(bm));
    return images.back().get();
  }

  std::unique_ptr<TestSheet> Open(DWORD style) {
    auto sheet = std::make_unique<TestSheet>();
    EXPECT_TRUE(sheet->Create(nullptr, style));
    sheet->MoveWindow(CRect(50, 60, 330, 260));
    sheet->SetActiveWindow();
    sheet->UpdateWindow();
    testkit::PumpPending();
    return sheet;
  }
  static CPoint Centre(CWnd* wnd, CaptionButton button) {
    CRect window;
    wnd->GetWindowRect(&window);
    const CRect r = CRTCaption::ButtonRect(CRTPropertySheet::CaptionLook(), window.Width(), button);
    return r.CenterPoint() + window.TopLeft();  // on the screen
  }
  static char ButtonLetter(CWnd* wnd, CaptionButton button) {
    CRect window;
    wnd->GetWindowRect(&window);
    CPoint c = Centre(wnd, button);
    c.Offset(-window.left, -window.top);
    return LetterAt(wnd->m_hWnd, c.x, c.y);
  }
  static void Click(CPoint screen) {
    testkit::MouseMove(screen);
    testkit::PumpPending();
    testkit::MouseDown(screen);
    testkit::PumpPending();
    testkit::MouseUp(screen);
    testkit::PumpPending();
  }

  std::vector<std::unique_ptr<CBitmap>> images;
};

TEST_F(SheetTest, OnlyTheCloseButtonIsDrawnWhateverTheBoxes) {
  const DWORD styles[] = {kBase, kBase | WS_MINIMIZEBOX, kBase | WS_MAXIMIZEBOX, kBase | WS_MINIMIZEBOX | WS_MAXIMIZEBOX};
  for (DWORD style : styles) {
    SCOPED_TRACE(testing::Message() << std::hex << style);
    auto sheet = Open(style);
    EXPECT_EQ('1', ButtonLetter(sheet.get(), kCloseButton));
    EXPECT_EQ('T', ButtonLetter(sheet.get(), kMaximizeButton));
    EXPECT_EQ('T', ButtonLetter(sheet.get(), kMinimizeButton));
    sheet->DestroyWindow();
  }
}

// The platform still reports the boxes' places; the sheet, which never draws
// them, lets a press there do nothing.
TEST_F(SheetTest, PressOnTheUndrawnBoxesDoesNothing) {
  const struct {
    DWORD style;
    CaptionButton button;
    LRESULT hit;
  } cases[] = {
      {kBase | WS_MINIMIZEBOX, kMinimizeButton, HTMINBUTTON},
      {kBase | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, kMinimizeButton, HTMINBUTTON},
      {kBase | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, kMaximizeButton, HTMAXBUTTON},
  };
  for (const auto& c : cases) {
    auto sheet = Open(c.style);
    const CPoint at = Centre(sheet.get(), c.button);
    ASSERT_EQ(c.hit, sheet->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)));
    testkit::MessageSpy spy;
    testkit::MouseMove(at);
    testkit::PumpPending();
    EXPECT_EQ(0, sheet->CaptionState().buttons[c.button]) << "no hot look";
    Click(at);
    EXPECT_TRUE(spy.Of(sheet->m_hWnd, {WM_SYSCOMMAND, WM_CLOSE}).empty());
    EXPECT_FALSE(sheet->IsIconic());
    EXPECT_FALSE(sheet->IsZoomed());
    EXPECT_EQ(0, sheet->CaptionState().tracking);
    EXPECT_NE(sheet->m_hWnd, ::GetCapture());
    EXPECT_EQ('T', ButtonLetter(sheet.get(), c.button));
    sheet->DestroyWindow();
  }
}

TEST_F(SheetTest, CloseButtonClosesTheSheet) {
  auto sheet = Open(kBase | WS_MINIMIZEBOX);
  testkit::MessageSpy spy;
  const CPoint close = Centre(sheet.get(), kCloseButton);
  testkit::MouseMove(close);
  testkit::PumpPending();
  EXPECT_EQ('2', ButtonLetter(sheet.get(), kCloseButton));
  testkit::MouseDown(close);
  testkit::PumpPending();
  EXPECT_EQ('3', ButtonLetter(sheet.get(), kCloseButton));
  EXPECT_EQ(1, sheet->CaptionState().tracking);
  const HWND hwnd = sheet->m_hWnd;
  testkit::MouseUp(close);
  testkit::PumpPending();
  EXPECT_EQ(std::vector<UINT>{WM_CLOSE}, spy.Of(hwnd, {WM_CLOSE}));
  EXPECT_FALSE(::IsWindow(hwnd));  // a modeless sheet goes on closing
}

TEST_F(SheetTest, ActivateAppSwitchesTheTitleImageAndNcActivateDoesNotStore) {
  auto sheet = Open(kBase);
  const CPoint title(140, 8);
  EXPECT_EQ('T', LetterAt(sheet->m_hWnd, title.x, title.y));
  sheet->SendMessage(WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(1, sheet->SendMessage(WM_NCACTIVATE, TRUE, 0));  // shows the stored state, stores nothing
  EXPECT_EQ(0, sheet->CaptionState().active);
  EXPECT_EQ('t', LetterAt(sheet->m_hWnd, title.x, title.y));
  sheet->SendMessage(WM_ACTIVATEAPP, TRUE, 0);
  sheet->SendMessage(WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ('T', LetterAt(sheet->m_hWnd, title.x, title.y));
}

TEST_F(SheetTest, ButtonsAndTabControlAreSkinnedAndTheBackgroundStretches) {
  CRTPropertySheet::SetBackImage(Solid('K'), kSkinTile);
  auto sheet = Open(kBase);
  EXPECT_NE(nullptr, dynamic_cast<CRTButton*>(CWnd::FromHandlePermanent(::GetDlgItem(sheet->m_hWnd, IDOK))));
  EXPECT_NE(nullptr, dynamic_cast<CRTButton*>(CWnd::FromHandlePermanent(::GetDlgItem(sheet->m_hWnd, IDCANCEL))));
  EXPECT_NE(nullptr, dynamic_cast<CRTButton*>(CWnd::FromHandlePermanent(::GetDlgItem(sheet->m_hWnd, 0x3021))));
  EXPECT_EQ(&sheet->SkinnedTabs(), CWnd::FromHandlePermanent(::GetDlgItem(sheet->m_hWnd, 0x3020)));

  CRect client;
  sheet->GetClientRect(&client);
  Canvas canvas(client.Width(), client.Height());
  EXPECT_EQ(1, sheet->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()->GetSafeHdc()), 0));
  EXPECT_EQ(InkOf('K'), ::GetPixel(canvas.dc()->GetSafeHdc(), client.Width() - 1, client.Height() - 1));
}

TEST_F(SheetTest, PageErasesWithTheSkinAndGivesControlsAHollowBrush) {
  CRTPropertyPage::SetSkinFlag(1);
  CBitmap* back[5] = {Solid('K'), nullptr, nullptr, nullptr, nullptr};
  const int32_t modes[5] = {kSkinStretch, 0, 0, 0, 0};
  CRTPropertyPage::SetImages(back, modes);

  DialogTemplate tpl;
  tpl.style = WS_POPUP | WS_VISIBLE;
  tpl.cx = 100;
  tpl.cy = 50;
  std::unique_ptr<CObject> made(RUNTIME_CLASS(CRTPropertyPage)->CreateObject());
  auto* page = dynamic_cast<CRTPropertyPage*>(made.get());
  ASSERT_NE(nullptr, page);
  ASSERT_TRUE(page->CreateIndirect(&tpl, nullptr));
  CStatic label;
  ASSERT_TRUE(label.Create("Name", WS_CHILD | WS_VISIBLE, CRect(5, 5, 60, 20), page));

  Canvas canvas(40, 20);
  const HDC dc = canvas.dc()->GetSafeHdc();
  EXPECT_EQ(1, page->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
  EXPECT_EQ(InkOf('K'), ::GetPixel(dc, 39, 19));
  ::SetBkMode(dc, OPAQUE);
  const LRESULT brush = page->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(label.m_hWnd));
  EXPECT_EQ(reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH)), brush);
  EXPECT_EQ(TRANSPARENT, ::GetBkMode(dc));

  CRTPropertyPage::SetSkinFlag(0);
  Canvas plain(40, 20);
  page->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(plain.dc()->GetSafeHdc()), 0);
  EXPECT_NE(InkOf('K'), ::GetPixel(plain.dc()->GetSafeHdc(), 39, 19));
  label.DestroyWindow();
  page->DestroyWindow();
}

}  // namespace
