// The gallery's page of skinned option buttons, tree and tool bar, drawn with
// our own skin (Skin/vAdev beside the program, or res/Skin/vAdev from the
// checkout): radio buttons and check boxes over the skin, a tree longer than
// its window with its skinned bars, and a tool bar with a combo box on a
// slot, a hot, a checked and a pressed-looking drop-down button; written as
// skin_controls_vadev.png, and the tool bar docked vertically as
// skin_controls_vadev_vertical.png.

#include <algorithm>
#include <cstdio>
#include <string>

#include "Files.h"
#include "GalleryPages.h"
#include "RTCheckBox.h"
#include "RTRadioButton.h"
#include "RTSkin.h"
#include "RTToolBar.h"
#include "RTTreeCtrl.h"
#include "UiPlatform.h"

bool SaveWindowPng(HWND hwnd, const std::string& path);  // DialogPage.cpp

namespace {

const UINT kBarResource = 7801;
enum : UINT { kNew = 801, kOpen, kSave, kScan, kApply, kComboId = 820 };

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Five 16 x 15 icons on the light grey the tool bar takes as transparent: a
// page, a folder, a disk, a radar arc and a tick.
HBITMAP MakeIcons() {
  HDC screen = ::GetDC(nullptr);
  HBITMAP strip = ::CreateCompatibleBitmap(screen, 5 * 16, 15);
  ::ReleaseDC(nullptr, screen);
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  HGDIOBJ old = dc.SelectObject(static_cast<HGDIOBJ>(strip));
  dc.FillSolidRect(0, 0, 5 * 16, 15, RGB(192, 192, 192));
  auto box = [&](int x, int y, int w, int h, COLORREF fill, COLORREF frame) {
    dc.FillSolidRect(x, y, w, h, frame);
    dc.FillSolidRect(x + 1, y + 1, w - 2, h - 2, fill);
  };
  box(3, 1, 10, 13, RGB(255, 255, 255), RGB(60, 60, 60));       // page
  dc.FillSolidRect(5, 5, 6, 1, RGB(120, 120, 120));
  dc.FillSolidRect(5, 8, 6, 1, RGB(120, 120, 120));
  box(16 + 1, 4, 14, 10, RGB(240, 200, 80), RGB(150, 110, 20));  // folder
  box(16 + 1, 2, 6, 3, RGB(240, 200, 80), RGB(150, 110, 20));
  box(32 + 2, 1, 12, 13, RGB(60, 90, 170), RGB(20, 40, 100));    // disk
  dc.FillSolidRect(32 + 4, 2, 8, 4, RGB(235, 235, 235));
  CPen green(PS_SOLID, 2, RGB(30, 150, 60));
  dc.SelectObject(&green);
  dc.SelectStockObject(NULL_BRUSH);                               // radar rings
  dc.Ellipse(48 + 1, 1, 48 + 15, 15);
  dc.Ellipse(48 + 5, 5, 48 + 11, 11);
  dc.SetPixel(48 + 8, 8, RGB(30, 150, 60));
  dc.MoveTo(64 + 2, 8);                                           // tick
  dc.LineTo(64 + 6, 12);
  dc.LineTo(64 + 14, 3);
  dc.SelectObject(old);
  return strip;
}

ResourceRegistrar g_bar([] {
  PlatformAddToolBar(MAKEINTRESOURCE(kBarResource), rc::ToolBar(16, 15, {kNew, kOpen, kSave, 0, kScan, 0, kApply}));
  PlatformAddBitmap(MAKEINTRESOURCE(kBarResource), MakeIcons);
});

class ControlsPage {
 public:
  bool Make() {
    if (!m_host.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), "controls",
                         WS_POPUP | WS_VISIBLE, CRect(0, 0, 580, 300), nullptr, 0))
      return false;
    m_font.CreatePointFont(80, "Tahoma");
    if (!m_bar.CreateEx(&m_host, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP) ||
        !m_bar.LoadToolBar(kBarResource))
      return false;
    TBBUTTONINFO info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STYLE;
    info.fsStyle = TBSTYLE_DROPDOWN;
    m_bar.GetToolBarCtrl().SetButtonInfo(kScan, &info);
    m_bar.GetToolBarCtrl().CheckButton(kSave, TRUE);
    m_combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_HASSTRINGS, CRect(0, 0, 120, 120), &m_bar, kComboId);
    m_combo.SetFont(&m_font, FALSE);
    for (const char* text : {"RIZ-4410 (lab)", "RIZ-4410 (roof)"}) m_combo.AddString(text);
    m_combo.SetCurSel(0);
    m_bar.InsertControl(4, &m_combo);
    DockHorizontally();

    const char* radios[] = {"Access point", "Bridge", "Repeater"};
    for (int i = 0; i < 3; ++i) {
      m_radio[i].Create(radios[i], WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0),
                        CRect(52, 56 + i * 26, 206, 76 + i * 26), &m_host, 900 + i);
      m_radio[i].SetFont(&m_font, FALSE);
    }
    m_radio[0].SetCheck(BST_CHECKED);
    const char* checks[] = {"Hide network name", "Encrypt traffic", "Log to syslog"};
    for (int i = 0; i < 3; ++i) {
      m_check[i].Create(checks[i], WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(52, 150 + i * 26, 206, 170 + i * 26),
                        &m_host, 910 + i);
      m_check[i].SetFont(&m_font, FALSE);
    }
    m_check[1].SetCheck(BST_CHECKED);

    if (!m_tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS,
                       CRect(220, 50, 565, 285), &m_host, 930))
      return false;
    m_tree.SetFont(&m_font, FALSE);
    for (int site = 0; site < 4; ++site) {
      char text[64];
      std::snprintf(text, sizeof text, "Site %c", 'A' + site);
      HTREEITEM parent = m_tree.InsertItem(text);
      for (int ap = 0; ap < 5; ++ap) {
        std::snprintf(text, sizeof text, "RIZ-4410  10.250.%d.%d  ready", site, 11 + ap);
        m_tree.InsertItem(text, parent);
      }
      m_tree.Expand(parent, TVE_EXPAND);
    }
    m_tree.SelectItem(m_tree.GetChildItem(m_tree.GetRootItem()));
    m_bar.GetToolBarCtrl().SetHotItem(1);
    Settle();
    return true;
  }
  void DockHorizontally() {
    const CSize size = m_bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    m_bar.SetWindowPos(nullptr, 0, 0, 580, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void DockVertically() {
    const CSize size = m_bar.CalcDynamicLayout(-1, LM_VERTDOCK | LM_COMMIT);
    // One button a row, as a frame docking the bar on its side would wrap it.
    CToolBarCtrl& bar = m_bar.GetToolBarCtrl();
    for (int i = 0; i < bar.GetButtonCount(); ++i) {
      TBBUTTONINFO info{};
      info.cbSize = sizeof info;
      info.dwMask = TBIF_BYINDEX | TBIF_STATE;
      bar.GetButtonInfo(static_cast<UINT>(i), &info);
      info.fsState |= TBSTATE_WRAP;
      bar.SetButtonInfo(static_cast<UINT>(i), &info);
    }
    // Wide enough for the drop-down button's arrow, high enough for every row.
    CSize extent = size;
    for (int i = 0; i < bar.GetButtonCount(); ++i) {
      CRect item;
      bar.GetItemRect(i, &item);
      extent.cx = std::max<int>(extent.cx, item.right + 2);
      extent.cy = std::max<int>(extent.cy, item.bottom + 2);
    }
    m_bar.SetWindowPos(nullptr, 0, 0, extent.cx, extent.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    Settle();
  }
  void Settle() {
    Pump();
    m_host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
  }
  ~ControlsPage() { m_host.DestroyWindow(); }
  HWND Host() const { return m_host.m_hWnd; }

 private:
  CWnd m_host;
  CFont m_font;
  CRTToolBar m_bar;  // constructing it switches tool-bar skinning off until the skin is enabled
  CComboBox m_combo;
  CRTRadioButton m_radio[3];
  CRTCheckBox m_check[3];
  CRTTreeCtrl m_tree;
};

static bool WriteSkinOptions(const std::string& out) {
  const std::string ini = OurSkinFile();
  if (ini.empty()) return true;  // not beside the program nor in a checkout: nothing to draw
  ControlsPage page;
  CRTSkin skin;
  if (!skin.LoadSkin(ini.c_str())) {
    std::printf("FAILED to load %s\n", ini.c_str());
    return false;
  }
  skin.EnableSkin(1);
  bool ok = page.Make();
  if (!ok) std::printf("FAILED to build the skinned controls page\n");
  ok = ok && SaveWindowPng(page.Host(), out + "/skin_controls_vadev.png");
  page.DockVertically();
  ok = ok && SaveWindowPng(page.Host(), out + "/skin_controls_vadev_vertical.png");
  skin.EnableSkin(0);
  return ok;
}

static GalleryPage page("skin_options", WriteSkinOptions);

}  // namespace
