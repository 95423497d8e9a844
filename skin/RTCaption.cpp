#include "RTCaption.h"

#include <cstdlib>
#include <cstring>

#include "RTMenuSkin.h"
#include "SkinDraw.h"

namespace {

// Which image slot shows a button state; a state outside the table draws nothing.
const int kSlotOfState[] = {/*kButtonNormal*/ SkinImageSet::kNormal, /*kButtonPressed*/ SkinImageSet::kDown,
                            /*kButtonHot*/ SkinImageSet::kFocus};

// The text keeps clear of the caption buttons by this much from the caption's right end.
const int kTextRightGap = 60;

bool IsCaptionButtonHit(WPARAM hit) { return hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON; }

// The sizing borders, over which the platform may redraw the frame.
bool IsSizingBorderHit(UINT hit) { return hit >= HTLEFT && hit <= HTBORDER; }

int Luminance(COLORREF c) { return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000; }

COLORREF ReadableOn(COLORREF background, COLORREF text) {
  const int back = Luminance(background);
  if (std::abs(back - Luminance(text)) >= 96) return text;
  return back >= 128 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

CRect WindowRectOf(CWnd* wnd) {
  CRect r;
  wnd->GetWindowRect(&r);
  return r;
}

}  // namespace

CRTCaption::CRTCaption(CWnd* wnd, DefaultProc defaultProc, int32_t initialActive, CaptionRules rules)
    : m_wnd(wnd), m_default(std::move(defaultProc)), m_rules(rules) {
  m_state.active = initialActive;
}

// ---- The window procedure -------------------------------------------------

LRESULT CRTCaption::WindowProc(const SkinCaptionLook& look, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCPAINT && look.skinEnabled) {
    PaintNonClient(look, reinterpret_cast<HRGN>(wParam), m_rules.menuBar);
    return 0;
  }
  if (!look.CaptionSkinned()) return m_default(message, wParam, lParam);

  const HWND self = m_wnd->GetSafeHwnd();
  switch (message) {
    case WM_NCACTIVATE:
      return NcActivateStep(look, wParam, lParam);
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
      return ActivateStep(look, message, wParam, lParam);
    case WM_SETTEXT:
    case WM_SETICON:
    case WM_NOTIFY:
      return RepaintAfterDefault(look, message, wParam, lParam);
    case WM_SETCURSOR:
      if (!IsSizingBorderHit(LOWORD(lParam))) return m_default(message, wParam, lParam);
      return RepaintAfterDefault(look, message, wParam, lParam);
    case WM_NCMOUSEMOVE:
      Hover(look, wParam);
      return m_rules.ncMouseMoveToDefault ? m_default(message, wParam, lParam) : 0;
    case WM_NCLBUTTONDOWN:
      return PressStep(look, wParam, lParam);
    case WM_NCLBUTTONUP:
      ReleaseStep(look, wParam, lParam);
      if (!::IsWindow(self)) return 0;
      return LButtonUpStep(look, wParam, lParam);
    case WM_NCRBUTTONDOWN:
      return m_rules.rightButton ? 0 : m_default(message, wParam, lParam);
    case WM_NCRBUTTONUP:
      if (m_rules.rightButton) RepaintCaption(look);
      return m_default(message, wParam, lParam);
    case WM_SYSCOMMAND:
      if (m_rules.repaintOnSysClose || (wParam & 0xFFF0) != SC_CLOSE) RepaintCaption(look);
      return m_default(message, wParam, lParam);
    case WM_INITMENUPOPUP:
      RepaintCaption(look);
      return m_default(message, wParam, lParam);
    case WM_MOUSEMOVE:
      return m_rules.clientMouseMove ? MouseMoveStep(look, wParam, lParam) : m_default(message, wParam, lParam);
    case WM_LBUTTONUP:
      return LButtonUpStep(look, wParam, lParam);
    case WM_CAPTURECHANGED:
      CaptureLost(look);
      return m_default(message, wParam, lParam);
  }
  return m_default(message, wParam, lParam);
}

LRESULT CRTCaption::NcActivateStep(const SkinCaptionLook& look, WPARAM wParam, LPARAM lParam) {
  if (!m_rules.ownNcActivate) return m_default(WM_NCACTIVATE, wParam, lParam);
  if (m_rules.activeLook == CaptionRules::ActiveLook::kFromNcActivate) m_state.active = static_cast<int32_t>(wParam);
  RepaintCaption(look);
  return 1;
}

// WM_ACTIVATE repaints the whole area after the default handling; where the
// rules take the active look from activation, both messages store it.
LRESULT CRTCaption::ActivateStep(const SkinCaptionLook& look, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool fromActivation = m_rules.activeLook == CaptionRules::ActiveLook::kFromActivation;
  const HWND self = m_wnd->GetSafeHwnd();
  const LRESULT result = m_default(message, wParam, lParam);
  if (message == WM_ACTIVATEAPP) {
    if (fromActivation) m_state.active = wParam != 0;
    return 0;
  }
  if (!::IsWindow(self)) return result;
  // The low word alone: a minimized window has the high word set.
  if (fromActivation) m_state.active = LOWORD(wParam) != WA_INACTIVE;
  PaintNonClient(look, nullptr, m_rules.menuBar);
  return result;
}

LRESULT CRTCaption::RepaintAfterDefault(const SkinCaptionLook& look, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND self = m_wnd->GetSafeHwnd();
  const LRESULT result = m_default(message, wParam, lParam);
  if (::IsWindow(self)) RepaintCaption(look);
  return result;
}

WPARAM CRTCaption::ButtonHit(WPARAM hit) const {
  if (m_rules.closeButtonOnly && (hit == HTMAXBUTTON || hit == HTMINBUTTON)) return HTNOWHERE;
  return hit;
}

CRect CRTCaption::CaptionRect(const SkinCaptionLook& look, int windowWidth) {
  return CRect(look.frameX, look.frameY, windowWidth - look.captionRightInset, look.frameY + look.captionHeight);
}

CRect CRTCaption::ButtonRect(const SkinCaptionLook& look, int windowWidth, CaptionButton button) {
  const int c = look.captionHeight, right = windowWidth - look.frameX;
  const int top = look.frameY + 2, bottom = look.frameY + c - 2;
  const CRect close(right - c, top, right - 2, bottom);
  const CRect maximize(close.left - c, top, close.left - 2, bottom);
  const CRect minimize(maximize.left - c + 2, top, maximize.left, bottom);
  switch (button) {
    case kCloseButton: return close;
    case kMaximizeButton: return maximize;
    case kMinimizeButton: return minimize;
    default: return CRect();
  }
}

CaptionButton CRTCaption::ButtonOfHit(WPARAM hit) {
  switch (hit) {
    case HTCLOSE: return kCloseButton;
    case HTMAXBUTTON: return kMaximizeButton;
    case HTMINBUTTON: return kMinimizeButton;
    default: return kNoCaptionButton;
  }
}

// ---- Painting ------------------------------------------------------------

void CRTCaption::DefaultNcPaint(const CRect& screenRect, HRGN update) {
  CRgn part;
  part.CreateRectRgnIndirect(&screenRect);
  HRGN handle = static_cast<HRGN>(part.GetSafeHandle());
  if (update) ::CombineRgn(handle, handle, update, RGN_AND);
  CRect box;
  if (part.GetRgnBox(&box) == NULLREGION || box.IsRectEmpty()) return;
  m_default(WM_NCPAINT, reinterpret_cast<WPARAM>(handle), 0);
}

void CRTCaption::DrawBorder(CDC* dc, const SkinCaptionLook& look, HRGN update) {
  const CRect window = WindowRectOf(m_wnd);
  const int n = look.frameX, m = look.frameY;
  if (look.borderEnabled) {
    for (int i = 0; i < n; ++i) {
      const COLORREF color = look.borderColors[i < 4 ? i : 3];
      dc->Draw3dRect(i, i, window.Width() - 2 * i, window.Height() - 2 * i, color, color);
    }
    return;
  }
  const CRect strips[] = {
      {window.left, window.top, window.left + n, window.bottom},
      {window.left, window.top, window.right, window.top + m},
      {window.right - n, window.top, window.right, window.bottom},
      {window.left, window.bottom - m, window.right, window.bottom},
  };
  for (const CRect& strip : strips) DefaultNcPaint(strip, update);
}

int CRTCaption::DrawCaption(CDC* target, const SkinCaptionLook& look, int32_t active, HRGN update) {
  if ((m_wnd->GetStyle() & WS_CAPTION) != WS_CAPTION) return 1;
  const CRect window = WindowRectOf(m_wnd);
  if (!look.captionEnabled) {
    CRect strip(window.left + look.frameX, window.top + look.frameY, window.right - look.frameY,
                window.top + look.frameY + look.captionHeight);
    DefaultNcPaint(strip, update);
    return 1;
  }
  const CRect caption = CaptionRect(look, window.Width());
  if (caption.IsRectEmpty()) return 1;
  CRTMemDC mem(target, caption);
  const int slot = active ? 1 : 2;
  CBitmap* image = look.titleBar ? look.titleBar->images[slot] : nullptr;
  // The system's caption colour lies under the image, so a missing or refused
  // image still leaves a defined, readable title bar.
  mem.FillSolidRect(&caption, ::GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
  if (image) DrawSkinBitmap(&mem, caption, image, look.titleBar->modes[slot]);

  HICON icon = reinterpret_cast<HICON>(m_wnd->SendMessage(WM_GETICON, ICON_SMALL, 0));
  if (icon) {
    const int side = look.captionHeight - 2;
    ::DrawIconEx(mem.GetSafeHdc(), caption.left + look.iconLeft, caption.top + 1, icon, side, side, 0, nullptr,
                 DI_NORMAL);
  }
  const bool systemColors = look.systemTextColors || !image;
  COLORREF textColor =
      systemColors ? ::GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT) : RGB(0, 0, 0);
  // The system's caption text colour was chosen for the system's caption, not
  // for the skin's image: on an image too close to it, black or white instead.
  if (look.systemTextColors && image)
    textColor = ReadableOn(mem.GetPixel(caption.CenterPoint()), textColor);
  DrawTitleText(target, &mem, look, caption, icon != nullptr, textColor);
  DrawCaptionButtons(&mem, look);
  return image ? 1 : 0;
}

void CRTCaption::DrawTitleText(CDC* target, CDC* mem, const SkinCaptionLook& look, const CRect& caption,
                               bool hasIcon, COLORREF color) {
  CRect text(caption.left + (hasIcon ? look.textLeftWithIcon : 1), caption.top, caption.right - kTextRightGap,
             caption.bottom);
  if (text.IsRectEmpty()) return;
  // Centred on the height of the window context's own font, as the skins were drawn for.
  TEXTMETRIC tm{};
  target->GetTextMetrics(&tm);
  text.top = caption.top + 1 + (look.captionHeight - tm.tmHeight) / 2;

  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  CFont font;
  font.CreateFontIndirect(&ncm.lfCaptionFont);
  CFont* oldFont = mem->SelectObject(&font);
  const int oldMode = mem->SetBkMode(TRANSPARENT);
  const COLORREF oldColor = mem->SetTextColor(color);
  CString title;
  if (m_title)
    title = m_title();
  else
    m_wnd->GetWindowText(title);
  mem->DrawText(title, &text, DT_SINGLELINE);
  mem->SetTextColor(oldColor);
  mem->SetBkMode(oldMode);
  mem->SelectObject(oldFont);
}

void CRTCaption::DrawButton(CDC* dc, const CRect& rect, const SkinImageSet* images, int32_t state, bool disabled) {
  if (!images) return;
  int slot;
  if (disabled)
    slot = SkinImageSet::kDisable;
  else if (state >= 0 && state < 3)
    slot = kSlotOfState[state];
  else
    return;
  DrawSkinBitmap(dc, rect, images->images[slot], kSkinStretch);
}

void CRTCaption::DrawCaptionButtons(CDC* dc, const SkinCaptionLook& look) {
  const DWORD style = m_wnd->GetStyle();
  if (!(style & WS_SYSMENU)) return;
  const int width = WindowRectOf(m_wnd).Width();
  DrawButton(dc, ButtonRect(look, width, kCloseButton), look.exitButton, m_state.buttons[kCloseButton], false);
  const bool maxBox = (style & WS_MAXIMIZEBOX) != 0, minBox = (style & WS_MINIMIZEBOX) != 0;
  if (!maxBox && !minBox) return;
  const SkinImageSet* middle = m_wnd->IsZoomed() ? look.restoreButton : look.maximizeButton;
  DrawButton(dc, ButtonRect(look, width, kMaximizeButton), middle, m_state.buttons[kMaximizeButton], !maxBox);
  DrawButton(dc, ButtonRect(look, width, kMinimizeButton), look.minimizeButton, m_state.buttons[kMinimizeButton],
             !minBox);
}

void CRTCaption::PaintNonClient(const SkinCaptionLook& look, HRGN update, bool withMenuBar) {
  if (reinterpret_cast<UINT_PTR>(update) <= 1) update = nullptr;
  CWindowDC dc(m_wnd);
  CRect window, client;
  m_wnd->GetWindowRect(&window);
  m_wnd->GetClientRect(&client);
  m_wnd->ClientToScreen(&client);
  client.OffsetRect(-window.left, -window.top);
  if (update) {
    ::SelectClipRgn(dc.GetSafeHdc(), update);  // takes a copy
    dc.OffsetClipRgn(-window.left, -window.top);
  }
  // A page without a frame gets WM_NCPAINT too: its client area is not ours to paint here.
  dc.ExcludeClipRect(&client);
  DrawBorder(&dc, look, update);
  DrawCaption(&dc, look, m_state.active, update);
  if (withMenuBar) DrawMenuBar(&dc, look);
  ::SelectClipRgn(dc.GetSafeHdc(), nullptr);
}

void CRTCaption::DrawMenuBar(CDC* dc, const SkinCaptionLook& look) {
  HWND hwnd = m_wnd->GetSafeHwnd();
  HMENU menu = ::GetMenu(hwnd);
  if (!menu) return;
  const CRect window = WindowRectOf(m_wnd);
  const int W = window.Width();
  const int f = ::GetSystemMetrics(SM_CXFRAME);
  int rowTop = f + ::GetSystemMetrics(SM_CYSIZE) + 1;
  CBrush brush;
  brush.CreateSolidBrush(::GetSysColor(COLOR_MENU));
  CBrush* oldBrush = dc->SelectObject(&brush);
  dc->PatBlt(f, rowTop - 1, W - 2 * f, 1, PATCOPY);

  auto fillRowRest = [&](int x, int top, int height) {
    CBitmap* back = CRTMenuSkin::s_menuBar.images[SkinImageSet::kBack];
    if (CRTMenuSkin::s_skinEnabled) {
      DrawSkinBitmap(dc, CRect(x, top, W - f, top + height), back, CRTMenuSkin::s_menuBar.modes[SkinImageSet::kBack]);
    } else {
      CRect rest(x, top, W - look.frameX, top + height);
      rest.OffsetRect(window.left, window.top);
      DefaultNcPaint(rest, nullptr);
    }
  };
  int x = f, height = ::GetSystemMetrics(SM_CYMENU);
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    CRect item;
    if (!::GetMenuItemRect(hwnd, menu, static_cast<UINT>(i), &item)) continue;
    DefaultNcPaint(item, nullptr);
    const int top = item.top - window.top;
    height = item.Height();
    if (top == rowTop) {
      x += item.Width();
    } else {
      fillRowRest(x, rowTop, height);
      x = f + item.Width();
      rowTop = top;
    }
  }
  fillRowRest(x, rowTop, height);
  dc->PatBlt(f, rowTop + height, W - 2 * f, 1, PATCOPY);
  dc->SelectObject(oldBrush);
}

void CRTCaption::RepaintCaption(const SkinCaptionLook& look) {
  CWindowDC dc(m_wnd);
  DrawCaption(&dc, look, m_state.active, nullptr);
}

void CRTCaption::RepaintCaptionButtons(const SkinCaptionLook& look) {
  if ((m_wnd->GetStyle() & WS_CAPTION) != WS_CAPTION) return;
  CWindowDC dc(m_wnd);
  DrawCaptionButtons(&dc, look);
}

// ---- The caption buttons' cycle -------------------------------------------

bool CRTCaption::AnyButtonState() const {
  for (int32_t s : m_state.buttons)
    if (s) return true;
  return false;
}

void CRTCaption::ClearButtonStates(const SkinCaptionLook& look) {
  if (!AnyButtonState()) return;
  for (int32_t& s : m_state.buttons) s = kButtonNormal;
  RepaintCaptionButtons(look);
}

void CRTCaption::Hover(const SkinCaptionLook& look, WPARAM hit) {
  const CaptionButton under = ButtonOfHit(ButtonHit(hit));
  if (under == kNoCaptionButton) {
    ClearButtonStates(look);
    return;
  }
  if (!m_state.tracking) {
    if (m_state.buttons[under] == kButtonHot) return;
    for (int32_t& s : m_state.buttons) s = kButtonNormal;
    m_state.buttons[under] = kButtonHot;
  } else if (m_state.pressed == kNoCaptionButton) {
    return;
  } else if (under == m_state.pressed) {
    if (m_state.buttons[under] == kButtonPressed) return;
    m_state.buttons[under] = kButtonPressed;
  } else {
    for (int b = 0; b < 3; ++b)
      if (b != under) m_state.buttons[b] = kButtonNormal;
  }
  RepaintCaptionButtons(look);
}

bool CRTCaption::Press(const SkinCaptionLook& look, WPARAM hit) {
  const DWORD style = m_wnd->GetStyle();
  // A box the style lacks is drawn greyed, so it must not act either.
  if (hit == HTMAXBUTTON && !(style & WS_MAXIMIZEBOX)) return false;
  if (hit == HTMINBUTTON && !(style & WS_MINIMIZEBOX)) return false;
  const CaptionButton button = ButtonOfHit(hit);
  if (button == kNoCaptionButton) return false;
  m_state.tracking = 1;
  m_state.buttons[button] = kButtonPressed;
  m_state.pressed = button;
  RepaintCaptionButtons(look);
  ::SetCapture(m_wnd->GetSafeHwnd());
  return true;
}

CaptionButton CRTCaption::Release(const SkinCaptionLook& look, WPARAM hit, bool* elsewhere) {
  *elsewhere = false;
  // Tracking ends before the capture goes, so the capture change that follows is ours.
  m_state.tracking = 0;
  if (::GetCapture() == m_wnd->GetSafeHwnd()) ::ReleaseCapture();
  if (!IsCaptionButtonHit(hit)) {
    for (int32_t& s : m_state.buttons) s = kButtonNormal;
    *elsewhere = true;
    return kNoCaptionButton;
  }
  const CaptionButton button = ButtonOfHit(hit);
  if (button != m_state.pressed) return kNoCaptionButton;
  m_state.pressed = kNoCaptionButton;
  m_state.buttons[button] = kButtonNormal;
  RepaintCaptionButtons(look);
  return button;
}

void CRTCaption::CaptureLost(const SkinCaptionLook& look) {
  if (!m_state.tracking) return;
  m_state.tracking = 0;
  m_state.pressed = kNoCaptionButton;
  for (int32_t& s : m_state.buttons) s = kButtonNormal;
  RepaintCaptionButtons(look);
}

WPARAM CRTCaption::HitAtClientPoint(LPARAM clientPoint, LPARAM* screenPoint) {
  CPoint pt(GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint));
  m_wnd->ClientToScreen(&pt);
  *screenPoint = MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
  return static_cast<WPARAM>(m_default(WM_NCHITTEST, 0, *screenPoint));
}

LRESULT CRTCaption::PressStep(const SkinCaptionLook& look, WPARAM hit, LPARAM point) {
  hit = ButtonHit(hit);
  const HWND self = m_wnd->GetSafeHwnd();
  LRESULT result = 0;
  if (!Press(look, hit)) result = m_default(WM_NCLBUTTONDOWN, hit, point);
  if (::IsWindow(self)) RepaintCaption(look);
  return result;
}

LRESULT CRTCaption::MouseMoveStep(const SkinCaptionLook& look, WPARAM flags, LPARAM point) {
  if (m_state.tracking) {
    LPARAM screen = 0;
    Hover(look, HitAtClientPoint(point, &screen));
    return 0;
  }
  ClearButtonStates(look);
  return m_default(WM_MOUSEMOVE, flags, point);
}

LRESULT CRTCaption::ReleaseStep(const SkinCaptionLook& look, WPARAM hit, LPARAM point) {
  hit = ButtonHit(hit);
  if (!m_state.tracking) return m_default(WM_NCLBUTTONUP, hit, point);
  bool elsewhere = false;
  switch (Release(look, hit, &elsewhere)) {
    case kCloseButton:
      if (m_close)
        m_close(point);
      else
        m_wnd->SendMessage(WM_CLOSE);
      return 0;
    case kMaximizeButton:
      m_wnd->SendMessage(WM_SYSCOMMAND, m_wnd->IsZoomed() ? SC_RESTORE : SC_MAXIMIZE, point);
      return 0;
    case kMinimizeButton:
      m_wnd->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, point);
      return 0;
    default:
      return elsewhere ? m_default(WM_NCLBUTTONUP, hit, point) : 0;
  }
}

LRESULT CRTCaption::LButtonUpStep(const SkinCaptionLook& look, WPARAM flags, LPARAM point) {
  if (!m_state.tracking) return m_default(WM_LBUTTONUP, flags, point);
  LPARAM screen = 0;
  const WPARAM hit = HitAtClientPoint(point, &screen);
  return ReleaseStep(look, hit, screen);
}
