// The in-cell editors of the extended list that choose from a list.
//
// CExtCellCombo is the combo box the list opens over a combo cell: it tells
// its owner (the list) that the editing finished (WM_CELLCOMBO_COMPLETE) or
// was cancelled (WM_CELLCOMBO_VK_ESCAPE), and the owner then reads the choice
// and destroys it. Moving the pointer into its own open list is part of the
// editing, not the end of it.
//
// CExtCellComboList is a stand-alone drop-down (a list box with its own
// scroll bar) speaking the same message family, for owners that draw their
// own field.
#pragma once

#include "CDrawnComboBox.h"
#include "ListCellData.h"

class CExtCellCombo : public CDrawnComboBox {
 public:
  explicit CExtCellCombo(CWnd* pOwner);
  void OnComboCancel() override;
  void OnComboComplete() override;

 protected:
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg LRESULT OnCloseRequest(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  bool IsInDropWindow(HWND hwnd) const;
  void Report(UINT message);

  CWnd* m_pOwner;
};

class CExtCellComboList : public CWnd {
 public:
  explicit CExtCellComboList(CWnd* pOwner) : m_pOwner(pOwner) {}
  virtual CScrollBar* GetScrollBar() { return &m_wndScrollBar; }
  // Lays the popup out on its first call, gives the list the focus and starts
  // following the cursor; `scrollBarWidth` is the width kept for the bar.
  void SetActive(int scrollBarWidth);
  BOOL PreTranslateMessage(MSG* pMsg) override;
  CListBox& GetListBox() { return m_wndList; }

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnDestroy();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()

 private:
  void Report(UINT message);
  void MoveScrollPos(int pos);

  CListBox m_wndList;
  CScrollBar m_wndScrollBar;
  CWnd* m_pOwner;
  int m_nKillFocusCount = 0;
  int m_bFirstActivation = 1;
};
