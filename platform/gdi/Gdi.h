// GDI as the program uses it: device contexts over 32-bit surfaces in memory,
// pens, brushes, fonts, bitmaps and regions, blits, shapes, text, BMP files,
// image lists and icons. Colours are COLORREF (0x00BBGGRR); surfaces and
// 32-bit DIBs hold 0x00RRGGBB per pixel (Windows' BGRA byte order).
#pragma once

#include "Types.h"

// ---------------------------------------------------------------- structures

#define LF_FACESIZE 32

struct LOGFONTA {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONTA LOGFONT;
typedef LOGFONT* LPLOGFONT;
typedef const LOGFONT* LPCLOGFONT;

struct TEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
typedef TEXTMETRICA TEXTMETRIC;
typedef TEXTMETRIC* LPTEXTMETRIC;

struct LOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;
  COLORREF lopnColor;
};
typedef LOGPEN* LPLOGPEN;
struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  ULONG_PTR lbHatch;
};
struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
};
typedef BITMAP* LPBITMAP;

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
  WORD bfType;
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
};
#pragma pack(pop)
struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};
struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};
typedef BITMAPINFO* LPBITMAPINFO;

struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3];
  HANDLE dshSection;
  DWORD dsOffset;
};

struct RGNDATAHEADER {
  DWORD dwSize;
  DWORD iType;
  DWORD nCount;
  DWORD nRgnSize;
  RECT rcBound;
};
struct RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[1];
};
typedef RGNDATA* LPRGNDATA;

struct XFORM {
  FLOAT eM11, eM12, eM21, eM22, eDx, eDy;
};

struct ICONINFO {
  BOOL fIcon;
  DWORD xHotspot;
  DWORD yHotspot;
  HBITMAP hbmMask;
  HBITMAP hbmColor;
};
typedef ICONINFO* PICONINFO;

// ---------------------------------------------------------------- constants

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define DEFAULT_PALETTE 15
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17
#define DC_BRUSH 18
#define DC_PEN 19

// Object types (GetObjectType, GetCurrentObject).
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

// Pens.
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_STYLE_MASK 0x0000000F
#define PS_GEOMETRIC 0x00010000
#define PS_COSMETIC 0x00000000
#define PS_ENDCAP_FLAT 0x00000200
#define PS_JOIN_MITER 0x00002000

// Brushes.
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#define BS_PATTERN 3
#define HS_HORIZONTAL 0
#define HS_VERTICAL 1
#define HS_FDIAGONAL 2
#define HS_BDIAGONAL 3
#define HS_CROSS 4
#define HS_DIAGCROSS 5

// Fonts.
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define NONANTIALIASED_QUALITY 3
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30

// Background modes, text alignment, ExtTextOut options.
#define TRANSPARENT 1
#define OPAQUE 2
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

// DrawText formats.
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_INTERNAL 0x00001000
#define DT_EDITCONTROL 0x00002000
#define DT_PATH_ELLIPSIS 0x00004000
#define DT_END_ELLIPSIS 0x00008000
#define DT_MODIFYSTRING 0x00010000
#define DT_WORD_ELLIPSIS 0x00040000
#define DT_HIDEPREFIX 0x00100000
#define DT_PREFIXONLY 0x00200000

// Raster operations.
#define R2_BLACK 1
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN 3
#define R2_NOTCOPYPEN 4
#define R2_MASKPENNOT 5
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOTMASKPEN 8
#define R2_MASKPEN 9
#define R2_NOTXORPEN 10
#define R2_NOP 11
#define R2_MERGENOTPEN 12
#define R2_COPYPEN 13
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN 15
#define R2_WHITE 16
#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define SRCERASE 0x00440328u
#define NOTSRCCOPY 0x00330008u
#define NOTSRCERASE 0x001100A6u
#define MERGECOPY 0x00C000CAu
#define MERGEPAINT 0x00BB0226u
#define PATCOPY 0x00F00021u
#define PATPAINT 0x00FB0A09u
#define PATINVERT 0x005A0049u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

// Stretch modes. When shrinking, BLACKONWHITE ANDs and WHITEONBLACK ORs the
// source pixels that fold onto one destination pixel (keeping dark or light
// lines); COLORONCOLOR takes the source pixel nearest to each destination
// pixel's centre; HALFTONE averages the source area under each destination
// pixel (a box filter). Enlarging repeats pixels; HALFTONE blends the two
// source pixels a destination pixel straddles.
#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_ANDSCANS BLACKONWHITE
#define STRETCH_ORSCANS WHITEONBLACK
#define STRETCH_DELETESCANS COLORONCOLOR
#define STRETCH_HALFTONE HALFTONE

#define ALTERNATE 1
#define WINDING 2
#define MM_TEXT 1

// Regions.
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5
#define RDH_RECTANGLES 1

// Device capabilities.
#define DRIVERVERSION 0
#define TECHNOLOGY 2
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMBRUSHES 16
#define NUMPENS 18
#define NUMFONTS 22
#define NUMCOLORS 24
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define COLORRES 108
#define DT_RASDISPLAY 1
#define RC_BITBLT 1
#define RC_STRETCHBLT 0x0800
#define RC_DI_BITMAP 0x0080
#define RC_DIBTODEV 0x0200

// DIBs.
#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

// DrawEdge.
#define BDR_RAISEDOUTER 0x0001
#define BDR_SUNKENOUTER 0x0002
#define BDR_RAISEDINNER 0x0004
#define BDR_SUNKENINNER 0x0008
#define BDR_OUTER 0x0003
#define BDR_INNER 0x000c
#define EDGE_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define EDGE_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_ETCHED (BDR_SUNKENOUTER | BDR_RAISEDINNER)
#define EDGE_BUMP (BDR_RAISEDOUTER | BDR_SUNKENINNER)
#define BF_LEFT 0x0001
#define BF_TOP 0x0002
#define BF_RIGHT 0x0004
#define BF_BOTTOM 0x0008
#define BF_TOPLEFT (BF_TOP | BF_LEFT)
#define BF_TOPRIGHT (BF_TOP | BF_RIGHT)
#define BF_BOTTOMLEFT (BF_BOTTOM | BF_LEFT)
#define BF_BOTTOMRIGHT (BF_BOTTOM | BF_RIGHT)
#define BF_RECT (BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM)
#define BF_MIDDLE 0x0800
#define BF_SOFT 0x1000
#define BF_ADJUST 0x2000
#define BF_FLAT 0x4000
#define BF_MONO 0x8000

// DrawFrameControl.
#define DFC_CAPTION 1
#define DFC_MENU 2
#define DFC_SCROLL 3
#define DFC_BUTTON 4
#define DFCS_SCROLLUP 0x0000
#define DFCS_SCROLLDOWN 0x0001
#define DFCS_SCROLLLEFT 0x0002
#define DFCS_SCROLLRIGHT 0x0003
#define DFCS_SCROLLCOMBOBOX 0x0005
#define DFCS_SCROLLSIZEGRIP 0x0008
#define DFCS_MENUARROW 0x0000
#define DFCS_MENUCHECK 0x0001
#define DFCS_MENUBULLET 0x0002
#define DFCS_MENUARROWRIGHT 0x0004
#define DFCS_BUTTONCHECK 0x0000
#define DFCS_BUTTONRADIO 0x0004
#define DFCS_BUTTONPUSH 0x0010
#define DFCS_CAPTIONCLOSE 0x0000
#define DFCS_CAPTIONMIN 0x0001
#define DFCS_CAPTIONMAX 0x0002
#define DFCS_CAPTIONRESTORE 0x0003
#define DFCS_INACTIVE 0x0100
#define DFCS_PUSHED 0x0200
#define DFCS_CHECKED 0x0400
#define DFCS_FLAT 0x4000
#define DFCS_MONO 0x8000

// DrawState.
#define DST_COMPLEX 0x0000
#define DST_TEXT 0x0001
#define DST_PREFIXTEXT 0x0002
#define DST_ICON 0x0003
#define DST_BITMAP 0x0004
#define DSS_NORMAL 0x0000
#define DSS_UNION 0x0010
#define DSS_DISABLED 0x0020
#define DSS_MONO 0x0080
#define DSS_RIGHT 0x8000
typedef BOOL(CALLBACK* DRAWSTATEPROC)(HDC hdc, LPARAM lData, WPARAM wData, int cx, int cy);

// DrawIconEx.
#define DI_MASK 0x0001
#define DI_IMAGE 0x0002
#define DI_NORMAL 0x0003
#define DI_DEFAULTSIZE 0x0008

// LoadImage.
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x00000000
#define LR_MONOCHROME 0x00000001
#define LR_LOADFROMFILE 0x00000010
#define LR_LOADTRANSPARENT 0x00000020
#define LR_DEFAULTSIZE 0x00000040
#define LR_CREATEDIBSECTION 0x00002000
#define LR_SHARED 0x00008000

// System colours (classic Windows scheme).
#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_DESKTOP COLOR_BACKGROUND
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_BTNFACE 15
#define COLOR_3DFACE COLOR_BTNFACE
#define COLOR_BTNSHADOW 16
#define COLOR_3DSHADOW COLOR_BTNSHADOW
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DHIGHLIGHT COLOR_BTNHIGHLIGHT
#define COLOR_3DHILIGHT COLOR_BTNHIGHLIGHT
#define COLOR_BTNHILIGHT COLOR_BTNHIGHLIGHT
#define COLOR_3DDKSHADOW 21
#define COLOR_3DLIGHT 22
#define COLOR_INFOTEXT 23
#define COLOR_INFOBK 24
#define COLOR_HOTLIGHT 26
#define COLOR_GRADIENTACTIVECAPTION 27
#define COLOR_GRADIENTINACTIVECAPTION 28
#define COLOR_MENUHILIGHT 29
#define COLOR_MENUBAR 30

#define CLR_INVALID 0xFFFFFFFFu
#define CLR_NONE 0xFFFFFFFFu
#define CLR_DEFAULT 0xFF000000u

// Image lists.
#define ILC_MASK 0x00000001
#define ILC_COLOR 0x00000000
#define ILC_COLORDDB 0x000000FE
#define ILC_COLOR4 0x00000004
#define ILC_COLOR8 0x00000008
#define ILC_COLOR16 0x00000010
#define ILC_COLOR24 0x00000018
#define ILC_COLOR32 0x00000020
#define ILD_NORMAL 0x00000000
#define ILD_TRANSPARENT 0x00000001
#define ILD_MASK 0x00000010
#define ILD_IMAGE 0x00000020
#define ILD_BLEND25 0x00000002
#define ILD_BLEND50 0x00000004
#define ILD_FOCUS ILD_BLEND25
#define ILD_SELECTED ILD_BLEND50

struct IMAGEINFO {
  HBITMAP hbmImage;
  HBITMAP hbmMask;
  int Unused1;
  int Unused2;
  RECT rcImage;
};

// ---------------------------------------------------------------- functions

// Device contexts.
PLATFORM_API HDC CreateCompatibleDC(HDC hdc);
PLATFORM_API BOOL DeleteDC(HDC hdc);
PLATFORM_API int SaveDC(HDC hdc);
PLATFORM_API BOOL RestoreDC(HDC hdc, int saved);
PLATFORM_API int GetDeviceCaps(HDC hdc, int index);
PLATFORM_API HWND WindowFromDC(HDC hdc);
PLATFORM_API BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old);
PLATFORM_API BOOL GetWindowOrgEx(HDC hdc, LPPOINT org);
PLATFORM_API BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old);
PLATFORM_API BOOL GetViewportOrgEx(HDC hdc, LPPOINT org);
PLATFORM_API BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT old);
PLATFORM_API BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old);
PLATFORM_API BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old);
PLATFORM_API int SetMapMode(HDC hdc, int mode);
PLATFORM_API int GetMapMode(HDC hdc);
PLATFORM_API BOOL LPtoDP(HDC hdc, LPPOINT pts, int count);
PLATFORM_API BOOL DPtoLP(HDC hdc, LPPOINT pts, int count);

// Objects.
PLATFORM_API HGDIOBJ GetStockObject(int index);
PLATFORM_API HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj);
PLATFORM_API BOOL DeleteObject(HGDIOBJ obj);
PLATFORM_API int GetObjectA(HGDIOBJ obj, int size, LPVOID out);
#define GetObject GetObjectA
PLATFORM_API DWORD GetObjectType(HGDIOBJ obj);
PLATFORM_API HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
PLATFORM_API HPEN CreatePen(int style, int width, COLORREF color);
PLATFORM_API HPEN CreatePenIndirect(const LOGPEN* lp);
PLATFORM_API HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* lb, DWORD styleCount, const DWORD* styles);
PLATFORM_API HBRUSH CreateSolidBrush(COLORREF color);
PLATFORM_API HBRUSH CreateHatchBrush(int hatch, COLORREF color);
PLATFORM_API HBRUSH CreatePatternBrush(HBITMAP bitmap);
PLATFORM_API HBRUSH CreateBrushIndirect(const LOGBRUSH* lb);
PLATFORM_API HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                               DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                               DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);
#define CreateFont CreateFontA
PLATFORM_API HFONT CreateFontIndirectA(const LOGFONTA* lf);
#define CreateFontIndirect CreateFontIndirectA
PLATFORM_API COLORREF GetSysColor(int index);
PLATFORM_API HBRUSH GetSysColorBrush(int index);
PLATFORM_API COLORREF SetDCBrushColor(HDC hdc, COLORREF color);
PLATFORM_API COLORREF SetDCPenColor(HDC hdc, COLORREF color);

// Bitmaps.
PLATFORM_API HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
PLATFORM_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
PLATFORM_API HBITMAP CreateBitmapIndirect(const BITMAP* bm);
PLATFORM_API HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                      DWORD offset);
PLATFORM_API HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                                    const BITMAPINFO* info, UINT usage);
#define CBM_INIT 0x04
PLATFORM_API int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage);
PLATFORM_API int SetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
                           UINT usage);
PLATFORM_API int StretchDIBits(HDC hdc, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc,
                               int hSrc, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
PLATFORM_API LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits);
PLATFORM_API LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
PLATFORM_API BOOL GetBitmapDimensionEx(HBITMAP bitmap, LPSIZE size);

// Regions.
PLATFORM_API HRGN CreateRectRgn(int left, int top, int right, int bottom);
PLATFORM_API HRGN CreateRectRgnIndirect(const RECT* rc);
PLATFORM_API HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
PLATFORM_API HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h);
PLATFORM_API HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode);
PLATFORM_API HRGN ExtCreateRegion(const XFORM* xform, DWORD size, const RGNDATA* data);
PLATFORM_API DWORD GetRegionData(HRGN rgn, DWORD size, LPRGNDATA data);
PLATFORM_API int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
PLATFORM_API BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
PLATFORM_API int OffsetRgn(HRGN rgn, int dx, int dy);
PLATFORM_API BOOL PtInRegion(HRGN rgn, int x, int y);
PLATFORM_API BOOL RectInRegion(HRGN rgn, const RECT* rc);
PLATFORM_API int GetRgnBox(HRGN rgn, LPRECT box);
PLATFORM_API BOOL EqualRgn(HRGN a, HRGN b);
PLATFORM_API BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush);
PLATFORM_API BOOL PaintRgn(HDC hdc, HRGN rgn);
PLATFORM_API BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int w, int h);
PLATFORM_API BOOL InvertRgn(HDC hdc, HRGN rgn);

// Clipping.
PLATFORM_API int SelectClipRgn(HDC hdc, HRGN rgn);
PLATFORM_API int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode);
PLATFORM_API int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
PLATFORM_API int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
PLATFORM_API int OffsetClipRgn(HDC hdc, int dx, int dy);
PLATFORM_API int GetClipBox(HDC hdc, LPRECT box);
PLATFORM_API int GetClipRgn(HDC hdc, HRGN rgn);
PLATFORM_API BOOL PtVisible(HDC hdc, int x, int y);
PLATFORM_API BOOL RectVisible(HDC hdc, const RECT* rc);

// Attributes.
PLATFORM_API COLORREF SetTextColor(HDC hdc, COLORREF color);
PLATFORM_API COLORREF GetTextColor(HDC hdc);
PLATFORM_API COLORREF SetBkColor(HDC hdc, COLORREF color);
PLATFORM_API COLORREF GetBkColor(HDC hdc);
PLATFORM_API int SetBkMode(HDC hdc, int mode);
PLATFORM_API int GetBkMode(HDC hdc);
PLATFORM_API int SetROP2(HDC hdc, int rop2);
PLATFORM_API int GetROP2(HDC hdc);
PLATFORM_API int SetStretchBltMode(HDC hdc, int mode);
PLATFORM_API int GetStretchBltMode(HDC hdc);
PLATFORM_API UINT SetTextAlign(HDC hdc, UINT align);
PLATFORM_API UINT GetTextAlign(HDC hdc);
PLATFORM_API int SetPolyFillMode(HDC hdc, int mode);
PLATFORM_API int SetTextCharacterExtra(HDC hdc, int extra);

// Drawing.
PLATFORM_API BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop);
PLATFORM_API BOOL StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                             DWORD rop);
PLATFORM_API BOOL TransparentBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                                 UINT transparent);
PLATFORM_API BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop);
PLATFORM_API int FillRect(HDC hdc, const RECT* rc, HBRUSH brush);
PLATFORM_API int FrameRect(HDC hdc, const RECT* rc, HBRUSH brush);
PLATFORM_API BOOL InvertRect(HDC hdc, const RECT* rc);
PLATFORM_API BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
PLATFORM_API BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int w, int h);
PLATFORM_API BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
PLATFORM_API BOOL Polygon(HDC hdc, const POINT* pts, int count);
PLATFORM_API BOOL Polyline(HDC hdc, const POINT* pts, int count);
PLATFORM_API BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old);
PLATFORM_API BOOL LineTo(HDC hdc, int x, int y);
PLATFORM_API BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pt);
PLATFORM_API COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
PLATFORM_API BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color);
PLATFORM_API COLORREF GetPixel(HDC hdc, int x, int y);
PLATFORM_API BOOL DrawEdge(HDC hdc, LPRECT rc, UINT edge, UINT flags);
PLATFORM_API BOOL DrawFocusRect(HDC hdc, const RECT* rc);
PLATFORM_API BOOL DrawFrameControl(HDC hdc, LPRECT rc, UINT type, UINT state);
PLATFORM_API BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flicker, UINT flags);
PLATFORM_API BOOL DrawIcon(HDC hdc, int x, int y, HICON icon);
PLATFORM_API BOOL DrawStateA(HDC hdc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wdata, int x, int y, int cx,
                             int cy, UINT flags);
#define DrawState DrawStateA

// Text.
PLATFORM_API BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count);
#define TextOut TextOutA
PLATFORM_API BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rc, LPCSTR text, UINT count,
                              const INT* dx);
#define ExtTextOut ExtTextOutA
PLATFORM_API int DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rc, UINT format);
#define DrawText DrawTextA
PLATFORM_API LONG TabbedTextOutA(HDC hdc, int x, int y, LPCSTR text, int count, int tabCount, const INT* tabs,
                                 int tabOrigin);
#define TabbedTextOut TabbedTextOutA
PLATFORM_API DWORD GetTabbedTextExtentA(HDC hdc, LPCSTR text, int count, int tabCount, const INT* tabs);
#define GetTabbedTextExtent GetTabbedTextExtentA
PLATFORM_API BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size);
#define GetTextExtentPoint32 GetTextExtentPoint32A
#define GetTextExtentPoint GetTextExtentPoint32A
PLATFORM_API BOOL GetTextExtentExPointA(HDC hdc, LPCSTR text, int count, int maxExtent, LPINT fit, LPINT dx,
                                        LPSIZE size);
#define GetTextExtentExPoint GetTextExtentExPointA
PLATFORM_API BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRIC tm);
#define GetTextMetrics GetTextMetricsA
PLATFORM_API int GetTextFaceA(HDC hdc, int size, LPSTR face);
#define GetTextFace GetTextFaceA
PLATFORM_API BOOL GetCharWidth32A(HDC hdc, UINT first, UINT last, LPINT widths);
#define GetCharWidth32 GetCharWidth32A
#define GetCharWidth GetCharWidth32A

// Icons and cursors: a colour bitmap and a mask (1 = transparent).
PLATFORM_API HICON CreateIconIndirect(PICONINFO info);
PLATFORM_API BOOL GetIconInfo(HICON icon, PICONINFO info);
PLATFORM_API HICON CopyIcon(HICON icon);
PLATFORM_API BOOL DestroyIcon(HICON icon);
PLATFORM_API BOOL DestroyCursor(HCURSOR cursor);

// Image lists.
PLATFORM_API HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
PLATFORM_API BOOL ImageList_Destroy(HIMAGELIST list);
PLATFORM_API int ImageList_GetImageCount(HIMAGELIST list);
PLATFORM_API BOOL ImageList_SetImageCount(HIMAGELIST list, UINT count);
PLATFORM_API int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
PLATFORM_API int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask);
PLATFORM_API BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask);
PLATFORM_API int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
#define ImageList_AddIcon(list, icon) ImageList_ReplaceIcon(list, -1, icon)
PLATFORM_API BOOL ImageList_Remove(HIMAGELIST list, int index);
PLATFORM_API BOOL ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y, UINT style);
PLATFORM_API BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC hdc, int x, int y, int dx, int dy, COLORREF bk,
                                   COLORREF fg, UINT style);
PLATFORM_API HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);
PLATFORM_API BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
PLATFORM_API BOOL ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info);
PLATFORM_API COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
PLATFORM_API COLORREF ImageList_GetBkColor(HIMAGELIST list);

// BMP files. The reader takes 1-, 4-, 8-, 24- and 32-bit uncompressed images
// (and 16/32-bit bit fields), top-down or bottom-up; anything else fails.
PLATFORM_API HBITMAP PlatformReadBmp(const void* data, size_t size);
PLATFORM_API HBITMAP PlatformLoadBmpFile(const char* path);
// Writes 24 or 32 bits per pixel, bottom-up.
PLATFORM_API BOOL PlatformWriteBmpFile(HBITMAP bitmap, int bitsPerPixel, const char* path);
// LoadImage reads bitmap files itself; for everything else (resources) it
// asks the loader the window manager installs.
PLATFORM_API void PlatformSetResourceImageLoader(HANDLE (*loader)(HINSTANCE, LPCSTR, UINT, int, int, UINT));
PLATFORM_API HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
#define LoadImage LoadImageA
