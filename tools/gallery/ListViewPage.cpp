// The gallery's list page: a report list with a header, small images on
// rows and sub-items, grid lines and full-row selection, written as
// listview.png; and an open pop-up menu, written as menu.png.
#include <cstdio>
#include <string>

#include "CommCtrl.h"
#include "Menu.h"
#include "UiPlatform.h"

bool SaveWindowPng(HWND hwnd, const std::string& path);  // DialogPage.cpp

namespace {

// Two 16 x 16 icons: a green disc ("set IP") and a red cross ("delete").
HIMAGELIST RowImages() {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
  HDC screen = GetDC(nullptr);
  for (int i = 0; i < 2; ++i) {
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all{0, 0, 16, 16};
    HBRUSH key = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &all, key);
    DeleteObject(key);
    HBRUSH b = CreateSolidBrush(i == 0 ? RGB(40, 160, 60) : RGB(200, 40, 40));
    HPEN p = CreatePen(PS_SOLID, i == 0 ? 1 : 3, i == 0 ? RGB(20, 90, 30) : RGB(200, 40, 40));
    HGDIOBJ ob = SelectObject(dc, b);
    HGDIOBJ op = SelectObject(dc, p);
    if (i == 0) {
      Ellipse(dc, 2, 2, 14, 14);
    } else {
      MoveToEx(dc, 3, 3, nullptr);
      LineTo(dc, 13, 13);
      MoveToEx(dc, 12, 3, nullptr);
      LineTo(dc, 2, 13);
    }
    SelectObject(dc, ob);
    SelectObject(dc, op);
    DeleteObject(b);
    DeleteObject(p);
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_AddMasked(list, bmp, RGB(255, 0, 255));
    DeleteObject(bmp);
  }
  ReleaseDC(nullptr, screen);
  return list;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace

bool ListViews(const std::string& out) {
  PlatformRegisterCommonControls();
  WNDCLASSA wc{};
  wc.lpfnWndProc = HostProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "GalleryListHost";
  RegisterClassA(&wc);
  HWND host = CreateWindowExA(0, "GalleryListHost", "", WS_POPUP | WS_VISIBLE, 40, 40, 500, 220, nullptr, nullptr,
                              nullptr, nullptr);
  HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS,
                              10, 10, 480, 200, host, reinterpret_cast<HMENU>(1013), nullptr, nullptr);
  SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES);
  HIMAGELIST images = RowImages();
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  struct {
    const char* title;
    int width;
    int fmt;
  } columns[] = {{"Model", 90, LVCFMT_LEFT},   {"Role", 70, LVCFMT_LEFT},   {"IP address", 100, LVCFMT_LEFT},
                 {"MAC address", 100, LVCFMT_LEFT}, {"Set IP", 50, LVCFMT_CENTER}, {"Delete", 50, LVCFMT_CENTER}};
  for (int i = 0; i < 6; ++i) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    c.pszText = const_cast<char*>(columns[i].title);
    c.cx = columns[i].width;
    c.fmt = columns[i].fmt;
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
  }
  const char* rows[][4] = {{"RIZ-4410", "Master", "192.168.1.10", "0011223344AA"},
                           {"RIZ-4410", "Backup Master", "192.168.1.11", "0011223344BB"},
                           {"RIZ-4410", "Slave", "192.168.1.12", "0011223344CC"},
                           {"RIZ-4410", "Slave", "192.168.1.13", "0011223344DD"}};
  for (int r = 0; r < 4; ++r) {
    LVITEMA it{};
    it.mask = LVIF_TEXT | LVIF_IMAGE;
    it.iItem = r;
    it.iImage = r == 0 ? 0 : -1;
    it.pszText = const_cast<char*>(rows[r][0]);
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
    for (int c = 1; c < 4; ++c) {
      it.mask = LVIF_TEXT;
      it.iSubItem = c;
      it.pszText = const_cast<char*>(rows[r][c]);
      SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    }
    for (int c = 4; c < 6; ++c) {
      it.mask = LVIF_IMAGE;
      it.iSubItem = c;
      it.iImage = c - 4;
      SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    }
  }
  LVITEMA sel{};
  sel.state = sel.stateMask = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&sel));
  UpdateWindow(host);
  Pump();
  bool ok = SaveWindowPng(host, out + "/listview.png");

  // A pop-up menu, captured while its loop runs.
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "&Open\tCtrl+O");
  AppendMenuA(menu, MF_STRING | MF_CHECKED, 2, "Show &grid");
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 3, "&Delete");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, 4, "E&xit");
  PlatformSetModalHook([&](HWND shown) {
    UpdateWindow(shown);
    Pump();
    ok = SaveWindowPng(shown, out + "/menu.png") && ok;
    PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
  });
  TrackPopupMenu(menu, TPM_RETURNCMD, 60, 60, 0, host, nullptr);
  PlatformSetModalHook(nullptr);
  DestroyMenu(menu);
  DestroyWindow(host);
  ImageList_Destroy(images);
  return ok;
}
