// Drag images: the picture of a list row, and the image list drag that shows
// a picture under the pointer while something is dragged between windows.

#include <algorithm>
#include <mutex>
#include <string>

#include "CommCtrl.h"
#include "ControlUtil.h"

HIMAGELIST PlatformListViewDragImage(HWND list, int item, POINT* upperLeft) {
  RECT icon{LVIR_ICON, 0, 0, 0};
  RECT label{LVIR_LABEL, 0, 0, 0};
  if (!SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&icon)) ||
      !SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&label)))
    return nullptr;
  char text[260] = {0};
  LVITEMA lvi{};
  lvi.mask = LVIF_TEXT | LVIF_IMAGE;
  lvi.iItem = item;
  lvi.pszText = text;
  lvi.cchTextMax = sizeof(text);
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lvi));
  auto smallImages = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));

  int width = std::max(1L, static_cast<long>(label.right - icon.left));
  int height = std::max(1L, static_cast<long>(label.bottom - label.top));
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldBitmap = SelectObject(dc, picture);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
  if (smallImages && lvi.iImage >= 0) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(smallImages, &cx, &cy);
    ImageList_Draw(smallImages, lvi.iImage, dc, 0, (height - cy) / 2, ILD_TRANSPARENT);
  }
  HGDIOBJ oldFont = SelectObject(dc, ctl::FontOf(list));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  RECT textRc{label.left - icon.left + 2, 0, width, height};
  DrawTextA(dc, text, -1, &textRc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);

  HIMAGELIST result = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 1, 0);
  if (result) ImageList_AddMasked(result, picture, GetSysColor(COLOR_WINDOW));
  DeleteObject(picture);
  if (upperLeft) *upperLeft = POINT{icon.left, icon.top};
  return result;
}

// ---------------------------------------------------------------- the image list drag

namespace {

const char kDragClass[] = "PlatformDragImage";

struct Drag {
  HIMAGELIST image = nullptr;  // our own copy of the dragged image
  POINT hotspot{};
  HWND window = nullptr;
  HWND lock = nullptr;
  POINT pos{};  // relative to the lock window's top-left corner
  bool shown = false;
};

Drag& TheDrag() {
  static Drag d;
  return d;
}

LRESULT CALLBACK DragWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (TheDrag().image) ImageList_Draw(TheDrag().image, 0, dc, 0, 0, ILD_NORMAL);
      EndPaint(hwnd, &ps);
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Place() {
  Drag& d = TheDrag();
  if (!d.window) return;
  RECT lockRect{};
  if (d.lock) GetWindowRect(d.lock, &lockRect);
  int x = lockRect.left + d.pos.x - d.hotspot.x;
  int y = lockRect.top + d.pos.y - d.hotspot.y;
  SetWindowPos(d.window, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(d.window, d.shown ? SW_SHOWNA : SW_HIDE);
}

}  // namespace

BOOL ImageList_BeginDrag(HIMAGELIST list, int index, int dxHotspot, int dyHotspot) {
  if (!list || index < 0 || index >= ImageList_GetImageCount(list)) return FALSE;
  ImageList_EndDrag();
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list, &cx, &cy);
  // The caller may destroy its list while the drag goes on.
  HIMAGELIST copy = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 1, 0);
  HICON icon = ImageList_GetIcon(list, index, ILD_NORMAL);
  if (!copy || !icon || ImageList_ReplaceIcon(copy, -1, icon) < 0) {
    if (icon) DestroyIcon(icon);
    if (copy) ImageList_Destroy(copy);
    return FALSE;
  }
  DestroyIcon(icon);
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSA wc{};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = DragWindowProc;
    wc.lpszClassName = kDragClass;
    RegisterClassA(&wc);
  });
  Drag& d = TheDrag();
  d.image = copy;
  d.hotspot = POINT{dxHotspot, dyHotspot};
  d.window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT, kDragClass, "",
                             WS_POPUP, 0, 0, cx, cy, nullptr, nullptr, nullptr, nullptr);
  d.shown = false;
  return d.window != nullptr;
}

BOOL ImageList_DragEnter(HWND lock, int x, int y) {
  Drag& d = TheDrag();
  if (!d.window) return FALSE;
  d.lock = lock == GetDesktopWindow() ? nullptr : lock;
  d.pos = POINT{x, y};
  d.shown = true;
  Place();
  return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
  Drag& d = TheDrag();
  if (!d.window) return FALSE;
  d.pos = POINT{x, y};
  Place();
  return TRUE;
}

BOOL ImageList_DragShowNolock(BOOL show) {
  Drag& d = TheDrag();
  if (!d.window) return FALSE;
  d.shown = show != FALSE;
  Place();
  return TRUE;
}

BOOL ImageList_DragLeave(HWND) {
  Drag& d = TheDrag();
  if (!d.window) return FALSE;
  d.shown = false;
  Place();
  return TRUE;
}

void ImageList_EndDrag() {
  Drag& d = TheDrag();
  if (d.window) DestroyWindow(d.window);
  if (d.image) ImageList_Destroy(d.image);
  d = Drag{};
}

HIMAGELIST ImageList_GetDragImage(POINT* pt, POINT* hotspot) {
  Drag& d = TheDrag();
  if (pt) *pt = d.pos;
  if (hotspot) *hotspot = d.hotspot;
  return d.image;
}

HWND PlatformDragImageWindow() {
  Drag& d = TheDrag();
  return d.shown ? d.window : nullptr;
}
