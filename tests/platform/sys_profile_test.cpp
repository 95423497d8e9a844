#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <ctime>
#include <functional>
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

// Rewrites the file in place (same inode), as an editor that truncates and writes does.
void Overwrite(const std::string& path, const std::string& bytes) {
  std::fstream(path, std::ios::binary | std::ios::in | std::ios::out | std::ios::trunc) << bytes;
}

// Sets the file's modification time to `seconds` after the epoch.
void SetModified(const std::string& path, time_t seconds) {
  const timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
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

// Lookups keep each file's parsed form; every way the file can change under a
// running program must still show at the next lookup, also a change of the
// same size within the same clock tick, or one that puts the old time back.
TEST(SysProfile, LookupsSeeEveryChangeOfTheFile) {
  TempDir dir;
  const std::string path = dir.file("Lang.MLS");
  const time_t anHourAgo = time(nullptr) - 3600;
  const struct Case {
    const char* change;
    std::function<void()> apply;
    const char* expected;
  } cases[] = {
      {"rewritten at once, same size", [&] { Overwrite(path, "[S]\nK=bbbb\n"); }, "bbbb"},
      {"rewritten, its old time put back", [&] {
         Overwrite(path, "[S]\nK=cccc\n");
         SetModified(path, anHourAgo);
       }, "cccc"},
      {"replaced by another file of the same size and time", [&] {
         WriteBytes(dir.file("new"), "[S]\nK=dddd\n");
         SetModified(dir.file("new"), anHourAgo);
         ASSERT_EQ(rename(dir.file("new").c_str(), path.c_str()), 0);
       }, "dddd"},
      {"grown", [&] { Overwrite(path, "[S]\nK=longer value\n"); }, "longer value"},
      {"removed", [&] { ASSERT_EQ(unlink(path.c_str()), 0); }, "<none>"},
      {"back again", [&] { WriteBytes(path, "[S]\nK=eeee\n"); }, "eeee"},
      {"written by the profile functions", [&] { WritePrivateProfileString("S", "K", "ffff", path.c_str()); }, "ffff"},
  };
  WriteBytes(path, "[S]\nK=aaaa\n");
  ASSERT_EQ(Get(path, "S", "K"), "aaaa");
  for (const Case& c : cases) {
    Get(path, "S", "K");  // read and kept before the change
    c.apply();
    EXPECT_EQ(Get(path, "S", "K"), c.expected) << c.change;
  }
}

// With times trusted to the nanosecond, a kept file is read again only on a
// change of its identity, size or times: each of them alone must be enough.
TEST(SysProfile, AKeptFileIsReadAgainWhenItsIdentitySizeOrTimeChanges) {
  PlatformSetProfileTimeGranularity(0);
  TempDir dir;
  const std::string path = dir.file("Lang.MLS");
  const time_t old = time(nullptr) - 7200;
  const struct Case {
    const char* change;
    std::function<void()> apply;
    const char* expected;
  } cases[] = {
      {"another file, same size and time", [&] {
         WriteBytes(dir.file("new"), "[S]\nK=bbbb\n");
         SetModified(dir.file("new"), old);
         ASSERT_EQ(rename(dir.file("new").c_str(), path.c_str()), 0);
       }, "bbbb"},
      {"same file, another size, same time", [&] {
         Overwrite(path, "[S]\nK=cc\n");
         SetModified(path, old);
       }, "cc"},
      {"same file and size, another time", [&] {
         Overwrite(path, "[S]\nK=dd\n");
         SetModified(path, old + 1);
       }, "dd"},
  };
  WriteBytes(path, "[S]\nK=aaaa\n");
  SetModified(path, old);
  ASSERT_EQ(Get(path, "S", "K"), "aaaa");
  for (const Case& c : cases) {
    Get(path, "S", "K");
    c.apply();
    EXPECT_EQ(Get(path, "S", "K"), c.expected) << c.change;
  }
  PlatformSetProfileTimeGranularity(2'000'000'000LL);
}

// A line may be of any length: a lookup reads it only up to a bound, the
// lines after it still count, and a write keeps the long line whole.
TEST(SysProfile, AVeryLongLineIsReadUpToABound) {
  TempDir dir;
  const std::string path = dir.file("long.ini");
  const std::string huge(1 << 20, 'x');
  WriteBytes(path, "[S]\nLong=" + huge + "\nAfter=1\n");
  std::vector<char> buffer(huge.size() + 16);
  const DWORD length = GetPrivateProfileString("S", "Long", "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                               path.c_str());
  EXPECT_GT(length, 1000u);
  EXPECT_LT(length, huge.size()) << "cut at the bound";
  EXPECT_EQ(std::string(buffer.data()), huge.substr(0, length));
  EXPECT_EQ(Get(path, "S", "After"), "1");
  ASSERT_TRUE(WritePrivateProfileString("S", "After", "2", path.c_str()));
  EXPECT_EQ(ReadBytes(path), "[S]\nLong=" + huge + "\nAfter=2\n");
}

// A FIFO in a profile's place reads as a file that cannot be read, at once:
// nothing waits for a writer that never comes.
TEST(SysProfile, AFifoInTheFilesPlaceGivesTheDefault) {
  TempDir dir;
  const std::string path = dir.file("fifo.ini");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  EXPECT_EQ(Get(path, "S", "K", "fallback"), "fallback");
  EXPECT_FALSE(WritePrivateProfileString("S", "K", "V", path.c_str())) << "not replaced by a file";
  struct stat info;
  ASSERT_EQ(lstat(path.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
