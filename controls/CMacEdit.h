// A single-line edit for a MAC address in its colon form "00:00:00:00:00:00":
// typed hexadecimal digits overwrite in place, the colons can be neither typed
// nor deleted, and deleting a digit turns it into '0'.
#pragma once

#include "MacText.h"
#include "afxwin.h"

class CMacEdit : public CEdit {
  DECLARE_DYNCREATE(CMacEdit)

 public:
  // `digits` is 12 hexadecimal digits without separators.
  void SetMacText(LPCTSTR digits);
  void GetMacText(CString& digits) const;
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, void* pContext = nullptr) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void Reset();

 protected:
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  DECLARE_MESSAGE_MAP()

 private:
  void PlaceCaret(int position);
};
