// The button control: push buttons, check boxes, radio buttons, group boxes
// and owner-drawn buttons.

#include <strings.h>

#include "ControlUtil.h"

namespace {

struct ButtonState {
  UINT check = BST_UNCHECKED;
  bool pushed = false;    // drawn pressed
  bool focus = false;
  bool tracking = false;  // the mouse went down on us and we hold the capture
  bool spaceDown = false;
  bool hollow = false;  // painted last on the parent's background (a hollow brush)
  HANDLE image = nullptr;
};

DWORD TypeOf(HWND hwnd) { return ctl::Style(hwnd) & BS_TYPEMASK; }

bool IsPush(DWORD type) { return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_USERBUTTON; }
bool IsRadio(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

// A button drawn over its parent's background cannot take back what it drew
// (the focus outline is inverted pixels): the parent paints under it first,
// and the button over that.
void Redraw(HWND hwnd, const ButtonState* s) {
  HWND parent = GetParent(hwnd);
  if (s && s->hollow && parent) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    InvalidateRect(parent, &rc, TRUE);
  }
  InvalidateRect(hwnd, nullptr, TRUE);
}

void SetPushed(HWND hwnd, ButtonState* s, bool pushed) {
  if (s->pushed == pushed) return;
  s->pushed = pushed;
  Redraw(hwnd, s);
}

UINT TextFormat(DWORD style, bool push) {
  UINT f = 0;
  DWORD h = style & BS_CENTER, v = style & BS_VCENTER;
  if (h == BS_CENTER || (h == 0 && push)) f |= DT_CENTER;
  else if (h == BS_RIGHT) f |= DT_RIGHT;
  if (style & BS_MULTILINE) {
    f |= DT_WORDBREAK;
  } else {
    f |= DT_SINGLELINE;
    if (v == BS_TOP) f |= DT_TOP;
    else if (v == BS_BOTTOM) f |= DT_BOTTOM;
    else f |= DT_VCENTER;
  }
  return f;
}

// Multi-line text is centred vertically by measuring it first.
void DrawLabel(HWND hwnd, HDC hdc, RECT rc, UINT format) {
  std::string text = ctl::Text(hwnd);
  SetBkMode(hdc, TRANSPARENT);
  if (!IsWindowEnabled(hwnd)) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  if (format & DT_WORDBREAK) {
    RECT calc = rc;
    DrawTextA(hdc, text.c_str(), -1, &calc, format | DT_CALCRECT);
    int h = calc.bottom - calc.top;
    DWORD v = ctl::Style(hwnd) & BS_VCENTER;
    if (v == BS_BOTTOM) rc.top = rc.bottom - h;
    else if (v != BS_TOP) rc.top += (rc.bottom - rc.top - h) / 2;
  }
  DrawTextA(hdc, text.c_str(), -1, &rc, format);
}

// The round mark of a radio button: a sunken circle, with a dot when chosen.
void DrawRadioMark(HDC hdc, const RECT& mark, bool checked, bool pushed, bool enabled) {
  HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ oldPen = SelectObject(hdc, shadow);
  HGDIOBJ oldBrush = SelectObject(hdc, GetSysColorBrush(enabled && !pushed ? COLOR_WINDOW : COLOR_BTNFACE));
  Ellipse(hdc, mark.left, mark.top, mark.right, mark.bottom);
  if (checked) {
    SelectObject(hdc, GetStockObject(NULL_PEN));
    SelectObject(hdc, GetSysColorBrush(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    Ellipse(hdc, mark.left + 4, mark.top + 4, mark.right - 3, mark.bottom - 3);
  }
  SelectObject(hdc, oldBrush);
  SelectObject(hdc, oldPen);
  DeleteObject(shadow);
}

void PaintButton(HWND hwnd, HDC hdc) {
  ButtonState* s = ctl::StateOf<ButtonState>(hwnd);
  if (!s) return;
  DWORD style = ctl::Style(hwnd), type = style & BS_TYPEMASK;
  RECT rc;
  GetClientRect(hwnd, &rc);
  if (type == BS_OWNERDRAW) {
    UINT state = 0;
    if (s->pushed) state |= ODS_SELECTED;
    if (s->focus) state |= ODS_FOCUS;
    if (!IsWindowEnabled(hwnd)) state |= ODS_DISABLED;
    DRAWITEMSTRUCT dis{ODT_BUTTON, static_cast<UINT>(GetDlgCtrlID(hwnd)), 0, ODA_DRAWENTIRE, state, hwnd, hdc, rc, 0};
    SendMessageA(ctl::NotifyTarget(hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  if (type == BS_GROUPBOX) {
    HBRUSH brush = ctl::ParentBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
    std::string text = ctl::Text(hwnd);
    SIZE ext{0, 0};
    GetTextExtentPoint32A(hdc, text.c_str(), static_cast<int>(text.size()), &ext);
    TEXTMETRICA tm{};
    GetTextMetricsA(hdc, &tm);
    RECT frame = rc;
    frame.top += tm.tmHeight / 2;
    DrawEdge(hdc, &frame, EDGE_ETCHED, BF_RECT);
    if (!text.empty()) {
      RECT label{8, 0, 8 + ext.cx + 4, tm.tmHeight};
      // The label hides the frame line behind it.
      FillRect(hdc, &label, brush && brush != GetStockObject(HOLLOW_BRUSH) ? brush : GetSysColorBrush(COLOR_3DFACE));
      OffsetRect(&label, 2, 0);
      DrawLabel(hwnd, hdc, label, DT_SINGLELINE | DT_LEFT | DT_TOP);
    }
    return;
  }
  if (IsPush(type) || (style & BS_PUSHLIKE)) {
    ctl::ParentBrush(hwnd, hdc, WM_CTLCOLORBTN);
    bool down = s->pushed || ((style & BS_PUSHLIKE) && s->check == BST_CHECKED);
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    RECT edge = rc;
    if (type == BS_DEFPUSHBUTTON) {
      FrameRect(hdc, &edge, GetSysColorBrush(COLOR_WINDOWFRAME));
      InflateRect(&edge, -1, -1);
    }
    if (down) {
      FrameRect(hdc, &edge, GetSysColorBrush(COLOR_BTNSHADOW));
    } else {
      DrawEdge(hdc, &edge, EDGE_RAISED, BF_RECT);
    }
    RECT text = rc;
    InflateRect(&text, -4, -2);
    if (down) OffsetRect(&text, 1, 1);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    DrawLabel(hwnd, hdc, text, TextFormat(style, true));
    if (s->focus) {
      RECT f = rc;
      InflateRect(&f, -4, -4);
      DrawFocusRect(hdc, &f);
    }
    return;
  }
  // Check boxes and radio buttons: a 13-pixel mark and the text beside it.
  HBRUSH brush = ctl::ParentBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
  ctl::FillUnlessHollow(hdc, rc, brush);
  s->hollow = !brush || brush == GetStockObject(HOLLOW_BRUSH);
  const int box = 13;
  bool leftText = (style & BS_LEFTTEXT) != 0;
  RECT mark{leftText ? rc.right - box : 0, (rc.bottom - box) / 2, 0, 0};
  mark.right = mark.left + box;
  mark.bottom = mark.top + box;
  bool checked = s->check == BST_CHECKED || s->check == BST_INDETERMINATE;
  bool enabled = IsWindowEnabled(hwnd) != FALSE;
  if (IsRadio(type)) {
    DrawRadioMark(hdc, mark, checked, s->pushed, enabled);
  } else {
    UINT state = DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0) | (s->pushed ? DFCS_PUSHED : 0) |
                 (enabled ? 0 : DFCS_INACTIVE);
    DrawFrameControl(hdc, &mark, DFC_BUTTON, state);
  }
  RECT text = rc;
  if (leftText)
    text.right = mark.left - 4;
  else
    text.left = mark.right + 4;
  DrawLabel(hwnd, hdc, text, TextFormat(style, false) & ~DT_CENTER);
  if (s->focus) {
    RECT calc = text;
    std::string t = ctl::Text(hwnd);
    DrawTextA(hdc, t.c_str(), -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    calc.top = (rc.bottom - (calc.bottom - calc.top)) / 2 - 1;
    calc.bottom = rc.bottom - calc.top;
    calc.left -= 1;
    calc.right += 1;
    DrawFocusRect(hdc, &calc);
  }
}

// The other automatic radio buttons of the group lose their check.
void UncheckGroup(HWND hwnd) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  for (HWND c = GetNextDlgGroupItem(parent, hwnd, FALSE); c && c != hwnd; c = GetNextDlgGroupItem(parent, c, FALSE)) {
    char cls[16];
    if (GetClassNameA(c, cls, sizeof cls) && strcasecmp(cls, WC_BUTTON) == 0 &&
        (ctl::Style(c) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
      SendMessageA(c, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

void Clicked(HWND hwnd) {
  ButtonState* s = ctl::StateOf<ButtonState>(hwnd);
  if (!s) return;
  switch (TypeOf(hwnd)) {
    case BS_AUTOCHECKBOX:
      SendMessageA(hwnd, BM_SETCHECK, s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
      break;
    case BS_AUTO3STATE:
      SendMessageA(hwnd, BM_SETCHECK, (s->check + 1) % 3, 0);
      break;
    case BS_AUTORADIOBUTTON:
      SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
      UncheckGroup(hwnd);
      break;
  }
  ctl::Notify(hwnd, BN_CLICKED);
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ButtonState* s = ctl::StateOf<ButtonState>(hwnd);
  switch (msg) {
    case WM_NCCREATE:
      ctl::MakeState<ButtonState>(hwnd);
      break;
    case WM_NCDESTROY:
      ctl::FreeState<ButtonState>(hwnd);
      break;
    case WM_NCHITTEST:
      if (TypeOf(hwnd) == BS_GROUPBOX) return HTTRANSPARENT;
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC hdc) { PaintButton(hwnd, hdc); });
      return 0;
    case WM_SETTEXT:
    case WM_ENABLE: {
      LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
      Redraw(hwnd, s);
      return r;
    }
    case WM_GETDLGCODE: {
      DWORD type = TypeOf(hwnd);
      if (type == BS_GROUPBOX) return DLGC_STATIC;
      if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (IsPush(type) || type == BS_OWNERDRAW) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      if (IsRadio(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      return DLGC_BUTTON;
    }
    case WM_SETFOCUS:
      if (s) s->focus = true;
      Redraw(hwnd, s);
      if (IsPush(TypeOf(hwnd))) PlatformDialogFocusMoved(GetParent(hwnd), hwnd);
      if (ctl::Style(hwnd) & BS_NOTIFY) ctl::Notify(hwnd, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (s) {
        s->focus = false;
        s->spaceDown = false;
        if (s->tracking) ReleaseCapture();
        SetPushed(hwnd, s, false);
      }
      Redraw(hwnd, s);
      if (IsPush(TypeOf(hwnd))) PlatformDialogFocusMoved(GetParent(hwnd), reinterpret_cast<HWND>(wParam));
      if (ctl::Style(hwnd) & BS_NOTIFY) ctl::Notify(hwnd, BN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!s || TypeOf(hwnd) == BS_GROUPBOX) return 0;
      SetFocus(hwnd);
      if (!IsWindow(hwnd)) return 0;
      s->tracking = true;
      SetCapture(hwnd);
      SetPushed(hwnd, s, true);
      if (msg == WM_LBUTTONDBLCLK && (ctl::Style(hwnd) & BS_NOTIFY)) ctl::Notify(hwnd, BN_DOUBLECLICKED);
      return 0;
    case WM_MOUSEMOVE:
      if (s && s->tracking) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        SetPushed(hwnd, s, ctl::InRect(rc, lParam));
      }
      return 0;
    case WM_LBUTTONUP:
      if (s && s->tracking) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        bool inside = ctl::InRect(rc, lParam);
        s->tracking = false;
        SetPushed(hwnd, s, false);
        ReleaseCapture();
        if (inside) Clicked(hwnd);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (s && s->tracking) {
        s->tracking = false;
        SetPushed(hwnd, s, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (s && wParam == VK_SPACE) {
        s->spaceDown = true;
        SetPushed(hwnd, s, true);
        return 0;
      }
      break;
    case WM_KEYUP:
      if (s && wParam == VK_SPACE && s->spaceDown) {
        s->spaceDown = false;
        SetPushed(hwnd, s, false);
        Clicked(hwnd);
        return 0;
      }
      break;
    case WM_CHAR:
      return 0;
    case BM_GETCHECK:
      return s && !IsPush(TypeOf(hwnd)) ? s->check : BST_UNCHECKED;
    case BM_SETCHECK: {
      DWORD type = TypeOf(hwnd);
      if (!s || IsPush(type) || type == BS_GROUPBOX) return 0;
      UINT check = static_cast<UINT>(wParam);
      if (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) check = BST_CHECKED;
      if (s->check != check) {
        s->check = check;
        Redraw(hwnd, s);
      }
      // A checked radio button is the one the dialog's Tab lands on.
      if (IsRadio(type)) {
        LONG style = GetWindowLongA(hwnd, GWL_STYLE);
        LONG want = check == BST_CHECKED ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        if (want != style) SetWindowLongA(hwnd, GWL_STYLE, want);
      }
      return 0;
    }
    case BM_GETSTATE:
      if (!s) return 0;
      return (IsPush(TypeOf(hwnd)) ? 0 : s->check) | (s->pushed ? BST_PUSHED : 0) | (s->focus ? BST_FOCUS : 0);
    case BM_SETSTATE:
      if (s) SetPushed(hwnd, s, wParam != 0);
      return 0;
    case BM_SETSTYLE: {
      LONG style = GetWindowLongA(hwnd, GWL_STYLE);
      SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>((style & ~0xFFFF) | (wParam & 0xFFFF)));
      if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case BM_CLICK:
      if (IsWindowEnabled(hwnd)) Clicked(hwnd);
      return 0;
    case BM_SETIMAGE: {
      if (!s) return 0;
      HANDLE old = s->image;
      s->image = reinterpret_cast<HANDLE>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE:
      return s ? reinterpret_cast<LRESULT>(s->image) : 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
