// The dialog manager through dialogs nested as the wizard nests them: a main
// dialog holding a frame (a child dialog that is a control of it) holding a
// page. Tab walks all of them as one order, Enter and Escape go to the
// innermost dialog around the focus, mnemonics reach across the nesting, a
// page that comes up takes the focus, and no key or click reaches a window
// that is disabled or lies inside a disabled one.

#include <string>
#include <vector>

#include "Resource.h"
#include "dlg_fixture.h"

namespace {

constexpr int kCreate = 101, kModify = 102;  // the main dialog's IDCANCEL is its Exit
constexpr int kBack = 201, kNext = 202, kFrameCancel = 203;
constexpr int kLabel = 300, kName = 301, kRemember = 302;
constexpr int kOther = 401;

struct Heard {
  HWND dialog;
  int id;
};
std::vector<Heard>& HeardCommands() {
  static std::vector<Heard> v;
  return v;
}

// Every dialog of the nest records its commands; the frame and the page
// answer Enter and Escape by doing nothing, as the wizard's do.
INT_PTR CALLBACK NestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    HeardCommands().push_back(Heard{hwnd, LOWORD(wParam)});
    return TRUE;
  }
  return FALSE;
}

// A page that places the focus itself, and so returns FALSE.
INT_PTR CALLBACK OwnFocusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) return FALSE;
  return NestProc(hwnd, msg, wParam, lParam);
}

DialogTemplate ChildTemplate(std::vector<DialogItemTemplate> items, int x, int y, int cx, int cy) {
  DialogTemplate t;
  t.style = WS_CHILD | DS_CONTROL | DS_SETFONT | WS_VISIBLE;
  t.x = x;
  t.y = y;
  t.cx = cx;
  t.cy = cy;
  t.fontFace = "MS Sans Serif";
  t.pointSize = 8;
  t.items = std::move(items);
  return t;
}

}  // namespace

class NestedDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    HeardCommands().clear();
    DialogTemplate mainTpl = Template({rc::PushButton("&Create", kCreate, 5, 5, 50, 14),
                                       rc::PushButton("&Modify", kModify, 5, 22, 50, 14),
                                       rc::PushButton("E&xit", IDCANCEL, 5, 39, 50, 14)},
                                      300, 200);
    mainTpl.style |= WS_VISIBLE;
    main_ = CreateDialogIndirectParamA(nullptr, &mainTpl, nullptr, NestProc, 0);
    ASSERT_NE(main_, nullptr);
    dialog_ = main_;
    DialogTemplate frameTpl = ChildTemplate({rc::PushButton("&Back", kBack, 5, 150, 40, 14),
                                             rc::PushButton("&Next", kNext, 50, 150, 40, 14),
                                             rc::PushButton("Cancel", kFrameCancel, 95, 150, 40, 14)},
                                            60, 5, 230, 170);
    frame_ = CreateDialogIndirectParamA(nullptr, &frameTpl, main_, NestProc, 0);
    DialogTemplate pageTpl = ChildTemplate({rc::LText("Gr&oup name:", kLabel, 5, 5, 40, 10),
                                            rc::EditText(kName, 50, 5, 100, 12, WS_TABSTOP),
                                            rc::AutoCheckBox("&Remember", kRemember, 5, 25, 80, 12, WS_TABSTOP)},
                                           5, 5, 200, 130);
    page_ = CreateDialogIndirectParamA(nullptr, &pageTpl, frame_, NestProc, 0);
    ASSERT_TRUE(frame_ && page_);
    SetActiveWindow(main_);
    Pump();
  }
  void TearDown() override {
    HeardCommands().clear();
    DialogTest::TearDown();
  }

  HWND Ctl(int id) const {
    for (HWND d : {main_, frame_, page_})
      if (HWND c = GetDlgItem(d, id)) return c;
    return nullptr;
  }
  // Keys with Shift held where asked.
  void PressWith(UINT modifier, UINT vk) {
    testkit::KeyDown(modifier);
    testkit::PressKey(vk);
    testkit::KeyUp(modifier);
    Pump();
  }
  std::string Name(HWND hwnd) const {
    for (int id : {kCreate, kModify, IDCANCEL, kBack, kNext, kFrameCancel, kName, kRemember, kOther})
      if (Ctl(id) == hwnd) return std::to_string(id);
    return hwnd == main_ ? "main" : hwnd == frame_ ? "frame" : hwnd == page_ ? "page" : "?";
  }

  HWND main_ = nullptr, frame_ = nullptr, page_ = nullptr;
};

TEST_F(NestedDialogTest, TabAndShiftTabWalkTheMainDialogTheFrameAndThePageAsOneOrder) {
  // The main dialog's buttons, then the frame's, then the page's controls
  // (each child dialog's controls come where the child stands among its
  // siblings); the label takes no focus.
  const std::vector<int> order = {kCreate, kModify, IDCANCEL, kBack, kNext, kFrameCancel, kName, kRemember};
  for (bool back : {false, true}) {
    SCOPED_TRACE(back ? "Shift+Tab" : "Tab");
    SetFocus(Ctl(kCreate));
    std::vector<std::string> seen, expected;
    for (size_t i = 1; i <= order.size(); ++i) {
      if (back)
        PressWith(VK_SHIFT, VK_TAB);
      else
        Press(VK_TAB);
      seen.push_back(Name(GetFocus()));
      expected.push_back(std::to_string(order[(back ? order.size() - i : i) % order.size()]));
    }
    EXPECT_EQ(seen, expected);
  }
  // Tab into an edit selects its text, as the dialog manager does.
  SetWindowTextA(Ctl(kName), "Group");
  SetFocus(Ctl(kFrameCancel));
  Press(VK_TAB);
  ASSERT_EQ(GetFocus(), Ctl(kName));
  DWORD start = 0, end = 0;
  SendMessageA(Ctl(kName), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 5u);
}

TEST_F(NestedDialogTest, EnterAndEscapeGoToTheInnermostDialogAroundTheFocus) {
  struct Case {
    const char* what;
    int focus;
    UINT key;
    const char* dialog;  // which dialog hears the command
    int id;
  } cases[] = {
      {"Escape in the page's edit", kName, VK_ESCAPE, "page", IDCANCEL},
      {"Enter in the page's edit", kName, VK_RETURN, "page", IDOK},
      {"Enter on the page's check box", kRemember, VK_RETURN, "page", IDOK},
      {"Escape on the frame's Back", kBack, VK_ESCAPE, "frame", IDCANCEL},
      {"Enter on the frame's Next", kNext, VK_RETURN, "frame", kNext},
      {"Escape on the main dialog's button", kCreate, VK_ESCAPE, "main", IDCANCEL},
      {"Enter on the main dialog's button", kModify, VK_RETURN, "main", kModify},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HeardCommands().clear();
    SetFocus(Ctl(c.focus));
    Press(c.key);
    ASSERT_EQ(HeardCommands().size(), 1u);
    EXPECT_EQ(Name(HeardCommands()[0].dialog), c.dialog);
    EXPECT_EQ(HeardCommands()[0].id, c.id);
    EXPECT_TRUE(IsWindow(main_));
  }
}

TEST_F(NestedDialogTest, MnemonicsReachControlsOfTheNestedDialogs) {
  struct Case {
    const char* what;
    int focus;
    bool alt;
    char letter;
    int focusAfter;
    int clicked;  // 0: nothing clicked
  } cases[] = {
      {"Alt+O: the label gives the focus to the edit after it", kCreate, true, 'O', kName, 0},
      {"Alt+R: the check box is pressed", kName, true, 'R', kRemember, kRemember},
      {"Alt+B: the frame's Back is pressed", kName, true, 'B', kName, kBack},
      {"R on a button needs no Alt", kModify, false, 'R', kRemember, kRemember},
      {"Alt+X: the main dialog's Exit", kName, true, 'X', kName, IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HeardCommands().clear();
    SetFocus(Ctl(c.focus));
    if (c.alt)
      PressWith(VK_MENU, static_cast<UINT>(c.letter));
    else
      Press(static_cast<UINT>(c.letter));
    EXPECT_EQ(Name(GetFocus()), std::to_string(c.focusAfter));
    std::vector<int> clicked;
    for (const Heard& h : HeardCommands()) clicked.push_back(h.id);
    EXPECT_EQ(clicked, c.clicked ? std::vector<int>{c.clicked} : std::vector<int>{});
  }
  // A letter typed into the edit is text, not a mnemonic.
  SetWindowTextA(Ctl(kName), "");
  SetFocus(Ctl(kName));
  Type("or");
  EXPECT_EQ(WindowText(Ctl(kName)), "or");
  EXPECT_EQ(GetFocus(), Ctl(kName));
}

TEST_F(NestedDialogTest, APageThatComesUpTakesTheFocusToItsFirstTabStop) {
  DialogTemplate tpl = ChildTemplate({rc::EditText(kOther, 5, 5, 100, 12, WS_TABSTOP)}, 5, 5, 200, 130);
  tpl.style &= ~WS_VISIBLE;
  struct Case {
    const char* what;
    DLGPROC proc;
    bool takesFocus;
  } cases[] = {
      {"a page that leaves the focus to the dialog manager", NestProc, true},
      {"a page that places the focus itself", OwnFocusProc, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND next = CreateDialogIndirectParamA(nullptr, &tpl, frame_, c.proc, 0);
    ASSERT_NE(next, nullptr);
    SetFocus(Ctl(kNext));
    ShowWindow(page_, SW_HIDE);
    // As the frame brings a page up: placed and shown in one call.
    SetWindowPos(next, nullptr, 10, 10, 300, 200, SWP_NOZORDER | SWP_SHOWWINDOW);
    Pump();
    EXPECT_EQ(GetFocus(), c.takesFocus ? GetDlgItem(next, kOther) : Ctl(kNext));
    DestroyWindow(next);
    ShowWindow(page_, SW_SHOW);
  }
  // A frame that comes up with its page inside it: the page's control, not the frame's buttons.
  ShowWindow(frame_, SW_HIDE);
  SetFocus(Ctl(kCreate));
  SetWindowPos(frame_, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  Pump();
  EXPECT_EQ(Name(GetFocus()), std::to_string(kName));
  // Not while the window is disabled (a busy wizard): the focus stays out.
  HWND next = CreateDialogIndirectParamA(nullptr, &tpl, frame_, NestProc, 0);
  SetFocus(nullptr);
  EnableWindow(main_, FALSE);
  SetWindowPos(next, nullptr, 10, 10, 300, 200, SWP_NOZORDER | SWP_SHOWWINDOW);
  Pump();
  EXPECT_EQ(GetFocus(), nullptr);
  EnableWindow(main_, TRUE);
}

TEST_F(NestedDialogTest, NoInputReachesADisabledWindowOrAWindowInsideOne) {
  struct Case {
    const char* what;
    int disabled;  // 0 main, 1 frame, 2 page
    int focus;
    int button;  // a button of the disabled dialog itself
  } cases[] = {
      {"the main dialog disabled (a busy wizard)", 0, kName, kCreate},
      {"the frame disabled", 1, kName, kBack},
      {"the page disabled", 2, kName, kRemember},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const HWND nest[] = {main_, frame_, page_};
    HWND disabled = nest[c.disabled];
    HeardCommands().clear();
    SetWindowTextA(Ctl(kName), "");
    SetFocus(Ctl(c.focus));
    EnableWindow(disabled, FALSE);
    testkit::MessageSpy spy;
    for (UINT vk : {static_cast<UINT>(VK_ESCAPE), static_cast<UINT>(VK_RETURN), static_cast<UINT>('A'),
                    static_cast<UINT>(VK_TAB)})
      testkit::PressKey(vk);
    // Alt+F4 closes the active window wherever the focus is, unless that window is the disabled one.
    if (disabled == main_) PressWith(VK_MENU, VK_F4);
    Pump();
    testkit::Click(Ctl(kRemember), POINT{3, 3});
    testkit::Click(Ctl(c.button), POINT{3, 3});
    Pump();
    for (const Heard& h : HeardCommands()) ADD_FAILURE() << Name(h.dialog) << " heard " << h.id;
    EXPECT_EQ(WindowText(Ctl(kName)), "");
    EXPECT_EQ(IsDlgButtonChecked(page_, kRemember), 0u);
    for (const auto& m : spy.messages) {
      bool input = (m.msg >= WM_KEYFIRST && m.msg <= WM_KEYLAST) || m.msg == WM_SYSCOMMAND;
      HWND w = m.hwnd;
      bool inside = w == disabled || IsChild(disabled, w);
      EXPECT_FALSE(input && inside) << "message " << m.msg << " to " << Name(w);
    }
    EnableWindow(disabled, TRUE);
    Pump();
  }
}

TEST_F(NestedDialogTest, APressOnAWindowKeptDisabledByAPopupBringsThePopupUp) {
  DialogTemplate boxTpl = Template({rc::PushButton("OK", IDOK, 5, 5, 40, 14)}, 100, 40);
  boxTpl.x = 200;
  boxTpl.y = 200;
  boxTpl.style |= WS_VISIBLE;
  HWND box = CreateDialogIndirectParamA(nullptr, &boxTpl, main_, NestProc, 0);
  ASSERT_NE(box, nullptr);
  EnableWindow(main_, FALSE);
  SetActiveWindow(nullptr);
  Pump();
  testkit::Click(Ctl(kCreate), POINT{3, 3});
  Pump();
  EXPECT_EQ(GetActiveWindow(), box);
  EXPECT_TRUE(HeardCommands().empty());
  EnableWindow(main_, TRUE);
  DestroyWindow(box);
}
