// The per-cell record shared by the list controls with cell data, the row
// block that carries one record per column as a row's item data, the list
// messages those controls exchange with their parents and editors, and the
// hand cursor they show over icon columns.
//
// Row block: one allocation holding the number of records n, followed by n
// records; the row's item data is the address of the first record. A block
// never grows, so a column added after a row was inserted has no record in
// that row: RowCell answers null for it, and callers treat such a cell as a
// cell without data. Everything here runs on the thread that owns the list.
#pragma once

#include "afxcmn.h"
#include "afxwin.h"

struct ListCellData {
  BOOL enabled = TRUE;  // only column 0's record counts: the row's enabled flag
  BOOL bold = FALSE;
  BOOL modified = FALSE;
  int imageIndex = -1;
  CString toolTip;
  BOOL isCombo = FALSE;
  BOOL sortStrings = FALSE;
  CStringArray* comboStrings = nullptr;  // not owned: the caller keeps it alive
  int dropDownItems = 10;
  int initialSelection = -1;
  BOOL isEdit = FALSE;
  COLORREF textColor = ::GetSysColor(COLOR_WINDOWTEXT);
  COLORREF backColor = ::GetSysColor(COLOR_WINDOW);
  BOOL showProgress = FALSE;
  int progressPos = 0;
  CString progressFormat;  // printf format with one int; empty means "%d%%"
  BOOL showProgressText = TRUE;
  int checkState = -1;  // -1 no check box, 0 clear, 1 ticked
  DWORD_PTR userData = 0;  // only column 0's record counts
};

// A new block of `columns` default records, or null when it cannot be had.
ListCellData* AllocateRowData(int columns);
// Destroys the records and releases the block; null does nothing.
void FreeRowData(ListCellData* cells);
int RowDataCount(const ListCellData* cells);
// The record of `column`, or null when the row has no block or the block has
// no record for that column.
ListCellData* RowCell(ListCellData* cells, int column);

// Makes a cell a combo cell over `strings` (sorted in place first when
// `sort` is set), or plain again; `initial` out of range means the first
// choice. True with the text the cell now shows (empty for no choices) when
// the cell became a combo cell.
bool MakeComboCell(ListCellData& cell, BOOL enable, CStringArray& strings, int dropDownItems, int initial, BOOL sort,
                   CString* shown);

// Sorts a combo cell's choices in place: the combo shows them in array order.
void SortListStrings(CStringArray& strings, bool caseSensitive, bool ascending);

// Fixed: a cell was clicked; wParam column, lParam row (either may be -1).
const UINT WM_LIST_CELL_CLICKED = WM_USER + 0x300;

// Registered by name when the program starts; registering a name again gives
// the same number, so every list control and editor agrees on them.
extern const UINT WM_RTCOMBOLIST_COMPLETE;
extern const UINT WM_RTCOMBOLIST_VK_ESCAPE;
extern const UINT WM_CELLCOMBO_COMPLETE;
extern const UINT WM_CELLCOMBO_VK_ESCAPE;
extern const UINT WM_CELLCOMBO_VK_RETURN;
extern const UINT WM_CELLCOMBO_KEYDOWN;
extern const UINT WM_CELLCOMBO_LBUTTONUP;
extern const UINT WM_EXTLIST_CHECKBOX_CLICKED;
extern const UINT WM_EXTLIST_COMBO_SELECTION;
extern const UINT WM_EXTLIST_EDIT_END;
extern const UINT WM_CELLEDIT_KILL_FOCUS;
extern const UINT WM_CELLEDIT_VK_ESCAPE;

// Where a list's notifications go: its parent window, else its owner; null
// when neither exists.
HWND ListNotifyTarget(HWND list);

// Cell geometry shared by the list controls with cell data; callers check row
// and column first.
int ListColumnCount(HWND list);
// The list's sub-item rectangle; column 0's right edge stops at the first
// following column with a width (column 1 when none has one), as the platform
// reports column 0 as the whole row.
BOOL ListCellRect(CListCtrl& list, int row, int column, int area, CRect& rect);
// Redraws a cell rectangle grown by 2 pixels on every side, at once.
void RedrawListCell(CListCtrl& list, const CRect& cell);
// The row and column under the position of the last message (either may be -1).
LVHITTESTINFO ListCellAtMessagePos(CListCtrl& list);

// What the list controls with cell data do alike with the mouse.
//
// A click reported to the list's parent (ListNotifyTarget) as
// WM_LIST_CELL_CLICKED, with the column and row under the position of the
// last message.
void ReportCellClick(CListCtrl& list);
// Hit-tests `point` (client coordinates) into `hit`, when given; over the icon
// of column `a` or `b` shows the hand cursor and answers true.
bool TrackHandCursor(CListCtrl& list, CPoint point, int a, int b, LVHITTESTINFO* hit = nullptr);

// The cursor resource shown over the icon of a hand-cursor column.
const int IDC_LIST_HAND = 179;

// The in-place combo box of a combo cell, for either list's combo class (they
// share the combo box calls, not a base class).
//
// Fills `combo` with the cell's choices, the empty ones left out.
template <class Combo>
void AddCellChoices(Combo& combo, const ListCellData& cell) {
  // The caller keeps the array alive as long as the cell is a combo cell.
  if (const CStringArray* strings = cell.comboStrings)
    for (INT_PTR i = 0; i < strings->GetSize(); ++i)
      if (!strings->GetAt(i).IsEmpty()) combo.AddString(strings->GetAt(i));
}

// Selects the choice a filled combo opens on: the cell's initial selection
// the first time (it is then used up), else the choice that is the cell's
// text, else the first one; a cell without text is given the first choice's.
// Answers the selected choice's text, with which the choice made is compared
// when the combo closes; empty when the combo has no choices.
template <class Combo>
CString SelectCellChoice(Combo& combo, ListCellData& cell, CListCtrl& list, int row, int column) {
  const int count = combo.GetCount();
  CString shown;
  if (cell.comboStrings && cell.initialSelection >= 0 && cell.initialSelection < count) {
    combo.GetLBText(cell.initialSelection, shown);
    list.SetItemText(row, column, shown);
    cell.initialSelection = -1;
  }
  if (shown.IsEmpty()) shown = list.GetItemText(row, column);
  if (shown.IsEmpty()) {
    if (count > 0) combo.GetLBText(0, shown);
    list.SetItemText(row, column, shown);
  }
  // -1 searches from the first choice on: a standard combo box starts after
  // the index it is given (the drawn one takes any index below 0 as 0). Each
  // compares texts its own way: the standard one ignores case.
  int chosen = count > 0 ? combo.FindStringExact(-1, shown) : -1;
  if (count > 0 && chosen < 0) chosen = 0;
  CString start;
  if (chosen >= 0) {
    combo.SetCurSel(chosen);
    combo.GetLBText(chosen, start);
  }
  return start;
}
