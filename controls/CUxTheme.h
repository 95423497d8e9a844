// The visual-styles library made optional. The program never links
// "UxTheme.dll": the one global CUxTheme loads it at start, forwards each call
// to the function of the same name, and answers the function's failure value
// when the library or the function is missing, so callers simply paint
// classically. Function addresses are looked up once per process and kept;
// the themed-drawing rule is decided once per process (ShouldDrawThemed).
// GUI thread only: nothing here is locked.
#pragma once

#include "Module.h"
#include "UxTheme.h"
#include "afxwin.h"

// name, result, failure value, parameters, arguments
#define CUXTHEME_FUNCTIONS(X)                                                                                    \
  X(OpenThemeData, HTHEME, nullptr, (HWND hwnd, LPCWSTR classList), (hwnd, classList))                          \
  X(GetWindowTheme, HTHEME, nullptr, (HWND hwnd), (hwnd))                                                       \
  X(CloseThemeData, HRESULT, E_FAIL, (HTHEME theme), (theme))                                                   \
  X(DrawThemeBackground, HRESULT, E_FAIL,                                                                      \
    (HTHEME theme, HDC hdc, int part, int state, const RECT* rc, const RECT* clip),                            \
    (theme, hdc, part, state, rc, clip))                                                                        \
  X(DrawThemeText, HRESULT, E_FAIL,                                                                            \
    (HTHEME theme, HDC hdc, int part, int state, LPCWSTR text, int count, DWORD flags, DWORD flags2,          \
     const RECT* rc),                                                                                           \
    (theme, hdc, part, state, text, count, flags, flags2, rc))                                                  \
  X(GetThemeBackgroundContentRect, HRESULT, E_FAIL,                                                            \
    (HTHEME theme, HDC hdc, int part, int state, const RECT* bounds, RECT* content),                           \
    (theme, hdc, part, state, bounds, content))                                                                 \
  X(GetThemeBackgroundExtent, HRESULT, E_FAIL,                                                                 \
    (HTHEME theme, HDC hdc, int part, int state, const RECT* content, RECT* extent),                           \
    (theme, hdc, part, state, content, extent))                                                                 \
  X(GetThemePartSize, HRESULT, E_FAIL,                                                                         \
    (HTHEME theme, HDC hdc, int part, int state, const RECT* rc, THEMESIZE size, SIZE* out),                  \
    (theme, hdc, part, state, rc, size, out))                                                                   \
  X(GetThemeTextExtent, HRESULT, E_FAIL,                                                                       \
    (HTHEME theme, HDC hdc, int part, int state, LPCWSTR text, int count, DWORD flags, const RECT* bounds,    \
     RECT* extent),                                                                                             \
    (theme, hdc, part, state, text, count, flags, bounds, extent))                                              \
  X(GetThemeTextMetrics, HRESULT, E_FAIL, (HTHEME theme, HDC hdc, int part, int state, TEXTMETRICW* tm),       \
    (theme, hdc, part, state, tm))                                                                              \
  X(GetThemeBackgroundRegion, HRESULT, E_FAIL,                                                                 \
    (HTHEME theme, HDC hdc, int part, int state, const RECT* rc, HRGN* region),                                \
    (theme, hdc, part, state, rc, region))                                                                      \
  X(HitTestThemeBackground, HRESULT, E_FAIL,                                                                   \
    (HTHEME theme, HDC hdc, int part, int state, DWORD options, const RECT* rc, HRGN region, POINT pt,        \
     WORD* hit),                                                                                                \
    (theme, hdc, part, state, options, rc, region, pt, hit))                                                    \
  X(DrawThemeEdge, HRESULT, E_FAIL,                                                                            \
    (HTHEME theme, HDC hdc, int part, int state, const RECT* dest, UINT edge, UINT flags, RECT* content),      \
    (theme, hdc, part, state, dest, edge, flags, content))                                                      \
  X(DrawThemeIcon, HRESULT, E_FAIL,                                                                            \
    (HTHEME theme, HDC hdc, int part, int state, const RECT* rc, HIMAGELIST list, int image),                  \
    (theme, hdc, part, state, rc, list, image))                                                                 \
  X(IsThemePartDefined, BOOL, FALSE, (HTHEME theme, int part, int state), (theme, part, state))                 \
  X(IsThemeBackgroundPartiallyTransparent, BOOL, FALSE, (HTHEME theme, int part, int state),                    \
    (theme, part, state))                                                                                       \
  X(GetThemeColor, HRESULT, E_FAIL, (HTHEME theme, int part, int state, int prop, COLORREF* color),             \
    (theme, part, state, prop, color))                                                                          \
  X(GetThemeMetric, HRESULT, E_FAIL, (HTHEME theme, HDC hdc, int part, int state, int prop, int* value),        \
    (theme, hdc, part, state, prop, value))                                                                     \
  X(GetThemeString, HRESULT, E_FAIL, (HTHEME theme, int part, int state, int prop, LPWSTR buffer, int size),    \
    (theme, part, state, prop, buffer, size))                                                                   \
  X(GetThemeBool, HRESULT, E_FAIL, (HTHEME theme, int part, int state, int prop, BOOL* value),                  \
    (theme, part, state, prop, value))                                                                          \
  X(GetThemeInt, HRESULT, E_FAIL, (HTHEME theme, int part, int state, int prop, int* value),                    \
    (theme, part, state, prop, value))                                                                          \
  X(GetThemeEnumValue, HRESULT, E_FAIL, (HTHEME theme, int part, int state, int prop, int* value),              \
    (theme, part, state, prop, value))                                                                          \
  X(GetThemePosition, HRESULT, E_FAIL, (HTHEME theme, int part, int state, int prop, POINT* point),             \
    (theme, part, state, prop, point))                                                                          \
  X(GetThemeFont, HRESULT, E_FAIL, (HTHEME theme, HDC hdc, int part, int state, int prop, LOGFONTW* font),      \
    (theme, hdc, part, state, prop, font))                                                                      \
  X(GetThemeRect, HRESULT, E_FAIL, (HTHEME theme, int part, int state, int prop, RECT* rc),                     \
    (theme, part, state, prop, rc))                                                                             \
  X(GetThemeMargins, HRESULT, E_FAIL,                                                                          \
    (HTHEME theme, HDC hdc, int part, int state, int prop, RECT* rc, MARGINS* margins),                        \
    (theme, hdc, part, state, prop, rc, margins))                                                               \
  X(GetThemeIntList, HRESULT, E_FAIL, (HTHEME theme, int part, int state, int prop, INTLIST* list),             \
    (theme, part, state, prop, list))                                                                           \
  X(GetThemePropertyOrigin, HRESULT, E_FAIL,                                                                   \
    (HTHEME theme, int part, int state, int prop, PROPERTYORIGIN* origin), (theme, part, state, prop, origin))  \
  X(SetWindowTheme, HRESULT, E_FAIL, (HWND hwnd, LPCWSTR appName, LPCWSTR idList), (hwnd, appName, idList))    \
  X(GetThemeFilename, HRESULT, E_FAIL, (HTHEME theme, int part, int state, int prop, LPWSTR buffer, int size),  \
    (theme, part, state, prop, buffer, size))                                                                   \
  X(GetThemeSysColor, COLORREF, RGB(255, 255, 255), (HTHEME theme, int colorId), (theme, colorId))              \
  X(GetThemeSysColorBrush, HBRUSH, nullptr, (HTHEME theme, int colorId), (theme, colorId))                      \
  X(GetThemeSysBool, BOOL, FALSE, (HTHEME theme, int boolId), (theme, boolId))                                  \
  X(GetThemeSysSize, int, 0, (HTHEME theme, int sizeId), (theme, sizeId))                                       \
  X(GetThemeSysFont, HRESULT, E_FAIL, (HTHEME theme, int fontId, LOGFONTW* font), (theme, fontId, font))        \
  X(GetThemeSysString, HRESULT, E_FAIL, (HTHEME theme, int stringId, LPWSTR buffer, int size),                  \
    (theme, stringId, buffer, size))                                                                            \
  X(GetThemeSysInt, HRESULT, E_FAIL, (HTHEME theme, int intId, int* value), (theme, intId, value))              \
  X(IsThemeActive, BOOL, FALSE, (), ())                                                                         \
  X(IsAppThemed, BOOL, FALSE, (), ())                                                                           \
  X(EnableThemeDialogTexture, HRESULT, E_FAIL, (HWND hwnd, DWORD flags), (hwnd, flags))                         \
  X(IsThemeDialogTextureEnabled, BOOL, FALSE, (HWND hwnd), (hwnd))                                              \
  X(GetThemeAppProperties, DWORD, 0, (), ())                                                                    \
  X(GetCurrentThemeName, HRESULT, E_FAIL,                                                                      \
    (LPWSTR themeFile, int themeFileSize, LPWSTR colorName, int colorNameSize, LPWSTR sizeName,                \
     int sizeNameSize),                                                                                         \
    (themeFile, themeFileSize, colorName, colorNameSize, sizeName, sizeNameSize))                               \
  X(GetThemeDocumentationProperty, HRESULT, E_FAIL,                                                            \
    (LPCWSTR themeName, LPCWSTR propertyName, LPWSTR value, int valueSize),                                    \
    (themeName, propertyName, value, valueSize))                                                                \
  X(DrawThemeParentBackground, HRESULT, E_FAIL, (HWND hwnd, HDC hdc, const RECT* rc), (hwnd, hdc, rc))         \
  X(EnableTheming, HRESULT, E_FAIL, (BOOL enable), (enable))

class CUxTheme {
 public:
  CUxTheme();
  ~CUxTheme();
  CUxTheme(const CUxTheme&) = delete;
  CUxTheme& operator=(const CUxTheme&) = delete;

#define CUXTHEME_DECLARE(name, Result, failure, params, args) Result name params;
  CUXTHEME_FUNCTIONS(CUXTHEME_DECLARE)
#undef CUXTHEME_DECLARE
  void SetThemeAppProperties(DWORD flags);

  // Non-zero when the custom controls are to paint with visual styles.
  BOOL ShouldDrawThemed();

  // Tests only: reloads the library (after a test registered a fake one),
  // forgets the looked-up addresses and the decided rule.
  void ReloadForTest();

 private:
  FARPROC Resolve(int slot, const char* name);
  HMODULE m_hThemeDll = nullptr;
};

// The program's one instance, made among the static initialisers.
extern CUxTheme gUxTheme;
