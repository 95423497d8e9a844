// The skin store on generated test skins: solid-colour images, one colour
// and one draw mode per slot, so every class's statics show what it got.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "RTButton.h"
#include "RTCheckBox.h"
#include "RTComboBox.h"
#include "RTDialog.h"
#include "RTFrameWnd.h"
#include "RTHeaderCtrl.h"
#include "RTListCtrl.h"
#include "RTMenuSkin.h"
#include "RTPropertyPage.h"
#include "RTPropertySheet.h"
#include "RTRadioButton.h"
#include "RTScrollBar.h"
#include "RTSkin.h"
#include "RTStatic.h"
#include "RTStatusBar.h"
#include "RTTabCtrl.h"
#include "RTToolBar.h"
#include "RTTreeCtrl.h"
#include "RTView.h"
#include "TempDir.h"
#include "TestKit.h"

namespace {

struct Section {
  const char* name;
  const char* images[5];
  const char* modes[5];
};

// Written from the skin description's documentation, independently of the loader's table.
#define FIVE_SLOTS \
  {"Back", "Normal", "Focus", "Down", "Disable"}, \
  {"BackDrawMode", "NormalDrawMode", "FocusDrawMode", "DownDrawMode", "DisableDrawMode"}
#define BUTTON_SLOTS \
  {nullptr, "Normal", "Focus", "Down", "Disable"}, \
  {nullptr, "NormalDrawMode", "FocusDrawMode", "DownDrawMode", "DisableDrawMode"}
const Section kSections[] = {
    {"ToolBar", FIVE_SLOTS},
    {"TitleBar", {"Back", "Active", "InActive"}, {"BackDrawMode", "ActiveDrawMode", "InActiveDrawMode"}},
    {"ExitButton", BUTTON_SLOTS},
    {"RestoreButton", BUTTON_SLOTS},
    {"MaximizeButton", BUTTON_SLOTS},
    {"MinimizeButton", BUTTON_SLOTS},
    {"MenuBar", FIVE_SLOTS},
    {"MenuItem", {"Back", "Normal", "Focus", "Slider", "Disable"},
     {"BackDrawMode", "NormalDrawMode", "FocusDrawMode", "SliderDrawMode", "DisableDrawMode"}},
    {"StatusBar", {"Back"}, {"BackDrawMode"}},
    {"Button", BUTTON_SLOTS},
    {"ListCtrl", {"Back"}, {"BackDrawMode"}},
    {"HeaderCtrl", FIVE_SLOTS},
    {"ScrollBarHorizontal", FIVE_SLOTS},
    {"ScrollBarVertical", FIVE_SLOTS},
    {"ScrollBarLeftArrow", FIVE_SLOTS},
    {"ScrollBarRightArrow", FIVE_SLOTS},
    {"ScrollBarUpArrow", FIVE_SLOTS},
    {"ScrollBarDownArrow", FIVE_SLOTS},
    {"TreeCtrl", {"Back"}, {"BackDrawMode"}},
    {"Dialog", {"Back"}, {"BackDrawMode"}},
    {"StaticCtrl", {"Back"}, {"BackDrawMode"}},
    {"SheetCtrl", {"Back"}, {"BackDrawMode"}},
    {"TabCtrl", {"Back", "tabnormal", "tabsel"}, {"BackDrawMode", "NornalDrawMode", "FocusDrawMode"}},
    {"ComboboxCtrl", {"Back", "Arrow", "Focus"}, {"BackDrawMode", "ArrowDrawMode", "FocusDrawMode"}},
};
#undef FIVE_SLOTS
#undef BUTTON_SLOTS
constexpr int kSectionCount = sizeof kSections / sizeof kSections[0];

// Every slot of every section has a colour and a mode of its own.
COLORREF SlotColor(int section, int slot) { return RGB(10 + section * 9, 20 + slot * 40, 200 - section); }
int SlotMode(int section, int slot) { return (section + slot) % 9; }

// A bitmap of equal-width vertical bands, band i in colors[i].
void WriteBands(const std::string& path, int bandWidth, int h, const std::vector<COLORREF>& colors) {
  const int w = bandWidth * static_cast<int>(colors.size());
  HBITMAP bm = ::CreateBitmap(w, h, 1, 32, nullptr);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bm);
  for (size_t i = 0; i < colors.size(); ++i) {
    RECT r{static_cast<int>(i) * bandWidth, 0, static_cast<int>(i + 1) * bandWidth, h};
    HBRUSH b = ::CreateSolidBrush(colors[i]);
    ::FillRect(dc, &r, b);
    ::DeleteObject(b);
  }
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ASSERT_TRUE(PlatformWriteBmpFile(bm, 24, path.c_str()));
  ::DeleteObject(bm);
}

void WriteSolidBmp(const std::string& path, int w, int h, COLORREF color) { WriteBands(path, w, h, {color}); }

// A strip of square frames, frame i in colors[i].
void WriteStrip(const std::string& path, int side, const std::vector<COLORREF>& colors) {
  WriteBands(path, side, side, colors);
}

void WriteText(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(nullptr, f);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

COLORREF ColorOfBitmap(CBitmap* bitmap) {
  if (!bitmap) return 0xFFFFFFFF;
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bitmap->GetSafeHandle());
  const COLORREF c = ::GetPixel(dc, 0, 0);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return c;
}

// The full test skin: images in a sub-folder written with a backslash, colours in decimal.
std::string WriteFullSkin(const TempDir& dir) {
  mkdir(dir.file("img").c_str(), 0755);
  std::string ini = "; test skin\n";
  for (int s = 0; s < kSectionCount; ++s) {
    ini += std::string("<") + kSections[s].name;
    for (int i = 0; i < 5; ++i) {
      if (kSections[s].images[i]) {
        const std::string file = std::string(kSections[s].name) + "_" + std::to_string(i) + ".bmp";
        WriteSolidBmp(dir.file("img/" + file), 9 + i, 9, SlotColor(s, i));
        ini += std::string(" ") + kSections[s].images[i] + "=img\\" + file;
      }
      if (kSections[s].modes[i]) ini += std::string(" ") + kSections[s].modes[i] + "=" + std::to_string(SlotMode(s, i));
    }
    ini += ">\n";
  }
  ini += "<BorderColor Color0=16777215 Color1=0xFF0000 Color2=0x0000FF Color3=0x010000>\n";
  WriteText(dir.file("skin.ini"), ini);
  return dir.file("skin.ini");
}

int SectionIndex(const char* name) {
  for (int s = 0; s < kSectionCount; ++s)
    if (std::string(kSections[s].name) == name) return s;
  ADD_FAILURE() << name;
  return 0;
}

struct Receiver {
  const char* what;
  const SkinImageSet* set;
  const char* section;
  int slots;  // how many slots the class takes
};

// Every class-wide image set and the section it must have received.
const std::vector<Receiver>& Receivers() {
  static const std::vector<Receiver> kReceivers = {
      {"CRTFrameWnd exit", &CRTFrameWnd::s_exitButton, "ExitButton", 5},
      {"CRTDialog exit", &CRTDialog::s_exitButton, "ExitButton", 5},
      {"CRTPropertySheet exit", &CRTPropertySheet::s_exitButton, "ExitButton", 5},
      {"CRTFrameWnd restore", &CRTFrameWnd::s_restoreButton, "RestoreButton", 5},
      {"CRTDialog restore", &CRTDialog::s_restoreButton, "RestoreButton", 5},
      {"CRTFrameWnd maximize", &CRTFrameWnd::s_maximizeButton, "MaximizeButton", 5},
      {"CRTDialog maximize", &CRTDialog::s_maximizeButton, "MaximizeButton", 5},
      {"CRTFrameWnd minimize", &CRTFrameWnd::s_minimizeButton, "MinimizeButton", 5},
      {"CRTDialog minimize", &CRTDialog::s_minimizeButton, "MinimizeButton", 5},
      {"CRTFrameWnd title", &CRTFrameWnd::s_titleBar, "TitleBar", 5},
      {"CRTDialog title", &CRTDialog::s_titleBar, "TitleBar", 5},
      {"CRTPropertySheet title", &CRTPropertySheet::s_titleBar, "TitleBar", 5},
      {"CRTFrameWnd menu bar", &CRTFrameWnd::s_menuBar, "MenuBar", 5},
      {"CRTDialog menu bar", &CRTDialog::s_menuBar, "MenuBar", 5},
      {"CRTCheckBox", &CRTCheckBox::s_images, "MenuBar", 5},
      {"CRTRadioButton", &CRTRadioButton::s_images, "MenuBar", 5},
      {"CRTMenuSkin menu bar", &CRTMenuSkin::s_menuBar, "MenuBar", 5},
      {"CRTMenuSkin menu item", &CRTMenuSkin::s_menuItem, "MenuItem", 5},
      {"CRTDialog back", &CRTDialog::s_back, "Dialog", 1},
      {"CRTView", &CRTView::s_images, "Dialog", 5},
      {"CRTTabCtrl", &CRTTabCtrl::s_images, "TabCtrl", 5},
      {"CRTPropertyPage", &CRTPropertyPage::s_images, "TabCtrl", 5},
      {"CRTStatusBar", &CRTStatusBar::s_images, "StatusBar", 5},
      {"CRTToolBar", &CRTToolBar::s_images, "ToolBar", 4},
      {"CRTButton", &CRTButton::s_images, "Button", 5},
      {"CRTListCtrl", &CRTListCtrl::s_images, "ListCtrl", 5},
      {"CRTHeaderCtrl", &CRTHeaderCtrl::s_images, "HeaderCtrl", 5},
      {"CRTTreeCtrl", &CRTTreeCtrl::s_images, "TreeCtrl", 5},
      {"CRTScrollBar vertical", &CRTScrollBar::s_vertical, "ScrollBarVertical", 5},
      {"CRTScrollBar horizontal", &CRTScrollBar::s_horizontal, "ScrollBarHorizontal", 5},
      {"CRTScrollBar left", &CRTScrollBar::s_leftArrow, "ScrollBarLeftArrow", 5},
      {"CRTScrollBar right", &CRTScrollBar::s_rightArrow, "ScrollBarRightArrow", 5},
      {"CRTScrollBar up", &CRTScrollBar::s_upArrow, "ScrollBarUpArrow", 5},
      {"CRTScrollBar down", &CRTScrollBar::s_downArrow, "ScrollBarDownArrow", 5},
      {"CRTStatic back", &CRTStatic::s_back, "StaticCtrl", 1},
      {"CRTPropertySheet back", &CRTPropertySheet::s_back, "StaticCtrl", 1},
      {"CRTComboBox", &CRTComboBox::s_images, "ComboboxCtrl", 5},
  };
  return kReceivers;
}

TEST(SkinLoader, EveryClassReceivesItsSectionSlotBySlot) {
  TempDir dir;
  CRTSkin skin;
  ASSERT_EQ(1, skin.LoadSkin(WriteFullSkin(dir).c_str()));
  for (const Receiver& r : Receivers()) {
    const int s = SectionIndex(r.section);
    for (int i = 0; i < 5; ++i) {
      SCOPED_TRACE(std::string(r.what) + " slot " + std::to_string(i));
      const bool keyed = i < r.slots && kSections[s].images[i];
      if (keyed) {
        ASSERT_NE(nullptr, r.set->images[i]);
        EXPECT_EQ(SlotColor(s, i), ColorOfBitmap(r.set->images[i]));
        BITMAP bm{};
        r.set->images[i]->GetBitmap(&bm);
        EXPECT_EQ(9 + i, bm.bmWidth);
      } else {
        EXPECT_EQ(nullptr, r.set->images[i]);
      }
      const bool moded = i < r.slots && kSections[s].modes[i];
      EXPECT_EQ(moded ? SlotMode(s, i) : 0, r.set->modes[i]);
    }
  }
  // The sheet's unfilled caption buttons and the tool bar's fifth slot stay empty.
  EXPECT_EQ(nullptr, CRTPropertySheet::s_maximizeButton.images[1]);
  EXPECT_EQ(nullptr, CRTToolBar::s_images.images[4]);
  // Colours: decimal, and "0x" pairs written low digit first.
  const COLORREF borders[4] = {RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 0, 255), RGB(0x10, 0, 0)};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(borders[i], CRTDialog::s_borderColors[i]) << i;
    EXPECT_EQ(borders[i], CRTFrameWnd::s_borderColors[i]) << i;
  }
  // The sheet's colours are fixed.
  EXPECT_EQ(0x00AD9E9Cu, CRTPropertySheet::s_borderColors[0]);
  // "SheetCtrl" is read and held only.
  EXPECT_EQ(SlotColor(SectionIndex("SheetCtrl"), 0),
            ColorOfBitmap(skin.GetImageSet(CRTSkin::kSheetCtrl).images[0]));
}

TEST(SkinLoader, EnableSkinSwitchesEveryClass) {
  CRTSkin skin;
  skin.EnableSkin(1);
  const std::vector<std::pair<const char*, int>> on = {
      {"CRTFrameWnd", CRTFrameWnd::s_skinEnabled},    {"CRTFrameWnd border", CRTFrameWnd::s_borderEnabled},
      {"CRTFrameWnd caption", CRTFrameWnd::s_captionEnabled},
      {"CRTDialog", CRTDialog::s_skinEnabled},        {"CRTDialog border", CRTDialog::s_borderEnabled},
      {"CRTDialog background", CRTDialog::s_backgroundEnabled},
      {"CRTDialog caption", CRTDialog::s_captionEnabled},
      {"CRTToolBar", CRTToolBar::s_skinEnabled},      {"CRTMenuSkin", CRTMenuSkin::s_skinEnabled},
      {"CRTButton", CRTButton::s_skinEnabled},        {"CRTTabCtrl", CRTTabCtrl::s_skinEnabled},
      {"CRTListCtrl", CRTListCtrl::s_skinEnabled},    {"CRTHeaderCtrl", CRTHeaderCtrl::s_skinEnabled},
      {"CRTScrollBar", CRTScrollBar::s_skinEnabled},  {"CRTTreeCtrl", CRTTreeCtrl::s_skinEnabled},
      {"CRTCheckBox", CRTCheckBox::s_skinEnabled},    {"CRTRadioButton", CRTRadioButton::s_skinEnabled},
      {"CRTStatusBar", CRTStatusBar::s_skinEnabled},  {"CRTStatic", CRTStatic::s_skinEnabled},
      {"CRTView", CRTView::s_skinEnabled},            {"CRTPropertySheet", CRTPropertySheet::s_skinEnabled},
      {"CRTPropertySheet caption", CRTPropertySheet::s_captionEnabled},
      {"CRTPropertyPage", CRTPropertyPage::s_skinEnabled},
  };
  for (const auto& [what, value] : on) EXPECT_EQ(1, value) << what;
  EXPECT_EQ(0, CRTCheckBox::s_noBackground);
  EXPECT_EQ(1, CRTToolBar::SetSkinFlag(0));  // returns the previous switch
  skin.EnableSkin(0);
  EXPECT_EQ(0, CRTDialog::s_skinEnabled);
  EXPECT_EQ(1, CRTDialog::s_borderEnabled);
  EXPECT_EQ(0, CRTButton::s_skinEnabled);
}

TEST(SkinLoader, ADialogOnlySkinEmptiesEveryOtherClass) {
  TempDir dir;
  WriteSolidBmp(dir.file("bg.bmp"), 12, 10, RGB(1, 2, 3));
  WriteText(dir.file("skin.ini"), "<Dialog Back=bg.bmp BackDrawMode=3>");
  CRTSkin skin;
  ASSERT_EQ(1, skin.LoadSkin(dir.file("skin.ini").c_str()));
  EXPECT_EQ(RGB(1, 2, 3), ColorOfBitmap(CRTDialog::s_back.images[0]));
  EXPECT_EQ(3, CRTDialog::s_back.modes[0]);
  EXPECT_EQ(CRTDialog::s_back.images[0], CRTView::s_images.images[0]);
  for (const Receiver& r : Receivers()) {
    if (std::string(r.section) == "Dialog") continue;
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(nullptr, r.set->images[i]) << r.what << " " << i;
      EXPECT_EQ(0, r.set->modes[i]) << r.what << " " << i;
    }
  }
  for (int i = 0; i < 4; ++i) EXPECT_EQ(0u, CRTDialog::s_borderColors[i]);
}

// A store that goes takes its images back from the classes and switches
// skinning off; one that never handed its images out leaves the classes
// with the images of the store that did.
TEST(SkinLoader, AStoreThatGoesLeavesNoBorrowedImageBehind) {
  TempDir dir;
  const std::string path = WriteFullSkin(dir);
  {
    CRTSkin first;
    ASSERT_EQ(1, first.LoadSkin(path.c_str()));
    first.EnableSkin(1);
    ASSERT_NE(nullptr, CRTButton::s_images.images[1]);
  }
  for (const Receiver& r : Receivers())
    for (int i = 0; i < 5; ++i) EXPECT_EQ(nullptr, r.set->images[i]) << r.what << " " << i;
  EXPECT_EQ(0, CRTButton::s_skinEnabled);
  EXPECT_EQ(0, CRTDialog::s_skinEnabled);

  CRTSkin kept;
  ASSERT_EQ(1, kept.LoadSkin(path.c_str()));
  CBitmap* button = CRTButton::s_images.images[1];
  { CRTSkin unused; }
  EXPECT_EQ(button, CRTButton::s_images.images[1]);
}

TEST(SkinLoader, FailuresLeaveTheStoreAndTheClassesAlone) {
  TempDir dir;
  CRTSkin skin;
  ASSERT_EQ(1, skin.LoadSkin(WriteFullSkin(dir).c_str()));
  CBitmap* button = CRTButton::s_images.images[1];
  ASSERT_NE(nullptr, button);
  EXPECT_EQ(0, skin.LoadSkin(nullptr));
  EXPECT_EQ(0, skin.LoadSkin(dir.file("missing.ini").c_str()));
  // A path without a separator: read, but nothing applied.
  char cwd[4096];
  ASSERT_NE(nullptr, getcwd(cwd, sizeof cwd));
  ASSERT_EQ(0, chdir(dir.path().c_str()));
  EXPECT_EQ(0, skin.LoadSkin("skin.ini"));
  ASSERT_EQ(0, chdir(cwd));
  EXPECT_EQ(button, CRTButton::s_images.images[1]);
  EXPECT_EQ(SlotColor(SectionIndex("Button"), 1), ColorOfBitmap(button));
}

TEST(SkinLoader, BadInputLoadsWhatItCan) {
  TempDir dir;
  WriteSolidBmp(dir.file("ok.bmp"), 9, 9, RGB(9, 9, 9));
  WriteText(dir.file("garbage.bmp"), "BM this is not a bitmap");
  WriteSolidBmp(dir.file("tiny.bmp"), 4, 4, RGB(7, 7, 7));
  const std::string longValue(5000, 'x');
  const std::string longDigits(5000, '9');
  WriteText(dir.file("skin.ini"),
            "<Unknown Back=ok.bmp>\n"
            "<Button Normal=garbage.bmp Focus=missing.bmp Down= Disable=ok.bmp NormalDrawMode=12abc "
            "FocusDrawMode=0X1F DownDrawMode=-3 DisableDrawMode=" + longDigits + ">\n"
            "<BorderColor Color0=0xZZ Color1=0x Color2=" + longValue + " Color3=99999999999999>\n"
            "<Dialog Back=" + longValue + ".bmp>\n"
            "<StaticCtrl Back=tiny.bmp>\n"
            "<ListCtrl Back=ok.bmp");  // truncated: its last token has no blank after it
  CRTSkin skin;
  ASSERT_EQ(1, skin.LoadSkin(dir.file("skin.ini").c_str()));
  EXPECT_EQ(nullptr, CRTButton::s_images.images[1]);
  EXPECT_EQ(nullptr, CRTButton::s_images.images[2]);
  EXPECT_EQ(nullptr, CRTButton::s_images.images[3]);
  EXPECT_EQ(RGB(9, 9, 9), ColorOfBitmap(CRTButton::s_images.images[4]));
  EXPECT_EQ(12, CRTButton::s_images.modes[1]);
  EXPECT_EQ(0, CRTButton::s_images.modes[2]);
  EXPECT_EQ(-3, CRTButton::s_images.modes[3]);
  EXPECT_EQ(INT32_MAX, CRTButton::s_images.modes[4]);  // saturates instead of overflowing
  EXPECT_EQ(0u, CRTDialog::s_borderColors[0]);
  EXPECT_EQ(0u, CRTDialog::s_borderColors[1]);
  EXPECT_EQ(0u, CRTDialog::s_borderColors[2]);
  EXPECT_EQ(static_cast<COLORREF>(INT32_MAX), CRTDialog::s_borderColors[3]);
  EXPECT_EQ(nullptr, CRTDialog::s_back.images[0]);
  // Loaded: a too-small image is refused only when drawn.
  EXPECT_EQ(RGB(7, 7, 7), ColorOfBitmap(CRTStatic::s_back.images[0]));
  EXPECT_EQ(nullptr, CRTListCtrl::s_images.images[0]);
}

TEST(SkinLoader, ButtonStripsGiveAtMostFiveFrames) {
  TempDir dir;
  const std::vector<COLORREF> five = {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0), RGB(4, 0, 0), RGB(5, 0, 0)};
  std::vector<COLORREF> ten = five;
  for (int i = 0; i < 5; ++i) ten.push_back(RGB(0, 0, 10 + i));
  WriteStrip(dir.file("max.bmp"), 16, five);
  WriteStrip(dir.file("min.bmp"), 16, ten);
  WriteSolidBmp(dir.file("n.bmp"), 9, 9, RGB(50, 50, 50));
  WriteText(dir.file("skin.ini"),
            "<MaximizeButton list=max.bmp mask=16711935 Normal=n.bmp NormalDrawMode=2 DownDrawMode=3>\n"
            "<MinimizeButton list=min.bmp>\n");
  CRTSkin skin;
  ASSERT_EQ(1, skin.LoadSkin(dir.file("skin.ini").c_str()));
  for (int i = 0; i < 5; ++i) {
    ASSERT_NE(nullptr, CRTDialog::s_maximizeButton.images[i]) << i;
    EXPECT_EQ(five[i], ColorOfBitmap(CRTDialog::s_maximizeButton.images[i])) << i;  // not n.bmp
    BITMAP bm{};
    CRTDialog::s_maximizeButton.images[i]->GetBitmap(&bm);
    EXPECT_EQ(16, bm.bmWidth);
    EXPECT_EQ(16, bm.bmHeight);
    EXPECT_EQ(five[i], ColorOfBitmap(CRTFrameWnd::s_minimizeButton.images[i])) << i;
  }
  EXPECT_EQ(2, CRTDialog::s_maximizeButton.modes[1]);
  EXPECT_EQ(3, CRTDialog::s_maximizeButton.modes[3]);
}

TEST(SkinLoader, AStripNarrowerThanTallGivesNoFramesAndSkipsTheImageKeys) {
  TempDir dir;
  WriteSolidBmp(dir.file("tall.bmp"), 10, 20, RGB(1, 1, 1));
  WriteSolidBmp(dir.file("n.bmp"), 9, 9, RGB(50, 50, 50));
  WriteText(dir.file("skin.ini"), "<MaximizeButton list=tall.bmp Normal=n.bmp NormalDrawMode=4>");
  CRTSkin skin;
  ASSERT_EQ(1, skin.LoadSkin(dir.file("skin.ini").c_str()));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(nullptr, CRTDialog::s_maximizeButton.images[i]) << i;
  EXPECT_EQ(4, CRTDialog::s_maximizeButton.modes[1]);
}

TEST(SkinLoader, ReloadingReleasesEveryOldBitmapAndStrip) {
  TempDir dir;
  const std::string path = WriteFullSkin(dir);
  WriteStrip(dir.file("max.bmp"), 16, {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0), RGB(4, 0, 0), RGB(5, 0, 0)});
  {  // the maximize button from a strip, so its frames and image list are reloaded too
    std::string ini;
    FILE* f = std::fopen(path.c_str(), "rb");
    for (int c; (c = std::fgetc(f)) != EOF;) ini += static_cast<char>(c);
    std::fclose(f);
    ini.replace(ini.find("<MaximizeButton"), 15, "<MaximizeButton list=max.bmp");
    WriteText(path, ini);
  }
  // Handles cannot show it: a freed handle's value is the next bitmap's.
  const int before = testkit::LiveGdiObjects();
  {
    CRTSkin skin;
    ASSERT_EQ(1, skin.LoadSkin(path.c_str()));
    const int loaded = testkit::LiveGdiObjects();
    ASSERT_GT(loaded, before);
    ASSERT_EQ(1, skin.LoadSkin(path.c_str()));
    EXPECT_EQ(loaded, testkit::LiveGdiObjects());  // the old ones are gone
    EXPECT_EQ(RGB(3, 0, 0), ColorOfBitmap(CRTDialog::s_maximizeButton.images[2]));
    EXPECT_EQ(SlotColor(SectionIndex("Button"), 1), ColorOfBitmap(CRTButton::s_images.images[1]));
  }
  EXPECT_EQ(before, testkit::LiveGdiObjects());  // and the store's own die with it
}

TEST(SkinLoader, ReloadingStripsRebuildsTheImageLists) {
  TempDir dir;
  WriteStrip(dir.file("max.bmp"), 16, {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0)});
  WriteText(dir.file("skin.ini"), "<MaximizeButton list=max.bmp><MinimizeButton list=max.bmp>");
  CRTSkin skin;
  int loaded = 0;
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(1, skin.LoadSkin(dir.file("skin.ini").c_str()));
    EXPECT_EQ(RGB(3, 0, 0), ColorOfBitmap(CRTDialog::s_maximizeButton.images[2]));
    EXPECT_EQ(nullptr, CRTDialog::s_maximizeButton.images[3]);
    for (int strip = 0; strip < 2; ++strip) EXPECT_EQ(3, ::ImageList_GetImageCount(skin.GetStripImageList(strip)));
    // More objects after a reload would mean the old lists and frames leaked.
    if (round == 0) loaded = testkit::LiveGdiObjects();
    EXPECT_EQ(loaded, testkit::LiveGdiObjects()) << round;
  }
}

// A folder plus file name beyond the path limit is refused, never cut short
// into the name of another file.
TEST(SkinLoader, OverLongPathsFailInsteadOfBeingCut) {
  TempDir dir;
  const int folderLength = CRTSkin::kMaxSkinPath - 5;  // room for exactly "x.bmp"
  const int nameLength = folderLength - static_cast<int>(dir.path().size()) - 2;
  ASSERT_GT(nameLength, 0);
  const std::string folder = dir.path() + "/" + std::string(static_cast<size_t>(nameLength), 'd') + "/";
  ASSERT_EQ(folderLength, static_cast<int>(folder.size()));
  mkdir(folder.c_str(), 0755);
  WriteSolidBmp(folder + "x.bmp", 9, 9, RGB(1, 2, 3));
  WriteText(folder + "s.ini", "<Dialog Back=x.bmpEXTRA ><StaticCtrl Back=x.bmp >");
  CRTSkin skin;
  ASSERT_EQ(1, skin.LoadSkin((folder + "s.ini").c_str()));
  EXPECT_EQ(nullptr, CRTDialog::s_back.images[0]);  // cut at 259 this would have been x.bmp
  EXPECT_EQ(RGB(1, 2, 3), ColorOfBitmap(CRTStatic::s_back.images[0]));

  const std::string deeper = folder + "deeper/";
  mkdir(deeper.c_str(), 0755);
  WriteText(deeper + "skin.ini", "<Dialog Back=x.bmp>");
  EXPECT_EQ(0, skin.LoadSkin((deeper + "skin.ini").c_str()));
}

// Our own skin, once its generator has written it: every image the loader
// reads is there, large enough to draw, with a mode it knows.
TEST(SkinLoader, OurOwnSkinFillsEverySlotItNames) {
  const char* source = std::getenv("TRELLIAN_SOURCE_DIR");
  const std::string path = std::string(source ? source : ".") + "/res/Skin/vAdev/skin.ini";
  if (access(path.c_str(), R_OK) != 0) GTEST_SKIP() << "no skin at " << path;
  CRTSkin skin;
  ASSERT_EQ(1, skin.LoadSkin(path.c_str()));
  for (int s = 0; s < kSectionCount; ++s) {
    const SkinImageSet& set = skin.GetImageSet(static_cast<CRTSkin::Section>(s));
    for (int i = 0; i < 5; ++i) {
      SCOPED_TRACE(std::string(kSections[s].name) + " slot " + std::to_string(i));
      if (kSections[s].images[i]) {
        ASSERT_NE(nullptr, set.images[i]);
        BITMAP bm{};
        set.images[i]->GetBitmap(&bm);
        EXPECT_GE(bm.bmWidth, 9);
        EXPECT_GE(bm.bmHeight, 9);
      }
      if (kSections[s].modes[i]) {
        EXPECT_GE(set.modes[i], 0);
        EXPECT_LE(set.modes[i], 8);
      }
    }
  }
}

}  // namespace
