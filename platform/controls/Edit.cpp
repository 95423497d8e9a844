// The single-line edit control.

#include <algorithm>
#include <cctype>

#include "ControlUtil.h"

namespace {

const int kMargin = 2;

struct EditState {
  std::string text;
  int selStart = 0;  // anchor
  int selEnd = 0;    // caret
  int limit = 30000;
  bool modified = false;
  bool focus = false;
  bool tracking = false;
  char passwordChar = 0;
  int scroll = 0;  // first visible character
  std::string undo;
  bool canUndo = false;
};

int Lo(const EditState* s) { return std::min(s->selStart, s->selEnd); }
int Hi(const EditState* s) { return std::max(s->selStart, s->selEnd); }
int Len(const EditState* s) { return static_cast<int>(s->text.size()); }

std::string Shown(HWND hwnd, const EditState* s) {
  if (s->passwordChar || (ctl::Style(hwnd) & ES_PASSWORD))
    return std::string(s->text.size(), s->passwordChar ? s->passwordChar : '*');
  return s->text;
}

// Width of the first `n` characters of `text` in the control's font.
int Width(HDC hdc, const std::string& text, int from, int to) {
  if (to <= from) return 0;
  SIZE sz{0, 0};
  GetTextExtentPoint32A(hdc, text.c_str() + from, to - from, &sz);
  return sz.cx;
}

struct Measure {
  HWND hwnd;
  HDC hdc;
  HGDIOBJ old;
  explicit Measure(HWND h) : hwnd(h), hdc(GetDC(h)) { old = SelectObject(hdc, ctl::FontOf(h)); }
  ~Measure() {
    SelectObject(hdc, old);
    ReleaseDC(hwnd, hdc);
  }
};

// Where the text starts when it is not scrolled (alignment of ES_CENTER/ES_RIGHT).
int TextLeft(HWND hwnd, HDC hdc, const EditState* s, const std::string& shown) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  DWORD style = ctl::Style(hwnd);
  int w = Width(hdc, shown, 0, static_cast<int>(shown.size()));
  int room = rc.right - 2 * kMargin;
  if (s->scroll > 0 || w >= room) return kMargin;
  if (style & ES_RIGHT) return kMargin + room - w;
  if (style & ES_CENTER) return kMargin + (room - w) / 2;
  return kMargin;
}

void ScrollToCaret(HWND hwnd, EditState* s) {
  Measure m(hwnd);
  std::string shown = Shown(hwnd, s);
  RECT rc;
  GetClientRect(hwnd, &rc);
  int room = std::max(1, static_cast<int>(rc.right) - 2 * kMargin - 1);
  if (s->selEnd < s->scroll) s->scroll = s->selEnd;
  while (s->scroll < s->selEnd && Width(m.hdc, shown, s->scroll, s->selEnd) > room) ++s->scroll;
  // Nothing hidden to the left when everything fits.
  while (s->scroll > 0 && Width(m.hdc, shown, s->scroll - 1, Len(s)) <= room) --s->scroll;
  InvalidateRect(hwnd, nullptr, TRUE);
}

int CharFromX(HWND hwnd, EditState* s, int x) {
  Measure m(hwnd);
  std::string shown = Shown(hwnd, s);
  int left = TextLeft(hwnd, m.hdc, s, shown);
  int n = Len(s);
  for (int i = s->scroll; i < n; ++i) {
    int a = Width(m.hdc, shown, s->scroll, i), b = Width(m.hdc, shown, s->scroll, i + 1);
    if (x < left + (a + b) / 2) return i;
  }
  return n;
}

void SetSel(HWND hwnd, EditState* s, int start, int end) {
  int n = Len(s);
  if (start < 0) {
    start = end = s->selEnd;
  }
  if (end < 0 || end > n) end = n;
  start = std::min(std::max(start, 0), n);
  s->selStart = start;
  s->selEnd = end;
  ScrollToCaret(hwnd, s);
}

void Changed(HWND hwnd) {
  ctl::Notify(hwnd, EN_UPDATE);
  if (IsWindow(hwnd)) ctl::Notify(hwnd, EN_CHANGE);
}

// Replaces the selection with `in` as typing or pasting does: filtered by the
// style, cut to the limit. False when nothing could go in.
bool ReplaceSelection(HWND hwnd, EditState* s, std::string in, bool byUser) {
  DWORD style = ctl::Style(hwnd);
  if (byUser && (style & ES_READONLY)) return false;
  std::string filtered;
  for (char c : in) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '\r' || c == '\n') continue;  // one line only
    if (byUser && (style & ES_NUMBER) && !std::isdigit(u)) continue;
    if (style & ES_UPPERCASE) c = static_cast<char>(std::toupper(u));
    if (style & ES_LOWERCASE) c = static_cast<char>(std::tolower(u));
    filtered += c;
  }
  int lo = Lo(s), hi = Hi(s);
  int room = s->limit - (Len(s) - (hi - lo));
  if (byUser && static_cast<int>(filtered.size()) > room) {
    filtered.resize(static_cast<size_t>(std::max(room, 0)));
    ctl::Notify(hwnd, EN_MAXTEXT);
    if (!IsWindow(hwnd)) return false;
  }
  if (filtered.empty() && lo == hi) return false;
  s->undo = s->text;
  s->canUndo = true;
  s->text.replace(static_cast<size_t>(lo), static_cast<size_t>(hi - lo), filtered);
  s->selStart = s->selEnd = lo + static_cast<int>(filtered.size());
  if (byUser) s->modified = true;
  // The window's text follows, so that WM_GETTEXT callers and the class layer agree.
  DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s->text.c_str()));
  ScrollToCaret(hwnd, s);
  Changed(hwnd);
  return true;
}

bool CanCopy(HWND hwnd, EditState* s) { return Hi(s) > Lo(s) && !(ctl::Style(hwnd) & ES_PASSWORD) && !s->passwordChar; }

void Copy(HWND hwnd, EditState* s) {
  if (!CanCopy(hwnd, s)) return;
  PlatformSetClipboardText(s->text.substr(static_cast<size_t>(Lo(s)), static_cast<size_t>(Hi(s) - Lo(s))));
}

void MoveCaret(HWND hwnd, EditState* s, int to, bool extend) {
  to = std::min(std::max(to, 0), Len(s));
  if (!extend && Lo(s) != Hi(s) && (to == s->selEnd - 1 || to == s->selEnd + 1)) {
    // An arrow collapses a selection to its near end.
    to = to < s->selEnd ? Lo(s) : Hi(s);
  }
  s->selEnd = to;
  if (!extend) s->selStart = to;
  ScrollToCaret(hwnd, s);
}

void PaintEdit(HWND hwnd, HDC hdc, EditState* s) {
  DWORD style = ctl::Style(hwnd);
  RECT rc;
  GetClientRect(hwnd, &rc);
  bool readOnly = (style & ES_READONLY) || !IsWindowEnabled(hwnd);
  HBRUSH brush = ctl::ParentBrush(hwnd, hdc, readOnly ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  ctl::FillUnlessHollow(hdc, rc, brush);
  if (!IsWindowEnabled(hwnd)) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  std::string shown = Shown(hwnd, s);
  TEXTMETRICA tm{};
  GetTextMetricsA(hdc, &tm);
  int y = std::max(0, static_cast<int>((rc.bottom - tm.tmHeight) / 2));
  int x = TextLeft(hwnd, hdc, s, shown);
  SetBkMode(hdc, TRANSPARENT);
  TextOutA(hdc, x, y, shown.c_str() + s->scroll, Len(s) - s->scroll);
  bool showSel = s->focus || (style & ES_NOHIDESEL);
  int lo = std::max(Lo(s), s->scroll), hi = Hi(s);
  if (showSel && hi > lo) {
    RECT sel{x + Width(hdc, shown, s->scroll, lo), y, x + Width(hdc, shown, s->scroll, hi), y + tm.tmHeight};
    FillRect(hdc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    TextOutA(hdc, sel.left, y, shown.c_str() + lo, hi - lo);
  }
  if (s->focus) {
    // A steady caret: captures stay the same from run to run.
    int cx = x + Width(hdc, shown, s->scroll, s->selEnd);
    RECT caret{cx, y, cx + 1, y + tm.tmHeight};
    FillRect(hdc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
  }
}

}  // namespace

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  EditState* s = ctl::StateOf<EditState>(hwnd);
  if (!s && msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_NCCREATE: {
      s = ctl::MakeState<EditState>(hwnd);
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
      if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) s->text = cs->lpszName;
      if (cs->style & ES_UPPERCASE)
        for (char& c : s->text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_NCDESTROY:
      ctl::FreeState<EditState>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC hdc) { PaintEdit(hwnd, hdc, s); });
      return 0;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_SETTEXT: {
      // Setting the text is not an edit by the user: the modified flag clears.
      s->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      if (ctl::Style(hwnd) & ES_UPPERCASE)
        for (char& c : s->text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      s->selStart = s->selEnd = 0;
      s->scroll = 0;
      s->modified = false;
      s->canUndo = false;
      DefWindowProcA(hwnd, msg, wParam, reinterpret_cast<LPARAM>(s->text.c_str()));
      InvalidateRect(hwnd, nullptr, TRUE);
      Changed(hwnd);
      return TRUE;
    }
    case WM_GETTEXT:
      return ctl::CopyText(s->text, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return Len(s);
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETFOCUS:
      s->focus = true;
      InvalidateRect(hwnd, nullptr, TRUE);
      ctl::Notify(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s->focus = false;
      if (s->tracking) ReleaseCapture();
      InvalidateRect(hwnd, nullptr, TRUE);
      ctl::SetFocusGoingTo(reinterpret_cast<HWND>(wParam));
      ctl::Notify(hwnd, EN_KILLFOCUS);
      ctl::SetFocusGoingTo(nullptr);
      return 0;
    case WM_LBUTTONDOWN: {
      SetFocus(hwnd);
      if (!IsWindow(hwnd)) return 0;
      int at = CharFromX(hwnd, s, GET_X_LPARAM(lParam));
      s->selEnd = at;
      if (!(wParam & MK_SHIFT)) s->selStart = at;
      s->tracking = true;
      SetCapture(hwnd);
      ScrollToCaret(hwnd, s);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (s->tracking) {
        s->selEnd = CharFromX(hwnd, s, GET_X_LPARAM(lParam));
        ScrollToCaret(hwnd, s);
      }
      return 0;
    case WM_LBUTTONUP:
      if (s->tracking) {
        s->tracking = false;
        ReleaseCapture();
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      SetSel(hwnd, s, 0, -1);
      return 0;
    case WM_KEYDOWN: {
      bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
      switch (wParam) {
        case VK_LEFT: MoveCaret(hwnd, s, s->selEnd - 1, shift); return 0;
        case VK_RIGHT: MoveCaret(hwnd, s, s->selEnd + 1, shift); return 0;
        case VK_HOME: s->selEnd = 0; if (!shift) s->selStart = 0; ScrollToCaret(hwnd, s); return 0;
        case VK_END: s->selEnd = Len(s); if (!shift) s->selStart = Len(s); ScrollToCaret(hwnd, s); return 0;
        case VK_DELETE:
          if (shift) {
            SendMessageA(hwnd, WM_CUT, 0, 0);
          } else if (!(ctl::Style(hwnd) & ES_READONLY)) {
            if (Lo(s) == Hi(s)) s->selEnd = std::min(Len(s), s->selEnd + 1);
            ReplaceSelection(hwnd, s, std::string(), true);
          }
          return 0;
        case VK_INSERT:
          if (ctrl) SendMessageA(hwnd, WM_COPY, 0, 0);
          else if (shift) SendMessageA(hwnd, WM_PASTE, 0, 0);
          return 0;
      }
      return 0;
    }
    case WM_CHAR: {
      unsigned char c = static_cast<unsigned char>(wParam);
      switch (c) {
        case 3: SendMessageA(hwnd, WM_COPY, 0, 0); return 0;
        case 22: SendMessageA(hwnd, WM_PASTE, 0, 0); return 0;
        case 24: SendMessageA(hwnd, WM_CUT, 0, 0); return 0;
        case 26: SendMessageA(hwnd, WM_UNDO, 0, 0); return 0;
        case '\b':
          if (ctl::Style(hwnd) & ES_READONLY) return 0;
          if (Lo(s) == Hi(s)) {
            if (s->selEnd == 0) return 0;
            s->selStart = s->selEnd - 1;
          }
          ReplaceSelection(hwnd, s, std::string(), true);
          return 0;
      }
      if (c < 32 || c == 127) return 0;
      if ((ctl::Style(hwnd) & ES_NUMBER) && !std::isdigit(c)) {
        MessageBeep(0);
        return 0;
      }
      ReplaceSelection(hwnd, s, std::string(1, static_cast<char>(c)), true);
      return 0;
    }
    case WM_COPY:
      Copy(hwnd, s);
      return 0;
    case WM_CUT:
      if (!CanCopy(hwnd, s) || (ctl::Style(hwnd) & ES_READONLY)) return 0;
      Copy(hwnd, s);
      ReplaceSelection(hwnd, s, std::string(), true);
      return 0;
    case WM_CLEAR:
      if (!(ctl::Style(hwnd) & ES_READONLY)) ReplaceSelection(hwnd, s, std::string(), true);
      return 0;
    case WM_PASTE:
      if (!(ctl::Style(hwnd) & ES_READONLY) && IsClipboardFormatAvailable(CF_TEXT))
        ReplaceSelection(hwnd, s, PlatformGetClipboardText(), true);
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      if (!s->canUndo) return FALSE;
      std::swap(s->text, s->undo);
      s->selStart = 0;
      s->selEnd = Len(s);
      s->modified = true;
      DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s->text.c_str()));
      ScrollToCaret(hwnd, s);
      Changed(hwnd);
      return TRUE;
    case EM_CANUNDO:
      return s->canUndo;
    case EM_EMPTYUNDOBUFFER:
      s->canUndo = false;
      return 0;
    case EM_GETSEL: {
      DWORD lo = static_cast<DWORD>(Lo(s)), hi = static_cast<DWORD>(Hi(s));
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = lo;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = hi;
      return MAKELRESULT(std::min<DWORD>(lo, 0xFFFF), std::min<DWORD>(hi, 0xFFFF));
    }
    case EM_SETSEL:
      SetSel(hwnd, s, static_cast<int>(static_cast<INT_PTR>(wParam)), static_cast<int>(lParam));
      return 0;
    case EM_SCROLLCARET:
      ScrollToCaret(hwnd, s);
      return TRUE;
    case EM_REPLACESEL: {
      bool changed = ReplaceSelection(hwnd, s, lParam ? reinterpret_cast<LPCSTR>(lParam) : "", false);
      (void)changed;
      return 0;
    }
    case EM_GETMODIFY:
      return s->modified;
    case EM_SETMODIFY:
      s->modified = wParam != 0;
      return 0;
    case EM_LIMITTEXT:
      s->limit = wParam ? static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFE)) : 0x7FFFFFFE;
      return 0;
    case EM_GETLIMITTEXT:
      return s->limit;
    case EM_SETREADONLY: {
      LONG style = GetWindowLongA(hwnd, GWL_STYLE);
      SetWindowLongA(hwnd, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~ES_READONLY));
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case EM_SETPASSWORDCHAR:
      s->passwordChar = static_cast<char>(wParam);
      {
        LONG style = GetWindowLongA(hwnd, GWL_STYLE);
        SetWindowLongA(hwnd, GWL_STYLE, wParam ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD));
      }
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case EM_GETPASSWORDCHAR:
      return s->passwordChar ? s->passwordChar : ((ctl::Style(hwnd) & ES_PASSWORD) ? '*' : 0);
    case EM_GETLINECOUNT:
      return 1;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
