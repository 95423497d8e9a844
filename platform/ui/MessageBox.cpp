// Modal loops and the message box.
//
// A modal loop keeps dispatching everything of its thread (timers, socket
// notices and posted messages of every window), so the program's background
// work goes on while it waits. The message box draws its own text and
// buttons, so it needs no control classes.

#include <algorithm>
#include <cstring>
#include <vector>

#include "UiPlatform.h"
#include "WindowManager.h"

namespace {

const char kBoxClass[] = "PlatformMessageBox";

struct Hooks {
  PlatformModalHook modal;
  PlatformMessageBoxObserver observer;
};
Hooks& TheHooks() {
  static auto* h = new Hooks;
  return *h;
}

struct Box {
  std::string text;
  std::vector<int> buttons;
  int defaultButton = IDOK;
  int escapeResult = 0;  // 0: Escape does nothing
  int result = 0;
  std::vector<RECT> buttonRects;
  RECT textRect{};
};

const char* ButtonText(int id) {
  switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "&Abort";
    case IDRETRY: return "&Retry";
    case IDIGNORE: return "&Ignore";
    case IDYES: return "&Yes";
    case IDNO: return "&No";
  }
  return "";
}

Box* BoxOf(HWND hwnd) { return reinterpret_cast<Box*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

bool HasButton(const Box* box, int id) { return std::find(box->buttons.begin(), box->buttons.end(), id) != box->buttons.end(); }

void Answer(HWND hwnd, int id) {
  Box* box = BoxOf(hwnd);
  if (box && !box->result && HasButton(box, id)) box->result = id;
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
      break;
    case WM_COMMAND:
      Answer(hwnd, LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      if (Box* box = BoxOf(hwnd)) {
        if (box->escapeResult && !box->result) box->result = box->escapeResult;
      }
      return 0;
    case WM_LBUTTONUP:
      if (Box* box = BoxOf(hwnd)) {
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        for (size_t i = 0; i < box->buttonRects.size(); ++i) {
          if (PtInRect(&box->buttonRects[i], pt)) Answer(hwnd, box->buttons[i]);
        }
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      Box* box = BoxOf(hwnd);
      if (hdc && box) {
        HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
        RECT t = box->textRect;
        DrawTextA(hdc, box->text.c_str(), -1, &t, DT_WORDBREAK | DT_NOPREFIX);
        for (size_t i = 0; i < box->buttonRects.size(); ++i) {
          RECT r = box->buttonRects[i];
          DrawFrameControl(hdc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
          DrawTextA(hdc, ButtonText(box->buttons[i]), -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        }
        SelectObject(hdc, old);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Layout(Box* box, int* width, int* height) {
  RECT text{0, 0, 400, 0};
  HDC hdc = GetDC(nullptr);
  if (hdc) {
    HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextA(hdc, box->text.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(hdc, old);
    ReleaseDC(nullptr, hdc);
  }
  const int margin = 12, bw = 75, bh = 23, gap = 6;
  int buttons = static_cast<int>(box->buttons.size()) * (bw + gap) - gap;
  int clientW = std::max<int>(text.right - text.left, buttons) + 2 * margin;
  int clientH = (text.bottom - text.top) + bh + 3 * margin;
  box->textRect = RECT{margin, margin, clientW - margin, margin + (text.bottom - text.top)};
  int x = (clientW - buttons) / 2, y = clientH - margin - bh;
  for (size_t i = 0; i < box->buttons.size(); ++i, x += bw + gap) box->buttonRects.push_back(RECT{x, y, x + bw, y + bh});
  RECT frame{0, 0, clientW, clientH};
  AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
  *width = frame.right - frame.left;
  *height = frame.bottom - frame.top;
}

}  // namespace

void PlatformSetModalHook(PlatformModalHook hook) {
  wm::Guard g(wm::Lock());
  TheHooks().modal = std::move(hook);
}

void PlatformSetMessageBoxObserver(PlatformMessageBoxObserver observer) {
  wm::Guard g(wm::Lock());
  TheHooks().observer = std::move(observer);
}

BOOL PlatformRunModalLoop(HWND modal, const std::function<bool()>& done, const std::function<bool(MSG*)>& filter) {
  PlatformModalHook hook;
  {
    wm::Guard g(wm::Lock());
    hook = TheHooks().modal;
  }
  if (hook) hook(modal);
  while (!done()) {
    MSG msg;
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return FALSE;
    }
    if (filter && filter(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return TRUE;
}

std::string PlatformMessageBoxText(HWND hwnd) {
  char name[64];
  if (!GetClassNameA(hwnd, name, sizeof name) || strcmp(name, kBoxClass) != 0) return std::string();
  Box* box = BoxOf(hwnd);
  return box ? box->text : std::string();
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  if (!caption) caption = "Error";
  if (!text) text = "";
  PlatformMessageBoxObserver observer;
  {
    wm::Guard g(wm::Lock());
    observer = TheHooks().observer;
    WNDCLASSA wc{};
    if (!GetClassInfoA(nullptr, kBoxClass, &wc)) {
      wc.lpfnWndProc = BoxProc;
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
      wc.lpszClassName = kBoxClass;
      RegisterClassA(&wc);
    }
  }
  if (observer) observer(PlatformMessageBoxRecord{caption, text, type});

  Box box;
  box.text = text;
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: box.buttons = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: box.buttons = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: box.buttons = {IDYES, IDNO, IDCANCEL}; break;
    case MB_YESNO: box.buttons = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: box.buttons = {IDRETRY, IDCANCEL}; break;
    default: box.buttons = {IDOK}; break;
  }
  size_t def = ((type & MB_DEFMASK) >> 8);
  box.defaultButton = box.buttons[def < box.buttons.size() ? def : 0];
  if (HasButton(&box, IDCANCEL))
    box.escapeResult = IDCANCEL;
  else if (box.buttons.size() == 1)
    box.escapeResult = IDOK;

  int width, height;
  Layout(&box, &width, &height);
  HWND ownerTop = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND hwnd = CreateWindowExA(WS_EX_DLGMODALFRAME, kBoxClass, caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, x, y,
                              width, height, ownerTop, nullptr, nullptr, &box);
  if (!hwnd) return 0;
  // The owner takes no input while the box is up, and only then.
  bool disabled = ownerTop && IsWindowEnabled(ownerTop);
  if (disabled) EnableWindow(ownerTop, FALSE);
  ShowWindow(hwnd, SW_SHOW);
  PlatformRunModalLoop(
      hwnd, [&] { return box.result != 0 || !IsWindow(hwnd); },
      [&](MSG* msg) {
        if (msg->message != WM_KEYDOWN || (msg->hwnd != hwnd && !IsChild(hwnd, msg->hwnd))) return false;
        if (msg->wParam == VK_RETURN) box.result = box.defaultButton;
        if (msg->wParam == VK_ESCAPE && box.escapeResult) box.result = box.escapeResult;
        return true;
      });
  if (disabled && IsWindow(ownerTop)) EnableWindow(ownerTop, TRUE);
  if (IsWindow(hwnd)) DestroyWindow(hwnd);
  if (ownerTop && IsWindow(ownerTop)) SetActiveWindow(ownerTop);
  return box.result;
}
