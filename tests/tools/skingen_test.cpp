#include <dirent.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Files.h"
#include "Gdi.h"
#include "SkinArt.h"
#include "TempDir.h"

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string SkinSource() { return Env("TRELLIAN_SOURCE_DIR") + "/res/Skin/vAdev"; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') names.insert(e->d_name);
    closedir(d);
  }
  return names;
}

// Elements of the skin description as the loader's grammar reads them:
// '<', name, blank-separated key=value tokens, '>'. The first element of a
// name wins; `count` tells how often each name occurs.
struct Ini {
  std::map<std::string, std::map<std::string, std::string>> sections;
  std::map<std::string, int> count;
};

Ini ParseIni(const std::string& text) {
  Ini ini;
  size_t pos = 0;
  while ((pos = text.find('<', pos)) != std::string::npos) {
    size_t end = text.find('>', pos);
    std::istringstream tokens(text.substr(pos + 1, end - pos - 1));
    std::string name, token;
    tokens >> name;
    bool first = ini.count[name]++ == 0;
    while (tokens >> token) {
      size_t eq = token.find('=');
      if (first && eq != std::string::npos) ini.sections[name].emplace(token.substr(0, eq), token.substr(eq + 1));
    }
    pos = end;
  }
  return ini;
}

bool IsDecimal(const std::string& v) { return !v.empty() && v.find_first_not_of("0123456789") == std::string::npos; }

// Every section and image key the skin loader reads, with the draw-mode key of each image.
struct Slot {
  const char* section;
  const char* key;
  const char* modeKey;
};

std::vector<Slot> LoaderSlots() {
  std::vector<Slot> slots;
  auto five = [&](const char* section) {
    for (const char* k : {"Back", "Normal", "Focus", "Down", "Disable"}) slots.push_back({section, k, nullptr});
  };
  auto buttons = [&](const char* section) {
    for (const char* k : {"Normal", "Focus", "Down", "Disable"}) slots.push_back({section, k, nullptr});
  };
  five("ToolBar");
  for (const char* k : {"Back", "Active", "InActive"}) slots.push_back({"TitleBar", k, nullptr});
  for (const char* s : {"ExitButton", "RestoreButton", "MaximizeButton", "MinimizeButton", "Button"}) buttons(s);
  five("MenuBar");
  for (const char* k : {"Back", "Normal", "Focus", "Slider", "Disable"}) slots.push_back({"MenuItem", k, nullptr});
  for (const char* s : {"StatusBar", "ListCtrl", "TreeCtrl", "Dialog", "StaticCtrl", "SheetCtrl"})
    slots.push_back({s, "Back", nullptr});
  five("HeaderCtrl");
  for (const char* s : {"ScrollBarHorizontal", "ScrollBarVertical", "ScrollBarLeftArrow", "ScrollBarRightArrow",
                        "ScrollBarUpArrow", "ScrollBarDownArrow"})
    five(s);
  slots.push_back({"TabCtrl", "Back", nullptr});
  slots.push_back({"TabCtrl", "tabnormal", "NornalDrawMode"});
  slots.push_back({"TabCtrl", "tabsel", "FocusDrawMode"});
  for (const char* k : {"Back", "Arrow", "Focus"}) slots.push_back({"ComboboxCtrl", k, nullptr});
  return slots;
}

TEST(SkinGen, ReproducesTheCommittedSkinByteForByte) {
  TempDir dir;
  std::string error;
  ASSERT_TRUE(skinart::WriteSkin(dir.path(), &error)) << error;
  std::set<std::string> made = FilesIn(dir.path()), committed = FilesIn(SkinSource());
  EXPECT_EQ(made, committed) << "regenerate with: skingen res/Skin/vAdev";
  for (const std::string& name : made)
    EXPECT_TRUE(ReadFile(dir.file(name)) == ReadFile(SkinSource() + "/" + name)) << name << " differs";
}

TEST(SkinGen, EverySlotTheLoaderReadsNamesALoadableImage) {
  Ini ini = ParseIni(ReadFile(SkinSource() + "/skin.ini"));
  std::set<std::string> named;
  for (const Slot& s : LoaderSlots()) {
    SCOPED_TRACE(std::string(s.section) + "/" + s.key);
    EXPECT_EQ(ini.count[s.section], 1);
    const auto& keys = ini.sections[s.section];
    auto image = keys.find(s.key);
    ASSERT_NE(image, keys.end());
    const std::string& file = image->second;
    EXPECT_EQ(file.find_first_of(" \t\"'<>"), std::string::npos);
    named.insert(file);
    HBITMAP bm = PlatformLoadBmpFile((SkinSource() + "/" + file).c_str());
    ASSERT_NE(bm, nullptr);
    BITMAP info{};
    GetObjectA(bm, sizeof info, &info);
    EXPECT_GE(info.bmWidth, 9);
    EXPECT_GE(info.bmHeight, 9);
    DeleteObject(bm);
    auto mode = keys.find(s.modeKey ? s.modeKey : std::string(s.key) + "DrawMode");
    ASSERT_NE(mode, keys.end());
    ASSERT_TRUE(IsDecimal(mode->second));
    EXPECT_LE(std::atoi(mode->second.c_str()), 8);
  }
  // Nothing in the folder that no slot names, except the description itself.
  std::set<std::string> files = FilesIn(SkinSource());
  files.erase("skin.ini");
  EXPECT_EQ(files, named);
}

TEST(SkinGen, BorderColoursAreDecimalColorRefs) {
  Ini ini = ParseIni(ReadFile(SkinSource() + "/skin.ini"));
  for (int i = 0; i < 4; ++i) {
    std::string v = ini.sections["BorderColor"]["Color" + std::to_string(i)];
    ASSERT_TRUE(IsDecimal(v)) << "Color" << i << "=" << v;
    EXPECT_EQ(std::stoul(v), skinart::BorderColor(i));
    EXPECT_LE(std::stoul(v), 0xFFFFFFul);
  }
}

// WCAG contrast of the image's centre pixel against black or white text.
double Luminance(uint32_t rgb) {
  auto channel = [](int c) {
    double s = c / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(rgb >> 16 & 255) + 0.7152 * channel(rgb >> 8 & 255) + 0.0722 * channel(rgb & 255);
}

double CentreContrast(const char* section, const char* key, bool whiteText) {
  std::string file;
  for (const skinart::SkinImage& s : skinart::SkinImages())
    if (std::string(s.section) == section && std::string(s.key) == key) file = s.file;
  HBITMAP bm = PlatformLoadBmpFile((SkinSource() + "/" + file).c_str());
  if (!bm) return 0;
  BITMAP info{};
  GetObjectA(bm, sizeof info, &info);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bm);
  COLORREF c = GetPixel(mem, info.bmWidth / 2, info.bmHeight / 2);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bm);
  double l = Luminance(uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c));
  return whiteText ? 1.05 / (l + 0.05) : (l + 0.05) / 0.05;
}

TEST(SkinGen, TextStaysLegibleOnItsBackground) {
  struct Case {
    const char* section;
    const char* key;
    bool whiteText;
  };
  const Case cases[] = {
      {"Dialog", "Back", true},         {"StaticCtrl", "Back", true},    {"Button", "Normal", false},
      {"Button", "Focus", false},       {"Button", "Down", false},       {"Button", "Disable", false},
      {"TitleBar", "Active", false},    {"TitleBar", "InActive", false}, {"HeaderCtrl", "Normal", false},
      {"HeaderCtrl", "Focus", false},   {"HeaderCtrl", "Down", false},   {"ComboboxCtrl", "Back", false},
      {"ComboboxCtrl", "Focus", false}, {"MenuBar", "Back", false},      {"MenuBar", "Focus", false},
      {"MenuBar", "Down", false},       {"MenuItem", "Normal", false},   {"MenuItem", "Focus", false},
      {"StatusBar", "Back", false},     {"TabCtrl", "Back", false},      {"TreeCtrl", "Back", false},
  };
  for (const Case& c : cases)
    EXPECT_GE(CentreContrast(c.section, c.key, c.whiteText), 4.5) << c.section << "/" << c.key;
}

TEST(SkinGen, BuildCopiesTheSkinBesideTheProgram) {
  // The tests are built into the same folder as the program.
  char self[4096] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string bin(self);
  bin.erase(bin.find_last_of('/'));
  std::string copy = bin + "/Skin/vAdev";
  ASSERT_FALSE(FilesIn(copy).empty()) << copy;
  for (const std::string& name : FilesIn(SkinSource()))
    EXPECT_TRUE(ReadFile(copy + "/" + name) == ReadFile(SkinSource() + "/" + name)) << name;
}

TEST(SkinGen, ContactSheetNamesAMissingImage) {
  TempDir dir;
  std::string error;
  ASSERT_TRUE(skinart::WriteContactSheet(SkinSource(), dir.file("sheet.png"), &error)) << error;
  EXPECT_EQ(ReadFile(dir.file("sheet.png")).substr(1, 3), "PNG");
  EXPECT_FALSE(skinart::WriteContactSheet(dir.path(), dir.file("none.png"), &error));
  EXPECT_NE(error.find(".bmp"), std::string::npos);
  EXPECT_TRUE(FilesIn(dir.path()).count("none.png") == 0);
}

}  // namespace
