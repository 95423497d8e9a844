// The IP address control: four fields of 0 to 255, each of which may be blank.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "ControlUtil.h"

namespace {

struct IpState {
  int value[4] = {-1, -1, -1, -1};  // -1: blank
  int low[4] = {0, 0, 0, 0};
  int high[4] = {255, 255, 255, 255};
  int field = 0;
  bool focus = false;
};

int Filled(const IpState* s) {
  return static_cast<int>(std::count_if(std::begin(s->value), std::end(s->value), [](int v) { return v >= 0; }));
}

// The window text: blank fields read as 0, as the control's text always has four parts.
std::string Dotted(const IpState* s) {
  char text[48];  // room for any four ints
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", std::max(0, s->value[0]), std::max(0, s->value[1]),
                std::max(0, s->value[2]), std::max(0, s->value[3]));
  return text;
}

void Parse(IpState* s, const char* text) {
  for (int& v : s->value) v = -1;
  if (!text) return;
  const char* p = text;
  for (int f = 0; f < 4 && *p; ++f) {
    while (*p == ' ') ++p;
    int v = -1;
    int digits = 0;
    while (std::isdigit(static_cast<unsigned char>(*p)) && digits < 4) {
      v = (v < 0 ? 0 : v * 10) + (*p - '0');
      ++p;
      ++digits;
    }
    while (*p && *p != '.') ++p;
    if (v >= 0) s->value[f] = std::min(v, 255);
    if (*p == '.') ++p;
  }
}

void FieldChanged(HWND hwnd, IpState* s, int field) {
  NMIPADDRESS nm{{hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), IPN_FIELDCHANGED}, field, s->value[field]};
  SendMessageA(ctl::NotifyTarget(hwnd), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

void Changed(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, TRUE);
  ctl::Notify(hwnd, EN_CHANGE);
}

int FieldWidth(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return std::max<int>(1, rc.right / 4);
}

void Leave(HWND hwnd, IpState* s, int to) {
  int from = s->field;
  to = std::max(0, std::min(to, 3));
  if (to == from) return;
  // A value outside the field's range is pulled into it when the field is left.
  if (s->value[from] >= 0) s->value[from] = std::max(s->low[from], std::min(s->value[from], s->high[from]));
  s->field = to;
  InvalidateRect(hwnd, nullptr, TRUE);
  FieldChanged(hwnd, s, from);
}

void PaintIp(HWND hwnd, HDC hdc, IpState* s) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  bool enabled = IsWindowEnabled(hwnd) != FALSE;
  HBRUSH brush = ctl::ParentBrush(hwnd, hdc, enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
  ctl::FillUnlessHollow(hdc, rc, brush);
  if (!enabled) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  SetBkMode(hdc, TRANSPARENT);
  int w = FieldWidth(hwnd);
  for (int f = 0; f < 4; ++f) {
    RECT field{f * w, 0, (f + 1) * w, rc.bottom};
    if (s->value[f] >= 0) {
      std::string t = std::to_string(s->value[f]);
      DrawTextA(hdc, t.c_str(), -1, &field, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
      if (s->focus && f == s->field) {
        SIZE ext{0, 0};
        GetTextExtentPoint32A(hdc, t.c_str(), static_cast<int>(t.size()), &ext);
        int x = field.left + (w + ext.cx) / 2;
        RECT caret{x, (rc.bottom - ext.cy) / 2, x + 1, (rc.bottom + ext.cy) / 2};
        FillRect(hdc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
      }
    } else if (s->focus && f == s->field) {
      int x = field.left + w / 2;
      RECT caret{x, rc.bottom / 4, x + 1, rc.bottom * 3 / 4};
      FillRect(hdc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
    }
    if (f < 3) {
      RECT dot{field.right - 3, 0, field.right + 3, rc.bottom};
      DrawTextA(hdc, ".", 1, &dot, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
  }
}

}  // namespace

LRESULT CALLBACK IpAddressProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  IpState* s = ctl::StateOf<IpState>(hwnd);
  if (!s && msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_NCCREATE: {
      s = ctl::MakeState<IpState>(hwnd);
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
      if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName) && *cs->lpszName) Parse(s, cs->lpszName);
      return TRUE;
    }
    case WM_NCDESTROY:
      ctl::FreeState<IpState>(hwnd);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC hdc) { PaintIp(hwnd, hdc, s); });
      return 0;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_SETFOCUS:
      s->focus = true;
      InvalidateRect(hwnd, nullptr, TRUE);
      ctl::Notify(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s->focus = false;
      InvalidateRect(hwnd, nullptr, TRUE);
      ctl::Notify(hwnd, EN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      if (!IsWindow(hwnd)) return 0;
      Leave(hwnd, s, GET_X_LPARAM(lParam) / FieldWidth(hwnd));
      return 0;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_LEFT: Leave(hwnd, s, s->field - 1); break;
        case VK_RIGHT: Leave(hwnd, s, s->field + 1); break;
        case VK_HOME: Leave(hwnd, s, 0); break;
        case VK_END: Leave(hwnd, s, 3); break;
        case VK_DELETE:
          if (s->value[s->field] >= 0) {
            s->value[s->field] = -1;
            Changed(hwnd);
          }
          break;
      }
      return 0;
    case WM_CHAR: {
      char c = static_cast<char>(wParam);
      int& v = s->value[s->field];
      if (std::isdigit(static_cast<unsigned char>(c))) {
        int digits = v < 0 ? 0 : v >= 100 ? 3 : v >= 10 ? 2 : 1;
        if (digits == 3 || (v == 0 && digits == 1)) {
          if (s->field == 3) {
            MessageBeep(0);
            return 0;
          }
          Leave(hwnd, s, s->field + 1);
          if (!IsWindow(hwnd)) return 0;
          s->value[s->field] = -1;
        }
        int& cur = s->value[s->field];
        int next = (cur < 0 ? 0 : cur * 10) + (c - '0');
        if (next > 255) {
          MessageBeep(0);
          next = 255;
        }
        cur = next;
        Changed(hwnd);
        if (IsWindow(hwnd) && cur >= 100 && s->field < 3) Leave(hwnd, s, s->field + 1);
        return 0;
      }
      if ((c == '.' || c == ' ') && v >= 0) {
        Leave(hwnd, s, s->field + 1);
        return 0;
      }
      if (c == '\b') {
        if (v >= 0) {
          v = v >= 10 ? v / 10 : -1;
          Changed(hwnd);
        } else if (s->field > 0) {
          Leave(hwnd, s, s->field - 1);
        }
      }
      return 0;
    }
    case WM_SETTEXT:
      Parse(s, reinterpret_cast<LPCSTR>(lParam));
      DefWindowProcA(hwnd, msg, wParam, lParam);
      Changed(hwnd);
      return TRUE;
    case WM_GETTEXT:
      return ctl::CopyText(Dotted(s), wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(Dotted(s).size());
    case IPM_CLEARADDRESS:
      for (int& v : s->value) v = -1;
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case IPM_SETADDRESS: {
      DWORD a = static_cast<DWORD>(lParam);
      s->value[0] = static_cast<int>(FIRST_IPADDRESS(a));
      s->value[1] = static_cast<int>(SECOND_IPADDRESS(a));
      s->value[2] = static_cast<int>(THIRD_IPADDRESS(a));
      s->value[3] = static_cast<int>(FOURTH_IPADDRESS(a));
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case IPM_GETADDRESS: {
      DWORD a = MAKEIPADDRESS(std::max(0, s->value[0]), std::max(0, s->value[1]), std::max(0, s->value[2]),
                              std::max(0, s->value[3]));
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = a;
      return Filled(s);
    }
    case IPM_ISBLANK:
      return Filled(s) == 0;
    case IPM_SETRANGE:
      if (wParam > 3) return FALSE;
      s->low[wParam] = LOBYTE(LOWORD(lParam));
      s->high[wParam] = HIBYTE(LOWORD(lParam));
      return TRUE;
    case IPM_SETFOCUS:
      SetFocus(hwnd);
      if (IsWindow(hwnd)) Leave(hwnd, s, static_cast<int>(std::min<WPARAM>(wParam, 3)));
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
