// The gallery's skinned frame page: a CRTFrameWnd on our own skin with its
// owner-drawn menu bar, a tool bar, a status bar and a view, first at rest
// (skinframe_vadev.png) and then with the File menu open and an item under
// the mouse (skinframe_vadev_menu.png, the frame and the pop-up together).
// Needs the gallery to run from the top of the checkout, where the skin is.
#include <algorithm>
#include <cstdio>
#include <string>

#include "AfxCtrlBar.h"
#include "AfxView.h"
#include "GalleryPages.h"
#include "RTFrameWnd.h"
#include "RTMenuSkin.h"
#include "RTSkin.h"
#include "Surface.h"
#include "UiPlatform.h"

bool SaveWindowPng(HWND hwnd, const std::string& path);  // DialogPage.cpp

namespace {

const UINT kHoverStep = WM_APP + 1;
const UINT kCaptureStep = WM_APP + 2;  // lParam: hops left for the input to arrive

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// The screen area covering the windows, each copied from its own surface.
bool SaveWindowsPng(const std::vector<HWND>& windows, const std::string& path) {
  CRect all;
  for (HWND w : windows) {
    CRect r;
    ::GetWindowRect(w, &r);
    all.UnionRect(&all, &r);
  }
  PlatformSurface cut;
  cut.Resize(all.Width(), all.Height());
  for (int y = 0; y < cut.height; ++y) std::fill(cut.Row(y), cut.Row(y) + cut.width, 0x00FFFFFFu);
  for (HWND w : windows) {
    POINT origin;
    CRect r;
    PlatformSurface* surface = PlatformGetWindowSurface(w, &origin);
    if (!surface || !::GetWindowRect(w, &r)) return false;
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) {
        const int sx = origin.x + x, sy = origin.y + y;
        if (sx < 0 || sy < 0 || sx >= surface->width || sy >= surface->height) continue;
        cut.Row(r.top - all.top + y)[r.left - all.left + x] = surface->Row(sy)[sx];
      }
  }
  const bool ok = PlatformWritePng(cut, path.c_str()) != FALSE;
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
  return ok;
}

class CGalleryView : public CView {
 protected:
  void OnDraw(CDC* pDC) override {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(255, 255, 255));
    pDC->SetBkMode(TRANSPARENT);
    pDC->TextOut(10, 10, "Caption, rings and menus from the skin.");
  }
};

// The frame photographs itself while its pop-up menu is open: the menu's
// modal loop carries the steps posted to it.
class CGalleryFrame : public CRTFrameWnd {
 public:
  std::string m_path;
  HWND m_popup = nullptr;
  bool m_ok = false;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kHoverStep) {
      CRect r;
      ::GetWindowRect(m_popup, &r);
      // Over the second item ("Open").
      PlatformInjectMouse(WM_MOUSEMOVE, POINT{r.left + 40, r.top + 3 + 20 + 10});
      PostMessage(kCaptureStep, 0, 3);
      return 0;
    }
    if (message == kCaptureStep && lParam > 0) {
      PostMessage(kCaptureStep, 0, lParam - 1);
      return 0;
    }
    if (message == kCaptureStep) {
      ::UpdateWindow(m_popup);
      m_ok = SaveWindowsPng({m_hWnd, m_popup}, m_path);
      ::EndMenu();
      return 0;
    }
    return CRTFrameWnd::WindowProc(message, wParam, lParam);
  }
};

// Three 16 x 16 tool images: a page, an open folder, a disk, drawn flat.
void AddImages(CImageList& images) {
  images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
  HDC screen = ::GetDC(nullptr);
  for (int i = 0; i < 3; ++i) {
    HDC hdc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = ::SelectObject(hdc, bmp);
    CDC* dc = CDC::FromHandle(hdc);
    dc->FillSolidRect(0, 0, 16, 16, RGB(255, 0, 255));
    const COLORREF ink = RGB(40, 60, 100);
    if (i == 0) {
      dc->FillSolidRect(3, 1, 10, 14, RGB(255, 255, 255));
      dc->Draw3dRect(3, 1, 10, 14, ink, ink);
      for (int y = 4; y < 13; y += 3) dc->FillSolidRect(5, y, 6, 1, RGB(120, 140, 180));
    } else if (i == 1) {
      dc->FillSolidRect(1, 4, 14, 10, RGB(236, 196, 90));
      dc->Draw3dRect(1, 4, 14, 10, RGB(150, 110, 30), RGB(150, 110, 30));
      dc->FillSolidRect(2, 2, 6, 2, RGB(236, 196, 90));
    } else {
      dc->FillSolidRect(2, 2, 12, 12, RGB(60, 90, 170));
      dc->FillSolidRect(4, 2, 8, 5, RGB(230, 234, 240));
      dc->FillSolidRect(5, 10, 6, 4, RGB(200, 200, 210));
    }
    ::SelectObject(hdc, old);
    ::DeleteDC(hdc);
    ::ImageList_AddMasked(images.m_hImageList, bmp, RGB(255, 0, 255));
    ::DeleteObject(bmp);
  }
  ::ReleaseDC(nullptr, screen);
}

HMENU MakeMenuBar() {
  HMENU file = ::CreatePopupMenu();
  ::AppendMenuA(file, MF_STRING, 101, "&New\tCtrl+N");
  ::AppendMenuA(file, MF_STRING, 102, "&Open...\tCtrl+O");
  ::AppendMenuA(file, MF_STRING, 103, "&Save\tCtrl+S");
  ::AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(file, MF_STRING | MF_CHECKED, 104, "Show &tool bar");
  ::AppendMenuA(file, MF_STRING, 105, "&Large icons");
  ::CheckMenuRadioItem(file, 105, 105, 105, MF_BYCOMMAND);
  ::AppendMenuA(file, MF_STRING | MF_GRAYED, 106, "&Print...\tCtrl+P");
  ::AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(file, MF_STRING, 107, "E&xit");
  ::SetMenuDefaultItem(file, 102, FALSE);
  HMENU bar = ::CreateMenu();
  ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  for (const char* name : {"&Edit", "&View", "&Help"}) {
    HMENU pop = ::CreatePopupMenu();
    ::AppendMenuA(pop, MF_STRING, 120, "&About...");
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(pop), name);
  }
  return bar;
}

bool WriteFrame(const std::string& out) {
  auto* frame = new CGalleryFrame;
  if (!frame->Create(nullptr, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 480, 330))) return false;
  frame->SetTitle("Trellian - skinned frame");
  frame->SetIcon(::LoadIcon(nullptr, IDI_APPLICATION), FALSE);
  HMENU bar = MakeMenuBar();
  ::SetMenu(frame->m_hWnd, bar);
  CRTMenuSkin::PrepareMenu(frame, bar, CRTMenuSkin::HasWindowProperty(frame->m_hWnd), TRUE);
  ::DrawMenuBar(frame->m_hWnd);

  CToolBar toolBar;
  CStatusBar statusBar;
  CImageList images;
  const UINT buttons[] = {101, 102, 103};
  const UINT indicators[] = {ID_SEPARATOR};
  bool ok = toolBar.Create(frame) && toolBar.SetButtons(buttons, 3) && statusBar.Create(frame) &&
            statusBar.SetIndicators(indicators, 1);
  if (ok) {
    AddImages(images);
    toolBar.GetToolBarCtrl().SetImageList(&images);
    statusBar.SetPaneText(0, "Ready");
    auto* view = new CGalleryView;
    ok = view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, AFX_IDW_PANE_FIRST);
    frame->RecalcLayout();
    frame->SetActiveWindow();
    frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    ok = ok && SaveWindowPng(frame->m_hWnd, out + "/skinframe_vadev.png");

    // Open File as a click on the bar does; the pop-up's loop runs the steps.
    CRect item;
    ::GetMenuItemRect(frame->m_hWnd, bar, 0, &item);
    frame->m_path = out + "/skinframe_vadev_menu.png";
    PlatformSetModalHook([frame](HWND popup) {
      frame->m_popup = popup;
      frame->PostMessage(kHoverStep);
    });
    const LPARAM at = MAKELPARAM(item.CenterPoint().x, item.CenterPoint().y);
    frame->SendMessage(WM_NCMOUSEMOVE, HTMENU, at);
    frame->SendMessage(WM_NCLBUTTONDOWN, HTMENU, at);
    PlatformSetModalHook(nullptr);
    ok = ok && frame->m_ok;
  }
  frame->DestroyWindow();
  return ok;
}

bool SkinFrames(const std::string& out) {
  CRTSkin ours;
  if (!ours.LoadSkin(OurSkinFile().c_str())) {
    std::printf("skipped the skinned frame: no skin at res/Skin/vAdev\n");
    return true;
  }
  ours.EnableSkin(1);
  const bool ok = WriteFrame(out);
  ours.EnableSkin(0);
  CRTFrameWnd::ResetSkin();
  CRTMenuSkin::Reset();
  return ok;
}

const GalleryPage page("skinframe", SkinFrames);

}  // namespace
