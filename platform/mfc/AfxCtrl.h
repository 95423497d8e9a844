// The class layer's wrappers of the standard and common controls.
#pragma once

#include "AfxDialog.h"
#include "AfxWnd.h"
#include "Controls.h"

class PLATFORM_API CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)
 public:
  using CWnd::Create;
  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xffff);
  HBITMAP SetBitmap(HBITMAP hBitmap);
  HBITMAP GetBitmap() const;
  HICON SetIcon(HICON hIcon);
  HICON GetIcon() const;
};

class PLATFORM_API CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)
 public:
  using CWnd::Create;
  BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetCheck() const;
  void SetCheck(int nCheck);
  UINT GetState() const;
  void SetState(BOOL bHighlight);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
  HBITMAP SetBitmap(HBITMAP hBitmap);
  HBITMAP GetBitmap() const;
  // Owner-drawn buttons draw here (the parent's WM_DRAWITEM comes back to the button).
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class PLATFORM_API CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)
 public:
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void LimitText(int nChars = 0);
  void SetLimitText(UINT nMax);
  UINT GetLimitText() const;
  DWORD GetSel() const;
  void GetSel(int& nStartChar, int& nEndChar) const;
  void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
  void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
  void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
  BOOL GetModify() const;
  void SetModify(BOOL bModified = TRUE);
  BOOL SetReadOnly(BOOL bReadOnly = TRUE);
  void SetPasswordChar(TCHAR ch);
  TCHAR GetPasswordChar() const;
  BOOL CanUndo() const;
  BOOL Undo();
  void EmptyUndoBuffer();
  void Clear();
  void Copy();
  void Cut();
  void Paste();
};

class PLATFORM_API CListBox : public CWnd {
  DECLARE_DYNAMIC(CListBox)
 public:
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int nSelect);
  int GetTopIndex() const;
  int SetTopIndex(int nIndex);
  int AddString(LPCTSTR lpszItem);
  int InsertString(int nIndex, LPCTSTR lpszItem);
  int DeleteString(UINT nIndex);
  void ResetContent();
  int GetText(int nIndex, LPTSTR lpszBuffer) const;
  void GetText(int nIndex, CString& rString) const;
  int GetTextLen(int nIndex) const;
  int FindString(int nStartAfter, LPCTSTR lpszItem) const;
  int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
  int SelectString(int nStartAfter, LPCTSTR lpszItem);
  DWORD_PTR GetItemData(int nIndex) const;
  int SetItemData(int nIndex, DWORD_PTR dwItemData);
  void* GetItemDataPtr(int nIndex) const;
  int SetItemDataPtr(int nIndex, void* pData);
  int GetItemRect(int nIndex, LPRECT lpRect) const;
  int SetItemHeight(int nIndex, UINT cyItemHeight);
  int GetItemHeight(int nIndex) const;
  void SetHorizontalExtent(int cxExtent);
  int GetHorizontalExtent() const;
  int GetSel(int nIndex) const;
  int SetSel(int nIndex, BOOL bSelect = TRUE);
  int GetSelCount() const;
  int GetSelItems(int nMaxItems, LPINT rgIndex) const;
  int SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem);
  int SetCaretIndex(int nIndex, BOOL bScroll = TRUE);
  int GetCaretIndex() const;
  UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;
  // Owner-drawn list boxes draw and measure here.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class PLATFORM_API CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)
 public:
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int nSelect);
  int AddString(LPCTSTR lpszString);
  int InsertString(int nIndex, LPCTSTR lpszString);
  int DeleteString(UINT nIndex);
  void ResetContent();
  int GetLBText(int nIndex, LPTSTR lpszText) const;
  void GetLBText(int nIndex, CString& rString) const;
  int GetLBTextLen(int nIndex) const;
  int FindString(int nStartAfter, LPCTSTR lpszString) const;
  int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
  int SelectString(int nStartAfter, LPCTSTR lpszString);
  DWORD_PTR GetItemData(int nIndex) const;
  int SetItemData(int nIndex, DWORD_PTR dwItemData);
  void* GetItemDataPtr(int nIndex) const;
  int SetItemDataPtr(int nIndex, void* pData);
  int SetItemHeight(int nIndex, UINT cyItemHeight);
  int GetItemHeight(int nIndex) const;
  int GetTopIndex() const;
  int SetTopIndex(int nIndex);
  void ShowDropDown(BOOL bShowIt = TRUE);
  BOOL GetDroppedState() const;
  void GetDroppedControlRect(LPRECT lprect) const;
  int SetDroppedWidth(UINT nWidth);
  int GetDroppedWidth() const;
  BOOL LimitText(int nMaxChars);
  DWORD GetEditSel() const;
  BOOL SetEditSel(int nStartChar, int nEndChar);
  BOOL GetComboBoxInfo(PCOMBOBOXINFO pcbi) const;
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class PLATFORM_API CScrollBar : public CWnd {
  DECLARE_DYNAMIC(CScrollBar)
 public:
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetScrollPos() const;
  int SetScrollPos(int nPos, BOOL bRedraw = TRUE);
  void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const;
  void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
  BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
  BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
  int GetScrollLimit();
  void ShowScrollBar(BOOL bShow = TRUE);
  BOOL EnableScrollBar(UINT nArrowFlags = ESB_ENABLE_BOTH);
};

class PLATFORM_API CProgressCtrl : public CWnd {
  DECLARE_DYNAMIC(CProgressCtrl)
 public:
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void SetRange(short nLower, short nUpper);
  void SetRange32(int nLower, int nUpper);
  void GetRange(int& nLower, int& nUpper);
  int GetPos();
  int SetPos(int nPos);
  int OffsetPos(int nPos);
  int SetStep(int nStep);
  int StepIt();
  COLORREF SetBarColor(COLORREF clrBar);
  COLORREF SetBkColor(COLORREF clrNew);
};

class PLATFORM_API CIPAddressCtrl : public CWnd {
  DECLARE_DYNAMIC(CIPAddressCtrl)
 public:
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  BOOL IsBlank() const;
  void ClearAddress();
  int GetAddress(BYTE& nField0, BYTE& nField1, BYTE& nField2, BYTE& nField3);
  int GetAddress(DWORD& dwAddress);
  void SetAddress(DWORD dwAddress);
  void SetAddress(BYTE nField0, BYTE nField1, BYTE nField2, BYTE nField3);
  void SetFieldFocus(WORD nField);
  void SetFieldRange(int nField, BYTE nLower, BYTE nUpper);
};
