// Shared pieces of the controls and their registration.

#include "ControlUtil.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "CommCtrl.h"
#include "Resource.h"

// The procedures of the control classes (one file each).
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ListBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ScrollBarProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ProgressProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK IpAddressProc(HWND, UINT, WPARAM, LPARAM);

namespace ctl {

void RegisterControlClass(const char* name, WNDPROC proc, HCURSOR cursor, UINT style) {
  WNDCLASSA wc{};
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = kExtraBytes;
  wc.hCursor = cursor;
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

HWND NotifyTarget(HWND hwnd) {
  HWND parent = PlatformGetCreationParent(hwnd);
  return IsWindow(parent) ? parent : GetParent(hwnd);
}

void Notify(HWND hwnd, UINT code) {
  HWND parent = NotifyTarget(hwnd);
  if (parent)
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), reinterpret_cast<LPARAM>(hwnd));
}

HBRUSH ParentBrush(HWND hwnd, HDC hdc, UINT msg) {
  HWND parent = NotifyTarget(hwnd);
  LRESULT r = parent ? SendMessageA(parent, msg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd))
                     : DefWindowProcA(hwnd, msg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd));
  return reinterpret_cast<HBRUSH>(r);
}

void FillUnlessHollow(HDC hdc, const RECT& rc, HBRUSH brush) {
  if (brush && brush != GetStockObject(HOLLOW_BRUSH)) FillRect(hdc, &rc, brush);
}

DWORD Style(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)); }

LRESULT CopyText(const std::string& text, WPARAM size, LPARAM buffer) {
  auto* out = reinterpret_cast<char*>(buffer);
  if (!out || size == 0) return 0;
  size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
  memcpy(out, text.data(), n);
  out[n] = 0;
  return static_cast<LRESULT>(n);
}

std::string Text(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  int got = GetWindowTextA(hwnd, &s[0], n + 1);
  s.resize(static_cast<size_t>(got > 0 ? got : 0));
  return s;
}

void FillDithered(HDC hdc, const RECT& rc) {
  COLORREF face = GetSysColor(COLOR_3DFACE), light = GetSysColor(COLOR_3DHILIGHT);
  const COLORREF bits[4] = {light, face, face, light};  // 2x2, written as 32-bit pixels
  uint32_t pixels[4];
  for (int i = 0; i < 4; ++i)
    pixels[i] = (GetRValue(bits[i]) << 16) | (GetGValue(bits[i]) << 8) | GetBValue(bits[i]);
  HBITMAP pattern = CreateBitmap(2, 2, 1, 32, pixels);
  HBRUSH brush = CreatePatternBrush(pattern);
  FillRect(hdc, &rc, brush);
  DeleteObject(brush);
  DeleteObject(pattern);
}

HFONT FontOf(HWND hwnd) {
  auto f = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int LineHeight(HWND hwnd) {
  HDC hdc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(hdc, FontOf(hwnd));
  TEXTMETRICA tm{};
  GetTextMetricsA(hdc, &tm);
  SelectObject(hdc, old);
  ReleaseDC(hwnd, hdc);
  return tm.tmHeight > 0 ? tm.tmHeight : 13;
}

namespace {
thread_local HWND focusGoingTo = nullptr;
}
HWND FocusGoingTo() { return focusGoingTo; }
void SetFocusGoingTo(HWND hwnd) { focusGoingTo = hwnd; }

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

bool InRect(const RECT& rc, LPARAM lParam) {
  POINT pt = PointOf(lParam);
  return PtInRect(&rc, pt) != FALSE;
}

}  // namespace ctl

void PlatformRegisterControls() {
  static std::once_flag once;
  std::call_once(once, [] {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ctl::RegisterControlClass(WC_STATIC, StaticProc, arrow);
    ctl::RegisterControlClass(WC_BUTTON, ButtonProc, arrow);
    ctl::RegisterControlClass(WC_EDIT, EditProc, LoadCursorA(nullptr, IDC_IBEAM));
    ctl::RegisterControlClass(WC_LISTBOX, ListBoxProc, arrow);
    ctl::RegisterControlClass(COMBOLBOX_CLASS, ListBoxProc, arrow, CS_DBLCLKS | CS_SAVEBITS);
    ctl::RegisterControlClass(WC_COMBOBOX, ComboBoxProc, arrow);
    ctl::RegisterControlClass(WC_SCROLLBAR, ScrollBarProc, arrow);
    ctl::RegisterControlClass(PROGRESS_CLASS, ProgressProc, arrow);
    ctl::RegisterControlClass(WC_IPADDRESS, IpAddressProc, arrow);
    PlatformRegisterCommonControls();  // list view, header, tooltips
  });
}

BOOL InitCommonControls() {
  PlatformRegisterControls();
  return TRUE;
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX*) {
  PlatformRegisterControls();
  return TRUE;
}
