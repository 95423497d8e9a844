// The frames' navigation: what Next and Back do with each answer of the
// current page (-2 stay, -1 the neighbour, an index, one that is not a page
// of the flow), what they carry forward, and the state of Back and Finish.

#include <gtest/gtest.h>

#include <map>

#include "CWizardApp.h"
#include "CWizardFrame.h"
#include "CWizardPage.h"
#include "TestKit.h"
#include "WizardFlows.h"
#include "WizardRes.h"
#include "WizardUi.h"

// The application object every window of the wizard reads its texts through.
CWizardApp theApp;

namespace {

// A page that answers Next and Back as told and counts what the frame asks.
class ScriptPage : public CWizardPage {
 public:
  explicit ScriptPage(UINT id) : CWizardPage(id, nullptr), templateId(id) {}
  int OnNextPage() override { return next; }
  int OnBackPage() override { return back; }
  void OnEnterPage() override { ++entered; }
  void OnReturnToPage() override { ++returned; }
  void SetGroupList(CPtrList* groups) override { givenGroups = groups; }
  BOOL OnCancelFlow() override {
    ++cancelAsked;
    return undoesOnCancel;
  }
  UINT templateId;
  int next = kFollowingPage, back = kFollowingPage, entered = 0, returned = 0, cancelAsked = 0;
  BOOL undoesOnCancel = FALSE;
  CPtrList* givenGroups = nullptr;
};

// Every template of the three flows, the core's own apply page too.
void RegisterScriptPages() {
  for (UINT id : {130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140, 147})
    RegisterWizardPage(id, [id] { return new ScriptPage(id); });
}

// A frame inside a plain host window, as the main dialog holds it.
template <class Frame>
class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterScriptPages();
    ASSERT_TRUE(host.Create(IDD_ABOUTBOX));
    host.ShowWindow(SW_SHOW);
    ASSERT_TRUE(frame.Create(IDD_WIZARD_FRAME, &host));
    frame.ShowWindow(SW_SHOW);
    frame.Activate();
  }
  void TearDown() override {
    frame.DestroyWindow();
    host.DestroyWindow();
    testkit::ResetWindows();
  }
  ScriptPage* page(int i) { return dynamic_cast<ScriptPage*>(frame.Page(i)); }
  bool BackEnabled() { return frame.m_btnBack.IsWindowEnabled(); }
  // Walks to `index` by Next, one page at a time.
  void GoTo(int index) {
    while (frame.CurrentIndex() < index) frame.OnNext();
    ASSERT_EQ(frame.CurrentIndex(), index);
  }

  CDialog host;
  Frame frame{nullptr, nullptr, nullptr};
};

using CreateFlow = FrameTest<CCreateWizard>;
using ModifyFlow = FrameTest<CModifyWizard>;
using StatusFlow = FrameTest<CStatusWizard>;

TEST_F(CreateFlow, PagesAreTheFlowsTemplatesInOrder) {
  const UINT expected[kCreatePageCount] = {131, 130, 132, 134, 133, 134, 147};
  for (int i = 0; i < kCreatePageCount; ++i) {
    ASSERT_NE(page(i), nullptr) << i;
    EXPECT_EQ(page(i)->templateId, expected[i]) << i;
    EXPECT_EQ(page(i)->GetParent(), &frame);
  }
  EXPECT_EQ(frame.Page(kCreatePageCount), nullptr);
  EXPECT_EQ(page(kCreateSecondApply)->m_nSecondRun, 1);
  EXPECT_EQ(page(kCreateFirstApply)->m_nSecondRun, 0);
  EXPECT_EQ(page(kCreateFirstApply)->m_nModifyFlow, 0);
}

struct NextCase {
  const char* name;
  int from;       // index Next is pressed on
  int answer;     // what that page's OnNextPage returns
  int expected;   // index afterwards
};

TEST_F(CreateFlow, NextFollowsThePagesAnswer) {
  const NextCase cases[] = {
      {"stay", kCreateScan, CWizardPage::kStayOnPage, kCreateScan},
      {"neighbour", kCreateScan, CWizardPage::kFollowingPage, kCreateMembers},
      {"explicit index skips pages", kCreateScan, kCreateWireless, kCreateWireless},
      {"back to the first page", kCreateMembers, kCreateGroupName, kCreateGroupName},
      {"past the table", kCreateScan, 42, kCreateScan},
      {"negative", kCreateScan, -7, kCreateScan},
      {"a row entry with no page", kCreateScan, kCreatePageCount + 1, kCreateScan},
  };
  for (const NextCase& c : cases) {
    SCOPED_TRACE(c.name);
    frame.ShowWindow(SW_HIDE);  // resets to page 0
    frame.ShowWindow(SW_SHOW);
    frame.Activate();
    GoTo(c.from);
    const int enteredBefore = page(c.expected)->entered;
    page(c.from)->next = c.answer;
    frame.OnNext();
    page(c.from)->next = CWizardPage::kFollowingPage;
    EXPECT_EQ(frame.CurrentIndex(), c.expected);
    if (c.expected != c.from) {
      EXPECT_EQ(page(c.expected)->entered, enteredBefore + 1);
      EXPECT_FALSE(page(c.from)->IsWindowVisible());
    }
    EXPECT_TRUE(page(frame.CurrentIndex())->IsWindowVisible());
  }
}

TEST_F(CreateFlow, NextOnTheLastPageDoesNothing) {
  GoTo(kCreateDone);
  frame.OnNext();
  EXPECT_EQ(frame.CurrentIndex(), kCreateDone);
}

TEST_F(CreateFlow, BackFollowsThePagesAnswerAndCallsReturn) {
  GoTo(kCreateWireless);
  page(kCreateWireless)->back = CWizardPage::kStayOnPage;
  frame.OnBack();
  EXPECT_EQ(frame.CurrentIndex(), kCreateWireless);
  page(kCreateWireless)->back = 99;
  frame.OnBack();
  EXPECT_EQ(frame.CurrentIndex(), kCreateWireless);
  page(kCreateWireless)->back = kCreateScan;
  frame.OnBack();
  EXPECT_EQ(frame.CurrentIndex(), kCreateScan);
  EXPECT_EQ(page(kCreateScan)->returned, 1);
  EXPECT_TRUE(page(kCreateScan)->IsWindowVisible());
  EXPECT_FALSE(page(kCreateWireless)->IsWindowVisible());
  frame.OnBack();
  EXPECT_EQ(frame.CurrentIndex(), kCreateGroupName);
  frame.OnBack();  // nothing before the first page
  EXPECT_EQ(frame.CurrentIndex(), kCreateGroupName);
  EXPECT_EQ(page(kCreateGroupName)->returned, 1);
}

TEST_F(CreateFlow, BackIsOffOnTheApplyRunsAndBackChangesNoButton) {
  EXPECT_TRUE(BackEnabled());  // Activate turns it on, even on page 0
  const bool expected[kCreatePageCount] = {true, true, true, false, true, true, false};
  for (int target = kCreateScan; target <= kCreateDone; ++target) {
    frame.OnNext();
    EXPECT_EQ(BackEnabled(), expected[target]) << target;
  }
  frame.ShowWindow(SW_HIDE);
  frame.ShowWindow(SW_SHOW);
  frame.Activate();
  GoTo(kCreateFirstApply);
  EXPECT_FALSE(BackEnabled());
  frame.OnNext();
  page(kCreateWireless)->back = CWizardPage::kFollowingPage;
  frame.OnBack();
  EXPECT_EQ(frame.CurrentIndex(), kCreateFirstApply);
  EXPECT_TRUE(BackEnabled());  // as it was on the wireless page
}

TEST_F(CreateFlow, FinishReplacesNextOnTheLastPage) {
  page(kCreateDone)->m_bFinished = TRUE;
  GoTo(kCreateDone);
  EXPECT_FALSE(frame.m_btnNext.IsWindowVisible());
  EXPECT_TRUE(frame.m_btnFinish.IsWindowVisible());
  EXPECT_FALSE(frame.m_btnBack.IsWindowEnabled());
  EXPECT_FALSE(frame.m_btnCancel.IsWindowEnabled());
  frame.Activate();
  EXPECT_TRUE(frame.m_btnNext.IsWindowVisible());
  EXPECT_FALSE(frame.m_btnFinish.IsWindowVisible());
  EXPECT_TRUE(frame.m_btnCancel.IsWindowEnabled());
}

// A page that Next or Back shows takes the focus for its first tab stop; the
// completion page has none, and Finish takes it, where it shows.
TEST_F(CreateFlow, TheShownPageOrElseTheButtonTheFlowGoesOnWithHasTheFocus) {
  page(kCreateDone)->m_bFinished = TRUE;
  GoTo(kCreateMembers);  // lists
  ASSERT_NE(::GetFocus(), nullptr);
  EXPECT_TRUE(::IsChild(page(kCreateMembers)->m_hWnd, ::GetFocus()));
  GoTo(kCreateDone);
  EXPECT_EQ(::GetFocus(), frame.m_btnFinish.m_hWnd);
  page(kCreateDone)->back = kCreateMembers;
  frame.OnBack();
  EXPECT_TRUE(::IsChild(page(kCreateMembers)->m_hWnd, ::GetFocus()));
}

TEST_F(CreateFlow, CloseHidesTheFrameAndStartsOverAtPageZero) {
  GoTo(kCreateMembers);
  frame.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WIZ_CANCEL, BN_CLICKED), 0);
  EXPECT_FALSE(frame.IsWindowVisible());
  EXPECT_EQ(frame.CurrentIndex(), kCreateGroupName);
  EXPECT_FALSE(page(kCreateMembers)->IsWindowVisible());
}

// Cancel asks the pages from the last to the first to undo what they did,
// up to the first that answers it has; then the frame closes.
TEST_F(CreateFlow, CancelAsksThePagesFromTheLastUntilOneHasUndoneItsWork) {
  GoTo(kCreateWireless);
  page(kCreateFirstApply)->undoesOnCancel = TRUE;
  frame.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WIZ_CANCEL, BN_CLICKED), 0);
  for (int i : {kCreateDone, kCreateSecondApply, kCreateWireless, kCreateFirstApply})
    EXPECT_EQ(page(i)->cancelAsked, 1) << i;
  for (int i : {kCreateMembers, kCreateScan, kCreateGroupName}) EXPECT_EQ(page(i)->cancelAsked, 0) << i;
  EXPECT_FALSE(frame.IsWindowVisible());
  EXPECT_EQ(frame.CurrentIndex(), kCreateGroupName);
}

TEST_F(CreateFlow, CopiesForwardByTargetIndex) {
  int a = 1, b = 2;
  page(kCreateGroupName)->m_strGroupName = "lab";
  page(kCreateGroupName)->m_strGroupPassword = "secret";
  page(kCreateScan)->m_deviceList.AddTail(&a);
  frame.OnNext();
  EXPECT_EQ(page(kCreateScan)->m_strGroupName, "lab");
  EXPECT_EQ(page(kCreateScan)->m_strGroupPassword, "secret");
  frame.OnNext();
  ASSERT_EQ(page(kCreateMembers)->m_deviceList.GetCount(), 1);
  EXPECT_EQ(page(kCreateMembers)->m_deviceList.GetHead(), &a);
  page(kCreateMembers)->m_groupList.AddTail(&b);
  page(kCreateFirstApply)->m_groupList.AddTail(&a);  // replaced, not appended to
  frame.OnNext();
  ASSERT_EQ(page(kCreateFirstApply)->m_groupList.GetCount(), 1);
  EXPECT_EQ(page(kCreateFirstApply)->m_groupList.GetHead(), &b);
  EXPECT_EQ(page(kCreateFirstApply)->m_deviceList.GetHead(), &a);
  page(kCreateFirstApply)->m_strAgentIp = "10.250.0.11";
  page(kCreateFirstApply)->m_strReadCommunity = "public";
  page(kCreateFirstApply)->m_strWriteCommunity = "private";
  frame.OnNext();
  EXPECT_EQ(page(kCreateWireless)->m_strAgentIp, "10.250.0.11");
  EXPECT_EQ(page(kCreateWireless)->m_strWriteCommunity, "private");
  EXPECT_EQ(page(kCreateWireless)->m_strGroupName, "lab");
  EXPECT_EQ(page(kCreateWireless)->m_groupList.GetCount(), 0);
  page(kCreateWireless)->m_strAgentIp = "10.250.0.12";
  frame.OnNext();
  EXPECT_EQ(page(kCreateSecondApply)->m_strAgentIp, "10.250.0.12");
  EXPECT_EQ(page(kCreateSecondApply)->m_groupList.GetHead(), &b);
  // The lists share the records; freeing them is a page's business.
  for (int i = 0; i < kCreatePageCount; ++i) {
    page(i)->m_groupList.RemoveAll();
    page(i)->m_deviceList.RemoveAll();
  }
}

TEST_F(CreateFlow, SkippingToAnIndexCopiesByThatIndex) {
  page(kCreateGroupName)->m_strGroupName = "lab";
  page(kCreateGroupName)->next = kCreateWireless;
  frame.OnNext();
  EXPECT_EQ(frame.CurrentIndex(), kCreateWireless);
  EXPECT_EQ(page(kCreateWireless)->m_strGroupName, "lab");
  EXPECT_EQ(page(kCreateScan)->m_strGroupName, "");
}

TEST_F(ModifyFlow, PagesFlagsAndBackState) {
  EXPECT_EQ(frame.Page(kModifyPageCount), nullptr);
  EXPECT_EQ(page(kModifyFirstApply)->m_nModifyFlow, 1);
  EXPECT_EQ(page(kModifySecondApply)->m_nModifyFlow, 1);
  EXPECT_EQ(page(kModifySecondApply)->m_nSecondRun, 1);
  EXPECT_EQ(page(kModifyFirstApply)->m_nSecondRun, 0);
  const bool expected[kModifyPageCount] = {true, true, false, true, true, false};
  for (int target = kModifyMembers; target <= kModifyDone; ++target) {
    frame.OnNext();
    EXPECT_EQ(BackEnabled(), expected[target]) << target;
  }
}

TEST_F(ModifyFlow, CopiesNameAndPasswordFromTheMembersPage) {
  int a = 1;
  page(kModifyScan)->m_groupList.AddTail(&a);
  frame.OnNext();
  EXPECT_EQ(page(kModifyMembers)->m_groupList.GetHead(), &a);
  page(kModifyMembers)->m_strGroupName = "lab";
  frame.OnNext();
  frame.OnNext();
  EXPECT_EQ(page(kModifyWireless)->m_strGroupName, "lab");
  EXPECT_EQ(page(kModifyWireless)->m_groupList.GetHead(), &a);
  for (int i = 0; i < kModifyPageCount; ++i) page(i)->m_groupList.RemoveAll();
}

TEST_F(StatusFlow, TheListPageGetsTheScanPagesGroupList) {
  EXPECT_EQ(frame.Page(kStatusPageCount), nullptr);
  frame.OnNext();
  EXPECT_EQ(frame.CurrentIndex(), kStatusList);
  EXPECT_EQ(page(kStatusList)->givenGroups, &page(kStatusScan)->m_groupList);
  frame.OnNext();  // the last page
  EXPECT_EQ(frame.CurrentIndex(), kStatusList);
}

TEST(WizardPage, BaseAnswersMoveOneStepAndStaticsGetNoBackgroundButEditsDo) {
  CWizardPage page(IDD_PAGE_GROUP_NAME, nullptr);
  EXPECT_EQ(page.OnNextPage(), CWizardPage::kFollowingPage);
  EXPECT_EQ(page.OnBackPage(), CWizardPage::kFollowingPage);
  CDialog host;
  ASSERT_TRUE(host.Create(IDD_ABOUTBOX));
  ASSERT_TRUE(page.Create(IDD_PAGE_GROUP_NAME, &host));
  HDC dc = ::GetDC(page.GetSafeHwnd());
  LRESULT brush = page.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0);
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), ::GetStockObject(NULL_BRUSH));
  EXPECT_EQ(::GetTextColor(dc), RGB(0xFF, 0xFF, 0xFF));
  // Edits and lists are filled in their window colour, with dark text.
  for (UINT message : {WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX}) {
    ::SetTextColor(dc, RGB(1, 2, 3));
    brush = page.SendMessage(message, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_NE(reinterpret_cast<HGDIOBJ>(brush), ::GetStockObject(NULL_BRUSH)) << message;
    EXPECT_NE(brush, 0) << message;
    EXPECT_NE(::GetTextColor(dc), RGB(0xFF, 0xFF, 0xFF)) << message;
  }
  ::ReleaseDC(page.GetSafeHwnd(), dc);
  page.DestroyWindow();
  host.DestroyWindow();
  testkit::ResetWindows();
}

TEST(WizardUi, UnregisteredDialogsFallBack) {
  CString password = "unchanged";
  EXPECT_EQ(AskDevicePassword("10.250.0.11", "0000A1B2C3D4", password), IDCANCEL);
  EXPECT_EQ(password, "unchanged");
  testkit::MessageBoxLog log;
  testkit::ModalHandler answer([](HWND box) { testkit::Answer(box, IDOK); });
  EXPECT_EQ(ShowSkinMessage("Done", FALSE), IDOK);
  ASSERT_EQ(log.records.size(), 1u);
  EXPECT_EQ(log.records[0].text, "Done");
}

}  // namespace
