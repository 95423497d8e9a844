#include "RTMenuSkin.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "AfxCtrlBar.h"
#include "AfxFrame.h"
#include "SkinDraw.h"

namespace {

const char kPropertyName[] = "RTWndProp_MenuSkin";
const int kMaxText = 255;
const int kIconColumn = 22;      // right edge of the icon column of a pop-up
const int kTextLeft = 30;        // where a pop-up item's text starts
const int kShortcutMargin = 12;  // between a pop-up item's shortcut and its right edge
const int kCheckBoxRight = 20;   // right edge of a checked item's box, in the icon column
const int kCheckMarkLeft = 5;    // where the check mark (or the radio dot's span) starts
const int kShadowWidth = 4;      // the open menu-bar item's shadow strip
// A pop-up's icon column is drawn with the skin's Down image (its "Slider").
const int kSliderSlot = SkinImageSet::kDown;

COLORREF Hls(int sysColor, int luminance, int saturation) {
  return AdjustColorHLS(::GetSysColor(sysColor), luminance, saturation);
}

bool ImageOn(const SkinImageSet& set, int slot) { return CRTMenuSkin::s_skinEnabled && set.images[slot]; }

void DrawImage(CDC* dc, const CRect& rect, const SkinImageSet& set, int slot) {
  DrawSkinBitmap(dc, rect, set.images[slot], set.modes[slot]);
}

// The skin's image in a slot when there is one and skinning is on, else a flat colour.
void ImageOrFill(CDC* dc, const CRect& rect, const SkinImageSet& set, int slot, COLORREF flat) {
  if (ImageOn(set, slot)) DrawImage(dc, rect, set, slot);
  else dc->FillSolidRect(&rect, flat);
}

// The text before and after the tab.
CString Before(const CString& text) {
  const int tab = text.Find('\t');
  return tab < 0 ? text : text.Left(tab);
}
CString After(const CString& text) {
  const int tab = text.Find('\t');
  return tab < 0 ? CString() : text.Mid(tab + 1);
}

CString WithoutFirstPrefix(CString text) {
  const int amp = text.Find('&');
  if (amp >= 0) text.Delete(amp, 1);
  return text;
}

int TextWidth(CDC* dc, const CString& text) {
  if (text.IsEmpty()) return 0;
  CRect r(0, 0, 0, 0);
  dc->DrawText(text, &r, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  return r.Width();
}

// A client context of the application's main window, or the screen's while
// there is no main window yet.
class MeasureDC {
 public:
  MeasureDC() {
    CWnd* main = AfxGetMainWnd();
    m_hwnd = main ? main->GetSafeHwnd() : nullptr;
    if (m_hwnd && !::IsWindow(m_hwnd)) m_hwnd = nullptr;
    m_hdc = ::GetDC(m_hwnd);
    m_dc.Attach(m_hdc);
  }
  ~MeasureDC() {
    m_dc.Detach();
    ::ReleaseDC(m_hwnd, m_hdc);
  }
  CDC* operator->() { return &m_dc; }
  CDC* get() { return &m_dc; }

 private:
  HWND m_hwnd = nullptr;
  HDC m_hdc = nullptr;
  CDC m_dc;
};

bool IsToolBarWindow(HWND hwnd) {
  char name[64] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  return strcasecmp(name, "ToolbarWindow32") == 0;
}

// The tool bars among the host's control bars (a bar that is itself a tool
// bar, or tool bars docked inside a bar).
std::vector<HWND> ToolBarsOf(CWnd* host) {
  std::vector<HWND> bars;
  if (!host || !host->GetSafeHwnd()) return bars;
  for (HWND child = ::GetWindow(host->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    CWnd* wnd = CWnd::FromHandlePermanent(child);
    if (!wnd || !wnd->IsKindOf(RUNTIME_CLASS(CControlBar))) continue;
    if (IsToolBarWindow(child)) bars.push_back(child);
    for (HWND inner = ::GetWindow(child, GW_CHILD); inner; inner = ::GetWindow(inner, GW_HWNDNEXT))
      if (IsToolBarWindow(inner)) bars.push_back(inner);
  }
  return bars;
}

// The frame whose tool bars lend their images: the frame itself, else the
// frame it sits in.
CWnd* ToolBarHost(CWnd* frame) {
  if (!frame) return nullptr;
  if (frame->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return frame;
  for (CWnd* p = frame->GetParent(); p; p = p->GetParent())
    if (p->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return p;
  return nullptr;
}

template <typename Map>
void PurgeDeadMenus(Map& map) {
  for (auto it = map.begin(); it != map.end();) it = ::IsMenu(it->first) ? std::next(it) : map.erase(it);
}

// The soft shadow of the open menu-bar item: the strip's pixels darkened,
// more towards the outer edge, fading in at the top.
void ShadeStrip(CDC* dc, const CRect& rect) {
  for (int w = 0; w < kShadowWidth; ++w) {
    const int x = rect.right - 1 - w;
    const int step = kShadowWidth - 1 - w;  // 0 innermost, 3 outermost
    const int last = rect.bottom - 1 - (w < 2 ? 1 : 0);
    for (int y = rect.top + 4; y < last; ++y) {
      const int f = std::min(step, y - (rect.top + 4));
      const int percent = 93 - 5 * f;
      const COLORREF c = dc->GetPixel(x, y);
      dc->SetPixel(x, y, RGB(GetRValue(c) * percent / 100, GetGValue(c) * percent / 100,
                             GetBValue(c) * percent / 100));
    }
  }
}

// ---- Preparing, item by item ----------------------------------------------------

// What is recorded of an item, keyed by the sub-menu it opens, else by its id.
template <typename Value>
void Record(std::map<HMENU, Value>& bySubMenu, std::map<UINT, Value>& byId, const MENUITEMINFO& info,
            const Value& value) {
  if (info.hSubMenu)
    bySubMenu[info.hSubMenu] = value;
  else
    byId[info.wID] = value;
}

// An owner-drawn item has no text of its own, so a menu-bar item's data
// carries its text width (the zero height byte marks it as a bar item).
void MakeOwnerDrawn(CDC* dc, HMENU menu, int position, const MENUITEMINFO& info, const CString& label, bool menuBar) {
  MENUITEMINFO change{};
  change.cbSize = sizeof change;
  change.fMask = MIIM_FTYPE | MIIM_DATA;
  change.fType = info.fType | MFT_OWNERDRAW;
  change.dwItemData = info.dwItemData;
  if (menuBar) {
    CRect box(0, 0, 1000, 0);
    dc->DrawText(label, &box, DT_SINGLELINE | DT_CALCRECT);
    change.dwItemData = static_cast<ULONG_PTR>(static_cast<uint32_t>(box.Width()) << 16);
  }
  ::SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &change);
}

// The image of the first tool-bar button with the item's command.
bool ToolBarImage(const std::vector<HWND>& toolBars, UINT id, CRTMenuSkin::MenuImage* image) {
  for (HWND bar : toolBars) {
    TBBUTTONINFOA button{};
    button.cbSize = sizeof button;
    button.dwMask = TBIF_IMAGE | TBIF_COMMAND;
    if (::SendMessageA(bar, TB_GETBUTTONINFO, id, reinterpret_cast<LPARAM>(&button)) < 0) continue;
    if (button.iImage == -1) continue;
    *image = {reinterpret_cast<HIMAGELIST>(::SendMessageA(bar, TB_GETIMAGELIST, 0, 0)), button.iImage};
    return true;
  }
  return false;
}

// Turns one item owner-drawn (a menu-bar bitmap stays as it is), keeps its
// text and borrows a tool bar's image of its command.
void PrepareItem(CDC* dc, HMENU menu, int position, bool menuBar, const std::vector<HWND>& toolBars) {
  char text[kMaxText + 1] = {};
  MENUITEMINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA;
  info.dwTypeData = text;
  info.cch = kMaxText + 1;
  if (!::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) return;
  const bool ownerDrawn = (info.fType & MFT_OWNERDRAW) != 0;
  const CString label = ownerDrawn ? CRTMenuSkin::TextOf(info.wID, info.hSubMenu) : CString(text);
  if (!ownerDrawn && !(menuBar && (info.fType & MFT_BITMAP))) MakeOwnerDrawn(dc, menu, position, info, label, menuBar);
  if (info.fType & MFT_SEPARATOR) return;
  Record(CRTMenuSkin::s_textBySubMenu, CRTMenuSkin::s_textById, info, label);
  CRTMenuSkin::MenuImage image;
  if (ToolBarImage(toolBars, info.wID, &image))
    Record(CRTMenuSkin::s_imageBySubMenu, CRTMenuSkin::s_imageById, info, image);
}

// Every item of a pop-up carries the widest text and shortcut of the whole
// menu, so that the shortcuts line up; a separator carries only its height.
void PackPopupSizes(CDC* dc, HMENU menu, int count) {
  TEXTMETRIC tm{};
  dc->GetTextMetrics(&tm);
  int itemHeight = 0, separatorHeight = 0;
  CRTMenuSkin::ItemHeights(tm.tmHeight, &itemHeight, &separatorHeight);
  int widestText = 0, widestShortcut = 0;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STATE;
    if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) || (info.fType & MFT_SEPARATOR)) continue;
    const CString label = CRTMenuSkin::TextOf(info.wID, info.hSubMenu);
    CRTBoldFontSelector bold(dc, (info.fState & MFS_DEFAULT) != 0);
    widestText = std::max(widestText, TextWidth(dc, WithoutFirstPrefix(Before(label))));
    widestShortcut = std::max(widestShortcut, TextWidth(dc, After(label)));
  }
  for (int i = 0; i < count; ++i) {
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    MENUITEMINFO change{};
    change.cbSize = sizeof change;
    change.fMask = MIIM_DATA;
    change.dwItemData = (info.fType & MFT_SEPARATOR)
                            ? static_cast<ULONG_PTR>(separatorHeight)
                            : CRTMenuSkin::PackItemData(itemHeight, widestShortcut, widestText);
    ::SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &change);
  }
}

// ---- Drawing, part by part ----------------------------------------------------------

// How an item looks, decided once from its state before anything is drawn.
struct ItemLook {
  enum Background { kPlain, kOpen, kHighlit };
  Background background = kPlain;  // kOpen: a menu-bar item whose pop-up is open
  bool menuBar = false;
  bool selected = false;
  bool disabled = false;
  bool separator = false;
  bool isDefault = false;  // its text is bold
  bool checked = false;
  bool radio = false;
  bool hasImage = false;  // a checked item with a tool-bar image gets the box without the mark
  UINT prefix = 0;        // DT_HIDEPREFIX while the keyboard cues are hidden
  COLORREF text = 0;
};

ItemLook LookOf(const CRTMenuItemInfo& item, UINT state, bool menuBar) {
  ItemLook look;
  look.menuBar = menuBar;
  look.selected = (state & ODS_SELECTED) != 0;
  const bool hot = (state & ODS_HOTLIGHT) != 0;
  const bool inactive = (state & ODS_INACTIVE) != 0;
  look.background = menuBar && look.selected             ? ItemLook::kOpen
                    : !look.selected && (!hot || inactive) ? ItemLook::kPlain
                                                           : ItemLook::kHighlit;
  look.disabled = (item.m_info.fState & MFS_GRAYED) != 0;
  look.separator = (item.m_info.fType & MFT_SEPARATOR) != 0;
  look.isDefault = (item.m_info.fState & MFS_DEFAULT) != 0;
  look.checked = (item.m_info.fState & MFS_CHECKED) != 0;
  look.radio = (item.m_info.fType & MFT_RADIOCHECK) != 0;
  look.hasImage = item.m_imageList != nullptr;
  BOOL cues = FALSE;
  ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0);
  look.prefix = (state & ODS_NOACCEL) && !cues ? DT_HIDEPREFIX : 0;
  look.text = inactive         ? ::GetSysColor(COLOR_BTNSHADOW)
              : look.disabled ? Hls(COLOR_BTNFACE, -18, 0)
                              : ::GetSysColor(COLOR_MENUTEXT);
  return look;
}

// The parts of an item's rectangle: a bar item's body and shadow strip, a
// pop-up item's icon column and text area.
struct ItemParts {
  explicit ItemParts(const CRect& rect)
      : all(rect),
        body(rect.left, rect.top, rect.right - kShadowWidth, rect.bottom),
        strip(rect.right - kShadowWidth, rect.top, rect.right, rect.bottom),
        icon(rect.left, rect.top, rect.left + kIconColumn, rect.bottom),
        textArea(rect.left + kIconColumn, rect.top, rect.right, rect.bottom) {}
  CRect all, body, strip, icon, textArea;
};

// A menu-bar item whose pop-up is open: the Down image, else a raised box
// with a shadow on its right.
void DrawOpenBarItem(CDC* dc, const ItemParts& parts) {
  if (ImageOn(CRTMenuSkin::s_menuBar, SkinImageSet::kDown)) {
    DrawImage(dc, parts.all, CRTMenuSkin::s_menuBar, SkinImageSet::kDown);
    return;
  }
  CRTPenSelector pen(dc, ::GetSysColor(COLOR_3DDKSHADOW));
  CRTBrushSelector brush(dc, Hls(COLOR_BTNFACE, 20, 0));
  dc->Rectangle(&parts.body);
  dc->FillSolidRect(&parts.strip, ::GetSysColor(COLOR_BTNFACE));
  ShadeStrip(dc, parts.strip);
}

void DrawPlain(CDC* dc, const ItemParts& parts, bool menuBar) {
  if (menuBar) {
    ImageOrFill(dc, parts.all, CRTMenuSkin::s_menuBar, SkinImageSet::kNormal, ::GetSysColor(COLOR_BTNFACE));
    return;
  }
  ImageOrFill(dc, parts.icon, CRTMenuSkin::s_menuItem, kSliderSlot, Hls(COLOR_BTNFACE, 20, 0));
  ImageOrFill(dc, parts.textArea, CRTMenuSkin::s_menuItem, SkinImageSet::kNormal, Hls(COLOR_BTNFACE, 75, 0));
}

// Selected or hot: the Focus image, else a tinted box in the highlight colour.
void DrawHighlit(CDC* dc, const ItemParts& parts, bool menuBar, bool disabled) {
  CRTPenSelector pen(dc, ::GetSysColor(COLOR_HIGHLIGHT));
  CRTBrushSelector brush(dc, disabled ? Hls(COLOR_BTNFACE, 73, 0) : Hls(COLOR_HIGHLIGHT, 70, -57));
  const SkinImageSet& set = menuBar ? CRTMenuSkin::s_menuBar : CRTMenuSkin::s_menuItem;
  if (ImageOn(set, SkinImageSet::kFocus)) {
    if (menuBar) {
      DrawImage(dc, parts.all, set, SkinImageSet::kFocus);
    } else {
      DrawImage(dc, parts.icon, set, kSliderSlot);
      DrawImage(dc, parts.textArea, set, SkinImageSet::kFocus);
    }
  } else if (menuBar) {
    dc->Rectangle(&parts.body);
    dc->FillSolidRect(&parts.strip, ::GetSysColor(COLOR_BTNFACE));
  } else {
    dc->Rectangle(&parts.all);
  }
}

void DrawSeparatorLine(CDC* dc, const CRect& rect) {
  CRTPenSelector pen(dc, Hls(COLOR_BTNFACE, -18, 0));
  const int y = (rect.top + rect.bottom) / 2;
  dc->MoveTo(rect.left + kTextLeft, y);
  dc->LineTo(rect.right - 1, y);
}

// A bar item's text centred on its body; a pop-up item's text after the icon
// column and its shortcut (after the tab) right-aligned.
void DrawTexts(CDC* dc, const ItemParts& parts, const CString& text, const ItemLook& look) {
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  const COLORREF oldColor = dc->SetTextColor(look.text);
  const CRect& rect = parts.all;
  if (look.menuBar) {
    CRect box(parts.body);
    dc->DrawText(Before(text), &box, DT_CENTER | DT_SINGLELINE | DT_VCENTER | look.prefix);
  } else {
    CRTBoldFontSelector bold(dc, look.isDefault);
    CRect left(rect.left + kTextLeft, rect.top, rect.right, rect.bottom);
    dc->DrawText(Before(text), &left, DT_LEFT | DT_SINGLELINE | DT_VCENTER | look.prefix);
    CRect right(rect.left, rect.top, rect.right - kShortcutMargin, rect.bottom);
    dc->DrawText(After(text), &right, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | look.prefix);
  }
  dc->SetTextColor(oldColor);
  dc->SetBkMode(oldMode);
}

void DrawRadioDot(CDC* dc, const CRect& rect, const ItemLook& look, COLORREF boxColor) {
  const int cx = (rect.left + kCheckMarkLeft + rect.left + kCheckBoxRight) / 2, cy = (rect.top + rect.bottom) / 2;
  const COLORREF dot = look.disabled ? Hls(COLOR_BTNFACE, -27, 0) : ::GetSysColor(COLOR_MENUTEXT);
  CRTPenSelector pen(dc, dot);
  CRTBrushSelector brush(dc, dot);
  dc->Ellipse(cx - 4, cy - 3, cx + 3, cy + 4);
  dc->SetPixel(cx + 1, cy + 2, boxColor);
}

void DrawCheckMark(CDC* dc, const CRect& rect) {
  HBITMAP check = ::LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECK));
  BITMAP bm{};
  ::GetObjectA(check, sizeof bm, &bm);
  CDC src;
  src.CreateCompatibleDC(dc);
  HGDIOBJ old = src.SelectObject(check);
  // Black mark on white: ANDed in, the white leaves the box as it is.
  dc->BitBlt(rect.left + kCheckMarkLeft, rect.top + 3, bm.bmWidth, bm.bmHeight, &src, 0, 0, SRCAND);
  src.SelectObject(old);
  ::DeleteObject(check);
}

// A checked pop-up item's box in the icon column, with a dot or a mark in it
// unless the item has a tool-bar image.
void DrawCheck(CDC* dc, const CRect& rect, const ItemLook& look) {
  const CRect box(rect.left + 1, rect.top + 1, rect.left + kCheckBoxRight, rect.bottom - 1);
  const COLORREF boxColor = look.disabled   ? Hls(COLOR_BTNFACE, 73, 0)
                            : look.selected ? Hls(COLOR_HIGHLIGHT, 50, -50)
                                            : Hls(COLOR_HIGHLIGHT, 70, -57);
  {
    CRTPenSelector pen(dc, ::GetSysColor(COLOR_HIGHLIGHT));
    CRTBrushSelector brush(dc, boxColor);
    dc->Rectangle(&box);
  }
  if (look.hasImage) return;
  if (look.radio)
    DrawRadioDot(dc, rect, look, boxColor);
  else
    DrawCheckMark(dc, rect);
}

}  // namespace

// ---- Window property ---------------------------------------------------------

void CRTMenuSkin::SetWindowProperty(HWND hwnd, BOOL set) {
  if (set)
    ::SetPropA(hwnd, kPropertyName, reinterpret_cast<HANDLE>(1));
  else
    ::RemovePropA(hwnd, kPropertyName);
}

BOOL CRTMenuSkin::HasWindowProperty(HWND hwnd) { return ::GetPropA(hwnd, kPropertyName) != nullptr; }

// ---- Sizes -------------------------------------------------------------------

void CRTMenuSkin::ItemHeights(int textHeight, int* itemHeight, int* separatorHeight) {
  *itemHeight = textHeight + 2 > 16 ? textHeight + 6 : 20;
  *separatorHeight = textHeight / 2 + 2;
}

uint32_t CRTMenuSkin::PackItemData(int itemHeight, int shortcutWidth, int textWidth) {
  const uint32_t shortcut = static_cast<uint32_t>(std::clamp(shortcutWidth, 0, 255));
  return (static_cast<uint32_t>(itemHeight) & 0xFF) | shortcut << 8 |
         (static_cast<uint32_t>(std::clamp(textWidth, 0, 0xFFFF)) << 16);
}

CString CRTMenuSkin::TextOf(UINT id, HMENU subMenu) {
  if (subMenu) {
    auto it = s_textBySubMenu.find(subMenu);
    return it == s_textBySubMenu.end() ? CString() : it->second;
  }
  auto it = s_textById.find(id);
  return it == s_textById.end() ? CString() : it->second;
}

void CRTMenuSkin::SetCommandImage(UINT id, HIMAGELIST imageList, int imageIndex) {
  s_imageById[id] = MenuImage{imageList, imageIndex};
}

void CRTMenuSkin::Reset() {
  s_textById.clear();
  s_textBySubMenu.clear();
  s_imageById.clear();
  s_imageBySubMenu.clear();
  s_openItem.SetRectEmpty();
}

// ---- Preparing a menu ----------------------------------------------------------

void CRTMenuSkin::PrepareMenu(CWnd* frame, HMENU menu, BOOL active, BOOL menuBar) {
  if (!active || !::IsMenu(menu)) return;
  PurgeDeadMenus(s_textBySubMenu);
  PurgeDeadMenus(s_imageBySubMenu);

  MeasureDC dc;
  CRTFontSelector font(dc.get(), DEFAULT_GUI_FONT);
  // No MDI here: the platform has no MDI frame, so a pop-up is never an MDI
  // child's system menu.
  const std::vector<HWND> toolBars = ToolBarsOf(ToolBarHost(frame));
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) PrepareItem(dc.get(), menu, i, menuBar != FALSE, toolBars);
  if (!menuBar) PackPopupSizes(dc.get(), menu, count);
}

// ---- Measuring and drawing -----------------------------------------------------

void CRTMenuSkin::MeasureItem(MEASUREITEMSTRUCT* mis) {
  if (!mis || mis->CtlType != ODT_MENU) return;
  const uint32_t data = static_cast<uint32_t>(mis->itemData);
  const UINT height = data & 0xFF;
  mis->itemHeight = height;
  mis->itemWidth = height ? (data >> 16) + ((data >> 8) & 0xFF) + 42 : (data >> 16) + 4;
}

void CRTMenuSkin::LoadItem(HMENU menu, int position, CRTMenuItemInfo* item) {
  item->m_info.cbSize = sizeof item->m_info;
  item->m_info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STATE;
  ::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &item->m_info);
  item->m_text = TextOf(item->m_info.wID, item->m_info.hSubMenu).Left(kMaxText);
  if (item->m_info.hSubMenu) {
    auto it = s_imageBySubMenu.find(item->m_info.hSubMenu);
    if (it != s_imageBySubMenu.end()) item->m_imageList = it->second.imageList, item->m_imageIndex = it->second.index;
  } else {
    auto it = s_imageById.find(item->m_info.wID);
    if (it != s_imageById.end()) item->m_imageList = it->second.imageList, item->m_imageIndex = it->second.index;
  }
}

BOOL CRTMenuSkin::DrawItem(DRAWITEMSTRUCT* dis, CWnd* wnd) {
  if (!dis || dis->CtlType != ODT_MENU) return FALSE;
  HMENU menu = reinterpret_cast<HMENU>(dis->hwndItem);
  const bool menuBar = (dis->itemData & 0xFF) == 0;
  // The item's place: its id, or the sub-menu it opens.
  int position = -1;
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count && position < 0; ++i) {
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    if (::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) && info.wID == dis->itemID &&
        info.dwItemData == dis->itemData)
      position = i;
  }
  CRTMenuItemInfo item;
  if (position >= 0) LoadItem(menu, position, &item);
  item.m_info.fState |= (dis->itemState & (ODS_GRAYED | ODS_DISABLED)) ? MFS_GRAYED : 0;

  const CRect rect(dis->rcItem);
  bool opened = false;
  {
    CDC* target = CDC::FromHandle(dis->hDC);
    CRTClipMemDC mem(target, rect);
    CRTFontSelector font(&mem, DEFAULT_GUI_FONT);
    opened = DrawOneItem(&mem, rect, item, dis->itemState, menuBar);
  }
  if (opened && wnd && wnd->GetSafeHwnd()) {
    // The item's edges are in window coordinates of the bar: take them to the screen.
    CRect first, window;
    wnd->GetWindowRect(&window);
    if (::GetMenuItemRect(wnd->m_hWnd, menu, 0, &first)) {
      s_openItem.SetRect(window.left + rect.left, first.top, window.left + rect.right, first.bottom);
      char name[64] = {};
      ::GetClassNameA(wnd->m_hWnd, name, sizeof name);
      if (strcmp(name, "#32770") == 0) s_openItem.OffsetRect(1, 0);
    }
  }
  return TRUE;
}

bool CRTMenuSkin::DrawOneItem(CDC* dc, const CRect& rect, const CRTMenuItemInfo& item, UINT state, bool menuBar) {
  const ItemLook look = LookOf(item, state, menuBar);
  const ItemParts parts(rect);
  switch (look.background) {
    case ItemLook::kOpen:
      DrawOpenBarItem(dc, parts);
      break;
    case ItemLook::kPlain:
      DrawPlain(dc, parts, menuBar);
      break;
    case ItemLook::kHighlit:
      DrawHighlit(dc, parts, menuBar, look.disabled);
      break;
  }
  if (look.separator) {
    DrawSeparatorLine(dc, rect);
  } else {
    DrawTexts(dc, parts, item.m_text, look);
    if (!menuBar && look.checked) DrawCheck(dc, rect, look);
  }
  return look.background == ItemLook::kOpen;
}

// ---- Keyboard --------------------------------------------------------------------

LRESULT CRTMenuSkin::OnMenuChar(HMENU menu, UINT character, UINT flags) {
  if (!(flags == 0 || ((flags & MF_POPUP) && !(flags & MF_SYSMENU)))) return 0;
  const char wanted = static_cast<char>(toupper(static_cast<unsigned char>(character)));
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU;
    if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    CString text = Before(TextOf(info.wID, info.hSubMenu));
    text.MakeUpper();
    for (int j = text.GetLength() - 2; j >= 0; --j) {
      if (text[j] != '&' || text[j + 1] != wanted) continue;
      if (j > 0 && text[j - 1] == '&') continue;
      return MAKELRESULT(i, MNC_EXECUTE);
    }
  }
  return 0;
}

BOOL CRTMenuSkin::IsOwnerDrawnMenu(HMENU menu) {
  MENUITEMINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  return ::GetMenuItemInfoA(menu, 0, TRUE, &info) && (info.fType & MFT_OWNERDRAW) ? TRUE : FALSE;
}
