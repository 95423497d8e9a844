// The gallery's skinned controls page, with our own skin (res/Skin/vAdev, so
// it runs from the top of the checkout): push buttons normal, focused (its
// image and the keyboard-focus outline), disabled and default, transparent and opaque statics, group boxes with and
// without their fill, and progress bars at 0, 37 and 100 per cent, reversed,
// vertical and with a status text; written as skincontrols.png, and with a
// button held down as skincontrols_pressed.png.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "GalleryPages.h"
#include "Clock.h"
#include "RTButton.h"
#include "RTGroupBox.h"
#include "RTProgressBar.h"
#include "RTSkin.h"
#include "RTStatic.h"
#include "SkinDraw.h"
#include "UiPlatform.h"

bool SaveWindowPng(HWND hwnd, const std::string& path);  // DialogPage.cpp

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// A page as the wizard shows it: the skin's dialog background, white static
// text on it (as the pages answer WM_CTLCOLORSTATIC), nothing filled behind it.
class Page : public CWnd {
 public:
  explicit Page(const SkinImageSet& back) : m_back(back) {}

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_ERASEBKGND) {
      CRect r;
      GetClientRect(&r);
      CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
      if (!DrawSkinBitmap(dc, r, m_back.images[0], m_back.modes[0])) dc->FillSolidRect(&r, RGB(60, 90, 140));
      return TRUE;
    }
    if (msg == WM_CTLCOLORSTATIC) {
      ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH));
    }
    return CWnd::WindowProc(msg, wParam, lParam);
  }

 private:
  const SkinImageSet& m_back;
};

struct Controls {
  std::vector<std::unique_ptr<CWnd>> owned;
  template <class T>
  T* Add(std::unique_ptr<T> wnd) {
    T* raw = wnd.get();
    owned.push_back(std::move(wnd));
    return raw;
  }
};

bool WritePage(const std::string& out, const CRTSkin& skin) {
  Page page(skin.GetImageSet(CRTSkin::kDialog));
  if (!page.CreateEx(0, AfxRegisterWndClass(0), "skinned controls", WS_POPUP | WS_VISIBLE, 30, 30, 560, 330, nullptr,
                     nullptr))
    return false;
  CFont font;
  font.CreatePointFont(80, "MS Sans Serif");
  Controls c;
  auto label = [&](const char* text, const CRect& at, int transparent) {
    auto s = c.Add(std::make_unique<CRTStatic>());
    s->Create(text, WS_CHILD | WS_VISIBLE | SS_LEFT, at, &page);
    s->SetFont(&font, FALSE);
    s->SetTransparent(transparent);
    return s;
  };
  auto button = [&](const char* text, const CRect& at, UINT id, DWORD type = BS_PUSHBUTTON) {
    auto b = c.Add(std::make_unique<CRTButton>());
    b->Create(text, WS_CHILD | WS_VISIBLE | type, at, &page, id);
    b->SetFont(&font, FALSE);
    return b;
  };
  auto group = [&](const char* text, const CRect& at, bool fill) {
    auto g = c.Add(std::make_unique<CRTGroupBox>());
    g->Create(text, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, at, &page, 0xFFFF);
    g->SetFont(&font, FALSE);
    if (!fill) g->SetBackground(0, 0);
    return g;
  };

  // Group boxes last, below what lies on them (the first child is the top one).

  label("Transparent static on the page", CRect(24, 34, 260, 50), 1);
  label("Opaque static on its skin image", CRect(24, 58, 260, 76), 0);
  button("Normal", CRect(24, 100, 104, 124), 1001);
  CRTButton* focused = button("Focused", CRect(108, 100, 188, 124), 1002);
  button("Disabled", CRect(192, 100, 266, 124), 1003)->EnableWindow(FALSE);
  label("A filled group box (the default): its", CRect(296, 34, 530, 50), 1);
  label("caption is in the fill colour, so unseen", CRect(296, 52, 530, 68), 1);
  button("Default", CRect(296, 100, 376, 124), 1005, BS_DEFPUSHBUTTON);
  button("Next >", CRect(384, 100, 464, 124), 1004);
  group("Security (fill off)", CRect(12, 10, 272, 150), false);
  group("Filled (the default)", CRect(284, 10, 544, 150), true);

  // Progress bars, each over a placeholder of its own as the pages have them.
  auto placeholder = [&](const CRect& at) {
    auto p = c.Add(std::make_unique<CStatic>());
    p->Create("", WS_CHILD, at, &page);
    return p;
  };
  label("0%", CRect(12, 168, 76, 184), 1);
  label("37%", CRect(12, 190, 76, 206), 1);
  label("100%", CRect(12, 212, 76, 228), 1);
  label("reversed", CRect(12, 234, 76, 250), 1);
  std::vector<std::unique_ptr<CRTProgressBar>> bars;
  const int positions[] = {0, 37, 100};
  for (int i = 0; i < 3; ++i) {
    bars.push_back(std::make_unique<CRTProgressBar>(placeholder(CRect(80, 168 + 22 * i, 494, 182 + 22 * i)), 100));
    bars.back()->SetPos(positions[i], 1);
  }
  bars.push_back(std::make_unique<CRTProgressBar>(placeholder(CRect(80, 234, 494, 248)), 100, nullptr, 1));
  bars.back()->SetPos(37, 1);
  bars.push_back(std::make_unique<CRTProgressBar>(placeholder(CRect(512, 168, 526, 310)), 100));
  bars.back()->SetPos(60, 1);
  // A bar with its status text: the estimate after a minute and a half.
  CRTStatic* status = label("", CRect(80, 278, 500, 294), 1);
  bars.push_back(
      std::make_unique<CRTProgressBar>(placeholder(CRect(80, 258, 494, 272)), 100, nullptr, 0, status, "Scanning", 2));
  PlatformClockAdvance(90 * 1000);  // the gallery's own clock, as a test would move it
  bars.back()->SetPos(37, 1);

  focused->SetFocus();
  Pump();
  page.UpdateWindow();
  bool ok = SaveWindowPng(page.m_hWnd, out + "/skincontrols.png");

  // Held down over "Next >".
  CRTButton* next = static_cast<CRTButton*>(page.GetDlgItem(1004));
  next->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  Pump();
  page.UpdateWindow();
  ok &= SaveWindowPng(page.m_hWnd, out + "/skincontrols_pressed.png");
  next->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-50, -50));  // released outside: no click
  bars.clear();
  page.DestroyWindow();
  return ok;
}

}  // namespace

bool SkinControls(const std::string& out) {
  CRTSkin skin;
  if (!skin.LoadSkin(OurSkinFile().c_str())) {
    std::printf("skipped skincontrols.png: run the gallery from the top of the checkout for res/Skin/vAdev\n");
    return true;
  }
  skin.EnableSkin(1);
  const bool ok = WritePage(out, skin);
  // The images go with the store: nobody may draw with them afterwards.
  skin.EnableSkin(0);
  CBitmap* none[SkinImageSet::kSlots] = {};
  const int32_t zero[SkinImageSet::kSlots] = {};
  CRTButton::SetImages(none, zero);
  CRTStatic::SetBackImage(nullptr, 0);
  return ok;
}
