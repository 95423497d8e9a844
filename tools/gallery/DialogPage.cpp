// The gallery's dialog page: the resource dialog with every control kind,
// filled in, painted headless and written as dialog.png.
#include <cstdio>
#include <string>

#include "Controls.h"
#include "Dialog.h"
#include "GalleryRes.h"
#include "Surface.h"
#include "UiPlatform.h"

namespace {

INT_PTR CALLBACK GalleryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      // Shown for a person (gallery --show): OK and Cancel end it.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_INITDIALOG: {
      char caption[64];
      if (LoadString(nullptr, IDS_GALLERY_CAPTION, caption, sizeof caption)) SetWindowTextA(hwnd, caption);
      SetDlgItemTextA(hwnd, IDC_GAL_EDIT, "Vezovi-1");
      SetDlgItemTextA(hwnd, IDC_GAL_PASSWORD, "secret");
      SetDlgItemTextA(hwnd, IDC_GAL_READONLY, "read only");
      CheckDlgButton(hwnd, IDC_GAL_CHECK, BST_CHECKED);
      CheckRadioButton(hwnd, IDC_GAL_RADIO1, IDC_GAL_RADIO2, IDC_GAL_RADIO2);
      for (const char* s : {"00:11:22:33:44:55", "00:11:22:33:44:66", "00:11:22:33:44:77", "00:11:22:33:44:88"})
        SendDlgItemMessageA(hwnd, IDC_GAL_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
      SendDlgItemMessageA(hwnd, IDC_GAL_LIST, LB_SETCURSEL, 1, 0);
      for (const char* s : {"Master", "Backup", "Slave"})
        SendDlgItemMessageA(hwnd, IDC_GAL_OWNERLIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
      SendDlgItemMessageA(hwnd, IDC_GAL_OWNERLIST, LB_SETCURSEL, 0, 0);
      SendDlgItemMessageA(hwnd, IDC_GAL_DROPLIST, CB_SETCURSEL, 2, 0);
      SendDlgItemMessageA(hwnd, IDC_GAL_DROPDOWN, CB_SETCURSEL, 0, 0);
      SCROLLINFO si{sizeof si, SIF_ALL, 0, 100, 20, 40, 0};
      SetScrollInfo(GetDlgItem(hwnd, IDC_GAL_HSCROLL), SB_CTL, &si, TRUE);
      SetScrollInfo(GetDlgItem(hwnd, IDC_GAL_VSCROLL), SB_CTL, &si, TRUE);
      SendDlgItemMessageA(hwnd, IDC_GAL_PROGRESS, PBM_SETPOS, 60, 0);
      SendDlgItemMessageA(hwnd, IDC_GAL_SMOOTH, PBM_SETPOS, 35, 0);
      SendDlgItemMessageA(hwnd, IDC_GAL_IP, IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 254));
      return TRUE;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      // Owner-drawn items: coloured by row, the selection framed.
      static const COLORREF rows[] = {RGB(0xE0, 0xF0, 0xFF), RGB(0xFF, 0xF0, 0xD0), RGB(0xE0, 0xFF, 0xE0)};
      HBRUSH b = CreateSolidBrush(dis->CtlType == ODT_BUTTON ? RGB(0x40, 0x70, 0xB0) : rows[dis->itemID % 3]);
      FillRect(dis->hDC, &dis->rcItem, b);
      DeleteObject(b);
      char text[64] = "Owner";
      if (dis->CtlType == ODT_LISTBOX)
        SendMessageA(dis->hwndItem, LB_GETTEXT, dis->itemID, reinterpret_cast<LPARAM>(text));
      SetBkMode(dis->hDC, TRANSPARENT);
      SetTextColor(dis->hDC, dis->CtlType == ODT_BUTTON ? RGB(255, 255, 255) : RGB(0, 0, 0));
      RECT r = dis->rcItem;
      DrawTextA(dis->hDC, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
      if (dis->itemState & ODS_SELECTED) FrameRect(dis->hDC, &dis->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

// Writes a painted window (cut from its top-level surface) as a PNG file.
bool SaveWindowPng(HWND hwnd, const std::string& path) {
  POINT origin;
  RECT wr;
  PlatformSurface* surface = PlatformGetWindowSurface(hwnd, &origin);
  bool ok = surface && GetWindowRect(hwnd, &wr);
  if (ok) {
    PlatformSurface cut;
    cut.Resize(wr.right - wr.left, wr.bottom - wr.top);
    for (int y = 0; y < cut.height; ++y)
      for (int x = 0; x < cut.width; ++x) {
        int sx = origin.x + x, sy = origin.y + y;
        if (sx >= 0 && sy >= 0 && sx < surface->width && sy < surface->height) cut.Row(y)[x] = surface->Row(sy)[sx];
      }
    ok = PlatformWritePng(cut, path.c_str()) != FALSE;
  }
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
  return ok;
}

bool Dialogs(const std::string& out) {
  HWND dlg = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_GALLERY), nullptr, GalleryProc, 0);
  if (!dlg) {
    std::printf("FAILED to create the gallery dialog\n");
    return false;
  }
  ShowWindow(dlg, SW_SHOW);
  SetFocus(GetDlgItem(dlg, IDC_GAL_EDIT));
  UpdateWindow(dlg);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  bool ok = SaveWindowPng(dlg, out + "/dialog.png");
  DestroyWindow(dlg);
  return ok;
}

// Runs the gallery dialog modally, on the X display when there is one, until
// the person closes it.
int ShowDialog() {
  INT_PTR result = DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_GALLERY), nullptr, GalleryProc, 0);
  return result == -1 ? 1 : 0;
}
