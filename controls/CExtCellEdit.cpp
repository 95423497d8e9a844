#include "CExtCellEdit.h"

#include "ListCellData.h"

BEGIN_MESSAGE_MAP(CExtCellEdit, CEdit)
  ON_WM_CREATE()
  ON_WM_KILLFOCUS()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_WM_LBUTTONDOWN()
  ON_WM_GETDLGCODE()
  ON_WM_PAINT()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CExtCellEdit::CExtCellEdit(CWnd* pOwner, LPCTSTR lpszStartText)
    : m_hOwner(pOwner ? pOwner->GetSafeHwnd() : nullptr), m_strStartText(lpszStartText ? lpszStartText : "") {}

CExtCellEdit::~CExtCellEdit() = default;

int CExtCellEdit::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CEdit::OnCreate(lpCreateStruct) == -1) return -1;
  if (!m_hOwner) m_hOwner = ::GetParent(m_hWnd);
  if (m_hOwner && ::IsWindow(m_hOwner))
    SendMessage(WM_SETFONT, ::SendMessage(m_hOwner, WM_GETFONT, 0, 0), FALSE);
  else
    m_hOwner = nullptr;
  SetWindowText(m_strStartText);
  SetSel(0, -1);
  SetFocus();
  SetCapture();
  return 0;
}

void CExtCellEdit::SendEnd(UINT message) {
  if (m_bMessageSent) return;
  m_bMessageSent = TRUE;
  HWND owner = m_hOwner;
  if (owner && ::IsWindow(owner)) ::SendMessage(owner, message, 0, 0);
  // Nothing after the send: the owner may have retired this edit.
}

bool CExtCellEdit::EndOnKey(UINT key) {
  if (key == VK_RETURN) {
    SendEnd(WM_CELLEDIT_KILL_FOCUS);
    return true;
  }
  if (key == VK_ESCAPE) {
    SendEnd(WM_CELLEDIT_VK_ESCAPE);
    return true;
  }
  return false;
}

BOOL CExtCellEdit::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->hwnd == m_hWnd && (pMsg->message == WM_KEYDOWN || (pMsg->message == WM_CHAR && m_hOwner)) &&
      EndOnKey(static_cast<UINT>(pMsg->wParam)))
    return TRUE;
  return CEdit::PreTranslateMessage(pMsg);
}

// Keys sent straight to the window, without a message loop, end it too.
void CExtCellEdit::OnKeyDown(UINT nChar, UINT, UINT) {
  if (!EndOnKey(nChar)) Default();
}

void CExtCellEdit::OnChar(UINT nChar, UINT, UINT) {
  if (nChar == VK_RETURN || nChar == VK_ESCAPE) return;  // the key-down has acted on it
  Default();
}

UINT CExtCellEdit::OnGetDlgCode() { return DLGC_WANTALLKEYS | static_cast<UINT>(Default()); }

void CExtCellEdit::OnKillFocus(CWnd*) {
  Default();
  SendEnd(WM_CELLEDIT_KILL_FOCUS);
}

// The edit holds the capture, so a press anywhere else arrives here first:
// it ends the edit as a loss of focus would.
void CExtCellEdit::OnLButtonDown(UINT, CPoint point) {
  CRect client;
  GetClientRect(&client);
  if (client.PtInRect(point)) {
    Default();
    return;
  }
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  SendEnd(WM_CELLEDIT_KILL_FOCUS);
}

void CExtCellEdit::OnPaint() {
  Default();
  CRect frame;
  GetClientRect(&frame);
  HDC dc = ::GetDC(m_hWnd);
  HBRUSH brush = CreateSolidBrush(::GetSysColor(COLOR_INACTIVECAPTION));
  FrameRect(dc, &frame, brush);
  DeleteObject(brush);
  ::ReleaseDC(m_hWnd, dc);
}

void CExtCellEdit::OnDestroy() {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  CEdit::OnDestroy();
}
