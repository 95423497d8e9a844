// The gallery's combo box page: the owner-drawn combo box closed, hot (the
// mouse over it), dropped (with its drop-down window, which is a window of
// its own on the desktop) and disabled, written as combo_*.png.
#include <cstdio>
#include <initializer_list>
#include <string>

#include "CComboDropWnd.h"
#include "CDrawnComboBox.h"
#include "GalleryPages.h"
#include "Surface.h"
#include "UiPlatform.h"

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

const char* const kChannels[] = {"Automatic", "Channel 1 (2412 MHz)", "Channel 6 (2437 MHz)",
                                 "Channel 11 (2462 MHz)", "Channel 13 (2472 MHz, not in this region)",
                                 "Channel 14 (2484 MHz)"};

}  // namespace

// Copies the given top-level windows, in order, into one picture of the
// screen area `area`, as a person would see them stacked.
bool SaveScreenPng(const RECT& area, std::initializer_list<HWND> windows, const std::string& path) {
  PlatformSurface shot;
  shot.Resize(area.right - area.left, area.bottom - area.top);
  for (HWND hwnd : windows) {
    POINT origin;
    RECT wr;
    PlatformSurface* surface = PlatformGetWindowSurface(hwnd, &origin);
    if (!surface || !GetWindowRect(hwnd, &wr)) continue;
    for (int y = wr.top; y < wr.bottom; ++y)
      for (int x = wr.left; x < wr.right; ++x) {
        int sx = origin.x + x - wr.left, sy = origin.y + y - wr.top;
        int dx = x - area.left, dy = y - area.top;
        if (sx < 0 || sy < 0 || sx >= surface->width || sy >= surface->height) continue;
        if (dx < 0 || dy < 0 || dx >= shot.width || dy >= shot.height) continue;
        shot.Row(dy)[dx] = surface->Row(sy)[sx];
      }
  }
  bool ok = PlatformWritePng(shot, path.c_str()) != FALSE;
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
  return ok;
}

bool Combos(const std::string& out) {
  CWnd host;
  LPCTSTR cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  if (!host.CreateEx(0, cls, "combo", WS_POPUP | WS_VISIBLE, 40, 40, 260, 60, nullptr, nullptr)) return false;
  CFont font;
  font.CreatePointFont(80, "MS Sans Serif");
  host.SetFont(&font, FALSE);
  CDrawnComboBox combo(0, &host);
  if (!combo.CreateEx(0, "SuperComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(20, 20, 200, 41), &host,
                      0)) {
    host.DestroyWindow();
    return false;
  }
  for (const char* text : kChannels) combo.AddString(text);
  combo.SetItemDisabled(4, 1);
  combo.SetCurSel(2);
  host.UpdateWindow();
  Pump();

  RECT hostRect;
  host.GetWindowRect(&hostRect);
  bool ok = SaveScreenPng(hostRect, {host.m_hWnd}, out + "/combo_closed.png");

  combo.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(40, 10));
  host.UpdateWindow();
  ok &= SaveScreenPng(hostRect, {host.m_hWnd}, out + "/combo_hot.png");

  combo.ShowDropDown(TRUE);
  Pump();
  CComboDropWnd* drop = combo.GetDropWnd();
  if (drop) {
    CRect list;
    drop->GetWindowRect(&list);
    // Hover over the fourth row, so that the tracked row shows.
    drop->GetListBox()->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(30, 3 * drop->GetListBox()->RowHeight() + 4));
    Pump();
    drop->UpdateWindow();
    drop->GetListBox()->UpdateWindow();
    host.UpdateWindow();
    RECT area{hostRect.left, hostRect.top, std::max(hostRect.right, list.right) + 10, list.bottom + 10};
    ok &= SaveScreenPng(area, {host.m_hWnd, drop->m_hWnd}, out + "/combo_dropped.png");
  } else {
    std::printf("FAILED to drop the combo box down\n");
    ok = false;
  }
  combo.ShowDropDown(FALSE);
  Pump();

  combo.EnableWindow(FALSE);
  Pump();
  host.UpdateWindow();
  ok &= SaveScreenPng(hostRect, {host.m_hWnd}, out + "/combo_disabled.png");
  combo.DestroyWindow();
  host.DestroyWindow();
  return ok;
}
