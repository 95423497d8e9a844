// The in-place edit of an edit cell. It tells its owner list once, and only
// once, how it ended: "WM_CELLEDIT_KILL_FOCUS" for Enter, loss of focus or a
// press outside it, "WM_CELLEDIT_VK_ESCAPE" for Escape. The owner may do
// anything in that send, so the edit touches none of its members afterwards;
// the list destroys the edit later, from a posted message.
#pragma once

#include "afxwin.h"

class CExtCellEdit : public CEdit {
 public:
  CExtCellEdit(CWnd* pOwner, LPCTSTR lpszStartText);
  ~CExtCellEdit() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  // Returns true when the key ends the edit (and has been acted on).
  bool EndOnKey(UINT key);
  void SendEnd(UINT message);

  HWND m_hOwner = nullptr;
  CString m_strStartText;
  BOOL m_bMessageSent = FALSE;
};
