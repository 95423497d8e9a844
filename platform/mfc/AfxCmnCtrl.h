// The class layer's common controls: list view, header and tooltip wrappers.
// Each member sends the control's message; nothing is kept on the C++ side.
#pragma once

#include "AfxWnd.h"
#include "CommCtrl.h"
#include "afxgdi.h"

class PLATFORM_API CHeaderCtrl : public CWnd {
  DECLARE_DYNAMIC(CHeaderCtrl)
 public:
  CHeaderCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetItemCount() const { return static_cast<int>(Send(HDM_GETITEMCOUNT, 0, 0)); }
  BOOL GetItem(int nPos, HDITEM* pHeaderItem) const { return static_cast<BOOL>(Send(HDM_GETITEMA, nPos, pHeaderItem)); }
  BOOL SetItem(int nPos, HDITEM* pHeaderItem) { return static_cast<BOOL>(Send(HDM_SETITEMA, nPos, pHeaderItem)); }
  int InsertItem(int nPos, HDITEM* phdi) { return static_cast<int>(Send(HDM_INSERTITEMA, nPos, phdi)); }
  BOOL DeleteItem(int nPos) { return static_cast<BOOL>(Send(HDM_DELETEITEM, nPos, nullptr)); }
  BOOL GetItemRect(int nIndex, LPRECT lpRect) const {
    return static_cast<BOOL>(Send(HDM_GETITEMRECT, nIndex, lpRect));
  }
  BOOL Layout(HDLAYOUT* pHeaderLayout) { return static_cast<BOOL>(Send(HDM_LAYOUT, 0, pHeaderLayout)); }
  int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo) { return static_cast<int>(Send(HDM_HITTEST, 0, pHeaderHitTestInfo)); }
  int OrderToIndex(int nOrder) const { return static_cast<int>(Send(HDM_ORDERTOINDEX, nOrder, nullptr)); }
  BOOL GetOrderArray(LPINT piArray, int iCount) const {
    return static_cast<BOOL>(Send(HDM_GETORDERARRAY, iCount, piArray));
  }
  BOOL SetOrderArray(int iCount, LPINT piArray) { return static_cast<BOOL>(Send(HDM_SETORDERARRAY, iCount, piArray)); }
  CImageList* SetImageList(CImageList* pImageList);
  CImageList* GetImageList() const;

  // Called for items of the owner-draw format (reflected WM_DRAWITEM).
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 protected:
  LRESULT Send(UINT msg, WPARAM wParam, const void* lParam) const {
    return ::SendMessageA(m_hWnd, msg, wParam, reinterpret_cast<LPARAM>(lParam));
  }
};

class PLATFORM_API CListCtrl : public CWnd {
  DECLARE_DYNAMIC(CListCtrl)
 public:
  CListCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // Items.
  int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0)); }
  int InsertItem(const LVITEM* pItem) { return static_cast<int>(Send(LVM_INSERTITEMA, 0, P(pItem))); }
  int InsertItem(int nItem, LPCTSTR lpszItem);
  int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
  int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
  BOOL DeleteItem(int nItem) { return static_cast<BOOL>(Send(LVM_DELETEITEM, nItem, 0)); }
  BOOL DeleteAllItems() { return static_cast<BOOL>(Send(LVM_DELETEALLITEMS, 0, 0)); }
  BOOL GetItem(LVITEM* pItem) const { return static_cast<BOOL>(Send(LVM_GETITEMA, 0, P(pItem))); }
  BOOL SetItem(const LVITEM* pItem) { return static_cast<BOOL>(Send(LVM_SETITEMA, 0, P(pItem))); }
  BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
               LPARAM lParam);
  CString GetItemText(int nItem, int nSubItem) const;
  int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
  BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
  DWORD_PTR GetItemData(int nItem) const;
  BOOL SetItemData(int nItem, DWORD_PTR dwData);
  UINT GetItemState(int nItem, UINT nMask) const { return static_cast<UINT>(Send(LVM_GETITEMSTATE, nItem, nMask)); }
  BOOL SetItemState(int nItem, UINT nState, UINT nMask);
  BOOL SetItemState(int nItem, LVITEM* pItem) { return static_cast<BOOL>(Send(LVM_SETITEMSTATE, nItem, P(pItem))); }
  BOOL GetCheck(int nItem) const { return ((GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12) - 1) == 1; }
  BOOL SetCheck(int nItem, BOOL fCheck = TRUE) {
    return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
  }
  int GetNextItem(int nItem, int nFlags) const {
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(nFlags, 0)));
  }
  UINT GetSelectedCount() const { return static_cast<UINT>(Send(LVM_GETSELECTEDCOUNT, 0, 0)); }
  // POSITION is the row index + 1, so that null means "no more".
  POSITION GetFirstSelectedItemPosition() const;
  int GetNextSelectedItem(POSITION& pos) const;
  int GetSelectionMark() const { return static_cast<int>(Send(LVM_GETSELECTIONMARK, 0, 0)); }
  int SetSelectionMark(int iIndex) { return static_cast<int>(Send(LVM_SETSELECTIONMARK, 0, iIndex)); }
  int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const {
    return static_cast<int>(Send(LVM_FINDITEMA, static_cast<WPARAM>(nStart), P(pFindInfo)));
  }
  BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
    return static_cast<BOOL>(Send(LVM_SORTITEMS, dwData, reinterpret_cast<LPARAM>(pfnCompare)));
  }

  // Columns.
  int InsertColumn(int nCol, const LVCOLUMN* pColumn) { return static_cast<int>(Send(LVM_INSERTCOLUMNA, nCol, P(pColumn))); }
  int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                   int nSubItem = -1);
  BOOL DeleteColumn(int nCol) { return static_cast<BOOL>(Send(LVM_DELETECOLUMN, nCol, 0)); }
  BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const { return static_cast<BOOL>(Send(LVM_GETCOLUMNA, nCol, P(pColumn))); }
  BOOL SetColumn(int nCol, const LVCOLUMN* pColumn) { return static_cast<BOOL>(Send(LVM_SETCOLUMNA, nCol, P(pColumn))); }
  int GetColumnWidth(int nCol) const { return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, nCol, 0)); }
  BOOL SetColumnWidth(int nCol, int cx) { return static_cast<BOOL>(Send(LVM_SETCOLUMNWIDTH, nCol, MAKELPARAM(cx, 0))); }
  BOOL GetColumnOrderArray(LPINT piArray, int iCount = -1);
  BOOL SetColumnOrderArray(int iCount, LPINT piArray) {
    return static_cast<BOOL>(Send(LVM_SETCOLUMNORDERARRAY, iCount, P(piArray)));
  }
  CHeaderCtrl* GetHeaderCtrl() const;

  // Styles, colours, images.
  DWORD GetExtendedStyle() const { return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)); }
  DWORD SetExtendedStyle(DWORD dwNewStyle) {
    return static_cast<DWORD>(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle));
  }
  CImageList* SetImageList(CImageList* pImageList, int nImageListType);
  CImageList* GetImageList(int nImageList) const;
  COLORREF GetBkColor() const { return static_cast<COLORREF>(Send(LVM_GETBKCOLOR, 0, 0)); }
  BOOL SetBkColor(COLORREF cr) { return static_cast<BOOL>(Send(LVM_SETBKCOLOR, 0, cr)); }
  COLORREF GetTextColor() const { return static_cast<COLORREF>(Send(LVM_GETTEXTCOLOR, 0, 0)); }
  BOOL SetTextColor(COLORREF cr) { return static_cast<BOOL>(Send(LVM_SETTEXTCOLOR, 0, cr)); }
  COLORREF GetTextBkColor() const { return static_cast<COLORREF>(Send(LVM_GETTEXTBKCOLOR, 0, 0)); }
  BOOL SetTextBkColor(COLORREF cr) { return static_cast<BOOL>(Send(LVM_SETTEXTBKCOLOR, 0, cr)); }

  // Geometry, hit tests, scrolling.
  BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
  BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref);
  BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const {
    return static_cast<BOOL>(Send(LVM_GETITEMPOSITION, nItem, P(lpPoint)));
  }
  BOOL GetViewRect(LPRECT lpRect) const { return static_cast<BOOL>(Send(LVM_GETVIEWRECT, 0, P(lpRect))); }
  int HitTest(LVHITTESTINFO* pHitTestInfo) const { return static_cast<int>(Send(LVM_HITTEST, 0, P(pHitTestInfo))); }
  int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
  int SubItemHitTest(LPLVHITTESTINFO pInfo) { return static_cast<int>(Send(LVM_SUBITEMHITTEST, 0, P(pInfo))); }
  int GetTopIndex() const { return static_cast<int>(Send(LVM_GETTOPINDEX, 0, 0)); }
  int GetCountPerPage() const { return static_cast<int>(Send(LVM_GETCOUNTPERPAGE, 0, 0)); }
  BOOL Scroll(CSize size) { return static_cast<BOOL>(Send(LVM_SCROLL, static_cast<WPARAM>(size.cx), size.cy)); }
  BOOL EnsureVisible(int nItem, BOOL bPartialOK) {
    return static_cast<BOOL>(Send(LVM_ENSUREVISIBLE, nItem, bPartialOK));
  }
  BOOL RedrawItems(int nFirst, int nLast) { return static_cast<BOOL>(Send(LVM_REDRAWITEMS, nFirst, nLast)); }
  BOOL Update(int nItem) { return static_cast<BOOL>(Send(LVM_UPDATE, nItem, 0)); }
  // A new image list the caller deletes.
  CImageList* CreateDragImage(int nItem, LPPOINT lpPoint);

 protected:
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::SendMessageA(m_hWnd, msg, wParam, lParam); }
  template <typename T>
  static LPARAM P(T* p) {
    return reinterpret_cast<LPARAM>(p);
  }
};

class PLATFORM_API CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)
 public:
  CToolTipCtrl() = default;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

  BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr,
               UINT_PTR nIDTool = 0);
  BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
  void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  BOOL GetToolInfo(TOOLINFO& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  void SetToolInfo(LPTOOLINFO lpToolInfo) { ::SendMessageA(m_hWnd, TTM_SETTOOLINFOA, 0, reinterpret_cast<LPARAM>(lpToolInfo)); }
  void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
  int GetToolCount() const { return static_cast<int>(::SendMessageA(m_hWnd, TTM_GETTOOLCOUNT, 0, 0)); }
  void Activate(BOOL bActivate) { ::SendMessageA(m_hWnd, TTM_ACTIVATE, bActivate, 0); }
  void RelayEvent(LPMSG lpMsg) { ::SendMessageA(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
  int SetMaxTipWidth(int iWidth) { return static_cast<int>(::SendMessageA(m_hWnd, TTM_SETMAXTIPWIDTH, 0, iWidth)); }
  int GetMaxTipWidth() const { return static_cast<int>(::SendMessageA(m_hWnd, TTM_GETMAXTIPWIDTH, 0, 0)); }
  void SetDelayTime(UINT nDelay) { ::SendMessageA(m_hWnd, TTM_SETDELAYTIME, TTDT_AUTOMATIC, nDelay); }
  void SetDelayTime(DWORD dwDuration, int iTime) {
    ::SendMessageA(m_hWnd, TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
  }
  int GetDelayTime(DWORD dwDuration) const {
    return static_cast<int>(::SendMessageA(m_hWnd, TTM_GETDELAYTIME, dwDuration, 0));
  }
  void SetTipBkColor(COLORREF clr) { ::SendMessageA(m_hWnd, TTM_SETTIPBKCOLOR, clr, 0); }
  void SetTipTextColor(COLORREF clr) { ::SendMessageA(m_hWnd, TTM_SETTIPTEXTCOLOR, clr, 0); }
  void Pop() { ::SendMessageA(m_hWnd, TTM_POP, 0, 0); }
  void Update() { ::SendMessageA(m_hWnd, TTM_UPDATE, 0, 0); }

 private:
  void FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};

class PLATFORM_API CTabCtrl : public CWnd {
  DECLARE_DYNAMIC(CTabCtrl)
 public:
  CTabCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetItemCount() const { return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETITEMCOUNT, 0, 0)); }
  LONG InsertItem(int nItem, TCITEM* pTabCtrlItem) {
    return static_cast<LONG>(::SendMessageA(m_hWnd, TCM_INSERTITEMA, nItem, reinterpret_cast<LPARAM>(pTabCtrlItem)));
  }
  LONG InsertItem(int nItem, LPCTSTR lpszItem);
  LONG InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam);
  BOOL GetItem(int nItem, TCITEM* pTabCtrlItem) const {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TCM_GETITEMA, nItem, reinterpret_cast<LPARAM>(pTabCtrlItem)));
  }
  BOOL SetItem(int nItem, TCITEM* pTabCtrlItem) {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TCM_SETITEMA, nItem, reinterpret_cast<LPARAM>(pTabCtrlItem)));
  }
  BOOL DeleteItem(int nItem) { return static_cast<BOOL>(::SendMessageA(m_hWnd, TCM_DELETEITEM, nItem, 0)); }
  BOOL DeleteAllItems() { return static_cast<BOOL>(::SendMessageA(m_hWnd, TCM_DELETEALLITEMS, 0, 0)); }
  BOOL GetItemRect(int nItem, LPRECT lpRect) const {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TCM_GETITEMRECT, nItem, reinterpret_cast<LPARAM>(lpRect)));
  }
  int GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETCURSEL, 0, 0)); }
  int SetCurSel(int nItem) { return static_cast<int>(::SendMessageA(m_hWnd, TCM_SETCURSEL, nItem, 0)); }
  int HitTest(TCHITTESTINFO* pHitTestInfo) const {
    return static_cast<int>(::SendMessageA(m_hWnd, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
  }
  void AdjustRect(BOOL bLarger, LPRECT lpRect) {
    ::SendMessageA(m_hWnd, TCM_ADJUSTRECT, bLarger, reinterpret_cast<LPARAM>(lpRect));
  }
  CImageList* SetImageList(CImageList* pImageList);
  CImageList* GetImageList() const;
};

class PLATFORM_API CStatusBarCtrl : public CWnd {
  DECLARE_DYNAMIC(CStatusBarCtrl)
 public:
  CStatusBarCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  BOOL SetParts(int nParts, int* pWidths) {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, SB_SETPARTS, nParts, reinterpret_cast<LPARAM>(pWidths)));
  }
  int GetParts(int nParts, int* pParts) const {
    return static_cast<int>(::SendMessageA(m_hWnd, SB_GETPARTS, nParts, reinterpret_cast<LPARAM>(pParts)));
  }
  BOOL SetText(LPCTSTR lpszText, int nPane, int nType) {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, SB_SETTEXTA, nPane | nType, reinterpret_cast<LPARAM>(lpszText)));
  }
  CString GetText(int nPane, int* pType = nullptr) const;
  BOOL GetRect(int nPane, LPRECT lpRect) const {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, SB_GETRECT, nPane, reinterpret_cast<LPARAM>(lpRect)));
  }
  void SetMinHeight(int nMin) { ::SendMessageA(m_hWnd, SB_SETMINHEIGHT, nMin, 0); }
};

class PLATFORM_API CTreeCtrl : public CWnd {
  DECLARE_DYNAMIC(CTreeCtrl)
 public:
  CTreeCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  HTREEITEM InsertItem(LPTVINSERTSTRUCT lpInsertStruct) {
    return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(lpInsertStruct)));
  }
  HTREEITEM InsertItem(LPCTSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
  HTREEITEM InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                       HTREEITEM hInsertAfter = TVI_LAST);
  BOOL DeleteItem(HTREEITEM hItem) { return static_cast<BOOL>(Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hItem))); }
  BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
  BOOL Expand(HTREEITEM hItem, UINT nCode) {
    return static_cast<BOOL>(Send(TVM_EXPAND, nCode, reinterpret_cast<LPARAM>(hItem)));
  }
  UINT GetCount() const { return static_cast<UINT>(Send(TVM_GETCOUNT, 0, 0)); }
  HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const {
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
  }
  HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
  HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUS); }
  HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
  HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
  BOOL ItemHasChildren(HTREEITEM hItem) const { return GetChildItem(hItem) != nullptr; }
  BOOL SelectItem(HTREEITEM hItem) { return static_cast<BOOL>(Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem))); }
  BOOL SelectDropTarget(HTREEITEM hItem) {
    return static_cast<BOOL>(Send(TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(hItem)));
  }
  BOOL EnsureVisible(HTREEITEM hItem) { return static_cast<BOOL>(Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(hItem))); }
  BOOL GetItem(TVITEM* pItem) const { return static_cast<BOOL>(Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(pItem))); }
  BOOL SetItem(TVITEM* pItem) { return static_cast<BOOL>(Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(pItem))); }
  CString GetItemText(HTREEITEM hItem) const;
  BOOL SetItemText(HTREEITEM hItem, LPCTSTR lpszItem);
  DWORD_PTR GetItemData(HTREEITEM hItem) const;
  BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
  UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;
  BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;
  HTREEITEM HitTest(CPoint pt, UINT* pFlags = nullptr) const;
  CImageList* SetImageList(CImageList* pImageList, int nImageListType);
  UINT GetVisibleCount() const { return static_cast<UINT>(Send(TVM_GETVISIBLECOUNT, 0, 0)); }

 protected:
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::SendMessageA(m_hWnd, msg, wParam, lParam); }
};
