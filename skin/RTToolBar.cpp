#include "RTToolBar.h"

#include "SkinDraw.h"

namespace {

// The width of a drop-down button's arrow part.
constexpr int kArrowPart = 14;

bool IsControlSlot(const TBBUTTON& b) { return (b.fsStyle & TBSTYLE_SEP) && b.idCommand != 0; }

void Line(CDC* dc, int x1, int y1, int x2, int y2) {
  dc->MoveTo(x1, y1);
  dc->LineTo(x2, y2);
}

}  // namespace

BEGIN_MESSAGE_MAP(CRTToolBar, CToolBar)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

CRTToolBar::~CRTToolBar() {
  if (m_hWnd) DestroyWindow();
}

BOOL CRTToolBar::LoadToolBar(UINT nIDResource) {
  if (!CToolBar::LoadToolBar(nIDResource)) return FALSE;
  if (s_skinEnabled) SendMessage(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  return TRUE;
}

BOOL CRTToolBar::InsertControl(int nIndex, CWnd* pControl) {
  if (!m_hWnd || !pControl || !pControl->m_hWnd) return FALSE;
  CRect rect;
  pControl->GetWindowRect(&rect);
  TBBUTTON button{};
  button.iBitmap = rect.Width();
  button.idCommand = pControl->GetDlgCtrlID();
  button.fsStyle = TBSTYLE_SEP;
  button.iString = -1;
  const int count = GetCount();
  if (!GetToolBarCtrl().InsertButton(nIndex >= 0 && nIndex <= count ? nIndex : count, &button)) return FALSE;
  m_bDelayedButtonLayout = TRUE;
  return TRUE;
}

CSize CRTToolBar::CalcDynamicLayout(int nLength, DWORD nMode) {
  if (!s_skinEnabled) return CToolBar::CalcDynamicLayout(nLength, nMode);
  m_layoutMode = (nMode & LM_VERTDOCK) ? kVerticalDock : kOtherLayout;
  const CSize size = CToolBar::CalcDynamicLayout(nLength, nMode);
  m_layoutMode = kNoLayout;
  if (nMode & LM_COMMIT) PlaceControls((nMode & LM_VERTDOCK) != 0);
  return size;
}

void CRTToolBar::PlaceControls(bool vertical) {
  CToolBarCtrl& bar = GetToolBarCtrl();
  for (int i = 0; i < bar.GetButtonCount(); ++i) {
    TBBUTTON b{};
    if (!bar.GetButton(i, &b) || !IsControlSlot(b)) continue;
    CWnd* control = GetDlgItem(b.idCommand);
    if (!control) continue;
    if (vertical) {
      bar.HideButton(b.idCommand, TRUE);
      control->ShowWindow(SW_HIDE);
      continue;
    }
    bar.HideButton(b.idCommand, FALSE);
    CRect slot, now;
    bar.GetItemRect(i, &slot);
    slot.DeflateRect(1, 1);
    control->GetWindowRect(&now);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW;
    if (now.Width() == slot.Width()) flags |= SWP_NOSIZE;
    control->SetWindowPos(nullptr, slot.left, slot.top, slot.Width(), slot.Height(), flags);
  }
}

// While the bar measures itself, control slots take no room when it docks
// vertically and count again otherwise, whatever the last layout left.
LRESULT CRTToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CToolBar::WindowProc(message, wParam, lParam);
  if (message == TB_GETBUTTON && result && lParam && s_skinEnabled && m_layoutMode != kNoLayout) {
    auto* button = reinterpret_cast<TBBUTTON*>(lParam);
    if (IsControlSlot(*button)) {
      if (m_layoutMode == kVerticalDock) button->fsState |= TBSTATE_HIDDEN;
      else button->fsState &= static_cast<BYTE>(~TBSTATE_HIDDEN);
    }
  }
  return result;
}

BOOL CRTToolBar::OnEraseBkgnd(CDC* pDC) {
  CBitmap* back = s_images.images[SkinImageSet::kBack];
  if (!s_skinEnabled || !back || !pDC) return static_cast<BOOL>(Default());
  CRect window;
  GetWindowRect(&window);
  DrawSkinBitmap(pDC, CRect(0, 0, window.Width(), window.Height()), back, s_images.modes[SkinImageSet::kBack]);
  return TRUE;
}

void CRTToolBar::OnPaint() {
  if (!s_skinEnabled) {
    Default();
    return;
  }
  if (m_bDelayedButtonLayout) Layout();
  CPaintDC dc(this);
  dc.SetBkMode(TRANSPARENT);
  CRTFontSelector font(&dc, DEFAULT_GUI_FONT);
  CRect clip;
  dc.GetClipBox(&clip);
  CPoint cursor;
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  CToolBarCtrl& bar = GetToolBarCtrl();
  CImageList* images = bar.GetImageList();
  const int count = bar.GetButtonCount();
  const int hot = bar.GetHotItem();
  for (int i = 0; i < count; ++i) {
    TBBUTTON b{};
    if (!bar.GetButton(i, &b) || (b.fsState & TBSTATE_HIDDEN)) continue;
    CRect rect, meet;
    bar.GetItemRect(i, &rect);
    if (!meet.IntersectRect(rect, clip)) continue;
    PaintButton(&dc, i, b, rect, hot, images, cursor);
  }
}

void CRTToolBar::PaintButton(CDC* dc, int index, const TBBUTTON& b, CRect rect, int hot, CImageList* images,
                             CPoint cursor) {
  const bool enabled = (b.fsState & TBSTATE_ENABLED) != 0;
  const bool checked = (b.fsState & TBSTATE_CHECKED) != 0;
  const bool indeterminate = (b.fsState & TBSTATE_INDETERMINATE) != 0;
  const bool dropDown = (b.fsStyle & TBSTYLE_DROPDOWN) != 0;
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  CBitmap* focus = s_images.images[SkinImageSet::kFocus];
  CBitmap* down = s_images.images[SkinImageSet::kDown];
  bool isHot = index == hot && enabled;
  bool pressed = false;

  if (indeterminate) {
    CRTPenSelector pen(dc, ::GetSysColor(COLOR_3DDKSHADOW));
    Line(dc, rect.left, rect.top, rect.left, rect.bottom);
    Line(dc, rect.left, rect.top, rect.right, rect.top);
    Line(dc, rect.right - 1, rect.top, rect.right - 1, rect.bottom);
    Line(dc, rect.left, rect.bottom - 1, rect.right, rect.bottom - 1);
    isHot = true;
  } else if (isHot || checked) {
    const bool mouseDown = (::GetKeyState(VK_LBUTTON) & 0x8000) != 0 && rect.PtInRect(cursor);
    CRect fill = rect;
    pressed = mouseDown && (!dropDown || cursor.x < rect.right - 13);
    if (dropDown && pressed) fill.right -= 13;
    CRTPenSelector pen(dc, highlight);
    const COLORREF tint = (pressed || (isHot && checked)) ? AdjustColorHLS(highlight, 50, -50)
                          : isHot                         ? AdjustColorHLS(highlight, 70, -57)
                                                          : AdjustColorHLS(highlight, 80, -66);
    CRTBrushSelector brush(dc, tint);
    CBitmap* image = pressed ? down : focus;
    if (image) DrawSkinBitmap(dc, fill, image, s_images.modes[pressed ? SkinImageSet::kDown : SkinImageSet::kFocus]);
    else dc->Rectangle(fill);
    if (dropDown) {
      const CRect arrowPart(rect.right - kArrowPart, rect.top, rect.right, rect.bottom);
      if (pressed) {
        if (down) {
          DrawSkinBitmap(dc, arrowPart, focus, s_images.modes[SkinImageSet::kDown]);
        } else {
          brush.SetColor(AdjustColorHLS(highlight, 70, -66));
          dc->Rectangle(arrowPart);
        }
      } else if (focus) {
        DrawSkinBitmap(dc, arrowPart, focus, s_images.modes[SkinImageSet::kFocus]);
      } else {
        Line(dc, rect.right - kArrowPart, rect.top, rect.right - kArrowPart, rect.bottom);
      }
    }
  }

  if (b.fsStyle & TBSTYLE_SEP) {
    if (b.idCommand) return;  // a control's slot: the control shows there
    CRTPenSelector pen(dc, AdjustColorHLS(::GetSysColor(COLOR_BTNFACE), -15, 0));
    if (b.fsState & TBSTATE_WRAP) {
      CRect client;
      GetClientRect(&client);
      Line(dc, client.left + 2, rect.bottom - 4, client.right - 2, rect.bottom - 4);
    } else {
      const int x = (rect.left + rect.right) / 2 - 1;
      Line(dc, x, rect.top + 2, x, rect.bottom - 2);
    }
    return;
  }

  if (dropDown) {
    const COLORREF ink = (isHot && !indeterminate) ? RGB(0, 0, 0) : ::GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    CRTPenSelector pen(dc, ink);
    const int m = (rect.top + rect.bottom) / 2;
    Line(dc, rect.right - 9, m - 1, rect.right - 4, m - 1);
    Line(dc, rect.right - 8, m, rect.right - 5, m);
    dc->SetPixel(rect.right - 7, m + 1, ink);
    rect.right -= kArrowPart;
  }

  int imageWidth = 0, imageHeight = 0;
  if (images && images->m_hImageList) ::ImageList_GetIconSize(images->m_hImageList, &imageWidth, &imageHeight);
  if (b.iBitmap >= 0 && images && images->m_hImageList) {
    const bool lifted = isHot && !pressed;
    if (!enabled || lifted) {
      const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
      const COLORREF shadow = (isHot && indeterminate) ? AdjustColorHLS(face, -20, 0)
                              : isHot                  ? AdjustColorHLS(highlight, 50, -66)
                                                       : AdjustColorHLS(face, -27, 0);
      const int offset = isHot ? 4 : 3;
      HICON icon = images->ExtractIcon(b.iBitmap);
      if (icon) {
        CBrush brush(shadow);
        dc->DrawState(CPoint(rect.left + offset, rect.top + offset), CSize(imageWidth, imageHeight), icon,
                      DST_ICON | DSS_MONO, &brush);
        ::DestroyIcon(icon);
      }
    }
    if (enabled) {
      const int offset = lifted ? 2 : 3;
      images->Draw(dc, b.iBitmap, CPoint(rect.left + offset, rect.top + offset), ILD_TRANSPARENT);
    }
  }

  char text[256] = "";
  TBBUTTONINFO info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
  info.pszText = text;
  info.cchText = sizeof text;
  GetToolBarCtrl().GetButtonInfo(static_cast<UINT>(index), &info);
  if (text[0]) {
    const int buttonHeight = GetToolBarCtrl().GetButtonSize().cy;
    CRect band(rect.left, rect.bottom + imageHeight - buttonHeight, rect.right, rect.bottom);
    dc->DrawText(text, -1, &band, DT_CENTER);
  }
}
