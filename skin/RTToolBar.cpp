#include "RTToolBar.h"

#include "SkinDraw.h"

namespace {

// The width of a drop-down button's arrow part.
constexpr int kArrowPart = 14;
// An icon's offset from its button's corner; a hot icon lifts one pixel up
// and left, over its shadow one pixel down and right.
constexpr int kIconInset = 3;

bool IsControlSlot(const TBBUTTON& b) { return (b.fsStyle & TBSTYLE_SEP) && b.idCommand != 0; }

void Line(CDC* dc, int x1, int y1, int x2, int y2) {
  dc->MoveTo(x1, y1);
  dc->LineTo(x2, y2);
}

CRect ArrowPart(const CRect& button) { return CRect(button.right - kArrowPart, button.top, button.right, button.bottom); }
// A drop-down button's main part reaches over the arrow part's left edge, so
// that the two share that border column.
CRect MainPart(const CRect& button) { return CRect(button.left, button.top, ArrowPart(button).left + 1, button.bottom); }

// How a button looks, decided once before anything is drawn.
struct ButtonLook {
  bool enabled = false;
  bool checked = false;
  bool indeterminate = false;  // framed, and otherwise drawn as if hot
  bool dropDown = false;
  bool hot = false;      // under the mouse and enabled, or indeterminate
  bool pressed = false;  // held down by the mouse; on a drop-down, on its main part
  bool Tinted() const { return !indeterminate && (hot || checked); }
};

ButtonLook LookOf(const TBBUTTON& b, bool underMouse, const CRect& rect, CPoint cursor) {
  ButtonLook look;
  look.enabled = (b.fsState & TBSTATE_ENABLED) != 0;
  look.checked = (b.fsState & TBSTATE_CHECKED) != 0;
  look.indeterminate = (b.fsState & TBSTATE_INDETERMINATE) != 0;
  look.dropDown = (b.fsStyle & TBSTYLE_DROPDOWN) != 0;
  look.hot = (underMouse && look.enabled) || look.indeterminate;
  if (look.Tinted()) {
    const bool mouseDown = (::GetKeyState(VK_LBUTTON) & 0x8000) != 0 && rect.PtInRect(cursor);
    look.pressed = mouseDown && (!look.dropDown || cursor.x < MainPart(rect).right);
  }
  return look;
}

COLORREF Highlight(int luminance, int saturation) {
  return AdjustColorHLS(::GetSysColor(COLOR_HIGHLIGHT), luminance, saturation);
}

void DrawSkinSlot(CDC* dc, const CRect& rect, CBitmap* image, int modeSlot) {
  DrawSkinBitmap(dc, rect, image, CRTToolBar::s_images.modes[modeSlot]);
}

void DrawFrame(CDC* dc, const CRect& rect) {
  CRTPenSelector pen(dc, ::GetSysColor(COLOR_3DDKSHADOW));
  Line(dc, rect.left, rect.top, rect.left, rect.bottom);
  Line(dc, rect.left, rect.top, rect.right, rect.top);
  Line(dc, rect.right - 1, rect.top, rect.right - 1, rect.bottom);
  Line(dc, rect.left, rect.bottom - 1, rect.right, rect.bottom - 1);
}

// The arrow part of a tinted drop-down button. While the main part is held
// down it keeps the hot image (in the Down image's draw mode), when the skin
// has a Down image at all.
void DrawArrowPartTint(CDC* dc, const ButtonLook& look, const CRect& arrow) {
  CBitmap* focus = CRTToolBar::s_images.images[SkinImageSet::kFocus];
  CBitmap* down = CRTToolBar::s_images.images[SkinImageSet::kDown];
  if (look.pressed && down) {
    DrawSkinSlot(dc, arrow, focus, SkinImageSet::kDown);
  } else if (look.pressed) {
    CRTBrushSelector brush(dc, Highlight(70, -66));
    dc->Rectangle(arrow);
  } else if (focus) {
    DrawSkinSlot(dc, arrow, focus, SkinImageSet::kFocus);
  } else {
    Line(dc, arrow.left, arrow.top, arrow.left, arrow.bottom);
  }
}

// Hot, checked or pressed: the skin's Focus or Down image, else a tinted box.
void DrawTint(CDC* dc, const ButtonLook& look, const CRect& rect) {
  const int slot = look.pressed ? SkinImageSet::kDown : SkinImageSet::kFocus;
  const COLORREF tint = (look.pressed || (look.hot && look.checked)) ? Highlight(50, -50)
                        : look.hot                                   ? Highlight(70, -57)
                                                                     : Highlight(80, -66);
  CRTPenSelector pen(dc, ::GetSysColor(COLOR_HIGHLIGHT));
  CRTBrushSelector brush(dc, tint);
  const CRect fill = look.dropDown && look.pressed ? MainPart(rect) : rect;
  if (CBitmap* image = CRTToolBar::s_images.images[slot]) DrawSkinSlot(dc, fill, image, slot);
  else dc->Rectangle(fill);
  if (look.dropDown) DrawArrowPartTint(dc, look, ArrowPart(rect));
}

// A separator between buttons, or below a row the bar wraps after.
void DrawSeparator(CDC* dc, const TBBUTTON& b, const CRect& rect, const CRect& client) {
  CRTPenSelector pen(dc, AdjustColorHLS(::GetSysColor(COLOR_BTNFACE), -15, 0));
  if (b.fsState & TBSTATE_WRAP) {
    Line(dc, client.left + 2, rect.bottom - 4, client.right - 2, rect.bottom - 4);
  } else {
    const int x = (rect.left + rect.right) / 2 - 1;
    Line(dc, x, rect.top + 2, x, rect.bottom - 2);
  }
}

// A small triangle pointing down in the middle of the arrow part.
void DrawArrow(CDC* dc, const ButtonLook& look, const CRect& arrow) {
  const COLORREF ink = (look.hot && !look.indeterminate) ? RGB(0, 0, 0)
                                                         : ::GetSysColor(look.enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  CRTPenSelector pen(dc, ink);
  const CPoint tip(arrow.CenterPoint().x, arrow.CenterPoint().y + 1);
  Line(dc, tip.x - 2, tip.y - 2, tip.x + 3, tip.y - 2);
  Line(dc, tip.x - 1, tip.y - 1, tip.x + 2, tip.y - 1);
  dc->SetPixel(tip, ink);
}

// A disabled icon is only its grey shadow; a hot one lifts over a tinted shadow.
void DrawIcon(CDC* dc, const ButtonLook& look, CImageList* images, int image, CPoint corner, CSize size) {
  const bool lifted = look.hot && !look.pressed;
  if (!look.enabled || lifted) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = (look.hot && look.indeterminate) ? AdjustColorHLS(face, -20, 0)
                            : look.hot                       ? Highlight(50, -66)
                                                             : AdjustColorHLS(face, -27, 0);
    const int offset = look.hot ? kIconInset + 1 : kIconInset;
    if (HICON icon = images->ExtractIcon(image)) {
      CBrush brush(shadow);
      dc->DrawState(corner + CPoint(offset, offset), size, icon, DST_ICON | DSS_MONO, &brush);
      ::DestroyIcon(icon);
    }
  }
  if (look.enabled) {
    const int offset = lifted ? kIconInset - 1 : kIconInset;
    images->Draw(dc, image, corner + CPoint(offset, offset), ILD_TRANSPARENT);
  }
}

// The button's text, if it has one, centred in the band below its image.
void DrawLabel(CDC* dc, CToolBarCtrl& bar, int index, const CRect& rect, int imageHeight) {
  char text[256] = "";
  TBBUTTONINFO info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
  info.pszText = text;
  info.cchText = sizeof text;
  bar.GetButtonInfo(static_cast<UINT>(index), &info);
  if (!text[0]) return;
  CRect band(rect.left, rect.bottom + imageHeight - bar.GetButtonSize().cy, rect.right, rect.bottom);
  dc->DrawText(text, -1, &band, DT_CENTER);
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
  const ButtonLook look = LookOf(b, index == hot, rect, cursor);
  if (look.indeterminate) DrawFrame(dc, rect);
  else if (look.Tinted()) DrawTint(dc, look, rect);

  if (b.fsStyle & TBSTYLE_SEP) {
    if (b.idCommand) return;  // a control's slot: the control shows there
    CRect client;
    GetClientRect(&client);
    DrawSeparator(dc, b, rect, client);
    return;
  }
  if (look.dropDown) {
    DrawArrow(dc, look, ArrowPart(rect));
    rect.right = ArrowPart(rect).left;
  }
  const bool hasImages = images && images->m_hImageList;
  int imageWidth = 0, imageHeight = 0;
  if (hasImages) ::ImageList_GetIconSize(images->m_hImageList, &imageWidth, &imageHeight);
  if (hasImages && b.iBitmap >= 0)
    DrawIcon(dc, look, images, b.iBitmap, rect.TopLeft(), CSize(imageWidth, imageHeight));
  DrawLabel(dc, GetToolBarCtrl(), index, rect, imageHeight);
}
