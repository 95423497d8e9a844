// The dialog manager: templates in dialog units, initial focus, keyboard
// navigation, the default button, Escape and WM_CLOSE, modal dialogs
// answered by the test kit, colours and capture.

#include <sys/stat.h>

#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "dlg_fixture.h"
#include "UiPlatform.h"

namespace {

enum { kName = 100, kPort = 101, kApply = 102, kLabel = 103, kSecond = 104 };

DialogTemplate Form() {
  return Template({
      rc::LText("Name:", kLabel, 7, 9, 40, 8),
      rc::EditText(kName, 50, 7, 90, 14, ES_AUTOHSCROLL),
      rc::EditText(kPort, 50, 25, 40, 14, ES_NUMBER),
      rc::PushButton("Apply", kApply, 7, 99, 50, 14),
      rc::DefPushButton("OK", IDOK, 86, 99, 50, 14),
      rc::PushButton("Cancel", IDCANCEL, 143, 99, 50, 14),
  });
}

TEST(DialogUnits, MapDialogRectUsesTheFixedBaseUnits) {
  struct Case {
    RECT du, px;
  } cases[] = {
      {{0, 0, 4, 8}, {0, 0, 6, 13}},
      {{7, 7, 57, 21}, {11, 11, 86, 34}},  // 10.5 and 11.4 round to 11
      {{200, 120, 200, 120}, {300, 195, 300, 195}},
      {{-4, -8, 0, 0}, {-6, -13, 0, 0}},
  };
  for (const Case& c : cases) {
    RECT r = c.du;
    EXPECT_TRUE(MapDialogRect(nullptr, &r));
    EXPECT_EQ(r.left, c.px.left);
    EXPECT_EQ(r.top, c.px.top);
    EXPECT_EQ(r.right, c.px.right);
    EXPECT_EQ(r.bottom, c.px.bottom);
  }
  EXPECT_EQ(LOWORD(GetDialogBaseUnits()), 6);
  EXPECT_EQ(HIWORD(GetDialogBaseUnits()), 13);
}

TEST_F(DialogTest, TemplateLaysOutControlsInDialogUnits) {
  HWND dlg = Open(Form());
  RECT client;
  GetClientRect(dlg, &client);
  EXPECT_EQ(client.right, 300);  // 200 units wide
  EXPECT_EQ(client.bottom, 195);  // 120 units high
  for (int id : std::vector<int>{kLabel, kName, kPort, kApply, IDOK, IDCANCEL}) {
    SCOPED_TRACE(id);
    HWND c = GetDlgItem(dlg, id);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(GetParent(c), dlg);
    EXPECT_TRUE(IsWindowVisible(c));
  }
  RECT ok = ChildRect(dlg, IDOK);
  RECT want{86, 99, 136, 113};
  MapDialogRect(dlg, &want);
  EXPECT_EQ(ok.left, want.left);
  EXPECT_EQ(ok.top, want.top);
  EXPECT_EQ(ok.right, want.right);
  EXPECT_EQ(ok.bottom, want.bottom);
  // The template's font went to the dialog and to each control.
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(dlg, WM_GETFONT, 0, 0));
  EXPECT_NE(font, nullptr);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(dlg, kName, WM_GETFONT, 0, 0)), font);
  EXPECT_EQ(WindowText(GetDlgItem(dlg, kLabel)), "Name:");
}

TEST_F(DialogTest, InitialFocusIsTheFirstTabStopWithItsTextSelected) {
  DialogTemplate tpl = Form();
  tpl.items[1].text = "router";
  HWND dlg = Open(tpl);
  EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kName));
  DWORD start = 1, end = 0;
  SendDlgItemMessageA(dlg, kName, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 6u);
}

TEST_F(DialogTest, InitDialogReturningFalseLeavesTheFocusAlone) {
  Hook() = [](HWND hwnd, UINT msg, WPARAM, LPARAM) -> INT_PTR {
    if (msg != WM_INITDIALOG) return FALSE;
    SetFocus(GetDlgItem(hwnd, kPort));
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 0);
    return FALSE;
  };
  DialogTemplate tpl = Form();
  HWND dlg = CreateDialogIndirectParamA(nullptr, &tpl, nullptr, Proc, 0);
  dialog_ = dlg;
  ShowWindow(dlg, SW_SHOW);
  Pump();
  EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kPort));
}

TEST_F(DialogTest, TabAndShiftTabWalkTheTabStopsAndWrap) {
  HWND dlg = Open(Form());
  const int order[] = {kPort, kApply, IDOK, IDCANCEL, kName, kPort};
  for (int id : order) {
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, id)) << "expected " << id;
  }
  testkit::KeyDown(VK_SHIFT);
  Press(VK_TAB);
  testkit::KeyUp(VK_SHIFT);
  Pump();
  EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kName));
  // Disabled and hidden controls are skipped.
  EnableWindow(GetDlgItem(dlg, kApply), FALSE);
  ShowWindow(GetDlgItem(dlg, IDOK), SW_HIDE);
  Press(VK_TAB);
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDCANCEL));
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonOrTheFocusedPushButton) {
  struct Case {
    int focus;
    int defId;  // 0: the template's default
    int pressed;
  } cases[] = {
      {kName, 0, IDOK},          // the BS_DEFPUSHBUTTON
      {kName, kApply, kApply},   // DM_SETDEFID moved it
      {IDCANCEL, 0, IDCANCEL},   // a focused push button answers for itself
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pressed);
    Commands().clear();
    HWND dlg = Open(Form());
    if (c.defId) {
      SendMessageA(dlg, DM_SETDEFID, c.defId, 0);
      EXPECT_EQ(LOWORD(SendMessageA(dlg, DM_GETDEFID, 0, 0)), c.defId);
      EXPECT_EQ(HIWORD(SendMessageA(dlg, DM_GETDEFID, 0, 0)), DC_HASDEFID);
      EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    }
    SetFocus(GetDlgItem(dlg, c.focus));
    Press(VK_RETURN);
    int clicks = 0;
    for (const Command& k : Commands()) clicks += k.code == BN_CLICKED;
    EXPECT_EQ(Count(c.pressed, BN_CLICKED), 1);
    EXPECT_EQ(clicks, 1);
    DestroyWindow(dlg);
  }
}

TEST_F(DialogTest, TheDefaultLookFollowsTheFocusAmongPushButtons) {
  struct Step {
    int focus;
    int looksDefault;
  } steps[] = {
      {kName, IDOK},
      {kApply, kApply},       // a focused push button is the default while it has the focus
      {IDCANCEL, IDCANCEL},   // and hands it on to the next
      {kPort, IDOK},          // leaving the push buttons gives it back
      {IDOK, IDOK},
      {kName, IDOK},
  };
  HWND dlg = Open(Form());
  for (const Step& s : steps) {
    SCOPED_TRACE(s.focus);
    SetFocus(GetDlgItem(dlg, s.focus));
    Pump();
    for (int id : {int{kApply}, IDOK, IDCANCEL}) {
      DWORD style = static_cast<DWORD>(GetWindowLongA(GetDlgItem(dlg, id), GWL_STYLE));
      EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(id == s.looksDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)) << id;
      EXPECT_TRUE(style & WS_TABSTOP);  // the rest of the style stays
    }
    EXPECT_EQ(LOWORD(SendMessageA(dlg, DM_GETDEFID, 0, 0)), IDOK);
  }
  // A click focuses the button the same way.
  testkit::Click(GetDlgItem(dlg, kApply), POINT{5, 5});
  Pump();
  EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, kApply), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

TEST_F(DialogTest, BorderedControlsOfATemplateGetASunkenEdge) {
  struct Case {
    DialogItemTemplate item;
    bool sunken;
  } cases[] = {
      {rc::EditText(kName, 5, 5, 80, 14), true},
      {rc::ListBox(kName, 5, 5, 80, 40), true},
      {rc::LText("plain", kName, 5, 5, 80, 10), false},
      {rc::LText("framed", kName, 5, 5, 80, 10, WS_BORDER), true},
      {rc::PushButton("push", kName, 5, 5, 80, 14), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item.className + " " + c.item.text);
    HWND dlg = Open(Template({c.item}));
    HWND ctl = GetDlgItem(dlg, kName);
    EXPECT_EQ((GetWindowLongA(ctl, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0, c.sunken);
    EXPECT_EQ(GetWindowLongA(ctl, GWL_STYLE) & WS_BORDER, 0);
    RECT window, client;
    GetWindowRect(ctl, &window);
    GetClientRect(ctl, &client);
    int edge = c.sunken ? 2 * GetSystemMetrics(SM_CXEDGE) : 0;
    EXPECT_EQ(client.right, window.right - window.left - edge);
    if (c.sunken) {
      UpdateWindow(dlg);
      RECT onDialog = window;
      MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&onDialog), 2);
      POINT origin{0, 0};
      ClientToScreen(dlg, &origin);
      RECT dw;
      GetWindowRect(dlg, &dw);
      int x = onDialog.left + origin.x - dw.left, y = onDialog.top + origin.y - dw.top;
      COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
      uint32_t want = (GetRValue(shadow) << 16) | (GetGValue(shadow) << 8) | GetBValue(shadow);
      EXPECT_EQ(testkit::WindowPixel(dlg, x, y), want);  // the outer top-left line of the sunken edge
    }
    DestroyWindow(dlg);
  }
}

TEST_F(DialogTest, EnterWithoutDefaultButtonSendsIdOk) {
  HWND dlg = Open(Template({rc::EditText(kName, 5, 5, 50, 14)}));
  EXPECT_EQ(SendMessageA(dlg, DM_GETDEFID, 0, 0), 0);
  Press(VK_RETURN);
  EXPECT_EQ(Count(IDOK, BN_CLICKED), 1);
}

TEST_F(DialogTest, EscapeAndCloseBothGiveIdCancel) {
  HWND dlg = Open(Form());
  Press(VK_ESCAPE);
  EXPECT_EQ(Count(IDCANCEL, BN_CLICKED), 1);
  INT_PTR result = 0;
  EXPECT_TRUE(PlatformDialogEnded(dlg, &result));
  EXPECT_EQ(result, IDCANCEL);

  Commands().clear();
  HWND other = Open(Form());
  SendMessageA(other, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_EQ(Count(IDCANCEL, BN_CLICKED), 1);
  // A disabled Cancel button keeps the dialog open.
  Commands().clear();
  HWND third = Open(Form());
  EnableWindow(GetDlgItem(third, IDCANCEL), FALSE);
  SendMessageA(third, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_EQ(Count(IDCANCEL, BN_CLICKED), 0);
  EXPECT_FALSE(PlatformDialogEnded(third, nullptr));
}

TEST_F(DialogTest, ModalDialogIsAnsweredThroughTheTestKit) {
  HWND owner = CreateWindowExA(0, DIALOG_CLASS_NAME, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
  HWND seen = nullptr;
  bool ownerDisabledMeanwhile = false;
  testkit::ModalHandler answer([&](HWND modal) {
    seen = modal;
    ownerDisabledMeanwhile = !IsWindowEnabled(owner);
    testkit::Answer(modal, IDOK);
  });
  DialogTemplate tpl = Form();
  INT_PTR r = DialogBoxIndirectParamA(nullptr, &tpl, owner, Proc, 0);
  EXPECT_EQ(r, IDOK);
  EXPECT_NE(seen, nullptr);
  EXPECT_FALSE(IsWindow(seen));  // gone once it returns
  EXPECT_TRUE(ownerDisabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(DialogTest, ModalDialogHandlesKeysThroughTheDialogManager) {
  testkit::ModalHandler answer([&](HWND) {
    testkit::TypeText("ab");
    testkit::PressKey(VK_ESCAPE);
  });
  DialogTemplate tpl = Form();
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, &tpl, nullptr, Proc, 0), IDCANCEL);
  EXPECT_EQ(Count(kName, EN_CHANGE), 2);
}

TEST_F(DialogTest, EndDialogInsideInitDialogNeverShowsTheDialog) {
  bool shown = false;
  testkit::ModalHandler watch([&](HWND) { shown = true; });
  Hook() = [](HWND hwnd, UINT msg, WPARAM, LPARAM) -> INT_PTR {
    if (msg == WM_INITDIALOG) EndDialog(hwnd, 42);
    return FALSE;
  };
  DialogTemplate tpl = Form();
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, &tpl, nullptr, Proc, 0), 42);
  EXPECT_FALSE(shown);
}

TEST_F(DialogTest, UnknownTemplateOrControlClassFailsCleanly) {
  EXPECT_EQ(CreateDialogParamA(nullptr, MAKEINTRESOURCEA(9999), nullptr, Proc, 0), nullptr);
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(9999), nullptr, Proc, 0), -1);
  DialogTemplate bad = Template({rc::Control("", 1, "NoSuchControlClass", 0, 0, 0, 10, 10)});
  EXPECT_EQ(CreateDialogIndirectParamA(nullptr, &bad, nullptr, Proc, 0), nullptr);
}

TEST_F(DialogTest, RegisteredTemplatesAreFoundByIdAndName) {
  static const DialogTemplate tpl = Form();
  PlatformAddDialog(MAKEINTRESOURCEA(31001), &tpl);
  PlatformAddDialog("NAMED_FORM", &tpl);
  for (LPCSTR name : std::vector<LPCSTR>{MAKEINTRESOURCEA(31001), "NAMED_FORM"}) {
    HWND dlg = CreateDialogParamA(nullptr, name, nullptr, Proc, 0);
    ASSERT_NE(dlg, nullptr);
    EXPECT_NE(GetDlgItem(dlg, kName), nullptr);
    DestroyWindow(dlg);
  }
}

// Colours: the dialog asks itself for WM_CTLCOLORDLG; statics ask their
// parent for WM_CTLCOLORSTATIC, and a hollow brush leaves the dialog's
// background showing.
TEST_F(DialogTest, BackgroundsComeFromTheCtlColorAnswers) {
  static HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  static HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  Hook() = [](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
    if (msg == WM_CTLCOLORDLG) return reinterpret_cast<INT_PTR>(red);
    if (msg == WM_CTLCOLORSTATIC)
      return GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kLabel ? reinterpret_cast<INT_PTR>(green)
                                                                     : reinterpret_cast<INT_PTR>(GetStockObject(HOLLOW_BRUSH));
    return FALSE;
  };
  HWND dlg = Open(Template({rc::LText("", kLabel, 10, 10, 40, 10), rc::LText("", kSecond, 10, 40, 40, 10),
                            rc::AutoCheckBox("", kName, 10, 70, 40, 10)}));
  UpdateWindow(dlg);
  auto pixelIn = [&](int id) {
    RECT r = ChildRect(dlg, id);
    POINT pt{r.right - 2, r.bottom - 2};
    ClientToScreen(dlg, &pt);
    RECT wr;
    GetWindowRect(dlg, &wr);
    return testkit::WindowPixel(dlg, pt.x - wr.left, pt.y - wr.top);
  };
  EXPECT_EQ(pixelIn(kLabel), 0x00FF00u);
  EXPECT_EQ(pixelIn(kSecond), 0xFF0000u);  // hollow: the dialog's red shows through
  EXPECT_EQ(pixelIn(kName), 0xFF0000u);    // a check box asks for WM_CTLCOLORSTATIC too
}

// A check box or radio button over its parent's background (a hollow brush)
// inverts pixels for its focus outline: when the focus leaves, the parent
// paints beneath it again, and only the control that has the focus shows
// one, also after the dialog repaints.
TEST_F(DialogTest, HollowCheckBoxesAndRadiosTakeTheirFocusOutlineAlong) {
  static HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  Hook() = [](HWND, UINT msg, WPARAM, LPARAM) -> INT_PTR {
    if (msg == WM_CTLCOLORDLG) return reinterpret_cast<INT_PTR>(red);
    if (msg == WM_CTLCOLORSTATIC) return reinterpret_cast<INT_PTR>(GetStockObject(HOLLOW_BRUSH));
    return FALSE;
  };
  HWND dlg = Open(Template({rc::AutoCheckBox("Auto Channel Scan", kName, 10, 10, 100, 12, WS_TABSTOP),
                            rc::AutoRadioButton("Manual", kSecond, 10, 30, 60, 12, WS_GROUP | WS_TABSTOP),
                            rc::EditText(kPort, 10, 50, 60, 12, WS_GROUP | WS_TABSTOP)}));
  UpdateWindow(dlg);
  RECT wr;
  GetWindowRect(dlg, &wr);
  auto pixels = [&](int id) {
    RECT r = ChildRect(dlg, id);
    MapWindowPoints(dlg, nullptr, reinterpret_cast<POINT*>(&r), 2);
    std::vector<uint32_t> out;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) out.push_back(testkit::WindowPixel(dlg, x - wr.left, y - wr.top));
    return out;
  };
  SetFocus(GetDlgItem(dlg, kPort));
  Pump();
  UpdateWindow(dlg);
  const std::vector<uint32_t> plainCheck = pixels(kName), plainRadio = pixels(kSecond);
  for (int id : {kName, kSecond}) {
    SetFocus(GetDlgItem(dlg, id));
    Pump();
    UpdateWindow(dlg);
    EXPECT_NE(pixels(id), id == kName ? plainCheck : plainRadio) << id << ": no outline with the focus";
  }
  Press(VK_TAB);  // from the radio button on to the edit
  ASSERT_EQ(GetFocus(), GetDlgItem(dlg, kPort));
  UpdateWindow(dlg);
  EXPECT_EQ(pixels(kName), plainCheck);
  EXPECT_EQ(pixels(kSecond), plainRadio);
  RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(pixels(kName), plainCheck);
  EXPECT_EQ(pixels(kSecond), plainRadio);
}

TEST_F(DialogTest, StaticsAndGroupBoxesAreTransparentToTheMouse) {
  HWND dlg = Open(Template({rc::GroupBox("Group", 200, 5, 5, 150, 80), rc::LText("label", kLabel, 10, 20, 60, 10),
                            rc::LText("notify", kSecond, 10, 40, 60, 10, SS_NOTIFY),
                            rc::PushButton("B", kApply, 100, 20, 40, 14)}));
  auto at = [&](int id) {
    RECT r = ChildRect(dlg, id);
    POINT pt{r.left + 2, r.top + 2};
    ClientToScreen(dlg, &pt);
    return WindowFromPoint(pt);
  };
  EXPECT_EQ(at(kLabel), dlg);
  EXPECT_EQ(at(kSecond), GetDlgItem(dlg, kSecond));
  EXPECT_EQ(at(kApply), GetDlgItem(dlg, kApply));  // inside the group box, still the button
  ClickItem(kSecond);
  EXPECT_EQ(Count(kSecond, STN_CLICKED), 1);
}

TEST_F(DialogTest, CaptureOfADialogIsAPngOfItsPixels) {
  HWND dlg = Open(Form());
  UpdateWindow(dlg);
  const char* bin = std::getenv("TRELLIAN_BINARY_DIR");
  std::string path = std::string(bin ? bin : ".") + "/dlg_capture_test.png";
  ASSERT_TRUE(testkit::CaptureWindowPng(dlg, path));
  struct stat st{};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_GT(st.st_size, 100);
  // The default button's dark outer frame is on its top edge.
  RECT ok = ChildRect(dlg, IDOK);
  POINT pt{ok.left + 10, ok.top};
  ClientToScreen(dlg, &pt);
  RECT wr;
  GetWindowRect(dlg, &wr);
  COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
  uint32_t rgb = (GetRValue(frame) << 16) | (GetGValue(frame) << 8) | GetBValue(frame);
  EXPECT_EQ(testkit::WindowPixel(dlg, pt.x - wr.left, pt.y - wr.top), rgb);
  std::remove(path.c_str());
}

}  // namespace
