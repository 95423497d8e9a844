// Every IDS_ key that the program's sources name is in the language file that
// ships beside the program, and the file's formats take only %d and %s.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <vector>
#include <set>
#include <sstream>
#include <string>

#include "CIniFile.h"
#include "windows_sys.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Every key a text names as a string ("IDS_UI_NEXT"): the language file is read by key name,
// so keys are quoted; a bare IDS_ name is a string-table resource id, not a language key.
std::vector<std::string> KeysIn(const std::string& text) {
  std::vector<std::string> keys;
  for (size_t at = text.find("IDS_"); at != std::string::npos; at = text.find("IDS_", at + 1)) {
    if (at == 0 || text[at - 1] != '"') continue;
    size_t end = at + 4;
    while (end < text.size() && (isupper(static_cast<unsigned char>(text[end])) ||
                                 isdigit(static_cast<unsigned char>(text[end])) || text[end] == '_'))
      ++end;
    keys.push_back(text.substr(at, end - at));
  }
  return keys;
}

// The copy the build puts beside the programs, where the wizard reads it.
std::string ShippedFile() {
  char program[1024] = "";
  GetModuleFileNameA(nullptr, program, sizeof program);
  std::string folder(program);
  return folder.substr(0, folder.find_last_of('/') + 1) + "language/en/Lang.MLS";
}

}  // namespace

TEST(LanguageFile, ScanFindsQuotedKeysOnly) {
  std::vector<std::string> expected = {"IDS_UI_NEXT", "IDS_UI_MASK"};
  EXPECT_EQ(KeysIn("GetString(\"LangString\", \"IDS_UI_NEXT\", s, \"\"); IDS_RESOURCE_ID; \"IDS_UI_MASK \""), expected);
}

TEST(LanguageFile, EveryKeyTheSourcesNameIsThere) {
  CIniFile lang(ShippedFile().c_str(), 64 * 1024);  // room for every key name at once
  CStringList names;
  lang.GetKeyNames("LangString", names);
  std::set<std::string> present;
  for (POSITION p = names.GetHeadPosition(); p;) present.insert(std::string(names.GetNext(p)));
  ASSERT_GT(present.size(), 100u);

  fs::path source(getenv("TRELLIAN_SOURCE_DIR"));
  int files = 0;
  for (const char* folder : {"appbase", "skin", "controls", "apptasks", "app", "pages", "res"}) {
    if (!fs::exists(source / folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(source / folder)) {
      std::string ext = entry.path().extension().string();
      if (ext != ".cpp" && ext != ".h") continue;
      ++files;
      std::string text = ReadAll(entry.path());
      for (const std::string& k : KeysIn(text)) EXPECT_TRUE(present.count(k)) << k << " in " << entry.path();
    }
  }
  EXPECT_GT(files, 0);
}

TEST(LanguageFile, TextsUseOnlyNumberAndTextConversions) {
  std::istringstream lines(ReadAll(ShippedFile()));
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == ';' || line[0] == '[') continue;
    std::string value = line.substr(line.find('=') + 1);
    for (size_t at = value.find('%'); at != std::string::npos; at = value.find('%', at + 2)) {
      char conversion = at + 1 < value.size() ? value[at + 1] : '\0';
      EXPECT_TRUE(conversion == 'd' || conversion == 's') << line;
    }
  }
}

TEST(LanguageFile, LogLineFormatsTakeTheirCallersArguments) {
  CIniFile lang(ShippedFile().c_str());
  struct Case {
    const char* key;
    const char* conversions;
  } cases[] = {
      {"IDS_STR_GETSNMP", "sss"}, {"IDS_STR_SETIP", "sss"},      {"IDS_STR_SET_ARRAY", "sss"},
      {"IDS_STR_DEL_APTREVAK", "sss"}, {"IDS_STR_SETAPPLY_ALL", "sss"}, {"IDS_STR_SNMP", "sss"},
      {"IDS_STR_PARAM", "ss"},    {"IDS_STR_REPLACE", "ss"},     {"IDS_STR_REBOOT", "sss"},
      {"IDS_STR_SETAPPLY", "s"},  {"IDS_STR_DONE_PER", "ds"},    {"IDS_STR_SCAN_FIND", "d"},
      {"IDS_STR_SCAN_FIND_GROUP", "d"}, {"IDS_STR_DONE", ""},    {"IDS_STR_WAITING", ""},
      {"IDS_STR_SETUPTIPS", ""},  {"IDS_STR_SETIP_ELSEWHERE", "sss"}, {"IDS_STR_QUAV_FAILURE", "sss"},
  };
  for (const Case& c : cases) {
    CString text;
    lang.GetString("LangString", c.key, text, "");
    EXPECT_FALSE(text.IsEmpty()) << c.key;
    std::string found;
    for (int i = 0; i + 1 < text.GetLength(); ++i) {
      if (text[i] == '%') found += text[++i];
    }
    EXPECT_EQ(found, c.conversions) << c.key;
  }
  const char* authentication[][2] = {{"IDS_UI_AUTH_WEP", "Open System"}, {"IDS_UI_AUTH_SHKEY", "Shared Key"},
                                     {"IDS_UI_AUTH_PSK", "WPA-Personal"}, {"IDS_UI_AUTH_EAP", "WPA-Enterprise"},
                                     {"IDS_UI_AUTH_802", "802.1x"}};
  for (auto& a : authentication) {
    CString text;
    lang.GetString("LangString", a[0], text, "");
    EXPECT_STREQ(text, a[1]);
  }
}
