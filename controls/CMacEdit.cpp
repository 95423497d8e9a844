#include "CMacEdit.h"

namespace {

const int kMacLength = 17;
const char* const kEmptyMac = "00:00:00:00:00:00";

bool IsColonPosition(int p) { return p == 2 || p == 5 || p == 8 || p == 11 || p == 14; }

bool IsHexDigit(UINT c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

IMPLEMENT_DYNCREATE(CMacEdit, CEdit)

BEGIN_MESSAGE_MAP(CMacEdit, CEdit)
ON_WM_CHAR()
ON_WM_KEYDOWN()
ON_WM_CREATE()
END_MESSAGE_MAP()

void CMacEdit::SetMacText(LPCTSTR digits) {
  SetWindowText(VhMacColonText(CString(digits ? digits : "")));
  SetLimitText(kMacLength);
  ModifyStyle(0, ES_UPPERCASE, 0);
}

void CMacEdit::GetMacText(CString& digits) const {
  CString text;
  GetWindowText(text);
  digits = VhMacDigits(text);
}

BOOL CMacEdit::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID, void* pContext) {
  return CWnd::Create(lpszClassName, lpszWindowName, dwStyle | ES_UPPERCASE, rect, pParentWnd, nID, pContext);
}

BOOL CMacEdit::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= ES_UPPERCASE;
  return CEdit::PreCreateWindow(cs);
}

void CMacEdit::Reset() {
  SetLimitText(kMacLength);
  SetWindowText(kEmptyMac);
  SetWindowPos(nullptr, 0, 0, 110, 20, SWP_NOMOVE);
}

int CMacEdit::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CEdit::OnCreate(lpCreateStruct) == -1) return -1;
  Reset();
  return 0;
}

void CMacEdit::PlaceCaret(int position) {
  SetSel(position, position);
  SendMessage(EM_SCROLLCARET, 0, 0);
}

void CMacEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!IsHexDigit(nChar)) return;
  int start = 0, end = 0;
  GetSel(start, end);
  CString text;
  GetWindowText(text);
  if (IsColonPosition(start)) {
    // The digit after the colon is overwritten.
    PlaceCaret(start + 1);
    if (start + 1 < text.GetLength()) text.Delete(start + 1);
    SetWindowText(text);
    PlaceCaret(start + 1);
    CEdit::OnChar(nChar, nRepCnt, nFlags);
    return;
  }
  if (start < text.GetLength()) text.Delete(start);
  SetWindowText(text);
  PlaceCaret(start);
  CEdit::OnChar(nChar, nRepCnt, nFlags);
  GetSel(start, end);
  if (IsColonPosition(start)) PlaceCaret(start + 1);
}

void CMacEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar != VK_DELETE && nChar != VK_BACK) {
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
    return;
  }
  int start = 0, end = 0;
  GetSel(start, end);
  CString text;
  GetWindowText(text);
  int caret = start;
  if (start == end) {
    int position;
    if (nChar == VK_DELETE) {
      if (start >= text.GetLength()) return;
      position = start;
      caret = start + 1;
    } else {
      if (start == 0) return;
      position = start - 1;
      caret = start - 1;
    }
    if (!IsColonPosition(position)) text.SetAt(position, '0');
  } else {
    for (int i = start; i < end && i < text.GetLength(); ++i)
      if (!IsColonPosition(i)) text.SetAt(i, '0');
  }
  SetWindowText(text);
  PlaceCaret(caret);
}
