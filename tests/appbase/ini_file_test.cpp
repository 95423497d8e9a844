// The language file as the wizard reads it: defaults, the cut of long values,
// the "xx" sentinel, line breaks from backslash-n, and the name lists.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "CIniFile.h"
#include "TempDir.h"
#include "windows_sys.h"

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  CIniFile& File(const std::string& content) {
    path_ = dir_.file("Lang.MLS");
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << content;
    file_.SetPath(path_.c_str());
    return file_;
  }
  TempDir dir_;
  std::string path_;
  CIniFile file_{"unset"};
};

}  // namespace

TEST_F(IniFileTest, GetStringFollowsTheLanguageFileRules) {
  struct Case {
    const char* line;  // the value line in section "LangString", or null for none
    const char* key;
    int size;
    const char* expected;
    int result;
  } cases[] = {
      {"K=plain", "K", 256, "plain", 1},
      {"K=a\\nb", "K", 256, "a\nb", 1},
      {"K=a\\\\nb", "K", 256, "a\\\nb", 1},      // two backslashes: one stays
      {"K=a\\tb\\", "K", 256, "a\\tb\\", 1},    // no other escape
      {"K=\\n\\n", "K", 256, "\n\n", 1},
      {"K=\\nn", "K", 256, "\nn", 1},
      {"K=one\\ntwo\\nthree", "K", 256, "one\ntwo\nthree", 1},
      {nullptr, "K", 256, "", 1},               // missing key: the default
      {"K=abcdefgh", "K", 5, "abcd", 1},         // cut to size - 1, still 1
      {"K=abc", "K", 4, "abc", 1},
      {"IDS_UI_MASK=Subnet Mask", "IDS_UI_MASK ", 256, "Subnet Mask", 1},  // the blank is trimmed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line ? c.line : "(none)") + " / " + c.key);
    std::string content = "[LangString]\r\n";
    if (c.line) content += std::string(c.line) + "\r\n";
    CString out = "stale";
    EXPECT_EQ(File(content).GetString("LangString", c.key, out, "", c.size), c.result);
    EXPECT_STREQ(out, c.expected);
  }
}

TEST_F(IniFileTest, SentinelReportsAListCutToTheBuffer) {
  CIniFile& f = File("[LangString]\nAAAA=1\nBBBB=2\nCCCC=3\n");
  CString out;
  // Key names fill a 12-character buffer to its end: the reader cut the list.
  EXPECT_EQ(f.GetString("LangString", nullptr, out, "", 12), 0);
  EXPECT_STREQ(out, "AAAA");
  EXPECT_EQ(f.GetString("LangString", nullptr, out, "", 64), 1);
}

TEST_F(IniFileTest, MissingOrUnreadableFileGivesDefaultsAndNoError) {
  CIniFile missing((dir_.path() + "/nothing/Lang.MLS").c_str());
  CString out = "stale";
  EXPECT_EQ(missing.GetString("LangString", "IDS_UI_NEXT", out, ""), 1);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(missing.GetInt("S", "K", 7), 7);
  EXPECT_DOUBLE_EQ(missing.GetFloat("S", "K", 1.5f), 1.5);
  CStringList names;
  names.AddTail("kept");
  missing.GetSectionNames(names);
  EXPECT_EQ(names.GetCount(), 1);
  CFileStatus status;
  EXPECT_FALSE(missing.GetStatus(status));
  EXPECT_FALSE(missing.WriteString("S", "K", "v"));  // the folder is not there
}

TEST_F(IniFileTest, DefaultPathIsLangIniInTheProgramFolder) {
  char program[256] = "";
  GetModuleFileNameA(nullptr, program, sizeof program);
  std::string folder(program);
  folder = folder.substr(0, folder.find_last_of("/\\") + 1);
  CIniFile byDefault;
  EXPECT_EQ(std::string(byDefault.GetPath()), folder + "Lang.ini");
  CIniFile given("C:\\x\\Lang.MLS");
  EXPECT_STREQ(given.GetPath(), "C:\\x\\Lang.MLS");
}

TEST_F(IniFileTest, WritesReadBackThroughEveryTypedForm) {
  CIniFile& f = File("");
  EXPECT_TRUE(f.WriteString("S", "text", "hello"));
  EXPECT_TRUE(f.WriteInt("S", "int", -42));
  EXPECT_TRUE(f.WriteFloat("S", "float", 2.5f));
  struct Pod {
    int a;
    char b[6];
  } in{7, "abcde"}, out{};
  EXPECT_TRUE(f.WriteStruct("S", "struct", &in, sizeof in));
  EXPECT_TRUE(f.WriteSection("T", "x=1\0y=2\0"));
  CString text;
  f.GetString("S", "text", text, "");
  EXPECT_STREQ(text, "hello");
  EXPECT_EQ(f.GetInt("S", "int", 0), -42);
  EXPECT_DOUBLE_EQ(f.GetFloat("S", "float", 0.0f), 2.5);
  EXPECT_TRUE(f.GetStruct("S", "struct", &out, sizeof out));
  EXPECT_EQ(out.a, 7);
  EXPECT_STREQ(out.b, "abcde");
  EXPECT_FALSE(f.GetStruct("S", "struct", &out, sizeof out - 1));  // the size must match
  EXPECT_TRUE(f.DeleteKey("S", "text"));
  f.GetString("S", "text", text, "gone");
  EXPECT_STREQ(text, "gone");
  EXPECT_TRUE(f.WriteString("S", "int", nullptr));
  EXPECT_EQ(f.GetInt("S", "int", 3), 3);

  CStringList sections, keys;
  f.GetSectionNames(sections);
  ASSERT_EQ(sections.GetCount(), 2);
  EXPECT_STREQ(sections.GetHead(), "S");
  EXPECT_STREQ(sections.GetTail(), "T");
  f.GetKeyNames("T", keys);
  ASSERT_EQ(keys.GetCount(), 2);
  EXPECT_STREQ(keys.GetHead(), "x");
  EXPECT_STREQ(keys.GetTail(), "y");
  CFileStatus status;
  ASSERT_TRUE(f.GetStatus(status));
  EXPECT_GT(status.m_size, 0u);
  EXPECT_EQ(std::string(status.m_szFullName).substr(std::string(status.m_szFullName).size() - 8), "Lang.MLS");
}

TEST_F(IniFileTest, FileWithNoSectionsLeavesTheListAlone) {
  CIniFile& f = File("no section here\n");
  CStringList names;
  f.GetSectionNames(names);
  EXPECT_EQ(names.GetCount(), 0);
  f.GetKeyNames("missing", names);
  EXPECT_EQ(names.GetCount(), 0);
}

TEST_F(IniFileTest, FloatReadsItsNumberOrTheDefault) {
  CIniFile& f = File("[S]\nf=3.25\nbad=abc\n");
  EXPECT_DOUBLE_EQ(f.GetFloat("S", "f", 0.0f), 3.25);
  EXPECT_DOUBLE_EQ(f.GetFloat("S", "bad", 9.0f), 0.0);  // atof's reading of text
  EXPECT_DOUBLE_EQ(f.GetFloat("S", "none", 9.0f), 9.0);
}

TEST_F(IniFileTest, BackslashesInThePathSeparateFoldersToo) {
  File("[LangString]\nIDS_UI_NEXT=Next >\n");
  std::string windowsStyle = path_;
  for (char& c : windowsStyle) {
    if (c == '/') c = '\\';
  }
  CIniFile lang(windowsStyle.c_str());
  CString text;
  lang.GetString("LangString", "IDS_UI_NEXT", text, "");
  EXPECT_STREQ(text, "Next >");
}
