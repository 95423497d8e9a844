// The in-cell combo box of the extended list, driven with the mouse as a
// user drives it, and the stand-alone drop-down popup of the same family.
#include <gtest/gtest.h>

#include <vector>

#include "CComboDropWnd.h"
#include "CExtCellCombo.h"
#include "ExtListFixture.h"
#include "FramePump.h"

namespace {

const int kRow = 1, kColumn = 2;

class CellComboTest : public ExtListFixture<CExtListCtrl> {
 protected:
  void SetUp() override {
    ExtListFixture<CExtListCtrl>::SetUp();
    AddRows(3);
    choices.Add("Backup");
    choices.Add("Master");
    choices.Add("Slave");
    for (int row = 0; row < 3; ++row) ASSERT_TRUE(list.SetComboBox(row, kColumn, TRUE, &choices, 5, 1, FALSE));
  }
  CPoint OnScreen(CPoint client) {
    list.ClientToScreen(&client);
    return client;
  }
  static void Move(CPoint at) {
    testkit::MouseMove(at);
    testkit::PumpPending();
  }
  // Down and up are queued together: the list view's own press handling
  // waits for the release to tell a click from a drag.
  static void Press(CPoint at) {
    testkit::MouseMove(at);
    testkit::PumpPending();
    testkit::MouseDown(at);
    testkit::MouseUp(at);
    testkit::PumpPending();
  }
  CExtCellCombo* OpenOnCell(int row) {
    Press(OnScreen(CellRect(row, kColumn).CenterPoint()));
    return list.GetCellCombo();
  }
  CPoint ComboCenter() {
    CRect r;
    list.GetCellCombo()->GetWindowRect(&r);
    return r.CenterPoint();
  }
  CPoint RowOfOpenList(int row) {
    CComboDropList* drop = list.GetCellCombo()->GetDropWnd()->GetListBox();
    CRect r;
    drop->GetWindowRect(&r);
    return CPoint(r.left + 10, r.top + row * drop->RowHeight() + drop->RowHeight() / 2);
  }
  // What the combo told the list, in order: CBN_ codes, and the two reports as
  // kCompleted / kCancelled.
  std::vector<int> Told(const testkit::MessageSpy& spy) {
    std::vector<int> told;
    for (const testkit::SpiedMessage& m : spy.messages) {
      if (m.hwnd != list.m_hWnd) continue;
      if (m.msg == WM_CELLCOMBO_COMPLETE) told.push_back(kCompleted);
      if (m.msg == WM_CELLCOMBO_VK_ESCAPE) told.push_back(kCancelled);
      // The focus coming back to the combo box (CBN_SETFOCUS) is left out.
      if (m.msg == WM_COMMAND && m.lParam != 0 && HIWORD(m.wParam) != CBN_SETFOCUS)
        told.push_back(HIWORD(m.wParam));
    }
    return told;
  }
  void WaitTheListsDelay() {
    testkit::AdvanceClock(60);
    testkit::PumpPending();
  }

  static constexpr int kCompleted = -1, kCancelled = -2;
  CStringArray choices;
};

TEST_F(CellComboTest, PressOnAComboCellOpensTheComboOverTheCellOnTheShownChoice) {
  CExtCellCombo* combo = OpenOnCell(kRow);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_EQ(combo->GetStyle() & (WS_POPUP | CBS_DROPDOWNLIST), static_cast<DWORD>(WS_POPUP | CBS_DROPDOWNLIST));
  EXPECT_EQ(combo->GetDropItemLimit(), 5);
  CRect onScreen, cell = CellRect(kRow, kColumn);
  combo->GetWindowRect(&onScreen);
  EXPECT_EQ(onScreen.TopLeft(), OnScreen(CPoint(cell.left + 1, cell.top - 1)));
  EXPECT_EQ(combo->GetDropWnd(), nullptr);
}

TEST_F(CellComboTest, APickWithTheMouseReachesTheListAfterItsDelay) {
  ASSERT_NE(OpenOnCell(kRow), nullptr);
  testkit::MessageSpy spy;
  Press(ComboCenter());
  ASSERT_NE(list.GetCellCombo(), nullptr);
  ASSERT_NE(list.GetCellCombo()->GetDropWnd(), nullptr);
  // The pointer enters the open list: the list takes the focus, and that is
  // no end of the editing.
  Move(RowOfOpenList(2));
  Move(RowOfOpenList(2));
  CComboDropWnd* drop = list.GetCellCombo()->GetDropWnd();
  EXPECT_TRUE(::GetFocus() == drop->m_hWnd || ::IsChild(drop->m_hWnd, ::GetFocus()));
  EXPECT_EQ(Told(spy), (std::vector<int>{CBN_DROPDOWN}));

  testkit::MouseDown(RowOfOpenList(2));
  testkit::PumpPending();
  testkit::MouseUp(RowOfOpenList(2));
  testkit::PumpPending();
  EXPECT_EQ(Told(spy), (std::vector<int>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE,
                                         kCompleted}));
  EXPECT_EQ(page.Count(WM_EXTLIST_COMBO_SELECTION), 0);
  WaitTheListsDelay();
  ASSERT_EQ(page.Count(WM_EXTLIST_COMBO_SELECTION), 1);
  EXPECT_EQ(page.heard.back().wParam, static_cast<WPARAM>(kRow));
  EXPECT_EQ(page.heard.back().lParam, kColumn);
  EXPECT_STREQ(list.GetItemText(kRow, kColumn), "Slave");
  EXPECT_TRUE(list.GetModified(kRow, kColumn));
  EXPECT_TRUE(list.IsListModified());
  EXPECT_EQ(list.GetCellCombo(), nullptr);
}

TEST_F(CellComboTest, APressElsewhereCancels) {
  ASSERT_NE(OpenOnCell(kRow), nullptr);
  Press(ComboCenter());  // open
  Press(ComboCenter());  // and closed again, the combo keeping the focus
  ASSERT_EQ(list.GetCellCombo()->GetDropWnd(), nullptr);
  testkit::MessageSpy spy;
  CRect client;
  list.GetClientRect(&client);
  Press(OnScreen(CPoint(client.right - 20, client.bottom - 10)));  // below every row
  EXPECT_EQ(Told(spy), (std::vector<int>{kCancelled, kCompleted}));
  WaitTheListsDelay();
  EXPECT_EQ(list.GetCellCombo(), nullptr);
  EXPECT_EQ(page.Count(WM_EXTLIST_COMBO_SELECTION), 0);
  EXPECT_STREQ(list.GetItemText(kRow, kColumn), "Master");
  EXPECT_FALSE(list.GetModified(kRow, kColumn));
}

TEST_F(CellComboTest, PointerIntoTheListThenAPressOutsideBothClosesThenCompletes) {
  ASSERT_NE(OpenOnCell(kRow), nullptr);
  Press(ComboCenter());
  ASSERT_NE(list.GetCellCombo()->GetDropWnd(), nullptr);
  Move(RowOfOpenList(0));
  Move(RowOfOpenList(0));
  testkit::MessageSpy spy;
  Press(CPoint(700, 700));
  EXPECT_EQ(list.GetCellCombo()->GetDropWnd(), nullptr);
  EXPECT_EQ(Told(spy), (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP, kCompleted}));
  WaitTheListsDelay();
  EXPECT_EQ(list.GetCellCombo(), nullptr);
  // Nothing was picked: the choice shown at the opening is taken, unchanged.
  EXPECT_EQ(page.Count(WM_EXTLIST_COMBO_SELECTION), 1);
  EXPECT_STREQ(list.GetItemText(kRow, kColumn), "Master");
  EXPECT_FALSE(list.GetModified(kRow, kColumn));
}

// The focused combo reports its end when the press on the next cell takes the
// focus; those reports concern the old combo, not the one opened by the press.
TEST_F(CellComboTest, APressOnAnotherComboCellOpensAComboThatStays) {
  ASSERT_NE(OpenOnCell(kRow), nullptr);
  Press(ComboCenter());
  Press(ComboCenter());
  CExtCellCombo* next = OpenOnCell(kRow + 1);
  ASSERT_NE(next, nullptr);
  WaitTheListsDelay();
  EXPECT_EQ(list.GetCellCombo(), next);
  EXPECT_EQ(page.Count(WM_EXTLIST_COMBO_SELECTION), 0);
}

TEST_F(CellComboTest, KeysInTheFocusedComboStillEndTheEditing) {
  struct Case {
    UINT key;
    const char* text;  // the cell's text afterwards
    int selections;    // WM_EXTLIST_COMBO_SELECTION heard
  } cases[] = {{VK_ESCAPE, "Master", 0}, {VK_RETURN, "Slave", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    page.heard.clear();
    list.SetItemText(kRow, kColumn, "Master");
    testkit::AdvanceClock(1000);  // the next press is no double click
    testkit::PumpPending();
    ASSERT_NE(OpenOnCell(kRow), nullptr);
    list.GetCellCombo()->SetFocus();
    testkit::PressKey(VK_DOWN);
    PumpWithPreTranslate();
    testkit::PressKey(c.key);
    PumpWithPreTranslate();
    WaitTheListsDelay();
    EXPECT_EQ(list.GetCellCombo(), nullptr);
    EXPECT_STREQ(list.GetItemText(kRow, kColumn), c.text);
    EXPECT_EQ(page.Count(WM_EXTLIST_COMBO_SELECTION), c.selections);
  }
}

// ---------------------------------------------------------------- the popup

class Owner : public CWnd {
 public:
  std::vector<UINT> heard;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CELLCOMBO_VK_ESCAPE || message == WM_CELLCOMBO_VK_RETURN || message == WM_CELLCOMBO_KEYDOWN ||
        message == WM_CELLCOMBO_LBUTTONUP)
      heard.push_back(message);
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class CellComboListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 300),
                               nullptr, 0));
    ASSERT_TRUE(popup.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(20, 20, 160, 60), &owner,
                               0));
    for (const char* text : {"apple", "banana", "mango", "melon", "pear"}) popup.GetListBox().AddString(text);
  }
  void TearDown() override {
    popup.DestroyWindow();
    owner.DestroyWindow();
    testkit::ResetWindows();
  }
  void Key(UINT vk) {
    testkit::PressKey(vk);
    PumpWithPreTranslate();
  }
  Owner owner;
  CExtCellComboList popup{&owner};
};

TEST_F(CellComboListTest, ALetterMovesToTheNextRowBeginningWithIt) {
  popup.SetActive(16);
  EXPECT_EQ(::GetFocus(), popup.GetListBox().m_hWnd);
  Key('M');
  EXPECT_EQ(owner.heard, (std::vector<UINT>{WM_CELLCOMBO_KEYDOWN}));
  EXPECT_EQ(popup.GetScrollBar()->GetScrollPos(), 2);
  Key('Q');  // no row begins with it: nothing moves, nothing is sent
  EXPECT_EQ(owner.heard.size(), 1u);
  Key(VK_END);
  EXPECT_EQ(popup.GetScrollBar()->GetScrollPos(), popup.GetScrollBar()->GetScrollLimit());
  Key(VK_RETURN);
  Key(VK_ESCAPE);
  EXPECT_EQ(owner.heard, (std::vector<UINT>{WM_CELLCOMBO_KEYDOWN, WM_CELLCOMBO_KEYDOWN, WM_CELLCOMBO_VK_RETURN,
                                            WM_CELLCOMBO_VK_ESCAPE}));
}

TEST_F(CellComboListTest, OnlyTheThirdAndLaterFocusLossesCancel) {
  for (int loss = 1; loss <= 4; ++loss) {
    popup.SetFocus();
    owner.SetFocus();
    EXPECT_EQ(owner.heard.size(), loss < 3 ? 0u : static_cast<size_t>(loss - 2)) << "loss " << loss;
  }
}

}  // namespace
