// The window manager as the program uses it: window classes and procedures,
// the window tree, per-thread message queues, timers, socket notices, input
// routing, the paint cycle, the non-client area and modal loops.
#pragma once

#include "Handles.h"
#include "LastError.h"
#include "Threads.h"
#include "CRect.h"
#include "Gdi.h"
#include "Types.h"

// ---------------------------------------------------------------- types

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
typedef BOOL(CALLBACK* WNDENUMPROC)(HWND, LPARAM);

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
typedef MSG* LPMSG;

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};
typedef WNDCLASSA WNDCLASS;
typedef WNDCLASS* LPWNDCLASS;

struct WNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
};
typedef WNDCLASSEXA WNDCLASSEX;

struct CREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};
typedef CREATESTRUCTA CREATESTRUCT;
typedef CREATESTRUCT* LPCREATESTRUCT;

struct WINDOWPOS {
  HWND hwnd;
  HWND hwndInsertAfter;
  int x;
  int y;
  int cx;
  int cy;
  UINT flags;
};
typedef WINDOWPOS* LPWINDOWPOS;

struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  WINDOWPOS* lppos;
};
typedef NCCALCSIZE_PARAMS* LPNCCALCSIZE_PARAMS;

struct MINMAXINFO {
  POINT ptReserved;
  POINT ptMaxSize;
  POINT ptMaxPosition;
  POINT ptMinTrackSize;
  POINT ptMaxTrackSize;
};
typedef MINMAXINFO* LPMINMAXINFO;

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
typedef PAINTSTRUCT* LPPAINTSTRUCT;

struct STYLESTRUCT {
  DWORD styleOld;
  DWORD styleNew;
};
typedef STYLESTRUCT* LPSTYLESTRUCT;

struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};
typedef NMHDR* LPNMHDR;

struct DRAWITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;
  HDC hDC;
  RECT rcItem;
  ULONG_PTR itemData;
};
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

struct MEASUREITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemWidth;
  UINT itemHeight;
  ULONG_PTR itemData;
};
typedef MEASUREITEMSTRUCT* LPMEASUREITEMSTRUCT;

struct DELETEITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  HWND hwndItem;
  ULONG_PTR itemData;
};
typedef DELETEITEMSTRUCT* LPDELETEITEMSTRUCT;

struct COMPAREITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  HWND hwndItem;
  UINT itemID1;
  ULONG_PTR itemData1;
  UINT itemID2;
  ULONG_PTR itemData2;
  DWORD dwLocaleId;
};
typedef COMPAREITEMSTRUCT* LPCOMPAREITEMSTRUCT;


struct NONCLIENTMETRICSA {
  UINT cbSize;
  int iBorderWidth;
  int iScrollWidth;
  int iScrollHeight;
  int iCaptionWidth;
  int iCaptionHeight;
  LOGFONTA lfCaptionFont;
  int iSmCaptionWidth;
  int iSmCaptionHeight;
  LOGFONTA lfSmCaptionFont;
  int iMenuWidth;
  int iMenuHeight;
  LOGFONTA lfMenuFont;
  LOGFONTA lfStatusFont;
  LOGFONTA lfMessageFont;
};
typedef NONCLIENTMETRICSA NONCLIENTMETRICS;

// ---------------------------------------------------------------- window styles

#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_TILED WS_OVERLAPPED
#define WS_ICONIC WS_MINIMIZE
#define WS_SIZEBOX WS_THICKFRAME
#define WS_OVERLAPPEDWINDOW (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)
#define WS_CHILDWINDOW WS_CHILD

#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_NOPARENTNOTIFY 0x00000004L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_ACCEPTFILES 0x00000010L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_MDICHILD 0x00000040L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_CONTEXTHELP 0x00000400L
#define WS_EX_RIGHT 0x00001000L
#define WS_EX_LEFT 0x00000000L
#define WS_EX_RTLREADING 0x00002000L
#define WS_EX_LEFTSCROLLBAR 0x00004000L
#define WS_EX_CONTROLPARENT 0x00010000L
#define WS_EX_STATICEDGE 0x00020000L
#define WS_EX_APPWINDOW 0x00040000L
#define WS_EX_LAYERED 0x00080000L
#define WS_EX_NOACTIVATE 0x08000000L
#define WS_EX_OVERLAPPEDWINDOW (WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE)

#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define CS_CLASSDC 0x0040
#define CS_PARENTDC 0x0080
#define CS_NOCLOSE 0x0200
#define CS_SAVEBITS 0x0800
#define CS_GLOBALCLASS 0x4000

#define CW_USEDEFAULT ((int)0x80000000)
#define HWND_DESKTOP ((HWND)0)
#define HWND_TOP ((HWND)0)
#define HWND_BOTTOM ((HWND)1)
#define HWND_TOPMOST ((HWND)-1)
#define HWND_NOTOPMOST ((HWND)-2)
#define HWND_MESSAGE ((HWND)-3)
#define HWND_BROADCAST ((HWND)0xffff)

#define MAKEINTATOM(i) ((LPCSTR)((ULONG_PTR)((WORD)(i))))
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)

// ---------------------------------------------------------------- window data

#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_HWNDPARENT (-8)
#define GWLP_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)
#define GWL_WNDPROC GWLP_WNDPROC
#define GWL_HINSTANCE GWLP_HINSTANCE
#define GWL_ID GWLP_ID
#define GWL_USERDATA GWLP_USERDATA
#define GWL_HWNDPARENT GWLP_HWNDPARENT
#define DWLP_MSGRESULT 0
#define DWLP_DLGPROC (DWLP_MSGRESULT + (int)sizeof(LRESULT))
#define DWLP_USER (DWLP_DLGPROC + (int)sizeof(void*))
#define DWL_MSGRESULT DWLP_MSGRESULT
#define DLGWINDOWEXTRA 30

#define GCLP_MENUNAME (-8)
#define GCLP_HBRBACKGROUND (-10)
#define GCLP_HCURSOR (-12)
#define GCLP_HICON (-14)
#define GCLP_HMODULE (-16)
#define GCL_CBWNDEXTRA (-18)
#define GCL_CBCLSEXTRA (-20)
#define GCLP_WNDPROC (-24)
#define GCL_STYLE (-26)
#define GCW_ATOM (-32)
#define GCLP_HICONSM (-34)
// The 32-bit names of the handle slots. Handles are pointers here, so
// SetClassLong and GetClassLong carry them pointer-sized, never cut to 32 bits.
#define GCL_MENUNAME GCLP_MENUNAME
#define GCL_HBRBACKGROUND GCLP_HBRBACKGROUND
#define GCL_HCURSOR GCLP_HCURSOR
#define GCL_HICON GCLP_HICON
#define GCL_HMODULE GCLP_HMODULE
#define GCL_WNDPROC GCLP_WNDPROC
#define GCL_HICONSM GCLP_HICONSM

#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5
#define GW_ENABLEDPOPUP 6

#define GA_PARENT 1
#define GA_ROOT 2
#define GA_ROOTOWNER 3

// ---------------------------------------------------------------- ShowWindow, SetWindowPos, RedrawWindow

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10
#define SW_FORCEMINIMIZE 11

#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOCOPYBITS 0x0100
#define SWP_NOOWNERZORDER 0x0200
#define SWP_NOSENDCHANGING 0x0400
#define SWP_DRAWFRAME SWP_FRAMECHANGED
#define SWP_NOREPOSITION SWP_NOOWNERZORDER
#define SWP_DEFERERASE 0x2000
#define SWP_ASYNCWINDOWPOS 0x4000

#define RDW_INVALIDATE 0x0001
#define RDW_INTERNALPAINT 0x0002
#define RDW_ERASE 0x0004
#define RDW_VALIDATE 0x0008
#define RDW_NOINTERNALPAINT 0x0010
#define RDW_NOERASE 0x0020
#define RDW_NOCHILDREN 0x0040
#define RDW_ALLCHILDREN 0x0080
#define RDW_UPDATENOW 0x0100
#define RDW_ERASENOW 0x0200
#define RDW_FRAME 0x0400
#define RDW_NOFRAME 0x0800

#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2
#define SIZE_MAXSHOW 3
#define SIZE_MAXHIDE 4

#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2

#define MA_ACTIVATE 1
#define MA_ACTIVATEANDEAT 2
#define MA_NOACTIVATE 3
#define MA_NOACTIVATEANDEAT 4

#define ICON_SMALL 0
#define ICON_BIG 1

// ---------------------------------------------------------------- messages

#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETREDRAW 0x000B
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUERYENDSESSION 0x0011
#define WM_QUIT 0x0012
#define WM_QUERYOPEN 0x0013
#define WM_ERASEBKGND 0x0014
#define WM_SYSCOLORCHANGE 0x0015
#define WM_ENDSESSION 0x0016
#define WM_SHOWWINDOW 0x0018
#define WM_CTLCOLOR 0x0019
#define WM_SETTINGCHANGE 0x001A
#define WM_WININICHANGE 0x001A
#define WM_ACTIVATEAPP 0x001C
#define WM_FONTCHANGE 0x001D
#define WM_TIMECHANGE 0x001E
#define WM_CANCELMODE 0x001F
#define WM_SETCURSOR 0x0020
#define WM_MOUSEACTIVATE 0x0021
#define WM_CHILDACTIVATE 0x0022
#define WM_QUEUESYNC 0x0023
#define WM_GETMINMAXINFO 0x0024
#define WM_PAINTICON 0x0026
#define WM_ICONERASEBKGND 0x0027
#define WM_NEXTDLGCTL 0x0028
#define WM_DRAWITEM 0x002B
#define WM_MEASUREITEM 0x002C
#define WM_DELETEITEM 0x002D
#define WM_VKEYTOITEM 0x002E
#define WM_CHARTOITEM 0x002F
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_QUERYDRAGICON 0x0037
#define WM_COMPAREITEM 0x0039
#define WM_WINDOWPOSCHANGING 0x0046
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_NOTIFY 0x004E
#define WM_CONTEXTMENU 0x007B
#define WM_STYLECHANGING 0x007C
#define WM_STYLECHANGED 0x007D
#define WM_DISPLAYCHANGE 0x007E
#define WM_GETICON 0x007F
#define WM_SETICON 0x0080
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_NCCALCSIZE 0x0083
#define WM_NCHITTEST 0x0084
#define WM_NCPAINT 0x0085
#define WM_NCACTIVATE 0x0086
#define WM_GETDLGCODE 0x0087
#define WM_NCMOUSEMOVE 0x00A0
#define WM_NCLBUTTONDOWN 0x00A1
#define WM_NCLBUTTONUP 0x00A2
#define WM_NCLBUTTONDBLCLK 0x00A3
#define WM_NCRBUTTONDOWN 0x00A4
#define WM_NCRBUTTONUP 0x00A5
#define WM_NCRBUTTONDBLCLK 0x00A6
#define WM_NCMBUTTONDOWN 0x00A7
#define WM_NCMBUTTONUP 0x00A8
#define WM_NCMBUTTONDBLCLK 0x00A9
#define WM_KEYFIRST 0x0100
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_DEADCHAR 0x0103
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_SYSDEADCHAR 0x0107
#define WM_KEYLAST 0x0108
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_INITMENU 0x0116
#define WM_INITMENUPOPUP 0x0117
#define WM_MENUSELECT 0x011F
#define WM_MENUCHAR 0x0120
#define WM_ENTERIDLE 0x0121
#define WM_CTLCOLORMSGBOX 0x0132
#define WM_CTLCOLOREDIT 0x0133
#define WM_CTLCOLORLISTBOX 0x0134
#define WM_CTLCOLORBTN 0x0135
#define WM_CTLCOLORDLG 0x0136
#define WM_CTLCOLORSCROLLBAR 0x0137
#define WM_CTLCOLORSTATIC 0x0138
#define WM_MOUSEFIRST 0x0200
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MBUTTONDBLCLK 0x0209
#define WM_MOUSEWHEEL 0x020A
#define WHEEL_DELTA 120
#define WM_MOUSELAST 0x020A
#define WM_PARENTNOTIFY 0x0210
#define WM_ENTERMENULOOP 0x0211
#define WM_EXITMENULOOP 0x0212
#define WM_SIZING 0x0214
#define WMSZ_LEFT 1
#define WMSZ_RIGHT 2
#define WMSZ_TOP 3
#define WMSZ_TOPLEFT 4
#define WMSZ_TOPRIGHT 5
#define WMSZ_BOTTOM 6
#define WMSZ_BOTTOMLEFT 7
#define WMSZ_BOTTOMRIGHT 8
#define WM_CAPTURECHANGED 0x0215
#define WM_MOVING 0x0216
#define WM_ENTERSIZEMOVE 0x0231
#define WM_EXITSIZEMOVE 0x0232
#define WM_MOUSEHOVER 0x02A1
#define WM_MOUSELEAVE 0x02A3
#define WM_CUT 0x0300
#define WM_COPY 0x0301
#define WM_PASTE 0x0302
#define WM_CLEAR 0x0303
#define WM_UNDO 0x0304
#define WM_PRINT 0x0317
#define WM_PRINTCLIENT 0x0318
#define WM_THEMECHANGED 0x031A
#define WM_USER 0x0400
#define WM_APP 0x8000

// Private messages of the class layer (the range the class library reserves).
#define WM_QUERYAFXWNDPROC 0x0360
#define WM_SIZEPARENT 0x0361
#define WM_IDLEUPDATECMDUI 0x0363
#define WM_INITIALUPDATE 0x0364
#define WM_COMMANDHELP 0x0365
#define WM_HELPHITTEST 0x0366
#define WM_EXITHELPMODE 0x0367
#define WM_RECALCPARENT 0x0368
#define WM_SIZECHILD 0x0369
#define WM_KICKIDLE 0x036A
#define WM_QUERYCENTERWND 0x036B
#define WM_DISABLEMODAL 0x036C
#define WM_FLOATSTATUS 0x036D
#define WM_ACTIVATETOPLEVEL 0x036E
#define WM_REFLECT_BASE 0xBC00

// WM_NCHITTEST codes.
#define HTERROR (-2)
#define HTTRANSPARENT (-1)
#define HTNOWHERE 0
#define HTCLIENT 1
#define HTCAPTION 2
#define HTSYSMENU 3
#define HTGROWBOX 4
#define HTSIZE HTGROWBOX
#define HTMENU 5
#define HTHSCROLL 6
#define HTVSCROLL 7
#define HTMINBUTTON 8
#define HTMAXBUTTON 9
#define HTLEFT 10
#define HTRIGHT 11
#define HTTOP 12
#define HTTOPLEFT 13
#define HTTOPRIGHT 14
#define HTBOTTOM 15
#define HTBOTTOMLEFT 16
#define HTBOTTOMRIGHT 17
#define HTBORDER 18
#define HTREDUCE HTMINBUTTON
#define HTZOOM HTMAXBUTTON
#define HTCLOSE 20
#define HTHELP 21

// WM_SYSCOMMAND codes.
#define SC_SIZE 0xF000
#define SC_MOVE 0xF010
#define SC_MINIMIZE 0xF020
#define SC_MAXIMIZE 0xF030
#define SC_NEXTWINDOW 0xF040
#define SC_PREVWINDOW 0xF050
#define SC_CLOSE 0xF060
#define SC_VSCROLL 0xF070
#define SC_HSCROLL 0xF080
#define SC_MOUSEMENU 0xF090
#define SC_KEYMENU 0xF100
#define SC_RESTORE 0xF120
#define SC_TASKLIST 0xF130
#define SC_ICON SC_MINIMIZE
#define SC_ZOOM SC_MAXIMIZE

// Mouse key states.
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010

// PeekMessage.
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

// MsgWaitForMultipleObjects.
#define QS_KEY 0x0001
#define QS_MOUSEMOVE 0x0002
#define QS_MOUSEBUTTON 0x0004
#define QS_POSTMESSAGE 0x0008
#define QS_TIMER 0x0010
#define QS_PAINT 0x0020
#define QS_SENDMESSAGE 0x0040
#define QS_HOTKEY 0x0080
#define QS_MOUSE (QS_MOUSEMOVE | QS_MOUSEBUTTON)
#define QS_INPUT (QS_MOUSE | QS_KEY)
#define QS_ALLEVENTS (QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY)
#define QS_ALLINPUT (QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY | QS_SENDMESSAGE)
#define MWMO_WAITALL 0x0001
#define MWMO_ALERTABLE 0x0002
#define MWMO_INPUTAVAILABLE 0x0004

// Virtual keys.
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_CANCEL 0x03
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_CLEAR 0x0C
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SELECT 0x29
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_HELP 0x2F
#define VK_NUMPAD0 0x60
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SEPARATOR 0x6C
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F10 0x79
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_LMENU 0xA4
#define VK_RMENU 0xA5
#define VK_OEM_1 0xBA
#define VK_OEM_PLUS 0xBB
#define VK_OEM_COMMA 0xBC
#define VK_OEM_MINUS 0xBD
#define VK_OEM_PERIOD 0xBE
#define VK_OEM_2 0xBF
#define VK_OEM_3 0xC0

// Command identifiers and message boxes.
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDCLOSE 8
#define IDHELP 9

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0L
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFMASK 0x00000F00L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L

// Control notifications carried in WM_COMMAND and WM_NOTIFY that the class layer names.
#define BN_CLICKED 0
#define BN_DOUBLECLICKED 5
#define BN_SETFOCUS 6
#define BN_KILLFOCUS 7
#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#define EN_UPDATE 0x0400
#define EN_ERRSPACE 0x0500
#define EN_MAXTEXT 0x0501
#define EN_HSCROLL 0x0601
#define EN_VSCROLL 0x0602
#define CBN_ERRSPACE (-1)
#define CBN_SELCHANGE 1
#define CBN_DBLCLK 2
#define CBN_SETFOCUS 3
#define CBN_KILLFOCUS 4
#define CBN_EDITCHANGE 5
#define CBN_EDITUPDATE 6
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8
#define CBN_SELENDOK 9
#define CBN_SELENDCANCEL 10
#define LBN_ERRSPACE (-2)
#define LBN_SELCHANGE 1
#define LBN_DBLCLK 2
#define LBN_SELCANCEL 3
#define LBN_SETFOCUS 4
#define LBN_KILLFOCUS 5
#define STN_CLICKED 0
#define STN_DBLCLK 1
#define STN_ENABLE 2
#define STN_DISABLE 3

#define NM_FIRST 0u
#define NM_OUTOFMEMORY (NM_FIRST - 1)
#define NM_CLICK (NM_FIRST - 2)
#define NM_DBLCLK (NM_FIRST - 3)
#define NM_RETURN (NM_FIRST - 4)
#define NM_RCLICK (NM_FIRST - 5)
#define NM_RDBLCLK (NM_FIRST - 6)
#define NM_SETFOCUS (NM_FIRST - 7)
#define NM_KILLFOCUS (NM_FIRST - 8)
#define NM_CUSTOMDRAW (NM_FIRST - 12)
#define NM_HOVER (NM_FIRST - 13)

// Owner-draw control types.
#define ODT_MENU 1
#define ODT_LISTBOX 2
#define ODT_COMBOBOX 3
#define ODT_BUTTON 4
#define ODT_STATIC 5

// WM_CTLCOLOR kinds (the class layer's OnCtlColor).
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6

// Scroll codes.
#define SB_LINEUP 0
#define SB_LINELEFT 0
#define SB_LINEDOWN 1
#define SB_LINERIGHT 1
#define SB_PAGEUP 2
#define SB_PAGELEFT 2
#define SB_PAGEDOWN 3
#define SB_PAGERIGHT 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_LEFT 6
#define SB_BOTTOM 7
#define SB_RIGHT 7
#define SB_ENDSCROLL 8

// System metrics (values: see SystemMetrics.cpp).
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXVSCROLL 2
#define SM_CYHSCROLL 3
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CYVTHUMB 9
#define SM_CXHTHUMB 10
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXCURSOR 13
#define SM_CYCURSOR 14
#define SM_CYMENU 15
#define SM_CXFULLSCREEN 16
#define SM_CYFULLSCREEN 17
#define SM_CYKANJIWINDOW 18
#define SM_MOUSEPRESENT 19
#define SM_CYVSCROLL 20
#define SM_CXHSCROLL 21
#define SM_DEBUG 22
#define SM_SWAPBUTTON 23
#define SM_CXMIN 28
#define SM_CYMIN 29
#define SM_CXSIZE 30
#define SM_CYSIZE 31
#define SM_CXFRAME 32
#define SM_CYFRAME 33
#define SM_CXMINTRACK 34
#define SM_CYMINTRACK 35
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
#define SM_CXICONSPACING 38
#define SM_CYICONSPACING 39
#define SM_MENUDROPALIGNMENT 40
#define SM_CXFIXEDFRAME SM_CXDLGFRAME
#define SM_CYFIXEDFRAME SM_CYDLGFRAME
#define SM_CXSIZEFRAME SM_CXFRAME
#define SM_CYSIZEFRAME SM_CYFRAME
#define SM_CMOUSEBUTTONS 43
#define SM_SECURE 44
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_CXSMICON 49
#define SM_CYSMICON 50
#define SM_CYSMCAPTION 51
#define SM_CXSMSIZE 52
#define SM_CYSMSIZE 53
#define SM_CXMENUSIZE 54
#define SM_CYMENUSIZE 55
#define SM_CXMINIMIZED 57
#define SM_CYMINIMIZED 58
#define SM_CXMAXTRACK 59
#define SM_CYMAXTRACK 60
#define SM_CXMAXIMIZED 61
#define SM_CYMAXIMIZED 62
#define SM_NETWORK 63
#define SM_CXDRAG 68
#define SM_CYDRAG 69
#define SM_SHOWSOUNDS 70
#define SM_CXMENUCHECK 71
#define SM_CYMENUCHECK 72
#define SM_MOUSEWHEELPRESENT 75
#define SM_XVIRTUALSCREEN 76
#define SM_YVIRTUALSCREEN 77
#define SM_CXVIRTUALSCREEN 78
#define SM_CYVIRTUALSCREEN 79
#define SM_CMONITORS 80
#define SM_REMOTESESSION 0x1000

// SystemParametersInfo.
#define SPI_GETWORKAREA 0x0030
#define SPI_GETNONCLIENTMETRICS 0x0029
#define SPI_GETICONTITLELOGFONT 0x001F
#define SPI_GETDRAGFULLWINDOWS 0x0026
#define SPI_GETKEYBOARDCUES 0x100A
#define SPI_GETFLATMENU 0x1022

// System bitmaps (LoadBitmap with no instance).
#define OBM_CHECK 32760

// Cursor identifiers (LoadCursor with no instance).
#define IDC_ARROW MAKEINTATOM(32512)
#define IDC_IBEAM MAKEINTATOM(32513)
#define IDC_WAIT MAKEINTATOM(32514)
#define IDC_CROSS MAKEINTATOM(32515)
#define IDC_UPARROW MAKEINTATOM(32516)
#define IDC_SIZENWSE MAKEINTATOM(32642)
#define IDC_SIZENESW MAKEINTATOM(32643)
#define IDC_SIZEWE MAKEINTATOM(32644)
#define IDC_SIZENS MAKEINTATOM(32645)
#define IDC_SIZEALL MAKEINTATOM(32646)
#define IDC_NO MAKEINTATOM(32648)
#define IDC_HAND MAKEINTATOM(32649)
#define IDC_APPSTARTING MAKEINTATOM(32650)

// Error codes of SetLastError that the window manager sets.
#define ERROR_INVALID_WINDOW_HANDLE 1400
#define ERROR_CANNOT_FIND_WND_CLASS 1407
#define ERROR_CLASS_ALREADY_EXISTS 1410
#define ERROR_CLASS_DOES_NOT_EXIST 1411
#define ERROR_WINDOW_OF_OTHER_THREAD 1408

// ---------------------------------------------------------------- functions

// Classes.
PLATFORM_API ATOM RegisterClassA(const WNDCLASSA* wc);
PLATFORM_API ATOM RegisterClassExA(const WNDCLASSEXA* wc);
PLATFORM_API BOOL UnregisterClassA(LPCSTR name, HINSTANCE instance);
PLATFORM_API BOOL GetClassInfoA(HINSTANCE instance, LPCSTR name, WNDCLASSA* wc);
PLATFORM_API BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR name, WNDCLASSEXA* wc);
PLATFORM_API int GetClassNameA(HWND hwnd, LPSTR name, int size);
PLATFORM_API ULONG_PTR GetClassLongPtrA(HWND hwnd, int index);
PLATFORM_API ULONG_PTR SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value);
#define RegisterClass RegisterClassA
#define RegisterClassEx RegisterClassExA
#define UnregisterClass UnregisterClassA
#define GetClassInfo GetClassInfoA
#define GetClassInfoEx GetClassInfoExA
#define GetClassName GetClassNameA
#define GetClassLongPtr GetClassLongPtrA
#define SetClassLongPtr SetClassLongPtrA
#define GetClassLong GetClassLongPtrA
#define SetClassLong SetClassLongPtrA

// Windows.
PLATFORM_API HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                                  int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
#define CreateWindowEx CreateWindowExA
#define CreateWindowA(c, n, s, x, y, w, h, p, m, i, a) CreateWindowExA(0, c, n, s, x, y, w, h, p, m, i, a)
#define CreateWindow CreateWindowA
PLATFORM_API BOOL DestroyWindow(HWND hwnd);
PLATFORM_API BOOL IsWindow(HWND hwnd);
PLATFORM_API LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
#define DefWindowProc DefWindowProcA
PLATFORM_API LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
#define CallWindowProc CallWindowProcA
PLATFORM_API LONG_PTR GetWindowLongPtrA(HWND hwnd, int index);
PLATFORM_API LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value);
#define GetWindowLongPtr GetWindowLongPtrA
#define SetWindowLongPtr SetWindowLongPtrA
PLATFORM_API LONG GetWindowLongA(HWND hwnd, int index);
PLATFORM_API LONG SetWindowLongA(HWND hwnd, int index, LONG value);
#define GetWindowLong GetWindowLongA
#define SetWindowLong SetWindowLongA
PLATFORM_API DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId);

// The tree.
PLATFORM_API HWND GetDesktopWindow();
PLATFORM_API HWND GetParent(HWND hwnd);
PLATFORM_API HWND SetParent(HWND hwnd, HWND newParent);
PLATFORM_API HWND GetAncestor(HWND hwnd, UINT flags);
PLATFORM_API HWND GetWindow(HWND hwnd, UINT cmd);
PLATFORM_API HWND GetTopWindow(HWND hwnd);
PLATFORM_API HWND GetNextWindow(HWND hwnd, UINT cmd);
PLATFORM_API BOOL IsChild(HWND parent, HWND hwnd);
PLATFORM_API HWND GetDlgItem(HWND dialog, int id);
PLATFORM_API int GetDlgCtrlID(HWND hwnd);
PLATFORM_API LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam);
#define SendDlgItemMessage SendDlgItemMessageA
PLATFORM_API BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
PLATFORM_API BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);
PLATFORM_API BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam);
PLATFORM_API HWND FindWindowA(LPCSTR className, LPCSTR windowName);
#define FindWindow FindWindowA
PLATFORM_API HWND GetLastActivePopup(HWND hwnd);

// Geometry.
PLATFORM_API BOOL GetWindowRect(HWND hwnd, LPRECT rc);
PLATFORM_API BOOL GetClientRect(HWND hwnd, LPRECT rc);
PLATFORM_API BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
PLATFORM_API BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
PLATFORM_API BOOL ClientToScreen(HWND hwnd, LPPOINT pt);
PLATFORM_API BOOL ScreenToClient(HWND hwnd, LPPOINT pt);
PLATFORM_API int MapWindowPoints(HWND from, HWND to, LPPOINT pts, UINT count);
PLATFORM_API BOOL AdjustWindowRect(LPRECT rc, DWORD style, BOOL menu);
PLATFORM_API BOOL AdjustWindowRectEx(LPRECT rc, DWORD style, BOOL menu, DWORD exStyle);
PLATFORM_API BOOL BringWindowToTop(HWND hwnd);

// State.
PLATFORM_API BOOL ShowWindow(HWND hwnd, int cmd);
PLATFORM_API BOOL IsWindowVisible(HWND hwnd);
PLATFORM_API BOOL EnableWindow(HWND hwnd, BOOL enable);
PLATFORM_API BOOL IsWindowEnabled(HWND hwnd);
PLATFORM_API BOOL IsIconic(HWND hwnd);
PLATFORM_API BOOL IsZoomed(HWND hwnd);

// Texts and properties.
PLATFORM_API BOOL SetWindowTextA(HWND hwnd, LPCSTR text);
PLATFORM_API int GetWindowTextA(HWND hwnd, LPSTR text, int size);
PLATFORM_API int GetWindowTextLengthA(HWND hwnd);
#define SetWindowText SetWindowTextA
#define GetWindowText GetWindowTextA
#define GetWindowTextLength GetWindowTextLengthA
PLATFORM_API BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data);
PLATFORM_API HANDLE GetPropA(HWND hwnd, LPCSTR name);
PLATFORM_API HANDLE RemovePropA(HWND hwnd, LPCSTR name);
#define SetProp SetPropA
#define GetProp GetPropA
#define RemoveProp RemovePropA

// Messages.
PLATFORM_API BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
PLATFORM_API BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove);
PLATFORM_API BOOL TranslateMessage(const MSG* msg);
PLATFORM_API LRESULT DispatchMessageA(const MSG* msg);
PLATFORM_API BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
PLATFORM_API BOOL PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam);
PLATFORM_API void PostQuitMessage(int exitCode);
PLATFORM_API LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
PLATFORM_API LRESULT SendMessageTimeoutA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags,
                                         UINT timeout, DWORD_PTR* result);
PLATFORM_API BOOL SendNotifyMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
PLATFORM_API BOOL InSendMessage();
PLATFORM_API BOOL ReplyMessage(LRESULT result);
PLATFORM_API UINT RegisterWindowMessageA(LPCSTR name);
PLATFORM_API DWORD GetMessagePos();
PLATFORM_API LONG GetMessageTime();
PLATFORM_API BOOL WaitMessage();
PLATFORM_API DWORD GetQueueStatus(UINT flags);
// Waits for input to the calling thread's queue. Only the message part is
// offered: `count` must be 0 (the program waits on no kernel objects this way).
PLATFORM_API DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                             DWORD wakeMask);
// A function rather than a macro: classes of the upper layers have methods
// named GetMessage (the error texts of CVHException), which a macro would rename.
inline BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  return GetMessageA(msg, hwnd, filterMin, filterMax);
}
#define PeekMessage PeekMessageA
#define DispatchMessage DispatchMessageA
#define PostMessage PostMessageA
#define PostThreadMessage PostThreadMessageA
#define SendMessage SendMessageA
#define SendMessageTimeout SendMessageTimeoutA
#define SendNotifyMessage SendNotifyMessageA
#define RegisterWindowMessage RegisterWindowMessageA
#define SMTO_NORMAL 0x0000
#define SMTO_BLOCK 0x0001
#define SMTO_ABORTIFHUNG 0x0002

// Timers.
PLATFORM_API UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
PLATFORM_API BOOL KillTimer(HWND hwnd, UINT_PTR id);
#define USER_TIMER_MINIMUM 0x0000000A
#define USER_TIMER_MAXIMUM 0x7FFFFFFF

// Input.
PLATFORM_API HWND SetFocus(HWND hwnd);
PLATFORM_API HWND GetFocus();
PLATFORM_API HWND SetCapture(HWND hwnd);
PLATFORM_API BOOL ReleaseCapture();
PLATFORM_API HWND GetCapture();
PLATFORM_API HWND SetActiveWindow(HWND hwnd);
PLATFORM_API HWND GetActiveWindow();
PLATFORM_API BOOL SetForegroundWindow(HWND hwnd);
PLATFORM_API HWND GetForegroundWindow();
PLATFORM_API HWND WindowFromPoint(POINT pt);
PLATFORM_API HWND ChildWindowFromPoint(HWND parent, POINT pt);
PLATFORM_API BOOL GetCursorPos(LPPOINT pt);
PLATFORM_API BOOL SetCursorPos(int x, int y);
PLATFORM_API HCURSOR SetCursor(HCURSOR cursor);
PLATFORM_API HCURSOR GetCursor();
PLATFORM_API int ShowCursor(BOOL show);
PLATFORM_API SHORT GetKeyState(int vk);
PLATFORM_API SHORT GetAsyncKeyState(int vk);
PLATFORM_API UINT GetDoubleClickTime();
PLATFORM_API BOOL DragDetect(HWND hwnd, POINT pt);
PLATFORM_API BOOL MessageBeep(UINT type);

// Painting.
PLATFORM_API HDC GetDC(HWND hwnd);
PLATFORM_API HDC GetWindowDC(HWND hwnd);
PLATFORM_API HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
PLATFORM_API int ReleaseDC(HWND hwnd, HDC hdc);
PLATFORM_API HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps);
PLATFORM_API BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
PLATFORM_API BOOL InvalidateRect(HWND hwnd, const RECT* rc, BOOL erase);
PLATFORM_API BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase);
PLATFORM_API BOOL ValidateRect(HWND hwnd, const RECT* rc);
PLATFORM_API BOOL ValidateRgn(HWND hwnd, HRGN rgn);
PLATFORM_API BOOL UpdateWindow(HWND hwnd);
PLATFORM_API BOOL RedrawWindow(HWND hwnd, const RECT* rc, HRGN rgn, UINT flags);
PLATFORM_API BOOL GetUpdateRect(HWND hwnd, LPRECT rc, BOOL erase);
PLATFORM_API int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase);
PLATFORM_API BOOL LockWindowUpdate(HWND hwnd);
PLATFORM_API BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip);
PLATFORM_API int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRgn,
                                LPRECT updateRect, UINT flags);
#define SW_SCROLLCHILDREN 0x0001
#define SW_INVALIDATE 0x0002
#define SW_ERASE 0x0004
#define SW_SMOOTHSCROLL 0x0010
#define DCX_WINDOW 0x00000001L
#define DCX_CACHE 0x00000002L
#define DCX_CLIPCHILDREN 0x00000008L
#define DCX_CLIPSIBLINGS 0x00000010L
#define DCX_PARENTCLIP 0x00000020L
#define DCX_EXCLUDERGN 0x00000040L
#define DCX_INTERSECTRGN 0x00000080L
#define DCX_LOCKWINDOWUPDATE 0x00000400L

// Metrics.
PLATFORM_API int GetSystemMetrics(int index);
PLATFORM_API BOOL SystemParametersInfoA(UINT action, UINT param, void* data, UINT winIni);
#define SystemParametersInfo SystemParametersInfoA

// Message boxes and modal loops.
PLATFORM_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
#define MessageBox MessageBoxA
