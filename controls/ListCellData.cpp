#include "ListCellData.h"

#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

// The count sits in front of the first record, padded so that the records
// keep their alignment.
struct RowDataHeader {
  int32_t count;
};
constexpr size_t kHeaderSize =
    (sizeof(RowDataHeader) + alignof(ListCellData) - 1) / alignof(ListCellData) * alignof(ListCellData);

RowDataHeader* HeaderOf(const ListCellData* cells) {
  return reinterpret_cast<RowDataHeader*>(reinterpret_cast<char*>(const_cast<ListCellData*>(cells)) - kHeaderSize);
}

}  // namespace

ListCellData* AllocateRowData(int columns) {
  if (columns < 0) columns = 0;
  void* raw = ::operator new(kHeaderSize + sizeof(ListCellData) * static_cast<size_t>(columns), std::nothrow);
  if (!raw) return nullptr;
  static_cast<RowDataHeader*>(raw)->count = columns;
  auto* cells = reinterpret_cast<ListCellData*>(static_cast<char*>(raw) + kHeaderSize);
  for (int i = 0; i < columns; ++i) new (cells + i) ListCellData;
  return cells;
}

void FreeRowData(ListCellData* cells) {
  if (!cells) return;
  RowDataHeader* header = HeaderOf(cells);
  for (int i = header->count - 1; i >= 0; --i) cells[i].~ListCellData();
  ::operator delete(header);
}

int RowDataCount(const ListCellData* cells) { return cells ? HeaderOf(cells)->count : 0; }

ListCellData* RowCell(ListCellData* cells, int column) {
  if (!cells || column < 0 || column >= RowDataCount(cells)) return nullptr;
  return cells + column;
}

void SortListStrings(CStringArray& strings, bool caseSensitive, bool ascending) {
  CString* first = strings.GetData();
  std::sort(first, first + strings.GetSize(), [=](const CString& a, const CString& b) {
    int order = caseSensitive ? std::strcmp(a, b) : strcasecmp(a, b);
    return ascending ? order < 0 : order > 0;
  });
}

bool MakeComboCell(ListCellData& cell, BOOL enable, CStringArray& strings, int dropDownItems, int initial, BOOL sort,
                   CString* shown) {
  cell.isCombo = enable;
  if (!enable) return false;
  if (initial < 0 || initial >= strings.GetSize()) initial = 0;
  if (sort) SortListStrings(strings, false, true);
  cell.comboStrings = &strings;
  cell.dropDownItems = dropDownItems;
  cell.initialSelection = initial;
  cell.sortStrings = sort;
  *shown = strings.GetSize() ? strings.GetAt(initial) : CString();
  return true;
}

const UINT WM_RTCOMBOLIST_COMPLETE = ::RegisterWindowMessageA("WM_RTCOMBOLIST_COMPLETE");
const UINT WM_RTCOMBOLIST_VK_ESCAPE = ::RegisterWindowMessageA("WM_RTCOMBOLIST_VK_ESCAPE");
const UINT WM_CELLCOMBO_COMPLETE = ::RegisterWindowMessageA("WM_CELLCOMBO_COMPLETE");
const UINT WM_CELLCOMBO_VK_ESCAPE = ::RegisterWindowMessageA("WM_CELLCOMBO_VK_ESCAPE");
const UINT WM_CELLCOMBO_VK_RETURN = ::RegisterWindowMessageA("WM_CELLCOMBO_VK_RETURN");
const UINT WM_CELLCOMBO_KEYDOWN = ::RegisterWindowMessageA("WM_CELLCOMBO_KEYDOWN");
const UINT WM_CELLCOMBO_LBUTTONUP = ::RegisterWindowMessageA("WM_CELLCOMBO_LBUTTONUP");
const UINT WM_EXTLIST_CHECKBOX_CLICKED = ::RegisterWindowMessageA("WM_EXTLIST_CHECKBOX_CLICKED");
const UINT WM_EXTLIST_COMBO_SELECTION = ::RegisterWindowMessageA("WM_EXTLIST_COMBO_SELECTION");
const UINT WM_EXTLIST_EDIT_END = ::RegisterWindowMessageA("WM_EXTLIST_EDIT_END");
const UINT WM_CELLEDIT_KILL_FOCUS = ::RegisterWindowMessageA("WM_CELLEDIT_KILL_FOCUS");
const UINT WM_CELLEDIT_VK_ESCAPE = ::RegisterWindowMessageA("WM_CELLEDIT_VK_ESCAPE");

HWND ListNotifyTarget(HWND list) {
  HWND target = ::GetParent(list);
  if (!target) target = ::GetWindow(list, GW_OWNER);
  return target && ::IsWindow(target) ? target : nullptr;
}

int ListColumnCount(HWND list) {
  auto header = reinterpret_cast<HWND>(::SendMessage(list, LVM_GETHEADER, 0, 0));
  return header ? static_cast<int>(::SendMessage(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

BOOL ListCellRect(CListCtrl& list, int row, int column, int area, CRect& rect) {
  if (!list.GetSubItemRect(row, column, area, rect)) return FALSE;
  int columns = ListColumnCount(list.m_hWnd);
  if (column == 0 && columns > 1) {
    int next = 1;
    for (int c = 1; c < columns; ++c) {
      if (list.GetColumnWidth(c) > 0) {
        next = c;
        break;
      }
    }
    CRect following;
    if (list.GetSubItemRect(row, next, LVIR_BOUNDS, following)) rect.right = following.left;
  }
  return TRUE;
}

void RedrawListCell(CListCtrl& list, const CRect& cell) {
  CRect rc = cell;
  rc.InflateRect(2, 2);
  list.InvalidateRect(&rc, TRUE);
  list.UpdateWindow();
}

LVHITTESTINFO ListCellAtMessagePos(CListCtrl& list) {
  DWORD pos = ::GetMessagePos();
  LVHITTESTINFO hit{};
  hit.pt = CPoint(GET_X_LPARAM(pos), GET_Y_LPARAM(pos));
  list.ScreenToClient(&hit.pt);
  list.SubItemHitTest(&hit);
  return hit;
}

void ReportCellClick(CListCtrl& list) {
  LVHITTESTINFO hit = ListCellAtMessagePos(list);
  if (HWND target = ListNotifyTarget(list.m_hWnd))
    ::SendMessage(target, WM_LIST_CELL_CLICKED, static_cast<WPARAM>(hit.iSubItem), hit.iItem);
}

bool TrackHandCursor(CListCtrl& list, CPoint point, int a, int b, LVHITTESTINFO* hit) {
  LVHITTESTINFO at{};
  at.pt = point;
  list.SubItemHitTest(&at);
  if (hit) *hit = at;
  const bool handColumn = at.iSubItem >= 0 && (at.iSubItem == a || at.iSubItem == b);
  const bool hand = handColumn && (at.flags & LVHT_ONITEMICON);
  if (hand) ::SetCursor(::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_LIST_HAND)));
  return hand;
}
