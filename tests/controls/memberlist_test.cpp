// The member list: row blocks and bad cells, presses and clicks, colours,
// check boxes and icons, the in-cell role combo on the test clock, the
// control's tooltip and the column resize limit.
#include <gtest/gtest.h>

#include <string>

#include "CRTListCtrlEx.h"
#include "CommCtrl.h"
#include "ExtListFixture.h"
#include "ListCellData.h"
#include "TestKit.h"

namespace {

enum { kIndex, kRole, kIp, kMac, kLocation, kAuto, kManual, kDelete };

class MemberListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    ASSERT_TRUE(page.CreateEx(0, nullptr, "page", WS_POPUP | WS_VISIBLE, 10, 10, 640, 240, nullptr, nullptr));
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(0, 0, 620, 220), &page,
                            1104));
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    const char* names[] = {"#", "Role", "IP", "MAC", "Location", "Auto", "Manual", "Delete"};
    const int widths[] = {30, 100, 100, 100, 80, 90, 50, 50};
    for (int i = 0; i < 8; ++i) list.InsertColumn(i, names[i], LVCFMT_LEFT, widths[i]);
    roles.Add("Master");
    roles.Add("Backup Master");
    roles.Add("Slave");
  }
  void TearDown() override {
    page.DestroyWindow();
    testkit::ResetWindows();
  }
  void AddRows(int n) {
    for (int i = 0; i < n; ++i) ASSERT_EQ(list.InsertItem(list.GetItemCount(), std::to_string(i).c_str()), i);
  }
  CRect CellRect(int row, int column) {
    CRect rc;
    EXPECT_TRUE(list.GetSubItemRect(row, column, LVIR_BOUNDS, rc));
    return rc;
  }
  void Press(int row, int column, int dx = 10) {
    CRect cell = CellRect(row, column);
    testkit::AdvanceClock(1000);  // apart, not a double click
    testkit::Click(list.m_hWnd, POINT{cell.left + dx, cell.top + 4});
    testkit::PumpPending();
  }
  void Wait(ULONGLONG ms) {
    testkit::AdvanceClock(ms);
    testkit::PumpPending();
  }
  uint32_t Pixel(int x, int y) {
    list.UpdateWindow();
    return testkit::WindowPixel(list.m_hWnd, x, y);
  }
  int CountPixels(const CRect& rc, uint32_t color) {
    list.UpdateWindow();
    int n = 0;
    for (int x = rc.left; x < rc.right; ++x)
      for (int y = rc.top; y < rc.bottom; ++y) n += testkit::WindowPixel(list.m_hWnd, x, y) == color;
    return n;
  }

  RecordingPage page;
  CRTListCtrlEx list;
  CStringArray roles;
};

// Blocks go with their rows also when the plain list deletes them (the leak
// checker watches), and a column added after the rows has no record in them.
TEST_F(MemberListTest, CellDataLivesAndDiesWithItsRow) {
  EXPECT_EQ(list.InsertItem(-1, "no"), -1);
  EXPECT_EQ(list.GetItemCount(), 0);
  AddRows(3);
  ASSERT_NE(list.Cell(2, 7), nullptr);
  CListCtrl* plain = &list;
  EXPECT_TRUE(plain->DeleteItem(0));
  EXPECT_EQ(list.GetItemCount(), 2);
  EXPECT_TRUE(list.SetCheckbox(0, kAuto, 1));
  list.InsertColumn(8, "Late", LVCFMT_LEFT, 40);
  EXPECT_EQ(list.Cell(0, 8), nullptr);
  EXPECT_FALSE(list.SetCheckbox(0, 8, 1));
  EXPECT_EQ(list.GetCheckbox(0, 8), -1);
  EXPECT_FALSE(list.SetComboBox(0, 8, TRUE, &roles, 5, 0, FALSE));
  list.DrawComboBox(0, 8);
  EXPECT_EQ(list.GetCellCombo(), nullptr);
  EXPECT_TRUE(list.SetItemText(0, 8, "text"));  // the plain cell text still works
  list.UpdateWindow();
  AddRows(0);
  EXPECT_NE(list.InsertItem(2, "late row"), -1);
  EXPECT_NE(list.Cell(2, 8), nullptr);  // rows inserted later have the column
  // A caller's value in the plain item data is never taken for a block.
  plain->SetItemData(1, 0x1234);
  EXPECT_EQ(list.Cell(1, 0), nullptr);
  EXPECT_FALSE(list.SetCheckbox(1, kAuto, 1));
  EXPECT_TRUE(plain->DeleteItem(1));
  EXPECT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(list.GetItemCount(), 0);
  AddRows(2);  // freed when the window goes
}

TEST_F(MemberListTest, BadRowsAndColumnsAreRefused) {
  AddRows(2);
  const struct {
    int row, column;
  } bad[] = {{-1, 0}, {2, 0}, {0, -1}, {0, 8}, {100000, 100000}};
  for (const auto& b : bad) {
    SCOPED_TRACE(b.row * 1000 + b.column);
    EXPECT_FALSE(list.SetItemText(b.row, b.column, "x"));
    EXPECT_FALSE(list.SetCheckbox(b.row, b.column, 1));
    EXPECT_EQ(list.GetCheckbox(b.row, b.column), -1);
    EXPECT_FALSE(list.SetComboBox(b.row, b.column, TRUE, &roles, 5, 0, FALSE));
    CRect rc;
    EXPECT_FALSE(list.GetSubItemRect(b.row, b.column, LVIR_BOUNDS, rc));
    list.UpdateSubItem(b.row, b.column);
    list.DrawComboBox(b.row, b.column);
    EXPECT_EQ(list.GetCellCombo(), nullptr);
  }
  EXPECT_EQ(list.GetCheckbox(0, kAuto), 0);  // no box is read as clear
}

TEST_F(MemberListTest, ComboCellSortsItsChoicesAndShowsTheInitialOne) {
  AddRows(1);
  CStringArray choices;
  for (const char* s : {"Slave", "Master", "Backup Master"}) choices.Add(s);
  EXPECT_FALSE(list.SetComboBox(0, kRole, TRUE, nullptr, 5, 0, FALSE));
  ASSERT_TRUE(list.SetComboBox(0, kRole, TRUE, &choices, 5, 7, TRUE));
  EXPECT_EQ(choices[0], "Backup Master");
  EXPECT_EQ(choices[1], "Master");
  EXPECT_EQ(choices[2], "Slave");
  EXPECT_EQ(list.GetItemText(0, kRole), "Backup Master");
  EXPECT_EQ(list.Cell(0, kRole)->initialSelection, 0);
  CStringArray none;
  ASSERT_TRUE(list.SetComboBox(0, kIp, TRUE, &none, 5, 0, FALSE));
  EXPECT_EQ(list.GetItemText(0, kIp), "");
}

// Every press reaches the page as a cell click; presses inside the box of
// column 5 toggle it, and with mouse editing off nothing toggles.
TEST_F(MemberListTest, PressesAndClicksReachThePage) {
  AddRows(2);
  list.SetItemText(1, kAuto, "Auto");  // the box stands left, not centred
  CRect centred = CellRect(0, kAuto), left = CellRect(1, kAuto);
  int side = centred.Height() - 3;
  int centreX = centred.left + centred.Width() / 2 - side / 2 - 1 + side / 2;
  const struct {
    bool edit;
    int x, y;
    int column, row;  // of the cell click
    int box0, box1;   // the boxes after the press
  } presses[] = {
      {true, centreX, centred.top + 6, kAuto, 0, 1, 0},
      {true, centreX, centred.top + 6, kAuto, 0, 0, 0},
      {true, centred.left + 2, centred.top + 6, kAuto, 0, 0, 0},  // beside the box
      {true, left.left + 9 + side / 2, left.top + 6, kAuto, 1, 0, 1},
      {true, left.left + 60, left.top + 6, kAuto, 1, 0, 1},  // on its text
      {true, CellRect(1, kIp).left + 5, left.top + 6, kIp, 1, 0, 1},
      {true, CellRect(1, kIp).left + 5, 200, kIp, -1, 0, 1},  // below the rows
      {false, centreX, centred.top + 6, kAuto, 0, 0, 1},
  };
  int clicks = 0;
  for (const auto& p : presses) {
    SCOPED_TRACE(p.x * 1000 + p.y);
    list.EnableMouseEdit(p.edit);
    page.heard.clear();
    testkit::AdvanceClock(1000);
    testkit::Click(list.m_hWnd, POINT{p.x, p.y});
    testkit::PumpPending();
    ASSERT_EQ(page.Count(WM_LIST_CELL_CLICKED), 1);
    ++clicks;
    const PageMessage& click = page.heard.back();
    EXPECT_EQ(static_cast<int>(click.wParam), p.column);
    EXPECT_EQ(click.lParam, p.row);
    EXPECT_EQ(list.GetCheckbox(0, kAuto), p.box0);
    EXPECT_EQ(list.GetCheckbox(1, kAuto), p.box1);
    if (page.Count(WM_EXTLIST_CHECKBOX_CLICKED)) {
      EXPECT_EQ(page.heard.front().lParam, kAuto);
    }
  }
  EXPECT_TRUE(list.GetModified(0, kAuto));
  EXPECT_FALSE(list.GetModified(0, kIp));
  EXPECT_TRUE(list.IsListModified());
}

// Cells stand on the list's grey whatever their own colour; a selected row
// takes the highlight while the list has the focus, the button face without.
TEST_F(MemberListTest, ColoursFollowTheRowState) {
  AddRows(2);
  list.SetItemText(0, kIp, "10.0.0.1");
  list.Cell(0, kIp)->backColor = RGB(255, 0, 0);
  list.UpdateSubItem(0, kIp);
  CRect cell = CellRect(0, kIp);
  POINT probe{cell.right - 4, cell.top + cell.Height() / 2};
  EXPECT_EQ(Pixel(probe.x, probe.y), 0xE6E6E6u);
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  page.SetFocus();
  list.UpdateSubItem(0, kIp);
  EXPECT_EQ(Pixel(probe.x, probe.y), Rgb(GetSysColor(COLOR_BTNFACE)));
  list.SetFocus();
  list.UpdateSubItem(0, kIp);
  EXPECT_EQ(Pixel(probe.x, probe.y), Rgb(GetSysColor(COLOR_HIGHLIGHT)));
  // The other row is untouched by the selection.
  CRect other = CellRect(1, kIp);
  EXPECT_EQ(Pixel(other.right - 4, other.top + other.Height() / 2), 0xE6E6E6u);
}

TEST_F(MemberListTest, CheckBoxesAndIconsAreDrawn) {
  AddRows(1);
  CRect box = CellRect(0, kAuto);
  EXPECT_GT(CountPixels(box, 0x336699), 0);
  EXPECT_EQ(CountPixels(box, 0x339933), 0);
  list.SetCheckbox(0, kAuto, 1);
  EXPECT_GT(CountPixels(box, 0x339933), 0);
  // The "Delete" icon is a red cross; the "Manually" icon has none of it.
  CRect manual = CellRect(0, kManual), del = CellRect(0, kDelete);
  EXPECT_GT(CountPixels(del, 0xC81E1E), 10);
  EXPECT_EQ(CountPixels(manual, 0xC81E1E), 0);
  EXPECT_GT(CountPixels(manual, 0xF5C83C), 10);
}

// Over the icon of a hand-cursor column the list shows the hand (179) and says
// so; over its text, or over another column, it does not.
TEST_F(MemberListTest, HandCursorOverTheIcons) {
  AddRows(1);
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
  HBITMAP bmp = CreateBitmap(16, 16, 1, 32, nullptr);
  ImageList_Add(images, bmp, nullptr);
  DeleteObject(bmp);
  list.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  list.SetExtendedStyle(LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT);
  for (int column : {kManual, kDelete}) list.CListCtrl::SetItem(0, column, LVIF_IMAGE, nullptr, 0, 0, 0, 0);
  list.SetHandCursorColumns(kDelete, kManual);
  const struct {
    int column;
    int dx;
    bool hand;
  } moves[] = {{kManual, 8, true}, {kManual, 40, false}, {kDelete, 8, true}, {kIp, 8, false}};
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

// The combo opens on the pressed cell's choice, commits 50 ms after it
// reports its end and tells the page even when nothing changed.
TEST_F(MemberListTest, ComboCommitsFiftyMillisecondsAfterItEnds) {
  AddRows(2);
  ASSERT_TRUE(list.SetComboBox(0, kRole, TRUE, &roles, 5, 2, FALSE));
  Press(0, kRole);
  CRTCellCombo* combo = list.GetCellCombo();
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetCount(), 3);
  EXPECT_EQ(combo->GetCurSel(), 2);
  list.SendMessage(WM_RTCOMBOLIST_COMPLETE, 0, 0);
  Wait(40);
  EXPECT_NE(list.GetCellCombo(), nullptr);
  Wait(20);
  EXPECT_EQ(list.GetCellCombo(), nullptr);
  EXPECT_EQ(page.Count(WM_EXTLIST_COMBO_SELECTION), 1);
  EXPECT_FALSE(list.GetModified(0, kRole));
  EXPECT_EQ(list.GetItemText(0, kRole), "Slave");

  // A changed choice is taken and marks the cell; the drop-down's end comes
  // from the combo itself.
  Press(0, kRole);
  ASSERT_NE(list.GetCellCombo(), nullptr);
  list.GetCellCombo()->SetCurSel(0);
  list.GetCellCombo()->ShowDropDown(TRUE);
  list.GetCellCombo()->ShowDropDown(FALSE);
  Wait(60);
  EXPECT_EQ(list.GetCellCombo(), nullptr);
  EXPECT_EQ(list.GetItemText(0, kRole), "Master");
  EXPECT_TRUE(list.GetModified(0, kRole));
  EXPECT_EQ(page.Count(WM_EXTLIST_COMBO_SELECTION), 2);
  EXPECT_EQ(page.heard.back().wParam, 0u);
  EXPECT_EQ(page.heard.back().lParam, kRole);
}

TEST_F(MemberListTest, ComboCancelsOnEscapeAndOnLeavingTheColumn) {
  AddRows(1);
  list.SetComboBox(0, kRole, TRUE, &roles, 5, 0, FALSE);
  for (int way = 0; way < 2; ++way) {
    SCOPED_TRACE(way);
    Press(0, kRole);
    ASSERT_NE(list.GetCellCombo(), nullptr);
    list.GetCellCombo()->SetCurSel(2);
    if (way == 0) {
      list.SendMessage(WM_CELLCOMBO_VK_ESCAPE, 0, 0);
    } else {
      CRect ip = CellRect(0, kIp);
      list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ip.left + 5, ip.top + 4));
    }
    Wait(40);
    EXPECT_NE(list.GetCellCombo(), nullptr);
    Wait(20);
    EXPECT_EQ(list.GetCellCombo(), nullptr);
    EXPECT_EQ(list.GetItemText(0, kRole), "Master");
  }
  EXPECT_EQ(page.Count(WM_EXTLIST_COMBO_SELECTION), 0);
  EXPECT_FALSE(list.IsListModified());
}

// A text that is no choice selects the first choice but stays in the cell
// until a commit; a text differing only in case selects its choice.
TEST_F(MemberListTest, ComboOpensOnTheCellText) {
  AddRows(2);
  list.SetComboBox(0, kRole, TRUE, &roles, 5, 0, FALSE);
  list.SetComboBox(1, kRole, TRUE, &roles, 5, 0, FALSE);
  list.Cell(0, kRole)->initialSelection = -1;
  list.Cell(1, kRole)->initialSelection = -1;
  list.SetItemText(0, kRole, "Repeater");
  list.SetItemText(1, kRole, "SLAVE");
  list.DrawComboBox(0, kRole);
  ASSERT_NE(list.GetCellCombo(), nullptr);
  EXPECT_EQ(list.GetCellCombo()->GetCurSel(), 0);
  EXPECT_EQ(list.GetItemText(0, kRole), "Repeater");
  list.DrawComboBox(1, kRole);
  EXPECT_EQ(list.GetCellCombo()->GetCurSel(), 2);
  EXPECT_EQ(list.GetItemText(0, kRole), "Repeater");
}

// The press on a second combo cell first moves the focus from the open combo
// to the list, which asks for a commit; that commit belonged to the old combo
// and must neither close the new one nor write its choice into the new cell.
TEST_F(MemberListTest, PressOnAnotherComboCellKeepsTheNewComboOpen) {
  AddRows(2);
  list.SetComboBox(0, kRole, TRUE, &roles, 5, 0, FALSE);
  list.SetComboBox(1, kRole, TRUE, &roles, 5, 0, FALSE);
  list.Cell(1, kRole)->initialSelection = -1;
  list.SetItemText(1, kRole, "Repeater");
  Press(0, kRole);
  ASSERT_NE(list.GetCellCombo(), nullptr);
  list.GetCellCombo()->SetFocus();
  ASSERT_EQ(::GetFocus(), list.GetCellCombo()->m_hWnd);
  Press(1, kRole);
  CRTCellCombo* second = list.GetCellCombo();
  ASSERT_NE(second, nullptr);
  Wait(200);
  EXPECT_EQ(list.GetCellCombo(), second);
  EXPECT_EQ(list.GetItemText(1, kRole), "Repeater");
  EXPECT_FALSE(list.GetModified(1, kRole));
  EXPECT_EQ(page.Count(WM_EXTLIST_COMBO_SELECTION), 0);
}

// A tip longer than the notification's own 80 characters is handed over
// through the list's buffer, cut at 199 characters.
TEST_F(MemberListTest, LongToolTipsAreHandedOverWhole) {
  AddRows(2);
  const std::string tip(300, 'x');
  list.SetToolTipText(tip.c_str(), -1);
  HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 nullptr, nullptr);
  ASSERT_NE(tooltip, nullptr);
  NMTTDISPINFOA info{};
  info.hdr.hwndFrom = tooltip;
  info.hdr.idFrom = 101;
  info.hdr.code = TTN_NEEDTEXTA;
  std::memset(info.szText, 'z', sizeof info.szText);
  list.SendMessage(WM_NOTIFY, 101, reinterpret_cast<LPARAM>(&info));
  ASSERT_NE(info.lpszText, nullptr);
  EXPECT_EQ(std::string(info.lpszText), tip.substr(0, 199));
  EXPECT_EQ(info.szText[1], 'z');  // nothing was written past its start

  NMTTDISPINFOW wide{};
  wide.hdr.hwndFrom = tooltip;
  wide.hdr.idFrom = 101;
  wide.hdr.code = TTN_NEEDTEXTW;
  list.SendMessage(WM_NOTIFY, 101, reinterpret_cast<LPARAM>(&wide));
  ASSERT_NE(wide.lpszText, nullptr);
  EXPECT_EQ(std::wstring(wide.lpszText), std::wstring(199, L'x'));

  // The list's own window as a tool is not answered.
  NMTTDISPINFOA own{};
  own.hdr.hwndFrom = tooltip;
  own.hdr.idFrom = reinterpret_cast<UINT_PTR>(list.m_hWnd);
  own.hdr.code = TTN_NEEDTEXTA;
  own.uFlags = TTF_IDISHWND;
  list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&own));
  EXPECT_EQ(own.lpszText, nullptr);
  DestroyWindow(tooltip);
}

TEST_F(MemberListTest, ToolTipColumnLimitsTheTools) {
  AddRows(2);
  list.SetToolTipText("tip", kMac);
  CRect mac = CellRect(1, kMac), ip = CellRect(1, kIp);
  TOOLINFOA ti{};
  EXPECT_EQ(list.OnToolHitTest(CPoint(mac.left + 3, mac.top + 3), &ti), 100 + kMac);
  EXPECT_EQ(ti.lpszText, LPSTR_TEXTCALLBACK);
  EXPECT_EQ(ti.hwnd, list.m_hWnd);
  EXPECT_EQ(list.OnToolHitTest(CPoint(ip.left + 3, ip.top + 3), &ti), -1);
  list.SetToolTipText("tip", -1);
  EXPECT_EQ(list.OnToolHitTest(CPoint(ip.left + 3, ip.top + 3), &ti), 100 + kIp);
}

TEST_F(MemberListTest, ResizeLimitRefusesTheOtherColumns) {
  HWND header = reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER, 0, 0));
  auto refused = [&](int column, UINT code) {
    NMHEADERA nm{};
    nm.hdr.hwndFrom = header;
    nm.hdr.idFrom = 0;
    nm.hdr.code = code;
    nm.iItem = column;
    return list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm)) == 1;
  };
  const struct {
    int limit;
    bool refused[9];
  } cases[] = {
      {0, {false, false, false, false, false, false, false, false, false}},
      {7, {true, false, false, false, false, false, false, true, true}},
      {-1, {true, true, true, true, true, true, true, true, true}},
  };
  for (const auto& c : cases) {
    list.SetResizableColumns(c.limit);
    for (int column = 0; column < 9; ++column) {
      SCOPED_TRACE(c.limit * 100 + column);
      EXPECT_EQ(refused(column, HDN_BEGINTRACKA), c.refused[column]);
      EXPECT_EQ(refused(column, HDN_BEGINTRACKW), c.refused[column]);
    }
  }
}

}  // namespace
