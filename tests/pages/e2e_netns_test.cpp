// The program's three flows end to end: the main dialog runs in this process
// as the program runs it (language file and skin beside the program), the
// pages are driven with injected input (typing, clicks, drags) and the
// dialogs are answered as an operator answers them, against simulated access
// points (tools/apsim, QUAV and SNMP) in a private network namespace.
//
//   create: four unconfigured devices; three become the group "Atrium" with a
//           Master, a Backup Master and a Slave on planned addresses, and a
//           WPA2-Personal SSID;
//   modify: "Atrium" becomes "Foyer" with another password, its Slave leaves
//           through the Delete image, the fourth device joins, and the
//           security changes to WEP;
//   status: the members of "Foyer" with their roles and addresses.
//
// The flows build on each other: they are one test, in named steps, with a
// lab of its own. After each, the simulator's state file shows every
// device's group state and login, and the Master's wireless settings.
//
// With TRELLIAN_E2E_XVFB=1 (and without TRELLIAN_DISPLAY=headless) the
// program starts a private Xvfb, shows its windows there and saves the screen
// after each page of the create flow has painted, as
// <build>/screens/create/NN-<page>.png.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ApsimHarness.h"
#include "CApplyPage.h"
#include "CDeviceRecord.h"
#include "CMainDlg.h"
#include "CMemberPage.h"
#include "CModifyMembersPage.h"
#include "CStatusListPage.h"
#include "CWepKeyDlg.h"
#include "CWirelessPage.h"
#include "CWizardApp.h"
#include "CWizardFrame.h"
#include "CWpaPersonalDlg.h"
#include "DialogPagesRes.h"
#include "Display.h"
#include "E2eFlows.h"
#include "GroupNamePage.h"
#include "ListCellData.h"
#include "MainDialogUnderTest.h"
#include "MemberPageFixture.h"
#include "ScanPages.h"
#include "SecurityRes.h"
#include "SnmpSession.h"
#include "TempDir.h"
#include "TestKit.h"
#include "WindowText.h"
#include "WizardFlows.h"
#include "WizardRes.h"
#include "X11Display.h"
#include "Xvfb.h"

namespace fs = std::filesystem;

CWizardApp theApp;

namespace {

using members_test::ClickCell;
using members_test::Drag;
using members_test::Inside;
using members_test::RowPoint;

using e2e::kBackup;
using e2e::kClockScale;
using e2e::kMaster;
using e2e::kNewcomer;
using e2e::kScenario;
using e2e::kSlave;

const DWORD kScanLimitMs = 60000;     // platform time; a scan takes 40 s
const DWORD kApplyLimitMs = 1200000;  // platform time

std::string BinaryDir() { return std::getenv("TRELLIAN_BINARY_DIR"); }

// Answers every modal window as the operator would: the device password
// dialog and the group password dialog with the passwords he knows, the
// skinned message box (and a plain one) with OK; what the boxes said is kept.
class Operator {
 public:
  Operator() : handler_([this](HWND modal) { Answer(modal); }) {}

  std::string devicePassword;
  std::string groupPassword;
  int devicePasswordsAsked = 0;
  std::vector<std::string> boxes;

 private:
  void Answer(HWND modal) {
    if (HWND edit = ::GetDlgItem(modal, IDC_DEVPASS_PASSWORD); edit && ::GetDlgItem(modal, IDC_DEVPASS_IP)) {
      ++devicePasswordsAsked;
      ::SetWindowTextA(edit, devicePassword.c_str());
      testkit::Answer(modal, IDOK);
    } else if (HWND group = ::GetDlgItem(modal, IDC_GRPPASS_PASSWORD)) {
      ::SetWindowTextA(group, groupPassword.c_str());
      testkit::Answer(modal, IDOK);
      testkit::Answer(modal, IDCANCEL);  // closes it should the password be refused
    } else if (HWND text = ::GetDlgItem(modal, IDC_MSGBOX_TEXT)) {
      boxes.push_back(WindowText(text));
      HWND single = ::GetDlgItem(modal, IDC_MSGBOX_SINGLE_OK);
      testkit::Answer(modal, single && ::IsWindowVisible(single) ? IDC_MSGBOX_SINGLE_OK : IDOK);
    } else {
      boxes.push_back(testkit::MessageBoxText(modal));
      testkit::Answer(modal, IDOK);
    }
  }

  testkit::ModalHandler handler_;
};

class Flows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (std::getenv("TRELLIAN_E2E_XVFB")) {
      // The screen the platform's metrics describe, so that the main dialog
      // shows centred as it is placed.
      xvfb_ = new Xvfb("1280x1024x24");
      if (xvfb_->name().empty()) return;
      display_ = PlatformOpenX11Display(xvfb_->name().c_str());
      PlatformSetDisplay(display_);
    }
    testkit::SetClockScale(kClockScale);
    dir_ = new TempDir;
    sim_ = new ApsimHarness(*dir_, kScenario, {"--time-scale", std::to_string(kClockScale)});
    if (!sim_->Ready()) return;
    // The program folder of the build: the language file and the skin lie
    // beside the program.
    UseTheBuiltProgramFolder(theApp);
    fs::create_directories(dir_->path() + "/session");
    if (!SnmpSessionInit((dir_->path() + "/session").c_str(), "")) return;
    operator_ = new Operator;
    if (!dialog_.Open()) return;
    ready_ = true;
  }
  static void TearDownTestSuite() {
    dialog_.Close();
    delete operator_;
    operator_ = nullptr;
    SnmpSessionExit();
    testkit::ResetWindows();
    testkit::SetProgramPath("");
    delete sim_;
    sim_ = nullptr;
    delete dir_;
    dir_ = nullptr;
    testkit::SetClockScale(1);
    if (xvfb_) {
      PlatformSetDisplay(nullptr);
      delete display_;
      display_ = nullptr;
      delete xvfb_;
      xvfb_ = nullptr;
    }
  }
  void SetUp() override {
    ASSERT_STREQ(std::getenv("TRELLIAN_NETNS"), "inside") << "run through tools/netns-run";
    ASSERT_TRUE(!xvfb_ || !xvfb_->name().empty()) << "Xvfb did not start";
    ASSERT_TRUE(ready_) << (sim_ ? sim_->Errors() : std::string());
    operator_->boxes.clear();
  }

  static CWizardFrame* Frame(int flow) { return dialog_->Frame(flow); }
  static std::string Log() { return sim_->Log(); }
  static std::map<std::string, std::string> State(const char* mac) { return sim_->State(mac); }

  static e2e::DeviceState Devices() {
    return [](const char* mac) { return State(mac); };
  }

  // A click in the middle of a window, as the mouse gives it.
  static void ClickOn(CWnd& wnd) {
    CRect rc;
    wnd.GetClientRect(&rc);
    testkit::AdvanceClock(1000);  // never a double click
    testkit::Click(wnd.m_hWnd, rc.CenterPoint());
    testkit::PumpPending();
  }
  // Clicks into the edit, selects what it holds and types over it.
  static void TypeInto(CWnd& edit, const std::string& text) {
    ClickOn(edit);
    edit.SendMessage(EM_SETSEL, 0, -1);
    testkit::TypeText(text);
    testkit::PumpPending();
  }
  // Types an address into an IP address control, from its first field on.
  static void TypeAddress(CWnd& control, const std::string& address) {
    CRect rc;
    control.GetClientRect(&rc);
    testkit::AdvanceClock(1000);
    testkit::Click(control.m_hWnd, CPoint(rc.left + 5, rc.CenterPoint().y));
    testkit::TypeText(address);
    testkit::PumpPending();
  }
  // An item of a combo box chosen as the keyboard chooses it: the selection
  // and the notification to the combo's parent.
  static void Choose(CComboBox& combo, const char* text) {
    const int index = combo.FindStringExact(-1, text);
    ASSERT_GE(index, 0) << text;
    Choose(combo, index);
  }
  static void Choose(CComboBox& combo, int index) {
    combo.SetCurSel(index);
    combo.GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(combo.GetDlgCtrlID(), CBN_SELCHANGE),
                                   reinterpret_cast<LPARAM>(combo.m_hWnd));
    testkit::PumpPending();
  }
  static void Next(CWizardFrame* frame) { ClickOn(frame->m_btnNext); }

  // The scan page's 40 s of platform time come to their end.
  static bool ScanEnds(CScanPage* page) {
    return testkit::PumpUntil([page] { return !page->IsScanning(); }, kScanLimitMs);
  }
  // An apply run ends with its last line and the frame enabled again.
  static bool ApplyEnds(CWizardFrame* frame, int index) {
    auto* apply = dynamic_cast<CApplyPage*>(frame->Page(index));
    if (!apply) return false;
    const CString done = theApp.Text("IDS_STR_DONE");
    return testkit::PumpUntil(
        [&] {
          const int n = apply->m_log.GetCount();
          CString last;
          if (n > 0) apply->m_log.GetLineText(n - 1, last);
          return last == done && frame->IsWindowEnabled();
        },
        kApplyLimitMs);
  }
  static std::string ApplyLog(CWizardFrame* frame, int index) {
    auto* apply = dynamic_cast<CApplyPage*>(frame->Page(index));
    std::string lines;
    for (int i = 0; apply && i < apply->m_log.GetCount(); ++i) {
      CString text;
      apply->m_log.GetLineText(i, text);
      lines += std::string(text) + "\n";
    }
    return lines;
  }

  static int MemberRow(CMemberPage* page, const char* mac) {
    for (int row = 0; row < page->m_listMembers.GetItemCount(); ++row)
      if (page->m_listMembers.GetItemText(row, kColMac) == mac) return row;
    return -1;
  }
  static int UnconfiguredRow(CMemberPage* page, const char* mac) {
    for (int row = 0; row < page->m_listUnconfigured.GetItemCount(); ++row)
      if (page->m_listUnconfigured.GetItemText(row, kUnconfiguredMac) == mac) return row;
    return -1;
  }
  // Drags the device's row from the unconfigured list into the member list.
  static void DragIn(CMemberPage* page, const char* mac) {
    const int row = UnconfiguredRow(page, mac);
    ASSERT_GE(row, 0) << mac;
    // The list shows three rows at a time: scrolled first, as the operator would.
    page->m_listUnconfigured.EnsureVisible(row, FALSE);
    testkit::PumpPending();
    Drag(RowPoint(page->m_listUnconfigured, row), Inside(page->m_listMembers, 0.5, 0.8));
    ASSERT_GE(MemberRow(page, mac), 0) << mac << " was not dropped";
  }
  // Opens the member's role cell and picks `role` from its list.
  static void ChooseRole(CMemberPage* page, const char* mac, const char* role) {
    const int row = MemberRow(page, mac);
    ASSERT_GE(row, 0) << mac;
    ClickCell(page->m_listMembers, row, kColRole, 20);
    CRTCellCombo* combo = page->m_listMembers.GetCellCombo();
    ASSERT_NE(combo, nullptr) << "no role list opened";
    const int index = combo->FindStringExact(-1, role);
    ASSERT_GE(index, 0) << role;
    combo->SetCurSel(index);
    page->m_listMembers.SendMessage(WM_RTCOMBOLIST_COMPLETE, 0, 0);
    testkit::PumpFor(200);
    EXPECT_EQ(page->m_listMembers.GetItemText(row, kColRole), role);
  }

  // A double click on a line of the modify page's group list.
  static void OpenGroup(CModifyMembersPage* page, const char* group) {
    int line = -1;
    for (int i = 0; i < page->m_listGroups.GetCount(); ++i) {
      CString text;
      page->m_listGroups.GetLineText(i, text);
      if (text == group) line = i;
    }
    ASSERT_GE(line, 0) << group;
    CRect item;
    page->m_listGroups.GetItemRect(line, &item);
    const POINT at{item.left + 10, item.top + item.Height() / 2};
    testkit::AdvanceClock(1000);
    testkit::Click(page->m_listGroups.m_hWnd, at);
    testkit::Click(page->m_listGroups.m_hWnd, at);
    testkit::PumpPending();
  }

  // Ticks the member's box of the automatic address plan (it stands before the cell's text).
  static void TickAutomaticPlan(CMemberPage* page, const char* mac) {
    const int row = MemberRow(page, mac);
    ASSERT_GE(row, 0) << mac;
    CRect cell;
    ASSERT_TRUE(page->m_listMembers.GetSubItemRect(row, kColAuto, LVIR_BOUNDS, cell));
    ClickCell(page->m_listMembers, row, kColAuto, 9 + cell.Height() / 2);
    EXPECT_EQ(page->m_listMembers.GetCheckbox(row, kColAuto), 1) << mac;
  }

  // After a page has painted: under Xvfb the screen is saved as
  // <build>/screens/<flow>/NN-<page>.png; headless, the main dialog's pixels.
  static void Shot(const std::string& flow, const std::string& page) {
    dialog_->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testkit::PumpPending();
    testkit::PumpPending();
    char number[16];
    std::snprintf(number, sizeof number, "%02d-", ++shots_[flow]);
    const std::string folder = BinaryDir() + "/screens/" + (xvfb_ ? flow : flow + "-headless");
    fs::create_directories(folder);
    const std::string path = folder + "/" + number + page + ".png";
    if (!xvfb_) {
      EXPECT_TRUE(testkit::CaptureWindowPng(dialog_->GetSafeHwnd(), path));
      return;
    }
    // The server draws what the backend sent; give it a moment.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const std::string command = BuiltProgram("screenshot") + " -display " + xvfb_->name() + " '" + path + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
  }

  // The flows, each a step of the one test.
  static void CreateMakesAGroupOfThreeWithAWpa2Ssid();
  static void ModifyRenamesRemovesAddsAndChangesTheSecurityToWep();
  static void StatusListsTheMembersWithRolesAndAddresses();

  static Xvfb* xvfb_;
  static PlatformDisplayBackend* display_;
  static TempDir* dir_;
  static ApsimHarness* sim_;
  static Operator* operator_;
  static MainDialogUnderTest dialog_;
  static bool ready_;
  static std::map<std::string, int> shots_;
};

Xvfb* Flows::xvfb_ = nullptr;
PlatformDisplayBackend* Flows::display_ = nullptr;
TempDir* Flows::dir_ = nullptr;
ApsimHarness* Flows::sim_ = nullptr;
Operator* Flows::operator_ = nullptr;
MainDialogUnderTest Flows::dialog_;
bool Flows::ready_ = false;
std::map<std::string, int> Flows::shots_;

void Flows::CreateMakesAGroupOfThreeWithAWpa2Ssid() {
  Shot("create", "welcome");
  ClickOn(dialog_->m_btnCreate);
  CWizardFrame* frame = Frame(CMainDlg::kCreateFlow);
  ASSERT_TRUE(frame->IsWindowVisible());

  // The group's name and password.
  auto* name = dynamic_cast<CGroupNamePage*>(frame->Page(kCreateGroupName));
  ASSERT_NE(name, nullptr);
  TypeInto(name->m_edtName, e2e::kCreatedName);
  TypeInto(name->m_edtPassword, e2e::kCreatedPassword);
  EXPECT_EQ(WindowText(name->m_edtName), e2e::kCreatedName);
  Shot("create", "group-name");
  Next(frame);
  ASSERT_EQ(frame->CurrentIndex(), kCreateScan) << ::testing::PrintToString(operator_->boxes);

  // The scan finds the four factory-fresh devices.
  auto* scan = dynamic_cast<CScanNewApPage*>(frame->Page(kCreateScan));
  ASSERT_NE(scan, nullptr);
  testkit::PumpFor(10000);
  Shot("create", "scanning");
  ASSERT_TRUE(ScanEnds(scan)) << Log();
  EXPECT_EQ(std::string(scan->StatusText()), "4 unconfigured access point(s) found.");
  Shot("create", "scan-done");
  Next(frame);
  ASSERT_EQ(frame->CurrentIndex(), kCreateMembers);

  // Three of them dragged into the group, roles chosen, addresses planned.
  auto* members = dynamic_cast<CMemberPage*>(frame->Page(kCreateMembers));
  ASSERT_NE(members, nullptr);
  ASSERT_EQ(members->m_listUnconfigured.GetItemCount(), 4);
  for (const char* mac : {kMaster, kBackup, kSlave}) DragIn(members, mac);
  ASSERT_EQ(members->m_listMembers.GetItemCount(), 3);
  ChooseRole(members, kMaster, "Master");
  ChooseRole(members, kBackup, "Backup Master");
  for (const char* mac : {kMaster, kBackup, kSlave}) TickAutomaticPlan(members, mac);
  ASSERT_TRUE(members->m_ipFrom.IsWindowEnabled());
  TypeAddress(members->m_ipFrom, e2e::kPlanFrom);
  TypeAddress(members->m_ipMask, e2e::kPlanMask);
  TypeAddress(members->m_ipGateway, e2e::kPlanGateway);
  EXPECT_EQ(WindowText(members->m_ipFrom), e2e::kPlanFrom);
  // The list scrolled to the boxes; back to its start, the roles show.
  members->m_listMembers.Scroll(CSize(-1000, 0));
  Shot("create", "members");
  Next(frame);
  ASSERT_EQ(frame->CurrentIndex(), kCreateFirstApply) << ::testing::PrintToString(operator_->boxes);

  // The first apply run: addresses, SNMP, the group settings.
  ASSERT_TRUE(ApplyEnds(frame, kCreateFirstApply)) << ApplyLog(frame, kCreateFirstApply) << Log();
  Shot("create", "apply");
  Next(frame);
  ASSERT_EQ(frame->CurrentIndex(), kCreateWireless) << ApplyLog(frame, kCreateFirstApply);

  // The wireless settings of the Master: a WPA2-Personal SSID.
  auto* wireless = dynamic_cast<CWirelessPage*>(frame->Page(kCreateWireless));
  ASSERT_NE(wireless, nullptr);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !WindowText(wireless->m_edSsid).empty(); }, 20000)) << Log();
  TypeInto(wireless->m_edSsid, e2e::kSsid);
  Choose(wireless->m_cbAuth, "WPA-Personal");
  CWpaPersonalDlg* wpa = wireless->m_pWpaPersonalDlg;
  ASSERT_TRUE(wpa->IsWindowVisible());
  Choose(wpa->m_cbWpaMode, 1);  // WPA2
  if (WindowText(wpa->m_edInterval).empty()) TypeInto(wpa->m_edInterval, "3600");
  TypeInto(wpa->m_edKey, e2e::kPassPhrase);
  TypeInto(wpa->m_edKeyConfirm, e2e::kPassPhrase);
  Shot("create", "wireless");
  Next(frame);
  ASSERT_EQ(frame->CurrentIndex(), kCreateSecondApply) << ::testing::PrintToString(operator_->boxes);

  // The second apply run: the members take the settings; the end.
  ASSERT_TRUE(ApplyEnds(frame, kCreateSecondApply)) << ApplyLog(frame, kCreateSecondApply) << Log();
  Shot("create", "apply-wireless");
  Next(frame);
  ASSERT_EQ(frame->CurrentIndex(), kCreateDone);
  Shot("create", "done");
  ClickOn(frame->m_btnFinish);
  EXPECT_FALSE(frame->IsWindowVisible());
  EXPECT_TRUE(operator_->boxes.empty()) << ::testing::PrintToString(operator_->boxes);

  EXPECT_EQ(operator_->devicePasswordsAsked, 0) << "factory-fresh devices have no password";
  e2e::ExpectCreated(Devices());
}

void Flows::ModifyRenamesRemovesAddsAndChangesTheSecurityToWep() {
  operator_->boxes.clear();
  ClickOn(dialog_->m_btnModify);
  CWizardFrame* frame = Frame(CMainDlg::kModifyFlow);
  ASSERT_TRUE(frame->IsWindowVisible());
  auto* scan = dynamic_cast<CModifyScanPage*>(frame->Page(kModifyScan));
  ASSERT_NE(scan, nullptr);
  ASSERT_TRUE(ScanEnds(scan)) << Log();
  EXPECT_EQ(std::string(scan->StatusText()), "1 AP Vezovi group(s) found.");
  Shot("modify", "scan-done");
  Next(frame);
  ASSERT_EQ(frame->CurrentIndex(), kModifyMembers);

  // "Atrium" opened with its password, renamed, given another password.
  auto* members = dynamic_cast<CModifyMembersPage*>(frame->Page(kModifyMembers));
  ASSERT_NE(members, nullptr);
  operator_->groupPassword = e2e::kCreatedPassword;
  OpenGroup(members, "Atrium");
  ASSERT_EQ(members->m_listMembers.GetItemCount(), 3) << ::testing::PrintToString(operator_->boxes);
  TypeInto(members->m_editGroupName, e2e::kModifiedName);
  TypeInto(members->m_editGroupPassword, e2e::kModifiedPassword);

  // The Slave leaves through its Delete image; the fourth device joins.
  members_test::PressIcon(members->m_listMembers, MemberRow(members, kSlave), kColDelete);
  EXPECT_EQ(operator_->boxes, std::vector<std::string>{"Remove this access point from the AP Vezovi?"});
  operator_->boxes.clear();
  EXPECT_EQ(MemberRow(members, kSlave), -1);
  EXPECT_GE(UnconfiguredRow(members, kSlave), 0);
  DragIn(members, kNewcomer);
  ASSERT_EQ(members->m_listMembers.GetItemCount(), 3);
  Shot("modify", "members");
  Next(frame);
  ASSERT_EQ(frame->CurrentIndex(), kModifyFirstApply) << ::testing::PrintToString(operator_->boxes);

  operator_->devicePassword = e2e::kCreatedPassword;
  ASSERT_TRUE(ApplyEnds(frame, kModifyFirstApply)) << ApplyLog(frame, kModifyFirstApply) << Log();
  Shot("modify", "apply");
  Next(frame);
  ASSERT_EQ(frame->CurrentIndex(), kModifyWireless) << ApplyLog(frame, kModifyFirstApply);

  // WEP: open system with a 64-bit ASCII key.
  auto* wireless = dynamic_cast<CWirelessPage*>(frame->Page(kModifyWireless));
  ASSERT_NE(wireless, nullptr);
  ASSERT_TRUE(testkit::PumpUntil([&] { return WindowText(wireless->m_edSsid) == "AtriumNet"; }, 20000)) << Log();
  EXPECT_EQ(WindowText(wireless->m_cbAuth), "WPA-Personal");
  Choose(wireless->m_cbAuth, "Open System");
  CWepKeyDlg* wep = wireless->m_pWepDlg;
  ASSERT_TRUE(wep->IsWindowVisible());
  ClickOn(*wep->GetDlgItem(IDC_WEP_ENABLE));
  Choose(wep->m_cbKeyType, CWepKeyDlg::kAscii);
  Choose(wep->m_cbKeySize, 0);  // 64 bits: five characters
  TypeInto(wep->m_edKey, e2e::kWepKey);
  TypeInto(wep->m_edKeyConfirm, e2e::kWepKey);
  Shot("modify", "wireless");
  Next(frame);
  ASSERT_EQ(frame->CurrentIndex(), kModifySecondApply) << ::testing::PrintToString(operator_->boxes);

  ASSERT_TRUE(ApplyEnds(frame, kModifySecondApply)) << ApplyLog(frame, kModifySecondApply) << Log();
  Next(frame);
  ASSERT_EQ(frame->CurrentIndex(), kModifyDone);
  Shot("modify", "done");
  ClickOn(frame->m_btnFinish);
  EXPECT_FALSE(frame->IsWindowVisible());
  EXPECT_TRUE(operator_->boxes.empty()) << ::testing::PrintToString(operator_->boxes);

  EXPECT_EQ(operator_->devicePasswordsAsked, 0) << "the group's password opens its members";
  e2e::ExpectModified(Devices());
}

void Flows::StatusListsTheMembersWithRolesAndAddresses() {
  operator_->boxes.clear();
  ClickOn(dialog_->m_btnStatus);
  CWizardFrame* frame = Frame(CMainDlg::kStatusFlow);
  ASSERT_TRUE(frame->IsWindowVisible());
  auto* scan = dynamic_cast<CStatusScanPage*>(frame->Page(kStatusScan));
  ASSERT_NE(scan, nullptr);
  ASSERT_TRUE(ScanEnds(scan)) << Log();
  EXPECT_EQ(std::string(scan->StatusText()), "1 AP Vezovi group(s) found.");
  Next(frame);
  ASSERT_EQ(frame->CurrentIndex(), kStatusList);
  auto* list = dynamic_cast<CStatusListPage*>(frame->Page(kStatusList));
  ASSERT_NE(list, nullptr);
  Shot("status", "list");

  std::map<std::string, std::vector<std::string>> rows;
  for (int row = 0; row < list->m_list.GetItemCount(); ++row) {
    std::vector<std::string> cells;
    for (int column : {0, 1, 2, 4}) cells.emplace_back(list->m_list.GetItemText(row, column));
    rows[std::string(list->m_list.GetItemText(row, 3))] = cells;
  }
  EXPECT_EQ(rows, e2e::ExpectedStatusRows(Devices()));
  e2e::ExpectModifiedGroup(Devices());
  ClickOn(frame->m_btnFinish);
  EXPECT_FALSE(frame->IsWindowVisible());
  EXPECT_TRUE(operator_->boxes.empty()) << ::testing::PrintToString(operator_->boxes);
}

// Each flow starts from the devices the one before left.
TEST_F(Flows, CreateThenModifyThenStatus) {
  {
    SCOPED_TRACE("step: create");
    ASSERT_NO_FATAL_FAILURE(CreateMakesAGroupOfThreeWithAWpa2Ssid());
  }
  {
    SCOPED_TRACE("step: modify");
    ASSERT_NO_FATAL_FAILURE(ModifyRenamesRemovesAddsAndChangesTheSecurityToWep());
  }
  SCOPED_TRACE("step: status");
  StatusListsTheMembersWithRolesAndAddresses();
}

}  // namespace
