// The combo box: a drop-down list (CBS_DROPDOWNLIST) or an edit with a
// drop-down (CBS_DROPDOWN), with its own drop-down window.

#include <algorithm>
#include <cstring>

#include "ControlUtil.h"
#include "ListBoxInternal.h"

namespace {

const int kEditId = 1001;

struct ComboState {
  HWND list = nullptr;
  HWND edit = nullptr;
  bool dropped = false;
  bool focus = false;
  bool settingText = false;  // the edit's EN_CHANGE comes from us, not from typing
  int dropHeight = 100;
  int fieldHeight = 20;
  int droppedWidth = 0;
  int selAtDrop = -1;
  DWORD listBars = 0;  // WS_VSCROLL and WS_HSCROLL the combo box was created with
};

bool IsDropDownList(HWND hwnd) { return (ctl::Style(hwnd) & 3) == CBS_DROPDOWNLIST; }

int ButtonWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

RECT ButtonRect(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return RECT{rc.right - 2 - ButtonWidth(), 2, rc.right - 2, rc.bottom - 2};
}

RECT ItemRectOf(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return RECT{3, 3, rc.right - 2 - ButtonWidth() - 1, rc.bottom - 3};
}

LRESULT ToList(ComboState* s, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  return s->list ? SendMessageA(s->list, msg, wParam, lParam) : CB_ERR;
}

int Cur(ComboState* s) { return static_cast<int>(ToList(s, LB_GETCURSEL)); }

std::string ItemText(ComboState* s, int i) {
  LRESULT n = ToList(s, LB_GETTEXTLEN, static_cast<WPARAM>(i));
  if (n < 0) return std::string();
  std::string t(static_cast<size_t>(n) + 1, '\0');
  ToList(s, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&t[0]));
  t.resize(strlen(t.c_str()));
  return t;
}

// The field shows the selection; in the editable style the edit takes its text.
void ShowSelection(HWND hwnd, ComboState* s) {
  if (s->edit) {
    int i = Cur(s);
    s->settingText = true;
    SetWindowTextA(s->edit, i >= 0 ? ItemText(s, i).c_str() : "");
    SendMessageA(s->edit, EM_SETSEL, 0, -1);
    s->settingText = false;
  }
  InvalidateRect(hwnd, nullptr, TRUE);
}

RECT DropRect(HWND hwnd, ComboState* s) {
  RECT wr;
  GetWindowRect(hwnd, &wr);
  int count = static_cast<int>(ToList(s, LB_GETCOUNT));
  int item = static_cast<int>(ToList(s, LB_GETITEMHEIGHT));
  int h = std::min(s->dropHeight, std::max(1, count) * item + 2);
  h = std::max(h, item + 2);
  int w = std::max<int>(wr.right - wr.left, s->droppedWidth);
  return RECT{wr.left, wr.bottom, wr.left + w, wr.bottom + h};
}

void Drop(HWND hwnd, ComboState* s) {
  if (s->dropped || !s->list) return;
  ctl::Notify(hwnd, CBN_DROPDOWN);
  if (!IsWindow(hwnd)) return;
  s->dropped = true;
  s->selAtDrop = Cur(s);
  RECT r = DropRect(hwnd, s);
  SetWindowPos(s->list, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  int cur = Cur(s);
  if (cur >= 0) ToList(s, LB_SETCURSEL, static_cast<WPARAM>(cur));
  SetCapture(s->list);
  InvalidateRect(hwnd, nullptr, TRUE);
}

// Closes the drop-down: with a choice (pick >= 0), without (pick < 0).
void CloseUp(HWND hwnd, ComboState* s, int pick) {
  if (!s->dropped) return;
  s->dropped = false;
  if (GetCapture() == s->list) ReleaseCapture();
  ShowWindow(s->list, SW_HIDE);
  InvalidateRect(hwnd, nullptr, TRUE);
  if (pick >= 0) {
    ToList(s, LB_SETCURSEL, static_cast<WPARAM>(pick));
    ShowSelection(hwnd, s);
    bool changed = pick != s->selAtDrop;
    ctl::Notify(hwnd, CBN_SELENDOK);
    if (IsWindow(hwnd)) ctl::Notify(hwnd, CBN_CLOSEUP);
    if (IsWindow(hwnd) && changed) ctl::Notify(hwnd, CBN_SELCHANGE);
  } else {
    // Moving through the open list showed other items; the old choice stands.
    ToList(s, LB_SETCURSEL, static_cast<WPARAM>(s->selAtDrop));
    ctl::Notify(hwnd, CBN_SELENDCANCEL);
    if (IsWindow(hwnd)) ctl::Notify(hwnd, CBN_CLOSEUP);
  }
}

// A choice with the keys while the list is closed.
void KeySelect(HWND hwnd, ComboState* s, int to) {
  int n = static_cast<int>(ToList(s, LB_GETCOUNT));
  if (n <= 0) return;
  to = std::max(0, std::min(to, n - 1));
  if (to == Cur(s)) return;
  ToList(s, LB_SETCURSEL, static_cast<WPARAM>(to));
  ShowSelection(hwnd, s);
  ctl::Notify(hwnd, CBN_SELENDOK);
  if (IsWindow(hwnd)) ctl::Notify(hwnd, CBN_SELCHANGE);
}

void PaintCombo(HWND hwnd, HDC hdc, ComboState* s) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  bool enabled = IsWindowEnabled(hwnd) != FALSE;
  HBRUSH brush = ctl::ParentBrush(hwnd, hdc, IsDropDownList(hwnd) ? WM_CTLCOLORLISTBOX : WM_CTLCOLOREDIT);
  RECT inner = rc;
  InflateRect(&inner, -2, -2);
  ctl::FillUnlessHollow(hdc, inner, enabled ? brush : GetSysColorBrush(COLOR_BTNFACE));
  RECT edge = rc;
  DrawEdge(hdc, &edge, EDGE_SUNKEN, BF_RECT);
  RECT button = ButtonRect(hwnd);
  DrawFrameControl(hdc, &button, DFC_SCROLL,
                   DFCS_SCROLLCOMBOBOX | (s->dropped ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE));
  if (s->edit) return;
  RECT item = ItemRectOf(hwnd);
  int cur = Cur(s);
  bool selected = s->focus && !s->dropped;
  if (ctl::Style(hwnd) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
    UINT state = ODS_COMBOBOXEDIT | (selected ? ODS_SELECTED | ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
    DRAWITEMSTRUCT dis{ODT_COMBOBOX, static_cast<UINT>(GetDlgCtrlID(hwnd)), static_cast<UINT>(cur), ODA_DRAWENTIRE,
                       state, hwnd, hdc, item, static_cast<ULONG_PTR>(ToList(s, LB_GETITEMDATA, static_cast<WPARAM>(cur)))};
    SendMessageA(ctl::NotifyTarget(hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  SetBkMode(hdc, TRANSPARENT);
  if (selected) {
    FillRect(hdc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else if (!enabled) {
    SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  }
  if (cur >= 0) {
    RECT text = item;
    text.left += 2;
    std::string t = ItemText(s, cur);
    DrawTextA(hdc, t.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  if (selected) DrawFocusRect(hdc, &item);
}

}  // namespace

BOOL GetComboBoxInfo(HWND combo, PCOMBOBOXINFO info) {
  ComboState* s = IsWindow(combo) ? ctl::StateOf<ComboState>(combo) : nullptr;
  char cls[16];
  if (!s || !info || !GetClassNameA(combo, cls, sizeof cls) || strcmp(cls, WC_COMBOBOX) != 0) return FALSE;
  info->rcItem = ItemRectOf(combo);
  info->rcButton = ButtonRect(combo);
  info->stateButton = s->dropped ? STATE_SYSTEM_PRESSED : 0;
  info->hwndCombo = combo;
  info->hwndItem = s->edit ? s->edit : combo;
  info->hwndList = s->list;
  return TRUE;
}

// The parent measures the selection field (item -1) and, for a fixed
// height, the list's items; a variable list asks per item as they come.
void MeasureOwnerDrawn(HWND hwnd, ComboState* s, DWORD style) {
  HWND parent = ctl::NotifyTarget(hwnd);
  UINT id = static_cast<UINT>(GetDlgCtrlID(hwnd));
  UINT line = static_cast<UINT>(ctl::LineHeight(hwnd));
  MEASUREITEMSTRUCT field{ODT_COMBOBOX, id, static_cast<UINT>(-1), 0, line, 0};
  SendMessageA(parent, WM_MEASUREITEM, id, reinterpret_cast<LPARAM>(&field));
  if (field.itemHeight > 0) s->fieldHeight = static_cast<int>(field.itemHeight) + 6;
  if (!(style & CBS_OWNERDRAWFIXED) || !IsWindow(s->list)) return;
  MEASUREITEMSTRUCT items{ODT_COMBOBOX, id, 0, 0, line, 0};
  SendMessageA(parent, WM_MEASUREITEM, id, reinterpret_cast<LPARAM>(&items));
  if (items.itemHeight > 0) SendMessageA(s->list, LB_SETITEMHEIGHT, 0, MAKELPARAM(items.itemHeight, 0));
}

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ComboState* s = ctl::StateOf<ComboState>(hwnd);
  if (!s && msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_NCCREATE: {
      // The scroll bars a combo box is created with belong to its list.
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
      ctl::MakeState<ComboState>(hwnd)->listBars = static_cast<DWORD>(cs->style) & (WS_VSCROLL | WS_HSCROLL);
      SetWindowLongA(hwnd, GWL_STYLE, GetWindowLongA(hwnd, GWL_STYLE) & ~static_cast<LONG>(WS_VSCROLL | WS_HSCROLL));
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
      DWORD style = static_cast<DWORD>(cs->style);
      s->fieldHeight = ctl::LineHeight(hwnd) + 8;
      s->dropHeight = std::max(cs->cy - s->fieldHeight, 0);
      DWORD listStyle = WS_POPUP | WS_BORDER | s->listBars | WS_CLIPSIBLINGS | LBS_NOTIFY | LBS_HASSTRINGS;
      if (style & CBS_DISABLENOSCROLL) listStyle |= LBS_DISABLENOSCROLL;
      if (style & CBS_SORT) listStyle |= LBS_SORT;
      if (style & CBS_OWNERDRAWFIXED) listStyle |= LBS_OWNERDRAWFIXED;
      if (style & CBS_OWNERDRAWVARIABLE) listStyle |= LBS_OWNERDRAWVARIABLE;
      if (!(style & CBS_HASSTRINGS) && (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))) listStyle &= ~LBS_HASSTRINGS;
      s->list = CreateWindowExA(WS_EX_TOOLWINDOW, COMBOLBOX_CLASS, "", listStyle, 0, 0, cs->cx, 100, hwnd, nullptr,
                                cs->hInstance, nullptr);
      if (!s->list) return -1;
      PlatformListBoxAttachCombo(s->list, hwnd);
      if (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) MeasureOwnerDrawn(hwnd, s, style);
      if ((style & 3) == CBS_DROPDOWN || (style & 3) == CBS_SIMPLE) {
        DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
        if (style & CBS_UPPERCASE) editStyle |= ES_UPPERCASE;
        s->edit = CreateWindowExA(0, WC_EDIT, "", editStyle, 3, 3, std::max(0, cs->cx - 6 - ButtonWidth()),
                                  s->fieldHeight - 6, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)),
                                  cs->hInstance, nullptr);
      }
      // The window is the selection field; the rest of the template's height is the list's.
      SetWindowPos(hwnd, nullptr, 0, 0, cs->cx, s->fieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_NCDESTROY: {
      HWND list = s->list;
      ctl::FreeState<ComboState>(hwnd);
      if (list && IsWindow(list)) DestroyWindow(list);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_SETFONT:
      DefWindowProcA(hwnd, msg, wParam, lParam);
      if (s->list) SendMessageA(s->list, WM_SETFONT, wParam, lParam);
      if (s->edit) SendMessageA(s->edit, WM_SETFONT, wParam, lParam);
      return 0;
    case WM_SIZE:
      if (s->edit) MoveWindow(s->edit, 3, 3, std::max(0, LOWORD(lParam) - 6 - ButtonWidth()), std::max(0, HIWORD(lParam) - 6), TRUE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC hdc) { PaintCombo(hwnd, hdc, s); });
      return 0;
    case WM_SETREDRAW:
      if (s->list) SendMessageA(s->list, WM_SETREDRAW, wParam, 0);
      DefWindowProcA(hwnd, msg, wParam, lParam);
      if (wParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_ENABLE:
      if (s->edit) EnableWindow(s->edit, static_cast<BOOL>(wParam));
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETDLGCODE: {
      auto* m = reinterpret_cast<MSG*>(lParam);
      if (s->dropped && m && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
        return DLGC_WANTMESSAGE | DLGC_WANTARROWS | DLGC_WANTCHARS;
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    }
    case WM_SETFOCUS:
      if (s->edit) {
        SetFocus(s->edit);
        return 0;
      }
      s->focus = true;
      InvalidateRect(hwnd, nullptr, TRUE);
      ctl::Notify(hwnd, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS: {
      HWND to = reinterpret_cast<HWND>(wParam);
      if (to && (to == s->edit || to == s->list)) return 0;
      CloseUp(hwnd, s, -1);
      if (!IsWindow(hwnd)) return 0;
      s->focus = false;
      InvalidateRect(hwnd, nullptr, TRUE);
      ctl::Notify(hwnd, CBN_KILLFOCUS);
      return 0;
    }
    case WM_COMMAND:
      // From the edit of the editable style.
      if (s->edit && reinterpret_cast<HWND>(lParam) == s->edit) {
        switch (HIWORD(wParam)) {
          case EN_CHANGE:
            if (!s->settingText) ctl::Notify(hwnd, CBN_EDITCHANGE);
            break;
          case EN_UPDATE:
            if (!s->settingText) ctl::Notify(hwnd, CBN_EDITUPDATE);
            break;
          case EN_SETFOCUS:
            if (s->focus) break;  // the focus only moved inside the combo box
            s->focus = true;
            ctl::Notify(hwnd, CBN_SETFOCUS);
            break;
          case EN_KILLFOCUS: {
            HWND to = ctl::FocusGoingTo();
            if (to == hwnd || to == s->list) break;
            CloseUp(hwnd, s, -1);
            if (!IsWindow(hwnd)) break;
            s->focus = false;
            ctl::Notify(hwnd, CBN_KILLFOCUS);
            break;
          }
        }
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!s->edit) {
        SetFocus(hwnd);
      } else if (GetFocus() != s->edit) {
        SetFocus(s->edit);
      }
      if (!IsWindow(hwnd)) return 0;
      if (s->dropped)
        CloseUp(hwnd, s, -1);
      else if (!s->edit || ctl::InRect(ButtonRect(hwnd), lParam))
        Drop(hwnd, s);
      return 0;
    case kComboListPicked:
      CloseUp(hwnd, s, static_cast<int>(static_cast<INT_PTR>(wParam)) == -2 ? -1 : static_cast<int>(static_cast<INT_PTR>(wParam)));
      return 0;
    case WM_KEYDOWN: {
      bool alt = GetKeyState(VK_MENU) < 0;
      if (wParam == VK_F4 || (alt && (wParam == VK_DOWN || wParam == VK_UP))) {
        if (s->dropped)
          CloseUp(hwnd, s, Cur(s));
        else
          Drop(hwnd, s);
        return 0;
      }
      if (s->dropped) {
        int cur = Cur(s);
        switch (wParam) {
          case VK_RETURN: CloseUp(hwnd, s, cur); return 0;
          case VK_ESCAPE: CloseUp(hwnd, s, -1); return 0;
          case VK_UP: if (cur > 0) ToList(s, LB_SETCURSEL, static_cast<WPARAM>(cur - 1)); return 0;
          case VK_DOWN: ToList(s, LB_SETCURSEL, static_cast<WPARAM>(std::min<int>(cur + 1, static_cast<int>(ToList(s, LB_GETCOUNT)) - 1))); return 0;
        }
        return 0;
      }
      int cur = Cur(s);
      switch (wParam) {
        case VK_UP: case VK_LEFT: KeySelect(hwnd, s, cur < 0 ? 0 : cur - 1); break;
        case VK_DOWN: case VK_RIGHT: KeySelect(hwnd, s, cur + 1); break;
        case VK_HOME: KeySelect(hwnd, s, 0); break;
        case VK_END: KeySelect(hwnd, s, static_cast<int>(ToList(s, LB_GETCOUNT)) - 1); break;
      }
      return 0;
    }
    case WM_CHAR:
      if (!s->edit && wParam >= 32) {
        char prefix[2] = {static_cast<char>(wParam), 0};
        int i = static_cast<int>(ToList(s, LB_FINDSTRING, static_cast<WPARAM>(Cur(s)), reinterpret_cast<LPARAM>(prefix)));
        if (i >= 0) KeySelect(hwnd, s, i);
      }
      return 0;
    case WM_SETTEXT:
      if (s->edit) {
        s->settingText = true;
        SetWindowTextA(s->edit, reinterpret_cast<LPCSTR>(lParam));
        s->settingText = false;
        return TRUE;
      }
      {
        int i = static_cast<int>(ToList(s, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam));
        if (i < 0) return CB_ERR;
        ToList(s, LB_SETCURSEL, static_cast<WPARAM>(i));
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
      }
    case WM_GETTEXT:
      if (s->edit) return SendMessageA(s->edit, WM_GETTEXT, wParam, lParam);
      return ctl::CopyText(Cur(s) >= 0 ? ItemText(s, Cur(s)) : std::string(), wParam, lParam);
    case WM_GETTEXTLENGTH:
      if (s->edit) return GetWindowTextLengthA(s->edit);
      return Cur(s) >= 0 ? static_cast<LRESULT>(ItemText(s, Cur(s)).size()) : 0;

    case CB_ADDSTRING: {
      LRESULT r = ToList(s, LB_ADDSTRING, 0, lParam);
      return r;
    }
    case CB_INSERTSTRING:
      return ToList(s, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING: {
      LRESULT r = ToList(s, LB_DELETESTRING, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case CB_RESETCONTENT:
      ToList(s, LB_RESETCONTENT);
      ShowSelection(hwnd, s);
      return CB_OKAY;
    case CB_GETCOUNT:
      return ToList(s, LB_GETCOUNT);
    case CB_GETCURSEL:
      return Cur(s);
    case CB_SETCURSEL: {
      // The program's choice: the field follows, but no CBN_SELCHANGE.
      LRESULT r = ToList(s, LB_SETCURSEL, wParam);
      ShowSelection(hwnd, s);
      return r;
    }
    case CB_SELECTSTRING: {
      int i = static_cast<int>(ToList(s, LB_FINDSTRING, wParam, lParam));
      if (i < 0) return CB_ERR;
      ToList(s, LB_SETCURSEL, static_cast<WPARAM>(i));
      ShowSelection(hwnd, s);
      return i;
    }
    case CB_FINDSTRING:
      return ToList(s, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
      return ToList(s, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_GETLBTEXT:
      return ToList(s, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
      return ToList(s, LB_GETTEXTLEN, wParam, lParam);
    case CB_GETITEMDATA:
      return ToList(s, LB_GETITEMDATA, wParam, lParam);
    case CB_SETITEMDATA:
      return ToList(s, LB_SETITEMDATA, wParam, lParam);
    case CB_SETITEMHEIGHT:
      if (static_cast<INT_PTR>(wParam) == -1) {
        if (LOWORD(lParam) == 0) return CB_ERR;
        s->fieldHeight = LOWORD(lParam) + 6;
        RECT wr;
        GetWindowRect(hwnd, &wr);
        SetWindowPos(hwnd, nullptr, 0, 0, wr.right - wr.left, s->fieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
      }
      return ToList(s, LB_SETITEMHEIGHT, wParam, lParam);
    case CB_GETITEMHEIGHT:
      if (static_cast<INT_PTR>(wParam) == -1) return s->fieldHeight - 6;
      return ToList(s, LB_GETITEMHEIGHT, wParam);
    case CB_GETTOPINDEX:
      return ToList(s, LB_GETTOPINDEX);
    case CB_SETTOPINDEX:
      return ToList(s, LB_SETTOPINDEX, wParam);
    case CB_SHOWDROPDOWN:
      if (wParam)
        Drop(hwnd, s);
      else
        CloseUp(hwnd, s, -1);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return s->dropped;
    case CB_GETDROPPEDCONTROLRECT:
      if (!lParam) return CB_ERR;
      {
        RECT wr;
        GetWindowRect(hwnd, &wr);
        RECT drop = DropRect(hwnd, s);
        *reinterpret_cast<RECT*>(lParam) = RECT{wr.left, wr.top, std::max(wr.right, drop.right), wr.bottom + s->dropHeight};
      }
      return TRUE;
    case CB_SETDROPPEDWIDTH:
      s->droppedWidth = static_cast<int>(wParam);
      return s->droppedWidth;
    case CB_GETDROPPEDWIDTH: {
      RECT wr;
      GetWindowRect(hwnd, &wr);
      return std::max<int>(wr.right - wr.left, s->droppedWidth);
    }
    case CB_LIMITTEXT:
      if (s->edit) SendMessageA(s->edit, EM_LIMITTEXT, wParam, 0);
      return TRUE;
    case CB_GETEDITSEL:
      if (!s->edit) return CB_ERR;
      return SendMessageA(s->edit, EM_GETSEL, wParam, lParam);
    case CB_SETEDITSEL:
      if (!s->edit) return CB_ERR;
      SendMessageA(s->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                   static_cast<short>(HIWORD(lParam)));
      return TRUE;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
