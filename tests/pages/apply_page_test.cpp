// The apply page without a network: its store and the Master rule of Next,
// the automatic address plan, and the device tasks' reports arriving from
// several worker threads at once (also run under ThreadSanitizer).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "ApplyPageKit.h"
#include "ApplyTaskLists.h"
#include "CWizardFrame.h"
#include "TempDir.h"
#include "WizardFlows.h"

CWizardApp theApp;

namespace {

class ApplyPage : public ::testing::Test {
 protected:
  void SetUp() override { UseProgramLanguage(theApp); }
  void TearDown() override {
    testkit::SetProgramPath("");
    testkit::ResetWindows();
  }
};

// --- the automatic address plan -------------------------------------------

TEST(PickAutoAddress, CountsOnPastTakenAndInvalidNumbersAndWraps) {
  struct Case {
    const char* what;
    int counter;
    const char* netmask;
    std::set<std::string> taken;
    int rows;  // addresses asked for in a row
    std::vector<std::string> expected;
    int counterAfter;
  } cases[] = {
      {"consecutive", 21, "255.255.255.0", {}, 3, {"10.0.0.21", "10.0.0.22", "10.0.0.23"}, 24},
      {"another member's address is passed over", 21, "255.255.255.0", {"10.0.0.22"}, 2,
       {"10.0.0.21", "10.0.0.23"}, 24},
      {"the broadcast address and 0 are no hosts", 254, "255.255.255.0", {}, 2, {"10.0.0.254", "10.0.0.1"}, 2},
      {"above 254 starts again at 0", 300, "255.255.255.0", {}, 1, {"10.0.0.1"}, 2},
      {"a small subnet skips its network and broadcast numbers", 3, "255.255.255.252", {}, 2,
       {"10.0.0.5", "10.0.0.6"}, 7},
      {"a netmask with no host at all ends empty", 7, "255.255.255.254", {}, 1, {""}, 7},
      {"a single-address netmask ends empty", 7, "255.255.255.255", {}, 1, {""}, 7},
  };
  for (const Case& c : cases) {
    int counter = c.counter;
    auto taken = [&c](const CString& candidate) { return c.taken.count(candidate.GetString()) > 0; };
    std::vector<std::string> got;
    for (int i = 0; i < c.rows; ++i) got.push_back(PickAutoAddress("10.0.0.", counter, c.netmask, taken).GetString());
    EXPECT_EQ(got, c.expected) << c.what;
    if (c.expected.back().empty()) continue;  // where a failed search leaves the counter is of no use
    EXPECT_EQ(counter, c.counterAfter) << c.what;
  }
  // Every number taken: the search gives up after one round.
  int counter = 40, asked = 0;
  EXPECT_EQ(PickAutoAddress("10.0.0.", counter, "255.255.255.0", [&asked](const CString&) { return ++asked > 0; }), "");
  EXPECT_EQ(asked, 255);
}

// --- the frames ---------------------------------------------------------------

TEST_F(ApplyPage, TheFramesMakeTheApplyPageForBothRuns) {
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr));
  CCreateWizard create(nullptr, nullptr, nullptr);
  ASSERT_TRUE(create.Create(IDD_WIZARD_FRAME, &host));
  CModifyWizard modify(nullptr, nullptr, nullptr);
  ASSERT_TRUE(modify.Create(IDD_WIZARD_FRAME, &host));
  struct Case {
    CWizardFrame* frame;
    int index;
    int secondRun, modifyFlow;
  } cases[] = {{&create, 3, 0, 0}, {&create, 5, 1, 0}, {&modify, 2, 0, 1}, {&modify, 4, 1, 1}};
  for (const Case& c : cases) {
    auto* page = dynamic_cast<CApplyPage*>(c.frame->Page(c.index));
    ASSERT_NE(page, nullptr) << c.index;
    EXPECT_EQ(page->m_nSecondRun, c.secondRun) << c.index;
    EXPECT_EQ(page->m_nModifyFlow, c.modifyFlow) << c.index;
    EXPECT_EQ(page->m_store.GetSafeHwnd() != nullptr, true);
  }
  create.DestroyWindow();
  modify.DestroyWindow();
  host.DestroyWindow();
}

// --- the store --------------------------------------------------------------

TEST_F(ApplyPage, EntryFillsTheStoreFromTheGroupListAndWritesItBack) {
  ApplyHost h({{"000D88C00001", "10.250.0.31", "Master", 1, 0, "10.250.0.21", "pw1", 0, "1"},
               {"000D88C00002", "10.250.0.32", "Slave", 0, 1, "10.250.0.22", "", 1, "0"}});
  h.page.m_groupList.GetHead();
  static_cast<CDeviceRecord*>(h.page.m_groupList.GetHead())->m_strReadCommunity = "pub";
  h.page.FillStore();
  ASSERT_EQ(h.page.RowCount(), 2);
  struct Cell {
    int column;
    const char* first;
    const char* second;
  } cells[] = {
      {kColRole, "Master", "Slave"},       {kColIp, "10.250.0.31", "10.250.0.32"},
      {kColMac, "000D88C00001", "000D88C00002"}, {kColAuto, "1", "0"},
      {kColManual, "0", "1"},              {kColDelete, "0", "1"},
      {kColReadCommunity, "pub", ""},      {kColNewIp, "10.250.0.21", "10.250.0.22"},
      {kColNewMask, "255.255.255.0", "255.255.255.0"}, {kColNewGateway, "10.250.0.1", "10.250.0.1"},
      {kColPassword, "pw1", ""},           {kColSnmpStatus, "1", "0"},
  };
  for (const Cell& c : cells) {
    EXPECT_EQ(h.page.Cell(0, c.column), c.first) << c.column;
    EXPECT_EQ(h.page.Cell(1, c.column), c.second) << c.column;
  }
  // The member that stays gives the group name and password.
  CString name;
  h.page.m_groupName.GetWindowText(name);
  EXPECT_EQ(name, "Lobby");

  h.page.SetCell(1, kColIp, "10.250.0.40");
  h.page.SetCell(1, kColSnmpStatus, "1");
  h.page.SetCell(1, kColWriteCommunity, "velmont");
  h.page.WriteBack();
  EXPECT_EQ(h.Record(1)->m_strIp, "10.250.0.40");
  EXPECT_EQ(h.Record(1)->m_strSnmpStatus, "1");
  EXPECT_EQ(h.Record(1)->m_strWriteCommunity, "velmont");
  EXPECT_EQ(h.Record(0)->m_strIp, "10.250.0.31");

  // The automatic plan: another row's present address is held (a row that is
  // to move keeps it when its move fails), and so is the new address of a
  // group row that will take it. Row 1 leaves the group first, then stays
  // with its address typed by hand (10.250.0.22).
  h.page.SetCell(0, kColAuto, "1");
  h.page.SetCell(1, kColAuto, "0");
  struct Held {
    const char* leave;  // row 1's column 7
    const char* ip;
    int row;
    BOOL held;
  } held[] = {{"1", "10.250.0.40", 0, TRUE},  {"1", "10.250.0.40", 1, FALSE}, {"1", "10.250.0.31", 1, TRUE},
              {"1", "10.250.0.31", 0, FALSE}, {"1", "10.250.0.99", 0, FALSE}, {"1", "10.250.0.22", 0, FALSE},
              {"0", "10.250.0.22", 0, TRUE},  {"-1", "10.250.0.22", 0, FALSE}, {"-1", "10.250.0.40", 0, TRUE}};
  for (const Held& c : held) {
    h.page.SetCell(1, kColDelete, c.leave);
    EXPECT_EQ(h.page.IsHeldByAnother(c.ip, c.row), c.held) << c.leave << " " << c.ip << " " << c.row;
  }
  h.page.SetCell(1, kColDelete, "1");
  // A row before this one with the same address does not hide a later one.
  h.page.SetCell(0, kColIp, "10.250.0.40");
  EXPECT_TRUE(h.page.IsHeldByAnother("10.250.0.40", 0));
  h.page.SetCell(0, kColIp, "10.250.0.31");

  EXPECT_TRUE(h.page.AreIpsUnique());
  h.page.SetCell(1, kColIp, "10.250.0.31");
  EXPECT_FALSE(h.page.AreIpsUnique());
  EXPECT_TRUE(h.page.IsIpInOtherRow("10.250.0.31", 0));
  EXPECT_EQ(h.page.FindRowByIp("10.250.0.31"), 0);
  EXPECT_EQ(CApplyPage::FormatMacText("000D88C00001"), "00:0D:88:C0:00:01");
}

TEST_F(ApplyPage, EscapeEnterAndBackKeepThePage) {
  ApplyHost h({});
  for (UINT key : {VK_ESCAPE, VK_RETURN}) {
    MSG msg{};
    msg.hwnd = h.page.m_hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    EXPECT_TRUE(h.page.PreTranslateMessage(&msg)) << key;
  }
  EXPECT_EQ(h.page.OnBackPage(), CWizardPage::kStayOnPage);
}

TEST_F(ApplyPage, NextNeedsAMasterThatStaysInTheGroupWithSnmpOn) {
  struct Case {
    const char* what;
    std::vector<Member> members;
    int secondRun, modifyFlow;
    int expected;
    const char* target;  // the SNMP target afterwards
  } cases[] = {
      {"no member", {}, 0, 0, CWizardPage::kStayOnPage, ""},
      {"create",
       {{"A1", "10.250.0.9", "Slave", 0, 0, "", "", 0, "1"}, {"A2", "10.250.0.8", "Master", 0, 0, "", "", 0, "1"}},
       0, 0, kCreateWireless, "10.250.0.8"},
      {"modify", {{"A2", "10.250.0.8", "Master", 0, 0, "", "", 0, "1"}}, 0, 1, kModifyWireless, "10.250.0.8"},
      {"SNMP not usable: the target is set all the same",
       {{"A2", "10.250.0.8", "Master", 0, 0, "", "", 0, "0"}}, 0, 0, CWizardPage::kStayOnPage, "10.250.0.8"},
      {"a leaving Master", {{"A2", "10.250.0.8", "Master", 0, 1, "", "", 0, "1"}}, 0, 0, CWizardPage::kStayOnPage, ""},
      {"a skipped Master", {{"A2", "10.250.0.8", "Master", 0, -1, "", "", 0, "1"}}, 0, 0, CWizardPage::kStayOnPage, ""},
      {"the first Master counts",
       {{"A2", "10.250.0.8", "Master", 0, 0, "", "", 0, "0"}, {"A3", "10.250.0.7", "Master", 0, 0, "", "", 0, "1"}},
       0, 0, CWizardPage::kStayOnPage, "10.250.0.8"},
      {"second instance, create", {}, 1, 0, kCreateDone, ""},
      {"second instance, modify", {}, 1, 1, kModifyDone, ""},
  };
  for (const Case& c : cases) {
    ApplyHost h(c.members, c.secondRun, c.modifyFlow);
    h.page.FillStore();
    OperatorAnswers answers("");
    EXPECT_EQ(h.page.OnNextPage(), c.expected) << c.what;
    EXPECT_EQ(answers.boxes, c.expected == CWizardPage::kStayOnPage ? std::vector<std::string>{
                                                    "The AP Vezovi has no Master. Please choose one member as Master."}
                                              : std::vector<std::string>{})
        << c.what;
    EXPECT_EQ(h.page.m_strAgentIp, c.target) << c.what;
    if (c.expected == 4) {
      EXPECT_EQ(h.page.m_strReadCommunity, "");
    }
  }
}

TEST_F(ApplyPage, LanguageTextsWithStrayPercentSignsPrintAsTheyStand) {
  // A program folder whose language file has a broken step text.
  TempDir dir;
  std::filesystem::create_directories(dir.path() + "/language/en");
  std::ifstream in(std::string(std::getenv("TRELLIAN_SOURCE_DIR")) + "/res/language/en/Lang.MLS");
  std::stringstream text;
  text << in.rdbuf();
  std::string lang = text.str();
  const std::string key = "IDS_STR_GETSNMP=";
  const size_t at = lang.find(key);
  ASSERT_NE(at, std::string::npos);
  lang.replace(at, lang.find('\n', at) - at, key + "%n%s %5d%s %");
  std::ofstream(dir.path() + "/language/en/Lang.MLS") << lang;
  testkit::SetProgramPath(dir.file("Trellian"));
  theApp.SetupLanguage();

  ApplyHost h({{"000D88C00001", "10.250.0.31", "Master"}});
  h.page.FillStore();
  h.page.m_tasks.Add(CApplyTaskLists::kGetSnmp, nullptr, "000D88C00001");
  CApplyPage::GetSnmpDone(FALSE, "000D88C00001", " Error!", &h.page);
  EXPECT_EQ(h.Log(), std::vector<std::string>{"%n10.250.0.31 %5d000D88C00001 %"});
  EXPECT_EQ(h.Cell("000D88C00001", kColSnmpStatus), "0");
  EXPECT_EQ(h.page.m_tasks.Count(CApplyTaskLists::kGetSnmp), 0);
}

TEST_F(ApplyPage, ItsWindowGoesOnlyOnceEveryListedTaskHasReported) {
  for (auto which : {CApplyTaskLists::kSetIp, CApplyTaskLists::kGetSnmp, CApplyTaskLists::kFinalPass}) {
    ApplyHost h({});
    h.page.m_tasks.Add(which, nullptr, "000D88C00001");
    std::atomic<bool> reported{false};
    std::thread report([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      reported = true;
      h.page.m_tasks.Remove(which, "000D88C00001");
    });
    h.page.DestroyWindow();
    EXPECT_TRUE(reported) << which;
    report.join();
  }
}

// --- reports from worker threads ------------------------------------------------

TEST(ApplyTaskLists, AddRemoveAndCountFromManyThreads) {
  CApplyTaskLists lists;
  const int kThreads = 8, kRounds = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&lists, t] {
      const auto which = static_cast<CApplyTaskLists::Which>(t % CApplyTaskLists::kListCount);
      CString mac;
      mac.Format("MAC%d", t);
      for (int i = 0; i < kRounds; ++i) {
        lists.Add(which, nullptr, mac);
        EXPECT_GE(lists.Count(which), 1);
        EXPECT_TRUE(lists.Remove(which, mac));
      }
    });
  }
  for (auto& t : threads) t.join();
  for (auto which : {CApplyTaskLists::kSetIp, CApplyTaskLists::kGetSnmp, CApplyTaskLists::kFinalPass})
    EXPECT_EQ(lists.Count(which), 0);
  lists.Add(CApplyTaskLists::kSetIp, nullptr, "X");
  lists.Add(CApplyTaskLists::kSetIp, nullptr, "X");
  EXPECT_TRUE(lists.Remove(CApplyTaskLists::kSetIp, "X"));
  EXPECT_EQ(lists.Count(CApplyTaskLists::kSetIp), 1);
  EXPECT_FALSE(lists.Remove(CApplyTaskLists::kGetSnmp, "X"));
}

TEST_F(ApplyPage, ReportsFromSeveralWorkerThreadsEmptyTheListsAndFillTheStore) {
  const int kDevices = 8;
  std::vector<Member> members;
  std::vector<std::string> macs;
  for (int i = 0; i < kDevices; ++i) {
    macs.push_back("000D88C000" + std::to_string(10 + i));
    members.push_back({"", "", "Slave"});
  }
  for (int i = 0; i < kDevices; ++i) members[i].mac = macs[i].c_str();
  ApplyHost h(members);
  h.page.FillStore();
  for (int i = 0; i < kDevices; ++i) {
    h.page.SetCell(i, kColSnmpStatus, "A");
    h.page.SetCell(i, kColAuto, "D");
    h.page.m_tasks.Add(CApplyTaskLists::kGetSnmp, nullptr, macs[i].c_str());
    h.page.m_tasks.Add(CApplyTaskLists::kSetIp, nullptr, macs[i].c_str());
  }
  // Even devices succeed, odd ones fail; each report runs on its own thread.
  std::atomic<int> done{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kDevices; ++i) {
    const CString mac = macs[i].c_str();
    const BOOL ok = i % 2 == 0;
    threads.emplace_back([&, mac, ok] {
      CApplyPage::GetSnmpDone(ok, mac, ok ? " OK!" : " Error!", &h.page);
      CApplyPage::SetIpDone(ok, mac, ok ? " OK!" : " Error!", &h.page);
      ++done;
    });
  }
  // The reports' calls to the store and the log are carried to this thread.
  EXPECT_TRUE(testkit::PumpUntil([&] { return done == kDevices; }, 20000));
  for (auto& t : threads) t.join();
  testkit::PumpPending();
  EXPECT_EQ(h.page.m_tasks.Count(CApplyTaskLists::kGetSnmp), 0);
  EXPECT_EQ(h.page.m_tasks.Count(CApplyTaskLists::kSetIp), 0);
  for (int i = 0; i < kDevices; ++i) {
    const bool ok = i % 2 == 0;
    EXPECT_EQ(h.Cell(macs[i].c_str(), kColSnmpStatus), ok ? "1" : "0") << i;
    EXPECT_EQ(h.Cell(macs[i].c_str(), kColAuto), "1") << i;
    EXPECT_EQ(h.Cell(macs[i].c_str(), kColAction), ok ? "Set IP OK" : "Set IP Unsuccess!") << i;
    EXPECT_EQ(h.Cell(macs[i].c_str(), kColReadCommunity), ok ? "quorin" : "") << i;
  }
  EXPECT_EQ(h.Log().size(), size_t(2 * kDevices));
  EXPECT_EQ(h.page.IsPending(), FALSE);
}

}  // namespace
