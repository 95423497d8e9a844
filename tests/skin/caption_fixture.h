// The caption harness shared by the skinned windows' tests: a test skin of
// solid-colour images, one colour per image, so every pixel read back names
// the image (or ring) that drew it; and the mouse played on window points.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RTCaption.h"
#include "SkinDraw.h"
#include "TestKit.h"

namespace {

// Letters of the test skin. Rings W X Y Z; title T (active) and t (inactive);
// close 1 normal, 2 hot, 3 down, 4 disable; maximize 5 6 7 8; restore r s u v;
// minimize m n o p; background K.
const std::string kLetters = "WXYZTt12345678rsuvmnopK";

inline COLORREF ColorOf(char letter) {
  const size_t i = kLetters.find(letter);
  EXPECT_NE(std::string::npos, i) << letter;
  return RGB(20 + static_cast<int>(i) * 9, 240 - static_cast<int>(i) * 7, 40 + (static_cast<int>(i) * 53) % 200);
}

// WindowPixel gives 0x00RRGGBB.
inline uint32_t AsPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

inline char LetterAt(HWND hwnd, int x, int y) {
  const uint32_t p = testkit::WindowPixel(hwnd, x, y);
  for (char letter : kLetters)
    if (AsPixel(ColorOf(letter)) == p) return letter;
  return '?';
}

inline std::string RowOf(HWND hwnd, int y, int x0, int x1) {
  std::string s;
  for (int x = x0; x < x1; ++x) s += LetterAt(hwnd, x, y);
  return s;
}

inline std::string ColumnOf(HWND hwnd, int x, int y0, int y1) {
  std::string s;
  for (int y = y0; y < y1; ++y) s += LetterAt(hwnd, x, y);
  return s;
}

// Runs of letters, e.g. {{'W', 1}, {'T', 3}} gives "WTTT".
inline std::string Runs(const std::vector<std::pair<char, int>>& runs) {
  std::string s;
  for (const auto& r : runs) s.append(static_cast<size_t>(r.second), r.first);
  return s;
}

// A fixture base for one skinned window class, named by its caption look.
class CaptionHarness : public ::testing::Test {
 protected:
  virtual SkinCaptionLook Look() const = 0;

  CBitmap* Solid(char letter, int w = 12, int h = 12) {
    auto bm = std::make_unique<CBitmap>();
    bm->Attach(::CreateBitmap(w, h, 1, 32, nullptr));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ old = dc.SelectObject(static_cast<HGDIOBJ>(bm->GetSafeHandle()));
    dc.FillSolidRect(0, 0, w, h, ColorOf(letter));
    dc.SelectObject(old);
    m_images.push_back(std::move(bm));
    return m_images.back().get();
  }

  void SetButtons(int (*setter)(CBitmap* const*, const int32_t*), const char* letters) {
    CBitmap* images[5] = {nullptr, Solid(letters[0]), Solid(letters[1]), Solid(letters[2]), Solid(letters[3])};
    const int32_t modes[5] = {0, kSkinTile, kSkinTile, kSkinTile, kSkinTile};  // the buttons stretch whatever is set
    setter(images, modes);
  }

  CPoint ButtonCentre(CWnd* wnd, CaptionButton button) const {
    CRect window;
    wnd->GetWindowRect(&window);
    const CRect r = CRTCaption::ButtonRect(Look(), window.Width(), button);
    return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  static CPoint OnScreen(CWnd* wnd, CPoint windowPoint) {
    CRect window;
    wnd->GetWindowRect(&window);
    return windowPoint + window.TopLeft();
  }
  static LRESULT HitAt(CWnd* wnd, CPoint windowPoint) {
    const CPoint s = OnScreen(wnd, windowPoint);
    return wnd->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y));
  }
  static void MoveTo(CWnd* wnd, CPoint windowPoint) {
    testkit::MouseMove(OnScreen(wnd, windowPoint));
    testkit::PumpPending();
  }
  static void Down(CWnd* wnd, CPoint windowPoint) {
    testkit::MouseDown(OnScreen(wnd, windowPoint));
    testkit::PumpPending();
  }
  static void Up(CWnd* wnd, CPoint windowPoint) {
    testkit::MouseUp(OnScreen(wnd, windowPoint));
    testkit::PumpPending();
  }
  char ButtonLetter(CWnd* wnd, CaptionButton button) {
    const CPoint c = ButtonCentre(wnd, button);
    return LetterAt(wnd->m_hWnd, c.x, c.y);
  }

  std::vector<std::unique_ptr<CBitmap>> m_images;
};

}  // namespace
