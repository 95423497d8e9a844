// The visual-styles library: the functions of UxTheme.dll. The program never
// links it; it loads "UxTheme.dll" at run time (libUxTheme.so beside the
// program) and falls back to classic painting when that or a function is
// missing. Ours has no visual styles to offer: no theme is ever active, so
// every caller paints classically, which is the look this system is drawn in.
#pragma once

#include "Gdi.h"
#include "Types.h"

typedef wchar_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;

struct MARGINS {
  int cxLeftWidth;
  int cxRightWidth;
  int cyTopHeight;
  int cyBottomHeight;
};
struct INTLIST {
  int iValueCount;
  int iValues[402];
};
enum THEMESIZE { TS_MIN, TS_TRUE, TS_DRAW };
enum PROPERTYORIGIN { PO_STATE, PO_PART, PO_CLASS, PO_GLOBAL, PO_NOTFOUND };
// The wide font and metric records are passed through untouched; callers
// declare them as they need them.
struct LOGFONTW;
struct TEXTMETRICW;

#define STAP_ALLOW_NONCLIENT 0x00000001
#define STAP_ALLOW_CONTROLS 0x00000002
#define STAP_ALLOW_WEBCONTENT 0x00000004
#define ETDT_DISABLE 0x00000001
#define ETDT_ENABLE 0x00000002
#define ETDT_USETABTEXTURE 0x00000004
#define ETDT_ENABLETAB (ETDT_ENABLE | ETDT_USETABTEXTURE)

#define UXTHEME_API extern "C" __attribute__((visibility("default")))

UXTHEME_API HTHEME OpenThemeData(HWND hwnd, LPCWSTR classList);
UXTHEME_API HTHEME GetWindowTheme(HWND hwnd);
UXTHEME_API HRESULT CloseThemeData(HTHEME theme);
UXTHEME_API HRESULT DrawThemeBackground(HTHEME theme, HDC hdc, int part, int state, const RECT* rc, const RECT* clip);
UXTHEME_API HRESULT DrawThemeText(HTHEME theme, HDC hdc, int part, int state, LPCWSTR text, int count, DWORD flags,
                                  DWORD flags2, const RECT* rc);
UXTHEME_API HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC hdc, int part, int state, const RECT* bounds,
                                                  RECT* content);
UXTHEME_API HRESULT GetThemeBackgroundExtent(HTHEME theme, HDC hdc, int part, int state, const RECT* content,
                                             RECT* extent);
UXTHEME_API HRESULT GetThemePartSize(HTHEME theme, HDC hdc, int part, int state, const RECT* rc, THEMESIZE size,
                                     SIZE* out);
UXTHEME_API HRESULT GetThemeTextExtent(HTHEME theme, HDC hdc, int part, int state, LPCWSTR text, int count,
                                       DWORD flags, const RECT* bounds, RECT* extent);
UXTHEME_API HRESULT GetThemeTextMetrics(HTHEME theme, HDC hdc, int part, int state, TEXTMETRICW* tm);
UXTHEME_API HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC hdc, int part, int state, const RECT* rc,
                                             HRGN* region);
UXTHEME_API HRESULT HitTestThemeBackground(HTHEME theme, HDC hdc, int part, int state, DWORD options,
                                           const RECT* rc, HRGN region, POINT pt, WORD* hit);
UXTHEME_API HRESULT DrawThemeEdge(HTHEME theme, HDC hdc, int part, int state, const RECT* dest, UINT edge,
                                  UINT flags, RECT* content);
UXTHEME_API HRESULT DrawThemeIcon(HTHEME theme, HDC hdc, int part, int state, const RECT* rc, HIMAGELIST list,
                                  int image);
UXTHEME_API BOOL IsThemePartDefined(HTHEME theme, int part, int state);
UXTHEME_API BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state);
UXTHEME_API HRESULT GetThemeColor(HTHEME theme, int part, int state, int prop, COLORREF* color);
UXTHEME_API HRESULT GetThemeMetric(HTHEME theme, HDC hdc, int part, int state, int prop, int* value);
UXTHEME_API HRESULT GetThemeString(HTHEME theme, int part, int state, int prop, LPWSTR buffer, int size);
UXTHEME_API HRESULT GetThemeBool(HTHEME theme, int part, int state, int prop, BOOL* value);
UXTHEME_API HRESULT GetThemeInt(HTHEME theme, int part, int state, int prop, int* value);
UXTHEME_API HRESULT GetThemeEnumValue(HTHEME theme, int part, int state, int prop, int* value);
UXTHEME_API HRESULT GetThemePosition(HTHEME theme, int part, int state, int prop, POINT* point);
UXTHEME_API HRESULT GetThemeFont(HTHEME theme, HDC hdc, int part, int state, int prop, LOGFONTW* font);
UXTHEME_API HRESULT GetThemeRect(HTHEME theme, int part, int state, int prop, RECT* rc);
UXTHEME_API HRESULT GetThemeMargins(HTHEME theme, HDC hdc, int part, int state, int prop, RECT* rc,
                                    MARGINS* margins);
UXTHEME_API HRESULT GetThemeIntList(HTHEME theme, int part, int state, int prop, INTLIST* list);
UXTHEME_API HRESULT GetThemePropertyOrigin(HTHEME theme, int part, int state, int prop, PROPERTYORIGIN* origin);
UXTHEME_API HRESULT SetWindowTheme(HWND hwnd, LPCWSTR appName, LPCWSTR idList);
UXTHEME_API HRESULT GetThemeFilename(HTHEME theme, int part, int state, int prop, LPWSTR buffer, int size);
UXTHEME_API COLORREF GetThemeSysColor(HTHEME theme, int colorId);
UXTHEME_API HBRUSH GetThemeSysColorBrush(HTHEME theme, int colorId);
UXTHEME_API BOOL GetThemeSysBool(HTHEME theme, int boolId);
UXTHEME_API int GetThemeSysSize(HTHEME theme, int sizeId);
UXTHEME_API HRESULT GetThemeSysFont(HTHEME theme, int fontId, LOGFONTW* font);
UXTHEME_API HRESULT GetThemeSysString(HTHEME theme, int stringId, LPWSTR buffer, int size);
UXTHEME_API HRESULT GetThemeSysInt(HTHEME theme, int intId, int* value);
UXTHEME_API BOOL IsThemeActive();
UXTHEME_API BOOL IsAppThemed();
UXTHEME_API HRESULT EnableThemeDialogTexture(HWND hwnd, DWORD flags);
UXTHEME_API BOOL IsThemeDialogTextureEnabled(HWND hwnd);
UXTHEME_API DWORD GetThemeAppProperties();
UXTHEME_API void SetThemeAppProperties(DWORD flags);
UXTHEME_API HRESULT GetCurrentThemeName(LPWSTR themeFile, int themeFileSize, LPWSTR colorName, int colorNameSize,
                                        LPWSTR sizeName, int sizeNameSize);
UXTHEME_API HRESULT GetThemeDocumentationProperty(LPCWSTR themeName, LPCWSTR propertyName, LPWSTR value,
                                                  int valueSize);
UXTHEME_API HRESULT DrawThemeParentBackground(HWND hwnd, HDC hdc, const RECT* rc);
UXTHEME_API HRESULT EnableTheming(BOOL enable);
