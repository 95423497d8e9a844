#include "RTComboBox.h"

#include "SkinSlot.h"

IMPLEMENT_DYNAMIC(CRTComboBox, CComboBox)

BEGIN_MESSAGE_MAP(CRTComboBox, CComboBox)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

namespace {

void DrawSlot(CDC* dc, const CRect& rect, int slot) { DrawSkinSlot(dc, rect, CRTComboBox::s_images, slot); }

}  // namespace

CRect CRTComboBox::GetDroppedRect() const {
  CRect rect;
  GetDroppedControlRect(&rect);
  return rect;
}

void CRTComboBox::PreSubclassWindow() { CComboBox::PreSubclassWindow(); }

// Enter and Escape on an open list are the list's: they choose or close it.
// The dialogs around it would take them first, for their default and cancel
// buttons (the main dialog drops Escape while a flow shows).
BOOL CRTComboBox::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_RETURN) && GetDroppedState()) {
    ::TranslateMessage(pMsg);
    ::DispatchMessage(pMsg);
    return TRUE;
  }
  return CComboBox::PreTranslateMessage(pMsg);
}

BOOL CRTComboBox::OnEraseBkgnd(CDC* pDC) {
  if (s_images.images[kBack]) {
    CRect client;
    GetClientRect(&client);
    DrawSlot(pDC, client, kBack);
  }
  return TRUE;
}

void CRTComboBox::OnPaint() {
  PAINTSTRUCT ps;
  CDC* dc = BeginPaint(&ps);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(&info)) {
    CRect button(info.rcButton);
    button.OffsetRect(0, 1);
    DrawSlot(dc, button, kArrow);
    const int selection = GetCurSel();
    if (selection != CB_ERR) {
      CString text;
      GetLBText(selection, text);
      CRTControlFontSelector font(dc, this);
      const int oldMode = dc->SetBkMode(TRANSPARENT);
      // The images have no disabled slot: a disabled combo says so by its text.
      const COLORREF oldColor = dc->SetTextColor(IsWindowEnabled() ? RGB(0, 0, 0) : ::GetSysColor(COLOR_GRAYTEXT));
      CRect item(info.rcItem);
      dc->DrawText(text, &item, DT_LEFT | DT_TOP);
      dc->SetTextColor(oldColor);
      dc->SetBkMode(oldMode);
    }
    // The field of a closed combo box with the keyboard wears the dotted
    // outline, as the other controls do.
    if (m_bFocused && !GetDroppedState()) {
      CRect item(info.rcItem);
      dc->DrawFocusRect(&item);
    }
  }
  EndPaint(&ps);
}

// The focus is counted gone before the loss is reported: a parent that has
// the box painted at once on CBN_KILLFOCUS (the WEP and WPA dialogs) must not
// get the outline, which the focus still seems to own until the handler ends.
void CRTComboBox::OnSetFocus(CWnd* pOldWnd) {
  m_bFocused = TRUE;
  CComboBox::OnSetFocus(pOldWnd);
}

void CRTComboBox::OnKillFocus(CWnd* pNewWnd) {
  m_bFocused = FALSE;
  CComboBox::OnKillFocus(pNewWnd);
}

void CRTComboBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (!lpDrawItemStruct) return;
  CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
  CString text;
  if (lpDrawItemStruct->itemID != static_cast<UINT>(-1)) GetLBText(static_cast<int>(lpDrawItemStruct->itemID), text);
  CRTControlFontSelector font(dc, this);
  const CRect rect(lpDrawItemStruct->rcItem);
  // The selection itself does not change the look; only the focus does.
  if (lpDrawItemStruct->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) DrawSlot(dc, rect, kBack);
  if (lpDrawItemStruct->itemAction & ODA_FOCUS) DrawSlot(dc, rect, kFocus);
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  const COLORREF oldColor = dc->SetTextColor(RGB(0, 0, 0));
  CRect textRect = rect;
  dc->DrawText(text, &textRect, DT_LEFT | DT_TOP);
  dc->SetTextColor(oldColor);
  dc->SetBkMode(oldMode);
}
