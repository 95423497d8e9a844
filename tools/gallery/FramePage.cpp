// The gallery's frame page: a frame window with a menu bar, a flat tool bar
// with images, a status bar and a view, written as frame.png.
#include <string>

#include "AfxFrame.h"
#include "AfxView.h"

bool SaveWindowPng(HWND hwnd, const std::string& path);  // DialogPage.cpp

namespace {

class CGalleryView : public CView {
 protected:
  void OnDraw(CDC* pDC) override {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(255, 255, 255));
    pDC->SetBkMode(TRANSPARENT);
    pDC->TextOut(10, 10, "The view fills what the bars leave.");
  }
};

// Four 16 x 16 tool images: squares in four colours with a dark outline.
void AddImages(CImageList& images) {
  images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 0);
  const COLORREF colours[] = {RGB(40, 160, 60), RGB(200, 40, 40), RGB(40, 90, 200), RGB(220, 170, 30)};
  HDC screen = ::GetDC(nullptr);
  for (COLORREF c : colours) {
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    RECT all{0, 0, 16, 16}, inner{2, 2, 14, 14};
    HBRUSH key = ::CreateSolidBrush(RGB(255, 0, 255)), fill = ::CreateSolidBrush(c);
    ::FillRect(dc, &all, key);
    ::FillRect(dc, &inner, fill);
    ::FrameRect(dc, &inner, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::DeleteObject(key);
    ::DeleteObject(fill);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ImageList_AddMasked(images.m_hImageList, bmp, RGB(255, 0, 255));
    ::DeleteObject(bmp);
  }
  ::ReleaseDC(nullptr, screen);
}

HMENU MakeMenuBar() {
  HMENU bar = ::CreateMenu();
  for (const char* name : {"&File", "&Edit", "&View", "&Help"}) {
    HMENU pop = ::CreatePopupMenu();
    ::AppendMenuA(pop, MF_STRING, 100, "&Open...");
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(pop), name);
  }
  return bar;
}

}  // namespace

bool Frames(const std::string& out) {
  auto* frame = new CFrameWnd;
  if (!frame->Create(nullptr, "Frame with bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 460, 300))) return false;
  ::SetMenu(frame->m_hWnd, MakeMenuBar());
  CToolBar toolBar;
  CStatusBar statusBar;
  CImageList images;
  const UINT buttons[] = {201, 202, ID_SEPARATOR, 203, 204};
  const UINT indicators[] = {ID_SEPARATOR};
  bool ok = toolBar.Create(frame) && toolBar.SetButtons(buttons, 5) && statusBar.Create(frame) &&
            statusBar.SetIndicators(indicators, 1);
  if (ok) {
    AddImages(images);
    toolBar.GetToolBarCtrl().SetImageList(&images);
    toolBar.GetToolBarCtrl().CheckButton(203);
    statusBar.SetPaneText(0, "Ready");
    auto* view = new CGalleryView;
    ok = view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, AFX_IDW_PANE_FIRST);
    frame->RecalcLayout();
    frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ok = ok && SaveWindowPng(frame->m_hWnd, out + "/frame.png");
  }
  frame->DestroyWindow();
  return ok;
}
