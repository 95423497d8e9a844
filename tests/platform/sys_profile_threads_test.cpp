// Profile lookups from several threads while another thread rewrites the
// file: each lookup sees the old or the new contents, never a mix, and the
// readers' cache is shared without a race.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Profile.h"
#include "TempDir.h"

TEST(SysProfileThreads, ReadersSeeWholeVersionsWhileTheFileIsRewritten) {
  TempDir dir;
  const std::string path = dir.file("shared.ini");
  const std::string other = dir.file("other.ini");
  std::ofstream(path) << "[S]\nA=0\nB=0\n";
  std::ofstream(other) << "[T]\nC=fixed\n";
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0}, wrong{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < 4; ++r) {
    readers.emplace_back([&] {
      char a[32], b[32], c[32];
      while (!stop) {
        GetPrivateProfileString("S", nullptr, "", a, sizeof a, path.c_str());
        char section[64];
        if (GetPrivateProfileSectionNames(section, sizeof section, path.c_str()) == 0) ++torn;
        GetPrivateProfileString("S", "A", "?", a, sizeof a, path.c_str());
        GetPrivateProfileString("S", "B", "?", b, sizeof b, path.c_str());
        if (std::string(a) == "?" || std::string(b) == "?") ++torn;
        GetPrivateProfileString("T", "C", "", c, sizeof c, other.c_str());
        if (std::string(c) != "fixed") ++wrong;
      }
    });
  }
  for (int i = 1; i <= 200; ++i) {
    const std::string value = std::to_string(i);
    ASSERT_TRUE(WritePrivateProfileSection("S", ("A=" + value + std::string(1, '\0') + "B=" + value +
                                                 std::string(2, '\0')).c_str(),
                                           path.c_str()));
  }
  stop = true;
  for (std::thread& t : readers) t.join();
  EXPECT_EQ(torn, 0) << "a lookup saw the file without its section";
  EXPECT_EQ(wrong, 0);
  char a[32];
  GetPrivateProfileString("S", "A", "", a, sizeof a, path.c_str());
  EXPECT_STREQ(a, "200");
}
