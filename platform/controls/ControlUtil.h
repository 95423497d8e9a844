// What the control procedures share: their state behind the window, the
// parent they notify, colours from that parent, and the paint cycle.
#pragma once

#include <string>

#include "Controls.h"
#include "UiPlatform.h"

namespace ctl {

// Each control keeps its state object in its first window-extra slot.
const int kExtraBytes = sizeof(void*);

template <typename State>
State* StateOf(HWND hwnd) {
  return reinterpret_cast<State*>(GetWindowLongPtrA(hwnd, 0));
}
template <typename State>
State* MakeState(HWND hwnd) {
  auto* s = new State;
  SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(s));
  return s;
}
template <typename State>
void FreeState(HWND hwnd) {
  delete StateOf<State>(hwnd);
  SetWindowLongPtrA(hwnd, 0, 0);
}

void RegisterControlClass(const char* name, WNDPROC proc, HCURSOR cursor, UINT style = CS_DBLCLKS);

// Controls notify the parent they were created with, even after SetParent.
HWND NotifyTarget(HWND hwnd);
void Notify(HWND hwnd, UINT code);
// Asks the parent for the brush and colours of `msg` (a WM_CTLCOLOR*); null
// or the hollow brush means no fill.
HBRUSH ParentBrush(HWND hwnd, HDC hdc, UINT msg);
void FillUnlessHollow(HDC hdc, const RECT& rc, HBRUSH brush);

DWORD Style(HWND hwnd);
// WM_GETTEXT's answer: `text` into the caller's buffer of `size` bytes.
LRESULT CopyText(const std::string& text, WPARAM size, LPARAM buffer);
std::string Text(HWND hwnd);
HFONT FontOf(HWND hwnd);
int LineHeight(HWND hwnd);

// Calls paint(hdc) for WM_PAINT (and WM_PRINTCLIENT), into the DC in wParam
// when there is one, with the control's font selected.
template <typename Paint>
void PaintCycle(HWND hwnd, WPARAM wParam, Paint paint) {
  HDC given = reinterpret_cast<HDC>(wParam);
  PAINTSTRUCT ps;
  HDC hdc = given ? given : BeginPaint(hwnd, &ps);
  if (!hdc) return;
  int saved = SaveDC(hdc);
  SelectObject(hdc, FontOf(hwnd));
  paint(hdc);
  RestoreDC(hdc, saved);
  if (!given) EndPaint(hwnd, &ps);
}

bool InRect(const RECT& rc, LPARAM lParam);
POINT PointOf(LPARAM lParam);

// While an edit reports EN_KILLFOCUS: the window the focus goes to (a combo
// box keeps quiet when it stays inside it).
HWND FocusGoingTo();
void SetFocusGoingTo(HWND hwnd);

// The classic 50% checker of the 3D highlight and face colours: scroll-bar
// tracks and checked tool-bar buttons. Pixels are chosen by surface position,
// so neighbouring fills line up.
void FillDithered(HDC hdc, const RECT& rc);

// Window scroll bars of controls that scroll themselves (list box).
void PaintWindowScrollBars(HWND hwnd);
// Stores a window bar's state without showing or hiding it (LVS_NOSCROLL).
int KeepScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info);
bool WindowScrollBarClick(HWND hwnd, int hit, POINT screen);

}  // namespace ctl
