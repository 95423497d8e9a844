// The global session: boot counter, defaults, the event window and the stop.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "CVHException.h"
#include "PlainUser.h"
#include "SnmpvarFixture.h"
#include "WinUser.h"
#include "WindowText.h"
#include "bootcounter.h"

namespace {

namespace fs = std::filesystem;
using SessionTest = SessionFolder;

uint32_t SavedBoots(const std::string& path) {
  uint32_t boots = 99;
  EXPECT_EQ(getBootCounter(path.c_str(), OctetStr(SnmpLocalEngineId), boots), 0);
  return boots;
}

TEST_F(SessionTest, BootCounterCountsEveryStartInTheGivenFolder) {
  const std::string path = dir.file("VhSNMP_BootCounter");
  ASSERT_TRUE(SnmpSessionInit(folder.c_str(), ""));
  EXPECT_EQ(SavedBoots(path), 1u);
  SnmpSessionExit();
  ASSERT_TRUE(SnmpSessionInit(folder.c_str(), ""));
  EXPECT_EQ(SavedBoots(path), 2u);
  SnmpSessionExit();
  // With or without the closing separator: the same file.
  std::string bare = folder;
  while (!bare.empty() && bare.back() == '/') bare.pop_back();
  ASSERT_TRUE(SnmpSessionInit(bare.c_str(), ""));
  EXPECT_EQ(SavedBoots(path), 3u);
}

TEST_F(SessionTest, LineWithoutCounterCountsFromZero) {
  // The counter file's reader takes a missing number as 0, so such a line is
  // no error: the start counts it as the first boot.
  const std::string path = dir.file("VhSNMP_BootCounter");
  const OctetStr id(SnmpLocalEngineId);
  std::ofstream(path) << encodeEngineId(id.data(), id.len()) << "\n";
  ASSERT_TRUE(SnmpSessionInit(folder.c_str(), ""));
  EXPECT_EQ(SavedBoots(path), 1u);
}

// Starts the session with its counter in `folder` (as a user whom modes bind,
// when asked) and checks that it started all the same, counting this start as
// the first, said so in one line naming the place, and left what stood where
// the file goes as it was. Returns the line.
std::string StartsWithAFreshCounter(const char* place, const std::string& folder, bool asPlainUser = false) {
  const std::string file = folder + "/" + SnmpBootCounterFile;
  struct stat before {};
  const bool existed = lstat(file.c_str(), &before) == 0;
  testing::internal::CaptureStderr();
  bool started = false;
  {
    std::optional<PlainUser> user;
    if (asPlainUser) user.emplace();
    try {
      started = SnmpSessionInit(folder.c_str(), "");
    } catch (CVHException* e) {
      ADD_FAILURE() << place << ": threw " << e->GetCode();
      delete e;
    }
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(started) << place;
  EXPECT_NE(SnmpGlobalSession, nullptr) << place;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << place << ": " << said;
  EXPECT_NE(said.find(folder), std::string::npos) << place << ": names the place: " << said;
  EXPECT_NE(said.find("counts from 1"), std::string::npos) << place << ": " << said;
  struct stat after {};
  if (existed) {
    EXPECT_EQ(lstat(file.c_str(), &after), 0) << place;
    EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT) << place << ": left as it was";
  }
  SnmpSessionExit();
  return said;
}

// Whatever stands where the counter is kept, the session starts. Nothing may
// block: a FIFO that no one writes to would.
TEST_F(SessionTest, ACounterThatCannotBeKeptIsNoReasonToFail) {
  const std::string file = std::string("/") + SnmpBootCounterFile;
  const std::string privateDir = dir.file("private");
  fs::create_directory(privateDir);
  const struct Case {
    const char* place;
    std::function<std::string()> make;  // lays it out, returns the folder to start in
    std::string why;                    // in the line
  } cases[] = {
      {"a FIFO as the folder", [&] { mkfifo(dir.file("fifo").c_str(), 0600); return dir.file("fifo"); },
       "not a private folder of this user: Not a directory"},
      {"a link as the folder", [&] {
         fs::create_directory_symlink(privateDir, dir.file("link"));
         return dir.file("link");
       }, "not a private folder of this user: Not a directory"},
      {"a folder others may write into", [&] {
         fs::create_directory(dir.file("shared"));
         chmod(dir.file("shared").c_str(), 0777);
         return dir.file("shared");
       }, "not a private folder of this user: Operation not permitted"},
      {"a missing folder", [&] { return dir.file("no/such/folder"); }, "/no/such/folder does not exist"},
      {"a file on the missing folder's way", [&] {
         std::ofstream(dir.file("plain")) << "a file\n";
         return dir.file("plain/folder");
       }, "cannot make the folder " + dir.file("plain/folder") + ": Not a directory"},
      {"a FIFO as the file", [&] {
         fs::create_directory(dir.file("f1"));
         mkfifo((dir.file("f1") + file).c_str(), 0600);
         return dir.file("f1");
       }, "(it is not a regular file)"},
      {"a link as the file", [&] {
         fs::create_directory(dir.file("f2"));
         std::ofstream(dir.file("victim")) << "precious\n";
         fs::create_symlink(dir.file("victim"), dir.file("f2") + file);
         return dir.file("f2");
       }, "(a link stands in its place)"},
      {"a folder as the file", [&] {
         fs::create_directories(dir.file("f3") + file);
         return dir.file("f3");
       }, "(it is not a regular file)"},
  };
  for (const Case& c : cases) {
    const std::string said = StartsWithAFreshCounter(c.place, c.make());
    EXPECT_NE(said.find(c.why), std::string::npos) << c.place << ": " << said;
  }
  std::ifstream victim(dir.file("victim"));
  std::string text;
  std::getline(victim, text);
  EXPECT_EQ(text, "precious") << "nothing written through the link";
}

// The user's own private folder, but one that cannot be written (mode 0500):
// the counter is read as missing and cannot be saved, so the start counts
// from a fresh counter, says why, and leaves the folder empty. A counter
// folder that would have to be made in it (a state home of mode 0500) could
// not be made: the line says so, not merely that the folder is missing.
TEST_F(SessionTest, AFolderThatCannotBeWrittenIsNoReasonToFail) {
  const std::string closed = dir.file("closed");
  fs::create_directory(closed);
  ASSERT_TRUE(PlainUser::Own(dir.path()) && PlainUser::Own(closed));
  chmod(closed.c_str(), 0500);
  if (std::string why = PlainUser().failure(); !why.empty()) GTEST_SKIP() << why;
  const struct Case {
    const char* place;
    std::string folder;
    std::string why;
  } cases[] = {
      {"a folder of mode 0500", closed, "(Permission denied)"},
      {"a missing folder in one of mode 0500", closed + "/trellian/",
       "(cannot make the folder " + closed + "/trellian: Permission denied)"},
  };
  for (const Case& c : cases) {
    const std::string said = StartsWithAFreshCounter(c.place, c.folder, true);
    EXPECT_NE(said.find(c.why), std::string::npos) << c.place << ": not refused for another reason: " << said;
    EXPECT_TRUE(fs::is_empty(closed)) << c.place << ": no file, not even a temporary one, is left";
  }
}

TEST_F(SessionTest, DefaultsAreCopiedByEveryNewRequest) {
  ASSERT_TRUE(SnmpSessionInit(folder.c_str(), ""));
  SnmpRequest first;
  EXPECT_EQ(first.m_strAgent, "127.0.0.1");
  EXPECT_EQ(first.m_nPort, 161);
  EXPECT_EQ(first.m_nVersion, 0);
  EXPECT_EQ(first.m_nTimeout, 100);
  EXPECT_EQ(first.m_nRetries, 1);
  EXPECT_EQ(first.m_strReadCommunity, "quorin");
  EXPECT_EQ(first.m_strWriteCommunity, "velmont");
  SnmpRequestDefaults.nPort = 1161;
  SnmpRequestDefaults.nTimeout = 7;
  first.m_nRetries = 4;
  first.LoadDefaults();
  EXPECT_EQ(first.m_nPort, 1161);
  EXPECT_EQ(first.m_nTimeout, 7);
  EXPECT_EQ(first.m_nRetries, 4);  // not a default
  SnmpRequest second;
  EXPECT_EQ(second.m_nPort, 1161);
}

TEST_F(SessionTest, EventWindowLivesFromStartToStop) {
  ASSERT_TRUE(SnmpSessionInit(folder.c_str(), ""));
  HWND window = SnmpEventWindowHandle();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(WindowText(window), "Snmp EventProcessor");
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_NE(SnmpGlobalSession, nullptr);
  SnmpSessionExit();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(SnmpGlobalSession, nullptr);
  EXPECT_EQ(SnmpEventWindowHandle(), nullptr);
  SnmpSessionExit();  // a second stop does nothing
}

}  // namespace
