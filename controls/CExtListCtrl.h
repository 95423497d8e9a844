// A report list whose cells can be progress bars, check boxes, images, bold
// texts or in-place edits, with per-cell tooltips, a per-row enabled flag and
// an owner-drawn header that can show a check box per column.
//
// Each row carries a block of ListCellData records as its item data (see
// ListCellData.h); the list owns the blocks and frees one whenever its row
// goes, also when a caller deletes the row through the plain list. Row and
// column are checked on every call; a bad one does nothing and answers 0.
// Threads: the list belongs to the thread that created its window. Worker
// threads may call SetProgress, UpdateProgress, DeleteProgress and SetItemText:
// the call is carried to the window's thread by a sent message, the worker
// waits for the result, and so every row block is only ever touched by the
// window's thread. Nothing else may be called from another thread.
// The in-place edit is created on a press and lives until Enter, Escape or
// loss of focus; the list then takes its text and destroys it from a posted
// message, never inside the edit's own handler. A press on a combo cell opens
// an in-cell combo box; its report of completion or cancellation is acted on
// 50 ms later, from a timer, outside the combo's own handlers.
#pragma once

#include <unordered_set>
#include <vector>

#include "CExtHeaderCtrl.h"
#include "ListCellData.h"
#include "afxcmn.h"

class CExtCellEdit;
class CExtCellCombo;

class CExtListCtrl : public CListCtrl {
  DECLARE_DYNCREATE(CExtListCtrl)

 public:
  CExtListCtrl();
  ~CExtListCtrl() override;

  // Rows.
  int InsertItem(int nItem, LPCTSTR lpszItem);
  int InsertItem(int nItem, LPCTSTR lpszItem, COLORREF textColor, COLORREF backColor);
  int InsertItem(const LVITEM* pItem);
  BOOL SetItem(const LVITEM* pItem);
  BOOL DeleteItem(int nItem);
  BOOL DeleteAllItems();
  BOOL GetEnabled(int nItem);
  BOOL SetEnabled(int nItem, BOOL bEnable);
  DWORD_PTR GetItemData(int nItem);
  BOOL SetItemData(int nItem, DWORD_PTR dwData);
  int FindDataItem(DWORD_PTR dwData);
  int GetCurSel() const;
  BOOL SetCurSel(int nItem, BOOL bEnsureVisible);
  int GetColumns() const;

  // Cells.
  BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
  BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText, COLORREF textColor, COLORREF backColor);
  void GetItemColors(int nItem, int nSubItem, COLORREF& textColor, COLORREF& backColor);
  void SetItemColors(int nItem, int nSubItem, COLORREF textColor, COLORREF backColor);
  BOOL SetItemImage(int nItem, int nSubItem, int nImage);
  BOOL GetBold(int nItem, int nSubItem);
  BOOL SetBold(int nItem, int nSubItem, BOOL bBold);
  BOOL GetModified(int nItem, int nSubItem);
  BOOL SetModified(int nItem, int nSubItem, BOOL bModified);
  BOOL IsListModified() const { return m_bListModified; }
  BOOL SetCheckbox(int nItem, int nSubItem, int nCheckedState);
  int GetCheckbox(int nItem, int nSubItem);
  void SetItemCheckedState(int nItem, int nSubItem, int nCheckedState);
  int CountCheckedItems(int nSubItem);
  int GetHeaderCheckedState(int nSubItem);
  BOOL SetHeaderCheckedState(int nSubItem, int nCheckedState);
  BOOL SetComboBox(int nItem, int nSubItem, BOOL bEnable, CStringArray* pStrings, int nDropDownItems,
                   int nInitialSelection, BOOL bSort);
  CString GetComboText(int nItem, int nSubItem);
  BOOL SetEdit(int nItem, int nSubItem);
  BOOL SetProgress(int nItem, int nSubItem, BOOL bShowProgressText = TRUE, LPCTSTR lpszProgressTextFormat = nullptr,
                   BOOL bEnable = TRUE);
  void UpdateProgress(int nItem, int nSubItem, int nPos);
  void DeleteProgress(int nItem, int nSubItem);
  BOOL SetItemToolTipText(int nItem, int nSubItem, LPCTSTR lpszToolTipText);
  CString GetItemToolTipText(int nItem, int nSubItem);
  void DeleteAllToolTips();
  void SetDefaultTextColor(COLORREF color) { m_crDefaultText = color; }
  void SetDefaultBackColor(COLORREF color) { m_crDefaultBack = color; }

  BOOL GetSubItemRect(int nItem, int nSubItem, int nArea, CRect& rect);
  void UpdateSubItem(int nItem, int nSubItem);
  void DrawComboBox(int nItem, int nSubItem);
  // The open in-cell combo box, null while none is open.
  CExtCellCombo* GetCellCombo() const { return m_pCombo; }
  void DrawEdit(int nItem, int nSubItem);

  virtual int AutoSizeColumn(int nCol, int nWidth);
  virtual BOOL OnToolTipText(UINT id, NMHDR* pNMHDR, LRESULT* pResult);
  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
  void PreSubclassWindow() override;

  CExtHeaderCtrl m_HeaderCtrl;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg BOOL OnDeleteItemNotify(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSysColorChange();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg LRESULT OnEditEnd(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnEditCancel(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnComboComplete(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnComboEscape(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCellCall(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDestroyEditors(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()


 protected:
  // The cell's record, or null for a bad index, a row without block or a
  // column the row's block has no record for.
  ListCellData* Cell(int nItem, int nSubItem);
  ListCellData* RowData(int nItem);
  bool ValidCell(int nItem, int nSubItem) const;
  void NotifyParent(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct CellCall;
  bool OnForeignThread() const;
  LRESULT CallOnWindowThread(CellCall& call);
  ListCellData* AttachRowData(int nItem);
  void FreeRow(int nItem);
  void FreeAllRows();
  void SubclassHeader();
  void GetColors();
  void UpdateHeaderCheck(int nSubItem);
  void RetireEdit();
  void CloseCombo();
  void CancelCombo();
  void DropComboReports();
  void CommitCombo();
  int NearestEnabledRow(int from, UINT key);

  void GetDrawColors(int nItem, int nSubItem, COLORREF& text, COLORREF& back);
  void DrawProgress(HDC dc, const CRect& rc, const ListCellData& cell, COLORREF text);
  void DrawCheckbox(HDC dc, const CRect& rc, int nItem, int nSubItem, const ListCellData& cell, COLORREF text,
                    COLORREF back);
  int DrawImage(HDC dc, const CRect& rc, const ListCellData* cell, COLORREF back);
  void DrawCellText(HDC dc, const CRect& rc, int nItem, int nSubItem, const ListCellData* cell, COLORREF text,
                    COLORREF back);
  UINT ColumnAlignment(int nSubItem);

  BOOL m_bHeaderSubclassed = FALSE;
  BOOL m_bEndEllipsis = TRUE;
  BOOL m_bListModified = FALSE;
  int m_nTextMargin = 5;
  CString m_strStartText;
  CExtCellEdit* m_pEdit = nullptr;
  int m_nEditItem = -1, m_nEditSubItem = -1;
  CExtCellCombo* m_pCombo = nullptr;
  int m_nComboItem = 0, m_nComboSubItem = 0;
  CRect m_rcCombo;  // on the screen
  std::vector<CExtCellEdit*> m_retiredEdits;  // ended, waiting for the posted destroy
  std::unordered_set<ListCellData*> m_blocks;  // the row blocks this list made
  COLORREF m_crDefaultText = 0, m_crDefaultBack = 0;
  enum Color {
    kBtnFace, kBtnHighlight, kBtnShadow, kActiveCaption, kBtnFace2, kBtnShadow2, kBtnText, kGrayText,
    kHighlight, kHighlightText, kInactiveCaption, kInactiveCaptionText, kWindow, kWindowText, kColorCount
  };
  COLORREF m_colors[kColorCount] = {};
};

// The list of the apply page: a click on a cell is reported to the parent as
// WM_LIST_CELL_CLICKED (column, row) instead of NM_CLICK, and two columns can
// show the hand cursor over their icons.
class CClickListCtrl : public CExtListCtrl {
  DECLARE_DYNCREATE(CClickListCtrl)

 public:
  CClickListCtrl();
  ~CClickListCtrl() override;
  void SetHandCursorColumns(int a, int b);

  BOOL m_bHandCursor = FALSE;

 protected:
  afx_msg void OnClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  int m_nHandColumnA = -1, m_nHandColumnB = -1;
};
