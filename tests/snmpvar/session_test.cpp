// The global session: boot counter, defaults, the event window and the stop.
#include <gtest/gtest.h>

#include <fstream>

#include "CVHException.h"
#include "SnmpvarFixture.h"
#include "WinUser.h"
#include "bootcounter.h"

namespace {

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

TEST_F(SessionTest, UnwritableCounterFails508) {
  try {
    SnmpSessionInit((dir.path() + "/no/such/folder").c_str(), "");
    ADD_FAILURE() << "no exception";
  } catch (CVHException* e) {
    EXPECT_EQ(e->GetCode(), -508);
    delete e;
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
  char caption[64] = {};
  GetWindowTextA(window, caption, sizeof caption);
  EXPECT_STREQ(caption, "Snmp EventProcessor");
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_NE(SnmpGlobalSession, nullptr);
  SnmpSessionExit();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(SnmpGlobalSession, nullptr);
  EXPECT_EQ(SnmpEventWindowHandle(), nullptr);
  SnmpSessionExit();  // a second stop does nothing
}

}  // namespace
