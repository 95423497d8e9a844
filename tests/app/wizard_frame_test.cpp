// The frames' navigation: what Next and Back do with each answer of the
// current page (-2 stay, -1 the neighbour, an index, one that is not a page
// of the flow), what they carry forward, and the state of Back and Finish.

#include <gtest/gtest.h>

#include <map>

#include "CWizardApp.h"
#include "CWizardFrame.h"
#include "CWizardPage.h"
#include "TestKit.h"
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
  int next = -1, back = -1, entered = 0, returned = 0, cancelAsked = 0;
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
  const UINT expected[] = {131, 130, 132, 134, 133, 134, 147};
  for (int i = 0; i < 7; ++i) {
    ASSERT_NE(page(i), nullptr) << i;
    EXPECT_EQ(page(i)->templateId, expected[i]) << i;
    EXPECT_EQ(page(i)->GetParent(), &frame);
  }
  EXPECT_EQ(frame.Page(7), nullptr);
  EXPECT_EQ(page(5)->m_nSecondRun, 1);
  EXPECT_EQ(page(3)->m_nSecondRun, 0);
  EXPECT_EQ(page(3)->m_nModifyFlow, 0);
}

struct NextCase {
  const char* name;
  int from;       // index Next is pressed on
  int answer;     // what that page's OnNextPage returns
  int expected;   // index afterwards
};

TEST_F(CreateFlow, NextFollowsThePagesAnswer) {
  const NextCase cases[] = {
      {"stay", 1, -2, 1},
      {"neighbour", 1, -1, 2},
      {"explicit index skips pages", 1, 4, 4},
      {"back to the first page", 2, 0, 0},
      {"past the table", 1, 42, 1},
      {"negative", 1, -7, 1},
      {"a row entry with no page", 1, 8, 1},
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
    page(c.from)->next = -1;
    EXPECT_EQ(frame.CurrentIndex(), c.expected);
    if (c.expected != c.from) {
      EXPECT_EQ(page(c.expected)->entered, enteredBefore + 1);
      EXPECT_FALSE(page(c.from)->IsWindowVisible());
    }
    EXPECT_TRUE(page(frame.CurrentIndex())->IsWindowVisible());
  }
}

TEST_F(CreateFlow, NextOnTheLastPageDoesNothing) {
  GoTo(6);
  frame.OnNext();
  EXPECT_EQ(frame.CurrentIndex(), 6);
}

TEST_F(CreateFlow, BackFollowsThePagesAnswerAndCallsReturn) {
  GoTo(4);
  page(4)->back = -2;
  frame.OnBack();
  EXPECT_EQ(frame.CurrentIndex(), 4);
  page(4)->back = 99;
  frame.OnBack();
  EXPECT_EQ(frame.CurrentIndex(), 4);
  page(4)->back = 1;
  frame.OnBack();
  EXPECT_EQ(frame.CurrentIndex(), 1);
  EXPECT_EQ(page(1)->returned, 1);
  EXPECT_TRUE(page(1)->IsWindowVisible());
  EXPECT_FALSE(page(4)->IsWindowVisible());
  frame.OnBack();
  EXPECT_EQ(frame.CurrentIndex(), 0);
  frame.OnBack();  // nothing before the first page
  EXPECT_EQ(frame.CurrentIndex(), 0);
  EXPECT_EQ(page(0)->returned, 1);
}

TEST_F(CreateFlow, BackIsOffOnTheApplyRunsAndBackChangesNoButton) {
  EXPECT_TRUE(BackEnabled());  // Activate turns it on, even on page 0
  const bool expected[] = {true, true, true, false, true, true, false};
  for (int target = 1; target <= 6; ++target) {
    frame.OnNext();
    EXPECT_EQ(BackEnabled(), expected[target]) << target;
  }
  frame.ShowWindow(SW_HIDE);
  frame.ShowWindow(SW_SHOW);
  frame.Activate();
  GoTo(3);
  EXPECT_FALSE(BackEnabled());
  frame.OnNext();
  page(4)->back = -1;
  frame.OnBack();
  EXPECT_EQ(frame.CurrentIndex(), 3);
  EXPECT_TRUE(BackEnabled());  // as it was on page 4
}

TEST_F(CreateFlow, FinishReplacesNextOnTheLastPage) {
  page(6)->m_bFinished = TRUE;
  GoTo(6);
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
  page(6)->m_bFinished = TRUE;
  GoTo(2);  // the members: lists
  ASSERT_NE(::GetFocus(), nullptr);
  EXPECT_TRUE(::IsChild(page(2)->m_hWnd, ::GetFocus()));
  GoTo(6);
  EXPECT_EQ(::GetFocus(), frame.m_btnFinish.m_hWnd);
  page(6)->back = 2;
  frame.OnBack();
  EXPECT_TRUE(::IsChild(page(2)->m_hWnd, ::GetFocus()));
}

TEST_F(CreateFlow, CloseHidesTheFrameAndStartsOverAtPageZero) {
  GoTo(2);
  frame.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WIZ_CANCEL, BN_CLICKED), 0);
  EXPECT_FALSE(frame.IsWindowVisible());
  EXPECT_EQ(frame.CurrentIndex(), 0);
  EXPECT_FALSE(page(2)->IsWindowVisible());
}

// Cancel asks the pages from the last to the first to undo what they did,
// up to the first that answers it has; then the frame closes.
TEST_F(CreateFlow, CancelAsksThePagesFromTheLastUntilOneHasUndoneItsWork) {
  GoTo(4);
  page(3)->undoesOnCancel = TRUE;  // the first apply run
  frame.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WIZ_CANCEL, BN_CLICKED), 0);
  for (int i : {6, 5, 4, 3}) EXPECT_EQ(page(i)->cancelAsked, 1) << i;
  for (int i : {2, 1, 0}) EXPECT_EQ(page(i)->cancelAsked, 0) << i;
  EXPECT_FALSE(frame.IsWindowVisible());
  EXPECT_EQ(frame.CurrentIndex(), 0);
}

TEST_F(CreateFlow, CopiesForwardByTargetIndex) {
  int a = 1, b = 2;
  page(0)->m_strGroupName = "lab";
  page(0)->m_strGroupPassword = "secret";
  page(1)->m_deviceList.AddTail(&a);
  frame.OnNext();
  EXPECT_EQ(page(1)->m_strGroupName, "lab");
  EXPECT_EQ(page(1)->m_strGroupPassword, "secret");
  frame.OnNext();
  ASSERT_EQ(page(2)->m_deviceList.GetCount(), 1);
  EXPECT_EQ(page(2)->m_deviceList.GetHead(), &a);
  page(2)->m_groupList.AddTail(&b);
  page(3)->m_groupList.AddTail(&a);  // replaced, not appended to
  frame.OnNext();
  ASSERT_EQ(page(3)->m_groupList.GetCount(), 1);
  EXPECT_EQ(page(3)->m_groupList.GetHead(), &b);
  EXPECT_EQ(page(3)->m_deviceList.GetHead(), &a);
  page(3)->m_strAgentIp = "10.250.0.11";
  page(3)->m_strReadCommunity = "public";
  page(3)->m_strWriteCommunity = "private";
  frame.OnNext();
  EXPECT_EQ(page(4)->m_strAgentIp, "10.250.0.11");
  EXPECT_EQ(page(4)->m_strWriteCommunity, "private");
  EXPECT_EQ(page(4)->m_strGroupName, "lab");
  EXPECT_EQ(page(4)->m_groupList.GetCount(), 0);
  page(4)->m_strAgentIp = "10.250.0.12";
  frame.OnNext();
  EXPECT_EQ(page(5)->m_strAgentIp, "10.250.0.12");
  EXPECT_EQ(page(5)->m_groupList.GetHead(), &b);
  // The lists share the records; freeing them is a page's business.
  for (int i = 0; i < 7; ++i) {
    page(i)->m_groupList.RemoveAll();
    page(i)->m_deviceList.RemoveAll();
  }
}

TEST_F(CreateFlow, SkippingToAnIndexCopiesByThatIndex) {
  page(0)->m_strGroupName = "lab";
  page(0)->next = 4;
  frame.OnNext();
  EXPECT_EQ(frame.CurrentIndex(), 4);
  EXPECT_EQ(page(4)->m_strGroupName, "lab");
  EXPECT_EQ(page(1)->m_strGroupName, "");
}

TEST_F(ModifyFlow, PagesFlagsAndBackState) {
  EXPECT_EQ(frame.Page(6), nullptr);
  EXPECT_EQ(page(2)->m_nModifyFlow, 1);
  EXPECT_EQ(page(4)->m_nModifyFlow, 1);
  EXPECT_EQ(page(4)->m_nSecondRun, 1);
  EXPECT_EQ(page(2)->m_nSecondRun, 0);
  const bool expected[] = {true, true, false, true, true, false};
  for (int target = 1; target <= 5; ++target) {
    frame.OnNext();
    EXPECT_EQ(BackEnabled(), expected[target]) << target;
  }
}

TEST_F(ModifyFlow, CopiesNameAndPasswordFromTheMembersPage) {
  int a = 1;
  page(0)->m_groupList.AddTail(&a);
  frame.OnNext();
  EXPECT_EQ(page(1)->m_groupList.GetHead(), &a);
  page(1)->m_strGroupName = "lab";
  frame.OnNext();
  frame.OnNext();
  EXPECT_EQ(page(3)->m_strGroupName, "lab");
  EXPECT_EQ(page(3)->m_groupList.GetHead(), &a);
  for (int i = 0; i < 6; ++i) page(i)->m_groupList.RemoveAll();
}

TEST_F(StatusFlow, TheListPageGetsTheScanPagesGroupList) {
  EXPECT_EQ(frame.Page(2), nullptr);
  frame.OnNext();
  EXPECT_EQ(frame.CurrentIndex(), 1);
  EXPECT_EQ(page(1)->givenGroups, &page(0)->m_groupList);
  frame.OnNext();  // the last page
  EXPECT_EQ(frame.CurrentIndex(), 1);
}

TEST(WizardPage, BaseAnswersMoveOneStepAndStaticsGetNoBackgroundButEditsDo) {
  CWizardPage page(IDD_PAGE_GROUP_NAME, nullptr);
  EXPECT_EQ(page.OnNextPage(), -1);
  EXPECT_EQ(page.OnBackPage(), -1);
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
