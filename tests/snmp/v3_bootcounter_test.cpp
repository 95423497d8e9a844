// The boot-counter file: counters kept across starts, the line format, and a
// replacement that never leaves the file missing or follows a planted link.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "PlainUser.h"
#include "TempDir.h"
#include "bootcounter.h"

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

const OctetStr kApp("VhSNMP_Application");
// "VhSNMP_Application" as the file spells it: each nibble as '@' + nibble.
const std::string kAppKey = encodeEngineId(kApp.data(), kApp.len()) + " ";

// What the program does at every start: read, add one, save.
uint32_t start(const std::string& path) {
  uint32_t boots = 99;
  int found = getBootCounter(path.c_str(), kApp, boots);
  EXPECT_TRUE(found == 0 || found == -1 || found == -2) << found;
  EXPECT_EQ(0, saveBootCounter(path.c_str(), kApp, boots + 1));
  return boots + 1;
}

TEST(V3BootCounter, CreatedIncrementedAndKeptAcrossStarts) {
  TempDir dir;
  const std::string path = dir.file("VhSNMP_BootCounter");
  uint32_t boots = 7;
  EXPECT_EQ(-2, getBootCounter(path.c_str(), kApp, boots));
  EXPECT_EQ(0u, boots);

  EXPECT_EQ(1u, start(path));
  EXPECT_EQ(2u, start(path));
  EXPECT_EQ(kAppKey + "2\n", readFile(path));
  EXPECT_EQ(0, getBootCounter(path.c_str(), kApp, boots));
  EXPECT_EQ(2u, boots);

  struct stat info;
  ASSERT_EQ(0, stat(path.c_str(), &info));
  EXPECT_EQ(0600u, info.st_mode & 0777) << "the counters are the user's alone";
  EXPECT_NE(0, access((path + ".tmp").c_str(), F_OK)) << "no temporary file is left behind";
}

TEST(V3BootCounter, EncodingIsNibblesFromAt) {
  const unsigned char bytes[] = {0x3A, 0x00, 0xFF};
  EXPECT_EQ("CJ@@OO", encodeEngineId(bytes, 3));
  OctetStr back = decodeEngineId("CJ@@OO");
  ASSERT_EQ(3u, back.len());
  EXPECT_EQ(0, memcmp(bytes, back.data(), 3));
  EXPECT_EQ("EFFH", encodeEngineId(reinterpret_cast<const unsigned char*>("Vh"), 2));
}

TEST(V3BootCounter, SavingChangesOnlyItsOwnLineInPlace) {
  TempDir dir;
  const std::string path = dir.file("counters");
  const OctetStr a("A"), ab("AB"), c("C");
  const std::string keyA = encodeEngineId(a.data(), 1) + " ";
  const std::string keyAB = encodeEngineId(ab.data(), 2) + " ";
  const std::string keyC = encodeEngineId(c.data(), 1) + " ";
  writeFile(path, "# comment " + keyAB + "1\n" + keyAB + "5\n" + keyA + "6\n" + "garbage line\n" + keyC + "7\n" +
                      keyA + "8\n");

  ASSERT_EQ(0, saveBootCounter(path.c_str(), a, 42));
  // The first line of A keeps its place; the second is dropped; everything else is untouched.
  EXPECT_EQ("# comment " + keyAB + "1\n" + keyAB + "5\n" + keyA + "42\n" + "garbage line\n" + keyC + "7\n",
            readFile(path));

  uint32_t boots = 0;
  EXPECT_EQ(0, getBootCounter(path.c_str(), ab, boots));
  EXPECT_EQ(5u, boots) << "the comment line does not count, and A's key does not match AB's line";
  EXPECT_EQ(-1, getBootCounter(path.c_str(), OctetStr("Z"), boots));
  EXPECT_EQ(0u, boots);
}

TEST(V3BootCounter, CounterFieldEdgeCases) {
  TempDir dir;
  const std::string path = dir.file("counters");
  struct Case {
    std::string field;  // what follows the key
    uint32_t boots;
  };
  const Case cases[] = {
      {"", 0},                               // a line with no number reads as 0
      {"   12abc", 12},                      // leading blanks skipped, ends at the first non-digit
      {"-1", 4294967295u},                   // "%i" of a counter above 2^31-1
      {"-2147483648", 2147483648u},
      {"99999999999999999999999", 4294967295u},  // tampered: clamped, no overflow
      {"-99999999999999999999999", 2147483648u},
      {"7\r", 7},                            // CRLF line ends
  };
  for (const Case& c : cases) {
    writeFile(path, kAppKey + c.field + "\n");
    uint32_t boots = 1;
    EXPECT_EQ(0, getBootCounter(path.c_str(), kApp, boots)) << c.field;
    EXPECT_EQ(c.boots, boots) << c.field;
  }

  ASSERT_EQ(0, saveBootCounter(path.c_str(), kApp, 4294967295u));
  EXPECT_EQ(kAppKey + "-1\n", readFile(path));
  uint32_t boots = 0;
  EXPECT_EQ(0, getBootCounter(path.c_str(), kApp, boots));
  EXPECT_EQ(4294967295u, boots);
}

TEST(V3BootCounter, LongIdsAndLongLines) {
  TempDir dir;
  const std::string path = dir.file("counters");
  std::string id33(33, 'x');
  const OctetStr longId(id33.c_str());
  uint32_t boots = 5;
  writeFile(path, std::string(500, '#') + "\n");
  EXPECT_EQ(-3, getBootCounter(path.c_str(), longId, boots));
  EXPECT_EQ(0u, boots);

  ASSERT_EQ(0, saveBootCounter(path.c_str(), longId, 3));
  const OctetStr first32(id33.substr(0, 32).c_str());
  EXPECT_EQ(0, getBootCounter(path.c_str(), first32, boots));
  EXPECT_EQ(3u, boots);
  EXPECT_EQ(std::string(500, '#') + "\n", readFile(path).substr(0, 501)) << "a long line survives whole";
}

TEST(V3BootCounter, UnreadableFileAndUnwritableFolder) {
  TempDir dir;
  ASSERT_TRUE(PlainUser::Own(dir.path()));
  PlainUser user;
  if (!user.failure().empty()) GTEST_SKIP() << user.failure();
  const std::string path = dir.file("counters");
  writeFile(path, kAppKey + "9\n");
  chmod(path.c_str(), 0);
  uint32_t boots = 1;
  EXPECT_EQ(-2, getBootCounter(path.c_str(), kApp, boots));
  EXPECT_EQ(0u, boots);
  EXPECT_EQ(-2, saveBootCounter(path.c_str(), kApp, 10)) << "the other counters cannot be carried over";
  chmod(path.c_str(), 0600);
  EXPECT_EQ(kAppKey + "9\n", readFile(path));

  chmod(dir.path().c_str(), 0500);
  EXPECT_EQ(-2, saveBootCounter(path.c_str(), kApp, 10)) << "the temporary file cannot be made";
  EXPECT_EQ(-5, saveBootCounter(dir.file("new").c_str(), kApp, 1));
  chmod(dir.path().c_str(), 0700);
  EXPECT_EQ(kAppKey + "9\n", readFile(path)) << "a failed save keeps the old counters";
}

// A link planted under the temporary name must not redirect the write.
TEST(V3BootCounter, PlantedTemporaryLinkIsNotFollowed) {
  TempDir dir;
  const std::string path = dir.file("counters");
  const std::string victim = dir.file("victim");
  writeFile(victim, "precious\n");
  ASSERT_EQ(0, symlink(victim.c_str(), (path + ".tmp").c_str()));
  ASSERT_EQ(0, saveBootCounter(path.c_str(), kApp, 4));
  EXPECT_EQ("precious\n", readFile(victim));
  EXPECT_EQ(kAppKey + "4\n", readFile(path));
}

// A save that cannot complete leaves the old file in place, never a missing one.
TEST(V3BootCounter, FailedSaveKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.file("counters");
  writeFile(path, kAppKey + "3\n");
  const std::string tmpDir = path + ".tmp";
  ASSERT_EQ(0, mkdir(tmpDir.c_str(), 0700));  // the temporary name is taken by something we may not remove
  EXPECT_EQ(-2, saveBootCounter(path.c_str(), kApp, 4));
  rmdir(tmpDir.c_str());
  uint32_t boots = 0;
  EXPECT_EQ(0, getBootCounter(path.c_str(), kApp, boots));
  EXPECT_EQ(3u, boots);
}

}  // namespace

// Things other than a file of ours in the counter file's place: read at once
// as "cannot be read" (nothing waits on a FIFO), never replaced, never
// written through.
TEST(V3BootCounter, OnlyARegularFileIsReadOrReplaced) {
  TempDir dir;
  writeFile(dir.file("victim"), "precious\n");
  const struct Case {
    const char* place;
    int (*make)(const std::string& path, const std::string& victim);
  } cases[] = {
      {"a FIFO", [](const std::string& p, const std::string&) { return mkfifo(p.c_str(), 0600); }},
      {"a link to a file", [](const std::string& p, const std::string& v) { return symlink(v.c_str(), p.c_str()); }},
      {"a dangling link", [](const std::string& p, const std::string& v) {
         return symlink((v + ".none").c_str(), p.c_str());
       }},
      {"a folder", [](const std::string& p, const std::string&) { return mkdir(p.c_str(), 0700); }},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string path = dir.file("counters" + std::to_string(n++));
    ASSERT_EQ(c.make(path, dir.file("victim")), 0) << c.place;
    struct stat before {};
    ASSERT_EQ(lstat(path.c_str(), &before), 0);
    uint32_t boots = 7;
    EXPECT_EQ(-2, getBootCounter(path.c_str(), kApp, boots)) << c.place;
    EXPECT_EQ(0u, boots) << c.place;
    EXPECT_EQ(-2, saveBootCounter(path.c_str(), kApp, 1)) << c.place;
    struct stat after {};
    ASSERT_EQ(lstat(path.c_str(), &after), 0) << c.place;
    EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT) << c.place << ": left in place";
    EXPECT_EQ(after.st_ino, before.st_ino) << c.place;
  }
  EXPECT_EQ("precious\n", readFile(dir.file("victim")));
  EXPECT_FALSE(std::ifstream(dir.file("victim.none"))) << "no file made through the dangling link";
}

// A file far larger than any counter file is not ours: it is not read.
TEST(V3BootCounter, AHugeFileIsNotRead) {
  TempDir dir;
  const std::string path = dir.file("counters");
  writeFile(path, kAppKey + "5\n" + std::string(1 << 20, '#'));
  uint32_t boots = 9;
  EXPECT_EQ(-2, getBootCounter(path.c_str(), kApp, boots));
  EXPECT_EQ(0u, boots);
}

// A FIFO left where the temporary file goes is replaced, not waited on.
TEST(V3BootCounter, AFifoInTheTemporaryFilesPlaceIsReplaced) {
  TempDir dir;
  const std::string path = dir.file("counters");
  writeFile(path, kAppKey + "5\n");
  ASSERT_EQ(mkfifo((path + ".tmp").c_str(), 0600), 0);
  EXPECT_EQ(0, saveBootCounter(path.c_str(), kApp, 6));
  EXPECT_EQ(kAppKey + "6\n", readFile(path));
}
