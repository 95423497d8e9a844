#include "RTPropertySheet.h"

IMPLEMENT_DYNAMIC(CRTPropertySheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CRTPropertySheet, CPropertySheet)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const UINT kApplyButtonId = 0x3021;
const UINT kTabControlId = 0x3020;

bool IsSizingBorderHit(UINT hit) { return hit >= HTLEFT && hit <= HTBORDER; }

// The sheet never draws the maximize and minimize buttons, so their places
// are caption like the rest: no hot look, no press, no action.
WPARAM SheetHit(WPARAM hit) { return hit == HTMAXBUTTON || hit == HTMINBUTTON ? HTNOWHERE : hit; }

}  // namespace

CRTPropertySheet::CRTPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage),
      m_caption(this, [this](UINT m, WPARAM w, LPARAM l) { return CallDefault(m, w, l); }, 1) {}

CRTPropertySheet::CRTPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage),
      m_caption(this, [this](UINT m, WPARAM w, LPARAM l) { return CallDefault(m, w, l); }, 1) {}

BOOL CRTPropertySheet::OnInitDialog() {
  const BOOL result = CPropertySheet::OnInitDialog();
  m_ok.SubclassDlgItem(IDOK, this);
  m_cancel.SubclassDlgItem(IDCANCEL, this);
  m_apply.SubclassDlgItem(kApplyButtonId, this);
  m_tabs.SubclassDlgItem(kTabControlId, this);
  return result;
}

SkinCaptionLook CRTPropertySheet::CaptionLook() {
  SkinCaptionLook look;
  look.skinEnabled = s_skinEnabled;
  look.borderEnabled = s_borderEnabled;
  look.captionEnabled = s_captionEnabled;
  look.titleBar = &s_titleBar;
  look.exitButton = &s_exitButton;
  look.maximizeButton = &s_maximizeButton;
  look.restoreButton = &s_restoreButton;
  look.minimizeButton = &s_minimizeButton;
  look.borderColors = s_borderColors;
  look.frameX = ::GetSystemMetrics(SM_CXDLGFRAME);
  look.frameY = ::GetSystemMetrics(SM_CYDLGFRAME);
  look.captionHeight = ::GetSystemMetrics(SM_CYCAPTION);
  look.captionRightInset = ::GetSystemMetrics(SM_CYDLGFRAME);
  look.iconLeft = 1;
  look.textLeftWithIcon = look.captionHeight;
  look.systemTextColors = true;
  return look;
}

LRESULT CRTPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const SkinCaptionLook look = CaptionLook();
  if (message == WM_NCPAINT && look.skinEnabled) return OnNcPaint(reinterpret_cast<HRGN>(wParam));
  if (!look.CaptionSkinned()) return CallDefault(message, wParam, lParam);

  const HWND self = m_hWnd;
  switch (message) {
    case WM_ACTIVATE: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      if (!::IsWindow(self)) return result;
      // The high word only tells whether the window is minimized.
      m_caption.State().active = LOWORD(wParam) != WA_INACTIVE;
      OnNcPaint(reinterpret_cast<HRGN>(1));
      return result;
    }
    case WM_ACTIVATEAPP:
      CallDefault(message, wParam, lParam);
      m_caption.State().active = wParam != 0;
      return 0;
    case WM_NCACTIVATE:
      // The look follows WM_ACTIVATE and WM_ACTIVATEAPP, not this message.
      m_caption.RepaintCaption(look);
      return 1;
    case WM_SETTEXT:
    case WM_SETICON:
    case WM_NOTIFY: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      if (::IsWindow(self)) m_caption.RepaintCaption(look);
      return result;
    }
    case WM_SETCURSOR: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      if (::IsWindow(self) && IsSizingBorderHit(LOWORD(lParam))) m_caption.RepaintCaption(look);
      return result;
    }
    case WM_NCMOUSEMOVE:
      m_caption.Hover(look, SheetHit(wParam));
      return 0;
    case WM_NCLBUTTONDOWN:
      return OnNcLButtonDown(SheetHit(wParam), lParam);
    case WM_NCLBUTTONUP:
      OnNcLButtonUp(SheetHit(wParam), lParam);
      if (!::IsWindow(self)) return 0;
      return OnLButtonUpStep(wParam, lParam);
    case WM_SYSCOMMAND:
    case WM_INITMENUPOPUP:
      m_caption.RepaintCaption(look);
      return CallDefault(message, wParam, lParam);
    case WM_LBUTTONUP:
      return OnLButtonUpStep(wParam, lParam);
    case WM_CAPTURECHANGED:
      m_caption.CaptureLost(look);
      return CallDefault(message, wParam, lParam);
  }
  return CallDefault(message, wParam, lParam);
}

// The frame and caption; `update` (screen coordinates) stays the sender's,
// and 1 means the whole area.
LRESULT CRTPropertySheet::OnNcPaint(HRGN update) {
  m_caption.PaintNonClient(CaptionLook(), update, false);
  return 0;
}

LRESULT CRTPropertySheet::OnNcLButtonDown(WPARAM hit, LPARAM point) {
  const SkinCaptionLook look = CaptionLook();
  const HWND self = m_hWnd;
  LRESULT result = 0;
  if (!m_caption.Press(look, hit)) result = CallDefault(WM_NCLBUTTONDOWN, hit, point);
  if (::IsWindow(self)) m_caption.RepaintCaption(look);
  return result;
}

// Only the close button can be tracked here.
LRESULT CRTPropertySheet::OnNcLButtonUp(WPARAM hit, LPARAM point) {
  if (!m_caption.State().tracking) return CallDefault(WM_NCLBUTTONUP, hit, point);
  bool elsewhere = false;
  if (m_caption.Release(CaptionLook(), hit, &elsewhere) == kCloseButton) {
    SendMessage(WM_CLOSE);
    return 0;
  }
  return elsewhere ? CallDefault(WM_NCLBUTTONUP, hit, point) : 0;
}

LRESULT CRTPropertySheet::OnLButtonUpStep(WPARAM flags, LPARAM point) {
  if (!m_caption.State().tracking) return CallDefault(WM_LBUTTONUP, flags, point);
  LPARAM screen = 0;
  const WPARAM hit = SheetHit(m_caption.HitAtClientPoint(point, &screen));
  return OnNcLButtonUp(hit, screen);
}

BOOL CRTPropertySheet::OnEraseBkgnd(CDC* pDC) {
  CBitmap* image = s_back.images[0];
  if (!image) return CPropertySheet::OnEraseBkgnd(pDC);
  CRect client;
  GetClientRect(&client);
  BITMAP info{};
  image->GetBitmap(&info);
  CDC mem;
  mem.CreateCompatibleDC(pDC);
  CBitmap* old = mem.SelectObject(image);
  pDC->StretchBlt(0, 0, client.Width(), client.Height(), &mem, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  mem.SelectObject(old);
  return TRUE;
}
