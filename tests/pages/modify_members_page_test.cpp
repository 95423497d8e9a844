// The modify flow's member page with the scan's records of two groups
// (North: three members, one of which never answered the broadcast; South:
// two) and two unconfigured access points: opening a group with its
// password, renaming, adding and removing members, the order of Next's
// checks and the records handed to the apply page.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "CModifyMembersPage.h"
#include "DialogPagesRes.h"
#include "MemberPageFixture.h"
#include "WizardFlows.h"
#include "WizardRes.h"
#include "WizardUi.h"

CWizardApp theApp;

namespace {

using namespace members_test;

class ModifyMembersPageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { UseProgramLook(); }

  void SetUp() override {
    ASSERT_TRUE(MakeHost(host));
    page = dynamic_cast<CModifyMembersPage*>(MakeWizardPage(IDD_PAGE_MODIFY_MEMBERS));
    ASSERT_NE(page, nullptr) << "the modify member page is registered by its template id";
    ASSERT_TRUE(page->Create(IDD_PAGE_MODIFY_MEMBERS, &host));
    page->ShowWindow(SW_SHOW);
    AddMember("North", "n0rth", "10.0.1.1", "0000000001A1", "Master", 1);
    AddMember("North", "n0rth", "10.0.1.2", "0000000001A2", "Slave", 1);
    AddMember("North", "n0rth", "10.0.1.3", "0000000001A3", "Slave", 0);  // not heard in the broadcast
    AddMember("South", "s0uth", "10.0.2.1", "0000000002B1", "Master", 1);
    AddMember("South", "s0uth", "10.0.2.2", "0000000002B2", "Backup Master", 1);
    devices.AddTail(MakeDevice("192.168.1.10", "0000000000C1"));
    devices.AddTail(MakeDevice("192.168.1.11", "0000000000C2", "0"));
    Enter();
  }
  void TearDown() override {
    if (page && page->GetSafeHwnd()) page->DestroyWindow();
    delete page;
    host.DestroyWindow();
    CWizardPage::FreeRecordList(&groups);
    CWizardPage::FreeRecordList(&devices);
    testkit::ResetWindows();
  }

  void AddMember(const char* group, const char* password, const char* ip, const char* mac, const char* role,
                 int confirmed) {
    CDeviceRecord* record = MakeDevice(ip, mac);
    record->m_strGroupName = group;
    record->m_strGroupPassword = password;
    record->m_strRole = role;
    record->m_nConfirmed = confirmed;
    groups.AddTail(record);
  }
  // What the frame does before it shows the page going forward.
  void Enter() {
    page->m_groupList.RemoveAll();
    page->m_deviceList.RemoveAll();
    for (POSITION pos = groups.GetHeadPosition(); pos;) page->m_groupList.AddTail(groups.GetNext(pos));
    for (POSITION pos = devices.GetHeadPosition(); pos;) page->m_deviceList.AddTail(devices.GetNext(pos));
    page->OnEnterPage();
  }
  int LineOf(const char* group) {
    for (int line = 0; line < page->m_listGroups.GetCount(); ++line) {
      CString text;
      page->m_listGroups.GetLineText(line, text);
      if (text == group) return line;
    }
    return -1;
  }
  // A double click on the group's line, as the operator gives it.
  void DoubleClick(const char* group) {
    const int line = LineOf(group);
    ASSERT_GE(line, 0) << group;
    CRect item;
    page->m_listGroups.GetItemRect(line, &item);
    const POINT at{item.left + 10, item.top + item.Height() / 2};
    testkit::AdvanceClock(1000);
    testkit::Click(page->m_listGroups.m_hWnd, at);
    testkit::Click(page->m_listGroups.m_hWnd, at);
    testkit::PumpPending();
  }
  // Opens the group, typing `password` when asked; the dialogs asked.
  int Open(const char* group, const char* password) {
    int asked = 0;
    std::vector<std::string> messages;
    testkit::ModalHandler handler([&](HWND modal) {
      if (::GetDlgItem(modal, IDC_GRPPASS_PASSWORD)) {
        ++asked;
        char name[64] = "";
        ::GetDlgItemText(modal, IDC_GRPPASS_NAME, name, sizeof name);
        EXPECT_STREQ(name, group);
        ::SetDlgItemText(modal, IDC_GRPPASS_PASSWORD, password);
        testkit::Answer(modal, IDOK);
        testkit::Answer(modal, IDCANCEL);  // closes it when the password was refused
        return;
      }
      messages.push_back(ModalText(modal));
      testkit::Answer(modal, IDOK);
    });
    DoubleClick(group);
    lastMessages = messages;
    return asked;
  }
  std::vector<std::string> MemberMacs() {
    std::vector<std::string> macs;
    for (int row = 0; row < Members().GetItemCount(); ++row)
      macs.emplace_back(static_cast<LPCTSTR>(Members().GetItemText(row, kColMac)));
    return macs;
  }
  std::string ItemText(int id) {
    CString text;
    page->GetDlgItemText(id, text);
    return static_cast<LPCTSTR>(text);
  }
  CRTListCtrlEx& Members() { return page->m_listMembers; }
  CRTListCtrlEx& Unconfigured() { return page->m_listUnconfigured; }
  CDeviceRecord* ByMac(const char* mac) {
    for (POSITION pos = page->m_groupList.GetHeadPosition(); pos;) {
      auto* r = static_cast<CDeviceRecord*>(page->m_groupList.GetNext(pos));
      if (r->m_strMac == mac) return r;
    }
    return nullptr;
  }
  void PressIcon(int row, int column) { members_test::PressIcon(Members(), row, column); }

  CWnd host;
  CModifyMembersPage* page = nullptr;
  CPtrList groups;
  CPtrList devices;
  std::vector<std::string> lastMessages;
};

TEST_F(ModifyMembersPageTest, EnteringListsTheGroupsWithNothingOpen) {
  ASSERT_EQ(page->m_listGroups.GetCount(), 2);
  EXPECT_EQ(LineOf("North"), 0);
  EXPECT_EQ(LineOf("South"), 1);
  EXPECT_EQ(page->m_nSelectedGroup, -1);
  // Every confirmed member, none of the silent one; the lists stay closed.
  EXPECT_EQ(MemberMacs(), (std::vector<std::string>{"0000000001A1", "0000000001A2", "0000000002B1", "0000000002B2"}));
  EXPECT_EQ(Members().GetItemText(0, kColIndex), "");
  EXPECT_EQ(Members().GetItemText(3, kColRole), "Backup Master");
  EXPECT_EQ(Unconfigured().GetItemCount(), 2);
  EXPECT_FALSE(Members().IsWindowEnabled());
  EXPECT_FALSE(Unconfigured().IsWindowEnabled());
  EXPECT_FALSE(page->m_editGroupName.IsWindowEnabled());
  EXPECT_FALSE(page->m_ipFrom.IsWindowEnabled());
  EXPECT_EQ(ItemText(IDC_MOD_GROUP_NAME), "");
  EXPECT_EQ(page->OnBackPage(), kModifyScan);
  EXPECT_TRUE(Shoot(host.m_hWnd, ShotPath("modify_page_before_open")));
}

TEST_F(ModifyMembersPageTest, AGroupOpensOnlyWithItsPassword) {
  EXPECT_EQ(Open("South", "wrong"), 1);
  EXPECT_EQ(lastMessages, Texts({"IDS_MSG_INV_PASSWORD"}));
  EXPECT_EQ(page->m_nSelectedGroup, -1);  // the page is unchanged
  EXPECT_EQ(ItemText(IDC_MOD_GROUP_NAME), "");
  EXPECT_FALSE(page->m_editGroupName.IsWindowEnabled());
  EXPECT_EQ(Members().GetItemCount(), 4);

  EXPECT_EQ(Open("North", "n0rth"), 1);
  EXPECT_TRUE(lastMessages.empty());
  EXPECT_EQ(page->m_nSelectedGroup, 0);
  EXPECT_EQ(ItemText(IDC_MOD_GROUP_NAME), "North");
  EXPECT_EQ(ItemText(IDC_MOD_GROUP_PASSWORD), "n0rth");
  EXPECT_EQ(MemberMacs(), (std::vector<std::string>{"0000000001A1", "0000000001A2"}));
  EXPECT_TRUE(page->m_editGroupName.IsWindowEnabled());
  EXPECT_TRUE(Members().IsWindowEnabled());
  EXPECT_TRUE(Unconfigured().IsWindowEnabled());
  EXPECT_TRUE(Shoot(host.m_hWnd, ShotPath("modify_page_after_open")));

  // South now, then North again: a verified line is not asked again.
  EXPECT_EQ(Open("South", "s0uth"), 1);
  EXPECT_EQ(MemberMacs(), (std::vector<std::string>{"0000000002B1", "0000000002B2"}));
  EXPECT_EQ(Open("North", "anything"), 0);
  EXPECT_EQ(page->m_nSelectedGroup, 0);
  EXPECT_EQ(MemberMacs(), (std::vector<std::string>{"0000000001A1", "0000000001A2"}));
  EXPECT_EQ(page->m_listGroups.GetCount(), 2);

  // A new entry forgets the verification.
  Enter();
  EXPECT_EQ(Open("North", "n0rth"), 1);
}

TEST_F(ModifyMembersPageTest, RenamingToItsOwnNamePassesToAnotherGroupsIsRefused) {
  ASSERT_EQ(Open("North", "n0rth"), 1);
  ModalAnswers answers;
  page->m_editGroupName.SetWindowText("South");
  EXPECT_EQ(page->OnNextPage(), CWizardPage::kStayOnPage);
  EXPECT_EQ(answers.messages, Texts({"IDS_MSG_APVEZOVI_ACTIVE_M"}));
  EXPECT_EQ(::GetFocus(), page->m_editGroupName.m_hWnd);
  answers.messages.clear();
  page->m_editGroupName.SetWindowText("North");
  EXPECT_EQ(page->OnNextPage(), kModifyFirstApply);
  EXPECT_TRUE(answers.messages.empty());
}

TEST_F(ModifyMembersPageTest, ADeviceIsAddedByDragAndAMemberRemovedWithTheDeleteImage) {
  ASSERT_EQ(Open("North", "n0rth"), 1);
  Drag(RowPoint(Unconfigured(), 1), Inside(Members(), 0.5, 0.7),
       [&] { EXPECT_EQ(Unconfigured().GetItemState(1, LVIS_DROPHILITED), 0u); });
  ASSERT_EQ(Members().GetItemCount(), 3);
  EXPECT_EQ(Members().GetItemText(2, kColMac), "0000000000C2");
  EXPECT_EQ(Members().GetItemText(2, kColRole), "Slave");
  EXPECT_EQ(Members().GetItemText(2, kColIsAdd), "1");
  EXPECT_EQ(Unconfigured().GetItemCount(), 1);

  // Dropping back onto the unconfigured list moves nothing.
  Drag(RowPoint(Unconfigured(), 0), Inside(Unconfigured(), 0.5, 0.8));
  EXPECT_EQ(Unconfigured().GetItemCount(), 1);

  ModalAnswers answers;
  PressIcon(1, kColDelete);
  EXPECT_EQ(answers.messages, Texts({"IDS_STR_DONE_DELAPVEZOVI"}));
  EXPECT_EQ(MemberMacs(), (std::vector<std::string>{"0000000001A1", "0000000000C2"}));
  ASSERT_EQ(Unconfigured().GetItemCount(), 2);
  EXPECT_EQ(Unconfigured().GetItemText(1, kUnconfiguredMac), "0000000001A2");
  EXPECT_EQ(Unconfigured().GetItemText(1, kUnconfiguredModel), "RIZ-4410");
}

// Each case breaks the checks from its own onwards; the first broken one
// speaks, once.
TEST_F(ModifyMembersPageTest, NextChecksInOrder) {
  const struct {
    const char* name;
    const char* groupName;
    const char* password;
    int extraMembers;      // rows added beyond the group's two
    bool twoMasters;
    bool badPlan;          // a member ticked for the plan, no plan typed
    const char* message;   // null: Next goes to the apply page
  } cases[] = {
      {"taken beats everything", "South", "\xE9", 31, true, true, "IDS_MSG_APVEZOVI_ACTIVE_M"},
      {"too many members", "", "\xE9", 31, true, true, "IDS_MSG_APVEZOVI_MAXNUMBER32"},
      {"no name", "", "\xE9", 0, true, true, "IDS_MSG_APVEZOVI_VALIDGROUP"},
      {"a quote in the name", "Nor\"th", "\xE9", 0, true, true, "IDS_MSG_ARRAY_INVCHAR"},
      {"a blank in the name", "Nor th", "\xE9", 0, true, true, "IDS_MSG_ARRAY_INVCHAR"},
      {"a password beyond ASCII", "North", "p\xE9", 0, true, true, "IDS_MSG_PASS_INVCHAR"},
      {"two Masters", "North", "pass", 0, true, true, "IDS_MSG_ONE_MASTER"},
      {"a broken plan", "North", "pass", 0, false, true, "IDS_MSG_IP_ERROR"},
      {"all well", "North-2", "pass", 0, false, false, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Enter();
    ASSERT_EQ(Open("North", "n0rth"), 1);
    for (int i = 0; i < c.extraMembers; ++i) {
      Members().InsertItem(Members().GetItemCount(), "extra");
      Members().SetItemText(Members().GetItemCount() - 1, kColRole, "Slave");
    }
    if (c.twoMasters) Members().SetItemText(1, kColRole, "Master");
    Members().SetCheckbox(0, kColAuto, c.badPlan ? 1 : 0);
    page->m_editGroupName.SetWindowText(c.groupName);
    page->m_editGroupPassword.SetWindowText(c.password);
    ModalAnswers answers;
    const int result = page->OnNextPage();
    if (c.message) {
      EXPECT_EQ(result, CWizardPage::kStayOnPage);
      EXPECT_EQ(answers.messages, Texts({c.message}));
    } else {
      EXPECT_EQ(result, kModifyFirstApply);
      EXPECT_TRUE(answers.messages.empty());
    }
  }
}

// A typed address that a device the page does not list holds (another
// group's member, the opened group's member that never answered) is refused
// by the dialog; a free one is taken.
TEST_F(ModifyMembersPageTest, TheManualIpDialogRefusesAnAddressAnUnlistedDeviceHolds) {
  ASSERT_EQ(Open("North", "n0rth"), 1);
  const struct {
    const char* typed;
    bool taken;
  } cases[] = {{"10.0.2.1", true}, {"10.0.1.3", true}, {"10.0.1.50", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    ModalAnswers answers;
    answers.entry = {c.typed, "255.255.255.0", "10.0.1.254"};
    PressIcon(0, kColManual);
    EXPECT_EQ(answers.dialogs, 1);
    EXPECT_EQ(answers.messages, c.taken ? Texts({"IDS_MSG_IP_EXIST"}) : Texts({}));
    EXPECT_EQ(Members().GetItemText(0, kColIsManual), c.taken ? "" : "YES");
    EXPECT_EQ(Members().GetItemText(0, kColIp), c.taken ? "10.0.1.1" : c.typed);
  }
}

// Next checks every manual row again, as the create page does: an address
// another row holds or will hold, or an unlisted device holds, stops it
// however the rows came to share it.
TEST_F(ModifyMembersPageTest, AManualAddressAnotherDeviceHoldsOrWillHoldStopsNext) {
  const struct {
    const char* name;
    const char* typed;       // row 1's typed address
    const char* otherTyped;  // row 0's typed address, or null when row 0 keeps its own
    bool passes;
  } cases[] = {
      {"another member's present address", "10.0.1.1", nullptr, false},
      {"the address typed for another member", "10.0.1.9", "10.0.1.9", false},
      {"the present address of a member typed elsewhere", "10.0.1.1", "10.0.1.8", false},
      {"another group's member", "10.0.2.2", nullptr, false},
      {"the opened group's member that never answered", "10.0.1.3", nullptr, false},
      {"an unconfigured access point", "192.168.1.11", nullptr, false},
      // Last: a Next that passes hands every scan record on to the group.
      {"a free address", "10.0.1.9", nullptr, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Enter();
    ASSERT_EQ(Open("North", "n0rth"), 1);
    ASSERT_EQ(MemberMacs(), (std::vector<std::string>{"0000000001A1", "0000000001A2"}));
    const struct {
      int row;
      const char* typed;
      const char* present;
    } rows[] = {{0, c.otherTyped, "10.0.1.1"}, {1, c.typed, "10.0.1.2"}};
    for (const auto& r : rows) {
      Members().SetItemText(r.row, kColIp, r.typed ? r.typed : r.present);
      Members().SetItemText(r.row, kColNewIp, r.typed ? r.present : "");
      Members().SetItemText(r.row, kColIsManual, r.typed ? "YES" : "NO");
    }
    ModalAnswers answers;
    EXPECT_EQ(page->OnNextPage(), c.passes ? kModifyFirstApply : CWizardPage::kStayOnPage);
    EXPECT_EQ(answers.messages, c.passes ? Texts({}) : Texts({"IDS_MSG_IP_EXIST"}));
    if (c.passes) {
      EXPECT_EQ(ByMac("0000000001A2")->m_strNewIp, c.typed);
      EXPECT_EQ(ByMac("0000000001A2")->m_strIp, "10.0.1.2");
    }
  }
}

TEST_F(ModifyMembersPageTest, NothingToHandOnIsSaid) {
  CWizardPage::FreeRecordList(&groups);
  CWizardPage::FreeRecordList(&devices);
  Enter();
  page->m_editGroupName.SetWindowText("Lonely");
  ModalAnswers answers;
  EXPECT_EQ(page->OnNextPage(), CWizardPage::kStayOnPage);
  EXPECT_EQ(answers.messages, Texts({"IDS_MSG_INV_NOINVALID"}));
}

// The scan's records are changed in place; the page appends its own for the
// dragged-in member and the unconfigured access point.
TEST_F(ModifyMembersPageTest, RecordsHandedToTheApplyPage) {
  ASSERT_EQ(Open("North", "n0rth"), 1);
  // 10.0.1.1 stays with a manual address; 10.0.1.2 leaves; 0000000000C1 joins
  // with a manual address; 0000000000C2 stays unconfigured.
  ModalAnswers answers;
  answers.entry = {"10.0.1.50", "255.255.255.0", "10.0.1.254"};
  PressIcon(0, kColManual);
  PressIcon(1, kColDelete);
  Drag(RowPoint(Unconfigured(), 0), Inside(Members(), 0.5, 0.7));
  ASSERT_EQ(MemberMacs(), (std::vector<std::string>{"0000000001A1", "0000000000C1"}));
  answers.entry = {"10.0.1.60", "255.255.0.0", "10.0.1.254"};
  PressIcon(1, kColManual);
  EXPECT_EQ(answers.dialogs, 2);
  page->m_editGroupName.SetWindowText("Polar");
  page->m_editGroupPassword.SetWindowText("newpass");
  ASSERT_EQ(page->OnNextPage(), kModifyFirstApply);
  EXPECT_EQ(answers.messages, Texts({"IDS_STR_DONE_DELAPVEZOVI"}));

  // The member that left stands twice: as the scan's record, leaving, and as
  // an unconfigured row's record, not a member.
  ASSERT_EQ(page->m_groupList.GetCount(), 5 + 3);
  const struct {
    const char* mac;
    int membership;
    const char* ip;
    const char* newIp;
    int manual;
    const char* devicePassword;
  } expected[] = {
      {"0000000001A1", 0, "10.0.1.1", "10.0.1.50", 1, "n0rth"},   // stays, manual: the old address kept
      {"0000000001A2", 1, "10.0.1.2", "", 0, "n0rth"},            // leaves
      {"0000000001A3", -1, "10.0.1.3", "", 0, ""},                // never answered: not a member
      {"0000000002B1", -1, "10.0.2.1", "", 0, ""},                // another group
      {"0000000002B2", -1, "10.0.2.2", "", 0, ""},
      {"0000000000C1", 0, "10.0.1.60", "10.0.1.60", 1, ""},       // dragged in: the manual address twice
      {"0000000000C2", -1, "192.168.1.11", "", 0, ""},            // unconfigured
      {"0000000001A2", -1, "10.0.1.2", "", 0, ""},                // unconfigured since it was removed
  };
  int index = 0;
  for (POSITION pos = page->m_groupList.GetHeadPosition(); pos; ++index) {
    auto* r = static_cast<CDeviceRecord*>(page->m_groupList.GetNext(pos));
    SCOPED_TRACE(expected[index].mac);
    EXPECT_EQ(r->m_strMac, expected[index].mac);
    EXPECT_EQ(r->m_nMembership, expected[index].membership);
    EXPECT_EQ(r->m_strIp, expected[index].ip);
    EXPECT_EQ(r->m_strNewIp, expected[index].newIp);
    EXPECT_EQ(r->m_nManualIp, expected[index].manual);
    EXPECT_EQ(r->m_strDevicePassword, expected[index].devicePassword);
    EXPECT_EQ(r->m_strGroupName, "Polar");
    EXPECT_EQ(r->m_strGroupPassword, "newpass");
  }
  EXPECT_EQ(ByMac("0000000001A1")->m_strNewNetmask, "255.255.255.0");
  EXPECT_EQ(ByMac("0000000000C1")->m_strNewNetmask, "255.255.0.0");
  EXPECT_EQ(ByMac("0000000001A1")->m_strRole, "Master");
  EXPECT_EQ(page->m_ownRecords.GetCount(), 3);

  // A second Next frees the page's first records and appends new ones, and
  // the frame's copy-forward may drop them from the group list meanwhile:
  // the leak checker and the address checker watch both.
  ASSERT_EQ(page->OnNextPage(), kModifyFirstApply);
  EXPECT_EQ(page->m_groupList.GetCount(), 5 + 2);  // the rows are DONE now: only the candidates are new
  EXPECT_EQ(page->m_ownRecords.GetCount(), 2);
  Enter();
  EXPECT_EQ(page->m_groupList.GetCount(), 5);
  EXPECT_EQ(page->m_ownRecords.GetCount(), 2);
}

// Removing every member of the opened group passes the one-Master check and
// each of them leaves.
TEST_F(ModifyMembersPageTest, EveryMemberRemovedLeaves) {
  ASSERT_EQ(Open("South", "s0uth"), 1);
  Members().DeleteAllItems();
  ModalAnswers answers;
  ASSERT_EQ(page->OnNextPage(), kModifyFirstApply);
  EXPECT_TRUE(answers.messages.empty());
  EXPECT_EQ(ByMac("0000000002B1")->m_nMembership, 1);
  EXPECT_EQ(ByMac("0000000002B2")->m_nMembership, 1);
  EXPECT_EQ(ByMac("0000000002B2")->m_strDevicePassword, "s0uth");
  EXPECT_EQ(ByMac("0000000001A1")->m_nMembership, -1);
}

// A single click moves the selection without opening the line; Next still
// changes the group that was opened.
TEST_F(ModifyMembersPageTest, NextChangesTheOpenedGroupWhicheverLineIsSelected) {
  ASSERT_EQ(Open("North", "n0rth"), 1);
  CRect item;
  page->m_listGroups.GetItemRect(LineOf("South"), &item);
  testkit::AdvanceClock(1000);
  testkit::Click(page->m_listGroups.m_hWnd, POINT{item.left + 10, item.top + item.Height() / 2});
  testkit::PumpPending();
  ASSERT_EQ(page->m_listGroups.GetCurSel(), LineOf("South"));
  EXPECT_EQ(page->m_nSelectedGroup, LineOf("North"));
  ModalAnswers answers;
  ASSERT_EQ(page->OnNextPage(), kModifyFirstApply);
  EXPECT_TRUE(answers.messages.empty());
  EXPECT_EQ(ByMac("0000000001A1")->m_nMembership, 0);
  EXPECT_EQ(ByMac("0000000001A2")->m_nMembership, 0);
  EXPECT_EQ(ByMac("0000000002B1")->m_nMembership, -1);
}

// The page frees what it appended and none of the scan's records.
TEST_F(ModifyMembersPageTest, DestroyingThePageFreesOnlyItsOwnRecords) {
  ASSERT_EQ(Open("North", "n0rth"), 1);
  ASSERT_EQ(page->OnNextPage(), kModifyFirstApply);
  ASSERT_EQ(page->m_ownRecords.GetCount(), 2);
  page->DestroyWindow();
  EXPECT_TRUE(page->m_ownRecords.IsEmpty());
  EXPECT_EQ(page->m_groupList.GetCount(), 5);
  EXPECT_EQ(groups.GetCount(), 5);
  EXPECT_EQ(static_cast<CDeviceRecord*>(groups.GetHead())->m_strMac, "0000000001A1");
}

}  // namespace
