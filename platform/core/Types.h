// Basic types and constants of the Windows interfaces the program is written
// against. Sizes follow the 64-bit Windows model: LONG and DWORD are 32 bits,
// message parameters and *_PTR types are pointer-sized.
#pragma once

#include <cstddef>
#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int INT;
typedef unsigned int UINT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef short SHORT;
typedef unsigned short USHORT;
typedef char CHAR;
typedef unsigned char UCHAR;
typedef char TCHAR;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef float FLOAT;
typedef void VOID;

typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef size_t SIZE_T;

typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;

typedef char* LPSTR;
typedef const char* LPCSTR;
typedef char* LPTSTR;
typedef const char* LPCTSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef BOOL* LPBOOL;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef WORD* LPWORD;
typedef INT* LPINT;

typedef DWORD COLORREF;
typedef WORD ATOM;

typedef void* HANDLE;
#define TRELLIAN_DECLARE_HANDLE(name) \
  struct name##__ { int unused; };    \
  typedef struct name##__* name
TRELLIAN_DECLARE_HANDLE(HWND);
TRELLIAN_DECLARE_HANDLE(HINSTANCE);
TRELLIAN_DECLARE_HANDLE(HDC);
TRELLIAN_DECLARE_HANDLE(HGDIOBJ_);
TRELLIAN_DECLARE_HANDLE(HPEN);
TRELLIAN_DECLARE_HANDLE(HBRUSH);
TRELLIAN_DECLARE_HANDLE(HFONT);
TRELLIAN_DECLARE_HANDLE(HBITMAP);
TRELLIAN_DECLARE_HANDLE(HRGN);
TRELLIAN_DECLARE_HANDLE(HPALETTE);
TRELLIAN_DECLARE_HANDLE(HICON);
TRELLIAN_DECLARE_HANDLE(HMENU);
TRELLIAN_DECLARE_HANDLE(HKEY);
TRELLIAN_DECLARE_HANDLE(HTHEME_);
typedef void* HGDIOBJ;
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef HANDLE HGLOBAL;
typedef HANDLE HTHEME;
typedef void* HIMAGELIST;
typedef void* HTREEITEM;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define CALLBACK
#define WINAPI
#define APIENTRY
#define AFXAPI
#define PASCAL
#define _T(x) x
#define TEXT(x) x

#define MAKEWORD(a, b) ((WORD)(((BYTE)((DWORD_PTR)(a) & 0xff)) | ((WORD)((BYTE)((DWORD_PTR)(b) & 0xff))) << 8))
#define MAKELONG(a, b) ((LONG)(((WORD)((DWORD_PTR)(a) & 0xffff)) | ((DWORD)((WORD)((DWORD_PTR)(b) & 0xffff))) << 16))
#define LOWORD(l) ((WORD)((DWORD_PTR)(l) & 0xffff))
#define HIWORD(l) ((WORD)(((DWORD_PTR)(l) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)((DWORD_PTR)(w) & 0xff))
#define HIBYTE(w) ((BYTE)(((DWORD_PTR)(w) >> 8) & 0xff))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) (LOBYTE(rgb))
#define GetGValue(rgb) (LOBYTE(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) (LOBYTE((rgb) >> 16))

#define MAX_PATH 260
#define INFINITE 0xFFFFFFFFu
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)

struct POINT {
  LONG x;
  LONG y;
};
struct SIZE {
  LONG cx;
  LONG cy;
};
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
typedef POINT* LPPOINT;
typedef SIZE* LPSIZE;
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
typedef SYSTEMTIME* LPSYSTEMTIME;

// 100-nanosecond intervals since 1 January 1601 (UTC), in two halves.
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
typedef FILETIME* LPFILETIME;
typedef FILETIME* PFILETIME;

// Status codes of the component interfaces (the visual-styles library).
typedef int32_t HRESULT;
#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

// Symbols of the platform layer that both deliverables share.
#define PLATFORM_API __attribute__((visibility("default")))
