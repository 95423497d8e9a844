#include "CRTListCtrlEx.h"

#include <algorithm>

#include "CommCtrl.h"

namespace {

const COLORREF kListBack = CRTListCtrl::kBackground;
const COLORREF kBoxFrame = RGB(51, 102, 153);
const COLORREF kTick = RGB(51, 153, 51);
const int kMinComboWidth = 5;
const int kComboDropHeight = 100;
const int kIconSize = 16;
const int kToolIdsPerRow = 100;

void Fill(HDC dc, const RECT& rc, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
}

}  // namespace

// ---------------------------------------------------------------- CRTCellCombo

IMPLEMENT_DYNAMIC(CRTCellCombo, CRTComboBox)

BEGIN_MESSAGE_MAP(CRTCellCombo, CRTComboBox)
  ON_CONTROL_REFLECT_EX(CBN_CLOSEUP, OnFinished)
  ON_CONTROL_REFLECT_EX(CBN_KILLFOCUS, OnFinished)
END_MESSAGE_MAP()

BOOL CRTCellCombo::OnFinished() {
  HWND parent = ::GetParent(m_hWnd);
  if (parent && ::IsWindow(parent)) ::SendMessage(parent, WM_RTCOMBOLIST_COMPLETE, 0, 0);
  return TRUE;
}

// ---------------------------------------------------------------- life cycle

IMPLEMENT_DYNAMIC(CRTListCtrlEx, CRTListCtrl)

BEGIN_MESSAGE_MAP(CRTListCtrlEx, CRTListCtrl)
  ON_WM_DESTROY()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_TIMER()
  ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
  ON_NOTIFY_REFLECT_EX(LVN_DELETEITEM, OnDeleteItemNotify)
  ON_REGISTERED_MESSAGE(WM_RTCOMBOLIST_COMPLETE, OnComboComplete)
  ON_REGISTERED_MESSAGE(WM_CELLCOMBO_VK_ESCAPE, OnComboEscape)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

CRTListCtrlEx::CRTListCtrlEx()
    : m_crWindow(::GetSysColor(COLOR_WINDOW)),
      m_crWindowText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_crHighlight(::GetSysColor(COLOR_HIGHLIGHT)),
      m_crHighlightText(::GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_crBtnFace(::GetSysColor(COLOR_BTNFACE)),
      m_crGrayText(::GetSysColor(COLOR_GRAYTEXT)) {
  m_checkImages.Create(kIconSize, kIconSize, ILC_COLOR8 | ILC_MASK, 1, 0);
  for (int icon : {kManualIcon, kDeleteIcon})
    m_checkImages.Add(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(icon)));
}

CRTListCtrlEx::~CRTListCtrlEx() {
  delete m_pCombo;
  // Blocks the window did not free: a window never destroyed, or a row whose
  // item data a caller overwrote through the plain list.
  for (ListCellData* block : m_blocks) FreeRowData(block);
}

// An open combo goes down with the window tree, which is already being
// destroyed; its object stays attached until then and is deleted with the
// list (or by the next opening, should the window be made again).
void CRTListCtrlEx::OnDestroy() {
  KillTimer(kCancelTimer);
  KillTimer(kCommitTimer);
  for (int i = GetItemCount() - 1; i >= 0; --i) FreeRow(i);
  Default();
}

// ---------------------------------------------------------------- rows and cells

int CRTListCtrlEx::GetColumns() const { return ListColumnCount(m_hWnd); }

bool CRTListCtrlEx::ValidCell(int nItem, int nSubItem) const {
  return nItem >= 0 && nItem < GetItemCount() && nSubItem >= 0 && nSubItem < GetColumns();
}

// Only blocks this list made count: a value a caller put into the plain item
// data is never taken for one.
ListCellData* CRTListCtrlEx::RowData(int nItem) {
  if (nItem < 0 || nItem >= GetItemCount()) return nullptr;
  auto block = reinterpret_cast<ListCellData*>(CListCtrl::GetItemData(nItem));
  return m_blocks.count(block) ? block : nullptr;
}

ListCellData* CRTListCtrlEx::Cell(int nItem, int nSubItem) {
  return ValidCell(nItem, nSubItem) ? RowCell(RowData(nItem), nSubItem) : nullptr;
}

// The item data is zeroed before the block goes, so the deletion notice that
// follows finds nothing left to free.
void CRTListCtrlEx::FreeRow(int nItem) {
  ListCellData* block = RowData(nItem);
  if (!block) return;
  CListCtrl::SetItemData(nItem, 0);
  m_blocks.erase(block);
  FreeRowData(block);
}

// Rows deleted through the plain list free their block here.
BOOL CRTListCtrlEx::OnDeleteItemNotify(NMHDR* pNMHDR, LRESULT*) {
  auto block = reinterpret_cast<ListCellData*>(reinterpret_cast<NMLISTVIEW*>(pNMHDR)->lParam);
  if (m_blocks.erase(block)) FreeRowData(block);
  return FALSE;  // the parent hears of it too
}

int CRTListCtrlEx::InsertItem(int nItem, LPCTSTR lpszItem) {
  if (nItem < 0) return -1;
  int row = CListCtrl::InsertItem(nItem, lpszItem);
  if (row < 0) return row;
  ListCellData* block = AllocateRowData(GetColumns());
  CListCtrl::SetItemData(row, reinterpret_cast<DWORD_PTR>(block));
  if (!block) return -1;
  m_blocks.insert(block);
  return row;
}

BOOL CRTListCtrlEx::DeleteAllItems() {
  for (int i = GetItemCount() - 1; i >= 0; --i) FreeRow(i);
  return CListCtrl::DeleteAllItems();
}

BOOL CRTListCtrlEx::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
  if (!ValidCell(nItem, nSubItem)) return FALSE;
  BOOL ok = CListCtrl::SetItemText(nItem, nSubItem, lpszText);
  UpdateSubItem(nItem, nSubItem);
  return ok;
}

BOOL CRTListCtrlEx::SetComboBox(int nItem, int nSubItem, BOOL bEnable, CStringArray* pStrings, int nDropDownItems,
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

void CRTListCtrlEx::SortStrings(CStringArray& strings, BOOL bCaseSensitive, BOOL bAscending) {
  SortListStrings(strings, bCaseSensitive != FALSE, bAscending != FALSE);
}

BOOL CRTListCtrlEx::SetCheckbox(int nItem, int nSubItem, int nCheckedState) {
  ListCellData* cell = Cell(nItem, nSubItem);
  if (!cell) return FALSE;
  cell->checkState = nCheckedState;
  UpdateSubItem(nItem, nSubItem);
  return TRUE;
}

int CRTListCtrlEx::GetCheckbox(int nItem, int nSubItem) {
  ListCellData* cell = Cell(nItem, nSubItem);
  return cell ? (cell->checkState == 1 ? 1 : 0) : -1;
}

BOOL CRTListCtrlEx::GetModified(int nItem, int nSubItem) {
  ListCellData* cell = Cell(nItem, nSubItem);
  return cell ? cell->modified : FALSE;
}

BOOL CRTListCtrlEx::GetSubItemRect(int nItem, int nSubItem, int nArea, CRect& rect) {
  return ValidCell(nItem, nSubItem) && ListCellRect(*this, nItem, nSubItem, nArea, rect);
}

void CRTListCtrlEx::UpdateSubItem(int nItem, int nSubItem) {
  CRect rc;
  if (!GetSubItemRect(nItem, nSubItem, LVIR_BOUNDS, rc)) return;
  RedrawListCell(*this, rc);
}

void CRTListCtrlEx::SetHandCursorColumns(int a, int b) {
  m_nHandColumnA = a;
  m_nHandColumnB = b;
}

void CRTListCtrlEx::SetToolTipText(LPCTSTR lpszText, int nColumn) {
  m_strToolTip = lpszText ? lpszText : "";
  m_nToolTipColumn = nColumn;
}

// ---------------------------------------------------------------- drawing

void CRTListCtrlEx::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
  *pResult = CDRF_DODEFAULT;
  switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: *pResult = CDRF_NOTIFYITEMDRAW; return;
    case CDDS_ITEMPREPAINT: *pResult = CDRF_NOTIFYSUBITEMDRAW; return;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: break;
    default: return;
  }
  int row = static_cast<int>(cd->nmcd.dwItemSpec), column = cd->iSubItem;
  COLORREF text = m_crWindowText, back = m_crWindow;
  ListCellData* block = RowData(row);
  if (const ListCellData* cell = RowCell(block, column)) {
    text = cell->textColor;
    back = cell->backColor;
  }
  if (const ListCellData* first = RowCell(block, 0); first && !first->enabled) text = m_crGrayText;
  cd->clrText = text;
  cd->clrTextBk = back;
  *pResult = CDRF_SKIPDEFAULT;
  CRect rc;
  if (!GetSubItemRect(row, column, LVIR_BOUNDS, rc)) return;
  rc.DeflateRect(0, 1);
  HDC dc = cd->nmcd.hdc;
  GetDrawColors(row, column, cd->clrText, back);
  switch (column) {
    case kDeleteColumn: DrawIcon(dc, rc, 1, back); break;
    case kManualColumn: DrawIcon(dc, rc, 0, back); break;
    case kCheckColumn: DrawCheckbox(dc, rc, row, column, cd->clrText, back); break;
    default:
      rc.left += 1;
      DrawCellText(dc, rc, row, column, cd->clrText, back);
      break;
  }
}

// Cells stand on the skinned list's light grey, whatever their own back
// colour; a selected row takes the highlight while the list has the focus.
void CRTListCtrlEx::GetDrawColors(int nItem, int nSubItem, COLORREF& text, COLORREF& back) {
  COLORREF cellBack = back;
  back = kListBack;
  if (!(GetItemState(nItem, LVIS_SELECTED) & LVIS_SELECTED)) return;
  bool fullRow = (GetExtendedStyle() & LVS_EX_FULLROWSELECT) != 0;
  if (!fullRow && nSubItem != 0) return;
  if (::GetFocus() == m_hWnd) {
    text = m_crHighlightText;
    back = m_crHighlight;
  } else if (GetStyle() & LVS_SHOWSELALWAYS) {
    text = m_crWindowText;
    back = m_crBtnFace;
  } else if (!fullRow) {
    back = cellBack;
  }
}

void CRTListCtrlEx::DrawIcon(HDC dc, const CRect& rc, int image, COLORREF back) {
  if (rc.IsRectEmpty()) return;
  Fill(dc, rc, back);
  m_checkImages.Draw(CDC::FromHandle(dc), image, CPoint(rc.left + 1, rc.top), ILD_TRANSPARENT);
}

CRect CRTListCtrlEx::CheckboxRect(const CRect& cell, const CString& text) const {
  CRect box = cell;
  box.bottom -= 1;
  int side = box.Height();
  box.left = text.IsEmpty() ? cell.left + cell.Width() / 2 - side / 2 - 1 : cell.left + 9;
  box.right = box.left + side;
  return box;
}

void CRTListCtrlEx::DrawCheckbox(HDC dc, const CRect& rc, int nItem, int nSubItem, COLORREF text, COLORREF back) {
  if (rc.IsRectEmpty()) return;
  Fill(dc, rc, back);
  CString label = GetItemText(nItem, nSubItem);
  CRect box = CheckboxRect(rc, label);
  Fill(dc, box, m_crWindow);
  HBRUSH frame = CreateSolidBrush(kBoxFrame);
  FrameRect(dc, &box, frame);
  DeleteObject(frame);
  const ListCellData* cell = Cell(nItem, nSubItem);
  if (cell && cell->checkState == 1) {
    HPEN pen = CreatePen(PS_SOLID, 1, kTick);
    HGDIOBJ old = SelectObject(dc, pen);
    int x = box.left + 9, y = box.top + 3;
    for (int i = 0; i < 4; ++i, --x, ++y) {
      MoveToEx(dc, x, y, nullptr);
      LineTo(dc, x, y + 3);
    }
    for (int i = 0; i < 3; ++i, --x, --y) {
      MoveToEx(dc, x, y, nullptr);
      LineTo(dc, x, y + 3);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  if (label.IsEmpty()) return;
  CRect area = rc;
  area.left = box.right + 5;
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF oldText = ::SetTextColor(dc, text);
  ::DrawTextA(dc, label, -1, &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (m_bEndEllipsis ? DT_END_ELLIPSIS : 0));
  ::SetTextColor(dc, oldText);
  ::SetBkMode(dc, oldMode);
}

// The text colour is the one the notification carries; the list may not have
// put it into the context yet, so it is set here.
void CRTListCtrlEx::DrawCellText(HDC dc, const CRect& rc, int nItem, int nSubItem, COLORREF text, COLORREF back) {
  if (rc.IsRectEmpty()) return;
  Fill(dc, rc, back);
  CString label = GetItemText(nItem, nSubItem);
  if (label.IsEmpty()) return;
  HDITEM column{};
  column.mask = HDI_FORMAT;
  auto header = reinterpret_cast<HWND>(::SendMessage(m_hWnd, LVM_GETHEADER, 0, 0));
  ::SendMessage(header, HDM_GETITEM, static_cast<WPARAM>(nSubItem), reinterpret_cast<LPARAM>(&column));
  int justify = column.fmt & HDF_JUSTIFYMASK;
  UINT align = justify == HDF_CENTER ? DT_CENTER : justify == HDF_RIGHT ? DT_RIGHT : DT_LEFT;
  CRect area = rc;
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF oldText = ::SetTextColor(dc, text);
  ::DrawTextA(dc, label, -1, &area,
              align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (m_bEndEllipsis ? DT_END_ELLIPSIS : 0));
  ::SetTextColor(dc, oldText);
  ::SetBkMode(dc, oldMode);
}

// ---------------------------------------------------------------- mouse

void CRTListCtrlEx::NotifyParent(UINT message, WPARAM wParam, LPARAM lParam) {
  if (HWND target = ListNotifyTarget(m_hWnd)) ::SendMessage(target, message, wParam, lParam);
}

void CRTListCtrlEx::OnLButtonDown(UINT, CPoint point) {
  if (!m_bMouseEdit) {
    Default();
    return;
  }
  LVHITTESTINFO hit{};
  hit.pt = point;
  SubItemHitTest(&hit);
  int row = hit.iItem, column = hit.iSubItem;
  if (row < 0) {
    CancelCombo();
    Default();
    return;
  }
  if (!RowData(row)) return;
  if (column < 0) {
    CancelCombo();
    Default();
    return;
  }
  ListCellData* cell = Cell(row, column);
  if (column == kCheckColumn) {
    CRect rc;
    if (cell && GetSubItemRect(row, column, LVIR_BOUNDS, rc)) {
      rc.DeflateRect(0, 1);
      if (CheckboxRect(rc, GetItemText(row, column)).PtInRect(point)) {
        cell->checkState = cell->checkState == 1 ? 0 : 1;
        cell->modified = TRUE;
        m_bListModified = TRUE;
        UpdateSubItem(row, column);
        HWND self = m_hWnd;
        NotifyParent(WM_EXTLIST_CHECKBOX_CLICKED, static_cast<WPARAM>(row), column);
        if (!::IsWindow(self)) return;
      }
    }
    Default();
  } else if (cell && cell->isCombo) {
    Default();
    DrawComboBox(row, column);
    Default();
  } else {
    Default();
  }
}

void CRTListCtrlEx::OnClick(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  ReportCellClick(*this);
}

void CRTListCtrlEx::OnMouseMove(UINT, CPoint point) {
  LVHITTESTINFO hit{};
  m_bHandCursor = TrackHandCursor(*this, point, m_nHandColumnA, m_nHandColumnB, &hit);
  // The member list's combos are in the role column only: an open one is
  // dropped once the pointer moves over another column, as a press beside
  // the rows drops it.
  if (hit.iSubItem != kRoleColumn) CancelCombo();
  Default();
}

// ---------------------------------------------------------------- the in-place combo

void CRTListCtrlEx::CancelCombo() {
  if (m_pCombo) SetTimer(kCancelTimer, kComboDelayMs, nullptr);
}

LRESULT CRTListCtrlEx::OnComboComplete(WPARAM, LPARAM) {
  SetTimer(kCommitTimer, kComboDelayMs, nullptr);
  return 0;
}

LRESULT CRTListCtrlEx::OnComboEscape(WPARAM, LPARAM) {
  SetTimer(kCancelTimer, kComboDelayMs, nullptr);
  return 0;
}

// The object is taken out of the list first: destroying a focused combo
// reports its lost focus, which must find no combo to act on.
void CRTListCtrlEx::CloseCombo() {
  CRTCellCombo* combo = m_pCombo;
  m_pCombo = nullptr;
  if (!combo) return;
  combo->DestroyWindow();
  delete combo;
}

void CRTListCtrlEx::CommitCombo() {
  if (!m_pCombo) return;
  int choice = m_pCombo->GetCurSel();
  int row = m_nComboItem, column = m_nComboSubItem;
  if (choice != CB_ERR && ValidCell(row, column)) {
    CString text;
    m_pCombo->GetLBText(choice, text);
    CListCtrl::SetItemText(row, column, text);
    if (text != m_strComboStart) {
      if (ListCellData* cell = Cell(row, column)) cell->modified = TRUE;
      m_bListModified = TRUE;
    }
    UpdateSubItem(row, column);
    HWND self = m_hWnd;
    NotifyParent(WM_EXTLIST_COMBO_SELECTION, static_cast<WPARAM>(row), column);
    if (!::IsWindow(self)) return;
  }
  CloseCombo();
}

void CRTListCtrlEx::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kCommitTimer) {
    KillTimer(kCommitTimer);
    CommitCombo();
  } else if (nIDEvent == kCancelTimer) {
    KillTimer(kCancelTimer);
    if (m_pCombo) {
      UpdateSubItem(m_nComboItem, m_nComboSubItem);
      CloseCombo();
    }
  }
  Default();
}

void CRTListCtrlEx::DrawComboBox(int nItem, int nSubItem) {
  ListCellData* cell = Cell(nItem, nSubItem);
  ListCellData* first = Cell(nItem, 0);
  if (!cell || !first || !first->enabled || GetColumnWidth(nSubItem) < kMinComboWidth) return;
  CloseCombo();
  // Closing the old combo may have asked for a commit (it lost the focus to
  // the list when the press landed); that commit belongs to the old combo and
  // must not close the one opened now.
  KillTimer(kCancelTimer);
  KillTimer(kCommitTimer);

  CRect rc;
  if (!GetSubItemRect(nItem, nSubItem, LVIR_BOUNDS, rc)) return;
  rc.top -= 1;
  int fieldHeight = rc.Height() - 4;
  rc.left += 1;
  rc.bottom += kComboDropHeight;
  m_rcCombo = rc;
  m_nComboItem = nItem;
  m_nComboSubItem = nSubItem;
  m_pCombo = new CRTCellCombo;
  if (!m_pCombo->Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, rc, this, 0)) {
    delete m_pCombo;
    m_pCombo = nullptr;
    return;
  }
  m_pCombo->SetItemHeight(-1, fieldHeight);
  m_pCombo->SetFont(GetFont(), FALSE);
  AddCellChoices(*m_pCombo, *cell);
  // This list's combo is a skinned standard one, a child over the cell: its
  // drop-down has a fixed height (kComboDropHeight) rather than an item
  // count, and is widened to its longest choice.
  FitDropDownWidth();
  m_strComboStart = SelectCellChoice(*m_pCombo, *cell, *this, nItem, nSubItem);
  m_pCombo->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// A narrow role column would cut the longer choices in the drop-down; the
// list grows to show the widest one whole.
void CRTListCtrlEx::FitDropDownWidth() {
  CClientDC dc(m_pCombo);
  CFont* font = GetFont();
  CFont* old = font ? dc.SelectObject(font) : nullptr;
  int widest = 0;
  CString text;
  for (int i = 0, n = m_pCombo->GetCount(); i < n; ++i) {
    m_pCombo->GetLBText(i, text);
    widest = std::max(widest, static_cast<int>(dc.GetTextExtent(text).cx));
  }
  if (old) dc.SelectObject(old);
  const int margins = 8 + ::GetSystemMetrics(SM_CXVSCROLL);
  if (widest + margins > m_rcCombo.Width())
    m_pCombo->SendMessage(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + margins), 0);
}

// ---------------------------------------------------------------- tooltips and resizing

INT_PTR CRTListCtrlEx::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  LVHITTESTINFO hit{};
  hit.pt = point;
  const_cast<CRTListCtrlEx*>(this)->SubItemHitTest(&hit);
  if (m_nToolTipColumn != -1 && m_nToolTipColumn != hit.iSubItem) return -1;
  INT_PTR id = static_cast<INT_PTR>(hit.iItem) * kToolIdsPerRow + hit.iSubItem;
  if (pTI) {
    pTI->hwnd = m_hWnd;
    pTI->uId = static_cast<UINT_PTR>(id);
    pTI->lpszText = LPSTR_TEXTCALLBACK;
    GetClientRect(&pTI->rect);
  }
  return id;
}

// The text goes through lpszText to a buffer of the list's own, which holds a
// whole tip; the notification's szText holds only 79 characters.
BOOL CRTListCtrlEx::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
  if (::IsWindow(pNMHDR->hwndFrom)) ::SendMessage(pNMHDR->hwndFrom, TTM_SETMAXTIPWIDTH, 0, 400);
  auto* infoA = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
  if (pNMHDR->idFrom == reinterpret_cast<UINT_PTR>(m_hWnd) && (infoA->uFlags & TTF_IDISHWND)) return FALSE;
  *pResult = 0;
  m_toolTipBuffer.assign(static_cast<LPCTSTR>(m_strToolTip), std::min(m_strToolTip.GetLength(), kToolTipChars));
  if (pNMHDR->code == TTN_NEEDTEXTA) {
    infoA->szText[0] = 0;
    infoA->lpszText = m_toolTipBuffer.data();
  } else {
    // Tips are plain ASCII texts of the language file; wider characters pass through as bytes.
    auto* infoW = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
    m_toolTipBufferW.assign(m_toolTipBuffer.begin(), m_toolTipBuffer.end());
    for (wchar_t& c : m_toolTipBufferW) c = static_cast<unsigned char>(c);
    m_toolTipBufferW.push_back(0);
    infoW->szText[0] = 0;
    infoW->lpszText = m_toolTipBufferW.data();
  }
  return FALSE;
}

BOOL CRTListCtrlEx::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  if (m_nResizableColumns != 0 && hdr && (hdr->code == HDN_BEGINTRACKA || hdr->code == HDN_BEGINTRACKW)) {
    int column = reinterpret_cast<NMHEADERA*>(lParam)->iItem;
    if (column == 0 || column >= m_nResizableColumns || m_nResizableColumns < 0) {
      if (pResult) *pResult = 1;
      return TRUE;
    }
  }
  return CRTListCtrl::OnNotify(wParam, lParam, pResult);
}
