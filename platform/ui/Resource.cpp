// The resource tables and their loaders.

#include "Resource.h"
#include "Menu.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "CString.h"

namespace {

// Resources are named by a small integer id or by a text, as in a resource script.
std::string KeyOf(LPCSTR name) {
  if (!name) return std::string();
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
  return name;
}

struct Tables {
  std::mutex lock;
  std::map<std::string, const DialogTemplate*> dialogs;
  std::map<UINT, std::string> strings;
  std::map<std::string, std::function<HBITMAP()>> bitmaps;
  std::map<std::string, std::function<HICON()>> icons;
  std::map<std::string, std::function<HCURSOR()>> cursors;
  std::map<std::string, std::vector<MenuItemTemplate>> menus;
  std::map<std::string, ToolBarTemplate> toolBars;
  std::map<std::string, HICON> shared;  // icons and cursors are shared: one per name
};

Tables& T() {
  static auto* t = new Tables;
  return *t;
}

BOOL LoadForCString(UINT id, CString& text) {
  Tables& t = T();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.strings.find(id);
  if (it == t.strings.end()) return FALSE;
  text = it->second.c_str();
  return TRUE;
}

// Installed again with each string added, so that a loader set in between
// (a test's own) does not hide the table for good.
void InstallStringLoader() { PlatformSetStringLoader(LoadForCString); }

// The system's own icons and cursors: a plain 32 by 32 (icons) or 16 by 16
// (cursors) shape, enough to be drawn and told apart.
HICON MakeShape(int size, COLORREF color, bool arrow) {
  HDC screen = GetDC(nullptr);
  HBITMAP image = CreateCompatibleBitmap(screen, size, size);
  HBITMAP mask = CreateCompatibleBitmap(screen, size, size);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, mask);
  RECT all{0, 0, size, size};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  POINT tri[3] = {{0, 0}, {0, size - 1}, {size - 1, size / 2}};
  if (arrow)
    Polygon(dc, tri, 3);
  else
    Ellipse(dc, 0, 0, size, size);
  SelectObject(dc, image);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  HBRUSH fill = CreateSolidBrush(color);
  SelectObject(dc, fill);
  if (arrow)
    Polygon(dc, tri, 3);
  else
    Ellipse(dc, 0, 0, size, size);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  SelectObject(dc, old);
  DeleteObject(fill);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  ICONINFO info{};
  info.fIcon = !arrow;
  info.hbmColor = image;
  info.hbmMask = mask;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(image);
  DeleteObject(mask);
  return icon;
}

HICON SystemIcon(LPCSTR name, bool cursor) {
  if (!IS_INTRESOURCE(name)) return nullptr;
  WORD id = LOWORD(reinterpret_cast<ULONG_PTR>(name));
  if (cursor) {
    if (id < 32512 || id > 32650) return nullptr;
    return MakeShape(16, id == 32512 ? RGB(255, 255, 255) : RGB(0, 0, 0), true);
  }
  static const COLORREF colors[] = {RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 0),
                                    RGB(0, 0, 255)};
  if (id < 32512 || id > 32516) return nullptr;
  return MakeShape(32, colors[id - 32512], false);
}

HICON LoadShared(HINSTANCE instance, LPCSTR name, bool cursor) {
  Tables& t = T();
  std::string key = (cursor ? "cursor:" : "icon:") + std::string(instance ? "" : "system:") + KeyOf(name);
  std::function<HICON()> make;
  {
    std::lock_guard<std::mutex> g(t.lock);
    auto s = t.shared.find(key);
    if (s != t.shared.end()) return s->second;
    auto& table = cursor ? t.cursors : t.icons;
    auto it = table.find(KeyOf(name));
    if (it != table.end()) make = it->second;
  }
  HICON icon = make ? make() : nullptr;
  if (!icon && !instance) icon = SystemIcon(name, cursor);
  if (!icon) {
    SetLastError(1813);  // ERROR_RESOURCE_TYPE_NOT_FOUND
    return nullptr;
  }
  std::lock_guard<std::mutex> g(t.lock);
  auto ins = t.shared.emplace(key, icon);
  if (!ins.second) DestroyIcon(icon);
  return ins.first->second;
}

DialogItemTemplate Item(const char* cls, const char* text, int id, int x, int y, int cx, int cy, DWORD style,
                        DWORD ex) {
  DialogItemTemplate i;
  i.className = cls;
  i.text = text ? text : "";
  i.id = id;
  i.x = x;
  i.y = y;
  i.cx = cx;
  i.cy = cy;
  i.style = WS_CHILD | WS_VISIBLE | style;
  i.exStyle = ex;
  return i;
}

}  // namespace

// ---------------------------------------------------------------- builders

namespace rc {

// BS_, SS_, ES_, CBS_ and LBS_ values, spelled out here so that the resource
// tables need no control headers.
DialogItemTemplate Control(const char* text, int id, const char* cls, DWORD style, int x, int y, int cx, int cy,
                           DWORD exStyle) {
  return Item(cls, text, id, x, y, cx, cy, style, exStyle);
}
DialogItemTemplate LText(const char* text, int id, int x, int y, int cx, int cy, DWORD style, DWORD ex) {
  return Item("Static", text, id, x, y, cx, cy, 0x0000 | WS_GROUP | style, ex);
}
DialogItemTemplate CText(const char* text, int id, int x, int y, int cx, int cy, DWORD style, DWORD ex) {
  return Item("Static", text, id, x, y, cx, cy, 0x0001 | WS_GROUP | style, ex);
}
DialogItemTemplate RText(const char* text, int id, int x, int y, int cx, int cy, DWORD style, DWORD ex) {
  return Item("Static", text, id, x, y, cx, cy, 0x0002 | WS_GROUP | style, ex);
}
DialogItemTemplate PushButton(const char* text, int id, int x, int y, int cx, int cy, DWORD style, DWORD ex) {
  return Item("Button", text, id, x, y, cx, cy, 0x0000 | WS_TABSTOP | style, ex);
}
DialogItemTemplate DefPushButton(const char* text, int id, int x, int y, int cx, int cy, DWORD style, DWORD ex) {
  return Item("Button", text, id, x, y, cx, cy, 0x0001 | WS_TABSTOP | style, ex);
}
DialogItemTemplate CheckBox(const char* text, int id, int x, int y, int cx, int cy, DWORD style, DWORD ex) {
  return Item("Button", text, id, x, y, cx, cy, 0x0002 | WS_TABSTOP | style, ex);
}
DialogItemTemplate AutoCheckBox(const char* text, int id, int x, int y, int cx, int cy, DWORD style, DWORD ex) {
  return Item("Button", text, id, x, y, cx, cy, 0x0003 | WS_TABSTOP | style, ex);
}
DialogItemTemplate RadioButton(const char* text, int id, int x, int y, int cx, int cy, DWORD style, DWORD ex) {
  return Item("Button", text, id, x, y, cx, cy, 0x0004 | style, ex);
}
DialogItemTemplate AutoRadioButton(const char* text, int id, int x, int y, int cx, int cy, DWORD style, DWORD ex) {
  return Item("Button", text, id, x, y, cx, cy, 0x0009 | style, ex);
}
DialogItemTemplate GroupBox(const char* text, int id, int x, int y, int cx, int cy, DWORD style, DWORD ex) {
  return Item("Button", text, id, x, y, cx, cy, 0x0007 | style, ex);
}
DialogItemTemplate EditText(int id, int x, int y, int cx, int cy, DWORD style, DWORD ex) {
  return Item("Edit", "", id, x, y, cx, cy, WS_BORDER | WS_TABSTOP | style, ex);
}
DialogItemTemplate ComboBox(int id, int x, int y, int cx, int cy, DWORD style, std::vector<std::string> items,
                            DWORD ex) {
  DialogItemTemplate i = Item("ComboBox", "", id, x, y, cx, cy, WS_TABSTOP | style, ex);
  i.items = std::move(items);
  return i;
}
DialogItemTemplate ListBox(int id, int x, int y, int cx, int cy, DWORD style, DWORD ex) {
  return Item("ListBox", "", id, x, y, cx, cy, WS_BORDER | WS_TABSTOP | 0x0001 | style, ex);
}
DialogItemTemplate ScrollBar(int id, int x, int y, int cx, int cy, DWORD style, DWORD ex) {
  return Item("ScrollBar", "", id, x, y, cx, cy, style, ex);
}
DialogItemTemplate Hidden(DialogItemTemplate item) {
  item.style &= ~WS_VISIBLE;
  return item;
}
DialogItemTemplate Icon(int iconId, int id, int x, int y, int cx, int cy, DWORD style) {
  return Item("Static", ("#" + std::to_string(iconId)).c_str(), id, x, y, cx, cy, 0x0003 | style, 0);
}

ToolBarTemplate ToolBar(int imageWidth, int imageHeight, std::vector<UINT> buttons) {
  ToolBarTemplate t;
  t.imageWidth = imageWidth;
  t.imageHeight = imageHeight;
  t.buttons = std::move(buttons);
  return t;
}

}  // namespace rc

// ---------------------------------------------------------------- registration

void PlatformAddDialog(LPCSTR name, const DialogTemplate* tpl) {
  std::lock_guard<std::mutex> g(T().lock);
  T().dialogs[KeyOf(name)] = tpl;
}

void PlatformAddString(UINT id, const char* text) {
  InstallStringLoader();
  std::lock_guard<std::mutex> g(T().lock);
  T().strings[id] = text ? text : "";
}

void PlatformAddBitmap(LPCSTR name, std::function<HBITMAP()> make) {
  std::lock_guard<std::mutex> g(T().lock);
  T().bitmaps[KeyOf(name)] = std::move(make);
}

void PlatformAddIcon(LPCSTR name, std::function<HICON()> make) {
  std::lock_guard<std::mutex> g(T().lock);
  T().icons[KeyOf(name)] = std::move(make);
}

void PlatformAddCursor(LPCSTR name, std::function<HCURSOR()> make) {
  std::lock_guard<std::mutex> g(T().lock);
  T().cursors[KeyOf(name)] = std::move(make);
}

void PlatformAddMenu(LPCSTR name, const std::vector<MenuItemTemplate>& items) {
  std::lock_guard<std::mutex> g(T().lock);
  T().menus[KeyOf(name)] = items;
}

const DialogTemplate* PlatformFindDialog(LPCSTR name) {
  std::lock_guard<std::mutex> g(T().lock);
  auto it = T().dialogs.find(KeyOf(name));
  return it == T().dialogs.end() ? nullptr : it->second;
}

void PlatformAddToolBar(LPCSTR name, const ToolBarTemplate& tpl) {
  std::lock_guard<std::mutex> g(T().lock);
  T().toolBars[KeyOf(name)] = tpl;
}

BOOL PlatformFindToolBar(LPCSTR name, ToolBarTemplate* tpl) {
  std::lock_guard<std::mutex> g(T().lock);
  auto it = T().toolBars.find(KeyOf(name));
  if (it == T().toolBars.end()) return FALSE;
  if (tpl) *tpl = it->second;
  return TRUE;
}

// ---------------------------------------------------------------- loaders

int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  std::lock_guard<std::mutex> g(T().lock);
  auto it = T().strings.find(id);
  if (it == T().strings.end()) {
    buffer[0] = 0;
    return 0;
  }
  size_t n = std::min(it->second.size(), static_cast<size_t>(size) - 1);
  memcpy(buffer, it->second.data(), n);
  buffer[n] = 0;
  return static_cast<int>(n);
}

// The system's check mark: a monochrome bitmap of the menu check size, black on white.
HBITMAP CheckMarkBitmap() {
  int w = GetSystemMetrics(SM_CXMENUCHECK), h = GetSystemMetrics(SM_CYMENUCHECK);
  HBITMAP bitmap = CreateBitmap(w, h, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT rc{0, 0, w, h};
  DrawFrameControl(dc, &rc, DFC_MENU, DFCS_MENUCHECK);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) {
  if (!instance && name == MAKEINTRESOURCEA(OBM_CHECK)) return CheckMarkBitmap();
  std::function<HBITMAP()> make;
  {
    std::lock_guard<std::mutex> g(T().lock);
    auto it = T().bitmaps.find(KeyOf(name));
    if (it != T().bitmaps.end()) make = it->second;
  }
  HBITMAP bitmap = make ? make() : nullptr;
  if (!bitmap) SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
  return bitmap;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) { return LoadShared(instance, name, false); }
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) { return LoadShared(instance, name, true); }

// Menus themselves live in Menu.cpp; LoadMenu builds one from these items.
BOOL PlatformFindMenuTemplate(LPCSTR name, std::vector<MenuItemTemplate>* items) {
  std::lock_guard<std::mutex> g(T().lock);
  auto it = T().menus.find(KeyOf(name));
  if (it == T().menus.end()) return FALSE;
  if (items) *items = it->second;
  return TRUE;
}
