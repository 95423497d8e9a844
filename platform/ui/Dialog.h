// The dialog manager: dialogs made from templates, modal and modeless, the
// dialog procedure, keyboard navigation and dialog units.
#pragma once

#include "Resource.h"
#include "WinUser.h"

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define WC_DIALOG MAKEINTATOM(0x8002)
#define DIALOG_CLASS_NAME "#32770"

#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DM_REPOSITION (WM_USER + 2)
#define DC_HASDEFID 0x534B

// WM_GETDLGCODE answers.
#define DLGC_WANTARROWS 0x0001
#define DLGC_WANTTAB 0x0002
#define DLGC_WANTALLKEYS 0x0004
#define DLGC_WANTMESSAGE 0x0004
#define DLGC_HASSETSEL 0x0008
#define DLGC_DEFPUSHBUTTON 0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON 0x0040
#define DLGC_WANTCHARS 0x0080
#define DLGC_STATIC 0x0100
#define DLGC_BUTTON 0x2000

PLATFORM_API HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATE tpl, HWND parent, DLGPROC proc,
                                             LPARAM init);
PLATFORM_API HWND CreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc, LPARAM init);
PLATFORM_API INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATE tpl, HWND parent, DLGPROC proc,
                                             LPARAM init);
PLATFORM_API INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc, LPARAM init);
#define CreateDialogIndirectParam CreateDialogIndirectParamA
#define CreateDialogParam CreateDialogParamA
#define DialogBoxIndirectParam DialogBoxIndirectParamA
#define DialogBoxParam DialogBoxParamA
#define CreateDialog(i, n, p, f) CreateDialogParamA(i, n, p, f, 0)
#define DialogBox(i, n, p, f) DialogBoxParamA(i, n, p, f, 0)

PLATFORM_API LRESULT DefDlgProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
#define DefDlgProc DefDlgProcA
PLATFORM_API BOOL EndDialog(HWND dialog, INT_PTR result);
PLATFORM_API BOOL IsDialogMessageA(HWND dialog, LPMSG msg);
inline BOOL IsDialogMessage(HWND dialog, LPMSG msg) { return IsDialogMessageA(dialog, msg); }

PLATFORM_API BOOL MapDialogRect(HWND dialog, LPRECT rc);
PLATFORM_API LONG GetDialogBaseUnits();
PLATFORM_API HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
PLATFORM_API HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

PLATFORM_API BOOL CheckDlgButton(HWND dialog, int id, UINT check);
PLATFORM_API UINT IsDlgButtonChecked(HWND dialog, int id);
PLATFORM_API BOOL CheckRadioButton(HWND dialog, int first, int last, int check);
PLATFORM_API BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
PLATFORM_API UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int size);
PLATFORM_API BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
PLATFORM_API UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
// Functions, not macros: CWnd has members of these names.
inline BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text) { return SetDlgItemTextA(dialog, id, text); }
inline UINT GetDlgItemText(HWND dialog, int id, LPSTR text, int size) { return GetDlgItemTextA(dialog, id, text, size); }

// For the class layer, which makes the dialog window itself (so that its
// object is attached before the first message): sets the dialog procedure and
// font of `dialog`, creates the template's controls, sends WM_INITDIALOG and
// sets the initial focus. FALSE when a control could not be made.
PLATFORM_API BOOL PlatformFillDialog(HWND dialog, LPCDLGTEMPLATE tpl, DLGPROC proc, LPARAM init);
// The window rectangle (screen coordinates, frame included) and the class of
// the dialog window a template makes under `parent`.
PLATFORM_API RECT PlatformDialogWindowRect(LPCDLGTEMPLATE tpl, HWND parent);
PLATFORM_API LPCSTR PlatformDialogClass(LPCDLGTEMPLATE tpl);
// The dialog's result once EndDialog was called; FALSE while it runs.
PLATFORM_API BOOL PlatformDialogEnded(HWND dialog, INT_PTR* result);
// Push buttons tell their dialog when the focus comes or goes (`focus` is
// the window that has it now): the default look follows the focus among push
// buttons and returns to the default button when the focus leaves them.
PLATFORM_API void PlatformDialogFocusMoved(HWND dialog, HWND focus);
