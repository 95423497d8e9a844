// The menu skinning: sizes packed by the preparation and read back by the
// measure, the menu-character search, and every item state drawn from
// synthetic draw records into one canvas.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RTMenuSkin.h"
#include "SkinDraw.h"
#include "TestKit.h"

namespace {

COLORREF Hls(int sysColor, int l, int s) { return AdjustColorHLS(::GetSysColor(sysColor), l, s); }

class MenuSkinTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (HMENU m : m_menus) ::DestroyMenu(m);
    CRTMenuSkin::Reset();
    CRTMenuSkin::SetSkinEnabled(0);
    const SkinImageSet none;
    CRTMenuSkin::SetMenuBarImages(none.images, none.modes);
    CRTMenuSkin::SetMenuItemImages(none.images, none.modes);
    testkit::ResetWindows();
  }

  HMENU Popup(const std::vector<std::pair<UINT, const char*>>& items) {
    HMENU menu = ::CreatePopupMenu();
    for (const auto& it : items) {
      if (it.second)
        ::AppendMenuA(menu, MF_STRING, it.first, it.second);
      else
        ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
    m_menus.push_back(menu);
    return menu;
  }

  static ULONG_PTR DataOf(HMENU menu, int position) {
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    EXPECT_TRUE(::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << position;
    return info.dwItemData;
  }

  // The width of a text in the menu font, as the preparation measures it.
  static int WidthOf(const char* text, bool bold = false) {
    HDC screen = ::GetDC(nullptr);
    CDC dc;
    dc.Attach(screen);
    int width = 0;
    {
      CRTFontSelector font(&dc, DEFAULT_GUI_FONT);
      CRTBoldFontSelector weight(&dc, bold);
      CRect r(0, 0, 0, 0);
      dc.DrawText(text, &r, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
      width = r.Width();
    }
    dc.Detach();
    ::ReleaseDC(nullptr, screen);
    return width;
  }

  std::vector<HMENU> m_menus;
};

// ---- Sizes ---------------------------------------------------------------------

TEST_F(MenuSkinTest, ItemAndSeparatorHeightsFollowTheTextHeight) {
  const struct {
    int text, item, separator;
  } cases[] = {{13, 20, 8}, {14, 20, 9}, {15, 21, 9}, {16, 22, 10}, {8, 20, 6}};
  for (const auto& c : cases) {
    int item = 0, separator = 0;
    CRTMenuSkin::ItemHeights(c.text, &item, &separator);
    EXPECT_EQ(c.item, item) << c.text;
    EXPECT_EQ(c.separator, separator) << c.text;
  }
}

TEST_F(MenuSkinTest, MeasureReadsThePackedSizes) {
  const struct {
    const char* name;
    uint32_t data;
    UINT width, height;
  } cases[] = {
      {"pop-up item", CRTMenuSkin::PackItemData(20, 40, 100), 100 + 40 + 42, 20},
      {"shortcut of 300 counts as 255", CRTMenuSkin::PackItemData(20, 300, 100), 100 + 255 + 42, 20},
      {"shortcut of exactly 255", CRTMenuSkin::PackItemData(22, 255, 7), 7 + 255 + 42, 22},
      {"menu-bar item", 57u << 16, 57 + 4, 0},
      {"separator", 8, 42, 8},
  };
  for (const auto& c : cases) {
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemData = c.data;
    CRTMenuSkin::MeasureItem(&mis);
    EXPECT_EQ(c.width, mis.itemWidth) << c.name;
    EXPECT_EQ(c.height, mis.itemHeight) << c.name;
  }
  MEASUREITEMSTRUCT other{};
  other.CtlType = ODT_LISTBOX;
  other.itemData = 0x00100014;
  CRTMenuSkin::MeasureItem(&other);
  EXPECT_EQ(0u, other.itemWidth) << "not a menu: untouched";
}

// No main window exists in these tests: the preparation measures on the screen.
TEST_F(MenuSkinTest, PreparedPopupCarriesWidestTextAndShortcutAndKeepsItsTexts) {
  HMENU menu = Popup({{101, "&Open\tCtrl+O"}, {0, nullptr}, {102, "Save &As...\tCtrl+Shift+S"}, {103, "E&xit"}});
  ::SetMenuDefaultItem(menu, 101, FALSE);
  CRTMenuSkin::PrepareMenu(nullptr, menu, TRUE, FALSE);

  HDC screen = ::GetDC(nullptr);
  TEXTMETRIC tm{};
  HGDIOBJ old = ::SelectObject(screen, ::GetStockObject(DEFAULT_GUI_FONT));
  ::GetTextMetricsA(screen, &tm);
  ::SelectObject(screen, old);
  ::ReleaseDC(nullptr, screen);
  int itemHeight = 0, separatorHeight = 0;
  CRTMenuSkin::ItemHeights(tm.tmHeight, &itemHeight, &separatorHeight);

  const int text = std::max({WidthOf("Open", true), WidthOf("Save As..."), WidthOf("Exit")});
  const int shortcut = std::max(WidthOf("Ctrl+O", true), WidthOf("Ctrl+Shift+S"));
  const uint32_t packed = CRTMenuSkin::PackItemData(itemHeight, shortcut, text);
  EXPECT_EQ(packed, DataOf(menu, 0));
  EXPECT_EQ(static_cast<ULONG_PTR>(separatorHeight), DataOf(menu, 1));
  EXPECT_EQ(packed, DataOf(menu, 2));
  EXPECT_EQ(packed, DataOf(menu, 3));
  EXPECT_STREQ("Save &As...\tCtrl+Shift+S", CRTMenuSkin::TextOf(102, nullptr));
  EXPECT_STREQ("E&xit", CRTMenuSkin::TextOf(103, nullptr));

  // Preparing again (each time the pop-up opens) keeps the texts and sizes.
  CRTMenuSkin::PrepareMenu(nullptr, menu, TRUE, FALSE);
  EXPECT_EQ(packed, DataOf(menu, 0));
  EXPECT_STREQ("&Open\tCtrl+O", CRTMenuSkin::TextOf(101, nullptr));
}

TEST_F(MenuSkinTest, MenuBarItemsCarryTheirOwnTextWidthAndSubMenusAreKeyedByHandle) {
  HMENU file = Popup({{101, "&Open"}});
  HMENU bar = ::CreateMenu();
  m_menus.push_back(bar);
  ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  ::AppendMenuA(bar, MF_STRING, 120, "&Help");
  CRTMenuSkin::PrepareMenu(nullptr, bar, TRUE, TRUE);
  EXPECT_EQ(static_cast<ULONG_PTR>(WidthOf("File")) << 16, DataOf(bar, 0));
  EXPECT_EQ(static_cast<ULONG_PTR>(WidthOf("Help")) << 16, DataOf(bar, 1));
  EXPECT_STREQ("&File", CRTMenuSkin::TextOf(0, file));
  EXPECT_STREQ("&Help", CRTMenuSkin::TextOf(120, nullptr));
  EXPECT_TRUE(CRTMenuSkin::IsOwnerDrawnMenu(bar));

  // A sub-menu that is gone leaves the map at the next preparation.
  ::RemoveMenu(bar, 0, MF_BYPOSITION);
  ::DestroyMenu(file);
  CRTMenuSkin::PrepareMenu(nullptr, bar, TRUE, TRUE);
  EXPECT_EQ(0u, CRTMenuSkin::s_textBySubMenu.count(file));
}

TEST_F(MenuSkinTest, InactivePreparationAndOverlongTextsDoNoHarm) {
  HMENU menu = Popup({{101, "Open"}});
  CRTMenuSkin::PrepareMenu(nullptr, menu, FALSE, FALSE);
  EXPECT_FALSE(CRTMenuSkin::IsOwnerDrawnMenu(menu));
  const std::string longText(400, 'w');
  HMENU wide = Popup({{102, longText.c_str()}});
  CRTMenuSkin::PrepareMenu(nullptr, wide, TRUE, FALSE);
  EXPECT_EQ(255, CRTMenuSkin::TextOf(102, nullptr).GetLength());
  EXPECT_TRUE(CRTMenuSkin::IsOwnerDrawnMenu(wide));
}

// ---- Menu characters ------------------------------------------------------------

TEST_F(MenuSkinTest, MenuCharacterFindsTheMnemonicBeforeTheTab) {
  HMENU menu = Popup({{101, "&Open\tCtrl+O"}, {0, nullptr}, {102, "Save &&s and e&xit\tAlt+&Q"}, {103, "&zoom"}});
  CRTMenuSkin::PrepareMenu(nullptr, menu, TRUE, FALSE);
  const struct {
    UINT character, flags;
    LRESULT result;
  } cases[] = {
      {'o', 0, 0x20000 + 0},        {'O', MF_POPUP, 0x20000 + 0},
      {'x', 0, 0x20000 + 2},        {'s', 0, 0},  // a doubled ampersand is a literal one
      {'q', 0, 0},                  // after the tab: the shortcut, not a mnemonic
      {'z', 0, 0x20000 + 3},        // an ampersand at the start counts
      {'x', MF_POPUP | MF_SYSMENU, 0}, {'x', MF_SYSMENU, 0}, {'k', 0, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.result, CRTMenuSkin::OnMenuChar(menu, c.character, c.flags))
        << static_cast<char>(c.character) << " flags " << c.flags;
}

// ---- Drawing ----------------------------------------------------------------------

// A canvas to draw synthetic item records into.
class Canvas {
 public:
  Canvas(int w, int h) {
    m_dc.CreateCompatibleDC(nullptr);
    m_bitmap = ::CreateBitmap(w, h, 1, 32, nullptr);
    m_old = m_dc.SelectObject(m_bitmap);
    m_dc.FillSolidRect(0, 0, w, h, RGB(255, 0, 255));
  }
  ~Canvas() {
    m_dc.SelectObject(m_old);
    ::DeleteObject(m_bitmap);
  }
  CDC* dc() { return &m_dc; }
  COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }

 private:
  CDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_old;
};

struct DrawCase {
  const char* name;
  UINT id;
  UINT state;
  bool menuBar;
};

class MenuDrawTest : public MenuSkinTest {
 protected:
  void SetUp() override {
    m_popup = Popup({{201, "&Plain\tCtrl+P"}, {202, "&Checked"}, {203, "&Radio"}, {0, nullptr}, {204, "&Default"}});
    ::CheckMenuItem(m_popup, 202, MF_CHECKED);
    ::CheckMenuRadioItem(m_popup, 203, 203, 203, MF_BYCOMMAND);
    ::SetMenuDefaultItem(m_popup, 204, FALSE);
    CRTMenuSkin::PrepareMenu(nullptr, m_popup, TRUE, FALSE);
    m_bar = ::CreateMenu();
    m_menus.push_back(m_bar);
    ::AppendMenuA(m_bar, MF_STRING, 301, "&View");
    CRTMenuSkin::PrepareMenu(nullptr, m_bar, TRUE, TRUE);
  }

  // Draws one record in row `row` of the canvas (24 pixels each); returns the item's rectangle.
  CRect Draw(Canvas* canvas, const DrawCase& c, int row) {
    HMENU menu = c.menuBar ? m_bar : m_popup;
    int position = -1;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
      if (::GetMenuItemID(menu, i) == c.id) position = i;
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    ::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = c.id;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = c.state;
    dis.hwndItem = reinterpret_cast<HWND>(menu);
    dis.hDC = canvas->dc()->GetSafeHdc();
    dis.rcItem = CRect(0, row * 24, c.menuBar ? 60 : 160, row * 24 + 22);
    dis.itemData = info.dwItemData;
    EXPECT_TRUE(CRTMenuSkin::DrawItem(&dis, nullptr)) << c.name;
    return CRect(dis.rcItem);
  }

  HMENU m_popup = nullptr;
  HMENU m_bar = nullptr;
};

TEST_F(MenuDrawTest, EveryItemStateDrawsItsFlatLook) {
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  const COLORREF icon = Hls(COLOR_BTNFACE, 20, 0), textArea = Hls(COLOR_BTNFACE, 75, 0);
  const COLORREF selection = Hls(COLOR_HIGHLIGHT, 70, -57), disabledSelection = Hls(COLOR_BTNFACE, 73, 0);
  const COLORREF frame = ::GetSysColor(COLOR_HIGHLIGHT);
  const struct {
    DrawCase draw;
    COLORREF left;    // at (3, middle): icon column, or the bar item's inside
    COLORREF middle;  // at (x = 140, middle), clear of any text (a bar item: x = 50)
    COLORREF corner;  // the top-left pixel
  } cases[] = {
      {{"pop-up normal", 201, 0, false}, icon, textArea, icon},
      {{"pop-up selected", 201, ODS_SELECTED, false}, selection, selection, frame},
      {{"pop-up hot", 201, ODS_HOTLIGHT, false}, selection, selection, frame},
      {{"pop-up hot but inactive", 201, ODS_HOTLIGHT | ODS_INACTIVE, false}, icon, textArea, icon},
      {{"pop-up selected, disabled", 201, ODS_SELECTED | ODS_GRAYED | ODS_DISABLED, false},
       disabledSelection, disabledSelection, frame},
      {{"pop-up without accelerators", 201, ODS_NOACCEL, false}, icon, textArea, icon},
      {{"separator", 0, 0, false}, icon, textArea, icon},
      {{"bar normal", 301, 0, true}, face, face, face},
      {{"bar hot", 301, ODS_HOTLIGHT, true}, selection, face, frame},
      {{"bar hot but inactive", 301, ODS_HOTLIGHT | ODS_INACTIVE, true}, face, face, face},
      {{"bar open", 301, ODS_SELECTED, true}, icon, face, ::GetSysColor(COLOR_3DDKSHADOW)},
  };
  Canvas canvas(170, 24 * static_cast<int>(std::size(cases)));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    const CRect r = Draw(&canvas, c.draw, static_cast<int>(i));
    const int y = r.top + 3;  // above the text
    EXPECT_EQ(c.left, canvas.At(r.left + 3, y)) << c.draw.name;
    EXPECT_EQ(c.middle, canvas.At(c.draw.menuBar ? 57 : 140, y)) << c.draw.name;
    EXPECT_EQ(c.corner, canvas.At(r.left, r.top)) << c.draw.name;
    EXPECT_EQ(RGB(255, 0, 255), canvas.At(r.left, r.bottom)) << c.draw.name << ": stays in its rectangle";
  }
}

TEST_F(MenuDrawTest, OpenBarItemCastsAShadowThatFadesInAtTheTop) {
  Canvas canvas(70, 24);
  Draw(&canvas, {"bar open", 301, ODS_SELECTED, true}, 0);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  auto shaded = [&](int percent) {
    return RGB(GetRValue(face) * percent / 100, GetGValue(face) * percent / 100, GetBValue(face) * percent / 100);
  };
  EXPECT_EQ(face, canvas.At(59, 2)) << "above the shadow";
  EXPECT_EQ(shaded(93), canvas.At(59, 4)) << "first shaded row";
  EXPECT_EQ(shaded(78), canvas.At(59, 12)) << "outermost column";
  EXPECT_EQ(shaded(93), canvas.At(56, 12)) << "innermost column";
}

TEST_F(MenuDrawTest, TextColoursAndMarks) {
  Canvas canvas(170, 24 * 4);
  auto hasColour = [&](const CRect& r, int x0, int x1, COLORREF colour) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = x0; x < x1; ++x)
        if (canvas.At(x, y) == colour) return true;
    return false;
  };
  const CRect plain = Draw(&canvas, {"plain", 201, 0, false}, 0);
  EXPECT_TRUE(hasColour(plain, 30, 90, ::GetSysColor(COLOR_MENUTEXT)));
  EXPECT_TRUE(hasColour(plain, 100, 148, ::GetSysColor(COLOR_MENUTEXT))) << "shortcut, right-aligned";
  EXPECT_FALSE(hasColour(plain, 148, 160, ::GetSysColor(COLOR_MENUTEXT))) << "12 pixels right margin";
  const CRect inactive = Draw(&canvas, {"inactive", 201, ODS_INACTIVE, false}, 1);
  EXPECT_TRUE(hasColour(inactive, 30, 90, ::GetSysColor(COLOR_BTNSHADOW)));
  const CRect checked = Draw(&canvas, {"checked", 202, 0, false}, 2);
  EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), canvas.At(checked.left + 1, checked.top + 1)) << "check box frame";
  EXPECT_TRUE(hasColour(checked, 5, 20, RGB(0, 0, 0))) << "the system check mark";
  const CRect radio = Draw(&canvas, {"radio", 203, 0, false}, 3);
  EXPECT_TRUE(hasColour(radio, 5, 20, ::GetSysColor(COLOR_MENUTEXT))) << "the dot";
}

TEST_F(MenuDrawTest, ImagesNeedTheSwitch) {
  std::vector<std::unique_ptr<CBitmap>> images;
  auto solid = [&](COLORREF c) {
    auto bm = std::make_unique<CBitmap>();
    bm->Attach(::CreateBitmap(12, 12, 1, 32, nullptr));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ old = dc.SelectObject(static_cast<HGDIOBJ>(bm->GetSafeHandle()));
    dc.FillSolidRect(0, 0, 12, 12, c);
    dc.SelectObject(old);
    images.push_back(std::move(bm));
    return images.back().get();
  };
  const COLORREF barNormal = RGB(10, 20, 30), itemNormal = RGB(40, 50, 60), slider = RGB(70, 80, 90);
  CBitmap* barSet[5] = {nullptr, solid(barNormal), nullptr, nullptr, nullptr};
  CBitmap* itemSet[5] = {nullptr, solid(itemNormal), nullptr, solid(slider), nullptr};
  const int32_t modes[5] = {kSkinStretch, kSkinStretch, kSkinStretch, kSkinStretch, kSkinStretch};
  CRTMenuSkin::SetMenuBarImages(barSet, modes);
  CRTMenuSkin::SetMenuItemImages(itemSet, modes);
  const struct {
    int enabled;
    COLORREF bar, icon, text;
  } cases[] = {
      {0, ::GetSysColor(COLOR_BTNFACE), Hls(COLOR_BTNFACE, 20, 0), Hls(COLOR_BTNFACE, 75, 0)},
      {1, barNormal, slider, itemNormal},
  };
  for (const auto& c : cases) {
    CRTMenuSkin::SetSkinEnabled(c.enabled);
    Canvas canvas(170, 48);
    Draw(&canvas, {"bar", 301, 0, true}, 0);
    Draw(&canvas, {"pop-up", 201, 0, false}, 1);
    EXPECT_EQ(c.bar, canvas.At(57, 3)) << c.enabled;
    EXPECT_EQ(c.icon, canvas.At(3, 27)) << c.enabled;
    EXPECT_EQ(c.text, canvas.At(140, 27)) << c.enabled;
  }
}

}  // namespace
