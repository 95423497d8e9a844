// The program's resources: dialog templates, strings, bitmaps, icons, cursors
// and menus. They are written as C++ tables under res/ (see rc:: below) and
// register themselves when the program starts, so the loaders find them by id
// or name as they would find compiled resources.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "WinUser.h"

#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEA

// Dialog styles.
#define DS_ABSALIGN 0x01L
#define DS_SYSMODAL 0x02L
#define DS_LOCALEDIT 0x20L
#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L
#define DS_NOIDLEMSG 0x100L
#define DS_SETFOREGROUND 0x200L
#define DS_3DLOOK 0x0004L
#define DS_FIXEDSYS 0x0008L
#define DS_NOFAILCREATE 0x0010L
#define DS_CONTROL 0x0400L
#define DS_CENTER 0x0800L
#define DS_CENTERMOUSE 0x1000L
#define DS_CONTEXTHELP 0x2000L
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

// One control of a dialog template. Position and size are in dialog units.
struct DialogItemTemplate {
  std::string className;  // "Button", "Edit", "Static", "ListBox", "ComboBox", "ScrollBar", or any registered class
  std::string text;       // a text, or "#123" for a bitmap or icon id of a static
  int id = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  DWORD style = 0;        // WS_CHILD is implied
  DWORD exStyle = 0;
  std::vector<std::string> items;  // initial strings of a combo box or list box
};

// A dialog template. Position and size are in dialog units.
struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string caption;
  std::string fontFace;  // with DS_SETFONT
  int pointSize = 8;
  std::string className;  // empty: the dialog class
  std::vector<DialogItemTemplate> items;
};
typedef DialogTemplate DLGTEMPLATE;
typedef const DialogTemplate* LPCDLGTEMPLATE;

// Builders that read like a resource script. Styles given are added to the
// keyword's own; every control is WS_CHILD | WS_VISIBLE unless Hidden().
namespace rc {
DialogItemTemplate Control(const char* text, int id, const char* cls, DWORD style, int x, int y, int cx, int cy,
                           DWORD exStyle = 0);
DialogItemTemplate LText(const char* text, int id, int x, int y, int cx, int cy, DWORD style = 0, DWORD ex = 0);
DialogItemTemplate CText(const char* text, int id, int x, int y, int cx, int cy, DWORD style = 0, DWORD ex = 0);
DialogItemTemplate RText(const char* text, int id, int x, int y, int cx, int cy, DWORD style = 0, DWORD ex = 0);
DialogItemTemplate PushButton(const char* text, int id, int x, int y, int cx, int cy, DWORD style = 0, DWORD ex = 0);
DialogItemTemplate DefPushButton(const char* text, int id, int x, int y, int cx, int cy, DWORD style = 0,
                                 DWORD ex = 0);
DialogItemTemplate CheckBox(const char* text, int id, int x, int y, int cx, int cy, DWORD style = 0, DWORD ex = 0);
DialogItemTemplate AutoCheckBox(const char* text, int id, int x, int y, int cx, int cy, DWORD style = 0,
                                DWORD ex = 0);
DialogItemTemplate RadioButton(const char* text, int id, int x, int y, int cx, int cy, DWORD style = 0,
                               DWORD ex = 0);
DialogItemTemplate AutoRadioButton(const char* text, int id, int x, int y, int cx, int cy, DWORD style = 0,
                                   DWORD ex = 0);
DialogItemTemplate GroupBox(const char* text, int id, int x, int y, int cx, int cy, DWORD style = 0, DWORD ex = 0);
DialogItemTemplate EditText(int id, int x, int y, int cx, int cy, DWORD style = 0, DWORD ex = 0);
DialogItemTemplate ComboBox(int id, int x, int y, int cx, int cy, DWORD style = 0, std::vector<std::string> items = {},
                            DWORD ex = 0);
DialogItemTemplate ListBox(int id, int x, int y, int cx, int cy, DWORD style = 0, DWORD ex = 0);
DialogItemTemplate ScrollBar(int id, int x, int y, int cx, int cy, DWORD style = 0, DWORD ex = 0);
DialogItemTemplate Icon(int iconId, int id, int x, int y, int cx = 0, int cy = 0, DWORD style = 0);
// The same control, created hidden ("NOT WS_VISIBLE").
DialogItemTemplate Hidden(DialogItemTemplate item);
}  // namespace rc

// A tool bar: the size of one image of its bitmap strip (the bitmap resource
// of the same name, images side by side in button order) and the command ids
// of its buttons; id 0 is a separator, which takes no image.
struct ToolBarTemplate {
  int imageWidth = 16;
  int imageHeight = 15;
  std::vector<UINT> buttons;
};

namespace rc {
ToolBarTemplate ToolBar(int imageWidth, int imageHeight, std::vector<UINT> buttons);
}  // namespace rc

// Registration; the res/ tables call these from static registrars.
PLATFORM_API void PlatformAddDialog(LPCSTR name, const DialogTemplate* tpl);
PLATFORM_API void PlatformAddString(UINT id, const char* text);
// A bitmap resource made when first loaded (each load returns a new bitmap).
PLATFORM_API void PlatformAddBitmap(LPCSTR name, std::function<HBITMAP()> make);
PLATFORM_API void PlatformAddIcon(LPCSTR name, std::function<HICON()> make);
PLATFORM_API void PlatformAddCursor(LPCSTR name, std::function<HCURSOR()> make);
// A menu: items of (id, text); id 0 with an empty text is a separator.
struct MenuItemTemplate {
  UINT id;
  std::string text;
};
PLATFORM_API void PlatformAddMenu(LPCSTR name, const std::vector<MenuItemTemplate>& items);
PLATFORM_API const DialogTemplate* PlatformFindDialog(LPCSTR name);
PLATFORM_API void PlatformAddToolBar(LPCSTR name, const ToolBarTemplate& tpl);
// Copies the tool bar registered under `name` into *tpl; FALSE when there is none.
PLATFORM_API BOOL PlatformFindToolBar(LPCSTR name, ToolBarTemplate* tpl);

// Registers resources from a static object of a res/ table.
struct ResourceRegistrar {
  explicit ResourceRegistrar(const std::function<void()>& add) { add(); }
};

// The loaders.
PLATFORM_API int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size);
PLATFORM_API HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);
PLATFORM_API HICON LoadIconA(HINSTANCE instance, LPCSTR name);
PLATFORM_API HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
PLATFORM_API HMENU LoadMenuA(HINSTANCE instance, LPCSTR name);
// Plain functions rather than macros, so that members of the same names
// (CString::LoadString, CBitmap::LoadBitmap) keep theirs.
inline int LoadString(HINSTANCE instance, UINT id, LPSTR buffer, int size) {
  return LoadStringA(instance, id, buffer, size);
}
inline HBITMAP LoadBitmap(HINSTANCE instance, LPCSTR name) { return LoadBitmapA(instance, name); }
inline HICON LoadIcon(HINSTANCE instance, LPCSTR name) { return LoadIconA(instance, name); }
inline HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) { return LoadCursorA(instance, name); }
inline HMENU LoadMenu(HINSTANCE instance, LPCSTR name) { return LoadMenuA(instance, name); }

// Menus as far as a loaded menu is read back.
PLATFORM_API int GetMenuItemCount(HMENU menu);
PLATFORM_API UINT GetMenuItemID(HMENU menu, int pos);
PLATFORM_API int GetMenuStringA(HMENU menu, UINT item, LPSTR text, int size, UINT flags);
inline int GetMenuString(HMENU menu, UINT item, LPSTR text, int size, UINT flags) {
  return GetMenuStringA(menu, item, text, size, flags);
}
PLATFORM_API BOOL DestroyMenu(HMENU menu);
#define MF_BYCOMMAND 0x0000
#define MF_BYPOSITION 0x0400

// Owner-draw item actions and states (menus, buttons, list and combo boxes).
#ifndef ODS_SELECTED
#define ODA_DRAWENTIRE 0x0001
#define ODA_SELECT 0x0002
#define ODA_FOCUS 0x0004
#define ODS_SELECTED 0x0001
#define ODS_GRAYED 0x0002
#define ODS_DISABLED 0x0004
#define ODS_CHECKED 0x0008
#define ODS_FOCUS 0x0010
#define ODS_DEFAULT 0x0020
#define ODS_COMBOBOXEDIT 0x1000
#endif

#define IDI_APPLICATION MAKEINTATOM(32512)
#define IDI_HAND MAKEINTATOM(32513)
#define IDI_QUESTION MAKEINTATOM(32514)
#define IDI_EXCLAMATION MAKEINTATOM(32515)
#define IDI_ASTERISK MAKEINTATOM(32516)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK
