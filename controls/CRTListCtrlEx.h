// The member list: a skinned report list with a ListCellData record per cell
// and the member pages' fixed column roles (a drawn check box in column 5,
// the "Manually" and "Delete" icons in columns 6 and 7, combo cells edited in
// place). Clicks on cells go to the page as WM_LIST_CELL_CLICKED (column,
// row); check-box toggles and combo choices as WM_EXTLIST_CHECKBOX_CLICKED
// and WM_EXTLIST_COMBO_SELECTION (row, column).
//
// Row blocks (see ListCellData.h) live from InsertItem until the row goes,
// whichever way it goes: pages delete single rows through the plain list, so
// the block is freed on the list's own item-deletion notification. A column
// added after a row was inserted has no record in that row, and such a cell
// is treated as a cell without data.
//
// The in-place combo opens on a press on a combo cell and closes from a
// one-shot timer: 3 commits its choice into the cell, 2 drops it. At most one
// is open. Everything runs on the thread that owns the window.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "ListCellData.h"
#include "RTComboBox.h"
#include "RTListCtrl.h"
#include "afxcmn.h"

// The in-place combo of a member-list cell: reports the end of its drop-down
// and the loss of its focus to the list as WM_RTCOMBOLIST_COMPLETE.
class CRTCellCombo : public CRTComboBox {
  DECLARE_DYNAMIC(CRTCellCombo)

 public:
  CRTCellCombo() = default;
  ~CRTCellCombo() override = default;

 protected:
  afx_msg BOOL OnFinished();
  DECLARE_MESSAGE_MAP()
};

class CRTListCtrlEx : public CRTListCtrl {
  DECLARE_DYNAMIC(CRTListCtrlEx)

 public:
  // The member list's columns that this control draws or edits in its own
  // way: kColAuto, kColManual, kColDelete and kColRole of the member store
  // (apptasks/MemberStore.h, a floor above the controls, whose users check
  // that the numbers agree).
  enum { kCheckColumn = 5, kManualColumn = 6, kDeleteColumn = 7, kRoleColumn = 1 };
  // The icons of columns 6 and 7, program resources.
  enum { kManualIcon = 142, kDeleteIcon = 143 };
  // Timers of the in-place combo.
  enum { kCancelTimer = 2, kCommitTimer = 3 };
  static constexpr UINT kComboDelayMs = 50;
  static constexpr int kToolTipChars = 199;

  CRTListCtrlEx();
  ~CRTListCtrlEx() override;

  int InsertItem(int nItem, LPCTSTR lpszItem);
  BOOL DeleteAllItems();
  BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
  BOOL SetComboBox(int nItem, int nSubItem, BOOL bEnable, CStringArray* pStrings, int nDropDownItems,
                   int nInitialSelection, BOOL bSort);
  BOOL SetCheckbox(int nItem, int nSubItem, int nCheckedState);
  int GetCheckbox(int nItem, int nSubItem);
  BOOL GetModified(int nItem, int nSubItem);
  BOOL IsListModified() const { return m_bListModified; }
  BOOL GetSubItemRect(int nItem, int nSubItem, int nArea, CRect& rect);
  void UpdateSubItem(int nItem, int nSubItem);
  void SetHandCursorColumns(int a, int b);
  void EnableMouseEdit(BOOL bEnable) { m_bMouseEdit = bEnable; }
  void SetToolTipText(LPCTSTR lpszText, int nColumn);
  void SetResizableColumns(int n) { m_nResizableColumns = n; }
  void DrawComboBox(int nItem, int nSubItem);
  static void SortStrings(CStringArray& strings, BOOL bCaseSensitive, BOOL bAscending);

  // The open in-place combo, or null.
  CRTCellCombo* GetCellCombo() const { return m_pCombo; }
  // The record of a cell, or null for a bad index, a row without data or a
  // column the row's block has no record for.
  ListCellData* Cell(int nItem, int nSubItem);
  int GetColumns() const;

  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
  virtual BOOL OnToolTipText(UINT id, NMHDR* pNMHDR, LRESULT* pResult);

  BOOL m_bHandCursor = FALSE;  // the last move was over the icon of a hand-cursor column

 protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg void OnDestroy();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg BOOL OnDeleteItemNotify(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg LRESULT OnComboComplete(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnComboEscape(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  ListCellData* RowData(int nItem);
  bool ValidCell(int nItem, int nSubItem) const;
  void FreeRow(int nItem);
  void NotifyParent(UINT message, WPARAM wParam, LPARAM lParam);
  void CancelCombo();
  void CloseCombo();
  void CommitCombo();
  void FitDropDownWidth();
  CRect CheckboxRect(const CRect& cell, const CString& text) const;
  void GetDrawColors(int nItem, int nSubItem, COLORREF& text, COLORREF& back);
  void DrawCheckbox(HDC dc, const CRect& rc, int nItem, int nSubItem, COLORREF text, COLORREF back);
  void DrawIcon(HDC dc, const CRect& rc, int image, COLORREF back);
  void DrawCellText(HDC dc, const CRect& rc, int nItem, int nSubItem, COLORREF text, COLORREF back);

  int m_nResizableColumns = 0;
  CString m_strToolTip;
  int m_nToolTipColumn = -1;
  int m_nHandColumnA = -1, m_nHandColumnB = -1;
  CImageList m_checkImages;
  BOOL m_bEndEllipsis = TRUE;
  BOOL m_bListModified = FALSE;
  CString m_strComboStart;
  CRTCellCombo* m_pCombo = nullptr;
  COLORREF m_crWindow, m_crWindowText, m_crHighlight, m_crHighlightText, m_crBtnFace, m_crGrayText;
  int m_nComboItem = 0, m_nComboSubItem = 0;
  CRect m_rcCombo;
  BOOL m_bMouseEdit = TRUE;
  std::unordered_set<ListCellData*> m_blocks;  // the row blocks this list made
  // The tooltip's text lives here until the next request: the notification's
  // own buffer holds fewer characters than a tip may have.
  std::string m_toolTipBuffer;
  std::vector<wchar_t> m_toolTipBufferW;
};
