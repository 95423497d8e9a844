// The dialog manager on top of the window manager.

#include "Dialog.h"

#include <strings.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <mutex>
#include <vector>

#include "Controls.h"
#include "UiPlatform.h"

namespace {

// Layout never depends on the installed fonts: the classic 8-point dialog
// font's base units, fixed.
const int kBaseX = 6;
const int kBaseY = 13;

struct DialogInfo {
  DLGPROC proc = nullptr;
  bool ended = false;
  INT_PTR result = 0;
  HWND savedFocus = nullptr;
  bool initFocus = false;  // WM_INITDIALOG left the focus to the dialog manager
  int defId = 0;  // 0: the BS_DEFPUSHBUTTON of the template, if any
  HFONT font = nullptr;
};

// A dialog's state, in the window record's slot for the platform's data.
struct DialogPart : PlatformWindowPart {
  static constexpr const char* kKind = "dialog";
  DialogInfo info;
};

std::mutex& InfoLock() {
  static auto* m = new std::mutex;
  return *m;
}

// A copy, so that no lock is held while the dialog procedure runs.
bool InfoOf(HWND hwnd, DialogInfo* out) {
  DialogPart* part = PlatformPartOf<DialogPart>(hwnd, false);
  if (!part) return false;
  std::lock_guard<std::mutex> g(InfoLock());
  *out = part->info;
  return true;
}

template <typename F>
void UpdateInfo(HWND hwnd, F change) {
  DialogPart* part = PlatformPartOf<DialogPart>(hwnd);
  if (!part) return;
  std::lock_guard<std::mutex> g(InfoLock());
  change(part->info);
}

int Scale(int v, int mul, int div) { return static_cast<int>((static_cast<long long>(v) * mul + (v >= 0 ? div / 2 : -div / 2)) / div); }

void RegisterDialogClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = DefDlgProcA;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = DIALOG_CLASS_NAME;
    RegisterClassA(&wc);
  });
  PlatformRegisterControls();
}

bool IsDialogChild(HWND dialog, HWND hwnd) { return hwnd && hwnd != dialog && IsChild(dialog, hwnd); }

LRESULT DlgCode(HWND hwnd, MSG* msg = nullptr) {
  return SendMessageA(hwnd, WM_GETDLGCODE, msg ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}

// The direct children of the dialog in tab order; controls of a child dialog
// with WS_EX_CONTROLPARENT take part as if they were the dialog's own.
void TabOrder(HWND parent, std::vector<HWND>* out) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    LONG ex = GetWindowLongA(c, GWL_EXSTYLE);
    if ((ex & WS_EX_CONTROLPARENT) && IsWindowVisible(c) && IsWindowEnabled(c))
      TabOrder(c, out);
    else
      out->push_back(c);
  }
}

bool CanTakeFocus(HWND c) {
  LONG style = GetWindowLongA(c, GWL_STYLE);
  return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

// Gives `ctl` the focus as keyboard navigation does: an edit gets all its text selected.
void FocusControl(HWND dialog, HWND ctl) {
  if (!ctl) return;
  if (DlgCode(ctl) & DLGC_HASSETSEL) SendMessageA(ctl, EM_SETSEL, 0, -1);
  SetFocus(ctl);
  UpdateInfo(dialog, [&](DialogInfo& i) { i.savedFocus = ctl; });
}

HWND FirstFocus(HWND dialog) {
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  return first;
}

void RestoreFocus(HWND dialog) {
  DialogInfo info;
  if (!InfoOf(dialog, &info)) return;
  HWND target = info.savedFocus;
  if (!target || !IsDialogChild(dialog, target) || !CanTakeFocus(target)) target = FirstFocus(dialog);
  if (target) FocusControl(dialog, target);
}

HWND DefaultButton(HWND dialog) {
  std::vector<HWND> all;
  TabOrder(dialog, &all);
  for (HWND c : all) {
    char cls[32];
    if (GetClassNameA(c, cls, sizeof cls) && strcmp(cls, WC_BUTTON) == 0 &&
        (GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      return c;
  }
  return nullptr;
}

// BM_SETSTYLE takes the whole low word; the button keeps its other bits.
void SetButtonType(HWND button, DWORD type) {
  DWORD style = static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE));
  SendMessageA(button, BM_SETSTYLE, (style & 0xFFFF & ~BS_TYPEMASK) | type, TRUE);
}

HFONT DialogFont(const DialogTemplate* tpl) {
  if (tpl->fontFace.empty()) return nullptr;
  int height = -Scale(tpl->pointSize > 0 ? tpl->pointSize : 8, 96, 72);
  return CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                     tpl->fontFace.c_str());
}

bool SpecialResult(UINT msg) {
  return msg == WM_INITDIALOG || msg == WM_COMPAREITEM || msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM ||
         msg == WM_QUERYDRAGICON || (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC);
}

void ClickControl(HWND dialog, int id) {
  HWND ctl = GetDlgItem(dialog, id);
  if (ctl && !IsWindowEnabled(ctl)) return;
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(ctl));
}

// The innermost dialog between `hwnd` and `dialog` (child dialogs nest in
// their parents' tab order): Enter and Escape are its to answer.
HWND InnermostDialog(HWND dialog, HWND hwnd) {
  for (HWND w = hwnd; w && w != dialog; w = GetParent(w)) {
    DialogInfo info;
    if (InfoOf(w, &info)) return w;
    if (!(GetWindowLongA(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return dialog;
}

// Whether `dialog` is a shown, enabled child dialog with a control to focus.
bool CanHoldTheFocus(HWND dialog) {
  DialogInfo info;
  return (GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsWindowVisible(dialog) &&
         IsWindowEnabled(dialog) && InfoOf(dialog, &info) && (info.initFocus || info.savedFocus) &&
         FirstFocus(dialog);
}

// A frame that comes up with its page inside: the page is what the user
// works in, so the focus goes to the innermost shown child dialog under
// `dialog` that can hold it, or to `dialog` itself.
HWND InnermostFocusDialog(HWND dialog) {
  for (HWND target = dialog;;) {
    HWND inner = nullptr;
    for (HWND c = GetWindow(target, GW_CHILD); c && !inner; c = GetWindow(c, GW_HWNDNEXT))
      if (CanHoldTheFocus(c)) inner = c;
    if (!inner) return target;
    target = inner;
  }
}

// A page coming up in the active window takes the focus to its control (the
// one it had, or its first tab stop), so that typing goes there.
void FocusShownPage(HWND page) {
  HWND top = GetAncestor(page, GA_ROOT);
  DialogInfo info;
  if ((GetWindowLongA(page, GWL_STYLE) & WS_CHILD) && IsWindow(page) && IsWindowVisible(page) &&
      IsWindowEnabled(page) && IsWindowEnabled(top) && top == GetActiveWindow() && !IsDialogChild(page, GetFocus()) &&
      InfoOf(page, &info) && (info.initFocus || info.savedFocus))
    RestoreFocus(InnermostFocusDialog(page));
}

// The character after the single '&' of a control's text, 0 for none.
char MnemonicOf(HWND ctl) {
  char text[256] = {0};
  GetWindowTextA(ctl, text, sizeof text);
  for (const char* p = text; *p; ++p) {
    if (*p != '&') continue;
    if (p[1] == '&') {
      ++p;
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(p[1])));
  }
  return 0;
}

// Alt+letter, or a letter where the focus takes no characters: the control
// whose text underlines it is pressed (a button) or the control after it gets
// the focus (a label). False when no control has the letter.
bool HandleMnemonic(HWND dialog, char ch) {
  ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (!ch) return false;
  std::vector<HWND> all;
  TabOrder(dialog, &all);
  HWND focus = GetFocus();
  size_t n = all.size(), start = 0;
  for (size_t i = 0; i < n; ++i)
    if (all[i] == focus) start = i + 1;
  for (size_t k = 0; k < n; ++k) {
    size_t i = (start + k) % n;
    HWND c = all[i];
    if (!(GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE) || MnemonicOf(c) != ch) continue;
    LRESULT code = DlgCode(c);
    if (code & DLGC_STATIC) {
      // A label names the control that follows it.
      for (size_t j = 1; j < n; ++j) {
        HWND next = all[(i + j) % n];
        if (CanTakeFocus(next) && !(DlgCode(next) & DLGC_STATIC)) {
          FocusControl(dialog, next);
          break;
        }
      }
      return true;
    }
    if (!CanTakeFocus(c)) continue;
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
      SendMessageA(c, BM_CLICK, 0, 0);
    } else if (code & (DLGC_BUTTON | DLGC_RADIOBUTTON)) {
      FocusControl(dialog, c);
      SendMessageA(c, BM_CLICK, 0, 0);
    } else {
      FocusControl(dialog, c);
    }
    return true;
  }
  return false;
}

}  // namespace

// ---------------------------------------------------------------- dialog units

LONG GetDialogBaseUnits() { return MAKELONG(kBaseX, kBaseY); }

BOOL MapDialogRect(HWND, LPRECT rc) {
  if (!rc) return FALSE;
  rc->left = Scale(rc->left, kBaseX, 4);
  rc->right = Scale(rc->right, kBaseX, 4);
  rc->top = Scale(rc->top, kBaseY, 8);
  rc->bottom = Scale(rc->bottom, kBaseY, 8);
  return TRUE;
}

// ---------------------------------------------------------------- creation

LPCSTR PlatformDialogClass(LPCDLGTEMPLATE tpl) {
  RegisterDialogClass();
  return tpl && !tpl->className.empty() ? tpl->className.c_str() : DIALOG_CLASS_NAME;
}

RECT PlatformDialogWindowRect(LPCDLGTEMPLATE tpl, HWND parent) {
  RECT rc{tpl->x, tpl->y, tpl->x + tpl->cx, tpl->y + tpl->cy};
  MapDialogRect(nullptr, &rc);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  RECT frame{0, 0, w, h};
  AdjustWindowRectEx(&frame, tpl->style, FALSE, tpl->exStyle);
  int fw = frame.right - frame.left, fh = frame.bottom - frame.top;
  POINT at{rc.left, rc.top};
  if (!(tpl->style & WS_CHILD)) {
    if (tpl->style & DS_CENTER) {
      RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      if (parent) GetWindowRect(GetAncestor(parent, GA_ROOT), &area);
      at.x = area.left + (area.right - area.left - fw) / 2;
      at.y = area.top + (area.bottom - area.top - fh) / 2;
    } else if (parent && !(tpl->style & DS_ABSALIGN)) {
      ClientToScreen(GetAncestor(parent, GA_ROOT), &at);
    }
  }
  return RECT{at.x, at.y, at.x + fw, at.y + fh};
}

BOOL PlatformFillDialog(HWND dialog, LPCDLGTEMPLATE tpl, DLGPROC proc, LPARAM init) {
  if (!IsWindow(dialog) || !tpl) return FALSE;
  RegisterDialogClass();
  HFONT font = DialogFont(tpl);
  UpdateInfo(dialog, [&](DialogInfo& i) {
    i.proc = proc;
    i.font = font;
  });
  SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  if (font) SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
  for (const DialogItemTemplate& item : tpl->items) {
    RECT rc{item.x, item.y, item.x + item.cx, item.y + item.cy};
    MapDialogRect(dialog, &rc);
    // Bordered controls get the sunken edge of the three-dimensional look.
    DWORD style = (item.style | WS_CHILD) & ~WS_POPUP;
    DWORD exStyle = item.exStyle | WS_EX_NOPARENTNOTIFY;
    if (style & WS_BORDER) {
      style &= ~WS_BORDER;
      exStyle |= WS_EX_CLIENTEDGE;
    }
    HWND ctl = CreateWindowExA(exStyle, item.className.c_str(), item.text.c_str(), style, rc.left, rc.top, rc.right - rc.left,
                               rc.bottom - rc.top, dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance, nullptr);
    if (!IsWindow(dialog)) return FALSE;
    if (!ctl) {
      std::fprintf(stderr, "dialog: cannot create control %d of class \"%s\"\n", item.id, item.className.c_str());
      return FALSE;
    }
    if (font) SendMessageA(ctl, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    bool combo = strcasecmp(item.className.c_str(), WC_COMBOBOX) == 0;
    for (const std::string& s : item.items)
      SendMessageA(ctl, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  }
  // The template's default button stays the default while the look wanders.
  if (HWND def = DefaultButton(dialog)) {
    int id = GetDlgCtrlID(def);
    UpdateInfo(dialog, [&](DialogInfo& i) { if (!i.defId) i.defId = id; });
  }
  HWND first = FirstFocus(dialog);
  LRESULT setFocus = SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), init);
  if (!IsWindow(dialog)) return FALSE;
  // TRUE from WM_INITDIALOG: the first tab stop gets the focus, now if the
  // dialog is up and otherwise once it is activated.
  if (setFocus) UpdateInfo(dialog, [&](DialogInfo& i) { i.initFocus = true; });
  if (setFocus && first && IsWindow(first)) {
    UpdateInfo(dialog, [&](DialogInfo& i) { i.savedFocus = first; });
    if (IsWindowVisible(dialog)) FocusControl(dialog, first);
  }
  return TRUE;
}

void PlatformDialogFocusMoved(HWND dialog, HWND focus) {
  DialogInfo info;
  if (!InfoOf(dialog, &info)) return;
  auto isPush = [&](HWND w) {
    return w && IsDialogChild(dialog, w) && (DlgCode(w) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
  };
  HWND look = isPush(focus) ? focus : info.defId ? GetDlgItem(dialog, info.defId) : nullptr;
  std::vector<HWND> all;
  TabOrder(dialog, &all);
  for (HWND c : all)
    if (c != look && (DlgCode(c) & DLGC_DEFPUSHBUTTON)) SetButtonType(c, BS_PUSHBUTTON);
  if (look && (DlgCode(look) & DLGC_UNDEFPUSHBUTTON)) SetButtonType(look, BS_DEFPUSHBUTTON);
}

HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATE tpl, HWND parent, DLGPROC proc, LPARAM init) {
  if (!tpl) {
    SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
    return nullptr;
  }
  RECT rc = PlatformDialogWindowRect(tpl, parent);
  HWND owner = parent;
  if (parent && !(tpl->style & WS_CHILD)) owner = GetAncestor(parent, GA_ROOT);
  // A dialog that is a control of another takes part in its parent's tab order.
  DWORD exStyle = tpl->exStyle | ((tpl->style & DS_CONTROL) ? WS_EX_CONTROLPARENT : 0);
  HWND hwnd = CreateWindowExA(exStyle, PlatformDialogClass(tpl), tpl->caption.c_str(), tpl->style & ~WS_VISIBLE,
                              rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, owner, nullptr, instance,
                              nullptr);
  if (!hwnd) return nullptr;
  if (!PlatformFillDialog(hwnd, tpl, proc, init)) {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    return nullptr;
  }
  if (tpl->style & WS_VISIBLE) {
    ShowWindow(hwnd, SW_SHOWNORMAL);
    if (IsWindow(hwnd)) UpdateWindow(hwnd);
  }
  return IsWindow(hwnd) ? hwnd : nullptr;
}

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc, LPARAM init) {
  return CreateDialogIndirectParamA(instance, PlatformFindDialog(name), parent, proc, init);
}

INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATE tpl, HWND parent, DLGPROC proc, LPARAM init) {
  if (!tpl) {
    SetLastError(1814);
    return -1;
  }
  DialogTemplate hidden = *tpl;
  hidden.style &= ~WS_VISIBLE;
  HWND owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
  HWND hwnd = CreateDialogIndirectParamA(instance, &hidden, owner, proc, init);
  if (!hwnd) return -1;
  // The owner takes no input while the dialog runs, and only then.
  bool disabled = owner && IsWindowEnabled(owner);
  if (disabled) EnableWindow(owner, FALSE);
  INT_PTR result = 0;
  if (!PlatformDialogEnded(hwnd, &result)) {
    ShowWindow(hwnd, SW_SHOWNORMAL);
    PlatformRunModalLoop(
        hwnd, [&] { return !IsWindow(hwnd) || PlatformDialogEnded(hwnd, nullptr); },
        [&](MSG* msg) { return IsDialogMessageA(hwnd, msg) != FALSE; });
  }
  PlatformDialogEnded(hwnd, &result);
  if (disabled && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (IsWindow(hwnd)) DestroyWindow(hwnd);
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  return result;
}

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc, LPARAM init) {
  return DialogBoxIndirectParamA(instance, PlatformFindDialog(name), parent, proc, init);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  if (!IsWindow(dialog)) return FALSE;
  UpdateInfo(dialog, [&](DialogInfo& i) {
    i.ended = true;
    i.result = result;
  });
  // Wakes the modal loop, which checks after each message.
  PostMessageA(dialog, WM_NULL, 0, 0);
  return TRUE;
}

BOOL PlatformDialogEnded(HWND dialog, INT_PTR* result) {
  DialogInfo info;
  if (!InfoOf(dialog, &info) || !info.ended) return FALSE;
  if (result) *result = info.result;
  return TRUE;
}

// ---------------------------------------------------------------- the dialog procedure

LRESULT DefDlgProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  DialogInfo info;
  InfoOf(hwnd, &info);
  if (info.proc && msg != WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 0);
    INT_PTR r = info.proc(hwnd, msg, wParam, lParam);
    if (r || msg == WM_INITDIALOG) {
      if (SpecialResult(msg)) return r;
      return IsWindow(hwnd) ? GetWindowLongPtrA(hwnd, DWLP_MSGRESULT) : 0;
    }
    if (!IsWindow(hwnd)) return 0;
  }
  switch (msg) {
    case WM_ERASEBKGND: {
      HDC hdc = reinterpret_cast<HDC>(wParam);
      auto brush = reinterpret_cast<HBRUSH>(SendMessageA(hwnd, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hwnd)));
      if (brush && brush != GetStockObject(HOLLOW_BRUSH)) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(hdc, &rc, brush);
      }
      return 1;
    }
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(hwnd, IDCANCEL);
      if (cancel && !IsWindowEnabled(cancel)) {
        MessageBeep(0);
        return 0;
      }
      PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        RestoreFocus(hwnd);
      } else {
        HWND focus = GetFocus();
        if (IsDialogChild(hwnd, focus)) UpdateInfo(hwnd, [&](DialogInfo& i) { i.savedFocus = focus; });
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus(hwnd);
      return 0;
    case WM_KILLFOCUS:
      return 0;
    case WM_SHOWWINDOW:
      if (!wParam) {
        HWND focus = GetFocus();
        if (IsDialogChild(hwnd, focus)) UpdateInfo(hwnd, [&](DialogInfo& i) { i.savedFocus = focus; });
      }
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_WINDOWPOSCHANGED: {
      LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      if (wp && (wp->flags & SWP_SHOWWINDOW)) FocusShownPage(hwnd);
      return r;
    }
    case DM_GETDEFID: {
      int id = info.defId;
      if (!id) {
        HWND def = DefaultButton(hwnd);
        id = def ? GetDlgCtrlID(def) : 0;
      }
      return id ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID: {
      HWND oldDef = DefaultButton(hwnd);
      if (oldDef) SetButtonType(oldDef, BS_PUSHBUTTON);
      int id = static_cast<int>(wParam);
      UpdateInfo(hwnd, [&](DialogInfo& i) { i.defId = id; });
      HWND newDef = GetDlgItem(hwnd, id);
      if (newDef && (DlgCode(newDef) & DLGC_UNDEFPUSHBUTTON)) SetButtonType(newDef, BS_DEFPUSHBUTTON);
      return TRUE;
    }
    case WM_NEXTDLGCTL: {
      HWND target;
      if (LOWORD(lParam))
        target = reinterpret_cast<HWND>(wParam);
      else
        target = GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0);
      if (target && IsDialogChild(hwnd, target)) FocusControl(hwnd, target);
      return 0;
    }
    case WM_NCDESTROY: {
      // The record's part goes with the window; the font is the dialog's to free.
      DialogInfo gone;
      HFONT font = InfoOf(hwnd, &gone) ? gone.font : nullptr;
      LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
      if (font) DeleteObject(font);
      return r;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// ---------------------------------------------------------------- keyboard navigation

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> all;
  TabOrder(dialog, &all);
  if (all.empty()) return nullptr;
  int n = static_cast<int>(all.size());
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (all[static_cast<size_t>(i)] == control) start = i;
  int step = previous ? -1 : 1;
  if (start < 0) start = previous ? 0 : n - 1;
  for (int k = 1; k <= n; ++k) {
    HWND c = all[static_cast<size_t>(((start + step * k) % n + n) % n)];
    if (CanTakeFocus(c) && (GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP)) return c;
  }
  return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> all;
  TabOrder(dialog, &all);
  int n = static_cast<int>(all.size());
  int at = -1;
  for (int i = 0; i < n; ++i)
    if (all[static_cast<size_t>(i)] == control) at = i;
  if (at < 0) return nullptr;
  // The group: from the last WS_GROUP at or before the control to the next WS_GROUP.
  int first = at;
  while (first > 0 && !(GetWindowLongA(all[static_cast<size_t>(first)], GWL_STYLE) & WS_GROUP)) --first;
  int last = at;
  while (last + 1 < n && !(GetWindowLongA(all[static_cast<size_t>(last + 1)], GWL_STYLE) & WS_GROUP)) ++last;
  int size = last - first + 1;
  for (int k = 1; k < size; ++k) {
    int i = first + (((at - first) + (previous ? -k : k)) % size + size) % size;
    if (CanTakeFocus(all[static_cast<size_t>(i)])) return all[static_cast<size_t>(i)];
  }
  return control;
}

BOOL IsDialogMessageA(HWND dialog, LPMSG msg) {
  if (!msg || !IsWindow(dialog) || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))) return FALSE;
  if (msg->message == WM_KEYDOWN) {
    LRESULT code = DlgCode(msg->hwnd, msg);
    if (!(code & DLGC_WANTMESSAGE)) {
      HWND focus = GetFocus();
      switch (msg->wParam) {
        case VK_TAB:
          if (code & DLGC_WANTTAB) break;
          if (HWND next = GetNextDlgTabItem(dialog, focus, GetKeyState(VK_SHIFT) < 0)) FocusControl(dialog, next);
          return TRUE;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
          if (code & DLGC_WANTARROWS) break;
          bool back = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
          HWND next = IsDialogChild(dialog, focus) ? GetNextDlgGroupItem(dialog, focus, back) : nullptr;
          if (next && next != focus) {
            FocusControl(dialog, next);
            // Moving onto an automatic radio button chooses it.
            if ((DlgCode(next) & DLGC_RADIOBUTTON) &&
                (GetWindowLongA(next, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
              SendMessageA(next, BM_CLICK, 0, 0);
          }
          return TRUE;
        }
        case VK_RETURN: {
          if (code & DLGC_WANTALLKEYS) break;
          // The dialog nearest the focus answers, never one above it.
          HWND inner = InnermostDialog(dialog, msg->hwnd);
          int id;
          if (IsDialogChild(inner, focus) && (DlgCode(focus) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
            id = GetDlgCtrlID(focus);
          } else {
            LRESULT def = SendMessageA(inner, DM_GETDEFID, 0, 0);
            id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
          }
          ClickControl(inner, id);
          return TRUE;
        }
        case VK_ESCAPE:
          if (code & DLGC_WANTALLKEYS) break;
          ClickControl(InnermostDialog(dialog, msg->hwnd), IDCANCEL);
          return TRUE;
      }
    }
  }
  if (msg->message == WM_SYSCHAR && HandleMnemonic(dialog, static_cast<char>(msg->wParam))) return TRUE;
  if (msg->message == WM_CHAR && msg->wParam > ' ' && GetKeyState(VK_CONTROL) >= 0 &&
      !(DlgCode(msg->hwnd, msg) & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) &&
      HandleMnemonic(dialog, static_cast<char>(msg->wParam)))
    return TRUE;
  TranslateMessage(msg);
  DispatchMessageA(msg);
  return TRUE;
}

// ---------------------------------------------------------------- item helpers

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND b = GetDlgItem(dialog, id);
  if (!b) return FALSE;
  SendMessageA(b, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND b = GetDlgItem(dialog, id);
  return b ? static_cast<UINT>(SendMessageA(b, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
  for (int id = first; id <= last; ++id) CheckDlgButton(dialog, id, id == check ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND c = GetDlgItem(dialog, id);
  return c ? SetWindowTextA(c, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int size) {
  HWND c = GetDlgItem(dialog, id);
  if (!c) {
    if (text && size > 0) text[0] = 0;
    return 0;
  }
  return static_cast<UINT>(GetWindowTextA(c, text, size));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char text[16];
  if (isSigned)
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  else
    std::snprintf(text, sizeof text, "%u", value);
  return SetDlgItemTextA(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  char text[64];
  if (translated) *translated = FALSE;
  GetDlgItemTextA(dialog, id, text, sizeof text);
  const char* p = text;
  while (*p == ' ') ++p;
  if (!*p || (!isSigned && *p == '-')) return 0;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(p, &end, 10);
  while (end && *end == ' ') ++end;
  if (!end || *end || errno) return 0;
  if (isSigned ? (v < INT32_MIN || v > INT32_MAX) : (v < 0 || v > UINT32_MAX)) return 0;
  if (translated) *translated = TRUE;
  return static_cast<UINT>(v);
}
