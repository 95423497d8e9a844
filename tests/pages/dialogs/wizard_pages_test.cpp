// The group name page and the completion pages, inside the real create and
// modify frames. The flows' other pages are plain pages here, so that the
// frames can walk past them.

#include <gtest/gtest.h>

#include "CWizardFrame.h"
#include "CWizardPage.h"
#include "CompletionPages.h"
#include "Dialog.h"
#include "DialogPagesRes.h"
#include "DialogTestEnv.h"
#include "GroupNamePage.h"
#include "Resource.h"
#include "TestKit.h"
#include "WizardFlows.h"
#include "WizardRes.h"
#include "WizardUi.h"

using namespace dialogtest;

namespace {

const char* const kHostTemplate = "PAGES_TEST_HOST";

// A window of the frame's size to hold it, as the main dialog's frame area does.
const DialogTemplate kHost = {WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 0, 0, 324, 258, "Pages", "MS Sans Serif", 8, "",
                              {}};

bool Shows(CWnd& button) { return button.GetStyle() & WS_VISIBLE; }

template <class Frame>
class FlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformAddDialog(kHostTemplate, &kHost);
    for (UINT id : {IDD_PAGE_SCAN_NEW_AP, IDD_PAGE_MEMBER, IDD_PAGE_WIRELESS, IDD_PAGE_APPLY, IDD_PAGE_MODIFY_SCAN,
                    IDD_PAGE_MODIFY_WIRELESS, IDD_PAGE_MODIFY_MEMBERS})
      RegisterWizardPage(id, [id] { return new CWizardPage(id, nullptr); });
    ASSERT_TRUE(host.Create(kHostTemplate));
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
  void GoTo(int index) {
    while (frame.CurrentIndex() < index) frame.OnNext();
    ASSERT_EQ(frame.CurrentIndex(), index);
  }
  CDialog host;
  Frame frame{nullptr, nullptr, nullptr};
};

class GroupNameFlow : public FlowTest<CCreateWizard> {
 protected:
  CGroupNamePage* page() { return dynamic_cast<CGroupNamePage*>(frame.Page(kCreateGroupName)); }
  HWND pageWnd() { return page()->GetSafeHwnd(); }
  // Sets both edits as typed, presses Next and answers any message box,
  // recording its text.
  void Next(const std::string& name, const std::string& password) {
    ::SetDlgItemTextA(pageWnd(), IDC_GROUPNAME_NAME, name.c_str());
    ::SetDlgItemTextA(pageWnd(), IDC_GROUPNAME_PASSWORD, password.c_str());
    NextAsIs();
  }
  void NextAsIs() {
    messages.clear();
    testkit::ModalHandler answer([&](HWND box) {
      messages.push_back(ItemText(box, IDC_MSGBOX_TEXT));
      testkit::Answer(box, IDC_MSGBOX_SINGLE_OK);
    });
    frame.OnNext();
  }
  std::vector<std::string> messages;
};

TEST_F(GroupNameFlow, IsTheCreateFlowsFirstPageWithItsTexts) {
  ASSERT_NE(page(), nullptr);
  EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_NOTICE), Text("IDS_UI_CREATE_INFO"));
  EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_NAME_LABEL), Text("IDS_UI_CREATE_USERNAME"));
  EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_PASSWORD_LABEL), Text("IDS_UI_CREATE_PASSWORD"));
  EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(pageWnd(), IDC_GROUPNAME_PASSWORD), GWL_STYLE) & ES_PASSWORD);
  EXPECT_FALSE(ItemVisible(pageWnd(), IDOK));
  EXPECT_FALSE(ItemVisible(pageWnd(), IDCANCEL));
  EXPECT_TRUE(Shows(frame.m_btnNext));
  EXPECT_FALSE(Shows(frame.m_btnFinish));
  ::SetDlgItemTextA(pageWnd(), IDC_GROUPNAME_NAME, "Office_AP");
  ::SetDlgItemTextA(pageWnd(), IDC_GROUPNAME_PASSWORD, "secret");
  Capture(host.GetSafeHwnd(), "group_name_page");
  page()->ClearLabels();
  EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_NAME_LABEL), "");
  EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_PASSWORD_LABEL), "");
}

// Entering the page puts the focus in the name edit, wherever it was: the
// operator types the name at once.
TEST_F(GroupNameFlow, EnteringThePageFocusesTheNameForTyping) {
  const struct {
    const char* where;
    HWND focus;
  } befores[] = {{"on the frame's Next", frame.m_btnNext.GetSafeHwnd()},
                 {"in the password edit", ::GetDlgItem(pageWnd(), IDC_GROUPNAME_PASSWORD)},
                 {"nowhere", nullptr}};
  for (const auto& b : befores) {
    ::SetFocus(b.focus);
    page()->OnEnterPage();
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(pageWnd(), IDC_GROUPNAME_NAME)) << b.where;
    testkit::TypeText("Lab_1");
    testkit::PumpPending();
    EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_NAME), "Lab_1") << b.where;
    EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_PASSWORD), "") << b.where;
  }
}

// Each refused pair shows its message, keeps the page with the focus on the
// offending edit and keeps what was typed in both edits.
TEST_F(GroupNameFlow, RefusedNamesAndPasswords) {
  struct Case {
    const char* name;
    const char* password;
    const char* key;
    int focus;
  };
  const Case cases[] = {
      {"", "secret", "IDS_MSG_ARRAY_BLANK", IDC_GROUPNAME_NAME},
      {"", "p\xE4ss", "IDS_MSG_ARRAY_BLANK", IDC_GROUPNAME_NAME},  // the password is not looked at
      {"Office AP", "", "IDS_MSG_ARRAY_INVCHAR", IDC_GROUPNAME_NAME},
      {"   ", "", "IDS_MSG_ARRAY_INVCHAR", IDC_GROUPNAME_NAME},
      {"Office\"AP", "", "IDS_MSG_ARRAY_INVCHAR", IDC_GROUPNAME_NAME},
      {"Office#AP", "", "IDS_MSG_ARRAY_INVCHAR", IDC_GROUPNAME_NAME},
      {"B\xFCro", "", "IDS_MSG_ARRAY_INVCHAR", IDC_GROUPNAME_NAME},
      {"Office_AP", "p\xE4ss", "IDS_MSG_PASS_INVCHAR", IDC_GROUPNAME_PASSWORD},
      {"Office_AP", "\xA0", "IDS_MSG_PASS_INVCHAR", IDC_GROUPNAME_PASSWORD},
  };
  for (const Case& c : cases) {
    Next(c.name, c.password);
    EXPECT_EQ(frame.CurrentIndex(), kCreateGroupName) << c.name;
    EXPECT_EQ(messages, std::vector<std::string>{Text(c.key)}) << c.name << " / " << c.password;
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(pageWnd(), c.focus)) << c.name;
    EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_NAME), c.name);
    EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_PASSWORD), c.password);
    EXPECT_EQ(std::string(page()->m_strGroupName), "") << c.name;
  }
}

TEST_F(GroupNameFlow, AcceptedPairsGoToTheScanPageAndEmptyTheEdits) {
  struct Case {
    std::string name;
    std::string password;
  };
  const Case cases[] = {
      {"Office_AP", "secret"},
      {"a-b@c.d_9", ""},  // every allowed kind of character; an empty password
      {"A", " !#$%&'()*+,-./:;<=>?[\\]^`{|}~\""},  // blanks and punctuation in the password
      {std::string(32, 'n'), std::string(32, 'p')},
  };
  for (const Case& c : cases) {
    Next(c.name, c.password);
    EXPECT_TRUE(messages.empty()) << c.name;
    ASSERT_EQ(frame.CurrentIndex(), kCreateScan) << c.name;
    EXPECT_EQ(std::string(page()->m_strGroupName), c.name);
    EXPECT_EQ(std::string(page()->m_strGroupPassword), c.password);
    EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_NAME), "");
    EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_PASSWORD), "");
    // The frame hands the pair on to the following pages.
    EXPECT_EQ(std::string(frame.Page(kCreateScan)->m_strGroupName), c.name);
    EXPECT_EQ(std::string(frame.Page(kCreateScan)->m_strGroupPassword), c.password);
    frame.OnBack();
    ASSERT_EQ(frame.CurrentIndex(), kCreateGroupName);
  }
}

// The edits stop at 32 characters, whatever is typed.
TEST_F(GroupNameFlow, EditsTakeAtMost32Characters) {
  for (int id : {IDC_GROUPNAME_NAME, IDC_GROUPNAME_PASSWORD}) {
    ::SetFocus(::GetDlgItem(pageWnd(), id));
    testkit::TypeText(std::string(32, 'x') + "yz");
    testkit::PumpPending();
    EXPECT_EQ(ItemText(pageWnd(), id), std::string(32, 'x')) << id;
  }
  NextAsIs();
  EXPECT_EQ(frame.CurrentIndex(), kCreateScan);
  EXPECT_EQ(std::string(page()->m_strGroupName), std::string(32, 'x'));
}

// Entering the page again starts with empty edits; the last accepted pair
// stays in the page base.
TEST_F(GroupNameFlow, EnteringThePageEmptiesTheEdits) {
  Next("Office_AP", "pw");
  ASSERT_EQ(frame.CurrentIndex(), kCreateScan);
  frame.OnBack();
  ::SetDlgItemTextA(pageWnd(), IDC_GROUPNAME_NAME, "left over");
  page()->m_bFinished = TRUE;
  frame.Activate();
  EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_NAME), "");
  EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_PASSWORD), "");
  EXPECT_FALSE(page()->m_bFinished);
  EXPECT_EQ(std::string(page()->m_strGroupName), "Office_AP");
}

// OK and Cancel reaching a page (Enter and Escape inside it) do nothing: the
// page is not ended and stays, with what was typed.
void CheckOkAndCancelDoNothing(CWizardPage* page) {
  HWND w = page->GetSafeHwnd();
  for (int id : {IDOK, IDCANCEL}) {
    ::SendMessageA(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    testkit::PumpPending();
    ASSERT_TRUE(::IsWindow(w)) << id;
    EXPECT_TRUE(::IsWindowVisible(w)) << id;
    EXPECT_FALSE(PlatformDialogEnded(w, nullptr)) << id;
  }
}

TEST_F(GroupNameFlow, OkAndCancelDoNothing) {
  ::SetDlgItemTextA(pageWnd(), IDC_GROUPNAME_NAME, "Office_AP");
  CheckOkAndCancelDoNothing(page());
  EXPECT_EQ(frame.CurrentIndex(), kCreateGroupName);
  EXPECT_EQ(ItemText(pageWnd(), IDC_GROUPNAME_NAME), "Office_AP");
  EXPECT_EQ(std::string(page()->m_strName), "");  // nothing was read from the edits
}

// The completion pages' texts, and entering them turns Next into Finish.
void CheckCompletionPage(CWizardFrame& frame, CCompletionPage* page, const char* successKey, const char* shot) {
  ASSERT_NE(page, nullptr);
  HWND w = page->GetSafeHwnd();
  EXPECT_EQ(ItemText(w, IDC_DONE_TITLE), Text("IDS_UI_COMPLETED"));
  EXPECT_EQ(ItemText(w, IDC_DONE_MESSAGE), Text(successKey));
  EXPECT_EQ(ItemText(w, IDC_DONE_NOTICE), Text("IDS_STR_NOTICE"));
  EXPECT_TRUE(page->m_bFinished);
  EXPECT_FALSE(Shows(frame.m_btnNext));
  EXPECT_TRUE(Shows(frame.m_btnFinish));
  EXPECT_FALSE(frame.m_btnBack.IsWindowEnabled());
  EXPECT_FALSE(frame.m_btnCancel.IsWindowEnabled());
  const int last = frame.CurrentIndex();
  frame.OnNext();  // the last page: no page follows
  EXPECT_EQ(frame.CurrentIndex(), last);
  CheckOkAndCancelDoNothing(page);
  Capture(::GetParent(::GetParent(w)), shot);
}

using CreateFlow = FlowTest<CCreateWizard>;
using ModifyFlow = FlowTest<CModifyWizard>;

TEST_F(CreateFlow, CompletionPageFinishesTheFlow) {
  auto* done = dynamic_cast<CCreateDonePage*>(frame.Page(kCreateDone));
  ASSERT_NE(done, nullptr);
  EXPECT_FALSE(done->m_bFinished);
  ::SetDlgItemTextA(frame.Page(kCreateGroupName)->GetSafeHwnd(), IDC_GROUPNAME_NAME, "Office_AP");
  GoTo(kCreateDone);
  CheckCompletionPage(frame, done, "IDS_UI_CREATE_SU", "create_done_page");
}

TEST_F(ModifyFlow, CompletionPageFinishesTheFlow) {
  auto* done = dynamic_cast<CModifyDonePage*>(frame.Page(kModifyDone));
  ASSERT_NE(done, nullptr);
  GoTo(kModifyDone);
  CheckCompletionPage(frame, done, "IDS_UI_MODIFY_SU", "modify_done_page");
}

}  // namespace
