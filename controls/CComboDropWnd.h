// The drop-down of CDrawnComboBox: a topmost tool window on the desktop that
// holds the list (CComboDropList), a scroll bar driven by the program
// (CComboDropScrollBar) and a size grip. The three windows hand the mouse
// capture to each other, so the open list follows the mouse, tracks the row
// under it and closes on a click outside. The combo box creates the drop
// window for one opening and destroys it at the close; the drop window owns
// the list and the scroll bar, and the list owns a copy of each row's item.
// CComboEdit, the editable combo box's child edit, lives here too.
#pragma once

#include "CDrawnComboBox.h"

class CComboDropScrollBar;

class CComboDropList : public CListBox {
  DECLARE_DYNAMIC(CComboDropList)

 public:
  explicit CComboDropList(CDrawnComboBox* pCombo) : m_pCombo(pCombo) {}
  int SetCurSel(int index);
  void SetTopIndex(int index, BOOL follow);
  int GetVisibleCount() const;
  int GetBottomIndex() const { return GetTopIndex() + GetVisibleCount(); }
  int AddItem(const ComboItem& item);
  CSize GetTextSize(LPCTSTR text, int length);
  // The row height, never below 1, so that no layout divides by zero.
  int RowHeight() const;
  const ComboItem* ItemOfRow(int row) const;
  void SetScrollBar(CComboDropScrollBar* pScrollBar) { m_pScrollBar = pScrollBar; }
  void SetOptions(DWORD options) { m_dwOptions = options; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg LRESULT OnSetCapture(WPARAM, LPARAM);
  afx_msg LRESULT OnReleaseCapture(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  void HandCaptureToDropWnd();
  void FollowTopRow();

  CDrawnComboBox* m_pCombo;
  CComboDropScrollBar* m_pScrollBar = nullptr;
  int m_nLastTop = 0;
  DWORD m_dwOptions = 0;
};

class CComboDropScrollBar : public CScrollBar {
  DECLARE_DYNAMIC(CComboDropScrollBar)

 public:
  void SetListBox(CComboDropList* pList);

 protected:
  afx_msg void VScroll(UINT nSBCode, UINT nPos);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg LRESULT OnSetCapture(WPARAM, LPARAM);
  afx_msg LRESULT OnReleaseCapture(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  void HandCaptureBackIfOutside(CPoint point);
  CComboDropList* m_pList = nullptr;
};

class CComboDropWnd : public CWnd {
  DECLARE_DYNAMIC(CComboDropWnd)

 public:
  CComboDropWnd(CDrawnComboBox* pCombo, const ComboItemList& items, DWORD options);
  ~CComboDropWnd() override;
  CComboDropList* GetListBox() const { return m_pList; }
  const ComboItemList& GetItemList() const { return m_items; }
  BOOL DestroyWindow() override;
  CSize GetMaxSize() const { return CSize(m_nMaxWidth, m_nMaxHeight); }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg LRESULT OnSetCapture(WPARAM, LPARAM);
  afx_msg LRESULT OnReleaseCapture(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  CRect PlaceOnScreen(const CRect& cs);
  void ResizeTo(CPoint point);

  int m_nMaxWidth = 0;
  int m_nMaxHeight = 0;
  CComboDropList* m_pList = nullptr;
  CRect m_rcList;
  CComboDropScrollBar* m_pScrollBar = nullptr;
  CRect m_rcScrollBar;
  CRect m_rcGrip;
  CDrawnComboBox* m_pCombo;
  ComboItemList m_items;
  int m_bResizing = 0;
  CPoint m_ptResizeStart;
  CSize m_szToEdges;  // from the resize start to the client area's right and bottom edges
  DWORD m_dwOptions;
};

class CComboEdit : public CEdit {
  DECLARE_DYNAMIC(CComboEdit)

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()
};
