#include "CExtListCtrl.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "CExtCellCombo.h"
#include "CExtCellEdit.h"

namespace {

// Carries a cell call from a worker thread to the window's thread.
const UINT kCellCallMessage = ::RegisterWindowMessageA("CExtListCtrl cell call");
// Destroys the edits that have ended, outside their own handlers.
const UINT kDestroyEditorsMessage = ::RegisterWindowMessageA("CExtListCtrl destroy editors");

const UINT kEditId = 99;
const int kMinEditWidth = 4;
// Timers of the in-cell combo box, all one-shot.
const UINT_PTR kComboUnlockTimer = 1, kComboCancelTimer = 2, kComboCommitTimer = 3;
const UINT kComboDelayMs = 50;
const COLORREF kProgressTrough = RGB(224, 224, 224);
const COLORREF kEnabledTick = RGB(51, 153, 51);
const int kToolTipChars = 79;
const int kToolIdsPerRow = 1000;
enum HeaderCheck { kNoHeaderCheck = 0, kHeaderClear = 1, kHeaderTicked = 2 };

// A progress text format must take exactly one int: anything else (a %s, a
// second conversion) falls back to the plain percentage.
bool IsOneIntFormat(const char* format) {
  int conversions = 0;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && std::strchr("-+ #0", *p)) ++p;
    while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
    if (*p != 'd' && *p != 'i') return false;
    ++conversions;
  }
  return conversions == 1;
}

CString ProgressText(const CString& format, int pos) {
  const char* f = format.IsEmpty() || !IsOneIntFormat(format) ? "%d%%" : static_cast<LPCTSTR>(format);
  char text[128];
  std::snprintf(text, sizeof(text), f, pos);
  return text;
}

void Fill(HDC dc, const RECT& rc, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
}

}  // namespace

struct CExtListCtrl::CellCall {
  enum Op { kSetProgress, kUpdateProgress, kDeleteProgress, kSetItemText } op;
  int item, subItem;
  int value;  // UpdateProgress: the position; SetProgress: enable
  BOOL showText;
  LPCTSTR text;  // SetProgress: the format; SetItemText: the text
};

IMPLEMENT_DYNCREATE(CExtListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CExtListCtrl, CListCtrl)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
  ON_NOTIFY_REFLECT_EX(LVN_DELETEITEM, OnDeleteItemNotify)
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_KEYDOWN()
  ON_WM_ERASEBKGND()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_TIMER()
  ON_REGISTERED_MESSAGE(WM_CELLEDIT_KILL_FOCUS, OnEditEnd)
  ON_REGISTERED_MESSAGE(WM_CELLEDIT_VK_ESCAPE, OnEditCancel)
  ON_REGISTERED_MESSAGE(WM_CELLCOMBO_COMPLETE, OnComboComplete)
  ON_REGISTERED_MESSAGE(WM_CELLCOMBO_VK_ESCAPE, OnComboEscape)
  ON_REGISTERED_MESSAGE(kCellCallMessage, OnCellCall)
  ON_REGISTERED_MESSAGE(kDestroyEditorsMessage, OnDestroyEditors)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

CExtListCtrl::CExtListCtrl() { GetColors(); }

CExtListCtrl::~CExtListCtrl() {
  delete m_pCombo;
  delete m_pEdit;
  for (CExtCellEdit* edit : m_retiredEdits) delete edit;
  for (ListCellData* block : m_blocks) FreeRowData(block);
}

void CExtListCtrl::GetColors() {
  static const int kIndexes[kColorCount] = {
      COLOR_BTNFACE, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_ACTIVECAPTION,    COLOR_BTNFACE,
      COLOR_BTNSHADOW, COLOR_BTNTEXT,  COLOR_GRAYTEXT,  COLOR_HIGHLIGHT,        COLOR_HIGHLIGHTTEXT,
      COLOR_INACTIVECAPTION, COLOR_INACTIVECAPTIONTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT};
  for (int i = 0; i < kColorCount; ++i) m_colors[i] = ::GetSysColor(kIndexes[i]);
  m_crDefaultBack = m_colors[kWindow];
  m_crDefaultText = m_colors[kWindowText];
}

// ---------------------------------------------------------------- header and life cycle

void CExtListCtrl::PreSubclassWindow() {
  CListCtrl::PreSubclassWindow();
  SubclassHeader();
}

int CExtListCtrl::OnCreate(LPCREATESTRUCT) {
  if (Default() == -1) return -1;
  SubclassHeader();
  return 0;
}

void CExtListCtrl::SubclassHeader() {
  if (m_bHeaderSubclassed || !m_hWnd) return;
  auto header = reinterpret_cast<HWND>(::SendMessage(m_hWnd, LVM_GETHEADER, 0, 0));
  if (!header || !m_HeaderCtrl.SubclassWindow(header)) return;
  m_HeaderCtrl.m_pListCtrl = this;
  m_bHeaderSubclassed = TRUE;
}

// Open and ended edits go with the window tree, as children of the list; their
// objects are deleted with the list's.
void CExtListCtrl::OnDestroy() {
  CloseCombo();
  FreeAllRows();
  m_bHeaderSubclassed = FALSE;
  Default();
}

// ---------------------------------------------------------------- row blocks

ListCellData* CExtListCtrl::RowData(int nItem) {
  auto block = reinterpret_cast<ListCellData*>(CListCtrl::GetItemData(nItem));
  return m_blocks.count(block) ? block : nullptr;
}

bool CExtListCtrl::ValidCell(int nItem, int nSubItem) const {
  return nItem >= 0 && nItem < GetItemCount() && nSubItem >= 0 && nSubItem < GetColumns();
}

ListCellData* CExtListCtrl::Cell(int nItem, int nSubItem) {
  return ValidCell(nItem, nSubItem) ? RowCell(RowData(nItem), nSubItem) : nullptr;
}

ListCellData* CExtListCtrl::AttachRowData(int nItem) {
  ListCellData* block = AllocateRowData(GetColumns());
  // A row without block must not keep a caller's value where a block belongs.
  CListCtrl::SetItemData(nItem, reinterpret_cast<DWORD_PTR>(block));
  if (block) m_blocks.insert(block);
  return block;
}

void CExtListCtrl::FreeRow(int nItem) {
  ListCellData* block = RowData(nItem);
  if (!block) return;
  CListCtrl::SetItemData(nItem, 0);
  m_blocks.erase(block);
  FreeRowData(block);
}

void CExtListCtrl::FreeAllRows() {
  for (int i = GetItemCount() - 1; i >= 0; --i) FreeRow(i);
}

// Rows deleted past this class (through the plain list) still free their block.
BOOL CExtListCtrl::OnDeleteItemNotify(NMHDR* pNMHDR, LRESULT*) {
  auto block = reinterpret_cast<ListCellData*>(reinterpret_cast<NMLISTVIEW*>(pNMHDR)->lParam);
  if (m_blocks.erase(block)) FreeRowData(block);
  return FALSE;  // the parent hears of it too
}

// ---------------------------------------------------------------- rows

int CExtListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
  return InsertItem(nItem, lpszItem, m_crDefaultText, m_crDefaultBack);
}

int CExtListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, COLORREF textColor, COLORREF backColor) {
  if (nItem < 0) return -1;
  int row = CListCtrl::InsertItem(nItem, lpszItem);
  if (row < 0) return row;
  ListCellData* cell = RowCell(AttachRowData(row), 0);
  if (!RowData(row)) return -1;
  if (cell) {
    cell->textColor = textColor;
    cell->backColor = backColor;
    cell->imageIndex = -1;
  }
  return row;
}

int CExtListCtrl::InsertItem(const LVITEM* pItem) {
  if (!pItem || pItem->iItem < 0) return -1;
  int row = CListCtrl::InsertItem(pItem);
  if (row < 0) return row;
  ListCellData* block = AttachRowData(row);
  if (!block) return -1;
  if (ListCellData* cell = RowCell(block, 0)) {
    cell->textColor = m_crDefaultText;
    cell->backColor = m_crDefaultBack;
    if (pItem->mask & LVIF_IMAGE) cell->imageIndex = pItem->iImage;
    if (pItem->mask & LVIF_PARAM) cell->userData = static_cast<DWORD_PTR>(pItem->lParam);
  }
  return row;
}

BOOL CExtListCtrl::SetItem(const LVITEM* pItem) {
  if (!pItem || pItem->iItem < 0) return -1;
  // The item data stays the row's block: a caller's value goes to userData.
  LVITEM item = *pItem;
  item.mask &= ~static_cast<UINT>(LVIF_PARAM);
  if (!CListCtrl::SetItem(&item)) return FALSE;
  ListCellData* cell = Cell(pItem->iItem, pItem->iSubItem);
  if (!cell) return FALSE;
  if (pItem->mask & LVIF_IMAGE) cell->imageIndex = pItem->iImage;
  UpdateSubItem(pItem->iItem, pItem->iSubItem);
  return TRUE;
}

BOOL CExtListCtrl::DeleteItem(int nItem) {
  if (nItem < 0 || nItem >= GetItemCount()) return FALSE;
  FreeRow(nItem);
  return CListCtrl::DeleteItem(nItem);
}

BOOL CExtListCtrl::DeleteAllItems() {
  FreeAllRows();
  return CListCtrl::DeleteAllItems();
}

BOOL CExtListCtrl::GetEnabled(int nItem) {
  ListCellData* cell = Cell(nItem, 0);
  return cell ? cell->enabled : FALSE;
}

BOOL CExtListCtrl::SetEnabled(int nItem, BOOL bEnable) {
  ListCellData* cell = Cell(nItem, 0);
  if (!cell) return FALSE;
  cell->enabled = bEnable;
  CRect rc;
  CListCtrl::GetItemRect(nItem, &rc, LVIR_BOUNDS);
  InvalidateRect(&rc);
  UpdateWindow();
  return TRUE;
}

DWORD_PTR CExtListCtrl::GetItemData(int nItem) {
  ListCellData* cell = Cell(nItem, 0);
  return cell ? cell->userData : 0;
}

BOOL CExtListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
  ListCellData* cell = Cell(nItem, 0);
  if (!cell) return FALSE;
  cell->userData = dwData;
  return TRUE;
}

int CExtListCtrl::FindDataItem(DWORD_PTR dwData) {
  for (int i = 0, n = GetItemCount(); i < n; ++i) {
    ListCellData* cell = Cell(i, 0);
    if (cell && cell->userData == dwData) return i;
  }
  return -1;
}

int CExtListCtrl::GetCurSel() const { return GetNextItem(-1, LVNI_SELECTED); }

BOOL CExtListCtrl::SetCurSel(int nItem, BOOL bEnsureVisible) {
  if (nItem < 0 || nItem >= GetItemCount()) return FALSE;
  for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED))
    if (i != nItem) SetItemState(i, 0, LVIS_SELECTED);
  BOOL ok = SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  if (ok && bEnsureVisible) EnsureVisible(nItem, FALSE);
  return ok;
}

int CExtListCtrl::GetColumns() const { return ListColumnCount(m_hWnd); }

// ---------------------------------------------------------------- calls from worker threads

bool CExtListCtrl::OnForeignThread() const {
  return m_hWnd && ::GetWindowThreadProcessId(m_hWnd, nullptr) != ::GetCurrentThreadId();
}

LRESULT CExtListCtrl::CallOnWindowThread(CellCall& call) {
  return ::SendMessage(m_hWnd, kCellCallMessage, 0, reinterpret_cast<LPARAM>(&call));
}

LRESULT CExtListCtrl::OnCellCall(WPARAM, LPARAM lParam) {
  const CellCall& c = *reinterpret_cast<const CellCall*>(lParam);
  switch (c.op) {
    case CellCall::kSetProgress: return SetProgress(c.item, c.subItem, c.showText, c.text, c.value);
    case CellCall::kUpdateProgress: UpdateProgress(c.item, c.subItem, c.value); return 0;
    case CellCall::kDeleteProgress: DeleteProgress(c.item, c.subItem); return 0;
    case CellCall::kSetItemText: return SetItemText(c.item, c.subItem, c.text);
  }
  return 0;
}

BOOL CExtListCtrl::SetProgress(int nItem, int nSubItem, BOOL bShowProgressText, LPCTSTR lpszProgressTextFormat,
                               BOOL bEnable) {
  if (OnForeignThread()) {
    CellCall call{CellCall::kSetProgress, nItem, nSubItem, bEnable, bShowProgressText, lpszProgressTextFormat};
    return static_cast<BOOL>(CallOnWindowThread(call));
  }
  ListCellData* cell = Cell(nItem, nSubItem);
  if (!cell) return FALSE;
  cell->showProgress = bEnable;
  cell->progressPos = 0;
  cell->showProgressText = bShowProgressText;
  cell->progressFormat = lpszProgressTextFormat ? lpszProgressTextFormat : "";
  UpdateSubItem(nItem, nSubItem);
  return TRUE;
}

void CExtListCtrl::UpdateProgress(int nItem, int nSubItem, int nPos) {
  if (OnForeignThread()) {
    CellCall call{CellCall::kUpdateProgress, nItem, nSubItem, nPos, FALSE, nullptr};
    CallOnWindowThread(call);
    return;
  }
  ListCellData* cell = Cell(nItem, nSubItem);
  if (!cell) return;
  cell->progressPos = std::clamp(nPos, 0, 100);
  UpdateSubItem(nItem, nSubItem);
}

void CExtListCtrl::DeleteProgress(int nItem, int nSubItem) {
  if (OnForeignThread()) {
    CellCall call{CellCall::kDeleteProgress, nItem, nSubItem, 0, FALSE, nullptr};
    CallOnWindowThread(call);
    return;
  }
  ListCellData* cell = Cell(nItem, nSubItem);
  if (!cell) return;
  cell->showProgress = FALSE;
  cell->progressPos = 0;
  UpdateSubItem(nItem, nSubItem);
}

BOOL CExtListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
  if (OnForeignThread()) {
    CellCall call{CellCall::kSetItemText, nItem, nSubItem, 0, FALSE, lpszText};
    return static_cast<BOOL>(CallOnWindowThread(call));
  }
  if (!ValidCell(nItem, nSubItem)) return FALSE;
  BOOL ok = CListCtrl::SetItemText(nItem, nSubItem, lpszText);
  UpdateSubItem(nItem, nSubItem);
  return ok;
}

// ---------------------------------------------------------------- cells

BOOL CExtListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText, COLORREF textColor, COLORREF backColor) {
  if (!ValidCell(nItem, nSubItem)) return FALSE;
  BOOL ok = lpszText ? CListCtrl::SetItemText(nItem, nSubItem, lpszText) : TRUE;
  SetItemColors(nItem, nSubItem, textColor, backColor);
  UpdateSubItem(nItem, nSubItem);
  return ok;
}

void CExtListCtrl::GetItemColors(int nItem, int nSubItem, COLORREF& textColor, COLORREF& backColor) {
  ListCellData* cell = Cell(nItem, nSubItem);
  textColor = cell ? cell->textColor : 0;
  backColor = cell ? cell->backColor : 0;
}

void CExtListCtrl::SetItemColors(int nItem, int nSubItem, COLORREF textColor, COLORREF backColor) {
  ListCellData* cell = Cell(nItem, nSubItem);
  if (!cell) return;
  cell->textColor = textColor == static_cast<COLORREF>(-1) ? m_crDefaultText : textColor;
  cell->backColor = backColor == static_cast<COLORREF>(-1) ? m_crDefaultBack : backColor;
}

BOOL CExtListCtrl::SetItemImage(int nItem, int nSubItem, int nImage) {
  if (!ValidCell(nItem, nSubItem)) return FALSE;
  if (ListCellData* cell = Cell(nItem, nSubItem)) cell->imageIndex = nImage;
  UpdateSubItem(nItem, nSubItem);
  return TRUE;
}

BOOL CExtListCtrl::GetBold(int nItem, int nSubItem) {
  ListCellData* cell = Cell(nItem, nSubItem);
  return cell ? cell->bold : FALSE;
}

BOOL CExtListCtrl::SetBold(int nItem, int nSubItem, BOOL bBold) {
  ListCellData* cell = Cell(nItem, nSubItem);
  if (!cell) return FALSE;
  cell->bold = bBold;
  UpdateSubItem(nItem, nSubItem);
  return TRUE;
}

BOOL CExtListCtrl::GetModified(int nItem, int nSubItem) {
  ListCellData* cell = Cell(nItem, nSubItem);
  return cell ? cell->modified : FALSE;
}

BOOL CExtListCtrl::SetModified(int nItem, int nSubItem, BOOL bModified) {
  ListCellData* cell = Cell(nItem, nSubItem);
  if (!cell) return FALSE;
  cell->modified = bModified;
  return TRUE;
}

BOOL CExtListCtrl::SetCheckbox(int nItem, int nSubItem, int nCheckedState) {
  ListCellData* cell = Cell(nItem, nSubItem);
  if (!cell) return FALSE;
  cell->checkState = nCheckedState;
  UpdateSubItem(nItem, nSubItem);
  UpdateHeaderCheck(nSubItem);
  return TRUE;
}

int CExtListCtrl::GetCheckbox(int nItem, int nSubItem) {
  ListCellData* cell = Cell(nItem, nSubItem);
  return cell ? cell->checkState : -1;
}

void CExtListCtrl::SetItemCheckedState(int nItem, int nSubItem, int nCheckedState) {
  ListCellData* cell = Cell(nItem, nSubItem);
  if (!cell) return;
  cell->checkState = nCheckedState;
  UpdateSubItem(nItem, nSubItem);
}

int CExtListCtrl::CountCheckedItems(int nSubItem) {
  if (nSubItem < 0 || nSubItem >= GetColumns()) return 0;
  int count = 0;
  for (int i = 0, n = GetItemCount(); i < n; ++i) {
    ListCellData* cell = Cell(i, nSubItem);
    if (cell && cell->checkState == 1) ++count;
  }
  return count;
}

int CExtListCtrl::GetHeaderCheckedState(int nSubItem) {
  if (nSubItem < 0 || nSubItem >= GetColumns()) return -1;
  HDITEM item{};
  item.mask = HDI_IMAGE;
  m_HeaderCtrl.GetItem(nSubItem, &item);
  return item.iImage;
}

BOOL CExtListCtrl::SetHeaderCheckedState(int nSubItem, int nCheckedState) {
  if (nSubItem < 0 || nSubItem >= GetColumns()) return FALSE;
  HDITEM item{};
  item.mask = HDI_IMAGE;
  item.iImage = nCheckedState;
  m_HeaderCtrl.SetItem(nSubItem, &item);
  m_HeaderCtrl.Invalidate();
  return TRUE;
}

// A column whose header shows a check box has it ticked exactly when every
// row of the column is ticked.
void CExtListCtrl::UpdateHeaderCheck(int nSubItem) {
  if (GetHeaderCheckedState(nSubItem) <= kNoHeaderCheck) return;
  int rows = GetItemCount();
  bool all = rows > 0 && CountCheckedItems(nSubItem) == rows;
  SetHeaderCheckedState(nSubItem, all ? kHeaderTicked : kHeaderClear);
}

BOOL CExtListCtrl::SetComboBox(int nItem, int nSubItem, BOOL bEnable, CStringArray* pStrings, int nDropDownItems,
                               int nInitialSelection, BOOL bSort) {
  if (!ValidCell(nItem, nSubItem) || !pStrings) return FALSE;
  ListCellData* cell = Cell(nItem, nSubItem);
  if (!cell) return FALSE;
  CString shown;
  if (MakeComboCell(*cell, bEnable, *pStrings, nDropDownItems, nInitialSelection, bSort, &shown))
    CListCtrl::SetItemText(nItem, nSubItem, shown);
  UpdateSubItem(nItem, nSubItem);
  return TRUE;
}

CString CExtListCtrl::GetComboText(int nItem, int nSubItem) {
  return ValidCell(nItem, nSubItem) ? GetItemText(nItem, nSubItem) : CString();
}

BOOL CExtListCtrl::SetEdit(int nItem, int nSubItem) {
  ListCellData* cell = Cell(nItem, nSubItem);
  if (!cell) return FALSE;
  cell->isEdit = TRUE;
  UpdateSubItem(nItem, nSubItem);
  return TRUE;
}

BOOL CExtListCtrl::SetItemToolTipText(int nItem, int nSubItem, LPCTSTR lpszToolTipText) {
  ListCellData* cell = Cell(nItem, nSubItem);
  if (!cell) return FALSE;
  cell->toolTip = lpszToolTipText ? lpszToolTipText : "";
  return TRUE;
}

CString CExtListCtrl::GetItemToolTipText(int nItem, int nSubItem) {
  ListCellData* cell = Cell(nItem, nSubItem);
  return cell ? cell->toolTip : CString();
}

void CExtListCtrl::DeleteAllToolTips() {
  for (ListCellData* block : m_blocks)
    for (int i = 0, n = RowDataCount(block); i < n; ++i) block[i].toolTip.Empty();
}

int CExtListCtrl::AutoSizeColumn(int nCol, int nWidth) {
  SetColumnWidth(nCol, nWidth);
  int width = GetColumnWidth(nCol) + 2 * m_HeaderCtrl.GetSpacing();
  SetColumnWidth(nCol, width);
  return width;
}

// ---------------------------------------------------------------- geometry

BOOL CExtListCtrl::GetSubItemRect(int nItem, int nSubItem, int nArea, CRect& rect) {
  return ValidCell(nItem, nSubItem) && ListCellRect(*this, nItem, nSubItem, nArea, rect);
}

void CExtListCtrl::UpdateSubItem(int nItem, int nSubItem) {
  CRect rc;
  if (!GetSubItemRect(nItem, nSubItem, LVIR_BOUNDS, rc)) return;
  RedrawListCell(*this, rc);
}

UINT CExtListCtrl::ColumnAlignment(int nSubItem) {
  LVCOLUMN column{};
  column.mask = LVCF_FMT;
  GetColumn(nSubItem, &column);
  int fmt = column.fmt & LVCFMT_JUSTIFYMASK;
  return fmt == LVCFMT_CENTER ? DT_CENTER : fmt == LVCFMT_RIGHT ? DT_RIGHT : DT_LEFT;
}

// ---------------------------------------------------------------- drawing

void CExtListCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
  *pResult = CDRF_DODEFAULT;
  switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: *pResult = CDRF_NOTIFYITEMDRAW; return;
    case CDDS_ITEMPREPAINT: *pResult = CDRF_NOTIFYSUBITEMDRAW; return;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: break;
    default: return;
  }
  int row = static_cast<int>(cd->nmcd.dwItemSpec), column = cd->iSubItem;
  ListCellData* block = RowData(row);
  ListCellData* first = RowCell(block, 0);
  COLORREF text = first && !first->enabled ? m_colors[kGrayText] : m_crDefaultText;
  COLORREF back = m_crDefaultBack;
  cd->clrText = text;
  cd->clrTextBk = back;
  *pResult = CDRF_SKIPDEFAULT;
  CRect rc;
  if (!GetSubItemRect(row, column, LVIR_BOUNDS, rc)) return;
  HDC dc = cd->nmcd.hdc;
  const ListCellData* cell = RowCell(block, column);
  GetDrawColors(row, column, text, back);
  if (cell && cell->showProgress) {
    DrawProgress(dc, rc, *cell, cd->clrText);
  } else if (cell && cell->checkState != -1) {
    DrawCheckbox(dc, rc, row, column, *cell, text, back);
  } else {
    rc.left += DrawImage(dc, rc, cell, back);
    DrawCellText(dc, rc, row, column, cell, text, back);
  }
}

// Unselected cells, and selected ones shown without the focus or the
// always-show style, keep the colours passed in.
void CExtListCtrl::GetDrawColors(int nItem, int nSubItem, COLORREF& text, COLORREF& back) {
  if (!(GetItemState(nItem, LVIS_SELECTED) & LVIS_SELECTED)) return;
  bool fullRow = (GetExtendedStyle() & LVS_EX_FULLROWSELECT) != 0;
  if (!fullRow && nSubItem != 0) return;
  if (::GetFocus() == m_hWnd) {
    text = m_colors[kHighlightText];
    back = m_colors[kHighlight];
  } else if (GetStyle() & LVS_SHOWSELALWAYS) {
    text = m_colors[kWindowText];
    back = m_colors[kBtnFace2];
  }
}

void CExtListCtrl::DrawProgress(HDC dc, const CRect& rc, const ListCellData& cell, COLORREF text) {
  if (rc.IsRectEmpty()) return;
  CRect r = rc;
  r.left += 1;
  r.bottom -= 1;
  Fill(dc, r, kProgressTrough);
  CDC::FromHandle(dc)->Draw3dRect(&r, RGB(0, 0, 0), m_colors[kBtnShadow2]);
  int pos = cell.progressPos;
  if (pos <= 0) return;
  CRect bar(r.left + 1, r.top + 1, 0, r.bottom - 1);
  bar.right = bar.left + (r.right - bar.left) * pos / 100 - 1;
  Fill(dc, bar, m_colors[kHighlight]);
  if (!cell.showProgressText) return;
  CString label = ProgressText(cell.progressFormat, pos);
  CRect area = r;
  area.DeflateRect(1, 1);
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = ::GetTextColor(dc);
  const struct {
    RECT clip;
    COLORREF color;
  } parts[] = {{bar, m_colors[kHighlightText]}, {{bar.right, r.top, r.right, r.bottom}, text}};
  for (const auto& part : parts) {
    int saved = SaveDC(dc);
    IntersectClipRect(dc, part.clip.left, part.clip.top, part.clip.right, part.clip.bottom);
    ::SetTextColor(dc, part.color);
    RECT box = area;
    ::DrawTextA(dc, label, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RestoreDC(dc, saved);
  }
  ::SetTextColor(dc, oldColor);
  ::SetBkMode(dc, oldMode);
}

void CExtListCtrl::DrawCheckbox(HDC dc, const CRect& rc, int nItem, int nSubItem, const ListCellData& cell,
                                COLORREF text, COLORREF back) {
  if (rc.IsRectEmpty()) return;
  Fill(dc, rc, back);
  CString label = GetItemText(nItem, nSubItem);
  CRect box = rc;
  box.bottom -= 1;
  int side = box.Height();
  box.left = label.IsEmpty() ? rc.left + rc.Width() / 2 - side / 2 - 1 : rc.left + 9;
  box.right = box.left + side;
  ListCellData* first = Cell(nItem, 0);
  bool enabled = !first || first->enabled;
  DrawListCheckBox(dc, box, cell.checkState == 1, enabled ? kEnabledTick : m_colors[kGrayText]);
  if (label.IsEmpty()) return;
  CRect area = rc;
  area.left = box.right + 4;
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF oldText = ::SetTextColor(dc, text);
  COLORREF oldBack = ::SetBkColor(dc, back);
  ::DrawTextA(dc, label, -1, &area, DT_SINGLELINE | DT_VCENTER | (m_bEndEllipsis ? DT_END_ELLIPSIS : 0));
  ::SetBkColor(dc, oldBack);
  ::SetTextColor(dc, oldText);
  ::SetBkMode(dc, oldMode);
}

int CExtListCtrl::DrawImage(HDC dc, const CRect& rc, const ListCellData* cell, COLORREF back) {
  if (rc.IsRectEmpty()) return 0;
  auto images = reinterpret_cast<HIMAGELIST>(::SendMessage(m_hWnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  if (!images || !cell || cell->imageIndex < 0) return 0;
  Fill(dc, rc, back);
  int spacing = m_HeaderCtrl.GetSpacing();
  int left = rc.left + spacing, width = rc.right - left;
  if (width <= 0) return 0;
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  int top = rc.top + (rc.Height() - cy) / 2;
  COLORREF oldBk = ImageList_SetBkColor(images, back);
  ImageList_DrawEx(images, cell->imageIndex, dc, left, std::max(top, static_cast<int>(rc.top)), std::min(cx, width),
                   std::min(cy, rc.Height()), CLR_DEFAULT, CLR_DEFAULT, ILD_NORMAL);
  ImageList_SetBkColor(images, oldBk);
  return cx + spacing;
}

void CExtListCtrl::DrawCellText(HDC dc, const CRect& rc, int nItem, int nSubItem, const ListCellData* cell,
                                COLORREF text, COLORREF back) {
  if (rc.IsRectEmpty()) return;
  Fill(dc, rc, back);
  CString label = GetItemText(nItem, nSubItem);
  if (label.IsEmpty()) return;
  HFONT bold = nullptr;
  HGDIOBJ oldFont = nullptr;
  if (cell && cell->bold) {
    LOGFONT lf{};
    GetObject(GetCurrentObject(dc, OBJ_FONT), sizeof(lf), &lf);
    lf.lfWeight = FW_BOLD;
    bold = CreateFontIndirect(&lf);
    oldFont = SelectObject(dc, bold);
  }
  CRect area = rc;
  area.DeflateRect(m_nTextMargin, 0);
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF oldText = ::SetTextColor(dc, text);
  COLORREF oldBack = ::SetBkColor(dc, back);
  UINT format = ColumnAlignment(nSubItem) | DT_SINGLELINE | DT_VCENTER | (m_bEndEllipsis ? DT_END_ELLIPSIS : 0);
  if (area.right > area.left) ::DrawTextA(dc, label, -1, &area, format);
  ::SetBkColor(dc, oldBack);
  ::SetTextColor(dc, oldText);
  ::SetBkMode(dc, oldMode);
  if (bold) {
    SelectObject(dc, oldFont);
    DeleteObject(bold);
  }
}

// Only the margins around the rows are erased: the rows paint every pixel.
BOOL CExtListCtrl::OnEraseBkgnd(CDC* pDC) {
  int count = GetItemCount();
  if (count == 0) return static_cast<BOOL>(Default());
  HDC dc = pDC->GetSafeHdc();
  CRect clip;
  GetClipBox(dc, &clip);
  int top = GetTopIndex();
  int last = std::min(count, top + GetCountPerPage() + 1) - 1;
  CRect first, end;
  CListCtrl::GetItemRect(top, &first, LVIR_BOUNDS);
  CListCtrl::GetItemRect(last, &end, LVIR_BOUNDS);
  const RECT margins[] = {{clip.left, clip.top, clip.right, std::min(clip.bottom, first.top)},
                          {clip.left, std::max(clip.top, end.bottom), clip.right, clip.bottom},
                          {std::max(clip.left, first.right), clip.top, clip.right, clip.bottom}};
  for (const RECT& m : margins)
    if (m.right > m.left && m.bottom > m.top) Fill(dc, m, m_crDefaultBack);
  return TRUE;
}

void CExtListCtrl::OnSysColorChange() {
  Default();
  GetColors();
}

// ---------------------------------------------------------------- mouse and keys

void CExtListCtrl::NotifyParent(UINT message, WPARAM wParam, LPARAM lParam) {
  if (HWND target = ListNotifyTarget(m_hWnd)) ::SendMessage(target, message, wParam, lParam);
}

void CExtListCtrl::OnLButtonDown(UINT, CPoint point) {
  LVHITTESTINFO hit{};
  hit.pt = point;
  SubItemHitTest(&hit);
  int row = hit.iItem;
  if (row < 0 || !(hit.flags & LVHT_ONITEMLABEL)) {
    Default();
    CancelCombo();
    return;
  }
  ListCellData* block = RowData(row);
  if (!block) return;
  int column = -1;
  for (int c = 0, n = GetColumns(); c < n && column < 0; ++c) {
    CRect rc;
    if (GetSubItemRect(row, c, LVIR_BOUNDS, rc) && rc.PtInRect(point)) column = c;
  }
  ListCellData* cell = RowCell(block, column);
  if (!cell) {
    Default();
    if (column < 0) CancelCombo();
    return;
  }
  if (cell->checkState >= 0) {
    cell->checkState = cell->checkState == 0 ? 1 : 0;
    cell->modified = TRUE;
    m_bListModified = TRUE;
    UpdateSubItem(row, column);
    HWND self = m_hWnd;
    NotifyParent(WM_EXTLIST_CHECKBOX_CLICKED, static_cast<WPARAM>(row), column);
    if (!::IsWindow(self)) return;
    UpdateHeaderCheck(column);
    Default();
  } else if (cell->isCombo) {
    Default();
    DrawComboBox(row, column);
    Default();
    // The new combo box takes the focus as it appears, and the rest of the
    // press takes it back to the list: that is no end of the editing.
    if (m_pCombo) DropComboReports();
  } else if (cell->isEdit) {
    // The standard press focuses the list; the edit opens after it, so that
    // it keeps the focus it takes.
    Default();
    DrawEdit(row, column);
  } else {
    Default();
  }
}

void CExtListCtrl::OnRButtonDown(UINT, CPoint point) {
  LVHITTESTINFO hit{};
  hit.pt = point;
  SubItemHitTest(&hit);
  if (hit.iItem >= 0 && (hit.flags & LVHT_ONITEMLABEL)) {
    ListCellData* first = RowCell(RowData(hit.iItem), 0);
    if (!first || !first->enabled) return;
  }
  Default();
}

void CExtListCtrl::OnNcLButtonDown(UINT, CPoint) {
  if (m_pEdit) OnEditEnd(0, 0);
  Default();
}

// The search for an enabled row when the keys land on a disabled one.
int CExtListCtrl::NearestEnabledRow(int from, UINT key) {
  int count = GetItemCount();
  auto enabled = [this](int i) { return GetEnabled(i) != FALSE; };
  if (key == VK_DOWN || key == VK_NEXT) {
    for (int i = from + 1; i < count; ++i)
      if (enabled(i)) return i;
    for (int i = count - 1; i >= 0; --i)
      if (enabled(i)) return i;
  } else if (key == VK_UP || key == VK_PRIOR) {
    for (int i = from - 1; i >= 0; --i)
      if (enabled(i)) return i;
    for (int i = 1; i < count; ++i)
      if (enabled(i)) return i;
  }
  return -1;
}

void CExtListCtrl::OnKeyDown(UINT nChar, UINT, UINT) {
  int before = GetCurSel();
  Default();
  int row = GetCurSel();
  if (row < 0) return;
  if (!GetEnabled(row)) {
    int found = NearestEnabledRow(row, nChar);
    row = found >= 0 ? found : before;
  }
  SetCurSel(row, TRUE);
}

// Whichever of the cancel and commit timers fires first closes the combo;
// the other then finds none and only stops itself.
void CExtListCtrl::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kComboUnlockTimer) {
    KillTimer(nIDEvent);
    ::LockWindowUpdate(nullptr);
  } else if (nIDEvent == kComboCancelTimer) {
    KillTimer(nIDEvent);
    if (m_pCombo) {
      UpdateSubItem(m_nComboItem, m_nComboSubItem);
      CloseCombo();
    }
  } else if (nIDEvent == kComboCommitTimer) {
    KillTimer(nIDEvent);
    if (m_pCombo) CommitCombo();
  }
  Default();
}

void CExtListCtrl::DropComboReports() {
  KillTimer(kComboCancelTimer);
  KillTimer(kComboCommitTimer);
}

// A press beside the cells cancels an open combo. The press also takes the
// focus from a focused combo, which then reports both ends; the cancel is
// what the press means, so it replaces them.
void CExtListCtrl::CancelCombo() {
  if (!m_pCombo) return;
  DropComboReports();
  SetTimer(kComboCancelTimer, kComboDelayMs, nullptr);
}

void CExtListCtrl::CloseCombo() {
  CExtCellCombo* combo = m_pCombo;
  m_pCombo = nullptr;
  if (!combo) return;
  combo->DestroyWindow();
  delete combo;
}

void CExtListCtrl::CommitCombo() {
  int row = m_nComboItem, column = m_nComboSubItem;
  int chosen = m_pCombo->GetCurSel();
  CString text;
  if (chosen >= 0) m_pCombo->GetLBText(chosen, text);
  CloseCombo();
  if (chosen < 0 || !ValidCell(row, column)) return;
  CListCtrl::SetItemText(row, column, text);
  if (text != m_strStartText) {
    if (ListCellData* cell = Cell(row, column)) cell->modified = TRUE;
    m_bListModified = TRUE;
  }
  HWND self = m_hWnd;
  NotifyParent(WM_EXTLIST_COMBO_SELECTION, static_cast<WPARAM>(row), column);
  if (::IsWindow(self)) UpdateSubItem(row, column);
}

void CExtListCtrl::DrawComboBox(int nItem, int nSubItem) {
  ListCellData* cell = Cell(nItem, nSubItem);
  ListCellData* first = Cell(nItem, 0);
  if (!cell || !cell->isCombo || !first || !first->enabled) return;
  // The old combo goes unchanged, and so do the reports it left pending:
  // they would otherwise close the combo opened here.
  DropComboReports();
  CloseCombo();
  CRect rc;
  if (!GetSubItemRect(nItem, nSubItem, LVIR_BOUNDS, rc)) return;
  rc.top -= 1;
  rc.left += 1;
  ClientToScreen(&rc);
  m_pCombo = new CExtCellCombo(this);
  m_nComboItem = nItem;
  m_nComboSubItem = nSubItem;
  m_rcCombo = rc;
  if (!m_pCombo->CreateEx(WS_EX_CONTROLPARENT, "SuperComboBox", "", WS_POPUP | WS_VISIBLE | CBS_DROPDOWNLIST, rc,
                          this, 0)) {
    delete m_pCombo;
    m_pCombo = nullptr;
    return;
  }
  ::LockWindowUpdate(m_hWnd);
  AddCellChoices(*m_pCombo, *cell);
  // This list's combo is a pop-up of the program's own drawing, laid over the
  // cell on the screen: its drop-down shows as many choices as the cell asks.
  m_pCombo->SetDropItemLimit(cell->dropDownItems);
  SetTimer(kComboUnlockTimer, kComboDelayMs, nullptr);
  m_strStartText = SelectCellChoice(*m_pCombo, *cell, *this, nItem, nSubItem);
  m_pCombo->RedrawWindow(nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
  ::BringWindowToTop(m_pCombo->m_hWnd);
}

LRESULT CExtListCtrl::OnComboComplete(WPARAM, LPARAM) {
  SetTimer(kComboCommitTimer, kComboDelayMs, nullptr);
  return 0;
}

LRESULT CExtListCtrl::OnComboEscape(WPARAM, LPARAM) {
  SetTimer(kComboCancelTimer, kComboDelayMs, nullptr);
  return 0;
}

// ---------------------------------------------------------------- the in-place edit

void CExtListCtrl::DrawEdit(int nItem, int nSubItem) {
  ListCellData* first = Cell(nItem, 0);
  if (!Cell(nItem, nSubItem) || !first || !first->enabled) return;
  int width = GetColumnWidth(nSubItem);
  if (width <= kMinEditWidth || !EnsureVisible(nItem, TRUE)) return;
  int x = 0;
  for (int c = 0; c < nSubItem; ++c) x += GetColumnWidth(c);
  CRect row, client;
  CListCtrl::GetItemRect(nItem, &row, LVIR_BOUNDS);
  GetClientRect(&client);
  int start = row.left + x;
  if (start < 0 || start > client.right) {
    Scroll(CSize(start, 0));
    row.left -= start;
  }
  CRect rc(row.left + x + 2, row.top, 0, row.bottom + 1);
  rc.right = std::min(rc.left + width - 4, client.right);
  UINT align = ColumnAlignment(nSubItem);
  DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL |
                (align == DT_RIGHT ? ES_RIGHT : align == DT_CENTER ? ES_CENTER : 0);
  if (m_pEdit) OnEditEnd(0, 0);
  m_strStartText = GetItemText(nItem, nSubItem);
  m_nEditItem = nItem;
  m_nEditSubItem = nSubItem;
  m_pEdit = new CExtCellEdit(this, m_strStartText);
  if (!m_pEdit->Create(style, rc, this, kEditId)) {
    delete m_pEdit;
    m_pEdit = nullptr;
  }
}

// The edit is hidden at once and destroyed from a posted message, because
// the edit's own handler is still running when it reports its end.
void CExtListCtrl::RetireEdit() {
  CExtCellEdit* edit = m_pEdit;
  m_pEdit = nullptr;
  if (!edit) return;
  m_retiredEdits.push_back(edit);
  if (::GetCapture() == edit->m_hWnd) ::ReleaseCapture();
  edit->ShowWindow(SW_HIDE);
  PostMessage(kDestroyEditorsMessage, 0, 0);
}

LRESULT CExtListCtrl::OnDestroyEditors(WPARAM, LPARAM) {
  std::vector<CExtCellEdit*> edits;
  edits.swap(m_retiredEdits);
  for (CExtCellEdit* edit : edits) {
    edit->DestroyWindow();
    delete edit;
  }
  return 0;
}

LRESULT CExtListCtrl::OnEditEnd(WPARAM, LPARAM) {
  if (!m_pEdit) return 0;
  CString text;
  m_pEdit->GetWindowText(text);
  if (text.IsEmpty()) text = m_strStartText;
  RetireEdit();
  int row = m_nEditItem, column = m_nEditSubItem;
  if (!ValidCell(row, column)) return 0;
  CListCtrl::SetItemText(row, column, text);
  if (text != m_strStartText) {
    if (ListCellData* cell = Cell(row, column)) cell->modified = TRUE;
    m_bListModified = TRUE;
  }
  UpdateSubItem(row, column);
  NotifyParent(WM_EXTLIST_EDIT_END, static_cast<WPARAM>(row), column);
  return 0;
}

LRESULT CExtListCtrl::OnEditCancel(WPARAM, LPARAM) {
  if (!m_pEdit) return 0;
  RetireEdit();
  if (!ValidCell(m_nEditItem, m_nEditSubItem)) return 0;
  CListCtrl::SetItemText(m_nEditItem, m_nEditSubItem, m_strStartText);
  UpdateSubItem(m_nEditItem, m_nEditSubItem);
  return 0;
}

// ---------------------------------------------------------------- tooltips

INT_PTR CExtListCtrl::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  LVHITTESTINFO hit{};
  hit.pt = point;
  const_cast<CExtListCtrl*>(this)->SubItemHitTest(&hit);
  if (hit.iItem < 0 || !(hit.flags & LVHT_ONITEMLABEL)) return -1;
  INT_PTR id = static_cast<INT_PTR>(hit.iItem) * kToolIdsPerRow + hit.iSubItem + 1;
  if (pTI) {
    pTI->hwnd = m_hWnd;
    pTI->uId = static_cast<UINT_PTR>(id);
    pTI->lpszText = LPSTR_TEXTCALLBACK;
    GetClientRect(&pTI->rect);
  }
  return id;
}

BOOL CExtListCtrl::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
  if (pNMHDR->idFrom == 0) return TRUE;
  *pResult = 0;
  LVHITTESTINFO hit = ListCellAtMessagePos(*this);
  if (hit.iItem < 0 || !(hit.flags & LVHT_ONITEMLABEL)) return FALSE;
  CString tip = GetItemToolTipText(hit.iItem, hit.iSubItem);
  if (tip.IsEmpty()) return FALSE;
  if (pNMHDR->code == TTN_NEEDTEXTA) {
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
    std::snprintf(info->szText, sizeof(info->szText), "%.*s", kToolTipChars, static_cast<LPCTSTR>(tip));
  } else {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
    int n = std::min(tip.GetLength(), kToolTipChars);
    for (int i = 0; i < n; ++i) info->szText[i] = static_cast<unsigned char>(tip[i]);
    info->szText[n] = 0;
  }
  return FALSE;
}

// ---------------------------------------------------------------- CClickListCtrl

IMPLEMENT_DYNCREATE(CClickListCtrl, CExtListCtrl)

BEGIN_MESSAGE_MAP(CClickListCtrl, CExtListCtrl)
  ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
  ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CClickListCtrl::CClickListCtrl() = default;

CClickListCtrl::~CClickListCtrl() = default;

void CClickListCtrl::SetHandCursorColumns(int a, int b) {
  m_nHandColumnA = a;
  m_nHandColumnB = b;
}

void CClickListCtrl::OnClick(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  ReportCellClick(*this);
}

void CClickListCtrl::OnMouseMove(UINT, CPoint point) {
  m_bHandCursor = TrackHandCursor(*this, point, m_nHandColumnA, m_nHandColumnB);
  Default();
}
