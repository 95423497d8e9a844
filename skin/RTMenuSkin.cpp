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
const int kIconColumn = 22;  // right edge of the icon column of a pop-up
const int kTextLeft = 30;    // where a pop-up item's text starts
const int kShadowWidth = 4;  // the open menu-bar item's shadow strip

COLORREF Hls(int sysColor, int luminance, int saturation) {
  return AdjustColorHLS(::GetSysColor(sysColor), luminance, saturation);
}

bool ImageOn(const SkinImageSet& set, int slot) { return CRTMenuSkin::s_skinEnabled && set.images[slot]; }

void DrawImage(CDC* dc, const CRect& rect, const SkinImageSet& set, int slot) {
  DrawSkinBitmap(dc, rect, set.images[slot], set.modes[slot]);
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
  TEXTMETRIC tm{};
  dc->GetTextMetrics(&tm);
  int itemHeight = 0, separatorHeight = 0;
  ItemHeights(tm.tmHeight, &itemHeight, &separatorHeight);

  // No MDI here: the platform has no MDI frame, so a pop-up is never an MDI
  // child's system menu.
  const std::vector<HWND> toolBars = ToolBarsOf(ToolBarHost(frame));
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[kMaxText + 1] = {};
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA;
    info.dwTypeData = text;
    info.cch = kMaxText + 1;
    if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    const bool ownerDrawn = (info.fType & MFT_OWNERDRAW) != 0;
    const bool separator = (info.fType & MFT_SEPARATOR) != 0;
    CString label = ownerDrawn ? TextOf(info.wID, info.hSubMenu) : CString(text);
    if (!ownerDrawn && !(menuBar && (info.fType & MFT_BITMAP))) {
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
      ::SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &change);
    }
    if (separator) continue;
    if (info.hSubMenu)
      s_textBySubMenu[info.hSubMenu] = label;
    else
      s_textById[info.wID] = label;
    for (HWND bar : toolBars) {
      TBBUTTONINFOA button{};
      button.cbSize = sizeof button;
      button.dwMask = TBIF_IMAGE | TBIF_COMMAND;
      if (::SendMessageA(bar, TB_GETBUTTONINFO, info.wID, reinterpret_cast<LPARAM>(&button)) < 0) continue;
      if (button.iImage == -1) continue;
      const MenuImage image{reinterpret_cast<HIMAGELIST>(::SendMessageA(bar, TB_GETIMAGELIST, 0, 0)), button.iImage};
      if (info.hSubMenu)
        s_imageBySubMenu[info.hSubMenu] = image;
      else
        s_imageById[info.wID] = image;
      break;
    }
  }
  if (menuBar) return;

  int widestText = 0, widestShortcut = 0;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STATE;
    if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) || (info.fType & MFT_SEPARATOR)) continue;
    const CString label = TextOf(info.wID, info.hSubMenu);
    CRTBoldFontSelector bold(dc.get(), (info.fState & MFS_DEFAULT) != 0);
    widestText = std::max(widestText, TextWidth(dc.get(), WithoutFirstPrefix(Before(label))));
    widestShortcut = std::max(widestShortcut, TextWidth(dc.get(), After(label)));
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
                            : PackItemData(itemHeight, widestShortcut, widestText);
    ::SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &change);
  }
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
  const bool selected = (state & ODS_SELECTED) != 0;
  const bool hot = (state & ODS_HOTLIGHT) != 0;
  const bool inactive = (state & ODS_INACTIVE) != 0;
  const bool noAccel = (state & ODS_NOACCEL) != 0;
  const bool disabled = (item.m_info.fState & MFS_GRAYED) != 0;
  const bool separator = (item.m_info.fType & MFT_SEPARATOR) != 0;
  const bool isDefault = (item.m_info.fState & MFS_DEFAULT) != 0;
  bool opened = false;

  CRect body(rect);
  body.right -= kShadowWidth;
  const CRect strip(body.right, rect.top, rect.right, rect.bottom);
  const CRect icon(rect.left, rect.top, rect.left + kIconColumn, rect.bottom);
  const CRect textArea(icon.right, rect.top, rect.right, rect.bottom);

  if (menuBar && selected) {
    if (ImageOn(s_menuBar, SkinImageSet::kDown)) {
      DrawImage(dc, rect, s_menuBar, SkinImageSet::kDown);
    } else {
      CRTPenSelector pen(dc, ::GetSysColor(COLOR_3DDKSHADOW));
      CRTBrushSelector brush(dc, Hls(COLOR_BTNFACE, 20, 0));
      dc->Rectangle(&body);
      dc->FillSolidRect(&strip, ::GetSysColor(COLOR_BTNFACE));
      ShadeStrip(dc, strip);
    }
    opened = true;
  } else if (!selected && (!hot || inactive)) {
    if (menuBar) {
      if (ImageOn(s_menuBar, SkinImageSet::kNormal))
        DrawImage(dc, rect, s_menuBar, SkinImageSet::kNormal);
      else
        dc->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    } else {
      if (ImageOn(s_menuItem, SkinImageSet::kDown))
        DrawImage(dc, icon, s_menuItem, SkinImageSet::kDown);
      else
        dc->FillSolidRect(&icon, Hls(COLOR_BTNFACE, 20, 0));
      if (ImageOn(s_menuItem, SkinImageSet::kNormal))
        DrawImage(dc, textArea, s_menuItem, SkinImageSet::kNormal);
      else
        dc->FillSolidRect(&textArea, Hls(COLOR_BTNFACE, 75, 0));
    }
  } else {
    CRTPenSelector pen(dc, ::GetSysColor(COLOR_HIGHLIGHT));
    CRTBrushSelector brush(dc, disabled ? Hls(COLOR_BTNFACE, 73, 0) : Hls(COLOR_HIGHLIGHT, 70, -57));
    if (menuBar) {
      if (ImageOn(s_menuBar, SkinImageSet::kFocus)) {
        DrawImage(dc, rect, s_menuBar, SkinImageSet::kFocus);
      } else {
        dc->Rectangle(&body);
        dc->FillSolidRect(&strip, ::GetSysColor(COLOR_BTNFACE));
      }
    } else if (ImageOn(s_menuItem, SkinImageSet::kFocus)) {
      DrawImage(dc, icon, s_menuItem, SkinImageSet::kDown);
      DrawImage(dc, textArea, s_menuItem, SkinImageSet::kFocus);
    } else {
      dc->Rectangle(&rect);
    }
  }

  if (separator) {
    CRTPenSelector pen(dc, Hls(COLOR_BTNFACE, -18, 0));
    const int y = (rect.top + rect.bottom) / 2;
    dc->MoveTo(rect.left + kTextLeft, y);
    dc->LineTo(rect.right - 1, y);
    return opened;
  }

  BOOL cues = FALSE;
  ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0);
  const UINT prefix = noAccel && !cues ? DT_HIDEPREFIX : 0;
  const COLORREF textColor = inactive   ? ::GetSysColor(COLOR_BTNSHADOW)
                             : disabled ? Hls(COLOR_BTNFACE, -18, 0)
                                        : ::GetSysColor(COLOR_MENUTEXT);
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  const COLORREF oldColor = dc->SetTextColor(textColor);
  if (menuBar) {
    CRect box(body);
    dc->DrawText(Before(item.m_text), &box, DT_CENTER | DT_SINGLELINE | DT_VCENTER | prefix);
  } else {
    CRTBoldFontSelector bold(dc, isDefault);
    CRect left(rect.left + kTextLeft, rect.top, rect.right, rect.bottom);
    dc->DrawText(Before(item.m_text), &left, DT_LEFT | DT_SINGLELINE | DT_VCENTER | prefix);
    CRect right(rect.left, rect.top, rect.right - 12, rect.bottom);
    dc->DrawText(After(item.m_text), &right, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | prefix);
  }
  dc->SetTextColor(oldColor);
  dc->SetBkMode(oldMode);

  if (!menuBar && (item.m_info.fState & MFS_CHECKED)) {
    const CRect box(rect.left + 1, rect.top + 1, rect.left + 20, rect.bottom - 1);
    const COLORREF boxColor = disabled   ? Hls(COLOR_BTNFACE, 73, 0)
                              : selected ? Hls(COLOR_HIGHLIGHT, 50, -50)
                                         : Hls(COLOR_HIGHLIGHT, 70, -57);
    {
      CRTPenSelector pen(dc, ::GetSysColor(COLOR_HIGHLIGHT));
      CRTBrushSelector brush(dc, boxColor);
      dc->Rectangle(&box);
    }
    if (!item.m_imageList) {
      if (item.m_info.fType & MFT_RADIOCHECK) {
        const int cx = (rect.left + 5 + rect.left + 20) / 2, cy = (rect.top + rect.bottom) / 2;
        const COLORREF dot = disabled ? Hls(COLOR_BTNFACE, -27, 0) : ::GetSysColor(COLOR_MENUTEXT);
        CRTPenSelector pen(dc, dot);
        CRTBrushSelector brush(dc, dot);
        dc->Ellipse(cx - 4, cy - 3, cx + 3, cy + 4);
        dc->SetPixel(cx + 1, cy + 2, boxColor);
      } else {
        HBITMAP check = ::LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECK));
        BITMAP bm{};
        ::GetObjectA(check, sizeof bm, &bm);
        CDC src;
        src.CreateCompatibleDC(dc);
        HGDIOBJ old = src.SelectObject(check);
        // Black mark on white: ANDed in, the white leaves the box as it is.
        dc->BitBlt(rect.left + 5, rect.top + 3, bm.bmWidth, bm.bmHeight, &src, 0, 0, SRCAND);
        src.SelectObject(old);
        ::DeleteObject(check);
      }
    }
  }
  return opened;
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
