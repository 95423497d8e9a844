// The owner-drawn combo box: the combo-box messages, the notifications of a
// user's mouse choices, and the drop-down's placement and size grip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CComboDropWnd.h"
#include "CDrawnComboBox.h"
#include "CommCtrl.h"
#include "TestKit.h"

namespace {

const int kComplete = -1;  // stands for the completion hook in a notification log
const int kComboId = 77;

// Records the completion hook among the notifications.
class LoggingCombo : public CDrawnComboBox {
 public:
  LoggingCombo(CWnd* parent, std::vector<int>* log) : CDrawnComboBox(0, parent), log_(log) {}
  void OnComboComplete() override { log_->push_back(kComplete); }

 private:
  std::vector<int>* log_;
};

// The page: keeps every CBN_ code it is sent, in order.
class Page : public CWnd {
 public:
  std::vector<int> codes;
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    if (LOWORD(wParam) == kComboId) codes.push_back(HIWORD(wParam));
    return TRUE;
  }
};

class DrawnComboTest : public ::testing::Test {
 protected:
  void SetUp() override { InitCommonControls(); }
  void TearDown() override {
    if (combo.m_hWnd) combo.DestroyWindow();
    if (page.m_hWnd) page.DestroyWindow();
    testkit::ResetWindows();
  }
  // A page at `pageRect` on the screen with a list-style combo box at `comboRect` in it.
  void Make(CRect pageRect = CRect(100, 100, 400, 300), CRect comboRect = CRect(10, 10, 160, 31),
            DWORD kind = CBS_DROPDOWNLIST) {
    ASSERT_TRUE(page.CreateEx(0, AfxRegisterWndClass(0), "page", WS_POPUP | WS_VISIBLE, pageRect, nullptr, 0));
    ASSERT_TRUE(combo.CreateEx(0, "SuperComboBox", "", WS_CHILD | WS_VISIBLE | kind, comboRect, &page, kComboId));
  }
  void Fill(int count, const char* prefix = "Item ") {
    for (int i = 0; i < count; ++i) combo.AddString((prefix + std::to_string(i)).c_str());
  }
  CRect ComboOnScreen() const {
    CRect r;
    combo.GetWindowRect(&r);
    return r;
  }
  CRect DropOnScreen() const {
    CRect r;
    combo.GetDroppedControlRect(&r);
    return r;
  }
  // A point on row `row` of the open list, in screen coordinates.
  CPoint RowOnScreen(int row) const {
    CComboDropList* list = combo.GetDropWnd()->GetListBox();
    CRect r;
    list->GetWindowRect(&r);
    return CPoint(r.left + 20, r.top + row * list->RowHeight() + list->RowHeight() / 2);
  }
  // Injected input is routed as the queue is pumped.
  static void Move(CPoint at) {
    testkit::MouseMove(at);
    testkit::PumpPending();
  }
  static void Down(CPoint at) {
    testkit::MouseDown(at);
    testkit::PumpPending();
  }
  static void Up(CPoint at) {
    testkit::MouseUp(at);
    testkit::PumpPending();
  }
  void ClickCombo() {
    CRect r = ComboOnScreen();
    Move(r.CenterPoint());
    Down(r.CenterPoint());
    Up(r.CenterPoint());
  }
  // Closes and destroys the combo box and its page, for the next case of a table.
  void Discard() {
    combo.DestroyWindow();
    combo.ResetContent();
    page.DestroyWindow();
  }

  std::vector<int> log;
  Page page;
  LoggingCombo combo{&page, &log};
};

// ---------------------------------------------------------------- messages

TEST_F(DrawnComboTest, ComboBoxMessagesAnswerAsTheStandardControl) {
  Make();
  const int kPaint = 0;  // a step that paints instead of sending
  struct Step {
    UINT msg;
    WPARAM wParam;
    const char* text;  // lParam; also the expected buffer of CB_GETLBTEXT
    LRESULT result;
  } steps[] = {
      {CB_GETCOUNT, 0, nullptr, 0},
      {CB_SETCURSEL, 2, nullptr, CB_ERR},  // empty list: kept for later, answered -1
      {CB_ADDSTRING, 0, "Alpha", 0},
      {CB_ADDSTRING, 0, "Bravo", 1},
      {CB_ADDSTRING, 0, "Cab", 2},
      {CB_ADDSTRING, 0, "Bravo", 3},
      {CB_GETCURSEL, 0, nullptr, CB_ERR},  // the text follows at the next paint
      {kPaint, 0, nullptr, 0},
      {CB_GETCURSEL, 0, nullptr, 2},
      {CB_GETLBTEXT, 2, "Cab", 4},  // the terminating zero counted
      {CB_GETLBTEXTLEN, 2, nullptr, 4},
      {CB_GETLBTEXT, 4, nullptr, CB_ERR},
      {CB_GETLBTEXTLEN, static_cast<WPARAM>(-1), nullptr, CB_ERR},
      {CB_SELECTSTRING, 1, "Bravo", 1},  // the start index itself is searched
      {CB_GETCURSEL, 0, nullptr, 1},
      {CB_SELECTSTRING, 2, "Bravo", 3},
      {CB_GETCURSEL, 0, nullptr, 1},  // by text: the first of equal texts
      {CB_SELECTSTRING, 0, "Zulu", CB_ERR},
      {CB_GETCURSEL, 0, nullptr, CB_ERR},  // no match cleared the selection
      {CB_SETCURSEL, 0, nullptr, 0},
      {CB_SETCURSEL, 7, nullptr, CB_ERR},
      {CB_GETCURSEL, 0, nullptr, 0},  // a bad index changed nothing
      {CB_GETTOPINDEX, 0, nullptr, CB_ERR},  // closed
      {CB_SETTOPINDEX, 1, nullptr, CB_ERR},
      {CB_GETCOUNT, 0, nullptr, 4},
      {CB_RESETCONTENT, 0, nullptr, 0},
      {CB_GETCOUNT, 0, nullptr, 0},
      {CB_GETCURSEL, 0, nullptr, CB_ERR},
  };
  int n = 0;
  for (const Step& s : steps) {
    ++n;
    if (s.msg == kPaint) {
      combo.Invalidate();
      combo.UpdateWindow();
      continue;
    }
    char buffer[64] = "untouched";
    LPARAM lParam = s.msg == CB_GETLBTEXT ? reinterpret_cast<LPARAM>(buffer) : reinterpret_cast<LPARAM>(s.text);
    EXPECT_EQ(combo.SendMessage(s.msg, s.wParam, lParam), s.result) << "step " << n;
    if (s.msg == CB_GETLBTEXT) {
      EXPECT_STREQ(buffer, s.text ? s.text : "untouched") << "step " << n;
    }
  }
  CString text;
  combo.GetWindowText(text);
  EXPECT_STREQ(text, "");
}

TEST_F(DrawnComboTest, InsertAndDeleteKeepTheCurrentIndexOnItsItem) {
  Make();
  Fill(3);  // Item 0, Item 1, Item 2
  combo.SetCurSel(1);
  struct Step {
    bool insert;
    int index;
    int result;
    int curSel;  // the current index afterwards, -1 none
    int count;
  } steps[] = {
      {true, 3, 3, 1, 4},      // at the count: appended
      {true, -1, 4, 1, 5},     // -1 appends
      {true, 9, 5, 1, 6},      // past the count appends
      {true, 0, 0, 2, 7},      // before the current item: it moves down
      {true, 2, 2, 3, 8},      // at the current item: it moves down
      {true, 5, 5, 3, 9},      // after it: unchanged
      {false, 0, 8, 2, 8},     // an earlier item deleted: the index follows
      {false, 7, 7, 2, 7},     // a later one: unchanged
      {false, 9, CB_ERR, 2, 7},
      {false, -1, CB_ERR, 2, 7},
      {false, 2, 6, -1, 6},    // the current item itself: no selection
  };
  int n = 0;
  for (const Step& s : steps) {
    ++n;
    int result = s.insert ? combo.InsertString(s.index, "new") : combo.DeleteString(s.index);
    EXPECT_EQ(result, s.result) << "step " << n;
    EXPECT_EQ(combo.GetCount(), s.count) << "step " << n;
    EXPECT_EQ(combo.GetDropItemLimit(), -1);
    if (s.curSel >= 0) {
      CString text;
      combo.GetLBText(s.curSel, text);
      EXPECT_STREQ(text, "Item 1") << "step " << n;
    }
  }
  // The deleted current item's text stays shown.
  CString shown;
  combo.GetWindowText(shown);
  EXPECT_STREQ(shown, "Item 1");
  EXPECT_EQ(combo.InsertString(0, "first"), 0);  // no current index: nothing to move
}

TEST_F(DrawnComboTest, ItemAccessorsAndOptionsIgnoreBadIndexes) {
  Make();
  Fill(2);
  combo.SetItemData(1, 42);
  combo.SetItemState(1, 7);
  combo.SetItemDisabled(0, 1);
  combo.SetItemData(5, 9);
  EXPECT_EQ(combo.GetItemData(1), 42);
  EXPECT_EQ(combo.GetItemState(1), 7);
  EXPECT_EQ(combo.GetItemDisabled(0), 1);
  EXPECT_EQ(combo.GetItemData(5), -1);
  EXPECT_EQ(combo.GetItemDisabled(-1), -1);
  CString text = "x";
  combo.GetLBText(5, text);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(combo.FindString(0, "Item"), 0);
  EXPECT_EQ(combo.FindString(1, "Item"), 1);
  EXPECT_EQ(combo.FindStringExact(5, "Item 0"), CB_ERR);

  EXPECT_EQ(combo.GetOptions(), static_cast<DWORD>(CBO_INSET));
  combo.ModifyOptions(0, CBO_PLAIN | CBO_ITEM_MARGIN);
  EXPECT_EQ(combo.GetOptions(), static_cast<DWORD>(CBO_PLAIN | CBO_ITEM_MARGIN));
  combo.ModifyOptions(CBO_ITEM_MARGIN, CBO_INSET);
  EXPECT_EQ(combo.GetOptions(), static_cast<DWORD>(CBO_INSET));
  EXPECT_EQ(combo.SetItemHeight(-1, 20), 0);
  EXPECT_EQ(combo.SetItemHeight(-1, 9), CB_ERR);
  EXPECT_EQ(combo.SetItemHeight(0, 20), CB_ERR);
  EXPECT_EQ(combo.GetEditSel(), static_cast<DWORD>(CB_ERR));  // the list style has no edit
}

// ---------------------------------------------------------------- mouse and notifications

TEST_F(DrawnComboTest, PickingARowWithTheMouseNotifiesInOrderThenCompletes) {
  // The press focuses the list-style box (CBN_SETFOCUS) before it opens.
  Make();
  Fill(4);
  combo.SetCurSel(0);
  ClickCombo();
  ASSERT_NE(combo.GetDropWnd(), nullptr);
  EXPECT_TRUE(combo.GetDroppedState());
  EXPECT_EQ(::GetCapture(), combo.GetDropWnd()->m_hWnd);
  EXPECT_EQ(page.codes, (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN}));

  // The first move hands the capture to the list, the next one tracks the row.
  Move(RowOnScreen(2));
  EXPECT_EQ(::GetCapture(), combo.GetDropWnd()->GetListBox()->m_hWnd);
  Move(RowOnScreen(2));
  EXPECT_EQ(combo.GetDropWnd()->GetListBox()->GetCurSel(), 2);
  EXPECT_EQ(combo.SendMessage(CB_GETTOPINDEX), 0);
  Down(RowOnScreen(2));
  Up(RowOnScreen(2));
  testkit::PumpPending();

  EXPECT_EQ(combo.GetDropWnd(), nullptr);
  EXPECT_FALSE(combo.GetDroppedState());
  std::vector<int> all = page.codes;
  all.insert(all.end(), log.begin(), log.end());
  EXPECT_EQ(all, (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE, kComplete}));
  EXPECT_EQ(combo.GetCurSel(), 2);
  CString text;
  combo.GetWindowText(text);
  EXPECT_STREQ(text, "Item 2");
}

TEST_F(DrawnComboTest, PickingTheSecondOfEqualTextsMakesTheFirstCurrent) {
  Make();
  combo.AddString("same");
  combo.AddString("same");
  combo.ShowDropDown(TRUE);
  ASSERT_NE(combo.GetDropWnd(), nullptr);
  combo.SendMessage(WM_ACB_SELECTITEM, 1);
  EXPECT_EQ(combo.GetCurSel(), 0);
  // A row outside the drop window's list picks nothing.
  combo.ShowDropDown(TRUE);
  page.codes.clear();
  combo.SendMessage(WM_ACB_SELECTITEM, 5);
  EXPECT_TRUE(page.codes.empty());
  EXPECT_NE(combo.GetDropWnd(), nullptr);
}

TEST_F(DrawnComboTest, AClickOutsideTheOpenListCancels) {
  Make();
  Fill(3);
  ClickCombo();
  ASSERT_NE(combo.GetDropWnd(), nullptr);
  Down(CPoint(700, 700));
  Up(CPoint(700, 700));
  testkit::PumpPending();
  EXPECT_EQ(combo.GetDropWnd(), nullptr);
  EXPECT_EQ(page.codes, (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(DrawnComboTest, DisabledRowsAreNeitherTrackedNorPicked) {
  Make();
  Fill(4);
  combo.SetItemDisabled(2, 1);
  combo.SetCurSel(1);
  ClickCombo();
  ASSERT_NE(combo.GetDropWnd(), nullptr);
  CComboDropList* list = combo.GetDropWnd()->GetListBox();
  EXPECT_EQ(list->GetCurSel(), 1);
  Move(RowOnScreen(2));
  Move(RowOnScreen(2));
  EXPECT_EQ(list->GetCurSel(), 1);
  Down(RowOnScreen(2));
  Up(RowOnScreen(2));
  testkit::PumpPending();
  EXPECT_NE(combo.GetDropWnd(), nullptr);
  EXPECT_EQ(page.codes, (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN}));

  // The keyboard's selection steps over disabled rows in its direction.
  EXPECT_EQ(list->SetCurSel(2), 3);
  EXPECT_EQ(list->GetCurSel(), 3);
  EXPECT_EQ(list->SetCurSel(2), 1);
  EXPECT_EQ(list->GetCurSel(), 1);
  EXPECT_EQ(list->SetCurSel(9), LB_ERR);
}

// ---------------------------------------------------------------- drop-down geometry

TEST_F(DrawnComboTest, OpensBelowWithEveryRowWhenThereIsRoom) {
  Make();
  Fill(8);
  combo.ShowDropDown(TRUE);
  ASSERT_NE(combo.GetDropWnd(), nullptr);
  int H = combo.GetDropWnd()->GetListBox()->RowHeight();
  CRect c = ComboOnScreen(), d = DropOnScreen();
  EXPECT_EQ(d.top, c.bottom);
  EXPECT_EQ(d.left, c.left);
  EXPECT_EQ(d.Width(), c.Width());
  EXPECT_EQ(d.Height(), H * 8 + 2);
  EXPECT_EQ(combo.GetDropWnd()->GetMaxSize(), CSize(d.Width() + 100, d.Height() + 100));
  EXPECT_TRUE(combo.GetDropWnd()->GetExStyle() & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(combo.GetDropWnd()->GetExStyle() & WS_EX_TOPMOST);
}

TEST_F(DrawnComboTest, OpensUpwardsNearTheScreenBottom) {
  int SH = ::GetSystemMetrics(SM_CYSCREEN);
  Make(CRect(100, SH - 60, 400, SH), CRect(10, 10, 160, 31));
  Fill(8);
  combo.ShowDropDown(TRUE);
  ASSERT_NE(combo.GetDropWnd(), nullptr);
  int H = combo.GetDropWnd()->GetListBox()->RowHeight();
  CRect c = ComboOnScreen(), d = DropOnScreen();
  ASSERT_LT((SH - c.bottom) / H, 5);
  EXPECT_EQ(d.bottom, c.top);
  EXPECT_EQ(d.Height(), H * 8 + 2);
}

TEST_F(DrawnComboTest, TheItemLimitAppliesOnlyFromThatManyItems) {
  struct Case {
    int items;
    int limit;
    int rows;
  } cases[] = {{25, 10, 10}, {9, 10, 9}, {10, 10, 10}, {25, -1, 25}};
  for (const Case& k : cases) {
    Make();
    Fill(k.items);
    combo.SetDropItemLimit(k.limit);
    combo.ShowDropDown(TRUE);
    ASSERT_NE(combo.GetDropWnd(), nullptr);
    int H = combo.GetDropWnd()->GetListBox()->RowHeight();
    EXPECT_EQ(DropOnScreen().Height(), H * k.rows + 2) << k.items << " items, limit " << k.limit;
    Discard();
  }
}

TEST_F(DrawnComboTest, WideItemsWidenTheListAndTheScreenEdgeMovesItLeft) {
  int SW = ::GetSystemMetrics(SM_CXSCREEN);
  const char* wide = "A very long item text that is much wider than the combo box";
  struct Case {
    int pageLeft;
    bool atRightEdge;
  } cases[] = {{100, false}, {SW - 200, true}};
  for (const Case& k : cases) {
    Make(CRect(k.pageLeft, 100, k.pageLeft + 200, 300), CRect(10, 10, 160, 31));
    combo.AddString("short");
    combo.AddString(wide);
    combo.ShowDropDown(TRUE);
    ASSERT_NE(combo.GetDropWnd(), nullptr);
    CComboDropList* list = combo.GetDropWnd()->GetListBox();
    int expected = list->GetTextSize(wide, static_cast<int>(strlen(wide))).cx + ::GetSystemMetrics(SM_CXVSCROLL) + 8;
    CRect c = ComboOnScreen(), d = DropOnScreen();
    ASSERT_GT(expected, c.Width());
    EXPECT_EQ(d.Width(), expected);
    EXPECT_EQ(d.left, k.atRightEdge ? SW - expected : c.left);
    Discard();
  }
}

TEST_F(DrawnComboTest, TheGripResizesWithinItsLimits) {
  Make();
  Fill(6);
  ClickCombo();
  ASSERT_NE(combo.GetDropWnd(), nullptr);
  CRect opened = DropOnScreen(), c = ComboOnScreen();
  CPoint grip(opened.right - 4, opened.bottom - 4);
  Move(grip);
  Down(grip);
  struct Drag {
    int dx, dy;
    int width, height;
  } drags[] = {
      {30, 20, opened.Width() + 30, opened.Height() + 20 + 2},
      {500, 500, opened.Width() + 100, opened.Height() + 100},  // at most 100 more each way
      {-500, 0, c.Width(), opened.Height() + 2},                // never narrower than the combo box
  };
  for (const Drag& m : drags) {
    Move(CPoint(grip.x + m.dx, grip.y + m.dy));
    CRect now = DropOnScreen();
    EXPECT_EQ(now.TopLeft(), opened.TopLeft());
    EXPECT_EQ(now.Width(), m.width) << m.dx << "," << m.dy;
    EXPECT_EQ(now.Height(), m.height) << m.dx << "," << m.dy;
  }
  Up(CPoint(grip.x - 500, grip.y));
  testkit::PumpPending();
  EXPECT_NE(combo.GetDropWnd(), nullptr);  // resizing closes nothing
  EXPECT_EQ(page.codes, (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN}));
}

TEST_F(DrawnComboTest, TheScrollBarMovesTheListsTopRowWithinItsRange) {
  Make();
  Fill(25);
  combo.SetDropItemLimit(10);
  combo.ShowDropDown(TRUE);
  ASSERT_NE(combo.GetDropWnd(), nullptr);
  CComboDropList* list = combo.GetDropWnd()->GetListBox();
  CWnd* bar = combo.GetDropWnd()->GetDlgItem(100);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(list->GetVisibleCount(), 10);
  struct Step {
    UINT code;
    int thumb;
    int top;
  } steps[] = {{SB_LINEDOWN, 0, 1}, {SB_PAGEDOWN, 0, 11}, {SB_THUMBTRACK, 3, 3}, {SB_LINEUP, 0, 2},
               {SB_PAGEUP, 0, 0},   {SB_THUMBPOSITION, 99, 15}};  // the list shows no rows past its end
  for (const Step& s : steps) {
    combo.GetDropWnd()->SendMessage(WM_VSCROLL, MAKEWPARAM(s.code, s.thumb), reinterpret_cast<LPARAM>(bar->m_hWnd));
    EXPECT_EQ(list->GetTopIndex(), s.top) << s.code;
    EXPECT_EQ(combo.SendMessage(CB_GETTOPINDEX), s.top);
  }
}

TEST_F(DrawnComboTest, EditableStyleGetsItsEditAndTakesThePick) {
  Make(CRect(100, 100, 400, 300), CRect(10, 10, 160, 31), CBS_DROPDOWN);
  ASSERT_NE(combo.GetEdit(), nullptr);
  EXPECT_EQ(combo.GetEdit()->GetDlgCtrlID(), 108);
  Fill(3);
  combo.ShowDropDown(TRUE);
  combo.SendMessage(WM_ACB_SELECTITEM, 1);
  CString text;
  combo.GetEdit()->GetWindowText(text);
  EXPECT_STREQ(text, "Item 1");
  EXPECT_EQ(combo.GetCurSel(), 1);
  EXPECT_EQ(combo.GetEditSel(), static_cast<DWORD>(MAKELONG(0, 6)));
  EXPECT_EQ(::GetFocus(), combo.GetEdit()->m_hWnd);
}

TEST_F(DrawnComboTest, ControlMadeByCreateFinishesItsSetUpWhenShown) {
  ASSERT_TRUE(page.CreateEx(0, AfxRegisterWndClass(0), "page", WS_POPUP | WS_VISIBLE, CRect(100, 100, 400, 300),
                            nullptr, 0));
  ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWN, CRect(10, 10, 160, 31), &page, kComboId));
  EXPECT_EQ(combo.GetEdit(), nullptr);
  combo.ShowWindow(SW_SHOW);
  ASSERT_NE(combo.GetEdit(), nullptr);
  EXPECT_NE(combo.GetFont(), nullptr);
}

}  // namespace
