// The extended list: row blocks, progress, check-box and edit cells, the
// header's check state, clicks and keys, and bad rows and columns.
#include <gtest/gtest.h>

#include "CExtHeaderCtrl.h"
#include "CExtListCtrl.h"
#include "ExtListFixture.h"
#include "ListCellData.h"
#include "TestKit.h"

namespace {

TEST(ListCellDataTest, BlockHoldsDefaultRecordsAndKnowsItsCount) {
  ListCellData* cells = AllocateRowData(3);
  ASSERT_NE(cells, nullptr);
  EXPECT_EQ(RowDataCount(cells), 3);
  EXPECT_EQ(RowCell(cells, 2), cells + 2);
  EXPECT_EQ(RowCell(cells, 3), nullptr);
  EXPECT_EQ(RowCell(cells, -1), nullptr);
  EXPECT_EQ(RowCell(nullptr, 0), nullptr);
  const ListCellData& c = cells[1];
  EXPECT_TRUE(c.enabled);
  EXPECT_FALSE(c.bold || c.modified || c.isCombo || c.sortStrings || c.isEdit || c.showProgress);
  EXPECT_EQ(c.imageIndex, -1);
  EXPECT_EQ(c.comboStrings, nullptr);
  EXPECT_EQ(c.dropDownItems, 10);
  EXPECT_EQ(c.initialSelection, -1);
  EXPECT_EQ(c.textColor, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(c.backColor, GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(c.progressPos, 0);
  EXPECT_TRUE(c.progressFormat.IsEmpty());
  EXPECT_TRUE(c.showProgressText);
  EXPECT_EQ(c.checkState, -1);
  EXPECT_EQ(c.userData, 0u);
  static_assert(sizeof(c.userData) == sizeof(void*), "a row's user value holds a pointer");
  cells[0].toolTip = "a text long enough to live on the heap, not in the string itself";
  FreeRowData(cells);
  FreeRowData(nullptr);
}

TEST(ListCellDataTest, ListMessagesAreRegisteredUnderTheirNames) {
  const struct {
    UINT number;
    const char* name;
  } messages[] = {
      {WM_RTCOMBOLIST_COMPLETE, "WM_RTCOMBOLIST_COMPLETE"},
      {WM_RTCOMBOLIST_VK_ESCAPE, "WM_RTCOMBOLIST_VK_ESCAPE"},
      {WM_CELLCOMBO_COMPLETE, "WM_CELLCOMBO_COMPLETE"},
      {WM_CELLCOMBO_VK_ESCAPE, "WM_CELLCOMBO_VK_ESCAPE"},
      {WM_EXTLIST_CHECKBOX_CLICKED, "WM_EXTLIST_CHECKBOX_CLICKED"},
      {WM_EXTLIST_COMBO_SELECTION, "WM_EXTLIST_COMBO_SELECTION"},
      {WM_EXTLIST_EDIT_END, "WM_EXTLIST_EDIT_END"},
      {WM_CELLEDIT_KILL_FOCUS, "WM_CELLEDIT_KILL_FOCUS"},
      {WM_CELLEDIT_VK_ESCAPE, "WM_CELLEDIT_VK_ESCAPE"},
  };
  for (const auto& m : messages) {
    EXPECT_GE(m.number, 0xC000u) << m.name;
    EXPECT_EQ(RegisterWindowMessageA(m.name), m.number) << m.name;
  }
  EXPECT_EQ(WM_LIST_CELL_CLICKED, 0x700u);
}

TEST(ListCellDataTest, HandCursorIsAProgramResource) {
  HCURSOR hand = LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_LIST_HAND));
  ASSERT_NE(hand, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_FALSE(info.fIcon);
  BITMAP bm{};
  GetObject(info.hbmColor, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 16);
  EXPECT_EQ(bm.bmHeight, 16);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

using ExtListTest = ExtListFixture<CExtListCtrl>;

TEST_F(ExtListTest, HeaderIsSubclassedAndRowsGetBlocks) {
  EXPECT_EQ(CWnd::FromHandlePermanent(reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER, 0, 0))),
            &list.m_HeaderCtrl);
  EXPECT_EQ(list.m_HeaderCtrl.m_pListCtrl, &list);
  EXPECT_EQ(list.InsertItem(-1, "no"), -1);
  EXPECT_EQ(list.GetItemCount(), 0);
  AddRows(2);
  EXPECT_EQ(list.GetColumns(), 4);
  EXPECT_TRUE(list.SetItemData(1, 77));
  EXPECT_EQ(list.GetItemData(1), 77u);
  EXPECT_EQ(list.FindDataItem(77), 1);
  EXPECT_EQ(list.FindDataItem(78), -1);
  LVITEM item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = 2;
  item.pszText = const_cast<char*>("AP-2");
  item.lParam = 1234;
  EXPECT_EQ(list.InsertItem(&item), 2);
  EXPECT_EQ(list.GetItemData(2), 1234u);
}

// A row deleted through the plain list, bypassing the class, still frees its
// block (the leak checker watches), and a column added after the rows has no
// record in them.
TEST_F(ExtListTest, BlocksGoWithTheirRowsWhicheverWayTheyGo) {
  AddRows(3);
  CListCtrl* plain = &list;
  EXPECT_TRUE(plain->DeleteItem(0));
  EXPECT_EQ(list.GetItemCount(), 2);
  EXPECT_EQ(list.GetItemText(0, 0), "AP-1");
  EXPECT_TRUE(list.SetBold(0, 1, TRUE));
  list.InsertColumn(4, "Late", LVCFMT_LEFT, 40);
  EXPECT_FALSE(list.SetBold(0, 4, TRUE));
  EXPECT_EQ(list.GetCheckbox(0, 4), -1);
  EXPECT_TRUE(list.SetItemText(0, 4, "text"));  // the plain cell text still works
  list.UpdateWindow();
  EXPECT_TRUE(list.DeleteItem(1));
  EXPECT_FALSE(list.DeleteItem(1));
  AddRows(2);
  EXPECT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(list.GetItemCount(), 0);
  AddRows(2);  // freed by the list's destruction
}

TEST_F(ExtListTest, BadRowsAndColumnsAreIgnored) {
  AddRows(2);
  const struct {
    int row, column;
  } bad[] = {{-1, 0}, {2, 0}, {0, -1}, {0, 4}, {100000, 100000}};
  for (const auto& b : bad) {
    EXPECT_FALSE(list.SetItemText(b.row, b.column, "x"));
    EXPECT_FALSE(list.SetProgress(b.row, b.column, TRUE, nullptr, TRUE));
    list.UpdateProgress(b.row, b.column, 50);
    list.DeleteProgress(b.row, b.column);
    EXPECT_EQ(list.GetCheckbox(b.row, b.column), -1);
    EXPECT_FALSE(list.SetCheckbox(b.row, b.column, 1));
    EXPECT_TRUE(list.GetItemToolTipText(b.row, b.column).IsEmpty());
    list.DrawEdit(b.row, b.column);
  }
  EXPECT_EQ(list.GetHeaderCheckedState(4), -1);
  EXPECT_FALSE(list.SetHeaderCheckedState(-1, 1));
  EXPECT_EQ(list.CountCheckedItems(9), 0);
}

// The progress bar fills (width of the trough) x p / 100 pixels from inside
// the frame; a position above 100 is held at 100 and never draws past the cell.
TEST_F(ExtListTest, ProgressCellFillsInProportion) {
  AddRows(1);
  ASSERT_TRUE(list.SetProgress(0, 1, FALSE, nullptr, TRUE));
  CRect cell = CellRect(0, 1);
  CRect r(cell.left + 1, cell.top, cell.right, cell.bottom - 1);
  int left = r.left + 1, y = (r.top + r.bottom) / 2;
  const uint32_t bar = Rgb(GetSysColor(COLOR_HIGHLIGHT)), trough = 0xE0E0E0;
  const struct {
    int position;
    int filledTo;  // one past the last bar pixel; `left` for none
  } cases[] = {
      {0, left},
      {37, left + (r.right - left) * 37 / 100 - 1},
      {100, r.right - 1},
      {250, r.right - 1},
  };
  for (const auto& c : cases) {
    list.UpdateProgress(0, 1, c.position);
    SCOPED_TRACE(c.position);
    EXPECT_EQ(Pixel(r.left, y), 0u) << "black frame at the left";
    if (c.filledTo > left) {
      EXPECT_EQ(Pixel(left, y), bar);
      EXPECT_EQ(Pixel(c.filledTo - 1, y), bar);
    }
    if (c.filledTo < r.right - 1) {
      EXPECT_EQ(Pixel(c.filledTo, y), trough);
    }
    EXPECT_NE(Pixel(r.right - 1, y), bar) << "the frame's right edge stays";
    EXPECT_NE(Pixel(cell.right + 1, y), bar) << "nothing beyond the cell";
  }
  list.DeleteProgress(0, 1);
  EXPECT_NE(Pixel(left, y), bar);
}

// At 37% of a narrow cell the bar ends inside the text: the part over the bar
// is in the highlight text colour, the rest in the cell's text colour.
TEST_F(ExtListTest, ProgressTextChangesColourWhereTheBarEnds) {
  AddRows(1);
  list.SetColumnWidth(1, 44);
  ASSERT_TRUE(list.SetProgress(0, 1, TRUE, nullptr, TRUE));
  list.UpdateProgress(0, 1, 37);
  CRect cell = CellRect(0, 1);
  int barEnd = cell.left + 2 + (cell.right - cell.left - 2) * 37 / 100 - 1;
  int onBar = 0, offBar = 0;
  for (int x = cell.left + 2; x < cell.right - 1; ++x)
    for (int y = cell.top + 2; y < cell.bottom - 2; ++y) {
      uint32_t p = Pixel(x, y);
      if (x < barEnd && p == Rgb(GetSysColor(COLOR_HIGHLIGHTTEXT))) ++onBar;
      if (x >= barEnd && p == Rgb(GetSysColor(COLOR_WINDOWTEXT))) ++offBar;
    }
  EXPECT_GT(onBar, 0);
  EXPECT_GT(offBar, 0);
}

TEST_F(ExtListTest, ProgressFormatTakesOneNumberOnly) {
  AddRows(1);
  // A format that asks for a string would read a stray pointer: it falls back
  // to the plain percentage instead of crashing.
  EXPECT_TRUE(list.SetProgress(0, 1, TRUE, "%s and %n", TRUE));
  list.UpdateProgress(0, 1, 50);
  list.UpdateWindow();
  EXPECT_TRUE(list.SetProgress(0, 1, TRUE, "step %d of 100", TRUE));
  list.UpdateProgress(0, 1, 50);
  list.UpdateWindow();
}

struct EditCase {
  const char* name;
  const char* typed;  // null: leave the start text
  UINT key;
  const char* cellAfter;
  bool modified;
  bool editEnd;
};

class ExtListEditTest : public ExtListFixture<CExtListCtrl>, public ::testing::WithParamInterface<EditCase> {};

TEST_P(ExtListEditTest, EditEndsAsTheKeySays) {
  const EditCase& c = GetParam();
  AddRows(1);
  list.SetItemText(0, 2, "old");
  ASSERT_TRUE(list.SetEdit(0, 2));
  CRect cell = CellRect(0, 2);
  testkit::Click(list.m_hWnd, POINT{cell.left + 10, cell.top + 4});
  testkit::PumpPending();
  CWnd* edit = list.GetDlgItem(99);
  ASSERT_NE(edit, nullptr);
  HWND editWnd = edit->m_hWnd;
  EXPECT_EQ(::GetFocus(), editWnd);
  CString shown;
  edit->GetWindowText(shown);
  EXPECT_EQ(shown, "old");
  if (c.typed) edit->SetWindowText(c.typed);
  ::SendMessage(editWnd, WM_KEYDOWN, c.key, 1);
  EXPECT_EQ(list.GetItemText(0, 2), c.cellAfter);
  EXPECT_EQ(list.GetModified(0, 2), c.modified);
  EXPECT_EQ(list.IsListModified(), c.modified);
  EXPECT_EQ(page.Count(WM_EXTLIST_EDIT_END), c.editEnd ? 1 : 0);
  if (c.editEnd) {
    EXPECT_EQ(page.heard.back().wParam, 0u);
    EXPECT_EQ(page.heard.back().lParam, 2);
  }
  EXPECT_FALSE(::IsWindowVisible(editWnd));
  testkit::PumpPending();
  EXPECT_FALSE(::IsWindow(editWnd));
}

INSTANTIATE_TEST_SUITE_P(Keys, ExtListEditTest,
                         ::testing::Values(EditCase{"EnterTakesTheText", "new", VK_RETURN, "new", true, true},
                                           EditCase{"EnterUnchanged", nullptr, VK_RETURN, "old", false, true},
                                           EditCase{"EmptyPutsTheOldTextBack", "", VK_RETURN, "old", false, true},
                                           EditCase{"EscapePutsTheOldTextBack", "new", VK_ESCAPE, "old", false,
                                                    false}),
                         [](const ::testing::TestParamInfo<EditCase>& info) { return info.param.name; });

// Losing the focus ends the edit from inside the edit's own kill-focus
// handler; the list must not destroy the edit there (the sanitizer watches).
TEST_F(ExtListTest, EditorEndedFromItsOwnKillFocus) {
  AddRows(2);
  list.SetEdit(1, 2);
  list.DrawEdit(1, 2);
  CWnd* edit = list.GetDlgItem(99);
  ASSERT_NE(edit, nullptr);
  HWND editWnd = edit->m_hWnd;
  edit->SetWindowText("typed");
  page.SetFocus();
  EXPECT_EQ(list.GetItemText(1, 2), "typed");
  EXPECT_EQ(page.Count(WM_EXTLIST_EDIT_END), 1);
  EXPECT_TRUE(::IsWindow(editWnd)) << "destroyed later, not inside its handler";
  ::SendMessage(editWnd, WM_KEYDOWN, VK_RETURN, 1);  // a late key sends nothing more
  EXPECT_EQ(page.Count(WM_EXTLIST_EDIT_END), 1);
  testkit::PumpPending();
  EXPECT_FALSE(::IsWindow(editWnd));
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ExtListTest, EditOfADisabledRowDoesNotOpen) {
  AddRows(1);
  list.SetEdit(0, 2);
  list.SetEnabled(0, FALSE);
  list.DrawEdit(0, 2);
  EXPECT_EQ(list.GetDlgItem(99), nullptr);
}

TEST_F(ExtListTest, ListDestroyedWithAnEditOpenOrEnded) {
  AddRows(2);
  list.SetEdit(0, 2);
  list.SetEdit(1, 2);
  list.DrawEdit(0, 2);
  ::SendMessage(list.GetDlgItem(99)->m_hWnd, WM_KEYDOWN, VK_RETURN, 1);  // ended, destroy pending
  list.DrawEdit(1, 2);                                                     // open
  list.DestroyWindow();
  testkit::PumpPending();
}

// Ticking the last clear box of a column whose header has a check box ticks
// the header; clearing one clears it.
TEST_F(ExtListTest, HeaderCheckFollowsTheColumn) {
  AddRows(3);
  for (int row = 0; row < 3; ++row) ASSERT_TRUE(list.SetCheckbox(row, 3, 0));
  EXPECT_EQ(list.GetHeaderCheckedState(3), 0);
  ASSERT_TRUE(list.SetHeaderCheckedState(3, 1));
  const struct {
    int row;
    int cellAfter;
    int headerAfter;
  } presses[] = {{0, 1, 1}, {1, 1, 1}, {2, 1, 2}, {1, 0, 1}, {1, 1, 2}};
  for (const auto& p : presses) {
    CRect cell = CellRect(p.row, 3);
    testkit::AdvanceClock(1000);  // apart, not a double click
    testkit::Click(list.m_hWnd, POINT{cell.left + 12, cell.top + 4});
    testkit::PumpPending();
    EXPECT_EQ(list.GetCheckbox(p.row, 3), p.cellAfter);
    EXPECT_EQ(list.GetHeaderCheckedState(3), p.headerAfter);
  }
  EXPECT_EQ(list.CountCheckedItems(3), 3);
  EXPECT_EQ(page.Count(WM_EXTLIST_CHECKBOX_CLICKED), 5);
  EXPECT_EQ(page.heard.back().lParam, 3);
  EXPECT_TRUE(list.GetModified(1, 3));
  // Setting the boxes by program follows the same rule.
  list.SetCheckbox(0, 3, 0);
  EXPECT_EQ(list.GetHeaderCheckedState(3), 1);
  list.SetCheckbox(0, 3, 1);
  EXPECT_EQ(list.GetHeaderCheckedState(3), 2);
}

// Header states 0, 1 and 2: no box, an empty box, a ticked box before the text.
TEST_F(ExtListTest, HeaderDrawsTheCheckBoxOfItsState) {
  CHeaderCtrl& header = list.m_HeaderCtrl;
  CRect item;
  header.GetItemRect(3, &item);
  int boxLeft = item.left + list.m_HeaderCtrl.GetSpacing();
  int boxTop = item.top + (item.Height() - 13) / 2;
  const struct {
    int state;
    bool frame, tick;
  } cases[] = {{0, false, false}, {1, true, false}, {2, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    list.SetHeaderCheckedState(3, c.state);
    header.UpdateWindow();
    int frame = 0, tick = 0;
    for (int x = boxLeft; x < boxLeft + 13; ++x)
      for (int y = boxTop; y < boxTop + 13; ++y) {
        uint32_t p = testkit::WindowPixel(header.m_hWnd, x, y);
        frame += p == 0x336699;
        tick += p == 0x339933;
      }
    EXPECT_EQ(frame > 0, c.frame);
    EXPECT_EQ(tick > 0, c.tick);
  }
}

TEST_F(ExtListTest, DownOntoADisabledLastRowGoesToTheNearestEnabledAbove) {
  AddRows(4);
  list.SetEnabled(3, FALSE);
  list.SetEnabled(2, FALSE);
  list.SetFocus();
  list.SetCurSel(1, TRUE);
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(list.GetCurSel(), 1);
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(list.GetCurSel(), 1);
  list.SendMessage(WM_KEYDOWN, VK_UP, 1);
  EXPECT_EQ(list.GetCurSel(), 0);
}

TEST_F(ExtListTest, ComboCellTakesItsChoicesAndShowsTheInitialOne) {
  AddRows(1);
  CStringArray roles;
  roles.Add("Slave");
  roles.Add("master");
  roles.Add("Backup Master");
  EXPECT_FALSE(list.SetComboBox(0, 1, TRUE, nullptr, 5, 0, FALSE));
  ASSERT_TRUE(list.SetComboBox(0, 1, TRUE, &roles, 5, 7, TRUE));
  EXPECT_EQ(roles[0], "Backup Master");
  EXPECT_EQ(roles[1], "master");
  EXPECT_EQ(roles[2], "Slave");
  EXPECT_EQ(list.GetComboText(0, 1), "Backup Master");
  ASSERT_TRUE(list.SetComboBox(0, 2, TRUE, &roles, 5, 2, FALSE));
  EXPECT_EQ(list.GetComboText(0, 2), "Slave");
  // A press on a combo cell opens nothing yet and changes nothing.
  CRect cell = CellRect(0, 1);
  testkit::Click(list.m_hWnd, POINT{cell.left + 10, cell.top + 4});
  testkit::PumpPending();
  EXPECT_EQ(list.GetComboText(0, 1), "Backup Master");
}

// With no combo open, a combo timer left over from an earlier combo stops at
// its first tick instead of firing on.
TEST_F(ExtListTest, StaleComboTimersStop) {
  testkit::MessageSpy spy;
  for (UINT_PTR id = 1; id <= 3; ++id) list.SetTimer(id, 50, nullptr);
  for (int i = 0; i < 3; ++i) {
    testkit::AdvanceClock(60);
    testkit::PumpPending();
  }
  EXPECT_EQ(spy.Of(list.m_hWnd, {WM_TIMER}).size(), 3u);
}

using ClickListTest = ExtListFixture<CClickListCtrl>;

TEST_F(ClickListTest, ClicksBecomeCellClicksForTheParent) {
  AddRows(2);
  CRect cell = CellRect(1, 2);
  testkit::Click(list.m_hWnd, POINT{cell.left + 5, cell.top + 3});
  testkit::Click(list.m_hWnd, POINT{cell.left + 5, 200});
  testkit::PumpPending();
  ASSERT_EQ(page.Count(WM_LIST_CELL_CLICKED), 2);
  EXPECT_EQ(page.heard[0].wParam, 2u);
  EXPECT_EQ(page.heard[0].lParam, 1);
  EXPECT_EQ(page.heard[1].lParam, -1);
}

// Over the icon of a hand-cursor column the list shows the hand (179) and says
// so; over its text, or over another column's icon, it does not.
TEST_F(ClickListTest, HandCursorOverTheIconsOfItsColumns) {
  AddRows(1);
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
  HBITMAP bmp = CreateBitmap(16, 16, 1, 32, nullptr);
  ImageList_Add(images, bmp, nullptr);
  DeleteObject(bmp);
  list.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  list.SetExtendedStyle(LVS_EX_SUBITEMIMAGES);
  for (int column : {2, 3}) list.CListCtrl::SetItem(0, column, LVIF_IMAGE, nullptr, 0, 0, 0, 0);
  list.SetHandCursorColumns(3, 2);
  const struct {
    int column;
    int dx;  // from the cell's left edge
    bool hand;
  } moves[] = {{2, 8, true}, {2, 60, false}, {3, 8, true}, {1, 8, false}};
  HCURSOR hand = LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_LIST_HAND));
  for (const auto& m : moves) {
    SCOPED_TRACE(m.column * 100 + m.dx);
    CRect cell = CellRect(0, m.column);
    ::SetCursor(nullptr);
    list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(cell.left + m.dx, cell.top + 4));
    EXPECT_EQ(list.m_bHandCursor, m.hand);
    EXPECT_EQ(::GetCursor() == hand, m.hand);
  }
  list.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, 0);
  ImageList_Destroy(images);
}

}  // namespace
