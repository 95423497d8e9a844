// The main dialog, run in a private network namespace (its discovery tasks
// bind UDP 55000 and broadcast): its language texts from a program folder
// laid out by the test, the flow buttons and the frames, and the busy cursor.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "CDiscoveryTask.h"
#include "CMainDlg.h"
#include "CWizardApp.h"
#include "CWizardFrame.h"
#include "CWizardPage.h"
#include "MainDialogUnderTest.h"
#include "TempDir.h"
#include "TestKit.h"
#include "WindowText.h"
#include "WizardFlows.h"
#include "WizardRes.h"

namespace fs = std::filesystem;

CWizardApp theApp;

namespace {

class MainDialog : public ::testing::Test {
 protected:
  void Open(bool withLanguage) {
    if (withLanguage) {
      fs::create_directories(dir.path() + "/language/en");
      fs::copy_file(std::string(std::getenv("TRELLIAN_SOURCE_DIR")) + "/res/language/en/Lang.MLS",
                    dir.path() + "/language/en/Lang.MLS", fs::copy_options::overwrite_existing);
    }
    testkit::SetProgramPath(dir.file("Trellian"));
    theApp.SetupLanguage();
    ASSERT_TRUE(dialog.Open());
  }
  void TearDown() override {
    dialog.Close();
    testkit::SetProgramPath("");
    testkit::ResetWindows();
    EXPECT_TRUE(boxes.records.empty());
  }
  void Press(int id) { dialog.Press(id); }

  TempDir dir;
  testkit::MessageBoxLog boxes;
  MainDialogUnderTest dialog;
};

TEST_F(MainDialog, ShowsItsLanguageTexts) {
  Open(true);
  EXPECT_EQ(WindowText(dialog->m_btnCreate), "New AP Vezovi");
  EXPECT_EQ(WindowText(dialog->m_btnModify), "Modify AP Vezovi");
  EXPECT_EQ(WindowText(dialog->m_btnStatus), "AP Vezovi Status");
  EXPECT_EQ(WindowText(dialog->m_btnExit), "Exit");
  EXPECT_EQ(WindowText(dialog->m_title), "Welcome to the AP Vezovi Wizard");
  EXPECT_EQ(WindowText(dialog->GetSafeHwnd()), "RIZ-4410 AP Vezovi Setup Tool v1.10");
  EXPECT_EQ(WindowText(dialog->Frame(CMainDlg::kCreateFlow)->m_btnNext), "Next >");
}

TEST_F(MainDialog, WithoutTheLanguageFileTextsAreEmpty) {
  Open(false);
  EXPECT_EQ(WindowText(dialog->m_btnCreate), "");
  EXPECT_EQ(WindowText(dialog->m_title), "");
  EXPECT_EQ(WindowText(dialog->Frame(CMainDlg::kCreateFlow)->m_btnBack), "");
}

int LinesWith(const std::string& text, const std::string& word) {
  int n = 0;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    n += text.substr(begin, end - begin).find(word) != std::string::npos;
    begin = end + 1;
  }
  return n;
}

// Without a usable skin description the dialog opens unskinned, as before,
// and one line on standard error names the file and its path. Nothing in its
// place (a FIFO) may hold the start up.
TEST_F(MainDialog, AMissingOrUnreadableSkinIsNamedOnce) {
  const std::string skin = dir.path() + "/Skin/vAdev/skin.ini";
  const struct Case {
    const char* place;
    void (*make)(const std::string& file);
    const char* reason;
  } cases[] = {
      {"missing", [](const std::string&) {}, "No such file"},
      {"a FIFO", [](const std::string& f) { ASSERT_EQ(mkfifo(f.c_str(), 0600), 0); }, "not a regular file"},
      {"a folder", [](const std::string& f) { fs::create_directory(f); }, "Is a directory"},
  };
  for (const Case& c : cases) {
    fs::remove_all(dir.path() + "/Skin");
    fs::create_directories(dir.path() + "/Skin/vAdev");
    c.make(skin);
    testing::internal::CaptureStderr();
    Open(true);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(LinesWith(said, "Trellian:"), 1) << c.place << ": " << said;
    EXPECT_EQ(LinesWith(said, "skin file " + skin), 1) << c.place << ": " << said;
    EXPECT_EQ(LinesWith(said, c.reason), 1) << c.place << ": " << said;
    EXPECT_EQ(WindowText(dialog->m_btnExit), "Exit") << c.place << ": the texts are there all the same";
    dialog.Close();
  }
  // The skin that is built beside the program loads without a word.
  const std::string built = std::string(std::getenv("TRELLIAN_BINARY_DIR")) + "/bin/Skin";
  if (!fs::exists(built + "/vAdev/skin.ini")) return;
  fs::remove_all(dir.path() + "/Skin");
  fs::copy(built, dir.path() + "/Skin", fs::copy_options::recursive);
  testing::internal::CaptureStderr();
  Open(true);
  EXPECT_EQ(LinesWith(testing::internal::GetCapturedStderr(), "Trellian:"), 0);
}

TEST_F(MainDialog, EachFlowButtonShowsItsFrameAndCloseBringsBackTheWelcome) {
  Open(true);
  for (int flow = 0; flow < CMainDlg::kFlowCount; ++flow) EXPECT_FALSE(dialog->Frame(flow)->IsWindowVisible());

  const struct {
    int button;
    int flow;
    const char* title;
  } cases[] = {
      {IDC_MAIN_CREATE, CMainDlg::kCreateFlow, "New AP Vezovi"},
      {IDC_MAIN_MODIFY, CMainDlg::kModifyFlow, "Modify AP Vezovi"},
      {IDC_MAIN_STATUS, CMainDlg::kStatusFlow, "AP Vezovi Status"},
      {IDC_MAIN_CREATE, CMainDlg::kCreateFlow, "New AP Vezovi"},
  };
  for (const auto& c : cases) {
    Press(c.button);
    for (int flow = 0; flow < CMainDlg::kFlowCount; ++flow)
      EXPECT_EQ(dialog->Frame(flow)->IsWindowVisible() != FALSE, flow == c.flow) << c.title;
    EXPECT_EQ(WindowText(dialog->m_title), c.title);
    EXPECT_FALSE(dialog->m_welcome.IsWindowVisible());
    EXPECT_TRUE(dialog->Frame(c.flow)->Page(0)->IsWindowVisible());  // every flow starts at its page 0
  }

  CWizardFrame* create = dialog->Frame(CMainDlg::kCreateFlow);
  create->OnNext();
  EXPECT_EQ(create->CurrentIndex(), kCreateScan);
  create->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WIZ_CANCEL, BN_CLICKED), 0);
  EXPECT_FALSE(create->IsWindowVisible());
  EXPECT_EQ(create->CurrentIndex(), kCreateGroupName);
  // The welcome title by its key, not the key itself.
  EXPECT_EQ(WindowText(dialog->m_title), "Welcome to the AP Vezovi Wizard");
  EXPECT_TRUE(dialog->m_welcome.IsWindowVisible());
  EXPECT_TRUE(dialog->m_picture.IsWindowVisible());

  // Shown again, the frame starts from its first page.
  Press(IDC_MAIN_CREATE);
  EXPECT_EQ(create->CurrentIndex(), kCreateGroupName);
  EXPECT_TRUE(create->Page(kCreateGroupName)->IsWindowVisible());
  EXPECT_FALSE(create->Page(kCreateScan)->IsWindowVisible());
}

TEST_F(MainDialog, FramesSitInTheFrameArea) {
  Open(true);
  Press(IDC_MAIN_CREATE);
  CRect area, frame;
  dialog->m_frameArea.GetWindowRect(&area);
  dialog->Frame(CMainDlg::kCreateFlow)->GetWindowRect(&frame);
  EXPECT_EQ(frame.left, area.left + 2);
  EXPECT_EQ(frame.top, area.top + 5);
  EXPECT_EQ(frame.Width(), area.Width() - 1);
  EXPECT_EQ(frame.Height(), area.Height() - 1);
}

// The side panel overlaps the flow buttons; painted above them it would hide them.
TEST_F(MainDialog, SidePanelLiesBelowTheFlowButtons) {
  Open(true);
  for (CWnd* button : {&dialog->m_btnCreate, &dialog->m_btnModify, &dialog->m_btnStatus, &dialog->m_btnExit}) {
    HWND below = button->GetSafeHwnd();
    while (below && below != dialog->m_sidePanel.GetSafeHwnd()) below = ::GetWindow(below, GW_HWNDNEXT);
    EXPECT_NE(below, nullptr) << button->GetDlgCtrlID();
  }
  CRect panel;
  dialog->m_sidePanel.GetWindowRect(&panel);
  dialog->ScreenToClient(&panel);
  EXPECT_EQ(panel.left, 0);
  EXPECT_EQ(panel.top, 0);
  EXPECT_EQ(panel.Width(), 160);
}

// A page asks for the wait cursor through its frame: asked for at the next
// move, the pointer's next WM_SETCURSOR shows it; asked for at once, it shows
// without one. Lowering the request gives the ordinary cursor back.
TEST_F(MainDialog, WaitCursorWhileAPageAsksForIt) {
  Open(true);
  const HCURSOR wait = ::LoadCursor(nullptr, IDC_WAIT);
  const HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
  const LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  CWizardPage* page = dialog->Frame(CMainDlg::kCreateFlow)->Page(kCreateGroupName);
  ASSERT_NE(page, nullptr);
  using Change = CWizardPage::CursorChange;
  ::SetCursor(arrow);
  page->SetWaitCursor(TRUE, Change::kAtNextMove);
  EXPECT_TRUE(dialog->ShowsWaitCursor());
  EXPECT_EQ(::GetCursor(), arrow);
  EXPECT_TRUE(dialog->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog->GetSafeHwnd()), hit));
  EXPECT_EQ(::GetCursor(), wait);
  page->SetWaitCursor(FALSE, Change::kAtNextMove);
  EXPECT_FALSE(dialog->ShowsWaitCursor());
  dialog->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog->GetSafeHwnd()), hit);
  EXPECT_NE(::GetCursor(), wait);
  page->SetWaitCursor(TRUE, Change::kAtOnce);
  EXPECT_EQ(::GetCursor(), wait);
}

TEST_F(MainDialog, SystemMenuHasTheAboutItem) {
  Open(true);
  CMenu* menu = dialog->GetSystemMenu(FALSE);
  ASSERT_NE(menu, nullptr);
  const int count = ::GetMenuItemCount(menu->GetSafeHmenu());
  ASSERT_GE(count, 2);
  EXPECT_EQ(::GetMenuItemID(menu->GetSafeHmenu(), count - 1), static_cast<UINT>(IDM_ABOUTBOX));
  testkit::ModalHandler close([](HWND about) { testkit::Answer(about, IDOK); });
  dialog->SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
}

// Another copy of the program already listens on UDP 55000: the start-up
// tells the user once and ends, leaving no window and no task behind.
TEST(ProgramStart, PortTakenShowsOneMessageAndEnds) {
  CDiscoveryTask otherCopy(CDiscoveryTask::kListen);
  testkit::MessageBoxLog boxes;
  testkit::ModalHandler answer([](HWND box) { testkit::Answer(box, IDOK); });

  EXPECT_FALSE(theApp.InitInstance());

  ASSERT_EQ(boxes.records.size(), 1u);
  EXPECT_FALSE(boxes.records[0].text.empty());
  EXPECT_EQ(theApp.m_pMainWnd, nullptr);
  EXPECT_EQ(theApp.ExitInstance(), 1);
}

// A normal close ends the program with status 0, whatever message the
// closing windows pumped last.
TEST(ProgramStart, ClosingTheMainDialogEndsWithStatusZero) {
  testkit::MessageBoxLog boxes;
  testkit::ModalHandler close([](HWND main) { testkit::Answer(main, IDCANCEL); });

  EXPECT_FALSE(theApp.InitInstance());

  EXPECT_TRUE(boxes.records.empty());
  EXPECT_EQ(theApp.ExitInstance(), 0);
  testkit::ResetWindows();
}

}  // namespace
