// A combo box drawn and run by the program: window class "SuperComboBox", its
// own item list, the standard combo-box messages (CB_...) and notifications
// (CBN_... to the notification parent), plus what the standard one lacks:
// items that cannot be chosen, a resizable drop-down window, hot tracking and
// visual-styles painting through CUxTheme.
//
// The control owns its font, its edit (editable style only) and, while open,
// its drop window; the notification parent is borrowed and lends its font.
// The style bits decide the kind: CBS_DROPDOWN alone is the editable style
// with a child CComboEdit, CBS_DROPDOWNLIST the list style.
#pragma once

#include <vector>

#include "afxwin.h"

// One item; the drop window keeps copies of the same record.
struct ComboItem {
  CString text;
  int disabled = 0;  // non-zero: never chosen from the drop list
  int data = 0;      // free for the caller
  int state = 0;     // free for the caller
};
typedef std::vector<ComboItem> ComboItemList;

// Private messages between the combo box and its drop-down windows.
#define WM_ACB_SELECTITEM (WM_USER + 1)
#define WM_ACB_CLOSEDROPDOWN (WM_USER + 2)
#define WM_ACB_SETCAPTURE (WM_USER + 3)
#define WM_ACB_RELEASECAPTURE (WM_USER + 4)
#define WM_ACB_TOGGLEDROPDOWN (WM_USER + 101)

// Option flags.
#define CBO_PLAIN 0x1
#define CBO_INSET 0x2
#define CBO_ITEM_MARGIN 0x4
#define CBO_AUTO_APPEND 0x8
#define CBO_SUGGEST 0x10

// The answers of the capture messages, shared by the combo box and its drop-down windows.
LRESULT AcbTakeCapture(HWND hwnd);
LRESULT AcbReleaseCapture(HWND hwnd);

class CComboDropWnd;
class CComboEdit;

class CDrawnComboBox : public CWnd {
  DECLARE_DYNAMIC(CDrawnComboBox)

 public:
  explicit CDrawnComboBox(int reserved = 0, CWnd* pNotifyParent = nullptr);
  ~CDrawnComboBox() override;

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  virtual void OnComboCancel() {}
  virtual void OnComboComplete() {}
  virtual CFont* GetFont() const { return m_pFont; }
  void PreSubclassWindow() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  int AddString(LPCTSTR text);
  int InsertString(int index, LPCTSTR text);
  int DeleteString(int index);
  void ResetContent();
  int GetCount() const { return static_cast<int>(m_items.size()); }
  int GetCurSel() const;
  int SetCurSel(int index);
  int FindString(int start, LPCTSTR text) const;
  int FindStringExact(int nIndexStart, LPCTSTR text) const;
  int SelectStringExact(int start, LPCTSTR text);
  int GetLBText(int index, LPTSTR buffer) const;
  void GetLBText(int index, CString& text) const;
  int GetLBTextLen(int index) const;
  int GetItemDisabled(int index) const;
  void SetItemDisabled(int index, int disabled);
  int GetItemData(int index) const;
  void SetItemData(int index, int data);
  int GetItemState(int index) const;
  void SetItemState(int index, int state);
  int GetWindowText(LPTSTR buffer, int size) const;
  void GetWindowText(CString& text) const;
  void SetWindowText(LPCTSTR text);
  void ShowDropDown(BOOL show = TRUE);
  BOOL GetDroppedState() const { return m_bDropped; }
  void GetDroppedControlRect(LPRECT rect) const;
  DWORD GetEditSel() const;
  BOOL SetEditSel(int start, int end);
  BOOL LimitText(int chars);
  int SetItemHeight(int index, UINT height);
  void ModifyOptions(DWORD remove, DWORD add);
  DWORD GetOptions() const { return m_dwOptions; }
  void SetMinVisibleItems(int rows) { m_nMinRowsBelow = rows; }
  int GetMinVisibleItems() const { return m_nMinRowsBelow; }
  void SetDropItemLimit(int rows) { m_nDropItemLimit = rows; }
  int GetDropItemLimit() const { return m_nDropItemLimit; }
  int GetWidestItemWidth();
  BOOL PointInWindow(int x, int y) const;
  CWnd* GetNotifyParent() const { return m_pNotifyParent; }
  CComboDropWnd* GetDropWnd() const { return m_pDropWnd; }
  CComboEdit* GetEdit() const { return m_pEdit; }
  const ComboItemList& GetItems() const { return m_items; }
  BOOL GetFocusDrawn() const { return m_bFocusDrawn; }

  // Selection moves of the keys and the wheel: in the open list they move its
  // row, otherwise the current item (with CBN_SELENDOK and CBN_SELCHANGE).
  void SelectPrevItem();
  void SelectNextItem();
  void PageUp();
  void PageDown();

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnChildActivate();
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnEditSetFocus();
  afx_msg void OnEditKillFocus();
  afx_msg void OnEditChange();
  afx_msg void OnEditUpdate();
  afx_msg LRESULT OnAddString(WPARAM, LPARAM);
  afx_msg LRESULT OnSetCurSel(WPARAM, LPARAM);
  afx_msg LRESULT OnGetCurSel(WPARAM, LPARAM);
  afx_msg LRESULT OnSelectString(WPARAM, LPARAM);
  afx_msg LRESULT OnGetCount(WPARAM, LPARAM);
  afx_msg LRESULT OnResetContent(WPARAM, LPARAM);
  afx_msg LRESULT OnGetLBText(WPARAM, LPARAM);
  afx_msg LRESULT OnGetLBTextLen(WPARAM, LPARAM);
  afx_msg LRESULT OnGetTopIndex(WPARAM, LPARAM);
  afx_msg LRESULT OnSetTopIndex(WPARAM, LPARAM);
  afx_msg LRESULT OnSelectItem(WPARAM, LPARAM);
  afx_msg LRESULT OnCloseDropDown(WPARAM, LPARAM);
  afx_msg LRESULT OnToggleDropDown(WPARAM, LPARAM);
  afx_msg LRESULT OnSetCapture(WPARAM, LPARAM);
  afx_msg LRESULT OnReleaseCapture(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

  void CreateDropWindow(const ComboItemList& items);
  void DiscardDropWindow();
  void Notify(int code);
  bool IsEditable() const { return (GetStyle() & 0x3) == CBS_DROPDOWN; }
  bool IsValidIndex(int index) const { return index >= 0 && index < GetCount(); }

 private:
  void LoadItemsFromResource(UINT id);
  void EnsureFont();
  void CreateEdit();
  CRect ButtonRect() const;
  CRect TrackedRect() const;
  void DrawThemedFrame(CDC& dc, CRect& button);
  void DrawClassicFrame(CDC& dc, CRect& button);
  void DrawCurrentText(CDC& dc, CRect textRect);
  // Makes `index` current (text, edit, redraw); notifies when the index changed.
  void MoveCurrentTo(int index);
  void ShowDropRow(int row);
  bool CompleteTypedText(const CString& typed);
  void SuggestFor(const CString& typed);

  // Kept as the creator passed it; nothing in the combo box reads it.
  [[maybe_unused]] int m_nReserved;
  CWnd* m_pNotifyParent;
  int m_nCurSel = -1;
  CComboEdit* m_pEdit = nullptr;
  CString m_strText;
  CFont* m_pFont = nullptr;
  DWORD m_dwOptions = CBO_INSET;
  CRect m_rcCreate;
  CComboDropWnd* m_pDropWnd = nullptr;
  CRect m_rcButton;
  int m_bDropped = 0;
  ComboItemList m_items;
  int m_nWheelDelta = 0;
  BYTE m_bFocusDrawn = 0;
  BYTE m_bSetFocusSent = 0;
  BYTE m_bPickMade = 0;
  BYTE m_bFirstPaint = 1;
  int m_nMinRowsBelow = 5;
  BYTE m_bCreatedByCreate = 0;
  int m_bTyping = 1;
  BYTE m_bHot = 0;
  BYTE m_bHoverTimer = 0;
  int m_nDropItemLimit = -1;
};

void AFXAPI DDX_DrawnComboIndex(CDataExchange* pDX, int nIDC, int& index);
void AFXAPI DDX_DrawnComboText(CDataExchange* pDX, int nIDC, CString& text);
