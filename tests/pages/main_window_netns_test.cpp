// The main dialog with the real pages and the program's skin, in a private
// network namespace (its discovery tasks bind UDP 55000 and broadcast; no
// device answers): closing while a scan or an apply run holds the wizard
// busy, the look of the buttons while busy, the About box, and what is left
// on the screen after a frame goes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "CApplyPage.h"
#include "CDeviceRecord.h"
#include "CDiscoveryTask.h"
#include "CMainDlg.h"
#include "CWizardApp.h"
#include "CWizardFrame.h"
#include "DeviceTask.h"
#include "DialogPagesRes.h"
#include "MainDialogUnderTest.h"
#include "QUAVError.h"
#include "ScanPages.h"
#include "ApsimHarness.h"
#include "SnmpSession.h"
#include "TempDir.h"
#include "TestKit.h"
#include "WindowText.h"
#include "WizardRes.h"
#include "WizardUi.h"

namespace fs = std::filesystem;

CWizardApp theApp;

namespace {

std::string BinaryDir() {
  const char* bin = std::getenv("TRELLIAN_BINARY_DIR");
  return bin ? bin : ".";
}

std::string ShotPath(const std::string& name) {
  fs::create_directories(BinaryDir() + "/screenshots");
  return BinaryDir() + "/screenshots/" + name + ".png";
}

// Every modal window that opens, with the text it shows; each is closed as
// an operator would close it.
class Boxes {
 public:
  Boxes() : handler_([this](HWND modal) { Answer(modal); }) {}
  std::vector<std::string> texts;

 private:
  void Answer(HWND modal) {
    if (HWND text = ::GetDlgItem(modal, IDC_MSGBOX_TEXT)) {
      texts.push_back(WindowText(text));
      testkit::Answer(modal, IDC_MSGBOX_SINGLE_OK);
    } else {
      texts.push_back("(not the skinned box) " + testkit::MessageBoxText(modal));
      testkit::Answer(modal, IDOK);
    }
  }
  testkit::ModalHandler handler_;
};

// The dialog as the program's main window, for as long as the object lives:
// the boxes it opens belong to it.
struct MainWindowOfTheApp {
  explicit MainWindowOfTheApp(CWnd* main) { theApp.m_pMainWnd = main; }
  ~MainWindowOfTheApp() { theApp.m_pMainWnd = nullptr; }
};

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_STREQ(std::getenv("TRELLIAN_NETNS"), "inside") << "run through tools/netns-run";
    // The build's program folder: the language file and the skin.
    UseTheBuiltProgramFolder(theApp);
    ASSERT_TRUE(SnmpSessionInit(dir.path().c_str(), ""));
    ASSERT_TRUE(dialog.Open());
  }
  void TearDown() override {
    dialog.Close();
    SnmpSessionExit();
    testkit::ResetWindows();
    testkit::SetProgramPath("");
  }
  void Press(int id) {
    dialog.Press(id);
    testkit::PumpPending();
  }
  CWizardFrame* Frame(int flow) { return dialog->Frame(flow); }
  // The status flow's scan, started on the tests' fast clock: its page, or
  // null when the flow shows none.
  CScanPage* StartStatusScan() {
    testkit::SetClockScale(50);
    Press(IDC_MAIN_STATUS);
    return dynamic_cast<CScanPage*>(Frame(CMainDlg::kStatusFlow)->Page(kStatusScan));
  }
  std::vector<CWnd*> FlowButtons() {
    return {&dialog->m_btnCreate, &dialog->m_btnModify, &dialog->m_btnStatus, &dialog->m_btnExit};
  }
  static std::vector<CWnd*> FrameButtons(CWizardFrame* f) { return {&f->m_btnBack, &f->m_btnNext, &f->m_btnCancel}; }
  void Repaint() {
    dialog->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testkit::PumpPending();
  }

  TempDir dir;
  MainDialogUnderTest dialog;
};

// Every way a person closes the program or opens a window that waits for
// an answer, each tried while a scan runs: nothing opens (a modal loop there
// would run inside the scan's wait and hold it), the bell rings once per
// try, and the scan goes on.
TEST_F(MainWindow, ClosingOrOpeningAWindowWhileAScanRunsIsRefusedWithTheBell) {
  // The About box belongs to the program's main window, as in the program.
  MainWindowOfTheApp owner(dialog.get());
  CScanPage* scan = StartStatusScan();
  ASSERT_NE(scan, nullptr);
  ASSERT_TRUE(scan->IsScanning());
  ASSERT_TRUE(dialog->IsBusy());

  CRect caption;
  dialog->GetWindowRect(&caption);
  const CPoint onCaption(caption.CenterPoint().x, caption.top + ::GetSystemMetrics(SM_CYCAPTION) / 2 + 2);
  const struct {
    const char* way;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } ways[] = {
      {"the close box / Alt+F4 (SC_CLOSE)", WM_SYSCOMMAND, SC_CLOSE, 0},
      {"WM_CLOSE", WM_CLOSE, 0, 0},
      {"Exit (IDCANCEL)", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0},
      {"the system menu by Alt+Space", WM_SYSCOMMAND, SC_KEYMENU, ' '},
      {"the system menu by the caption's icon", WM_SYSCOMMAND, SC_MOUSEMENU + HTSYSMENU, 0},
      {"the About entry", WM_SYSCOMMAND, IDM_ABOUTBOX, 0},
      {"Move by the keyboard", WM_SYSCOMMAND, SC_MOVE, 0},
      {"Size by the keyboard", WM_SYSCOMMAND, SC_SIZE, 0},
      {"a right click on the caption", WM_CONTEXTMENU, 0, MAKELPARAM(onCaption.x, onCaption.y)},
  };
  const auto refused = [&](const char* way, const std::function<void()>& attempt) {
    SCOPED_TRACE(way);
    Boxes boxes;
    const int bells = testkit::BeepCount();
    attempt();
    testkit::PumpPending();
    ASSERT_TRUE(::IsWindow(dialog->GetSafeHwnd()));
    EXPECT_TRUE(dialog->IsWindowVisible());
    EXPECT_EQ(boxes.texts, std::vector<std::string>{});
    EXPECT_EQ(testkit::BeepCount(), bells + 1);
    EXPECT_TRUE(scan->IsScanning());
  };
  for (const auto& w : ways)
    refused(w.way, [&] { dialog->SendMessage(w.message, w.wParam, w.lParam); });
  // And as a person does it, with the focus where the busy flow keeps it.
  // (Escape in a flow closes nothing: see the test of the keys below.)
  const struct {
    const char* way;
    std::vector<UINT> keys;  // pressed in order, released in reverse
  } keys[] = {{"Alt+F4", {VK_MENU, VK_F4}}, {"Alt+Space", {VK_MENU, VK_SPACE}}};
  for (const auto& k : keys)
    refused(k.way, [&] {
      for (UINT vk : k.keys) testkit::KeyDown(vk);
      for (auto it = k.keys.rbegin(); it != k.keys.rend(); ++it) testkit::KeyUp(*it);
    });
  refused("a click on the disabled Exit", [&] {
    CRect exit;
    dialog->m_btnExit.GetWindowRect(&exit);
    dialog->ScreenToClient(&exit);
    testkit::Click(dialog->GetSafeHwnd(), exit.CenterPoint());
  });
  // The buttons still take no input, the dialog still takes the next try.
  EXPECT_FALSE(Frame(CMainDlg::kStatusFlow)->m_btnNext.IsWindowEnabled());
  EXPECT_TRUE(dialog->IsWindowEnabled());
  // Idle again, the About entry opens its box.
  testkit::PumpUntil([&] { return !scan->IsScanning(); }, 60000);
  testkit::SetClockScale(1);
  ASSERT_FALSE(dialog->IsBusy());
  bool aboutShown = false;
  testkit::ModalHandler about([&](HWND box) {
    aboutShown = true;
    testkit::Answer(box, IDOK);
  });
  dialog->SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
  EXPECT_TRUE(aboutShown);
}

// The program's own loop: every message passes the windows'
// PreTranslateMessage first, where the dialog manager takes its keys.
void PumpAsTheProgramDoes() {
  MSG msg;
  for (int n = 0; n < 100000 && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
    if (CWnd::WalkPreTranslateTree(nullptr, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

// A scan that ends while a message box holds the keyboard (one the test
// opens, as a failure's box would open) leaves the box alone; the keyboard
// goes to Next once the box has closed and the main dialog is active again.
TEST_F(MainWindow, ARunThatEndsUnderAMessageBoxGivesTheKeysToNextOnceTheBoxCloses) {
  // The box belongs to the program's main window, as in the program.
  MainWindowOfTheApp owner(dialog.get());
  CScanPage* scan = StartStatusScan();
  CWizardFrame* status = Frame(CMainDlg::kStatusFlow);
  ASSERT_NE(scan, nullptr);
  ASSERT_TRUE(scan->IsScanning());
  HWND focusUnderTheBox = nullptr;
  bool boxShown = false;
  testkit::ModalHandler wait([&](HWND box) {
    boxShown = true;
    testkit::PumpUntil([&] { return !scan->IsScanning(); }, 60000);
    focusUnderTheBox = ::GetFocus();
    testkit::Answer(box, IDC_MSGBOX_SINGLE_OK);
  });
  ShowSkinMessage(CString("A message"), FALSE);
  testkit::PumpPending();
  testkit::SetClockScale(1);
  ASSERT_TRUE(boxShown);
  EXPECT_FALSE(scan->IsScanning());
  EXPECT_NE(focusUnderTheBox, status->m_btnNext.GetSafeHwnd()) << "the end of the scan took the keyboard from the box";
  EXPECT_EQ(::GetFocus(), status->m_btnNext.GetSafeHwnd());
}

// Tab goes through a page's fields, on to the frame's buttons, then the
// main dialog's, and back into the page; Shift+Tab the other way.
TEST_F(MainWindow, TabWalksThePageThenTheFrameThenTheMainButtons) {
  Press(IDC_MAIN_CREATE);
  CWizardFrame* create = Frame(CMainDlg::kCreateFlow);
  CWizardPage* page = create->Page(kCreateGroupName);
  ASSERT_NE(page, nullptr);
  CWnd* name = page->GetDlgItem(IDC_GROUPNAME_NAME);
  ASSERT_NE(name, nullptr);
  const std::vector<HWND> order = {page->GetDlgItem(IDC_GROUPNAME_PASSWORD)->GetSafeHwnd(),
                                   create->m_btnBack.GetSafeHwnd(),
                                   create->m_btnNext.GetSafeHwnd(),
                                   create->m_btnCancel.GetSafeHwnd(),
                                   dialog->m_btnCreate.GetSafeHwnd(),
                                   dialog->m_btnModify.GetSafeHwnd(),
                                   dialog->m_btnStatus.GetSafeHwnd(),
                                   dialog->m_btnExit.GetSafeHwnd(),
                                   name->GetSafeHwnd()};
  name->SetFocus();
  std::vector<HWND> visited;
  for (size_t i = 0; i < order.size(); ++i) {
    testkit::PressKey(VK_TAB);
    PumpAsTheProgramDoes();
    visited.push_back(::GetFocus());
  }
  EXPECT_EQ(visited, order);
  std::vector<HWND> back;
  testkit::KeyDown(VK_SHIFT);
  for (size_t i = 0; i < order.size(); ++i) {
    testkit::PressKey(VK_TAB);
    PumpAsTheProgramDoes();
    back.push_back(::GetFocus());
  }
  testkit::KeyUp(VK_SHIFT);
  PumpAsTheProgramDoes();
  std::vector<HWND> reversed(order.rbegin() + 1, order.rend());
  reversed.push_back(name->GetSafeHwnd());
  EXPECT_EQ(back, reversed);
}

// Escape and Enter in a flow never end the program: while a scan runs,
// once it has ended, and with the focus on the main dialog's own buttons.
// A scan that ends gives the keyboard back to the flow, on Next, where a
// person goes on: Enter there is Next (here: scan again, nothing was found).
// On the welcome panel Escape is still the dialog's Exit.
TEST_F(MainWindow, EscapeInAFlowNeverEndsTheProgramAndAScanGivesTheKeysBackOnNext) {
  const auto key = [](UINT vk) {
    testkit::PressKey(vk);
    PumpAsTheProgramDoes();
  };
  const auto ended = [&] { return PlatformDialogEnded(dialog->GetSafeHwnd(), nullptr) != FALSE; };
  const auto focusIn = [](CWnd& wnd) {
    HWND focus = ::GetFocus();
    return focus && (focus == wnd.GetSafeHwnd() || ::IsChild(wnd.GetSafeHwnd(), focus));
  };
  CScanPage* scan = StartStatusScan();
  CWizardFrame* status = Frame(CMainDlg::kStatusFlow);
  ASSERT_NE(scan, nullptr);
  ASSERT_TRUE(scan->IsScanning());
  EXPECT_TRUE(focusIn(*scan)) << "while busy the keys left the flow";
  Boxes boxes;
  for (UINT vk : {VK_ESCAPE, VK_RETURN}) key(vk);
  EXPECT_TRUE(scan->IsScanning());
  ASSERT_TRUE(testkit::PumpUntil([&] { return !scan->IsScanning(); }, 60000));
  EXPECT_EQ(::GetFocus(), status->m_btnNext.GetSafeHwnd()) << "the scan ended and the keys did not come back";
  for (CWnd* focus : {static_cast<CWnd*>(&status->m_btnNext), static_cast<CWnd*>(&dialog->m_btnCreate),
                      static_cast<CWnd*>(&dialog->m_btnExit), static_cast<CWnd*>(dialog.get())}) {
    ::SetFocus(focus->GetSafeHwnd());
    key(VK_ESCAPE);
    EXPECT_FALSE(ended()) << "Escape with the focus on " << focus->GetDlgCtrlID() << " ended the program";
  }
  status->GotoDlgCtrl(&status->m_btnNext);
  key(VK_RETURN);
  EXPECT_TRUE(scan->IsScanning()) << "Enter on Next did not press it";
  ASSERT_TRUE(testkit::PumpUntil([&] { return !scan->IsScanning(); }, 60000));
  testkit::SetClockScale(1);
  EXPECT_TRUE(boxes.texts.empty()) << ::testing::PrintToString(boxes.texts);

  status->Close();
  ::SetFocus(dialog->m_btnCreate.GetSafeHwnd());
  key(VK_ESCAPE);
  EXPECT_TRUE(ended()) << "Escape on the welcome panel is Exit";
}

// An apply run holds the wizard busy just as a scan does: a close is
// refused with the bell and no box, and the apply page's log says once in
// each busy spell that the wizard can be closed when the run has ended.
TEST_F(MainWindow, ClosingWhileAnApplyRunHoldsTheWizardIsRefused) {
  Press(IDC_MAIN_CREATE);
  CWizardFrame* create = Frame(CMainDlg::kCreateFlow);
  auto* apply = dynamic_cast<CApplyPage*>(create->Page(kCreateFirstApply));
  ASSERT_NE(apply, nullptr);
  create->m_nCurrent = kCreateFirstApply;  // the page the refusal is told to
  const std::string told(theApp.Text("IDS_STR_BUSY_CLOSE_LATER"));
  ASSERT_FALSE(told.empty());
  const auto lastLine = [&] {
    CString text;
    if (apply->m_log.GetCount() > 0) apply->m_log.GetLineText(apply->m_log.GetCount() - 1, text);
    return std::string(text);
  };
  for (int spell = 0; spell < 2; ++spell) {
    SCOPED_TRACE(spell == 0 ? "the first busy spell" : "the next busy spell");
    apply->SetBusy(TRUE);
    const int lines = apply->m_log.GetCount();
    const int bells = testkit::BeepCount();
    Boxes boxes;
    for (int tries = 0; tries < 2; ++tries) {
      dialog->SendMessage(WM_CLOSE);
      testkit::PumpPending();
    }
    EXPECT_TRUE(::IsWindow(dialog->GetSafeHwnd()));
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ(testkit::BeepCount(), bells + 2);
    EXPECT_EQ(apply->m_log.GetCount(), lines + 1);
    EXPECT_EQ(lastLine(), told);
    apply->SetBusy(FALSE);
  }
  EXPECT_FALSE(dialog->IsBusy());
}

// Not busy, nothing is asked.
TEST_F(MainWindow, ClosingWhenIdleAsksNothing) {
  Press(IDC_MAIN_CREATE);
  Boxes boxes;
  dialog->SendMessage(WM_CLOSE);
  testkit::PumpPending();
  EXPECT_TRUE(boxes.texts.empty());
}

// Busy, every button that takes no input looks disabled; afterwards each has
// the state the flow gives it, including a change the flow made meanwhile.
TEST_F(MainWindow, ButtonsLookDisabledWhileBusyAndComeBackAfter) {
  Press(IDC_MAIN_CREATE);
  CWizardFrame* create = Frame(CMainDlg::kCreateFlow);
  ASSERT_EQ(create->CurrentIndex(), kCreateGroupName);
  create->EnableBack(FALSE);
  EXPECT_TRUE(create->m_btnNext.IsWindowEnabled());

  create->EnableWithParent(FALSE);
  for (CWnd* button : FlowButtons()) EXPECT_FALSE(button->IsWindowEnabled()) << button->GetDlgCtrlID();
  for (CWnd* button : FrameButtons(create)) EXPECT_FALSE(button->IsWindowEnabled()) << button->GetDlgCtrlID();
  create->EnableBack(TRUE);
  EXPECT_FALSE(create->m_btnBack.IsWindowEnabled());
  create->EnableWithParent(TRUE);
  for (CWnd* button : FlowButtons()) EXPECT_TRUE(button->IsWindowEnabled()) << button->GetDlgCtrlID();
  for (CWnd* button : FrameButtons(create)) EXPECT_TRUE(button->IsWindowEnabled()) << button->GetDlgCtrlID();
  EXPECT_TRUE(dialog->IsWindowEnabled());
}

// A real scan: disabled from its start to its end.
TEST_F(MainWindow, AScanDisablesTheButtonsUntilItEnds) {
  CScanPage* scan = StartStatusScan();
  CWizardFrame* status = Frame(CMainDlg::kStatusFlow);
  ASSERT_NE(scan, nullptr);
  ASSERT_TRUE(scan->IsScanning());
  Repaint();
  EXPECT_TRUE(testkit::CaptureWindowPng(dialog->GetSafeHwnd(), ShotPath("main_window_busy_scan")));
  EXPECT_FALSE(status->m_btnNext.IsWindowEnabled());
  EXPECT_FALSE(status->m_btnCancel.IsWindowEnabled());
  EXPECT_FALSE(dialog->m_btnCreate.IsWindowEnabled());
  ASSERT_TRUE(testkit::PumpUntil([&] { return !scan->IsScanning(); }, 60000));
  EXPECT_TRUE(status->m_btnNext.IsWindowEnabled());
  EXPECT_TRUE(status->m_btnCancel.IsWindowEnabled());
  EXPECT_TRUE(dialog->m_btnCreate.IsWindowEnabled());
  testkit::SetClockScale(1);
}

// The About box: skinned, its lines clear of the OK button and wide and
// high enough for their texts, OK focused at once so that Escape closes it.
TEST_F(MainWindow, AboutBoxIsLaidOutAndTakesTheFocus) {
  bool focusOnOk = false;
  std::vector<std::string> problems;
  testkit::ModalHandler look([&](HWND about) {
    HWND ok = ::GetDlgItem(about, IDOK);
    focusOnOk = ok && ::GetFocus() == ok;
    RECT okRect;
    ::GetWindowRect(ok, &okRect);
    for (int id : {IDC_ABOUT_NAME, IDC_ABOUT_PURPOSE}) {
      HWND line = ::GetDlgItem(about, id);
      if (!line) {
        problems.push_back("no line " + std::to_string(id));
        continue;
      }
      RECT lineRect, overlap;
      ::GetWindowRect(line, &lineRect);
      if (::IntersectRect(&overlap, &lineRect, &okRect)) problems.push_back(WindowText(line) + ": under the OK button");
      HDC dc = ::GetDC(line);
      HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(line, WM_GETFONT, 0, 0)));
      const std::string text = WindowText(line);
      SIZE extent{};
      ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
      ::SelectObject(dc, old);
      ::ReleaseDC(line, dc);
      RECT client;
      ::GetClientRect(line, &client);
      if (extent.cx > client.right || extent.cy > client.bottom) problems.push_back(text + ": cut");
    }
    ::RedrawWindow(about, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testkit::PumpPending();
    EXPECT_TRUE(testkit::CaptureWindowPng(about, ShotPath("main_window_about")));
    testkit::PressKey(VK_ESCAPE);
  });
  CAboutDlg about;
  EXPECT_EQ(about.DoModal(), IDCANCEL);
  EXPECT_TRUE(focusOnOk);
  EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
}

// The About box stands on the skin's dialog face, as the main dialog does,
// not on the plain window colour.
TEST_F(MainWindow, AboutBoxIsSkinned) {
  uint32_t aboutFace = 0;
  testkit::ModalHandler look([&](HWND about) {
    ::RedrawWindow(about, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testkit::PumpPending();
    RECT client;
    ::GetClientRect(about, &client);
    POINT corner{client.right - 3, client.bottom - 3};
    ::ClientToScreen(about, &corner);
    RECT window;
    ::GetWindowRect(about, &window);
    aboutFace = testkit::WindowPixel(about, corner.x - window.left, corner.y - window.top);
    testkit::Answer(about, IDOK);
  });
  CAboutDlg about;
  about.DoModal();
  RECT client;
  dialog->GetClientRect(&client);
  POINT corner{client.right - 3, client.bottom - 3};
  dialog->ClientToScreen(&corner);
  RECT window;
  dialog->GetWindowRect(&window);
  EXPECT_EQ(aboutFace, testkit::WindowPixel(dialog->GetSafeHwnd(), corner.x - window.left, corner.y - window.top));
  EXPECT_NE(aboutFace, static_cast<uint32_t>(::GetSysColor(COLOR_BTNFACE) & 0xFFFFFF));
}

// After Cancel or Finish the welcome panel shows where the frame's buttons
// stood, pixel for pixel as before the frame was first shown.
TEST_F(MainWindow, NoButtonIsLeftOnTheWelcomePanel) {
  CWizardFrame* create = Frame(CMainDlg::kCreateFlow);
  std::vector<RECT> places;
  Press(IDC_MAIN_CREATE);
  for (CWnd* button : FrameButtons(create)) {
    RECT r;
    button->GetWindowRect(&r);
    RECT window;
    dialog->GetWindowRect(&window);
    ::OffsetRect(&r, -window.left, -window.top);
    places.push_back(r);
  }
  create->Close();
  Repaint();
  std::vector<uint32_t> before;
  for (const RECT& r : places)
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) before.push_back(testkit::WindowPixel(dialog->GetSafeHwnd(), x, y));

  for (int id : {IDC_WIZ_CANCEL, IDC_WIZ_FINISH}) {
    Press(IDC_MAIN_CREATE);
    if (id == IDC_WIZ_FINISH) create->ShowButtons(TRUE);
    create->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    // Only what the hide itself asks to be painted, no full repaint.
    testkit::PumpPending();
    testkit::PumpPending();
    std::vector<uint32_t> after;
    for (const RECT& r : places)
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) after.push_back(testkit::WindowPixel(dialog->GetSafeHwnd(), x, y));
    EXPECT_TRUE(after == before) << id;
    EXPECT_TRUE(testkit::CaptureWindowPng(dialog->GetSafeHwnd(), ShotPath("main_window_after_" + std::to_string(id))));
  }
}

}  // namespace

namespace {

// The whole dialog as it stands after only the paints that were asked for,
// against the same dialog painted afresh: a difference is a left-over.
std::vector<uint32_t> Pixels(HWND hwnd) {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  std::vector<uint32_t> pixels;
  for (int y = 0; y < r.bottom - r.top; ++y)
    for (int x = 0; x < r.right - r.left; ++x) pixels.push_back(testkit::WindowPixel(hwnd, x, y));
  return pixels;
}

// Where two captures of one window differ: "" when nowhere, else the box.
std::string Difference(HWND hwnd, const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  const int width = r.right - r.left;
  RECT box{1 << 20, 1 << 20, -1, -1};
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i] == b[i]) continue;
    const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
    box = RECT{std::min<int>(box.left, x), std::min<int>(box.top, y), std::max<int>(box.right, x + 1),
               std::max<int>(box.bottom, y + 1)};
  }
  if (box.right < 0) return "";
  return "pixels differ in " + std::to_string(box.left) + "," + std::to_string(box.top) + " - " +
         std::to_string(box.right) + "," + std::to_string(box.bottom);
}

// The status list shows only itself: nothing of another list beside it.
TEST_F(MainWindow, StatusListLeavesNothingBesideIt) {
  CScanPage* scan = StartStatusScan();
  CWizardFrame* status = Frame(CMainDlg::kStatusFlow);
  ASSERT_NE(scan, nullptr);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !scan->IsScanning(); }, 60000));
  testkit::SetClockScale(1);
  // What a scan of one group would have found.
  for (int i = 0; i < 3; ++i) {
    auto* r = new CDeviceRecord;
    r->m_strGroupName = "Lobby";
    r->m_strRole = i == 0 ? "Master" : "Slave";
    r->m_strIp.Format("10.250.0.%d", 21 + i);
    r->m_strMac.Format("000D88A0002%d", i);
    r->m_nConfirmed = 1;
    scan->m_groupList.AddTail(r);
  }
  scan->m_nNoResult = 0;
  status->OnNext();
  ASSERT_EQ(status->CurrentIndex(), kStatusList);
  testkit::PumpPending();
  testkit::PumpPending();
  const std::vector<uint32_t> asPainted = Pixels(dialog->GetSafeHwnd());
  EXPECT_TRUE(testkit::CaptureWindowPng(dialog->GetSafeHwnd(), ShotPath("main_window_status_list")));
  Repaint();
  EXPECT_EQ(Difference(dialog->GetSafeHwnd(), asPainted, Pixels(dialog->GetSafeHwnd())), "");
}

}  // namespace

namespace {

// The apply run of the create flow, its SNMP chain about to ask the first
// of two members, when the dialog goes (the window closed by force, the
// session ended): the chain's queued step still runs in the pumps of the
// dialog's destruction, and must not reach a device. Two members whose SNMP
// is on already, as the QUAV phase leaves them.
TEST_F(MainWindow, ADialogThatGoesMidRunSendsNothingMoreToTheDevices) {
  const std::string member = "snmp_status = 1\nread_community = quorin\nwrite_community = velmont\n";
  ApsimHarness sim(dir, "[device]\nmac = 000D88C00001\nip = 10.250.0.21\n" + member +
                            "[device]\nmac = 000D88C00002\nip = 10.250.0.22\n" + member);
  ASSERT_TRUE(sim.Ready()) << sim.Errors();
  Press(IDC_MAIN_CREATE);
  auto* apply = dynamic_cast<CApplyPage*>(Frame(CMainDlg::kCreateFlow)->Page(kCreateFirstApply));
  ASSERT_NE(apply, nullptr);
  const char* const macs[] = {"000D88C00001", "000D88C00002"};
  CPtrList records;  // the test's: pages only point at them
  for (int i = 0; i < 2; ++i) {
    auto* r = new CDeviceRecord;
    r->m_strMac = macs[i];
    r->m_strIp.Format("10.250.0.%d", 21 + i);
    r->m_strRole = i == 0 ? "Master" : "Slave";
    r->m_strReadCommunity = "quorin";
    r->m_strWriteCommunity = "velmont";
    r->m_strSnmpStatus = "1";
    r->m_strGroupName = "Lobby";
    r->m_strGroupPassword = "grouppass";
    records.AddTail(r);
  }
  CWizardFrame::CopyRecordList(apply->m_groupList, records);
  apply->FillStore();
  apply->SetBusy(TRUE);
  apply->m_nCurrentDevice = 0;
  apply->PostMessage(WM_APPLY_NEXTDEVICE);

  dialog.Close();
  CWizardPage::FreeRecordList(&records);
  testkit::PumpFor(3000);
  // Any request would have been answered by now.
  EXPECT_TRUE(sim.Log().find("snmp ") == std::string::npos) << sim.Log();
}

}  // namespace

namespace {

// A failure of the QUAV library comes in the skinned box: a socket failure
// says that the network could not be used and what the library said; any
// other failure is shown as the library words it.
TEST_F(MainWindow, QUAVFailuresAreShownInTheSkinnedBox) {
  const struct {
    int code;
    const char* library;  // the text as thrown
    const char* shown;    // the library's part as the box shows it
    bool network;
  } failures[] = {
      {QUAV_SOCKET_ERROR, "(VhQUAV) Socket read/write error", "Socket read/write error", true},
      {QUAV_SOCKET_NOT_READY, "(VhQUAV) Socket not ready!Please check if the network is ready.",
       "Socket not ready!Please check if the network is ready.", true},
      {QUAV_BAD_MAC, "(VhQUAV) Bad MAC address!", "Bad MAC address!", false},
  };
  const std::string format(theApp.Text("IDS_MSG_NETWORK_FAIL"));
  ASSERT_NE(format.find("%s"), std::string::npos);
  for (const auto& f : failures) {
    Boxes boxes;
    EXPECT_EQ(std::string(ShowQUAVFailure(new CVHException(f.library, f.code))), f.shown);
    std::string expected = f.shown;
    if (f.network) expected = format.substr(0, format.find("%s")) + f.shown + format.substr(format.find("%s") + 2);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{expected}) << f.code;
  }
}

}  // namespace

namespace {

// A start that cannot go on (here another copy of the program holds UDP
// 55000) says so in the program's skinned, titled box, in the language
// file's words, and ends with a status that is not 0; the library's own
// words go to standard error.
TEST(ProgramStart, APortTakenIsSaidInTheSkinnedBoxAndTheStartEnds) {
  ASSERT_STREQ(std::getenv("TRELLIAN_NETNS"), "inside") << "run through tools/netns-run";
  testkit::SetProgramPath(BinaryDir() + "/bin/Trellian");
  CDiscoveryTask otherCopy(CDiscoveryTask::kListen);
  std::vector<std::string> texts, titles;
  uint32_t caption = 0;
  testkit::ModalHandler look([&](HWND box) {
    texts.push_back(WindowText(::GetDlgItem(box, IDC_MSGBOX_TEXT)));
    titles.push_back(WindowText(box));
    RECT window;
    ::GetWindowRect(box, &window);
    // Above the title's letters, clear of the close box.
    caption = testkit::WindowPixel(box, (window.right - window.left) * 3 / 5, ::GetSystemMetrics(SM_CYFRAME) + 2);
    testkit::Answer(box, ::GetDlgItem(box, IDC_MSGBOX_SINGLE_OK) ? IDC_MSGBOX_SINGLE_OK : IDOK);
  });
  testing::internal::CaptureStderr();
  EXPECT_FALSE(theApp.InitInstance());
  const std::string said = testing::internal::GetCapturedStderr();

  EXPECT_EQ(texts, std::vector<std::string>{std::string(theApp.Text("IDS_MSG_START_LISTEN"))});
  EXPECT_FALSE(texts.empty() || texts[0].empty());
  EXPECT_EQ(titles, std::vector<std::string>{"AP Vezovi Tool"});
  EXPECT_NE(caption, static_cast<uint32_t>(::GetSysColor(COLOR_ACTIVECAPTION) & 0xFFFFFF)) << "the box is not skinned";
  EXPECT_NE(said.find("(VhQUAV)"), std::string::npos) << said;
  EXPECT_EQ(theApp.m_pMainWnd, nullptr);
  EXPECT_EQ(theApp.ExitInstance(), 1);
  testkit::ResetWindows();
  testkit::SetProgramPath("");
}

}  // namespace
