// The scan pages and the status list page without a network: the pages sit
// in their frames, the discovery callbacks are fed records by hand and the
// platform clock is pushed through the 400 ms ticks of a scan.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CDeviceRecord.h"
#include "CStatusListPage.h"
#include "CWizardApp.h"
#include "CWizardFrame.h"
#include "RTProgressBar.h"
#include "RTSkin.h"
#include "ScanPages.h"
#include "ScanPagesRes.h"
#include "TempDir.h"
#include "TestKit.h"
#include "WindowText.h"
#include "WizardFlows.h"
#include "WizardRes.h"

namespace fs = std::filesystem;

CWizardApp theApp;

namespace {

std::string BinDir() { return std::string(std::getenv("TRELLIAN_BINARY_DIR")) + "/bin"; }

// Screenshots go where a person can look at them; they are not test inputs.
std::string ShotPath(const std::string& name) {
  fs::create_directories(BinDir() + "/screenshots");
  return BinDir() + "/screenshots/" + name + ".png";
}

// Paints what is pending, then saves the window as a picture.
void Shoot(CWnd& wnd, const std::string& name) {
  wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // A skinned list brings its container's bars in step as it paints; they paint next.
  testkit::PumpPending();
  testkit::PumpPending();
  EXPECT_TRUE(testkit::CaptureWindowPng(wnd.GetSafeHwnd(), ShotPath(name)));
}

std::string Status(CScanPage* page) { return page->StatusText().GetString(); }

struct Answer {
  const char* mac;
  const char* model;
  const char* ip;
  const char* location;
  const char* role;       // announcements only
  const char* groupName;  // announcements only
};

CDeviceRecord Record(const Answer& a) {
  CDeviceRecord r;
  r.m_strMac = a.mac;
  r.m_strModel = a.model;
  r.m_strIp = a.ip;
  r.m_strLocation = a.location;
  r.m_strNetmask = "255.255.255.0";
  r.m_strSnmpStatus = "1";
  r.m_strRole = a.role;
  r.m_strGroupName = a.groupName;
  return r;
}

void Announce(CScanPage* page, const Answer& a) {
  CDeviceRecord r = Record(a);
  CScanPage::OnGroupFound(0, &r, page);
}
void AnswerBroadcast(CScanPage* page, const Answer& a) {
  CDeviceRecord r = Record(a);
  r.m_strRole = "";
  r.m_strGroupName = "";
  CScanPage::OnDeviceFound(0, &r, page);
}

std::vector<CDeviceRecord*> Records(const CPtrList& list) {
  std::vector<CDeviceRecord*> records;
  for (POSITION pos = list.GetHeadPosition(); pos;) records.push_back(static_cast<CDeviceRecord*>(list.GetNext(pos)));
  return records;
}
std::vector<std::string> Macs(const CPtrList& list) {
  std::vector<std::string> macs;
  for (CDeviceRecord* r : Records(list)) macs.push_back(r->m_strMac.GetString());
  return macs;
}

// A frame of one flow inside a plain host window, as the main dialog holds
// it, with the program's language file and skin (beside the test programs).
template <class Frame>
class FlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testkit::SetProgramPath(BinDir() + "/Trellian");
    theApp.SetupLanguage();
    skin.LoadSkin((BinDir() + "/Skin/vAdev/skin.ini").c_str());
    skin.EnableSkin(1);
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 0, 0, 500, 440, nullptr,
                              nullptr));
    ASSERT_TRUE(frame.Create(IDD_WIZARD_FRAME, &host));
    frame.ShowWindow(SW_SHOW);
    frame.Activate();
  }
  void TearDown() override {
    frame.DestroyWindow();
    host.DestroyWindow();
    skin.EnableSkin(0);
    testkit::ResetWindows();
    testkit::SetProgramPath("");
    EXPECT_TRUE(boxes.records.empty());
  }
  // The status and modify flows start with their scan.
  CScanPage* scan() { return dynamic_cast<CScanPage*>(frame.Page(kStatusScan)); }
  // The clock goes forward tick by tick, so every tick is its own WM_TIMER.
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      testkit::AdvanceClock(CScanPage::kTicksPerScan ? CScanPage::kTickMs : 0);
      testkit::PumpPending();
    }
  }
  void FinishScan() {
    Ticks(CScanPage::kTicksPerScan - scan()->Ticks());
    ASSERT_FALSE(scan()->IsScanning());
  }

  // No page of these flows has anything to tell the operator; a box that
  // came anyway is answered, so it shows as a failure and not as a hang.
  testkit::MessageBoxLog boxes;
  testkit::ModalHandler answer{[](HWND box) { testkit::Answer(box, IDOK); }};
  CRTSkin skin;
  CWnd host;
  Frame frame{nullptr, nullptr, nullptr};
};

// Three members of "Lobby", two of "Roof": all five also answered the
// broadcast; "Ghost" only announced itself.
const Answer kLobby1 = {"000D88000001", "RIZ-4410", "10.250.0.11", "Hall", "1", "Lobby"};
const Answer kLobby2 = {"000D88000002", "RIZ-4410", "10.250.0.12", "-", "2", "Lobby"};
const Answer kLobby3 = {"000D88000003", "RIZ-4410", "10.250.0.13", "Desk", "3", "Lobby"};
const Answer kRoof1 = {"000D88000004", "RIZ-4410", "10.250.0.14", "North", "1", "Roof"};
const Answer kRoof2 = {"000D88000005", "RIZ-4410", "10.250.0.15", "South", "3", "Roof"};
const Answer kGhost = {"000D88000006", "RIZ-4410", "10.250.0.16", "Attic", "1", "Ghost"};
const Answer kFresh = {"000D88000007", "RIZ-4410", "10.250.0.17", "Store", "", ""};

void FeedTwoGroups(CScanPage* page) {
  for (const Answer& a : {kLobby1, kLobby2, kLobby3, kRoof1, kRoof2, kGhost}) Announce(page, a);
  for (const Answer& a : {kLobby1, kLobby2, kLobby3, kRoof1, kRoof2, kFresh}) AnswerBroadcast(page, a);
}

// ---------------------------------------------------------------- status flow

using StatusFlow = FlowTest<CStatusWizard>;

TEST_F(StatusFlow, MergeKeepsConfirmedMembersAndCountsTheirGroups) {
  CScanPage* page = scan();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(WindowText(page->m_title), "Searching for existing AP Vezovi groups");
  EXPECT_TRUE(page->IsScanning());
  FeedTwoGroups(page);
  FinishScan();

  // "Ghost" only announced itself: neither kept nor counted. The member whose
  // location is "-" is found like any other.
  EXPECT_EQ(Macs(page->m_groupList),
            (std::vector<std::string>{"000D88000001", "000D88000002", "000D88000003", "000D88000004", "000D88000005"}));
  for (CDeviceRecord* r : Records(page->m_groupList)) EXPECT_EQ(r->m_nConfirmed, 1) << r->m_strMac;
  EXPECT_EQ(Macs(page->m_deviceList), std::vector<std::string>{"000D88000007"});
  EXPECT_EQ(Status(page), "2 AP Vezovi group(s) found.");
  EXPECT_EQ(page->m_groupNames.GetCount(), 2);
  EXPECT_EQ(page->m_groupNames.GetHead(), "Roof");

  // The status page takes over the location alone and keeps no SNMP status.
  const CDeviceRecord* first = Records(page->m_groupList)[0];
  EXPECT_EQ(first->m_strRole, "Master");
  EXPECT_EQ(first->m_strLocation, "Hall");
  EXPECT_EQ(first->m_strSnmpStatus, "");

  frame.OnNext();
  ASSERT_EQ(frame.CurrentIndex(), kStatusList);
  auto* list = dynamic_cast<CStatusListPage*>(frame.Page(kStatusList));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->m_list.GetItemCount(), 5);
  EXPECT_EQ(list->m_list.GetItemText(1, 0), "Lobby");
  EXPECT_EQ(list->m_list.GetItemText(1, 1), "Backup Master");
  EXPECT_EQ(list->m_list.GetItemText(1, 2), "10.250.0.12");
  EXPECT_EQ(list->m_list.GetItemText(1, 3), "000D88000002");
  EXPECT_EQ(list->m_list.GetItemText(1, 4), "-");
  EXPECT_EQ(list->m_list.GetItemText(4, 0), "Roof");
  EXPECT_TRUE(frame.m_btnFinish.IsWindowVisible());
  EXPECT_FALSE(frame.m_btnNext.IsWindowVisible());
  Shoot(frame, "status_list_in_frame");
}

// Busy, the frame's buttons are disabled; the frame and the page are not
// (nothing on a scan page takes input, but an apply page's log must scroll).
TEST_F(StatusFlow, ButtonsAreDisabledWhileScanningAndTheBarFollowsTheTicks) {
  CScanPage* page = scan();
  const auto buttonsEnabled = [&] {
    return std::vector<bool>{frame.m_btnBack.IsWindowEnabled() != FALSE, frame.m_btnNext.IsWindowEnabled() != FALSE,
                             frame.m_btnCancel.IsWindowEnabled() != FALSE};
  };
  EXPECT_EQ(buttonsEnabled(), std::vector<bool>({false, false, false}));
  EXPECT_TRUE(frame.IsBusy());
  EXPECT_TRUE(frame.IsWindowEnabled());
  EXPECT_TRUE(page->IsWindowEnabled());
  Ticks(50);
  EXPECT_EQ(page->m_pProgress->GetPos(), 50);
  Shoot(frame, "status_scan_running");
  // Next while scanning stays (the buttons are disabled, the answer holds anyway).
  EXPECT_EQ(page->OnNextPage(), CWizardPage::kStayOnPage);
  Ticks(49);
  EXPECT_TRUE(page->IsScanning());
  EXPECT_TRUE(frame.IsBusy());
  Ticks(1);
  EXPECT_FALSE(page->IsScanning());
  EXPECT_FALSE(frame.IsBusy());
  // Each as the flow has it: Back too, which the frame shows enabled on a
  // flow's first page.
  EXPECT_EQ(buttonsEnabled(), std::vector<bool>({true, true, true}));
  EXPECT_EQ(page->m_pProgress->GetPos(), 100);
}

TEST_F(StatusFlow, NothingFoundThenNextScansAgainAndStays) {
  CScanPage* page = scan();
  AnswerBroadcast(page, kFresh);  // not a group member: no group
  FinishScan();
  EXPECT_EQ(Status(page), "No access point was found.");
  EXPECT_EQ(page->m_nNoResult, 1);
  Shoot(frame, "status_scan_nothing");

  frame.OnNext();
  EXPECT_EQ(frame.CurrentIndex(), kStatusScan);
  EXPECT_TRUE(page->IsScanning());
  EXPECT_EQ(page->m_nNoResult, 0);
  EXPECT_EQ(Status(page), "");
  EXPECT_TRUE(page->m_deviceList.IsEmpty());  // the previous scan's records went
}

// A tick after the merge (a stray one, or one of another timer) changes
// nothing; a record that arrives late is kept where it arrived, unmerged.
TEST_F(StatusFlow, TicksAfterTheScanChangeNothingAndLateRecordsStayUnmerged) {
  CScanPage* page = scan();
  FeedTwoGroups(page);
  FinishScan();
  const std::vector<std::string> members = Macs(page->m_groupList);
  const std::string line = Status(page);

  Announce(page, kGhost);          // already gone in the merge: comes back, unconfirmed
  AnswerBroadcast(page, kLobby1);  // its device record went in the merge
  for (UINT id : {1001u, 1003u, 7u}) page->SendMessage(WM_TIMER, id, 0);
  Ticks(CScanPage::kTicksPerScan);

  std::vector<std::string> expected = members;
  expected.push_back("000D88000006");
  EXPECT_EQ(Macs(page->m_groupList), expected);
  EXPECT_EQ(Records(page->m_groupList).back()->m_nConfirmed, 0);
  EXPECT_EQ(Macs(page->m_deviceList), (std::vector<std::string>{"000D88000001", "000D88000007"}));
  EXPECT_EQ(Status(page), line);
  EXPECT_EQ(page->Ticks(), CScanPage::kTicksPerScan);

  // The late, unconfirmed record gives no row.
  frame.OnNext();
  auto* list = dynamic_cast<CStatusListPage*>(frame.Page(kStatusList));
  EXPECT_EQ(list->m_list.GetItemCount(), 5);
}

// Answers the pages ignore: another model, a role that no member has, a MAC
// already listed, and reports that carry no record.
TEST_F(StatusFlow, IgnoredAnswers) {
  CScanPage* page = scan();
  const Answer otherModel = {"000D88000010", "RIZ-4400", "10.250.0.20", "", "1", "Lobby"};
  const Answer riz4410Lower = {"000D88000011", "riz-4410", "10.250.0.21", "", "1", "Lobby"};
  AnswerBroadcast(page, otherModel);
  AnswerBroadcast(page, riz4410Lower);
  AnswerBroadcast(page, kLobby1);
  AnswerBroadcast(page, kLobby1);
  for (const char* role : {"0", "4", "", "Master", "11"}) {
    Answer odd = kRoof1;
    odd.role = role;
    Announce(page, odd);
  }
  Announce(page, kLobby1);
  Announce(page, kLobby1);
  CScanPage::OnGroupFound(1, nullptr, page);
  CScanPage::OnDeviceFound(-1, nullptr, page);
  EXPECT_EQ(Macs(page->m_deviceList), std::vector<std::string>{"000D88000001"});
  EXPECT_EQ(Macs(page->m_groupList), std::vector<std::string>{"000D88000001"});
}

// ---------------------------------------------------------------- status list

class StatusList : public StatusFlow {};

TEST_F(StatusList, OnlyConfirmedNamedRecordsGiveRowsAndAnotherListReplacesThem) {
  frame.OnNext();  // the scan is still running: the frame stays
  ASSERT_EQ(frame.CurrentIndex(), kStatusScan);
  auto* list = dynamic_cast<CStatusListPage*>(frame.Page(kStatusList));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(WindowText(list->m_title), "AP Status");
  ASSERT_EQ(list->m_list.GetHeaderCtrl()->GetItemCount(), 5);
  const char* headers[] = {"AP Vezovi Name", "Role", "IP Address", "MAC Address", "Location"};
  const int widths[] = {120, 120, 120, 120, 100};
  for (int c = 0; c < 5; ++c) {
    LVCOLUMN column{};
    char text[64] = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text;
    column.cchTextMax = sizeof text;
    ASSERT_TRUE(list->m_list.GetColumn(c, &column));
    EXPECT_STREQ(text, headers[c]);
    EXPECT_EQ(column.cx, widths[c]);
  }

  struct Row {
    const char* group;
    int confirmed;
    const char* role;
    const char* mac;
  };
  const Row rows[] = {
      {"Lobby", 1, "Master", "000D88000001"},  {"Lobby", 0, "Slave", "000D88000002"},
      {"", 1, "Slave", "000D88000003"},         {"Roof", 1, "Backup Master", "000D88000004"},
      {"Roof", 1, "Slave", "000D88000005"},
  };
  std::vector<CDeviceRecord> records(std::size(rows));
  CPtrList first;
  for (size_t i = 0; i < std::size(rows); ++i) {
    records[i].m_strGroupName = rows[i].group;
    records[i].m_nConfirmed = rows[i].confirmed;
    records[i].m_strRole = rows[i].role;
    records[i].m_strMac = rows[i].mac;
    records[i].m_strIp.Format("10.250.0.%d", int(i) + 11);
    records[i].m_strLocation = i == 4 ? "-" : "Floor";
    first.AddTail(&records[i]);
  }
  list->SetGroupList(&first);
  ASSERT_EQ(list->m_list.GetItemCount(), 3);
  const char* expectedMacs[] = {"000D88000001", "000D88000004", "000D88000005"};
  for (int r = 0; r < 3; ++r) EXPECT_EQ(list->m_list.GetItemText(r, 3), expectedMacs[r]) << r;
  EXPECT_EQ(list->m_list.GetItemText(1, 1), "Backup Master");
  EXPECT_EQ(list->m_list.GetItemText(2, 4), "-");
  EXPECT_EQ(list->m_list.GetItemText(0, 2), "10.250.0.11");

  frame.Page(kStatusScan)->ShowWindow(SW_HIDE);
  frame.ShowPage(kStatusList);
  Shoot(frame, "status_list");

  CPtrList second;
  second.AddTail(&records[1]);
  second.AddTail(&records[4]);
  list->SetGroupList(&second);
  ASSERT_EQ(list->m_list.GetItemCount(), 1);
  EXPECT_EQ(list->m_list.GetItemText(0, 3), "000D88000005");

  CPtrList empty;
  list->SetGroupList(&empty);
  EXPECT_EQ(list->m_list.GetItemCount(), 0);
  // The list never owned the records.
  EXPECT_EQ(records[0].m_strMac, "000D88000001");
}

// Every visit opens the list at its left edge, the group names in sight,
// wherever the last one left the horizontal bar; and the address column
// shows each twelve-digit MAC address whole.
TEST_F(StatusList, EachVisitOpensAtTheLeftAndEveryMacAddressIsWhole) {
  auto* list = dynamic_cast<CStatusListPage*>(frame.Page(kStatusList));
  ASSERT_NE(list, nullptr);
  const char* macs[] = {"000D88A00123", "000D88E00004", "000D88B88888"};
  std::vector<CDeviceRecord> records(std::size(macs));
  CPtrList group;
  for (size_t i = 0; i < records.size(); ++i) {
    records[i].m_strGroupName = "Atrium";
    records[i].m_nConfirmed = 1;
    records[i].m_strRole = i == 0 ? "Master" : "Backup Master";
    records[i].m_strMac = macs[i];
    records[i].m_strIp.Format("10.250.0.%d", int(i) + 11);
    records[i].m_strLocation = "Hall";
    group.AddTail(&records[i]);
  }
  list->SetGroupList(&group);
  frame.Page(kStatusScan)->ShowWindow(SW_HIDE);
  frame.ShowPage(kStatusList);
  list->OnEnterPage();
  EXPECT_EQ(list->m_list.GetScrollPos(SB_HORZ), 0);
  list->m_list.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), 0);
  ASSERT_GT(list->m_list.GetScrollPos(SB_HORZ), 0) << "the columns are wider than the list";
  Shoot(frame, "status_list_scrolled");
  list->OnEnterPage();  // the next visit
  EXPECT_EQ(list->m_list.GetScrollPos(SB_HORZ), 0);
  CRect first;
  ASSERT_TRUE(list->m_list.GetSubItemRect(0, 0, LVIR_BOUNDS, first));
  EXPECT_LE(first.left, 0);
  Shoot(frame, "status_list_reopened");

  // The cell's text starts a pixel in and must end before the grid line.
  CClientDC dc(&list->m_list);
  CFont* old = dc.SelectObject(list->m_list.GetFont());
  CRect cell;
  ASSERT_TRUE(list->m_list.GetSubItemRect(0, 3, LVIR_BOUNDS, cell));
  for (const char* mac : macs) EXPECT_LE(dc.GetTextExtent(mac).cx + 2, cell.Width()) << mac;
  dc.SelectObject(old);
}

// ---------------------------------------------------------------- modify flow

using ModifyFlow = FlowTest<CModifyWizard>;

TEST_F(ModifyFlow, MergeTakesOverTheBroadcastFieldsAndKeepsTheUnconfiguredDevices) {
  CScanPage* page = scan();
  EXPECT_EQ(WindowText(page->m_title), "Searching for existing AP Vezovi groups");
  FeedTwoGroups(page);
  CDeviceRecord roof = Record(kRoof1);
  roof.m_strNetmask = "255.255.0.0";
  roof.m_strSnmpStatus = "0";
  roof.m_strLocation = "Announced";
  // The broadcast answer's netmask, SNMP state and location win.
  for (CDeviceRecord* r : Records(page->m_groupList))
    if (r->m_strMac == kRoof1.mac) *r = roof, r->m_strRole = "Master";
  FinishScan();
  EXPECT_EQ(Status(page), "2 AP Vezovi group(s) found.");
  EXPECT_EQ(page->m_groupList.GetCount(), 5);
  EXPECT_EQ(Macs(page->m_deviceList), std::vector<std::string>{"000D88000007"});
  const CDeviceRecord* merged = Records(page->m_groupList)[3];
  EXPECT_EQ(merged->m_strMac, kRoof1.mac);
  EXPECT_EQ(merged->m_strNetmask, "255.255.255.0");
  EXPECT_EQ(merged->m_strSnmpStatus, "1");
  EXPECT_EQ(merged->m_strLocation, "North");
  EXPECT_EQ(merged->m_nConfirmed, 1);
  EXPECT_EQ(page->OnBackPage(), CWizardPage::kStayOnPage);
  Shoot(frame, "modify_scan_found");
}

// The members page and the apply pages point at the group records of the
// last scan; a new scan keeps them alive, and the page frees them when it
// goes (LeakSanitizer checks at exit that nothing is left).
TEST_F(ModifyFlow, GroupRecordsHandedOnOutliveTheNextScanAndGoWithThePage) {
  auto* page = dynamic_cast<CModifyScanPage*>(scan());
  ASSERT_NE(page, nullptr);
  FeedTwoGroups(page);
  FinishScan();
  frame.OnNext();
  ASSERT_EQ(frame.CurrentIndex(), kModifyMembers);
  const std::vector<CDeviceRecord*> handedOn = Records(frame.Page(kModifyMembers)->m_groupList);
  ASSERT_EQ(handedOn.size(), 5u);
  // A stray tick to the hidden scan page must not merge again: that would
  // delete the records the members page now holds.
  page->SendMessage(WM_TIMER, 1002, 0);
  EXPECT_EQ(page->m_groupList.GetCount(), 5);
  for (CDeviceRecord* r : handedOn) EXPECT_EQ(r->m_nConfirmed, 1);

  frame.OnBack();  // the members page goes back to the scan, which scans again
  ASSERT_EQ(frame.CurrentIndex(), kModifyScan);
  EXPECT_TRUE(page->IsScanning());
  EXPECT_TRUE(page->m_groupList.IsEmpty());
  EXPECT_EQ(page->m_keptGroupRecords.GetCount(), 5);
  // A stray tick after the next scan's merge must not touch them either.
  for (const Answer& a : {kRoof1, kRoof2}) Announce(page, a);
  for (const Answer& a : {kRoof1, kRoof2}) AnswerBroadcast(page, a);
  FinishScan();
  page->SendMessage(WM_TIMER, 1002, 0);
  EXPECT_EQ(Status(page), "1 AP Vezovi group(s) found.");
  // Still readable where the later page holds them (AddressSanitizer).
  for (CDeviceRecord* r : handedOn) EXPECT_EQ(r->m_nConfirmed, 1);
  EXPECT_EQ(handedOn[0]->m_strGroupName, "Lobby");

  frame.OnNext();
  frame.OnBack();
  page->SendMessage(WM_TIMER, 1002, 0);
  FinishScan();
  EXPECT_EQ(page->m_keptGroupRecords.GetCount(), 7);
  frame.DestroyWindow();  // the kept records and both lists go here
}

// ---------------------------------------------------------------- create flow

// The create flow's scan, started as the group name page's Next starts it
// (that page checks what the operator typed; here the name is given).
class CreateFlow : public FlowTest<CCreateWizard> {
 protected:
  CScanNewApPage* StartScan(const char* name) {
    auto* page = dynamic_cast<CScanNewApPage*>(frame.Page(kCreateScan));
    if (!page) return nullptr;
    frame.Page(frame.CurrentIndex())->ShowWindow(SW_HIDE);
    frame.m_nCurrent = kCreateScan;
    page->m_strGroupName = name;
    page->OnEnterPage();
    frame.ShowPage(kCreateScan);
    return page;
  }
};

TEST_F(CreateFlow, CandidatesAreTheUnconfiguredDevicesAndAnExactNameClashSendsBack) {
  const struct {
    const char* newName;
    int exists;
    const char* line;
    int next;
  } cases[] = {
      {"Lobby", 1, "An AP Vezovi with this name already exists. Please go back and choose another name.", 0},
      {"lobby", 0, "1 unconfigured access point(s) found.", 2},
      {"Ghost", 0, "1 unconfigured access point(s) found.", 2},  // announced only: no clash
      {"Other", 0, "1 unconfigured access point(s) found.", 2},
  };
  for (const auto& c : cases) {
    CScanNewApPage* page = StartScan(c.newName);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(WindowText(page->m_title), "Searching for unconfigured access points");
    ASSERT_TRUE(page->IsScanning());
    FeedTwoGroups(page);
    EXPECT_EQ(page->m_nCandidates, 6) << c.newName;
    Ticks(CScanPage::kTicksPerScan);
    EXPECT_EQ(page->m_nExists, c.exists) << c.newName;
    EXPECT_EQ(Status(page), c.line) << c.newName;
    EXPECT_TRUE(page->m_groupList.IsEmpty());
    EXPECT_EQ(Macs(page->m_deviceList), std::vector<std::string>{"000D88000007"}) << c.newName;
    EXPECT_EQ(page->m_nCandidates, 1);
    EXPECT_EQ(page->OnNextPage(), c.next) << c.newName;
    EXPECT_EQ(page->OnBackPage(), kCreateGroupName);
    if (c.exists) {
      Shoot(frame, "create_scan_exists");
      frame.OnNext();
      EXPECT_EQ(frame.CurrentIndex(), kCreateGroupName) << "back to the group name";
    }
  }
  Shoot(frame, "create_scan_found");
}

TEST_F(CreateFlow, NextGoesToTheMemberPageWithTheCandidates) {
  CScanNewApPage* page = StartScan("Hall");
  ASSERT_NE(page, nullptr);
  for (const Answer& a : {kFresh, kLobby1}) AnswerBroadcast(page, a);
  Ticks(CScanPage::kTicksPerScan);
  // Newest first: the device list takes answers at its head.
  EXPECT_EQ(Macs(page->m_deviceList), (std::vector<std::string>{"000D88000001", "000D88000007"}));
  EXPECT_EQ(Status(page), "2 unconfigured access point(s) found.");
  frame.OnNext();
  ASSERT_EQ(frame.CurrentIndex(), kCreateMembers);
  EXPECT_EQ(Records(frame.Page(kCreateMembers)->m_deviceList), Records(page->m_deviceList));
}

// ---------------------------------------------------------------- language texts

// A language file is data: a result text with conversions it should not
// have prints them as they stand.
TEST(ScanResultLine, StrayConversionsInTheLanguageTextArePrintedLiterally) {
  TempDir dir;
  fs::create_directories(dir.path() + "/language/en");
  std::ofstream(dir.path() + "/language/en/Lang.MLS")
      << "[LangString]\nIDS_STR_SCAN_FIND_GROUP=%s of %d groups %n%x %d\nIDS_STR_SCAN_FIND=%d%% (%s)\n";
  testkit::SetProgramPath(dir.file("Trellian"));
  theApp.SetupLanguage();
  const struct {
    bool create;
    const char* line;
  } cases[] = {{false, "%s of 2 groups %n%x %d"}, {true, "1% (%s)"}};
  for (const auto& c : cases) {
    CDialog host;
    ASSERT_TRUE(host.Create(IDD_ABOUTBOX));
    CScanPage* page = c.create ? static_cast<CScanPage*>(new CScanNewApPage) : new CStatusScanPage;
    ASSERT_TRUE(page->Create(c.create ? IDD_PAGE_SCAN_NEW_AP : IDD_PAGE_STATUS_SCAN, &host));
    page->OnEnterPage();
    FeedTwoGroups(page);
    for (int i = 0; i < CScanPage::kTicksPerScan; ++i) page->SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(Status(page), c.line);
    page->DestroyWindow();
    delete page;
    host.DestroyWindow();
  }
  testkit::ResetWindows();
  testkit::SetProgramPath("");
}

}  // namespace
