#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "LastError.h"
#include "Profile.h"
#include "TempDir.h"
#include "sys_test_util.h"

namespace {

void WriteBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Get(const std::string& path, const char* section, const char* key, const char* fallback = "<none>") {
  char buffer[256];
  DWORD length = GetPrivateProfileString(section, key, fallback, buffer, sizeof buffer, path.c_str());
  EXPECT_EQ(length, std::string(buffer).size());
  return buffer;
}

// Splits a NUL-separated list that ends in a second NUL.
std::vector<std::string> List(const char* buffer) {
  std::vector<std::string> names;
  for (const char* p = buffer; *p; p += names.back().size() + 1) names.emplace_back(p);
  return names;
}

}  // namespace

TEST(SysProfile, ReadingFollowsWindowsRules) {
  TempDir dir;
  const std::string path = dir.file("Lang.MLS");
  WriteBytes(path,
             "\xEF\xBB\xBF; comment line\r\n"
             "orphan=before any section\r\n"
             "[LangString]\r\n"
             "IDS_UI_NEXT=Next >\r\n"
             "  IDS_PADDED  =   spaced value   \r\n"
             "IDS_QUOTED=\"  kept blanks  \"\r\n"
             "IDS_SINGLE='single'\r\n"
             "IDS_HALF=\"half\r\n"
             "IDS_EQUALS=a=b\r\n"
             "IDS_EMPTY=\r\n"
             "IDS_BARE\r\n"
             "IDS_DUP=first\r\n"
             "IDS_DUP=second\r\n"
             "[ Spaced Section ]\n"
             "Key=lf line\n"
             "[LANGSTRING]\r\n"
             "IDS_LATE=from a repeated section\r\n"
             "IDS_UI_NEXT=not the first\r\n"
             "[Unclosed\r\n"
             "k=v");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"LangString", "IDS_UI_NEXT", "Next >"},
      {"langstring", "ids_ui_next", "Next >"},  // names compare without case
      {"LangString", "IDS_PADDED", "spaced value"},
      {"LangString", "IDS_PADDED ", "spaced value"},  // a blank after the key asked for is dropped
      {" LangString", "  IDS_PADDED", "spaced value"},
      {"LangString", "IDS_QUOTED", "  kept blanks  "},
      {"LangString", "IDS_SINGLE", "single"},
      {"LangString", "IDS_HALF", "\"half"},
      {"LangString", "IDS_EQUALS", "a=b"},
      {"LangString", "IDS_EMPTY", ""},
      {"LangString", "IDS_BARE", ""},
      {"LangString", "IDS_DUP", "first"},
      {"LangString", "IDS_LATE", "from a repeated section"},
      {"Spaced Section", "Key", "lf line"},
      {"Unclosed", "k", "v"},
      {"LangString", "IDS_MISSING", "<none>"},
      {"NoSuchSection", "IDS_UI_NEXT", "<none>"},
      {"LangString", "orphan", "<none>"},
      {"LangString", "; comment line", "<none>"},
  };
  for (const Case& c : cases) EXPECT_EQ(Get(path, c.section, c.key), c.expected) << c.section << "/" << c.key;

  EXPECT_EQ(Get(path, "x", "y", "default   "), "default") << "trailing blanks of a default are dropped";
  EXPECT_EQ(Get(path, "x", "y", nullptr), "");
  EXPECT_EQ(Get(dir.file("missing.ini"), "LangString", "IDS_UI_NEXT", ""), "");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  std::string windows_path = path;
  for (char& c : windows_path) c = c == '/' ? '\\' : c;
  EXPECT_EQ(Get(windows_path, "LangString", "IDS_UI_NEXT"), "Next >") << "backslashes are separators";
}

TEST(SysProfile, GarbageFilesGiveDefaults) {
  TempDir dir;
  const std::string path = dir.file("garbage.ini");
  const std::string garbage[] = {"", std::string("\0\0\0[\0]=\xff\xfe", 10), "[[[[\r\r\r=\n=\n]]]", "\n\n\n"};
  for (const std::string& bytes : garbage) {
    WriteBytes(path, bytes);
    EXPECT_EQ(Get(path, "LangString", "IDS_UI_NEXT", "fallback"), "fallback");
    EXPECT_EQ(GetPrivateProfileInt("LangString", "IDS_UI_NEXT", 17, path.c_str()), 17u);
  }
  EXPECT_EQ(Get(dir.path(), "a", "b", "folder"), "folder") << "a folder is not a profile";
}

TEST(SysProfile, BufferSizesCutValuesAndLists) {
  TempDir dir;
  const std::string path = dir.file("p.ini");
  WriteBytes(path, "[First]\nalpha=0123456789\nbeta=b\n[Second]\n[Third]\n");

  // A value is cut to size - 1 characters; the byte before the last is left alone, which is how
  // callers tell a cut value from a cut list.
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetPrivateProfileString("First", "alpha", "", buffer, 5, path.c_str()), 4u);
  EXPECT_STREQ(buffer, "0123");
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetPrivateProfileString("First", "beta", "", buffer, sizeof buffer, path.c_str()), 1u);
  EXPECT_EQ(buffer[6], 'x');
  EXPECT_EQ(buffer[7], 'x');
  EXPECT_EQ(GetPrivateProfileString("First", "beta", "", buffer, 0, path.c_str()), 0u);

  char names[64];
  EXPECT_EQ(GetPrivateProfileSectionNames(names, sizeof names, path.c_str()), 19u);
  EXPECT_EQ(List(names), (std::vector<std::string>{"First", "Second", "Third"}));
  EXPECT_EQ(GetPrivateProfileString("First", nullptr, "", names, sizeof names, path.c_str()), 11u);
  EXPECT_EQ(List(names), (std::vector<std::string>{"alpha", "beta"}));

  // A list that does not fit is cut and ends in two NULs; the result is size - 2.
  std::memset(names, 'x', sizeof names);
  EXPECT_EQ(GetPrivateProfileString(nullptr, nullptr, "", names, 9, path.c_str()), 7u);
  EXPECT_EQ(std::string(names, 9), std::string("First\0S\0\0", 9));
  EXPECT_EQ(GetPrivateProfileString("Second", nullptr, "", names, sizeof names, path.c_str()), 0u);
  EXPECT_EQ(names[0], '\0');
  EXPECT_EQ(names[1], '\0');
}

TEST(SysProfile, IntegersReadTheLeadingNumber) {
  TempDir dir;
  const std::string path = dir.file("n.ini");
  WriteBytes(path, "[n]\nplain=42\nnegative=-5\nsuffix=12px\nword=abc\nempty=\nquoted=\"7\"\nhuge=99999999999\n");
  struct Case {
    const char* key;
    UINT expected;
  };
  const Case cases[] = {{"plain", 42},   {"negative", static_cast<UINT>(-5)}, {"suffix", 12},
                        {"word", 0},     {"empty", 3},                         {"quoted", 7},
                        {"missing", 3},  {"huge", 2147483647u}};
  for (const Case& c : cases) EXPECT_EQ(GetPrivateProfileInt("n", c.key, 3, path.c_str()), c.expected) << c.key;
}

TEST(SysProfile, WritingChangesOnlyWhatItNames) {
  TempDir dir;
  const std::string path = dir.file("w.ini");
  WriteBytes(path, "; kept\r\n[One]\r\nA=1\r\n\r\n[Two]\r\nB=2\r\n");
  chmod(path.c_str(), 0640);

  EXPECT_TRUE(WritePrivateProfileString("one", "a", "changed", path.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("One", "New", "added", path.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("Three", "C", "3", path.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("Two", "B", nullptr, path.c_str()));
  EXPECT_EQ(ReadBytes(path), "; kept\r\n[One]\r\nA=changed\r\nNew=added\r\n\r\n[Two]\r\n[Three]\r\nC=3\r\n");
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "the file keeps its mode";

  EXPECT_TRUE(WritePrivateProfileString("Two", nullptr, nullptr, path.c_str()));
  EXPECT_TRUE(WritePrivateProfileSection("One", "X=9\0Y=8\0", path.c_str()));
  EXPECT_EQ(ReadBytes(path), "; kept\r\n[One]\r\nX=9\r\nY=8\r\n[Three]\r\nC=3\r\n");

  EXPECT_TRUE(WritePrivateProfileString("S", "K", "V", dir.file("new.ini").c_str()));
  EXPECT_EQ(Get(dir.file("new.ini"), "S", "K"), "V");

  const char* refused[][3] = {{"S", "K", "two\nlines"}, {"S", "K=", "v"}, {"S]", "K", "v"}, {" ", "K", "v"}};
  for (auto& r : refused) {
    EXPECT_FALSE(WritePrivateProfileString(r[0], r[1], r[2], path.c_str())) << r[0] << "/" << r[1];
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  EXPECT_FALSE(WritePrivateProfileString("S", "K", "V", dir.file("no/such/folder.ini").c_str()));
}

TEST(SysProfile, StructsCarryAChecksum) {
  TempDir dir;
  const std::string path = dir.file("s.ini");
  const unsigned char data[] = {0x01, 0xAB, 0xFF};
  ASSERT_TRUE(WritePrivateProfileStruct("S", "blob", const_cast<unsigned char*>(data), sizeof data, path.c_str()));
  EXPECT_EQ(Get(path, "S", "blob"), "01ABFFAB");
  unsigned char back[3] = {};
  EXPECT_TRUE(GetPrivateProfileStruct("S", "blob", back, sizeof back, path.c_str()));
  EXPECT_EQ(std::memcmp(back, data, sizeof data), 0);
  EXPECT_FALSE(GetPrivateProfileStruct("S", "blob", back, 2, path.c_str())) << "wrong size";
  ASSERT_TRUE(WritePrivateProfileString("S", "blob", "01ABFF00", path.c_str()));
  EXPECT_FALSE(GetPrivateProfileStruct("S", "blob", back, sizeof back, path.c_str())) << "wrong checksum";
}
