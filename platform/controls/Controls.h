// The standard and common controls: class names, styles, messages and
// notifications, scroll bars of windows and the flat-scroll-bar calls.
// Each control is a window class with its own procedure; the classes are
// registered on first use (PlatformRegisterControls).
#pragma once

#include <string>

#include "Dialog.h"
#include "WinUser.h"

#define WC_BUTTON "Button"
#define WC_STATIC "Static"
#define WC_EDIT "Edit"
#define WC_LISTBOX "ListBox"
#define WC_COMBOBOX "ComboBox"
#define WC_SCROLLBAR "ScrollBar"
#define PROGRESS_CLASS "msctls_progress32"
#define WC_IPADDRESS "SysIPAddress32"
#define COMBOLBOX_CLASS "ComboLBox"

// Registers every control class once per process; the dialog manager and the
// class layer call it, so the program never needs to.
PLATFORM_API void PlatformRegisterControls();
PLATFORM_API BOOL InitCommonControls();
struct INITCOMMONCONTROLSEX {
  DWORD dwSize;
  DWORD dwICC;
};
PLATFORM_API BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc);
#define ICC_PROGRESS_CLASS 0x00000020
#define ICC_INTERNET_CLASSES 0x00000800
#define ICC_STANDARD_CLASSES 0x00004000
#define ICC_WIN95_CLASSES 0x000000FF

// ---------------------------------------------------------------- static

#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_ICON 0x00000003L
#define SS_BLACKRECT 0x00000004L
#define SS_GRAYRECT 0x00000005L
#define SS_WHITERECT 0x00000006L
#define SS_BLACKFRAME 0x00000007L
#define SS_GRAYFRAME 0x00000008L
#define SS_WHITEFRAME 0x00000009L
#define SS_SIMPLE 0x0000000BL
#define SS_LEFTNOWORDWRAP 0x0000000CL
#define SS_OWNERDRAW 0x0000000DL
#define SS_BITMAP 0x0000000EL
#define SS_ETCHEDHORZ 0x00000010L
#define SS_ETCHEDVERT 0x00000011L
#define SS_ETCHEDFRAME 0x00000012L
#define SS_TYPEMASK 0x0000001FL
#define SS_NOPREFIX 0x00000080L
#define SS_NOTIFY 0x00000100L
#define SS_CENTERIMAGE 0x00000200L
#define SS_REALSIZEIMAGE 0x00000800L
#define SS_SUNKEN 0x00001000L
#define SS_ENDELLIPSIS 0x00004000L
#define STM_SETICON 0x0170
#define STM_GETICON 0x0171
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173

// ---------------------------------------------------------------- button

#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_CHECKBOX 0x00000002L
#define BS_AUTOCHECKBOX 0x00000003L
#define BS_RADIOBUTTON 0x00000004L
#define BS_3STATE 0x00000005L
#define BS_AUTO3STATE 0x00000006L
#define BS_GROUPBOX 0x00000007L
#define BS_USERBUTTON 0x00000008L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_OWNERDRAW 0x0000000BL
#define BS_TYPEMASK 0x0000000FL
#define BS_LEFTTEXT 0x00000020L
#define BS_TEXT 0x00000000L
#define BS_ICON 0x00000040L
#define BS_BITMAP 0x00000080L
#define BS_LEFT 0x00000100L
#define BS_RIGHT 0x00000200L
#define BS_CENTER 0x00000300L
#define BS_TOP 0x00000400L
#define BS_BOTTOM 0x00000800L
#define BS_VCENTER 0x00000C00L
#define BS_PUSHLIKE 0x00001000L
#define BS_MULTILINE 0x00002000L
#define BS_NOTIFY 0x00004000L
#define BS_FLAT 0x00008000L

#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_SETSTYLE 0x00F4
#define BM_CLICK 0x00F5
#define BM_GETIMAGE 0x00F6
#define BM_SETIMAGE 0x00F7
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_INDETERMINATE 0x0002
#define BST_PUSHED 0x0004
#define BST_FOCUS 0x0008


// ---------------------------------------------------------------- edit

#define ES_LEFT 0x0000L
#define ES_CENTER 0x0001L
#define ES_RIGHT 0x0002L
#define ES_MULTILINE 0x0004L
#define ES_UPPERCASE 0x0008L
#define ES_LOWERCASE 0x0010L
#define ES_PASSWORD 0x0020L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_NOHIDESEL 0x0100L
#define ES_OEMCONVERT 0x0400L
#define ES_READONLY 0x0800L
#define ES_WANTRETURN 0x1000L
#define ES_NUMBER 0x2000L

#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_SCROLLCARET 0x00B7
#define EM_GETMODIFY 0x00B8
#define EM_SETMODIFY 0x00B9
#define EM_GETLINECOUNT 0x00BA
#define EM_REPLACESEL 0x00C2
#define EM_LIMITTEXT 0x00C5
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define EM_CANUNDO 0x00C6
#define EM_UNDO 0x00C7
#define EM_SETPASSWORDCHAR 0x00CC
#define EM_EMPTYUNDOBUFFER 0x00CD
#define EM_SETREADONLY 0x00CF
#define EM_GETPASSWORDCHAR 0x00D2
#define EM_GETLIMITTEXT 0x00D5

// ---------------------------------------------------------------- list box

#define LBS_NOTIFY 0x0001L
#define LBS_SORT 0x0002L
#define LBS_NOREDRAW 0x0004L
#define LBS_MULTIPLESEL 0x0008L
#define LBS_OWNERDRAWFIXED 0x0010L
#define LBS_OWNERDRAWVARIABLE 0x0020L
#define LBS_HASSTRINGS 0x0040L
#define LBS_USETABSTOPS 0x0080L
#define LBS_NOINTEGRALHEIGHT 0x0100L
#define LBS_MULTICOLUMN 0x0200L
#define LBS_WANTKEYBOARDINPUT 0x0400L
#define LBS_EXTENDEDSEL 0x0800L
#define LBS_DISABLENOSCROLL 0x1000L
#define LBS_NOSEL 0x4000L
#define LBS_STANDARD (LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER)

#define LB_OKAY 0
#define LB_ERR (-1)
#define LB_ERRSPACE (-2)
#define LB_ADDSTRING 0x0180
#define LB_INSERTSTRING 0x0181
#define LB_DELETESTRING 0x0182
#define LB_SELITEMRANGEEX 0x0183
#define LB_RESETCONTENT 0x0184
#define LB_SETSEL 0x0185
#define LB_SETCURSEL 0x0186
#define LB_GETSEL 0x0187
#define LB_GETCURSEL 0x0188
#define LB_GETTEXT 0x0189
#define LB_GETTEXTLEN 0x018A
#define LB_GETCOUNT 0x018B
#define LB_SELECTSTRING 0x018C
#define LB_GETTOPINDEX 0x018E
#define LB_FINDSTRING 0x018F
#define LB_GETSELCOUNT 0x0190
#define LB_GETSELITEMS 0x0191
#define LB_GETHORIZONTALEXTENT 0x0193
#define LB_SETHORIZONTALEXTENT 0x0194
#define LB_SETTOPINDEX 0x0197
#define LB_GETITEMRECT 0x0198
#define LB_GETITEMDATA 0x0199
#define LB_SETITEMDATA 0x019A
#define LB_SETCARETINDEX 0x019E
#define LB_GETCARETINDEX 0x019F
#define LB_SETITEMHEIGHT 0x01A0
#define LB_GETITEMHEIGHT 0x01A1
#define LB_FINDSTRINGEXACT 0x01A2
#define LB_ITEMFROMPOINT 0x01A9

// ---------------------------------------------------------------- combo box

#define CBS_SIMPLE 0x0001L
#define CBS_DROPDOWN 0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_OWNERDRAWFIXED 0x0010L
#define CBS_OWNERDRAWVARIABLE 0x0020L
#define CBS_AUTOHSCROLL 0x0040L
#define CBS_OEMCONVERT 0x0080L
#define CBS_SORT 0x0100L
#define CBS_HASSTRINGS 0x0200L
#define CBS_NOINTEGRALHEIGHT 0x0400L
#define CBS_DISABLENOSCROLL 0x0800L
#define CBS_UPPERCASE 0x2000L
#define CBS_LOWERCASE 0x4000L

#define CB_OKAY 0
#define CB_ERR (-1)
#define CB_ERRSPACE (-2)
#define CB_GETEDITSEL 0x0140
#define CB_LIMITTEXT 0x0141
#define CB_SETEDITSEL 0x0142
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_FINDSTRING 0x014C
#define CB_SELECTSTRING 0x014D
#define CB_SETCURSEL 0x014E
#define CB_SHOWDROPDOWN 0x014F
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_GETDROPPEDCONTROLRECT 0x0152
#define CB_SETITEMHEIGHT 0x0153
#define CB_GETITEMHEIGHT 0x0154
#define CB_GETDROPPEDSTATE 0x0157
#define CB_FINDSTRINGEXACT 0x0158
#define CB_GETTOPINDEX 0x015B
#define CB_SETTOPINDEX 0x015C
#define CB_GETDROPPEDWIDTH 0x015F
#define CB_SETDROPPEDWIDTH 0x0160

struct COMBOBOXINFO {
  DWORD cbSize;
  RECT rcItem;
  RECT rcButton;
  DWORD stateButton;
  HWND hwndCombo;
  HWND hwndItem;
  HWND hwndList;
};
typedef COMBOBOXINFO* PCOMBOBOXINFO;
#define STATE_SYSTEM_PRESSED 0x00000008
#define STATE_SYSTEM_INVISIBLE 0x00008000
PLATFORM_API BOOL GetComboBoxInfo(HWND combo, PCOMBOBOXINFO info);

// ---------------------------------------------------------------- scroll bars

#define SBS_HORZ 0x0000L
#define SBS_VERT 0x0001L
#define SBS_TOPALIGN 0x0002L
#define SBS_LEFTALIGN 0x0002L
#define SBS_BOTTOMALIGN 0x0004L
#define SBS_RIGHTALIGN 0x0004L
#define SBS_SIZEBOX 0x0008L
#define SBS_SIZEGRIP 0x0010L

#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_BOTH 3

#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_DISABLENOSCROLL 0x0008
#define SIF_TRACKPOS 0x0010
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)

#define ESB_ENABLE_BOTH 0x0000
#define ESB_DISABLE_BOTH 0x0003
#define ESB_DISABLE_LEFT 0x0001
#define ESB_DISABLE_RIGHT 0x0002
#define ESB_DISABLE_UP 0x0001
#define ESB_DISABLE_DOWN 0x0002

#define SBM_SETPOS 0x00E0
#define SBM_GETPOS 0x00E1
#define SBM_SETRANGE 0x00E2
#define SBM_SETRANGEREDRAW 0x00E6
#define SBM_GETRANGE 0x00E3
#define SBM_ENABLE_ARROWS 0x00E4
#define SBM_SETSCROLLINFO 0x00E9
#define SBM_GETSCROLLINFO 0x00EA

struct SCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
};
typedef SCROLLINFO* LPSCROLLINFO;
typedef const SCROLLINFO* LPCSCROLLINFO;

// Window scroll bars (WS_HSCROLL, WS_VSCROLL) and scroll bar controls (SB_CTL).
PLATFORM_API int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw);
PLATFORM_API BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info);
PLATFORM_API int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
PLATFORM_API int GetScrollPos(HWND hwnd, int bar);
PLATFORM_API BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
PLATFORM_API BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos);
PLATFORM_API BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
PLATFORM_API BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);

// For the window manager's default non-client handling: draws the bars of a
// window with WS_HSCROLL/WS_VSCROLL, and turns a click on one (hit code
// HTHSCROLL/HTVSCROLL, screen point) into WM_HSCROLL/WM_VSCROLL.
PLATFORM_API void PlatformPaintWindowScrollBars(HWND hwnd);
PLATFORM_API BOOL PlatformWindowScrollBarClick(HWND hwnd, int hit, POINT screen);

// Flat scroll bars: drawn as the window's own scroll bars here.
#define WSB_PROP_VSTYLE 0x00000100L
#define WSB_PROP_HSTYLE 0x00000200L
#define FSB_FLAT_MODE 2
#define FSB_ENCARTA_MODE 1
#define FSB_REGULAR_MODE 0
PLATFORM_API BOOL InitializeFlatSB(HWND hwnd);
PLATFORM_API LONG UninitializeFlatSB(HWND hwnd);
PLATFORM_API BOOL FlatSB_ShowScrollBar(HWND hwnd, int bar, BOOL show);
PLATFORM_API BOOL FlatSB_EnableScrollBar(HWND hwnd, int bar, UINT arrows);
PLATFORM_API int FlatSB_SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw);
PLATFORM_API BOOL FlatSB_GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info);
PLATFORM_API int FlatSB_SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
PLATFORM_API int FlatSB_GetScrollPos(HWND hwnd, int bar);
PLATFORM_API BOOL FlatSB_SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
PLATFORM_API BOOL FlatSB_SetScrollProp(HWND hwnd, UINT index, INT_PTR value, BOOL redraw);

// ---------------------------------------------------------------- progress bar

#define PBS_SMOOTH 0x01
#define PBS_VERTICAL 0x04
#define PBM_SETRANGE (WM_USER + 1)
#define PBM_SETPOS (WM_USER + 2)
#define PBM_DELTAPOS (WM_USER + 3)
#define PBM_SETSTEP (WM_USER + 4)
#define PBM_STEPIT (WM_USER + 5)
#define PBM_SETRANGE32 (WM_USER + 6)
#define PBM_GETRANGE (WM_USER + 7)
#define PBM_GETPOS (WM_USER + 8)
#define PBM_SETBARCOLOR (WM_USER + 9)
#define PBM_SETBKCOLOR 0x2001
struct PBRANGE {
  int iLow;
  int iHigh;
};
typedef PBRANGE* PPBRANGE;

// ---------------------------------------------------------------- IP address control

#define IPM_CLEARADDRESS (WM_USER + 100)
#define IPM_SETADDRESS (WM_USER + 101)
#define IPM_GETADDRESS (WM_USER + 102)
#define IPM_SETRANGE (WM_USER + 103)
#define IPM_SETFOCUS (WM_USER + 104)
#define IPM_ISBLANK (WM_USER + 105)
#define IPN_FIELDCHANGED (0U - 860U)
#define MAKEIPRANGE(low, high) ((LPARAM)(WORD)(((BYTE)(high) << 8) + (BYTE)(low)))
#define MAKEIPADDRESS(b1, b2, b3, b4) \
  ((LPARAM)(((DWORD)(b1) << 24) + ((DWORD)(b2) << 16) + ((DWORD)(b3) << 8) + ((DWORD)(b4))))
#define FIRST_IPADDRESS(x) ((x >> 24) & 0xff)
#define SECOND_IPADDRESS(x) ((x >> 16) & 0xff)
#define THIRD_IPADDRESS(x) ((x >> 8) & 0xff)
#define FOURTH_IPADDRESS(x) (x & 0xff)
struct NMIPADDRESS {
  NMHDR hdr;
  int iField;
  int iValue;
};
typedef NMIPADDRESS* LPNMIPADDRESS;

// The clipboard lives in the window manager (Clipboard.h); the edit control copies and pastes through it.
#include "Clipboard.h"
