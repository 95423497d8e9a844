// The tool bar control. Buttons are laid out left to right (a wrap state or
// a narrow wrapable bar starts a new row); a click on an enabled button sends
// WM_COMMAND to the parent, a check button toggles, and a drop-down button
// reports TBN_DROPDOWN instead.

#include <algorithm>
#include <string>
#include <vector>

#include "CommCtrl.h"
#include "ControlUtil.h"

namespace {

const int kDefaultSeparator = 8;
const int kDropDownArrow = 14;

struct Button {
  TBBUTTON b{};
  std::string text;
};

struct ToolBar {
  std::vector<Button> buttons;
  std::vector<RECT> rects;  // one per button; empty for hidden ones
  HIMAGELIST images = nullptr;
  SIZE bitmap{16, 15};
  SIZE button{23, 22};
  DWORD exStyle = 0;
  int hot = -1;
  int pressed = -1;  // the button held down by the mouse
};

ToolBar* Get(HWND hwnd) { return ctl::StateOf<ToolBar>(hwnd); }

bool Separator(const TBBUTTON& b) { return (b.fsStyle & TBSTYLE_SEP) != 0; }
bool Hidden(const TBBUTTON& b) { return (b.fsState & TBSTATE_HIDDEN) != 0; }
bool Enabled(const TBBUTTON& b) { return (b.fsState & TBSTATE_ENABLED) != 0; }
bool ArrowApart(const ToolBar* t, const TBBUTTON& b) {
  return (b.fsStyle & TBSTYLE_DROPDOWN) && (t->exStyle & TBSTYLE_EX_DRAWDDARROWS);
}

int WidthOf(const ToolBar* t, const TBBUTTON& b) {
  if (Separator(b)) return b.iBitmap > 0 ? b.iBitmap : kDefaultSeparator;
  return t->button.cx + (ArrowApart(t, b) ? kDropDownArrow : 0);
}

void Layout(HWND hwnd, ToolBar* t) {
  RECT client;
  GetClientRect(hwnd, &client);
  bool wrapable = (ctl::Style(hwnd) & TBSTYLE_WRAPABLE) != 0;
  t->rects.assign(t->buttons.size(), RECT{0, 0, 0, 0});
  int x = 0, y = 0;
  for (size_t i = 0; i < t->buttons.size(); ++i) {
    const TBBUTTON& b = t->buttons[i].b;
    if (Hidden(b)) continue;
    int w = WidthOf(t, b);
    if (wrapable && x > 0 && x + w > client.right) {
      x = 0;
      y += t->button.cy;
    }
    t->rects[i] = RECT{x, y, x + w, y + t->button.cy};
    x += w;
    if (b.fsState & TBSTATE_WRAP) {
      x = 0;
      y += t->button.cy + (Separator(b) ? kDefaultSeparator : 0);
    }
  }
}

int IndexAt(const ToolBar* t, POINT p) {
  for (size_t i = 0; i < t->rects.size(); ++i)
    if (!Hidden(t->buttons[i].b) && PtInRect(&t->rects[i], p)) return static_cast<int>(i);
  return -1;
}

int IndexOfCommand(const ToolBar* t, WPARAM id) {
  for (size_t i = 0; i < t->buttons.size(); ++i)
    if (t->buttons[i].b.idCommand == static_cast<int>(id)) return static_cast<int>(i);
  return -1;
}

void Relayout(HWND hwnd, ToolBar* t) {
  Layout(hwnd, t);
  InvalidateRect(hwnd, nullptr, TRUE);
}

void Paint(HWND hwnd, ToolBar* t, HDC dc) {
  bool flat = (ctl::Style(hwnd) & TBSTYLE_FLAT) != 0;
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < t->buttons.size(); ++i) {
    const TBBUTTON& b = t->buttons[i].b;
    if (Hidden(b)) continue;
    RECT r = t->rects[i];
    if (Separator(b)) {
      if (b.idCommand == 0) {
        RECT line{(r.left + r.right) / 2 - 1, r.top + 2, (r.left + r.right) / 2 + 1, r.bottom - 2};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
      }
      continue;
    }
    bool down = static_cast<int>(i) == t->pressed && (b.fsState & TBSTATE_PRESSED);
    bool checked = (b.fsState & TBSTATE_CHECKED) != 0;
    bool hot = static_cast<int>(i) == t->hot && Enabled(b);
    if (down || checked) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    if (checked && !down) {
      RECT inside = r;
      InflateRect(&inside, -1, -1);
      ctl::FillDithered(dc, inside);
    }
    else if (hot || !flat) DrawEdge(dc, &r, flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    RECT face = r;
    if (ArrowApart(t, b)) {
      face.right -= kDropDownArrow;
      int m = (r.top + r.bottom) / 2, ax = face.right + 4;
      HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(Enabled(b) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
      HGDIOBJ old = SelectObject(dc, pen);
      for (int k = 0; k < 3; ++k) {
        MoveToEx(dc, ax + k, m - 1 + k, nullptr);
        LineTo(dc, ax + 5 - k, m - 1 + k);
      }
      SelectObject(dc, old);
      DeleteObject(pen);
    }
    int shift = down || checked ? 1 : 0;
    if (t->images && b.iBitmap >= 0) {
      int x = (face.left + face.right - t->bitmap.cx) / 2 + shift;
      int y = face.top + (t->button.cy - t->bitmap.cy) / 2 + shift;
      ImageList_Draw(t->images, b.iBitmap, dc, x, y, ILD_TRANSPARENT);
    }
    if (!t->buttons[i].text.empty()) {
      SetTextColor(dc, GetSysColor(Enabled(b) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
      RECT tr{face.left, face.bottom - ctl::LineHeight(hwnd) - 2, face.right, face.bottom};
      DrawTextA(dc, t->buttons[i].text.c_str(), -1, &tr, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
  }
}

LRESULT NotifyDropDown(HWND hwnd, const ToolBar* t, int i) {
  NMTOOLBARA nm{};
  nm.hdr.hwndFrom = hwnd;
  nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
  nm.hdr.code = TBN_DROPDOWN;
  nm.iItem = t->buttons[static_cast<size_t>(i)].b.idCommand;
  nm.tbButton = t->buttons[static_cast<size_t>(i)].b;
  nm.rcButton = t->rects[static_cast<size_t>(i)];
  HWND parent = ctl::NotifyTarget(hwnd);
  return parent ? SendMessageA(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm)) : 0;
}

void SetHot(HWND hwnd, ToolBar* t, int i) {
  if (t->hot == i) return;
  t->hot = i;
  InvalidateRect(hwnd, nullptr, TRUE);
}

void Release(HWND hwnd, ToolBar* t, POINT p) {
  int i = t->pressed;
  t->pressed = -1;
  if (GetCapture() == hwnd) ReleaseCapture();
  t->hot = IndexAt(t, p);
  if (i < 0 || static_cast<size_t>(i) >= t->buttons.size()) return;
  TBBUTTON& b = t->buttons[static_cast<size_t>(i)].b;
  b.fsState &= static_cast<BYTE>(~TBSTATE_PRESSED);
  InvalidateRect(hwnd, nullptr, TRUE);
  if (IndexAt(t, p) != i || !Enabled(b)) return;
  if (b.fsStyle & TBSTYLE_CHECK) {
    if ((b.fsStyle & TBSTYLE_GROUP)) {
      for (Button& other : t->buttons)
        if ((other.b.fsStyle & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP) other.b.fsState &= ~TBSTATE_CHECKED;
      b.fsState |= TBSTATE_CHECKED;
    } else {
      b.fsState ^= TBSTATE_CHECKED;
    }
  }
  HWND parent = ctl::NotifyTarget(hwnd);
  if (parent) SendMessageA(parent, WM_COMMAND, MAKEWPARAM(b.idCommand, 0), reinterpret_cast<LPARAM>(hwnd));
}

BOOL Insert(HWND hwnd, ToolBar* t, size_t at, const TBBUTTON* b, size_t count) {
  if (!b) return FALSE;
  at = std::min(at, t->buttons.size());
  std::vector<Button> added;
  for (size_t k = 0; k < count; ++k) {
    Button nb;
    nb.b = b[k];
    // A string pointer (not a string index) is the button's text.
    if (b[k].iString > 0xFFFF) nb.text = reinterpret_cast<const char*>(b[k].iString);
    added.push_back(nb);
  }
  t->buttons.insert(t->buttons.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
  Relayout(hwnd, t);
  return TRUE;
}

BOOL ButtonInfo(ToolBar* t, WPARAM id, TBBUTTONINFOA* info, bool set) {
  if (!info || info->cbSize < sizeof(TBBUTTONINFOA)) return -1;
  int i = (info->dwMask & TBIF_BYINDEX) ? static_cast<int>(id) : IndexOfCommand(t, id);
  if (i < 0 || static_cast<size_t>(i) >= t->buttons.size()) return -1;
  Button& bt = t->buttons[static_cast<size_t>(i)];
  if (set) {
    if (info->dwMask & TBIF_COMMAND) bt.b.idCommand = info->idCommand;
    if (info->dwMask & TBIF_IMAGE) bt.b.iBitmap = info->iImage;
    if (info->dwMask & TBIF_STATE) bt.b.fsState = info->fsState;
    if (info->dwMask & TBIF_STYLE) bt.b.fsStyle = info->fsStyle;
    if (info->dwMask & TBIF_LPARAM) bt.b.dwData = info->lParam;
    if ((info->dwMask & TBIF_SIZE) && Separator(bt.b)) bt.b.iBitmap = info->cx;
    if ((info->dwMask & TBIF_TEXT) && info->pszText) bt.text = info->pszText;
    return TRUE;
  }
  if (info->dwMask & TBIF_COMMAND) info->idCommand = bt.b.idCommand;
  if (info->dwMask & TBIF_IMAGE) info->iImage = bt.b.iBitmap;
  if (info->dwMask & TBIF_STATE) info->fsState = bt.b.fsState;
  if (info->dwMask & TBIF_STYLE) info->fsStyle = bt.b.fsStyle;
  if (info->dwMask & TBIF_LPARAM) info->lParam = bt.b.dwData;
  if (info->dwMask & TBIF_SIZE) info->cx = static_cast<WORD>(t->rects[static_cast<size_t>(i)].right - t->rects[static_cast<size_t>(i)].left);
  if ((info->dwMask & TBIF_TEXT) && info->pszText && info->cchText > 0)
    info->pszText[bt.text.copy(info->pszText, static_cast<size_t>(info->cchText - 1))] = '\0';
  return i;
}

LRESULT CALLBACK ToolBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ToolBar* t = Get(hwnd);
  if (!t && msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
  auto index = [&](WPARAM id) { return IndexOfCommand(t, id); };
  auto setState = [&](WPARAM id, BYTE bit, bool on) -> LRESULT {
    int i = index(id);
    if (i < 0) return FALSE;
    BYTE& s = t->buttons[static_cast<size_t>(i)].b.fsState;
    BYTE before = s;
    s = on ? static_cast<BYTE>(s | bit) : static_cast<BYTE>(s & ~bit);
    if (before != s && bit == TBSTATE_HIDDEN) Relayout(hwnd, t);
    else if (before != s) InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
  };
  switch (msg) {
    case WM_NCCREATE:
      ctl::MakeState<ToolBar>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY:
      ctl::FreeState<ToolBar>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SIZE:
      Layout(hwnd, t);
      return 0;
    case WM_ERASEBKGND: {
      // The class brush when a host gave the class one, else the button face.
      auto brush = reinterpret_cast<HBRUSH>(GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND));
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wParam), &rc, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT:
    case WM_PRINTCLIENT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC dc) { Paint(hwnd, t, dc); });
      return 0;
    case WM_MOUSEMOVE: {
      POINT p = ctl::PointOf(lParam);
      if (t->pressed < 0) SetHot(hwnd, t, IndexAt(t, p));
      return 0;
    }
    case WM_MOUSELEAVE:
      SetHot(hwnd, t, -1);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT p = ctl::PointOf(lParam);
      int i = IndexAt(t, p);
      if (i < 0) return 0;
      TBBUTTON& b = t->buttons[static_cast<size_t>(i)].b;
      if (Separator(b) || !Enabled(b)) return 0;
      bool onArrow = ArrowApart(t, b) && p.x >= t->rects[static_cast<size_t>(i)].right - kDropDownArrow;
      if ((b.fsStyle & TBSTYLE_DROPDOWN) && (onArrow || !ArrowApart(t, b))) {
        NotifyDropDown(hwnd, t, i);
        return 0;
      }
      t->pressed = i;
      b.fsState |= TBSTATE_PRESSED;
      SetCapture(hwnd);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case WM_LBUTTONUP:
      Release(hwnd, t, ctl::PointOf(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (t->pressed >= 0 && reinterpret_cast<HWND>(lParam) != hwnd) {
        t->buttons[static_cast<size_t>(t->pressed)].b.fsState &= static_cast<BYTE>(~TBSTATE_PRESSED);
        t->pressed = -1;
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return 0;
    case TB_BUTTONSTRUCTSIZE:
      return 0;
    case TB_ADDBUTTONSA:
      return Insert(hwnd, t, t->buttons.size(), reinterpret_cast<const TBBUTTON*>(lParam), wParam);
    case TB_INSERTBUTTONA:
      return Insert(hwnd, t, wParam, reinterpret_cast<const TBBUTTON*>(lParam), 1);
    case TB_DELETEBUTTON:
      if (wParam >= t->buttons.size()) return FALSE;
      t->buttons.erase(t->buttons.begin() + static_cast<std::ptrdiff_t>(wParam));
      t->hot = t->pressed = -1;
      Relayout(hwnd, t);
      return TRUE;
    case TB_BUTTONCOUNT:
      return static_cast<LRESULT>(t->buttons.size());
    case TB_GETBUTTON:
      if (wParam >= t->buttons.size() || !lParam) return FALSE;
      *reinterpret_cast<TBBUTTON*>(lParam) = t->buttons[wParam].b;
      return TRUE;
    case TB_COMMANDTOINDEX:
      return index(wParam);
    case TB_GETITEMRECT:
      if (wParam >= t->buttons.size() || !lParam || Hidden(t->buttons[wParam].b)) return FALSE;
      *reinterpret_cast<RECT*>(lParam) = t->rects[wParam];
      return TRUE;
    case TB_GETRECT: {
      int i = index(wParam);
      if (i < 0 || !lParam) return FALSE;
      *reinterpret_cast<RECT*>(lParam) = t->rects[static_cast<size_t>(i)];
      return TRUE;
    }
    case TB_ENABLEBUTTON: return setState(wParam, TBSTATE_ENABLED, LOWORD(lParam) != 0);
    case TB_CHECKBUTTON: return setState(wParam, TBSTATE_CHECKED, LOWORD(lParam) != 0);
    case TB_PRESSBUTTON: return setState(wParam, TBSTATE_PRESSED, LOWORD(lParam) != 0);
    case TB_HIDEBUTTON: return setState(wParam, TBSTATE_HIDDEN, LOWORD(lParam) != 0);
    case TB_ISBUTTONENABLED:
    case TB_ISBUTTONCHECKED:
    case TB_ISBUTTONHIDDEN: {
      int i = index(wParam);
      if (i < 0) return FALSE;
      BYTE bit = msg == TB_ISBUTTONENABLED ? TBSTATE_ENABLED : msg == TB_ISBUTTONCHECKED ? TBSTATE_CHECKED : TBSTATE_HIDDEN;
      return (t->buttons[static_cast<size_t>(i)].b.fsState & bit) != 0;
    }
    case TB_GETSTATE: {
      int i = index(wParam);
      return i < 0 ? -1 : t->buttons[static_cast<size_t>(i)].b.fsState;
    }
    case TB_SETSTATE: {
      int i = index(wParam);
      if (i < 0) return FALSE;
      t->buttons[static_cast<size_t>(i)].b.fsState = static_cast<BYTE>(LOWORD(lParam));
      Relayout(hwnd, t);
      return TRUE;
    }
    case TB_SETBUTTONSIZE:
      t->button = SIZE{std::max<LONG>(1, LOWORD(lParam)), std::max<LONG>(1, HIWORD(lParam))};
      Relayout(hwnd, t);
      return TRUE;
    case TB_GETBUTTONSIZE:
      return MAKELONG(t->button.cx, t->button.cy);
    case TB_SETBITMAPSIZE:
      t->bitmap = SIZE{LOWORD(lParam), HIWORD(lParam)};
      t->button.cx = std::max(t->button.cx, t->bitmap.cx + 7);
      t->button.cy = std::max(t->button.cy, t->bitmap.cy + 7);
      Relayout(hwnd, t);
      return TRUE;
    case TB_SETIMAGELIST: {
      HIMAGELIST old = t->images;
      t->images = reinterpret_cast<HIMAGELIST>(lParam);
      int cx = 0, cy = 0;
      if (t->images && ImageList_GetIconSize(t->images, &cx, &cy)) t->bitmap = SIZE{cx, cy};
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case TB_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(t->images);
    case TB_GETHOTITEM:
      return t->hot;
    case TB_SETHOTITEM: {
      int old = t->hot;
      SetHot(hwnd, t, static_cast<int>(wParam) < static_cast<int>(t->buttons.size()) ? static_cast<int>(wParam) : -1);
      return old;
    }
    case TB_SETEXTENDEDSTYLE: {
      DWORD old = t->exStyle;
      t->exStyle = wParam ? (t->exStyle & ~static_cast<DWORD>(wParam)) | (static_cast<DWORD>(lParam) & static_cast<DWORD>(wParam))
                          : static_cast<DWORD>(lParam);
      Relayout(hwnd, t);
      return old;
    }
    case TB_GETEXTENDEDSTYLE:
      return t->exStyle;
    case TB_GETBUTTONINFOA:
      return ButtonInfo(t, wParam, reinterpret_cast<TBBUTTONINFOA*>(lParam), false);
    case TB_SETBUTTONINFOA: {
      BOOL r = ButtonInfo(t, wParam, reinterpret_cast<TBBUTTONINFOA*>(lParam), true);
      if (r >= 0) Relayout(hwnd, t);
      return r >= 0;
    }
    case TB_AUTOSIZE:
      Layout(hwnd, t);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

void PlatformRegisterToolBarClass() {
  ctl::RegisterControlClass(TOOLBARCLASSNAME, ToolBarProc, LoadCursorA(nullptr, IDC_ARROW));
}
