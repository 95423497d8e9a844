// The gallery's page of the skinned tab control, status bar and property
// sheet, with our own skin (res/Skin/vAdev, so it runs from the top of the
// checkout): tab controls with top, bottom and side tabs each hosting page
// windows, a status bar with an empty pane, written as skinpanes.png; and a
// property sheet with a minimize box (only its close button drawn) holding
// the gallery's dialog as a skinned page, as skinsheet.png.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "GalleryPages.h"
#include "GalleryRes.h"
#include "RTPropertyPage.h"
#include "RTPropertySheet.h"
#include "RTSkin.h"
#include "RTStatic.h"
#include "RTStatusBar.h"
#include "RTTabCtrl.h"
#include "RTView.h"
#include "SkinDraw.h"

bool SaveWindowPng(HWND hwnd, const std::string& path);  // DialogPage.cpp

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

BOOL IndicatorText(UINT id, CString& text) {
  switch (id) {
    case 1: text = "Connected to 10.0.0.1"; return TRUE;
    case 2: text = "SNMP v2c"; return TRUE;
    case 3: text = "  "; return TRUE;
  }
  return FALSE;
}

bool WritePanes(const std::string& out) {
  CWnd frame;
  if (!frame.CreateEx(0, AfxRegisterWndClass(0), "skinned panes", WS_POPUP | WS_VISIBLE, 30, 30, 620, 300, nullptr,
                      nullptr))
    return false;
  CFont font;
  font.CreatePointFont(80, "MS Sans Serif");
  std::vector<std::unique_ptr<CWnd>> owned;
  const struct {
    DWORD style;
    CRect at;
  } layouts[] = {
      {0, CRect(10, 10, 200, 250)},
      {TCS_BOTTOM, CRect(210, 10, 400, 250)},
      {TCS_VERTICAL | TCS_MULTILINE, CRect(410, 10, 610, 250)},
  };
  for (const auto& l : layouts) {
    auto tabs = std::make_unique<CRTTabCtrl>();
    tabs->Create(WS_CHILD | WS_VISIBLE | l.style, CRect(), &frame, 100);
    tabs->SetFont(&font, FALSE);
    const char* names[] = {"General", "Security", "Radio"};
    for (int i = 0; i < 3; ++i) {
      auto page = std::make_unique<CRTStatic>();
      page->Create(CString("The ") + names[i] + " page", WS_CHILD | SS_LEFT, CRect(0, 0, 10, 10), &frame);
      page->SetFont(&font, FALSE);
      tabs->InsertTab(i, names[i], -1, page.get());
      owned.push_back(std::move(page));
    }
    tabs->MoveWindow(&l.at);  // places the page windows
    owned.push_back(std::move(tabs));
  }

  PlatformSetStringLoader(IndicatorText);
  CRTStatusBar bar;
  const UINT ids[] = {1, 2, 3};
  bar.Create(&frame);
  bar.SetIndicators(ids, 3);
  bar.SetPaneText(2, "");
  bar.MoveWindow(0, 270, 620, 30);
  PlatformSetStringLoader(nullptr);

  frame.Invalidate();
  frame.UpdateWindow();
  Pump();
  const bool ok = SaveWindowPng(frame.m_hWnd, out + "/skinpanes.png");
  owned.clear();
  frame.DestroyWindow();
  return ok;
}

bool WriteSheet(const std::string& out) {
  CRTPropertySheet sheet("Access point settings");
  CRTPropertyPage page(IDD_GALLERY);  // the gallery's dialog of every control, as a page
  sheet.AddPage(&page);
  if (!sheet.Create(nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | WS_VISIBLE))
    return false;
  sheet.SetWindowPos(nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  sheet.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  const bool ok = SaveWindowPng(sheet.m_hWnd, out + "/skinsheet.png");
  sheet.DestroyWindow();
  return ok;
}

bool SkinPanes(const std::string& out) {
  CRTSkin skin;
  if (!skin.LoadSkin(OurSkinFile().c_str())) {
    std::printf("skipped skinpanes.png: run the gallery from the top of the checkout for res/Skin/vAdev\n");
    return true;
  }
  skin.EnableSkin(1);
  bool ok = WritePanes(out);
  ok &= WriteSheet(out);
  // The images go with the store: nobody may draw with them afterwards.
  skin.EnableSkin(0);
  CBitmap* none[SkinImageSet::kSlots] = {};
  const int32_t zero[SkinImageSet::kSlots] = {};
  CRTTabCtrl::SetImages(none, zero);
  CRTStatusBar::SetImages(none, zero);
  CRTView::SetImages(none, zero);
  CRTPropertyPage::SetImages(none, zero);
  CRTPropertySheet::SetTitleBarImages(none, zero);
  CRTPropertySheet::SetExitButtonImages(none, zero);
  CRTPropertySheet::SetBackImage(nullptr, 0);
  return ok;
}

static GalleryPage page("skinpanes", SkinPanes);

}  // namespace
