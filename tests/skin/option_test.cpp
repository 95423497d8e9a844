// The skinned radio buttons and check boxes: the skin image shows through
// every part the system drew in the button-face colour; push buttons, a
// missing image and the switch turned off leave the system's look.
#include <gtest/gtest.h>

#include <memory>

#include "RTCheckBox.h"
#include "RTRadioButton.h"
#include "scroll_fixture.h"

using namespace skintest;

namespace {

// One button class under test, with its switch and image setters.
struct OptionKind {
  const char* name;
  std::function<std::unique_ptr<CButton>()> make;
  std::function<void(int)> setSkin;
  std::function<void(CBitmap* const*, const int32_t*)> setImages;
  DWORD ownStyle;  // a style the class takes over
};

std::vector<OptionKind> Kinds() {
  return {
      {"radio", [] { return std::make_unique<CRTRadioButton>(); }, [](int on) { CRTRadioButton::SetSkinFlag(on); },
       [](CBitmap* const* i, const int32_t* m) { CRTRadioButton::SetImages(i, m); }, BS_AUTORADIOBUTTON},
      {"check", [] { return std::make_unique<CRTCheckBox>(); }, [](int on) { CRTCheckBox::SetSkinFlags(on, 0); },
       [](CBitmap* const* i, const int32_t* m) { CRTCheckBox::SetImages(i, m); }, BS_AUTOCHECKBOX},
  };
}

class OptionTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    kind = Kinds()[static_cast<size_t>(GetParam())];
    ASSERT_TRUE(page.Make(CRect(50, 50, 350, 250)));
    kind.setImages(set.images(), set.modes());
  }
  void TearDown() override {
    CBitmap* none[5] = {};
    const int32_t modes[5] = {};
    kind.setImages(none, modes);
    kind.setSkin(0);
    if (button) button->DestroyWindow();
    page.DestroyWindow();
    testkit::ResetWindows();
  }
  void MakeButton(DWORD type) {
    button = kind.make();
    ASSERT_TRUE(button->Create("Option", WS_CHILD | WS_VISIBLE | type, CRect(10, 10, 210, 40), &page, 100));
    Repaint();
  }
  void Repaint() {
    button->Invalidate();
    button->UpdateWindow();
    testkit::PumpPending();
  }
  // How many pixels of the button are the skin image's letter 'A'.
  int SkinPixels() {
    int n = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 200; ++x) n += PixelLetter(button->m_hWnd, x, y) == 'A';
    return n;
  }

  OptionKind kind;
  SolidSet set{"ABCDE"};
  RecordingPage page;
  std::unique_ptr<CButton> button;
};

TEST_P(OptionTest, SkinShowsThroughTheButtonFaceAndTheButtonStaysOnTop) {
  kind.setSkin(1);
  MakeButton(kind.ownStyle);
  // The empty right end of the button was button face: the skin shows there.
  EXPECT_EQ('A', PixelLetter(button->m_hWnd, 195, 15));
  const int skin = SkinPixels();
  // The mark and the text were drawn in other colours and stay visible.
  EXPECT_GT(skin, 200 * 30 / 2);
  EXPECT_LT(skin, 200 * 30);
}

TEST_P(OptionTest, SystemLookWhenSkinOffImageMissingOrPushButton) {
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  auto faceAt = [&](int x, int y) {
    const uint32_t rgb = testkit::WindowPixel(button->m_hWnd, x, y);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF) == face;
  };
  MakeButton(kind.ownStyle);  // switch off
  EXPECT_EQ(0, SkinPixels());
  EXPECT_TRUE(faceAt(195, 15));
  button->DestroyWindow();

  kind.setSkin(1);
  for (DWORD push : {DWORD(BS_PUSHBUTTON), DWORD(BS_DEFPUSHBUTTON)}) {
    MakeButton(push);
    EXPECT_EQ(0, SkinPixels()) << push;
    button->DestroyWindow();
  }

  CBitmap* none[5] = {};
  kind.setImages(none, set.modes());
  MakeButton(kind.ownStyle);
  EXPECT_EQ(0, SkinPixels());
  EXPECT_TRUE(faceAt(195, 15));
}

TEST_P(OptionTest, TurningTheSwitchRepaintsEitherWay) {
  kind.setSkin(1);
  MakeButton(kind.ownStyle);
  EXPECT_EQ('A', PixelLetter(button->m_hWnd, 195, 15));
  kind.setSkin(0);
  Repaint();
  EXPECT_EQ(0, SkinPixels());
}

INSTANTIATE_TEST_SUITE_P(Classes, OptionTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) { return Kinds()[static_cast<size_t>(info.param)].name; });

TEST(OptionStyles, LooseBitTestsAsDesigned) {
  // Radio, automatic radio and the types that share their bits.
  for (DWORD s : {4u, 9u, 5u, 6u, 7u, 11u}) EXPECT_TRUE(CRTRadioButton::TakesOver(s)) << s;
  for (DWORD s : {0u, 1u, 2u, 3u, 8u}) EXPECT_FALSE(CRTRadioButton::TakesOver(s)) << s;
  for (DWORD s : {2u, 3u, 6u, 7u}) EXPECT_TRUE(CRTCheckBox::TakesOver(s)) << s;
  for (DWORD s : {0u, 1u, 4u, 5u, 8u, 9u}) EXPECT_FALSE(CRTCheckBox::TakesOver(s)) << s;
}

}  // namespace
