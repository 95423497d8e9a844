// The visual-styles library without visual styles: no theme is active, so
// OpenThemeData answers no theme and every theme query fails the way the
// system's does for a window that is not themed. The system-wide queries
// answer from the classic system colours and metrics.

#include "UxTheme.h"

#include "WinUser.h"

namespace {
DWORD gAppProperties = STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT;
}

HTHEME OpenThemeData(HWND, LPCWSTR) { return nullptr; }
HTHEME GetWindowTheme(HWND) { return nullptr; }
HRESULT CloseThemeData(HTHEME theme) { return theme ? S_OK : E_FAIL; }
HRESULT DrawThemeBackground(HTHEME, HDC, int, int, const RECT*, const RECT*) { return E_FAIL; }
HRESULT DrawThemeText(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*) { return E_FAIL; }
HRESULT GetThemeBackgroundContentRect(HTHEME, HDC, int, int, const RECT*, RECT*) { return E_FAIL; }
HRESULT GetThemeBackgroundExtent(HTHEME, HDC, int, int, const RECT*, RECT*) { return E_FAIL; }
HRESULT GetThemePartSize(HTHEME, HDC, int, int, const RECT*, THEMESIZE, SIZE*) { return E_FAIL; }
HRESULT GetThemeTextExtent(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, const RECT*, RECT*) { return E_FAIL; }
HRESULT GetThemeTextMetrics(HTHEME, HDC, int, int, TEXTMETRICW*) { return E_FAIL; }
HRESULT GetThemeBackgroundRegion(HTHEME, HDC, int, int, const RECT*, HRGN*) { return E_FAIL; }
HRESULT HitTestThemeBackground(HTHEME, HDC, int, int, DWORD, const RECT*, HRGN, POINT, WORD*) { return E_FAIL; }
HRESULT DrawThemeEdge(HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*) { return E_FAIL; }
HRESULT DrawThemeIcon(HTHEME, HDC, int, int, const RECT*, HIMAGELIST, int) { return E_FAIL; }
BOOL IsThemePartDefined(HTHEME, int, int) { return FALSE; }
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME, int, int) { return FALSE; }
HRESULT GetThemeColor(HTHEME, int, int, int, COLORREF*) { return E_FAIL; }
HRESULT GetThemeMetric(HTHEME, HDC, int, int, int, int*) { return E_FAIL; }
HRESULT GetThemeString(HTHEME, int, int, int, LPWSTR, int) { return E_FAIL; }
HRESULT GetThemeBool(HTHEME, int, int, int, BOOL*) { return E_FAIL; }
HRESULT GetThemeInt(HTHEME, int, int, int, int*) { return E_FAIL; }
HRESULT GetThemeEnumValue(HTHEME, int, int, int, int*) { return E_FAIL; }
HRESULT GetThemePosition(HTHEME, int, int, int, POINT*) { return E_FAIL; }
HRESULT GetThemeFont(HTHEME, HDC, int, int, int, LOGFONTW*) { return E_FAIL; }
HRESULT GetThemeRect(HTHEME, int, int, int, RECT*) { return E_FAIL; }
HRESULT GetThemeMargins(HTHEME, HDC, int, int, int, RECT*, MARGINS*) { return E_FAIL; }
HRESULT GetThemeIntList(HTHEME, int, int, int, INTLIST*) { return E_FAIL; }
HRESULT GetThemePropertyOrigin(HTHEME, int, int, int, PROPERTYORIGIN* origin) {
  if (origin) *origin = PO_NOTFOUND;
  return E_FAIL;
}
// Accepted and remembered nowhere: with no theme there is nothing to switch.
HRESULT SetWindowTheme(HWND hwnd, LPCWSTR, LPCWSTR) { return IsWindow(hwnd) ? S_OK : E_INVALIDARG; }
HRESULT GetThemeFilename(HTHEME, int, int, int, LPWSTR, int) { return E_FAIL; }
COLORREF GetThemeSysColor(HTHEME, int colorId) { return GetSysColor(colorId); }
HBRUSH GetThemeSysColorBrush(HTHEME, int colorId) { return GetSysColorBrush(colorId); }
BOOL GetThemeSysBool(HTHEME, int) { return FALSE; }
int GetThemeSysSize(HTHEME, int sizeId) { return GetSystemMetrics(sizeId); }
HRESULT GetThemeSysFont(HTHEME, int, LOGFONTW*) { return E_FAIL; }
HRESULT GetThemeSysString(HTHEME, int, LPWSTR, int) { return E_FAIL; }
HRESULT GetThemeSysInt(HTHEME, int, int*) { return E_FAIL; }
BOOL IsThemeActive() { return FALSE; }
BOOL IsAppThemed() { return FALSE; }
HRESULT EnableThemeDialogTexture(HWND, DWORD) { return E_FAIL; }
BOOL IsThemeDialogTextureEnabled(HWND) { return FALSE; }
DWORD GetThemeAppProperties() { return gAppProperties; }
void SetThemeAppProperties(DWORD flags) { gAppProperties = flags; }
HRESULT GetCurrentThemeName(LPWSTR themeFile, int themeFileSize, LPWSTR colorName, int colorNameSize,
                            LPWSTR sizeName, int sizeNameSize) {
  // No theme: the buffers are left empty.
  if (themeFile && themeFileSize > 0) themeFile[0] = 0;
  if (colorName && colorNameSize > 0) colorName[0] = 0;
  if (sizeName && sizeNameSize > 0) sizeName[0] = 0;
  return E_FAIL;
}
HRESULT GetThemeDocumentationProperty(LPCWSTR, LPCWSTR, LPWSTR, int) { return E_FAIL; }
HRESULT EnableTheming(BOOL) { return S_OK; }

// Works without a theme too: the parent paints its background into the
// child's device context, moved so that the parent's coordinates line up.
HRESULT DrawThemeParentBackground(HWND hwnd, HDC hdc, const RECT*) {
  HWND parent = GetParent(hwnd);
  if (!parent || !hdc) return E_FAIL;
  POINT origin{0, 0};
  MapWindowPoints(hwnd, parent, &origin, 1);
  POINT old;
  OffsetViewportOrgEx(hdc, -origin.x, -origin.y, &old);
  SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
  SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), 0x00000004 /* PRF_CLIENT */);
  SetViewportOrgEx(hdc, old.x, old.y, nullptr);
  return S_OK;
}
