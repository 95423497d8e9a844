// The gallery's skinned dialog page: a CRTDialog with a skin drawn here (title
// bars, caption buttons in their four looks, a background), active with the
// close button hot, active with the maximize button pressed, and inactive
// with the minimize button hot; written as skindialog_*.png, and with our own
// skin as skindialog_vadev_*.png when the gallery runs from the checkout.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "GalleryPages.h"
#include "RTDialog.h"
#include "RTSkin.h"
#include "SkinDraw.h"
#include "UiPlatform.h"

bool SaveWindowPng(HWND hwnd, const std::string& path);  // DialogPage.cpp

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

COLORREF Mix(COLORREF a, COLORREF b, int num, int den) {
  auto part = [&](int x, int y) { return x + (y - x) * num / den; };
  return RGB(part(GetRValue(a), GetRValue(b)), part(GetGValue(a), GetGValue(b)), part(GetBValue(a), GetBValue(b)));
}

enum Glyph { kGlyphClose, kGlyphMaximize, kGlyphRestore, kGlyphMinimize };

// The gallery's own skin images, kept for the page's run.
class GallerySkin {
 public:
  GallerySkin() {
    CBitmap* titles[5] = {nullptr, Gradient(RGB(36, 84, 160), RGB(96, 156, 226), ::GetSystemMetrics(SM_CYCAPTION)),
                          Gradient(RGB(120, 128, 140), RGB(176, 182, 192), ::GetSystemMetrics(SM_CYCAPTION)), nullptr, nullptr};
    const int32_t titleModes[5] = {0, kSkinStretch, kSkinStretch, 0, 0};
    CRTDialog::SetTitleBarImages(titles, titleModes);
    SetButtons(CRTDialog::SetExitButtonImages, kGlyphClose, RGB(200, 70, 60));
    SetButtons(CRTDialog::SetMaximizeButtonImages, kGlyphMaximize, RGB(70, 120, 200));
    SetButtons(CRTDialog::SetRestoreButtonImages, kGlyphRestore, RGB(70, 120, 200));
    SetButtons(CRTDialog::SetMinimizeButtonImages, kGlyphMinimize, RGB(70, 120, 200));
    CRTDialog::SetBackImage(Gradient(RGB(232, 238, 248), RGB(196, 210, 232), 32), kSkinStretch);
    CRTDialog::SetSkinFlags(1, 1, 1, 1);
  }
  ~GallerySkin() { CRTDialog::ResetSkin(); }

 private:
  CBitmap* New(int w, int h, CDC& dc) {
    m_images.push_back(std::make_unique<CBitmap>());
    m_images.back()->Attach(::CreateBitmap(w, h, 1, 32, nullptr));
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(static_cast<HGDIOBJ>(m_images.back()->GetSafeHandle()));
    return m_images.back().get();
  }

  // A top-to-bottom gradient, 16 wide. Drawn no higher than where it goes:
  // the default stretch mode merges the rows a shrinking stretch drops.
  CBitmap* Gradient(COLORREF top, COLORREF bottom, int h) {
    CDC dc;
    CBitmap* bm = New(16, h, dc);
    for (int y = 0; y < h; ++y) dc.FillSolidRect(0, y, 16, 1, Mix(top, bottom, y, h - 1));
    return bm;
  }

  // One look of a caption button: a framed face with its glyph, 17 x 15.
  CBitmap* Button(Glyph glyph, COLORREF face, COLORREF ink, COLORREF frame) {
    const int w = 17, h = 15;
    CDC dc;
    CBitmap* bm = New(w, h, dc);
    for (int y = 0; y < h; ++y) dc.FillSolidRect(0, y, w, 1, Mix(RGB(255, 255, 255), face, 3 + y, h + 2));
    dc.Draw3dRect(0, 0, w, h, frame, frame);
    CPen pen(PS_SOLID, 1, ink);
    CPen* old = dc.SelectObject(&pen);
    auto line = [&](int x0, int y0, int x1, int y1) {
      dc.MoveTo(x0, y0);
      dc.LineTo(x1, y1);
    };
    switch (glyph) {
      case kGlyphClose:
        for (int d = 0; d < 2; ++d) {
          line(5 + d, 4, 12 + d, 11);
          line(11 + d, 4, 4 + d, 11);
        }
        break;
      case kGlyphMaximize:
        dc.Draw3dRect(4, 3, 9, 9, ink, ink);
        line(4, 4, 13, 4);
        break;
      case kGlyphRestore:
        dc.Draw3dRect(6, 3, 7, 6, ink, ink);
        dc.FillSolidRect(4, 6, 7, 6, Mix(RGB(255, 255, 255), face, 8, h + 2));
        dc.Draw3dRect(4, 6, 7, 6, ink, ink);
        line(4, 7, 11, 7);
        break;
      case kGlyphMinimize:
        dc.FillSolidRect(4, 10, 8, 2, ink);
        break;
    }
    dc.SelectObject(old);
    return bm;
  }

  void SetButtons(int (*setter)(CBitmap* const*, const int32_t*), Glyph glyph, COLORREF accent) {
    const COLORREF frame = RGB(40, 70, 120), ink = RGB(255, 255, 255);
    CBitmap* images[5] = {
        nullptr,
        Button(glyph, accent, ink, frame),                                 // Normal
        Button(glyph, Mix(accent, RGB(255, 255, 255), 2, 5), ink, frame),  // Focus: lighter
        Button(glyph, Mix(accent, RGB(0, 0, 0), 2, 5), ink, frame),        // Down: darker
        Button(glyph, RGB(160, 166, 176), RGB(210, 212, 216), RGB(120, 126, 136)),  // Disable
    };
    const int32_t modes[5] = {};
    setter(images, modes);
  }

  std::vector<std::unique_ptr<CBitmap>> m_images;
};

}  // namespace

namespace {

// The three looks of one dialog under the current skin, as `prefix`_*.png.
bool WriteStates(const std::string& out, const std::string& prefix) {
  DialogTemplate tpl;
  tpl.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME | DS_SETFONT;
  tpl.cx = 220;
  tpl.cy = 90;
  tpl.caption = "Create an AP Vezovi group - a caption longer than its bar is clipped";
  tpl.fontFace = "MS Sans Serif";
  tpl.items = {rc::LText("Group name:", -1, 10, 12, 60, 8), rc::EditText(1001, 75, 10, 130, 13),
               rc::DefPushButton("Next >", IDOK, 110, 68, 50, 14), rc::PushButton("Cancel", IDCANCEL, 165, 68, 50, 14)};
  CRTDialog dlg;
  if (!dlg.CreateIndirect(&tpl, nullptr)) {
    std::printf("FAILED to create the skinned dialog\n");
    return false;
  }
  dlg.SetIcon(::LoadIcon(nullptr, IDI_APPLICATION), FALSE);
  dlg.SetDlgItemText(1001, "Vezovi-1");
  dlg.MoveWindow(40, 40, 360, 170);
  dlg.ShowWindow(SW_SHOW);
  dlg.SetActiveWindow();
  dlg.UpdateWindow();
  Pump();

  CRect window;
  dlg.GetWindowRect(&window);
  auto at = [&](int hit) {
    const CaptionButton button = hit == HTCLOSE ? kCloseButton : hit == HTMAXBUTTON ? kMaximizeButton : kMinimizeButton;
    const CRect r = CRTCaption::ButtonRect(CRTDialog::CaptionLook(), window.Width(), button);
    return MAKELPARAM(window.left + r.CenterPoint().x, window.top + r.CenterPoint().y);
  };
  dlg.SendMessage(WM_NCMOUSEMOVE, HTCLOSE, at(HTCLOSE));
  bool ok = SaveWindowPng(dlg.m_hWnd, out + "/" + prefix + "_active_hot.png");

  dlg.SendMessage(WM_NCMOUSEMOVE, HTMAXBUTTON, at(HTMAXBUTTON));
  dlg.SendMessage(WM_NCLBUTTONDOWN, HTMAXBUTTON, at(HTMAXBUTTON));
  ok &= SaveWindowPng(dlg.m_hWnd, out + "/" + prefix + "_active_pressed.png");
  ::ReleaseCapture();

  dlg.SendMessage(WM_NCACTIVATE, FALSE, 0);
  dlg.SendMessage(WM_NCMOUSEMOVE, HTMINBUTTON, at(HTMINBUTTON));
  ok &= SaveWindowPng(dlg.m_hWnd, out + "/" + prefix + "_inactive_hot.png");
  dlg.DestroyWindow();
  return ok;
}

}  // namespace

// Our own skin joins when the gallery runs from the top of the checkout.
bool SkinDialogs(const std::string& out) {
  bool ok;
  {
    GallerySkin skin;
    ok = WriteStates(out, "skindialog");
  }
  CRTSkin ours;
  if (ours.LoadSkin(OurSkinFile().c_str())) {
    ours.EnableSkin(1);
    ok &= WriteStates(out, "skindialog_vadev");
    ours.EnableSkin(0);
    CRTDialog::ResetSkin();
  }
  return ok;
}
