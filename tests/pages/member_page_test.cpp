// The create flow's member page: dragging unconfigured access points into the
// member list (and nowhere else), the one-Master rule, the automatic and
// manual address checks, the row buttons and the records handed to the apply
// page, which the page frees when it goes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CManualIpDlg.h"
#include "CMemberPage.h"
#include "CRTListCtrlEx.h"
#include "MemberPageFixture.h"
#include "WizardFlows.h"
#include "WizardRes.h"
#include "WizardUi.h"

CWizardApp theApp;

namespace {

using namespace members_test;

class MemberPageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { UseProgramLook(); }

  void SetUp() override {
    ASSERT_TRUE(MakeHost(host));
    CWizardPage* made = MakeWizardPage(IDD_PAGE_MEMBER);
    page = dynamic_cast<CMemberPage*>(made);
    ASSERT_NE(page, nullptr) << "the member page is registered by its template id";
    ASSERT_TRUE(page->Create(IDD_PAGE_MEMBER, &host));
    page->ShowWindow(SW_SHOW);
    page->m_strGroupName = "Alpha";
    page->m_strGroupPassword = "secret";
  }
  void TearDown() override {
    if (page && page->GetSafeHwnd()) page->DestroyWindow();
    delete page;
    host.DestroyWindow();
    CWizardPage::FreeRecordList(&devices);
    CWizardPage::FreeRecordList(&members);
    testkit::ResetWindows();
  }

  // `n` unconfigured access points 192.168.1.10, .11, ... handed over as the
  // frame hands the scan's list, and the page entered.
  void Enter(int n) {
    for (int i = 0; i < n; ++i) {
      char mac[24];
      snprintf(mac, sizeof mac, "0000000000%02X", i);
      devices.AddTail(MakeDevice("192.168.1." + std::to_string(10 + i), mac, i % 2 ? "0" : "1"));
    }
    for (POSITION pos = devices.GetHeadPosition(); pos;) page->m_deviceList.AddTail(devices.GetNext(pos));
    page->OnEnterPage();
  }
  // `n` member rows loaded as from a group list (Slaves), 10.0.0.1, ...
  void LoadMembers(int n) {
    for (int i = 0; i < n; ++i) {
      char mac[24];
      snprintf(mac, sizeof mac, "00000000AA%02X", i);
      CDeviceRecord* record = MakeDevice("10.0.0." + std::to_string(i + 1), mac);
      record->m_strRole = "Slave";
      members.AddTail(record);
    }
    page->SetGroupList(&members);
  }
  CRTListCtrlEx& Unconfigured() { return page->m_listUnconfigured; }
  CRTListCtrlEx& Members() { return page->m_listMembers; }
  void Select(std::initializer_list<int> rows) {
    for (int row : rows) Unconfigured().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  }
  int Highlighted(CListCtrl& list) {
    int n = 0;
    for (int row = 0; row < list.GetItemCount(); ++row) n += (list.GetItemState(row, LVIS_DROPHILITED) != 0);
    return n;
  }
  void SetPlan(const char* from, const char* mask, const char* gateway) {
    page->m_ipFrom.SetWindowText(from);
    page->m_ipMask.SetWindowText(mask);
    page->m_ipGateway.SetWindowText(gateway);
  }
  void PressIcon(int row, int column) { members_test::PressIcon(Members(), row, column); }
  void PressAutoBox(int row) { ClickCell(Members(), row, kColAuto, 3); }  // beside the box
  CDeviceRecord* Record(int index) {
    POSITION pos = page->m_groupList.FindIndex(index);
    return pos ? static_cast<CDeviceRecord*>(page->m_groupList.GetAt(pos)) : nullptr;
  }

  CWnd host;
  CMemberPage* page = nullptr;
  CPtrList devices;
  CPtrList members;
};

TEST_F(MemberPageTest, EnteringListsTheScansDevicesAndNoMembers) {
  LoadMembers(2);
  Enter(3);
  EXPECT_EQ(Members().GetItemCount(), 0);
  ASSERT_EQ(Unconfigured().GetItemCount(), 3);
  EXPECT_EQ(Unconfigured().GetItemText(1, kUnconfiguredIp), "192.168.1.11");
  EXPECT_EQ(Unconfigured().GetItemText(1, kUnconfiguredMac), "000000000001");
  EXPECT_EQ(Unconfigured().GetItemText(1, kUnconfiguredMask), "255.255.255.0");
  EXPECT_EQ(Unconfigured().GetItemText(1, kUnconfiguredSnmp), "0");
  EXPECT_FALSE(page->m_ipFrom.IsWindowEnabled());  // nothing ticked: no plan to type
  EXPECT_EQ(page->OnBackPage(), kCreateScan);
  EXPECT_EQ(Members().GetColumnWidth(kColIndex), 0);
  EXPECT_EQ(Members().GetColumnWidth(kColIp), 95);
}

TEST_F(MemberPageTest, TwoSelectedCandidatesAreDraggedIntoTheMemberList) {
  Enter(4);
  Select({1, 3});
  Drag(RowPoint(Unconfigured(), 1), Inside(Members(), 0.5, 0.6), [&] {
    EXPECT_TRUE(page->m_bDragging);
    EXPECT_NE(PlatformDragImageWindow(), nullptr);
    EXPECT_EQ(page->m_pDropWnd, &Members());
    EXPECT_TRUE(testkit::CaptureWindowPng(PlatformDragImageWindow(), ShotPath("member_page_drag_rows")));
  });
  EXPECT_FALSE(page->m_bDragging);
  EXPECT_EQ(PlatformDragImageWindow(), nullptr);
  EXPECT_EQ(page->m_pDragImage, nullptr);
  ASSERT_EQ(Members().GetItemCount(), 2);
  ASSERT_EQ(Unconfigured().GetItemCount(), 2);
  EXPECT_EQ(Unconfigured().GetItemText(0, kUnconfiguredIp), "192.168.1.10");
  EXPECT_EQ(Unconfigured().GetItemText(1, kUnconfiguredIp), "192.168.1.12");
  // A dropped row: a Slave, added by the operator, box unticked, SNMP as
  // the scan saw it ("1" only is Enable).
  const char* ips[] = {"192.168.1.11", "192.168.1.13"};
  for (int row = 0; row < 2; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(Members().GetItemText(row, kColIndex), "RIZ-4410");
    EXPECT_EQ(Members().GetItemText(row, kColRole), "Slave");
    EXPECT_EQ(Members().Cell(row, kColRole)->isCombo, TRUE);
    EXPECT_EQ(Members().GetItemText(row, kColIp), ips[row]);
    EXPECT_EQ(Members().GetItemText(row, kColLocation), "Hall");
    EXPECT_EQ(Members().GetItemText(row, kColMask), "255.255.255.0");
    EXPECT_EQ(Members().GetItemText(row, kColAuto), "Set IP");
    EXPECT_EQ(Members().GetCheckbox(row, kColAuto), 0);
    EXPECT_EQ(Members().GetItemText(row, kColIsAdd), "1");
    EXPECT_EQ(Members().GetItemText(row, kColSnmpStatus), "Disable");
  }
  EXPECT_EQ(Highlighted(Members()), 0);
}

TEST_F(MemberPageTest, OneRowDraggedMovesThatRowAndShowsTheDropRow) {
  Enter(3);
  LoadMembers(2);
  bool shot = false;
  Drag(RowPoint(Unconfigured(), 2), RowPoint(Members(), 1), [&] {
    shot = Shoot(host.m_hWnd, ShotPath("member_page_drag")) &&
           testkit::CaptureWindowPng(PlatformDragImageWindow(), ShotPath("member_page_drag_row"));
    EXPECT_EQ(page->m_nDropIndex, 1);
    EXPECT_NE(Members().GetItemState(1, LVIS_DROPHILITED), 0u);
    EXPECT_EQ(Highlighted(Members()), 1);
  });
  EXPECT_TRUE(shot);
  ASSERT_EQ(Members().GetItemCount(), 3);
  EXPECT_EQ(Members().GetItemText(2, kColIp), "192.168.1.12");
  EXPECT_EQ(Members().GetItemText(2, kColSnmpStatus), "Enable");
  EXPECT_EQ(Highlighted(Members()), 0);
}

// The drag image starts where the row was pressed (the desktop takes screen
// coordinates), shifted by its hot spot; leaving the member list takes the
// drop highlight away again.
TEST_F(MemberPageTest, TheDragImageStartsAtThePressAndTheHighlightFollowsThePointer) {
  Enter(2);
  LoadMembers(2);
  const POINT from = RowPoint(Unconfigured(), 0);
  testkit::AdvanceClock(1000);
  testkit::MouseMove(from);
  testkit::MouseDown(from);
  testkit::MouseMove(POINT{from.x + 20, from.y});
  testkit::PumpPending();
  ASSERT_TRUE(page->m_bDragging);
  ASSERT_NE(PlatformDragImageWindow(), nullptr);
  CRect image;
  ::GetWindowRect(PlatformDragImageWindow(), &image);
  EXPECT_EQ(image.left, from.x + 10);
  EXPECT_EQ(image.top, from.y + 14);

  testkit::MouseMove(RowPoint(Members(), 0));
  testkit::PumpPending();
  EXPECT_EQ(page->m_nDropIndex, 0);
  EXPECT_EQ(Highlighted(Members()), 1);
  testkit::MouseMove(RowPoint(Members(), 1));
  testkit::PumpPending();
  EXPECT_EQ(page->m_nDropIndex, 1);
  EXPECT_NE(Members().GetItemState(1, LVIS_DROPHILITED), 0u);
  EXPECT_EQ(Highlighted(Members()), 1);
  const POINT away = Inside(*page->GetDlgItem(IDC_MEM_UNCONFIG_CAPTION), 0.3, 0.5);
  testkit::MouseMove(away);
  testkit::PumpPending();
  EXPECT_EQ(page->m_nDropIndex, -1);
  EXPECT_EQ(Highlighted(Members()), 0);
  EXPECT_EQ(page->m_pDropWnd, nullptr);
  testkit::MouseUp(away);
  testkit::PumpPending();
  EXPECT_FALSE(page->m_bDragging);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(Members().GetItemCount(), 2);
}

// A drag whose capture another window takes ends there: nothing dropped,
// no image left behind, no highlight.
TEST_F(MemberPageTest, ADragEndsWhenTheMouseIsTakenAway) {
  Enter(2);
  LoadMembers(1);
  CWnd other;
  ASSERT_TRUE(other.CreateEx(0, nullptr, "other", WS_POPUP | WS_VISIBLE, 600, 20, 50, 50, nullptr, nullptr));
  const POINT from = RowPoint(Unconfigured(), 0);
  testkit::AdvanceClock(1000);
  testkit::MouseMove(from);
  testkit::MouseDown(from);
  testkit::MouseMove(POINT{from.x + 20, from.y});
  testkit::MouseMove(RowPoint(Members(), 0));
  testkit::PumpPending();
  ASSERT_TRUE(page->m_bDragging);
  ASSERT_EQ(Highlighted(Members()), 1);
  other.SetCapture();
  EXPECT_FALSE(page->m_bDragging);
  EXPECT_EQ(PlatformDragImageWindow(), nullptr);
  EXPECT_EQ(Highlighted(Members()), 0);
  ::ReleaseCapture();
  testkit::MouseUp(RowPoint(Members(), 0));
  testkit::PumpPending();
  EXPECT_EQ(Members().GetItemCount(), 1);
  EXPECT_EQ(Unconfigured().GetItemCount(), 2);
  other.DestroyWindow();
}

TEST_F(MemberPageTest, ThreeRowsOnThirtyMembersMoveTwoAndWarnOnce) {
  Enter(4);
  LoadMembers(30);
  Select({0, 1, 2});
  ModalAnswers answers;
  Drag(RowPoint(Unconfigured(), 0), Inside(Members(), 0.5, 0.5));
  EXPECT_EQ(Members().GetItemCount(), 32);
  ASSERT_EQ(Unconfigured().GetItemCount(), 2);
  EXPECT_EQ(answers.messages, Texts({"IDS_MSG_APVEZOVI_MAXNUMBER32"}));
  EXPECT_EQ(Unconfigured().GetItemText(0, kUnconfiguredIp), "192.168.1.12");
  EXPECT_NE(Unconfigured().GetItemState(0, LVIS_SELECTED), 0u);
  EXPECT_EQ(Unconfigured().GetItemState(1, LVIS_SELECTED), 0u);

  // Full: a single row moves nothing and warns once more.
  answers.messages.clear();
  Unconfigured().SetItemState(0, 0, LVIS_SELECTED);
  Drag(RowPoint(Unconfigured(), 1), Inside(Members(), 0.5, 0.5));
  EXPECT_EQ(Members().GetItemCount(), 32);
  EXPECT_EQ(Unconfigured().GetItemCount(), 2);
  EXPECT_EQ(answers.messages, Texts({"IDS_MSG_APVEZOVI_MAXNUMBER32"}));
}

// Nothing moves unless the button goes up over the member list, and a list
// that is not the page's own is never touched: no highlight, no drop.
TEST_F(MemberPageTest, AReleaseAnywhereButTheMemberListMovesNothing) {
  CListCtrl foreign;
  ASSERT_TRUE(foreign.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 360, 540, 410), &host, 4242));
  foreign.InsertColumn(0, "Other", LVCFMT_LEFT, 200);
  foreign.InsertItem(0, "keep");
  foreign.InsertItem(1, "me");
  Enter(3);
  ModalAnswers answers;
  CRect foreignRect;
  foreign.GetWindowRect(&foreignRect);
  const struct {
    const char* where;
    POINT at;
  } releases[] = {
      {"the unconfigured list itself", Inside(Unconfigured(), 0.5, 0.8)},
      {"a static", Inside(*page->GetDlgItem(IDC_MEM_MEMBER_CAPTION), 0.2, 0.5)},
      {"an IP field", Inside(page->m_ipFrom, 0.1, 0.5)},
      {"a list of another window", RowPoint(foreign, 0)},
      {"outside the page", POINT{foreignRect.left + 5, foreignRect.bottom + 30}},
  };
  for (const auto& r : releases) {
    SCOPED_TRACE(r.where);
    testkit::MessageSpy spy;
    Drag(RowPoint(Unconfigured(), 0), r.at, [&] {
      EXPECT_TRUE(page->m_bDragging);
      EXPECT_EQ(page->m_nDropIndex, -1);
      EXPECT_EQ(Highlighted(foreign), 0);
      EXPECT_EQ(Highlighted(Unconfigured()), 0);
    });
    EXPECT_FALSE(page->m_bDragging);
    EXPECT_EQ(Unconfigured().GetItemCount(), 3);
    EXPECT_EQ(Members().GetItemCount(), 0);
    EXPECT_EQ(foreign.GetItemCount(), 2);
    EXPECT_TRUE(spy.Of(foreign.m_hWnd, {LVM_SETITEMSTATE, LVM_REDRAWITEMS, LVM_HITTEST, LVM_INSERTITEMA}).empty());
  }
  EXPECT_TRUE(answers.messages.empty());
  // The page still takes a proper drop afterwards.
  Drag(RowPoint(Unconfigured(), 0), Inside(Members(), 0.5, 0.5));
  EXPECT_EQ(Members().GetItemCount(), 1);
}

TEST_F(MemberPageTest, ExactlyOneMasterPassesNext) {
  const struct {
    const char* name;
    std::vector<const char*> roles;
    bool passes;
    const char* refusal;  // the message's key when it does not pass
  } cases[] = {
      {"no members", {}, false, "IDS_MSG_NO_MEMBER"},
      {"no Master", {"Slave", "Backup Master"}, false, "IDS_MSG_ONE_MASTER"},
      {"one Master", {"Slave", "Master", "Backup Master"}, true, nullptr},
      {"two Masters", {"Master", "Slave", "Master"}, false, "IDS_MSG_ONE_MASTER"},
  };
  Enter(0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CWizardPage::FreeRecordList(&members);
    LoadMembers(static_cast<int>(c.roles.size()));
    for (size_t i = 0; i < c.roles.size(); ++i) Members().SetItemText(static_cast<int>(i), kColRole, c.roles[i]);
    ModalAnswers answers;
    EXPECT_EQ(page->OnNextPage(), c.passes ? kCreateFirstApply : CWizardPage::kStayOnPage);
    if (c.passes)
      EXPECT_TRUE(answers.messages.empty());
    else
      EXPECT_EQ(answers.messages, Texts({c.refusal}));
  }
}

TEST_F(MemberPageTest, MoreThanThirtyTwoMembersStopNext) {
  Enter(0);
  LoadMembers(33);
  Members().SetItemText(0, kColRole, "Master");
  ModalAnswers answers;
  EXPECT_EQ(page->OnNextPage(), CWizardPage::kStayOnPage);
  EXPECT_EQ(answers.messages, Texts({"IDS_MSG_APVEZOVI_MAXNUMBER32"}));
  EXPECT_TRUE(page->m_groupList.IsEmpty());
}

// The plan is checked only while some member takes its address from it.
TEST_F(MemberPageTest, TheAutomaticPlanIsCheckedWhileAMemberUsesIt) {
  const struct {
    const char* from;
    const char* mask;
    const char* gateway;
    bool ticked;
    bool passes;
  } cases[] = {
      {"", "", "", false, true},
      {"", "", "", true, false},
      {"192.168.1.20", "255.255.255.0", "192.168.1.1", true, true},
      {"127.0.0.5", "255.0.0.0", "192.168.1.1", true, false},
      {"224.0.0.5", "255.255.255.0", "192.168.1.1", true, false},
      {"192.168.1.0", "255.255.255.0", "192.168.1.1", true, false},
      {"192.168.1.255", "255.255.255.0", "192.168.1.1", true, false},
      {"192.168.1.20", "255.255.255.0", "127.0.0.1", true, false},
      {"192.168.1.20", "255.255.255.0", "192.168.1.255", true, false},
      {"192.168.1.20", "255.0.255.0", "192.168.1.1", true, false},
      {"10.0.0.0", "255.255.0.0", "10.0.0.1", true, false},     // the network address
      {"10.0.255.255", "255.255.0.0", "10.0.0.1", true, false},  // the broadcast address
      {"10.0.1.5", "255.255.0.0", "10.9.9.9", true, true},      // the gateway may lie elsewhere
  };
  Enter(0);
  LoadMembers(2);
  Members().SetItemText(0, kColRole, "Master");
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " " + c.mask + " " + c.gateway);
    Members().SetCheckbox(1, kColAuto, c.ticked ? 1 : 0);
    Members().SetItemText(0, kColAction, "");
    Members().SetItemText(1, kColAction, "");
    page->UpdateAutoIpState();
    EXPECT_EQ(page->m_ipFrom.IsWindowEnabled(), c.ticked);
    SetPlan(c.from, c.mask, c.gateway);
    ModalAnswers answers;
    EXPECT_EQ(page->OnNextPage(), c.passes ? kCreateFirstApply : CWizardPage::kStayOnPage);
    if (c.passes) {
      EXPECT_TRUE(answers.messages.empty());
    } else {
      EXPECT_EQ(answers.messages, Texts({"IDS_MSG_IP_ERROR"}));
      EXPECT_EQ(::GetFocus(), page->m_ipFrom.m_hWnd);
    }
  }
}

TEST_F(MemberPageTest, AManualAddressReplacesTheRowsAddressUntilTheBoxIsClicked) {
  Enter(1);
  LoadMembers(2);
  Members().SetCheckbox(0, kColAuto, 1);
  page->UpdateAutoIpState();
  ModalAnswers answers;
  answers.entry = {"10.0.0.50", "255.255.255.0", "10.0.0.254"};
  PressIcon(0, kColManual);
  EXPECT_EQ(answers.dialogs, 1);
  EXPECT_TRUE(answers.messages.empty());
  EXPECT_EQ(Members().GetItemText(0, kColIp), "10.0.0.50");
  EXPECT_EQ(Members().GetItemText(0, kColNewIp), "10.0.0.1");
  EXPECT_EQ(Members().GetItemText(0, kColNewMask), "255.255.255.0");
  EXPECT_EQ(Members().GetItemText(0, kColNewGateway), "10.0.0.254");
  EXPECT_EQ(Members().GetItemText(0, kColIsManual), "YES");
  EXPECT_EQ(Members().GetCheckbox(0, kColAuto), 0);  // a manual entry unticks the box
  EXPECT_FALSE(page->m_ipFrom.IsWindowEnabled());

  // A second entry; the box then brings back the first manual address.
  answers.entry = {"10.0.0.60", "255.255.255.0", "10.0.0.254"};
  PressIcon(0, kColManual);
  EXPECT_EQ(Members().GetItemText(0, kColIp), "10.0.0.60");
  PressAutoBox(0);
  EXPECT_EQ(Members().GetItemText(0, kColIp), "10.0.0.50");
  EXPECT_EQ(Members().GetItemText(0, kColIsManual), "NO");

  // A refused entry changes nothing.
  answers.entry = {"10.0.0.0", "255.255.255.0", "10.0.0.254"};
  PressIcon(1, kColManual);
  EXPECT_EQ(answers.messages, Texts({"IDS_MSG_IP_ERROR"}));
  EXPECT_EQ(Members().GetItemText(1, kColIp), "10.0.0.2");
  EXPECT_EQ(Members().GetItemText(1, kColIsManual), "");
}

// A typed address that another row holds or will hold stops Next, however
// the rows came to share it (a row dragged in later, one typed by hand).
TEST_F(MemberPageTest, AManualAddressAnotherRowHoldsOrWillHoldStopsNext) {
  const struct {
    const char* name;
    const char* typed;       // row 2's typed address
    const char* otherTyped;  // row 1's typed address, or null when row 1 keeps its own
    bool passes;
  } cases[] = {
      {"a free address", "10.0.0.9", nullptr, true},
      {"another member's present address", "10.0.0.1", nullptr, false},
      {"the address typed for another member", "10.0.0.9", "10.0.0.9", false},
      {"the present address of a member typed elsewhere", "10.0.0.2", "10.0.0.8", false},
  };
  Enter(0);
  LoadMembers(3);
  Members().SetItemText(0, kColRole, "Master");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const struct {
      int row;
      const char* typed;
    } rows[] = {{1, c.otherTyped}, {2, c.typed}};
    for (const auto& r : rows) {
      const std::string present = "10.0.0." + std::to_string(r.row + 1);
      Members().SetItemText(r.row, kColIp, r.typed ? r.typed : present.c_str());
      Members().SetItemText(r.row, kColNewIp, r.typed ? present.c_str() : "");
      Members().SetItemText(r.row, kColIsManual, r.typed ? "YES" : "NO");
      Members().SetItemText(r.row, kColAction, "");
    }
    Members().SetItemText(0, kColAction, "");
    ModalAnswers answers;
    EXPECT_EQ(page->OnNextPage(), c.passes ? kCreateFirstApply : CWizardPage::kStayOnPage);
    EXPECT_EQ(answers.messages, c.passes ? Texts({}) : Texts({"IDS_MSG_IP_EXIST"}));
  }
}

TEST_F(MemberPageTest, TheDeleteImageReturnsAMemberAfterConfirmation) {
  Enter(0);
  LoadMembers(2);
  Members().SetItemText(1, kColSnmpStatus, "Disable");
  Members().SetItemText(1, kColIndex, "Other model");
  ModalAnswers answers;
  answers.messageAnswer = IDCANCEL;
  PressIcon(1, kColDelete);
  EXPECT_EQ(answers.messages, Texts({"IDS_STR_DONE_DELAPVEZOVI"}));
  EXPECT_EQ(Members().GetItemCount(), 2);

  answers.messageAnswer = IDOK;
  PressIcon(1, kColDelete);
  EXPECT_EQ(Members().GetItemCount(), 1);
  ASSERT_EQ(Unconfigured().GetItemCount(), 1);
  EXPECT_EQ(Unconfigured().GetItemText(0, kUnconfiguredModel), "RIZ-4410");
  EXPECT_EQ(Unconfigured().GetItemText(0, kUnconfiguredIp), "10.0.0.2");
  EXPECT_EQ(Unconfigured().GetItemText(0, kUnconfiguredMac), "00000000AA01");
  EXPECT_EQ(Unconfigured().GetItemText(0, kUnconfiguredSnmp), "0");
  EXPECT_EQ(Unconfigured().GetItemText(0, kUnconfiguredMask), "255.255.255.0");

  // Beside the image the cell does nothing.
  answers.messages.clear();
  ClickCell(Members(), 0, kColDelete, 40);
  ClickCell(Members(), 0, kColManual, 40);
  EXPECT_TRUE(answers.messages.empty());
  EXPECT_EQ(answers.dialogs, 0);
  EXPECT_EQ(Members().GetItemCount(), 1);
}

// What the apply page reads: one record per member row, then one per
// unconfigured row, all with the page's group name and password.
TEST_F(MemberPageTest, RecordsCarryRolesAddressesAndFlags) {
  Enter(2);
  LoadMembers(3);
  Members().SetItemText(0, kColRole, "Master");
  Members().SetItemText(2, kColRole, "Backup Master");
  Members().SetCheckbox(0, kColAuto, 1);
  Members().SetItemText(1, kColIp, "10.0.0.77");
  Members().SetItemText(1, kColNewIp, "10.0.0.2");
  Members().SetItemText(1, kColNewMask, "255.255.0.0");
  Members().SetItemText(1, kColNewGateway, "10.0.0.254");
  Members().SetItemText(1, kColIsManual, "YES");
  page->UpdateAutoIpState();
  SetPlan("10.0.0.100", "255.255.255.0", "10.0.0.1");
  ModalAnswers answers;
  ASSERT_EQ(page->OnNextPage(), kCreateFirstApply);
  EXPECT_TRUE(answers.messages.empty());
  ASSERT_EQ(page->m_groupList.GetCount(), 5);

  const struct {
    const char* role;
    const char* mac;
    const char* ip;
    int membership, autoIp, manualIp;
    const char* newIp;
    const char* newMask;
    const char* newGateway;
  } expected[] = {
      {"Master", "00000000AA00", "10.0.0.1", 0, 1, 0, "10.0.0.100", "255.255.255.0", "10.0.0.1"},
      {"Slave", "00000000AA01", "10.0.0.77", 0, 0, 1, "10.0.0.77", "255.255.0.0", "10.0.0.254"},
      {"Backup Master", "00000000AA02", "10.0.0.3", 0, 0, 0, "", "", ""},
      {"", "000000000000", "192.168.1.10", -1, 0, 0, "", "", ""},
      {"", "000000000001", "192.168.1.11", -1, 0, 0, "", "", ""},
  };
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const CDeviceRecord* r = Record(i);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->m_strRole, expected[i].role);
    EXPECT_EQ(r->m_strMac, expected[i].mac);
    EXPECT_EQ(r->m_strIp, expected[i].ip);
    EXPECT_EQ(r->m_nMembership, expected[i].membership);
    EXPECT_EQ(r->m_nAutoIp, expected[i].autoIp);
    EXPECT_EQ(r->m_nManualIp, expected[i].manualIp);
    EXPECT_EQ(r->m_strNewIp, expected[i].newIp);
    EXPECT_EQ(r->m_strNewNetmask, expected[i].newMask);
    EXPECT_EQ(r->m_strNewGateway, expected[i].newGateway);
    EXPECT_EQ(r->m_strGroupName, "Alpha");
    EXPECT_EQ(r->m_strGroupPassword, "secret");
    EXPECT_EQ(r->m_strDevicePassword, "");
    EXPECT_EQ(r->m_strModel, "");
  }
  for (int row = 0; row < 3; ++row) EXPECT_EQ(Members().GetItemText(row, kColAction), "DONE");

  // A second Next builds anew: the first records are freed (the leak
  // checker watches) and rows already DONE are not handed on again.
  ASSERT_EQ(page->OnNextPage(), kCreateFirstApply);
  EXPECT_EQ(page->m_groupList.GetCount(), 2);
  EXPECT_EQ(Record(0)->m_nMembership, -1);
}

TEST_F(MemberPageTest, AnEmptyPlanWithoutMembersAndCandidatesGoesToTheEnd) {
  Enter(0);
  LoadMembers(1);
  Members().SetItemText(0, kColRole, "Master");
  ASSERT_EQ(page->OnNextPage(), kCreateFirstApply);
  ModalAnswers answers;
  EXPECT_EQ(page->OnNextPage(), kCreateDone);  // every row is DONE: nothing new to hand on
  EXPECT_TRUE(page->m_groupList.IsEmpty());
}

// The page's records go with its window; the scan's devices stay.
TEST_F(MemberPageTest, DestroyingThePageFreesItsRecords) {
  Enter(2);
  LoadMembers(1);
  Members().SetItemText(0, kColRole, "Master");
  ASSERT_EQ(page->OnNextPage(), kCreateFirstApply);
  ASSERT_EQ(page->m_groupList.GetCount(), 3);
  page->DestroyWindow();
  EXPECT_TRUE(page->m_groupList.IsEmpty());
  EXPECT_EQ(devices.GetCount(), 2);
  EXPECT_EQ(static_cast<CDeviceRecord*>(devices.GetHead())->m_strIp, "192.168.1.10");
}

TEST_F(MemberPageTest, RoleIndexNamesTheThreeRoles) {
  EXPECT_EQ(CMemberPage::RoleIndex("Master"), 0);
  EXPECT_EQ(CMemberPage::RoleIndex("Backup Master"), 1);
  EXPECT_EQ(CMemberPage::RoleIndex("Slave"), 2);
  EXPECT_EQ(CMemberPage::RoleIndex("slave"), 0);
  EXPECT_EQ(CMemberPage::RoleIndex(""), 0);
}

}  // namespace
