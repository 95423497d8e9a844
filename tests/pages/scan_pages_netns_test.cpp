// The scan pages in the running main dialog against simulated access points,
// inside a private network namespace (tools/netns-run): the create scan finds
// the unconfigured RIZ-4410 devices and the name clash, the modify and status
// scans merge announcements with broadcast answers, and the status list shows
// the members; answers no device could give are set aside and texts that
// break lines are shown on one. The platform clock and the simulator run at the same speed-up,
// so announcements keep their proportion to the 40 s scan.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ApsimHarness.h"
#include "CDeviceRecord.h"
#include "CDiscoveryTask.h"
#include "CMainDlg.h"
#include "CStatusListPage.h"
#include "CWizardApp.h"
#include "CWizardFrame.h"
#include "HostilePeer.h"
#include "MainDialogUnderTest.h"
#include "ScanPages.h"
#include "TempDir.h"
#include "TestKit.h"
#include "WizardFlows.h"
#include "WizardRes.h"

namespace fs = std::filesystem;

CWizardApp theApp;

namespace {

const int kClockScale = 10;
const DWORD kScanLimitMs = 60000;  // platform time; the scan itself takes 40 s

// Three factory-fresh access points, one of another model, the groups "Lobby"
// (three members, one located "-") and "Roof" (two), and "Ghost", whose one
// member announces itself but answers no request.
const char kScenario[] = R"(
[device]
mac = 000D88A00011
ip = 10.250.0.11
location = Hall
[device]
mac = 000D88A00012
ip = 10.250.0.12
[device]
mac = 000D88A00013
ip = 10.250.0.13
[device]
mac = 000D88A00014
ip = 10.250.0.14
model = RIZ-4400
[device]
mac = 000D88A00021
ip = 10.250.0.21
location = Lobby desk
announce = 1
announce_ms = 2000
role = 1
group_name = Lobby
group_status = 1
[device]
mac = 000D88A00022
ip = 10.250.0.22
location = -
announce = 1
announce_ms = 2000
role = 2
group_name = Lobby
group_status = 1
[device]
mac = 000D88A00023
ip = 10.250.0.23
location = Stairs
announce = 1
announce_ms = 2000
role = 3
group_name = Lobby
group_status = 1
[device]
mac = 000D88A00031
ip = 10.250.0.31
location = North
announce = 1
announce_ms = 2000
role = 1
group_name = Roof
group_status = 1
[device]
mac = 000D88A00032
ip = 10.250.0.32
location = South
announce = 1
announce_ms = 2000
role = 3
group_name = Roof
group_status = 1
snmp_status = 1
[device]
mac = 000D88A00041
ip = 10.250.0.41
announce = 1
announce_ms = 2000
role = 1
group_name = Ghost
group_status = 1
faults = no_answer
)";

std::string BinDir() { return std::string(std::getenv("TRELLIAN_BINARY_DIR")) + "/bin"; }

std::string ShotPath(const std::string& name) {
  fs::create_directories(BinDir() + "/screenshots");
  return BinDir() + "/screenshots/" + name + ".png";
}

std::string Status(CScanPage* page) { return page->StatusText().GetString(); }

std::vector<std::string> SortedMacs(const CPtrList& list) {
  std::vector<std::string> macs;
  for (POSITION pos = list.GetHeadPosition(); pos;)
    macs.push_back(static_cast<CDeviceRecord*>(list.GetNext(pos))->m_strMac.GetString());
  std::sort(macs.begin(), macs.end());
  return macs;
}

const std::vector<std::string> kFresh = {"000D88A00011", "000D88A00012", "000D88A00013"};
const std::vector<std::string> kMembers = {"000D88A00021", "000D88A00022", "000D88A00023", "000D88A00031",
                                           "000D88A00032"};

class ScanLab : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_STREQ(std::getenv("TRELLIAN_NETNS"), "inside") << "run through tools/netns-run";
    testkit::SetClockScale(kClockScale);
    sim_.reset(new ApsimHarness(dir_, kScenario, {"--time-scale", std::to_string(kClockScale)}));
    ASSERT_TRUE(sim_->Ready()) << sim_->Errors();
    UseTheBuiltProgramFolder(theApp);
  }
  void TearDown() override {
    dialog_.Close();
    testkit::ResetWindows();
    testkit::SetProgramPath("");
    sim_.reset();
    testkit::SetClockScale(1);
    EXPECT_TRUE(boxes_.records.empty());
  }

  void OpenMainDialog() { ASSERT_TRUE(dialog_.Open()); }
  void Press(int id) { dialog_.Press(id); }
  bool ScanEnds(CScanPage* page) {
    return testkit::PumpUntil([page] { return !page->IsScanning(); }, kScanLimitMs);
  }
  void Shoot(const std::string& name) {
    dialog_->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testkit::PumpPending();
    testkit::PumpPending();
    EXPECT_TRUE(testkit::CaptureWindowPng(dialog_->GetSafeHwnd(), ShotPath(name)));
  }
  // The modify flow opened from the main dialog, once its first scan has
  // ended; null when there is no such page or its scan did not end.
  CModifyScanPage* ModifyScan() {
    OpenMainDialog();
    Press(IDC_MAIN_MODIFY);
    auto* scan = dynamic_cast<CModifyScanPage*>(dialog_->Frame(CMainDlg::kModifyFlow)->Page(kModifyScan));
    return scan && ScanEnds(scan) ? scan : nullptr;
  }
  // The create flow's scan, started as the group name page's Next would
  // start it, for a new group of `name`.
  CScanNewApPage* ScanForNewGroup(const char* name) {
    CWizardFrame* frame = dialog_->Frame(CMainDlg::kCreateFlow);
    auto* scan = dynamic_cast<CScanNewApPage*>(frame->Page(kCreateScan));
    if (!scan) return nullptr;
    frame->Page(frame->CurrentIndex())->ShowWindow(SW_HIDE);
    frame->m_nCurrent = kCreateScan;
    scan->m_strGroupName = name;
    scan->OnEnterPage();
    frame->ShowPage(kCreateScan);
    return scan;
  }

  TempDir dir_;
  std::unique_ptr<ApsimHarness> sim_;
  testkit::MessageBoxLog boxes_;
  testkit::ModalHandler answer_{[](HWND box) { testkit::Answer(box, IDOK); }};
  MainDialogUnderTest dialog_;
};

TEST_F(ScanLab, CreateScanListsTheUnconfiguredDevicesAndFindsAnExactNameClash) {
  OpenMainDialog();
  Press(IDC_MAIN_CREATE);
  CWizardFrame* frame = dialog_->Frame(CMainDlg::kCreateFlow);
  CScanNewApPage* scan = ScanForNewGroup("Roof");
  ASSERT_NE(scan, nullptr);

  // Busy: the frame's and the main dialog's buttons are disabled (the dialog
  // itself still takes a close, to refuse it) and show the wait cursor.
  EXPECT_TRUE(scan->IsScanning());
  EXPECT_FALSE(frame->m_btnNext.IsWindowEnabled());
  EXPECT_FALSE(dialog_->m_btnModify.IsWindowEnabled());
  EXPECT_FALSE(dialog_->m_btnExit.IsWindowEnabled());
  EXPECT_TRUE(dialog_->ShowsWaitCursor());
  testkit::PumpFor(20000);
  Shoot("lab_create_scanning");
  EXPECT_TRUE(scan->IsScanning());

  ASSERT_TRUE(ScanEnds(scan)) << sim_->Log();
  EXPECT_TRUE(frame->m_btnNext.IsWindowEnabled());
  EXPECT_TRUE(dialog_->m_btnModify.IsWindowEnabled());
  EXPECT_FALSE(dialog_->ShowsWaitCursor());
  EXPECT_EQ(Status(scan), "An AP Vezovi with this name already exists. Please go back and choose another name.");
  EXPECT_EQ(SortedMacs(scan->m_deviceList), kFresh) << sim_->Log();
  EXPECT_TRUE(scan->m_groupList.IsEmpty());
  Shoot("lab_create_exists");
  frame->OnNext();
  EXPECT_EQ(frame->CurrentIndex(), kCreateGroupName) << "back to the group name";

  // A name that differs in case only is free.
  scan = ScanForNewGroup("roof");
  ASSERT_TRUE(ScanEnds(scan)) << sim_->Log();
  EXPECT_EQ(Status(scan), "3 unconfigured access point(s) found.");
  EXPECT_EQ(SortedMacs(scan->m_deviceList), kFresh);
  const CDeviceRecord* hall = nullptr;
  for (POSITION pos = scan->m_deviceList.GetHeadPosition(); pos;) {
    auto* r = static_cast<CDeviceRecord*>(scan->m_deviceList.GetNext(pos));
    if (r->m_strMac == "000D88A00011") hall = r;
  }
  ASSERT_NE(hall, nullptr);
  EXPECT_EQ(hall->m_strIp, "10.250.0.11");
  EXPECT_EQ(hall->m_strLocation, "Hall");
  EXPECT_EQ(hall->m_strModel, "RIZ-4410");
  Shoot("lab_create_found");
  frame->OnNext();
  ASSERT_EQ(frame->CurrentIndex(), kCreateMembers);
  EXPECT_EQ(SortedMacs(frame->Page(kCreateMembers)->m_deviceList), kFresh);
}

TEST_F(ScanLab, StatusScanCountsTheGroupsThatAnsweredAndListsTheirMembers) {
  OpenMainDialog();
  Press(IDC_MAIN_STATUS);
  CWizardFrame* frame = dialog_->Frame(CMainDlg::kStatusFlow);
  auto* scan = dynamic_cast<CStatusScanPage*>(frame->Page(kStatusScan));
  ASSERT_NE(scan, nullptr);
  EXPECT_TRUE(scan->IsScanning());
  EXPECT_TRUE(dialog_->ShowsWaitCursor());
  ASSERT_TRUE(ScanEnds(scan)) << sim_->Log();

  // Ghost only announced itself: not counted, not kept.
  EXPECT_EQ(Status(scan), "2 AP Vezovi group(s) found.") << sim_->Log();
  EXPECT_EQ(SortedMacs(scan->m_groupList), kMembers);
  Shoot("lab_status_found");

  frame->OnNext();
  ASSERT_EQ(frame->CurrentIndex(), kStatusList);
  auto* list = dynamic_cast<CStatusListPage*>(frame->Page(kStatusList));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->m_list.GetItemCount(), 5);
  bool dashSeen = false;
  for (int row = 0; row < 5; ++row) {
    if (list->m_list.GetItemText(row, 3) != "000D88A00022") continue;
    dashSeen = true;
    EXPECT_EQ(list->m_list.GetItemText(row, 0), "Lobby");
    EXPECT_EQ(list->m_list.GetItemText(row, 1), "Backup Master");
    EXPECT_EQ(list->m_list.GetItemText(row, 2), "10.250.0.22");
    EXPECT_EQ(list->m_list.GetItemText(row, 4), "-");
  }
  EXPECT_TRUE(dashSeen) << "the member located \"-\" is listed";
  EXPECT_TRUE(frame->m_btnFinish.IsWindowVisible());
  Shoot("lab_status_list");
}

TEST_F(ScanLab, ModifyScanMergesAndEnteringAgainStartsANewScan) {
  CModifyScanPage* scan = ModifyScan();
  ASSERT_NE(scan, nullptr) << sim_->Log();
  CWizardFrame* frame = dialog_->Frame(CMainDlg::kModifyFlow);
  EXPECT_EQ(Status(scan), "2 AP Vezovi group(s) found.") << sim_->Log();
  EXPECT_EQ(SortedMacs(scan->m_groupList), kMembers);
  EXPECT_EQ(SortedMacs(scan->m_deviceList), kFresh);
  for (POSITION pos = scan->m_groupList.GetHeadPosition(); pos;) {
    auto* r = static_cast<CDeviceRecord*>(scan->m_groupList.GetNext(pos));
    EXPECT_EQ(r->m_nConfirmed, 1) << r->m_strMac;
    if (r->m_strMac == "000D88A00032") {
      EXPECT_EQ(r->m_strSnmpStatus, "1");
      EXPECT_EQ(r->m_strRole, "Slave");
      EXPECT_EQ(r->m_strLocation, "South");
    }
  }
  Shoot("lab_modify_found");

  // Cancel, then the flow again: a new 40 s scan; the old group records are kept.
  frame->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WIZ_CANCEL, BN_CLICKED), 0);
  Press(IDC_MAIN_MODIFY);
  EXPECT_TRUE(scan->IsScanning());
  EXPECT_EQ(Status(scan), "");
  EXPECT_EQ(scan->Ticks(), 0);
  EXPECT_TRUE(scan->m_groupList.IsEmpty());
  EXPECT_EQ(scan->m_keptGroupRecords.GetCount(), 5);
  EXPECT_FALSE(dialog_->m_btnCreate.IsWindowEnabled());
  ASSERT_TRUE(ScanEnds(scan));
  EXPECT_EQ(Status(scan), "2 AP Vezovi group(s) found.");
}

bool Holds(const CStringList& lines, const std::string& text) {
  for (POSITION pos = lines.GetHeadPosition(); pos;)
    if (lines.GetNext(pos) == text.c_str()) return true;
  return false;
}

// What cannot be addressed safely is set aside and named in the page's
// result, where the person sees it; every other host is listed, whatever the
// last part of its address.
TEST_F(ScanLab, AnswersNoDeviceCouldGiveAreSetAsideAndTextsShowOnOneLine) {
  HostilePeer peer;
  ASSERT_TRUE(peer.bound());
  CModifyScanPage* scan = ModifyScan();
  ASSERT_NE(scan, nullptr) << sim_->Log();

  // The simulated devices are all there, beside the peer's sound records.
  std::vector<std::string> members = kMembers, fresh = kFresh;
  members.push_back("0A0B0C0D0E01");
  fresh.push_back("0A0B0C0D0E02");
  fresh.push_back("0A0B0C0D0E08");  // 10.1.0.255/255.255.0.0
  fresh.push_back("0A0B0C0D0E09");  // 10.1.1.0/255.255.0.0
  EXPECT_EQ(SortedMacs(scan->m_groupList), members);
  EXPECT_EQ(SortedMacs(scan->m_deviceList), fresh);
  for (POSITION pos = scan->m_deviceList.GetHeadPosition(); pos;) {
    auto* r = static_cast<CDeviceRecord*>(scan->m_deviceList.GetNext(pos));
    if (r->m_strMac == "0A0B0C0D0E02") {
      EXPECT_EQ(r->m_strLocation, "Hall way");
    }
  }
  std::vector<std::string> names;
  for (POSITION pos = scan->m_groupNames.GetHeadPosition(); pos;)
    names.push_back(scan->m_groupNames.GetNext(pos).GetString());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Lobby", "Lobby  Evil", "Roof"}));
  const std::string status = Status(scan);
  EXPECT_EQ(status.rfind("3 AP Vezovi group(s) found.\n", 0), 0u) << status;
  for (const char* named : {"\n5 answer(s) set aside as unsafe to address:\n", "\nZZZZZZZZZZZZ: no device's MAC",
                            "\n0A0B0C0D0E03: 255.255.255.255 is no host address",
                            "\n0A0B0C0D0E05: answered Not Done!"})
    EXPECT_NE(status.find(named), std::string::npos) << named << "\n" << status;
  EXPECT_EQ(status.find("0A0B0C0D0E08"), std::string::npos) << status;
  EXPECT_EQ(status.find("0A0B0C0D0E09"), std::string::npos) << status;
  Shoot("lab_set_aside");

  const CStringList& ignored = dialog_->m_pDiscoveryB->IgnoredAnswers();
  EXPECT_TRUE(Holds(ignored, "ZZZZZZZZZZZZ: no device's MAC"));
  EXPECT_TRUE(Holds(ignored, "0A0B0C0D0E03: 255.255.255.255 is no host address"));
  EXPECT_TRUE(Holds(ignored, "0A0B0C0D0E05: answered Not Done!"));
  EXPECT_TRUE(Holds(ignored, "0A0B0C0D0E06: netmask 255.0.255.0 is no netmask"));
  EXPECT_TRUE(Holds(ignored, "0A0B0C0D0E07: 10.250.0.127 is no host under 255.255.255.128"));
}

// A page that goes while its scan still runs: the tasks report nothing more
// to it (AddressSanitizer would see a report reach the freed page).
TEST_F(ScanLab, PageDestroyedWhileScanningIsForgottenByTheTasks) {
  CDiscoveryTask listen(CDiscoveryTask::kListen);
  CDiscoveryTask broadcast(CDiscoveryTask::kBroadcast);
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, 0, 0, 500, 400, nullptr, nullptr));
  auto* page = new CStatusScanPage;
  ASSERT_TRUE(page->Create(IDD_PAGE_STATUS_SCAN, &host));
  page->m_pDiscoveryA = &listen;
  page->m_pDiscoveryB = &broadcast;
  page->OnEnterPage();
  ASSERT_TRUE(testkit::PumpUntil([page] { return page->m_deviceList.GetCount() >= 3; }, 10000)) << sim_->Log();
  page->DestroyWindow();
  delete page;
  EXPECT_TRUE(testkit::PumpUntil([&] { return listen.IsDone() && broadcast.IsDone(); }, kScanLimitMs));
  host.DestroyWindow();
}

}  // namespace
