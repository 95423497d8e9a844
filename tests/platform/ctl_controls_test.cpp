// The standard and common controls as the pages use them: buttons and radio
// groups, edits, list boxes, combo boxes, scroll bars, progress bars and the
// IP address control; and where their notifications go.

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "dlg_fixture.h"
#include "UiPlatform.h"

namespace {

enum {
  kRadioA = 200, kRadioB, kRadioC, kRadioX, kRadioY,
  kPushId = 209, kCheck = 210, kEdit = 220, kUpper, kNumber, kPassword, kReadOnly,
  kList = 230, kOwnerList, kCombo = 240, kEditCombo, kScroll = 250, kProgress = 260, kIp = 270
};

class ControlTest : public DialogTest {
 protected:
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  LRESULT Send(int id, UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendDlgItemMessageA(dialog_, id, msg, w, l); }
  void Focus(int id) {
    SetFocus(Item(id));
    Pump();
  }
};

// ---------------------------------------------------------------- buttons

TEST_F(ControlTest, AutoRadioButtonsKeepOneCheckedPerGroup) {
  Open(Template({rc::AutoRadioButton("A", kRadioA, 5, 5, 40, 10, WS_GROUP | WS_TABSTOP),
                 rc::AutoRadioButton("B", kRadioB, 5, 20, 40, 10), rc::AutoRadioButton("C", kRadioC, 5, 35, 40, 10),
                 rc::AutoRadioButton("X", kRadioX, 60, 5, 40, 10, WS_GROUP | WS_TABSTOP),
                 rc::AutoRadioButton("Y", kRadioY, 60, 20, 40, 10), rc::PushButton("P", 1, 5, 60, 40, 14, WS_GROUP)}));
  CheckRadioButton(dialog_, kRadioA, kRadioC, kRadioA);
  CheckDlgButton(dialog_, kRadioX, BST_CHECKED);
  ClickItem(kRadioB);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, kRadioA), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, kRadioB), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, kRadioX), BST_CHECKED);  // the other group is untouched
  EXPECT_EQ(Count(kRadioB, BN_CLICKED), 1);
  // Arrows move within the group and choose as they go; they wrap at its end.
  Press(VK_DOWN);
  EXPECT_EQ(GetFocus(), Item(kRadioC));
  EXPECT_EQ(IsDlgButtonChecked(dialog_, kRadioC), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, kRadioB), BST_UNCHECKED);
  Press(VK_DOWN);
  EXPECT_EQ(GetFocus(), Item(kRadioA));
  EXPECT_EQ(IsDlgButtonChecked(dialog_, kRadioX), BST_CHECKED);
  // Tab leaves the group for the next one's checked button.
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), Item(kRadioX));
}

TEST_F(ControlTest, ButtonsClickByMouseKeyAndMessage) {
  Open(Template({rc::AutoCheckBox("Check", kCheck, 5, 5, 60, 10), rc::CheckBox("Plain", kCheck + 1, 5, 20, 60, 10),
                 rc::PushButton("Push", kPushId, 5, 40, 50, 14)}));
  ClickItem(kCheck);
  EXPECT_EQ(Send(kCheck, BM_GETCHECK), BST_CHECKED);
  Press(VK_SPACE);  // the focus came with the click
  EXPECT_EQ(Send(kCheck, BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(Count(kCheck, BN_CLICKED), 2);
  // A plain check box only reports; its owner decides.
  ClickItem(kCheck + 1);
  EXPECT_EQ(Send(kCheck + 1, BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(Count(kCheck + 1, BN_CLICKED), 1);
  Send(kPushId, BM_CLICK);
  EXPECT_EQ(Count(kPushId, BN_CLICKED), 1);
  // Released outside: no click.
  HWND push = Item(kPushId);
  RECT wr;
  GetWindowRect(push, &wr);
  testkit::MouseDown(POINT{wr.left + 3, wr.top + 3});
  Pump();
  EXPECT_TRUE(Send(kPushId, BM_GETSTATE) & BST_PUSHED);
  testkit::MouseMove(POINT{wr.right + 30, wr.top + 3});
  testkit::MouseUp(POINT{wr.right + 30, wr.top + 3});
  Pump();
  EXPECT_EQ(Count(kPushId, BN_CLICKED), 1);
  EXPECT_FALSE(Send(kPushId, BM_GETSTATE) & BST_PUSHED);
  // Disabled buttons ignore BM_CLICK.
  EnableWindow(push, FALSE);
  Send(kPushId, BM_CLICK);
  EXPECT_EQ(Count(kPushId, BN_CLICKED), 1);
}

// ---------------------------------------------------------------- notifications after SetParent

TEST_F(ControlTest, ControlsNotifyTheParentTheyWereCreatedWith) {
  Open(Template({rc::PushButton("Push", 300, 5, 5, 50, 14), rc::EditText(301, 5, 25, 50, 14)}));
  DialogTemplate other = Template({});
  other.x = 250;
  HWND second = CreateDialogIndirectParamA(nullptr, &other, nullptr, Proc, 0);
  std::vector<HWND> sources;
  Hook() = [&sources](HWND hwnd, UINT msg, WPARAM, LPARAM) -> INT_PTR {
    if (msg == WM_COMMAND) sources.push_back(hwnd);
    return FALSE;
  };
  HWND push = Item(300);
  HWND edit = Item(301);
  SetParent(push, second);
  SetParent(edit, second);
  EXPECT_EQ(GetParent(push), second);
  SendMessageA(push, BM_CLICK, 0, 0);
  SetWindowTextA(edit, "x");
  ASSERT_EQ(sources.size(), 3u);  // BN_CLICKED, EN_UPDATE, EN_CHANGE
  for (HWND s : sources) EXPECT_EQ(s, dialog_);
  EXPECT_EQ(PlatformGetCreationParent(push), dialog_);
}

// ---------------------------------------------------------------- edits

TEST_F(ControlTest, TypingRespectsLimitAndStyles) {
  struct Case {
    DWORD style;
    int limit;
    const char* typed;
    const char* text;
    int changes;
  } cases[] = {
      {ES_AUTOHSCROLL, 0, "Hello", "Hello", 5},
      {ES_UPPERCASE, 0, "abC1", "ABC1", 4},
      {ES_NUMBER, 0, "1a2-3", "123", 3},
      {ES_AUTOHSCROLL, 4, "abcdef", "abcd", 4},
      {ES_UPPERCASE, 3, "wxyz", "WXY", 3},
      {ES_READONLY, 0, "abc", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Commands().clear();
    Open(Template({rc::EditText(kEdit, 5, 5, 100, 14, c.style)}));
    if (c.limit) Send(kEdit, EM_LIMITTEXT, static_cast<WPARAM>(c.limit));
    Focus(kEdit);
    Type(c.typed);
    EXPECT_EQ(WindowText(Item(kEdit)), c.text);
    EXPECT_EQ(Count(kEdit, EN_CHANGE), c.changes);
    EXPECT_EQ(Count(kEdit, EN_UPDATE), c.changes);
    EXPECT_EQ(Send(kEdit, EM_GETMODIFY) != 0, c.changes > 0);
    if (c.limit && std::strlen(c.typed) > static_cast<size_t>(c.limit)) {
      EXPECT_GE(Count(kEdit, EN_MAXTEXT), 1);
    }
    DestroyWindow(dialog_);
  }
}

TEST_F(ControlTest, SettingTheTextClearsTheModifiedFlag) {
  Open(Template({rc::EditText(kEdit, 5, 5, 100, 14)}));
  Focus(kEdit);
  Type("ab");
  EXPECT_TRUE(Send(kEdit, EM_GETMODIFY));
  Commands().clear();
  const char* program = "text from the program, longer than the limit";
  Send(kEdit, EM_LIMITTEXT, 5);
  SetWindowTextA(Item(kEdit), program);
  EXPECT_FALSE(Send(kEdit, EM_GETMODIFY));
  EXPECT_EQ(Count(kEdit, EN_CHANGE), 1);
  // The limit binds the user, not the program.
  EXPECT_EQ(GetWindowTextLengthA(Item(kEdit)), static_cast<int>(std::strlen(program)));
}

TEST_F(ControlTest, EditKeysSelectionAndClipboard) {
  Open(Template({rc::EditText(kEdit, 5, 5, 100, 14), rc::EditText(kPassword, 5, 25, 100, 14, ES_PASSWORD)}));
  Focus(kEdit);
  Type("hello");
  Press(VK_HOME);
  testkit::KeyDown(VK_SHIFT);
  Press(VK_RIGHT);
  Press(VK_RIGHT);
  testkit::KeyUp(VK_SHIFT);
  DWORD start = 0, end = 0;
  Send(kEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 2u);
  Send(kEdit, WM_CUT);
  EXPECT_EQ(PlatformGetClipboardText(), "he");
  EXPECT_EQ(WindowText(Item(kEdit)), "llo");
  Press(VK_END);
  Send(kEdit, WM_PASTE);
  EXPECT_EQ(WindowText(Item(kEdit)), "llohe");
  Press(VK_BACK);
  EXPECT_EQ(WindowText(Item(kEdit)), "lloh");
  Send(kEdit, EM_SETSEL, 1, 3);
  Press(VK_DELETE);
  EXPECT_EQ(WindowText(Item(kEdit)), "lh");
  Send(kEdit, EM_UNDO);
  EXPECT_EQ(WindowText(Item(kEdit)), "lloh");
  // A password is never copied out.
  PlatformSetClipboardText("keep");
  SetWindowTextA(Item(kPassword), "secret");
  Send(kPassword, EM_SETSEL, 0, -1);
  Send(kPassword, WM_COPY);
  EXPECT_EQ(PlatformGetClipboardText(), "keep");
  EXPECT_EQ(Send(kPassword, EM_GETPASSWORDCHAR), '*');
  // Focus notices.
  Focus(kPassword);
  EXPECT_EQ(Count(kEdit, EN_KILLFOCUS), 1);
  EXPECT_EQ(Count(kPassword, EN_SETFOCUS), 1);
}

// ---------------------------------------------------------------- list boxes

TEST_F(ControlTest, ListBoxSortsFindsAndNotifiesOnlyTheUser) {
  Open(Template({rc::ListBox(kList, 5, 5, 100, 60, LBS_SORT | WS_VSCROLL)}));
  for (const char* s : {"delta", "Alpha", "charlie", "bravo"}) Send(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  char buf[32];
  Send(kList, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, "Alpha");
  EXPECT_EQ(Send(kList, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("CH")), 2);
  EXPECT_EQ(Send(kList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("char")), LB_ERR);
  EXPECT_EQ(Send(kList, LB_SETCURSEL, 1), 1);
  EXPECT_EQ(Count(kList, LBN_SELCHANGE), 0);
  Send(kList, LB_SETITEMDATA, 1, 77);
  EXPECT_EQ(Send(kList, LB_GETITEMDATA, 1), 77);
  Focus(kList);
  Press(VK_DOWN);
  EXPECT_EQ(Send(kList, LB_GETCURSEL), 2);
  EXPECT_EQ(Count(kList, LBN_SELCHANGE), 1);
  RECT item;
  Send(kList, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
  ClickItem(kList, POINT{item.left + 5, item.top + 2});
  EXPECT_EQ(Send(kList, LB_GETCURSEL), 3);
  EXPECT_EQ(Count(kList, LBN_SELCHANGE), 2);
  EXPECT_EQ(Send(kList, LB_DELETESTRING, 3), 3);
  EXPECT_EQ(Send(kList, LB_GETCURSEL), LB_ERR);
  Send(kList, LB_RESETCONTENT);
  EXPECT_EQ(Send(kList, LB_GETCOUNT), 0);
}

TEST_F(ControlTest, ListBoxScrollsToTheTopIndexAndBack) {
  Open(Template({rc::ListBox(kList, 5, 5, 100, 40, WS_VSCROLL | LBS_NOINTEGRALHEIGHT)}));
  for (int i = 0; i < 30; ++i) Send(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(i).c_str()));
  Send(kList, LB_SETTOPINDEX, 10);
  EXPECT_EQ(Send(kList, LB_GETTOPINDEX), 10);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(Item(kList), SB_VERT, &si);
  EXPECT_EQ(si.nPos, 10);
  EXPECT_EQ(si.nMax, 29);
  Send(kList, WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(Send(kList, LB_GETTOPINDEX), 9);
  // The window's own scroll bar: a click on its lower arrow scrolls one line.
  RECT wr;
  GetWindowRect(Item(kList), &wr);
  POINT arrow{wr.right - 6, wr.bottom - 6};
  testkit::MouseMove(arrow);
  testkit::MouseDown(arrow);
  testkit::MouseUp(arrow);
  Pump();
  EXPECT_EQ(Send(kList, LB_GETTOPINDEX), 10);
  EXPECT_EQ(Send(kList, LB_SETTOPINDEX, 30), LB_ERR);
  Send(kList, LB_SETTOPINDEX, 29);  // the last item: as far as a full last page goes
  int top = static_cast<int>(Send(kList, LB_GETTOPINDEX));
  EXPECT_EQ(top + static_cast<int>(si.nPage), 30);
  Send(kList, LB_SETCURSEL, 0);
  EXPECT_EQ(Send(kList, LB_GETTOPINDEX), 0);  // the selection is brought into view
  Send(kList, LB_SETHORIZONTALEXTENT, 400);
  EXPECT_EQ(Send(kList, LB_GETHORIZONTALEXTENT), 400);
}

TEST_F(ControlTest, ListBoxShowsItsBarOnlyWhileTheRowsExceedTheView) {
  struct Case {
    const char* what;
    DWORD style;
    int rows;
    bool bar;
  } cases[] = {
      {"two rows", WS_VSCROLL, 2, false},
      {"fifty rows", WS_VSCROLL, 50, true},
      {"two rows, kept disabled", WS_VSCROLL | LBS_DISABLENOSCROLL, 2, true},
      {"fifty rows, no bar asked for", 0, 50, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Open(Template({rc::ListBox(kList, 5, 5, 100, 40, c.style | LBS_NOINTEGRALHEIGHT)}));
    for (int i = 0; i < c.rows; ++i) Send(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
    EXPECT_EQ((GetWindowLongA(Item(kList), GWL_STYLE) & WS_VSCROLL) != 0, c.bar);
    DestroyWindow(dialog_);
  }
  // Rows taken away take the bar with them.
  Open(Template({rc::ListBox(kList, 5, 5, 100, 40, WS_VSCROLL | LBS_NOINTEGRALHEIGHT)}));
  for (int i = 0; i < 30; ++i) Send(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
  EXPECT_NE(GetWindowLongA(Item(kList), GWL_STYLE) & WS_VSCROLL, 0);
  Send(kList, LB_RESETCONTENT);
  EXPECT_EQ(GetWindowLongA(Item(kList), GWL_STYLE) & WS_VSCROLL, 0);
}

TEST_F(ControlTest, ComboBoxGivesItsScrollBarToTheDropList) {
  for (DWORD bars : {DWORD{WS_VSCROLL}, DWORD{0}}) {
    SCOPED_TRACE(bars ? "WS_VSCROLL" : "no bar");
    Open(Template({rc::ComboBox(kCombo, 5, 5, 100, 60, CBS_DROPDOWNLIST | bars, {})}));
    for (int i = 0; i < 40; ++i) Send(kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
    EXPECT_EQ(GetWindowLongA(Item(kCombo), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(Item(kCombo), &info));
    Send(kCombo, CB_SHOWDROPDOWN, TRUE);
    Pump();
    EXPECT_EQ(GetWindowLongA(info.hwndList, GWL_STYLE) & WS_VSCROLL, bars);
    Send(kCombo, CB_SHOWDROPDOWN, FALSE);
    DestroyWindow(dialog_);
  }
}

TEST_F(ControlTest, OwnerDrawnListBoxAsksItsParentToMeasureAndDraw) {
  struct Drawn {
    UINT id, state;
    ULONG_PTR data;
    RECT rc;
  };
  static std::vector<Drawn> drawn;
  static int measured = 0;
  drawn.clear();
  measured = 0;
  Hook() = [](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
    if (msg == WM_MEASUREITEM) {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (mis->CtlType == ODT_LISTBOX && mis->CtlID == kOwnerList) {
        mis->itemHeight = 20;
        ++measured;
      }
      return TRUE;
    }
    if (msg == WM_DRAWITEM) {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (dis->CtlType == ODT_LISTBOX) drawn.push_back(Drawn{dis->itemID, dis->itemState, dis->itemData, dis->rcItem});
      return TRUE;
    }
    return FALSE;
  };
  Open(Template({rc::ListBox(kOwnerList, 5, 5, 100, 60, LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT)}));
  EXPECT_EQ(measured, 1);
  EXPECT_EQ(Send(kOwnerList, LB_GETITEMHEIGHT), 20);
  // Without LBS_HASSTRINGS the "string" is the item's data.
  for (ULONG_PTR d : {111u, 222u, 333u}) Send(kOwnerList, LB_ADDSTRING, 0, static_cast<LPARAM>(d));
  EXPECT_EQ(Send(kOwnerList, LB_GETITEMDATA, 1), 222);
  EXPECT_EQ(Send(kOwnerList, LB_FINDSTRING, static_cast<WPARAM>(-1), 333), 2);
  Send(kOwnerList, LB_SETCURSEL, 1);
  drawn.clear();
  UpdateWindow(Item(kOwnerList));
  ASSERT_EQ(drawn.size(), 3u);
  for (UINT i = 0; i < 3; ++i) {
    EXPECT_EQ(drawn[i].id, i);
    EXPECT_EQ(drawn[i].data, 111u * (i + 1));
    EXPECT_EQ(drawn[i].rc.top, static_cast<LONG>(20 * i));
    EXPECT_EQ(drawn[i].rc.bottom - drawn[i].rc.top, 20);
    EXPECT_EQ((drawn[i].state & ODS_SELECTED) != 0, i == 1);
  }
}

struct DrawCall {
  UINT type, id, action, state;
};

// WM_DRAWITEM and WM_MEASUREITEM as the dialog sees them.
std::vector<DrawCall>& Draws() {
  static std::vector<DrawCall> d;
  return d;
}
std::vector<MEASUREITEMSTRUCT>& Measures() {
  static std::vector<MEASUREITEMSTRUCT> m;
  return m;
}
INT_PTR RecordOwnerDraw(HWND, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_DRAWITEM) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    Draws().push_back(DrawCall{dis->CtlType, dis->itemID, dis->itemAction, dis->itemState});
    return TRUE;
  }
  if (msg == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    Measures().push_back(*mis);
    mis->itemHeight = mis->itemID == static_cast<UINT>(-1) ? 30 : 16 + 4 * (mis->itemID % 3);
    return TRUE;
  }
  return FALSE;
}

TEST_F(ControlTest, OwnerDrawnListDrawsOnlyTheSelectionOrFocusThatChanged) {
  const UINT kId = static_cast<UINT>(-1);
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<DrawCall> want;
  } steps[] = {
      {"focus on the empty list", [this] { Focus(kOwnerList); },
       {{ODT_LISTBOX, kId, ODA_FOCUS, ODS_FOCUS}}},
      {"focus leaves the empty list", [this] { Focus(kList); }, {{ODT_LISTBOX, kId, ODA_FOCUS, 0}}},
      {"selection by the program", [this] { Send(kOwnerList, LB_SETCURSEL, 1); },
       {{ODT_LISTBOX, 1, ODA_SELECT, ODS_SELECTED}}},
      {"selection moves", [this] { Send(kOwnerList, LB_SETCURSEL, 2); },
       {{ODT_LISTBOX, 1, ODA_SELECT, 0}, {ODT_LISTBOX, 2, ODA_SELECT, ODS_SELECTED}}},
      {"focus comes to the list", [this] { Focus(kOwnerList); },
       {{ODT_LISTBOX, 2, ODA_FOCUS, ODS_SELECTED | ODS_FOCUS}}},
      {"the user moves up", [this] { Press(VK_UP); },
       {{ODT_LISTBOX, 2, ODA_SELECT, ODS_FOCUS},
        {ODT_LISTBOX, 1, ODA_SELECT, ODS_SELECTED},
        {ODT_LISTBOX, 2, ODA_FOCUS, 0},
        {ODT_LISTBOX, 1, ODA_FOCUS, ODS_SELECTED | ODS_FOCUS}}},
  };
  Hook() = RecordOwnerDraw;
  Open(Template({rc::ListBox(kList, 5, 60, 100, 30), rc::ListBox(kOwnerList, 5, 5, 100, 50, LBS_OWNERDRAWFIXED)}));
  Focus(kList);
  bool filled = false;
  for (const Step& st : steps) {
    SCOPED_TRACE(st.what);
    if (!filled && std::string(st.what) == "selection by the program") {
      for (ULONG_PTR d : {1u, 2u, 3u}) Send(kOwnerList, LB_ADDSTRING, 0, static_cast<LPARAM>(d));
      UpdateWindow(Item(kOwnerList));
      filled = true;
    }
    Draws().clear();
    st.act();
    ASSERT_EQ(Draws().size(), st.want.size());
    for (size_t i = 0; i < st.want.size(); ++i) {
      EXPECT_EQ(Draws()[i].id, st.want[i].id) << i;
      EXPECT_EQ(Draws()[i].action, st.want[i].action) << i;
      EXPECT_EQ(Draws()[i].state, st.want[i].state) << i;
    }
  }
  // A full repaint draws every row entire.
  Draws().clear();
  InvalidateRect(Item(kOwnerList), nullptr, TRUE);
  UpdateWindow(Item(kOwnerList));
  ASSERT_EQ(Draws().size(), 3u);
  for (const DrawCall& d : Draws()) EXPECT_EQ(d.action, static_cast<UINT>(ODA_DRAWENTIRE));
  Hook() = nullptr;
}

TEST_F(ControlTest, OwnerDrawnCombosAskTheirParentToMeasure) {
  struct Case {
    DWORD style;
    std::vector<UINT> measured;  // item ids asked for, in order
    int fieldHeight;
    std::vector<int> itemHeights;
  } cases[] = {
      {CBS_OWNERDRAWFIXED, {static_cast<UINT>(-1), 0}, 30, {16, 16, 16}},
      {CBS_OWNERDRAWVARIABLE, {static_cast<UINT>(-1), 0, 1, 2}, 30, {16, 20, 24}},
  };
  Hook() = RecordOwnerDraw;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    Measures().clear();
    Open(Template({rc::ComboBox(kCombo, 5, 5, 100, 80, CBS_DROPDOWNLIST | WS_VSCROLL | c.style, {})}));
    for (ULONG_PTR d : {7u, 8u, 9u}) Send(kCombo, CB_ADDSTRING, 0, static_cast<LPARAM>(d));
    ASSERT_EQ(Measures().size(), c.measured.size());
    for (size_t i = 0; i < c.measured.size(); ++i) {
      EXPECT_EQ(Measures()[i].CtlType, static_cast<UINT>(ODT_COMBOBOX));
      EXPECT_EQ(Measures()[i].CtlID, static_cast<UINT>(kCombo));
      EXPECT_EQ(Measures()[i].itemID, c.measured[i]);
    }
    EXPECT_EQ(Send(kCombo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)), c.fieldHeight);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Send(kCombo, CB_GETITEMHEIGHT, i), c.itemHeights[static_cast<size_t>(i)]);
    DestroyWindow(dialog_);
  }
  Hook() = nullptr;
}

TEST_F(ControlTest, ListBoxAtCapacityAnswersErrSpace) {
  Open(Template({rc::ListBox(kList, 5, 5, 100, 40), rc::ComboBox(kCombo, 5, 50, 100, 60, CBS_DROPDOWNLIST, {})}));
  testkit::SetListBoxCapacity(2);
  EXPECT_EQ(Send(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a")), 0);
  EXPECT_EQ(Send(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("b")), 1);
  EXPECT_EQ(Send(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("c")), LB_ERRSPACE);
  EXPECT_EQ(Send(kList, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("c")), LB_ERRSPACE);
  EXPECT_EQ(Send(kList, LB_GETCOUNT), 2);
  EXPECT_EQ(Count(kList, static_cast<WORD>(LBN_ERRSPACE)), 2);
  for (const char* t : {"x", "y"}) Send(kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  EXPECT_EQ(Send(kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("z")), CB_ERRSPACE);
  testkit::SetListBoxCapacity(0);
  EXPECT_EQ(Send(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("c")), 2);
}

TEST_F(ControlTest, SetRedrawHoldsPaintingUntilItIsTurnedBackOn) {
  Open(Template({rc::ListBox(kList, 5, 5, 100, 40, WS_VSCROLL | LBS_NOINTEGRALHEIGHT),
                 rc::ComboBox(kCombo, 5, 50, 100, 60, CBS_DROPDOWNLIST, {})}));
  HWND list = Item(kList);
  UpdateWindow(dialog_);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < 30; ++i) Send(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
  RECT pending;
  EXPECT_FALSE(GetUpdateRect(list, &pending, FALSE));
  EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL, 0);  // the bar waits too
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  EXPECT_TRUE(GetUpdateRect(list, &pending, FALSE));
  EXPECT_NE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL, 0);
  // The combo box and a plain window stop drawing as a hidden window does,
  // staying in place.
  for (HWND w : {Item(kCombo), dialog_}) {
    RECT before, after;
    GetWindowRect(w, &before);
    SendMessageA(w, WM_SETREDRAW, FALSE, 0);
    EXPECT_FALSE(IsWindowVisible(w));
    GetWindowRect(w, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    SendMessageA(w, WM_SETREDRAW, TRUE, 0);
    EXPECT_TRUE(IsWindowVisible(w));
  }
}

// ---------------------------------------------------------------- combo boxes

TEST_F(ControlTest, ComboSelectionNotifiesForTheUserOnly) {
  Open(Template({rc::ComboBox(kCombo, 5, 5, 100, 80, CBS_DROPDOWNLIST | WS_VSCROLL, {"one", "two", "three"})}));
  EXPECT_EQ(Send(kCombo, CB_GETCOUNT), 3);
  EXPECT_EQ(Send(kCombo, CB_SETCURSEL, 1), 1);
  EXPECT_EQ(WindowText(Item(kCombo)), "two");
  EXPECT_EQ(Send(kCombo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("th")), 2);
  EXPECT_EQ(Count(kCombo, CBN_SELCHANGE), 0);

  // Keys with the list closed: each move is a choice.
  Focus(kCombo);
  Press(VK_UP);
  EXPECT_EQ(Send(kCombo, CB_GETCURSEL), 1);
  EXPECT_EQ(Count(kCombo, CBN_SELCHANGE), 1);

  // The mouse: open, pick, and the notices come in order.
  Commands().clear();
  ClickItem(kCombo);
  EXPECT_TRUE(Send(kCombo, CB_GETDROPPEDSTATE));
  COMBOBOXINFO info{sizeof info, {}, {}, 0, nullptr, nullptr, nullptr};
  ASSERT_TRUE(GetComboBoxInfo(Item(kCombo), &info));
  EXPECT_TRUE(IsWindowVisible(info.hwndList));
  RECT dropped;
  Send(kCombo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  RECT item0;
  SendMessageA(info.hwndList, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item0));
  testkit::Click(info.hwndList, POINT{item0.left + 5, item0.top + 2});
  Pump();
  EXPECT_FALSE(Send(kCombo, CB_GETDROPPEDSTATE));
  EXPECT_FALSE(IsWindowVisible(info.hwndList));
  EXPECT_EQ(Send(kCombo, CB_GETCURSEL), 0);
  EXPECT_EQ((CodesOf(kCombo)),
            (std::vector<int>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));

  // Escape with the list open keeps the old choice.
  Commands().clear();
  ClickItem(kCombo);
  Press(VK_DOWN);
  Press(VK_ESCAPE);
  EXPECT_EQ(Send(kCombo, CB_GETCURSEL), 0);
  EXPECT_EQ((CodesOf(kCombo)), (std::vector<int>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_EQ(Count(IDCANCEL, BN_CLICKED), 0);  // the dialog did not see the Escape
}

TEST_F(ControlTest, EditableComboReportsTypingAndItemData) {
  Open(Template({rc::ComboBox(kEditCombo, 5, 5, 100, 80, CBS_DROPDOWN | CBS_SORT)}));
  for (const char* s : {"b", "c", "a"}) Send(kEditCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  char buf[8];
  Send(kEditCombo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, "a");
  Send(kEditCombo, CB_SETITEMDATA, 2, 5);
  EXPECT_EQ(Send(kEditCombo, CB_GETITEMDATA, 2), 5);
  Send(kEditCombo, CB_SETCURSEL, 1);
  EXPECT_EQ(WindowText(Item(kEditCombo)), "b");
  EXPECT_EQ(Count(kEditCombo, CBN_EDITCHANGE), 0);
  Focus(kEditCombo);
  Type("x");
  EXPECT_EQ(WindowText(Item(kEditCombo)), "x");
  EXPECT_EQ(Count(kEditCombo, CBN_EDITCHANGE), 1);
  EXPECT_EQ(Count(kEditCombo, CBN_EDITUPDATE), 1);
  EXPECT_EQ(Count(kEditCombo, CBN_SETFOCUS), 1);
  EXPECT_EQ(Send(kEditCombo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 20), 0);
  EXPECT_EQ(Send(kEditCombo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)), 20);
}

// ---------------------------------------------------------------- scroll bars, progress, IP address

TEST_F(ControlTest, ScrollBarControlKeepsPositionInRangeAndReportsClicks) {
  std::vector<int> codes;
  Hook() = [&codes](HWND, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
    if (msg == WM_VSCROLL) codes.push_back(LOWORD(wParam));
    return msg == WM_VSCROLL;
  };
  Open(Template({rc::ScrollBar(kScroll, 5, 5, 10, 80, SBS_VERT)}));
  HWND bar = Item(kScroll);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 200, 0};
  EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &si, TRUE), 90);  // pulled in: max - page + 1
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 90);
  SetScrollPos(bar, SB_CTL, -5, TRUE);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
  RECT rc;
  GetClientRect(bar, &rc);
  testkit::Click(bar, POINT{3, 3});               // the up arrow
  testkit::Click(bar, POINT{3, rc.bottom - 3});   // the down arrow
  testkit::Click(bar, POINT{3, rc.bottom - 30});  // the track below the thumb
  Pump();
  EXPECT_EQ(codes, (std::vector<int>{SB_LINEUP, SB_ENDSCROLL, SB_LINEDOWN, SB_ENDSCROLL, SB_PAGEDOWN, SB_ENDSCROLL}));
}

// A held arrow steps again after a pause, then steadily, while the pointer
// stays on it; a press in the track pages until the thumb has come under the
// pointer. The parent moves the bar as it is told, as scrolling windows do.
TEST_F(ControlTest, ScrollBarControlRepeatsAHeldStepWhileThePointerStaysOnIt) {
  std::vector<int> codes;
  Hook() = [&codes](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> INT_PTR {
    if (msg != WM_VSCROLL) return FALSE;
    HWND bar = reinterpret_cast<HWND>(lParam);
    codes.push_back(LOWORD(wParam));
    int pos = GetScrollPos(bar, SB_CTL);
    if (LOWORD(wParam) == SB_LINEDOWN) SetScrollPos(bar, SB_CTL, pos + 1, TRUE);
    if (LOWORD(wParam) == SB_PAGEDOWN) SetScrollPos(bar, SB_CTL, pos + 10, TRUE);
    return TRUE;
  };
  Open(Template({rc::ScrollBar(kScroll, 5, 5, 10, 80, SBS_VERT)}));
  HWND bar = Item(kScroll);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  // Only the test moves the clock, until the test ends.
  struct OwnClock {
    OwnClock() { testkit::SetClockScale(0.0001); }
    ~OwnClock() { testkit::SetClockScale(1.0); }
  } ownClock;
  RECT rc;
  GetClientRect(bar, &rc);
  auto at = [bar](int x, int y) {
    POINT p{x, y};
    ClientToScreen(bar, &p);
    return p;
  };
  const POINT arrow = at(3, rc.bottom - 3), track = at(3, rc.bottom / 2);
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<int> added;
  } steps[] = {
      {"pressed", [&] { testkit::MouseDown(arrow); }, {SB_LINEDOWN}},
      {"held, before the pause ends", [] { testkit::AdvanceClock(399); }, {}},
      {"the first repeat", [] { testkit::AdvanceClock(1); }, {SB_LINEDOWN}},
      {"the next", [] { testkit::AdvanceClock(100); }, {SB_LINEDOWN}},
      {"the pointer slides off the arrow", [&] { testkit::MouseMove(track), testkit::AdvanceClock(100); }, {}},
      {"and back on", [&] { testkit::MouseMove(arrow), testkit::AdvanceClock(100); }, {SB_LINEDOWN}},
      {"let go", [&] { testkit::MouseUp(arrow); }, {SB_ENDSCROLL}},
      {"nothing after", [] { testkit::AdvanceClock(1000); }, {}},
      // From 4, pages to 14, 24, 34 and 44 bring the thumb (10 of the 100
      // track pixels) under the bar's middle.
      {"pressed in the track", [&] { testkit::MouseDown(track); }, {SB_PAGEDOWN}},
      {"held: pages after the pause", [] { testkit::AdvanceClock(400); }, {SB_PAGEDOWN}},
      {"until the thumb is under the pointer",
       [] {
         for (int i = 0; i < 10; ++i) testkit::AdvanceClock(100), testkit::PumpPending();
       },
       {SB_PAGEDOWN, SB_PAGEDOWN}},
      {"let go there", [&] { testkit::MouseUp(track); }, {SB_ENDSCROLL}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    codes.clear();
    step.act();
    Pump();
    EXPECT_EQ(codes, step.added);
  }
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 44);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ControlTest, ProgressBarClampsAndSteps) {
  Open(Template({rc::Control("", kProgress, PROGRESS_CLASS, 0, 5, 5, 100, 10)}));
  struct Step {
    UINT msg;
    WPARAM w;
    LPARAM l;
    LRESULT result;
    int pos;
  } steps[] = {
      {PBM_SETRANGE32, 10, 20, MAKELRESULT(0, 100), 10},
      {PBM_SETPOS, 15, 0, 10, 15},
      {PBM_SETPOS, 99, 0, 15, 20},
      {PBM_DELTAPOS, static_cast<WPARAM>(-30), 0, 20, 10},
      {PBM_SETSTEP, 4, 0, 10, 10},
      {PBM_STEPIT, 0, 0, 10, 14},
      {PBM_STEPIT, 0, 0, 14, 18},
      {PBM_STEPIT, 0, 0, 18, 12},  // past the end it wraps
  };
  for (const Step& s : steps) {
    EXPECT_EQ(Send(kProgress, s.msg, s.w, s.l), s.result) << s.msg;
    EXPECT_EQ(Send(kProgress, PBM_GETPOS), s.pos) << s.msg;
  }
  PBRANGE r{0, 0};
  Send(kProgress, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.iLow, 10);
  EXPECT_EQ(r.iHigh, 20);
}

TEST_F(ControlTest, IpAddressControlHasFourFieldsThatMayBeBlank) {
  Open(Template({rc::Control("", kIp, WC_IPADDRESS, WS_TABSTOP, 5, 5, 100, 14)}));
  EXPECT_TRUE(Send(kIp, IPM_ISBLANK));
  DWORD a = 1;
  EXPECT_EQ(Send(kIp, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&a)), 0);
  EXPECT_EQ(a, 0u);
  EXPECT_EQ(WindowText(Item(kIp)), "0.0.0.0");
  Focus(kIp);
  Type("192.168.1.20");
  EXPECT_EQ(WindowText(Item(kIp)), "192.168.1.20");
  EXPECT_EQ(Send(kIp, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&a)), 4);
  EXPECT_EQ(a, static_cast<DWORD>(MAKEIPADDRESS(192, 168, 1, 20)));
  EXPECT_GE(Count(kIp, EN_CHANGE), 1);
  // Three digits move on by themselves; values over 255 are held at 255.
  SendMessageA(Item(kIp), IPM_CLEARADDRESS, 0, 0);
  Send(kIp, IPM_SETFOCUS, 0);
  Type("10");
  Press(VK_OEM_PERIOD);
  Type("999");
  EXPECT_EQ(WindowText(Item(kIp)), "10.255.0.0");
  Type("7");  // the full field handed on to the next
  EXPECT_EQ(WindowText(Item(kIp)), "10.255.7.0");
  EXPECT_EQ(Send(kIp, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&a)), 3);
  SetWindowTextA(Item(kIp), "1.2.3");
  EXPECT_EQ(Send(kIp, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&a)), 3);
  Send(kIp, IPM_SETADDRESS, 0, MAKEIPADDRESS(255, 255, 255, 0));
  EXPECT_EQ(WindowText(Item(kIp)), "255.255.255.0");
}

}  // namespace
