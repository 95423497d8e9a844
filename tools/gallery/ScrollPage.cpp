// The gallery's skinned-list page: the skinned list control in its scroll
// container with both bars and the tall header, the skinned list box, loose
// skinned scroll bars (resting, pressed, dragged, disabled) and the skinned
// combo box, drawn with a test skin made here, and with our own skin when it
// lies beside the program (Skin/vAdev/skin.ini); written as skin_lists*.png.
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "RTComboBox.h"
#include "RTHeaderCtrl.h"
#include "RTListBox.h"
#include "RTListCtrl.h"
#include "RTScrollBar.h"
#include "RTSkin.h"
#include "SkinDraw.h"
#include "Files.h"
#include "UiPlatform.h"

bool SaveWindowPng(HWND hwnd, const std::string& path);  // DialogPage.cpp

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Images of the test skin, drawn with plain GDI: a framed face, optionally
// with an arrow pointing one way.
enum Arrow { kNoArrow, kLeft, kRight, kUp, kDown };

class TestSkin {
 public:
  TestSkin() {
    const COLORREF track = RGB(214, 222, 235), trackEdge = RGB(180, 190, 210);
    const COLORREF thumb = RGB(97, 140, 200), thumbDown = RGB(50, 90, 160), thumbOff = RGB(190, 195, 205);
    const COLORREF face = RGB(120, 150, 195), faceDown = RGB(60, 95, 150), faceOff = RGB(200, 204, 212);
    const int32_t nine[5] = {kSkinNineGrid, kSkinNineGrid, kSkinNineGrid, kSkinNineGrid, kSkinNineGrid};
    // Arrow glyphs keep their shape only stretched whole.
    const int32_t stretch[5] = {kSkinStretch, kSkinStretch, kSkinStretch, kSkinStretch, kSkinStretch};
    CBitmap* bar[5] = {Face(track, trackEdge, kNoArrow), Face(thumb, RGB(40, 70, 120), kNoArrow), nullptr,
                       Face(thumbDown, RGB(20, 40, 90), kNoArrow), Face(thumbOff, RGB(160, 165, 175), kNoArrow)};
    CRTScrollBar::SetHorizontalImages(bar, nine);
    CRTScrollBar::SetVerticalImages(bar, nine);
    const Arrow arrows[4] = {kLeft, kRight, kUp, kDown};
    void (*setters[4])(CBitmap* const[5], const int32_t[5]) = {
        &CRTScrollBar::SetLeftArrowImages, &CRTScrollBar::SetRightArrowImages, &CRTScrollBar::SetUpArrowImages,
        &CRTScrollBar::SetDownArrowImages};
    for (int i = 0; i < 4; ++i) {
      CBitmap* set[5] = {nullptr, Face(face, RGB(40, 70, 120), arrows[i]), nullptr,
                         Face(faceDown, RGB(20, 40, 90), arrows[i]), Face(faceOff, RGB(160, 165, 175), arrows[i])};
      setters[i](set, stretch);
    }
    // Light faces: the header writes in the context's black.
    CBitmap* header[5] = {Face(RGB(200, 212, 232), RGB(200, 212, 232), kNoArrow),
                          Face(RGB(220, 229, 243), RGB(150, 165, 195), kNoArrow),
                          Face(RGB(205, 232, 190), RGB(120, 160, 100), kNoArrow),
                          Face(RGB(240, 215, 185), RGB(170, 130, 90), kNoArrow), nullptr};
    CRTHeaderCtrl::SetSkinImages(header, nine);
    CBitmap* combo[5] = {Face(RGB(250, 251, 253), RGB(120, 140, 170), kNoArrow),
                         Face(face, RGB(40, 70, 120), kDown), Face(RGB(200, 220, 245), RGB(97, 140, 200), kNoArrow),
                         nullptr, nullptr};
    CRTComboBox::SetImages(combo, nine);
    Enable(1);
  }
  ~TestSkin() {
    Enable(0);
    CBitmap* none[5] = {};
    const int32_t modes[5] = {};
    for (auto set : {&CRTScrollBar::SetHorizontalImages, &CRTScrollBar::SetVerticalImages,
                     &CRTScrollBar::SetLeftArrowImages, &CRTScrollBar::SetRightArrowImages,
                     &CRTScrollBar::SetUpArrowImages, &CRTScrollBar::SetDownArrowImages,
                     &CRTHeaderCtrl::SetSkinImages, &CRTComboBox::SetImages})
      set(none, modes);
  }
  static void Enable(int on) {
    CRTScrollBar::SetSkinEnabled(on);
    CRTHeaderCtrl::SetSkinEnabled(on);
    CRTListCtrl::SetSkinEnabled(on);
  }

 private:
  // A 15 x 15 face with a one-pixel frame and a lighter inner edge.
  CBitmap* Face(COLORREF fill, COLORREF edge, Arrow arrow) {
    const int n = 15;
    auto bitmap = std::make_unique<CBitmap>();
    bitmap->Attach(::CreateBitmap(n, n, 1, 32, nullptr));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ old = dc.SelectObject(static_cast<HGDIOBJ>(bitmap->GetSafeHandle()));
    dc.FillSolidRect(0, 0, n, n, edge);
    dc.FillSolidRect(1, 1, n - 2, n - 2, AdjustColorHLS(fill, 25, 0));
    dc.FillSolidRect(2, 2, n - 3, n - 3, fill);
    if (arrow != kNoArrow) {
      // A filled triangle in the middle square.
      for (int i = 0; i < 4; ++i)
        for (int j = -i; j <= i; ++j) {
          int x = 7 + j, y = 5 + i;
          if (arrow == kDown) y = 9 - i;
          if (arrow == kLeft) x = 5 + i, y = 7 + j;
          if (arrow == kRight) x = 9 - i, y = 7 + j;
          dc.SetPixel(x, y, RGB(255, 255, 255));
        }
    }
    dc.SelectObject(old);
    dc.DeleteDC();
    m_bitmaps.push_back(std::move(bitmap));
    return m_bitmaps.back().get();
  }
  std::vector<std::unique_ptr<CBitmap>> m_bitmaps;
};

const char* const kRoles[] = {"Master", "Backup Master", "Slave", "Slave", "Slave"};

// The page: a host window with every skinned list part on it.
class ListsPage {
 public:
  bool Make() {
    LPCTSTR cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!m_host.CreateEx(0, cls, "lists", WS_POPUP | WS_VISIBLE, 30, 30, 640, 330, nullptr, nullptr)) return false;
    m_font.CreatePointFont(80, "MS Sans Serif");
    m_host.SetFont(&m_font, FALSE);
    // The list as a page gets it from its template: made plain, then subclassed.
    HWND list = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT,
                                  10, 10, 380, 200, m_host.m_hWnd, reinterpret_cast<HMENU>(100), nullptr, nullptr);
    ::SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), 0);
    if (!m_list.SubclassWindow(list)) return false;
    const char* columns[] = {"Device", "Role", "IP address", "MAC address", "Firmware"};
    const int widths[] = {90, 100, 100, 110, 70};
    for (int c = 0; c < 5; ++c) m_list.InsertColumn(c, columns[c], c == 4 ? LVCFMT_RIGHT : LVCFMT_LEFT, widths[c]);
    for (int i = 0; i < 50; ++i) {
      char text[64];
      std::snprintf(text, sizeof text, "RIZ-4410 #%02d", i + 1);
      m_list.InsertItem(i, text);
      m_list.SetItemText(i, 1, kRoles[i % 5]);
      std::snprintf(text, sizeof text, "10.250.0.%d", 11 + i);
      m_list.SetItemText(i, 2, text);
      std::snprintf(text, sizeof text, "0004B1%06X", 0x1000 + i);
      m_list.SetItemText(i, 3, text);
      m_list.SetItemText(i, 4, "2.1.7");
    }
    HDITEM sorted{};
    sorted.mask = HDI_FORMAT;
    sorted.fmt = HDF_STRING | HDF_SORTUP;
    m_list.GetSkinHeader().SetItem(1, &sorted);
    m_list.SetItemState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    HWND box = ::CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY,
                                 400, 10, 230, 120, m_host.m_hWnd, reinterpret_cast<HMENU>(101), nullptr, nullptr);
    ::SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), 0);
    if (!m_box.SubclassWindow(box)) return false;
    for (int i = 0; i < 30; ++i) {
      char text[64];
      std::snprintf(text, sizeof text, "10.250.0.%d  Set IP address ... OK", 11 + i);
      m_box.AddString(text);
    }

    m_combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_HASSTRINGS, CRect(400, 140, 630, 300), &m_host,
                   102);
    m_combo.SetFont(&m_font, FALSE);
    for (const char* text : {"WPA-Personal", "WPA-Enterprise", "802.1X", "WEP"}) m_combo.AddString(text);
    m_combo.SetCurSel(0);

    for (int i = 0; i < 4; ++i) {
      m_bars[i].Create(WS_CHILD | WS_VISIBLE, CRect(10, 225 + i * 24, 390, 242 + i * 24), &m_host, 110 + i);
      m_bars[i].SetScrollRange(0, 100);
      m_bars[i].SetScrollPos(i * 30);
    }
    m_bars[3].EnableWindow(FALSE);
    m_vbar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(610, 175, 627, 320), &m_host, 120);
    m_vbar.SetScrollRange(0, 10);
    m_vbar.SetScrollPos(3);
    Settle();
    // The third bar with its thumb dragged (a press holds the capture, so one
    // bar at a time: PressArrow shows a held arrow later).
    const CRect thumb = m_bars[2].GetParts().thumb;
    m_bars[2].SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(thumb.left + 3, 5));
    m_bars[2].SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(thumb.left + 60, 5));
    Settle();
    return true;
  }
  void Settle() {
    Pump();
    m_host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
  }
  // The second bar with its right arrow held.
  void PressArrow() {
    const CRect right = m_bars[1].GetParts().secondArrow;
    m_bars[1].SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(right.left + 3, 5));
    Settle();
  }
  ~ListsPage() {
    m_host.DestroyWindow();
  }
  HWND Host() const { return m_host.m_hWnd; }
  CRTListCtrl& List() { return m_list; }

 private:
  CWnd m_host;
  CFont m_font;
  CRTListCtrl m_list;
  CRTListBox m_box;
  CRTComboBox m_combo;
  CRTScrollBar m_bars[4];
  CRTScrollBar m_vbar;
};

bool WritePage(const std::string& path) {
  ListsPage page;
  if (!page.Make()) {
    std::printf("FAILED to build the list page\n");
    return false;
  }
  bool ok = SaveWindowPng(page.Host(), path + ".png");
  // Scrolled half-way, through the skinned bar's own messages.
  page.List().GetContainer().SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 24), 0);
  page.PressArrow();
  ok &= SaveWindowPng(page.Host(), path + "_scrolled.png");
  return ok;
}


}  // namespace

std::string OurSkinFile() {
  char path[4096] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder = path;
  const size_t cut = folder.find_last_of("/\\");
  folder = cut == std::string::npos ? "." : folder.substr(0, cut);
  struct stat st;
  for (const std::string& candidate : {folder + "/Skin/vAdev/skin.ini", std::string("res/Skin/vAdev/skin.ini")})
    if (stat(candidate.c_str(), &st) == 0) return candidate;
  return std::string();
}

bool SkinnedLists(const std::string& out) {
  bool ok;
  {
    TestSkin skin;
    ok = WritePage(out + "/skin_lists");
  }
  const std::string ours = OurSkinFile();
  if (!ours.empty()) {
    CRTSkin skin;
    if (skin.LoadSkin(ours.c_str())) {
      skin.EnableSkin(1);
      ok &= WritePage(out + "/skin_lists_vadev");
      skin.EnableSkin(0);
    } else {
      std::printf("FAILED to load %s\n", ours.c_str());
      ok = false;
    }
  }
  return ok;
}
